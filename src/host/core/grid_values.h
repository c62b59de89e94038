// Values as the translation grid shows them: one form-text value per cell ('It'#39's', 42, 1.5,
// [akLeft,akTop], clBtnFace, True). The checks a current value passes before the grid takes it, the
// kind tests of the edit menu, and the string codec of the cell editor, which shows a string value
// as plain text and writes the notation back.
#pragma once

#include <string>
#include <string_view>

#include "host/core/types.h"

namespace vaq {

// The kind of a form-text value.
enum class TValueKind {
  Invalid,
  String,      // 'text', #13, joined pieces
  Integer,     // fits 32 bits
  Int64,       // needs 64 bits
  Float,       // 1.5, 1e3
  Single,      // 1.5s
  Currency,    // 1.5c
  Date,        // 1.5d
  Boolean,     // True, False
  Identifier,  // clBtnFace, poScreenCenter, Null, nil
  Set,         // [a, b]
  List,        // ( ... )
  Collection,  // < ... >
  Binary,      // { hex }
};

// The kind of `Text` (surrounding blanks ignored); Invalid when it is no single valid value, with
// the reason in `Error` when given.
TValueKind ClassifyFormValue(std::string_view Text, std::string* Error = nullptr);
// "string", "integer", ... for messages.
std::string_view ValueKindName(TValueKind Kind);

// Checks an edited value against the original of the same record: it must be one valid value of the
// original's kind (an integer may take any integer of the original's range: 32 bits, or 64 when the
// original needs them). Empty when accepted; otherwise the message to show.
std::string CheckValueAgainstOriginal(std::string_view Original, std::string_view Value);

// Numeric type of a text: 0 not a number, else 1 + the kind's offset (integer 1, int64 2, float 3,
// single 4, currency 5, date 6).
int NumericTypeOf(std::string_view Text);
// Whether the trimmed text starts with `Open` and ends with `Close`, with the pairs balanced.
bool HasOpenAndCloseChars(std::string_view Text, char Open, char Close);
// Whether the trimmed text is one string value quoted with `Quote` (the apostrophe with "#"
// escapes of form text; a double quote with doubled quotes inside). Empty when it is; the problem
// otherwise.
std::string IsValidString(std::string_view Text, char Quote);

// String codec of the cell editor. A string value in notation, its 8-bit runs in the code page of
// locale `Lcid`, becomes UTF-16 text ('a'#13#10'b' -> "a\r\nb"); false when `Notation` is not a
// string value. A "#n" code above 255 makes the whole value a wide string, whose codes are UTF-16
// units; otherwise codes are bytes of the code page.
bool DecodeStringValue(std::string_view Notation, TLCID Lcid, std::u16string& Text);
// The notation of a text: codes below 32 and the apostrophe as "#n", runs of other characters in
// quotes as 8-bit text of the code page; a character the code page cannot hold as "#n" of its UTF-16
// units (the value becomes a wide string). Never replaces a character: when only characters from
// 128 to 255 are missing from the code page, so that the value cannot become wide, EConvertError
// names the character.
std::string EncodeStringValue(std::u16string_view Text, TLCID Lcid);
// The same over UTF-8 texts (the widgets' encoding).
bool NotationToEditText(std::string_view Notation, TLCID Lcid, std::string& Utf8);
std::string EditTextToNotation(std::string_view Utf8, TLCID Lcid);

}  // namespace vaq
