// vaq purge, vaq pseudo, vaq dict: batch operations over notes files, through their file type.
#include <cstdio>

#include "command.h"
#include "host/core/registration.h"
#include "notes_files.h"

namespace vaq::app {

int RunPurge(const Arguments& args) {
  return ForEachFile("purge", args.Positional, [](const std::string& form, TVaqFileType& type) {
    type.DoListEvent(TListEvent::Purge, {form}, nullptr, nullptr);
    std::printf("%s: unused records removed\n", NotesFileOf(form).c_str());
  });
}

int RunPseudo(const Arguments& args) {
  return ForEachFile("pseudo", args.Positional, [](const std::string& form, TVaqFileType& type) {
    type.DoListEvent(TListEvent::PseudoTranslate, {form}, nullptr, nullptr);
    std::printf("%s: pseudo-translated\n", NotesFileOf(form).c_str());
  });
}

int RunDict(const Arguments& args) {
  TSaveFileData data;
  data.FileName = args.Value("--out");
  if (data.FileName.empty()) throw UsageError("--out DICT is required");
  const int status = ForEachFile("dict", args.Positional, [&](const std::string& form, TVaqFileType& type) {
    type.DoListEvent(TListEvent::Dictionary, {form}, &data, nullptr);
  });
  std::printf("%s: dictionary written\n", data.FileName.c_str());
  return status;
}

}  // namespace vaq::app
