// vaq purge, vaq pseudo, vaq dict: batch operations over notes files.
#include <cstdio>

#include "command.h"
#include "host/core/registration.h"
#include "notes/file_names.h"
#include "notes/file_services.h"
#include "notes_files.h"

namespace vaq::app {

int RunPurge(const Arguments& args) {
  return ForEachFile("purge", args.Positional, [](const std::string& form) {
    rux::DoListEvent(TListEvent::Purge, {form}, nullptr, nullptr);
    std::printf("%s: unused records removed\n", rux::FileNameToNoteName(form).c_str());
  });
}

int RunPseudo(const Arguments& args) {
  return ForEachFile("pseudo", args.Positional, [](const std::string& form) {
    rux::DoListEvent(TListEvent::PseudoTranslate, {form}, nullptr, nullptr);
    std::printf("%s: pseudo-translated\n", rux::FileNameToNoteName(form).c_str());
  });
}

int RunDict(const Arguments& args) {
  TSaveFileData data;
  data.FileName = args.Value("--out");
  if (data.FileName.empty()) throw UsageError("--out DICT is required");
  const int status = ForEachFile("dict", args.Positional, [&](const std::string& form) {
    rux::DoListEvent(TListEvent::Dictionary, {form}, &data, nullptr);
  });
  std::printf("%s: dictionary written\n", data.FileName.c_str());
  return status;
}

}  // namespace vaq::app
