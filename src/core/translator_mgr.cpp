// The core's manager base class.
#include "host/core/translator_mgr.h"

#include "host/core/conversions.h"
#include "host/core/files.h"
#include "host/core/notes_header.h"
#include "host/core/notes_strings.h"

namespace vaq {
namespace {

// The format of the notes files Save writes.
constexpr std::string_view kNotesFormat = "VAQ 1";

// Offset just past the line that starts at `start` (its terminator included).
std::size_t NextLineStart(std::string_view data, std::size_t start) {
  const std::size_t end = data.find_first_of("\r\n", start);
  if (end == std::string_view::npos) return data.size();
  if (data[end] == '\r' && end + 1 < data.size() && data[end + 1] == '\n') return end + 2;
  return end + 1;
}

void AppendHeader(std::string& out, const TFileStats& Stats) {
  for (const std::string& line : FormatNotesHeader(Stats)) out.append(line).append("\r\n");
}

// Clears a flag when the scope ends, also by an exception.
class FlagGuard {
 public:
  explicit FlagGuard(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagGuard() { flag_ = false; }
  FlagGuard(const FlagGuard&) = delete;
  FlagGuard& operator=(const FlagGuard&) = delete;

 private:
  bool& flag_;
};

}  // namespace

TVaqTranslatorMgr::TVaqTranslatorMgr() = default;
TVaqTranslatorMgr::~TVaqTranslatorMgr() = default;

void TVaqTranslatorMgr::SetStats(const std::string& NoteName, const TFileStats& Stats) {
  const TDateTime date = DateOfFile(NoteName);
  const std::string old = ReadFileBytes(NoteName);
  const std::string_view data = old;
  std::size_t records = 0;
  for (int i = 0; i < 2 && records < data.size() && IsNotesHeaderLine(data.substr(records)); ++i) {
    records = NextLineStart(data, records);
  }
  std::string updated;
  updated.reserve(data.size() - records + 256);
  AppendHeader(updated, Stats);
  updated.append(data.substr(records));
  WriteFileAtomic(NoteName, updated);
  SetDateOfFile(NoteName, date);
}

void TVaqTranslatorMgr::ReCalcStats(std::int32_t&, std::int32_t&) {}

void TVaqTranslatorMgr::CalcStats(std::int32_t&, std::int32_t&) {}

void TVaqTranslatorMgr::ClearList() {
  Lines.clear();
}

void TVaqTranslatorMgr::Purge() {}

void TVaqTranslatorMgr::EggBuild() {}

void TVaqTranslatorMgr::MakeDictionary(std::vector<std::string>&) {}

void TVaqTranslatorMgr::Save(bool, const std::string& SourceLang, const std::string& TargetLang, bool) {
  if (!SourceLang.empty()) Stats.SourceLang = SourceLang;
  if (!TargetLang.empty()) Stats.TargetLang = TargetLang;
  CalcStats(Stats.Translated, Stats.Untranslated);
  if (!Name2.empty() && FileExists(Name2)) Stats.OrigFormDate = DateOfFile(Name2);
  Stats.FormDate = DateOfFile(FileName);
  Stats.NoteDate = VaqNow();
  Stats.Format = kNotesFormat;
  {
    FlagGuard saving(saving_);
    SaveStringList();
  }
  // The file type may decide to write nothing; then there is no file to date.
  const std::string noteName = FileNameToNoteName(FileName);
  if (FileExists(noteName)) SetDateOfFile(noteName, Stats.NoteDate);
}

void TVaqTranslatorMgr::Search() {}

void TVaqTranslatorMgr::SaveNotesLines(const std::string& NoteName,
                                       const std::vector<std::string>& Lines) const {
  std::size_t first = 0;
  if (saving_) {
    // Header lines the list may still hold give way to the new ones.
    while (first < Lines.size() && first < 2 && IsNotesHeaderLine(Lines[first])) ++first;
  }
  // Streamed through the writer's buffer: a notes file may hold hundreds of thousands of lines.
  TAtomicFileWriter writer(NoteName);
  if (saving_) {
    for (const std::string& line : FormatNotesHeader(Stats)) {
      writer.Write(line);
      writer.Write("\r\n");
    }
  }
  for (std::size_t i = first; i < Lines.size(); ++i) {
    writer.Write(Lines[i]);
    writer.Write("\r\n");
  }
  writer.Commit();
}

int GetLocalizeItemCount(const std::vector<std::string>& Lines, std::string_view LocalizeKey,
                         std::string_view StatusKey, std::string_view StatusText) {
  int count = 0;
  for (const std::string& line : Lines) {
    const std::string_view s = line;
    if (!StrToBoo(GetValueView(s, LocalizeKey))) continue;
    // A line without the status field has no status to match, not an empty one.
    const std::size_t at = s.find(StatusKey);
    if (at == std::string_view::npos) continue;
    const std::string_view status = s.substr(at + StatusKey.size());
    if (status.substr(0, status.find('\004')) == StatusText) ++count;
  }
  return count;
}

}  // namespace vaq
