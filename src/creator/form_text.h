// The text half of the translated-form writer: rebuilds form object text from the notes records
// alone. The component path comes from Id, the class from Type, the nesting of lists, collections
// and binary data from the Open/Close tokens the form reader recorded.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace rux {

// The form text of the notes `Lines` (header lines allowed; the list is not changed), with the
// original values (`WriteOriginal`) or the current ones. Obsolete records (status 3) and records
// that are not written back (Order -1) are left out; the rest is sorted by Order. Every line of the
// text ends in CR LF. Nothing (nullopt) when no record remains. A record whose Order or Status is
// not a number raises vaq::EConvertError.
std::optional<std::string> GenerateFormText(const std::vector<std::string>& Lines, bool WriteOriginal);

}  // namespace rux
