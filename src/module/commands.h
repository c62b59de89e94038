// The host commands the module supplies: records, extract, write and the "add" action of the host's
// repository command. They are registered in the core at start-up and removed at shut-down.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/core/arguments.h"
#include "host/core/progress.h"

namespace rux {

void RegisterModuleCommands();
void UnregisterModuleCommands();

// The form file an argument names: a notes file (".ruz", ".goz") names the form beside it.
std::string FormFileOf(const std::string& argument);

// "-o FILE" taken out of the positional arguments (the parser knows only "--" options); nothing
// when absent. Throws vaq::UsageError when it is given twice or without a file.
std::optional<std::string> TakeShortOut(std::vector<std::string>& positional);

// The notes files (".ruz", ".goz") of a language folder and its sub-folders, sorted by path.
// Throws vaq::EFileError when the folder does not exist.
std::vector<std::string> NotesFilesOf(const std::string& langDir);

// Runs `job` for the form file of every argument; a failure is reported with the argument and the
// others go on. Returns kExitOk, or kExitFileFailed when some file failed. With `progress`, each
// file is a step of it and problems are printed above its status line.
int ForEachFile(const char* command, const std::vector<std::string>& files,
                const std::function<void(const std::string& formFile)>& job,
                vaq::TProgress* progress = nullptr);

// The commands, each in its own file.
int RunRecords(const vaq::Arguments& args);
int RunExtract(const vaq::Arguments& args);
int RunWrite(const vaq::Arguments& args);
int RunRepositoryAdd(const vaq::Arguments& args);
int RunExport(const vaq::Arguments& args);
int RunImport(const vaq::Arguments& args);

}  // namespace rux
