// The form-file updater the translation core drives. For one target language it walks the forms of
// a project (or takes one translated form file), makes sure each form has a translated copy in the
// language folder, reads back a translated copy the translator edited since its notes were written,
// extracts the form's values and merges them into the form's notes file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/core/projects.h"
#include "host/core/translator_updater.h"
#include "notes/form_info.h"
#include "updater/form_reader.h"
#include "updater/merge_notes.h"

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
  // Project mode (empty `FileName`): updates the notes of every form of `Forms` (or of the project's
  // units when it is empty or absent) and hands each translated form file with its form
  // information back in `Forms`. Single-file mode: reads the translated form `FileName` back. With
  // locale 0 the languages come from the notes header of `FileName`.
  void UpdateForms(vaq::TStringObjectList* Forms, vaq::TStats& Stats, const std::string& ProjectFile,
                   const std::string& BaseDir, const std::string& LangDir, const std::string& Mode,
                   const std::string& FileName, vaq::TLCID SourceLocale, vaq::TLCID TargetLocale,
                   vaq::TIToolServices* Tools, std::intptr_t CallbackArg,
                   vaq::TUpdateCallback Callback) override;

  // Brings the notes of the current form up to date with its extracted lines (TNotesMerge).
  bool MergeNotes(vaq::TStats& Stats);

  // The module forms of the project's built program (inside the IDE).
  void CollectModuleForms(const std::string& ProjectFile);
  // Outside the IDE every form; inside, those whose class the built program links.
  bool IsModuleForm(const std::string& FileName);
  // The form list from the project's units and the library forms; false on an error.
  bool CollectProjectForms();

 private:
  void UpdateProject(vaq::TStringObjectList* Output, vaq::TStats& Stats, const std::string& ProjectFile,
                     const std::string& BaseDir, const std::string& LangDir, const std::string& Mode,
                     std::intptr_t CallbackArg, const vaq::TUpdateCallback& Callback, bool BothLocales);
  void ProcessForm(const std::string& FormFile, vaq::TStringObjectList* Output, vaq::TStats& Stats,
                   const std::string& ProjectFile, const std::string& BaseDir, const std::string& LangDir,
                   const std::string& Mode, std::intptr_t CallbackArg, const vaq::TUpdateCallback& Callback,
                   bool BothLocales);

  std::vector<std::string> moduleForms_;  // sorted class names of the built program's forms
  const TFormInfo* formInfo_ = nullptr;   // the current form's information, borrowed
  std::string formFiles_;                 // the current form's form-file list (FormFileLists)
  TExtractedLines extracted_;
  TNotesMerge merge_;
  bool projectMode_ = true;
  std::string libraryDir_;
};

// The module's updater, created on first use.
TRuxUpdater& Updater();
// Releases the updater (module shut-down).
void FreeUpdater();

// Set while an update runs inside another one (an edited translated form read back first).
bool UpdateNested();

// The project-creation callbacks: the translated names of the form files with their form
// information, then the Pascal or C++ resource-module project; shows "%s created.".
void PascalProjectCreate(vaq::TStringObjectList& FormFiles, const vaq::TProj& Project, vaq::TLang& Lang);
void CppProjectCreate(vaq::TStringObjectList& FormFiles, const vaq::TProj& Project, vaq::TLang& Lang);

}  // namespace rux
