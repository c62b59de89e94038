// The text of a string value as the notes hold it, in form-text notation: 'It'#39's',
// 'a'#13#10'b', #1055#1088#1080. The checks look at what the user sees, so they decode first.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "host/core/types.h"

namespace rux::checks {

// Pieces are quoted runs ('' is one apostrophe) and character codes (#65, #$41), written next to
// each other or joined by "+", blanks allowed between them. Without a code above 255 the string is
// 8-bit text in the code page of `Locale` (codes are bytes); with one it is a wide string: quoted
// runs are converted from the code page and codes are UTF-16 units. Nothing when `Value` is not a
// string (a number, an identifier, a set, a list token) or is malformed.
std::optional<std::u16string> DecodeFormString(std::string_view Value, vaq::TLCID Locale);

}  // namespace rux::checks

namespace rux::checks {

// A decoded text for a message, in UTF-8 on one line: control characters as form-text codes
// ("a#13#10b").
std::string ShowText(std::u16string_view Text);

}  // namespace rux::checks
