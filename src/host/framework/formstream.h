// Form streaming: the textual object notation of form files, their binary form, and the reader
// and writer of the binary form. All integers of the binary form are little-endian.
//
// Binary form: "TPF0", then the root component. Component: optional prefix byte 0xF0|flags
// (1 inherited, 2 child position, 4 inline; with 2 an integer value follows), class name and
// component name as short strings, properties, 0, child components, 0. Property: name as short
// string, then a value: a kind byte (TValueType) and its data.
// Resource form: byte 0xFF, 16-bit 10, the root class name in upper case zero-terminated, 16-bit
// flags 0x1030, 32-bit size, then the binary form.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vaq {

// Value kinds of the binary form.
enum class TValueType : std::uint8_t {
  vaNull = 0,
  vaList = 1,
  vaInt8 = 2,
  vaInt16 = 3,
  vaInt32 = 4,
  vaExtended = 5,
  vaString = 6,
  vaIdent = 7,
  vaFalse = 8,
  vaTrue = 9,
  vaBinary = 10,
  vaSet = 11,
  vaLString = 12,
  vaNil = 13,
  vaCollection = 14,
  vaSingle = 15,
  vaCurrency = 16,
  vaDate = 17,
  vaWString = 18,
  vaInt64 = 19,
  vaUTF8String = 20,
};

// Component flags of the prefix.
enum TFilerFlag : std::uint8_t { ffInherited = 1, ffChildPos = 2, ffInline = 4 };

// The notation a stream turned out to hold.
enum class TStreamOriginalFormat { sofUnknown, sofBinary, sofText };

// An in-memory byte stream with a position.
class TMemoryStream {
 public:
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName) const;
  std::size_t Read(void* Buffer, std::size_t Count);
  void Write(const void* Buffer, std::size_t Count);
  void Seek(std::size_t Position) { Pos = Position; }
  std::size_t Position() const { return Pos; }
  std::size_t Size() const { return Bytes.size(); }
  void Clear() {
    Bytes.clear();
    Pos = 0;
  }
  std::string& Data() { return Bytes; }
  const std::string& Data() const { return Bytes; }

 private:
  std::string Bytes;
  std::size_t Pos = 0;
};

// Reads a form in text or binary notation (binary with or without resource header) from `Input`'s
// position and writes the resource form to `Output`. Raises EVaqError with "Line n: ..." on text
// that cannot be parsed; input that is neither notation gives sofUnknown and writes nothing.
TStreamOriginalFormat ObjectTextToResource(TMemoryStream& Input, TMemoryStream& Output);
// Binary form (with or without resource header) to formatted text.
void ObjectResourceToText(TMemoryStream& Input, TMemoryStream& Output);
// The building blocks, without the resource header.
void ObjectTextToBinary(TMemoryStream& Input, TMemoryStream& Output);
void ObjectBinaryToText(TMemoryStream& Input, TMemoryStream& Output);

// Reads the binary form over a stream through a 4096-byte buffer. Reading past the end, a bad
// signature, an unknown value kind or a length that runs past the end raises EVaqError.
class TFormReader {
 public:
  TFormReader(TMemoryStream& Stream, std::size_t BufferSize = 4096);
  void ReadResHeader();
  void ReadSignature();
  void ReadPrefix(std::uint8_t& Flags, int& ChildPos);
  std::string ReadStr();  // short string
  TValueType NextValue();
  TValueType ReadValue();
  void CheckValue(TValueType Value);
  bool EndOfList();
  void ReadListEnd();
  std::int32_t ReadInteger();
  std::int64_t ReadInt64();
  long double ReadFloat();
  float ReadSingle();
  std::int64_t ReadCurrency();  // value x 10000
  double ReadDate();
  std::string ReadString();         // 8-bit string (kinds 6 and 12)
  std::u16string ReadWideString();  // kinds 18 and 20
  std::string ReadIdent();
  void Read(void* Buffer, std::size_t Count);
};

}  // namespace vaq
