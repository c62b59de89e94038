#include "framework/widgets/menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace vaq::widgets {

namespace {

std::vector<TMenuItem*> ItemsOf(const TComponent& Parent) {
  std::vector<TMenuItem*> items;
  for (TComponent* child : Parent.ChildComponents())
    if (auto* item = dynamic_cast<TMenuItem*>(child)) items.push_back(item);
  return items;
}

// Captions with the frameworks' accelerator marker "&" keep it: Qt uses the same marker.
QString ItemText(const TMenuItem& Item) {
  return QString::fromStdU16String(Item.Caption());
}

void FillMenu(const TMenuItem& Parent, QMenu* Menu) {
  for (TMenuItem* item : Parent.Items()) {
    if (!item->Visible()) continue;
    if (item->IsSeparator()) {
      Menu->addSeparator();
      continue;
    }
    if (!item->Items().empty()) {
      QMenu* sub = Menu->addMenu(ItemText(*item));
      sub->setEnabled(item->Enabled());
      FillMenu(*item, sub);
    } else {
      QAction* action = Menu->addAction(ItemText(*item));
      action->setEnabled(item->Enabled());
      if (const TValue* checked = item->Stored("checked")) {
        action->setCheckable(true);
        action->setChecked(BoolOf(*checked));
      }
      if (const TValue* shortcut = item->Stored("shortcut")) {
        // The frameworks' shortcut: a virtual key in the low byte, $2000 Shift, $4000 Ctrl, $8000 Alt.
        auto code = static_cast<int>(IntOf(*shortcut));
        int key = code & 0xFF;
        int qtKey = 0;
        if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
          qtKey = key;
        else if (key >= 0x70 && key <= 0x7B)
          qtKey = Qt::Key_F1 + (key - 0x70);
        else if (key == 0x2E)
          qtKey = Qt::Key_Delete;
        else if (key == 0x2D)
          qtKey = Qt::Key_Insert;
        if (qtKey) {
          int mods = 0;
          if (code & 0x2000) mods |= Qt::SHIFT;
          if (code & 0x4000) mods |= Qt::CTRL;
          if (code & 0x8000) mods |= Qt::ALT;
          action->setShortcut(QKeySequence(mods | qtKey));
        }
      }
    }
  }
}

}  // namespace

bool TMenuItem::Visible() const {
  const TValue* v = Stored("visible");
  return !v || BoolOf(*v);
}

bool TMenuItem::Enabled() const {
  const TValue* v = Stored("enabled");
  return !v || BoolOf(*v);
}

bool TMenuItem::IsSeparator() const {
  return Caption() == u"-";
}

std::vector<TMenuItem*> TMenuItem::Items() const {
  return ItemsOf(*this);
}

std::vector<TMenuItem*> TMenu::Items() const {
  return ItemsOf(*this);
}

std::u16string TMenu::DisplayText() const {
  std::u16string text;
  for (TMenuItem* item : Items()) {
    if (!text.empty()) text += u" | ";
    text += item->Caption();
  }
  return text;
}

void FillMenuBar(const TMenu& Menu, QMenuBar* Bar) {
  Bar->clear();
  for (TMenuItem* item : Menu.Items()) {
    if (!item->Visible()) continue;
    if (item->Items().empty()) {
      Bar->addAction(ItemText(*item))->setEnabled(item->Enabled());
    } else {
      QMenu* menu = Bar->addMenu(ItemText(*item));
      menu->setEnabled(item->Enabled());
      FillMenu(*item, menu);
    }
  }
}

}  // namespace vaq::widgets
