#include "designer/rubber_band.h"

#include <algorithm>

namespace rux {

void TRubberBand::Draw(const TRect& Frame) {
  const auto it = std::find(Frames_.begin(), Frames_.end(), Frame);
  if (it != Frames_.end())
    Frames_.erase(it);
  else
    Frames_.push_back(Frame);
}

}  // namespace rux
