// The in-memory byte stream of form streaming.
#include <algorithm>
#include <cstring>

#include "host/core/files.h"
#include "host/framework/formstream.h"

namespace vaq {

EParserError::EParserError(int line, const std::string& message)
    : EVaqError("Line " + std::to_string(line) + ": " + message), line_(line) {}

void TMemoryStream::LoadFromFile(const std::string& FileName) {
  Bytes = ReadFileBytes(FileName);
  Pos = 0;
}

void TMemoryStream::SaveToFile(const std::string& FileName) const {
  WriteFileAtomic(FileName, Bytes);
}

void TMemoryStream::CopyFrom(TMemoryStream& Source) {
  const std::string_view rest = Source.Rest();
  Write(rest.data(), rest.size());
  Source.Seek(Source.Size());
}

std::size_t TMemoryStream::Read(void* Buffer, std::size_t Count) {
  if (Pos >= Bytes.size()) return 0;
  const std::size_t n = std::min(Count, Bytes.size() - Pos);
  std::memcpy(Buffer, Bytes.data() + Pos, n);
  Pos += n;
  return n;
}

void TMemoryStream::Write(const void* Buffer, std::size_t Count) {
  if (Pos == Bytes.size()) {
    Bytes.append(static_cast<const char*>(Buffer), Count);
  } else {
    if (Pos + Count > Bytes.size()) Bytes.resize(Pos + Count);
    std::memcpy(Bytes.data() + Pos, Buffer, Count);
  }
  Pos += Count;
}

}  // namespace vaq
