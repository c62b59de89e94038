// vaq languages: the language folders of a project, with the counts their notes headers record.
#include <cstdio>
#include <string>

#include "command.h"
#include "host/core/locale.h"
#include "host/core/registration.h"
#include "host/core/text.h"
#include "notes_files.h"
#include "project_folder.h"

namespace vaq::app {

int RunLanguages(const Arguments& args) {
  const std::string project = ProjectDir(args.Positional.at(0));
  if (VaqFileTypes.Count() == 0) throw EModuleMissing("no file type is registered: the module is not loaded");
  const std::vector<TLanguageFolder> folders = LanguageFolders(project);
  if (folders.empty()) std::printf("%s has no language folders\n", project.c_str());
  for (const TLanguageFolder& folder : folders) {
    // The statistics each notes header records; nothing is read beyond the headers.
    const std::vector<std::string> notes = NotesFilesIn(folder.Dir);
    int translated = 0, untranslated = 0;
    std::string source;
    for (const std::string& file : notes) {
      TFileStats stats;
      const std::string form = FormFileOf(file);
      FileTypeOf(form).GetStats(form, false, stats);
      translated += stats.Translated;
      untranslated += stats.Untranslated;
      if (source.empty()) source = stats.SourceLang;
    }
    const int total = translated + untranslated;
    std::printf("%s\t%s\n", LCIDToStr(folder.Language, true).c_str(),
                Format("%s notes files, translated %s, untranslated %s (%s%%)%s in %s",
                       {static_cast<std::int64_t>(notes.size()), translated, untranslated,
                        total == 0 ? 0 : translated * 100 / total,
                        source.empty() ? std::string() : ", from " + source, folder.Dir})
                    .c_str());
  }
  return kExitOk;
}

}  // namespace vaq::app
