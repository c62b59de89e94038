// The module's start-up and shut-down order.
#include "module/module.h"

#include "creator/creator.h"
#include "editor/rux_form.h"
#include "host/core/flags.h"
#include "host/core/projects.h"
#include "module/commands.h"
#include "module/file_type.h"
#include "notes/column_table.h"
#include "notes/form_writer_hook.h"
#include "updater/rux_updater.h"

namespace rux {
namespace {

bool Started = false;
bool OwnsProjectCallbacks = false;  // registered by the start-up, so removed by the shut-down
const vaq::TVaqFileType* FormFileType = nullptr;

}  // namespace

void ModuleStartup() {
  if (Started) return;
  Started = true;
  LoadColumnCaptions();
  // Outside the IDE the module registers the project-creation callbacks itself.
  OwnsProjectCallbacks = !vaq::InIDE;
  if (OwnsProjectCallbacks) {
    vaq::RegisterPelgoProjectCreate(PascalProjectCreate);
    vaq::RegisterCPPProjectCreate(CppProjectCreate);
  }
  // The file type with its update handlers before the editor, whose window attaches to it when
  // one is made: a command that only updates makes no window.
  FormFileType = RegisterFormFileType();
  EditorStartup();
  InstallFormWriter();
  RegisterModuleCommands();
}

void ModuleShutdown() {
  if (!Started) return;
  Started = false;
  UnregisterModuleCommands();
  SetFormWriter({});
  EditorShutdown();
  vaq::UnregisterVaqFileType(FormFileType);
  FormFileType = nullptr;
  // The core must not keep callbacks into a module that is about to be unloaded.
  if (OwnsProjectCallbacks) {
    OwnsProjectCallbacks = false;
    vaq::RegisterPelgoProjectCreate({});
    vaq::RegisterCPPProjectCreate({});
  }
  FreeUpdater();
  ReleaseColumnCaptions();
}

}  // namespace rux
