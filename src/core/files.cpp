// File services.
#include "host/core/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <utility>

#include "host/core/conversions.h"
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

// Named temporaries: the target's name, this marker and 8 hex digits.
constexpr std::string_view kTempMarker = ".~vaq";
constexpr std::size_t kTempDigits = 8;

std::string FolderOf(const std::string& name) {
  const std::string folder = ExtractFilePath(name);
  return folder.empty() ? std::string(".") : folder;
}

bool IsTempName(std::string_view name) {
  if (name.size() <= kTempMarker.size() + kTempDigits) return false;
  const std::string_view digits = name.substr(name.size() - kTempDigits);
  return name.substr(name.size() - kTempDigits - kTempMarker.size(), kTempMarker.size()) == kTempMarker &&
         digits.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

// A name for a temporary of `target`. It need not be unpredictable, only seldom taken: a name in
// use is refused by the file system and another is tried. The clock, the process and the caller's
// address make two at once unlikely.
std::string TempNameFor(const std::string& target, const void* caller) {
  const auto now = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  std::uint64_t mix =
      now ^ (static_cast<std::uint64_t>(::getpid()) << 32) ^ reinterpret_cast<std::uintptr_t>(caller);
  mix ^= mix >> 33;
  mix *= 0xff51afd7ed558ccdULL;
  mix ^= mix >> 33;
  char digits[kTempDigits + 1];
  std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(mix));
  return target + std::string(kTempMarker) + digits;
}

// Removes the temporaries in `folder` that no living writer holds: a writer keeps its temporary
// locked, so a lock that can be taken belongs to a process that died before its rename.
void RemoveStaleTemporaries(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  const std::string prefix = IncludeTrailingPathDelimiter(folder);
  while (const dirent* entry = ::readdir(dir)) {
    if (!IsTempName(entry->d_name)) continue;
    const std::string name = prefix + entry->d_name;
    const int fd = ::open(name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat held {
    }, named{};
    // The name must still be the file that was locked: a writer may have renamed it meanwhile.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) &&
        ::lstat(name.c_str(), &named) == 0 && held.st_ino == named.st_ino && held.st_dev == named.st_dev) {
      ::unlink(name.c_str());
    }
    ::close(fd);
  }
  ::closedir(dir);
}

// Flushes a folder's entries (the renames done in it) to disk. A file system that cannot flush a
// folder has nothing to wait for.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

// A temporary file on its way to replacing `target`. Unnamed (O_TMPFILE) where the file system
// and /proc allow linking it in later, else named; locked in both cases. Destroyed before Replace,
// it leaves nothing behind.
class TTempFile {
 public:
  explicit TTempFile(std::string target) : target_(std::move(target)) {
    const std::string folder = FolderOf(target_);
    if (::access("/proc/self/fd", X_OK) == 0) {
      fd_ = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0644);
      if (fd_ >= 0) ::flock(fd_, LOCK_EX);
    }
    while (fd_ < 0) {
      temp_ = TempNameFor(target_, this);
      fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
      if (fd_ < 0) {
        if (errno == EEXIST) continue;
        temp_.clear();
        throw EFileError(Format("Cannot write %s: %s", {target_, SystemError()}));
      }
      // A cleaner may have taken the new file for stale between its creation and the lock: then
      // it is unlinked, and another name is tried.
      struct stat info {};
      if (::flock(fd_, LOCK_EX) != 0 || ::fstat(fd_, &info) != 0 || info.st_nlink == 0) {
        ::close(fd_);
        fd_ = -1;
      }
    }
  }

  ~TTempFile() { Discard(); }
  TTempFile(const TTempFile&) = delete;
  TTempFile& operator=(const TTempFile&) = delete;

  const std::string& Target() const { return target_; }
  int Fd() const { return fd_; }

  void Write(std::string_view data) {
    if (!WriteAll(fd_, data)) Fail("write");
  }

  void SetDate(TDateTime date) {
    try {
      SetDateOfFd(fd_, date, target_);
    } catch (...) {
      Discard();
      throw;
    }
  }

  // Starts writing the data to disk without waiting, so that the waits of several files overlap.
  void StartSync() { ::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE); }

  void Sync() {
    if (::fsync(fd_) != 0) Fail("write");
  }

  // Gives an unnamed file its name and renames it over the target, then closes it: the lock is held
  // until the temporary name is gone, so that no cleaner takes it for stale. The data is on disk
  // already (Sync), so closing cannot lose it.
  void Replace() {
    if (temp_.empty()) {
      const std::string link = "/proc/self/fd/" + std::to_string(fd_);
      for (;;) {
        temp_ = TempNameFor(target_, this);
        if (::linkat(AT_FDCWD, link.c_str(), AT_FDCWD, temp_.c_str(), AT_SYMLINK_FOLLOW) == 0) break;
        if (errno == EEXIST) continue;
        temp_.clear();
        Fail("write");
      }
    }
    if (::rename(temp_.c_str(), target_.c_str()) != 0) Fail("replace");
    temp_.clear();
    ::close(std::exchange(fd_, -1));
  }

 private:
  void Discard() {
    if (fd_ >= 0) ::close(std::exchange(fd_, -1));
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
  }

  [[noreturn]] void Fail(const char* what) {
    const std::string reason = SystemError();
    Discard();
    throw EFileError(Format("Cannot %s %s: %s", {what, target_, reason}));
  }

  std::string target_;
  std::string temp_;  // empty while the file has no name
  int fd_ = -1;
};

namespace {

// From this many files on, a batch is flushed with one sync of each file system it writes to
// instead of one per file: a file system commits its journal once for all then, where flushes of
// single files each wait for a commit of their own. The other way round, a small batch does not
// wait for what other programs have left unwritten.
constexpr std::size_t kSyncWholeFileSystemFrom = 8;

void FlushToDisk(const std::vector<std::unique_ptr<TTempFile>>& temps) {
  if (temps.size() < kSyncWholeFileSystemFrom) {
    for (const auto& temp : temps) temp->StartSync();
    for (const auto& temp : temps) temp->Sync();
    return;
  }
  std::vector<dev_t> synced;
  for (const auto& temp : temps) {
    struct stat info {};
    if (::fstat(temp->Fd(), &info) != 0) {
      temp->Sync();
      continue;
    }
    if (std::ranges::find(synced, info.st_dev) != synced.end()) continue;
    // A failure reported here may be another file's on the same file system: the batch fails
    // rather than replace files that may not be on the disk.
    if (::syncfs(temp->Fd()) != 0)
      throw EFileError(Format("Cannot write %s: %s", {temp->Target(), SystemError()}));
    synced.push_back(info.st_dev);
  }
}

}  // namespace

TAtomicFileWriter::TAtomicFileWriter(std::string name) {
  RemoveStaleTemporaries(FolderOf(name));
  temp_ = std::make_unique<TTempFile>(std::move(name));
  buffer_.reserve(kIoChunk);
}

TAtomicFileWriter::~TAtomicFileWriter() = default;

void TAtomicFileWriter::Flush() {
  temp_->Write(buffer_);
  buffer_.clear();
}

void TAtomicFileWriter::Write(std::string_view data) {
  if (!temp_) throw EFileError("The file is written already");
  if (buffer_.size() + data.size() > kIoChunk) {
    Flush();
    if (data.size() > kIoChunk) {
      temp_->Write(data);
      return;
    }
  }
  buffer_.append(data);
}

void TAtomicFileWriter::Commit() {
  if (!temp_) throw EFileError("The file is written already");
  Flush();
  temp_->Sync();
  temp_->Replace();
  const std::string folder = FolderOf(temp_->Target());
  temp_.reset();
  SyncFolder(folder);
}

void WriteFileAtomic(const std::string& name, std::string_view data) {
  TAtomicFileWriter writer(name);
  writer.Write(data);
  writer.Commit();
}

TAtomicWriteBatch::TAtomicWriteBatch() = default;
TAtomicWriteBatch::~TAtomicWriteBatch() = default;

void TAtomicWriteBatch::Add(std::string Name, std::string Data, std::optional<TDateTime> Date) {
  for (TEntry& entry : entries_) {
    if (entry.Name != Name) continue;
    bytes_ = bytes_ - entry.Data.size() + Data.size();
    entry.Data = std::move(Data);
    entry.Date = Date;
    return;
  }
  bytes_ += Data.size();
  entries_.push_back({std::move(Name), std::move(Data), Date});
}

void TAtomicWriteBatch::Append(TAtomicWriteBatch& Other) {
  for (TEntry& entry : Other.entries_) Add(std::move(entry.Name), std::move(entry.Data), entry.Date);
  Other.Clear();
}

const TAtomicWriteBatch::TEntry* TAtomicWriteBatch::Find(std::string_view Name) const {
  for (const TEntry& entry : entries_) {
    if (entry.Name == Name) return &entry;
  }
  return nullptr;
}

std::vector<std::string> TAtomicWriteBatch::Names() const {
  std::vector<std::string> names;
  names.reserve(entries_.size());
  for (const TEntry& entry : entries_) names.push_back(entry.Name);
  return names;
}

void TAtomicWriteBatch::Clear() {
  entries_.clear();
  bytes_ = 0;
}

void TAtomicWriteBatch::Commit() {
  std::vector<std::string> folders;
  for (const TEntry& entry : entries_) {
    std::string folder = FolderOf(entry.Name);
    if (std::ranges::find(folders, folder) == folders.end()) folders.push_back(std::move(folder));
  }
  for (const std::string& folder : folders) {
    if (std::ranges::find(cleanFolders_, folder) != cleanFolders_.end()) continue;
    RemoveStaleTemporaries(folder);
    cleanFolders_.push_back(folder);
  }
  // Every file is written before any is replaced: a failure here leaves all targets as they were.
  // The contents stay in the batch until their file is replaced, so that what a failure left
  // undone can be tried again.
  std::vector<std::unique_ptr<TTempFile>> temps;
  temps.reserve(entries_.size());
  std::size_t replaced = 0;
  try {
    for (const TEntry& entry : entries_) {
      temps.push_back(std::make_unique<TTempFile>(entry.Name));
      temps.back()->Write(entry.Data);
      if (entry.Date) temps.back()->SetDate(*entry.Date);
    }
    FlushToDisk(temps);
    for (; replaced < temps.size(); ++replaced) temps[replaced]->Replace();
  } catch (...) {
    entries_.erase(entries_.begin(), entries_.begin() + static_cast<std::ptrdiff_t>(replaced));
    bytes_ = 0;
    for (const TEntry& entry : entries_) bytes_ += entry.Data.size();
    throw;
  }
  entries_.clear();
  bytes_ = 0;
  for (const std::string& folder : folders) SyncFolder(folder);
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
    const std::string_view text(chunk.data(), static_cast<std::size_t>(got));
    std::size_t at = after_cr && text.front() == '\n' ? 1 : 0;
    after_cr = false;
    // The next CR and the next LF, each looked for again once passed: two memchr runs over the
    // chunk (find_first_of would test every character against the pair with a call of its own).
    std::size_t cr = text.find('\r', at), lf = text.find('\n', at);
    while (at < text.size()) {
      if (cr < at) cr = text.find('\r', at);
      if (lf < at) lf = text.find('\n', at);
      const std::size_t end = std::min(cr, lf);
      if (end == std::string_view::npos) {
        pending.append(text.substr(at));
        break;
      }
      if (pending.empty()) {
        lines.emplace_back(text.substr(at, end - at));
      } else {
        pending.append(text.substr(at, end - at));
        lines.push_back(std::move(pending));
        pending.clear();
      }
      const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
      after_cr = text[end] == '\r' && end + 1 == text.size();
      at = end + (crlf ? 2 : 1);
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
