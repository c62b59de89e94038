// Record types and scalar types that the translation core shares with its modules.
#pragma once

#include <cstdint>
#include <string>

namespace vaq {

// Days since 1899-12-30, local time; the fraction is the time of day.
using TDateTime = double;

// A Windows-style 32-bit locale id (language in the low 10 bits, sub-language above).
using TLCID = std::uint32_t;

// Column ids 0..14 of a file type's column table.
using TVaqAllColId = std::uint8_t;

// One row of a file type's column/key table. The row index is the column id.
struct TColInfo {
  std::uint32_t IsColumn = 0;    // 1 for grid columns, 0 for keys that are stored but never shown
  std::string Caption;           // grid header caption
  std::string Key;               // key literal that introduces the field inside a notes string
  std::uint32_t CoreColumn = 0;  // the core's own number for this column
  std::uint32_t Reserved1 = 0;
  std::uint32_t Reserved2 = 0;
};

// One notes record in memory; on disk it is a notes string (one line of key/value fields).
struct TVaqNotesString {
  std::string Id;
  std::string Orig;
  std::string Curr;
  std::string PrevOrig;
  std::string PrevCurr;
  std::uint8_t Status = 0;
  std::int32_t Order = 0;
  std::string Type;
  bool Localize = false;
  std::string Open;
  std::string Close;
  TDateTime Created = 0.0;
  TDateTime Modified = 0.0;
  std::string Comment;

  bool operator==(const TVaqNotesString&) const = default;
};

// The statistics header of a notes file, in the order the header reader fills it.
struct TFileStats {
  std::string Format;             // format text of the header
  TDateTime NoteDate = -1.0;      // recorded date of the notes file
  TDateTime OrigFormDate = -1.0;  // recorded date of the original form file
  TDateTime FormDate = -1.0;      // recorded date of the (translated) form file
  std::int32_t Translated = 0;
  std::int32_t Untranslated = 0;
  std::string SourceLang;
  std::string TargetLang;
  std::string FormFiles;  // further form files, separated by ";"

  bool operator==(const TFileStats&) const = default;
};

// Counters of one update run. The merge counts New to Renamed; the first two are the core's.
struct TStats {
  std::int32_t Files = 0;
  std::int32_t Records = 0;
  std::int32_t New = 0;
  std::int32_t Changed = 0;
  std::int32_t Unchanged = 0;
  std::int32_t Unused = 0;
  std::int32_t Renamed = 0;  // components whose records moved to their new name
};

}  // namespace vaq
