#include "framework/widgets/component.h"

#include <algorithm>
#include <cctype>

#include <QEvent>
#include <QObject>
#include <QPalette>

#include "framework/widgets/form.h"
#include "host/core/locale.h"

namespace vaq::widgets {

std::string LowerCase(std::string_view Text) {
  std::string out(Text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool SameText(std::string_view A, std::string_view B) {
  return A.size() == B.size() && LowerCase(A) == LowerCase(B);
}

std::int64_t IntOf(const TValue& Value) {
  if (Value.IsInteger()) return Value.Int;
  if (Value.Kind == TValueType::vaTrue) return 1;
  if (Value.Kind == TValueType::vaFalse) return 0;
  if (Value.IsNumber()) return static_cast<std::int64_t>(Value.Number());
  if (Value.Kind == TValueType::vaIdent) {
    if (auto color = IdentToColor(Value.Str)) return *color;
    if (auto charset = IdentToCharset(Value.Str)) return *charset;
  }
  return 0;
}

bool BoolOf(const TValue& Value) {
  if (Value.Kind == TValueType::vaTrue) return true;
  if (Value.Kind == TValueType::vaFalse) return false;
  if (Value.IsIdent()) return SameText(Value.Str, "True");
  return IntOf(Value) != 0;
}

// ---------------------------------------------------------------------------------------------
// TComponent

TComponent::TComponent(const TClassInfo* Class, std::string ClassName)
    : ClassName_(std::move(ClassName)), Class_(Class), TextLocale_(VaqGetThreadLocale()) {}

TComponent::~TComponent() {
  // The newest first: nested components were created after their parents.
  while (!Components_.empty()) Components_.pop_back();
}

TComponent* TComponent::InsertComponent(std::unique_ptr<TComponent> Component) {
  Component->Owner_ = this;
  Components_.push_back(std::move(Component));
  return Components_.back().get();
}

void TComponent::MarkOwnedInherited() {
  for (const auto& component : Components_) {
    component->StreamKind_ = 'I';
    component->MarkOwnedInherited();
  }
}

TComponent* TComponent::FindComponent(std::string_view Name) const {
  if (Name.empty()) return nullptr;
  for (const auto& component : Components_)
    if (SameText(component->Name(), Name)) return component.get();
  return nullptr;
}

void TComponent::InsertChild(TComponent* Child) {
  if (Child->ParentComponent_ == this) return;
  Child->ParentComponent_ = this;
  Children_.push_back(Child);
}

bool TComponent::AcceptsChild(const TComponent&) const {
  return true;
}

void TComponent::SetDesigning(bool Value, bool Children) {
  Designing_ = Value;
  if (Children)
    for (const auto& component : Components_) component->SetDesigning(Value, true);
}

void TComponent::Loaded() {
  Loading_ = false;
}

TForm* TComponent::RootForm() {
  TComponent* c = this;
  while (c) {
    if (auto* form = dynamic_cast<TForm*>(c)) return form;
    c = c->ParentComponent_ ? c->ParentComponent_ : c->Owner_;
  }
  return nullptr;
}

void TComponent::SetProperty(std::string_view Path, const TValue& Value) {
  std::string lower = LowerCase(Path);
  if (lower == "name" && Value.IsString()) Name_ = Value.Ansi(TextLocale_);
  if (lower == "tag") Tag_ = static_cast<std::int32_t>(IntOf(Value));
  Values_[lower] = Value;
  ApplyProperty(lower, Value);
}

std::optional<TValue> TComponent::GetProperty(std::string_view Path) const {
  std::string lower = LowerCase(Path);
  if (auto live = LiveProperty(lower)) return live;
  if (const TValue* value = Stored(lower)) return *value;
  return std::nullopt;
}

const TValue* TComponent::Stored(std::string_view LowerPath) const {
  auto it = Values_.find(std::string(LowerPath));
  return it == Values_.end() ? nullptr : &it->second;
}

void TComponent::ApplyProperty(const std::string&, const TValue&) {}

std::optional<TValue> TComponent::LiveProperty(const std::string& LowerPath) const {
  if (LowerPath == "name") return TValue::String(Name_);
  if (LowerPath == "tag") return TValue::Integer(Tag_);
  return std::nullopt;
}

std::u16string TComponent::StoredText(std::string_view LowerPath) const {
  const TValue* value = Stored(LowerPath);
  if (!value || !value->IsString()) return {};
  return value->Shown(TextLocale_);
}

std::vector<std::u16string> TComponent::StoredStrings(std::string_view LowerPath) const {
  std::vector<std::u16string> out;
  const TValue* value = Stored(LowerPath);
  if (!value) return out;
  for (const TValue& element : value->List)
    if (element.IsString()) out.push_back(element.Shown(TextLocale_));
  return out;
}

std::u16string TComponent::DisplayText() const {
  return StoredText("caption");
}

// ---------------------------------------------------------------------------------------------
// Events of controls: the designer sees them first.

class TControlEventFilter : public QObject {
 public:
  explicit TControlEventFilter(TControl* Control) : Control_(Control) {}

  bool eventFilter(QObject* Watched, QEvent* Event) override {
    switch (Event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::Resize:
      case QEvent::Close:
      case QEvent::Paint:
        break;
      default:
        return false;
    }
    TForm* form = Control_->RootForm();
    if (!form) return false;
    if (Control_->Designing() && form->DesignEvent(Control_, Event)) {
      if (Event->type() == QEvent::Close) Event->ignore();
      return true;
    }
    if (Control_ == form && Watched == form->Window()) {
      if (Event->type() == QEvent::Close && form->OnClose) form->OnClose(form);
      if (Event->type() == QEvent::Resize && form->OnResize) form->OnResize();
    }
    return false;
  }

 private:
  TControl* Control_;
};

// ---------------------------------------------------------------------------------------------
// TControl

TControl::TControl(const TClassInfo* Class, std::string ClassName, QWidget* Widget)
    : TComponent(Class, std::move(ClassName)),
      Widget_(Widget),
      Filter_(std::make_unique<TControlEventFilter>(this)) {
  InstallEventFilter(Widget);
}

TControl::~TControl() {
  if (Widget_) Widget_->removeEventFilter(Filter_.get());
  delete Widget_.data();
}

void TControl::InstallEventFilter(QWidget* Widget) {
  if (!Widget) return;
  Widget->removeEventFilter(Filter_.get());
  Widget->installEventFilter(Filter_.get());
  for (QWidget* child : Widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    // Nested controls have filters of their own.
    if (child->property("vaqControl").toBool()) continue;
    InstallEventFilter(child);
  }
}

void TControl::InsertChild(TComponent* Child) {
  if (Child->ParentComponent() == this) return;
  TComponent::InsertChild(Child);
  auto* control = dynamic_cast<TControl*>(Child);
  if (!control) return;
  control->Parent_ = this;
  Controls_.push_back(control);
  if (QWidget* widget = control->Widget()) {
    widget->setProperty("vaqControl", true);
    widget->setParent(ClientWidget());
    control->UpdateGeometry();
    control->UpdateWidgetVisibility();
  }
  if (!Loading()) {
    control->UpdateView();
    control->RememberDesign();
    Realign();
  }
}

bool TControl::AcceptsChild(const TComponent&) const {
  return true;
}

void TControl::SetBounds(int Left, int Top, int Width, int Height) {
  Width = std::max(Width, 0);
  Height = std::max(Height, 0);
  bool resized = Width != Width_ || Height != Height_;
  bool moved = Left != Left_ || Top != Top_;
  if (!resized && !moved) return;
  Left_ = Left;
  Top_ = Top;
  Width_ = Width;
  Height_ = Height;
  UpdateGeometry();
  if (resized) Resized();
  bool byParent = Parent_ && Parent_->Arranging_;
  if (!byParent) {
    RememberDesign();
    if (Parent_ && Align_ != TAlign::alNone && !Loading()) Parent_->Realign();
  }
  if (resized && !Loading()) Realign();
}

void TControl::SetClientSize(int Width, int Height) {
  QRect client = ClientRect();
  SetBounds(Left_, Top_, Width + (Width_ - client.width()), Height + (Height_ - client.height()));
}

QRect TControl::FormRect() const {
  QRect rect = BoundsRect();
  for (const TControl* p = Parent_; p && !dynamic_cast<const TForm*>(p); p = p->Parent_)
    rect.translate(p->Left_, p->Top_);
  return rect;
}

void TControl::UpdateGeometry() {
  if (Widget_) Widget_->setGeometry(Left_, Top_, Width_, Height_);
}

void TControl::SetVisible(bool Value) {
  Visible_ = Value;
  UpdateWidgetVisibility();
  if (Parent_ && !Loading()) Parent_->Realign();
}

void TControl::UpdateWidgetVisibility() {
  // The designer shows hidden controls, but a page that is not the active one stays hidden.
  if (Widget_ && Parent_) Widget_->setVisible((Visible_ || Designing()) && Parent_->ShowsChild(*this));
}

bool TControl::Showing() const {
  for (const TControl* c = this; c && !dynamic_cast<const TForm*>(c); c = c->Parent_)
    if (!c->Visible_) return false;
  return true;
}

std::u16string TControl::Caption() const {
  if (Stored("caption")) return StoredText("caption");
  return StoredText("text");
}

std::string TControl::Caption8() const {
  const TValue* value = Stored("caption");
  if (!value) value = Stored("text");
  return value && value->IsString() ? value->Ansi(TextLocale()) : std::string();
}

const TFontSpec& TControl::EffectiveFont() const {
  return ParentFont_ && Parent_ ? Parent_->EffectiveFont() : Font_;
}

TColor TControl::Color() const {
  if (Color_) return *Color_;
  if (ParentColor_ && Parent_) return Parent_->Color();
  return DefaultColor();
}

void TControl::SetDesigning(bool Value, bool Children) {
  TComponent::SetDesigning(Value, Children);
  UpdateWidgetVisibility();
}

std::u16string TControl::DisplayText() const {
  return Caption();
}

void TControl::ApplyProperty(const std::string& p, const TValue& v) {
  auto i = static_cast<int>(IntOf(v));
  if (p == "left")
    SetBounds(i, Top_, Width_, Height_);
  else if (p == "top")
    SetBounds(Left_, i, Width_, Height_);
  else if (p == "width")
    SetBounds(Left_, Top_, i, Height_);
  else if (p == "height")
    SetBounds(Left_, Top_, Width_, i);
  else if (p == "clientwidth")
    SetClientSize(i, ClientHeight());
  else if (p == "clientheight")
    SetClientSize(ClientWidth(), i);
  else if (p == "visible")
    SetVisible(BoolOf(v));
  else if (p == "enabled") {
    Enabled_ = BoolOf(v);
    if (Widget_) Widget_->setEnabled(Enabled_);
  } else if (p == "align") {
    static const char* names[] = {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"};
    for (int k = 0; k < 7; ++k)
      if (SameText(v.Ident(), names[k])) Align_ = static_cast<TAlign>(k);
    if (Parent_ && !Loading()) Parent_->Realign();
  } else if (p == "anchors") {
    static const char* names[] = {"akLeft", "akTop", "akRight", "akBottom"};
    Anchors_ = 0;
    for (const std::string& element : v.Set)
      for (int k = 0; k < 4; ++k)
        if (SameText(element, names[k])) Anchors_ |= 1u << k;
  } else if (p == "taborder")
    TabOrder_ = i;
  else if (p == "autosize") {
    AutoSize_ = BoolOf(v);
    if (!Loading()) ApplyAutoSize();
  } else if (p.starts_with("font.")) {
    std::string part = p.substr(5);
    if (part == "name" && v.IsString())
      Font_.Name = v.Ansi(TextLocale());
    else if (part == "height")
      Font_.Height = i;
    else if (part == "size")
      Font_.SetSize(i);
    else if (part == "color")
      Font_.Color = i;
    else if (part == "charset")
      Font_.Charset = i;
    else if (part == "style") {
      Font_.Bold = Font_.Italic = Font_.Underline = Font_.StrikeOut = false;
      for (const std::string& element : v.Set) {
        if (SameText(element, "fsBold")) Font_.Bold = true;
        if (SameText(element, "fsItalic")) Font_.Italic = true;
        if (SameText(element, "fsUnderline")) Font_.Underline = true;
        if (SameText(element, "fsStrikeOut")) Font_.StrikeOut = true;
      }
    }
    ParentFont_ = false;
    if (!Loading()) ApplyFontAndColor();
  } else if (p == "parentfont") {
    ParentFont_ = BoolOf(v);
    if (!Loading()) ApplyFontAndColor();
  } else if (p == "color") {
    Color_ = static_cast<TColor>(IntOf(v));
    ParentColor_ = false;
    if (!Loading()) ApplyFontAndColor();
  } else if (p == "parentcolor") {
    ParentColor_ = BoolOf(v);
    if (!Loading()) ApplyFontAndColor();
  } else if (!Loading()) {
    UpdateView();
    ApplyAutoSize();
  }
}

std::optional<TValue> TControl::LiveProperty(const std::string& p) const {
  if (p == "left") return TValue::Integer(Left_);
  if (p == "top") return TValue::Integer(Top_);
  if (p == "width") return TValue::Integer(Width_);
  if (p == "height") return TValue::Integer(Height_);
  if (p == "clientwidth") return TValue::Integer(ClientWidth());
  if (p == "clientheight") return TValue::Integer(ClientHeight());
  if (p == "visible") return TValue::Boolean(Visible_);
  if (p == "enabled") return TValue::Boolean(Enabled_);
  return TComponent::LiveProperty(p);
}

void TControl::ApplyFontAndColor() {
  UpdateView();
  ApplyAutoSize();
  for (TControl* child : Controls_)
    if (child->ParentFont_ || child->ParentColor_ || !child->Color_) child->ApplyFontAndColor();
}

void TControl::UpdateView() {
  if (!Widget_) return;
  Widget_->setFont(ToQFont(EffectiveFont()));
  QPalette palette = Widget_->palette();
  QColor text = ToQColor(EffectiveFont().Color);
  palette.setColor(QPalette::WindowText, text);
  palette.setColor(QPalette::ButtonText, text);
  palette.setColor(QPalette::Text, text);
  if (PaintsBackground()) {
    palette.setColor(QPalette::Window, ToQColor(Color()));
    palette.setColor(QPalette::Base, ToQColor(Color()));
    Widget_->setAutoFillBackground(true);
  }
  Widget_->setPalette(palette);
  Widget_->setEnabled(Enabled_);
  std::u16string hint = Hint();
  Widget_->setToolTip(QString::fromStdU16String(hint));
}

bool TControl::ContentsLeftOut() const {
  const TForm* form = const_cast<TControl*>(this)->RootForm();
  return form != nullptr && form->BuiltToMeasure();
}

void TControl::ApplyAutoSize() {
  if (!AutoSize_) return;
  auto extent = AutoSizeExtent();
  if (!extent) return;
  int left = Left_;
  const TValue* alignment = Stored("alignment");
  if (alignment && SameText(alignment->Ident(), "taRightJustify")) left = Left_ + Width_ - extent->width();
  SetBounds(left, Top_, extent->width(), extent->height());
}

void TControl::RememberDesign() {
  DesignRect_ = BoundsRect();
  DesignParentSize_ = Parent_ ? QSize(Parent_->ClientWidth(), Parent_->ClientHeight()) : QSize();
  HasDesign_ = Parent_ != nullptr;
}

void TControl::Loaded() {
  for (TControl* child : Controls_) (void)child;
  TComponent::Loaded();
  UpdateView();
  ApplyAutoSize();
  InstallEventFilter(Widget_);
}

void TControl::Realign() {
  if (Loading() || Arranging_) return;
  Arranging_ = true;
  ArrangeAnchored();
  ArrangeAligned();
  ArrangeOwn();
  Arranging_ = false;
}

void TControl::ArrangeAnchored() {
  QSize now(ClientWidth(), ClientHeight());
  for (TControl* c : Controls_) {
    if (c->Align_ != TAlign::alNone || !c->HasDesign_) continue;
    int dw = now.width() - c->DesignParentSize_.width();
    int dh = now.height() - c->DesignParentSize_.height();
    QRect r = c->DesignRect_;
    int left = r.left(), top = r.top(), width = r.width(), height = r.height();
    bool l = c->Anchors_ & akLeft, rt = c->Anchors_ & akRight;
    if (l && rt)
      width += dw;
    else if (rt)
      left += dw;
    else if (!l)
      left += dw / 2;
    bool t = c->Anchors_ & akTop, b = c->Anchors_ & akBottom;
    if (t && b)
      height += dh;
    else if (b)
      top += dh;
    else if (!t)
      top += dh / 2;
    c->SetBounds(left, top, width, height);
  }
}

void TControl::ArrangeAligned() {
  QRect rect = ClientRect();
  auto take = [&](TAlign align) {
    std::vector<TControl*> list;
    for (TControl* c : Controls_)
      if (c->Align_ == align && (c->Visible_ || c->Designing())) list.push_back(c);
    std::stable_sort(list.begin(), list.end(), [align](const TControl* a, const TControl* b) {
      switch (align) {
        case TAlign::alTop:
          return a->Top_ < b->Top_;
        case TAlign::alBottom:
          return a->Top_ + a->Height_ > b->Top_ + b->Height_;
        case TAlign::alLeft:
          return a->Left_ < b->Left_;
        case TAlign::alRight:
          return a->Left_ + a->Width_ > b->Left_ + b->Width_;
        default:
          return false;
      }
    });
    return list;
  };
  for (TControl* c : take(TAlign::alTop)) {
    c->SetBounds(rect.left(), rect.top(), rect.width(), c->Height_);
    rect.setTop(rect.top() + c->Height_);
  }
  for (TControl* c : take(TAlign::alBottom)) {
    c->SetBounds(rect.left(), rect.bottom() + 1 - c->Height_, rect.width(), c->Height_);
    rect.setBottom(rect.bottom() - c->Height_);
  }
  for (TControl* c : take(TAlign::alLeft)) {
    c->SetBounds(rect.left(), rect.top(), c->Width_, std::max(rect.height(), 0));
    rect.setLeft(rect.left() + c->Width_);
  }
  for (TControl* c : take(TAlign::alRight)) {
    c->SetBounds(rect.right() + 1 - c->Width_, rect.top(), c->Width_, std::max(rect.height(), 0));
    rect.setRight(rect.right() - c->Width_);
  }
  for (TControl* c : take(TAlign::alClient))
    c->SetBounds(rect.left(), rect.top(), std::max(rect.width(), 0), std::max(rect.height(), 0));
}

}  // namespace vaq::widgets
