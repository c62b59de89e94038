// Mapping between form-file names and notes-file names: a form "X.rux" keeps its notes in "X.ruz",
// a form "X.gox" in "X.goz". Extensions are compared after a locale-aware lower case.
#pragma once

#include <string>
#include <string_view>

namespace rux {

// The notes extension of a form extension: ".rux" -> ".ruz", ".gox" -> ".goz" in any letter case;
// any other extension comes back lower-cased.
std::string FileExtToNoteExt(std::string_view ext);

// The form extension of a notes extension: ".ruz" -> ".rux", ".goz" -> ".gox" in any letter case;
// any other extension comes back lower-cased.
std::string NoteExtToFileExt(std::string_view ext);

// `fileName` with its extension replaced by FileExtToNoteExt of it. The extension is the text from
// the last "." of the file-name part (after the last '/' or '\\'); a name without one comes back
// unchanged.
std::string FileNameToNoteName(std::string_view fileName);

}  // namespace rux
