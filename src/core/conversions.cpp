// Booleans, integers and floats to text and back, independent of the C locale.
#include "host/core/conversions.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "host/core/errors.h"
#include "host/core/text.h"

namespace vaq {
namespace {

bool EqualsAsciiNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

template <typename T>
std::string FloatToStr(T value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-Inf" : "Inf";
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string text(buffer, result.ptr);
  // Keep the text a float in form text: "15000" would read back as an integer there.
  if (text.find_first_of(".e") == std::string::npos) text += ".0";
  return text;
}

// from_chars reports subnormal results as out of range; strtold in the C locale reads them.
template <typename T>
bool ReadSubnormal(std::string_view digits, T& value) {
  static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", nullptr);
  const std::string copy(digits);
  char* end = nullptr;
  const long double wide = strtold_l(copy.c_str(), &end, c_locale);
  const T narrow = static_cast<T>(wide);
  if (end != copy.c_str() + copy.size() || narrow == 0 || !std::isfinite(narrow)) return false;
  value = narrow;
  return true;
}

template <typename T>
T StrToFloat(std::string_view text) {
  if (EqualsAsciiNoCase(text, "nan")) return std::numeric_limits<T>::quiet_NaN();
  if (EqualsAsciiNoCase(text, "inf") || EqualsAsciiNoCase(text, "+inf"))
    return std::numeric_limits<T>::infinity();
  if (EqualsAsciiNoCase(text, "-inf")) return -std::numeric_limits<T>::infinity();
  std::string_view digits = text;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  T value{};
  const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  const bool whole = !digits.empty() && result.ptr == digits.data() + digits.size();
  if (whole && result.ec == std::errc()) return value;
  if (whole && result.ec == std::errc::result_out_of_range && ReadSubnormal(digits, value)) return value;
  throw EConvertError(Format("'%s' is not a valid floating point value", {text}));
}

}  // namespace

std::string BooToStr(bool value) {
  return value ? "True" : "False";
}

bool StrToBoo(std::string_view text) {
  return EqualsAsciiNoCase(text, "true") || EqualsAsciiNoCase(text, "yes") || text == "1";
}

std::int32_t StrToInt(std::string_view text) {
  std::int32_t value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size()) {
    throw EConvertError(Format("'%s' is not a valid integer value", {text}));
  }
  return value;
}

std::string VaqFloatToStr(long double value) {
  return FloatToStr(value);
}
std::string VaqFloatToStr(double value) {
  return FloatToStr(value);
}
std::string VaqFloatToStr(float value) {
  return FloatToStr(value);
}

long double VaqStrToFloat(std::string_view text) {
  return StrToFloat<long double>(text);
}
double VaqStrToDouble(std::string_view text) {
  return StrToFloat<double>(text);
}
float VaqStrToSingle(std::string_view text) {
  return StrToFloat<float>(text);
}

TDateTime DefaultDateTime() {
  return 0.0;
}

const std::array<std::string_view, 4> XStatusString = {"Untranslated", "Translated", "Auto translated",
                                                       "Unused"};

int StrToStatusOrd(std::string_view text) {
  for (std::size_t i = 0; i < XStatusString.size(); ++i) {
    if (AnsiSameText(text, XStatusString[i])) return static_cast<int>(i);
  }
  if (text.size() == 1 && text[0] >= '0' && text[0] <= '3') return text[0] - '0';
  return -1;
}

std::string StrDateToStrFloat(std::string_view text) {
  try {
    return VaqFloatToStr(VaqStrToDouble(text));
  } catch (const EConvertError&) {
    return VaqFloatToStr(VaqStrToDateTime(text));
  }
}

}  // namespace vaq
