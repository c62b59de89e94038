// The in-memory byte stream of form streaming.
#include <algorithm>
#include <cstring>

#include "host/core/files.h"
#include "host/framework/formstream.h"

namespace vaq {

EParserError::EParserError(int line, const std::string& message)
    : EVaqError("Line " + std::to_string(line) + ": " + message), line_(line) {}

TMemoryStream TMemoryStream::View(std::string_view Bytes) {
  TMemoryStream stream;
  if (!Bytes.empty()) stream.Viewed = Bytes;
  return stream;
}

void TMemoryStream::Own() {
  if (!IsView()) return;
  Bytes.assign(Viewed);
  Viewed = {};
}

void TMemoryStream::LoadFromFile(const std::string& FileName) {
  Bytes = ReadFileBytes(FileName);
  Viewed = {};
  Pos = 0;
}

void TMemoryStream::SaveToFile(const std::string& FileName) const {
  WriteFileAtomic(FileName, All());
}

void TMemoryStream::CopyFrom(TMemoryStream& Source) {
  const std::string_view rest = Source.Rest();
  Write(rest.data(), rest.size());
  Source.Seek(Source.Size());
}

std::size_t TMemoryStream::Read(void* Buffer, std::size_t Count) {
  const std::string_view all = All();
  if (Pos >= all.size()) return 0;
  const std::size_t n = std::min(Count, all.size() - Pos);
  std::memcpy(Buffer, all.data() + Pos, n);
  Pos += n;
  return n;
}

void TMemoryStream::Write(const void* Buffer, std::size_t Count) {
  Own();
  if (Pos == Bytes.size()) {
    Bytes.append(static_cast<const char*>(Buffer), Count);
  } else {
    if (Pos + Count > Bytes.size()) Bytes.resize(Pos + Count);
    std::memcpy(Bytes.data() + Pos, Buffer, Count);
  }
  Pos += Count;
}

}  // namespace vaq
