// The core's message texts.
#include "host/core/resource_strings.h"

namespace vaq {

const char* const sNotAForm = "%s is not a form file, or it cannot be read.";
const char* const sFileNotFound = "File not found: %s";
const char* const sPgmNotFound = "Program file not found: %s";
const char* const sCannotFindPgmName = "Cannot find the program file name of project %s.";
const char* const sDupLang1 = "%s (original)";
const char* const sDupLang2 = "%s (translated)";
const char* const SPreviousLang = "Previous %s";
const char* const sUpdate = "Update";
const char* const sOverwrite = "Overwrite";

}  // namespace vaq
