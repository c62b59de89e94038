// The kinds of values in form-text notation, told apart by their text: what the edit check,
// the edit menu, the import and the checks know of a value that is not a string.
#pragma once

#include <string>
#include <string_view>

#include "host/core/types.h"

namespace vaq::values {

enum class TValueKind {
  Invalid,     // no single valid value
  String,      // 'text', #13, pieces joined (string_notation.h)
  Integer,     // an integer of 32 bits: -2147483648 to 2147483647, or $0 to $FFFFFFFF
  Int64,       // an integer that needs 64 bits
  Float,       // 1.5, 1e3
  Single,      // 1.5s
  Currency,    // 1.5c
  Date,        // 1.5d
  Boolean,     // True, False (any case)
  Identifier,  // clBtnFace, poScreenCenter, Form1.Button1, Null, nil
  Set,         // [a, b], []
  List,        // ( ... ), brackets balanced outside strings
  Collection,  // < ... >
  Binary,      // { hexadecimal digits and blanks }
};

// The kind of `Text` (blanks around it aside). Invalid when it is no single valid value, with the
// reason in `Error` when given; a character is named in UTF-8 (the text's bytes are of the code
// page of `Lcid`). A line break or a control character makes any value invalid: no value of a
// form holds one outside a string's codes, and a notes record cannot.
TValueKind ClassifyValue(std::string_view Text, TLCID Lcid = 0, std::string* Error = nullptr);

// "string", "integer", "64-bit integer", ... for messages; "value" for Invalid.
std::string_view ValueKindName(TValueKind Kind);

// The edit menu's tests whether selected values are of one kind.
// Numeric type of a text: 0 not a number, else integer 1, 64-bit integer 2, float 3, single 4,
// currency 5, date 6.
int NumericTypeOf(std::string_view Text);
// Whether the text (blanks around it aside) starts with `Open` and ends with `Close`, with the
// pairs balanced outside quotes and the first pair closing at the end.
bool HasOpenAndCloseChars(std::string_view Text, char Open, char Close);
// Empty when the text (blanks around it aside) is one string quoted with `Quote`: the apostrophe
// is form text's (string_notation.h); a double quote takes doubled quotes inside. The problem
// otherwise.
std::string IsValidString(std::string_view Text, char Quote);

}  // namespace vaq::values
