// The format-neutral records of the exchange with other translation tools: one unit per
// translatable value, grouped by form file. The readers and writers of the formats (formats.h:
// xliff2.cpp, xliff12.cpp, po.cpp) fill and read these; the export (collect.h) and the import
// (apply.h) work on them alone. All texts are UTF-8.
#pragma once

#include <string>
#include <vector>

#include "host/core/errors.h"

namespace rux::exchange {

// Where a unit stands in the translator's work.
enum class UnitState {
  Initial,      // no translation yet
  NeedsReview,  // a target that still has to be reviewed (from the repository, or marked so)
  Translated,   // a finished target
};

struct Unit {
  std::string Id;        // the record's Id
  std::string Type;      // the component class (the record's Type)
  std::string Property;  // the property path inside the component
  bool IsString = true;  // false: a value in form-text notation (numbers, geometry, sets)
  std::string Source;    // the original value, decoded (string values) or as notation
  std::string Target;    // the translation; meaningful when HasTarget
  bool HasTarget = false;
  UnitState State = UnitState::Initial;
  std::string PrevSource;  // the previous original, when the form changed it
  std::string Comment;     // the translator's comment
  // The record's translation when it was exported (RecordBaseline, baseline.h): an import refuses a
  // unit whose record was translated since. Empty in files of older exports.
  std::string Baseline;
  int Line = 0;  // line in the exchange file it was read from (0: unknown)
};

// The units of one form file.
struct FileUnits {
  std::string Original;  // the form file, relative to the language folder ("/" separated)
  std::vector<Unit> Units;
};

// One exchange file.
struct Document {
  std::string SourceLang;  // BCP-47 tags
  std::string TargetLang;
  // The language folder the form files are relative to, relative to the project ("de-DE",
  // "lang/de"), as the export recorded it. Files of older exports hold an absolute path; an import
  // takes it as a hint only (folders.h).
  std::string Folder;
  std::vector<FileUnits> Files;
  std::string Project;  // the project's name, for tools that show one (PO's Project-Id-Version)
};

enum class Format { Xliff2, Xliff12, Po };

// A file that cannot be read as an exchange file; the message names the file and the line.
class EExchangeParseError : public vaq::EVaqError {
 public:
  using vaq::EVaqError::EVaqError;
};

}  // namespace rux::exchange
