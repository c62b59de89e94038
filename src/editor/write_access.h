// Whether the editor may write a form's notes and its translated form: both live in the language
// folder and are replaced through a new file beside them, so the folder must take new files and an
// existing file must be writable (a translator who makes one read-only means it).
#pragma once

#include <string>

namespace rux {

// Why the notes file `NoteName` or the translated form `FormFile` cannot be written, for the
// status bar ("the folder /p/de-DE cannot be written: Read-only file system"); empty when both can.
std::string ReadOnlyReason(const std::string& NoteName, const std::string& FormFile);

}  // namespace rux
