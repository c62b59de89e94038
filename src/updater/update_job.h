// The values an update passes along: the request as the core makes it (by name instead of twelve
// parameters), the state of one run of it, and the work on one form for one language. The
// updater keeps no per-form state of its own: each step takes the job it works on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/core/files.h"
#include "host/core/language_update.h"
#include "host/core/object.h"
#include "host/core/registration.h"
#include "host/core/types.h"
#include "host/framework/formstream.h"
#include "updater/merge_notes.h"

namespace vaq {
class TIToolServices;
}

namespace rux {

// One update as the core asks for it (UpdateForms, UpdateLanguages).
struct TUpdateRequest {
  // Project mode with one language: on entry the original form files to update (absent or empty:
  // the project's units and the library's dialogs); on exit the translated form file of each form
  // processed, with the form's information.
  vaq::TStringObjectList* Forms = nullptr;
  std::string ProjectFile;
  std::string BaseDir;  // the translated copies mirror the forms' folders below it ...
  // ... in each language's folder. Single-file mode takes the first; with either of its locales 0,
  // those the notes header of FileName records.
  std::vector<vaq::TUpdateLanguage> Languages;
  // Start afresh: the notes and translated copies are made anew, their translations dropped.
  bool Overwrite = false;
  // Single-file mode: the translated form file to read back into its notes. Empty: project mode.
  std::string FileName;
  vaq::TIToolServices* Tools = nullptr;  // borrowed: the project's units
  // Called before each form is read, with the form file and CallbackArg; may be empty.
  vaq::TUpdateCallback Callback;
  std::intptr_t CallbackArg = 0;
  vaq::IUpdateProgress* Progress = nullptr;  // borrowed; may be absent
};

// A form whose files wait in the run's batch: it counts as written once they are replaced.
struct TPendingForm {
  std::size_t Language = 0;
  std::string FormFile;
  vaq::TStats Counts;              // what its merge counted
  std::vector<std::string> Files;  // its files in the batch
};

// One run of an update request.
struct TUpdateRun {
  const TUpdateRequest& Request;
  vaq::TStats& Stats;        // what the merges of the forms written count
  bool BothLocales = false;  // the caller gave both languages: the forms written are counted
  std::vector<vaq::TUpdateLanguage> Languages;  // the request's, with their locales
  // The outputs of the forms finished so far, replaced in groups: each file is written once, and
  // the waits for the disk are shared by many files. A form counts as written only once its files
  // were replaced; when a group fails, its forms are tried one by one, so that only the form that
  // cannot be written fails, with its own message.
  vaq::TAtomicWriteBatch Files{};
  std::vector<TPendingForm> Pending;  // the forms whose files are in Files
};

// One form for one language, from the decision to update it to its files in the run's batch.
struct TFormJob {
  std::size_t Language = 0;  // index into the run's languages
  std::string FormFile;      // the form extracted: the original, or in single-file mode the translated copy
  TMergeForm Merge;          // notes file, translated copy, original, mode, languages, form information
  vaq::TFileStats Recorded;  // the notes header as the update found it
  bool NewCopy = false;      // the translated copy is made by this update (first update, starting afresh)
  vaq::TStats Counts;        // what the merge counted
  vaq::TAtomicWriteBatch Files;  // this form's outputs, until the form is complete
};

}  // namespace rux
