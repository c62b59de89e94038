// Form streaming: the textual object notation of form files, their binary form, and the reader
// and writer of the binary form. All integers of the binary form are little-endian.
//
// Binary form: "TPF0", then the root component. Component: an optional prefix byte 0xF0 | flags
// (1 inherited, 2 child position, 4 inline; with 2 an integer value with the position follows),
// class name and component name as short strings (length byte + bytes), its properties, a 0 byte,
// its child components, a 0 byte. Property: the name as a short string ("Font.Name"), then a
// value: a kind byte (TValueType) and its data.
// Resource form: byte 0xFF, 16-bit 10, the root class name in upper case zero-terminated, 16-bit
// flags 0x1030, 32-bit size of the binary form, then the binary form.
//
// Text notation:
//   component  = ("object" | "inherited" | "inline") [name ":"] class ["[" integer "]"]
//                property* component* "end"
//   property   = dotted-name "=" value
//   value      = integer | float | string | identifier | set | list | collection | binary
//   integer    = ["-"] digits | "$" hex-digits  (the smallest of int8/16/32/64 that holds it)
//   float      = ["-"] digits ["." digits] [("e"|"E") ["+"|"-"] digits] [suffix], with a ".", an
//                exponent or a suffix: "s" single, "d" date, "c" currency (the number is the
//                stored value x 10000), none: extended
//   string     = pieces joined by "+"; piece = 'text' ('' is one apostrophe) | #decimal | #$hex
//   identifier = dotted name; True, False, nil and Null are the values 9, 8, 13 and 0
//   set        = "[" [name {"," name}] "]"
//   list       = "(" value* ")"
//   collection = "<" { "item" ["[" integer "]"] property* "end" } ">"
//   binary     = "{" hex digits, white space anywhere "}"
// Keywords are case-insensitive; white space between tokens is optional.
//
// Guarantees: text -> binary -> formatted text -> binary reproduces the binary form byte for byte
// for every form the parser can produce (its values are in the canonical kinds of TFormWriter).
// Any input gives a result or an exception (EParserError with the line, EReadError), never a
// crash, a hang or unbounded memory; nesting is limited (kMaxFormNesting). The property tests and
// the fuzz targets hold the code to this, fed by the seeded form generator of tests/support.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "host/core/errors.h"

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
inline constexpr std::uint8_t kLastValueType = 20;

// Component flags of the prefix.
enum TFilerFlag : std::uint8_t { ffInherited = 1, ffChildPos = 2, ffInline = 4 };

// The notation a stream turned out to hold.
enum class TStreamOriginalFormat { sofUnknown, sofBinary, sofText };

// Components, lists and collections nested deeper than this are refused.
inline constexpr int kMaxFormNesting = 500;

// Form text that cannot be parsed: "Line 12: ')' expected but 'end' found".
class EParserError : public EVaqError {
 public:
  EParserError(int line, const std::string& message);
  int Line() const { return line_; }

 private:
  int line_;
};

// A binary form that cannot be read: truncated, a bad signature, an unknown value kind, a length
// that runs past the end, nesting too deep.
class EReadError : public EVaqError {
 public:
  using EVaqError::EVaqError;
};

// An in-memory byte stream with a position. It owns its bytes, or it is a view: it reads bytes
// that lie elsewhere (a mapped file, say) where they lie, until something writes to it.
class TMemoryStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::string bytes) : Bytes(std::move(bytes)) {}
  // A stream that reads `Bytes` without copying them; they must outlive the stream and its copies.
  // Reading, Rest(), All() and Size() use them where they lie; the first Write or Data() copies
  // them into the stream, which owns its bytes from then on.
  static TMemoryStream View(std::string_view Bytes);

  // Raise EFileError naming the file.
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName) const;
  // Copies the rest of `Source` (from its position) to this stream's position.
  void CopyFrom(TMemoryStream& Source);

  // Reads up to `Count` bytes; returns how many were read.
  std::size_t Read(void* Buffer, std::size_t Count);
  // Writes at the position, growing the stream as needed.
  void Write(const void* Buffer, std::size_t Count);
  void Write(std::string_view Text) { Write(Text.data(), Text.size()); }
  void Seek(std::size_t Position) { Pos = Position; }
  std::size_t Position() const { return Pos; }
  std::size_t Size() const { return All().size(); }
  void Clear() {
    Bytes.clear();
    Viewed = {};
    Pos = 0;
  }
  // All the bytes, from the start.
  std::string_view All() const { return IsView() ? Viewed : std::string_view(Bytes); }
  // The bytes from the position to the end.
  std::string_view Rest() const {
    const std::string_view all = All();
    return Pos < all.size() ? all.substr(Pos) : std::string_view();
  }
  // The stream's own bytes, to change or to take; a view copies its bytes first.
  std::string& Data() {
    Own();
    return Bytes;
  }
  const std::string& Data() const = delete;  // All() reads a view without copying it
  bool IsView() const { return Viewed.data() != nullptr; }

 private:
  void Own();

  std::string Bytes;
  std::string_view Viewed;  // the bytes of a view; no data for a stream that owns its bytes
  std::size_t Pos = 0;
};

// The notation of the bytes from the stream's position, without reading them: binary when they
// start with a resource header or "TPF0", text when they start (after white space and a UTF-8
// byte-order mark) with "object", "inherited" or "inline", unknown otherwise.
TStreamOriginalFormat TestStreamFormat(const TMemoryStream& Stream);
TStreamOriginalFormat TestFormFormat(std::string_view Bytes);

// Reads a form in text or binary notation (binary with or without resource header) from `Input`'s
// position and writes the resource form to `Output`'s position. Raises EParserError on text that
// cannot be parsed and EReadError on a binary form that cannot be read; input that is neither
// notation gives sofUnknown and writes nothing.
TStreamOriginalFormat ObjectTextToResource(TMemoryStream& Input, TMemoryStream& Output);
// A binary form (with or without resource header) from `Input`'s position to formatted text.
void ObjectResourceToText(TMemoryStream& Input, TMemoryStream& Output);
// The building blocks, without the resource header. ObjectTextToBinary reads the root object up to
// its final "end" and leaves `Input`'s position behind it and the white space after it: text that
// follows (a second copy of the root pasted behind the first one, say) is not
// part of the form. Strings with a "#" code above 255 become wide
// strings; their quoted 8-bit runs are converted with the code page of the thread locale.
void ObjectTextToBinary(TMemoryStream& Input, TMemoryStream& Output);
void ObjectBinaryToText(TMemoryStream& Input, TMemoryStream& Output);
// ObjectTextToBinary over text that lies elsewhere (a mapped file, say), without copying it:
// appends the binary form to `Binary` and returns how many bytes of `Text` the root object and the
// white space behind it took.
std::size_t ObjectTextToBinary(std::string_view Text, std::string& Binary);

// Where a conversion hands its output on piece by piece (to a file being written, say), so that a
// large form's output is never held whole in memory. A piece ends between two properties or
// components once it holds kOutputPiece bytes (the last one earlier).
using TOutputSink = std::function<void(std::string_view Piece)>;
inline constexpr std::size_t kOutputPiece = std::size_t{1} << 20;
// ObjectTextToBinary over text that lies elsewhere, the binary form handed to `Sink` as it is made;
// returns how many bytes of `Text` the root object and the white space behind it took. On an error
// the pieces handed on so far are incomplete: whoever holds them discards them.
std::size_t ObjectTextToBinary(std::string_view Text, const TOutputSink& Sink);
// ObjectBinaryToText and ObjectResourceToText with the text handed to `Sink` as it is made. On an
// error Input's position is left as it was, and the pieces handed on so far are incomplete.
void ObjectBinaryToText(TMemoryStream& Input, const TOutputSink& Sink);
void ObjectResourceToText(TMemoryStream& Input, const TOutputSink& Sink);

// After ObjectTextToBinary (or ObjectTextToResource on text): the line, counted from 1 at the start
// of the stream, where text other than white space begins behind the root object; 0 when none does.
int IgnoredTextLine(const TMemoryStream& Stream);
// The same for text of which the root object took `Consumed` bytes.
int IgnoredTextLine(std::string_view Text, std::size_t Consumed);
// The warning about that text: "FILE: Line N: text after the form's final 'end' ...".
std::string IgnoredTextWarning(std::string_view FileName, int Line);

// Resource header: writes one for a binary form of `Size` bytes whose root class is `RootClass`.
void WriteResourceHeader(TMemoryStream& Output, std::string_view RootClass, std::uint32_t Size);
// Whether the bytes from the position start with a resource header (0xFF 0x0A 0x00).
bool HasResourceHeader(const TMemoryStream& Stream);
// Skips a resource header at the position if there is one. Raises EReadError when it is truncated.
void SkipResourceHeader(TMemoryStream& Stream);

// Reads the binary form from a stream's bytes where they lie, from the stream's position; the
// stream must not be written to while the reader reads it. Every read checks its bounds: reading
// past the end, a bad signature, an unknown value kind, a value of another kind than asked for, or
// a length that runs past the end raises EReadError. The stream's position follows what was
// consumed once the reader is destroyed (or after Sync).
class TFormReader {
 public:
  // BufferSize is accepted for the callers' sake: the reader needs no buffer of its own.
  explicit TFormReader(TMemoryStream& Stream, std::size_t BufferSize = 4096);
  ~TFormReader();
  TFormReader(const TFormReader&) = delete;
  TFormReader& operator=(const TFormReader&) = delete;

  // Skips a resource header if there is one.
  void ReadResHeader();
  // Reads "TPF0".
  void ReadSignature();
  // Reads the optional component prefix; ChildPos is -1 without the child-position flag.
  void ReadPrefix(std::uint8_t& Flags, std::int32_t& ChildPos);
  // A short string: a length byte, then the bytes.
  std::string ReadStr();
  // The kind of the next value, without consuming it.
  TValueType NextValue();
  TValueType ReadValue();
  // Consumes a value kind that must be `Value`.
  void CheckValue(TValueType Value);
  // Whether the next byte is the 0 that ends a list.
  bool EndOfList();
  void ReadListEnd();
  // Values, kind byte included. ReadInteger takes kinds 2-4; ReadInt64 also 19.
  std::int32_t ReadInteger();
  std::int64_t ReadInt64();
  long double ReadFloat();      // 5
  float ReadSingle();           // 15
  std::int64_t ReadCurrency();  // 16: the stored value, currency x 10000
  double ReadDate();            // 17
  // 6 and 12 as they are; 18 and 20 converted with the thread locale's code page.
  std::string ReadString();
  // 18 and 20 (UTF-8 decoded); 6 and 12 converted from the thread locale's code page.
  std::u16string ReadWideString();
  // 7, and 8, 9, 13, 0 as "False", "True", "nil", "Null".
  std::string ReadIdent();
  // 10: the bytes of binary data.
  std::string ReadBinary();
  // Skips one value of any kind, nested values included.
  void SkipValue();
  // Raw bytes.
  void Read(void* Buffer, std::size_t Count);
  std::uint8_t ReadByte();
  std::uint32_t ReadUInt32();

  // Position in the stream of the next byte to be read.
  std::size_t Position() const;
  // Moves the stream's position to Position().
  void Sync();

 private:
  void Fill(std::size_t Needed);

  TMemoryStream& Stream_;
  const char* Buffer_ = nullptr;  // the stream's bytes from Start_ on
  std::size_t Start_ = 0;         // stream position of Buffer_[0]
  std::size_t Next_ = 0;          // index of the next byte in Buffer_
  std::size_t End_ = 0;           // number of the stream's bytes from Start_ on
};

// Writes the binary form. Values are written in the notation's canonical kinds: integers in the
// smallest kind that holds them, 8-bit strings as kind 6 up to 255 bytes and 12 above.
class TFormWriter {
 public:
  void WriteSignature();
  void WritePrefix(std::uint8_t Flags, std::int32_t ChildPos);
  // Prefix, class name and component name. A class name of 240 bytes or more would start with a
  // length byte that reads as a prefix, so such a name always gets a prefix (0xF0 without flags).
  void WriteComponentHeader(std::uint8_t Flags, std::int32_t ChildPos, std::string_view ClassName,
                            std::string_view Name);
  // Raises EVaqError when the text is longer than 255 bytes.
  void WriteStr(std::string_view Text);
  void WriteValue(TValueType Value) { Data_.push_back(static_cast<char>(Value)); }
  void WriteListEnd() { Data_.push_back('\0'); }
  void WriteInteger(std::int64_t Value);
  void WriteFloat(long double Value);
  void WriteSingle(float Value);
  void WriteCurrency(std::int64_t Stored);
  void WriteDate(double Value);
  void WriteString(std::string_view Text);
  void WriteWideString(std::u16string_view Text);
  void WriteUtf8String(std::string_view Utf8);
  // True, False, nil and Null (any letter case) become kinds 9, 8, 13 and 0; other names kind 7.
  void WriteIdent(std::string_view Name);
  void WriteBinary(std::string_view Bytes);
  void WriteRaw(const void* Bytes, std::size_t Count) {
    Data_.append(static_cast<const char*>(Bytes), Count);
  }

  const std::string& Data() const { return Data_; }
  std::string& Data() { return Data_; }

 private:
  void WriteLittleEndian(std::uint64_t Value, int Bytes);
  std::string Data_;
};

}  // namespace vaq
