// The check of a notes file before it is merged.
#include "notes/whole_notes.h"

#include <algorithm>

#include "host/core/files.h"
#include "host/core/notes_header.h"
#include "host/core/text.h"
#include "host/core/translator_mgr.h"
#include "notes/column_table.h"
#include "notes/notes_record.h"

namespace rux {
namespace {

constexpr std::string_view kRecordStart = "/* ";
constexpr std::string_view kRecordEnd = "\x04 */";

bool IsBlank(std::string_view line) {
  return std::ranges::all_of(line, [](char c) { return c == ' ' || c == '\t'; });
}

}  // namespace

EDamagedNotes::EDamagedNotes(const std::string& NotesFile, std::size_t Line, const std::string& Problem)
    : vaq::EVaqError(vaq::Format("%s:%s: %s. The notes file is damaged: it is not merged, and the form's "
                                 "notes and translated form stay as they are.",
                                 {NotesFile, std::to_string(Line), Problem})),
      file_(NotesFile),
      line_(Line) {}

std::vector<std::string> LoadWholeNotes(const std::string& NotesFile) {
  return WholeNotesLines(vaq::ReadFileBytes(NotesFile), NotesFile);
}

std::vector<std::string> WholeNotesLines(std::string_view Bytes, const std::string& NotesFile) {
  if (Bytes.empty()) throw EDamagedNotes(NotesFile, 1, "the file is empty");
  std::vector<std::string> lines = vaq::SplitLines(Bytes);
  // Every writer ends each line with CR LF (a file edited elsewhere may have LF alone).
  if (Bytes.back() != '\n')
    throw EDamagedNotes(NotesFile, lines.size(),
                        "the last line is cut off (the file does not end with a line break)");
  std::size_t header = 0;
  while (header < std::min<std::size_t>(2, lines.size()) && vaq::IsNotesHeaderLine(lines[header])) ++header;
  for (std::size_t i = header; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    if (IsBlank(line)) continue;
    if (!line.starts_with(kRecordStart) || !line.ends_with(kRecordEnd) || vaq::IsNotesHeaderLine(line))
      throw EDamagedNotes(NotesFile, i + 1, "the line is no notes record");
    try {
      ReadRecordKey(line);
    } catch (const vaq::EVaqError& error) {
      throw EDamagedNotes(NotesFile, i + 1, std::string("the record cannot be read: ") + error.what());
    }
  }
  // A file cut right after a line break ends in a whole record: only the count of its header
  // shows that records are missing.
  vaq::TFileStats recorded;
  if (header > 0 && vaq::GetStats(NotesFile, "/*", "*/", recorded)) {
    const std::vector<int> counts =
        vaq::GetLocalizeItemCounts(lines, KeyLocalize, KeyStatus, {"1", "2", "0"});
    const int held = counts[0] + counts[1] + counts[2];
    const int counted = recorded.Translated + recorded.Untranslated;
    if (held < counted) {
      throw EDamagedNotes(NotesFile, lines.size(),
                          vaq::Format("the file ends here, but its header counts %s translatable records "
                                      "and the file holds %s",
                                      {std::to_string(counted), std::to_string(held)}));
    }
  }
  return lines;
}

}  // namespace rux
