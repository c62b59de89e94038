// Decoding of string values in form-text notation.
#include "checks/form_string.h"

#include "host/core/grid_values.h"
#include "host/core/locale.h"

namespace rux::checks {

// The cell editor's codec: the checks read values exactly as the translator edits them.
std::optional<std::u16string> DecodeFormString(std::string_view Value, vaq::TLCID Locale) {
  std::u16string text;
  if (!vaq::DecodeStringValue(Value, Locale, text)) return std::nullopt;
  return text;
}

std::string ShowText(std::u16string_view Text) {
  std::u16string shown;
  shown.reserve(Text.size());
  for (char16_t c : Text) {
    if (c < 32) {
      shown += u'#';
      for (char d : std::to_string(static_cast<int>(c))) shown += static_cast<char16_t>(d);
    } else {
      shown += c;
    }
  }
  return vaq::Utf16ToUtf8(shown);
}

}  // namespace rux::checks
