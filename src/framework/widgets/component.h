// The component model of the live forms: components with a name, an owner that owns them and a
// tag; controls that own one Qt widget each, with bounds, visibility, texts, font and colour, laid
// out by the frameworks' rules (Align, Anchors, AutoSize) computed here rather than by Qt layouts.
//
// Texts arrive as the binary form holds them: 8-bit text in the code page of the form's language,
// or wide text. A component remembers the thread locale at its construction (TextLocale) and shows
// its 8-bit texts decoded from that locale's code page; reading a text back gives the 8-bit text
// it was set with.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QPointer>
#include <QRect>
#include <QWidget>

#include "framework/widgets/graphics.h"
#include "framework/widgets/values.h"
#include "host/core/errors.h"
#include "host/core/types.h"
#include "host/framework/classes.h"

namespace vaq::widgets {

// A property that does not exist or a value that does not fit it.
class EPropertyError : public EVaqError {
 public:
  using EVaqError::EVaqError;
};

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };

class TControl;
class TForm;

class TComponent {
 public:
  // `Class` is the catalogue class (nullptr for a class the catalogue does not know);
  // `ClassName` the name the form gives it.
  TComponent(const TClassInfo* Class, std::string ClassName);
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  const std::string& Name() const { return Name_; }
  void SetName(std::string Name) { Name_ = std::move(Name); }
  std::int32_t Tag() const { return Tag_; }
  void SetTag(std::int32_t Tag) { Tag_ = Tag; }
  const std::string& ClassName() const { return ClassName_; }
  void SetClassName(std::string Name) { ClassName_ = std::move(Name); }
  // The catalogue class, or nullptr.
  const TClassInfo* ClassInfo() const { return Class_; }
  void SetClassInfo(const TClassInfo* Class) { Class_ = Class; }
  // The locale of the texts: the thread locale when the component was created.
  TLCID TextLocale() const { return TextLocale_; }
  // The root of a form takes the locale of the form it reads (it exists before).
  void SetTextLocale(TLCID Locale) { TextLocale_ = Locale; }
  // How the form last read names the component, the kind letter of its segment in notes Ids:
  // 'O' an object of that form, 'I' inherited (from an ancestor form, or from the own form of a
  // frame), 'L' an inline frame.
  char StreamKind() const { return StreamKind_; }
  void SetStreamKind(char Kind) { StreamKind_ = Kind; }
  // Marks every component this one owns, and theirs, as inherited: what an ancestor form or a
  // frame's own form created, before the form that uses them is read.
  void MarkOwnedInherited();

  // Ownership: an owner frees the components it owns, the newest first.
  TComponent* Owner() const { return Owner_; }
  TComponent* InsertComponent(std::unique_ptr<TComponent> Component);
  const std::vector<std::unique_ptr<TComponent>>& Components() const { return Components_; }
  // An owned component by name, case-insensitive; nullptr when there is none.
  TComponent* FindComponent(std::string_view Name) const;

  // The streaming parent: the component the form nests this one in (a control's parent, a menu
  // item's menu). Not ownership.
  TComponent* ParentComponent() const { return ParentComponent_; }
  const std::vector<TComponent*>& ChildComponents() const { return Children_; }
  // Nests `Child` in this component; controls also place its widget.
  virtual void InsertChild(TComponent* Child);
  // Whether `Child`'s kind may be nested here (controls in containers, items in menus).
  virtual bool AcceptsChild(const TComponent& Child) const;

  // Design state: the designer's controls do not act on input themselves.
  bool Designing() const { return Designing_; }
  virtual void SetDesigning(bool Value, bool Children = true);
  bool Loading() const { return Loading_; }
  void SetLoading(bool Value) { Loading_ = Value; }
  // Called once after the form has been read, children first.
  virtual void Loaded();

  virtual bool IsControl() const { return false; }
  // The form the component lives on, or nullptr.
  TForm* RootForm();

  // Sets a property (a dotted path such as "Font.Style" or "Items.Strings") without checking it
  // against the catalogue (properties.h does that). Values are kept, so every property reads back.
  void SetProperty(std::string_view Path, const TValue& Value);
  // The value of a property: the live value for those the component keeps itself (bounds,
  // visibility, texts), else the value last set; nothing for one never set.
  std::optional<TValue> GetProperty(std::string_view Path) const;
  // The value last set, by lower-case path.
  const TValue* Stored(std::string_view LowerPath) const;
  // Every value set, by lower-case path.
  const std::map<std::string, TValue>& StoredValues() const { return Values_; }

  // The text the component shows (caption, text, items, lines), UTF-16; empty when none.
  virtual std::u16string DisplayText() const;

 protected:
  // Applies a value to the live component; `LowerPath` is the path in lower case.
  virtual void ApplyProperty(const std::string& LowerPath, const TValue& Value);
  virtual std::optional<TValue> LiveProperty(const std::string& LowerPath) const;
  // A stored string property as shown (decoded with TextLocale).
  std::u16string StoredText(std::string_view LowerPath) const;
  // The strings of a stored list property ("items.strings"), as shown.
  std::vector<std::u16string> StoredStrings(std::string_view LowerPath) const;

 private:
  std::string Name_;
  std::string ClassName_;
  const TClassInfo* Class_;
  std::int32_t Tag_ = 0;
  char StreamKind_ = 'O';
  TLCID TextLocale_;
  TComponent* Owner_ = nullptr;
  std::vector<std::unique_ptr<TComponent>> Components_;
  TComponent* ParentComponent_ = nullptr;
  std::vector<TComponent*> Children_;
  bool Designing_ = false;
  bool Loading_ = false;
  std::map<std::string, TValue> Values_;
};

std::string LowerCase(std::string_view Text);
bool SameText(std::string_view A, std::string_view B);

class TControlEventFilter;

class TControl : public TComponent {
 public:
  // The control owns `Widget`.
  TControl(const TClassInfo* Class, std::string ClassName, QWidget* Widget);
  ~TControl() override;

  QWidget* Widget() const { return Widget_.data(); }
  // Where the widgets of nested controls go (the form's client area; a control's own widget).
  virtual QWidget* ClientWidget() const { return Widget(); }
  TControl* Parent() const { return Parent_; }
  const std::vector<TControl*>& Controls() const { return Controls_; }
  bool IsControl() const override { return true; }
  void InsertChild(TComponent* Child) override;
  bool AcceptsChild(const TComponent& Child) const override;
  // Whether nested controls are allowed (containers).
  virtual bool IsContainer() const { return false; }

  int Left() const { return Left_; }
  int Top() const { return Top_; }
  int Width() const { return Width_; }
  int Height() const { return Height_; }
  QRect BoundsRect() const { return QRect(Left_, Top_, Width_, Height_); }
  // Moves and sizes the control; its children are arranged again when its size changed.
  void SetBounds(int Left, int Top, int Width, int Height);
  // The area that aligned children fill, in the control's own coordinates.
  virtual QRect ClientRect() const { return QRect(0, 0, Width_, Height_); }
  int ClientWidth() const { return ClientRect().width(); }
  int ClientHeight() const { return ClientRect().height(); }
  virtual void SetClientSize(int Width, int Height);
  // The bounds in the client coordinates of the form.
  QRect FormRect() const;

  bool Visible() const { return Visible_; }
  void SetVisible(bool Value);
  // Visible and every parent visible (the form itself not counted).
  bool Showing() const;
  // Whether the control lets a nested control's widget show at all (a page control only its
  // active page), whatever the child's Visible.
  virtual bool ShowsChild(const TControl& Child) const { return (void)Child, true; }
  // Shows or hides the widget: Visible (or designing, where hidden controls show) and let by
  // the parent.
  void UpdateWidgetVisibility();
  bool Enabled() const { return Enabled_; }
  TAlign Align() const { return Align_; }
  unsigned Anchors() const { return Anchors_; }
  int TabOrder() const { return TabOrder_; }
  // The caption or text as shown, and as 8-bit text of TextLocale.
  std::u16string Caption() const;
  std::string Caption8() const;
  std::u16string Hint() const { return StoredText("hint"); }
  const TFontSpec& Font() const { return Font_; }
  bool ParentFont() const { return ParentFont_; }
  // The font the control draws with: its parent's while ParentFont is set.
  const TFontSpec& EffectiveFont() const;
  TColor Color() const;
  bool ParentColor() const { return ParentColor_; }
  bool AutoSize() const { return AutoSize_; }

  // Arranges the nested controls: anchors, then aligned controls in the frameworks' order.
  void Realign();
  // Takes the control's bounds and its parent's client size as the design the anchors keep.
  void RememberDesign();
  void Loaded() override;
  void SetDesigning(bool Value, bool Children = true) override;
  std::u16string DisplayText() const override;

  // Pushes texts, fonts and colours into the widget (after a change, or when the parent's font
  // or colour changed).
  virtual void UpdateView();

 protected:
  void ApplyProperty(const std::string& LowerPath, const TValue& Value) override;
  std::optional<TValue> LiveProperty(const std::string& LowerPath) const override;
  // The size AutoSize gives the control; nothing when it has none.
  virtual std::optional<QSize> AutoSizeExtent() const { return std::nullopt; }
  // Places the widget at the bounds (the form places its window differently).
  virtual void UpdateGeometry();
  // Called after the size changed, before the children are arranged.
  virtual void Resized() {}
  // Places nested controls that their container arranges itself (tab sheets, tool buttons); runs
  // at the end of every Realign.
  virtual void ArrangeOwn() {}
  // The default colour when Color was never set.
  virtual TColor DefaultColor() const { return clBtnFace; }
  // Whether the widget paints its background with Color (panels, forms, edits).
  virtual bool PaintsBackground() const { return false; }
  void ApplyAutoSize();
  void InstallEventFilter(QWidget* Widget);
  // Whether the control's form is built to be measured only (TForm::BuiltToMeasure): an edit's
  // text, a list's items and the like, which no measure reads, are left out of the widget.
  bool ContentsLeftOut() const;

 private:
  friend class TControlEventFilter;
  void ApplyFontAndColor();
  void ArrangeAnchored();
  void ArrangeAligned();

 protected:
  QPointer<QWidget> Widget_;
  std::unique_ptr<TControlEventFilter> Filter_;
  TControl* Parent_ = nullptr;
  std::vector<TControl*> Controls_;
  int Left_ = 0, Top_ = 0, Width_ = 0, Height_ = 0;
  bool Visible_ = true, Enabled_ = true;
  TAlign Align_ = TAlign::alNone;
  unsigned Anchors_ = akLeft | akTop;
  int TabOrder_ = -1;
  TFontSpec Font_;
  bool ParentFont_ = true;
  std::optional<TColor> Color_;
  bool ParentColor_ = false;
  bool AutoSize_ = false;
  bool Arranging_ = false;
  // The bounds and the parent's client size the anchors keep distances from.
  QRect DesignRect_;
  QSize DesignParentSize_;
  bool HasDesign_ = false;
};

// Reads the integer of a value that holds an integer, a colour name or a Boolean.
std::int64_t IntOf(const TValue& Value);
bool BoolOf(const TValue& Value);

}  // namespace vaq::widgets
