// String values in form-text notation <-> Unicode text.
#include "core/values/string_notation.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/values/code_page_text.h"
#include "host/core/locale.h"

namespace vaq::values {
namespace {

int DigitValue(char c, bool hex) {
  if (c >= '0' && c <= '9') return c - '0';
  if (!hex) return -1;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Walks the pieces of a string value (blanks around it already gone): `Run` gets the bytes of each
// quoted run, `Code` each character code. Empty when the value is well-formed, else the reason.
template <typename RunFn, typename CodeFn>
std::string Scan(std::string_view s, TLCID lcid, RunFn&& Run, CodeFn&& Code) {
  if (s.empty()) return "empty value";
  if (s.front() != '\'' && s.front() != '#') return "a string starts with a quote or a character code";
  std::string run;
  std::size_t i = 0;
  for (;;) {
    if (s[i] == '\'') {
      run.clear();
      ++i;
      for (;;) {
        const std::size_t stop = s.find('\'', i);
        const std::size_t end = stop == std::string_view::npos ? s.size() : stop;
        for (std::size_t k = i; k < end; ++k) {
          const auto c = static_cast<unsigned char>(s[k]);
          if (c == '\r' || c == '\n') return "a line break inside quotes (write it as #13#10)";
          if (c < 32)
            return "the control character " + CharacterName(c) + " inside quotes (write it as #" +
                   std::to_string(c) + ")";
        }
        if (stop == std::string_view::npos) return "unterminated string";
        run.append(s.substr(i, stop - i));
        i = stop + 1;
        if (i < s.size() && s[i] == '\'') {  // '' is one apostrophe
          run.push_back('\'');
          ++i;
          continue;
        }
        break;
      }
      Run(std::string_view(run));
    } else {
      ++i;
      const bool hex = i < s.size() && s[i] == '$';
      if (hex) ++i;
      std::uint32_t code = 0;
      const std::size_t start = i;
      for (int digit; i < s.size() && (digit = DigitValue(s[i], hex)) >= 0; ++i) {
        code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
        if (code > 0xFFFF) return "character code above 65535";
      }
      if (i == start) return "'#' without a character code";
      Code(static_cast<char16_t>(code));
    }
    if (i == s.size()) return {};
    if (s[i] == '\'' || s[i] == '#') continue;
    // Pieces may also be joined by "+", with blanks around it.
    std::size_t next = i;
    while (next < s.size() && IsBlank(s[next])) ++next;
    if (next == s.size() || s[next] != '+')
      return "unexpected " + CharacterNameAt(s, next, lcid) + " in a string";
    ++next;
    while (next < s.size() && IsBlank(s[next])) ++next;
    if (next == s.size()) return "'+' without a following piece";
    if (s[next] != '\'' && s[next] != '#')
      return "unexpected " + CharacterNameAt(s, next, lcid) + " after '+'";
    i = next;
  }
}

// Writes `Units` as notation: codes for what `AsCode` picks, the runs between them quoted and
// turned into bytes by `Narrow`.
template <typename Unit, typename AsCodeFn, typename NarrowFn>
std::string Quote(std::basic_string_view<Unit> Units, AsCodeFn&& AsCode, NarrowFn&& Narrow) {
  if (Units.empty()) return "''";
  std::string out;
  out.reserve(Units.size() + 2);
  std::size_t runStart = 0;
  const auto flush = [&](std::size_t end) {
    if (end == runStart) return;
    out.push_back('\'');
    out += Narrow(Units.substr(runStart, end - runStart));
    out.push_back('\'');
  };
  for (std::size_t i = 0; i < Units.size(); ++i) {
    if (!AsCode(i)) continue;
    flush(i);
    out.push_back('#');
    out += std::to_string(static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<Unit>>(Units[i])));
    runStart = i + 1;
  }
  flush(Units.size());
  return out;
}

bool IsHighSurrogate(char16_t Unit) {
  return Unit >= 0xD800 && Unit < 0xDC00;
}

// Which units of `Text` become codes: control characters, the apostrophe, and every unit of a
// character the code page cannot store. `Wide` tells whether a unit above 255 is among them;
// `FirstLow` is the first such character from U+0080 to U+00FF (0 when there is none).
std::vector<bool> CodedUnits(std::u16string_view Text, TLCID Lcid, bool& Wide, char16_t& FirstLow) {
  std::vector<bool> asCode(Text.size());
  Wide = false;
  FirstLow = 0;
  bool ascii = true;
  for (std::size_t i = 0; i < Text.size(); ++i) {
    const char16_t c = Text[i];
    asCode[i] = c < 32 || c == u'\'';
    ascii = ascii && c < 0x80;
  }
  if (ascii) return asCode;
  // Most texts survive the code page whole, which spares the test of each character.
  if (StringToWideString(Lcid, WideStringToString(Lcid, Text)) == Text) return asCode;
  for (std::size_t i = 0; i < Text.size();) {
    const std::size_t length =
        IsHighSurrogate(Text[i]) && i + 1 < Text.size() && Text[i + 1] >= 0xDC00 && Text[i + 1] < 0xE000 ? 2
                                                                                                         : 1;
    const std::u16string_view one = Text.substr(i, length);
    if (one.front() >= 0x80 && StringToWideString(Lcid, WideStringToString(Lcid, one)) != one) {
      for (std::size_t k = i; k < i + length; ++k) {
        asCode[k] = true;
        if (Text[k] > 255) {
          Wide = true;
        } else if (FirstLow == 0) {
          FirstLow = Text[k];
        }
      }
    }
    i += length;
  }
  return asCode;
}

std::string EncodeWith(std::u16string_view Text, TLCID Lcid, bool Throw, bool& Replaced) {
  Replaced = false;
  bool wide = false;
  char16_t firstLow = 0;
  std::vector<bool> asCode = CodedUnits(Text, Lcid, wide, firstLow);
  // In an 8-bit value a code from 128 to 255 is read back as a byte of the code page, that is as
  // another character; without a wide character in the text there is no faithful notation.
  if (firstLow != 0 && !wide) {
    if (Throw) {
      throw EUnheldCharacter(firstLow, Lcid,
                             "The character " + CharacterName(firstLow) + " is not in the code page of " +
                                 LCIDToLangName(Lcid) + ", and a text without a character above U+00FF " +
                                 "cannot hold it as a code.");
    }
    Replaced = true;
    for (std::size_t i = 0; i < Text.size(); ++i) asCode[i] = Text[i] < 32 || Text[i] == u'\'';
  }
  return Quote(
      Text, [&](std::size_t i) { return asCode[i]; },
      [&](std::u16string_view run) { return WideStringToString(Lcid, run); });
}

}  // namespace

bool IsStringNotation(std::string_view Value) {
  const std::string_view s = TrimBlanks(Value);
  return !s.empty() && (s.front() == '\'' || s.front() == '#');
}

std::string StringNotationError(std::string_view Value, TLCID Lcid) {
  return Scan(
      TrimBlanks(Value), Lcid, [](std::string_view) {}, [](char16_t) {});
}

std::optional<std::u16string> DecodeString(std::string_view Value, TLCID Lcid) {
  const std::string_view s = TrimBlanks(Value);
  // The common case, one quoted run of plain characters, needs no scanning.
  if (s.size() >= 2 && s.front() == '\'' && s.back() == '\'' && s.find('\'', 1) == s.size() - 1 &&
      std::none_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 32; })) {
    return DecodeText(s.substr(1, s.size() - 2), Lcid);
  }
  bool wide = false;
  if (!Scan(
           s, Lcid, [](std::string_view) {}, [&wide](char16_t code) { wide = wide || code > 255; })
           .empty())
    return std::nullopt;
  // Bytes are collected and decoded together, so that a double-byte character split between a run
  // and a code stays whole; in a wide string each code ends the run before it.
  std::u16string text;
  std::string bytes;
  const auto flush = [&] {
    if (bytes.empty()) return;
    text += DecodeText(bytes, Lcid);
    bytes.clear();
  };
  Scan(
      s, Lcid, [&](std::string_view run) { bytes += run; },
      [&](char16_t code) {
        if (wide) {
          flush();
          text.push_back(code);
        } else {
          bytes.push_back(static_cast<char>(code));
        }
      });
  flush();
  return text;
}

std::string EncodeString(std::u16string_view Text, TLCID Lcid) {
  bool replaced = false;
  return EncodeWith(Text, Lcid, true, replaced);
}

std::string EncodeStringReplacing(std::u16string_view Text, TLCID Lcid, bool& Replaced) {
  return EncodeWith(Text, Lcid, false, Replaced);
}

std::string QuoteBytes(std::string_view Bytes) {
  return Quote(
      Bytes,
      [&](std::size_t i) {
        const auto c = static_cast<unsigned char>(Bytes[i]);
        return c < 32 || c == '\'';
      },
      [](std::string_view run) { return std::string(run); });
}

std::optional<std::string> DecodeStringUtf8(std::string_view Value, TLCID Lcid, TLineBreaks Breaks,
                                            bool* HadCrLf) {
  if (HadCrLf != nullptr) *HadCrLf = false;
  std::optional<std::u16string> text = DecodeString(Value, Lcid);
  if (!text) return std::nullopt;
  if (Breaks == TLineBreaks::CrLfAsLf && text->find(u"\r\n") != std::u16string::npos) {
    if (HadCrLf != nullptr) *HadCrLf = true;
    std::u16string folded;
    folded.reserve(text->size());
    for (std::size_t i = 0; i < text->size(); ++i) {
      if ((*text)[i] == u'\r' && i + 1 < text->size() && (*text)[i + 1] == u'\n') continue;
      folded.push_back((*text)[i]);
    }
    *text = std::move(folded);
  }
  return Utf16ToUtf8(*text);
}

std::string EncodeStringUtf8(std::string_view Utf8, TLCID Lcid, TLineBreaks Breaks) {
  std::u16string text = Utf8ToUtf16(Utf8);
  if (Breaks == TLineBreaks::CrLfAsLf) {
    std::u16string withCr;
    withCr.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) withCr.push_back(u'\r');
      withCr.push_back(text[i]);
    }
    text = std::move(withCr);
  }
  return EncodeString(text, Lcid);
}

std::string OneLineText(std::u16string_view Text) {
  std::u16string shown;
  shown.reserve(Text.size());
  for (const char16_t c : Text) {
    if (c < 32) {
      shown += u'#';
      for (const char d : std::to_string(static_cast<int>(c))) shown += static_cast<char16_t>(d);
    } else {
      shown += c;
    }
  }
  return Utf16ToUtf8(shown);
}

std::string OneLineText(std::string_view Utf8) {
  std::string line;
  line.reserve(Utf8.size());
  for (const char c : Utf8) {
    if (static_cast<unsigned char>(c) < 32) {
      line += "#" + std::to_string(static_cast<int>(c));
    } else {
      line += c;
    }
  }
  return line;
}

}  // namespace vaq::values
