// The subcommands of vaq itself; the parser and the exit statuses come from the core, and the
// module adds its own commands through the core (host/core/commands.h).
#pragma once

#include <string>
#include <vector>

#include "host/core/arguments.h"
#include "host/core/errors.h"

namespace vaq::app {

struct Command {
  const char* Name;
  const char* Synopsis;     // "stats FILE... [--refresh]"
  const char* Description;  // one or more lines for --help
  ArgumentRules Rules;
  int (*Run)(const Arguments& args);
  // Whether the command goes through the module (its file types or its actions); the host loads
  // the module only for those, so that the others start without it.
  bool NeedsModule = true;
};

// A command needs the module and it is not loaded (no file type is registered): the host reports
// why the module could not be loaded.
class EModuleMissing : public EVaqError {
 public:
  using EVaqError::EVaqError;
};

// vaq's own subcommands, in the order --help lists them.
const std::vector<Command>& Commands();

// The subcommands, each in its own file.
int RunLocale(const Arguments& args);
int RunConvert(const Arguments& args);
int RunStats(const Arguments& args);
int RunSearch(const Arguments& args);
int RunPurge(const Arguments& args);
int RunPseudo(const Arguments& args);
int RunDict(const Arguments& args);
int RunRepository(const Arguments& args);
int RunOptions(const Arguments& args);
int RunUpdate(const Arguments& args);
int RunProject(const Arguments& args);
int RunLanguages(const Arguments& args);

}  // namespace vaq::app
