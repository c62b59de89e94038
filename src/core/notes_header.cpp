// The statistics header of notes files.
#include "host/core/notes_header.h"

#include <fstream>

#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/notes_strings.h"

namespace vaq {
namespace {

constexpr std::string_view kTag = "VAQ: ";
constexpr std::string_view kHeaderStart = "/*VAQ: ";
constexpr std::string_view kHeaderEnd = "\004 */";
constexpr std::string_view kFormatText = "VAQ 1";

constexpr std::string_view kFormat = "Format:";
constexpr std::string_view kNoteDate = "\004NoteDate:";
constexpr std::string_view kOrigFormDate = "\004OrigFormDate:";
constexpr std::string_view kFormDate = "\004FormDate:";
constexpr std::string_view kTranslated = "\004Translated:";
constexpr std::string_view kUntranslated = "\004Untranslated:";
constexpr std::string_view kSource = "Source:";
constexpr std::string_view kTarget = "\004Target:";
constexpr std::string_view kForms = "\004Forms:";

// A text value without the bytes that would end the field (0x04) or the line (CR, LF).
void AppendClean(std::string& out, std::string_view value) {
  for (const char c : value) {
    if (c != '\004' && c != '\r' && c != '\n') out.push_back(c);
  }
}

// The field of `key` in a header body; a first key counts only at the start of the body, so that it
// cannot match inside another line's values.
bool FindField(std::string_view body, std::string_view key, bool first, std::string_view& value) {
  if (first && !body.starts_with(key)) return false;
  if (!first && body.find(key) == std::string_view::npos) return false;
  value = GetValueView(body, key);
  return true;
}

void ReadDate(std::string_view body, std::string_view key, TDateTime& date) {
  std::string_view text;
  if (!FindField(body, key, false, text)) return;
  try {
    date = VaqStrToDouble(text);
  } catch (const EConvertError&) {
    // An unreadable date stays unknown.
  }
}

void ReadCount(std::string_view body, std::string_view key, std::int32_t& count) {
  std::string_view text;
  if (!FindField(body, key, false, text)) return;
  try {
    count = StrToInt(text);
  } catch (const EConvertError&) {
    // An unreadable count stays 0.
  }
}

void ReadText(std::string_view body, std::string_view key, bool first, std::string& text) {
  std::string_view value;
  if (FindField(body, key, first, value)) text = value;
}

void ParseHeaderBody(std::string_view body, TFileStats& Stats) {
  ReadText(body, kFormat, true, Stats.Format);
  ReadDate(body, kNoteDate, Stats.NoteDate);
  ReadDate(body, kOrigFormDate, Stats.OrigFormDate);
  ReadDate(body, kFormDate, Stats.FormDate);
  ReadCount(body, kTranslated, Stats.Translated);
  ReadCount(body, kUntranslated, Stats.Untranslated);
  ReadText(body, kSource, true, Stats.SourceLang);
  ReadText(body, kTarget, false, Stats.TargetLang);
  ReadText(body, kForms, false, Stats.FormFiles);
}

// Reads lines from the start of a file in small chunks, so that a large file is never read whole.
class LeadingLineReader {
 public:
  explicit LeadingLineReader(const std::string& name) : in_(name, std::ios::binary) {}
  bool IsOpen() const { return static_cast<bool>(in_); }

  // The next line without its terminator; false at the end of the file.
  bool Next(std::string_view& line) {
    std::size_t scanned = start_;
    std::size_t end;
    while ((end = buffer_.find_first_of("\r\n", scanned)) == std::string::npos) {
      scanned = buffer_.size();
      if (!ReadChunk()) break;
    }
    if (end == std::string::npos) {
      if (start_ >= buffer_.size()) return false;
      end = buffer_.size();
    }
    line_ = buffer_.substr(start_, end - start_);
    start_ = end + 1;
    // A CR may be the last byte of a chunk while its LF is the first of the next one.
    if (end < buffer_.size() && buffer_[end] == '\r') {
      if (start_ == buffer_.size()) ReadChunk();
      if (start_ < buffer_.size() && buffer_[start_] == '\n') ++start_;
    }
    line = line_;
    return true;
  }

 private:
  bool ReadChunk() {
    if (!in_) return false;
    char chunk[4096];
    in_.read(chunk, sizeof chunk);
    const auto count = in_.gcount();
    if (count <= 0) return false;
    buffer_.append(chunk, static_cast<std::size_t>(count));
    return true;
  }

  std::ifstream in_;
  std::string buffer_;
  std::string line_;
  std::size_t start_ = 0;
};

}  // namespace

std::vector<std::string> FormatNotesHeader(const TFileStats& Stats) {
  std::string first(kHeaderStart);
  first.append(kFormat);
  AppendClean(first, Stats.Format.empty() ? kFormatText : std::string_view(Stats.Format));
  first.append(kNoteDate).append(VaqFloatToStr(Stats.NoteDate));
  first.append(kOrigFormDate).append(VaqFloatToStr(Stats.OrigFormDate));
  first.append(kFormDate).append(VaqFloatToStr(Stats.FormDate));
  first.append(kTranslated).append(std::to_string(Stats.Translated));
  first.append(kUntranslated).append(std::to_string(Stats.Untranslated));
  first.append(kHeaderEnd);

  std::string second(kHeaderStart);
  second.append(kSource);
  AppendClean(second, Stats.SourceLang);
  second.append(kTarget);
  AppendClean(second, Stats.TargetLang);
  second.append(kForms);
  AppendClean(second, Stats.FormFiles);
  second.append(kHeaderEnd);
  return {std::move(first), std::move(second)};
}

bool GetStats(const std::string& NoteName, std::string_view Open, std::string_view Close, TFileStats& Stats) {
  Stats = TFileStats{};
  LeadingLineReader reader(NoteName);
  if (!reader.IsOpen()) return false;
  bool found = false;
  std::string_view line;
  for (int i = 0; i < 2 && reader.Next(line); ++i) {
    const std::size_t prefix = Open.size() + kTag.size();
    const bool header = line.size() >= prefix + Close.size() && line.starts_with(Open) &&
                        line.substr(Open.size()).starts_with(kTag) && line.ends_with(Close);
    if (!header) break;
    ParseHeaderBody(line.substr(prefix, line.size() - prefix - Close.size()), Stats);
    found = true;
  }
  return found;
}

bool IsNotesHeaderLine(std::string_view Line) {
  return Line.starts_with(kHeaderStart);
}

}  // namespace vaq
