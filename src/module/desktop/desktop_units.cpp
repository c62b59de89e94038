// The desktop units' start-up and shut-down, and the table of the desktop commands' work.
#include "module/desktop/desktop_units.h"

#include <functional>
#include <string_view>
#include <utility>
#include <vector>

#include "designer/qt/option_page_view.h"
#include "editor/editor_viewer.h"
#include "module/desktop/application.h"
#include "module/desktop/edit_command.h"
#include "module/desktop/check_live.h"
#include "module/desktop/preview_command.h"
#include "module/desktop_commands.h"
#include "viewer/viewer.h"

namespace rux {
namespace {

using RunFunction = std::function<int(const vaq::Arguments&)>;

bool Started = false;

// The work of a desktop command, by name; a command missing here says that it cannot run.
RunFunction RunOf(std::string_view name) {
  static const std::vector<std::pair<std::string_view, RunFunction>> runs = {
      {"preview", RunPreview},
      {"edit", RunEdit},
      {"check", RunCheckDesktop},
  };
  for (const auto& [command, run] : runs) {
    if (command == name) return run;
  }
  return {};
}

}  // namespace

void DesktopStartup() {
  if (Started) return;
  Started = true;
  ViewerStartup();  // also the editor's way to the preview
  RegisterDesktopCommands(RunOf);
  // Last of the start-up: the designer's page in the options dialog.
  RegisterDesignerOptionPage([] { EditorViewer().UpdateDesignerOptions(); });
}

void DesktopShutdown() {
  if (!Started) return;
  Started = false;
  UnregisterDesignerOptionPage();
  // Back to the announcements of the plain start-up, which the module's shut-down removes.
  RegisterDesktopCommands([](std::string_view) { return RunFunction(); });
  // The live forms go before the application object.
  ViewerShutdown();
  vaq::desktop::CloseApplication();
}

}  // namespace rux
