// The application object.
#include "module/desktop/application.h"

#include <QApplication>
#include <QFont>

#include <cstdlib>
#include <memory>

namespace vaq::desktop {
namespace {

// The process's one application object and the arguments it keeps pointers to.
struct TApplicationState {
  int argc = 1;
  char name[4] = "vaq";
  char* argv[2] = {name, nullptr};
  std::unique_ptr<QApplication> app;
};

TApplicationState& State() {
  static TApplicationState state;
  return state;
}

bool HasDisplay() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 && *x11) || (wayland && *wayland);
}

}  // namespace

QApplication& Application(bool Offscreen) {
  TApplicationState& state = State();
  if (!state.app) {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (Offscreen || ((!platform || !*platform) && !HasDisplay())) {
      qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    state.app = std::make_unique<QApplication>(state.argc, state.argv);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(9);
    QApplication::setFont(font);
  }
  return *state.app;
}

bool HasApplication() {
  return State().app != nullptr;
}

void CloseApplication() {
  State().app.reset();
}

}  // namespace vaq::desktop
