// An update of a project's forms into several languages in one pass: each form is read, and its
// values extracted, once for all the languages that need it (once for each code page among their
// source languages), then merged into the notes of every language. A file type offers it as its
// UpdateLanguages handler (registration.h); a single language is the same update with one entry.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "host/core/types.h"

namespace vaq {

class TIToolServices;

// One language of the update.
struct TUpdateLanguage {
  TLCID SourceLocale = 0;  // the language of the forms
  TLCID TargetLocale = 0;
  std::string LangDir;  // the language folder: the translated copies and their notes
};

struct TLanguagesRequest {
  std::string ProjectFile;
  std::string BaseDir;  // the translated copies mirror the forms' folders below it
  std::vector<TUpdateLanguage> Languages;
  bool Overwrite = false;           // start afresh: notes and translated copies made anew
  TIToolServices* Tools = nullptr;  // borrowed: the project's units
};

// What the update reports as it goes. A form counts for a language as written once its files are
// replaced on disk, which happens for many forms at a time; a failure has been shown (ShowError)
// before it is reported here, once, however many languages it concerns.
class IUpdateProgress {
 public:
  virtual ~IUpdateProgress() = default;
  // Form `FormFile` is taken up: read for the languages whose notes are not up to date, or found
  // up to date in all of them. Once per form of the project.
  virtual void FormStarted(const std::string& FormFile) = 0;
  // The notes of form `FormFile` in language `Language` (an index into the request's languages)
  // and its translated copy are written; `Counts` holds what the merge counted (New, Changed,
  // Unchanged and Unused).
  virtual void FormWritten(std::size_t Language, const std::string& FormFile, const TStats& Counts) = 0;
  // The form failed in that language.
  virtual void FormFailed(std::size_t Language, const std::string& FormFile) = 0;
};

using TUpdateLanguagesMethod =
    std::function<void(const TLanguagesRequest& Request, IUpdateProgress& Progress)>;

}  // namespace vaq
