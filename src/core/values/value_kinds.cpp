// The kinds of values in form-text notation.
#include "core/values/value_kinds.h"

#include <charconv>
#include <cstdint>
#include <limits>

#include "core/values/code_page_text.h"
#include "core/values/string_notation.h"

namespace vaq::values {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsHex(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool IsNameStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool IsNameChar(char c) {
  return IsNameStart(c) || IsDigit(c);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] + 32) : a[i];
    const char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] + 32) : b[i];
    if (x != y) return false;
  }
  return true;
}

TValueKind Fail(std::string* error, std::string reason) {
  if (error) *error = std::move(reason);
  return TValueKind::Invalid;
}

TValueKind ClassifyNumber(std::string_view s, TLCID lcid, std::string* error) {
  const bool negative = s.front() == '-';
  if (s.substr(negative ? 1 : 0).starts_with('$')) {
    const std::string_view digits = s.substr(negative ? 2 : 1);
    std::uint64_t value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size())
      return Fail(error, "not a hexadecimal number");
    return value <= 0xFFFFFFFFu ? TValueKind::Integer : TValueKind::Int64;
  }
  std::size_t i = negative ? 1 : 0;
  const std::size_t start = i;
  while (i < s.size() && IsDigit(s[i])) ++i;
  if (i == start) return Fail(error, "not a number");
  if (i == s.size()) {
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size()) return Fail(error, "integer out of range");
    return value >= std::numeric_limits<std::int32_t>::min() &&
                   value <= std::numeric_limits<std::int32_t>::max()
               ? TValueKind::Integer
               : TValueKind::Int64;
  }
  bool isFloat = false;
  if (s[i] == '.') {
    const std::size_t fraction = ++i;
    while (i < s.size() && IsDigit(s[i])) ++i;
    if (i == fraction) return Fail(error, "digits expected after '.'");
    isFloat = true;
  }
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    const std::size_t exponent = i;
    while (i < s.size() && IsDigit(s[i])) ++i;
    if (i == exponent) return Fail(error, "digits expected in the exponent");
    isFloat = true;
  }
  TValueKind kind = TValueKind::Float;
  if (i < s.size()) {
    switch (s[i]) {
      case 's':
      case 'S':
        kind = TValueKind::Single;
        break;
      case 'c':
      case 'C':
        kind = TValueKind::Currency;
        break;
      case 'd':
      case 'D':
        kind = TValueKind::Date;
        break;
      default:
        return Fail(error, "unexpected " + CharacterNameAt(s, i, lcid) + " in a number");
    }
    ++i;
    isFloat = true;
  }
  if (i != s.size()) return Fail(error, "unexpected " + CharacterNameAt(s, i, lcid) + " in a number");
  if (!isFloat) return Fail(error, "not a number");
  return kind;
}

TValueKind ClassifySet(std::string_view s, TLCID lcid, std::string* error) {
  bool expectName = true;
  bool empty = true;
  for (std::size_t i = 1; i + 1 < s.size(); ++i) {
    const char c = s[i];
    if (IsBlank(c)) continue;
    if (expectName && IsNameStart(c)) {
      while (i + 1 < s.size() && IsNameChar(s[i + 1])) ++i;
      expectName = false;
      empty = false;
    } else if (!expectName && c == ',') {
      expectName = true;
    } else {
      return Fail(error, "unexpected " + CharacterNameAt(s, i, lcid) + " in a set");
    }
  }
  if (expectName && !empty) return Fail(error, "a name is missing after ','");
  return TValueKind::Set;
}

TValueKind ClassifyBracketed(std::string_view s, char open, char close, TValueKind kind, std::string* error) {
  if (!HasOpenAndCloseChars(s, open, close))
    return Fail(error, std::string("'") + open + "' without a matching '" + close + "'");
  if (kind == TValueKind::Binary) {
    for (const char c : s.substr(1, s.size() - 2)) {
      if (!IsHex(c) && !IsBlank(c))
        return Fail(error, "binary data holds a character that is no hexadecimal digit");
    }
  }
  return kind;
}

}  // namespace

TValueKind ClassifyValue(std::string_view Text, TLCID Lcid, std::string* Error) {
  const std::string_view s = TrimBlanks(Text);
  if (s.empty()) return Fail(Error, "empty value");
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c == '\r' || c == '\n') return Fail(Error, "a line break in the value");
    if (c < 32 && c != '\t')
      return Fail(Error, "the control character " + CharacterName(c) + " in the value");
  }
  const char c = s.front();
  if (c == '\'' || c == '#') {
    std::string reason = StringNotationError(s, Lcid);
    if (!reason.empty()) return Fail(Error, std::move(reason));
    return TValueKind::String;
  }
  if (IsDigit(c) || c == '-' || c == '$') return ClassifyNumber(s, Lcid, Error);
  if (c == '[') {
    if (s.back() != ']') return Fail(Error, "'[' without a matching ']'");
    return ClassifySet(s, Lcid, Error);
  }
  if (c == '(') return ClassifyBracketed(s, '(', ')', TValueKind::List, Error);
  if (c == '<') return ClassifyBracketed(s, '<', '>', TValueKind::Collection, Error);
  if (c == '{') return ClassifyBracketed(s, '{', '}', TValueKind::Binary, Error);
  if (IsNameStart(c)) {
    for (std::size_t i = 1; i < s.size(); ++i) {
      if (!IsNameChar(s[i]) && s[i] != '.')
        return Fail(Error, "unexpected " + CharacterNameAt(s, i, Lcid) + " in a name");
    }
    if (EqualsNoCase(s, "True") || EqualsNoCase(s, "False")) return TValueKind::Boolean;
    return TValueKind::Identifier;
  }
  return Fail(Error, "unexpected " + CharacterNameAt(s, 0, Lcid));
}

std::string_view ValueKindName(TValueKind Kind) {
  switch (Kind) {
    case TValueKind::Invalid:
      return "value";
    case TValueKind::String:
      return "string";
    case TValueKind::Integer:
      return "integer";
    case TValueKind::Int64:
      return "64-bit integer";
    case TValueKind::Float:
      return "floating-point number";
    case TValueKind::Single:
      return "single-precision number";
    case TValueKind::Currency:
      return "currency value";
    case TValueKind::Date:
      return "date value";
    case TValueKind::Boolean:
      return "Boolean (True or False)";
    case TValueKind::Identifier:
      return "identifier";
    case TValueKind::Set:
      return "set";
    case TValueKind::List:
      return "list";
    case TValueKind::Collection:
      return "collection";
    case TValueKind::Binary:
      return "binary data";
  }
  return "value";
}

int NumericTypeOf(std::string_view Text) {
  const std::string_view s = TrimBlanks(Text);
  if (s.empty() || !(IsDigit(s.front()) || s.front() == '-' || s.front() == '$')) return 0;
  switch (ClassifyNumber(s, 0, nullptr)) {
    case TValueKind::Integer:
      return 1;
    case TValueKind::Int64:
      return 2;
    case TValueKind::Float:
      return 3;
    case TValueKind::Single:
      return 4;
    case TValueKind::Currency:
      return 5;
    case TValueKind::Date:
      return 6;
    default:
      return 0;
  }
}

bool HasOpenAndCloseChars(std::string_view Text, char Open, char Close) {
  const std::string_view s = TrimBlanks(Text);
  if (s.size() < 2 || s.front() != Open || s.back() != Close) return false;
  int depth = 0;
  bool quoted = false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '\'') {
      quoted = !quoted;
      continue;
    }
    if (quoted) continue;
    if (c == Open) ++depth;
    if (c == Close && --depth == 0 && i + 1 != s.size()) return false;
    if (depth < 0) return false;
  }
  return depth == 0 && !quoted;
}

std::string IsValidString(std::string_view Text, char Quote) {
  const std::string_view s = TrimBlanks(Text);
  if (Quote == '\'') {
    if (!IsStringNotation(s)) return "not a quoted string";
    return StringNotationError(s);
  }
  if (s.size() < 2 || s.front() != Quote || s.back() != Quote) return "not a quoted string";
  for (std::size_t i = 1; i + 1 < s.size(); ++i) {
    if (s[i] != Quote) continue;
    if (i + 2 < s.size() && s[i + 1] == Quote) {
      ++i;
      continue;
    }
    return "a quote inside the string is not doubled";
  }
  return {};
}

}  // namespace vaq::values
