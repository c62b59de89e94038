// Shared by the notes commands.
#include "notes_files.h"

#include <cstdio>
#include <exception>

#include "command.h"
#include "host/core/files.h"
#include "host/core/text.h"
#include "notes/file_names.h"

namespace vaq::app {

std::string FormFileOf(const std::string& argument) {
  const std::string ext = ExtractFileExt(argument);
  if (AnsiSameText(ext, ".ruz") || AnsiSameText(ext, ".goz")) {
    return ChangeFileExt(argument, rux::NoteExtToFileExt(ext));
  }
  return argument;
}

int ForEachFile(const char* command, const std::vector<std::string>& files,
                const std::function<void(const std::string& formFile)>& job) {
  int status = kExitOk;
  for (const std::string& file : files) {
    try {
      job(FormFileOf(file));
    } catch (const std::exception& error) {
      std::fprintf(stderr, "vaq %s: %s: %s\n", command, file.c_str(), error.what());
      status = kExitFileFailed;
    }
  }
  return status;
}

}  // namespace vaq::app
