// File services.
#include "host/core/files.h"

#include <fcntl.h>
#include <sys/stat.h>
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
  // One read of the size the file has; a file that grows meanwhile is read to its end.
  const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw EFileError(Format("Cannot open %s: %s", {name, SystemError()}));
  struct stat info {};
  std::string data;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) data.resize(static_cast<std::size_t>(info.st_size));
  std::size_t got = 0;
  char more[4096];  // beyond the size the file had: read on until its end
  for (;;) {
    const bool full = got == data.size();
    const ssize_t n = full ? ::read(fd, more, sizeof more) : ::read(fd, data.data() + got, data.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const std::string reason = SystemError();
      ::close(fd);
      throw EFileError(Format("Cannot read %s: %s", {name, reason}));
    }
    if (n == 0) break;
    if (full) data.append(more, static_cast<std::size_t>(n));
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  data.resize(got);
  return data;
}

namespace {

constexpr std::size_t kIoChunk = 1 << 20;

}  // namespace

TAtomicFileWriter::TAtomicFileWriter(std::string name) : name_(std::move(name)) {
  // The temporary file lives beside the target so that the rename stays on one file system.
  std::random_device random;
  temp_ = name_ + ".tmp" + std::to_string(random() % 1000000);
  fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd_ < 0) throw EFileError(Format("Cannot write %s: %s", {name_, SystemError()}));
  buffer_.reserve(kIoChunk);
}

TAtomicFileWriter::~TAtomicFileWriter() {
  if (fd_ >= 0) {
    ::close(fd_);
    ::unlink(temp_.c_str());
  }
}

void TAtomicFileWriter::Fail(const char* what) {
  const std::string reason = SystemError();
  ::close(fd_);
  fd_ = -1;
  ::unlink(temp_.c_str());
  throw EFileError(Format("Cannot %s %s: %s", {what, name_, reason}));
}

void TAtomicFileWriter::Flush() {
  if (!WriteAll(fd_, buffer_)) Fail("write");
  buffer_.clear();
}

void TAtomicFileWriter::Write(std::string_view data) {
  if (buffer_.size() + data.size() > kIoChunk) {
    Flush();
    if (data.size() > kIoChunk) {
      if (!WriteAll(fd_, data)) Fail("write");
      return;
    }
  }
  buffer_.append(data);
}

void TAtomicFileWriter::Commit() {
  Flush();
  if (::fsync(fd_) != 0) Fail("write");
  if (::close(fd_) != 0) {
    fd_ = -1;
    ::unlink(temp_.c_str());
    throw EFileError(Format("Cannot write %s: %s", {name_, SystemError()}));
  }
  fd_ = -1;
  if (::rename(temp_.c_str(), name_.c_str()) != 0) {
    const std::string reason = SystemError();
    ::unlink(temp_.c_str());
    throw EFileError(Format("Cannot replace %s: %s", {name_, reason}));
  }
}

void WriteFileAtomic(const std::string& name, std::string_view data) {
  TAtomicFileWriter writer(name);
  writer.Write(data);
  writer.Commit();
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
  // Read through one reused buffer: the lines are the only large allocation, which matters for
  // notes files of several tens of megabytes.
  const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw EFileError(Format("Cannot open %s: %s", {name, SystemError()}));
  std::vector<std::string> lines;
  std::string pending;    // the start of a line that runs past the end of the chunk
  bool after_cr = false;  // the chunk before ended in CR: a LF at the start of this one belongs to it
  std::vector<char> chunk(kIoChunk);
  for (;;) {
    const ssize_t got = ::read(fd, chunk.data(), chunk.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      const std::string reason = SystemError();
      ::close(fd);
      throw EFileError(Format("Cannot read %s: %s", {name, reason}));
    }
    if (got == 0) break;
    std::string_view text(chunk.data(), static_cast<std::size_t>(got));
    if (after_cr && text.front() == '\n') text.remove_prefix(1);
    after_cr = false;
    while (!text.empty()) {
      const auto end = text.find_first_of("\r\n");
      if (end == std::string_view::npos) {
        pending.append(text);
        break;
      }
      if (pending.empty()) {
        lines.emplace_back(text.substr(0, end));
      } else {
        pending.append(text.substr(0, end));
        lines.push_back(std::move(pending));
        pending.clear();
      }
      const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
      after_cr = text[end] == '\r' && end + 1 == text.size();
      text.remove_prefix(end + (crlf ? 2 : 1));
    }
  }
  ::close(fd);
  if (!pending.empty()) lines.push_back(std::move(pending));
  return lines;
}

void SaveLines(const std::string& name, const std::vector<std::string>& lines) {
  TAtomicFileWriter writer(name);
  for (const auto& line : lines) {
    writer.Write(line);
    writer.Write("\r\n");
  }
  writer.Commit();
}

}  // namespace vaq
