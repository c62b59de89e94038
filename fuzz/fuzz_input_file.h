// The fuzz input as a file, for readers that take a file name: one file per target process, in
// /dev/shm when there is one (no disk writes per run), rewritten for every input and removed at exit.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace vaq::fuzzing {

class InputFile {
 public:
  explicit InputFile(const char* extension) {
    const std::filesystem::path base =
        std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    path_ = (base / ("vaq-fuzz-" + std::to_string(::getpid()) + extension)).string();
  }
  ~InputFile() { std::remove(path_.c_str()); }
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Writes the input; the file's name.
  const std::string& Write(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(path_.c_str(), "wb");
    if (file == nullptr || (size > 0 && std::fwrite(data, 1, size, file) != size) || std::fclose(file) != 0) {
      std::perror(path_.c_str());
      std::abort();
    }
    return path_;
  }

 private:
  std::string path_;
};

// Stops the run with the finding's description; libFuzzer keeps the input.
[[noreturn]] inline void Fail(const char* target, const std::string& what) {
  std::fprintf(stderr, "%s: %s\n", target, what.c_str());
  std::abort();
}

}  // namespace vaq::fuzzing
