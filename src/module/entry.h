// The plug-in entry point's work, shared by the module's two builds (plain and desktop).
#pragma once

namespace rux {

// Operation 1 runs `Start`, 0 runs `Stop`. Returns 0 on success; a failure is shown through the
// core's message sink and returns nonzero. No exception leaves it.
int RunModuleEntry(int Operation, void (*Start)(), void (*Stop)());

}  // namespace rux
