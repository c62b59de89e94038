// The desktop tests on a real X server: the xcb platform, windows that are mapped and exposed, key
// and mouse events through Qt's event loop and through the X server (xdotool). The display is the
// CTest fixture's Xvfb (its number in the file $VAQ_X11_DISPLAY_FILE), else $DISPLAY; without
// either the program exits with 77, which CTest counts as skipped.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "framework/widgets/render.h"

namespace {

// ":N" from the fixture's file, else the environment's display; empty when there is none.
std::string DisplayName() {
  if (const char* file = std::getenv("VAQ_X11_DISPLAY_FILE"); file && *file) {
    std::ifstream in(file);
    std::string number;
    if (in >> number) return ":" + number;
  }
  const char* display = std::getenv("DISPLAY");
  return display ? display : "";
}

// Whether the X server of a local display ":N" takes connections (its socket exists); a display
// of another form is tried as it is.
bool Reachable(const std::string& display) {
  if (display.size() < 2 || display[0] != ':') return !display.empty();
  const std::string number =
      display.substr(1, display.find('.') == std::string::npos ? std::string::npos : display.find('.') - 1);
  return std::filesystem::exists("/tmp/.X11-unix/X" + number);
}

}  // namespace

int main(int argc, char** argv) {
  bool listing = false;
  for (int i = 1; i < argc; ++i) listing = listing || std::strcmp(argv[i], "--gtest_list_tests") == 0;
  ::testing::InitGoogleTest(&argc, argv);
  // Listing the tests (at build time) needs no display.
  if (listing) return RUN_ALL_TESTS();

  const std::string display = DisplayName();
  if (!Reachable(display)) {
    std::fprintf(stderr, "no X display (start one with tests/x11/xvfb.sh or set DISPLAY): skipped\n");
    return 77;
  }
  ::setenv("DISPLAY", display.c_str(), 1);
  qputenv("QT_QPA_PLATFORM", "xcb");
  QApplication app(argc, argv);
  vaq::widgets::PrepareApplication();
  return RUN_ALL_TESTS();
}
