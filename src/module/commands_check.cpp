// vaq check (from the module): review checks of translated forms, from their notes.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "checks/check_notes.h"
#include "checks/report.h"
#include "host/core/arguments.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/locale.h"
#include "host/core/text.h"
#include "module/commands.h"
#include "module/commands_check.h"
#include "notes/file_names.h"
#include "notes/file_services.h"

namespace rux {

using namespace vaq;
int RunCheck(const Arguments& args, const TFitCheck& fit) {
  checks::TKindSet kinds = checks::TKindSet::All();
  if (args.Values.contains("--only")) {
    try {
      kinds = checks::ParseKinds(args.Value("--only"));
    } catch (const std::invalid_argument& error) {
      throw UsageError(std::string("--only: ") + error.what());
    }
  }
  const std::string format = args.Value("--format", "text");
  if (format != "text" && format != "json") throw UsageError("--format takes text or json, not " + format);
  const bool png = args.Values.contains("--png");
  if (!fit && png) throw UsageError("--png needs the live forms of the desktop module");
  if (!fit && args.Values.contains("--only") && kinds.Has(checks::TFindingKind::Fit)) {
    throw UsageError("the fit check needs the live forms of the desktop module");
  }

  std::vector<std::string> files;
  if (args.Values.contains("--lang")) {
    if (args.Positional.size() != 1) throw UsageError("with --lang give one PROJECT folder");
    const std::string tag = args.Value("--lang");
    if (StrToLCID(tag) == 0) throw UsageError("unknown language " + tag);
    try {
      files = NotesFilesOf(IncludeTrailingPathDelimiter(args.Positional[0]) + tag);
    } catch (const EVaqError& error) {
      std::fprintf(stderr, "vaq check: %s\n", error.what());
      return kExitFileFailed;
    }
  } else {
    if (args.Positional.empty()) throw UsageError("give PROJECT --lang TAG or notes files");
    for (const std::string& file : args.Positional) files.push_back(FileNameToNoteName(FormFileOf(file)));
  }

  checks::TCheckSummary summary;
  std::vector<checks::TFinding> all;
  for (const std::string& notes : files) {
    try {
      // Read once for every check.
      TFileStats stats;
      rux::GetStats(ChangeFileExt(notes, NoteExtToFileExt(ExtractFileExt(notes))), false, stats);
      const std::vector<std::string> lines = LoadLines(notes);
      std::vector<checks::TFinding> findings = checks::CheckNotesLines(lines, notes, stats, kinds);
      if (fit && kinds.Has(checks::TFindingKind::Fit)) {
        std::vector<checks::TFinding> clipped =
            fit(notes, lines, stats, findings, png ? args.Value("--png") : std::string());
        findings.insert(findings.begin(), clipped.begin(), clipped.end());
      }
      summary.Add(findings);
      if (format == "text") {
        for (const checks::TFinding& finding : findings)
          std::printf("%s\n", checks::FindingLine(finding).c_str());
      }
      all.insert(all.end(), std::make_move_iterator(findings.begin()),
                 std::make_move_iterator(findings.end()));
    } catch (const std::exception& error) {
      std::fprintf(stderr, "vaq check: %s: %s\n", notes.c_str(), error.what());
      ++summary.Failed;
    }
  }
  if (format == "json") {
    std::fputs(checks::FindingsJson(all, summary).c_str(), stdout);
  } else {
    std::fflush(stdout);  // the findings before the summary, also when both go to one file
    if (!fit && kinds.Has(checks::TFindingKind::Fit)) {
      std::fprintf(stderr, "fit not checked: it needs the live forms of the desktop module\n");
    }
    std::fprintf(stderr, "%s\n", checks::SummaryLine(summary).c_str());
  }
  std::fflush(stdout);
  return summary.Findings() > 0 || summary.Failed > 0 ? kExitFileFailed : kExitOk;
}

}  // namespace rux
