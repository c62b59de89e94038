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

// Header lines a list may still hold give way to the new ones.
std::size_t FirstRecordLine(const std::vector<std::string>& Lines) {
  std::size_t first = 0;
  while (first < Lines.size() && first < 2 && IsNotesHeaderLine(Lines[first])) ++first;
  return first;
}

// Clears a pointer when the scope ends, also by an exception.
template <typename T>
class PointerGuard {
 public:
  PointerGuard(T*& pointer, T* value) : pointer_(pointer) { pointer_ = value; }
  ~PointerGuard() { pointer_ = nullptr; }
  PointerGuard(const PointerGuard&) = delete;
  PointerGuard& operator=(const PointerGuard&) = delete;

 private:
  T*& pointer_;
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
  TAtomicWriteBatch batch;
  batch.Add(NoteName, std::move(updated), date);
  batch.Commit();
}

void TVaqTranslatorMgr::ReCalcStats(std::int32_t&, std::int32_t&) {}

void TVaqTranslatorMgr::CalcStats(std::int32_t&, std::int32_t&) {}

void TVaqTranslatorMgr::ClearList() {
  Lines.clear();
}

void TVaqTranslatorMgr::Purge() {}

void TVaqTranslatorMgr::EggBuild() {}

void TVaqTranslatorMgr::MakeDictionary(std::vector<std::string>&) {}

void TVaqTranslatorMgr::Save(bool CreateForm, const std::string& Name1, const std::string& Name2, bool Flag) {
  TAtomicWriteBatch batch;
  SaveTo(batch, CreateForm, Name1, Name2, Flag);
  batch.Commit();
}

void TVaqTranslatorMgr::SaveTo(TAtomicWriteBatch& Batch, bool CreateForm, const std::string& SourceLang,
                               const std::string& TargetLang, bool Flag) {
  if (!SourceLang.empty()) Stats.SourceLang = SourceLang;
  if (!TargetLang.empty()) Stats.TargetLang = TargetLang;
  CalcStats(Stats.Translated, Stats.Untranslated);
  if (!Name2.empty() && FileExists(Name2)) Stats.OrigFormDate = DateOfFile(Name2);
  Stats.NoteDate = VaqNow();
  Stats.Format = kNotesFormat;
  std::optional<TPendingNotes> notes;
  {
    const PointerGuard saving(pending_, &notes);
    SaveStringList();
  }
  AddSaveOutputs(Batch, CreateForm, Flag);
  const TAtomicWriteBatch::TEntry* form = Batch.Find(FileName);
  Stats.FormDate = form != nullptr && form->Date ? *form->Date : DateOfFile(FileName);
  // The file type may decide to write no notes.
  if (!notes) return;
  const std::vector<std::string>& lines = *notes->Lines;
  std::size_t size = 512;
  for (const std::string& line : lines) size += line.size() + 2;
  std::string data;
  data.reserve(size);
  AppendHeader(data, Stats);
  for (std::size_t i = FirstRecordLine(lines); i < lines.size(); ++i) data.append(lines[i]).append("\r\n");
  Batch.Add(notes->NoteName, std::move(data), Stats.NoteDate);
}

void TVaqTranslatorMgr::AddSaveOutputs(TAtomicWriteBatch&, bool, bool) {}

void TVaqTranslatorMgr::Search() {}

void TVaqTranslatorMgr::SaveNotesLines(const std::string& NoteName,
                                       const std::vector<std::string>& Lines) const {
  if (pending_ != nullptr) {
    *pending_ = TPendingNotes{NoteName, &Lines};
    return;
  }
  // Streamed through the writer's buffer: a notes file may hold hundreds of thousands of lines.
  TAtomicFileWriter writer(NoteName);
  for (const std::string& line : Lines) {
    writer.Write(line);
    writer.Write("\r\n");
  }
  writer.Commit();
}

int GetLocalizeItemCount(const std::vector<std::string>& Lines, std::string_view LocalizeKey,
                         std::string_view StatusKey, std::string_view StatusText) {
  return GetLocalizeItemCounts(Lines, LocalizeKey, StatusKey, {StatusText}).front();
}

std::vector<int> GetLocalizeItemCounts(const std::vector<std::string>& Lines, std::string_view LocalizeKey,
                                       std::string_view StatusKey,
                                       std::initializer_list<std::string_view> StatusTexts) {
  std::vector<int> counts(StatusTexts.size());
  for (const std::string& line : Lines) {
    const std::string_view s = line;
    if (!StrToBoo(GetValueView(s, LocalizeKey))) continue;
    // A line without the status field has no status to match, not an empty one.
    const std::size_t at = s.find(StatusKey);
    if (at == std::string_view::npos) continue;
    std::string_view status = s.substr(at + StatusKey.size());
    status = status.substr(0, status.find('\004'));
    std::size_t i = 0;
    for (const std::string_view text : StatusTexts) {
      if (status == text) ++counts[i];
      ++i;
    }
  }
  return counts;
}

}  // namespace vaq
