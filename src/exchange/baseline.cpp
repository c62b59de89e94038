// The fingerprint of a record's translation.
#include "exchange/baseline.h"

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
  // Sixteen lower-case hexadecimal digits, most significant first (an export writes one per unit).
  std::string text(16, '0');
  for (int i = 15; i >= 0; --i, hash >>= 4)
    text[static_cast<std::size_t>(i)] = "0123456789abcdef"[hash & 0xF];
  return text;
}

}  // namespace rux::exchange
