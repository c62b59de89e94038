// Page and tab controls, trees, list views, headers, status and tool bars, grids, and the range
// and date controls.
#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QLCDNumber>
#include <QListWidget>
#include <QProgressBar>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QTabBar>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>
#include <cstring>
#include <optional>

#include "core/values/code_page_text.h"
#include "framework/widgets/controls.h"
#include "framework/widgets/factory_internal.h"
#include "host/core/locale.h"

namespace vaq::widgets {

namespace {

std::u16string Join(const std::vector<std::u16string>& Items) {
  std::u16string text;
  for (std::size_t i = 0; i < Items.size(); ++i) text += (i ? u" | " : u"") + Items[i];
  return text;
}

// The string properties `Name` of the items of a collection property, as shown. An item without
// one shows its caption, text or title caption instead (another version of the class names it
// otherwise).
std::vector<std::u16string> ItemTexts(const TComponent& C, const char* Path, const char* Name, TLCID Locale) {
  std::vector<std::u16string> out;
  if (const TValue* v = C.Stored(Path))
    for (const auto& item : v->Items) {
      std::optional<std::u16string> text;
      for (const char* name : {Name, "Caption", "Text", "Title.Caption"}) {
        for (const auto& [itemName, value] : item.Properties)
          if (SameText(itemName, name) && value.IsString()) text = value.Shown(Locale);
        if (text) break;
      }
      out.push_back(text.value_or(std::u16string()));
    }
  return out;
}

std::vector<int> ItemInts(const TComponent& C, const char* Path, const char* Name, int Default) {
  std::vector<int> out;
  if (const TValue* v = C.Stored(Path))
    for (const auto& item : v->Items) {
      int value = Default;
      for (const auto& [name, element] : item.Properties)
        if (SameText(name, Name)) value = static_cast<int>(IntOf(element));
      out.push_back(value);
    }
  return out;
}

int IntProp(const TComponent& C, const char* Path, int Default) {
  const TValue* v = C.Stored(Path);
  return v ? static_cast<int>(IntOf(*v)) : Default;
}

bool BoolProp(const TComponent& C, const char* Path, bool Default) {
  const TValue* v = C.Stored(Path);
  return v ? BoolOf(*v) : Default;
}

// ---------------------------------------------------------------------------------------------
// Tab sheets and the controls with tabs

class TTabSheetControl : public TPaintedControl {
 public:
  TTabSheetControl(const TClassInfo* Class, std::string ClassName)
      : TPaintedControl(Class, std::move(ClassName), 100, 100) {}
  bool IsContainer() const override { return true; }
  bool TabVisible() const { return BoolProp(*this, "tabvisible", true); }

 protected:
  void Paint(QPainter& painter) override {
    painter.fillRect(QRect(0, 0, Width(), Height()), ToQColor(Color()));
  }
};

// A frame with a tab bar on top; the display area below holds the pages or children. A click on
// a tab shows it (TabChanged).
class TTabbedControl : public TPaintedControl, public TTabsControl {
 public:
  TTabbedControl(const TClassInfo* Class, std::string ClassName, int W, int H, bool Bottom = false)
      : TPaintedControl(Class, std::move(ClassName), W, H), Bar_(new QTabBar(Widget())), Bottom_(Bottom) {
    Bar_->setDrawBase(false);
    Bar_->setExpanding(false);
    if (Bottom) Bar_->setShape(QTabBar::RoundedSouth);
    QObject::connect(Bar_, &QTabBar::currentChanged, Bar_, [this](int Index) {
      if (!Filling_) TabChanged(Index);
    });
  }
  bool IsContainer() const override { return true; }
  QRect ClientRect() const override {
    int bar = BarHeight();
    if (Bottom_) return QRect(0, 0, Width(), std::max(Height() - bar, 0));
    return QRect(4, bar + 4, std::max(Width() - 8, 0), std::max(Height() - bar - 8, 0));
  }
  void UpdateView() override {
    TPaintedControl::UpdateView();
    auto tabs = Tabs();
    Filling_ = true;
    while (Bar_->count() > 0) Bar_->removeTab(0);
    for (const auto& tab : tabs) Bar_->addTab(QString::fromStdU16String(tab));
    Bar_->setFont(ToQFont(EffectiveFont()));
    int index = TabIndex();
    if (index >= 0 && index < Bar_->count()) Bar_->setCurrentIndex(index);
    Filling_ = false;
    InstallEventFilter(Widget());
    PlaceBar();
  }
  std::u16string DisplayText() const override { return Join(Tabs()); }
  bool ShowTabAt(QPoint Global) override {
    const int index = Bar_->tabAt(Bar_->mapFromGlobal(Global));
    if (index < 0) return false;
    Bar_->setCurrentIndex(index);  // TabChanged through the signal
    return true;
  }
  int CurrentTab() const override { return Bar_->currentIndex(); }

 protected:
  virtual std::vector<std::u16string> Tabs() const {
    auto tabs = StoredStrings("tabs.strings");
    if (tabs.empty()) tabs = StoredStrings("pages.strings");
    return tabs;
  }
  virtual int TabIndex() const {
    if (Shown_) return *Shown_;
    return IntProp(*this, "tabindex", IntProp(*this, "pageindex", 0));
  }
  // The tab at `Index` was clicked: the tab control shows it from now on.
  virtual void TabChanged(int Index) { Shown_ = Index; }
  int BarHeight() const { return std::max(Bar_->sizeHint().height(), 20); }
  void Resized() override { PlaceBar(); }
  void PlaceBar() {
    int bar = BarHeight();
    Bar_->setGeometry(Bottom_ ? 4 : 2, Bottom_ ? Height() - bar : 2, std::max(Width() - 4, 0), bar);
  }
  void Paint(QPainter& painter) override {
    painter.fillRect(QRect(0, 0, Width(), Height()), ToQColor(Color()));
    int bar = BarHeight();
    QRect frame = Bottom_ ? QRect(0, 0, Width() - 1, Height() - bar)
                          : QRect(0, bar + 1, Width() - 1, Height() - bar - 2);
    DrawBevel(painter, frame, true);
  }
  QTabBar* Bar_;

 private:
  bool Bottom_;
  bool Filling_ = false;
  std::optional<int> Shown_;  // the tab clicked last, over the stored index
};

// The pages are tab sheets, one shown at a time: the active page (ActivePage, else the first page
// with a tab), or the one whose tab was clicked last.
class TPageControl : public TTabbedControl {
 public:
  TPageControl(const TClassInfo* Class, std::string ClassName)
      : TTabbedControl(Class, std::move(ClassName), 289, 193) {}
  bool ShowsChild(const TControl& Child) const override {
    return !dynamic_cast<const TTabSheetControl*>(&Child) || &Child == Active();
  }

 protected:
  std::vector<TTabSheetControl*> Sheets() const {
    std::vector<TTabSheetControl*> sheets;
    for (TControl* c : Controls())
      if (auto* sheet = dynamic_cast<TTabSheetControl*>(c)) sheets.push_back(sheet);
    return sheets;
  }
  std::vector<std::u16string> Tabs() const override {
    std::vector<std::u16string> tabs;
    for (auto* sheet : Sheets())
      if (sheet->TabVisible()) tabs.push_back(sheet->Caption());
    return tabs;
  }
  TTabSheetControl* Active() const {
    auto sheets = Sheets();
    if (Clicked_ && std::ranges::find(sheets, Clicked_) != sheets.end()) return Clicked_;
    const TValue* active = Stored("activepage");
    for (auto* sheet : sheets)
      if (active && SameText(sheet->Name(), active->Ident())) return sheet;
    for (auto* sheet : sheets)
      if (sheet->TabVisible()) return sheet;
    return nullptr;
  }
  int TabIndex() const override {
    int index = 0;
    TTabSheetControl* active = Active();
    for (auto* sheet : Sheets()) {
      if (sheet == active) return index;
      if (sheet->TabVisible()) ++index;
    }
    return -1;
  }
  void TabChanged(int Index) override {
    int index = 0;
    for (auto* sheet : Sheets()) {
      if (!sheet->TabVisible()) continue;
      if (index++ == Index) Clicked_ = sheet;
    }
    ArrangeOwn();
  }
  void ArrangeOwn() override {
    QRect client = ClientRect();
    for (auto* sheet : Sheets()) {
      sheet->SetBounds(client.left(), client.top(), client.width(), client.height());
      sheet->UpdateWidgetVisibility();
    }
  }

 private:
  TTabSheetControl* Clicked_ = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Trees and list views

class TTreeControl : public TControl {
 public:
  TTreeControl(const TClassInfo* Class, std::string ClassName, bool Report = false)
      : TControl(Class, std::move(ClassName), new QTreeWidget()), Report_(Report) {
    SetBounds(0, 0, Report ? 250 : 121, Report ? 150 : 97);
  }
  QTreeWidget* Tree() const { return static_cast<QTreeWidget*>(Widget()); }
  void UpdateView() override {
    if (!Report_ && ContentsLeftOut()) return;  // a list view keeps its columns, which the fit measures
    TControl::UpdateView();
    Tree()->clear();
    if (Report_)
      UpdateReport();
    else
      UpdateTree();
    InstallEventFilter(Widget());
  }
  std::u16string DisplayText() const override {
    std::vector<std::u16string> texts;
    if (Report_) texts = ItemTexts(*this, "columns", "Caption", TextLocale());
    for (const auto& node : Nodes_) texts.push_back(node);
    return Join(texts);
  }

 protected:
  TColor DefaultColor() const override { return clWindow; }
  bool PaintsBackground() const override { return true; }

 private:
  void UpdateReport() {
    auto captions = ItemTexts(*this, "columns", "Caption", TextLocale());
    auto widths = ItemInts(*this, "columns", "Width", 50);
    const TValue* style = Stored("viewstyle");
    bool report = style && SameText(style->Ident(), "vsReport");
    Tree()->setRootIsDecorated(false);
    Tree()->setHeaderHidden(!report && !captions.empty() ? false : !report);
    if (captions.empty()) captions.push_back(u"");
    Tree()->setColumnCount(static_cast<int>(captions.size()));
    QStringList labels;
    for (const auto& caption : captions) labels << QString::fromStdU16String(caption);
    Tree()->setHeaderLabels(labels);
    for (std::size_t i = 0; i < widths.size(); ++i) Tree()->setColumnWidth(static_cast<int>(i), widths[i]);
    Tree()->header()->setStretchLastSection(false);
  }
  // Tree nodes as the classic node stream stores them: a count, then per node a record of four
  // image indices, a pointer, a child count and a short-string text of 256 bytes, children after.
  void UpdateTree() {
    Tree()->setHeaderHidden(true);
    Tree()->setRootIsDecorated(BoolProp(*this, "showroot", true));
    Nodes_.clear();
    if (const TValue* lines = Stored("lines.strings")) {
      // An outline: one line per node, its depth given by leading blanks or tabs.
      std::vector<QTreeWidgetItem*> stack;
      for (const TValue& line : lines->List) {
        std::u16string text = line.Shown(TextLocale());
        std::size_t depth = 0;
        while (depth < text.size() && (text[depth] == u' ' || text[depth] == u'\t')) ++depth;
        text = text.substr(depth);
        Nodes_.push_back(text);
        stack.resize(std::min(stack.size(), depth));
        auto* item = stack.empty() ? new QTreeWidgetItem(Tree()) : new QTreeWidgetItem(stack.back());
        item->setText(0, QString::fromStdU16String(text));
        stack.push_back(item);
      }
    }
    if (const TValue* data = Stored("items.data")) {
      const std::string& bytes = data->Str;
      std::size_t pos = 0;
      auto int32 = [&](std::int32_t& out) {
        if (pos + 4 > bytes.size()) return false;
        std::memcpy(&out, bytes.data() + pos, 4);
        pos += 4;
        return true;
      };
      std::function<bool(QTreeWidgetItem*, int)> read = [&](QTreeWidgetItem* parent, int depth) {
        std::int32_t dummy, count;
        for (int k = 0; k < 5; ++k)
          if (!int32(dummy)) return false;
        if (!int32(count) || pos + 256 > bytes.size() || depth > 100) return false;
        std::string text(bytes.data() + pos + 1, static_cast<unsigned char>(bytes[pos]));
        pos += 256;
        std::u16string shown = values::DecodeText(text, TextLocale());
        Nodes_.push_back(shown);
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(Tree());
        item->setText(0, QString::fromStdU16String(shown));
        for (int i = 0; i < count; ++i)
          if (!read(item, depth + 1)) return false;
        item->setExpanded(true);
        return true;
      };
      std::int32_t count;
      if (int32(count) && count >= 0 && count < 100000)
        for (int i = 0; i < count; ++i)
          if (!read(nullptr, 0)) break;
    }
  }
  bool Report_;
  std::vector<std::u16string> Nodes_;
};

class TIconViewControl : public TControl {
 public:
  TIconViewControl(const TClassInfo* Class, std::string ClassName)
      : TControl(Class, std::move(ClassName), new QListWidget()) {
    SetBounds(0, 0, 121, 97);
    static_cast<QListWidget*>(Widget())->setViewMode(QListView::IconMode);
  }
  void UpdateView() override {
    TControl::UpdateView();
    auto* list = static_cast<QListWidget*>(Widget());
    list->clear();
    for (const auto& text : ItemTexts(*this, "items", "Caption", TextLocale()))
      list->addItem(QString::fromStdU16String(text));
  }
  std::u16string DisplayText() const override {
    return Join(ItemTexts(*this, "items", "Caption", TextLocale()));
  }

 protected:
  TColor DefaultColor() const override { return clWindow; }
  bool PaintsBackground() const override { return true; }
};

// ---------------------------------------------------------------------------------------------
// Header controls and status bars: drawn sections

void DrawSection(QPainter& painter, QWidget* widget, QRect rect, const QString& text, bool Sunken) {
  if (Sunken) {
    QPen pen = painter.pen();
    DrawBevel(painter, rect.adjusted(0, 0, -1, -1), false);
    painter.setPen(pen);
  } else {
    QStyleOptionHeader option;
    option.initFrom(widget);
    option.rect = rect;
    option.text = text;
    option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    widget->style()->drawControl(QStyle::CE_Header, &option, &painter, widget);
    return;
  }
  painter.drawText(rect.adjusted(3, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
}

class THeaderControl : public TPaintedControl {
 public:
  THeaderControl(const TClassInfo* Class, std::string ClassName)
      : TPaintedControl(Class, std::move(ClassName), 100, 17) {
    if (!SameText(this->ClassName(), "THeader")) SetProperty("Align", TValue::Identifier("alTop"));
  }
  std::u16string DisplayText() const override { return Join(Texts()); }

 protected:
  std::vector<std::u16string> Texts() const {
    auto strings = StoredStrings("sections.strings");
    return strings.empty() ? ItemTexts(*this, "sections", "Text", TextLocale()) : strings;
  }
  void Paint(QPainter& painter) override {
    painter.fillRect(QRect(0, 0, Width(), Height()), ToQColor(Color()));
    painter.setFont(ToQFont(EffectiveFont()));
    auto texts = Texts();
    auto widths = ItemInts(*this, "sections", "Width", 50);
    int x = 0;
    for (std::size_t i = 0; i < texts.size(); ++i) {
      int w = i < widths.size() ? widths[i] : 50;
      DrawSection(painter, Widget(), QRect(x, 0, w, Height()), QString::fromStdU16String(texts[i]), false);
      x += w;
    }
    if (x < Width()) DrawSection(painter, Widget(), QRect(x, 0, Width() - x, Height()), QString(), false);
  }
};

class TStatusBarControl : public TPaintedControl {
 public:
  TStatusBarControl(const TClassInfo* Class, std::string ClassName)
      : TPaintedControl(Class, std::move(ClassName), 100, 19) {
    SetProperty("Align", TValue::Identifier("alBottom"));
  }
  std::u16string DisplayText() const override {
    if (BoolProp(*this, "simplepanel", false)) return StoredText("simpletext");
    return Join(ItemTexts(*this, "panels", "Text", TextLocale()));
  }

 protected:
  void Paint(QPainter& painter) override {
    painter.fillRect(QRect(0, 0, Width(), Height()), ToQColor(Color()));
    painter.setFont(ToQFont(EffectiveFont()));
    painter.setPen(ToQColor(EffectiveFont().Color));
    if (BoolProp(*this, "simplepanel", false)) {
      DrawSection(painter, Widget(), QRect(0, 2, Width(), Height() - 2),
                  QString::fromStdU16String(StoredText("simpletext")), true);
      return;
    }
    auto texts = ItemTexts(*this, "panels", "Text", TextLocale());
    auto widths = ItemInts(*this, "panels", "Width", 50);
    int x = 0;
    for (std::size_t i = 0; i < texts.size(); ++i) {
      // The last panel reaches to the right edge.
      int w = i + 1 == texts.size() ? std::max(Width() - x, widths[i]) : widths[i];
      DrawSection(painter, Widget(), QRect(x, 2, w - 2, Height() - 2), QString::fromStdU16String(texts[i]),
                  true);
      x += w;
    }
    if (BoolProp(*this, "sizegrip", true)) {
      painter.setPen(ToQColor(clBtnShadow));
      for (int k = 4; k <= 12; k += 4) painter.drawLine(Width() - k, Height() - 1, Width() - 1, Height() - k);
    }
  }
};

// ---------------------------------------------------------------------------------------------
// Tool bars, cool bars, control bars

class TToolButtonControl : public TControl {
 public:
  TToolButtonControl(const TClassInfo* Class, std::string ClassName)
      : TControl(Class, std::move(ClassName), new QToolButton()) {
    SetBounds(0, 0, 23, 22);
    static_cast<QToolButton*>(Widget())->setAutoRaise(true);
  }
  bool Separator() const {
    const TValue* style = Stored("style");
    return style && (SameText(style->Ident(), "tbsSeparator") || SameText(style->Ident(), "tbsDivider"));
  }
  void UpdateView() override {
    TControl::UpdateView();
    auto* button = static_cast<QToolButton*>(Widget());
    button->setText(Separator() ? QString() : QString::fromStdU16String(Caption()));
    button->setEnabled(!Separator() && Enabled());
    button->setChecked(BoolProp(*this, "down", false));
  }
};

class TToolBarControl : public TPaintedControl {
 public:
  TToolBarControl(const TClassInfo* Class, std::string ClassName)
      : TPaintedControl(Class, std::move(ClassName), 150, 29) {
    SetProperty("Align", TValue::Identifier("alTop"));
  }
  bool IsContainer() const override { return true; }

 protected:
  void Paint(QPainter& painter) override {
    painter.fillRect(QRect(0, 0, Width(), Height()), ToQColor(Color()));
    painter.setPen(ToQColor(clBtnHighlight));
    painter.drawLine(0, 0, Width(), 0);
  }
  // Buttons sit in a row in the order of their Left, separators narrower.
  void ArrangeOwn() override {
    std::vector<TToolButtonControl*> buttons;
    for (TControl* c : Controls())
      if (auto* b = dynamic_cast<TToolButtonControl*>(c)) buttons.push_back(b);
    std::stable_sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) { return a->Left() < b->Left(); });
    int x = IntProp(*this, "indent", 0), width = IntProp(*this, "buttonwidth", 23),
        height = IntProp(*this, "buttonheight", 22);
    bool captions = BoolProp(*this, "showcaptions", false);
    for (auto* b : buttons) {
      if (!b->Visible()) continue;
      int w = b->Separator() ? 8 : width;
      if (captions && !b->Separator())
        w = std::max(
            width,
            QFontMetrics(ToQFont(b->EffectiveFont())).horizontalAdvance(StripAccelerator(b->Caption())) + 10);
      b->SetBounds(x, 2, w, height);
      x += w;
    }
  }
};

class TBandsControl : public TPaintedControl {
 public:
  TBandsControl(const TClassInfo* Class, std::string ClassName, bool Cool)
      : TPaintedControl(Class, std::move(ClassName), Cool ? 150 : 100, Cool ? 25 : 50), Cool_(Cool) {
    if (Cool) SetProperty("Align", TValue::Identifier("alTop"));
  }
  bool IsContainer() const override { return true; }
  std::u16string DisplayText() const override {
    return Join(ItemTexts(*this, "bands", "Text", TextLocale()));
  }

 protected:
  void Paint(QPainter& painter) override {
    painter.fillRect(QRect(0, 0, Width(), Height()), ToQColor(Color()));
    if (!Cool_) {
      DrawBevel(painter, QRect(0, 0, Width() - 1, Height() - 1), false);
      return;
    }
    painter.setFont(ToQFont(EffectiveFont()));
    int x = 2;
    for (const auto& text : ItemTexts(*this, "bands", "Text", TextLocale())) {
      DrawBevel(painter, QRect(x, 1, 2, Height() - 3), true);
      painter.setPen(ToQColor(EffectiveFont().Color));
      painter.drawText(QRect(x + 6, 0, 200, Height()), Qt::AlignVCenter | Qt::TextShowMnemonic,
                       QString::fromStdU16String(text));
      x += 150;
    }
    DrawBevel(painter, QRect(0, 0, Width() - 1, Height() - 1), true);
  }

 private:
  bool Cool_;
};

// ---------------------------------------------------------------------------------------------
// Grids

class TGridControl : public TPaintedControl {
 public:
  TGridControl(const TClassInfo* Class, std::string ClassName, bool ValueList)
      : TPaintedControl(Class, std::move(ClassName), ValueList ? 306 : 320, ValueList ? 300 : 120),
        ValueList_(ValueList) {}
  std::u16string DisplayText() const override {
    std::vector<std::u16string> texts;
    if (ValueList_) {
      texts = StoredStrings("titlecaptions.strings");
      for (const auto& line : StoredStrings("strings.strings")) texts.push_back(line);
    }
    for (const auto& title : Titles()) texts.push_back(title);
    return Join(texts);
  }

 protected:
  TColor DefaultColor() const override { return clWindow; }
  void Paint(QPainter& painter) override {
    int cols = IntProp(*this, "colcount", ValueList_ ? 2 : 5), rows = IntProp(*this, "rowcount", 5);
    int fixedCols = IntProp(*this, "fixedcols", ValueList_ ? 0 : 1),
        fixedRows = IntProp(*this, "fixedrows", 1);
    int colWidth = IntProp(*this, "defaultcolwidth", 64),
        rowHeight = IntProp(*this, "defaultrowheight", ValueList_ ? 18 : 24);
    std::vector<int> widths, heights;
    if (const TValue* v = Stored("colwidths"))
      for (const TValue& e : v->List) widths.push_back(static_cast<int>(IntOf(e)));
    if (const TValue* v = Stored("rowheights"))
      for (const TValue& e : v->List) heights.push_back(static_cast<int>(IntOf(e)));
    std::vector<std::vector<std::u16string>> cells;
    if (auto titles = Titles(); !titles.empty()) {
      // The column titles fill the fixed row, after the fixed columns.
      std::vector<std::u16string> row(static_cast<std::size_t>(std::max(fixedCols, 0)));
      row.insert(row.end(), titles.begin(), titles.end());
      cols = std::max(cols, static_cast<int>(row.size()));
      cells.push_back(std::move(row));
    }
    if (ValueList_) {
      auto titles = StoredStrings("titlecaptions.strings");
      if (titles.size() < 2) titles = {u"Key", u"Value"};
      cells.push_back(titles);
      for (const auto& line : StoredStrings("strings.strings")) {
        auto eq = line.find(u'=');
        cells.push_back({line.substr(0, eq), eq == std::u16string::npos ? u"" : line.substr(eq + 1)});
      }
      rows = std::max<int>(rows, static_cast<int>(cells.size()));
      rows = std::max(static_cast<int>(cells.size()), 2);
      int half = (Width() - 4) / 2;
      widths = {half, Width() - 4 - half - 1};
    }
    QRect area(0, 0, Width(), Height());
    painter.fillRect(area, ToQColor(Color()));
    QRect inner = DrawBevel(painter, area.adjusted(0, 0, -1, -1), false, 2);
    painter.setClipRect(inner.adjusted(0, 0, 1, 1));
    painter.setFont(ToQFont(EffectiveFont()));
    int y = inner.top();
    for (int r = 0; r < rows && r < 1000 && y <= inner.bottom(); ++r) {
      int h = r < static_cast<int>(heights.size()) ? heights[r] : rowHeight;
      int x = inner.left();
      for (int c = 0; c < cols && c < 1000 && x <= inner.right(); ++c) {
        int w = c < static_cast<int>(widths.size()) ? widths[c] : colWidth;
        QRect cell(x, y, w, h);
        bool fixed = r < fixedRows || c < fixedCols;
        if (fixed) {
          painter.fillRect(cell, ToQColor(clBtnFace));
          DrawBevel(painter, cell.adjusted(0, 0, -1, -1), true);
        } else {
          painter.setPen(ToQColor(static_cast<TColor>(0x80000016)));
          painter.drawRect(cell.adjusted(0, 0, 0, 0));
        }
        if (r < static_cast<int>(cells.size()) && c < static_cast<int>(cells[r].size())) {
          painter.setPen(ToQColor(EffectiveFont().Color));
          painter.drawText(cell.adjusted(3, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                           QString::fromStdU16String(cells[r][c]));
        }
        x += w + 1;
      }
      y += h + 1;
    }
  }

 private:
  // The titles of the grid's columns (grids with a Columns collection: data grids, and string
  // grids of the frameworks that have one).
  std::vector<std::u16string> Titles() const {
    return ItemTexts(*this, "columns", "Title.Caption", TextLocale());
  }

  bool ValueList_;
};

// ---------------------------------------------------------------------------------------------
// Ranges, dates and the remaining kinds

class TRangeControl : public TControl {
 public:
  enum Kind { Track, Progress, Spin };
  TRangeControl(const TClassInfo* Class, std::string ClassName, Kind K)
      : TControl(Class, std::move(ClassName),
                 K == Track      ? static_cast<QWidget*>(new QSlider(Qt::Horizontal))
                 : K == Progress ? static_cast<QWidget*>(new QProgressBar())
                                 : static_cast<QWidget*>(new QSpinBox())),
        Kind_(K) {
    if (K == Track)
      SetBounds(0, 0, 150, 45);
    else if (K == Progress)
      SetBounds(0, 0, 150, 16);
    else
      SetBounds(0, 0, 121, 23);
  }
  void UpdateView() override {
    TControl::UpdateView();
    int min = IntProp(*this, "min", 0), max = IntProp(*this, "max", Kind_ == Track ? 10 : 100);
    int position = IntProp(*this, Kind_ == Spin ? "value" : "position", 0);
    const TValue* orientation = Stored("orientation");
    bool vertical = orientation && (SameText(orientation->Ident(), "trVertical") ||
                                    SameText(orientation->Ident(), "pbVertical"));
    if (auto* slider = qobject_cast<QSlider*>(Widget())) {
      slider->setOrientation(vertical ? Qt::Vertical : Qt::Horizontal);
      slider->setRange(min, max);
      slider->setValue(position);
      slider->setTickPosition(QSlider::TicksBelow);
      slider->setTickInterval(IntProp(*this, "frequency", 1));
    } else if (auto* bar = qobject_cast<QProgressBar*>(Widget())) {
      bar->setOrientation(vertical ? Qt::Vertical : Qt::Horizontal);
      bar->setRange(min, max);
      bar->setValue(position);
      bar->setTextVisible(false);
    } else if (auto* spin = qobject_cast<QSpinBox*>(Widget())) {
      spin->setRange(min, max);
      spin->setValue(position);
      spin->setPrefix(QString::fromStdU16String(StoredText("prefix")));
      spin->setSuffix(QString::fromStdU16String(StoredText("suffix")));
    }
  }
  std::u16string DisplayText() const override {
    if (Kind_ != Spin) return {};
    return StoredText("prefix") + QString::number(IntProp(*this, "value", 0)).toStdU16String() +
           StoredText("suffix");
  }

 private:
  Kind Kind_;
};

class TUpDownControl : public TPaintedControl {
 public:
  TUpDownControl(const TClassInfo* Class, std::string ClassName)
      : TPaintedControl(Class, std::move(ClassName), 15, 25) {}

 protected:
  void Paint(QPainter& painter) override {
    const TValue* orientation = Stored("orientation");
    bool horizontal = orientation && SameText(orientation->Ident(), "udHorizontal");
    QRect a = horizontal ? QRect(0, 0, Width() / 2, Height()) : QRect(0, 0, Width(), Height() / 2);
    QRect b = horizontal ? QRect(Width() / 2, 0, Width() - Width() / 2, Height())
                         : QRect(0, Height() / 2, Width(), Height() - Height() / 2);
    for (int i = 0; i < 2; ++i) {
      QRect r = i ? b : a;
      painter.fillRect(r, ToQColor(clBtnFace));
      DrawBevel(painter, r.adjusted(0, 0, -1, -1), true);
      QStyleOption option;
      option.initFrom(Widget());
      option.rect = r.adjusted(2, 2, -2, -2);
      auto element = horizontal ? (i ? QStyle::PE_IndicatorArrowRight : QStyle::PE_IndicatorArrowLeft)
                                : (i ? QStyle::PE_IndicatorArrowDown : QStyle::PE_IndicatorArrowUp);
      Widget()->style()->drawPrimitive(element, &option, &painter, Widget());
    }
  }
};

class TMediaPlayerControl : public TPaintedControl {
 public:
  TMediaPlayerControl(const TClassInfo* Class, std::string ClassName)
      : TPaintedControl(Class, std::move(ClassName), 253, 30) {}

 protected:
  void Paint(QPainter& painter) override {
    int w = Width() / 9;
    for (int i = 0; i < 9; ++i) {
      QRect r(i * w, 0, w, Height());
      painter.fillRect(r, ToQColor(clBtnFace));
      DrawBevel(painter, r.adjusted(0, 0, -1, -1), true);
      painter.setPen(QColor(0x20, 0x20, 0x20));
      static const char* symbols[] = {"\u25B6",  "\u2016",  "\u25A0", "\u23ED", "\u23EE",
                                      "\u25B8|", "|\u25C2", "\u25CF", "\u23CF"};
      painter.drawText(r, Qt::AlignCenter, QString::fromUtf8(symbols[i]));
    }
  }
};

class TWhiteBoxControl : public TPaintedControl {
 public:
  TWhiteBoxControl(const TClassInfo* Class, std::string ClassName)
      : TPaintedControl(Class, std::move(ClassName), 121, 97) {}

 protected:
  void Paint(QPainter& painter) override {
    painter.fillRect(QRect(0, 0, Width(), Height()), ToQColor(clWindow));
    DrawBevel(painter, QRect(0, 0, Width() - 1, Height() - 1), false, 2);
  }
};

QDate DateOf(const TValue* Value) {
  // Dates count days from 30 December 1899.
  if (!Value) return QDate(2000, 1, 1);
  return QDate(1899, 12, 30).addDays(static_cast<qint64>(Value->Number()));
}

class TDateControl : public TControl {
 public:
  TDateControl(const TClassInfo* Class, std::string ClassName, bool Calendar)
      : TControl(Class, std::move(ClassName),
                 Calendar ? static_cast<QWidget*>(new QCalendarWidget())
                          : static_cast<QWidget*>(new QDateTimeEdit())) {
    if (Calendar)
      SetBounds(0, 0, 191, 154);
    else
      SetBounds(0, 0, 186, 21);
  }
  void UpdateView() override {
    if (ContentsLeftOut()) return;
    TControl::UpdateView();
    QDate date = DateOf(Stored("date"));
    if (auto* calendar = qobject_cast<QCalendarWidget*>(Widget())) {
      calendar->setSelectedDate(date);
      calendar->setVerticalHeaderFormat(BoolProp(*this, "weeknumbers", false)
                                            ? QCalendarWidget::ISOWeekNumbers
                                            : QCalendarWidget::NoVerticalHeader);
    } else if (auto* edit = qobject_cast<QDateTimeEdit*>(Widget())) {
      const TValue* kind = Stored("kind");
      if (kind && SameText(kind->Ident(), "dtkTime")) {
        edit->setDisplayFormat(QStringLiteral("HH:mm:ss"));
        if (const TValue* time = Stored("time")) {
          long double fraction = time->Number() - static_cast<long long>(time->Number());
          edit->setTime(QTime(0, 0).addSecs(static_cast<int>(fraction * 86400)));
        }
      } else {
        edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        edit->setCalendarPopup(true);
        edit->setDate(date);
      }
    }
  }
};

class TLcdControl : public TControl {
 public:
  TLcdControl(const TClassInfo* Class, std::string ClassName)
      : TControl(Class, std::move(ClassName), new QLCDNumber()) {
    SetBounds(0, 0, 111, 33);
  }
  void UpdateView() override {
    TControl::UpdateView();
    auto* lcd = static_cast<QLCDNumber*>(Widget());
    lcd->setDigitCount(IntProp(*this, "digits", 5));
    lcd->display(QString::fromStdU16String(StoredText("value")));
  }
  std::u16string DisplayText() const override { return StoredText("value"); }
};

}  // namespace

void RegisterComplexControls(TFactoryTable& Table) {
  Table["TTabSheet"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TTabSheetControl>(c, n);
  };
  Table["TPageControl"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TPageControl>(c, n);
  };
  Table["TTabControl"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TTabbedControl>(c, n, 289, 193);
  };
  Table["TTabbedNotebook"] = Table["TTabControl"];
  Table["TNotebook"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TTabSheetControl>(c, n);
  };
  Table["TTabSet"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TTabbedControl>(c, n, 185, 21, true);
  };
  Table["TCustomTreeView"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TTreeControl>(c, n);
  };
  Table["TOutline"] = Table["TCustomTreeView"];
  Table["TCustomListView"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TTreeControl>(c, n, true);
  };
  Table["TIconView"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TIconViewControl>(c, n);
  };
  Table["TCustomHeaderControl"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<THeaderControl>(c, n);
  };
  Table["THeader"] = Table["TCustomHeaderControl"];
  Table["TCustomStatusBar"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TStatusBarControl>(c, n);
  };
  Table["TToolBar"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TToolBarControl>(c, n);
  };
  Table["TToolButton"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TToolButtonControl>(c, n);
  };
  Table["TCoolBar"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TBandsControl>(c, n, true);
  };
  Table["TCustomControlBar"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TBandsControl>(c, n, false);
  };
  Table["TPageScroller"] = Table["TCustomControlBar"];
  Table["TCustomGrid"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TGridControl>(c, n, false);
  };
  Table["TValueListEditor"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TGridControl>(c, n, true);
  };
  Table["TTrackBar"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TRangeControl>(c, n, TRangeControl::Track);
  };
  Table["TProgressBar"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TRangeControl>(c, n, TRangeControl::Progress);
  };
  Table["TSpinEdit"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TRangeControl>(c, n, TRangeControl::Spin);
  };
  Table["TUpDown"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TUpDownControl>(c, n);
  };
  Table["TDateTimePicker"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TDateControl>(c, n, false);
  };
  Table["TMonthCalendar"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TDateControl>(c, n, true);
  };
  Table["TMediaPlayer"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TMediaPlayerControl>(c, n);
  };
  Table["TOleContainer"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TWhiteBoxControl>(c, n);
  };
  Table["TLCDNumber"] = [](const TClassInfo* c, const std::string& n) {
    return std::make_unique<TLcdControl>(c, n);
  };
}

}  // namespace vaq::widgets
