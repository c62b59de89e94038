// Forms: the root of a live form, its window, menu bar and client area, its frame metrics, and the
// designer hook that sees the form's input events before its controls act on them.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QEvent>

#include "framework/widgets/component.h"

class QMenuBar;

namespace vaq::widgets {

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };

// What a form designer attaches to a form. The form hands it the input events (mouse, keys,
// resize, close, paint) of the form and of every control in the design state before they act.
class IDesignerHook {
 public:
  virtual ~IDesignerHook() = default;
  // True consumes the event: the control does not see it.
  virtual bool IsDesignMsg(TControl* Sender, QEvent* Event) = 0;
};

class TForm : public TControl {
 public:
  // A form of the catalogue's TForm in the active class group.
  TForm();
  ~TForm() override;

  QWidget* ClientWidget() const override;
  QWidget* Window() const { return Widget(); }
  bool IsContainer() const override { return true; }
  QRect ClientRect() const override;
  void SetClientSize(int Width, int Height) override;

  TFormBorderStyle BorderStyle() const { return BorderStyle_; }
  void SetBorderStyle(TFormBorderStyle Style);
  TFormStyle FormStyle() const { return FormStyle_; }
  void SetFormStyle(TFormStyle Style);
  // A frame (or a data module) read as the root: its Width and Height are the size of what it
  // shows, with no border or caption of its own, and a window of that size shows it. The controls
  // keep the places they were read at; aligned ones fill the area.
  bool FrameRoot() const { return FrameRoot_; }
  void SetFrameRoot(bool Value);
  // A form built to be measured, never shown or painted (the fit check): set before its controls
  // are read, it has them leave out of their widgets what only shows and no measure reads (an
  // edit's text, the items of lists and combo boxes, a memo's lines, a date). Their bounds, fonts
  // and every text the fit measures are those of a form built to be shown.
  bool BuiltToMeasure() const { return BuiltToMeasure_; }
  void SetBuiltToMeasure(bool Value) { BuiltToMeasure_ = Value; }
  // Whether the root as read is a frame rather than a form: its class descends from the frameworks'
  // frame, or it sets a size but none of a form's own properties (Caption, ClientWidth,
  // ClientHeight, BorderStyle), or a TabOrder, which only a control placed in a parent has.
  bool LooksLikeFrame() const;
  // The window's decoration for the border style: caption buttons as the frameworks give them
  // (a dialog: close only; a tool window: a small caption with close; none: no frame at all).
  Qt::WindowFlags WindowFlagsForStyle() const;
  // Horizontal and vertical frame widths (borders and caption, menu bar not counted).
  int FrameWidth() const;
  int CaptionHeight() const;
  int BorderWidth() const;
  int MenuHeight() const;
  // The main menu shown as the form's menu bar, or nullptr.
  QMenuBar* MenuBar() const { return MenuBar_; }

  // Called when the user closes the window (after the designer saw the close event).
  std::function<void(TComponent* Sender)> OnClose;
  // The designer hook; the form owns it.
  void SetDesigner(std::unique_ptr<IDesignerHook> Designer);
  IDesignerHook* Designer() const { return Designer_.get(); }
  void ClearDesigner() { Designer_.reset(); }
  // A handler run after every resize of the window (the designer's), cleared before the form goes.
  std::function<void()> OnResize;

  void Loaded() override;
  void UpdateView() override;
  // Builds the menu bar from the main menu named by the Menu property.
  void UpdateMenu();

  // Routes an event of `Sender` to the designer; true when the designer consumed it.
  bool DesignEvent(TControl* Sender, QEvent* Event);

 protected:
  void ApplyProperty(const std::string& LowerPath, const TValue& Value) override;
  std::optional<TValue> LiveProperty(const std::string& LowerPath) const override;
  void UpdateGeometry() override;
  bool PaintsBackground() const override { return true; }

 private:
  QWidget* Client_;
  QMenuBar* MenuBar_ = nullptr;
  TFormBorderStyle BorderStyle_ = TFormBorderStyle::bsSizeable;
  bool FrameRoot_ = false;
  bool BuiltToMeasure_ = false;
  TFormStyle FormStyle_ = TFormStyle::fsNormal;
  std::unique_ptr<IDesignerHook> Designer_;
  std::optional<QSize> PendingClientSize_;
};

}  // namespace vaq::widgets
