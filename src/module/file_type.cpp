// The form file type and its handlers.
#include "module/file_type.h"

#include <memory>
#include <utility>

#include "editor/directives.h"
#include "editor/rux_form.h"
#include "host/core/registration.h"
#include "notes/column_table.h"
#include "notes/file_services.h"
#include "updater/rux_updater.h"

namespace rux {
const vaq::TVaqFileType* RegisterFormFileType() {
  auto type = std::make_unique<vaq::TVaqFileType>();
  type->TypeName = "RUXFileType";
  type->Extensions = ".rux;.gox";
  type->Description = std::string(SFiles.Text);
  type->FileBitmap = "FILEBITMAP";
  type->KindBitmap = "KINDBITMAP";
  type->GetStats = GetStats;
  type->UpdateForms = [](vaq::TStringObjectList* forms, vaq::TStats& stats, const std::string& project,
                         const std::string& baseDir, const std::string& langDir, const std::string& mode,
                         const std::string& file, vaq::TLCID source, vaq::TLCID target,
                         vaq::TIToolServices* tools, std::intptr_t arg, vaq::TUpdateCallback callback) {
    Updater().UpdateForms(forms, stats, project, baseDir, langDir, mode, file, source, target, tools, arg,
                          std::move(callback));
  };
  type->EditorClass = [] { return std::make_unique<TfrmVaqRuxForm>(); };
  type->ColInfo.assign(VaqColInfo.begin(), VaqColInfo.end());
  type->SearchFile = SearchFile;
  type->GetXlatFormName = [](const std::string& form, const std::string& langDir, const std::string& baseDir,
                             const vaq::TObject* info) {
    return Updater().GetXlatFormName(form, langDir, baseDir, info);
  };
  type->FormatDirective = [](const std::string& file, const vaq::TObject* info) {
    return FormatDirective(file, info);
  };
  type->TranslatorCount = [] { return Updater().TranslatorCount(); };
  type->UpdateFile = [](const std::string& file) { Updater().UpdateFile(file); };
  type->DoListEvent = DoListEvent;
  type->NoteExtensions = ".ruz;.goz";
  type->UpdateLanguages = [](const vaq::TLanguagesRequest& request, vaq::IUpdateProgress& progress) {
    Updater().UpdateLanguages(request, progress);
  };
  const vaq::TVaqFileType* registered = type.get();
  vaq::RegisterVaqFileType(std::move(type));
  return registered;
}

}  // namespace rux
