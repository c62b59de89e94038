// Project directives: the lines that bind one translated form file into a generated resource-module
// project. The core's project generators call this through the form file type's directive handler.
#pragma once

#include <string>

#include "host/core/object.h"

namespace rux {

// The binding lines for the form file `FileName` (used as given, without quoting), in the language
// that InPelgo() reports: one resource directive line for a Pascal project; a resource macro line
// and a "#pragma resource" line for a C++ project. Every line ends with CR LF. `FormInfo` is the
// form's TFormInfo; null or any other object means the form's classes are unknown.
std::string FormatDirective(const std::string& FileName, const vaq::TObject* FormInfo);

}  // namespace rux
