// vaq records (from the module): list the records of notes files and check that they survive a round trip.
#include <cstdio>

#include "host/core/arguments.h"
#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/locale.h"
#include "host/core/notes_header.h"
#include "host/core/terminal.h"
#include "module/commands.h"
#include "notes/file_names.h"
#include "notes/notes_record.h"

namespace rux {

using namespace vaq;
namespace {

bool IsHeaderOrBlank(const std::string& line) {
  if (line.rfind("/*VAQ: ", 0) == 0) return true;
  return line.find_first_not_of(" \t\r\n") == std::string::npos;
}

// Lists one notes file; false when a record could not be read or did not survive the check.
// Original values (and Ids) are in the code page of the source language of the notes header, current
// values in that of the target language; `lang`, when not 0, stands for both.
bool ListFile(const std::string& file, bool check, TLCID lang) {
  const std::string notes = FileNameToNoteName(file);
  const std::vector<std::string> lines = LoadLines(notes);
  TFileStats stats;
  GetStats(notes, "/*", "*/", stats);
  const TLCID fallback = lang != 0 ? lang : VaqGetThreadLocale();
  const TLCID source = lang != 0 || StrToLCID(stats.SourceLang) == 0 ? fallback : StrToLCID(stats.SourceLang);
  const TLCID target = lang != 0 || StrToLCID(stats.TargetLang) == 0 ? fallback : StrToLCID(stats.TargetLang);
  int records = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (IsHeaderOrBlank(lines[i])) continue;
    try {
      const TVaqNotesString record = StringToNotesString(lines[i], file);
      ++records;
      std::printf("%s:%zu\t%d\t%s\t%s\t%s\t%s\n", notes.c_str(), i + 1, record.Order,
                  std::string(XStatusString[record.Status % 4]).c_str(),
                  ToTerminal(source, record.Id).c_str(), ToTerminal(source, record.Orig).c_str(),
                  ToTerminal(target, record.Curr).c_str());
      if (check && NotesStringToString(record, false) != lines[i]) {
        std::fprintf(stderr, "%s:%zu: the record does not come out as it was read\n", notes.c_str(), i + 1);
        return false;
      }
    } catch (const EVaqError& error) {
      std::fprintf(stderr, "%s:%zu: %s\n", notes.c_str(), i + 1, error.what());
      return false;
    }
  }
  if (check)
    std::fprintf(stderr, "%s: %d records, every one written back byte for byte\n", notes.c_str(), records);
  return true;
}

}  // namespace

int RunRecords(const Arguments& args) {
  // Notes hold 8-bit text in the code page of each value's language; the terminal gets its own.
  const bool given = !args.Value("--lang").empty();
  const TLCID lang = given ? StrToLCID(args.Value("--lang")) : 0;
  if (given && lang == 0) throw UsageError("unknown language " + args.Value("--lang"));
  int status = kExitOk;
  for (const std::string& file : args.Positional) {
    try {
      if (!ListFile(file, args.Has("--check"), lang)) status = kExitFileFailed;
    } catch (const EVaqError& error) {
      std::fprintf(stderr, "vaq records: %s\n", error.what());
      status = kExitFileFailed;
    }
  }
  return status;
}

}  // namespace rux
