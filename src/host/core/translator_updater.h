// The core's updater base class: brings the notes of a file type up to date with a project.
#pragma once

#include <cstdint>
#include <string>

#include "host/core/object.h"
#include "host/core/registration.h"
#include "host/core/types.h"

namespace vaq {

class TIToolServices;

// Virtual slots in order: 0 GetXlatFormName, 1 UpdateFile, 2 UpdateForms.
class TVaqTranslatorUpdater {
 public:
  TVaqTranslatorUpdater();
  virtual ~TVaqTranslatorUpdater();
  TVaqTranslatorUpdater(const TVaqTranslatorUpdater&) = delete;
  TVaqTranslatorUpdater& operator=(const TVaqTranslatorUpdater&) = delete;

  virtual std::string GetXlatFormName(const std::string& FormFile, const std::string& LangDir,
                                      const std::string& BaseDir, const TObject* FormInfo) = 0;
  virtual void UpdateFile(const std::string& FileName) = 0;
  virtual void UpdateForms(TStringObjectList* Forms, TStats& Stats, const std::string& ProjectFile,
                           const std::string& BaseDir, const std::string& LangDir, const std::string& Mode,
                           const std::string& FileName, TLCID SourceLocale, TLCID TargetLocale,
                           TIToolServices* Tools, std::intptr_t CallbackArg, TUpdateCallback Callback) = 0;
  // How many files the last updates processed.
  int TranslatorCount() const { return ProcessedForms; }

 protected:
  std::string OrigFormFile;
  std::string XlatFormFile;
  std::string NotesFile;
  TStringObjectList FormList;  // form file name -> form information
  TLCID SourceLocale = 0;
  TLCID TargetLocale = 0;
  TIToolServices* ToolServices = nullptr;  // borrowed from the caller
  int ProcessedForms = 0;
};

}  // namespace vaq
