// vaq records (from the module): list the records of notes files and check that they survive a round trip.
#include <cstdio>

#include "host/core/arguments.h"
#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/locale.h"
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
bool ListFile(const std::string& file, bool check, TLCID lang) {
  const std::string notes = FileNameToNoteName(file);
  const std::vector<std::string> lines = LoadLines(notes);
  int records = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (IsHeaderOrBlank(lines[i])) continue;
    try {
      const TVaqNotesString record = StringToNotesString(lines[i], file);
      ++records;
      std::printf("%s:%zu\t%d\t%s\t%s\t%s\t%s\n", notes.c_str(), i + 1, record.Order,
                  std::string(XStatusString[record.Status % 4]).c_str(),
                  StringToUtf8(lang, record.Id).c_str(), StringToUtf8(lang, record.Orig).c_str(),
                  StringToUtf8(lang, record.Curr).c_str());
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
  // Notes hold 8-bit text in the language's code page; the terminal gets UTF-8.
  const TLCID lang = args.Values.contains("--lang") ? StrToLCID(args.Value("--lang")) : VaqGetThreadLocale();
  if (lang == 0) throw UsageError("unknown language " + args.Value("--lang"));
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
