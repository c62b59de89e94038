// Menus: main and popup menus with their items. A main menu shows as the form's menu bar; popup
// menus, like every non-visual component, show nothing.
#pragma once

#include <string>

#include "framework/widgets/component.h"

class QMenuBar;
class QMenu;

namespace vaq::widgets {

class TMenuItem : public TComponent {
 public:
  using TComponent::TComponent;
  std::u16string Caption() const { return StoredText("caption"); }
  std::u16string DisplayText() const override { return Caption(); }
  bool Visible() const;
  bool Enabled() const;
  bool IsSeparator() const;
  // The items nested in this one.
  std::vector<TMenuItem*> Items() const;
};

class TMenu : public TComponent {
 public:
  using TComponent::TComponent;
  std::vector<TMenuItem*> Items() const;
  std::u16string DisplayText() const override;
};

// Fills `Bar` with the items of `Menu`, sub-menus and all.
void FillMenuBar(const TMenu& Menu, QMenuBar* Bar);

}  // namespace vaq::widgets
