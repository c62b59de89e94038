// Buttons, labels, edits, lists, check boxes, group boxes, panels and the simple drawn controls.
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPaintEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>

#include "core/values/code_page_text.h"
#include "framework/widgets/controls.h"
#include "framework/widgets/factory_internal.h"
#include "host/core/locale.h"

namespace vaq::widgets {

void TPaintWidget::paintEvent(QPaintEvent*) {
  if (!OnPaint) return;
  QPainter painter(this);
  OnPaint(painter);
}

TPaintedControl::TPaintedControl(const TClassInfo* Class, std::string ClassName, int Width, int Height)
    : TControl(Class, std::move(ClassName), new TPaintWidget()) {
  PaintWidget()->OnPaint = [this](QPainter& painter) { Paint(painter); };
  SetBounds(0, 0, Width, Height);
}

TPaintWidget* TPaintedControl::PaintWidget() const {
  return static_cast<TPaintWidget*>(Widget());
}

QString StripAccelerator(const std::u16string& Text) {
  QString out;
  QString in = QString::fromStdU16String(Text);
  for (qsizetype i = 0; i < in.size(); ++i) {
    if (in[i] == u'&' && i + 1 < in.size()) ++i;
    out += in[i];
  }
  return out;
}

QRect DrawBevel(QPainter& Painter, QRect Rect, bool Raised, int Width) {
  QColor light = ToQColor(clBtnHighlight), dark = ToQColor(clBtnShadow);
  for (int i = 0; i < Width; ++i) {
    Painter.setPen(Raised ? light : dark);
    Painter.drawLine(Rect.topLeft(), Rect.topRight());
    Painter.drawLine(Rect.topLeft(), Rect.bottomLeft());
    Painter.setPen(Raised ? dark : light);
    Painter.drawLine(Rect.bottomLeft(), Rect.bottomRight());
    Painter.drawLine(Rect.topRight(), Rect.bottomRight());
    Rect.adjust(1, 1, -1, -1);
  }
  return Rect;
}

std::vector<std::string> TItemsControl::WidgetItems8(TLCID Locale) const {
  std::vector<std::string> out;
  for (const auto& item : WidgetItems()) out.push_back(values::EncodeTextReplacing(item, Locale));
  return out;
}

QImage DecodeGraphic(const std::string& Data, bool WithClassName) {
  auto bytes = [&](std::size_t from) {
    return from < Data.size() ? QByteArray(Data.data() + from, static_cast<qsizetype>(Data.size() - from))
                              : QByteArray();
  };
  QImage image;
  std::size_t start = 0;
  if (WithClassName && !Data.empty()) start = 1 + static_cast<unsigned char>(Data[0]);
  for (std::size_t from : {start, start + 4}) {
    if (image.loadFromData(bytes(from))) return image;
  }
  // Damaged or unusual headers: look for the signature of a known format.
  static const char* signatures[] = {"BM", "\x89PNG", "\xFF\xD8\xFF", "GIF8"};
  for (const char* signature : signatures) {
    std::size_t at = Data.find(signature);
    if (at != std::string::npos && image.loadFromData(bytes(at))) return image;
  }
  return QImage();
}

namespace {

// ---------------------------------------------------------------------------------------------
// Buttons

class TButtonControl : public TControl {
 public:
  TButtonControl(const TClassInfo* Class, std::string ClassName, QAbstractButton* Button, int W, int H)
      : TControl(Class, std::move(ClassName), Button) {
    SetBounds(0, 0, W, H);
  }
  QAbstractButton* Button() const { return static_cast<QAbstractButton*>(Widget()); }
  void UpdateView() override {
    TControl::UpdateView();
    std::u16string caption = Caption();
    if (caption.empty()) caption = DefaultCaption();
    Button()->setText(QString::fromStdU16String(caption));
    if (auto* push = qobject_cast<QPushButton*>(Button())) {
      const TValue* def = Stored("default");
      push->setDefault(def && BoolOf(*def));
    }
    if (const TValue* glyph = Stored("glyph.data")) {
      QImage image = DecodeGraphic(glyph->Str, false);
      if (!image.isNull()) {
        // The bottom-left pixel is the transparent colour of a glyph.
        QImage masked = image.convertToFormat(QImage::Format_ARGB32);
        QRgb key = image.pixel(0, image.height() - 1);
        for (int y = 0; y < masked.height(); ++y)
          for (int x = 0; x < masked.width(); ++x)
            if (masked.pixel(x, y) == key) masked.setPixel(x, y, 0);
        int glyphs = 1;
        if (const TValue* n = Stored("numglyphs")) glyphs = std::max<int>(1, static_cast<int>(IntOf(*n)));
        masked = masked.copy(0, 0, masked.width() / glyphs, masked.height());
        Button()->setIcon(QIcon(QPixmap::fromImage(masked)));
        Button()->setIconSize(masked.size());
      }
    }
  }
  virtual std::u16string DefaultCaption() const {
    const TValue* kind = Stored("kind");
    if (!kind) return {};
    static const std::pair<const char*, const char16_t*> captions[] = {
        {"bkOK", u"OK"},          {"bkCancel", u"Cancel"}, {"bkHelp", u"&Help"},  {"bkYes", u"&Yes"},
        {"bkNo", u"&No"},         {"bkClose", u"&Close"},  {"bkAbort", u"Abort"}, {"bkRetry", u"&Retry"},
        {"bkIgnore", u"&Ignore"}, {"bkAll", u"&All"}};
    for (const auto& [name, text] : captions)
      if (SameText(kind->Ident(), name)) return text;
    return {};
  }
};

class TSpeedButton : public TButtonControl {
 public:
  TSpeedButton(const TClassInfo* Class, std::string ClassName)
      : TButtonControl(Class, std::move(ClassName), new QToolButton(), 23, 22) {}
  void UpdateView() override {
    TButtonControl::UpdateView();
    auto* button = static_cast<QToolButton*>(Button());
    const TValue* flat = Stored("flat");
    button->setAutoRaise(flat && BoolOf(*flat));
    const TValue* down = Stored("down");
    button->setCheckable(down != nullptr);
    button->setChecked(down && BoolOf(*down));
    button->setToolButtonStyle(Caption().empty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
  }
};

class TCheckControl : public TButtonControl, public TItemsControl {
 public:
  using TButtonControl::TButtonControl;
  void UpdateView() override {
    TButtonControl::UpdateView();
    bool checked = false;
    if (const TValue* v = Stored("checked")) checked = BoolOf(*v);
    if (auto* box = qobject_cast<QCheckBox*>(Button())) {
      const TValue* state = Stored("state");
      if (state && SameText(state->Ident(), "cbGrayed")) {
        box->setTristate(true);
        box->setCheckState(Qt::PartiallyChecked);
      } else {
        box->setChecked(checked || (state && SameText(state->Ident(), "cbChecked")));
      }
    } else {
      Button()->setChecked(checked);
    }
  }
  std::vector<std::u16string> WidgetItems() const override { return {Button()->text().toStdU16String()}; }
};

// ---------------------------------------------------------------------------------------------
// Labels

class TLabel : public TPaintedControl {
 public:
  TLabel(const TClassInfo* Class, std::string ClassName, bool StaticText)
      : TPaintedControl(Class, std::move(ClassName), StaticText ? 65 : 32, StaticText ? 17 : 13),
        Static_(StaticText) {
    AutoSize_ = true;
    ParentColor_ = true;
  }

 protected:
  void Paint(QPainter& painter) override {
    QRect r(0, 0, Width(), Height());
    const TValue* transparent = Stored("transparent");
    if (Stored("color") && !(transparent && BoolOf(*transparent))) painter.fillRect(r, ToQColor(Color()));
    if (Static_) {
      const TValue* border = Stored("borderstyle");
      if (border && !SameText(border->Ident(), "sbsNone")) r = DrawBevel(painter, r, false);
    }
    painter.setFont(ToQFont(EffectiveFont()));
    painter.setPen(Enabled() ? ToQColor(EffectiveFont().Color) : ToQColor(clGrayText));
    painter.drawText(r, Flags(), QString::fromStdU16String(Caption()));
  }
  std::optional<QSize> AutoSizeExtent() const override {
    QFontMetrics metrics(ToQFont(EffectiveFont()));
    QString text = QString::fromStdU16String(Caption());
    const TValue* wrap = Stored("wordwrap");
    QRect bound = wrap && BoolOf(*wrap) ? metrics.boundingRect(QRect(0, 0, Width(), 10000), Flags(), text)
                                        : metrics.boundingRect(QRect(0, 0, 10000, 10000), Flags(), text);
    int height = std::max(bound.height(), metrics.height());
    int width = wrap && BoolOf(*wrap) ? Width() : bound.width();
    if (Static_) return QSize(width + 4, height + 4);
    return QSize(width, height);
  }

 private:
  int Flags() const {
    int flags = Qt::TextShowMnemonic;
    const TValue* alignment = Stored("alignment");
    if (alignment && SameText(alignment->Ident(), "taRightJustify"))
      flags |= Qt::AlignRight;
    else if (alignment && SameText(alignment->Ident(), "taCenter"))
      flags |= Qt::AlignHCenter;
    else
      flags |= Qt::AlignLeft;
    const TValue* layout = Stored("layout");
    if (layout && SameText(layout->Ident(), "tlCenter"))
      flags |= Qt::AlignVCenter;
    else if (layout && SameText(layout->Ident(), "tlBottom"))
      flags |= Qt::AlignBottom;
    else
      flags |= Qt::AlignTop;
    const TValue* wrap = Stored("wordwrap");
    if (wrap && BoolOf(*wrap)) flags |= Qt::TextWordWrap;
    return flags;
  }
  bool Static_;
};

// ---------------------------------------------------------------------------------------------
// Edits

// The label of a labelled edit: a sibling of the edit, drawn with the edit's font.
class TBoundLabelWidget : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.drawText(rect(), Qt::TextShowMnemonic | Qt::AlignLeft | Qt::AlignTop,
                     property("vaqLabel").toString());
  }
};

class TEditControl : public TControl {
 public:
  TEditControl(const TClassInfo* Class, std::string ClassName, int W = 121, int H = 21)
      : TControl(Class, std::move(ClassName), new QLineEdit()) {
    SetBounds(0, 0, W, H);
  }
  ~TEditControl() override { delete Label_.data(); }
  QLineEdit* Edit() const { return static_cast<QLineEdit*>(Widget()); }
  void UpdateView() override {
    if (ContentsLeftOut()) return;
    TControl::UpdateView();
    Edit()->setText(QString::fromStdU16String(EditText()));
    Edit()->setCursorPosition(0);
    if (const TValue* v = Stored("readonly")) Edit()->setReadOnly(BoolOf(*v));
    if (const TValue* v = Stored("passwordchar"); v && !v->Str.empty() && v->Str != std::string(1, '\0'))
      Edit()->setEchoMode(QLineEdit::Password);
    std::u16string label = StoredText("editlabel.caption");
    if (IsLabeled() && Widget()->parentWidget()) {
      if (!Label_) Label_ = new TBoundLabelWidget();
      Label_->setParent(Widget()->parentWidget());
      Label_->setFont(ToQFont(EffectiveFont()));
      LabelText_ = QString::fromStdU16String(label);
      Label_->setProperty("vaqLabel", LabelText_);
      UpdateGeometry();
      Label_->setVisible(Visible());
    }
  }
  std::u16string DisplayText() const override {
    if (IsLabeled()) return StoredText("editlabel.caption") + u" | " + EditText();
    return EditText();
  }
  virtual std::u16string EditText() const { return StoredText("text"); }
  bool IsLabeled() const { return SameText(ClassName(), "TLabeledEdit"); }

 protected:
  void UpdateGeometry() override {
    TControl::UpdateGeometry();
    if (Label_) {
      QFontMetrics metrics(Label_->font());
      int height = metrics.height();
      int spacing = 3;
      if (const TValue* v = Stored("labelspacing")) spacing = static_cast<int>(IntOf(*v));
      Label_->setGeometry(Left(), Top() - height - spacing,
                          std::max(metrics.horizontalAdvance(LabelText_), 1) + 2, height);
      Label_->update();
    }
  }

 private:
  QPointer<QWidget> Label_;
  QString LabelText_;
};

class TMemoControl : public TControl {
 public:
  TMemoControl(const TClassInfo* Class, std::string ClassName, const char* LinesPath = "lines.strings")
      : TControl(Class, std::move(ClassName), new QPlainTextEdit()), LinesPath_(LinesPath) {
    SetBounds(0, 0, 185, 89);
  }
  void UpdateView() override {
    if (ContentsLeftOut()) return;
    TControl::UpdateView();
    auto* edit = static_cast<QPlainTextEdit*>(Widget());
    edit->setPlainText(QString::fromStdU16String(DisplayText()));
    const TValue* wrap = Stored("wordwrap");
    edit->setLineWrapMode(!wrap || BoolOf(*wrap) ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    const TValue* bars = Stored("scrollbars");
    auto policy = [&](const char* a, const char* b) {
      return bars && (SameText(bars->Ident(), a) || SameText(bars->Ident(), b)) ? Qt::ScrollBarAlwaysOn
                                                                                : Qt::ScrollBarAlwaysOff;
    };
    edit->setVerticalScrollBarPolicy(policy("ssVertical", "ssBoth"));
    edit->setHorizontalScrollBarPolicy(policy("ssHorizontal", "ssBoth"));
  }
  std::u16string DisplayText() const override {
    std::u16string text;
    auto lines = StoredStrings(LinesPath_);
    for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? u"\n" : u"") + lines[i];
    if (lines.empty()) text = StoredText("text");
    return text;
  }

 protected:
  TColor DefaultColor() const override { return clWindow; }
  bool PaintsBackground() const override { return true; }

 private:
  const char* LinesPath_;
};

// ---------------------------------------------------------------------------------------------
// Lists

std::u16string JoinItems(const std::vector<std::u16string>& Items) {
  std::u16string text;
  for (std::size_t i = 0; i < Items.size(); ++i) text += (i ? u" | " : u"") + Items[i];
  return text;
}

class TListBoxControl : public TControl, public TItemsControl {
 public:
  TListBoxControl(const TClassInfo* Class, std::string ClassName, bool Checks)
      : TControl(Class, std::move(ClassName), new QListWidget()), Checks_(Checks) {
    SetBounds(0, 0, 121, 97);
  }
  QListWidget* List() const { return static_cast<QListWidget*>(Widget()); }
  void UpdateView() override {
    if (ContentsLeftOut()) return;
    TControl::UpdateView();
    List()->clear();
    for (const auto& text : Items()) {
      auto* item = new QListWidgetItem(QString::fromStdU16String(text), List());
      if (Checks_) item->setCheckState(Qt::Unchecked);
    }
    if (const TValue* index = Stored("itemindex")) List()->setCurrentRow(static_cast<int>(IntOf(*index)));
  }
  virtual std::vector<std::u16string> Items() const {
    if (SameText(ClassName(), "TDriveComboBox")) return {u"c: []"};
    return StoredStrings("items.strings");
  }
  std::vector<std::u16string> WidgetItems() const override {
    std::vector<std::u16string> out;
    for (int i = 0; i < List()->count(); ++i) out.push_back(List()->item(i)->text().toStdU16String());
    return out;
  }
  std::u16string DisplayText() const override { return JoinItems(Items()); }

 protected:
  TColor DefaultColor() const override { return clWindow; }
  bool PaintsBackground() const override { return true; }

 private:
  bool Checks_;
};

class TComboControl : public TControl, public TItemsControl {
 public:
  TComboControl(const TClassInfo* Class, std::string ClassName)
      : TControl(Class, std::move(ClassName), new QComboBox()) {
    SetBounds(0, 0, 145, 21);
  }
  QComboBox* Combo() const { return static_cast<QComboBox*>(Widget()); }
  void UpdateView() override {
    if (ContentsLeftOut()) return;
    TControl::UpdateView();
    const TValue* style = Stored("style");
    bool list = style &&
                (SameText(style->Ident(), "csDropDownList") || SameText(style->Ident(), "csOwnerDrawFixed") ||
                 SameText(style->Ident(), "csOwnerDrawVariable"));
    bool editable = !list && !SameText(ClassName(), "TColorBox") &&
                    !SameText(ClassName(), "TDriveComboBox") && !SameText(ClassName(), "TFilterComboBox");
    Combo()->setEditable(editable);
    Combo()->clear();
    for (const auto& text : Items()) Combo()->addItem(QString::fromStdU16String(text));
    int index = -1;
    if (const TValue* v = Stored("itemindex")) index = static_cast<int>(IntOf(*v));
    if (!editable && index < 0 &&
        (SameText(ClassName(), "TColorBox") || SameText(ClassName(), "TDriveComboBox") ||
         SameText(ClassName(), "TFilterComboBox")))
      index = 0;
    Combo()->setCurrentIndex(index);
    if (editable) {
      Combo()->setEditText(QString::fromStdU16String(StoredText("text")));
      if (Combo()->lineEdit()) Combo()->lineEdit()->setCursorPosition(0);
    }
    InstallEventFilter(Widget());
  }
  std::vector<std::u16string> Items() const {
    if (SameText(ClassName(), "TColorBox"))
      return {u"clBlack", u"clMaroon",  u"clGreen",  u"clOlive", u"clNavy", u"clPurple",
              u"clTeal",  u"clGray",    u"clSilver", u"clRed",   u"clLime", u"clYellow",
              u"clBlue",  u"clFuchsia", u"clAqua",   u"clWhite"};
    if (SameText(ClassName(), "TDriveComboBox")) return {u"c: []"};
    if (SameText(ClassName(), "TFilterComboBox")) {
      // "All files (*.*)|*.*|Text (*.txt)|*.txt": the names are the even parts.
      std::vector<std::u16string> names;
      std::u16string filter = StoredText("filter"), part;
      int field = 0;
      for (std::size_t i = 0; i <= filter.size(); ++i) {
        if (i == filter.size() || filter[i] == u'|') {
          if (field++ % 2 == 0 && !part.empty()) names.push_back(part);
          part.clear();
        } else {
          part += filter[i];
        }
      }
      return names;
    }
    if (const TValue* ex = Stored("itemsex")) {
      std::vector<std::u16string> out;
      for (const auto& item : ex->Items)
        for (const auto& [name, value] : item.Properties)
          if (SameText(name, "Caption") && value.IsString()) out.push_back(value.Shown(TextLocale()));
      return out;
    }
    return StoredStrings("items.strings");
  }
  std::vector<std::u16string> WidgetItems() const override {
    std::vector<std::u16string> out;
    for (int i = 0; i < Combo()->count(); ++i) out.push_back(Combo()->itemText(i).toStdU16String());
    return out;
  }
  std::u16string DisplayText() const override {
    std::u16string text = Combo()->isEditable() ? StoredText("text") : std::u16string();
    auto items = Items();
    if (!items.empty()) text += (text.empty() ? u"" : u" | ") + JoinItems(items);
    return text;
  }

 protected:
  TColor DefaultColor() const override { return clWindow; }
};

// ---------------------------------------------------------------------------------------------
// Group boxes and radio groups

class TGroupBoxControl : public TControl {
 public:
  TGroupBoxControl(const TClassInfo* Class, std::string ClassName)
      : TControl(Class, std::move(ClassName), new QGroupBox()) {
    SetBounds(0, 0, 185, 105);
  }
  bool IsContainer() const override { return true; }
  QRect ClientRect() const override {
    int text = QFontMetrics(ToQFont(EffectiveFont())).height();
    return QRect(0, text, Width(), std::max(Height() - text, 0)).adjusted(2, 2, -2, -2);
  }
  void UpdateView() override {
    TControl::UpdateView();
    static_cast<QGroupBox*>(Widget())->setTitle(QString::fromStdU16String(Caption()));
  }

 protected:
  bool PaintsBackground() const override { return Stored("color") != nullptr; }
};

class TRadioGroupControl : public TGroupBoxControl, public TItemsControl {
 public:
  using TGroupBoxControl::TGroupBoxControl;
  void UpdateView() override {
    TGroupBoxControl::UpdateView();
    auto items = StoredStrings("items.strings");
    while (Buttons_.size() > items.size()) {
      delete Buttons_.back().data();
      Buttons_.pop_back();
    }
    while (Buttons_.size() < items.size()) {
      Buttons_.push_back(new QRadioButton(Widget()));
      InstallEventFilter(Buttons_.back());
    }
    int index = -1;
    if (const TValue* v = Stored("itemindex")) index = static_cast<int>(IntOf(*v));
    for (std::size_t i = 0; i < items.size(); ++i) {
      Buttons_[i]->setText(QString::fromStdU16String(items[i]));
      Buttons_[i]->setFont(ToQFont(EffectiveFont()));
      Buttons_[i]->setChecked(static_cast<int>(i) == index);
      Buttons_[i]->setEnabled(Enabled());
      Buttons_[i]->show();
    }
    Resized();
  }
  std::vector<std::u16string> WidgetItems() const override {
    std::vector<std::u16string> out;
    for (const auto& button : Buttons_)
      if (button) out.push_back(button->text().toStdU16String());
    return out;
  }
  std::u16string DisplayText() const override {
    std::u16string text = Caption();
    auto items = StoredStrings("items.strings");
    if (!items.empty()) text += u" | " + JoinItems(items);
    return text;
  }

 protected:
  // The frameworks' arrangement: the items fill the columns top to bottom, evenly spaced.
  void Resized() override {
    if (Buttons_.empty()) return;
    int columns = 1;
    if (const TValue* v = Stored("columns")) columns = std::max<int>(1, static_cast<int>(IntOf(*v)));
    int count = static_cast<int>(Buttons_.size());
    int perColumn = (count + columns - 1) / columns;
    int buttonWidth = (Width() - 10) / columns;
    int textHeight = QFontMetrics(ToQFont(EffectiveFont())).height();
    int space = Height() - textHeight - 5;
    int buttonHeight = space / perColumn;
    int topMargin = textHeight + 1 + (space % perColumn) / 2;
    for (int i = 0; i < count; ++i)
      Buttons_[i]->setGeometry((i / perColumn) * buttonWidth + 8, (i % perColumn) * buttonHeight + topMargin,
                               buttonWidth, buttonHeight);
  }

 private:
  std::vector<QPointer<QRadioButton>> Buttons_;
};

// ---------------------------------------------------------------------------------------------
// Panels, bevels, shapes and other drawn controls

class TPanelControl : public TPaintedControl {
 public:
  TPanelControl(const TClassInfo* Class, std::string ClassName, int W = 185, int H = 41, bool Framed = true)
      : TPaintedControl(Class, std::move(ClassName), W, H), Framed_(Framed) {}
  bool IsContainer() const override { return true; }
  QRect ClientRect() const override {
    return QRect(0, 0, Width(), Height()).adjusted(Inset(), Inset(), -Inset(), -Inset());
  }

 protected:
  int BevelWidth() const {
    const TValue* v = Stored("bevelwidth");
    return v ? static_cast<int>(IntOf(*v)) : 1;
  }
  bool Bevel(const char* Path, const char* Default, bool& Raised) const {
    const TValue* v = Stored(Path);
    std::string name = v ? v->Ident() : Default;
    Raised = SameText(name, "bvRaised");
    return Raised || SameText(name, "bvLowered") || SameText(name, "bvSpace");
  }
  int Inset() const {
    if (!Framed_) return 0;
    bool raised;
    int inset = 0;
    if (Bevel("bevelouter", "bvRaised", raised)) inset += BevelWidth();
    if (Bevel("bevelinner", "bvNone", raised)) inset += BevelWidth();
    if (const TValue* v = Stored("borderwidth")) inset += static_cast<int>(IntOf(*v));
    return inset;
  }
  void Paint(QPainter& painter) override {
    QRect r(0, 0, Width(), Height());
    painter.fillRect(r, ToQColor(Color()));
    if (!Framed_) return;
    bool raised;
    if (Bevel("bevelouter", "bvRaised", raised))
      r = DrawBevel(painter, r.adjusted(0, 0, -1, -1), raised, BevelWidth()).adjusted(0, 0, 1, 1);
    if (const TValue* v = Stored("borderwidth")) r.adjust(IntOf(*v), IntOf(*v), -IntOf(*v), -IntOf(*v));
    if (Bevel("bevelinner", "bvNone", raised))
      DrawBevel(painter, r.adjusted(0, 0, -1, -1), raised, BevelWidth());
    QString text = QString::fromStdU16String(Caption());
    if (text.isEmpty()) return;
    int flags = Qt::AlignVCenter | Qt::TextShowMnemonic | Qt::TextSingleLine;
    const TValue* alignment = Stored("alignment");
    if (alignment && SameText(alignment->Ident(), "taLeftJustify"))
      flags |= Qt::AlignLeft;
    else if (alignment && SameText(alignment->Ident(), "taRightJustify"))
      flags |= Qt::AlignRight;
    else
      flags |= Qt::AlignHCenter;
    painter.setFont(ToQFont(EffectiveFont()));
    painter.setPen(ToQColor(EffectiveFont().Color));
    painter.drawText(QRect(0, 0, Width(), Height()).adjusted(Inset() + 1, 0, -Inset() - 1, 0), flags, text);
  }

 private:
  bool Framed_;
};

class TScrollBoxControl : public TPaintedControl {
 public:
  TScrollBoxControl(const TClassInfo* Class, std::string ClassName)
      : TPaintedControl(Class, std::move(ClassName), 185, 41) {}
  bool IsContainer() const override { return true; }
  QRect ClientRect() const override {
    return QRect(2, 2, std::max(Width() - 4, 0), std::max(Height() - 4, 0));
  }

 protected:
  void Paint(QPainter& painter) override {
    painter.fillRect(rect(), ToQColor(Color()));
    const TValue* border = Stored("borderstyle");
    if (!border || !SameText(border->Ident(), "bsNone")) {
      QRect r = DrawBevel(painter, rect().adjusted(0, 0, -1, -1), false);
      painter.setPen(ToQColor(static_cast<TColor>(0x80000015)));
      painter.drawRect(r.adjusted(0, 0, -1, -1));
    }
  }
  QRect rect() const { return QRect(0, 0, Width(), Height()); }
};

class TBevelControl : public TPaintedControl {
 public:
  TBevelControl(const TClassInfo* Class, std::string ClassName)
      : TPaintedControl(Class, std::move(ClassName), 50, 50) {}

 protected:
  void Paint(QPainter& painter) override {
    const TValue* shape = Stored("shape");
    const TValue* style = Stored("style");
    bool raised = style && SameText(style->Ident(), "bsRaised");
    QColor first = ToQColor(raised ? clBtnHighlight : clBtnShadow),
           second = ToQColor(raised ? clBtnShadow : clBtnHighlight);
    std::string s = shape ? shape->Ident() : "bsBox";
    int w = Width() - 1, h = Height() - 1;
    auto line = [&](QColor c, int x1, int y1, int x2, int y2) {
      painter.setPen(c);
      painter.drawLine(x1, y1, x2, y2);
    };
    if (SameText(s, "bsBox")) {
      line(first, 0, 0, w, 0);
      line(first, 0, 0, 0, h);
      line(second, 0, h, w, h);
      line(second, w, 0, w, h);
    } else if (SameText(s, "bsFrame")) {
      painter.setPen(first);
      painter.drawRect(0, 0, w - 1, h - 1);
      painter.setPen(second);
      painter.drawRect(1, 1, w - 1, h - 1);
    } else if (SameText(s, "bsTopLine")) {
      line(first, 0, 0, w, 0);
      line(second, 0, 1, w, 1);
    } else if (SameText(s, "bsBottomLine")) {
      line(first, 0, h - 1, w, h - 1);
      line(second, 0, h, w, h);
    } else if (SameText(s, "bsLeftLine")) {
      line(first, 0, 0, 0, h);
      line(second, 1, 0, 1, h);
    } else if (SameText(s, "bsRightLine")) {
      line(first, w - 1, 0, w - 1, h);
      line(second, w, 0, w, h);
    }
  }
};

class TShapeControl : public TPaintedControl {
 public:
  TShapeControl(const TClassInfo* Class, std::string ClassName)
      : TPaintedControl(Class, std::move(ClassName), 65, 65) {}

 protected:
  void Paint(QPainter& painter) override {
    painter.setRenderHint(QPainter::Antialiasing, false);
    QColor brush = ToQColor(clWhite), pen = ToQColor(clBlack);
    int penWidth = 1;
    if (const TValue* v = Stored("brush.color")) brush = ToQColor(static_cast<TColor>(IntOf(*v)));
    if (const TValue* v = Stored("pen.color")) pen = ToQColor(static_cast<TColor>(IntOf(*v)));
    if (const TValue* v = Stored("pen.width")) penWidth = std::max<int>(1, static_cast<int>(IntOf(*v)));
    const TValue* brushStyle = Stored("brush.style");
    if (brushStyle && SameText(brushStyle->Ident(), "bsClear"))
      painter.setBrush(Qt::NoBrush);
    else
      painter.setBrush(brush);
    const TValue* penStyle = Stored("pen.style");
    if (penStyle && SameText(penStyle->Ident(), "psClear"))
      painter.setPen(Qt::NoPen);
    else
      painter.setPen(QPen(pen, penWidth));
    const TValue* shape = Stored("shape");
    std::string s = shape ? shape->Ident() : "stRectangle";
    QRect r(penWidth / 2, penWidth / 2, Width() - penWidth, Height() - penWidth);
    if (SameText(s, "stSquare") || SameText(s, "stRoundSquare") || SameText(s, "stCircle")) {
      int side = std::min(r.width(), r.height());
      r = QRect(r.left() + (r.width() - side) / 2, r.top() + (r.height() - side) / 2, side, side);
    }
    if (SameText(s, "stEllipse") || SameText(s, "stCircle"))
      painter.drawEllipse(r);
    else if (SameText(s, "stRoundRect") || SameText(s, "stRoundSquare"))
      painter.drawRoundedRect(r, std::min(r.width(), r.height()) / 4.0,
                              std::min(r.width(), r.height()) / 4.0);
    else
      painter.drawRect(r);
  }
};

class TEmptyControl : public TPaintedControl {
 public:
  TEmptyControl(const TClassInfo* Class, std::string ClassName, int W, int H, bool Container = false)
      : TPaintedControl(Class, std::move(ClassName), W, H), Container_(Container) {}
  bool IsContainer() const override { return Container_; }

 protected:
  void Paint(QPainter&) override {}

 private:
  bool Container_;
};

class TSplitterControl : public TPaintedControl {
 public:
  TSplitterControl(const TClassInfo* Class, std::string ClassName)
      : TPaintedControl(Class, std::move(ClassName), 3, 100) {
    SetProperty("Align", TValue::Identifier("alLeft"));
  }

 protected:
  void Paint(QPainter& painter) override {
    painter.fillRect(QRect(0, 0, Width(), Height()), ToQColor(Color()));
    const TValue* beveled = Stored("beveled");
    if (beveled && BoolOf(*beveled)) DrawBevel(painter, QRect(0, 0, Width() - 1, Height() - 1), true);
  }
};

class TImageControl : public TPaintedControl {
 public:
  TImageControl(const TClassInfo* Class, std::string ClassName)
      : TPaintedControl(Class, std::move(ClassName), 105, 105) {}
  void UpdateView() override {
    TPaintedControl::UpdateView();
    if (const TValue* data = Stored("picture.data")) Image_ = DecodeGraphic(data->Str, true);
    Widget()->update();
  }
  std::u16string DisplayText() const override {
    if (Image_.isNull()) return {};
    return QStringLiteral("%1x%2 picture").arg(Image_.width()).arg(Image_.height()).toStdU16String();
  }

 protected:
  std::optional<QSize> AutoSizeExtent() const override {
    if (Image_.isNull()) return std::nullopt;
    return Image_.size();
  }
  void Paint(QPainter& painter) override {
    if (Image_.isNull()) return;
    QRect area(0, 0, Width(), Height());
    auto flag = [&](const char* path) {
      const TValue* v = Stored(path);
      return v && BoolOf(*v);
    };
    QRect target(QPoint(0, 0), Image_.size());
    if (flag("stretch")) {
      target = area;
      if (flag("proportional")) {
        QSize size = Image_.size().scaled(area.size(), Qt::KeepAspectRatio);
        target = QRect(QPoint(0, 0), size);
      }
    }
    if (flag("center")) target.moveCenter(area.center());
    painter.drawImage(target, Image_);
  }

 private:
  QImage Image_;
};

class TScrollBarControl : public TControl {
 public:
  TScrollBarControl(const TClassInfo* Class, std::string ClassName)
      : TControl(Class, std::move(ClassName), new QScrollBar(Qt::Horizontal)) {
    SetBounds(0, 0, 121, 17);
  }
  void UpdateView() override {
    TControl::UpdateView();
    auto* bar = static_cast<QScrollBar*>(Widget());
    const TValue* kind = Stored("kind");
    bar->setOrientation(kind && SameText(kind->Ident(), "sbVertical") ? Qt::Vertical : Qt::Horizontal);
    int min = 0, max = 100, position = 0;
    if (const TValue* v = Stored("min")) min = static_cast<int>(IntOf(*v));
    if (const TValue* v = Stored("max")) max = static_cast<int>(IntOf(*v));
    if (const TValue* v = Stored("position")) position = static_cast<int>(IntOf(*v));
    bar->setRange(min, max);
    bar->setValue(position);
  }
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// Placeholder

TPlaceholder::TPlaceholder(std::string ClassName) : TPaintedControl(nullptr, std::move(ClassName), 100, 50) {}

void TPlaceholder::ApplyProperty(const std::string& p, const TValue& v) {
  if (p == "width" || p == "height" || p == "clientwidth" || p == "clientheight") Sized_ = true;
  TPaintedControl::ApplyProperty(p, v);
}

void TPlaceholder::Loaded() {
  TPaintedControl::Loaded();
  NonVisual_ = !Sized_ && Controls().empty();
  if (NonVisual_ && Widget()) Widget()->hide();
}

namespace {

std::string_view LastName(std::string_view Path) {
  const std::size_t dot = Path.rfind('.');
  return dot == std::string_view::npos ? Path : Path.substr(dot + 1);
}

// The texts a value of the property `Path` shows: a caption or text, the strings of a list of
// items, lines or tabs, and in collections the same of every item.
void CollectTexts(const TValue& Value, std::string_view Path, TLCID Locale,
                  std::vector<std::u16string>& Out) {
  const std::string_view name = LastName(Path);
  if (Value.IsString()) {
    if (SameText(name, "Caption") || SameText(name, "Text") || SameText(name, "SimpleText"))
      Out.push_back(Value.Shown(Locale));
  } else if (Value.Kind == TValueType::vaList) {
    const std::string_view list = Path.substr(0, Path.find('.'));
    if (SameText(name, "Strings"))
      for (const char* shown : {"Items", "Lines", "Tabs", "Pages", "Sections", "TitleCaptions", "Strings"})
        if (SameText(list, shown))
          for (const TValue& element : Value.List)
            if (element.IsString()) Out.push_back(element.Shown(Locale));
    // Collections among the elements show their items' captions.
    for (const TValue& element : Value.List)
      if (element.Kind == TValueType::vaCollection || element.Kind == TValueType::vaList)
        CollectTexts(element, Path, Locale, Out);
  } else if (Value.Kind == TValueType::vaCollection) {
    for (const auto& item : Value.Items)
      for (const auto& [itemName, itemValue] : item.Properties)
        CollectTexts(itemValue, itemName, Locale, Out);
  }
}

}  // namespace

std::vector<std::u16string> TPlaceholder::Texts() const {
  std::vector<std::u16string> texts;
  for (const auto& [path, value] : StoredValues()) CollectTexts(value, path, TextLocale(), texts);
  std::erase_if(texts, [](const std::u16string& text) { return text.empty(); });
  return texts;
}

std::u16string TPlaceholder::DisplayText() const {
  return JoinItems(Texts());
}

void TPlaceholder::Paint(QPainter& painter) {
  if (Resolved_) return;
  QRect r(0, 0, Width() - 1, Height() - 1);
  painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 1, Qt::DashLine));
  painter.drawRect(r);
  // Its texts from the top left, a line each, as far as they fit.
  painter.setFont(ToQFont(EffectiveFont()));
  painter.setPen(ToQColor(EffectiveFont().Color));
  QFontMetrics metrics(painter.font());
  int y = 3;
  for (const auto& text : Texts()) {
    if (y + metrics.height() > Height()) break;
    painter.drawText(QRect(4, y, std::max(Width() - 8, 0), metrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic,
                     QString::fromStdU16String(text));
    y += metrics.height();
  }
  painter.setFont(ToQFont(TFontSpec()));
  painter.setPen(QColor(0x60, 0x60, 0x60));
  // Bottom right, where nested controls (usually near the top left) leave room.
  painter.drawText(r.adjusted(3, 2, -3, -2), Qt::AlignRight | Qt::AlignBottom | Qt::TextSingleLine,
                   QString::fromStdU16String(values::DecodeText(ClassName() + " " + Name(), TextLocale())));
}

// ---------------------------------------------------------------------------------------------
// Factories of this file

void RegisterBasicControls(TFactoryTable& Table) {
  auto button = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TButtonControl>(c, n, new QPushButton(), 75, 25);
  };
  Table["TButton"] = button;
  Table["TSpeedButton"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TSpeedButton>(c, n);
  };
  Table["TCheckBox"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TCheckControl>(c, n, new QCheckBox(), 97, 17);
  };
  Table["TRadioButton"] = [](const TClassInfo* c, const std::string& n) {
    auto* radio = new QRadioButton();
    radio->setAutoExclusive(false);
    return std::make_unique<TCheckControl>(c, n, radio, 113, 17);
  };
  Table["TCustomLabel"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TLabel>(c, n, false);
  };
  Table["TCustomStaticText"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TLabel>(c, n, true);
  };
  Table["TCustomEdit"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TEditControl>(c, n);
  };
  Table["THotKey"] = [](const TClassInfo* c, const std::string& n) {
    auto edit = std::make_unique<TEditControl>(c, n, 121, 19);
    edit->SetProperty("Text", TValue::String("None"));
    return edit;
  };
  Table["TCustomMemo"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TMemoControl>(c, n);
  };
  Table["TTextViewer"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TMemoControl>(c, n, "lines.strings");
  };
  Table["TCustomListBox"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TListBoxControl>(c, n, false);
  };
  Table["TCheckListBox"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TListBoxControl>(c, n, true);
  };
  Table["TCustomComboBox"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TComboControl>(c, n);
  };
  Table["TGroupBox"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TGroupBoxControl>(c, n);
  };
  Table["TCustomGroupBox"] = Table["TGroupBox"];
  Table["TRadioGroup"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TRadioGroupControl>(c, n);
  };
  Table["TCustomPanel"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TPanelControl>(c, n);
  };
  Table["TCustomFrame"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TPanelControl>(c, n, 320, 240, false);
  };
  Table["TCustomDockForm"] = Table["TCustomFrame"];
  Table["TScrollingWinControl"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TScrollBoxControl>(c, n);
  };
  Table["TBevel"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TBevelControl>(c, n);
  };
  Table["TShape"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TShapeControl>(c, n);
  };
  Table["TSplitter"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TSplitterControl>(c, n);
  };
  Table["TPaintBox"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TEmptyControl>(c, n, 105, 105);
  };
  Table["TAnimate"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TEmptyControl>(c, n, 100, 80);
  };
  Table["TImage"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TImageControl>(c, n);
  };
  Table["TScrollBar"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TScrollBarControl>(c, n);
  };
}

}  // namespace vaq::widgets
