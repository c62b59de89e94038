// Small helpers that tests of the binary form share.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "host/framework/formstream.h"

namespace vaq::testing {

// A byte string from byte values.
inline std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (const int value : values) bytes.push_back(static_cast<char>(value));
  return bytes;
}

// A short string of the binary form: a length byte, then the bytes.
inline std::string Short(std::string_view text) {
  return static_cast<char>(text.size()) + std::string(text);
}

// Runs one conversion from a stream of `bytes` and answers what it wrote.
inline std::string Convert(void (*convert)(TMemoryStream&, TMemoryStream&), std::string_view bytes) {
  TMemoryStream input{std::string(bytes)};
  TMemoryStream output;
  convert(input, output);
  return std::move(output.Data());
}

}  // namespace vaq::testing
