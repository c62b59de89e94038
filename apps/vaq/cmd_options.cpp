// vaq options: show and set the core's options.
#include <cstdio>

#include "command.h"
#include "host/core/errors.h"
#include "host/core/options.h"
#include "host/core/registry.h"
#include "host/core/repository.h"
#include "host/core/text.h"

namespace vaq::app {
namespace {

// An option by name or by its index number.
const TOptionEntry& FindOption(const std::string& name) {
  try {
    if (!name.empty() && name.find_first_not_of("0123456789") == std::string::npos)
      return VaqINTOptionProps.Entry(std::stoi(name));
    return VaqINTOptionProps.Entry(name);
  } catch (const EVaqError& error) {
    throw UsageError(std::string(error.what()) + " (vaq options lists them)");
  } catch (const std::out_of_range&) {
    throw UsageError("Unknown option index " + name);
  }
}

TOptionValue ParseValue(const TOptionEntry& entry, const std::string& text) {
  switch (entry.Kind) {
    case TOptionKind::Bool:
      for (const char* yes : {"true", "1", "yes"})
        if (AnsiSameText(text, yes)) return true;
      for (const char* no : {"false", "0", "no"})
        if (AnsiSameText(text, no)) return false;
      throw UsageError("option " + std::string(entry.Name) + " takes true/false, 1/0 or yes/no, not \"" +
                       text + "\"");
    case TOptionKind::Integer:
      try {
        std::size_t end = 0;
        const long long value = std::stoll(text, &end);
        if (end == text.size()) return std::int64_t{value};
      } catch (const std::exception&) {
      }
      throw UsageError("option " + std::string(entry.Name) + " takes a decimal integer, not \"" + text +
                       "\"");
    case TOptionKind::Text:
      return text;
  }
  return text;
}

void Print(const TOptionEntry& entry) {
  std::string value = OptionValueToStr(VaqINTOptionProps.Get(entry.Index));
  if (entry.Index == kOptRepository) value = MaskRepositoryPassword(value);  // never shown
  std::printf("%d\t%.*s\t%s\n", entry.Index, static_cast<int>(entry.Name.size()), entry.Name.data(),
              value.c_str());
}

}  // namespace

int RunOptions(const Arguments& args) {
  if (args.Positional.empty()) {
    for (const TOptionEntry& entry : VaqINTOptionProps.Entries()) Print(entry);
    return kExitOk;
  }
  const TOptionEntry& entry = FindOption(args.Positional[0]);
  if (args.Positional.size() == 2) {
    const TOptionValue value = ParseValue(entry, args.Positional[1]);
    if (entry.Index == kOptRepository && MaskRepositoryPassword(args.Positional[1]) != args.Positional[1]) {
      std::fprintf(stderr,
                   "vaq options: the password is stored as plain text in %s; PGPASSWORD or ~/.pgpass "
                   "keep it out of there\n",
                   VaqRegistryFile().c_str());
    }
    VaqINTOptionProps.Set(entry.Index, value);
  }
  Print(entry);
  return kExitOk;
}

}  // namespace vaq::app
