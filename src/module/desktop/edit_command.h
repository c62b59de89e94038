// vaq edit: the translation editor on a project's language folder or on given forms or notes files.
#pragma once

#include "host/core/arguments.h"

namespace rux {

int RunEdit(const vaq::Arguments& Args);

}  // namespace rux
