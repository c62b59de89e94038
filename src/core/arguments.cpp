// The command-line parser of the subcommands.
#include "host/core/arguments.h"

namespace vaq {

UsageError::~UsageError() = default;

std::string Arguments::Value(const std::string& option, const std::string& fallback) const {
  const auto found = Values.find(option);
  return found == Values.end() ? fallback : found->second;
}

Arguments ParseArguments(const std::vector<std::string>& args, const ArgumentRules& rules) {
  Arguments result;
  bool options_ended = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options_ended || arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
      result.Positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      options_ended = true;
      continue;
    }
    const auto equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    if (rules.ValueOptions.contains(name)) {
      if (equals != std::string::npos) {
        result.Values[name] = arg.substr(equals + 1);
      } else if (i + 1 < args.size()) {
        result.Values[name] = args[++i];
      } else {
        throw UsageError("option " + name + " needs a value");
      }
    } else if (rules.FlagOptions.contains(name) && equals == std::string::npos) {
      result.Flags.insert(name);
    } else {
      throw UsageError("unknown option " + arg);
    }
  }
  if (result.Positional.size() < rules.MinPositional) throw UsageError("missing arguments");
  if (result.Positional.size() > rules.MaxPositional) throw UsageError("too many arguments");
  return result;
}

}  // namespace vaq
