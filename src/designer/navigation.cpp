#include "designer/navigation.h"

#include <cstdint>
#include <limits>

namespace rux {
namespace {

// A named control on screen: controls of pages that are not shown, and hidden controls, are
// passed over.
bool Eligible(const IDesignSurface& Surface, TNode Control) {
  return !Surface.Name(Control).empty() && Surface.Showing(Control);
}

int IndexOf(const IDesignSurface& Surface, TNode Parent, TNode Control) {
  const int count = Surface.ChildCount(Parent);
  for (int i = 0; i < count; ++i)
    if (Surface.Child(Parent, i) == Control) return i;
  return -1;
}

// The first named child of `Parent` at `From` or after it.
TNode FirstEligible(const IDesignSurface& Surface, TNode Parent, int From) {
  const int count = Surface.ChildCount(Parent);
  for (int i = From; i < count; ++i)
    if (const TNode child = Surface.Child(Parent, i); Eligible(Surface, child)) return child;
  return TNode::None;
}

// The last named child of `Parent` at `From` or before it.
TNode LastEligible(const IDesignSurface& Surface, TNode Parent, int From) {
  for (int i = From; i >= 0; --i)
    if (const TNode child = Surface.Child(Parent, i); Eligible(Surface, child)) return child;
  return TNode::None;
}

// The deepest last named control at or below `Control`.
TNode DeepestLast(const IDesignSurface& Surface, TNode Control) {
  for (;;) {
    const TNode last = LastEligible(Surface, Control, Surface.ChildCount(Control) - 1);
    if (last == TNode::None) return Control;
    Control = last;
  }
}

// The distance between the spans [A1, A2] and [B1, B2]; 0 when they overlap.
std::int64_t Gap(std::int64_t A1, std::int64_t A2, std::int64_t B1, std::int64_t B2) {
  if (A1 > B2) return A1 - B2;
  if (A2 < B1) return B1 - A2;
  return 0;
}

}  // namespace

TNode NextControl(const IDesignSurface& Surface, TNode Current, bool Descend) {
  const TNode form = Surface.Form();
  for (;;) {
    if (Current == TNode::None) return FirstEligible(Surface, form, 0);
    if (Descend)
      if (const TNode child = FirstEligible(Surface, Current, 0); child != TNode::None) return child;
    const TNode parent = Surface.Parent(Current);
    if (parent == TNode::None) return TNode::None;
    const TNode next = FirstEligible(Surface, parent, IndexOf(Surface, parent, Current) + 1);
    if (next != TNode::None) return next;
    // Past the last control of the form: wrap; past the last child of a control: continue after it.
    Current = parent == form ? TNode::None : parent;
    Descend = false;
  }
}

TNode PreviousControl(const IDesignSurface& Surface, TNode Current, bool Descend) {
  const TNode form = Surface.Form();
  if (Descend || Current == TNode::None) {
    const TNode last = DeepestLast(Surface, Current == TNode::None ? form : Current);
    return last == form ? TNode::None : last;
  }
  const TNode parent = Surface.Parent(Current);
  if (parent == TNode::None) return TNode::None;
  const TNode previous = LastEligible(Surface, parent, IndexOf(Surface, parent, Current) - 1);
  if (previous != TNode::None) return DeepestLast(Surface, previous);
  // Before the first control of the form: wrap to the very last; else the parent comes before.
  if (parent == form) return PreviousControl(Surface, TNode::None, true);
  return parent;
}

TNode NearestControl(const IDesignSurface& Surface, TNode Current, TDirection Direction) {
  const TNode parent = Surface.Parent(Current);
  if (parent == TNode::None) return TNode::None;
  const TRect c = Surface.Bounds(Current);
  const std::int64_t cx = (c.Left + c.Right) / 2, cy = (c.Top + c.Bottom) / 2;
  const bool vertical = Direction == TDirection::Up || Direction == TDirection::Down;
  TNode best = TNode::None;
  std::int64_t bestDistance = std::numeric_limits<std::int64_t>::max();
  const int count = Surface.ChildCount(parent);
  for (int i = 0; i < count; ++i) {
    const TNode sibling = Surface.Child(parent, i);
    if (sibling == Current || !Eligible(Surface, sibling)) continue;
    const TRect s = Surface.Bounds(sibling);
    const std::int64_t dx = (s.Left + s.Right) / 2 - cx, dy = (s.Top + s.Bottom) / 2 - cy;
    std::int64_t gx = Gap(c.Left, c.Right, s.Left, s.Right), gy = Gap(c.Top, c.Bottom, s.Top, s.Bottom);
    bool candidate = false;
    switch (Direction) {
      case TDirection::Left:
        candidate = dx < 0 && gx >= gy;
        break;
      case TDirection::Up:
        candidate = dy < 0 && gx <= gy;
        break;
      case TDirection::Right:
        candidate = dx > 0 && gx >= gy;
        break;
      case TDirection::Down:
        candidate = dy > 0 && gx <= gy;
        break;
    }
    if (!candidate) continue;
    // Along the direction of travel the distance counts from the control's centre line.
    if (vertical)
      gy = Gap(s.Top, s.Bottom, cy, cy);
    else
      gx = Gap(s.Left, s.Right, cx, cx);
    const std::int64_t distance = gx * gx + gy * gy;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = sibling;
    }
  }
  return best;
}

}  // namespace rux
