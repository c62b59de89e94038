// Rectangles of the layout designer, in pixels (points: TPoint of the designer's interfaces). A
// rectangle holds its four edges (Right and Bottom exclusive), as the frameworks' bounds
// rectangles do.
#pragma once

#include <cstdint>

#include "designer/designer_intf.h"

namespace rux {

struct TRect {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Right = 0;
  std::int32_t Bottom = 0;

  std::int32_t Width() const { return Right - Left; }
  std::int32_t Height() const { return Bottom - Top; }
  TRect Offset(TPoint By) const { return {Left + By.X, Top + By.Y, Right + By.X, Bottom + By.Y}; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

inline TRect BoundsRect(std::int32_t Left, std::int32_t Top, std::int32_t Width, std::int32_t Height) {
  return {Left, Top, Left + Width, Top + Height};
}

}  // namespace rux
