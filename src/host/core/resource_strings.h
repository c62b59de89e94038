// The core's message texts. Those with "%s" take a file, project or language name.
#pragma once

namespace vaq {

extern const char* const sNotAForm;           // %s: file name
extern const char* const sFileNotFound;       // %s: file name
extern const char* const sPgmNotFound;        // %s: program file name
extern const char* const sCannotFindPgmName;  // %s: project file name
extern const char* const sDupLang1;           // %s: language name
extern const char* const sDupLang2;           // %s: language name
extern const char* const SPreviousLang;       // %s: language name
extern const char* const sUpdate;             // mode text of a normal update
extern const char* const sOverwrite;          // mode text of an update that starts afresh

}  // namespace vaq
