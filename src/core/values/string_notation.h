// String values in form-text notation, the notation in which the forms, the notes and the grid
// hold every value: 'Orders', 'It'#39's', 'a'#13#10'b', #1055#1088'...'.
//
// A string value is a chain of pieces: quoted runs of characters ('' inside is one apostrophe)
// and character codes (#39 decimal, #$27 hexadecimal, at most 65535), written next to each other
// or joined by "+" with blanks around it, as the form-text parser reads them. A run holds no
// character below 32: line breaks and other control characters are codes.
//
// Without a code above 255 the value is an 8-bit string: its runs and codes are bytes of the code
// page of its language, decoded together (so a double-byte character may be split between a run
// and a code). With one it is a wide string: its codes are UTF-16 units and its runs are text of
// the code page.
//
// Written by this system, a value takes codes for the characters below 32 and for the apostrophe
// (never doubled), quotes every other run, and writes each character the code page cannot store
// as the codes of its UTF-16 units, which makes the value a wide string: nothing is replaced.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "host/core/types.h"

namespace vaq::values {

// The blanks that may stand around a value and between the pieces of a string (space, tab), and
// a value without them around it.
inline bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
inline std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Whether `Value` (blanks around it aside) is written as a string: it starts with a quote or a
// character code. It may still be malformed.
bool IsStringNotation(std::string_view Value);

// Empty when `Value` (blanks around it aside) is one well-formed string value; otherwise why not,
// naming a character that does not belong in UTF-8 (the value's bytes are of the code page of
// `Lcid`).
std::string StringNotationError(std::string_view Value, TLCID Lcid = 0);

// The text of a string value; nothing when `Value` is no well-formed string value.
std::optional<std::u16string> DecodeString(std::string_view Value, TLCID Lcid);

// The string value that holds `Text` in the code page of `Lcid`. A character from U+0080 to
// U+00FF that the code page cannot store has a code that would be read back as a byte of the code
// page, another character; unless another character makes the value a wide string, that raises
// EUnheldCharacter (code_page_text.h) naming it.
std::string EncodeString(std::u16string_view Text, TLCID Lcid);
// The same where a value must be written whatever it holds (a form that holds such a text in a
// wide string is read all the same): such characters become '?', and `Replaced` says so.
std::string EncodeStringReplacing(std::u16string_view Text, TLCID Lcid, bool& Replaced);

// An 8-bit string (bytes as they are) in notation, as the form reader writes one.
std::string QuoteBytes(std::string_view Bytes);

// How line breaks cross to tools that write a line break as LF alone.
enum class TLineBreaks {
  AsStored,  // CR LF stays CR LF
  CrLfAsLf,  // decoding folds each CR LF into LF; encoding writes each LF as CR LF
};

// The same over UTF-8 texts (the encoding of the widgets, the terminal and other tools' files).
// `HadCrLf`, when given, tells whether decoding folded a CR LF pair.
std::optional<std::string> DecodeStringUtf8(std::string_view Value, TLCID Lcid,
                                            TLineBreaks Breaks = TLineBreaks::AsStored,
                                            bool* HadCrLf = nullptr);
std::string EncodeStringUtf8(std::string_view Utf8, TLCID Lcid, TLineBreaks Breaks = TLineBreaks::AsStored);

// A text for a message, in UTF-8 on one line: control characters as codes ("a#13#10b").
std::string OneLineText(std::u16string_view Text);
std::string OneLineText(std::string_view Utf8);

}  // namespace vaq::values
