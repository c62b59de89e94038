// The module as a plug-in (librux.so): the one entry point a host calls, with the core already loaded.
#include "module/entry.h"
#include "module/module.h"

// Operation 1 starts the module's units, 0 shuts them down (see rux::RunModuleEntry).
extern "C" __attribute__((visibility("default"))) int vaq_module_entry(int Operation) {
  return rux::RunModuleEntry(Operation, rux::ModuleStartup, rux::ModuleShutdown);
}
