// Builds a project folder with forms and their notes for the viewer tests: the notes come from a
// real extraction and merge, then the translations and the header's form-file list are set.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "host/core/files.h"
#include "host/core/notes_strings.h"
#include "host/core/types.h"
#include "updater/form_reader.h"
#include "updater/merge_notes.h"

namespace rux::testing {

// Writes the original form `Name`.rux (or .gox) into `Dir` and its notes into `Dir`/`Lang`; the
// current value of every record whose original value (form-text notation) is a key of
// `Translations` becomes the mapped value. `FormFiles` goes into the header's form-file list.
// Returns the translated form file name.
inline std::string MakeNotes(const std::string& Dir, const std::string& Lang, const std::string& FileName,
                             const std::string& Text, vaq::TLCID Source, vaq::TLCID Target,
                             const std::map<std::string, std::string>& Translations = {},
                             const std::string& FormFiles = {}) {
  namespace fs = std::filesystem;
  fs::create_directories(fs::path(Dir) / Lang);
  std::string form = (fs::path(Dir) / FileName).string();
  std::string xlat = (fs::path(Dir) / Lang / FileName).string();
  std::string notes = xlat.substr(0, xlat.size() - 1) + "z";
  vaq::WriteFileAtomic(form, Text);
  TExtractedLines lines;
  ExtractFormLines(form, lines, Source);
  vaq::TStats stats;
  TMergeForm merge;
  merge.NotesFile = notes;
  merge.XlatFormFile = xlat;
  merge.OrigFormFile = form;
  merge.SourceLocale = Source;
  merge.TargetLocale = Target;
  TNotesMerge().MergeNotes(merge, lines, stats);
  std::vector<std::string> records = vaq::LoadLines(notes);
  for (std::string& line : records) {
    if (line.find("\x04"
                  "Forms:") != std::string::npos)
      line = vaq::SetValue(line,
                           "\x04"
                           "Forms:",
                           FormFiles);
    if (!line.starts_with("/* ID:")) continue;
    auto it = Translations.find(vaq::GetValue(line,
                                              "\x04"
                                              "Orig:"));
    if (it != Translations.end())
      line = vaq::SetValue(line,
                           "\x04"
                           "Curr:",
                           it->second);
  }
  vaq::SaveLines(notes, records);
  return xlat;
}

}  // namespace rux::testing
