// Mapping between form-file names and notes-file names.
#include "notes/file_names.h"

#include "host/core/text.h"

namespace rux {

std::string FileExtToNoteExt(std::string_view ext) {
  std::string lower = vaq::AnsiLowerCase(ext);
  if (lower == ".rux") return ".ruz";
  if (lower == ".gox") return ".goz";
  return lower;
}

std::string NoteExtToFileExt(std::string_view ext) {
  std::string lower = vaq::AnsiLowerCase(ext);
  if (lower == ".ruz") return ".rux";
  if (lower == ".goz") return ".gox";
  return lower;
}

std::string FileNameToNoteName(std::string_view fileName) {
  // Paths from Windows projects use '\\'; both separators end the folder part.
  const std::size_t separator = fileName.find_last_of("/\\");
  const std::size_t nameStart = separator == std::string_view::npos ? 0 : separator + 1;
  const std::size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos || dot < nameStart) return std::string(fileName);
  std::string result(fileName.substr(0, dot));
  result += FileExtToNoteExt(fileName.substr(dot));
  return result;
}

}  // namespace rux
