// The module as a plug-in: the one entry point a host calls, with the core already loaded.
#include <exception>
#include <string>

#include "host/core/errors.h"
#include "module/module.h"

// Operation 1 starts the module's units, 0 shuts them down. Returns 0 on success; a failure is
// shown through the core's message sink and returns nonzero. No exception leaves the module.
extern "C" __attribute__((visibility("default"))) int vaq_module_entry(int Operation) {
  try {
    switch (Operation) {
      case 1:
        rux::ModuleStartup();
        return 0;
      case 0:
        rux::ModuleShutdown();
        return 0;
      default:
        vaq::ShowError("rux: unknown module operation " + std::to_string(Operation));
        return 2;
    }
  } catch (const std::exception& error) {
    vaq::ShowError(std::string("rux: ") + error.what());
  } catch (...) {
    vaq::ShowError("rux: unknown error");
  }
  return 1;
}
