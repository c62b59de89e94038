// The form file type ("RUXFileType", ".rux;.gox") as the module's start-up registers it: the
// statistics, search, list-event and update handlers, which work without a window. The editor
// window attaches its own handlers (load, edit, size, idle) when it is created.
#pragma once

#include "host/core/registration.h"

namespace rux {

// Registers the file type; the core's registry owns it.
const vaq::TVaqFileType* RegisterFormFileType();

}  // namespace rux
