// vaq stats: the statistics header of notes files, through their file type.
#include <cstdio>

#include "command.h"
#include "host/core/conversions.h"
#include "notes_files.h"

namespace vaq::app {
namespace {

std::string DateText(TDateTime date) {
  return date == -1.0 ? "unknown" : VaqDateTimeToStr(date);
}

}  // namespace

int RunStats(const Arguments& args) {
  const bool refresh = args.Has("--refresh");
  return ForEachFile("stats", args.Positional, [&](const std::string& form, TVaqFileType& type) {
    TFileStats stats;
    type.GetStats(form, refresh, stats);
    std::printf(
        "%s\n  translated %d, untranslated %d\n  languages %s -> %s\n"
        "  notes written %s, original form %s, translated form %s\n",
        NotesFileOf(form).c_str(), stats.Translated, stats.Untranslated,
        stats.SourceLang.empty() ? "?" : stats.SourceLang.c_str(),
        stats.TargetLang.empty() ? "?" : stats.TargetLang.c_str(), DateText(stats.NoteDate).c_str(),
        DateText(stats.OrigFormDate).c_str(), DateText(stats.FormDate).c_str());
    // An inherited form: itself and the translated forms it builds on.
    if (!stats.FormFiles.empty()) std::printf("  form files %s\n", stats.FormFiles.c_str());
  });
}

}  // namespace vaq::app
