// Plain text in the code page of a language <-> Unicode.
#include "core/values/code_page_text.h"

#include <algorithm>
#include <cstdio>

#include "host/core/locale.h"

namespace vaq::values {
namespace {

bool IsAscii(std::string_view Text) {
  return std::all_of(Text.begin(), Text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsAscii(std::u16string_view Text) {
  return std::all_of(Text.begin(), Text.end(), [](char16_t c) { return c < 0x80; });
}

bool IsHighSurrogate(char16_t Unit) {
  return Unit >= 0xD800 && Unit < 0xDC00;
}
bool IsLowSurrogate(char16_t Unit) {
  return Unit >= 0xDC00 && Unit < 0xE000;
}

// The length in units of the character that starts at `At` (2 for a surrogate pair).
std::size_t CharacterLength(std::u16string_view Text, std::size_t At) {
  return IsHighSurrogate(Text[At]) && At + 1 < Text.size() && IsLowSurrogate(Text[At + 1]) ? 2 : 1;
}

char32_t CharacterAt(std::u16string_view Text, std::size_t At, std::size_t Length) {
  if (Length == 2) return 0x10000 + ((char32_t(Text[At]) - 0xD800) << 10) + (char32_t(Text[At + 1]) - 0xDC00);
  return Text[At];
}

bool RoundTrips(std::u16string_view Text, TLCID Lcid) {
  return StringToWideString(Lcid, WideStringToString(Lcid, Text)) == Text;
}

std::string UnheldMessage(char32_t Character, TLCID Lcid) {
  const unsigned codePage = LCIDToCodePage(Lcid);
  std::string language = LCIDToLangName(Lcid);
  if (language.empty()) language = "language " + std::to_string(Lcid);
  return "The character " + CharacterName(Character) + " is not in the code page of " + language +
         (codePage != 0 ? " (" + std::to_string(codePage) + ")" : std::string()) + ".";
}

}  // namespace

EUnheldCharacter::EUnheldCharacter(char32_t Character, TLCID Lcid)
    : EUnheldCharacter(Character, Lcid, UnheldMessage(Character, Lcid)) {}

EUnheldCharacter::EUnheldCharacter(char32_t Character, TLCID Lcid, const std::string& Message)
    : EConvertError(Message), Character_(Character), Lcid_(Lcid) {}

unsigned EUnheldCharacter::CodePage() const {
  return LCIDToCodePage(Lcid_);
}

std::string CharacterName(char32_t Character) {
  if (Character >= 0x20 && Character < 0x7F) return std::string("'") + static_cast<char>(Character) + "'";
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(Character));
  // Control characters, lone surrogates and what lies beyond Unicode have no picture.
  if (Character < 0x20 || Character == 0x7F || (Character >= 0x80 && Character < 0xA0) ||
      (Character >= 0xD800 && Character < 0xE000) || Character > 0x10FFFF)
    return code;
  std::u16string unit;
  if (Character >= 0x10000) {
    unit.push_back(static_cast<char16_t>(0xD800 + ((Character - 0x10000) >> 10)));
    unit.push_back(static_cast<char16_t>(0xDC00 + ((Character - 0x10000) & 0x3FF)));
  } else {
    unit.push_back(static_cast<char16_t>(Character));
  }
  return "'" + Utf16ToUtf8(unit) + "' (" + code + ")";
}

std::string CharacterNameAt(std::string_view Bytes, std::size_t At, TLCID Lcid) {
  if (At >= Bytes.size()) return "the end";
  const auto byte = static_cast<unsigned char>(Bytes[At]);
  if (byte < 0x80) return CharacterName(byte);
  // A character takes at most four bytes (UTF-8); only the first character decoded counts.
  const std::u16string decoded = StringToWideString(Lcid, Bytes.substr(At, 4));
  if (decoded.empty() || decoded.front() == u'?' || decoded.front() == 0xFFFD) {
    char text[16];
    std::snprintf(text, sizeof text, "byte 0x%02X", byte);
    return text;
  }
  return CharacterName(CharacterAt(decoded, 0, CharacterLength(decoded, 0)));
}

std::u16string DecodeText(std::string_view Bytes, TLCID Lcid) {
  if (IsAscii(Bytes)) return std::u16string(Bytes.begin(), Bytes.end());
  return StringToWideString(Lcid, Bytes);
}

std::string DecodeTextUtf8(std::string_view Bytes, TLCID Lcid) {
  if (IsAscii(Bytes)) return std::string(Bytes);
  return StringToUtf8(Lcid, Bytes);
}

std::vector<char32_t> UnheldCharacters(std::u16string_view Text, TLCID Lcid) {
  std::vector<char32_t> unheld;
  if (IsAscii(Text) || RoundTrips(Text, Lcid)) return unheld;
  for (std::size_t i = 0; i < Text.size();) {
    const std::size_t length = CharacterLength(Text, i);
    const std::u16string_view one = Text.substr(i, length);
    if (one.front() >= 0x80 && !RoundTrips(one, Lcid)) {
      const char32_t character = CharacterAt(Text, i, length);
      if (std::find(unheld.begin(), unheld.end(), character) == unheld.end()) unheld.push_back(character);
    }
    i += length;
  }
  return unheld;
}

std::string EncodeText(std::u16string_view Text, TLCID Lcid) {
  if (IsAscii(Text)) return std::string(Text.begin(), Text.end());
  std::string bytes = WideStringToString(Lcid, Text);
  if (StringToWideString(Lcid, bytes) == Text) return bytes;
  const std::vector<char32_t> unheld = UnheldCharacters(Text, Lcid);
  throw EUnheldCharacter(unheld.empty() ? char32_t(0xFFFD) : unheld.front(), Lcid);
}

std::string EncodeTextUtf8(std::string_view Utf8, TLCID Lcid) {
  if (IsAscii(Utf8)) return std::string(Utf8);
  return EncodeText(Utf8ToUtf16(Utf8), Lcid);
}

std::string EncodeTextReplacing(std::u16string_view Text, TLCID Lcid) {
  if (IsAscii(Text)) return std::string(Text.begin(), Text.end());
  return WideStringToString(Lcid, Text);
}

}  // namespace vaq::values
