// Locale ids, their names and code pages, the thread locale, and 8-bit <-> UTF-16 conversion.
// A locale's 8-bit texts are in the ANSI code page of its language (1250-1258, 874, 932, 936,
// 949, 950); languages without one (code page 0) keep their 8-bit texts as UTF-8.
#pragma once

#include <string>
#include <string_view>

#include "host/core/types.h"

namespace vaq {

// Reads BCP-47 tags ("de-DE"), underscore forms ("de_DE"), decimal ids ("1031"), "$" hex ids
// ("$0407") and the three-letter abbreviations ("DEU", "ENU"), case-insensitively; 0 when unknown.
// A bare language means its likeliest locale ("de" is de-DE, "sr" sr-Cyrl-RS). Three letters are
// read as an abbreviation first ("ENG" is en-GB).
TLCID StrToLCID(std::string_view text);
// The BCP-47 tag of a locale ("de-DE", "sr-Latn-RS"; Chinese without the script its region implies:
// "zh-TW"); with `tag` false the three-letter abbreviation ("DEU"). Empty for an unknown id, and the
// abbreviation is empty for locales that have none.
std::string LCIDToStr(TLCID lcid, bool tag = true);
// The English display name: "German (Germany)". Empty for an unknown id.
std::string LCIDToLangName(TLCID lcid);
// The ANSI code page of the locale's language; 0 when it has none (its texts are UTF-8).
unsigned LCIDToCodePage(TLCID lcid);

// The locale of the calling thread; starts as the system default locale.
TLCID VaqGetThreadLocale();
// Sets the locale of the calling thread and returns the previous one. Callers restore it.
TLCID VaqSetThreadLocale(TLCID lcid);
// The system default locale, read once: LC_ALL, else LANG ("de_DE.UTF-8", "sr_RS@latin"); en-US
// when both are unset, "C", "POSIX" or unknown.
TLCID VaqSystemDefaultLCID();

// Sets the thread locale for the lifetime of the guard and restores the previous one.
class ScopedThreadLocale {
 public:
  explicit ScopedThreadLocale(TLCID lcid) : previous_(VaqSetThreadLocale(lcid)) {}
  ~ScopedThreadLocale() { VaqSetThreadLocale(previous_); }
  ScopedThreadLocale(const ScopedThreadLocale&) = delete;
  ScopedThreadLocale& operator=(const ScopedThreadLocale&) = delete;

 private:
  TLCID previous_;
};

// 8-bit text in the locale's code page to UTF-16; unmappable bytes become '?'.
std::u16string StringToWideString(TLCID lcid, std::string_view text);
// UTF-16 to 8-bit text in the locale's code page; unmappable characters become '?'.
std::string WideStringToString(TLCID lcid, std::u16string_view text);

// 8-bit text in the locale's code page to UTF-8 and back (for terminals, files and widgets that
// speak UTF-8); unmappable characters become '?'.
std::string StringToUtf8(TLCID lcid, std::string_view text);
std::string Utf8ToString(TLCID lcid, std::string_view text);
// UTF-8 <-> UTF-16; invalid sequences and lone surrogates become '?'.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace vaq
