// The repository's server store lives in libvaq_postgres.so, loaded on its first use, so that a
// process that never talks to a server does not load libpq and the libraries it needs.
#include <dlfcn.h>

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "host/core/errors.h"
#include "host/core/text.h"
#include "repository_store.h"

namespace vaq::repository {
namespace {

constexpr const char* kLibrary = "libvaq_postgres.so";
constexpr const char* kEntryPoint = "vaq_open_postgres_store";

using TOpenStore = void (*)(const std::string& Uri, std::unique_ptr<TStore>& Store);

std::string DlError() {
  const char* text = dlerror();
  return text ? text : "unknown error";
}

// The library beside the core's own (the build folder, or where both are installed); else by name
// through the system's search path.
std::string LibraryPath() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<const void*>(&DlError), &info) != 0 && info.dli_fname != nullptr) {
    const std::filesystem::path beside = std::filesystem::path(info.dli_fname).parent_path() / kLibrary;
    std::error_code error;
    if (std::filesystem::is_regular_file(beside, error)) return beside.string();
  }
  return kLibrary;
}

}  // namespace

std::unique_ptr<TStore> OpenPostgresStore(const std::string& Uri) {
  const std::string path = LibraryPath();
  dlerror();  // clears an earlier error
  // Never unloaded: libpq and the TLS libraries keep state for the process.
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  // POSIX allows the object-to-function pointer conversion for dlsym.
  auto open = handle ? reinterpret_cast<TOpenStore>(dlsym(handle, kEntryPoint)) : nullptr;
  if (!open) {
    throw EVaqError(
        Format("Cannot connect to the translation repository %s: the PostgreSQL support "
               "cannot be loaded: %s",
               {MaskRepositoryPassword(Uri), DlError()}));
  }
  std::unique_ptr<TStore> store;
  open(Uri, store);
  return store;
}

}  // namespace vaq::repository
