#include "designer/form_designer.h"

#include <algorithm>
#include <cctype>

#include "designer/navigation.h"
#include "designer/option_page.h"

namespace rux {
namespace {

bool SameText(std::string_view A, std::string_view B) {
  return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
         });
}

// The grid line nearest above 0 that keeps grid lines on multiples of the step in the form's
// unscrolled coordinates.
int GridOffset(int Scroll, int Step) {
  const int rest = ((Scroll % Step) + Step) % Step;
  return rest == 0 ? 0 : Step - rest;
}

}  // namespace

TVaqFormDesigner::TVaqFormDesigner(IDesignSurface& Surface, std::string FormName, TDesignerPolicy Policy)
    : Surface_(Surface), Policy_(Policy), GrabHandles_(Surface, *this, std::move(FormName)) {}

void* TVaqFormDesigner::QueryInterface(std::string_view Iid) {
  if (Iid == IVaqFormDesigner::Iid) return static_cast<IVaqFormDesigner*>(this);
  if (Iid == IVaqFormDesignerOptions::Iid) return static_cast<IVaqFormDesignerOptions*>(this);
  return nullptr;
}

void TVaqFormDesigner::SetActive(bool Value) {
  if (Value == Active_) return;
  Active_ = Value;
  Surface_.SetDesigning(Value);
  GrabHandles_.SetDesigning(Value);
  Surface_.Repaint();
}

void TVaqFormDesigner::SetNotifier(std::shared_ptr<IVaqFormDesignerNotifier> Notifier) {
  GrabHandles_.SetNotifier(std::move(Notifier));
}

void TVaqFormDesigner::Select(TNode Control) {
  // A new selection during a drag would move the rubber band to another control.
  GrabHandles_.CancelDrag();
  GrabHandles_.SetTarget(Control);
}

void TVaqFormDesigner::SelectComponent(const std::string& Name) {
  const TNode component = Surface_.FindComponent(Name);
  if (component == TNode::None || component == Surface_.Form() || !Surface_.IsControl(component)) return;
  Select(component);
}

TNode TVaqFormDesigner::FindPath(std::string_view Path) const {
  // "K:Name" segments joined by "."; the first names the form by its stream name.
  TNode node = TNode::None;
  for (std::size_t start = 0; start <= Path.size();) {
    const std::size_t dot = std::min(Path.find('.', start), Path.size());
    std::string_view segment = Path.substr(start, dot - start);
    if (segment.size() < 2 || segment[1] != ':') return TNode::None;
    segment.remove_prefix(2);
    if (node == TNode::None) {
      if (!SameText(segment, GrabHandles_.FormName())) return TNode::None;
      node = Surface_.Form();
    } else {
      TNode found = TNode::None;
      for (int i = 0, count = Surface_.ChildCount(node); i < count && found == TNode::None; ++i)
        if (SameText(Surface_.Name(Surface_.Child(node, i)), segment)) found = Surface_.Child(node, i);
      if (found == TNode::None) return TNode::None;
      node = found;
    }
    start = dot + 1;
  }
  return node;
}

std::string TVaqFormDesigner::ComponentClass(const std::string& Path) const {
  const TNode node = FindPath(Path);
  return node == TNode::None ? std::string() : Surface_.ClassName(node);
}

void TVaqFormDesigner::SetPropertyValue(const std::string& ObjectName, const std::string& PropPath,
                                        const std::string& Value) {
  TNode object = TNode::None;
  if (const std::size_t colon = ObjectName.find(':'); colon != std::string::npos) {
    // A component path from the form down: its first segment names the form.
    const std::size_t dot = ObjectName.find('.');
    const std::string_view root = std::string_view(ObjectName).substr(colon + 1, dot - colon - 1);
    if (!SameText(root, GrabHandles_.FormName())) return;
    object = dot == std::string::npos ? Surface_.Form() : Surface_.FindComponent(ObjectName.substr(dot + 1));
  } else {
    object =
        SameText(ObjectName, GrabHandles_.FormName()) ? Surface_.Form() : Surface_.FindComponent(ObjectName);
  }
  if (object == TNode::None) return;
  if (Surface_.SetProperty(object, PropPath, Value) != TPropertySet::Applied) return;
  // Not only the target's own bounds move its handles: a moved or resized parent carries it along.
  GrabHandles_.UpdateHandlePositions();
}

TPoint TVaqFormDesigner::GetGridOffset() const {
  const TPoint scroll = Surface_.ScrollPosition();
  return {GridOffset(scroll.X, GridSize_.X), GridOffset(scroll.Y, GridSize_.Y)};
}

void TVaqFormDesigner::UpdateOptions() {
  UpdateDesignerOptions(this, vaq::VaqINTOptionProps);
}

void TVaqFormDesigner::SetDisplayGrid(bool Value) {
  if (Value == DisplayGrid_) return;
  DisplayGrid_ = Value;
  Surface_.Repaint();
}

void TVaqFormDesigner::SetGridSize(TPoint Value) {
  // A step of 0 would divide by zero when snapping and never end the grid painting.
  Value = {std::max(Value.X, 1), std::max(Value.Y, 1)};
  if (Value == GridSize_) return;
  GridSize_ = Value;
  Surface_.Repaint();
}

bool TVaqFormDesigner::MouseEvent(TNode Sender, TMouseAction Action, TMouseButton Button, TPoint FormPos) {
  if (!Active_) return false;
  if (Action != TMouseAction::Move && Button != TMouseButton::Left && !Policy_.AnyMouseButton) return false;
  // The nearest named control acts for unnamed inner parts.
  const TNode form = Surface_.Form();
  TNode control = Sender;
  while (control != form && control != TNode::None && Surface_.Name(control).empty())
    control = Surface_.Parent(control);
  if (control == form || control == TNode::None) {
    // A click on the form clears the selection; other mouse input of the form acts as usual.
    if (Action != TMouseAction::Down) return false;
    Select(TNode::None);
    return true;
  }
  const auto sender = TGrabSender::OfControl(control);
  DispatchMouse(sender, Action, FormPos);
  return true;
}

void TVaqFormDesigner::DispatchMouse(TGrabSender Sender, TMouseAction Action, TPoint FormPos) {
  switch (Action) {
    case TMouseAction::Down:
      GrabHandles_.MouseDown(Sender, FormPos);
      break;
    case TMouseAction::Move:
      GrabHandles_.MouseMove(Sender, FormPos);
      break;
    case TMouseAction::Up:
      GrabHandles_.MouseUp(Sender, FormPos);
      break;
  }
}

bool TVaqFormDesigner::HandleMouseEvent(int Handle, TMouseAction Action, TPoint FormPos) {
  if (!Active_ || Handle < 0 || Handle >= kGrabHandleCount) return false;
  const auto sender = TGrabSender::OfHandle(Handle);
  DispatchMouse(sender, Action, FormPos);
  return true;
}

bool TVaqFormDesigner::KeyEvent(TNode Sender, TKeyAction Action, TDesignKey Key, TShiftState Shift) {
  if (!Active_) return false;
  if (Sender != Surface_.Form() && !Policy_.KeysFromControls) return false;
  const TKeyAction acting = Policy_.KeysOnRelease ? TKeyAction::Release : TKeyAction::Press;
  std::optional<TShiftState>& pressed = PressedShift_[static_cast<std::size_t>(Key)];
  // The other half of a key the designer acts on is consumed too, so that the toolkit does not
  // move the focus on Tab or the arrows.
  if (Action != acting) {
    pressed = Shift;
    return Key != TDesignKey::Other;
  }
  // Acting on the release, the modifiers are those held when the key went down: a quick tap of
  // Shift+Right lets go of Shift before Right as often as not, and that tap resizes all the same.
  if (Policy_.KeysOnRelease && pressed) Shift = *pressed;
  pressed.reset();
  HandleKey(Key, Shift);
  return true;
}

void TVaqFormDesigner::HandleKey(TDesignKey Key, TShiftState Shift) {
  if (GrabHandles_.Dragging()) return;
  const TNode target = GrabHandles_.Target();
  switch (Key) {
    case TDesignKey::Tab:
    case TDesignKey::BackTab: {
      const bool backward = Key == TDesignKey::BackTab || Shift.Shift;
      const TNode next =
          backward ? PreviousControl(Surface_, target, false) : NextControl(Surface_, target, true);
      if (next != TNode::None) Select(next);
      return;
    }
    case TDesignKey::Escape:
      if (target == TNode::None) return;
      if (const TNode parent = Surface_.Parent(target); parent == Surface_.Form())
        Select(TNode::None);
      else
        Select(parent);
      return;
    case TDesignKey::Left:
    case TDesignKey::Up:
    case TDesignKey::Right:
    case TDesignKey::Down: {
      if (target == TNode::None) return;
      const auto direction =
          static_cast<TDirection>(static_cast<int>(Key) - static_cast<int>(TDesignKey::Left));
      static constexpr TPoint kSteps[] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
      TPoint d = kSteps[static_cast<int>(direction)];
      const TRect b = Surface_.Bounds(target);
      // Keyboard moves and resizes are exact: they are not snapped to the grid.
      if (Shift.Ctrl) {
        if (Shift.Shift) d = {d.X * GridSize_.X, d.Y * GridSize_.Y};
        GrabHandles_.SetTargetBounds(b.Left + d.X, b.Top + d.Y, b.Width(), b.Height());
      } else if (Shift.Shift) {
        GrabHandles_.SetTargetBounds(b.Left, b.Top, b.Width() + d.X, b.Height() + d.Y);
      } else if (const TNode nearest = NearestControl(Surface_, target, direction); nearest != TNode::None) {
        Select(nearest);
      }
      return;
    }
    case TDesignKey::Other:
      return;
  }
}

}  // namespace rux
