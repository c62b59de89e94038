// vaq repository add (from the module): stores the translated records of notes files in the
// translation repository. The host's repository command keeps list and remove.
#include <cstdio>

#include "host/core/arguments.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/locale.h"
#include "host/core/progress.h"
#include "host/core/repository.h"
#include "module/commands.h"
#include "notes/file_names.h"
#include "notes/file_services.h"
#include "notes/notes_record.h"
#include "notes/rux_mgr.h"

namespace rux {
namespace {

// Stores the translated records of one form's notes; the count stored.
int AddNotes(const std::string& form) {
  vaq::TFileStats stats;
  GetStats(form, false, stats);
  const vaq::TLCID source = vaq::StrToLCID(stats.SourceLang);
  const vaq::TLCID target = vaq::StrToLCID(stats.TargetLang);
  if (source == 0 || target == 0)
    throw vaq::EVaqError("the notes header names no source and target language (found \"" + stats.SourceLang +
                         "\" -> \"" + stats.TargetLang + "\")");
  std::vector<std::string> lines = vaq::LoadLines(FileNameToNoteName(form));
  TRuxMgr::RemoveHeaderLines(lines);
  std::vector<vaq::TTranslationPair> pairs;
  for (const std::string& line : lines) {
    const vaq::TVaqNotesString record = StringToNotesString(line, form);
    const bool translated = record.Status == StatusTranslated || record.Status == StatusAutoTranslated;
    if (!translated || !record.Localize || record.Orig == record.Curr) continue;
    pairs.push_back({record.Orig, record.Curr});
  }
  vaq::AddTranslations(source, target, pairs);  // one transaction: a file goes in whole or not at all
  return static_cast<int>(pairs.size());
}

}  // namespace

int RunRepositoryAdd(const vaq::Arguments& args) {
  // The host has taken --repository and checked the action; the files follow "add".
  if (args.Positional.size() < 2) throw vaq::UsageError("add needs notes files");
  if (args.Values.contains("--source") || args.Values.contains("--lang"))
    throw vaq::UsageError("add takes the languages from the notes headers, not from --source/--lang");
  const std::vector<std::string> files(args.Positional.begin() + 1, args.Positional.end());
  // A server that cannot be reached is said once, not for every file.
  try {
    vaq::CheckRepository();
  } catch (const vaq::EVaqError& error) {
    std::fprintf(stderr, "vaq repository add: %s\n", error.what());
    return vaq::kExitFileFailed;
  }
  vaq::TProgress progress(files.size(), args.Has("--quiet"));
  int total = 0;
  const int status = ForEachFile(
      "repository add", files,
      [&](const std::string& form) {
        const int stored = AddNotes(form);
        total += stored;
        if (!progress.Quiet())
          progress.Print(stdout,
                         FileNameToNoteName(form) + ": " + std::to_string(stored) + " translations stored");
      },
      &progress);
  std::fprintf(stderr, "vaq repository add: %d translations stored from %zu files\n", total, files.size());
  return status;
}

}  // namespace rux
