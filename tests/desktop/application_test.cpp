// The desktop commands' application object: quiet on standard error for a normal run without a
// desktop login, while Qt's real warnings still reach it.
#include "module/desktop/application.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QtGlobal>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace vaq::desktop {
namespace {

namespace fs = std::filesystem;

// TMPDIR pointed at a folder of the test's own, so that what the application leaves there shows.
class ScopedTempFolder {
 public:
  ScopedTempFolder() {
    if (const char* old = std::getenv("TMPDIR")) old_ = old;
    ::setenv("TMPDIR", dir_.Path().c_str(), 1);
  }
  ~ScopedTempFolder() {
    if (old_.empty()) {
      ::unsetenv("TMPDIR");
    } else {
      ::setenv("TMPDIR", old_.c_str(), 1);
    }
  }
  std::size_t Entries() const {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir_.Path()), fs::directory_iterator()));
  }
  const std::string& Path() const { return dir_.Path(); }

 private:
  testing::TempDir dir_;
  std::string old_;
};

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// Without XDG_RUNTIME_DIR the application makes a private runtime folder, removes it on closing,
// and Qt says nothing about it; the offscreen platform's size-hint warning is dropped, every other
// message passes unchanged, texts of other scripts included.
TEST(Application, QuietWithoutDesktopLoginButRealWarningsPass) {
  ScopedTempFolder temp;
  ::unsetenv("XDG_RUNTIME_DIR");
  ::testing::internal::CaptureStderr();
  Application(true);
  const std::string runtime = Environment("XDG_RUNTIME_DIR");
  qWarning("This plugin does not support propagateSizeHints()");
  const std::string startup = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(startup, "");
  ASSERT_FALSE(runtime.empty());
  EXPECT_EQ(fs::path(runtime).parent_path(), fs::path(temp.Path()));
  struct stat info {};
  ASSERT_EQ(::stat(runtime.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_EQ(info.st_uid, ::getuid());

  ::testing::internal::CaptureStderr();
  qWarning("Größe der Schaltfläche");  // Western (1252)
  qWarning("Размер кнопки");           // Cyrillic (1251)
  qCritical("ボタンの大きさ");         // Japanese (932)
  qWarning("This plugin does not support propagateSizeHints() for this window");
  const std::string warnings = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(warnings.find("Größe der Schaltfläche"), std::string::npos) << warnings;
  EXPECT_NE(warnings.find("Размер кнопки"), std::string::npos) << warnings;
  EXPECT_NE(warnings.find("ボタンの大きさ"), std::string::npos) << warnings;
  EXPECT_NE(warnings.find("for this window"), std::string::npos) << warnings;

  CloseApplication();
  EXPECT_FALSE(HasApplication());
  EXPECT_FALSE(fs::exists(runtime));
  EXPECT_EQ(Environment("XDG_RUNTIME_DIR"), "");
  EXPECT_EQ(temp.Entries(), 0u);
  // After closing, Qt's own handler is back: the harmless warning is printed again.
  ::testing::internal::CaptureStderr();
  qWarning("This plugin does not support propagateSizeHints()");
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("propagateSizeHints"), std::string::npos);
}

// A runtime folder the session names is used as it is and left in place.
TEST(Application, KeepsTheSessionsRuntimeFolder) {
  testing::TempDir session;
  ScopedTempFolder temp;
  ::chmod(session.Path().c_str(), 0700);
  ::setenv("XDG_RUNTIME_DIR", session.Path().c_str(), 1);
  ::testing::internal::CaptureStderr();
  Application(true);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(Environment("XDG_RUNTIME_DIR"), session.Path());
  CloseApplication();
  EXPECT_TRUE(fs::is_directory(session.Path()));
  EXPECT_EQ(Environment("XDG_RUNTIME_DIR"), session.Path());
  EXPECT_EQ(temp.Entries(), 0u);
  ::unsetenv("XDG_RUNTIME_DIR");
}

}  // namespace
}  // namespace vaq::desktop
