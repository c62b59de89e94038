// vaq check: the review checks of translated forms over their notes files. The checks that read
// the notes alone run in every build; the fit check needs the live forms and comes from the
// desktop build as a TFitCheck.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "checks/finding.h"
#include "host/core/arguments.h"
#include "host/core/types.h"

namespace rux {

// The fit findings of the form of notes file `Notes` (its lines and header statistics as the other
// checks read them, so that the file is read once); with a non-empty `PngDir`, also writes the
// picture of a form with findings (`Findings`: those of the other checks, then the fit's) there.
using TFitCheck = std::function<std::vector<checks::TFinding>(
    const std::string& Notes, const std::vector<std::string>& Lines, const vaq::TFileStats& Stats,
    const std::vector<checks::TFinding>& Findings, const std::string& PngDir)>;

// `vaq check PROJECT --lang TAG | FILE... [--format text|json] [--png DIR] [--only KIND,...]`:
// one line per finding (file, Id, kind, detail) on standard output and a summary on standard
// error, or one JSON document. 1 when there is a finding or a form could not be checked. Without
// `Fit`, the fit check is left out (and asking for it or for pictures is a usage error).
int RunCheck(const vaq::Arguments& Args, const TFitCheck& Fit);

}  // namespace rux
