// Detection of a form's notation, the resource header, and the conversions to and from the
// resource form.
#include <array>
#include <cstring>
#include <string_view>

#include "host/core/text.h"
#include "host/framework/formstream.h"

namespace vaq {
namespace {

constexpr std::string_view kHeaderStart("\xFF\x0A\x00", 3);
constexpr std::string_view kSignature = "TPF0";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::uint16_t kResourceFlags = 0x1030;

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool IsIdentifierChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

std::string_view SkipBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

// Whether `text` starts with the keyword in any letter case, followed by a character that
// cannot continue it.
bool StartsWithKeyword(std::string_view text, std::string_view keyword) {
  if (text.size() <= keyword.size()) return false;
  for (std::size_t i = 0; i < keyword.size(); ++i) {
    if ((text[i] | 0x20) != keyword[i]) return false;
  }
  return !IsIdentifierChar(text[keyword.size()]);
}

void AppendLittleEndian(std::string& bytes, std::uint32_t value, int count) {
  for (int i = 0; i < count; ++i) bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// Reads a whole binary form from the reader's position, values skipped, with the same nesting
// limit as the conversion to text: components, lists and collections together. Returns the
// root's class name.
class FormValidator {
 public:
  explicit FormValidator(TFormReader& reader) : reader_(reader) {}

  std::string Run() {
    reader_.ReadSignature();
    return Component(1);
  }

 private:
  void CheckNesting(int depth, std::size_t position) {
    if (depth > kMaxFormNesting) {
      throw EReadError(Format("Nesting deeper than %d levels at offset %d",
                              {std::int64_t{kMaxFormNesting}, static_cast<std::int64_t>(position)}));
    }
  }

  std::string Component(int depth) {
    CheckNesting(depth, reader_.Position());
    std::uint8_t flags;
    std::int32_t childPos;
    reader_.ReadPrefix(flags, childPos);
    std::string className = reader_.ReadStr();
    reader_.ReadStr();
    Properties(depth);
    while (!reader_.EndOfList()) Component(depth + 1);
    reader_.ReadListEnd();
    return className;
  }

  // Properties up to and including the 0 that ends them.
  void Properties(int depth) {
    while (!reader_.EndOfList()) {
      reader_.ReadStr();
      Value(depth);
    }
    reader_.ReadListEnd();
  }

  void Value(int depth) {
    const std::size_t position = reader_.Position();
    const TValueType kind = reader_.NextValue();
    if (kind == TValueType::vaList) {
      reader_.ReadValue();
      CheckNesting(depth + 1, position);
      while (!reader_.EndOfList()) Value(depth + 1);
      reader_.ReadListEnd();
    } else if (kind == TValueType::vaCollection) {
      reader_.ReadValue();
      CheckNesting(depth + 1, position);
      while (!reader_.EndOfList()) {
        const TValueType next = reader_.NextValue();
        if (next == TValueType::vaInt8 || next == TValueType::vaInt16 || next == TValueType::vaInt32) {
          reader_.ReadInteger();
        }
        reader_.CheckValue(TValueType::vaList);
        Properties(depth + 1);
      }
      reader_.ReadListEnd();
    } else {
      reader_.SkipValue();
    }
  }

  TFormReader& reader_;
};

}  // namespace

TStreamOriginalFormat TestStreamFormat(const TMemoryStream& Stream) {
  return TestFormFormat(Stream.Rest());
}

TStreamOriginalFormat TestFormFormat(std::string_view bytes) {
  if (bytes.starts_with(kHeaderStart) || bytes.starts_with(kSignature))
    return TStreamOriginalFormat::sofBinary;
  bytes = SkipBlanks(bytes);
  if (bytes.starts_with(kUtf8Bom)) bytes = SkipBlanks(bytes.substr(kUtf8Bom.size()));
  for (const std::string_view keyword : {"object", "inherited", "inline"}) {
    if (StartsWithKeyword(bytes, keyword)) return TStreamOriginalFormat::sofText;
  }
  return TStreamOriginalFormat::sofUnknown;
}

// The name is written in ASCII upper case; a zero byte in it (only in a damaged form) would end
// the name early and is written as "_".
void WriteResourceHeader(TMemoryStream& Output, std::string_view RootClass, std::uint32_t Size) {
  std::string header(kHeaderStart);
  for (char c : RootClass) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    header.push_back(c == '\0' ? '_' : c);
  }
  header.push_back('\0');
  AppendLittleEndian(header, kResourceFlags, 2);
  AppendLittleEndian(header, Size, 4);
  Output.Write(header);
}

bool HasResourceHeader(const TMemoryStream& Stream) {
  return Stream.Rest().starts_with(kHeaderStart);
}

void SkipResourceHeader(TMemoryStream& Stream) {
  if (!HasResourceHeader(Stream)) return;
  const std::size_t start = Stream.Position();
  try {
    TFormReader reader(Stream, 256);
    reader.ReadResHeader();
  } catch (...) {
    Stream.Seek(start);
    throw;
  }
}

// A binary form is read completely before anything is written, so that a damaged form never
// reaches Output. A resource header that comes with the form is copied as it is.
TStreamOriginalFormat ObjectTextToResource(TMemoryStream& Input, TMemoryStream& Output) {
  switch (TestStreamFormat(Input)) {
    case TStreamOriginalFormat::sofUnknown:
      return TStreamOriginalFormat::sofUnknown;
    case TStreamOriginalFormat::sofText: {
      TMemoryStream binary;
      ObjectTextToBinary(Input, binary);
      binary.Seek(0);
      std::string rootClass;
      {
        TFormReader reader(binary, 512);
        reader.ReadSignature();
        std::uint8_t flags;
        std::int32_t childPos;
        reader.ReadPrefix(flags, childPos);
        rootClass = reader.ReadStr();
      }
      WriteResourceHeader(Output, rootClass, static_cast<std::uint32_t>(binary.Size()));
      Output.Write(binary.Data());
      return TStreamOriginalFormat::sofText;
    }
    case TStreamOriginalFormat::sofBinary:
      break;
  }
  const std::size_t start = Input.Position();
  const bool hasHeader = HasResourceHeader(Input);
  std::size_t formStart = start;
  std::size_t end = start;
  std::string rootClass;
  try {
    TFormReader reader(Input);
    reader.ReadResHeader();
    formStart = reader.Position();
    rootClass = FormValidator(reader).Run();
    end = reader.Position();
  } catch (...) {
    Input.Seek(start);
    throw;
  }
  const std::string_view form = Input.All().substr(formStart, end - formStart);
  if (hasHeader) {
    Output.Write(Input.All().substr(start, formStart - start));
  } else {
    WriteResourceHeader(Output, rootClass, static_cast<std::uint32_t>(form.size()));
  }
  Output.Write(form);
  Input.Seek(end);
  return TStreamOriginalFormat::sofBinary;
}

void ObjectResourceToText(TMemoryStream& Input, TMemoryStream& Output) {
  const std::size_t start = Input.Position();
  SkipResourceHeader(Input);
  try {
    ObjectBinaryToText(Input, Output);
  } catch (...) {
    Input.Seek(start);
    throw;
  }
}

void ObjectResourceToText(TMemoryStream& Input, const TOutputSink& Sink) {
  const std::size_t start = Input.Position();
  SkipResourceHeader(Input);
  try {
    ObjectBinaryToText(Input, Sink);
  } catch (...) {
    Input.Seek(start);
    throw;
  }
}

}  // namespace vaq
