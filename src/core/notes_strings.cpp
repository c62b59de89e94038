// Field access on notes strings.
#include "host/core/notes_strings.h"

namespace vaq {
namespace {

constexpr char kFieldEnd = '\004';
constexpr std::string_view kClosing = "\004 */";

}  // namespace

std::string_view GetValueView(std::string_view s, std::string_view key, std::string_view def) {
  const auto at = s.find(key);
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
  const auto at = s.find(key);
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

}  // namespace vaq
