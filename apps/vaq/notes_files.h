// Shared by the notes commands: which form file an argument names, and per-file error reporting.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vaq::app {

// The form file an argument names: a form file as it is, a notes file (".ruz", ".goz") as the
// form file beside it ("MainForm.ruz" -> "MainForm.rux").
std::string FormFileOf(const std::string& argument);

// Runs `job` for every file argument; a failure is reported with the file's name and the others
// go on. Returns kExitOk, or kExitFileFailed when some file failed.
int ForEachFile(const char* command, const std::vector<std::string>& files,
                const std::function<void(const std::string& formFile)>& job);

}  // namespace vaq::app
