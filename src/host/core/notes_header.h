// The statistics header of notes files, which the core owns: up to two lines in front of the
// records, each beginning "/*VAQ: " and ending "*/", fields introduced by keys and separated by 0x04
// (written <04> here; each line is one line in the file):
//   /*VAQ: Format:VAQ 1<04>NoteDate:46362.5<04>OrigFormDate:46360.25<04>FormDate:46362.5
//          <04>Translated:12<04>Untranslated:3<04> */
//   /*VAQ: Source:en-US<04>Target:de-DE<04>Forms:Base.rux;Frame.rux<04> */
// Dates are VaqFloatToStr texts (-1.0: unknown); counts decimal.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/core/types.h"

namespace vaq {

// The header lines of a statistics record (the lines do not end in a line break).
std::vector<std::string> FormatNotesHeader(const TFileStats& Stats);

// Reads the header of the notes file `NoteName`: the leading lines (two at most) that begin with
// `Open` + "VAQ: " and end with `Close` fill the nine fields of `Stats`. Without a header, or for
// a missing file, Stats gets dates -1.0, counts 0 and empty texts. Reads only the header lines,
// not the whole file. Returns whether a header was found.
bool GetStats(const std::string& NoteName, std::string_view Open, std::string_view Close, TFileStats& Stats);

// Whether a line is a header line ("/*VAQ: " at its start).
bool IsNotesHeaderLine(std::string_view Line);

}  // namespace vaq
