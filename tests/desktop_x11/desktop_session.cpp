#include "desktop_session.h"

#include <unistd.h>

#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <atomic>
#include <cstdlib>

#include "core/views/grid_model.h"
#include "editor/editor_viewer.h"
#include "editor/views/rux_editor_window.h"
#include "module/module.h"
#include "notes/column_table.h"
#include "viewer/viewer.h"

namespace rux::x11 {

namespace fs = std::filesystem;

bool WaitFor(const std::function<bool()>& Condition, int Milliseconds) {
  return QTest::qWaitFor(Condition, Milliseconds);
}

::testing::AssertionResult ShowAndExpose(QWidget& Window) {
  Window.show();
  Window.raise();
  Window.activateWindow();
  if (!QTest::qWaitForWindowExposed(&Window, 10000))
    return ::testing::AssertionFailure() << Window.objectName().toStdString() << " was not exposed";
  // Keys sent before the X server gave the window the input focus would go nowhere.
  if (!QTest::qWaitForWindowActive(&Window, 10000))
    return ::testing::AssertionFailure() << Window.objectName().toStdString() << " did not become active";
  return ::testing::AssertionSuccess();
}

bool HasXdotool() {
  static const bool has =
      QProcess::execute(QStringLiteral("sh"),
                        {QStringLiteral("-c"), QStringLiteral("command -v xdotool xmodmap")}) == 0;
  return has;
}

int Xdotool(const std::vector<std::string>& Arguments) {
  QStringList arguments;
  for (const std::string& argument : Arguments) arguments << QString::fromStdString(argument);
  // The event loop keeps running while xdotool works: a character that no key of the keyboard map
  // gives is typed through a key mapped to it for a moment, and Qt must read the key while that
  // mapping holds.
  QProcess process;
  process.start(QStringLiteral("xdotool"), arguments);
  if (!process.waitForStarted(5000)) return -1;
  while (process.state() != QProcess::NotRunning) QTest::qWait(5);
  QTest::qWait(50);
  return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

void TypeThroughX(const std::string& Utf8) {
  // Key codes 200 and up hold no key of the server's default map that the tests use.
  QStringList bindings;
  int keycode = 200;
  const std::u32string text = QString::fromStdString(Utf8).toStdU32String();
  std::u32string bound;
  for (const char32_t c : text) {
    if (c < 0x80 || bound.find(c) != std::u32string::npos || keycode > 254) continue;
    bound.push_back(c);
    bindings << QStringLiteral("-e")
             << QStringLiteral("keycode %1 = U%2").arg(keycode++).arg(c, 4, 16, QChar(u'0'));
  }
  if (!bindings.isEmpty()) {
    EXPECT_EQ(QProcess::execute(QStringLiteral("xmodmap"), bindings), 0) << "xmodmap " << Utf8;
    QTest::qWait(200);  // Qt reads the new keyboard map
  }
  EXPECT_EQ(Xdotool({"type", "--delay", "40", Utf8}), 0) << "xdotool type " << Utf8;
}

void TypeWithQt(QWidget& Widget, const QString& Text) {
  for (qsizetype i = 0; i < Text.size(); ++i) {
    const qsizetype length = Text.at(i).isHighSurrogate() && i + 1 < Text.size() ? 2 : 1;
    QTest::sendKeyEvent(QTest::Click, &Widget, Qt::Key_unknown, Text.mid(i, length), Qt::NoModifier);
    i += length - 1;
  }
}

void KeyThroughX(const std::string& Key) {
  EXPECT_EQ(Xdotool({"key", Key}), 0) << "xdotool key " << Key;
}

namespace {

// The pointer to a point of `Widget`, and a moment for the X server to get it there. (xdotool's
// --sync waits for a motion, for many seconds when the pointer is there already.)
std::vector<std::string> PointerAt(QWidget& Widget, QPoint At) {
  const QPoint global = Widget.mapToGlobal(At);
  return {"mousemove", std::to_string(global.x()), std::to_string(global.y()), "sleep", "0.03"};
}

}  // namespace

void ClickThroughX(QWidget& Widget, QPoint At) {
  std::vector<std::string> arguments = PointerAt(Widget, At);
  arguments.insert(arguments.end(), {"click", "1"});
  EXPECT_EQ(Xdotool(arguments), 0) << "xdotool click";
  QTest::qWait(50);
}

void DragThroughX(QWidget& Widget, QPoint From, QPoint To) {
  std::vector<std::string> arguments = PointerAt(Widget, From);
  arguments.insert(arguments.end(), {"mousedown", "1", "sleep", "0.05"});
  constexpr int kSteps = 5;
  for (int i = 1; i <= kSteps; ++i) {
    const QPoint step = From + (To - From) * i / kSteps;
    for (const std::string& argument : PointerAt(Widget, step)) arguments.push_back(argument);
  }
  arguments.insert(arguments.end(), {"mouseup", "1"});
  EXPECT_EQ(Xdotool(arguments), 0) << "xdotool drag";
  QTest::qWait(50);
}

void FocusThroughX(QWidget& Window) {
  EXPECT_EQ(Xdotool({"windowfocus", "--sync", std::to_string(Window.winId())}), 0) << "xdotool windowfocus";
  WaitFor([&] { return QApplication::activeWindow() == &Window; }, 2000);
}

void ClickCell(QAbstractItemView& View, const QModelIndex& Index) {
  View.scrollTo(Index);
  QTest::mouseClick(View.viewport(), Qt::LeftButton, {}, View.visualRect(Index).center());
}

void Picture(QWidget& Widget, const std::string& Name) {
  const QByteArray folder = qgetenv("VAQ_X11_PICTURES");
  if (folder.isEmpty()) return;
  fs::create_directories(folder.toStdString());
  const QString file =
      QString::fromLocal8Bit(folder) + u'/' + QString::fromStdString(Name) + QStringLiteral(".png");
  QTest::qWait(150);  // what changed last is painted
  // The screen as the X server shows it: the window with the windows over it (dialogs, previews).
  QScreen* screen = QGuiApplication::primaryScreen();
  QPixmap picture = screen ? screen->grabWindow(0) : Widget.grab();
  picture.save(file, "PNG");
}

void DesktopSession::SetUp() {
  static std::atomic<int> counter{0};
  dir_ =
      fs::temp_directory_path() / ("vaq-x11-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  fs::remove_all(dir_);
  fs::create_directories(dir_);
  fs::copy(fs::path(VAQ_TESTS_SOURCE_DIR) / ".." / "examples" / "demo", dir_ / "project",
           fs::copy_options::recursive);
  ::setenv("VAQ_CONFIG_DIR", (dir_ / "config").c_str(), 1);
  QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
  ModuleStartup();
  ViewerStartup();  // the real viewer behind the editor's preview actions
}

void DesktopSession::TearDown() {
  window_.reset();
  ViewerShutdown();
  ModuleShutdown();
  ::unsetenv("VAQ_CONFIG_DIR");
  fs::remove_all(dir_);
}

void DesktopSession::Update(const std::string& Tag) {
  const std::string command =
      "\"" VAQ_BUILD_DIR "/vaq\" update \"" + Project() + "\" --lang " + Tag + " --quiet";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  ASSERT_TRUE(fs::exists(Lang(Tag, "MainForm.ruz")));
}

void DesktopSession::Open(const std::string& Tag, const std::string& Form) {
  window_ = views::CreateRuxEditorWindow(Logic());
  window_->SetFiles(Lang(Tag), views::ListFormFiles(Lang(Tag)));
  window_->resize(900, 600);
  window_->move(0, 0);
  ASSERT_TRUE(ShowAndExpose(*window_));
  ASSERT_TRUE(window_->OpenFile(Lang(Tag, Form)));
}

std::string DesktopSession::Project(const std::string& Name) const {
  return (dir_ / "project" / Name).string();
}

std::string DesktopSession::Lang(const std::string& Tag, const std::string& Name) const {
  return (dir_ / "project" / Tag / Name).string();
}

TfrmVaqRuxForm& DesktopSession::Logic() const {
  return *frmVaqForm();
}

QModelIndex DesktopSession::Cell(const std::string& Id, vaq::TVaqAllColId Column) const {
  const int idColumn = Logic().EnumToCol(ColId);
  for (int r = Logic().VaqGrid.FixedRows(); r < Logic().VaqGrid.RowCount(); ++r) {
    if (Logic().VaqGrid.Cell(idColumn, r) == Id)
      return window_->Model()->IndexOf(Logic().EnumToCol(Column), r);
  }
  ADD_FAILURE() << "no row " << Id;
  return {};
}

}  // namespace rux::x11
