// The editor window of form notes and the editor unit's start-up.
#include "editor/rux_form.h"

#include <algorithm>
#include <string>
#include <utility>

#include "editor/directives.h"
#include "host/core/errors.h"
#include "host/core/flags.h"
#include "host/core/registration.h"
#include "host/core/registry.h"
#include "notes/column_table.h"
#include "notes/file_services.h"
#include "notes/module_state.h"
#include "notes/rux_mgr.h"
#include "updater/rux_updater.h"

namespace rux {

bool bStayOnTop = false;
bool bShowOrigForm = false;
bool bShowXlatForm = false;
bool bShowAllProperties = false;

namespace {

constexpr const char* kRegSubKey = "\\RUX";
constexpr const char* kFileExts = ".rux;.gox";

std::unique_ptr<TfrmVaqRuxForm>& Window() {
  static std::unique_ptr<TfrmVaqRuxForm> window;
  return window;
}

std::string OptionsKey() {
  return vaq::VaqBaseRegKey + kRegSubKey;
}

// The form file type with its 20 handlers, in the order the file type takes them.
std::unique_ptr<vaq::TVaqFileType> MakeFileType(TfrmVaqRuxForm& window) {
  auto type = std::make_unique<vaq::TVaqFileType>();
  type->TypeName = "RUXFileType";
  type->Extensions = kFileExts;
  type->Description = std::string(SFiles.Text);
  type->Editor = &window;
  type->FileBitmap = "FILEBITMAP";
  type->KindBitmap = "KINDBITMAP";
  type->GetStats = GetStats;
  type->LoadFromFile = [&window](const std::string& file) { window.LoadFromFile(file); };
  type->EditFile = [&window](const std::string& file) { window.EditFile(file); };
  type->UpdateForms = [](vaq::TStringObjectList* forms, vaq::TStats& stats, const std::string& project,
                         const std::string& baseDir, const std::string& langDir, const std::string& mode,
                         const std::string& file, vaq::TLCID source, vaq::TLCID target,
                         vaq::TIToolServices* tools, std::intptr_t arg, vaq::TUpdateCallback callback) {
    Updater().UpdateForms(forms, stats, project, baseDir, langDir, mode, file, source, target, tools, arg,
                          std::move(callback));
  };
  type->ChangeSize = [&window] { window.ChangeSize(); };
  type->EditorClass = [] { return std::make_unique<TfrmVaqRuxForm>(); };
  type->ColInfo.assign(VaqColInfo.begin(), VaqColInfo.end());
  type->SearchFile = SearchFile;
  type->GetXlatFormName = [](const std::string& form, const std::string& langDir, const std::string& baseDir,
                             const vaq::TObject* info) {
    return Updater().GetXlatFormName(form, langDir, baseDir, info);
  };
  type->Idle = [&window] { window.Idle(); };
  type->FormatDirective = [&window](const std::string& file, const vaq::TObject* info) {
    return window.FormatDirective(file, info);
  };
  type->TranslatorCount = [] { return Updater().TranslatorCount(); };
  type->UpdateFile = [](const std::string& file) { Updater().UpdateFile(file); };
  type->DoListEvent = DoListEvent;
  type->NoteExtensions = ".ruz;.goz";
  return type;
}

}  // namespace

void TfrmVaqRuxForm::LoadFile(const std::string& FileName) {
  Mgr = MgrClass(FileName);
  FileStats = Mgr->Stats;
}

void TfrmVaqRuxForm::Save() {
  if (Mgr) Mgr->Save(true, {}, {}, false);
  Dirty = false;
}

vaq::TColInfo TfrmVaqRuxForm::GetColInfo(vaq::TVaqAllColId Id) const {
  return VaqColInfo.at(Id);
}

std::string TfrmVaqRuxForm::FormatDirective(const std::string& FileName, const vaq::TObject* FormInfo) {
  return rux::FormatDirective(FileName, FormInfo);
}

void TfrmVaqRuxForm::FormCreate() {
  std::ranges::copy(DefColIds, ColIds.begin());
  RegSubKey = kRegSubKey;
  FileExts = kFileExts;
  MgrClass = [](const std::string& file) { return std::make_unique<TRuxMgr>(file); };
  vaq::TfrmVaqTranslatorForm::FormCreate();
  // The preview actions and their shortcuts arrive with the editor's view.
  auto type = MakeFileType(*this);
  FileType = type.get();
  vaq::RegisterVaqFileType(std::move(type));
}

TfrmVaqRuxForm* frmVaqForm() {
  return Window().get();
}

void EditorStartup() {
  bStayOnTop = bShowOrigForm = bShowXlatForm = bShowAllProperties = bFormAsText = false;
  vaq::TRegistry registry;
  if (registry.OpenKey(OptionsKey(), false)) {
    const std::pair<const char*, bool*> options[] = {
        {"StayOnTop", &bStayOnTop},
        {"ShowOrigForm", &bShowOrigForm},
        {"ShowXlatForm", &bShowXlatForm},
        {"ShowAllProperties", &bShowAllProperties},
        {"KeepRUZTimeStamp", &bKeepRuzTimeStamp},
        {"FormAsText", &bFormAsText},
    };
    for (const auto& [name, flag] : options) {
      try {
        if (registry.ValueExists(name)) *flag = registry.ReadBool(name);
      } catch (const vaq::EVaqError&) {
        // A value of another kind leaves the default in force.
      }
    }
  }
  Window() = std::make_unique<TfrmVaqRuxForm>();
  Window()->FormCreate();
}

namespace {

// The window's options are stored at shut-down, but only when the file does not already hold them
// as they are: commands that change nothing leave the file alone, so that two of them never race on
// it. A file that cannot be written is reported once, as a warning: the command's work is done.
void StoreWindowOptions() {
  const std::pair<const char*, bool> options[] = {
      {"StayOnTop", bStayOnTop}, {"ShowOrigForm", bShowOrigForm}, {"ShowXlatForm", bShowXlatForm}};
  try {
    vaq::TRegistry registry;
    if (registry.OpenKey(OptionsKey(), false)) {
      bool same = true;
      for (const auto& [name, value] : options) {
        try {
          same = same && registry.ValueExists(name) && registry.ReadBool(name) == value;
        } catch (const vaq::EVaqError&) {
          same = false;  // a value of another kind is replaced
        }
      }
      if (same) return;
    }
    if (!registry.OpenKey(OptionsKey(), true)) return;
    for (const auto& [name, value] : options) registry.WriteBool(name, value);
  } catch (const vaq::EVaqError& error) {
    vaq::ShowWarning(std::string("The editor's options are not stored: ") + error.what());
  }
}

}  // namespace

void EditorShutdown() {
  // The file type's handlers call into the window, so it leaves with the window.
  if (Window()) vaq::UnregisterVaqFileType(Window()->FileType);
  Window().reset();
  StoreWindowOptions();
}

}  // namespace rux
