// TVaqFormDesigner: the layout designer of a translated preview form, for both frameworks. The
// widget layer's designer hook hands it the input events of the form and its controls; it turns
// them into selection, moves and resizes through TGrabHandles, keeps the grid options, switches
// between designing and test mode (in which the form behaves as at run time) and applies property
// values sent by the editor. The differences between the frameworks are a TDesignerPolicy.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "designer/design_surface.h"
#include "designer/designer_intf.h"
#include "designer/designer_policy.h"
#include "designer/grab_handles.h"

namespace rux {

// The caption of the command that switches test mode on and off.
constexpr std::string_view kTestCommandCaption = "&Test";

// The colour of the grid dots, in the frameworks' notation $BBGGRR (blue FF, green D8, red CE).
constexpr std::uint32_t kGridDotColor = 0xFFD8CE;

class TVaqFormDesigner final : public IVaqFormDesignerOptions,
                               public IVaqFormDesigner,
                               public IVaqInterfaces {
 public:
  // Designs the form of `Surface`; `FormName` is the root object name read from the form's stream,
  // the first segment of every component path. Starts designing, with grid 8x8 shown and snapping.
  TVaqFormDesigner(IDesignSurface& Surface, std::string FormName,
                   TDesignerPolicy Policy = kNativeDesignerPolicy);

  // IVaqFormDesigner and IVaqFormDesignerOptions by their identities.
  void* QueryInterface(std::string_view Iid) override;

  // IVaqFormDesigner
  bool GetActive() const override { return Active_; }
  void SetActive(bool Value) override;
  void SetNotifier(std::shared_ptr<IVaqFormDesignerNotifier> Notifier) override;
  void SelectComponent(const std::string& Name) override;
  void SetPropertyValue(const std::string& ObjectName, const std::string& PropPath,
                        const std::string& Value) override;
  std::string ComponentClass(const std::string& Path) const override;
  // The control at a component path of this designer's notation, or TNode::None.
  TNode FindPath(std::string_view Path) const;

  // IVaqFormDesignerOptions
  bool GetDisplayGrid() const override { return DisplayGrid_; }
  TPoint GetGridOffset() const override;
  TPoint GetGridSize() const override { return GridSize_; }
  bool GetSnapToGrid() const override { return SnapToGrid_; }
  void SetDisplayGrid(bool Value) override;
  // A step below 1 pixel is taken as 1.
  void SetGridSize(TPoint Value) override;
  void SetSnapToGrid(bool Value) override { SnapToGrid_ = Value; }
  // Takes the four grid options from the core's option set (UpdateDesignerOptions).
  void UpdateOptions() override;

  // Input as the designer hook receives it; true when the designer consumed the event, false when
  // the control or form should act on it. `Sender` is the control (or the form) that received
  // it; positions are in the form's client coordinates.
  bool MouseEvent(TNode Sender, TMouseAction Action, TMouseButton Button, TPoint FormPos);
  // Mouse input of the grab handle `Handle` (0..7).
  bool HandleMouseEvent(int Handle, TMouseAction Action, TPoint FormPos);
  bool KeyEvent(TNode Sender, TKeyAction Action, TDesignKey Key, TShiftState Shift);
  // The "&Test" command of the form's window: toggles test mode.
  void TestCommand() { SetActive(!Active_); }
  // The form's window changed its size.
  void FormResized() { GrabHandles_.FormResized(); }

  // Whether the grid is to be painted (designing, grid shown); the dots are at ForEachGridDot.
  bool PaintsGrid() const { return Active_ && DisplayGrid_; }
  template <class F>
  void ForEachGridDot(F&& Dot) const;

  const TDesignerPolicy& Policy() const { return Policy_; }
  TGrabHandles& GrabHandles() { return GrabHandles_; }
  const TGrabHandles& GrabHandles() const { return GrabHandles_; }
  IDesignSurface& Surface() const { return Surface_; }

 private:
  // Hands one mouse event of a control or a handle to the grab handles.
  void DispatchMouse(TGrabSender Sender, TMouseAction Action, TPoint FormPos);
  void HandleKey(TDesignKey Key, TShiftState Shift);
  void Select(TNode Control);

  IDesignSurface& Surface_;
  TDesignerPolicy Policy_;
  bool Active_ = true;
  bool DisplayGrid_ = true;
  TPoint GridSize_{8, 8};
  bool SnapToGrid_ = true;
  TGrabHandles GrabHandles_;
  // The modifiers held at the press of each key, for a policy that acts on the release.
  std::array<std::optional<TShiftState>, kDesignKeyCount> PressedShift_{};
};

// Every grid dot of the form: from the grid offset in steps of the grid size, inside the form's
// outer size.
template <class F>
void TVaqFormDesigner::ForEachGridDot(F&& Dot) const {
  const TPoint offset = GetGridOffset(), size = Surface_.FormSize();
  for (int y = offset.Y; y < size.Y; y += GridSize_.Y)
    for (int x = offset.X; x < size.X; x += GridSize_.X) Dot(x, y);
}

}  // namespace rux
