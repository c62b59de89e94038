// Message formatting with "%s" and "%d" places.
#include <string>

#include "host/core/text.h"

namespace vaq {

std::string Format(std::string_view pattern, std::initializer_list<FormatArg> args) {
  std::string out;
  out.reserve(pattern.size() + 32 * args.size());
  auto next = args.begin();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c != '%' || i + 1 == pattern.size()) {
      out.push_back(c);
      continue;
    }
    const char kind = pattern[i + 1];
    if (kind == '%') {
      out.push_back('%');
      ++i;
      continue;
    }
    if (kind != 's' && kind != 'd') {
      out.push_back(c);
      continue;
    }
    ++i;
    if (next == args.end()) continue;
    if (const auto* text = std::get_if<std::string_view>(&*next)) {
      out.append(*text);
    } else {
      out.append(std::to_string(std::get<std::int64_t>(*next)));
    }
    ++next;
  }
  return out;
}

}  // namespace vaq
