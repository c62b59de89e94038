// The form-file updater the translation core drives. For one target language it walks the forms of
// a project (or takes one translated form file), makes sure each form has a translated copy in the
// language folder, reads back a translated copy the translator edited since its notes were written,
// extracts the form's values and merges them into the form's notes file. The work on one form is a
// job (update_job.h) handed from step to step.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/core/language_update.h"
#include "host/core/projects.h"
#include "host/core/translator_updater.h"
#include "notes/form_info.h"
#include "updater/error_watch.h"
#include "updater/form_reader.h"
#include "updater/merge_notes.h"
#include "updater/update_job.h"

namespace rux {

class TRuxUpdater : public vaq::TVaqTranslatorUpdater {
 public:
  TRuxUpdater();
  ~TRuxUpdater() override;

  // The place of an original form's copy in a language folder (class_discovery.h); a path that would
  // leave the language folder is refused with an empty name.
  std::string GetXlatFormName(const std::string& FormFile, const std::string& LangDir,
                              const std::string& BaseDir, const vaq::TObject* FormInfo) override;
  // Reads one translated form file (".rux"/".gox") back into its notes; other files are ignored.
  void UpdateFile(const std::string& FileName) override;
  // The core's entry: the request by position (mode text sOverwrite: start afresh), see Update.
  void UpdateForms(vaq::TStringObjectList* Forms, vaq::TStats& Stats, const std::string& ProjectFile,
                   const std::string& BaseDir, const std::string& LangDir, const std::string& Mode,
                   const std::string& FileName, vaq::TLCID SourceLocale, vaq::TLCID TargetLocale,
                   vaq::TIToolServices* Tools, std::intptr_t CallbackArg,
                   vaq::TUpdateCallback Callback) override;

  // Several languages at once (language_update.h): each form is read and extracted once for all
  // the languages whose notes are not up to date.
  void UpdateLanguages(const vaq::TLanguagesRequest& Request, vaq::IUpdateProgress& Progress);

  // Project mode (empty FileName): updates the notes of every form of the request in each of its
  // languages and, with one language, hands each translated form file with its form information
  // back in Request.Forms. Single-file mode: reads the translated form FileName back. Each form and
  // language is done in one job: skipped when its notes are up to date; else its translated copy's
  // edits are read back, the form's values extracted (once for all languages of a code page) and
  // merged, and its notes file and translated copy each written once, after the form's work is
  // complete. Outputs of several forms are replaced together (TUpdateRun); a problem with one form
  // is reported once and the others go on. Notes files that are damaged are never merged. Stats
  // receives the counts of the forms written, over all languages.
  void Update(const TUpdateRequest& Request, vaq::TStats& Stats);

  // The module forms of the project's built program (inside the IDE).
  void CollectModuleForms(const std::string& ProjectFile);
  // Outside the IDE every form; inside, those whose class the built program links.
  bool IsModuleForm(const std::string& FileName);
  // The form list from the project's units (`Tools`) and the library forms; false on an error. A
  // unit without a form file is no form (one whose resource directive names a missing form file
  // is worth a warning); inside the IDE the forms the program does not link are named in a warning.
  bool CollectProjectForms(vaq::TIToolServices* Tools, vaq::TStringObjectList& Forms);

 private:
  void UpdateProject(TUpdateRun& Run);
  void UpdateSingleFile(TUpdateRun& Run);
  // The steps of the jobs of one form, in order; the form is read once for all of them.
  void UpdateForm(TUpdateRun& Run, std::vector<TFormJob>& Jobs);
  bool UpToDate(const TUpdateRun& Run, TFormJob& Job) const;
  void UpdateJob(TUpdateRun& Run, TFormJob& Job, TExtractedLines Lines, const std::string& Original);
  // The notes the merge builds on (none yet: empty), checked whole (EDamagedNotes), with the
  // edits of a translated copy the translator changed read back into them.
  std::vector<std::string> OldNotes(const TUpdateRun& Run, TFormJob& Job);
  std::vector<std::string> ReadBackEdits(TFormJob& Job, std::vector<std::string> Old);
  void MergeAndSave(const TUpdateRun& Run, TFormJob& Job, TExtractedLines& Lines,
                    std::vector<std::string> OldNotes);
  // The job's files join the run's batch, which is replaced when it has grown enough; a job that
  // had a problem reported is failed at once (its files, an error file say, are written all the same).
  void Finish(TUpdateRun& Run, TFormJob& Job, bool Failed);
  void Failed(const TUpdateRun& Run, std::size_t Language, const std::string& FormFile) const;
  // Replaces the files of the run's batch and reports each pending form written or failed; when
  // the batch fails, each form's files are tried on their own, so that every form that cannot be
  // written has its own message and the others are written.
  void CommitFiles(TUpdateRun& Run);

  std::vector<std::string> moduleForms_;  // sorted class names of the built program's forms
  bool moduleRead_ = false;               // the built program's forms were read ...
  std::string program_;                   // ... from this file
  TNotesMerge merge_;
  std::string libraryDir_;
  const TErrorWatch* errors_ = nullptr;  // the errors shown during the current update
};

// The module's updater, created on first use.
TRuxUpdater& Updater();
// Releases the updater (module shut-down).
void FreeUpdater();

// The project-creation callbacks: the translated names of the form files with their form
// information, then the Pascal or C++ resource-module project; shows "%s created.".
void PascalProjectCreate(vaq::TStringObjectList& FormFiles, const vaq::TProj& Project, vaq::TLang& Lang);
void CppProjectCreate(vaq::TStringObjectList& FormFiles, const vaq::TProj& Project, vaq::TLang& Lang);

}  // namespace rux
