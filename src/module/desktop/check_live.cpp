// The fit check on live forms, and vaq check in the desktop build.
#include "module/desktop/check_live.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QMenuBar>
#include <QPainter>
#include <QRadioButton>
#include <QTabBar>
#include <QTreeWidget>

#include <algorithm>
#include <filesystem>
#include <map>

#include "checks/check_notes.h"
#include "core/values/string_notation.h"
#include "framework/widgets/controls.h"
#include "framework/widgets/render.h"
#include "host/core/files.h"
#include "host/core/locale.h"
#include "host/core/notes_header.h"
#include "host/core/notes_strings.h"
#include "host/core/text.h"
#include "host/framework/classes.h"
#include "module/commands_check.h"
#include "module/desktop/application.h"
#include "notes/column_table.h"
#include "notes/component_path.h"
#include "notes/file_names.h"
#include "notes/file_services.h"
#include "notes/notes_record.h"
#include "notes/rux_mgr.h"
#include "viewer/viewer.h"

namespace rux {
namespace {

namespace fs = std::filesystem;
using checks::TFitItem;
using checks::TRoomKind;
using vaq::widgets::TControl;
using vaq::widgets::TForm;

QFont QtFont(const checks::TFontSpec& wanted) {
  QFont font(QString::fromStdString(wanted.Name));
  font.setPixelSize(wanted.PixelSize > 0 ? wanted.PixelSize : 11);
  font.setBold(wanted.Bold);
  font.setItalic(wanted.Italic);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

checks::TFontSpec SpecOf(const TControl& control) {
  const QFont font = vaq::widgets::ToQFont(control.EffectiveFont());
  return {font.family().toStdString(), font.pixelSize(), font.bold(), font.italic()};
}

checks::TControlBounds BoundsOf(const QRect& r) {
  return {r.left(), r.top(), r.width(), r.height()};
}

bool Is(const TControl& control, std::string_view ancestor) {
  if (const vaq::TClassInfo* info = control.ClassInfo()) return vaq::InheritsFrom(*info, ancestor);
  return vaq::AnsiSameText(control.ClassName(), ancestor);
}

std::string Shown(const std::u16string& text) {
  return vaq::widgets::StripAccelerator(text).toStdString();
}

TFitItem ItemOf(const TControl& control, const std::string& path, const std::string& property, TRoomKind kind,
                std::string text, const QRect& bounds) {
  TFitItem item;
  item.Id = path + "." + property;
  item.Path = path;
  item.Class = control.ClassName();
  item.Kind = kind;
  item.Text = std::move(text);
  item.Bounds = BoundsOf(bounds);
  item.Font = SpecOf(control);
  return item;
}

void AddControl(TControl& control, const std::string& path, std::vector<TFitItem>& items) {
  const QRect rect = control.FormRect();
  const std::string caption = Shown(control.Caption());
  if (Is(control, "TButton") || Is(control, "TBitBtn")) {
    items.push_back(ItemOf(control, path, "Caption", TRoomKind::Button, caption, rect));
  } else if (Is(control, "TCheckBox") || Is(control, "TRadioButton")) {
    items.push_back(ItemOf(control, path, "Caption", TRoomKind::CheckBox, caption, rect));
  } else if ((Is(control, "TLabel") || Is(control, "TStaticText")) && !control.AutoSize()) {
    const vaq::widgets::TValue* wrap = control.Stored("wordwrap");
    const bool wrapped = wrap && vaq::widgets::BoolOf(*wrap);
    items.push_back(ItemOf(control, path, "Caption", wrapped ? TRoomKind::WrappedLabel : TRoomKind::Label,
                           caption, rect));
  } else if (Is(control, "TGroupBox") || Is(control, "TRadioGroup")) {
    items.push_back(ItemOf(control, path, "Caption", TRoomKind::GroupCaption, caption, rect));
    const QList<QRadioButton*> buttons =
        control.Widget()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly);
    for (int i = 0; i < buttons.size(); ++i) {
      const QRect r = buttons[i]->geometry().translated(rect.topLeft());
      items.push_back(ItemOf(control, path, "Items.Strings[" + std::to_string(i) + "]", TRoomKind::RadioItem,
                             Shown(buttons[i]->text().toStdU16String()), r));
    }
  } else if (Is(control, "TListView")) {
    if (auto* tree = qobject_cast<QTreeWidget*>(control.Widget())) {
      const QHeaderView* header = tree->header();
      const QPoint origin = rect.topLeft() + tree->viewport()->pos() - QPoint(0, header->height());
      for (int i = 0; i < tree->columnCount(); ++i) {
        const QRect r(origin.x() + header->sectionViewportPosition(i), origin.y(), header->sectionSize(i),
                      header->height());
        items.push_back(ItemOf(control, path, "Columns[" + std::to_string(i) + "].Caption", TRoomKind::Column,
                               tree->headerItem()->text(i).toStdString(), r));
      }
    }
  } else if (Is(control, "TPageControl")) {
    std::vector<TControl*> sheets;
    for (TControl* child : control.Controls()) {
      if (Is(*child, "TTabSheet")) sheets.push_back(child);
    }
    if (auto* bar = control.Widget()->findChild<QTabBar*>();
        bar && bar->count() == static_cast<int>(sheets.size())) {
      for (int i = 0; i < bar->count(); ++i) {
        TFitItem item = ItemOf(*sheets[static_cast<std::size_t>(i)],
                               path + ".O:" + sheets[static_cast<std::size_t>(i)]->Name(), "Caption",
                               TRoomKind::TabCaption, Shown(bar->tabText(i).toStdU16String()),
                               bar->tabRect(i).translated(rect.topLeft() + bar->pos()));
        item.Row = path;
        item.RowWidth = bar->width();
        items.push_back(std::move(item));
      }
    }
  } else if (Is(control, "TStatusBar")) {
    const std::optional<vaq::widgets::TValue> panels = control.GetProperty("Panels");
    if (panels && !panels->Items.empty()) {
      int x = 0;
      for (std::size_t i = 0; i < panels->Items.size(); ++i) {
        std::u16string text;
        int width = 50;
        for (const auto& [name, value] : panels->Items[i].Properties) {
          if (vaq::AnsiSameText(name, "Text")) text = value.Shown(control.TextLocale());
          if (vaq::AnsiSameText(name, "Width")) width = static_cast<int>(vaq::widgets::IntOf(value));
        }
        // The last panel reaches to the right edge.
        if (i + 1 == panels->Items.size()) width = std::max(control.Width() - x, width);
        items.push_back(ItemOf(control, path, "Panels[" + std::to_string(i) + "].Text", TRoomKind::Panel,
                               vaq::Utf16ToUtf8(text),
                               QRect(rect.left() + x, rect.top(), width, rect.height())));
        x += width;
      }
    }
  }
}

void Walk(vaq::widgets::TComponent& component, const std::string& path, std::vector<TFitItem>& items) {
  if (auto* control = dynamic_cast<TControl*>(&component);
      control && control->Visible() && dynamic_cast<TForm*>(control) == nullptr) {
    AddControl(*control, path, items);
  }
  // A component without a name is named as the notes name it: its place among its parent's
  // components and its class ("O:[2]TButton").
  const auto& children = component.ChildComponents();
  for (std::size_t i = 0; i < children.size(); ++i) {
    const std::string& name = children[i]->Name();
    Walk(*children[i],
         path + ".O:" + (name.empty() ? "[" + std::to_string(i) + "]" + children[i]->ClassName() : name),
         items);
  }
}

// A component path without the "O:", "I:" and "L:" marks, lower case: the live tree and the notes
// name inherited and inline components differently.
std::string PlainPath(std::string_view id) {
  std::string plain;
  std::size_t i = 0;
  while (i < id.size()) {
    if (i + 1 < id.size() && id[i + 1] == ':' && (i == 0 || id[i - 1] == '.')) {
      i += 2;
      continue;
    }
    plain += id[i++];
  }
  return vaq::AnsiLowerCase(plain);
}

// The items of the components' collections ("Columns", "Panels") numbered as the live form numbers
// them. The notes give an item's explicit index a line and a number of its own ("Columns[0]"
// holds the index, "Columns[1].Caption" the item's first property), so their numbers part from
// the live ones after the first such item. The form text is written from the records in their
// order: a record whose collection index differs from the previous record's opens an item (index
// 0: the collection), a line with the index alone opens none unless it closes an item without
// properties.
class TLiveItemNumbers {
 public:
  // The Id of record `R` with its collection index as the live form has it; nothing for a record
  // that is not a property of a component's collection item. `R` comes in the form's order.
  std::optional<std::string> LiveId(const vaq::TVaqNotesString& R) {
    const std::string_view id = R.Id;
    const std::string_view component = ComponentPathView(id);
    const std::size_t open = id.find('[', component.size());
    const std::size_t shut = open == std::string_view::npos ? open : id.find(']', open);
    if (!R.Type.starts_with("C:") || component.size() >= id.size() || shut == std::string_view::npos) {
      Previous_.clear();
      return std::nullopt;
    }
    const std::string key = vaq::AnsiLowerCase(id.substr(0, open));
    const std::string_view index = id.substr(open + 1, shut - open - 1);
    const std::string_view rest = id.substr(shut + 1);
    const std::string current = key + "[" + std::string(index) + "]";
    int& live = Live_.try_emplace(key, -1).first->second;
    const bool indexLine = rest.empty() && R.Open.find("item") == std::string::npos && !R.Curr.empty();
    if (indexLine) {
      if (index == "0") live = -1;
      Previous_ = current;
      if (R.Close.empty()) return std::nullopt;
      ++live;  // an item without properties
    } else {
      const bool opens = R.Open.find('<') != std::string::npos && rest.find('[') == std::string_view::npos;
      if (current != Previous_ || opens) live = index == "0" ? 0 : live + 1;
      Previous_ = current;
    }
    return std::string(id.substr(0, open)) + "[" + std::to_string(live) + "]" + std::string(rest);
  }

  // A record that is not written: the next record of an item opens a new one.
  std::optional<std::string> Skip() {
    Previous_.clear();
    return std::nullopt;
  }

 private:
  std::map<std::string, int> Live_;  // lower-case collection Id -> the live index of its current item
  std::string Previous_;             // the previous record's collection item, lower case
};

// What the fit needs of the notes, read once: the Ids by their plain path (a collection item's
// with its live index), the Ids of the main menu's top-level items (the menu bar's) in their
// order, the original texts by Id, and whether the translation changed anything, and anything but
// texts.
struct TNotesIds {
  std::map<std::string, std::string> ByPath;
  std::vector<std::string> MenuBar;
  // Lower-case Id -> original and current value of a string record.
  std::map<std::string, std::pair<std::string, std::string>> Texts;
  bool Translated = false;     // a current value differs from its original
  bool LayoutChanged = false;  // a value other than a text differs
};

bool Written(const vaq::TVaqNotesString& r) {
  return r.Status % 256 != StatusObsolete && r.Order != OrderNotWritten;
}

// `lines`: those of notes file `notes`, header lines included.
TNotesIds IdsOf(const std::vector<std::string>& lines, const std::string& notes) {
  TNotesIds ids;
  std::vector<std::pair<std::int32_t, std::string>> tops;
  std::vector<vaq::TVaqNotesString> written;
  std::vector<std::string> unwritten;
  // As the manager's RemoveHeaderLines: up to two leading header lines and the blank lines go.
  std::size_t first = 0;
  while (first < 2 && first < lines.size() && vaq::IsNotesHeaderLine(lines[first])) ++first;
  for (std::size_t i = first; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (std::all_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; }))
      continue;
    try {
      vaq::TVaqNotesString r = StringToNotesString(line, notes);
      const bool text = r.Orig.starts_with('\'') || r.Orig.starts_with('#');
      // A property set twice shows its last value.
      if (text) ids.Texts[vaq::AnsiLowerCase(r.Id)] = {r.Orig, r.Curr};
      if (!Written(r)) {
        unwritten.push_back(std::move(r.Id));
        continue;
      }
      if (r.Curr != r.Orig) {
        ids.Translated = true;
        const bool textNow = r.Curr.starts_with('\'') || r.Curr.starts_with('#');
        if (!text || !textNow) ids.LayoutChanged = true;
      }
      if (r.Id.ends_with(".Caption") && vaq::AnsiSameText(GetClassName(r, false, nullptr), "TMenuItem")) {
        const std::string path = GetComponentPath(r.Id);
        const std::string parent = path.substr(0, path.rfind('.'));
        // A top-level item: its parent is the main menu, a direct child of the form.
        if (std::count(parent.begin(), parent.end(), '.') == 1) tops.emplace_back(r.Order, r.Id);
      }
      written.push_back(std::move(r));
    } catch (const vaq::EVaqError&) {
      // A damaged record names nothing; the notes checks report the file.
    }
  }
  // The written records in the form's order; those of collection items by their live index.
  std::vector<std::int32_t> orders;
  orders.reserve(written.size());
  for (const vaq::TVaqNotesString& r : written) orders.push_back(r.Order);
  TLiveItemNumbers numbers;
  for (const std::size_t i : TRuxMgr::OrderPermutation(std::move(orders))) {
    const vaq::TVaqNotesString& r = written[i];
    // A record without a value and tokens is not written (the form keeps its own value).
    const bool dropped = r.Curr.empty() && !r.Id.ends_with(']') && r.Open.empty() && r.Close.empty();
    if (const std::optional<std::string> live = dropped ? numbers.Skip() : numbers.LiveId(r)) {
      ids.ByPath.insert_or_assign(PlainPath(*live), r.Id);
    } else {
      ids.ByPath.emplace(PlainPath(r.Id), r.Id);
    }
  }
  for (std::string& id : unwritten) ids.ByPath.emplace(PlainPath(id), std::move(id));
  std::sort(tops.begin(), tops.end());
  for (auto& top : tops) ids.MenuBar.push_back(std::move(top.second));
  return ids;
}

// The live items get the Ids of the notes' records. Whether each item found its record: one that
// did not keeps its live Id, which may well name another record (a collection item numbered
// otherwise in the notes).
std::vector<bool> RenameIds(std::vector<TFitItem>& items, const TNotesIds& ids) {
  std::vector<bool> found(items.size(), false);
  std::size_t menu = 0;
  for (std::size_t i = 0; i < items.size(); ++i) {
    TFitItem& item = items[i];
    if (item.Kind == TRoomKind::MenuBarItem) {
      if (menu < ids.MenuBar.size()) {
        item.Id = ids.MenuBar[menu++];
        found[i] = true;
      }
      continue;
    }
    const auto it = ids.ByPath.find(PlainPath(item.Id));
    if (it != ids.ByPath.end()) {
      item.Id = it->second;
      found[i] = true;
    }
  }
  return found;
}

// A text value as the control of `Item` shows it: accelerator marks removed where it removes them.
std::optional<std::string> ShownText(const TFitItem& Item, const std::string& Value, vaq::TLCID Locale) {
  std::optional<std::string> text = vaq::values::DecodeStringUtf8(Value, Locale);
  if (!text) return text;
  const bool marks = Item.Kind != TRoomKind::Column && Item.Kind != TRoomKind::Panel;
  return marks ? Shown(vaq::Utf8ToUtf16(*text)) : *text;
}

// The original form's items when the translation changed nothing but texts: the original is laid
// out as the translated form, so each item is the translated one with the original text. Nothing
// when an item's record cannot be told for sure (the live text is not the record's current
// value); the original form is then built. `Found`: whether each item found its record.
std::optional<std::vector<TFitItem>> OriginalItems(std::vector<TFitItem> Items,
                                                   const std::vector<bool>& Found, const TNotesIds& Ids,
                                                   vaq::TLCID Source, vaq::TLCID Target) {
  for (std::size_t i = 0; i < Items.size(); ++i) {
    TFitItem& item = Items[i];
    const auto it = Found[i] ? Ids.Texts.find(vaq::AnsiLowerCase(item.Id)) : Ids.Texts.end();
    if (it == Ids.Texts.end()) {
      // No record: a text the control shows of its own (none at all, a default caption), the same
      // in the original; any other text comes from a record the Id does not find.
      if (item.Text.empty()) continue;
      return std::nullopt;
    }
    const std::optional<std::string> original = ShownText(item, it->second.first, Source);
    if (!original || ShownText(item, it->second.second, Target) != item.Text) return std::nullopt;
    item.Text = *original;
  }
  return Items;
}

}  // namespace

const QFontMetrics& TQtTextMeasure::Metrics(const checks::TFontSpec& Font) const {
  for (const auto& [font, metrics] : Metrics_)
    if (font == Font) return *metrics;
  Metrics_.emplace_back(Font, std::make_unique<QFontMetrics>(QtFont(Font)));
  return *Metrics_.back().second;
}

int TQtTextMeasure::Width(const std::string& Text, const checks::TFontSpec& Font) const {
  return Metrics(Font).horizontalAdvance(QString::fromStdString(Text));
}

int TQtTextMeasure::WrappedHeight(const std::string& Text, const checks::TFontSpec& Font, int Width) const {
  return Metrics(Font)
      .boundingRect(QRect(0, 0, std::max(Width, 1), 100000), Qt::TextWordWrap, QString::fromStdString(Text))
      .height();
}

std::vector<TFitItem> FitItemsOf(TForm& Form) {
  std::vector<TFitItem> items;
  const std::string root = "O:" + Form.Name();
  Walk(Form, root, items);
  if (QMenuBar* bar = Form.MenuBar()) {
    const QList<QAction*> actions = bar->actions();
    QFont font = bar->font();
    for (int i = 0; i < actions.size(); ++i) {
      TFitItem item;
      item.Id = "menu:" + std::to_string(i);  // renamed below from the menu's items
      item.Path = root;
      item.Class = "TMenuItem";
      item.Kind = TRoomKind::MenuBarItem;
      item.Text = Shown(actions[i]->text().toStdU16String());
      const QRect r = bar->actionGeometry(actions[i]);
      item.Bounds = {r.left(), r.top() - Form.MenuHeight(), r.width(), r.height()};
      item.Font = {font.family().toStdString(),
                   font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize(), font.bold(),
                   font.italic()};
      item.Row = root;
      item.RowWidth = Form.ClientWidth();
      items.push_back(std::move(item));
    }
  }
  return items;
}

std::vector<TFitItem> NotesFitItems(TForm& Form, const std::string& Notes) {
  std::vector<TFitItem> items = FitItemsOf(Form);
  RenameIds(items, IdsOf(vaq::LoadLines(Notes), Notes));
  return items;
}

QImage PictureWithOutlines(TForm& Form, const std::vector<checks::TFinding>& Findings) {
  QImage image = vaq::widgets::RenderForm(Form);
  QPainter painter(&image);
  painter.setPen(QPen(QColor(0xE0, 0x10, 0x10), 2));
  const QPoint origin(Form.BorderWidth(), Form.BorderWidth() + Form.CaptionHeight() + Form.MenuHeight());
  for (const checks::TFinding& finding : Findings) {
    if (!finding.Bounds) continue;
    const checks::TControlBounds& b = *finding.Bounds;
    painter.drawRect(QRect(b.Left, b.Top, b.Width, b.Height).translated(origin).adjusted(0, 0, -1, -1));
  }
  return image;
}

std::vector<checks::TFinding> CheckFitLive(const std::string& Notes,
                                           const std::vector<checks::TFinding>& Findings,
                                           const std::string& PngDir) {
  vaq::TFileStats stats;
  GetStats(vaq::ChangeFileExt(Notes, NoteExtToFileExt(vaq::ExtractFileExt(Notes))), false, stats);
  return CheckFitLive(Notes, vaq::LoadLines(Notes), stats, Findings, PngDir);
}

std::vector<checks::TFinding> CheckFitLive(const std::string& Notes, const std::vector<std::string>& Lines,
                                           const vaq::TFileStats& Stats,
                                           const std::vector<checks::TFinding>& Findings,
                                           const std::string& PngDir) {
  const std::string form = vaq::ChangeFileExt(Notes, NoteExtToFileExt(vaq::ExtractFileExt(Notes)));
  const bool picture = !PngDir.empty() && !Findings.empty();
  const TNotesIds ids = IdsOf(Lines, Notes);
  // Nothing translated: the translated form is the original form, and nothing can clip more than it
  // does there.
  if (!picture && !ids.Translated) return {};
  TRuxViewer& viewer = RuxViewer();
  viewer.DestroyForm(true);
  viewer.DestroyForm(false);
  // The forms are measured, never shown or designed; drawn only for a picture.
  struct TToMeasure {
    TRuxViewer& Viewer;
    bool WithDesigner = Viewer.WithDesigner;
    bool ToMeasure = Viewer.ToMeasure;
    ~TToMeasure() {
      Viewer.WithDesigner = WithDesigner;
      Viewer.ToMeasure = ToMeasure;
    }
  } toMeasure{viewer};
  viewer.WithDesigner = false;
  viewer.ToMeasure = PngDir.empty();
  viewer.CreateForm(form, false);
  TForm* translated = viewer.XlatForm();
  if (translated == nullptr) throw vaq::EVaqError("the live form cannot be built");
  const TQtTextMeasure measure;
  std::vector<TFitItem> xlatItems = FitItemsOf(*translated);
  const std::vector<bool> found = RenameIds(xlatItems, ids);
  // Most forms fit: the original is needed only to compare the texts that do not. A translation
  // of texts alone leaves the layout as it is: the original's items are the translated ones with
  // the original texts, and the original form is not built.
  std::vector<TFitItem> origItems;
  const std::vector<checks::TFitMeasure> measured = checks::MeasureFit(xlatItems, measure);
  if (std::any_of(measured.begin(), measured.end(),
                  [](const checks::TFitMeasure& m) { return m.Overflow() > 0; })) {
    std::optional<std::vector<TFitItem>> laidOut;
    if (!ids.LayoutChanged) {
      laidOut = OriginalItems(xlatItems, found, ids, vaq::StrToLCID(Stats.SourceLang),
                              vaq::StrToLCID(Stats.TargetLang));
    }
    if (laidOut) {
      origItems = std::move(*laidOut);
    } else {
      viewer.CreateForm(form, true);
      if (viewer.OrigForm() == nullptr) throw vaq::EVaqError("the live original form cannot be built");
      origItems = NotesFitItems(*viewer.OrigForm(), Notes);
    }
  }
  std::vector<checks::TFinding> fit = checks::CheckFit(Notes, xlatItems, origItems, measure);
  if (!PngDir.empty() && (!fit.empty() || !Findings.empty())) {
    fs::create_directories(PngDir);
    const std::string png = (fs::path(PngDir) / (fs::path(form).stem().string() + ".png")).string();
    if (!PictureWithOutlines(*translated, fit).save(QString::fromStdString(png), "PNG")) {
      throw vaq::EFileError("cannot write " + png);
    }
  }
  viewer.DestroyForm(true);
  viewer.DestroyForm(false);
  return fit;
}

int RunCheckDesktop(const vaq::Arguments& Args) {
  vaq::desktop::Application(true);
  vaq::widgets::PrepareApplication();
  RegisterFrameworkClasses();
  return RunCheck(
      Args, [](const std::string& Notes, const std::vector<std::string>& Lines, const vaq::TFileStats& Stats,
               const std::vector<checks::TFinding>& Findings,
               const std::string& PngDir) { return CheckFitLive(Notes, Lines, Stats, Findings, PngDir); });
}

}  // namespace rux
