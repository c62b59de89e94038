// vaq: the translation environment's command-line host. It reaches the module only through the
// core: the module, loaded at start, registers its file types and its commands there.
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "command.h"
#include "host/core/commands.h"
#include "host/core/errors.h"
#include "module_library.h"

namespace vaq::app {
namespace {

constexpr const char* kVersion = "0.1.0";
constexpr const char* kModuleFile = "librux.so";

void PrintCommand(std::string_view synopsis, std::string_view text) {
  std::printf("  vaq %.*s\n", static_cast<int>(synopsis.size()), synopsis.data());
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::printf("      %.*s\n", static_cast<int>(text.substr(0, end).size()), text.data());
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
}

void PrintHelp(const TModuleLibrary& module) {
  std::printf(
      "vaq %s - translate the forms of a GUI project\n\n"
      "Usage: vaq COMMAND [ARGUMENTS]\n"
      "       vaq --help | --version\n\n"
      "Commands:\n",
      kVersion);
  for (const Command& command : Commands()) PrintCommand(command.Synopsis, command.Description);
  if (!module.Loaded()) {
    std::printf("\nThe module's commands are missing: %s\n", module.Problem().c_str());
  } else if (!VaqCommands().empty()) {
    std::printf("\nCommands of the module:\n");
    for (const TVaqCommand& command : VaqCommands()) PrintCommand(command.Synopsis, command.Description);
  }
  std::printf("\nExit status: 0 on success, 1 when some file failed, 2 on a usage error.\n");
}

// Runs a command with the rest of the command line; a usage error shows the synopsis, a missing
// module says why it is missing.
template <typename Run>
int RunCommand(std::string_view name, std::string_view synopsis, const ArgumentRules& rules, const Run& run,
               const std::vector<std::string>& args, const TModuleLibrary& module) {
  const std::string shown(name);
  try {
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    return run(ParseArguments(rest, rules));
  } catch (const UsageError& error) {
    std::fprintf(stderr, "vaq %s: %s\nUsage: vaq %.*s\n", shown.c_str(), error.what(),
                 static_cast<int>(synopsis.size()), synopsis.data());
    return kExitUsage;
  } catch (const EModuleMissing& error) {
    std::fprintf(stderr, "vaq %s: %s\n", shown.c_str(), error.what());
    if (!module.Loaded()) std::fprintf(stderr, "vaq: %s\n", module.Problem().c_str());
    return kExitFileFailed;
  }
}

int Main(const std::vector<std::string>& args, const TModuleLibrary& module) {
  if (args.empty()) {
    PrintHelp(module);
    return kExitUsage;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    PrintHelp(module);
    return kExitOk;
  }
  if (args[0] == "--version") {
    std::printf("vaq %s\n", kVersion);
    return kExitOk;
  }
  // The host's own commands come first, then those of the module.
  for (const Command& command : Commands()) {
    if (args[0] == command.Name)
      return RunCommand(command.Name, command.Synopsis, command.Rules, command.Run, args, module);
  }
  if (const TVaqCommand* command = FindVaqCommand(args[0])) {
    return RunCommand(command->Name, command->Synopsis, command->Rules, command->Run, args, module);
  }
  std::fprintf(stderr, "vaq: unknown command '%s' (see vaq --help)\n", args[0].c_str());
  if (!module.Loaded()) std::fprintf(stderr, "vaq: %s\n", module.Problem().c_str());
  return kExitUsage;
}

}  // namespace
}  // namespace vaq::app

int main(int argc, char** argv) {
  int status = vaq::kExitFileFailed;
  // Started before the command runs; shut down and unloaded when main returns.
  const vaq::app::TModuleLibrary module(vaq::app::kModuleFile);
  try {
    status = vaq::app::Main(std::vector<std::string>(argv + 1, argv + argc), module);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "vaq: %s\n", error.what());
  }
  return status;
}
