// A project as vaq knows it: a folder with form files (".rux", ".gox") and their units (".pas", or
// ".cpp"/".h") below it. Language folders (named by a language tag such as "de-DE", or the one
// given) are not part of it.
#pragma once

#include <string>
#include <vector>

#include "host/core/types.h"
#include "host/framework/ide.h"

namespace vaq::app {

class TProjectFolder : public TIToolServices {
 public:
  // Lists the units below `Dir`, leaving out `LangDir` and the language folders.
  TProjectFolder(const std::string& Dir, const std::string& LangDir);
  int GetUnitCount() override { return static_cast<int>(units_.size()); }
  std::string GetUnitName(int Index) override { return units_.at(static_cast<std::size_t>(Index)); }
  // The form files of the units, in the units' order.
  std::vector<std::string> FormFiles() const;

 private:
  std::vector<std::string> units_;
};

// A folder of translations below a project: named by a language tag ("de-DE", "pt_BR").
struct TLanguageFolder {
  std::string Dir;
  TLCID Language = 0;
};
// The language folders below `Project` (a language folder's own subfolders are its translations'),
// by folder name.
std::vector<TLanguageFolder> LanguageFolders(const std::string& Project);

// The absolute, normalised folder of a PROJECT argument; raises UsageError when it is no folder.
std::string ProjectDir(const std::string& Argument);
// The target language of --lang; raises UsageError when it is missing or unknown.
TLCID TargetLanguage(const std::string& Tag);
// --langdir, else PROJECT/TAG.
std::string LanguageDir(const std::string& Project, TLCID Target, const std::string& Given);

}  // namespace vaq::app
