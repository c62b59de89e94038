// Selection, grab handles and dragging, the same for both frameworks. Eight 5x5 handles frame the
// selected control (the target); dragging the control moves it, dragging a handle moves the
// handle's edges, both optionally snapped to the grid. A drag shows a rubber-band frame and
// changes the control only when the mouse is released; every change is reported to the notifier
// before the control is changed, position before size.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "designer/design_surface.h"
#include "designer/designer_intf.h"
#include "designer/rubber_band.h"

namespace rux {

// The eight handles by index: 0 top-left, 1 top, 2 top-right, 3 right, 4 bottom-right, 5 bottom,
// 6 bottom-left, 7 left.
constexpr int kGrabHandleCount = 8;
constexpr int kGrabHandleSize = 5;

// The sizing cursor each handle shows, with the frameworks' cursor values.
enum class TGrabCursor : int { SizeNWSE = -8, SizeNS = -7, SizeNESW = -6, SizeWE = -9 };
constexpr std::array<TGrabCursor, kGrabHandleCount> kGrabHandleCursors = {
    TGrabCursor::SizeNWSE, TGrabCursor::SizeNS, TGrabCursor::SizeNESW, TGrabCursor::SizeWE,
    TGrabCursor::SizeNWSE, TGrabCursor::SizeNS, TGrabCursor::SizeNESW, TGrabCursor::SizeWE};

// The handles' rectangles around a control whose client area spans `R` (form coordinates).
std::array<TRect, kGrabHandleCount> GrabHandleRects(const TRect& R);

// Who a mouse event comes from: a control of the form, or one of the grab handles.
struct TGrabSender {
  TNode Control = TNode::None;
  int Handle = -1;  // 0..7 for a grab handle

  static TGrabSender OfControl(TNode Control) { return {Control, -1}; }
  static TGrabSender OfHandle(int Index) { return {TNode::None, Index}; }
  bool IsHandle() const { return Handle >= 0; }
  friend bool operator==(const TGrabSender&, const TGrabSender&) = default;
};

class TGrabHandles {
 public:
  TGrabHandles(IDesignSurface& Surface, const IVaqFormDesignerOptions& Options, std::string FormName);

  const std::string& FormName() const { return FormName_; }
  void SetNotifier(std::shared_ptr<IVaqFormDesignerNotifier> Notifier) { Notifier_ = std::move(Notifier); }
  IVaqFormDesignerNotifier* Notifier() const { return Notifier_.get(); }

  TNode Target() const { return Target_; }
  // Selects `Control` (TNode::None: nothing, which reports the form) and reports the selection.
  void SetTarget(TNode Control);
  bool HandlesVisible() const { return HandlesVisible_; }
  void SetHandlesVisible(bool Value);
  const std::array<TRect, kGrabHandleCount>& HandleRects() const { return HandleRects_; }
  void UpdateHandlePositions();
  // Test mode hides the handles and keeps them hidden until designing again.
  void SetDesigning(bool Value);

  // Gives the target these bounds (in its parent's client coordinates), after reporting what
  // changed. Nothing happens for an unchanged rectangle, nor when the notifier refuses the change.
  void SetTargetBounds(int Left, int Top, int Width, int Height);
  // The control's path: "O:" (or the kind letter of the segment, "I:" for inherited controls)
  // and the names from the form (by its stream name) down to the control.
  std::string GetComponentPath(TNode Control) const;
  // Whether the notifier lets the target change (no notifier: always).
  bool MayChange() const;
  // The grid line Offset + k * Step nearest to Value (halfway goes to the larger), or Value when
  // snapping is off.
  int Snap(int Value, int Offset, int Step) const;

  // Mouse input in the form's client coordinates. A press on a control selects it and starts a
  // move; a press on a handle starts a resize. Moves and the release count only from the sender
  // that started the drag.
  void MouseDown(TGrabSender Sender, TPoint FormPos);
  void MouseMove(TGrabSender Sender, TPoint FormPos);
  void MouseUp(TGrabSender Sender, TPoint FormPos);
  bool Dragging() const { return Dragging_; }
  // Ends a drag without applying it.
  void CancelDrag();
  const TRubberBand& RubberBand() const { return RubberBand_; }
  // The rectangle the drag would apply, in the target parent's client coordinates.
  const TRect& FrameRect() const { return FrameRect_; }

  // Reports the form's outer size when it differs from the size last seen (at construction or at
  // the last report): showing the window resizes it to the size it already has.
  void FormResized();

 private:
  void DrawFrame();

  IDesignSurface& Surface_;
  const IVaqFormDesignerOptions& Options_;
  std::shared_ptr<IVaqFormDesignerNotifier> Notifier_;
  std::string FormName_;
  TNode Target_ = TNode::None;
  bool HandlesVisible_ = false;
  bool Designing_ = true;
  std::array<TRect, kGrabHandleCount> HandleRects_{};
  // The drag: who holds the mouse, the last position, the unsnapped and the snapped rectangle.
  bool Dragging_ = false;
  TGrabSender Capture_;
  TPoint LastPoint_;
  TRect DragRect_;
  TRect FrameRect_;
  TRubberBand RubberBand_;
  TPoint FormSize_;
};

}  // namespace rux
