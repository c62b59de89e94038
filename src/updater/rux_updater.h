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

#include "host/core/projects.h"
#include "host/core/translator_updater.h"
#include "notes/form_info.h"
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

  // Project mode (empty FileName): updates the notes of every form of the request and hands each
  // translated form file with its form information back in Request.Forms. Single-file mode: reads
  // the translated form FileName back. Each form is done in one job: skipped when its notes are up
  // to date; else its translated copy's edits are read back, its values extracted and merged, and
  // its notes file and translated copy each written once, after the form's work is complete.
  // Outputs of several forms are replaced together (TUpdateRun); a problem with one form is
  // reported and the others go on.
  void Update(const TUpdateRequest& Request, vaq::TStats& Stats);

  // The module forms of the project's built program (inside the IDE).
  void CollectModuleForms(const std::string& ProjectFile);
  // Outside the IDE every form; inside, those whose class the built program links.
  bool IsModuleForm(const std::string& FileName);
  // The form list from the project's units (`Tools`) and the library forms; false on an error.
  bool CollectProjectForms(vaq::TIToolServices* Tools, vaq::TStringObjectList& Forms);

 private:
  void UpdateProject(TUpdateRun& Run);
  void UpdateSingleFile(TUpdateRun& Run);
  // The steps of one job, in order.
  void UpdateForm(TUpdateRun& Run, TFormJob& Job);
  bool UpToDate(const TUpdateRun& Run, TFormJob& Job) const;
  bool ReadForm(TFormJob& Job) const;
  std::optional<std::vector<std::string>> OldNotes(const TUpdateRun& Run, TFormJob& Job);
  std::optional<std::vector<std::string>> ReadBackEdits(TFormJob& Job);
  void MergeAndSave(TUpdateRun& Run, TFormJob& Job, TExtractedLines& Lines,
                    std::optional<std::vector<std::string>> OldNotes);
  // The job's files join the run's batch, which is replaced when it has grown enough.
  void Finish(TUpdateRun& Run, TFormJob& Job);

  std::vector<std::string> moduleForms_;  // sorted class names of the built program's forms
  TNotesMerge merge_;
  std::string libraryDir_;
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
