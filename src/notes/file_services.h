// File-level services of the form file type: statistics, search and batch events over the notes
// of many forms at a time. The editor registers them as handlers of the file type; each opens a
// short-lived form notes manager (rux_mgr.h) as it needs one.
#pragma once

#include <string>
#include <vector>

#include "host/core/registration.h"
#include "host/core/search.h"
#include "host/core/types.h"

namespace rux {

// The statistics header of the notes of form file `FileName` (dates -1.0, counts 0 and empty texts
// without one), as recorded: reading statistics writes nothing. `CheckDates` is the file type's
// explicit request for up-to-date statistics (`vaq stats --refresh`): then stale notes are
// refreshed first, as RefreshStaleStats does.
void GetStats(const std::string& FileName, bool CheckDates, vaq::TFileStats& Stats);

// Brings stale notes of form file `FileName` up to date, on request only: a form file changed
// since its notes were written is first read back through the update handler of its registered
// file type, and notes that are newer than their header (edited elsewhere) or were read back are
// recounted and saved again with the translated form. Stats receives the statistics afterwards.
// Answers whether the notes were stale. Notes with unknown dates are never stale.
bool RefreshStaleStats(const std::string& FileName, vaq::TFileStats& Stats);

// The first half of RefreshStaleStats, for a caller that changes the notes further and saves them
// once (vaq import): reads a form file changed since its notes were written back into them, and
// answers whether the notes were stale. Stats receives the statistics as recorded before. The
// caller then loads the notes, recounts them (ReCalcStats) and saves them with the translated form
// also when it has nothing else to change, as RefreshStaleStats would have.
// Why it is fast: the recount and the caller's changes share one load of the notes and one save,
// so the notes file and the translated form, the largest files of a form, are rebuilt and written
// once for both instead of twice; the files are byte for byte those of a refresh followed by the
// caller's own load and save, but for the times they record.
bool ReadBackStaleForm(const std::string& FileName, vaq::TFileStats& Stats);

// Searches the notes of Info.FileName for `Text` in the columns checked in Info.Columns (all when
// none is), reporting every hit to `OnFound`. Does nothing when the form has no notes file. Uses
// the editor's manager when it shows this form, else a manager of its own.
void SearchFile(const vaq::TSearchInfo& Info, const std::string& Text, bool CaseSensitive, bool WholeWord,
                bool IgnoreAccelerators, vaq::TSearchFoundEvent OnFound);

// Runs `Event` over the form files `Files` in order: purge (notes saved), pseudo-translation
// (notes and translated form saved; both first refresh stale notes, so that edits made in a
// translated form are in the notes before it is written again) or dictionary (lines appended to the
// dictionary file of the vaq::TSaveFileData that `Data` points to; it is loaded before and written after the
// run, also after a stop). `Callback`, when given, is asked before each file with `Data` (for the dictionary,
// the caller's data inside it); false stops the run. Other events do nothing.
void DoListEvent(vaq::TListEvent Event, const std::vector<std::string>& Files, void* Data,
                 vaq::TListEventCallback Callback);

}  // namespace rux
