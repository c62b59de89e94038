// Host commands a module supplies: the module registers them at start-up and removes them before
// it unloads; the host lists them after its own and runs them when no command of its own matches.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "host/core/arguments.h"

namespace vaq {

struct TVaqCommand {
  std::string Name;         // "extract"; a name with a blank ("repository add") is an action that a
                            // host command of the first word hands on, not a command of its own
  std::string Synopsis;     // "extract FORM [--lang TAG]"
  std::string Description;  // one or more lines for --help
  ArgumentRules Rules;
  std::function<int(const Arguments&)> Run;
  // A desktop command opens windows or draws forms: it runs only in the desktop build of the module
  // (librux_desktop.so, which links Qt). The plain module registers it too, so that --help lists
  // it, and the host loads the desktop build before running it.
  bool Desktop = false;
};

// Adds a command; one of the same name is replaced.
void RegisterVaqCommand(TVaqCommand Command);
// Removes the command of that name; false when there is none.
bool UnregisterVaqCommand(std::string_view Name);
// The registered commands, in the order of registration.
const std::vector<TVaqCommand>& VaqCommands();
// The registered command of that name; nullptr when there is none.
const TVaqCommand* FindVaqCommand(std::string_view Name);

}  // namespace vaq
