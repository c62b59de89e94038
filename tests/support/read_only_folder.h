// A folder that cannot be written while the object lives, as a translator meets one: a folder
// without write permission for an ordinary user; for the superuser, whom permissions do not stop,
// a folder marked immutable (which no one may change, root included; the mark goes with the
// object). Where neither can be made (a file system without the mark), Made() is false and the
// test skips itself.
#pragma once

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace vaq::testing {

class ReadOnlyFolder {
 public:
  explicit ReadOnlyFolder(std::string Folder) : folder_(std::move(Folder)) {
    if (::geteuid() != 0) {
      struct stat info {};
      if (::stat(folder_.c_str(), &info) != 0) return;
      mode_ = info.st_mode & 07777;
      made_ = ::chmod(folder_.c_str(), 0555) == 0;
      return;
    }
    made_ = immutable_ = SetImmutable(true);
  }
  ~ReadOnlyFolder() {
    if (immutable_) SetImmutable(false);
    if (mode_ != 0) ::chmod(folder_.c_str(), mode_);
  }
  ReadOnlyFolder(const ReadOnlyFolder&) = delete;
  ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

  bool Made() const { return made_; }

 private:
  bool SetImmutable(bool On) const {
    const int fd = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = On ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return done;
  }

  std::string folder_;
  bool made_ = false;
  bool immutable_ = false;
  mode_t mode_ = 0;
};

}  // namespace vaq::testing
