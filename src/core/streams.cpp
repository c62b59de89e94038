// The core's reload queue and temporary folder.
#include "host/core/streams.h"

#include <unistd.h>

#include <filesystem>
#include <utility>

namespace vaq {

TVaqStringQue ReloadQue;

std::optional<std::string> TVaqStringQue::Pop() {
  if (Items.empty()) return std::nullopt;
  std::string text = std::move(Items.front());
  Items.pop_front();
  return text;
}

// The core's temporary folder: a folder of this process below the system's temporary folder, so
// that two processes never write the same temporary file. It goes when the process ends (if the
// files in it went first, as they should).
namespace {

struct TTempFolder {
  std::string Path;
  ~TTempFolder() {
    std::error_code error;
    if (!Path.empty()) std::filesystem::remove(Path, error);
  }
};

}  // namespace

std::string GetTempDir() {
  static TTempFolder folder;
  if (folder.Path.empty()) {
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error) base = "/tmp";
    std::filesystem::path path = base / ("vaq-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path, error);
    folder.Path = path.string();
  }
  return folder.Path + "/";
}

void RemoveTempFile(const std::string& FileName) {
  std::error_code error;
  std::filesystem::remove(FileName, error);
}

}  // namespace vaq
