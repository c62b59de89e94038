// The plug-in entry point's work, shared by the module's two builds (plain and desktop).
//
// The module is a plug-in that exports one C function, vaq_module_entry(Operation) (plugin.cpp,
// desktop/plugin_desktop.cpp; plugin.map makes every other symbol local). Its two builds hold the
// same units: librux.so without Qt, and librux_desktop.so, which adds the units that need Qt 6
// Widgets (desktop/desktop_units.h). Linking Qt slows every start, so the host loads no module for
// its module-free commands, the plain build for the others, and the desktop build only for a
// desktop command (desktop_commands.h). One build runs in a process at a time: the plain one is
// shut down before the desktop one starts. Every callback a build registers in the core is removed
// by its shut-down, before the host unloads it; the code stays mapped until the process ends
// (apps/vaq/module_library.h).
#pragma once

namespace rux {

// Operation 1 runs `Start`, 0 runs `Stop`. Returns 0 on success; a failure is shown through the
// core's message sink and returns nonzero. No exception leaves it.
int RunModuleEntry(int Operation, void (*Start)(), void (*Stop)());

}  // namespace rux
