// The layout designer on a live form of the widget layer: the designer hook that the translated
// preview form hands its input events to. It turns the widget toolkit's mouse and key events into
// the designer's input, shows the designer's overlay through TFormDesignSurface, and carries the
// "&Test" command: on the form's context menu (right button on the form's background) and on
// Ctrl+T, each reaching only the form whose window received it.
#pragma once

#include <memory>
#include <string>

#include <QKeySequence>

#include "designer/designer_intf.h"
#include "designer/form_designer.h"
#include "designer/qt/form_surface.h"
#include "framework/widgets/form.h"

class QAction;
class QMenu;

namespace rux {

// The shortcut of the test-mode command.
inline const QKeySequence& TestModeShortcut() {
  static const QKeySequence shortcut(Qt::CTRL | Qt::Key_T);
  return shortcut;
}

class TDesignerHook : public vaq::widgets::IDesignerHook {
 public:
  TDesignerHook(vaq::widgets::TForm& Form, std::string FormName, TDesignerPolicy Policy);
  ~TDesignerHook() override;

  bool IsDesignMsg(vaq::widgets::TControl* Sender, QEvent* Event) override;

  TVaqFormDesigner& Designer() { return *Designer_; }
  TFormDesignSurface& Surface() { return *Surface_; }
  // The form's context menu with the "&Test" command (checked in test mode).
  QMenu* ContextMenu() const { return Menu_.get(); }
  QAction* TestAction() const { return TestAction_; }

 private:
  bool MouseEvent(vaq::widgets::TControl* Sender, QEvent* Event);
  bool KeyEvent(vaq::widgets::TControl* Sender, QEvent* Event);

  vaq::widgets::TForm& Form_;
  std::unique_ptr<TFormDesignSurface> Surface_;
  std::unique_ptr<TVaqFormDesigner> Designer_;
  std::unique_ptr<QMenu> Menu_;
  QAction* TestAction_ = nullptr;
};

// Creates the designer of the translated preview `Form`, whose stream names its root `FormName`,
// and attaches it as the form's designer hook: the form's controls enter the design state (the
// form itself enters it when shown), and the form's resizes are reported. The policy follows the
// form file's framework (DesignerPolicyForFile).
TVaqFormDesigner& AttachDesigner(vaq::widgets::TForm& Form, const std::string& FormName,
                                 TDesignerPolicy Policy);

// The designer attached to `Form` as its two interfaces; nullptr when there is no form or it has
// no designer.
IVaqFormDesigner* FormDesigner(const vaq::widgets::TForm* Form);
IVaqFormDesignerOptions* FormDesignerOptions(const vaq::widgets::TForm* Form);

}  // namespace rux
