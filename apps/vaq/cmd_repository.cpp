// vaq repository: fill, list and prune the translation repository.
#include <cstdio>
#include <optional>

#include "command.h"
#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/locale.h"
#include "host/core/repository.h"
#include "notes/file_names.h"
#include "notes/file_services.h"
#include "notes/notes_record.h"
#include "notes/rux_mgr.h"
#include "notes_files.h"

namespace vaq::app {
namespace {

// The locale of a --source/--lang value; 0 when the option is absent.
TLCID LocaleOption(const Arguments& args, const std::string& option) {
  if (!args.Values.contains(option)) return 0;
  const TLCID lcid = StrToLCID(args.Value(option));
  if (lcid == 0) throw UsageError("unknown language " + args.Value(option));
  return lcid;
}

// Stores the translated records of one form's notes; the count stored.
int AddNotes(const std::string& form) {
  TFileStats stats;
  rux::GetStats(form, false, stats);
  const TLCID source = StrToLCID(stats.SourceLang);
  const TLCID target = StrToLCID(stats.TargetLang);
  if (source == 0 || target == 0)
    throw EVaqError("the notes header names no source and target language (found \"" + stats.SourceLang +
                    "\" -> \"" + stats.TargetLang + "\")");
  std::vector<std::string> lines = LoadLines(rux::FileNameToNoteName(form));
  rux::TRuxMgr::RemoveHeaderLines(lines);
  int stored = 0;
  TRepositoryTransaction transaction;
  for (const std::string& line : lines) {
    const TVaqNotesString record = rux::StringToNotesString(line, form);
    const bool translated =
        record.Status == rux::StatusTranslated || record.Status == rux::StatusAutoTranslated;
    if (!translated || !record.Localize || record.Orig == record.Curr) continue;
    AddTranslation(source, target, record.Orig, record.Curr);
    ++stored;
  }
  transaction.Commit();
  return stored;
}

int Add(const Arguments& args) {
  if (args.Positional.size() < 2) throw UsageError("add needs notes files");
  if (args.Values.contains("--source") || args.Values.contains("--lang"))
    throw UsageError("add takes the languages from the notes headers, not from --source/--lang");
  const std::vector<std::string> files(args.Positional.begin() + 1, args.Positional.end());
  return ForEachFile("repository add", files, [](const std::string& form) {
    const int stored = AddNotes(form);
    std::printf("%s: %d translations stored\n", rux::FileNameToNoteName(form).c_str(), stored);
  });
}

int List(const Arguments& args) {
  if (args.Positional.size() > 1) throw UsageError("list takes no files");
  for (const TRepositoryEntry& entry :
       ListTranslations(LocaleOption(args, "--source"), LocaleOption(args, "--lang"))) {
    // The texts are in their language's code page; the terminal gets UTF-8.
    std::printf("%s\t%s\t%s\t%s\t%s\n", entry.Source.c_str(), entry.Target.c_str(),
                StringToUtf8(StrToLCID(entry.Source), entry.Original).c_str(),
                StringToUtf8(StrToLCID(entry.Target), entry.Translation).c_str(),
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
      removed += RemoveTranslations(source, target, Utf8ToString(source, args.Positional[i]));
  }
  std::printf("%d translations removed\n", removed);
  return kExitOk;
}

}  // namespace

int RunRepository(const Arguments& args) {
  if (args.Values.contains("--repository")) SetRepositoryFile(args.Value("--repository"));
  const std::string& action = args.Positional.front();
  try {
    if (action == "add") return Add(args);
    if (action == "list") return List(args);
    if (action == "remove") return Remove(args);
  } catch (const UsageError&) {
    throw;
  } catch (const EVaqError& error) {
    std::fprintf(stderr, "vaq repository %s: %s\n", action.c_str(), error.what());
    return kExitFileFailed;
  }
  throw UsageError("unknown action '" + action + "' (add, list or remove)");
}

}  // namespace vaq::app
