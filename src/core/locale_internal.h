// Internals of the locale services, shared by locale.cpp, locale_table.cpp, text.cpp and their tests.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "host/core/types.h"

namespace vaq::locale_internal {

// The ANSI code pages we convert. Code page 0 stands for UTF-8.
inline constexpr std::array<unsigned, 14> kAnsiCodePages = {874,  932,  936,  949,  950,  1250, 1251,
                                                            1252, 1253, 1254, 1255, 1256, 1257, 1258};

// The ICU converter of an ANSI code page; nullptr for 0 and for code pages not in kAnsiCodePages.
const char* ConverterName(unsigned codePage);

// A locale and its classic three-letter abbreviation ("DEU" for de-DE).
struct Abbreviation {
  TLCID Lcid;
  const char* Text;
};
std::span<const Abbreviation> Abbreviations();

// The ANSI code page of a language written in a script: the key is "de" for a language in its usual
// script or "sr-Latn" for one in a named script. 0 when the language has none.
unsigned LanguageCodePage(std::string_view key);

// The locale of a POSIX locale name as LANG or LC_ALL hold it ("de_DE.UTF-8", "sr_RS@latin");
// en-US for "C", "POSIX", an empty text and names we do not know.
TLCID ParsePosixLocaleName(std::string_view name);

// The code page of the calling thread's locale.
unsigned ThreadCodePage();

// Conversions between a code page and UTF-16 that reuse the caller's buffer. Unmappable bytes and
// characters become '?'; code page 0 and unknown code pages are UTF-8.
void DecodeInto(unsigned codePage, std::string_view text, std::u16string& out);
void EncodeInto(unsigned codePage, std::u16string_view text, std::string& out);

// Whether the code page maps the character both ways, so that it survives a round trip.
bool RoundTrips(unsigned codePage, char32_t c);

}  // namespace vaq::locale_internal
