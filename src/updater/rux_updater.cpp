// The updater driver.
#include "updater/rux_updater.h"

#include <algorithm>
#include <exception>
#include <filesystem>

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
#include "notes/rux_mgr.h"
#include "updater/class_discovery.h"
#include "updater/updater_messages.h"

namespace rux {
namespace {

// The run's batch is replaced once it holds this many files or bytes: often enough that a kill
// costs little work (a form whose files were not replaced is done again by the next update), seldom
// enough that one round of disk waits serves many files.
constexpr std::size_t kGroupFiles = 96;
constexpr std::size_t kGroupBytes = std::size_t{16} << 20;

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

// Tells which components of a form the merge found renamed (their translations kept); the form is
// named by its place below the base folder.
void ReportRenames(const std::string& Form, const std::string& BaseDir,
                   const std::vector<TComponentRename>& Renames) {
  std::string shown =
      BaseDir.empty() ? Form : std::filesystem::path(Form).lexically_relative(BaseDir).string();
  if (shown.empty() || shown.starts_with("..")) shown = Form;
  for (const TComponentRename& rename : Renames) {
    const TResString& text = rename.Translations == 1 ? SComponentRenamedOne : SComponentRenamed;
    vaq::ShowMessage(
        vaq::Format(text.Text, {shown, rename.OldName(), rename.NewName(), rename.Translations}));
  }
}

// Loads a form file; one that cannot be read or is in no form notation is reported.
bool ReadFormFile(const std::string& File, vaq::TMemoryStream& Form) {
  try {
    Form.LoadFromFile(File);
  } catch (const std::exception&) {
    vaq::ShowError(vaq::Format(vaq::sNotAForm, {File}));
    return false;
  }
  if (vaq::TestStreamFormat(Form) == vaq::TStreamOriginalFormat::sofUnknown) {
    vaq::ShowError(vaq::Format(vaq::sNotAForm, {File}));
    return false;
  }
  return true;
}

// Replaces the files the run has collected; a file that cannot be written is reported by name.
void CommitFiles(TUpdateRun& Run) {
  try {
    Run.Files.Commit();
  } catch (const std::exception& error) {
    vaq::ShowError(error.what());
  }
}

// A new translated copy starts as a copy of the original (with its ".dti" companion, if there is
// one); the translated form the notes make replaces it in the batch when it can be made.
void AddNewCopy(TFormJob& Job, std::string Original) {
  const std::string& xlat = Job.Merge.XlatFormFile;
  Job.Files.Add(xlat, std::move(Original), vaq::VaqNow());
  const std::string companion = vaq::ChangeFileExt(Job.FormFile, ".dti");
  if (vaq::FileExists(companion))
    Job.Files.Add(vaq::ChangeFileExt(xlat, ".dti"), vaq::ReadFileBytes(companion));
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
  TUpdateRequest request;
  request.FileName = FileName;
  vaq::TStats stats;
  Update(request, stats);
}

void TRuxUpdater::UpdateForms(vaq::TStringObjectList* Forms, vaq::TStats& Stats,
                              const std::string& ProjectFile, const std::string& BaseDir,
                              const std::string& LangDir, const std::string& Mode,
                              const std::string& FileName, vaq::TLCID Source, vaq::TLCID Target,
                              vaq::TIToolServices* Tools, std::intptr_t CallbackArg,
                              vaq::TUpdateCallback Callback) {
  const TUpdateRequest request{.Forms = Forms,
                               .ProjectFile = ProjectFile,
                               .BaseDir = BaseDir,
                               .LangDir = LangDir,
                               .Overwrite = vaq::AnsiSameText(Mode, vaq::sOverwrite),
                               .FileName = FileName,
                               .SourceLocale = Source,
                               .TargetLocale = Target,
                               .Tools = Tools,
                               .Callback = std::move(Callback),
                               .CallbackArg = CallbackArg};
  Update(request, Stats);
}

void TRuxUpdater::Update(const TUpdateRequest& Request, vaq::TStats& Stats) {
  TUpdateRun run{.Request = Request,
                 .Stats = Stats,
                 .BothLocales = Request.SourceLocale != 0 && Request.TargetLocale != 0,
                 .SourceLocale = Request.SourceLocale,
                 .TargetLocale = Request.TargetLocale};
  if (!run.BothLocales) {
    vaq::TFileStats stats;
    GetStats(Request.FileName, false, stats);
    if (stats.SourceLang.empty()) return;
    run.SourceLocale = vaq::StrToLCID(stats.SourceLang);
    run.TargetLocale = vaq::StrToLCID(stats.TargetLang);
  }
  // The base class's view of the last update.
  SourceLocale = run.SourceLocale;
  TargetLocale = run.TargetLocale;
  ToolServices = Request.Tools;
  try {
    if (Request.FileName.empty()) {
      UpdateProject(run);
    } else {
      UpdateSingleFile(run);
    }
  } catch (...) {
    // The forms finished before the failure keep their work.
    CommitFiles(run);
    throw;
  }
  CommitFiles(run);
}

void TRuxUpdater::UpdateProject(TUpdateRun& Run) {
  const TUpdateRequest& request = Run.Request;
  vaq::TStringObjectList forms;
  if (request.Forms != nullptr) {
    for (vaq::TStringObject& entry : *request.Forms) forms.push_back({entry.Text, nullptr});
    request.Forms->clear();  // it receives the output
  }
  for (vaq::TStringObject& entry : forms) {
    auto info = std::make_unique<TFormInfo>();
    GetFormInfo(entry.Text, *info);
    entry.Object = std::move(info);
  }
  if (vaq::InIDE) CollectModuleForms(request.ProjectFile);
  if (forms.empty() && !CollectProjectForms(request.Tools, forms)) return;
  std::ranges::stable_sort(forms, CaseLess, &vaq::TStringObject::Text);
  // The forms each form builds on, for its notes header.
  std::vector<TProjectForm> projectForms;
  for (const vaq::TStringObject& entry : forms) {
    projectForms.push_back({GetXlatFormName(entry.Text, request.LangDir, request.BaseDir, entry.Object.get()),
                            dynamic_cast<const TFormInfo*>(entry.Object.get())});
  }
  const std::vector<std::string> formFiles = FormFileLists(projectForms);
  for (std::size_t index = 0; index < forms.size(); ++index) {
    vaq::TStringObject& entry = forms[index];
    const std::string& xlat = projectForms[index].XlatFormFile;
    if (xlat.empty()) {
      vaq::ShowError(vaq::Format(SOutsideLanguageFolder.Text, {entry.Text, request.LangDir}));
      continue;
    }
    TFormJob job;
    job.FormFile = entry.Text;
    job.Merge = TMergeForm{FileNameToNoteName(xlat),
                           xlat,
                           entry.Text,
                           true,
                           false,
                           Run.SourceLocale,
                           Run.TargetLocale,
                           projectForms[index].Info,
                           formFiles[index]};
    // The caller's list takes the form information over; it stays alive while the form is done.
    if (request.Forms != nullptr) request.Forms->push_back({xlat, std::move(entry.Object)});
    UpdateForm(Run, job);
  }
}

void TRuxUpdater::UpdateSingleFile(TUpdateRun& Run) {
  const std::string& file = Run.Request.FileName;
  if (!vaq::FileExists(file)) throw vaq::EFileError(vaq::Format(vaq::sFileNotFound, {file}));
  TFormJob job;
  job.FormFile = file;
  job.Merge = TMergeForm{FileNameToNoteName(file),
                         file,
                         std::string(),
                         false,
                         false,
                         Run.SourceLocale,
                         Run.TargetLocale,
                         nullptr,
                         {}};
  // A read-back keeps the form-file list the notes header holds.
  GetStats(file, false, job.Recorded);
  UpdateForm(Run, job);
}

void TRuxUpdater::UpdateForm(TUpdateRun& Run, TFormJob& Job) {
  const TUpdateRequest& request = Run.Request;
  // A form listed twice is done again on the files its first job wrote.
  if (Run.Files.Find(Job.Merge.NotesFile) != nullptr) CommitFiles(Run);
  if (UpToDate(Run, Job)) return;
  if (request.Callback) request.Callback(Job.FormFile, request.CallbackArg);
  const auto failed = [&] {
    if (Job.Merge.ProjectMode && request.Forms != nullptr && !request.Forms->empty())
      request.Forms->pop_back();
  };
  // The form is read before anything else: a form that cannot be read or is no form (an empty
  // file, say) leaves its notes and its translated copy as they are.
  if (!ReadForm(Job)) return failed();
  std::optional<std::vector<std::string>> old = OldNotes(Run, Job);
  std::string original = Job.NewCopy ? Job.Form.Data() : std::string();
  TExtractedLines lines;
  if (!ExtractFormLines(Job.Form, Job.FormFile, lines,
                        Job.Merge.ProjectMode ? Job.Merge.SourceLocale : Job.Merge.TargetLocale)) {
    return failed();
  }
  if (Job.NewCopy) AddNewCopy(Job, std::move(original));
  MergeAndSave(Run, Job, lines, std::move(old));
  if (Run.BothLocales) ++ProcessedForms;
  Finish(Run, Job);
}

bool TRuxUpdater::UpToDate(const TUpdateRun& Run, TFormJob& Job) const {
  if (!Job.Merge.ProjectMode || Run.Request.Overwrite) return false;
  GetStats(Job.Merge.XlatFormFile, false, Job.Recorded);
  // Up to date, unless the translator edited the translated copy since: its values are read back
  // before anything rewrites the copy from the notes.
  const std::string& xlat = Job.Merge.XlatFormFile;
  const bool xlatEdited = vaq::FileExists(xlat) && !SameDate(Job.Recorded.FormDate, xlat);
  return SameDate(Job.Recorded.OrigFormDate, Job.FormFile) && !xlatEdited;
}

bool TRuxUpdater::ReadForm(TFormJob& Job) const {
  return ReadFormFile(Job.FormFile, Job.Form);
}

std::optional<std::vector<std::string>> TRuxUpdater::OldNotes(const TUpdateRun& Run, TFormJob& Job) {
  const std::string& xlat = Job.Merge.XlatFormFile;
  // Starting afresh: no old notes, and a new translated copy.
  if (Run.Request.Overwrite) {
    Job.NewCopy = Job.Merge.ProjectMode;
    return std::vector<std::string>();
  }
  if (!Job.Merge.ProjectMode) return std::nullopt;
  if (!vaq::FileExists(xlat)) {
    Job.NewCopy = true;
    return std::nullopt;
  }
  // The translator changed the translated copy: its values are read back first.
  if (!SameDate(Job.Recorded.FormDate, xlat)) return ReadBackEdits(Job);
  return std::nullopt;
}

std::optional<std::vector<std::string>> TRuxUpdater::ReadBackEdits(TFormJob& Job) {
  TMergeForm readBack = Job.Merge;
  readBack.ProjectMode = false;
  readBack.Nested = true;  // a failure leaves the notes as they are, unreported
  readBack.OrigFormFile.clear();
  vaq::TMemoryStream form;
  TExtractedLines lines;
  if (!ReadFormFile(readBack.XlatFormFile, form) ||
      !ExtractFormLines(form, readBack.XlatFormFile, lines, readBack.TargetLocale)) {
    return std::nullopt;
  }
  vaq::TStats own;
  try {
    std::vector<std::string> notes = merge_.Merge(readBack, lines, own);
    // In the order a save of them would leave in the notes file.
    TRuxMgr::QuickSortReOrder(notes, 0, static_cast<int>(notes.size()) - 1);
    return notes;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

void TRuxUpdater::MergeAndSave(TUpdateRun& Run, TFormJob& Job, TExtractedLines& Lines,
                               std::optional<std::vector<std::string>> OldNotes) {
  std::vector<std::string> notes;
  std::vector<TComponentRename> renames;
  try {
    notes = merge_.Merge(Job.Merge, Lines, Run.Stats, std::move(OldNotes), &renames);
  } catch (const std::exception& error) {
    vaq::ShowError(vaq::Format(SProblemProcessingNotes.Text, {Job.Merge.NotesFile}) + "\n" + error.what());
    return;  // the notes stay as they were; a new translated copy is kept
  }
  const std::string& formFiles = Job.Merge.ProjectMode ? Job.Merge.FormFiles : Job.Recorded.FormFiles;
  std::string copy;
  if (const vaq::TAtomicWriteBatch::TEntry* entry = Job.Files.Find(Job.Merge.XlatFormFile))
    copy = entry->Data;
  try {
    AddMergedNotes(Job.Merge, std::move(notes), formFiles, Job.Files);
  } catch (const std::exception& error) {
    vaq::ShowError(error.what());
    Job.Files.Clear();
    if (Job.NewCopy) AddNewCopy(Job, std::move(copy));
    return;
  }
  ReportRenames(Job.FormFile, Run.Request.BaseDir, renames);
}

void TRuxUpdater::Finish(TUpdateRun& Run, TFormJob& Job) {
  Run.Files.Append(Job.Files);
  if (Run.Files.Count() >= kGroupFiles || Run.Files.Bytes() >= kGroupBytes) CommitFiles(Run);
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

bool TRuxUpdater::CollectProjectForms(vaq::TIToolServices* Tools, vaq::TStringObjectList& Forms) {
  try {
    if (Tools != nullptr) {
      Forms.clear();
      for (int i = 0; i < Tools->GetUnitCount(); ++i) {
        const std::string unit = Tools->GetUnitName(i);
        std::string form = vaq::ChangeFileExt(unit, ".rux");
        if (!vaq::FileExists(form)) form = vaq::ChangeFileExt(unit, ".gox");
        if (!vaq::FileExists(form)) form = unit;
        if (!vaq::FileExists(form) || !IsModuleForm(form)) continue;
        auto info = std::make_unique<TFormInfo>();
        GetFormInfo(form, *info);
        Forms.push_back({form, std::move(info)});
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
      Forms.push_back({vaq::IncludeTrailingPathDelimiter(libraryDir_) + std::string(row->Unit) + ".rux",
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
