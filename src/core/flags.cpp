// The core's flags, each defined once here.
#include "host/core/flags.h"

namespace vaq {

bool InIDE = false;
bool GlobalInPelgo = true;
bool InPelgo() {
  return GlobalInPelgo;
}
bool UseOlk = true;
std::string VaqBaseRegKey = "Software\\Vaq\\Translator";

}  // namespace vaq
