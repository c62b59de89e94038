// vaq update: brings the notes of every form of a project up to date for one language, through
// the form file type that the module registered.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "command.h"
#include "host/core/errors.h"
#include "host/core/flags.h"
#include "host/core/locale.h"
#include "host/core/options.h"
#include "host/core/progress.h"
#include "host/core/projects.h"
#include "host/core/registration.h"
#include "host/core/repository.h"
#include "host/core/resource_strings.h"
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
  std::error_code error;
  if (fs::is_directory(langDir, error)) {
    for (const auto& entry : fs::recursive_directory_iterator(langDir, error)) {
      const std::string file = entry.path().string();
      if (FormFileOf(file) == file || !entry.is_regular_file()) continue;  // no notes file
      TFileStats stats;
      type.GetStats(FormFileOf(file), false, stats);
      if (const TLCID lcid = StrToLCID(stats.SourceLang); lcid != 0) return lcid;
    }
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

// What the merge counted for each form, on standard error: on a terminal only for forms whose
// notes changed (below the status line), otherwise for every form; never with --quiet. A form that
// failed has its message instead.
class FormLines {
 public:
  FormLines(const TStats& stats, TProgress& progress, const TProgressSink& messages, std::string project)
      : stats_(stats), progress_(progress), messages_(messages), project_(std::move(project)) {}
  void Next(const std::string& form) {
    progress_.Step(Shown(form));  // first, so that the status line drawn again below is the new one
    Flush();
    form_ = form;
    start_ = stats_;
    errors_ = messages_.Errors;
  }
  void Flush() {
    if (form_.empty()) return;
    const int added = stats_.New - start_.New, changed = stats_.Changed - start_.Changed,
              unchanged = stats_.Unchanged - start_.Unchanged, unused = stats_.Unused - start_.Unused,
              renamed = stats_.Renamed - start_.Renamed;
    const bool failed = messages_.Errors != errors_;
    const bool show =
        !progress_.Quiet() && !failed && (!progress_.Live() || added + changed + unused + renamed > 0);
    if (show) {
      progress_.Print(stderr, Shown(form_) + ": new " + std::to_string(added) + ", changed " +
                                  std::to_string(changed) + ", unchanged " + std::to_string(unchanged) +
                                  ", unused " + std::to_string(unused) + ", renamed " +
                                  std::to_string(renamed));
    }
    form_.clear();
  }

 private:
  std::string Shown(const std::string& form) const {
    std::string name = fs::path(form).lexically_relative(project_).string();
    if (name.empty() || name.starts_with("..")) name = form;
    return name;
  }

  const TStats& stats_;
  TProgress& progress_;
  const TProgressSink& messages_;
  const std::string project_;
  std::string form_;
  TStats start_;
  int errors_ = 0;
};

}  // namespace

int RunUpdate(const Arguments& args) {
  const std::string project = ProjectDir(args.Positional.at(0));
  const TLCID target = TargetLanguage(args.Value("--lang"));
  const std::string langDir = LanguageDir(project, target, args.Value("--langdir"));
  TVaqFileType& type = FormFileType();
  const TLCID source =
      args.Value("--source").empty() ? SourceLanguage(langDir, type) : StrToLCID(args.Value("--source"));
  if (source == 0) throw UsageError("unknown language: " + args.Value("--source"));
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
  TProjectFolder folder(project, langDir);
  fs::create_directories(langDir);

  TProgress progress(folder.FormFiles().size(), args.Has("--quiet"));
  auto sink = std::make_unique<UpdateSink>(progress);
  const TProgressSink& messages = *sink;
  const ScopedMessageSink reporting(std::move(sink));
  TStats stats;
  FormLines lines(stats, progress, messages, project);
  TStringObjectList forms;
  type.UpdateForms(&forms, stats, project, project, langDir, args.Has("--overwrite") ? sOverwrite : sUpdate,
                   {}, source, target, &folder, 0,
                   [&lines](const std::string& form, std::intptr_t) { lines.Next(form); });
  lines.Flush();
  progress.Finish();
  std::fprintf(stderr,
               "%s -> %s: %d of %zu forms updated in %s (new %d, changed %d, unchanged %d, unused %d, "
               "renamed %d)\n",
               LCIDToStr(source, true).c_str(), LCIDToStr(target, true).c_str(), type.TranslatorCount(),
               forms.size(), langDir.c_str(), stats.New, stats.Changed, stats.Unchanged, stats.Unused,
               stats.Renamed);
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
