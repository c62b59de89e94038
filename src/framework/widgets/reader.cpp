#include "framework/widgets/reader.h"

#include <set>
#include <vector>

#include "framework/widgets/factory.h"
#include "framework/widgets/properties.h"
#include "host/core/locale.h"

namespace vaq::widgets {

namespace {

class TComponentReader {
 public:
  TComponentReader(TFormReader& Reader, TComponent& Root, const TReaderHandlers& Handlers, bool Rename)
      : Reader_(Reader), Root_(Root), Handlers_(Handlers), Rename_(Rename) {}

  void Run() {
    Root_.SetLoading(true);
    Root_.SetTextLocale(VaqGetThreadLocale());
    Loading_.push_back(&Root_);
    try {
      Reader_.ReadSignature();
      std::uint8_t flags;
      std::int32_t position;
      Reader_.ReadPrefix(flags, position);
      std::string className = Reader_.ReadStr();
      std::string name = Reader_.ReadStr();
      if (Rename_) {
        Root_.SetStreamKind(KindOf(flags));
        Root_.SetClassName(className);
        if (!name.empty()) Root_.SetName(name);
      }
      ReadProperties(Root_);
      ReadChildren(Root_, 1);
    } catch (const EVaqError& error) {
      Finish();
      if (Raised_) throw;
      Error(error.what());
      return;
    }
    Finish();
  }

 private:
  void Error(const std::string& Message) {
    bool handled = false;
    if (Handlers_.OnError) Handlers_.OnError(Message, handled);
    if (!handled) {
      Raised_ = true;
      throw EReadError(Message);
    }
  }

  void ReadProperties(TComponent& Component) {
    while (!Reader_.EndOfList()) {
      std::string name = Reader_.ReadStr();
      TValue value = ReadPropertyValue(Reader_);
      try {
        CheckProperty(Component, name, &value);
        if (IsMethod(Component, name)) {
          bool error = true;
          if (Handlers_.OnFindMethod) Handlers_.OnFindMethod(value.Ident(), error);
          if (error) throw EPropertyError("Invalid property value");
        }
        Component.SetProperty(name, value);
      } catch (const EPropertyError& error) {
        // A property the class does not have (another version of the class, another framework's
        // Text of a button) is kept all the same, so that the texts it holds can be shown; a value
        // that does not fit a known property is not.
        if (!Known(Component, name)) Component.SetProperty(name, value);
        Error("Error reading " + Component.Name() + "." + name + ": " + error.what());
      }
    }
    Reader_.ReadListEnd();
  }

  // Whether the catalogue class of the component has the property at `Path` (its first name).
  static bool Known(const TComponent& Component, const std::string& Path) {
    return !Component.ClassInfo() || GetPropInfo(*Component.ClassInfo(), Path.substr(0, Path.find('.')));
  }

  static char KindOf(std::uint8_t Flags) {
    if (Flags & ffInline) return 'L';
    return (Flags & ffInherited) ? 'I' : 'O';
  }

  static bool IsMethod(const TComponent& Component, const std::string& Name) {
    if (!Component.ClassInfo() || Name.find('.') != std::string::npos) return false;
    const TPropInfo* prop = GetPropInfo(*Component.ClassInfo(), Name);
    return prop && prop->Kind == TTypeKind::tkMethod;
  }

  // Inline components (frames) own the components read inside them.
  TComponent& OwnerFor(TComponent& Parent) {
    for (TComponent* c = &Parent; c && c != &Root_; c = c->ParentComponent())
      if (InlineOwners_.count(c)) return *c;
    return Root_;
  }

  void ReadChildren(TComponent& Parent, int Depth) {
    if (Depth > kMaxFormNesting) throw EReadError("Components nested too deeply");
    while (!Reader_.EndOfList()) {
      std::uint8_t flags;
      std::int32_t position;
      Reader_.ReadPrefix(flags, position);
      std::string className = Reader_.ReadStr();
      std::string name = Reader_.ReadStr();
      TComponent& owner = OwnerFor(Parent);
      TComponent* component = nullptr;
      if (flags & (ffInherited | ffInline)) component = owner.FindComponent(name);
      bool created = false;
      if (!component) {
        component = Create(owner, className, name);
        created = true;
      }
      if (InLoading_.insert(component).second) {
        component->SetLoading(true);
        Loading_.push_back(component);
      }
      component->SetStreamKind(KindOf(flags));
      if (flags & ffInline) InlineOwners_.insert(component);
      if (component->ParentComponent() == nullptr && component != &Root_) Parent.InsertChild(component);
      if (created && (flags & ffInline) && !component->ClassInfo() && Handlers_.OnCreateInline)
        Handlers_.OnCreateInline(className, *component);
      ReadProperties(*component);
      ReadChildren(*component, Depth + 1);
    }
    Reader_.ReadListEnd();
  }

  TComponent* Create(TComponent& Owner, const std::string& ClassName, const std::string& Name) {
    const TClassInfo* cls = FindClass(ClassName);
    if (Handlers_.OnFindComponentClass) Handlers_.OnFindComponentClass(ClassName, cls);
    auto component = CreateComponent(cls, ClassName);
    component->SetName(Name);
    component->SetLoading(true);
    return Owner.InsertComponent(std::move(component));
  }

  static void RealignTree(TComponent& Component) {
    if (auto* control = dynamic_cast<TControl*>(&Component)) RealignControls(*control);
  }
  static void RealignControls(TControl& Control) {
    Control.Realign();
    for (TControl* child : Control.Controls()) RealignControls(*child);
  }

  // Loaded runs children first (in reverse reading order), then the layout top down.
  void Finish() {
    for (auto it = Loading_.rbegin(); it != Loading_.rend(); ++it)
      if (*it != &Root_) (*it)->Loaded();
    Root_.Loaded();
    RealignTree(Root_);
    Loading_.clear();
  }

  TFormReader& Reader_;
  TComponent& Root_;
  const TReaderHandlers& Handlers_;
  bool Rename_;
  std::vector<TComponent*> Loading_;
  std::set<TComponent*> InlineOwners_;
  std::set<TComponent*> InLoading_;
  bool Raised_ = false;
};

}  // namespace

void ReadRootComponent(TFormReader& Reader, TForm& Root, const TReaderHandlers& Handlers) {
  TComponentReader(Reader, Root, Handlers, true).Run();
}

void ReadComponentInto(TFormReader& Reader, TComponent& Target, const TReaderHandlers& Handlers) {
  TComponentReader(Reader, Target, Handlers, false).Run();
}

}  // namespace vaq::widgets
