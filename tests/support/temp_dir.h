// A fresh, empty folder for one test, removed with the object. As a configuration folder it is
// also VAQ_CONFIG_DIR while it lives, so that tests never touch the user's options.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace vaq::testing {

class TempDir {
 public:
  enum Use { kFiles, kConfig };
  explicit TempDir(Use use = kFiles) : config_(use == kConfig) {
    std::string pattern = (std::filesystem::temp_directory_path() / "vaq-test-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
    if (config_) setenv("VAQ_CONFIG_DIR", path_.c_str(), 1);
  }
  ~TempDir() {
    if (config_) unsetenv("VAQ_CONFIG_DIR");
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return path_; }
  // A file or folder name inside it.
  std::string operator/(std::string_view name) const { return path_ + "/" + std::string(name); }

 private:
  std::string path_;
  bool config_;
};

}  // namespace vaq::testing
