// The module's start-up and shut-down: its units start once, in a fixed order, and shut down in
// reverse: column table, updater, the form file type, editor (options; its window is made on first
// use), manager, writer, and last the host commands the module supplies.
#pragma once

namespace rux {

// Starts the module's units; a second call before ModuleShutdown does nothing.
void ModuleStartup();
// Shuts the units down in reverse order; without a start-up it does nothing.
void ModuleShutdown();

}  // namespace rux
