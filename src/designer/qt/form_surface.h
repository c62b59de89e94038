// The design surface over a live form of the widget layer: the form's controls as the designer's
// tree, and the designer's overlay on the form's client area: eight black grab handles, the
// rubber-band frame of a drag and the grid dots, all above (the grid below) the form's controls.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QPoint>
#include <QWidget>

#include "designer/design_surface.h"
#include "designer/designer_policy.h"
#include "framework/widgets/form.h"

namespace rux {

class TVaqFormDesigner;

// The cursor each handle shows.
Qt::CursorShape GrabHandleCursor(int Index);

class TFormDesignSurface : public IDesignSurface {
 public:
  // `OnHandleMouse` receives the mouse input of the grab handles (index, action, global position).
  TFormDesignSurface(vaq::widgets::TForm& Form, std::function<void(int, TMouseAction, QPoint)> OnHandleMouse);
  ~TFormDesignSurface() override;

  // The node of a component of the form, and back.
  static TNode Node(const vaq::widgets::TComponent* Component);
  static vaq::widgets::TComponent* Component(TNode Node);
  static vaq::widgets::TControl* Control(TNode Node);

  TNode Form() const override;
  TNode Parent(TNode Control) const override;
  int ChildCount(TNode Control) const override;
  TNode Child(TNode Control, int Index) const override;
  const std::string& Name(TNode Control) const override;
  char Kind(TNode Control) const override;
  std::string ClassName(TNode Control) const override;
  bool Showing(TNode Control) const override;
  TRect Bounds(TNode Control) const override;
  TPoint ClientOrigin(TNode Control) const override;
  TPoint FormSize() const override;
  TPoint ScrollPosition() const override { return {}; }  // live forms do not scroll
  void SetBounds(TNode Control, const TRect& Bounds) override;
  TNode FindComponent(std::string_view Name) const override;
  bool IsControl(TNode Component) const override;
  TPropertySet SetProperty(TNode Component, std::string_view PropName, std::string_view Value) override;
  void ShowHandles(bool Visible, const std::array<TRect, 8>& Handles) override;
  void ShowRubberBand(const std::vector<TRect>& Frames) override;
  void SetDesigning(bool Designing) override;
  void Repaint() override;

  // The designer whose grid the surface paints (set once the designer exists).
  void SetDesigner(const TVaqFormDesigner* Designer) { Designer_ = Designer; }
  // Called when test mode is switched on (false) or off (true).
  std::function<void(bool Designing)> OnDesigningChanged;

  vaq::widgets::TForm& LiveForm() const { return Form_; }
  // The overlay widgets, for the tests.
  QWidget* HandleWidget(int Index) const { return Handles_[Index]; }
  // Whether the handle shows (the one being dragged stays on screen unpainted).
  bool HandleShown(int Index) const;
  const std::vector<QWidget*>& RubberBandWidgets() const { return Frames_; }
  QWidget* GridWidget() const { return Grid_; }
  // A position in the form's client coordinates.
  TPoint FromGlobal(QPoint Global) const;

 private:
  vaq::widgets::TForm& Form_;
  std::array<QWidget*, 8> Handles_{};
  std::vector<QWidget*> Frames_;
  QWidget* Grid_ = nullptr;
  const TVaqFormDesigner* Designer_ = nullptr;
};

}  // namespace rux
