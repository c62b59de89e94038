// The terminal's character set and conversions to and from it (ICU converters).
#include "host/core/terminal.h"

#include <unicode/ucnv.h>

#include <cstdlib>
#include <memory>

#include "host/core/locale.h"
#include "locale_internal.h"

namespace vaq {
namespace {

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

bool IsUtf8(std::string_view name) {
  std::string folded;
  for (const char c : name)
    if (c != '-' && c != '_') folded += static_cast<char>(c | 0x20);
  return folded == "utf8";
}

std::string ReadTerminalCharset() {
  const char* name = nullptr;
  for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') {
      name = value;
      break;
    }
  }
  if (name == nullptr) return "UTF-8";
  std::string_view text = name;
  const auto dot = text.find('.');
  if (dot == std::string_view::npos) return "UTF-8";
  std::string charset(text.substr(
      dot + 1, text.find('@') == std::string_view::npos ? std::string_view::npos : text.find('@') - dot - 1));
  if (charset.empty() || IsUtf8(charset)) return "UTF-8";
  UErrorCode status = U_ZERO_ERROR;
  const Converter converter(ucnv_open(charset.c_str(), &status));
  return U_SUCCESS(status) ? charset : "UTF-8";
}

}  // namespace

const std::string& TerminalCharset() {
  static const std::string charset = ReadTerminalCharset();
  return charset;
}

std::string ToTerminal(TLCID Lcid, std::string_view Text) {
  if (TerminalCharset() == "UTF-8") return StringToUtf8(Lcid, Text);
  std::u16string wide;
  locale_internal::DecodeInto(LCIDToCodePage(Lcid), Text, wide);
  UErrorCode status = U_ZERO_ERROR;
  const Converter converter(ucnv_open(TerminalCharset().c_str(), &status));
  if (U_FAILURE(status)) return Utf16ToUtf8(wide);
  ucnv_setSubstChars(converter.get(), "?", 1, &status);
  std::string out(static_cast<std::size_t>(UCNV_GET_MAX_BYTES_FOR_STRING(wide.size(), 4)) + 1, '\0');
  status = U_ZERO_ERROR;
  const int32_t length = ucnv_fromUChars(converter.get(), out.data(), static_cast<int32_t>(out.size()),
                                         wide.data(), static_cast<int32_t>(wide.size()), &status);
  if (U_FAILURE(status)) return Utf16ToUtf8(wide);
  out.resize(static_cast<std::size_t>(length));
  return out;
}

std::string FromTerminal(std::string_view Text) {
  if (TerminalCharset() == "UTF-8") return std::string(Text);
  UErrorCode status = U_ZERO_ERROR;
  const Converter converter(ucnv_open(TerminalCharset().c_str(), &status));
  if (U_FAILURE(status)) return std::string(Text);
  std::u16string wide(Text.size() * 2 + 1, u'\0');
  const int32_t length = ucnv_toUChars(converter.get(), wide.data(), static_cast<int32_t>(wide.size()),
                                       Text.data(), static_cast<int32_t>(Text.size()), &status);
  if (U_FAILURE(status)) return std::string(Text);
  wide.resize(static_cast<std::size_t>(length));
  return Utf16ToUtf8(wide);
}

}  // namespace vaq
