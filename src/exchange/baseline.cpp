// The fingerprint of a record's translation.
#include "exchange/baseline.h"

#include <cstdio>

namespace rux::exchange {

std::string RecordBaseline(std::uint8_t status, std::string_view current) {
  // 64-bit FNV-1a over the status byte and the value's bytes.
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  const auto mix = [&hash](unsigned char c) {
    hash ^= c;
    hash *= 0x100000001b3ULL;
  };
  mix(status);
  for (const char c : current) mix(static_cast<unsigned char>(c));
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

}  // namespace rux::exchange
