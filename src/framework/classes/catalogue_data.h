// The catalogue of published classes, as text in the notation described in catalogue_data.cpp.
#pragma once

#include <string_view>

namespace vaq::classes {

std::string_view CatalogueText();

}  // namespace vaq::classes
