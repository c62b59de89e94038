// Loading the module.
#include "module_library.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

namespace vaq::app {
namespace {

constexpr const char* kEntryPoint = "vaq_module_entry";
constexpr int kStart = 1;
constexpr int kShutDown = 0;

// The folder of the running executable; empty when the system does not tell.
std::filesystem::path ExecutableDir() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : exe.parent_path();
}

std::string DlError() {
  const char* text = dlerror();
  return text ? text : "unknown error";
}

}  // namespace

TModuleLibrary::TModuleLibrary(const std::string& FileName) {
  const std::string path = (ExecutableDir() / FileName).string();
  dlerror();  // clears an earlier error
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (!handle_) {
    problem_ = "cannot load the module " + FileName + ": " + DlError();
    return;
  }
  // POSIX allows the object-to-function pointer conversion for dlsym.
  auto* entry = reinterpret_cast<int (*)(int)>(dlsym(handle_, kEntryPoint));
  if (!entry) {
    problem_ = "the module " + path + " has no entry point " + kEntryPoint + ": " + DlError();
  } else if (entry(kStart) != 0) {
    problem_ = "the module " + path + " failed to start";
    entry(kShutDown);  // undoes what the start-up did before it failed
  } else {
    entry_ = entry;
    return;
  }
  dlclose(handle_);
  handle_ = nullptr;
}

TModuleLibrary::~TModuleLibrary() {
  if (entry_) entry_(kShutDown);
  if (handle_) dlclose(handle_);
}

}  // namespace vaq::app
