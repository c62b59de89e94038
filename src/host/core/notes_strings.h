// Field access on notes strings: "/* ID:<id>\x04Orig:<value>\x04...\x04 */".
// Every key but the first starts with the byte 0x04, which also ends each value, so a key can never
// match inside a value.
#pragma once

#include <string>
#include <string_view>

namespace vaq {

// The text after the first occurrence of `key` up to the next 0x04 byte (or the end of `s`);
// `def` when `key` does not occur.
std::string GetValue(std::string_view s, std::string_view key, std::string_view def = {});

// As GetValue, without copying; the view points into `s`.
std::string_view GetValueView(std::string_view s, std::string_view key, std::string_view def = {});

// `s` with the value of `key` replaced by `value`. When `key` is absent, key and value are added
// before the closing "\x04 */", or at the end of a string that has none.
std::string SetValue(std::string_view s, std::string_view key, std::string_view value);
// The same on `s` itself, without a copy of the rest of the string.
void SetValueInPlace(std::string& s, std::string_view key, std::string_view value);

}  // namespace vaq
