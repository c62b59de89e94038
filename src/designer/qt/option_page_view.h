// The layout designer's page in the core's options dialog: display grid, snap to grid and the grid
// size, as controls bound to the core's option set and laid out as FormDesignerOptionPageLayout
// says. When the dialog was accepted, destroying the page hands the new values to the open
// designer; a cancelled dialog leaves it as it was.
#pragma once

#include <functional>

#include <QWidget>

#include "designer/option_page.h"

namespace rux {

// The page's name in the dialog's list of pages.
constexpr const char* kDesignerOptionPageName = "Form Designer";

class TfrmVaqFormDesignerOptionPage : public QWidget {
 public:
  // `UpdateDesigner` copies the options into the open designer (the viewer's UpdateDesignerOptions).
  TfrmVaqFormDesignerOptionPage(QWidget* Parent, std::function<void()> UpdateDesigner);
  ~TfrmVaqFormDesignerOptionPage() override;

 private:
  TFormDesignerOptionPage Logic_;
};

// Registers the page with the core's options dialog, and removes it (the module's start-up and
// shut-down).
void RegisterDesignerOptionPage(std::function<void()> UpdateDesigner);
void UnregisterDesignerOptionPage();

}  // namespace rux
