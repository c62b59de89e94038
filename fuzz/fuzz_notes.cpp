// Fuzzes the notes reader: the header of the statistics, the lines as the notes file is read, the
// manager's load, and every record through the record codec and the manager's sort, counts and
// dictionary. Bad records are refused with an EVaqError; what is read must not crash, and:
//  - the file read in chunks gives the same lines as the text split at once;
//  - a header as the core writes it reads back to the same header;
//  - a record that reads writes a notes string that reads back and writes again byte for byte.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_input_file.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/notes_header.h"
#include "notes/notes_record.h"
#include "notes/rux_mgr.h"

namespace {

constexpr const char* kName = "fuzz_notes";

void CheckHeader(const std::string& file) {
  static vaq::fuzzing::InputFile again(".again.ruz");
  vaq::TFileStats stats;
  vaq::GetStats(file, "/*", "*/", stats);
  const std::vector<std::string> header = vaq::FormatNotesHeader(stats);
  std::string text;
  for (const std::string& line : header) text += line + "\r\n";
  vaq::TFileStats reread;
  vaq::GetStats(again.Write(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), "/*", "*/",
                reread);
  if (vaq::FormatNotesHeader(reread) != header)
    vaq::fuzzing::Fail(kName, "a written header reads back otherwise: " + text);
}

void CheckRecord(const std::string& line) {
  vaq::TVaqNotesString record;
  try {
    record = rux::StringToNotesString(line, {});
  } catch (const vaq::EVaqError&) {
    return;  // no record: refused
  }
  std::string written;
  try {
    written = rux::NotesStringToString(record, false);
  } catch (const vaq::EVaqError& error) {
    vaq::fuzzing::Fail(kName, std::string("a record that reads cannot be written: ") + error.what());
  }
  vaq::TVaqNotesString reread;
  try {
    reread = rux::StringToNotesString(written, {});
  } catch (const vaq::EVaqError& error) {
    vaq::fuzzing::Fail(kName,
                       std::string("a written record does not read: ") + error.what() + ": " + written);
  }
  if (rux::NotesStringToString(reread, false) != written)
    vaq::fuzzing::Fail(kName, "a written record reads back otherwise: " + written);
}

void ExerciseManager(const std::vector<std::string>& lines, const std::string& file) {
  rux::TRuxMgr mgr;
  mgr.LoadFromStringList(&lines, file, std::string());
  try {
    rux::TRuxMgr::QuickSortReOrder(mgr.Lines, 0, static_cast<int>(mgr.Lines.size()) - 1);
  } catch (const vaq::EVaqError&) {
  }
  try {
    std::int32_t translated = 0;
    std::int32_t untranslated = 0;
    mgr.CalcStats(translated, untranslated);
    for (int i = 0; i < static_cast<int>(mgr.Lines.size()); ++i) mgr.CanLocalize(i);
    std::vector<std::string> dictionary;
    mgr.MakeDictionary(dictionary);
    mgr.Purge();
  } catch (const vaq::EVaqError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static vaq::fuzzing::InputFile input(".ruz");
  const std::string& file = input.Write(data, size);
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  std::vector<std::string> lines;
  try {
    lines = vaq::LoadLines(file);
  } catch (const vaq::EVaqError& error) {
    vaq::fuzzing::Fail(kName, std::string("a file that exists does not load: ") + error.what());
  }
  if (lines != vaq::SplitLines(text)) vaq::fuzzing::Fail(kName, "the file read in chunks gives other lines");

  CheckHeader(file);
  for (const std::string& line : lines) CheckRecord(line);
  ExerciseManager(lines, file);
  return 0;
}
