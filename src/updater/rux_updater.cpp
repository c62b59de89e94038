// The updater driver.
#include "updater/rux_updater.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <utility>

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
#include "notes/whole_notes.h"
#include "updater/class_discovery.h"
#include "updater/updater_messages.h"

namespace rux {
namespace {

// The run's batch is replaced once it holds this many files or bytes for each language: often
// enough that a kill costs little work (a form whose files were not replaced is done again by the
// next update), seldom enough that one round of disk waits serves many files in each language
// folder. The bytes of several languages are bounded all the same.
constexpr std::size_t kGroupFiles = 96;
constexpr std::size_t kGroupBytes = std::size_t{16} << 20;
constexpr std::size_t kMostGroupBytes = std::size_t{64} << 20;

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
// named by its place below the base folder, after its language when an update does several.
void ReportRenames(const std::string& Form, const std::string& BaseDir, const std::string& Language,
                   const std::vector<TComponentRename>& Renames) {
  std::string shown =
      BaseDir.empty() ? Form : std::filesystem::path(Form).lexically_relative(BaseDir).string();
  if (shown.empty() || shown.starts_with("..")) shown = Form;
  if (!Language.empty()) shown = Language + ": " + shown;
  for (const TComponentRename& rename : Renames) {
    const TResString& text = rename.Translations == 1 ? SComponentRenamedOne : SComponentRenamed;
    vaq::ShowMessage(
        vaq::Format(text.Text, {shown, rename.OldName(), rename.NewName(), rename.Translations}));
  }
}

// Loads a form file; one that cannot be read or is in no form notation is reported.
bool ReadFormFile(const std::string& File, std::string& Bytes) {
  try {
    Bytes = vaq::ReadFileBytes(File);
  } catch (const std::exception& error) {
    vaq::ShowError(error.what());
    return false;
  }
  if (vaq::TestFormFormat(Bytes) == vaq::TStreamOriginalFormat::sofUnknown) {
    vaq::ShowError(vaq::Format(vaq::sNotAForm, {File}));
    return false;
  }
  return true;
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

// The locale a job's form is read under: the forms' language, or for a translated copy read back
// the target language.
vaq::TLCID ReadingLocale(const TFormJob& Job) {
  return Job.Merge.ProjectMode ? Job.Merge.SourceLocale : Job.Merge.TargetLocale;
}

void AddCounts(vaq::TStats& Sum, const vaq::TStats& Counts) {
  Sum.New += Counts.New;
  Sum.Changed += Counts.Changed;
  Sum.Unchanged += Counts.Unchanged;
  Sum.Unused += Counts.Unused;
  Sum.Renamed += Counts.Renamed;
}

// At most this many forms are named in a message that lists forms.
constexpr std::size_t kFormsNamed = 10;

std::string NamedForms(const std::vector<std::string>& Forms) {
  std::string list;
  for (std::size_t i = 0; i < Forms.size() && i < kFormsNamed; ++i) list += (i == 0 ? "" : ", ") + Forms[i];
  if (Forms.size() > kFormsNamed)
    list += vaq::Format(" and %s more", {static_cast<std::int64_t>(Forms.size() - kFormsNamed)});
  return list;
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
  request.Languages.push_back({});
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
                               .Languages = {{Source, Target, LangDir}},
                               .Overwrite = vaq::AnsiSameText(Mode, vaq::sOverwrite),
                               .FileName = FileName,
                               .Tools = Tools,
                               .Callback = std::move(Callback),
                               .CallbackArg = CallbackArg,
                               .Progress = nullptr};
  Update(request, Stats);
}

void TRuxUpdater::UpdateLanguages(const vaq::TLanguagesRequest& Request, vaq::IUpdateProgress& Progress) {
  TUpdateRequest request;
  request.ProjectFile = Request.ProjectFile;
  request.BaseDir = Request.BaseDir;
  request.Languages = Request.Languages;
  request.Overwrite = Request.Overwrite;
  request.Tools = Request.Tools;
  request.Progress = &Progress;
  vaq::TStats stats;
  Update(request, stats);
}

void TRuxUpdater::Update(const TUpdateRequest& Request, vaq::TStats& Stats) {
  if (Request.Languages.empty()) return;
  // Which forms had a problem reported, whatever step reported it. An update started while another
  // runs (a stale refresh) watches its own and gives the outer one its watch back.
  const TErrorWatch watch;
  struct Watching {
    Watching(TRuxUpdater& Owner, const TErrorWatch& Watch) : Owner_(Owner), Previous_(Owner.errors_) {
      Owner_.errors_ = &Watch;
    }
    ~Watching() { Owner_.errors_ = Previous_; }
    TRuxUpdater& Owner_;
    const TErrorWatch* Previous_;
  } watching(*this, watch);

  TUpdateRun run{Request, Stats, false, Request.Languages, {}, {}};
  run.BothLocales = std::ranges::all_of(run.Languages, [](const vaq::TUpdateLanguage& l) {
    return l.SourceLocale != 0 && l.TargetLocale != 0;
  });
  if (!run.BothLocales) {
    // Only a translated form read back may take its languages from its notes.
    vaq::TFileStats stats;
    if (!Request.FileName.empty()) GetStats(Request.FileName, false, stats);
    if (stats.SourceLang.empty()) return;
    run.Languages.resize(1);
    run.Languages[0].SourceLocale = vaq::StrToLCID(stats.SourceLang);
    run.Languages[0].TargetLocale = vaq::StrToLCID(stats.TargetLang);
  }
  // The base class's view of the last update.
  SourceLocale = run.Languages[0].SourceLocale;
  TargetLocale = run.Languages[0].TargetLocale;
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
  // In each language, the translated copies and the forms each form builds on, for its notes header.
  const std::size_t languages = Run.Languages.size();
  std::vector<std::vector<TProjectForm>> projectForms(languages);
  std::vector<std::vector<std::string>> formFiles(languages);
  for (std::size_t l = 0; l < languages; ++l) {
    for (const vaq::TStringObject& entry : forms) {
      projectForms[l].push_back(
          {GetXlatFormName(entry.Text, Run.Languages[l].LangDir, request.BaseDir, entry.Object.get()),
           dynamic_cast<const TFormInfo*>(entry.Object.get())});
    }
    formFiles[l] = FormFileLists(projectForms[l]);
  }
  // The caller's list of translated forms is one language's.
  const bool output = request.Forms != nullptr && languages == 1;
  for (std::size_t index = 0; index < forms.size(); ++index) {
    vaq::TStringObject& entry = forms[index];
    if (request.Progress != nullptr) request.Progress->FormStarted(entry.Text);
    std::vector<TFormJob> jobs;
    for (std::size_t l = 0; l < languages; ++l) {
      const vaq::TUpdateLanguage& language = Run.Languages[l];
      const std::string& xlat = projectForms[l][index].XlatFormFile;
      if (xlat.empty()) {
        vaq::ShowError(vaq::Format(SOutsideLanguageFolder.Text, {entry.Text, language.LangDir}));
        Failed(Run, l, entry.Text);
        continue;
      }
      TFormJob job;
      job.Language = l;
      job.FormFile = entry.Text;
      job.Merge = TMergeForm{FileNameToNoteName(xlat),
                             xlat,
                             entry.Text,
                             true,
                             false,
                             language.SourceLocale,
                             language.TargetLocale,
                             projectForms[l][index].Info,
                             formFiles[l][index]};
      // The caller's list takes the form information over; it stays alive while the form is done.
      if (output) request.Forms->push_back({xlat, std::move(entry.Object)});
      // A form listed twice is done again on the files its first job wrote.
      if (Run.Files.Find(job.Merge.NotesFile) != nullptr) CommitFiles(Run);
      if (!UpToDate(Run, job)) jobs.push_back(std::move(job));
    }
    if (!jobs.empty()) UpdateForm(Run, jobs);
  }
}

void TRuxUpdater::UpdateSingleFile(TUpdateRun& Run) {
  const std::string& file = Run.Request.FileName;
  if (!vaq::FileExists(file)) throw vaq::EFileError(vaq::Format(vaq::sFileNotFound, {file}));
  std::vector<TFormJob> jobs(1);
  TFormJob& job = jobs.front();
  job.FormFile = file;
  job.Merge = TMergeForm{FileNameToNoteName(file),
                         file,
                         std::string(),
                         false,
                         false,
                         Run.Languages[0].SourceLocale,
                         Run.Languages[0].TargetLocale,
                         nullptr,
                         {}};
  // A read-back keeps the form-file list the notes header holds.
  GetStats(file, false, job.Recorded);
  UpdateForm(Run, jobs);
}

void TRuxUpdater::UpdateForm(TUpdateRun& Run, std::vector<TFormJob>& Jobs) {
  const TUpdateRequest& request = Run.Request;
  const std::string form = Jobs.front().FormFile;
  if (request.Callback) request.Callback(form, request.CallbackArg);
  const auto failed = [&](const TFormJob& job) {
    if (job.Merge.ProjectMode && request.Forms != nullptr && Run.Languages.size() == 1 &&
        !request.Forms->empty()) {
      request.Forms->pop_back();
    }
    Failed(Run, job.Language, job.FormFile);
  };
  // The form is read before anything else: a form that cannot be read or is no form (an empty
  // file, say) leaves its notes and its translated copies as they are.
  std::string original;
  if (!ReadFormFile(form, original)) {
    for (const TFormJob& job : Jobs) failed(job);
    return;
  }
  // The values are extracted under the language they are written in, which decides how wide
  // strings become bytes: once for each code page among the jobs' languages.
  std::vector<bool> done(Jobs.size(), false);
  for (std::size_t first = 0; first < Jobs.size(); ++first) {
    if (done[first]) continue;
    const vaq::TLCID locale = ReadingLocale(Jobs[first]);
    const unsigned codePage = vaq::LCIDToCodePage(locale);
    std::vector<std::size_t> group;
    for (std::size_t k = first; k < Jobs.size(); ++k) {
      if (done[k] || vaq::LCIDToCodePage(ReadingLocale(Jobs[k])) != codePage) continue;
      group.push_back(k);
      done[k] = true;
    }
    vaq::TMemoryStream stream(original);
    TExtractedLines lines;
    if (!ExtractFormLines(stream, form, lines, locale)) {
      for (const std::size_t k : group) failed(Jobs[k]);
      continue;
    }
    for (std::size_t n = 0; n < group.size(); ++n) {
      // The merge consumes its lines: each job but the last gets a copy.
      UpdateJob(Run, Jobs[group[n]], n + 1 == group.size() ? std::move(lines) : lines, original);
    }
  }
}

void TRuxUpdater::UpdateJob(TUpdateRun& Run, TFormJob& Job, TExtractedLines Lines,
                            const std::string& Original) {
  const int errors = errors_->Errors();
  try {
    std::vector<std::string> old = OldNotes(Run, Job);
    if (Job.NewCopy) AddNewCopy(Job, Original);
    MergeAndSave(Run, Job, Lines, std::move(old));
  } catch (const std::exception& error) {
    // A damaged notes file, or one that cannot be read: nothing of this form is written.
    Job.Files.Clear();
    vaq::ShowError(error.what());
  }
  Finish(Run, Job, errors_->Errors() != errors);
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

std::vector<std::string> TRuxUpdater::OldNotes(const TUpdateRun& Run, TFormJob& Job) {
  // Starting afresh: no old notes, and a new translated copy.
  if (Run.Request.Overwrite) {
    Job.NewCopy = Job.Merge.ProjectMode;
    return {};
  }
  // Notes are merged only when they are whole: the records after damage would be made anew.
  std::vector<std::string> old;
  if (vaq::FileExists(Job.Merge.NotesFile)) old = LoadWholeNotes(Job.Merge.NotesFile);
  if (!Job.Merge.ProjectMode) return old;
  const std::string& xlat = Job.Merge.XlatFormFile;
  if (!vaq::FileExists(xlat)) {
    Job.NewCopy = true;
    return old;
  }
  // The translator changed the translated copy: its values are read back first.
  if (!SameDate(Job.Recorded.FormDate, xlat)) return ReadBackEdits(Job, std::move(old));
  return old;
}

std::vector<std::string> TRuxUpdater::ReadBackEdits(TFormJob& Job, std::vector<std::string> Old) {
  TMergeForm readBack = Job.Merge;
  readBack.ProjectMode = false;
  readBack.Nested = true;  // a failure leaves the notes as they are, unreported
  readBack.OrigFormFile.clear();
  std::string bytes;
  if (!ReadFormFile(readBack.XlatFormFile, bytes)) return Old;
  vaq::TMemoryStream form(std::move(bytes));
  TExtractedLines lines;
  if (!ExtractFormLines(form, readBack.XlatFormFile, lines, readBack.TargetLocale)) return Old;
  vaq::TStats own;
  try {
    std::vector<std::string> notes = merge_.Merge(readBack, lines, own, Old);
    // In the order a save of them would leave in the notes file.
    TRuxMgr::QuickSortReOrder(notes, 0, static_cast<int>(notes.size()) - 1);
    return notes;
  } catch (const std::exception&) {
    return Old;
  }
}

void TRuxUpdater::MergeAndSave(const TUpdateRun& Run, TFormJob& Job, TExtractedLines& Lines,
                               std::vector<std::string> OldNotes) {
  std::vector<std::string> notes;
  std::vector<TComponentRename> renames;
  try {
    notes = merge_.Merge(Job.Merge, Lines, Job.Counts, std::move(OldNotes), &renames);
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
  const std::string language =
      Run.Languages.size() > 1 ? vaq::LCIDToStr(Run.Languages[Job.Language].TargetLocale, true) : std::string();
  ReportRenames(Job.FormFile, Run.Request.BaseDir, language, renames);
}

void TRuxUpdater::Finish(TUpdateRun& Run, TFormJob& Job, bool HadProblem) {
  if (HadProblem) {
    Failed(Run, Job.Language, Job.FormFile);
  } else {
    Run.Pending.push_back({Job.Language, Job.FormFile, Job.Counts, Job.Files.Names()});
  }
  Run.Files.Append(Job.Files);
  const std::size_t languages = Run.Languages.size();
  if (Run.Files.Count() >= kGroupFiles * languages ||
      Run.Files.Bytes() >= std::min(kGroupBytes * languages, kMostGroupBytes)) {
    CommitFiles(Run);
  }
}

void TRuxUpdater::Failed(const TUpdateRun& Run, std::size_t Language, const std::string& FormFile) const {
  if (Run.Request.Progress != nullptr) Run.Request.Progress->FormFailed(Language, FormFile);
}

void TRuxUpdater::CommitFiles(TUpdateRun& Run) {
  std::vector<TPendingForm> pending = std::exchange(Run.Pending, {});
  std::vector<bool> failed(pending.size(), false);
  try {
    Run.Files.Commit();
  } catch (const std::exception& error) {
    // Each form's files that were not replaced are tried on their own: a form that cannot be
    // written gets its own message, naming its file, and the others are written.
    bool reported = false;
    for (std::size_t i = 0; i < pending.size(); ++i) {
      vaq::TAtomicWriteBatch own;
      for (const std::string& name : pending[i].Files) {
        if (const vaq::TAtomicWriteBatch::TEntry* entry = Run.Files.Find(name))
          own.Add(entry->Name, entry->Data, entry->Date);
      }
      if (own.Empty()) continue;  // replaced before the failure
      try {
        own.Commit();
      } catch (const std::exception& again) {
        vaq::ShowError(again.what());
        failed[i] = true;
        reported = true;
      }
    }
    // A file of no pending form (an error file), or the flush of a folder after every file was
    // replaced.
    if (!reported) vaq::ShowError(error.what());
    Run.Files.Clear();
  }
  for (std::size_t i = 0; i < pending.size(); ++i) {
    const TPendingForm& form = pending[i];
    if (failed[i]) {
      Failed(Run, form.Language, form.FormFile);
      continue;
    }
    AddCounts(Run.Stats, form.Counts);
    if (Run.BothLocales) ++ProcessedForms;
    if (Run.Request.Progress != nullptr)
      Run.Request.Progress->FormWritten(form.Language, form.FormFile, form.Counts);
  }
}

void TRuxUpdater::CollectModuleForms(const std::string& ProjectFile) {
  moduleForms_.clear();
  moduleRead_ = false;
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
    moduleRead_ = true;
    program_ = program;
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
      std::vector<std::string> notLinked;  // forms of the project the built program does not link
      for (int i = 0; i < Tools->GetUnitCount(); ++i) {
        const std::string unit = Tools->GetUnitName(i);
        std::string form = vaq::ChangeFileExt(unit, ".rux");
        if (!vaq::FileExists(form)) form = vaq::ChangeFileExt(unit, ".gox");
        if (!vaq::FileExists(form)) form = unit;
        // A unit without a form file is no form; only a unit that names one is worth a word.
        if (!IsFormFileName(form) || !vaq::FileExists(form)) {
          const std::string named = FormResourceOf(unit);
          if (!named.empty() && !vaq::FileExists(named))
            vaq::ShowWarning(vaq::Format(SFormFileMissing.Text, {unit, named}));
          continue;
        }
        if (!IsModuleForm(form)) {
          if (moduleRead_) {
            const std::string formClass = FormClassOf(form);
            if (!formClass.empty()) notLinked.push_back(vaq::ExtractFileName(form) + " (" + formClass + ")");
          }
          continue;
        }
        auto info = std::make_unique<TFormInfo>();
        GetFormInfo(form, *info);
        Forms.push_back({form, std::move(info)});
      }
      if (!notLinked.empty()) {
        vaq::ShowWarning(vaq::Format(Forms.empty() ? SNoProjectFormLinked.Text : SFormsNotLinked.Text,
                                     {program_, NamedForms(notLinked)}));
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
