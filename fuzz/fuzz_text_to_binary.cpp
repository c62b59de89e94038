// Fuzzes the text parser. Any input is either refused with an EVaqError (EParserError, as a rule)
// or read into a binary form whose formatted text reads back to exactly the same binary form.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "host/framework/formstream.h"

namespace {

[[noreturn]] void Fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "fuzz_text_to_binary: %s: %s\n", what, detail.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vaq::TMemoryStream input(std::string(reinterpret_cast<const char*>(data), size));
  vaq::TMemoryStream binary;
  try {
    vaq::ObjectTextToBinary(input, binary);
  } catch (const vaq::EVaqError&) {
    return 0;
  }
  binary.Seek(0);
  vaq::TMemoryStream text;
  try {
    vaq::ObjectBinaryToText(binary, text);
  } catch (const std::exception& error) {
    Fail("the binary form of accepted text cannot be formatted", error.what());
  }
  text.Seek(0);
  vaq::TMemoryStream again;
  try {
    vaq::ObjectTextToBinary(text, again);
  } catch (const std::exception& error) {
    Fail("formatted text is refused", error.what());
  }
  if (again.Data() != binary.Data()) {
    Fail("formatted text reads back to another binary form", text.Data().substr(0, 2000));
  }
  return 0;
}
