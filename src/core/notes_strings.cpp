// Field access on notes strings.
#include "host/core/notes_strings.h"

#include <cstring>

namespace vaq {
namespace {

constexpr char kFieldEnd = '\004';
constexpr std::string_view kClosing = "\004 */";

// The position of the first `key` in `s`, or npos. A key that starts with the separator is looked
// for separator by separator, compared from its first letter: notes strings are read field by
// field many times over, and most separators are followed by another key.
std::size_t FindKey(std::string_view s, std::string_view key) {
  if (key.size() < 2 || key[0] != kFieldEnd) return s.find(key);
  const char* const begin = s.data();
  const char* const end = begin + s.size();
  const char* p = begin;
  while (static_cast<std::size_t>(end - p) >= key.size()) {
    p = static_cast<const char*>(
        std::memchr(p, kFieldEnd, static_cast<std::size_t>(end - p) - (key.size() - 1)));
    if (p == nullptr) return std::string_view::npos;
    if (p[1] == key[1] && std::memcmp(p + 2, key.data() + 2, key.size() - 2) == 0)
      return static_cast<std::size_t>(p - begin);
    ++p;
  }
  return std::string_view::npos;
}

}  // namespace

std::string_view GetValueView(std::string_view s, std::string_view key, std::string_view def) {
  const auto at = FindKey(s, key);
  if (at == std::string_view::npos) return def;
  const auto begin = at + key.size();
  const auto end = s.find(kFieldEnd, begin);
  return s.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin);
}

std::string GetValue(std::string_view s, std::string_view key, std::string_view def) {
  return std::string(GetValueView(s, key, def));
}

std::string SetValue(std::string_view s, std::string_view key, std::string_view value) {
  std::string result;
  result.reserve(s.size() + key.size() + value.size());
  const auto at = FindKey(s, key);
  if (at != std::string_view::npos) {
    const auto begin = at + key.size();
    const auto end = s.find(kFieldEnd, begin);
    result.append(s.substr(0, begin)).append(value);
    if (end != std::string_view::npos) result.append(s.substr(end));
    return result;
  }
  const auto closing = s.rfind(kClosing);
  if (closing != std::string_view::npos && closing + kClosing.size() == s.size()) {
    result.append(s.substr(0, closing)).append(key).append(value).append(kClosing);
  } else {
    result.append(s).append(key).append(value);
  }
  return result;
}

void SetValueInPlace(std::string& s, std::string_view key, std::string_view value) {
  const auto at = FindKey(s, key);
  if (at == std::string::npos) {
    s = SetValue(s, key, value);
    return;
  }
  const auto begin = at + key.size();
  const auto end = s.find(kFieldEnd, begin);
  s.replace(begin, (end == std::string::npos ? s.size() : end) - begin, value);
}

}  // namespace vaq
