// File services: names, existence, copying, whole-file reading and safe replacement, one file at
// a time or in batches.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/core/types.h"

namespace vaq {

bool FileExists(const std::string& name);
// Deletes a file; false when it did not exist or could not be deleted.
bool DeleteFile(const std::string& name);
// Copies `from` to `to`, replacing `to`. Raises EFileError naming the file that failed.
void CopyFile(const std::string& from, const std::string& to);
// Creates a folder and all its missing parents. Raises EFileError on failure.
void ForceDirectories(const std::string& dir);

// Name parts. Both '/' and '\\' separate folders, so that paths written on Windows work too.
std::string ExtractFilePath(std::string_view name);  // folder with its trailing separator
std::string ExtractFileName(std::string_view name);  // name without folder
std::string ExtractFileExt(std::string_view name);   // ".ext" of the name part, or empty
std::string ChangeFileExt(std::string_view name, std::string_view ext);
std::string IncludeTrailingPathDelimiter(std::string_view dir);

// The whole file as bytes. Raises EFileError naming the file when it cannot be read.
std::string ReadFileBytes(const std::string& name);

// How every file is replaced: the new contents go to a temporary file in the target's folder
// (an unnamed one where the file system can make one; it gets a name just before the rename), are
// flushed to disk and renamed over the target. A kill or a full disk at any moment leaves the
// target old or new, never truncated. A named temporary is called "<target>.~vaq" plus 8 hex
// digits and is locked while its writer lives; one that a killed process left behind is removed
// by the next replacement in that folder. A replaced file is created anew (mode 0644 less the
// umask).

// Replaces the file with `data`. Raises EFileError naming the file when it cannot be written; the
// old file is then unchanged.
void WriteFileAtomic(const std::string& name, std::string_view data);

class TTempFile;  // a temporary file on its way to replacing a target (files.cpp)

// Writes a file atomically piece by piece through a buffer; Commit flushes it and renames it over
// the target. Destroyed without Commit (or after a failure), the target stays as it was.
// Raises EFileError naming the target.
class TAtomicFileWriter {
 public:
  explicit TAtomicFileWriter(std::string name);
  ~TAtomicFileWriter();
  TAtomicFileWriter(const TAtomicFileWriter&) = delete;
  TAtomicFileWriter& operator=(const TAtomicFileWriter&) = delete;

  void Write(std::string_view data);
  void Commit();

 private:
  void Flush();

  std::unique_ptr<TTempFile> temp_;
  std::string buffer_;
};

// A batch of atomic writes: the new contents of several files, replaced together once the work
// that made them is complete. Commit writes every file to its temporary, flushes them to disk
// together (a few files one by one, back to back; more with one sync of each file system they are
// on), renames them over their targets in the order they were added and flushes each folder once:
// one round of disk waits for the whole batch instead of one per file. Each file ends old or new on
// its own; a batch is no transaction over its files.
class TAtomicWriteBatch {
 public:
  struct TEntry {
    std::string Name;
    std::string Data;
    std::optional<TDateTime> Date;  // the modification date the file gets; none: the time of writing
  };

  TAtomicWriteBatch();
  ~TAtomicWriteBatch();  // what was not committed is dropped
  TAtomicWriteBatch(const TAtomicWriteBatch&) = delete;
  TAtomicWriteBatch& operator=(const TAtomicWriteBatch&) = delete;
  TAtomicWriteBatch(TAtomicWriteBatch&&) noexcept = default;
  TAtomicWriteBatch& operator=(TAtomicWriteBatch&&) noexcept = default;

  // The new contents of file `Name`; a file added before under the same name is replaced.
  void Add(std::string Name, std::string Data, std::optional<TDateTime> Date = std::nullopt);
  // Takes over the files of `Other`, which is empty afterwards, as if they were added here in order.
  void Append(TAtomicWriteBatch& Other);
  // What the batch holds for `Name` (the name as added), or nullptr.
  const TEntry* Find(std::string_view Name) const;
  // The names of the files, in the order they were added.
  std::vector<std::string> Names() const;
  bool Empty() const { return entries_.empty(); }
  std::size_t Count() const { return entries_.size(); }
  std::size_t Bytes() const { return bytes_; }

  // Replaces the files; the batch is empty afterwards. Raises EFileError naming the file that
  // failed: when a file could not be written, none was replaced; when a rename failed, the files
  // before it are new and the others old. The files that were not replaced stay in the batch, in
  // order and with their contents, for the caller to try again or Clear.
  void Commit();
  void Clear();

 private:
  std::vector<TEntry> entries_;
  std::size_t bytes_ = 0;
  std::vector<std::string> cleanFolders_;  // folders this batch has already rid of stale temporaries
};

// Lines of a text file; CR LF, LF and a lone CR all end a line; no line terminators are kept.
std::vector<std::string> LoadLines(const std::string& name);
std::vector<std::string> SplitLines(std::string_view text);
// Writes the lines, each followed by CR LF, atomically as WriteFileAtomic.
void SaveLines(const std::string& name, const std::vector<std::string>& lines);

}  // namespace vaq
