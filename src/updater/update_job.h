// The values an update passes along: the request as the core makes it (by name instead of twelve
// parameters), the state of one run of it, and the work on one form for one language. The
// updater keeps no per-form state of its own: each step takes the job it works on.
#pragma once

#include <cstdint>
#include <string>

#include "host/core/files.h"
#include "host/core/object.h"
#include "host/core/registration.h"
#include "host/core/types.h"
#include "host/framework/formstream.h"
#include "updater/merge_notes.h"

namespace vaq {
class TIToolServices;
}

namespace rux {

// One update as the core asks for it (UpdateForms).
struct TUpdateRequest {
  // Project mode: on entry the original form files to update (absent or empty: the project's
  // units and the library's dialogs); on exit the translated form file of each form processed, with
  // the form's information.
  vaq::TStringObjectList* Forms = nullptr;
  std::string ProjectFile;
  std::string BaseDir;  // the translated copies mirror the forms' folders below it ...
  std::string LangDir;  // ... in this language folder
  // Start afresh: the notes and translated copies are made anew, their translations dropped.
  bool Overwrite = false;
  // Single-file mode: the translated form file to read back into its notes. Empty: project mode.
  std::string FileName;
  // The languages; with either 0, those the notes header of FileName records.
  vaq::TLCID SourceLocale = 0;
  vaq::TLCID TargetLocale = 0;
  vaq::TIToolServices* Tools = nullptr;  // borrowed: the project's units
  // Called before each form is read, with the form file and CallbackArg; may be empty.
  vaq::TUpdateCallback Callback;
  std::intptr_t CallbackArg = 0;
};

// One run of an update request.
struct TUpdateRun {
  const TUpdateRequest& Request;
  vaq::TStats& Stats;        // what the merges count
  bool BothLocales = false;  // the caller gave both languages: the forms processed are counted
  vaq::TLCID SourceLocale = 0;
  vaq::TLCID TargetLocale = 0;
  // The outputs of the forms finished so far, replaced in groups: each file is written once, and
  // the waits for the disk are shared by many files.
  vaq::TAtomicWriteBatch Files{};
};

// One form for one language, from the decision to update it to its files in the run's batch.
struct TFormJob {
  std::string FormFile;      // the form extracted: the original, or in single-file mode the translated copy
  TMergeForm Merge;          // notes file, translated copy, original, mode, languages, form information
  vaq::TFileStats Recorded;  // the notes header as the update found it
  bool NewCopy = false;      // the translated copy is made by this update (first update, starting afresh)
  vaq::TMemoryStream Form;   // the bytes of FormFile as read
  vaq::TAtomicWriteBatch Files;  // this form's outputs, until the form is complete
};

}  // namespace rux
