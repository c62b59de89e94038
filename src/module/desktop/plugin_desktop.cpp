// The module's desktop build as a plug-in (librux_desktop.so): the same units as librux.so, then
// the units that need Qt; shut down in reverse.
#include "module/desktop/desktop_units.h"
#include "module/entry.h"
#include "module/module.h"

namespace {

void Start() {
  rux::ModuleStartup();
  rux::DesktopStartup();
}

void Stop() {
  rux::DesktopShutdown();
  rux::ModuleShutdown();
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int vaq_module_entry(int Operation) {
  return rux::RunModuleEntry(Operation, Start, Stop);
}
