// Read-only file mappings, filled in one go.
#include "mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "host/core/files.h"

namespace vaq::app {

TMappedFile::TMappedFile(const std::string& FileName) {
  const int fd = ::open(FileName.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat info {};
  if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
    size_ = static_cast<std::size_t>(info.st_size);
    // Populated at once: one call fills the page tables instead of a fault per page.
    void* map = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    if (map != MAP_FAILED) {
      map_ = map;
      bytes_ = std::string_view(static_cast<const char*>(map_), size_);
      ::close(fd);
      return;
    }
  }
  if (fd >= 0) ::close(fd);
  read_ = ReadFileBytes(FileName);  // raises the error that names the file
  bytes_ = read_;
}

TMappedFile::~TMappedFile() {
  if (map_ != nullptr) ::munmap(map_, size_);
}

}  // namespace vaq::app
