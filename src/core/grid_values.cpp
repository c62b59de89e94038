// Form-text values of grid cells: kinds, checks and the string codec of the cell editor.
#include "host/core/grid_values.h"

#include <cctype>
#include <charconv>
#include <cstdint>
#include <limits>

#include "host/core/errors.h"
#include "host/core/locale.h"

namespace vaq {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsHex(char c) {
  return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}
bool IsNameStart(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '_';
}
bool IsNameChar(char c) {
  return IsNameStart(c) || IsDigit(c);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// One string value: pieces 'text' (with '' for an apostrophe), #decimal, #$hex, optionally joined by
// "+" and blanks. Calls `Piece` for every quoted run and `Code` for every code.
template <typename PieceFn, typename CodeFn>
bool ScanString(std::string_view s, std::string* error, PieceFn&& Piece, CodeFn&& Code) {
  std::size_t i = 0;
  bool any = false;
  bool needPiece = false;
  while (i < s.size()) {
    if (IsBlank(s[i])) {
      ++i;
      continue;
    }
    if (s[i] == '+' && any && !needPiece) {
      needPiece = true;
      ++i;
      continue;
    }
    if (s[i] == '\'') {
      std::string run;
      ++i;
      for (;;) {
        if (i >= s.size()) {
          if (error) *error = "unterminated string";
          return false;
        }
        if (s[i] == '\'') {
          if (i + 1 < s.size() && s[i + 1] == '\'') {
            run.push_back('\'');
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        if (s[i] == '\r' || s[i] == '\n') {
          if (error) *error = "line break inside quotes (write it as #13#10)";
          return false;
        }
        run.push_back(s[i++]);
      }
      Piece(run);
    } else if (s[i] == '#') {
      ++i;
      std::uint32_t code = 0;
      std::size_t digits = 0;
      const bool hex = i < s.size() && s[i] == '$';
      if (hex) ++i;
      while (i < s.size() && (hex ? IsHex(s[i]) : IsDigit(s[i]))) {
        const char c = s[i++];
        const unsigned d = IsDigit(c) ? unsigned(c - '0') : unsigned(std::tolower(c) - 'a' + 10);
        code = code * (hex ? 16 : 10) + d;
        if (code > 0xFFFF) {
          if (error) *error = "character code above 65535";
          return false;
        }
        ++digits;
      }
      if (digits == 0) {
        if (error) *error = "'#' without a character code";
        return false;
      }
      Code(code);
    } else {
      if (error) *error = std::string("unexpected '") + s[i] + "' in a string";
      return false;
    }
    any = true;
    needPiece = false;
  }
  if (!any || needPiece) {
    if (error) *error = needPiece ? "'+' without a following piece" : "empty value";
    return false;
  }
  return true;
}

TValueKind ClassifyNumber(std::string_view s, std::string* error) {
  if (s.front() == '$' || (s.size() > 1 && s[0] == '-' && s[1] == '$')) {
    const bool negative = s.front() == '-';
    const std::string_view digits = s.substr(negative ? 2 : 1);
    std::uint64_t value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size()) {
      if (error) *error = "not a hexadecimal number";
      return TValueKind::Invalid;
    }
    return value <= 0xFFFFFFFFu ? TValueKind::Integer : TValueKind::Int64;
  }
  std::size_t i = s.front() == '-' ? 1 : 0;
  const std::size_t start = i;
  while (i < s.size() && IsDigit(s[i])) ++i;
  if (i == start) {
    if (error) *error = "not a number";
    return TValueKind::Invalid;
  }
  if (i == s.size()) {
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size()) {
      if (error) *error = "integer out of range";
      return TValueKind::Invalid;
    }
    return value >= std::numeric_limits<std::int32_t>::min() &&
                   value <= std::numeric_limits<std::int32_t>::max()
               ? TValueKind::Integer
               : TValueKind::Int64;
  }
  bool isFloat = false;
  if (s[i] == '.') {
    ++i;
    const std::size_t fraction = i;
    while (i < s.size() && IsDigit(s[i])) ++i;
    if (i == fraction) {
      if (error) *error = "digits expected after '.'";
      return TValueKind::Invalid;
    }
    isFloat = true;
  }
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    const std::size_t exponent = i;
    while (i < s.size() && IsDigit(s[i])) ++i;
    if (i == exponent) {
      if (error) *error = "digits expected in the exponent";
      return TValueKind::Invalid;
    }
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
        if (error) *error = std::string("unexpected '") + s[i] + "' in a number";
        return TValueKind::Invalid;
    }
    ++i;
    isFloat = true;
  }
  if (i != s.size() || !isFloat) {
    if (error) *error = "not a number";
    return TValueKind::Invalid;
  }
  return kind;
}

TValueKind ClassifySet(std::string_view s, std::string* error) {
  std::size_t i = 1;
  bool expectName = true;
  bool empty = true;
  for (; i + 1 < s.size(); ++i) {
    const char c = s[i];
    if (IsBlank(c)) continue;
    if (expectName && IsNameStart(c)) {
      while (i + 1 < s.size() && IsNameChar(s[i + 1])) ++i;
      expectName = false;
      empty = false;
    } else if (!expectName && c == ',') {
      expectName = true;
    } else {
      if (error) *error = std::string("unexpected '") + c + "' in a set";
      return TValueKind::Invalid;
    }
  }
  if (expectName && !empty) {
    if (error) *error = "a name is missing after ','";
    return TValueKind::Invalid;
  }
  return TValueKind::Set;
}

// Brackets of lists, collections and binary data must balance, outside strings.
TValueKind ClassifyBracketed(std::string_view s, char open, char close, TValueKind kind, std::string* error) {
  if (!HasOpenAndCloseChars(s, open, close)) {
    if (error) *error = std::string("'") + open + "' without a matching '" + close + "'";
    return TValueKind::Invalid;
  }
  if (kind == TValueKind::Binary) {
    for (const char c : s.substr(1, s.size() - 2)) {
      if (!IsHex(c) && !IsBlank(c)) {
        if (error) *error = "binary data holds a character that is no hexadecimal digit";
        return TValueKind::Invalid;
      }
    }
  }
  return kind;
}

}  // namespace

TValueKind ClassifyFormValue(std::string_view Text, std::string* Error) {
  const std::string_view s = Trim(Text);
  if (s.empty()) {
    if (Error) *Error = "empty value";
    return TValueKind::Invalid;
  }
  const char c = s.front();
  if (c == '\'' || c == '#') {
    return ScanString(
               s, Error, [](const std::string&) {}, [](std::uint32_t) {})
               ? TValueKind::String
               : TValueKind::Invalid;
  }
  if (IsDigit(c) || c == '-' || c == '$') return ClassifyNumber(s, Error);
  if (c == '[') {
    if (s.back() != ']') {
      if (Error) *Error = "'[' without a matching ']'";
      return TValueKind::Invalid;
    }
    return ClassifySet(s, Error);
  }
  if (c == '(') return ClassifyBracketed(s, '(', ')', TValueKind::List, Error);
  if (c == '<') return ClassifyBracketed(s, '<', '>', TValueKind::Collection, Error);
  if (c == '{') return ClassifyBracketed(s, '{', '}', TValueKind::Binary, Error);
  if (IsNameStart(c)) {
    for (std::size_t i = 1; i < s.size(); ++i) {
      if (!IsNameChar(s[i]) && s[i] != '.') {
        if (Error) *Error = std::string("unexpected '") + s[i] + "' in a name";
        return TValueKind::Invalid;
      }
    }
    if (EqualsNoCase(s, "True") || EqualsNoCase(s, "False")) return TValueKind::Boolean;
    return TValueKind::Identifier;
  }
  if (Error) *Error = std::string("unexpected '") + c + "'";
  return TValueKind::Invalid;
}

std::string_view ValueKindName(TValueKind Kind) {
  switch (Kind) {
    case TValueKind::Invalid:
      return "invalid value";
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

std::string CheckValueAgainstOriginal(std::string_view Original, std::string_view Value) {
  const TValueKind original = ClassifyFormValue(Original);
  std::string error;
  const TValueKind kind = ClassifyFormValue(Value, &error);
  if (kind == TValueKind::Invalid) {
    if (original == TValueKind::String && error == "empty value") {
      return "The value must be a string in quotes, for example ''.";
    }
    return "Invalid value: " + error + ".";
  }
  // An original the check cannot read (a damaged record) accepts any valid value.
  if (original == TValueKind::Invalid || kind == original) return {};
  if (original == TValueKind::Int64 && kind == TValueKind::Integer) return {};
  if (original == TValueKind::Integer && kind == TValueKind::Int64) {
    return "The value must be an integer of 32 bits (-2147483648 to 2147483647).";
  }
  std::string message = "The value must be a ";
  message += ValueKindName(original);
  message += " like the original value, not a ";
  message += ValueKindName(kind);
  message += ".";
  return message;
}

int NumericTypeOf(std::string_view Text) {
  const std::string_view s = Trim(Text);
  if (s.empty()) return 0;
  const char c = s.front();
  if (!IsDigit(c) && c != '-' && c != '$') return 0;
  switch (ClassifyNumber(s, nullptr)) {
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
  const std::string_view s = Trim(Text);
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
  const std::string_view s = Trim(Text);
  if (Quote == '\'') {
    std::string error;
    if (s.empty() || (s.front() != '\'' && s.front() != '#')) return "not a quoted string";
    return ScanString(
               s, &error, [](const std::string&) {}, [](std::uint32_t) {})
               ? std::string()
               : error;
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

bool DecodeStringValue(std::string_view Notation, TLCID Lcid, std::u16string& Text) {
  const std::string_view s = Trim(Notation);
  if (s.empty() || (s.front() != '\'' && s.front() != '#')) return false;
  // First pass: is the value a wide string (a code above 255)?
  bool wide = false;
  if (!ScanString(
          s, nullptr, [](const std::string&) {}, [&wide](std::uint32_t code) { wide |= code > 255; })) {
    return false;
  }
  // Second pass: 8-bit runs and byte codes are collected in the code page and decoded together, so
  // that a multi-byte character split over a run and a code stays whole.
  Text.clear();
  std::string bytes;
  const auto flush = [&] {
    if (bytes.empty()) return;
    Text += StringToWideString(Lcid, bytes);
    bytes.clear();
  };
  ScanString(
      s, nullptr, [&](const std::string& run) { bytes += run; },
      [&](std::uint32_t code) {
        if (wide) {
          flush();
          Text.push_back(static_cast<char16_t>(code));
        } else {
          bytes.push_back(static_cast<char>(code));
        }
      });
  flush();
  return true;
}

std::string EncodeStringValue(std::u16string_view Text, TLCID Lcid) {
  if (Text.empty()) return "''";
  std::string out;
  bool inQuotes = false;
  bool wide = false;       // a code above 255 makes the value a wide string
  char16_t latinCode = 0;  // a code 128..255 the code page could not hold
  const auto code = [&](unsigned unit) {
    if (inQuotes) out.push_back('\'');
    inQuotes = false;
    out.push_back('#');
    out += std::to_string(unit);
  };
  const auto quoted = [&](std::string_view bytes) {
    if (!inQuotes) out.push_back('\'');
    inQuotes = true;
    out += bytes;
  };
  for (std::size_t i = 0; i < Text.size();) {
    const char16_t unit = Text[i];
    if (unit < 32 || unit == u'\'') {
      code(unit);
      ++i;
      continue;
    }
    if (unit < 128) {
      const char c = static_cast<char>(unit);
      quoted(std::string_view(&c, 1));
      ++i;
      continue;
    }
    // One character (a surrogate pair counts as one): kept as 8-bit text when the code page holds
    // it exactly, else as the codes of its UTF-16 units.
    const std::size_t length = (unit >= 0xD800 && unit < 0xDC00 && i + 1 < Text.size()) ? 2 : 1;
    const std::u16string_view ch = Text.substr(i, length);
    const std::string bytes = WideStringToString(Lcid, ch);
    if (StringToWideString(Lcid, bytes) == ch && bytes.find('\'') == std::string::npos) {
      quoted(bytes);
    } else {
      for (const char16_t u : ch) {
        if (u > 255) wide = true;
        if (u >= 128 && u <= 255) latinCode = u;
        code(u);
      }
    }
    i += length;
  }
  if (inQuotes) out.push_back('\'');
  // In an 8-bit value a code from 128 to 255 would be read back as a byte of the code page, that is
  // as another character; without a wide character in the text there is no faithful notation.
  if (latinCode != 0 && !wide) {
    throw EConvertError("The character '" + Utf16ToUtf8(std::u16string(1, latinCode)) +
                        "' cannot be written in the code page of " + LCIDToLangName(Lcid) + ".");
  }
  return out;
}

bool NotationToEditText(std::string_view Notation, TLCID Lcid, std::string& Utf8) {
  std::u16string text;
  if (!DecodeStringValue(Notation, Lcid, text)) return false;
  Utf8 = Utf16ToUtf8(text);
  return true;
}

std::string EditTextToNotation(std::string_view Utf8, TLCID Lcid) {
  return EncodeStringValue(Utf8ToUtf16(Utf8), Lcid);
}

}  // namespace vaq
