// Writer of the binary form.
#include <cfloat>
#include <cstring>
#include <limits>

#include "host/core/text.h"
#include "host/framework/formstream.h"

namespace vaq {
namespace {

static_assert(LDBL_MANT_DIG == 64, "extended values are stored as the 80-bit x87 format of long double");

bool SameAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if ((a[i] | 0x20) != (b[i] | 0x20)) return false;
  }
  return true;
}

}  // namespace

void TFormWriter::WriteLittleEndian(std::uint64_t Value, int Bytes) {
  for (int i = 0; i < Bytes; ++i) Data_.push_back(static_cast<char>((Value >> (8 * i)) & 0xFF));
}

void TFormWriter::WriteSignature() {
  Data_.append("TPF0", 4);
}

void TFormWriter::WritePrefix(std::uint8_t Flags, std::int32_t ChildPos) {
  if (Flags == 0) return;
  Data_.push_back(static_cast<char>(0xF0 | Flags));
  if (Flags & ffChildPos) WriteInteger(ChildPos);
}

void TFormWriter::WriteComponentHeader(std::uint8_t Flags, std::int32_t ChildPos, std::string_view ClassName,
                                       std::string_view Name) {
  if (Flags == 0 && ClassName.size() >= 0xF0) {
    Data_.push_back(static_cast<char>(0xF0));
  } else {
    WritePrefix(Flags, ChildPos);
  }
  WriteStr(ClassName);
  WriteStr(Name);
}

void TFormWriter::WriteStr(std::string_view Text) {
  if (Text.size() > 255) {
    throw EVaqError(Format("Name longer than 255 bytes: %s...", {Text.substr(0, 40)}));
  }
  Data_.push_back(static_cast<char>(Text.size()));
  Data_.append(Text);
}

void TFormWriter::WriteInteger(std::int64_t Value) {
  if (Value >= std::numeric_limits<std::int8_t>::min() && Value <= std::numeric_limits<std::int8_t>::max()) {
    WriteValue(TValueType::vaInt8);
    WriteLittleEndian(static_cast<std::uint64_t>(Value), 1);
  } else if (Value >= std::numeric_limits<std::int16_t>::min() &&
             Value <= std::numeric_limits<std::int16_t>::max()) {
    WriteValue(TValueType::vaInt16);
    WriteLittleEndian(static_cast<std::uint64_t>(Value), 2);
  } else if (Value >= std::numeric_limits<std::int32_t>::min() &&
             Value <= std::numeric_limits<std::int32_t>::max()) {
    WriteValue(TValueType::vaInt32);
    WriteLittleEndian(static_cast<std::uint64_t>(Value), 4);
  } else {
    WriteValue(TValueType::vaInt64);
    WriteLittleEndian(static_cast<std::uint64_t>(Value), 8);
  }
}

void TFormWriter::WriteFloat(long double Value) {
  WriteValue(TValueType::vaExtended);
  char bytes[sizeof(long double)] = {};
  std::memcpy(bytes, &Value, sizeof Value);
  Data_.append(bytes, 10);
}

void TFormWriter::WriteSingle(float Value) {
  WriteValue(TValueType::vaSingle);
  std::uint32_t bits;
  std::memcpy(&bits, &Value, sizeof bits);
  WriteLittleEndian(bits, 4);
}

void TFormWriter::WriteCurrency(std::int64_t Stored) {
  WriteValue(TValueType::vaCurrency);
  WriteLittleEndian(static_cast<std::uint64_t>(Stored), 8);
}

void TFormWriter::WriteDate(double Value) {
  WriteValue(TValueType::vaDate);
  std::uint64_t bits;
  std::memcpy(&bits, &Value, sizeof bits);
  WriteLittleEndian(bits, 8);
}

void TFormWriter::WriteString(std::string_view Text) {
  if (Text.size() <= 255) {
    WriteValue(TValueType::vaString);
    Data_.push_back(static_cast<char>(Text.size()));
  } else {
    WriteValue(TValueType::vaLString);
    WriteLittleEndian(Text.size(), 4);
  }
  Data_.append(Text);
}

void TFormWriter::WriteWideString(std::u16string_view Text) {
  WriteValue(TValueType::vaWString);
  WriteLittleEndian(Text.size(), 4);
  for (char16_t unit : Text) WriteLittleEndian(unit, 2);
}

void TFormWriter::WriteUtf8String(std::string_view Utf8) {
  WriteValue(TValueType::vaUTF8String);
  WriteLittleEndian(Utf8.size(), 4);
  Data_.append(Utf8);
}

void TFormWriter::WriteIdent(std::string_view Name) {
  if (SameAscii(Name, "True")) {
    WriteValue(TValueType::vaTrue);
  } else if (SameAscii(Name, "False")) {
    WriteValue(TValueType::vaFalse);
  } else if (SameAscii(Name, "nil")) {
    WriteValue(TValueType::vaNil);
  } else if (SameAscii(Name, "Null")) {
    WriteValue(TValueType::vaNull);
  } else {
    WriteValue(TValueType::vaIdent);
    WriteStr(Name);
  }
}

void TFormWriter::WriteBinary(std::string_view Bytes) {
  WriteValue(TValueType::vaBinary);
  WriteLittleEndian(Bytes.size(), 4);
  Data_.append(Bytes);
}

}  // namespace vaq
