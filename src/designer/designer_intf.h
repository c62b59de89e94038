// The contract between the editor and the layout designer of the translated preview. The editor
// pushes grid edits into the live form through IVaqFormDesigner; the designer reports moves,
// resizes and selections back through the notifier the editor hands it each time the translated
// preview is shown. The designer holds the only reference to its notifier.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace rux {

struct TPoint {
  int X = 0;
  int Y = 0;
};

inline bool operator==(TPoint A, TPoint B) {
  return A.X == B.X && A.Y == B.Y;
}

// An object that answers its interfaces by their identities (`Iid`): the layout designer, asked
// by the viewer for the translated form's designer and options.
class IVaqInterfaces {
 public:
  virtual ~IVaqInterfaces() = default;
  // The interface of that identity, or nullptr.
  virtual void* QueryInterface(std::string_view Iid) = 0;
};

// The interface `I` of `Object`, or nullptr when it has none (or `Object` is nullptr).
template <class I>
I* Query(IVaqInterfaces* Object) {
  return Object ? static_cast<I*>(Object->QueryInterface(I::Iid)) : nullptr;
}

class IVaqFormDesignerNotifier {
 public:
  virtual ~IVaqFormDesignerNotifier() = default;
  // `Name` is the component path the designer builds: "O:" segments joined by "." without a final
  // "." (O:Form1.O:Panel1.O:Button1). Moved: the new left/top; resized: the new width/height.
  virtual void ComponentMoved(const std::string& Name, TPoint Point) = 0;
  virtual void ComponentResized(const std::string& Name, TPoint Point) = 0;
  virtual void ComponentSelected(const std::string& Name) = 0;
  // Why a move or resize of the control at `Name` could not be kept (its notes cannot take the new
  // values); empty when it can. The designer asks before it changes a control and leaves a refused
  // one where it is; the notifier tells the translator the reason.
  virtual std::string ChangeRefused(const std::string& Name) { return (void)Name, std::string(); }

  static constexpr std::string_view Iid = "{B8E5C07F-F2A5-455E-AB28-EDA83AA594DD}";
};

class IVaqFormDesigner {
 public:
  virtual ~IVaqFormDesigner() = default;
  virtual void SetNotifier(std::shared_ptr<IVaqFormDesignerNotifier> Notifier) = 0;
  // Applies a value to a property of a component of the translated preview, as a record of the
  // notes holds it. ObjectName: the component's path as the record's Id spells it
  // ("O:MainForm.L:AddressFrame1.I:lblStreet"), or its name alone (the form's stream name for the
  // form); PropPath: the record's property path ("Caption", "Font.Style", "Items.Strings[1]",
  // "Columns[0].Caption"); Value: the value in form-text notation, its strings in the code page of
  // the form's language ("'Datum'", "[akLeft, akTop]", "120"). Only that value changes: one list
  // element, one collection item's property.
  virtual void SetPropertyValue(const std::string& ObjectName, const std::string& PropPath,
                                const std::string& Value) = 0;
  // The class name of the control at a component path of this designer's notation (the form's for
  // the form's path); empty when there is none.
  virtual std::string ComponentClass(const std::string& Path) const { return (void)Path, std::string(); }

  static constexpr std::string_view Iid = "{04E6F276-1C38-4BD4-8C5F-F48473BA24CF}";
  // True while designing, false in test mode (the form behaves as at run time).
  virtual bool GetActive() const { return true; }
  // True leaves test mode, false enters it.
  virtual void SetActive(bool) {}
  // Selects the control of that component name; unknown names and non-controls are ignored.
  virtual void SelectComponent(const std::string&) {}
};

// The designer's options as the option page edits them.
class IVaqFormDesignerOptions {
 public:
  virtual ~IVaqFormDesignerOptions() = default;
  virtual void UpdateOptions() = 0;

  static constexpr std::string_view Iid = "{72222A10-F2A6-46F2-9C82-ACECDB26F7AA}";
  // The grid: dots shown, the position of the first grid line in the form's client area (it
  // follows the scroll position), the step in pixels, and snapping of mouse moves to it.
  virtual bool GetDisplayGrid() const = 0;
  virtual TPoint GetGridOffset() const = 0;
  virtual TPoint GetGridSize() const = 0;
  virtual bool GetSnapToGrid() const = 0;
  // These two repaint the form when the value changes.
  virtual void SetDisplayGrid(bool Value) = 0;
  virtual void SetGridSize(TPoint Value) = 0;
  virtual void SetSnapToGrid(bool Value) = 0;
};

}  // namespace rux
