// The project folder and its units.
#include "project_folder.h"

#include <algorithm>
#include <filesystem>
#include <unordered_set>

#include "command.h"
#include "host/core/files.h"
#include "host/core/locale.h"
#include "host/core/text.h"

namespace vaq::app {
namespace {

namespace fs = std::filesystem;

bool HasExtension(const fs::path& file, std::initializer_list<std::string_view> exts) {
  const std::string ext = file.extension().string();
  return std::ranges::any_of(exts, [&](std::string_view e) { return AnsiSameText(ext, e); });
}

// A folder named by a language tag ("de-DE", "pt_BR") holds translations, not project files.
bool IsLanguageFolder(const fs::path& dir) {
  const std::string name = dir.filename().string();
  return name.find_first_of("-_") != std::string::npos && StrToLCID(name) != 0;
}

}  // namespace

TProjectFolder::TProjectFolder(const std::string& Dir, const std::string& LangDir) {
  const fs::path skip = fs::path(LangDir).lexically_normal();
  std::vector<fs::path> forms, units;
  for (auto it = fs::recursive_directory_iterator(Dir); it != fs::recursive_directory_iterator(); ++it) {
    const fs::path& path = it->path();
    if (it->is_directory()) {
      if (path.lexically_normal() == skip || IsLanguageFolder(path) ||
          path.filename().string().starts_with(".")) {
        it.disable_recursion_pending();
      }
      continue;
    }
    if (HasExtension(path, {".pas", ".cpp"})) units.push_back(path);
    if (HasExtension(path, {".rux", ".gox"})) forms.push_back(path);
  }
  // A form without a unit of its own is a unit of the project too. Names compare without regard to
  // case, through their case keys: a project may have thousands of forms.
  std::unordered_set<std::string> unitNames;
  for (const fs::path& unit : units)
    unitNames.insert(AnsiCaseKey(fs::path(unit).replace_extension().string()));
  for (const fs::path& form : forms) {
    if (!unitNames.contains(AnsiCaseKey(fs::path(form).replace_extension().string()))) units.push_back(form);
  }
  for (const fs::path& unit : units) units_.push_back(unit.string());
  std::ranges::sort(units_,
                    [](const std::string& a, const std::string& b) { return AnsiCompareText(a, b) < 0; });
}

std::vector<std::string> TProjectFolder::FormFiles() const {
  std::vector<std::string> forms;
  for (const std::string& unit : units_) {
    for (const char* ext : {".rux", ".gox"}) {
      const std::string form = ChangeFileExt(unit, ext);
      if (FileExists(form)) {
        forms.push_back(form);
        break;
      }
    }
  }
  return forms;
}

std::vector<TLanguageFolder> LanguageFolders(const std::string& Project) {
  std::vector<TLanguageFolder> folders;
  for (auto it = fs::recursive_directory_iterator(Project); it != fs::recursive_directory_iterator(); ++it) {
    if (!it->is_directory()) continue;
    const fs::path& path = it->path();
    if (path.filename().string().starts_with(".")) {
      it.disable_recursion_pending();
    } else if (IsLanguageFolder(path)) {
      it.disable_recursion_pending();
      folders.push_back({path.lexically_normal().string(), StrToLCID(path.filename().string())});
    }
  }
  std::ranges::sort(folders, [](const TLanguageFolder& a, const TLanguageFolder& b) {
    return AnsiCompareText(a.Dir, b.Dir) < 0;
  });
  return folders;
}

std::string ProjectDir(const std::string& Argument) {
  std::error_code error;
  if (!fs::is_directory(Argument, error)) throw UsageError(Argument + ": not a project folder");
  std::string dir = fs::absolute(Argument).lexically_normal().string();
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return dir;
}

TLCID TargetLanguage(const std::string& Tag) {
  if (Tag.empty()) throw UsageError("--lang TAG is required");
  const TLCID lcid = StrToLCID(Tag);
  if (lcid == 0) throw UsageError("unknown language: " + Tag);
  return lcid;
}

std::string LanguageDir(const std::string& Project, TLCID Target, const std::string& Given) {
  if (!Given.empty()) return fs::absolute(Given).lexically_normal().string();
  return Project + "/" + LCIDToStr(Target, true);
}

}  // namespace vaq::app
