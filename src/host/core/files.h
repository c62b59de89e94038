// File services: names, existence, copying, whole-file reading and safe replacement.
#pragma once

#include <string>
#include <string_view>
#include <vector>

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
// Replaces the file with `data` atomically: the data goes to a temporary file beside it, which is
// flushed and then renamed over the old file, so a failure never leaves a truncated file behind.
// Raises EFileError naming the file when it cannot be written; the old file is then unchanged.
void WriteFileAtomic(const std::string& name, std::string_view data);

// Writes a file atomically piece by piece: the pieces go through a buffer into a temporary file
// beside the target; Commit flushes and syncs it and renames it over the target. Destroyed without
// Commit (or after a failure), it removes the temporary file and the target stays as it was.
// Raise EFileError naming the target.
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
  [[noreturn]] void Fail(const char* what);

  std::string name_;
  std::string temp_;
  int fd_ = -1;
  std::string buffer_;
};

// Lines of a text file; CR LF, LF and a lone CR all end a line; no line terminators are kept.
std::vector<std::string> LoadLines(const std::string& name);
std::vector<std::string> SplitLines(std::string_view text);
// Writes the lines, each followed by CR LF, atomically as WriteFileAtomic.
void SaveLines(const std::string& name, const std::vector<std::string>& lines);

}  // namespace vaq
