// Fuzzes the XLIFF 1.2 reader. Any input is either refused with an EExchangeParseError (file and line) or
// read into a document; a document read is written again and must read back to the same units.
#include <cstdint>
#include <string>
#include <string_view>

#include "exchange/formats.h"
#include "fuzz_exchange.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr const char* kName = "fuzz_xliff12";
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  rux::exchange::Document document;
  try {
    document = rux::exchange::ReadXliff12(text, "fuzz.xlf");
  } catch (const rux::exchange::EExchangeParseError&) {
    return 0;
  }
  const std::string written = rux::exchange::WriteXliff12(document);
  rux::exchange::Document again;
  try {
    again = rux::exchange::ReadXliff12(written, "again.xlf");
  } catch (const rux::exchange::EExchangeParseError& error) {
    vaq::fuzzing::Fail(kName, std::string("a written document does not read: ") + error.what());
  }
  const std::string difference = vaq::fuzzing::DifferenceOf(document, again, false);
  if (!difference.empty())
    vaq::fuzzing::Fail(kName, "a written document reads back otherwise: " + difference);
  return 0;
}
