// The language folder of an export and of an import.
#include "exchange/folders.h"

#include <algorithm>
#include <system_error>

#include "host/core/errors.h"
#include "host/core/text.h"
#include "notes/file_names.h"

namespace rux::exchange {
namespace fs = std::filesystem;
namespace {

// `path` with symbolic links and ".." resolved as far as it exists, a link to nothing included (a
// write through it would create its target).
fs::path Resolved(const fs::path& path) {
  fs::path at = fs::absolute(path).lexically_normal();
  std::error_code error;
  for (int links = 0; links < 40 && fs::is_symlink(fs::symlink_status(at, error)); ++links) {
    const fs::path target = fs::read_symlink(at, error);
    if (error) break;
    at = (target.is_absolute() ? target : at.parent_path() / target).lexically_normal();
  }
  fs::path result = fs::weakly_canonical(at, error);
  return error ? at : result;
}

// Whether the resolved path `inner` is `outer` or lies below it.
bool IsWithin(const fs::path& inner, const fs::path& outer) {
  return std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end()).first == outer.end();
}

// A relative path that stays inside the folder it is relative to, read lexically.
bool IsInnerRelative(const fs::path& path) {
  if (path.empty() || path.is_absolute() || path.has_root_name()) return false;
  const fs::path normal = path.lexically_normal();
  return !normal.empty() && *normal.begin() != "..";
}

}  // namespace

std::string RecordedFolder(const fs::path& project, const fs::path& folder) {
  const fs::path relative = Resolved(folder).lexically_relative(Resolved(project));
  return relative.empty() ? "." : relative.generic_string();
}

ImportFolder ChooseImportFolder(const fs::path& project, const std::optional<fs::path>& named,
                                const std::string& recorded, const std::optional<fs::path>& fallback) {
  ImportFolder place;
  std::error_code error;
  if (!fs::is_directory(project, error)) throw vaq::EFileError("no project folder " + project.string());
  place.Project = Resolved(project);

  const fs::path recordedPath(recorded);
  fs::path chosen;
  if (named) {
    chosen = *named;
  } else if (IsInnerRelative(recordedPath)) {
    chosen = project / recordedPath;
  } else if (fallback) {
    chosen = *fallback;
  } else {
    throw vaq::EFileError("the file names no language folder and no language; give --lang or --langdir");
  }
  place.Folder = Resolved(chosen);
  if (!IsWithin(place.Folder, place.Project))
    throw vaq::EFileError("the language folder " + chosen.string() + " lies outside the project " +
                          place.Project.string());
  if (!fs::is_directory(place.Folder, error))
    throw vaq::EFileError("no language folder " + place.Folder.string());

  if (!recorded.empty()) {
    const fs::path recordedFolder = recordedPath.is_absolute() ? recordedPath : project / recordedPath;
    if (Resolved(recordedFolder) != place.Folder)
      place.Warning = "the file was exported from the language folder " + recorded + "; importing into " +
                      place.Folder.string();
  }
  return place;
}

fs::path FormInFolder(const ImportFolder& place, const std::string& original) {
  const fs::path relative(original);
  if (!IsInnerRelative(relative))
    throw vaq::EFileError("the form file " + original + " lies outside the language folder " +
                          place.Folder.string());
  const std::string ext = relative.extension().string();
  if (!vaq::AnsiSameText(ext, ".rux") && !vaq::AnsiSameText(ext, ".gox"))
    throw vaq::EFileError("the file " + original + " is no form file (.rux, .gox)");
  const fs::path form = place.Folder / relative.lexically_normal();
  // A symbolic link on the way (a folder, the form or its notes) must not lead out of the folder.
  if (!IsWithin(Resolved(form), place.Folder) ||
      !IsWithin(Resolved(FileNameToNoteName(form.string())), place.Folder))
    throw vaq::EFileError("the form file " + original + " lies outside the language folder " +
                          place.Folder.string());
  return form;
}

}  // namespace rux::exchange
