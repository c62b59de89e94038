// Fuzzes the PO reader (libgettextpo behind ReadPo). Any input is either refused with an
// EExchangeParseError or read into a document.
#include <cstdint>
#include <string>

#include "exchange/formats.h"
#include "fuzz_exchange.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static vaq::fuzzing::InputFile input(".po");
  try {
    const rux::exchange::Document document = rux::exchange::ReadPo(input.Write(data, size));
    (void)document;
  } catch (const rux::exchange::EExchangeParseError&) {
  }
  return 0;
}
