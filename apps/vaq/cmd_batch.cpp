// vaq purge, vaq pseudo, vaq dict: batch operations over notes files, through their file type. Over
// many files a status line shows the progress on a terminal; --quiet leaves only problems and the
// summary.
#include <cstdio>

#include "command.h"
#include "host/core/progress.h"
#include "host/core/registration.h"
#include "notes_files.h"

namespace vaq::app {
namespace {

// Runs `event` over the files with progress; each file that went through gets `done` as its line.
int RunBatch(const char* command, const Arguments& args, TListEvent event, const char* done, void* data) {
  TProgress progress(args.Positional.size(), args.Has("--quiet"));
  int succeeded = 0;
  const int status = ForEachFile(
      command, args.Positional,
      [&](const std::string& form, TVaqFileType& type) {
        type.DoListEvent(event, {form}, data, nullptr);
        ++succeeded;
        if (done != nullptr && !progress.Quiet()) progress.Print(stdout, NotesFileOf(form) + ": " + done);
      },
      &progress);
  std::fprintf(stderr, "vaq %s: %d of %zu files done\n", command, succeeded, args.Positional.size());
  return status;
}

}  // namespace

int RunPurge(const Arguments& args) {
  return RunBatch("purge", args, TListEvent::Purge, "unused records removed", nullptr);
}

int RunPseudo(const Arguments& args) {
  return RunBatch("pseudo", args, TListEvent::PseudoTranslate, "pseudo-translated", nullptr);
}

int RunDict(const Arguments& args) {
  TSaveFileData data;
  data.FileName = args.Value("--out");
  if (data.FileName.empty()) throw UsageError("--out DICT is required");
  const int status = RunBatch("dict", args, TListEvent::Dictionary, nullptr, &data);
  std::printf("%s: dictionary written\n", data.FileName.c_str());
  return status;
}

}  // namespace vaq::app
