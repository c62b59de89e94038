// Property values of live components as the binary form holds them, and their conversion from
// and to form-text value notation.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/core/types.h"
#include "host/framework/formstream.h"

namespace vaq::widgets {

struct TValue;

// One item of a collection: its optional index and its properties in stream order.
struct TCollectionItemValue {
  std::optional<std::int32_t> Index;
  std::vector<std::pair<std::string, TValue>> Properties;
};

// A value of any kind. Integers of every width share `Int`; 8-bit strings, identifiers and binary
// data share `Str`; wide and UTF-8 strings are kept as UTF-16 in `Wide`.
struct TValue {
  TValueType Kind = TValueType::vaNull;
  std::int64_t Int = 0;
  long double Float = 0;
  std::string Str;
  std::u16string Wide;
  std::vector<std::string> Set;
  std::vector<TValue> List;
  std::vector<TCollectionItemValue> Items;

  bool IsInteger() const;
  bool IsString() const;  // 8-bit or wide
  bool IsIdent() const;   // identifiers, True, False, nil, Null
  bool IsNumber() const;  // integers and floating-point kinds
  // The identifier text ("True" for vaTrue).
  std::string Ident() const;
  // A string value as shown: 8-bit text decoded with the code page of `Locale`, wide text as is
  // (core/values/code_page_text.h).
  std::u16string Shown(TLCID Locale) const;
  // A string value as 8-bit text of `Locale`'s code page (wide text converted; '?' for what the
  // code page lacks: for names only, which are ASCII).
  std::string Ansi(TLCID Locale) const;
  // Floating-point value of any number kind.
  long double Number() const;

  static TValue Integer(std::int64_t Value);
  static TValue String(std::string Text);
  static TValue WideString(std::u16string Text);
  static TValue Identifier(std::string Name);
  static TValue Boolean(bool Value);
};

// Reads the next value of the reader (its kind included), nested values and all.
TValue ReadPropertyValue(TFormReader& Reader);

// The value in form-text notation ("'It'#39's'", "[fsBold, fsItalic]", "(1 2)", "<item ... end>");
// wide strings in the code page of `Locale`, with codes for what it lacks. A wide string that has
// no notation there (core/values/string_notation.h) raises EUnheldCharacter.
std::string ValueToText(const TValue& Value, TLCID Locale);

// Parses form-text value notation with the form-streaming parser itself, so that every notation
// the form files use is understood the same way: 8-bit strings keep their bytes, and the runs of a
// wide string are read in the code page of `Locale`. Raises EParserError on text it cannot parse.
TValue ParseValueText(std::string_view Text, TLCID Locale);

}  // namespace vaq::widgets
