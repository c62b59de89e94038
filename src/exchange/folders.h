// Where an exchange file says it came from, and where an import may write. An export records the
// language folder relative to the project, never an absolute path. An import writes only into the
// language folder that the command names, inside the project that the command names: a folder or
// form path in the file is checked (after "..", and symbolic links, are resolved) and never leads
// out of it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace rux::exchange {

// The language folder as an export records it: `folder` relative to `project`, "/" separated
// ("de-DE", "lang/de"). Both are absolute.
std::string RecordedFolder(const std::filesystem::path& project, const std::filesystem::path& folder);

// The language folder an import writes into.
struct ImportFolder {
  std::filesystem::path Project;  // the project, symbolic links resolved
  std::filesystem::path Folder;   // the language folder inside it, symbolic links resolved
  std::string Warning;            // when the file recorded another folder: both named
};

// Chooses the language folder of an import into `project`:
//  - `named`, the folder the command names (--langdir, or PROJECT/TAG for --lang), when given;
//  - else the folder `recorded` in the file, when it is a relative path inside the project;
//  - else `fallback` (PROJECT/TAG for the file's target language), when given.
// The folder must exist and lie inside the project. A recorded folder that differs from the one
// chosen gives a Warning naming both (files of older exports record an absolute path). Raises
// vaq::EFileError naming the folder or the project when there is no such folder, it lies outside
// the project, or nothing names a folder.
ImportFolder ChooseImportFolder(const std::filesystem::path& project,
                                const std::optional<std::filesystem::path>& named,
                                const std::string& recorded,
                                const std::optional<std::filesystem::path>& fallback);

// The form file `original` of an exchange file ("/" separated, relative to the language folder) in
// the chosen folder. Raises vaq::EFileError when it is no form file (".rux", ".gox") or when it, or
// its notes file, lies outside the language folder.
std::filesystem::path FormInFolder(const ImportFolder& place, const std::string& original);

}  // namespace rux::exchange
