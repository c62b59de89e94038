// vaq preview: a form live, as a picture, as a tree of its components, or in windows.
#pragma once

#include "host/core/arguments.h"

namespace rux {

int RunPreview(const vaq::Arguments& Args);

}  // namespace rux
