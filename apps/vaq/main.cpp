// vaq: the translation environment's command-line host.
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "command.h"
#include "host/core/errors.h"
#include "module/module.h"

namespace vaq::app {
namespace {

constexpr const char* kVersion = "0.1.0";

void PrintHelp() {
  std::printf(
      "vaq %s - translate the forms of a GUI project\n\n"
      "Usage: vaq COMMAND [ARGUMENTS]\n"
      "       vaq --help | --version\n\n"
      "Commands:\n",
      kVersion);
  for (const Command& command : Commands()) {
    std::printf("  vaq %s\n", command.Synopsis);
    std::string_view text = command.Description;
    while (!text.empty()) {
      const auto end = text.find('\n');
      std::printf("      %.*s\n", static_cast<int>(text.substr(0, end).size()), text.data());
      text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
  }
  std::printf("\nExit status: 0 on success, 1 when some file failed, 2 on a usage error.\n");
}

int Main(int argc, char** argv) {
  rux::ModuleStartup();
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    PrintHelp();
    return kExitUsage;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    PrintHelp();
    return kExitOk;
  }
  if (args[0] == "--version") {
    std::printf("vaq %s\n", kVersion);
    return kExitOk;
  }
  for (const Command& command : Commands()) {
    if (args[0] != command.Name) continue;
    try {
      const std::vector<std::string> rest(args.begin() + 1, args.end());
      return command.Run(ParseArguments(rest, command.Rules));
    } catch (const UsageError& error) {
      std::fprintf(stderr, "vaq %s: %s\nUsage: vaq %s\n", command.Name, error.what(), command.Synopsis);
      return kExitUsage;
    }
  }
  std::fprintf(stderr, "vaq: unknown command '%s' (see vaq --help)\n", args[0].c_str());
  return kExitUsage;
}

}  // namespace
}  // namespace vaq::app

int main(int argc, char** argv) {
  int status = vaq::app::kExitFileFailed;
  try {
    status = vaq::app::Main(argc, argv);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "vaq: %s\n", error.what());
  }
  rux::ModuleShutdown();
  return status;
}
