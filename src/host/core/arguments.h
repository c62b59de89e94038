// The small command-line parser that the host's subcommands and the commands a module supplies
// share.
#pragma once

#include <cstddef>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace vaq {

// Exit statuses of vaq and of every command a module supplies.
enum ExitStatus : int { kExitOk = 0, kExitFileFailed = 1, kExitUsage = 2 };

// A command line that does not fit the command's usage.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  // Defined in the core, so that the host and a module catch the same type.
  ~UsageError() override;
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

}  // namespace vaq
