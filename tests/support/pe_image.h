// Small PE images (32 or 64 bit) with a resource tree of the given types and names, for tests of
// the image reader and of the updater's reading of a built program's forms.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace vaq::testing {

using TKey = std::variant<int, std::u16string>;  // an id or a name
struct TType {
  TKey Key;
  std::vector<TKey> Names;
};

class TBytes {
 public:
  void Put(std::size_t at, std::uint64_t value, int size) {
    if (data.size() < at + size) data.resize(at + size);
    for (int i = 0; i < size; ++i) data[at + i] = static_cast<char>(value >> (8 * i));
  }
  std::string data;
};

inline constexpr std::size_t kRsrcOffset = 0x200, kRsrcRva = 0x1000;

// The resource section of the types and names, one language each.
std::string ResourceSection(const std::vector<TType>& Types);
// A PE image with one section: the resource section `Rsrc`.
std::string PeImage(bool Pe64, const std::string& Rsrc);

}  // namespace vaq::testing
