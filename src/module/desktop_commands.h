// The commands of the module's desktop build (windows and drawn forms): one table of their names,
// synopses, descriptions and argument rules, used by both builds. The plain build registers them
// without their work, so that --help lists them and the host knows to load the desktop build.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "host/core/commands.h"

namespace rux {

// The desktop commands, each with Desktop set and no Run.
std::vector<vaq::TVaqCommand> DesktopCommandDefs();

// Registers every desktop command; `RunOf` gives the work of a command by name (an empty function:
// the command says that this build cannot run it).
void RegisterDesktopCommands(
    const std::function<std::function<int(const vaq::Arguments&)>(std::string_view Name)>& RunOf);
void UnregisterDesktopCommands();

}  // namespace rux
