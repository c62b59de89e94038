#include "designer/qt/designer_hook.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include "framework/widgets/controls.h"

namespace rux {

using vaq::widgets::TControl;
using vaq::widgets::TForm;

namespace {

TMouseButton Button(Qt::MouseButton Button) {
  switch (Button) {
    case Qt::RightButton:
      return TMouseButton::Right;
    case Qt::MiddleButton:
      return TMouseButton::Middle;
    default:
      return TMouseButton::Left;
  }
}

TShiftState Shift(Qt::KeyboardModifiers Modifiers) {
  return {Modifiers.testFlag(Qt::ShiftModifier), Modifiers.testFlag(Qt::ControlModifier),
          Modifiers.testFlag(Qt::AltModifier)};
}

bool IsTestModeKey(const QKeyEvent& Event) {
  return QKeySequence(Event.keyCombination()) == TestModeShortcut();
}

}  // namespace

TDesignerHook::TDesignerHook(TForm& Form, std::string FormName, TDesignerPolicy Policy)
    : Form_(Form),
      Surface_(std::make_unique<TFormDesignSurface>(Form,
                                                    [this](int Index, TMouseAction Action, QPoint Global) {
                                                      Designer_->HandleMouseEvent(
                                                          Index, Action, Surface_->FromGlobal(Global));
                                                    })),
      Designer_(std::make_unique<TVaqFormDesigner>(*Surface_, std::move(FormName), Policy)),
      Menu_(std::make_unique<QMenu>()) {
  Surface_->SetDesigner(Designer_.get());
  TestAction_ = Menu_->addAction(QString::fromUtf8(kTestCommandCaption.data(), kTestCommandCaption.size()));
  TestAction_->setCheckable(true);
  TestAction_->setShortcut(TestModeShortcut());
  TestAction_->setShortcutVisibleInContextMenu(true);
  // The key itself is handled with the form's input, so that it reaches only this form.
  TestAction_->setShortcutContext(Qt::WidgetShortcut);
  QObject::connect(TestAction_, &QAction::triggered, [this] { Designer_->TestCommand(); });
  Surface_->OnDesigningChanged = [this](bool Designing) { TestAction_->setChecked(!Designing); };
}

TDesignerHook::~TDesignerHook() {
  Form_.OnResize = nullptr;
}

bool TDesignerHook::IsDesignMsg(TControl* Sender, QEvent* Event) {
  switch (Event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
      return MouseEvent(Sender, Event);
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      return KeyEvent(Sender, Event);
    default:
      return false;  // closing works in both states; the overlay paints itself
  }
}

bool TDesignerHook::MouseEvent(TControl* Sender, QEvent* Event) {
  auto* mouse = static_cast<QMouseEvent*>(Event);
  const QPoint global = mouse->globalPosition().toPoint();
  TMouseAction action = TMouseAction::Move;
  if (Event->type() == QEvent::MouseButtonPress || Event->type() == QEvent::MouseButtonDblClick)
    action = TMouseAction::Down;
  else if (Event->type() == QEvent::MouseButtonRelease)
    action = TMouseAction::Up;
  // A click on a tab shows its page also while designing, as the frameworks' designers do: the
  // controls of the other pages are reached that way.
  if (action == TMouseAction::Down && Designer_->GetActive())
    if (auto* tabs = dynamic_cast<vaq::widgets::TTabsControl*>(Sender)) tabs->ShowTabAt(global);
  const bool consumed = Designer_->MouseEvent(TFormDesignSurface::Node(Sender), action,
                                              Button(mouse->button()), Surface_->FromGlobal(global));
  // The context menu of the form's background, in both states.
  if (Sender == &Form_ && Event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::RightButton) {
    Menu_->popup(global);
    return true;
  }
  // The keys of the design go to the form, not to the control the toolkit focused on the click.
  if (consumed && action == TMouseAction::Down) Form_.Window()->setFocus(Qt::MouseFocusReason);
  return consumed;
}

bool TDesignerHook::KeyEvent(TControl* Sender, QEvent* Event) {
  auto* key = static_cast<QKeyEvent*>(Event);
  if (IsTestModeKey(*key)) {
    if (Event->type() == QEvent::KeyPress && !key->isAutoRepeat()) Designer_->TestCommand();
    return true;
  }
  return Designer_->KeyEvent(TFormDesignSurface::Node(Sender),
                             Event->type() == QEvent::KeyPress ? TKeyAction::Press : TKeyAction::Release,
                             DesignKeyFromQtKey(key->key()), Shift(key->modifiers()));
}

TVaqFormDesigner& AttachDesigner(TForm& Form, const std::string& FormName, TDesignerPolicy Policy) {
  auto hook = std::make_unique<TDesignerHook>(Form, FormName, Policy);
  TVaqFormDesigner& designer = hook->Designer();
  Form.SetDesigner(std::move(hook));
  // Every control designing, the form itself not until it is shown.
  Form.SetDesigning(true, true);
  Form.SetDesigning(false, false);
  Form.OnResize = [&designer] { designer.FormResized(); };
  return designer;
}

IVaqFormDesigner* FormDesigner(const TForm* Form) {
  auto* hook = Form ? dynamic_cast<TDesignerHook*>(Form->Designer()) : nullptr;
  return hook ? static_cast<IVaqFormDesigner*>(&hook->Designer()) : nullptr;
}

IVaqFormDesignerOptions* FormDesignerOptions(const TForm* Form) {
  auto* hook = Form ? dynamic_cast<TDesignerHook*>(Form->Designer()) : nullptr;
  return hook ? static_cast<IVaqFormDesignerOptions*>(&hook->Designer()) : nullptr;
}

}  // namespace rux
