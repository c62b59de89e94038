// Flags of the translation core that the module reads.
#pragma once

#include <string>

namespace vaq {

// Running inside the IDE. False in the vaq host, unless it plays the IDE's part for one run.
extern bool InIDE;
// The language of the project being worked on is Pascal (true) or C++ (false); read through InPelgo().
extern bool GlobalInPelgo;
bool InPelgo();
// The form-preview actions are offered in the editor.
extern bool UseOlk;
// The registry key under which the core and its modules keep their options.
extern std::string VaqBaseRegKey;

}  // namespace vaq
