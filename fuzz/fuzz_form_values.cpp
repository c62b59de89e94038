// Fuzzes the form-value library's string codec and kinds. The first byte picks the language
// (Western, Cyrillic, Japanese code page, or UTF-8); the rest is a value in notation and, read as
// UTF-16, a text. Every decoded string encodes back to a value that decodes to the same text, the
// kinds agree with the codec, and nothing but EUnheldCharacter leaves the library.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "core/values/code_page_text.h"
#include "core/values/string_notation.h"
#include "core/values/value_check.h"
#include "core/values/value_kinds.h"
#include "host/core/locale.h"

namespace {

using namespace vaq::values;

[[noreturn]] void Fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "fuzz_form_values: %s: %s\n", what, detail.c_str());
  std::abort();
}

// Encodes `text`, which must then read back as itself; false when the code page cannot take it.
void RoundTrip(const std::u16string& text, vaq::TLCID lcid) {
  std::string value;
  try {
    value = EncodeString(text, lcid);
  } catch (const EUnheldCharacter&) {
    return;
  }
  if (!StringNotationError(value, lcid).empty()) Fail("an encoded value is malformed", value);
  if (ClassifyValue(value, lcid) != TValueKind::String) Fail("an encoded value is no string", value);
  const std::optional<std::u16string> back = DecodeString(value, lcid);
  if (!back || *back != text) Fail("an encoded value reads back as another text", value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static const vaq::TLCID kLanguages[] = {vaq::StrToLCID("de-DE"), vaq::StrToLCID("ru-RU"),
                                          vaq::StrToLCID("ja-JP"), vaq::StrToLCID("hi-IN")};
  const vaq::TLCID lcid = kLanguages[data[0] % 4];
  const std::string value(reinterpret_cast<const char*>(data + 1), size - 1);
  try {
    // The notation: a well-formed string decodes, and its text encodes back.
    const std::optional<std::u16string> text = DecodeString(value, lcid);
    const bool wellFormed = StringNotationError(value, lcid).empty();
    if (text.has_value() != wellFormed) Fail("decoding and the notation check disagree", value);
    const TValueKind kind = ClassifyValue(value, lcid);
    if ((kind == TValueKind::String) != wellFormed) Fail("the kind and the notation check disagree", value);
    if (text) RoundTrip(*text, lcid);
    (void)DecodeStringUtf8(value, lcid, TLineBreaks::CrLfAsLf);

    // The same bytes as UTF-16 text, and as plain text of the code page.
    std::u16string units;
    for (std::size_t i = 0; i + 1 < value.size(); i += 2)
      units.push_back(static_cast<char16_t>(static_cast<unsigned char>(value[i]) |
                                            (static_cast<unsigned char>(value[i + 1]) << 8)));
    RoundTrip(units, lcid);
    (void)UnheldCharacters(units, lcid);
    const std::u16string plain = DecodeText(value, lcid);
    try {
      (void)EncodeText(plain, lcid);
    } catch (const EUnheldCharacter&) {
    }

    // The edit check on the two halves.
    const std::size_t half = value.size() / 2;
    const TValueVerdict verdict = CheckValueAgainstOriginal(value.substr(0, half), value.substr(half), lcid);
    if (verdict.Accepted != VerdictMessage(verdict).empty())
      Fail("a verdict and its message disagree", value);
  } catch (const EUnheldCharacter& error) {
    Fail("a character was refused where nothing is encoded", error.what());
  } catch (const std::exception& error) {
    Fail("an exception left the library", error.what());
  }
  return 0;
}
