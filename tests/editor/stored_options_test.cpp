// The editor's window options at shut-down: stored when they differ from the registry file (a
// missing value standing for its default), the file left alone when it already holds them, and a
// configuration folder that cannot be written reported once as a warning.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "editor/rux_form.h"
#include "host/core/errors.h"
#include "host/core/registry.h"
#include "support/temp_dir.h"

namespace rux {
namespace {

using vaq::testing::TempDir;

std::string Contents(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

ino_t Inode(const std::string& file) {
  struct stat info {};
  return ::stat(file.c_str(), &info) == 0 ? info.st_ino : 0;
}

TEST(StoredOptions, WrittenWhenTheyDifferAndOnlyThen) {
  const TempDir config(TempDir::kConfig);
  const std::string file = vaq::VaqRegistryFile();

  // No file yet and nothing changed: no file is made (a command without a window, an update say,
  // writes no window options).
  EditorStartup();
  EditorShutdown();
  EXPECT_EQ(Inode(file), 0u);

  // An option changed: the key is created with the three values.
  EditorStartup();
  bStayOnTop = true;
  EditorShutdown();
  const std::string first = Contents(file);
  EXPECT_NE(first.find("StayOnTop=bool:1\nShowOrigForm=bool:0\nShowXlatForm=bool:0\n"), std::string::npos)
      << first;

  // Nothing changed: the file is not replaced (a rename would give it another inode).
  const ino_t before = Inode(file);
  EditorStartup();
  EditorShutdown();
  EXPECT_EQ(Inode(file), before);
  EXPECT_EQ(Contents(file), first);

  // One value differs: the three are written, the rest of the file stays.
  {
    vaq::TRegistry registry;
    ASSERT_TRUE(registry.OpenKey("Software\\Vaq\\Translator\\RUX", false));
    registry.WriteString("Other", "kept");
  }
  EditorStartup();
  bShowXlatForm = true;
  EditorShutdown();
  const std::string changed = Contents(file);
  EXPECT_NE(changed.find("ShowXlatForm=bool:1"), std::string::npos) << changed;
  EXPECT_NE(changed.find("Other=str:kept"), std::string::npos) << changed;
}

TEST(StoredOptions, AFolderThatCannotBeWrittenIsOneWarning) {
  const TempDir dir;
  // A configuration folder below a plain file can never be created, not even by root.
  std::ofstream(dir / "file") << "x";
  ::setenv("VAQ_CONFIG_DIR", (dir / "file/config").c_str(), 1);
  auto sink = std::make_unique<vaq::CollectingSink>();
  const vaq::CollectingSink& messages = *sink;
  {
    const vaq::ScopedMessageSink scope(std::move(sink));
    EditorStartup();
    bShowOrigForm = true;
    EXPECT_NO_THROW(EditorShutdown());
    bShowOrigForm = false;
    EXPECT_TRUE(messages.Messages.empty());
    ASSERT_EQ(messages.Warnings.size(), 1u);
    EXPECT_NE(messages.Warnings[0].find("file/config"), std::string::npos) << messages.Warnings[0];
  }
  ::unsetenv("VAQ_CONFIG_DIR");
}

}  // namespace
}  // namespace rux
