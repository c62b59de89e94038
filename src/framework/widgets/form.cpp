#include "framework/widgets/form.h"

#include <QMenuBar>

#include "core/values/code_page_text.h"
#include "framework/widgets/menus.h"

namespace vaq::widgets {

TForm::TForm() : TControl(FindClass("TForm"), "TForm", new QWidget()), Client_(new QWidget(Widget())) {
  Client_->setProperty("vaqControl", true);
  Client_->setAutoFillBackground(true);
  InstallEventFilter(Client_);
  SetBounds(0, 0, 320, 240);
}

TForm::~TForm() {
  Designer_.reset();
  OnResize = nullptr;
}

QWidget* TForm::ClientWidget() const {
  return Client_;
}

int TForm::BorderWidth() const {
  if (FrameRoot_) return 0;
  switch (BorderStyle_) {
    case TFormBorderStyle::bsNone:
      return 0;
    case TFormBorderStyle::bsSizeable:
    case TFormBorderStyle::bsSizeToolWin:
      return 4;
    default:
      return 3;
  }
}

int TForm::CaptionHeight() const {
  if (FrameRoot_) return 0;
  switch (BorderStyle_) {
    case TFormBorderStyle::bsNone:
      return 0;
    case TFormBorderStyle::bsToolWindow:
    case TFormBorderStyle::bsSizeToolWin:
      return 18;
    default:
      return 23;
  }
}

int TForm::FrameWidth() const {
  return 2 * BorderWidth();
}

int TForm::MenuHeight() const {
  return MenuBar_ ? 20 : 0;
}

QRect TForm::ClientRect() const {
  return QRect(0, 0, std::max(Width() - FrameWidth(), 0),
               std::max(Height() - CaptionHeight() - 2 * BorderWidth() - MenuHeight(), 0));
}

void TForm::SetClientSize(int Width, int Height) {
  if (Loading()) PendingClientSize_ = QSize(Width, Height);
  SetBounds(Left(), Top(), Width + FrameWidth(), Height + CaptionHeight() + 2 * BorderWidth() + MenuHeight());
}

void TForm::SetBorderStyle(TFormBorderStyle Style) {
  QRect client = ClientRect();
  BorderStyle_ = Style;
  // The client area keeps its size; the window grows or shrinks around it.
  SetClientSize(client.width(), client.height());
}

void TForm::SetFrameRoot(bool Value) {
  if (Value == FrameRoot_) return;
  FrameRoot_ = Value;
  // The outer size stays; the client area grows to it. The controls keep their places.
  for (TControl* control : Controls()) control->RememberDesign();
  UpdateGeometry();
  Realign();
  UpdateView();
}

bool TForm::LooksLikeFrame() const {
  if (const TClassInfo* cls = FindClass(ClassName()); cls && InheritsFrom(*cls, "TCustomFrame")) return true;
  if (Stored("taborder")) return true;
  for (const char* own : {"caption", "clientwidth", "clientheight", "borderstyle"})
    if (Stored(own)) return false;
  return Stored("width") || Stored("height");
}

Qt::WindowFlags TForm::WindowFlagsForStyle() const {
  const Qt::WindowFlags caption = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                  Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint;
  if (FrameRoot_) return caption;
  switch (BorderStyle_) {
    case TFormBorderStyle::bsNone:
      return Qt::Window | Qt::FramelessWindowHint;
    case TFormBorderStyle::bsDialog:
      return caption;
    case TFormBorderStyle::bsToolWindow:
    case TFormBorderStyle::bsSizeToolWin:
      return caption | Qt::Tool;
    default:
      return caption | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint;
  }
}

void TForm::SetFormStyle(TFormStyle Style) {
  FormStyle_ = Style;
  bool visible = Widget()->isVisible();
  Widget()->setWindowFlag(Qt::WindowStaysOnTopHint, Style == TFormStyle::fsStayOnTop);
  if (visible) Widget()->show();
}

void TForm::UpdateGeometry() {
  QRect client = ClientRect();
  int menu = MenuHeight();
  if (Widget()->geometry() != QRect(Left(), Top(), client.width(), client.height() + menu))
    Widget()->setGeometry(Left(), Top(), client.width(), client.height() + menu);
  Client_->setGeometry(0, menu, client.width(), client.height());
  if (MenuBar_) MenuBar_->setGeometry(0, 0, client.width(), menu);
}

void TForm::SetDesigner(std::unique_ptr<IDesignerHook> Designer) {
  Designer_ = std::move(Designer);
}

bool TForm::DesignEvent(TControl* Sender, QEvent* Event) {
  return Designer_ && Designer_->IsDesignMsg(Sender, Event);
}

void TForm::ApplyProperty(const std::string& p, const TValue& v) {
  if (p == "borderstyle") {
    static const char* names[] = {"bsNone",   "bsSingle",     "bsSizeable",
                                  "bsDialog", "bsToolWindow", "bsSizeToolWin"};
    for (int k = 0; k < 6; ++k)
      if (SameText(v.Ident(), names[k])) SetBorderStyle(static_cast<TFormBorderStyle>(k));
  } else if (p == "formstyle") {
    SetFormStyle(SameText(v.Ident(), "fsStayOnTop") ? TFormStyle::fsStayOnTop : TFormStyle::fsNormal);
  } else if (p == "menu") {
    if (!Loading()) UpdateMenu();
  } else if (p == "caption") {
    Widget()->setWindowTitle(QString::fromStdU16String(Caption()));
  } else {
    TControl::ApplyProperty(p, v);
  }
}

std::optional<TValue> TForm::LiveProperty(const std::string& p) const {
  if (p == "borderstyle") {
    static const char* names[] = {"bsNone",   "bsSingle",     "bsSizeable",
                                  "bsDialog", "bsToolWindow", "bsSizeToolWin"};
    return TValue::Identifier(names[static_cast<int>(BorderStyle_)]);
  }
  return TControl::LiveProperty(p);
}

void TForm::UpdateMenu() {
  const TValue* menu = Stored("menu");
  auto* main = menu ? dynamic_cast<TMenu*>(FindComponent(menu->Ident())) : nullptr;
  QRect client = ClientRect();
  if (main && !MenuBar_) {
    MenuBar_ = new QMenuBar(Widget());
    MenuBar_->setNativeMenuBar(false);
    MenuBar_->setProperty("vaqControl", true);
    InstallEventFilter(MenuBar_);
  } else if (!main && MenuBar_) {
    delete MenuBar_;
    MenuBar_ = nullptr;
  }
  if (MenuBar_) {
    FillMenuBar(*main, MenuBar_);
    MenuBar_->setFont(ToQFont(TFontSpec()));
    MenuBar_->show();
  }
  (void)client;
  UpdateGeometry();
}

void TForm::Loaded() {
  TControl::Loaded();
  UpdateMenu();
  if (PendingClientSize_) {
    SetClientSize(PendingClientSize_->width(), PendingClientSize_->height());
    PendingClientSize_.reset();
  }
  UpdateGeometry();
}

void TForm::UpdateView() {
  TControl::UpdateView();
  // A frame has no caption: its window shows its name.
  Widget()->setWindowTitle(QString::fromStdU16String(
      FrameRoot_ && Caption().empty() ? values::DecodeText(Name(), TextLocale()) : Caption()));
  QPalette palette = Client_->palette();
  palette.setColor(QPalette::Window, ToQColor(Color()));
  Client_->setPalette(palette);
  Client_->setAutoFillBackground(true);
}

}  // namespace vaq::widgets
