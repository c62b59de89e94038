// The checks that need only the notes of a form (accelerators, consistency, untranslated), for the
// command line and for the editor. The fit check needs the live form; see fit.h.
#pragma once

#include <string>
#include <vector>

#include "checks/finding.h"
#include "host/core/types.h"

namespace rux {
class TRuxMgr;
}

namespace rux::checks {

// The findings of the notes `Lines` (header lines allowed) of notes file `File`, whose languages
// `Stats` names (an unknown language reads in the thread locale's code page), ordered by record.
// Kind Fit in `Kinds` is ignored here. A record that does not parse raises vaq::EConvertError.
std::vector<TFinding> CheckNotesLines(const std::vector<std::string>& Lines, const std::string& File,
                                      const vaq::TFileStats& Stats, TKindSet Kinds);

// The findings of the notes a manager holds, as they are in memory (the editor's open file, saved or
// not); File of each finding is the manager's notes file.
std::vector<TFinding> CheckManager(const TRuxMgr& Mgr, TKindSet Kinds = TKindSet::All());

// The findings of the notes of `File` (a form file or its notes file), read from disk; nothing is
// written. A notes file that cannot be read raises vaq::EFileError naming it.
std::vector<TFinding> CheckNotesFile(const std::string& File, TKindSet Kinds = TKindSet::All());

}  // namespace rux::checks
