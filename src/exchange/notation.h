// Values in form-text notation <-> plain Unicode text, for the exchange with other tools.
// A string value is a chain of quoted runs ('It''s') and character codes (#39, #$27), possibly
// joined by "+". Without a code above 255 it is an 8-bit string: runs and codes are bytes in the
// code page of its language. With one, it is a wide string: codes are UTF-16 units and runs are
// converted from the code page.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "host/core/types.h"

namespace rux::exchange {

// 8-bit text of the code page of `lcid` <-> UTF-8, without a conversion for plain ASCII (most Ids,
// types and values in notation).
std::string ToUtf8(vaq::TLCID lcid, std::string_view text);
std::string FromUtf8(vaq::TLCID lcid, std::string_view text);

// Whether `value` is written as a string (it starts with a quote or a character code).
bool IsStringNotation(std::string_view value);

// The UTF-8 text of a string value in the code page of `lcid`, with CR LF read as one line break
// (LF); nullopt when `value` is no well-formed string. `hadCrLf`, when given, tells whether a
// CR LF pair was folded.
std::optional<std::string> DecodeString(std::string_view value, vaq::TLCID lcid, bool* hadCrLf = nullptr);

// A string value holding the UTF-8 `text` for the code page of `lcid`: runs of characters the code
// page holds in quotes, control characters and the apostrophe as #n, and every character the code
// page cannot hold as its UTF-16 code (#nnnn, which makes the value a wide string), never '?'.
// With `crlf`, each line break (LF) becomes CR LF. Fails (error set, nullopt) only when a character
// the code page cannot hold has a code below 256 and the value has no other code above 255: such a
// code would be read back as a byte of the code page, a different character.
std::optional<std::string> EncodeString(std::string_view text, vaq::TLCID lcid, bool crlf,
                                        std::string& error);

// The kinds of values other than strings, told apart by their notation.
enum class ValueKind { Integer, Float, Set, Identifier, Binary, Other };
ValueKind KindOf(std::string_view notation);
const char* KindName(ValueKind kind);
// Whether `text` is a valid value of `kind` (Other accepts any text without line breaks).
bool IsValidValue(ValueKind kind, std::string_view text);

}  // namespace rux::exchange
