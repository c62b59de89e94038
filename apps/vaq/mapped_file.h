// A file's bytes mapped into memory read-only, so that a large input is read without a copy.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vaq::app {

class TMappedFile {
 public:
  // Raises EFileError naming the file when it cannot be opened or read. A file that cannot be
  // mapped (a pipe, say) is read into memory instead.
  explicit TMappedFile(const std::string& FileName);
  ~TMappedFile();
  TMappedFile(const TMappedFile&) = delete;
  TMappedFile& operator=(const TMappedFile&) = delete;

  std::string_view Bytes() const { return bytes_; }

 private:
  void* map_ = nullptr;
  std::size_t size_ = 0;
  std::string read_;  // the bytes of a file that was read instead
  std::string_view bytes_;
};

}  // namespace vaq::app
