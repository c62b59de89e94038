// Notes files are read whole or not at all by whatever rewrites them: a notes file cut short (a
// crash of another tool, a bad copy) or holding a line that is no record must not be merged, or
// the records after the damage would be made anew and their translations lost.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "host/core/errors.h"

namespace rux {

// A damaged notes file: names the file, the line (counted from 1) and what is wrong there.
class EDamagedNotes : public vaq::EVaqError {
 public:
  EDamagedNotes(const std::string& NotesFile, std::size_t Line, const std::string& Problem);
  const std::string& NotesFile() const { return file_; }
  std::size_t Line() const { return line_; }

 private:
  std::string file_;
  std::size_t line_;
};

// The lines of notes file `NotesFile` (as vaq::LoadLines gives them), once the file has been found
// whole: it is not empty; every line but the header lines and blank ones is a notes record, framed
// by "/* " and " */", whose Status, Order and dates can be read; the file ends with a line break
// (LF, or CR LF as every writer ends each line); and it holds at least as many translatable records
// as its header counts (a file cut right after a line break). Raises EDamagedNotes for the first
// problem found, vaq::EFileError when the file cannot be read.
std::vector<std::string> LoadWholeNotes(const std::string& NotesFile);

// The same check over the bytes of a notes file; `NotesFile` names it in the message and gives the
// header's counts.
std::vector<std::string> WholeNotesLines(std::string_view Bytes, const std::string& NotesFile);

}  // namespace rux
