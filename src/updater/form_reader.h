// The form reader of the updater: turns a form file (text or binary notation) into an ordered list
// of extracted lines, one per property value, each with its Id (component path + property path),
// its value in form-text notation and the structure tokens needed to rebuild lists, collections
// and binary data.
#pragma once

#include <string>
#include <vector>

#include "host/core/types.h"
#include "host/framework/formstream.h"
#include "notes/form_info.h"

namespace rux {

struct TExtractedLine {
  std::string Id;
  TRuzDatastring Data;
};
using TExtractedLines = std::vector<TExtractedLine>;

// Replaces a loaded form file (text or binary) in `Stream` by its binary resource form, positioned
// after the resource header. Unknown notation: false without a message. A conversion error shows
// the parser's message for `FileName` ("Form1.rux: Line 3: 'end' expected but end of file found")
// and returns false. Text behind the root object of form text is ignored; with `WarnIgnoredText` a
// warning names the file and the line where it begins.
bool ConvertFormStream(vaq::TMemoryStream& Stream, const std::string& FileName, bool WarnIgnoredText = false);
// The same without any message: for a look at a form that is read in full later.
bool ConvertFormStreamQuietly(vaq::TMemoryStream& Stream);

// Clears `Lines`, loads and converts the form file and reads its root component under the thread
// locale `Locale` (the previous locale is restored). Any failure shows its cause (the file that
// cannot be read; the parser's or the form reader's message after the file name) and returns
// false; the lines read so far stay in `Lines`.
bool ExtractFormLines(const std::string& FileName, TExtractedLines& Lines, vaq::TLCID Locale);
// The same from a stream that holds the loaded bytes of the form file; `FileName` names it in
// messages only.
bool ExtractFormLines(vaq::TMemoryStream& Stream, const std::string& FileName, TExtractedLines& Lines,
                      vaq::TLCID Locale);

}  // namespace rux
