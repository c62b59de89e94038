// Selecting a control with the keyboard. Tab walks the named controls depth-first in the order the
// form nests them and wraps at the form; Shift+Tab walks the exact reverse. An arrow key picks the
// nearest named sibling in that direction. Unnamed controls (inner parts) and controls that are not
// on screen (hidden ones, those of pages not shown) are never selected.
#pragma once

#include "designer/design_surface.h"

namespace rux {

enum class TDirection { Left = 0, Up = 1, Right = 2, Down = 3 };

// The control Tab selects after `Current` (TNode::None: the first control of the form). With
// `Descend`, the first named child of `Current` comes first. TNode::None when the form has no
// named control.
TNode NextControl(const IDesignSurface& Surface, TNode Current, bool Descend);
// The control Shift+Tab selects before `Current` (TNode::None: the deepest last control).
TNode PreviousControl(const IDesignSurface& Surface, TNode Current, bool Descend);
// The named sibling of `Current` nearest in `Direction`, or TNode::None when there is none.
TNode NearestControl(const IDesignSurface& Surface, TNode Current, TDirection Direction);

}  // namespace rux
