// The live controls of both frameworks. Each looks like what it is at run time; the layer draws
// those that have no Qt counterpart (panels, bevels, shapes, status bars, grids, ...) itself.
// Most classes are reached only through CreateComponent (factory.h); the ones below are exposed
// for the viewer, the designer and the tests.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QImage>
#include <QPainter>
#include <QWidget>

#include "framework/widgets/component.h"

namespace vaq::widgets {

// A widget that a control paints itself.
class TPaintWidget : public QWidget {
 public:
  std::function<void(QPainter&)> OnPaint;

 protected:
  void paintEvent(QPaintEvent* Event) override;
};

// A control drawn by the layer.
class TPaintedControl : public TControl {
 public:
  TPaintedControl(const TClassInfo* Class, std::string ClassName, int Width, int Height);

 protected:
  virtual void Paint(QPainter& Painter) = 0;
  TPaintWidget* PaintWidget() const;
};

// Any control of a class the catalogue does not know: keeps its name, bounds and children and
// draws as a frame labelled with its class name. One that turns out to have no size and no nested
// controls (a non-visual component of an unknown library) shows nothing.
class TPlaceholder : public TPaintedControl {
 public:
  explicit TPlaceholder(std::string ClassName);
  bool IsContainer() const override { return true; }
  void Loaded() override;
  // The texts it holds, as any control shows them (captions and texts, the strings of items,
  // lines and tabs, the captions of the items of its collections), drawn in its frame.
  std::u16string DisplayText() const override;
  bool NonVisual() const { return NonVisual_; }
  // A frame whose own form was read into it draws as a frame does: not at all.
  void SetResolved(bool Value) { Resolved_ = Value; }

 protected:
  void Paint(QPainter& Painter) override;
  void ApplyProperty(const std::string& LowerPath, const TValue& Value) override;

 private:
  std::vector<std::u16string> Texts() const;

  bool Sized_ = false;
  bool NonVisual_ = false;
  bool Resolved_ = false;
};

// List-like controls (list boxes, combo boxes, radio groups, ...): their items as the widget
// holds them, read back as 8-bit text of the form's language.
class TItemsControl {
 public:
  virtual ~TItemsControl() = default;
  virtual std::vector<std::u16string> WidgetItems() const = 0;
  std::vector<std::string> WidgetItems8(TLCID Locale) const;
};

// Controls with a tab bar (page controls, tab controls, tab sets). Clicking a tab shows its page,
// at run time and in test mode through the tab bar itself; the designer, which takes the clicks
// of designing controls, asks for it.
class TTabsControl {
 public:
  virtual ~TTabsControl() = default;
  // Shows the page of the tab at `Global` (screen coordinates); false when no tab is there.
  virtual bool ShowTabAt(QPoint Global) = 0;
  // The index of the tab shown (-1: none).
  virtual int CurrentTab() const = 0;
};

// The image of a picture or glyph property ("Picture.Data": a class name, then the graphic's
// bytes; "Glyph.Data": a size, then a bitmap file). A null image when nothing can be decoded.
QImage DecodeGraphic(const std::string& Data, bool WithClassName);

// Draws a framework bevel: a raised or lowered frame of `Width` pixels; returns the inner rect.
QRect DrawBevel(QPainter& Painter, QRect Rect, bool Raised, int Width = 1);

// Text as the frameworks show it: "&x" underlines x, "&&" is one "&".
QString StripAccelerator(const std::u16string& Text);

}  // namespace vaq::widgets
