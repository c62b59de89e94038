#include "designer/grab_handles.h"

#include <algorithm>

namespace rux {

std::array<TRect, kGrabHandleCount> GrabHandleRects(const TRect& R) {
  // Corners sit 2 pixels outside the control, edge handles are centred (division truncates).
  const int left = R.Left - 2, right = R.Right - 3, centreX = (R.Left + R.Right - 5) / 2;
  const int top = R.Top - 2, bottom = R.Bottom - 3, centreY = (R.Top + R.Bottom - 5) / 2;
  const std::array<TPoint, kGrabHandleCount> origins = {
      TPoint{left, top},     TPoint{centreX, top},    TPoint{right, top},   TPoint{right, centreY},
      TPoint{right, bottom}, TPoint{centreX, bottom}, TPoint{left, bottom}, TPoint{left, centreY}};
  std::array<TRect, kGrabHandleCount> rects;
  for (int i = 0; i < kGrabHandleCount; ++i)
    rects[i] = BoundsRect(origins[i].X, origins[i].Y, kGrabHandleSize, kGrabHandleSize);
  return rects;
}

TGrabHandles::TGrabHandles(IDesignSurface& Surface, const IVaqFormDesignerOptions& Options,
                           std::string FormName)
    : Surface_(Surface), Options_(Options), FormName_(std::move(FormName)), FormSize_(Surface.FormSize()) {}

void TGrabHandles::SetTarget(TNode Control) {
  if (Control == Target_) return;
  Target_ = Control;
  TNode reported = Control;
  if (Control != TNode::None) {
    UpdateHandlePositions();
    if (!HandlesVisible_) SetHandlesVisible(true);
  } else {
    SetHandlesVisible(false);
    reported = Surface_.Form();
  }
  if (Notifier_) Notifier_->ComponentSelected(GetComponentPath(reported));
}

void TGrabHandles::SetHandlesVisible(bool Value) {
  // In test mode the handles stay hidden; they come back with the designing state.
  if (Value && !Designing_) Value = false;
  if (Value == HandlesVisible_) return;
  HandlesVisible_ = Value;
  Surface_.ShowHandles(HandlesVisible_, HandleRects_);
}

void TGrabHandles::UpdateHandlePositions() {
  if (Target_ == TNode::None) return;
  const TPoint origin = Surface_.ClientOrigin(Target_);
  const TRect bounds = Surface_.Bounds(Target_);
  HandleRects_ = GrabHandleRects(BoundsRect(origin.X, origin.Y, bounds.Width(), bounds.Height()));
  if (HandlesVisible_) Surface_.ShowHandles(true, HandleRects_);
}

void TGrabHandles::SetDesigning(bool Value) {
  if (Value == Designing_) return;
  if (!Value) CancelDrag();
  Designing_ = Value;
  if (Target_ != TNode::None) SetHandlesVisible(Value);
}

void TGrabHandles::SetTargetBounds(int Left, int Top, int Width, int Height) {
  if (Target_ == TNode::None) return;
  // A size never goes below zero (a keyboard resize of an empty control, say).
  const TRect now = BoundsRect(Left, Top, std::max(Width, 0), std::max(Height, 0));
  const TRect old = Surface_.Bounds(Target_);
  if (now == old || !MayChange()) return;
  if (Notifier_) {
    const std::string path = GetComponentPath(Target_);
    if (now.Left != old.Left || now.Top != old.Top) Notifier_->ComponentMoved(path, {now.Left, now.Top});
    if (now.Width() != old.Width() || now.Height() != old.Height())
      Notifier_->ComponentResized(path, {now.Width(), now.Height()});
  }
  Surface_.SetBounds(Target_, now);
  UpdateHandlePositions();
}

std::string TGrabHandles::GetComponentPath(TNode Control) const {
  std::string path;
  for (TNode c = Control; c != TNode::None; c = Surface_.Parent(c)) {
    if (Surface_.Parent(c) == TNode::None) break;  // the form: named by the stream below
    path.insert(0, std::string(1, Surface_.Kind(c)) + ":" + Surface_.Name(c) + ".");
  }
  const std::string root = std::string(1, Surface_.Kind(Surface_.Form())) + ":" + FormName_;
  return root + (path.empty() ? "" : "." + path.substr(0, path.size() - 1));
}

bool TGrabHandles::MayChange() const {
  return !Notifier_ || Target_ == TNode::None || Notifier_->ChangeRefused(GetComponentPath(Target_)).empty();
}

int TGrabHandles::Snap(int Value, int Offset, int Step) const {
  if (!Options_.GetSnapToGrid() || Step <= 0) return Value;
  int v = Value + Step / 2 - Offset;
  if (v < 0) v -= Step - 1;
  return v - v % Step + Offset;
}

void TGrabHandles::DrawFrame() {
  if (!Dragging_) return;
  // Drawn on the target's parent, inside the snapped rectangle, with a 2-pixel pen.
  const TPoint origin = Surface_.ClientOrigin(Surface_.Parent(Target_));
  const TRect frame{FrameRect_.Left + 1, FrameRect_.Top + 1, FrameRect_.Right, FrameRect_.Bottom};
  RubberBand_.Draw(frame.Offset(origin));
  Surface_.ShowRubberBand(RubberBand_.Frames());
}

void TGrabHandles::MouseDown(TGrabSender Sender, TPoint FormPos) {
  // A second button pressed during a drag would start a second frame over the first.
  if (Dragging_) return;
  if (!Sender.IsHandle()) SetTarget(Sender.Control);
  // A control whose change the notes could not keep stays selected where it is.
  if (Target_ == TNode::None || !MayChange()) return;
  LastPoint_ = FormPos;
  DragRect_ = Surface_.Bounds(Target_);
  FrameRect_ = DragRect_;
  SetHandlesVisible(false);
  Dragging_ = true;
  Capture_ = Sender;
  DrawFrame();
}

void TGrabHandles::MouseMove(TGrabSender Sender, TPoint FormPos) {
  if (!Dragging_ || !(Sender == Capture_)) return;
  const int dx = FormPos.X - LastPoint_.X, dy = FormPos.Y - LastPoint_.Y;
  if (dx == 0 && dy == 0) return;
  const TPoint grid = Options_.GetGridSize();
  const TPoint offset = Options_.GetGridOffset();
  DrawFrame();  // erase
  if (Sender.IsHandle()) {
    // The unsnapped rectangle accumulates the motion, so that a slow drag still crosses grid
    // lines. A moved edge stops at the opposite one: a size never goes below zero.
    const int i = Sender.Handle;
    if (i <= 2) {
      DragRect_.Top += dy;
      FrameRect_.Top = std::min(Snap(DragRect_.Top, offset.Y, grid.Y), FrameRect_.Bottom);
    } else if (i >= 4 && i <= 6) {
      DragRect_.Bottom += dy;
      FrameRect_.Bottom = std::max(Snap(DragRect_.Bottom, offset.Y, grid.Y), FrameRect_.Top);
    }
    if (i == 0 || i == 6 || i == 7) {
      DragRect_.Left += dx;
      FrameRect_.Left = std::min(Snap(DragRect_.Left, offset.X, grid.X), FrameRect_.Right);
    } else if (i >= 2 && i <= 4) {
      DragRect_.Right += dx;
      FrameRect_.Right = std::max(Snap(DragRect_.Right, offset.X, grid.X), FrameRect_.Left);
    }
  } else {
    const TRect bounds = Surface_.Bounds(Target_);
    DragRect_.Top += dy;
    DragRect_.Left += dx;
    FrameRect_.Top = Snap(DragRect_.Top, offset.Y, grid.Y);
    FrameRect_.Left = Snap(DragRect_.Left, offset.X, grid.X);
    FrameRect_.Bottom = FrameRect_.Top + bounds.Height();
    FrameRect_.Right = FrameRect_.Left + bounds.Width();
  }
  DrawFrame();  // draw
  LastPoint_ = FormPos;
}

void TGrabHandles::MouseUp(TGrabSender Sender, TPoint) {
  // Only the release that ends a drag applies it: a stray release would apply a stale frame.
  if (!Dragging_ || !(Sender == Capture_) || Target_ == TNode::None) return;
  DrawFrame();  // erase
  Dragging_ = false;
  SetTargetBounds(FrameRect_.Left, FrameRect_.Top, FrameRect_.Width(), FrameRect_.Height());
  SetHandlesVisible(true);
}

void TGrabHandles::CancelDrag() {
  if (!Dragging_) return;
  DrawFrame();
  Dragging_ = false;
  SetHandlesVisible(true);
}

void TGrabHandles::FormResized() {
  const TPoint size = Surface_.FormSize();
  if (size == FormSize_) return;
  FormSize_ = size;
  if (Notifier_) Notifier_->ComponentResized(GetComponentPath(Surface_.Form()), size);
}

}  // namespace rux
