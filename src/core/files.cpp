// File services.
#include "host/core/files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "host/core/errors.h"
#include "host/core/text.h"

namespace vaq {
namespace {

namespace fs = std::filesystem;

std::size_t NamePartStart(std::string_view name) {
  const auto slash = name.find_last_of("/\\");
  return slash == std::string_view::npos ? 0 : slash + 1;
}

std::string SystemError() {
  return std::strerror(errno);
}

// Writes all of `data` to `fd`; false on failure.
bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t written = ::write(fd, data.data(), data.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

bool FileExists(const std::string& name) {
  std::error_code error;
  return fs::is_regular_file(name, error);
}

bool DeleteFile(const std::string& name) {
  std::error_code error;
  return fs::remove(name, error);
}

void CopyFile(const std::string& from, const std::string& to) {
  std::error_code error;
  fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
  if (error) throw EFileError(Format("Cannot copy %s to %s: %s", {from, to, error.message()}));
}

void ForceDirectories(const std::string& dir) {
  std::error_code error;
  fs::create_directories(dir, error);
  if (error) throw EFileError(Format("Cannot create the folder %s: %s", {dir, error.message()}));
}

std::string ExtractFilePath(std::string_view name) {
  return std::string(name.substr(0, NamePartStart(name)));
}

std::string ExtractFileName(std::string_view name) {
  return std::string(name.substr(NamePartStart(name)));
}

std::string ExtractFileExt(std::string_view name) {
  const std::size_t start = NamePartStart(name);
  const auto dot = name.rfind('.');
  if (dot == std::string_view::npos || dot < start) return {};
  return std::string(name.substr(dot));
}

std::string ChangeFileExt(std::string_view name, std::string_view ext) {
  const std::size_t start = NamePartStart(name);
  const auto dot = name.rfind('.');
  const std::size_t end = (dot == std::string_view::npos || dot < start) ? name.size() : dot;
  std::string result(name.substr(0, end));
  result.append(ext);
  return result;
}

std::string IncludeTrailingPathDelimiter(std::string_view dir) {
  std::string result(dir);
  if (result.empty() || (result.back() != '/' && result.back() != '\\')) result.push_back('/');
  return result;
}

std::string ReadFileBytes(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  if (!in) throw EFileError(Format("Cannot open %s: %s", {name, SystemError()}));
  std::string data;
  in.seekg(0, std::ios::end);
  const auto size = in.tellg();
  if (size > 0) {
    data.resize(static_cast<std::size_t>(size));
    in.seekg(0);
    in.read(data.data(), size);
  }
  if (!in) throw EFileError(Format("Cannot read %s", {name}));
  return data;
}

void WriteFileAtomic(const std::string& name, std::string_view data) {
  // The temporary file lives beside the target so that the rename stays on one file system.
  std::random_device random;
  const std::string temp = name + ".tmp" + std::to_string(random() % 1000000);
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) throw EFileError(Format("Cannot write %s: %s", {name, SystemError()}));
  const bool written = WriteAll(fd, data) && ::fsync(fd) == 0;
  const std::string reason = written ? std::string() : SystemError();
  if (::close(fd) != 0 || !written) {
    ::unlink(temp.c_str());
    throw EFileError(Format("Cannot write %s: %s", {name, reason.empty() ? SystemError() : reason}));
  }
  if (::rename(temp.c_str(), name.c_str()) != 0) {
    const std::string rename_error = SystemError();
    ::unlink(temp.c_str());
    throw EFileError(Format("Cannot replace %s: %s", {name, rename_error}));
  }
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::vector<std::string> LoadLines(const std::string& name) {
  return SplitLines(ReadFileBytes(name));
}

void SaveLines(const std::string& name, const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const auto& line : lines) size += line.size() + 2;
  std::string data;
  data.reserve(size);
  for (const auto& line : lines) data.append(line).append("\r\n");
  WriteFileAtomic(name, data);
}

}  // namespace vaq
