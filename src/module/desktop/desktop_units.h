// The units of the module's desktop build that need Qt: started after the module's other units
// and shut down before them. They give the desktop commands their work.
#pragma once

namespace rux {

// Registers the desktop commands with their work; a second call before DesktopShutdown does nothing.
void DesktopStartup();
// Removes them again and closes the application object; without a start-up it does nothing.
void DesktopShutdown();

}  // namespace rux
