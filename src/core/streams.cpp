// The core's reload queue.
#include "host/core/streams.h"

#include <utility>

namespace vaq {

TVaqStringQue ReloadQue;

std::optional<std::string> TVaqStringQue::Pop() {
  if (Items.empty()) return std::nullopt;
  std::string text = std::move(Items.front());
  Items.pop_front();
  return text;
}

}  // namespace vaq
