// The frame drawn while a control is dragged. It behaves as a frame drawn in XOR mode: drawing a
// rectangle shows it, drawing the same rectangle again erases it, so a drag erases the old frame
// and draws the new one at each move.
#pragma once

#include <vector>

#include "designer/geometry.h"

namespace rux {

class TRubberBand {
 public:
  void Draw(const TRect& Frame);
  // The frames on screen (one during a drag, none otherwise).
  const std::vector<TRect>& Frames() const { return Frames_; }

 private:
  std::vector<TRect> Frames_;
};

}  // namespace rux
