// The registry of host commands that modules supply.
#include "host/core/commands.h"

#include <algorithm>

namespace vaq {
namespace {

// The core's one command registry: the host and every module reach it through this library.
std::vector<TVaqCommand>& Registry() {
  static std::vector<TVaqCommand> commands;
  return commands;
}

}  // namespace

void RegisterVaqCommand(TVaqCommand Command) {
  auto& commands = Registry();
  const auto found =
      std::ranges::find_if(commands, [&](const TVaqCommand& known) { return known.Name == Command.Name; });
  if (found != commands.end()) {
    *found = std::move(Command);
  } else {
    commands.push_back(std::move(Command));
  }
}

bool UnregisterVaqCommand(std::string_view Name) {
  return std::erase_if(Registry(), [Name](const TVaqCommand& command) { return command.Name == Name; }) > 0;
}

const std::vector<TVaqCommand>& VaqCommands() {
  return Registry();
}

const TVaqCommand* FindVaqCommand(std::string_view Name) {
  const auto& commands = Registry();
  const auto found =
      std::ranges::find_if(commands, [Name](const TVaqCommand& command) { return command.Name == Name; });
  return found == commands.end() ? nullptr : &*found;
}

}  // namespace vaq
