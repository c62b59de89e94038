// The updater driver.
#include "updater/rux_updater.h"

#include <algorithm>
#include <exception>

#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/exe_image.h"
#include "host/core/files.h"
#include "host/core/flags.h"
#include "host/core/locale.h"
#include "host/core/resource_strings.h"
#include "host/core/text.h"
#include "host/framework/ide.h"
#include "notes/file_names.h"
#include "notes/file_services.h"
#include "updater/class_discovery.h"
#include "updater/updater_messages.h"

namespace rux {
namespace {

// Set while an update runs inside another one.
bool Nested = false;

std::unique_ptr<TRuxUpdater>& Instance() {
  static std::unique_ptr<TRuxUpdater> instance;
  return instance;
}

bool SameDate(vaq::TDateTime recorded, const std::string& file) {
  return vaq::VaqFloatToStr(recorded) == vaq::VaqFloatToStr(vaq::DateOfFile(file));
}

bool CaseLess(std::string_view a, std::string_view b) {
  return vaq::AnsiCompareText(a, b) < 0;
}

void CollectRcData(const vaq::TResourceList& list, std::vector<std::string>& names) {
  for (const vaq::TResourceItem& item : list) {
    if (item.IsDirectory) {
      CollectRcData(item.List, names);
    } else if (item.ResType == 10) {
      names.push_back(item.Name);
    }
  }
}

void CopyWithCompanion(const std::string& from, const std::string& to) {
  vaq::CopyFile(from, to);
  const std::string companion = vaq::ChangeFileExt(from, ".dti");
  if (vaq::FileExists(companion)) vaq::CopyFile(companion, vaq::ChangeFileExt(to, ".dti"));
}

}  // namespace

TRuxUpdater::TRuxUpdater() = default;
TRuxUpdater::~TRuxUpdater() = default;

std::string TRuxUpdater::GetXlatFormName(const std::string& FormFile, const std::string& LangDir,
                                         const std::string& BaseDir, const vaq::TObject* FormInfo) {
  return XlatFormName(FormFile, LangDir, BaseDir, dynamic_cast<const TFormInfo*>(FormInfo));
}

void TRuxUpdater::UpdateFile(const std::string& FileName) {
  const std::string ext = vaq::ExtractFileExt(FileName);
  if (!vaq::AnsiSameText(ext, ".rux") && !vaq::AnsiSameText(ext, ".gox")) return;
  vaq::TStats stats;
  UpdateForms(nullptr, stats, {}, {}, {}, vaq::sUpdate, FileName, 0, 0, nullptr, 0, {});
}

void TRuxUpdater::UpdateForms(vaq::TStringObjectList* Forms, vaq::TStats& Stats,
                              const std::string& ProjectFile, const std::string& BaseDir,
                              const std::string& LangDir, const std::string& Mode,
                              const std::string& FileName, vaq::TLCID Source, vaq::TLCID Target,
                              vaq::TIToolServices* Tools, std::intptr_t CallbackArg,
                              vaq::TUpdateCallback Callback) {
  const bool bothLocales = Source != 0 && Target != 0;
  if (!bothLocales) {
    vaq::TFileStats stats;
    GetStats(FileName, false, stats);
    if (stats.SourceLang.empty()) return;
    Source = vaq::StrToLCID(stats.SourceLang);
    Target = vaq::StrToLCID(stats.TargetLang);
  }
  SourceLocale = Source;
  TargetLocale = Target;
  ToolServices = Tools;
  projectMode_ = FileName.empty();
  if (projectMode_) {
    FormList.clear();
    if (Forms != nullptr) {
      for (vaq::TStringObject& entry : *Forms) FormList.push_back({entry.Text, nullptr});
      Forms->clear();
    }
    UpdateProject(Forms, Stats, ProjectFile, BaseDir, LangDir, Mode, CallbackArg, Callback, bothLocales);
    return;
  }
  XlatFormFile = FileName;
  NotesFile = FileNameToNoteName(FileName);
  if (!vaq::FileExists(FileName)) throw vaq::EFileError(vaq::Format(vaq::sFileNotFound, {FileName}));
  ProcessForm(FileName, nullptr, Stats, ProjectFile, BaseDir, LangDir, Mode, CallbackArg, Callback,
              bothLocales);
}

void TRuxUpdater::UpdateProject(vaq::TStringObjectList* Output, vaq::TStats& Stats,
                                const std::string& ProjectFile, const std::string& BaseDir,
                                const std::string& LangDir, const std::string& Mode,
                                std::intptr_t CallbackArg, const vaq::TUpdateCallback& Callback,
                                bool BothLocales) {
  for (vaq::TStringObject& entry : FormList) {
    auto info = std::make_unique<TFormInfo>();
    GetFormInfo(entry.Text, *info);
    entry.Object = std::move(info);
  }
  if (vaq::InIDE) CollectModuleForms(ProjectFile);
  if (FormList.empty() && !CollectProjectForms()) return;
  std::ranges::stable_sort(FormList, CaseLess, &vaq::TStringObject::Text);
  // The forms each form builds on, for its notes header.
  std::vector<TProjectForm> projectForms;
  for (const vaq::TStringObject& entry : FormList) {
    projectForms.push_back({GetXlatFormName(entry.Text, LangDir, BaseDir, entry.Object.get()),
                            dynamic_cast<const TFormInfo*>(entry.Object.get())});
  }
  const std::vector<std::string> formFiles = FormFileLists(projectForms);
  for (std::size_t index = 0; index < FormList.size(); ++index) {
    vaq::TStringObject& entry = FormList[index];
    formFiles_ = formFiles[index];
    OrigFormFile = entry.Text;
    formInfo_ = dynamic_cast<const TFormInfo*>(entry.Object.get());
    XlatFormFile = GetXlatFormName(OrigFormFile, LangDir, BaseDir, entry.Object.get());
    if (XlatFormFile.empty()) {
      vaq::ShowError(vaq::Format(SOutsideLanguageFolder.Text, {OrigFormFile, LangDir}));
      continue;
    }
    NotesFile = FileNameToNoteName(XlatFormFile);
    // The caller's list takes the form information over; it stays alive while the form is processed.
    if (Output != nullptr) Output->push_back({XlatFormFile, std::move(entry.Object)});
    ProcessForm(OrigFormFile, Output, Stats, ProjectFile, BaseDir, LangDir, Mode, CallbackArg, Callback,
                BothLocales);
  }
  formInfo_ = nullptr;
  formFiles_.clear();
}

void TRuxUpdater::ProcessForm(const std::string& FormFile, vaq::TStringObjectList* Output, vaq::TStats& Stats,
                              const std::string& ProjectFile, const std::string& BaseDir,
                              const std::string& LangDir, const std::string& Mode, std::intptr_t CallbackArg,
                              const vaq::TUpdateCallback& Callback, bool BothLocales) {
  const bool projectMode = projectMode_;
  const bool overwrite = vaq::AnsiSameText(Mode, vaq::sOverwrite);
  vaq::TFileStats stats;
  if (projectMode && !overwrite) {
    GetStats(XlatFormFile, false, stats);
    // Up to date, unless the translator edited the translated copy since: its values are read back
    // now, before anything rewrites the copy from the notes.
    const bool xlatEdited = vaq::FileExists(XlatFormFile) && !SameDate(stats.FormDate, XlatFormFile);
    if (SameDate(stats.OrigFormDate, FormFile) && !xlatEdited) return;
  }
  if (Callback) Callback(FormFile, CallbackArg);
  // The form is read before anything is touched: a form that cannot be read or is no form (an
  // empty file, say) leaves its notes and its translated copy as they are.
  vaq::TMemoryStream form;
  try {
    form.LoadFromFile(FormFile);
  } catch (const std::exception&) {
    vaq::ShowError(vaq::Format(vaq::sNotAForm, {FormFile}));
    if (Output != nullptr && !Output->empty()) Output->pop_back();
    return;
  }
  if (vaq::TestStreamFormat(form) == vaq::TStreamOriginalFormat::sofUnknown) {
    vaq::ShowError(vaq::Format(vaq::sNotAForm, {FormFile}));
    if (Output != nullptr && !Output->empty()) Output->pop_back();
    return;
  }
  if (overwrite) {
    vaq::DeleteFile(XlatFormFile);
    vaq::DeleteFile(NotesFile);
  }
  bool created = false;
  if (!vaq::FileExists(XlatFormFile)) {
    CopyWithCompanion(FormFile, XlatFormFile);
    created = true;
  } else if (projectMode && !overwrite && !SameDate(stats.FormDate, XlatFormFile)) {
    // The translator changed the translated form: its values are read back first.
    const std::string xlat = XlatFormFile, notes = NotesFile;
    Nested = true;
    try {
      vaq::TStats own;
      UpdateForms(nullptr, own, ProjectFile, BaseDir, LangDir, vaq::sUpdate, xlat, SourceLocale, TargetLocale,
                  ToolServices, 0, {});
    } catch (...) {
      Nested = false;
      throw;
    }
    Nested = false;
    XlatFormFile = xlat;
    NotesFile = notes;
  }
  projectMode_ = projectMode;
  if (ExtractFormLines(form, FormFile, extracted_, projectMode ? SourceLocale : TargetLocale)) {
    MergeNotes(Stats);
    if (!Nested && BothLocales) ++ProcessedForms;
    return;
  }
  if (created) {
    vaq::DeleteFile(XlatFormFile);
    vaq::DeleteFile(vaq::ChangeFileExt(XlatFormFile, ".dti"));
  }
  if (Output != nullptr && !Output->empty()) Output->pop_back();
}

bool TRuxUpdater::MergeNotes(vaq::TStats& Stats) {
  const TMergeForm form{NotesFile,    XlatFormFile, OrigFormFile, projectMode_, Nested,
                        SourceLocale, TargetLocale, formInfo_,    formFiles_};
  return merge_.MergeNotes(form, extracted_, Stats);
}

void TRuxUpdater::CollectModuleForms(const std::string& ProjectFile) {
  moduleForms_.clear();
  const std::string program = vaq::FindExeNameProc ? vaq::FindExeNameProc(ProjectFile) : std::string();
  if (program.empty()) {
    vaq::ShowError(vaq::Format(vaq::sCannotFindPgmName, {ProjectFile}));
    return;
  }
  if (!vaq::FileExists(program)) {
    vaq::ShowError(vaq::Format(vaq::sPgmNotFound, {program}));
    return;
  }
  libraryDir_ = vaq::LibDir;
  try {
    const vaq::TExeImage image(program);
    CollectRcData(image.GetResourceList(), moduleForms_);
  } catch (const vaq::EVaqError& error) {
    vaq::ShowError(error.what());  // a damaged program: no form of it is accepted
  }
  std::ranges::sort(moduleForms_, CaseLess);
}

bool TRuxUpdater::IsModuleForm(const std::string& FileName) {
  if (!vaq::InIDE) return true;
  const std::string formClass = FormClassOf(FileName);
  if (formClass.empty()) {
    vaq::ShowError(vaq::Format(vaq::sNotAForm, {FileName}));
    return false;
  }
  return std::ranges::binary_search(moduleForms_, formClass, CaseLess);
}

bool TRuxUpdater::CollectProjectForms() {
  try {
    if (ToolServices != nullptr) {
      FormList.clear();
      for (int i = 0; i < ToolServices->GetUnitCount(); ++i) {
        const std::string unit = ToolServices->GetUnitName(i);
        std::string form = vaq::ChangeFileExt(unit, ".rux");
        if (!vaq::FileExists(form)) form = vaq::ChangeFileExt(unit, ".gox");
        if (!vaq::FileExists(form)) form = unit;
        if (!vaq::FileExists(form) || !IsModuleForm(form)) continue;
        auto info = std::make_unique<TFormInfo>();
        GetFormInfo(form, *info);
        FormList.push_back({form, std::move(info)});
      }
    }
    // The library's dialogs, when its folder is known.
    for (const std::string& name : libraryDir_.empty() ? std::vector<std::string>() : moduleForms_) {
      if (name.empty() || (name[0] != 'T' && name[0] != 't')) continue;
      const auto& table = LibraryForms();
      const auto row = std::ranges::find_if(
          table, [&](const TLibraryForm& form) { return vaq::AnsiSameText(form.FormName, name.substr(1)); });
      if (row == table.end()) continue;
      auto info = std::make_unique<TFormInfo>();
      info->IsLibraryForm = true;
      info->FormClass = name;
      info->FormName = row->FormName;
      info->Ancestor = row->Ancestor;
      info->RootClass = "TForm";
      FormList.push_back({vaq::IncludeTrailingPathDelimiter(libraryDir_) + std::string(row->Unit) + ".rux",
                          std::move(info)});
    }
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

TRuxUpdater& Updater() {
  std::unique_ptr<TRuxUpdater>& instance = Instance();
  if (!instance) instance = std::make_unique<TRuxUpdater>();
  return *instance;
}

void FreeUpdater() {
  Instance().reset();
}

bool UpdateNested() {
  return Nested;
}

namespace {

// Translated names and form information for the forms of a new resource-module project.
void PrepareProject(vaq::TStringObjectList& FormFiles, const vaq::TProj& Project, vaq::TLang& Lang,
                    bool Pascal) {
  Lang.Dir = vaq::IncludeTrailingPathDelimiter(Lang.Dir);
  for (vaq::TStringObject& entry : FormFiles) {
    auto info = std::make_unique<TFormInfo>();
    GetFormInfo(entry.Text, *info);
    entry.Object = std::move(info);
    entry.Text = vaq::GetXlatFileName(entry.Text, Lang.Dir, Project.Dir);
  }
  const std::string created = Pascal ? vaq::CreatePascalDLL(Project, Lang, FormFiles, false, false)
                                     : vaq::CreateCPPDLL(Project, Lang, FormFiles, false);
  vaq::ShowMessage(vaq::Format(SProjectCreated.Text, {created}));
}

}  // namespace

void PascalProjectCreate(vaq::TStringObjectList& FormFiles, const vaq::TProj& Project, vaq::TLang& Lang) {
  vaq::GlobalInPelgo = true;
  PrepareProject(FormFiles, Project, Lang, true);
}

void CppProjectCreate(vaq::TStringObjectList& FormFiles, const vaq::TProj& Project, vaq::TLang& Lang) {
  vaq::GlobalInPelgo = false;
  try {
    PrepareProject(FormFiles, Project, Lang, false);
  } catch (...) {
    vaq::GlobalInPelgo = true;
    throw;
  }
  vaq::GlobalInPelgo = true;
}

}  // namespace rux
