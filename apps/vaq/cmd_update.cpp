// vaq update: brings the notes of every form of a project up to date for one language or several
// at once, through the form file type that the module registered; vaq project: the resource-module
// project of a language.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "command.h"
#include "host/core/errors.h"
#include "host/core/flags.h"
#include "host/core/language_update.h"
#include "host/core/locale.h"
#include "host/core/options.h"
#include "host/core/progress.h"
#include "host/core/projects.h"
#include "host/core/registration.h"
#include "host/core/repository.h"
#include "host/core/resource_strings.h"
#include "host/core/text.h"
#include "notes_files.h"
#include "project_folder.h"

namespace vaq::app {
namespace {

namespace fs = std::filesystem;

TVaqFileType& FormFileType() {
  const int index = VaqFileTypes.ExtIndexOf(".rux");
  if (index < 0) throw EModuleMissing("no file type for form files is registered: the module is not loaded");
  return *GetVaqFileType(index);
}

// The source language recorded in the language folder's notes, else en-US.
TLCID SourceLanguage(const std::string& langDir, TVaqFileType& type) {
  for (const std::string& notes : NotesFilesIn(langDir)) {
    TFileStats stats;
    type.GetStats(FormFileOf(notes), false, stats);
    if (const TLCID lcid = StrToLCID(stats.SourceLang); lcid != 0) return lcid;
  }
  return StrToLCID("en-US");
}

// What the update tells besides problems (a component found renamed) is a per-form line too: on
// standard error above the status line, and not with --quiet.
class UpdateSink : public TProgressSink {
 public:
  explicit UpdateSink(TProgress& progress) : TProgressSink(progress), progress_(progress) {}
  void Information(std::string_view text) override {
    if (!progress_.Quiet()) progress_.Print(stderr, text);
  }

 private:
  TProgress& progress_;
};

// The languages to update: those of --lang (one tag, or several separated by commas), or with
// --all-languages every language folder of the project that holds notes.
std::vector<TUpdateLanguage> Languages(const Arguments& args, const std::string& project) {
  std::vector<TUpdateLanguage> languages;
  if (args.Has("--all-languages")) {
    if (!args.Value("--lang").empty()) throw UsageError("give --lang or --all-languages, not both");
    if (!args.Value("--langdir").empty())
      throw UsageError("--langdir takes one language, not --all-languages");
    for (const TLanguageFolder& folder : LanguageFolders(project)) {
      if (!NotesFilesIn(folder.Dir).empty()) languages.push_back({0, folder.Language, folder.Dir});
    }
    return languages;
  }
  const std::string tags = args.Value("--lang");
  if (tags.empty()) throw UsageError("--lang TAG is required (or --all-languages)");
  for (std::string_view rest = tags; !rest.empty();) {
    const std::size_t comma = rest.find(',');
    const std::string tag(rest.substr(0, comma));
    rest.remove_prefix(comma == std::string_view::npos ? rest.size() : comma + 1);
    if (tag.empty()) continue;
    const TLCID target = TargetLanguage(tag);
    for (const TUpdateLanguage& language : languages) {
      if (language.TargetLocale == target) throw UsageError("--lang names " + tag + " twice");
    }
    languages.push_back({0, target, {}});
  }
  if (languages.size() > 1 && !args.Value("--langdir").empty())
    throw UsageError("--langdir takes one language, not " + tags);
  for (TUpdateLanguage& language : languages)
    language.LangDir = LanguageDir(project, language.TargetLocale, args.Value("--langdir"));
  return languages;
}

// What one language's update came to.
struct LanguageSummary {
  int Written = 0;
  int Failed = 0;
  TStats Counts;
};

std::string CountsText(const TStats& counts) {
  return Format("new %s, changed %s, unchanged %s, unused %s, renamed %s",
                {counts.New, counts.Changed, counts.Unchanged, counts.Unused, counts.Renamed});
}

// "4 of 5 forms updated, 1 failed"
std::string FormsText(int written, int forms, int failed) {
  std::string text = Format("%s of %s forms updated", {written, forms});
  if (failed > 0) text += Format(", %s failed", {failed});
  return text;
}

// The update's report on standard error: the status line follows the forms; what the merge counted
// is printed for each form and language once its files are written, on a terminal only for forms
// whose notes changed (below the status line), never with --quiet; a form that failed has had its
// message. With several languages each line names its language.
class UpdateReport : public IUpdateProgress {
 public:
  UpdateReport(const std::vector<TUpdateLanguage>& languages, TProgress& progress, std::string project)
      : languages_(languages),
        progress_(progress),
        project_(std::move(project)),
        summaries_(languages.size()) {}

  void FormStarted(const std::string& form) override {
    ++forms_;
    progress_.Step(Shown(form));
  }
  void FormWritten(std::size_t language, const std::string& form, const TStats& counts) override {
    LanguageSummary& summary = summaries_.at(language);
    ++summary.Written;
    summary.Counts.New += counts.New;
    summary.Counts.Changed += counts.Changed;
    summary.Counts.Unchanged += counts.Unchanged;
    summary.Counts.Unused += counts.Unused;
    summary.Counts.Renamed += counts.Renamed;
    const bool changed = counts.New + counts.Changed + counts.Unused + counts.Renamed > 0;
    if (progress_.Quiet() || (progress_.Live() && !changed)) return;
    const std::string prefix =
        languages_.size() > 1 ? LCIDToStr(languages_[language].TargetLocale, true) + ": " : std::string();
    progress_.Print(stderr, prefix + Shown(form) + ": " + CountsText(counts));
  }
  void FormFailed(std::size_t language, const std::string&) override { ++summaries_.at(language).Failed; }

  // One line per language, then one in total when there are several.
  void PrintSummary() const {
    TStats total;
    int written = 0, failed = 0;
    for (std::size_t l = 0; l < languages_.size(); ++l) {
      const TUpdateLanguage& language = languages_[l];
      const LanguageSummary& summary = summaries_[l];
      std::fprintf(stderr, "%s -> %s: %s%s in %s (%s)\n", LCIDToStr(language.SourceLocale, true).c_str(),
                   LCIDToStr(language.TargetLocale, true).c_str(),
                   FormsText(summary.Written, forms_, summary.Failed).c_str(), summary.Failed > 0 ? "," : "",
                   language.LangDir.c_str(), CountsText(summary.Counts).c_str());
      written += summary.Written;
      failed += summary.Failed;
      total.New += summary.Counts.New;
      total.Changed += summary.Counts.Changed;
      total.Unchanged += summary.Counts.Unchanged;
      total.Unused += summary.Counts.Unused;
      total.Renamed += summary.Counts.Renamed;
    }
    if (languages_.size() > 1) {
      std::fprintf(stderr, "%zu languages: %s (%s)\n", languages_.size(),
                   FormsText(written, forms_ * static_cast<int>(languages_.size()), failed).c_str(),
                   CountsText(total).c_str());
    }
  }

 private:
  std::string Shown(const std::string& form) const {
    std::string name = fs::path(form).lexically_relative(project_).string();
    if (name.empty() || name.starts_with("..")) name = form;
    return name;
  }

  const std::vector<TUpdateLanguage>& languages_;
  TProgress& progress_;
  const std::string project_;
  std::vector<LanguageSummary> summaries_;
  int forms_ = 0;
};

}  // namespace

int RunUpdate(const Arguments& args) {
  const std::string project = ProjectDir(args.Positional.at(0));
  TVaqFileType& type = FormFileType();
  if (!type.UpdateLanguages) throw EModuleMissing("the module's form file type offers no project update");
  std::vector<TUpdateLanguage> languages = Languages(args, project);
  if (languages.empty()) {
    std::fprintf(stderr,
                 "vaq update: no language folder of %s holds notes yet; name the languages with --lang\n",
                 project.c_str());
    return kExitOk;
  }
  const TLCID source = args.Value("--source").empty() ? 0 : StrToLCID(args.Value("--source"));
  if (!args.Value("--source").empty() && source == 0)
    throw UsageError("unknown language: " + args.Value("--source"));
  for (TUpdateLanguage& language : languages)
    language.SourceLocale = source != 0 ? source : SourceLanguage(language.LangDir, type);
  if (args.Has("--use-repository")) VaqINTOptionProps.SetOverride(kOptUseRepositoryOnUpdate, true);
  if (args.Has("--no-renames")) VaqINTOptionProps.SetOverride(kOptDetectRenamesOnUpdate, false);
  if (!args.Value("--repository").empty()) SetRepositoryLocation(args.Value("--repository"));
  // A repository that cannot be reached stops the update before any file changes, rather than
  // failing form by form halfway through.
  if (VaqINTOptionProps.GetBool(kOptUseRepositoryOnUpdate)) {
    try {
      CheckRepository();
    } catch (const EVaqError& error) {
      std::fprintf(stderr, "vaq update: %s\n", error.what());
      return kExitFileFailed;
    }
  }
  // With a built program the host plays the IDE's part: only forms the program links are updated.
  const std::string program = args.Value("--module");
  if (!program.empty()) {
    InIDE = true;
    FindExeNameProc = [program](const std::string&) { return program; };
    // The folder of the library's dialog forms that programs link in.
    if (const char* library = std::getenv("VAQ_LIB_DIR")) LibDir = library;
  }
  TProjectFolder folder(project, languages.size() == 1 ? languages[0].LangDir : std::string());
  for (const TUpdateLanguage& language : languages) fs::create_directories(language.LangDir);

  TProgress progress(folder.FormFiles().size(), args.Has("--quiet"));
  auto sink = std::make_unique<UpdateSink>(progress);
  const TProgressSink& messages = *sink;
  const ScopedMessageSink reporting(std::move(sink));
  UpdateReport report(languages, progress, project);
  TLanguagesRequest request{project, project, languages, args.Has("--overwrite"), &folder};
  type.UpdateLanguages(request, report);
  progress.Finish();
  report.PrintSummary();
  return messages.Errors == 0 ? kExitOk : kExitFileFailed;
}

int RunProject(const Arguments& args) {
  const std::string project = ProjectDir(args.Positional.at(0));
  const TLCID target = TargetLanguage(args.Value("--lang"));
  if (args.Has("--pascal") == args.Has("--cpp")) throw UsageError("choose one of --pascal and --cpp");
  const bool pascal = args.Has("--pascal");
  const std::string name = args.Value("--name");
  if (args.Values.contains("--name")) {
    if (const std::string problem = IdentifierProblem(name, pascal); !problem.empty())
      throw UsageError("--name: '" + name + "' " + problem);
  }
  FormFileType();  // the module must be there to supply the directives
  TLang lang{target, LanguageDir(project, target, args.Value("--langdir"))};
  const TProj proj{project + "/" + fs::path(project).filename().string(), project, name};
  TProjectFolder folder(project, lang.Dir);
  TStringObjectList forms;
  for (const std::string& form : folder.FormFiles()) forms.push_back({form, nullptr});
  const TProjectCreateProc& create = pascal ? PelgoProjectCreate() : CPPProjectCreate();
  if (!create) throw EModuleMissing("no project generator is registered: the module is not loaded");
  fs::create_directories(lang.Dir);
  create(forms, proj, lang);
  return kExitOk;
}

}  // namespace vaq::app
