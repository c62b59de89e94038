// vaq repository: fill, list and prune the translation repository. Filling reads notes records,
// so the "add" action comes from the module (registered in the core as "repository add").
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

int List(const Arguments& args) {
  if (args.Positional.size() > 1) throw UsageError("list takes no files");
  for (const TRepositoryEntry& entry :
       ListTranslations(LocaleOption(args, "--source"), LocaleOption(args, "--lang"))) {
    // The texts are in their language's code page; the terminal gets UTF-8.
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

}  // namespace

int RunRepository(const Arguments& args) {
  if (args.Values.contains("--repository")) SetRepositoryFile(args.Value("--repository"));
  const std::string& action = args.Positional.front();
  try {
    if (action == "add") {
      const TVaqCommand* add = FindVaqCommand("repository add");
      if (!add) throw EModuleMissing("the add action comes from the module, which is not loaded");
      return add->Run(args);
    }
    if (action == "list") return List(args);
    if (action == "remove") return Remove(args);
  } catch (const UsageError&) {
    throw;
  } catch (const EModuleMissing&) {
    throw;
  } catch (const EVaqError& error) {
    std::fprintf(stderr, "vaq repository %s: %s\n", action.c_str(), error.what());
    return kExitFileFailed;
  }
  throw UsageError("unknown action '" + action + "' (add, list or remove)");
}

}  // namespace vaq::app
