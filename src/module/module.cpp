// The module's start-up and shut-down order.
#include "module/module.h"

#include "creator/creator.h"
#include "editor/rux_form.h"
#include "host/core/flags.h"
#include "host/core/projects.h"
#include "notes/column_table.h"
#include "notes/form_writer_hook.h"
#include "updater/rux_updater.h"

namespace rux {
namespace {

bool Started = false;

}  // namespace

void ModuleStartup() {
  if (Started) return;
  Started = true;
  LoadColumnCaptions();
  // Outside the IDE the module registers the project-creation callbacks itself.
  if (!vaq::InIDE) {
    vaq::RegisterPelgoProjectCreate(PascalProjectCreate);
    vaq::RegisterCPPProjectCreate(CppProjectCreate);
  }
  EditorStartup();
  InstallFormWriter();
}

void ModuleShutdown() {
  if (!Started) return;
  Started = false;
  SetFormWriter({});
  EditorShutdown();
  FreeUpdater();
  ReleaseColumnCaptions();
}

}  // namespace rux
