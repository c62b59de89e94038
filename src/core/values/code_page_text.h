// Plain text in the code page of a language <-> Unicode. The notes hold every field (Ids,
// values, comments) as 8-bit text in the code page of its language: the ANSI code page of the
// source language for originals and Ids, of the target language for translations and comments
// (languages without a code page keep their 8-bit texts as UTF-8). Whatever shows such text or
// takes it from a user goes through these functions, never through a conversion of its own.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/core/errors.h"
#include "host/core/types.h"

namespace vaq::values {

// A text holds a character that the code page of `Lcid` cannot store. The message names the
// character, its code and the language; callers that phrase their own message use the fields.
class EUnheldCharacter : public EConvertError {
 public:
  EUnheldCharacter(char32_t Character, TLCID Lcid);
  EUnheldCharacter(char32_t Character, TLCID Lcid, const std::string& Message);
  char32_t Character() const { return Character_; }
  TLCID Lcid() const { return Lcid_; }
  unsigned CodePage() const;

 private:
  char32_t Character_;
  TLCID Lcid_;
};

// A character as messages name it, in UTF-8: 'a', 'é' (U+00E9); a control character by its
// code alone (U+000A).
std::string CharacterName(char32_t Character);
// The same for the character that starts at byte `At` of 8-bit text of the code page of `Lcid`
// (one byte, or two of a double-byte character); a byte the code page does not define is named
// by its value (byte 0x81).
std::string CharacterNameAt(std::string_view Bytes, std::size_t At, TLCID Lcid);

// 8-bit text of the code page to UTF-16 and UTF-8; a byte the code page does not define becomes
// '?'. ASCII texts (most Ids, names and numbers) are taken over without a conversion.
std::u16string DecodeText(std::string_view Bytes, TLCID Lcid);
std::string DecodeTextUtf8(std::string_view Bytes, TLCID Lcid);

// The characters of `Text` that the code page cannot store, each once, in the order they appear
// (a surrogate pair is one character). Empty when the code page holds the whole text.
std::vector<char32_t> UnheldCharacters(std::u16string_view Text, TLCID Lcid);

// UTF-16 and UTF-8 text to 8-bit text of the code page. A character the code page cannot store
// raises EUnheldCharacter for the first one: nothing is replaced silently.
std::string EncodeText(std::u16string_view Text, TLCID Lcid);
std::string EncodeTextUtf8(std::string_view Utf8, TLCID Lcid);

// The same for texts that must become 8-bit whatever they hold (component and font names of a
// live form): what the code page lacks becomes '?'.
std::string EncodeTextReplacing(std::u16string_view Text, TLCID Lcid);

}  // namespace vaq::values
