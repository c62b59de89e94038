// The module as the host loads it: librux.so from the folder of vaq's own executable, started
// through its one entry point and shut down and unloaded when the object goes.
#pragma once

#include <string>

namespace vaq::app {

class TModuleLibrary {
 public:
  // Loads and starts the module `FileName` from the folder of the running executable. A failure is
  // kept in Problem(); the host goes on without the module. The module is shut down when the
  // object goes, but stays mapped until the process ends: the libraries it loads (Qt, GNU gettext)
  // keep state that must not be unmapped under them.
  explicit TModuleLibrary(const std::string& FileName);
  ~TModuleLibrary();
  TModuleLibrary(const TModuleLibrary&) = delete;
  TModuleLibrary& operator=(const TModuleLibrary&) = delete;

  bool Loaded() const { return entry_ != nullptr; }
  // Why the module is not there, naming its file; empty when it is loaded.
  const std::string& Problem() const { return problem_; }

 private:
  void* handle_ = nullptr;
  int (*entry_)(int) = nullptr;
  std::string problem_;
};

}  // namespace vaq::app
