// Shared by the notes commands: the file type of a file argument (through the core's registry),
// which form and notes file it names, and per-file error reporting.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/core/progress.h"
#include "host/core/registration.h"

namespace vaq::app {

// The registered file type of a form or notes file, by its extension. Raises EModuleMissing when
// no file type is registered at all, EVaqError when none lists the extension.
TVaqFileType& FileTypeOf(const std::string& file);

// The form file an argument names: a form file as it is, a notes file (".ruz") as the form file
// beside it ("MainForm.ruz" -> "MainForm.rux"), as its file type pairs the extensions.
std::string FormFileOf(const std::string& argument);
// The notes file of a form file ("MainForm.rux" -> "MainForm.ruz").
std::string NotesFileOf(const std::string& form);

// The notes files below folder `Dir` (at any depth), sorted; none when it is no folder.
std::vector<std::string> NotesFilesIn(const std::string& Dir);

// Runs `job` for the form file and file type of every file argument; a failure is reported with the
// file's name and the others go on. Returns kExitOk, or kExitFileFailed when some file failed.
// EModuleMissing and UsageError end the run: they hold for every file. With `progress`, each file
// is a step of it, messages keep clear of its status line and an error shown while a file is
// worked on makes that file fail too.
int ForEachFile(const char* command, const std::vector<std::string>& files,
                const std::function<void(const std::string& formFile, TVaqFileType& type)>& job,
                TProgress* progress = nullptr);

}  // namespace vaq::app
