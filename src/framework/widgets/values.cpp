#include "framework/widgets/values.h"

#include <cmath>
#include <cstdio>

#include "core/values/code_page_text.h"
#include "core/values/string_notation.h"
#include "host/core/locale.h"

namespace vaq::widgets {

bool TValue::IsInteger() const {
  return Kind == TValueType::vaInt8 || Kind == TValueType::vaInt16 || Kind == TValueType::vaInt32 ||
         Kind == TValueType::vaInt64;
}

bool TValue::IsString() const {
  return Kind == TValueType::vaString || Kind == TValueType::vaLString || Kind == TValueType::vaWString ||
         Kind == TValueType::vaUTF8String;
}

bool TValue::IsIdent() const {
  return Kind == TValueType::vaIdent || Kind == TValueType::vaTrue || Kind == TValueType::vaFalse ||
         Kind == TValueType::vaNil || Kind == TValueType::vaNull;
}

bool TValue::IsNumber() const {
  return IsInteger() || Kind == TValueType::vaExtended || Kind == TValueType::vaSingle ||
         Kind == TValueType::vaCurrency || Kind == TValueType::vaDate;
}

std::string TValue::Ident() const {
  switch (Kind) {
    case TValueType::vaTrue:
      return "True";
    case TValueType::vaFalse:
      return "False";
    case TValueType::vaNil:
      return "nil";
    case TValueType::vaNull:
      return "Null";
    default:
      return Str;
  }
}

std::u16string TValue::Shown(TLCID Locale) const {
  if (Kind == TValueType::vaWString || Kind == TValueType::vaUTF8String) return Wide;
  return values::DecodeText(Str, Locale);
}

std::string TValue::Ansi(TLCID Locale) const {
  if (Kind == TValueType::vaWString || Kind == TValueType::vaUTF8String)
    return values::EncodeTextReplacing(Wide, Locale);
  return Str;
}

long double TValue::Number() const {
  if (IsInteger()) return static_cast<long double>(Int);
  if (Kind == TValueType::vaCurrency) return static_cast<long double>(Int) / 10000;
  return Float;
}

TValue TValue::Integer(std::int64_t Value) {
  TValue v;
  v.Kind = TValueType::vaInt32;
  v.Int = Value;
  return v;
}

TValue TValue::String(std::string Text) {
  TValue v;
  v.Kind = TValueType::vaString;
  v.Str = std::move(Text);
  return v;
}

TValue TValue::WideString(std::u16string Text) {
  TValue v;
  v.Kind = TValueType::vaWString;
  v.Wide = std::move(Text);
  return v;
}

TValue TValue::Identifier(std::string Name) {
  TValue v;
  v.Kind = TValueType::vaIdent;
  v.Str = std::move(Name);
  return v;
}

TValue TValue::Boolean(bool Value) {
  TValue v;
  v.Kind = Value ? TValueType::vaTrue : TValueType::vaFalse;
  return v;
}

namespace {

void ReadItems(TFormReader& Reader, TValue& Value) {
  while (!Reader.EndOfList()) {
    TCollectionItemValue item;
    TValueType next = Reader.NextValue();
    if (next == TValueType::vaInt8 || next == TValueType::vaInt16 || next == TValueType::vaInt32)
      item.Index = Reader.ReadInteger();
    Reader.CheckValue(TValueType::vaList);
    while (!Reader.EndOfList()) {
      std::string name = Reader.ReadStr();
      item.Properties.emplace_back(std::move(name), ReadPropertyValue(Reader));
    }
    Reader.ReadListEnd();
    Value.Items.push_back(std::move(item));
  }
  Reader.ReadListEnd();
}

}  // namespace

TValue ReadPropertyValue(TFormReader& Reader) {
  TValue v;
  v.Kind = Reader.NextValue();
  switch (v.Kind) {
    case TValueType::vaList:
      Reader.ReadValue();
      while (!Reader.EndOfList()) v.List.push_back(ReadPropertyValue(Reader));
      Reader.ReadListEnd();
      break;
    case TValueType::vaInt8:
    case TValueType::vaInt16:
    case TValueType::vaInt32:
    case TValueType::vaInt64:
      v.Int = Reader.ReadInt64();
      break;
    case TValueType::vaExtended:
      v.Float = Reader.ReadFloat();
      break;
    case TValueType::vaSingle:
      v.Float = Reader.ReadSingle();
      break;
    case TValueType::vaCurrency:
      v.Int = Reader.ReadCurrency();
      break;
    case TValueType::vaDate:
      v.Float = Reader.ReadDate();
      break;
    case TValueType::vaString:
    case TValueType::vaLString:
      v.Str = Reader.ReadString();
      break;
    case TValueType::vaWString:
    case TValueType::vaUTF8String:
      v.Wide = Reader.ReadWideString();
      break;
    case TValueType::vaIdent:
    case TValueType::vaFalse:
    case TValueType::vaTrue:
    case TValueType::vaNil:
    case TValueType::vaNull:
      v.Str = Reader.ReadIdent();
      break;
    case TValueType::vaBinary:
      v.Str = Reader.ReadBinary();
      break;
    case TValueType::vaSet:
      Reader.ReadValue();
      for (;;) {
        std::string name = Reader.ReadStr();
        if (name.empty()) break;
        v.Set.push_back(std::move(name));
      }
      break;
    case TValueType::vaCollection:
      Reader.ReadValue();
      ReadItems(Reader, v);
      break;
  }
  return v;
}

namespace {

std::string FloatText(long double Value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.17Lg", Value);
  std::string text = buffer;
  if (text.find_first_of(".eEn") == std::string::npos) text += ".0";
  return text;
}

}  // namespace

std::string ValueToText(const TValue& Value, TLCID Locale) {
  switch (Value.Kind) {
    case TValueType::vaList: {
      std::string out = "(";
      for (std::size_t i = 0; i < Value.List.size(); ++i)
        out += (i ? " " : "") + ValueToText(Value.List[i], Locale);
      return out + ")";
    }
    case TValueType::vaInt8:
    case TValueType::vaInt16:
    case TValueType::vaInt32:
    case TValueType::vaInt64:
      return std::to_string(Value.Int);
    case TValueType::vaExtended:
      return FloatText(Value.Float);
    case TValueType::vaSingle:
      return FloatText(Value.Float) + "s";
    case TValueType::vaCurrency:
      return std::to_string(Value.Int) + "c";
    case TValueType::vaDate:
      return FloatText(Value.Float) + "d";
    case TValueType::vaString:
    case TValueType::vaLString:
      return values::QuoteBytes(Value.Str);
    case TValueType::vaWString:
    case TValueType::vaUTF8String:
      return values::EncodeString(Value.Wide, Locale);
    case TValueType::vaBinary: {
      static const char* digits = "0123456789ABCDEF";
      std::string out = "{";
      for (unsigned char c : Value.Str) {
        out += digits[c >> 4];
        out += digits[c & 15];
      }
      return out + "}";
    }
    case TValueType::vaSet: {
      std::string out = "[";
      for (std::size_t i = 0; i < Value.Set.size(); ++i) out += (i ? ", " : "") + Value.Set[i];
      return out + "]";
    }
    case TValueType::vaCollection: {
      std::string out = "<";
      for (const auto& item : Value.Items) {
        out += " item";
        if (item.Index) out += " [" + std::to_string(*item.Index) + "]";
        for (const auto& [name, value] : item.Properties)
          out += " " + name + " = " + ValueToText(value, Locale);
        out += " end";
      }
      return out + ">";
    }
    default:
      return Value.Ident();
  }
}

TValue ParseValueText(std::string_view Text, TLCID Locale) {
  TMemoryStream input(std::string("object X: TX\r\n  P = ") + std::string(Text) + "\r\nend\r\n");
  TMemoryStream output;
  {
    ScopedThreadLocale locale(Locale);
    ObjectTextToBinary(input, output);
  }
  output.Seek(0);
  TFormReader reader(output);
  reader.ReadSignature();
  std::uint8_t flags;
  std::int32_t position;
  reader.ReadPrefix(flags, position);
  reader.ReadStr();
  reader.ReadStr();
  if (reader.EndOfList()) throw EReadError("no value");
  reader.ReadStr();
  TValue value = ReadPropertyValue(reader);
  if (!reader.EndOfList()) throw EReadError("more than one value");
  return value;
}

}  // namespace vaq::widgets
