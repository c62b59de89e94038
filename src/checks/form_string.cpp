// Decoding of string values in form-text notation.
#include "checks/form_string.h"

#include <cstdint>
#include <vector>

#include "host/core/locale.h"

namespace rux::checks {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// One piece as it was read: a quoted run (bytes of the code page) or a character code.
struct Piece {
  std::string Bytes;
  std::uint32_t Code = 0;
  bool IsCode = false;
};

}  // namespace

std::optional<std::u16string> DecodeFormString(std::string_view Value, vaq::TLCID Locale) {
  std::vector<Piece> pieces;
  bool wide = false;
  std::size_t i = 0;
  const std::size_t n = Value.size();
  auto skipBlanks = [&] {
    while (i < n && (Value[i] == ' ' || Value[i] == '\t')) ++i;
  };
  skipBlanks();
  if (i == n || (Value[i] != '\'' && Value[i] != '#')) return std::nullopt;
  while (i < n) {
    if (Value[i] == '\'') {
      Piece piece;
      ++i;
      while (true) {
        if (i == n) return std::nullopt;  // unterminated
        if (Value[i] == '\'') {
          if (i + 1 < n && Value[i + 1] == '\'') {
            piece.Bytes += '\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        piece.Bytes += Value[i++];
      }
      pieces.push_back(std::move(piece));
    } else if (Value[i] == '#') {
      ++i;
      std::uint32_t code = 0;
      if (i < n && Value[i] == '$') {
        ++i;
        if (i == n || HexDigit(Value[i]) < 0) return std::nullopt;
        for (; i < n && HexDigit(Value[i]) >= 0; ++i)
          code = code * 16 + static_cast<std::uint32_t>(HexDigit(Value[i]));
      } else {
        if (i == n || !IsDigit(Value[i])) return std::nullopt;
        for (; i < n && IsDigit(Value[i]); ++i) code = code * 10 + static_cast<std::uint32_t>(Value[i] - '0');
      }
      if (code > 0xFFFF) return std::nullopt;
      if (code > 255) wide = true;
      pieces.push_back(Piece{{}, code, true});
    } else {
      return std::nullopt;
    }
    skipBlanks();
    if (i < n && Value[i] == '+') {
      ++i;
      skipBlanks();
      if (i == n) return std::nullopt;
    }
  }

  std::u16string text;
  if (!wide) {
    std::string bytes;
    for (const Piece& piece : pieces) {
      if (piece.IsCode) {
        bytes += static_cast<char>(piece.Code);
      } else {
        bytes += piece.Bytes;
      }
    }
    return vaq::StringToWideString(Locale, bytes);
  }
  for (const Piece& piece : pieces) {
    if (piece.IsCode) {
      text += static_cast<char16_t>(piece.Code);
    } else {
      text += vaq::StringToWideString(Locale, piece.Bytes);
    }
  }
  return text;
}

}  // namespace rux::checks

namespace rux::checks {

std::string ShowText(std::u16string_view Text) {
  std::u16string shown;
  shown.reserve(Text.size());
  for (char16_t c : Text) {
    if (c < 32) {
      shown += u'#';
      for (char d : std::to_string(static_cast<int>(c))) shown += static_cast<char16_t>(d);
    } else {
      shown += c;
    }
  }
  return vaq::Utf16ToUtf8(shown);
}

}  // namespace rux::checks
