// The contract between the editor and the layout designer of the translated preview: the designer
// (`IVaqFormDesigner`) and its grid options (`IVaqFormDesignerOptions`), both implemented by
// TVaqFormDesigner, and the notifier (`IVaqFormDesignerNotifier`) through which the designer
// reports moves, resizes and selections to the editor. Each interface carries its identity, so
// that an object can be asked for it (`Query<I>`), as the viewer asks the translated form.
//
// Paths are component paths: "O:" and the form's stream name, then "." "O:" and the name of each
// control from the outermost parent below the form down to the control (O:frmMain.O:Panel1.O:Button1);
// the form itself is "O:frmMain".
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "designer/geometry.h"

namespace rux {

// The root of the designer's interfaces: answers the interface of an identity, or nullptr.
class IVaqUnknown {
 public:
  virtual ~IVaqUnknown() = default;
  virtual IVaqUnknown* QueryInterface(std::string_view Iid) = 0;
};

// The interface `I` of `Object`, or nullptr when it has none (or `Object` is nullptr).
template <class I>
I* Query(IVaqUnknown* Object) {
  return Object ? static_cast<I*>(Object->QueryInterface(I::Iid)) : nullptr;
}

class IVaqFormDesignerNotifier : public IVaqUnknown {
 public:
  static constexpr std::string_view Iid = "{B8E5C07F-F2A5-455E-AB28-EDA83AA594DD}";
  // The control at `Path` gets Left = Position.X, Top = Position.Y.
  virtual void ComponentMoved(const std::string& Path, TPoint Position) = 0;
  // The control at `Path` gets Width = Size.X, Height = Size.Y.
  virtual void ComponentResized(const std::string& Path, TPoint Size) = 0;
  // The control at `Path`, or the form, became the selection.
  virtual void ComponentSelected(const std::string& Path) = 0;
};

class IVaqFormDesigner : public IVaqUnknown {
 public:
  static constexpr std::string_view Iid = "{04E6F276-1C38-4BD4-8C5F-F48473BA24CF}";
  // True while designing, false in test mode.
  virtual bool GetActive() const = 0;
  // True leaves test mode, false enters it.
  virtual void SetActive(bool Value) = 0;
  // Where changes are reported from now on; the designer holds the only reference. nullptr stops
  // reporting.
  virtual void SetNotifier(std::unique_ptr<IVaqFormDesignerNotifier> Notifier) = 0;
  // Selects the control of that component name; unknown names and non-controls are ignored.
  virtual void SelectComponent(const std::string& Name) = 0;
  // Sets a property of the form (`ObjectName` is its stream name) or of one of its components
  // from value text (Hello, 120, alClient). An unknown object or property, or a value the
  // property cannot take, is ignored.
  virtual void SetPropertyValue(const std::string& ObjectName, const std::string& PropName,
                                const std::string& Value) = 0;
};

class IVaqFormDesignerOptions : public IVaqUnknown {
 public:
  static constexpr std::string_view Iid = "{72222A10-F2A6-46F2-9C82-ACECDB26F7AA}";
  virtual bool GetDisplayGrid() const = 0;
  // Where the first grid line lies in the form's client area; follows the scroll position.
  virtual TPoint GetGridOffset() const = 0;
  virtual TPoint GetGridSize() const = 0;
  virtual bool GetSnapToGrid() const = 0;
  // These two repaint the form when the value changes.
  virtual void SetDisplayGrid(bool Value) = 0;
  virtual void SetGridSize(TPoint Value) = 0;
  virtual void SetSnapToGrid(bool Value) = 0;
};

}  // namespace rux
