#include "framework/widgets/factory.h"

#include "framework/widgets/controls.h"
#include "framework/widgets/factory_internal.h"
#include "framework/widgets/form.h"
#include "framework/widgets/menus.h"

namespace vaq::widgets {

namespace {

const TFactoryTable& Table() {
  static const TFactoryTable table = [] {
    TFactoryTable t;
    RegisterBasicControls(t);
    RegisterComplexControls(t);
    t["TMenu"] = [](const TClassInfo* c, const std::string& n) { return std::make_unique<TMenu>(c, n); };
    t["TMenuItem"] = [](const TClassInfo* c, const std::string& n) {
      return std::make_unique<TMenuItem>(c, n);
    };
    return t;
  }();
  return table;
}

class TPlainControl : public TPaintedControl {
 public:
  TPlainControl(const TClassInfo* Class, std::string ClassName)
      : TPaintedControl(Class, std::move(ClassName), 100, 50) {}
  bool IsContainer() const override { return true; }

 protected:
  void Paint(QPainter&) override {}
};

}  // namespace

bool IsControlClass(const TClassInfo& Class) {
  return InheritsFrom(Class, "TControl");
}

std::unique_ptr<TComponent> CreateComponent(const TClassInfo* Class, const std::string& ClassName) {
  if (!Class) return std::make_unique<TPlaceholder>(ClassName);
  const auto& table = Table();
  for (const TClassInfo* c = Class; c; c = c->Parent) {
    auto it = table.find(c->Name);
    if (it != table.end()) return it->second(Class, ClassName);
  }
  if (IsControlClass(*Class)) return std::make_unique<TPlainControl>(Class, ClassName);
  return std::make_unique<TComponent>(Class, ClassName);
}

}  // namespace vaq::widgets
