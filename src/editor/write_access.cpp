// Whether the editor may write a form's notes and its translated form.
#include "editor/write_access.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace rux {
namespace {

// The reason `path` cannot be written, or empty. access() asks with the real user's rights, which
// are the editor's, and tells a read-only file system apart also for the superuser.
std::string Refusal(const std::filesystem::path& path, const char* what) {
  if (::access(path.c_str(), W_OK) == 0) return {};
  return std::string(what) + " " + path.string() + " cannot be written: " + std::strerror(errno);
}

}  // namespace

std::string ReadOnlyReason(const std::string& NoteName, const std::string& FormFile) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::path(NoteName).parent_path();
  if (std::string reason = Refusal(folder.empty() ? fs::path(".") : folder, "the folder"); !reason.empty())
    return reason;
  std::error_code error;
  for (const fs::path& file : {fs::path(NoteName), fs::path(FormFile)}) {
    if (!fs::exists(file, error)) continue;
    if (std::string reason = Refusal(file, "the file"); !reason.empty()) return reason;
  }
  return {};
}

}  // namespace rux
