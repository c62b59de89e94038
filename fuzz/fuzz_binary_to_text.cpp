// Fuzzes the reader of the binary form: the formatter with and without the resource functions,
// and TFormReader walking the form with typed reads and with SkipValue. Any input is either
// refused with an EVaqError (EReadError, as a rule) or formatted; formatted text is either read
// back, into a binary form that round-trips exactly, or refused with EParserError. Crashes, hangs
// and leaks are the sanitizers' to catch.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "host/framework/formstream.h"
#include "support/form_generator.h"

namespace {

[[noreturn]] void Fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "fuzz_binary_to_text: %s: %s\n", what, detail.c_str());
  std::abort();
}

// The formatted text of the bytes, or nothing when they are refused.
bool Format(void (*convert)(vaq::TMemoryStream&, vaq::TMemoryStream&), const std::string& bytes,
            std::string& text) {
  vaq::TMemoryStream input(bytes);
  vaq::TMemoryStream output;
  try {
    convert(input, output);
  } catch (const vaq::EVaqError&) {
    return false;
  }
  text = std::move(output.Data());
  return true;
}

std::string Convert(void (*convert)(vaq::TMemoryStream&, vaq::TMemoryStream&), const std::string& bytes) {
  vaq::TMemoryStream input(bytes);
  vaq::TMemoryStream output;
  convert(input, output);
  return std::move(output.Data());
}

// Formatted text is read back or refused with EParserError. A binary form read from text is one
// the parser produces, so it must survive another round trip exactly.
void ReadBack(const std::string& text) {
  std::string binary;
  try {
    binary = Convert(vaq::ObjectTextToBinary, text);
  } catch (const vaq::EParserError&) {
    return;
  } catch (const std::exception& error) {
    Fail("formatted text raises something else than EParserError", error.what());
  }
  try {
    if (Convert(vaq::ObjectTextToBinary, Convert(vaq::ObjectBinaryToText, binary)) != binary) {
      Fail("a binary form read from text does not round-trip", text.substr(0, 2000));
    }
  } catch (const std::exception& error) {
    Fail("a binary form read from text does not round-trip", error.what());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  std::string text;
  const bool formatted = Format(vaq::ObjectBinaryToText, bytes, text);
  if (formatted) ReadBack(text);

  // Without a resource header the resource function formats exactly like the plain one.
  std::string resourceText;
  const bool resourceFormatted = Format(vaq::ObjectResourceToText, bytes, resourceText);
  if (resourceFormatted && resourceText != text) ReadBack(resourceText);
  if (size > 0 && data[0] != 0xFF && (formatted != resourceFormatted || text != resourceText)) {
    Fail("ObjectResourceToText differs from ObjectBinaryToText on a form without header",
         bytes.substr(0, 64));
  }

  {
    vaq::TMemoryStream input(bytes);
    vaq::TMemoryStream output;
    try {
      vaq::ObjectTextToResource(input, output);
    } catch (const vaq::EVaqError&) {
    }
  }

  for (const auto mode : {vaq::testing::WalkMode::Read, vaq::testing::WalkMode::Skip}) {
    for (const std::size_t bufferSize : {std::size_t{4096}, std::size_t{5}}) {
      vaq::TMemoryStream stream(bytes);
      try {
        vaq::testing::WalkFormBinary(stream, mode, bufferSize);
      } catch (const vaq::EVaqError&) {
      }
    }
  }
  return 0;
}
