// The application object.
#include "module/desktop/application.h"

#include <QApplication>
#include <QFont>
#include <QString>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

namespace vaq::desktop {
namespace {

// What Qt's offscreen platform says whenever a window is shown; it means nothing to our users.
constexpr const char* kHarmlessWarning = "This plugin does not support propagateSizeHints()";

// A runtime folder of the process's own while the session has none (no desktop login): Qt wants
// one and says so on standard error otherwise. Made 0700 under the temporary folder and removed
// with the application; a folder the session names is left alone.
class TRuntimeDir {
 public:
  TRuntimeDir() {
    const char* given = std::getenv("XDG_RUNTIME_DIR");
    if (given && *given) return;
    std::error_code error;
    std::filesystem::path temp = std::filesystem::temp_directory_path(error);
    if (error) temp = "/tmp";
    std::string pattern = (temp / "vaq-runtime-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) return;  // Qt then picks one itself, and says so
    path_ = pattern;
    ::setenv("XDG_RUNTIME_DIR", path_.c_str(), 1);
  }
  ~TRuntimeDir() {
    if (path_.empty()) return;
    ::unsetenv("XDG_RUNTIME_DIR");
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  TRuntimeDir(const TRuntimeDir&) = delete;
  TRuntimeDir& operator=(const TRuntimeDir&) = delete;

 private:
  std::string path_;
};

// The process's one application object and what goes with it. Members are destroyed in reverse
// order: the application before the runtime folder it may use.
struct TApplicationState {
  int argc = 1;
  char name[4] = "vaq";
  char* argv[2] = {name, nullptr};
  std::unique_ptr<TRuntimeDir> runtimeDir;
  // The handler that was installed before ours; every message but the harmless one goes to it.
  QtMessageHandler previousHandler = nullptr;
  std::unique_ptr<QApplication> app;
};

TApplicationState& State() {
  static TApplicationState state;
  return state;
}

void FilterMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtWarningMsg && message == QLatin1String(kHarmlessWarning)) return;
  if (const QtMessageHandler previous = State().previousHandler) previous(type, context, message);
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
    state.runtimeDir = std::make_unique<TRuntimeDir>();
    // Qt answers its own default handler when none was installed.
    state.previousHandler = qInstallMessageHandler(FilterMessages);
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
  TApplicationState& state = State();
  if (!state.app) return;
  state.app.reset();
  qInstallMessageHandler(state.previousHandler);
  state.previousHandler = nullptr;
  state.runtimeDir.reset();
}

}  // namespace vaq::desktop
