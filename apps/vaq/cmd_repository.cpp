// vaq repository: fill, list, prune and ask the translation repository. Filling reads notes
// records, so the "add" action comes from the module (registered in the core as "repository add").
#include <cstdio>
#include <optional>

#include "command.h"
#include "host/core/commands.h"
#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/locale.h"
#include "host/core/repository.h"
#include "host/core/terminal.h"

namespace vaq::app {
namespace {

// The locale of a --source/--lang value; 0 when the option is absent.
TLCID LocaleOption(const Arguments& args, const std::string& option) {
  if (!args.Values.contains(option)) return 0;
  const TLCID lcid = StrToLCID(args.Value(option));
  if (lcid == 0) throw UsageError("unknown language " + args.Value(option));
  return lcid;
}

// A whole number from `low` to `high` given with `option`, else `fallback`.
int NumberOption(const Arguments& args, const std::string& option, int low, int high, int fallback) {
  if (!args.Values.contains(option)) return fallback;
  const std::string text = args.Value(option);
  try {
    std::size_t end = 0;
    const int value = std::stoi(text, &end);
    if (end == text.size() && value >= low && value <= high) return value;
  } catch (const std::exception&) {
  }
  throw UsageError(option + " takes a whole number from " + std::to_string(low) + " to " +
                   std::to_string(high) + ", not \"" + text + "\"");
}

int List(const Arguments& args) {
  if (args.Positional.size() > 1) throw UsageError("list takes no files");
  const TLCID source = LocaleOption(args, "--source");
  const TLCID target = LocaleOption(args, "--lang");
  // The texts are in their language's code page; the terminal gets its own character set.
  if (args.Has("--history")) {
    for (const TReplacedTranslation& replaced : ListReplacedTranslations(source, target)) {
      const TRepositoryEntry& entry = replaced.Entry;
      std::printf("%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n", entry.Source.c_str(), entry.Target.c_str(),
                  ToTerminal(StrToLCID(entry.Source), entry.Original).c_str(),
                  ToTerminal(StrToLCID(entry.Target), entry.Translation).c_str(),
                  ToTerminal(0, replaced.AddedBy).c_str(), VaqDateTimeToStr(entry.LastUse).c_str(),
                  ToTerminal(0, replaced.ReplacedBy).c_str(), VaqDateTimeToStr(replaced.Replaced).c_str());
    }
    return kExitOk;
  }
  for (const TRepositoryEntry& entry : ListTranslations(source, target)) {
    std::printf("%s\t%s\t%s\t%s\t%s\n", entry.Source.c_str(), entry.Target.c_str(),
                ToTerminal(StrToLCID(entry.Source), entry.Original).c_str(),
                ToTerminal(StrToLCID(entry.Target), entry.Translation).c_str(),
                VaqDateTimeToStr(entry.LastUse).c_str());
  }
  return kExitOk;
}

int Remove(const Arguments& args) {
  const TLCID source = LocaleOption(args, "--source");
  const TLCID target = LocaleOption(args, "--lang");
  if (source == 0 || target == 0) throw UsageError("remove needs --source TAG and --lang TAG");
  int removed = 0;
  if (args.Positional.size() == 1) {
    removed = RemoveTranslations(source, target);
  } else {
    for (std::size_t i = 1; i < args.Positional.size(); ++i)
      removed += RemoveTranslations(source, target, Utf8ToString(source, FromTerminal(args.Positional[i])));
  }
  std::printf("%d translations removed\n", removed);
  return kExitOk;
}

int Suggest(const Arguments& args) {
  if (args.Positional.size() != 2) throw UsageError("suggest takes one text");
  const TLCID target = LocaleOption(args, "--lang");
  if (target == 0) throw UsageError("suggest needs --lang TAG");
  const TLCID source = args.Values.contains("--source") ? LocaleOption(args, "--source") : StrToLCID("en-US");
  const int min = NumberOption(args, "--min", 1, 100, kDefaultMinSimilarity);
  const int limit = NumberOption(args, "--limit", 1, 1000, kDefaultSuggestions);
  // Plain text as the translator reads it; a form-text literal as `list` prints it is read too
  // ('Open', #1054'pen'), which also lets a terminal ask for what it cannot type.
  std::string text = FromTerminal(args.Positional[1]);
  if (text.starts_with('\'') || text.starts_with('#'))
    text = RepositoryText(source, Utf8ToString(source, text));
  const std::vector<TSuggestion> suggestions = FindSimilarTranslations(source, target, text, min, limit);
  for (const TSuggestion& suggestion : suggestions) {
    std::printf("%d%%\t%s\t%s\n", suggestion.Similarity, ToTerminal(source, suggestion.Original).c_str(),
                ToTerminal(target, suggestion.Translation).c_str());
  }
  if (suggestions.empty())
    std::fprintf(stderr, "vaq repository suggest: no stored translation of a source %d%% similar or more\n",
                 min);
  return kExitOk;
}

}  // namespace

int RunRepository(const Arguments& args) {
  if (args.Values.contains("--repository")) SetRepositoryLocation(args.Value("--repository"));
  const std::string& action = args.Positional.front();
  try {
    if (action == "add") {
      const TVaqCommand* add = FindVaqCommand("repository add");
      if (!add) throw EModuleMissing("the add action comes from the module, which is not loaded");
      return add->Run(args);
    }
    if (action == "list") return List(args);
    if (action == "remove") return Remove(args);
    if (action == "suggest") return Suggest(args);
  } catch (const UsageError&) {
    throw;
  } catch (const EModuleMissing&) {
    throw;
  } catch (const EVaqError& error) {
    std::fprintf(stderr, "vaq repository %s: %s\n", action.c_str(), error.what());
    return kExitFileFailed;
  }
  throw UsageError("unknown action '" + action + "' (add, list, remove or suggest)");
}

}  // namespace vaq::app
