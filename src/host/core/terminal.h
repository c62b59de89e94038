// Text on the command line: what vaq prints and what the user types are in the terminal's character
// set, while notes hold 8-bit text in the code page of each value's language.
#pragma once

#include <string>
#include <string_view>

#include "host/core/types.h"

namespace vaq {

// The terminal's character set, read once from LC_ALL, LC_CTYPE or LANG (the first one set):
// "ru_RU.KOI8-R" gives "KOI8-R". "UTF-8" when none is set, when it names no character set, for
// the "C" and "POSIX" locales and for a character set ICU does not know.
const std::string& TerminalCharset();
// 8-bit text in the code page of `Lcid` (UTF-8 for a language without one and for Lcid 0) in the
// terminal's character set; characters the terminal cannot show become '?'.
std::string ToTerminal(TLCID Lcid, std::string_view Text);
// Text the user typed, in UTF-8: the 8-bit text of Lcid 0.
std::string FromTerminal(std::string_view Text);

}  // namespace vaq
