// Text services: locale-aware case conversion and comparison of 8-bit texts (in the code page of
// the thread locale), message formatting.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace vaq {

// Case mapping with ICU's root rules ("ß" uppers to "SS"). A letter whose mapping the code page
// cannot hold takes its one-to-one mapping or stays as it is ("µ" in 1252).
std::string AnsiLowerCase(std::string_view text);
std::string AnsiUpperCase(std::string_view text);
// Case-insensitive comparison by ICU's case folding: <0, 0, >0.
int AnsiCompareText(std::string_view a, std::string_view b);
// Case-insensitive equality.
bool AnsiSameText(std::string_view a, std::string_view b);
// A key for hashing and searching texts without regard to case: two texts have equal keys exactly
// when AnsiSameText holds for them. ASCII texts give their lower case; others the UTF-8 of their
// case folding, which need not be a text of the code page.
std::string AnsiCaseKey(std::string_view text);

// One argument of Format.
using FormatArg = std::variant<std::string_view, std::int64_t>;

// Fills "%s" and "%d" places in order ("%%" is a percent sign). Missing arguments leave the place
// empty; surplus arguments are ignored; an integer in a "%s" place is written in decimal and a text
// in a "%d" place as it is.
std::string Format(std::string_view pattern, std::initializer_list<FormatArg> args);

}  // namespace vaq
