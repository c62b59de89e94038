// Form-text notation <-> Unicode text.
#include "exchange/notation.h"

#include <cstdint>
#include <string>
#include <vector>

#include "host/core/locale.h"

namespace rux::exchange {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsHexDigit(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool IsIdentStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool IsIdentChar(char c) {
  return IsIdentStart(c) || IsDigit(c);
}
bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// One piece of a string value: a quoted run of bytes, or a character code.
struct Piece {
  bool IsCode = false;
  std::string Run;
  std::uint32_t Code = 0;
};

// The pieces of a string value; nullopt when it is not one.
std::optional<std::vector<Piece>> SplitPieces(std::string_view value) {
  std::vector<Piece> pieces;
  std::size_t i = 0;
  const std::size_t n = value.size();
  if (n == 0) return std::nullopt;
  for (;;) {
    if (i < n && value[i] == '\'') {
      Piece piece;
      ++i;
      for (;;) {
        const std::size_t quote = value.find('\'', i);
        if (quote == std::string_view::npos) return std::nullopt;
        piece.Run.append(value.substr(i, quote - i));
        i = quote + 1;
        if (i < n && value[i] == '\'') {
          piece.Run.push_back('\'');
          ++i;
          continue;
        }
        break;
      }
      pieces.push_back(std::move(piece));
    } else if (i < n && value[i] == '#') {
      ++i;
      const bool hex = i < n && value[i] == '$';
      if (hex) ++i;
      std::uint32_t code = 0;
      const std::size_t start = i;
      while (i < n && (hex ? IsHexDigit(value[i]) : IsDigit(value[i]))) {
        const char c = value[i];
        const std::uint32_t digit = IsDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10;
        code = code * (hex ? 16 : 10) + digit;
        if (code > 0xFFFF) return std::nullopt;
        ++i;
      }
      if (i == start) return std::nullopt;
      pieces.push_back(Piece{true, {}, code});
    } else {
      return std::nullopt;
    }
    if (i == n) return pieces;
    if (value[i] == '\'' || value[i] == '#') continue;
    // Pieces may also be joined by "+" with blanks around it.
    while (i < n && IsBlank(value[i])) ++i;
    if (i == n || value[i] != '+') return std::nullopt;
    ++i;
    while (i < n && IsBlank(value[i])) ++i;
    if (i == n) return std::nullopt;
  }
}

void FoldCrLf(std::string& text, bool* hadCrLf) {
  const std::size_t first = text.find("\r\n");
  if (first == std::string::npos) return;
  if (hadCrLf != nullptr) *hadCrLf = true;
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out.push_back(text[i]);
  }
  text = std::move(out);
}

// Whether the code page of `lcid` holds `c` (one UTF-16 unit; surrogates never).
bool Holds(vaq::TLCID lcid, unsigned codePage, char16_t c) {
  if (c < 128) return true;
  if (c >= 0xD800 && c <= 0xDFFF) return codePage == 0;
  if (codePage == 0) return true;
  const std::u16string one(1, c);
  return vaq::StringToWideString(lcid, vaq::WideStringToString(lcid, one)) == one;
}

bool IsAscii(std::string_view text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace

std::string ToUtf8(vaq::TLCID lcid, std::string_view text) {
  return IsAscii(text) ? std::string(text) : vaq::StringToUtf8(lcid, text);
}

std::string FromUtf8(vaq::TLCID lcid, std::string_view text) {
  return IsAscii(text) ? std::string(text) : vaq::Utf8ToString(lcid, text);
}

bool IsStringNotation(std::string_view value) {
  return !value.empty() && (value.front() == '\'' || value.front() == '#');
}

std::optional<std::string> DecodeString(std::string_view value, vaq::TLCID lcid, bool* hadCrLf) {
  if (hadCrLf != nullptr) *hadCrLf = false;
  if (!IsStringNotation(value)) return std::nullopt;
  // The common case, one quoted run without doubled quotes, needs no splitting.
  if (value.size() >= 2 && value.front() == '\'' && value.back() == '\'' &&
      value.find('\'', 1) == value.size() - 1) {
    std::string text = ToUtf8(lcid, value.substr(1, value.size() - 2));
    FoldCrLf(text, hadCrLf);
    return text;
  }
  const std::optional<std::vector<Piece>> pieces = SplitPieces(value);
  if (!pieces) return std::nullopt;
  bool wide = false;
  for (const Piece& piece : *pieces) wide = wide || (piece.IsCode && piece.Code > 255);
  std::string text;
  if (!wide) {
    std::string bytes;
    for (const Piece& piece : *pieces) {
      if (piece.IsCode) {
        bytes.push_back(static_cast<char>(piece.Code));
      } else {
        bytes += piece.Run;
      }
    }
    text = ToUtf8(lcid, bytes);
  } else {
    std::u16string units;
    for (const Piece& piece : *pieces) {
      if (piece.IsCode) {
        units.push_back(static_cast<char16_t>(piece.Code));
      } else {
        units += vaq::StringToWideString(lcid, piece.Run);
      }
    }
    text = vaq::Utf16ToUtf8(units);
  }
  FoldCrLf(text, hadCrLf);
  return text;
}

std::optional<std::string> EncodeString(std::string_view text, vaq::TLCID lcid, bool crlf,
                                        std::string& error) {
  std::u16string units = vaq::Utf8ToUtf16(text);
  if (crlf) {
    std::u16string withCr;
    withCr.reserve(units.size() + 8);
    for (std::size_t i = 0; i < units.size(); ++i) {
      if (units[i] == u'\n' && (i == 0 || units[i - 1] != u'\r')) withCr.push_back(u'\r');
      withCr.push_back(units[i]);
    }
    units = std::move(withCr);
  }
  if (units.empty()) return std::string("''");
  const unsigned codePage = vaq::LCIDToCodePage(lcid);

  // Which units go as codes: control characters, the apostrophe, and what the code page cannot hold.
  // Most texts survive the code page whole, which spares the test character by character.
  const bool allHeld =
      codePage == 0 || vaq::StringToWideString(lcid, vaq::WideStringToString(lcid, units)) == units;
  std::vector<bool> asCode(units.size());
  bool wide = false;
  char16_t lowUnheld = 0;
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char16_t c = units[i];
    if (c < 32 || c == u'\'') {
      asCode[i] = true;
    } else if (!allHeld && !Holds(lcid, codePage, c)) {
      asCode[i] = true;
      if (c > 255) {
        wide = true;
      } else if (lowUnheld == 0) {
        lowUnheld = c;
      }
    }
  }
  if (lowUnheld != 0 && !wide) {
    char code[8];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(lowUnheld));
    error = std::string("the character ") + code + " cannot be held by code page " +
            std::to_string(codePage) + " and cannot be written as a code in a text without wider characters";
    return std::nullopt;
  }

  std::string out;
  out.reserve(units.size() + 8);
  std::size_t runStart = 0;
  const auto flush = [&](std::size_t end) {
    if (end == runStart) return;
    const std::string run =
        vaq::WideStringToString(lcid, std::u16string_view(units).substr(runStart, end - runStart));
    out.push_back('\'');
    out += run;
    out.push_back('\'');
  };
  for (std::size_t i = 0; i < units.size(); ++i) {
    if (!asCode[i]) continue;
    flush(i);
    out.push_back('#');
    out += std::to_string(static_cast<unsigned>(units[i]));
    runStart = i + 1;
  }
  flush(units.size());
  return out;
}

ValueKind KindOf(std::string_view v) {
  if (v.empty()) return ValueKind::Other;
  if (v.front() == '[' && v.back() == ']') return ValueKind::Set;
  if (v.front() == '{' && v.back() == '}') return ValueKind::Binary;
  if (IsValidValue(ValueKind::Integer, v)) return ValueKind::Integer;
  if (IsValidValue(ValueKind::Float, v)) return ValueKind::Float;
  if (IsValidValue(ValueKind::Identifier, v)) return ValueKind::Identifier;
  return ValueKind::Other;
}

const char* KindName(ValueKind kind) {
  switch (kind) {
    case ValueKind::Integer:
      return "integer";
    case ValueKind::Float:
      return "number";
    case ValueKind::Set:
      return "set";
    case ValueKind::Identifier:
      return "identifier";
    case ValueKind::Binary:
      return "binary data";
    case ValueKind::Other:
      break;
  }
  return "value";
}

bool IsValidValue(ValueKind kind, std::string_view v) {
  std::size_t i = 0;
  const std::size_t n = v.size();
  switch (kind) {
    case ValueKind::Integer:
      if (i < n && v[i] == '-') ++i;
      if (i < n && v[i] == '$') {
        ++i;
        if (i == n) return false;
        for (; i < n; ++i)
          if (!IsHexDigit(v[i])) return false;
        return true;
      }
      if (i == n) return false;
      for (; i < n; ++i)
        if (!IsDigit(v[i])) return false;
      return true;
    case ValueKind::Float: {
      if (i < n && v[i] == '-') ++i;
      std::size_t digits = 0;
      while (i < n && IsDigit(v[i])) ++i, ++digits;
      if (i < n && v[i] == '.') {
        ++i;
        while (i < n && IsDigit(v[i])) ++i, ++digits;
      }
      if (digits == 0) return false;
      if (i < n && (v[i] == 'E' || v[i] == 'e')) {
        ++i;
        if (i < n && (v[i] == '+' || v[i] == '-')) ++i;
        if (i == n || !IsDigit(v[i])) return false;
        while (i < n && IsDigit(v[i])) ++i;
      }
      if (i < n && (v[i] == 's' || v[i] == 'c' || v[i] == 'd')) ++i;
      return i == n;
    }
    case ValueKind::Identifier:
      if (n == 0 || !IsIdentStart(v[0])) return false;
      for (const char c : v)
        if (!IsIdentChar(c) && c != '.') return false;
      return true;
    case ValueKind::Set: {
      if (n < 2 || v.front() != '[' || v.back() != ']') return false;
      const std::string_view inner = v.substr(1, n - 2);
      std::size_t start = 0;
      bool any = false;
      while (start <= inner.size()) {
        std::size_t comma = inner.find(',', start);
        if (comma == std::string_view::npos) comma = inner.size();
        std::string_view element = inner.substr(start, comma - start);
        while (!element.empty() && IsBlank(element.front())) element.remove_prefix(1);
        while (!element.empty() && IsBlank(element.back())) element.remove_suffix(1);
        if (element.empty()) {
          if (any || comma != inner.size()) return false;  // "[a,]" or "[,a]"
        } else if (!IsValidValue(ValueKind::Identifier, element)) {
          return false;
        }
        any = true;
        start = comma + 1;
      }
      return true;
    }
    case ValueKind::Binary:
      if (n < 2 || v.front() != '{' || v.back() != '}') return false;
      for (std::size_t k = 1; k + 1 < n; ++k)
        if (!IsHexDigit(v[k]) && !IsBlank(v[k])) return false;
      return true;
    case ValueKind::Other:
      return v.find_first_of("\r\n\x04") == std::string_view::npos;
  }
  return false;
}

}  // namespace rux::exchange
