// The subcommands of vaq and the small command-line parser they share.
#pragma once

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace vaq::app {

// Exit statuses of vaq.
enum ExitStatus : int { kExitOk = 0, kExitFileFailed = 1, kExitUsage = 2 };

// A command line that does not fit the command's usage.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The arguments of one subcommand, split into positional arguments, options with a value
// ("--lang de-DE" or "--lang=de-DE") and flags ("--quiet").
struct Arguments {
  std::vector<std::string> Positional;
  std::map<std::string, std::string> Values;
  std::set<std::string> Flags;

  bool Has(const std::string& flag) const { return Flags.contains(flag); }
  std::string Value(const std::string& option, const std::string& fallback = {}) const;
};

// What a subcommand accepts, for the parser.
struct ArgumentRules {
  std::set<std::string> ValueOptions;  // "--lang", "--out", ...
  std::set<std::string> FlagOptions;   // "--quiet", ...
  std::size_t MinPositional = 0;
  std::size_t MaxPositional = static_cast<std::size_t>(-1);
};

// Raises UsageError on an unknown option, a missing value or a wrong number of positional arguments.
Arguments ParseArguments(const std::vector<std::string>& args, const ArgumentRules& rules);

struct Command {
  const char* Name;
  const char* Synopsis;     // "records FILE... [--check]"
  const char* Description;  // one or more lines for --help
  ArgumentRules Rules;
  int (*Run)(const Arguments& args);
};

// Every subcommand, in the order --help lists them.
const std::vector<Command>& Commands();

// The subcommands, each in its own file.
int RunRecords(const Arguments& args);
int RunLocale(const Arguments& args);
int RunConvert(const Arguments& args);
int RunExtract(const Arguments& args);
int RunStats(const Arguments& args);
int RunSearch(const Arguments& args);
int RunPurge(const Arguments& args);
int RunPseudo(const Arguments& args);
int RunDict(const Arguments& args);
int RunRepository(const Arguments& args);
int RunOptions(const Arguments& args);
int RunWrite(const Arguments& args);
int RunUpdate(const Arguments& args);
int RunProject(const Arguments& args);

}  // namespace vaq::app
