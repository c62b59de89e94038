// What the layout designer needs of a live form, so that its logic stays free of the widget
// toolkit: the form's controls as a tree, their bounds, setting bounds and properties, and the
// places where the designer's own overlay (grab handles, rubber band, grid) is shown. The widget
// layer's binding implements it over a live form; tests implement it over plain data.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "designer/geometry.h"

namespace rux {

// A control of the designed form (or the form itself), as the surface identifies it. TNode::None
// is no control.
enum class TNode : std::uintptr_t { None = 0 };

// What setting a property from value text came to.
enum class TPropertySet { Applied, UnknownProperty, NotConverted };

class IDesignSurface {
 public:
  virtual ~IDesignSurface() = default;

  // The tree of controls: the form is the root and has no parent. Children come in the order the
  // form nests them (the stream's order).
  virtual TNode Form() const = 0;
  virtual TNode Parent(TNode Control) const = 0;
  virtual int ChildCount(TNode Control) const = 0;
  virtual TNode Child(TNode Control, int Index) const = 0;
  // The component name; empty for unnamed inner parts.
  virtual const std::string& Name(TNode Control) const = 0;
  // The kind letter of the control's segment in component paths, as the notes spell it: 'O' an
  // object of the form, 'I' inherited (from an ancestor form, or from a frame's own form), 'L' an
  // inline frame.
  virtual char Kind(TNode Control) const = 0;
  // The class name the form gives the control.
  virtual std::string ClassName(TNode Control) const = 0;
  // Whether the control is on screen: it and its parents are shown (a control on a page that is
  // not the active one is not).
  virtual bool Showing(TNode Control) const = 0;

  // Bounds in the client coordinates of the control's parent.
  virtual TRect Bounds(TNode Control) const = 0;
  // Where the control's client area begins, in the client coordinates of the form ((0, 0) for the
  // form itself).
  virtual TPoint ClientOrigin(TNode Control) const = 0;
  // The form's outer size.
  virtual TPoint FormSize() const = 0;
  // How far the form's client area is scrolled.
  virtual TPoint ScrollPosition() const = 0;
  virtual void SetBounds(TNode Control, const TRect& Bounds) = 0;

  // A component owned by the form, by name ignoring case (controls and others such as menu
  // items), or by its path below the form ("O:Panel1.O:Button1", "L:Frame1.I:Label1": the
  // components the form nests, kind letters not compared), which also reaches the components of
  // frames; TNode::None when there is none.
  virtual TNode FindComponent(std::string_view Name) const = 0;
  virtual bool IsControl(TNode Component) const = 0;
  // Sets a published property from value text. Errors other than a missing property or a value
  // that does not convert propagate.
  virtual TPropertySet SetProperty(TNode Component, std::string_view PropName, std::string_view Value) = 0;

  // The designer's overlay. Rectangles are in the form's client coordinates.
  virtual void ShowHandles(bool Visible, const std::array<TRect, 8>& Handles) = 0;
  virtual void ShowRubberBand(const std::vector<TRect>& Frames) = 0;
  // Designing (true) or test mode (false): the controls act on input only in test mode, and the
  // test command shows its check mark in test mode.
  virtual void SetDesigning(bool Designing) = 0;
  // Paints the form again (grid shown or hidden, grid step changed).
  virtual void Repaint() = 0;
};

}  // namespace rux
