// Locale-independent conversions between values and their texts, dates, and status names.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "host/core/types.h"

namespace vaq {

// "True" or "False".
std::string BooToStr(bool value);
// True for "True", "Yes" and "1" in any letter case; false for everything else, "0" included.
bool StrToBoo(std::string_view text);

// Strict decimal parse of a 32-bit integer ("-1", "42"); raises EConvertError on anything else.
std::int32_t StrToInt(std::string_view text);

// The shortest text that reads back to the identical value of the argument's precision (extended,
// double or single); '.' as the decimal separator and always with a '.' or an exponent, so that the
// text is a float in form text too ("15000.0", "0.1", "1e+20"). NaN and infinities give "NaN",
// "Inf" and "-Inf". Date-times are doubles and take the double overload.
std::string VaqFloatToStr(long double value);
std::string VaqFloatToStr(double value);
std::string VaqFloatToStr(float value);
// Read what VaqFloatToStr writes (and decimal or exponent notation in general) into the named
// precision, rounding once. Raise EConvertError on a text that is not a number.
long double VaqStrToFloat(std::string_view text);
double VaqStrToDouble(std::string_view text);
float VaqStrToSingle(std::string_view text);

// The date-time that stands for "no date": 0.0, which is 1899-12-30 00:00.
TDateTime DefaultDateTime();

// The current local date-time, truncated to whole milliseconds. Tests may fix the clock.
TDateTime VaqNow();
// Replaces the clock behind VaqNow; an empty function restores the system clock.
void SetVaqClock(std::function<TDateTime()> clock);

// The file's modification time as a local date-time, truncated to whole milliseconds;
// -1.0 when the file does not exist.
TDateTime DateOfFile(const std::string& name);
// Sets the file's modification time so that DateOfFile afterwards returns `date` (for any date
// with whole milliseconds). Raises EFileError when the file's date cannot be set.
void SetDateOfFile(const std::string& name, TDateTime date);
// The same for the open file `fd` (which may have no name yet); `name` is for the message.
void SetDateOfFd(int fd, TDateTime date, const std::string& name);

// Date-time as the grid and the search show it: "2026-12-06 14:05:09.250" (local time).
std::string VaqDateTimeToStr(TDateTime value);
// Reads VaqDateTimeToStr's text (the time part and milliseconds may be left out).
// Raises EConvertError on anything else.
TDateTime VaqStrToDateTime(std::string_view text);

// Display names of the four status values 0..3.
extern const std::array<std::string_view, 4> XStatusString;
// The status value of a display name (case-insensitive) or of its decimal text; -1 when unknown.
int StrToStatusOrd(std::string_view text);
// A date as the grid shows it, turned into VaqFloatToStr's text of the same date-time.
// A text that is already a float is passed through. Raises EConvertError on anything else.
std::string StrDateToStrFloat(std::string_view text);

}  // namespace vaq
