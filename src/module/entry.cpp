// The plug-in entry point's work.
#include "module/entry.h"

#include <exception>
#include <string>

#include "host/core/errors.h"

namespace rux {

int RunModuleEntry(int Operation, void (*Start)(), void (*Stop)()) {
  try {
    switch (Operation) {
      case 1:
        Start();
        return 0;
      case 0:
        Stop();
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

}  // namespace rux
