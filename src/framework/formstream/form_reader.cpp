// Reader of the binary form. Bytes are read where the stream holds them; every read checks that
// its bytes are there and every length is checked against the bytes that remain
// before anything is allocated for it, so that no input can crash the reader or make it allocate
// without bound.
#include <algorithm>
#include <array>
#include <cfloat>
#include <cstring>
#include <string_view>

#include "host/core/locale.h"
#include "host/core/text.h"
#include "host/framework/formstream.h"

namespace vaq {
namespace {

static_assert(LDBL_MANT_DIG == 64, "extended values are read as the 80-bit x87 format of long double");

constexpr std::array<std::string_view, kLastValueType + 1> kKindNames = {"Null",
                                                                         "a list",
                                                                         "an 8-bit integer",
                                                                         "a 16-bit integer",
                                                                         "a 32-bit integer",
                                                                         "an extended float",
                                                                         "a string",
                                                                         "an identifier",
                                                                         "False",
                                                                         "True",
                                                                         "binary data",
                                                                         "a set",
                                                                         "a long string",
                                                                         "nil",
                                                                         "a collection",
                                                                         "a single float",
                                                                         "a currency value",
                                                                         "a date",
                                                                         "a wide string",
                                                                         "a 64-bit integer",
                                                                         "a UTF-8 string"};

std::string KindName(std::uint8_t kind) {
  if (kind <= kLastValueType) return std::string(kKindNames[kind]);
  return Format("value kind %d", {std::int64_t{kind}});
}

std::int64_t Offset(std::size_t position) {
  return static_cast<std::int64_t>(position);
}

[[noreturn]] void ThrowUnexpectedEnd(std::size_t position) {
  throw EReadError(Format("Unexpected end of the form at offset %d", {Offset(position)}));
}

[[noreturn]] void ThrowInvalidKind(std::uint8_t kind, std::size_t position) {
  throw EReadError(Format("Invalid value kind %d at offset %d", {std::int64_t{kind}, Offset(position)}));
}

[[noreturn]] void ThrowExpected(std::string_view expected, std::uint8_t found, std::size_t position) {
  throw EReadError(
      Format("Expected %s but found %s at offset %d", {expected, KindName(found), Offset(position)}));
}

[[noreturn]] void ThrowTooLong(std::string_view what, std::uint64_t length, std::size_t position) {
  throw EReadError(Format("%s length %d runs past the end at offset %d",
                          {what, static_cast<std::int64_t>(length), Offset(position)}));
}

[[noreturn]] void ThrowTooDeep(std::size_t position) {
  throw EReadError(Format("Nesting deeper than %d levels at offset %d",
                          {std::int64_t{kMaxFormNesting}, Offset(position)}));
}

template <typename T>
T LoadLittleEndian(const char* bytes) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i) {
    value |= std::uint64_t{static_cast<unsigned char>(bytes[i])} << (8 * i);
  }
  return static_cast<T>(value);
}

bool IsInteger32Kind(TValueType kind) {
  return kind == TValueType::vaInt8 || kind == TValueType::vaInt16 || kind == TValueType::vaInt32;
}

}  // namespace

TFormReader::TFormReader(TMemoryStream& Stream, std::size_t /*BufferSize*/)
    : Stream_(Stream), Start_(Stream.Position()) {
  const std::string_view all = Stream.All();
  const std::size_t begin = std::min(Start_, all.size());
  Buffer_ = all.data() + begin;
  End_ = all.size() - begin;
}

TFormReader::~TFormReader() {
  Stream_.Seek(Position());
}

std::size_t TFormReader::Position() const {
  return Start_ + Next_;
}

void TFormReader::Sync() {
  Stream_.Seek(Position());
}

// Every byte of the stream is at hand: what is missing now is missing for good.
void TFormReader::Fill(std::size_t Needed) {
  if (End_ - Next_ < Needed) ThrowUnexpectedEnd(Position());
}

void TFormReader::Read(void* Buffer, std::size_t Count) {
  if (End_ - Next_ < Count) ThrowUnexpectedEnd(Position());
  if (Count != 0) std::memcpy(Buffer, Buffer_ + Next_, Count);
  Next_ += Count;
}

std::uint8_t TFormReader::ReadByte() {
  if (End_ == Next_) Fill(1);
  return static_cast<std::uint8_t>(Buffer_[Next_++]);
}

std::uint32_t TFormReader::ReadUInt32() {
  if (End_ - Next_ < 4) Fill(4);
  const auto value = LoadLittleEndian<std::uint32_t>(Buffer_ + Next_);
  Next_ += 4;
  return value;
}

void TFormReader::ReadResHeader() {
  if (End_ - Next_ < 3) {
    const std::size_t position = Position();
    if (Stream_.Size() < position + 3) return;  // too short to be a header
    Fill(3);
  }
  const char* bytes = Buffer_ + Next_;
  if (bytes[0] != '\xFF' || bytes[1] != '\x0A' || bytes[2] != '\0') return;
  Next_ += 3;
  while (ReadByte() != 0) {
  }
  if (End_ - Next_ < 6) Fill(6);
  Next_ += 6;
}

void TFormReader::ReadSignature() {
  const std::size_t position = Position();
  if (End_ - Next_ < 4) Fill(4);
  if (std::memcmp(Buffer_ + Next_, "TPF0", 4) != 0) {
    throw EReadError(Format("Invalid form signature at offset %d", {Offset(position)}));
  }
  Next_ += 4;
}

void TFormReader::ReadPrefix(std::uint8_t& Flags, std::int32_t& ChildPos) {
  Flags = 0;
  ChildPos = -1;
  if (End_ == Next_) Fill(1);
  const auto byte = static_cast<std::uint8_t>(Buffer_[Next_]);
  if ((byte & 0xF0) != 0xF0) return;
  ++Next_;
  Flags = byte & 0x0F;
  if (Flags & ffChildPos) ChildPos = ReadInteger();
}

std::string TFormReader::ReadStr() {
  const std::uint8_t length = ReadByte();
  if (End_ - Next_ >= length) {
    std::string text(Buffer_ + Next_, length);
    Next_ += length;
    return text;
  }
  const std::size_t position = Position();
  if (Stream_.Size() < position + length) ThrowUnexpectedEnd(position);
  std::string text(length, '\0');
  Read(text.data(), length);
  return text;
}

TValueType TFormReader::NextValue() {
  if (End_ == Next_) Fill(1);
  const auto kind = static_cast<std::uint8_t>(Buffer_[Next_]);
  if (kind > kLastValueType) ThrowInvalidKind(kind, Position());
  return static_cast<TValueType>(kind);
}

TValueType TFormReader::ReadValue() {
  if (End_ == Next_) Fill(1);
  const auto kind = static_cast<std::uint8_t>(Buffer_[Next_]);
  if (kind > kLastValueType) ThrowInvalidKind(kind, Position());
  ++Next_;
  return static_cast<TValueType>(kind);
}

void TFormReader::CheckValue(TValueType Value) {
  const std::size_t position = Position();
  const TValueType kind = ReadValue();
  if (kind != Value) {
    ThrowExpected(kKindNames[static_cast<std::uint8_t>(Value)], static_cast<std::uint8_t>(kind), position);
  }
}

bool TFormReader::EndOfList() {
  if (End_ == Next_) Fill(1);
  return Buffer_[Next_] == '\0';
}

void TFormReader::ReadListEnd() {
  if (End_ == Next_) Fill(1);
  if (Buffer_[Next_] != '\0') {
    throw EReadError(Format("Expected the end of a list but found byte %d at offset %d",
                            {std::int64_t{static_cast<std::uint8_t>(Buffer_[Next_])}, Offset(Position())}));
  }
  ++Next_;
}

std::int32_t TFormReader::ReadInteger() {
  if (End_ - Next_ < 5) {
    if (End_ == Next_) Fill(1);
    const auto kind = static_cast<TValueType>(static_cast<std::uint8_t>(Buffer_[Next_]));
    if (IsInteger32Kind(kind)) Fill(kind == TValueType::vaInt8 ? 2 : kind == TValueType::vaInt16 ? 3 : 5);
  }
  const std::size_t position = Position();
  const char* bytes = Buffer_ + Next_;
  switch (static_cast<TValueType>(static_cast<std::uint8_t>(bytes[0]))) {
    case TValueType::vaInt8:
      Next_ += 2;
      return static_cast<std::int8_t>(bytes[1]);
    case TValueType::vaInt16:
      Next_ += 3;
      return LoadLittleEndian<std::int16_t>(bytes + 1);
    case TValueType::vaInt32:
      Next_ += 5;
      return LoadLittleEndian<std::int32_t>(bytes + 1);
    default:
      if (static_cast<std::uint8_t>(bytes[0]) > kLastValueType) {
        ThrowInvalidKind(static_cast<std::uint8_t>(bytes[0]), position);
      }
      ThrowExpected("an integer", static_cast<std::uint8_t>(bytes[0]), position);
  }
}

std::int64_t TFormReader::ReadInt64() {
  if (NextValue() != TValueType::vaInt64) return ReadInteger();
  if (End_ - Next_ < 9) Fill(9);
  const auto value = LoadLittleEndian<std::int64_t>(Buffer_ + Next_ + 1);
  Next_ += 9;
  return value;
}

long double TFormReader::ReadFloat() {
  CheckValue(TValueType::vaExtended);
  long double value = 0;
  char bytes[sizeof(long double)] = {};
  Read(bytes, 10);
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

float TFormReader::ReadSingle() {
  CheckValue(TValueType::vaSingle);
  float value;
  Read(&value, sizeof value);
  return value;
}

std::int64_t TFormReader::ReadCurrency() {
  CheckValue(TValueType::vaCurrency);
  if (End_ - Next_ < 8) Fill(8);
  const auto value = LoadLittleEndian<std::int64_t>(Buffer_ + Next_);
  Next_ += 8;
  return value;
}

double TFormReader::ReadDate() {
  CheckValue(TValueType::vaDate);
  double value;
  Read(&value, sizeof value);
  return value;
}

std::string TFormReader::ReadString() {
  const std::size_t position = Position();
  const TValueType peeked = NextValue();
  if (peeked == TValueType::vaWString || peeked == TValueType::vaUTF8String) {
    return WideStringToString(VaqGetThreadLocale(), ReadWideString());
  }
  std::size_t length = 0;
  switch (ReadValue()) {
    case TValueType::vaString:
      length = ReadByte();
      break;
    case TValueType::vaLString:
      length = ReadUInt32();
      break;
    default:
      ThrowExpected("a string", static_cast<std::uint8_t>(peeked), position);
  }
  if (length > End_ - Next_) {
    ThrowTooLong("String", length, position);
  }
  std::string text(length, '\0');
  Read(text.data(), length);
  return text;
}

std::u16string TFormReader::ReadWideString() {
  const std::size_t position = Position();
  const TValueType peeked = NextValue();
  if (peeked == TValueType::vaString || peeked == TValueType::vaLString) {
    return StringToWideString(VaqGetThreadLocale(), ReadString());
  }
  const TValueType kind = ReadValue();
  if (kind != TValueType::vaWString && kind != TValueType::vaUTF8String) {
    ThrowExpected("a string", static_cast<std::uint8_t>(kind), position);
  }
  const std::uint64_t count = ReadUInt32();
  const std::uint64_t bytes = kind == TValueType::vaWString ? 2 * count : count;
  if (bytes > End_ - Next_) {
    ThrowTooLong(kind == TValueType::vaWString ? "Wide string" : "UTF-8 string", count, position);
  }
  std::string raw(bytes, '\0');
  Read(raw.data(), bytes);
  if (kind == TValueType::vaUTF8String) return Utf8ToUtf16(raw);
  std::u16string text(count, u'\0');
  for (std::size_t i = 0; i < count; ++i) text[i] = LoadLittleEndian<char16_t>(raw.data() + 2 * i);
  return text;
}

std::string TFormReader::ReadIdent() {
  const std::size_t position = Position();
  switch (const TValueType kind = ReadValue()) {
    case TValueType::vaIdent:
      return ReadStr();
    case TValueType::vaFalse:
      return "False";
    case TValueType::vaTrue:
      return "True";
    case TValueType::vaNil:
      return "nil";
    case TValueType::vaNull:
      return "Null";
    default:
      ThrowExpected("an identifier", static_cast<std::uint8_t>(kind), position);
  }
}

std::string TFormReader::ReadBinary() {
  const std::size_t position = Position();
  CheckValue(TValueType::vaBinary);
  const std::size_t length = ReadUInt32();
  if (length > End_ - Next_) {
    ThrowTooLong("Binary data", length, position);
  }
  std::string bytes(length, '\0');
  Read(bytes.data(), length);
  return bytes;
}

// Skips iteratively, with a stack of the containers that are open around the position: lists
// and collections hold values, collection items hold properties. Lists and collections count
// towards the nesting limit; items belong to their collection's level.
void TFormReader::SkipValue() {
  enum class Open : std::uint8_t { List, Collection, Item };
  std::array<Open, 2 * kMaxFormNesting + 1> open;
  std::size_t depth = 0;  // entries in `open`
  int nesting = 0;

  const auto skip = [this](std::uint64_t count, std::string_view what, std::size_t position) {
    if (End_ - Next_ >= count) {
      Next_ += count;
      return;
    }
    if (what.empty()) ThrowUnexpectedEnd(Position());
    ThrowTooLong(what, count, position);
  };
  const auto enter = [&](Open container, std::size_t position) {
    if (container != Open::Item && ++nesting > kMaxFormNesting) ThrowTooDeep(position);
    open[depth++] = container;
  };

  for (;;) {
    const std::size_t position = Position();
    switch (ReadValue()) {
      case TValueType::vaNull:
      case TValueType::vaFalse:
      case TValueType::vaTrue:
      case TValueType::vaNil:
        break;
      case TValueType::vaList:
        enter(Open::List, position);
        break;
      case TValueType::vaCollection:
        enter(Open::Collection, position);
        break;
      case TValueType::vaInt8:
        skip(1, {}, position);
        break;
      case TValueType::vaInt16:
        skip(2, {}, position);
        break;
      case TValueType::vaInt32:
      case TValueType::vaSingle:
        skip(4, {}, position);
        break;
      case TValueType::vaInt64:
      case TValueType::vaCurrency:
      case TValueType::vaDate:
        skip(8, {}, position);
        break;
      case TValueType::vaExtended:
        skip(10, {}, position);
        break;
      case TValueType::vaString:
      case TValueType::vaIdent:
        skip(ReadByte(), "String", position);
        break;
      case TValueType::vaLString:
        skip(ReadUInt32(), "String", position);
        break;
      case TValueType::vaUTF8String:
        skip(ReadUInt32(), "UTF-8 string", position);
        break;
      case TValueType::vaWString: {
        const std::uint64_t count = ReadUInt32();
        if (2 * count > End_ - Next_) {
          ThrowTooLong("Wide string", count, position);
        }
        skip(2 * count, "Wide string", position);
        break;
      }
      case TValueType::vaBinary:
        skip(ReadUInt32(), "Binary data", position);
        break;
      case TValueType::vaSet:
        while (const std::uint8_t length = ReadByte()) skip(length, "String", position);
        break;
    }
    // Close what ends here; stop where the next value starts, or return when nothing is open.
    for (;;) {
      if (depth == 0) return;
      if (EndOfList()) {
        ReadListEnd();
        if (open[--depth] != Open::Item) --nesting;
        continue;
      }
      if (open[depth - 1] == Open::List) break;
      if (open[depth - 1] == Open::Item) {
        skip(ReadByte(), "String", Position());  // property name
        break;
      }
      if (IsInteger32Kind(NextValue())) ReadInteger();
      const std::size_t item = Position();
      CheckValue(TValueType::vaList);
      enter(Open::Item, item);
    }
  }
}

}  // namespace vaq
