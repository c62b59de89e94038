#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/text.h"

namespace vaq {
namespace {

TEST(Format, FillsPlacesInOrder) {
  EXPECT_EQ(Format("Invalid record #%d - Object out of sync: %s", {3, "O:Form1.O:A"}),
            "Invalid record #3 - Object out of sync: O:Form1.O:A");
  EXPECT_EQ(Format("100%% of %s", {std::string("x")}), "100% of x");
  EXPECT_EQ(Format("%s and %s", {"one"}), "one and ");
  EXPECT_EQ(Format("%d", {"text"}), "text");
  EXPECT_EQ(Format("%x %", {1}), "%x %");
}

TEST(FileNames, PartsWithBothSeparators) {
  EXPECT_EQ(ExtractFileExt("C:\\p\\Unit1.RUX"), ".RUX");
  EXPECT_EQ(ExtractFileExt("/a.b/file"), "");
  EXPECT_EQ(ExtractFileName("/a/b/Main.gox"), "Main.gox");
  EXPECT_EQ(ExtractFilePath("C:\\p\\Unit1.rux"), "C:\\p\\");
  EXPECT_EQ(ChangeFileExt("/a.b/file", ".ruz"), "/a.b/file.ruz");
  EXPECT_EQ(ChangeFileExt("/a/form.rux", ".ERR_RUX"), "/a/form.ERR_RUX");
  EXPECT_EQ(IncludeTrailingPathDelimiter("de"), "de/");
  EXPECT_EQ(IncludeTrailingPathDelimiter("de/"), "de/");
}

TEST(Lines, EveryLineBreakEndsALine) {
  EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
  EXPECT_TRUE(SplitLines("").empty());
}

class Files : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("vaq-files-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all);
    std::filesystem::remove_all(dir_);
  }
  std::string Path(const char* name) const { return (dir_ / name).string(); }
  std::filesystem::path dir_;
};

TEST_F(Files, SavedLinesEndInCrLfAndLoadBack) {
  const std::vector<std::string> lines = {"/* ID:x\004 */", "", "second"};
  SaveLines(Path("n.ruz"), lines);
  EXPECT_EQ(ReadFileBytes(Path("n.ruz")), "/* ID:x\004 */\r\n\r\nsecond\r\n");
  EXPECT_EQ(LoadLines(Path("n.ruz")), lines);
}

TEST_F(Files, FailedReplaceKeepsTheOldFile) {
  SaveLines(Path("n.ruz"), {"old"});
  // A read-only folder: the temporary file cannot be created, so the write fails before the old
  // file is touched. (Root ignores permissions, so the test also tries a target that is a folder.)
  std::filesystem::create_directory(dir_ / "blocked.ruz");
  EXPECT_THROW(WriteFileAtomic(Path("blocked.ruz"), "new"), EFileError);
  EXPECT_TRUE(std::filesystem::is_directory(dir_ / "blocked.ruz"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 2) << "no temporary file is left";
  EXPECT_EQ(LoadLines(Path("n.ruz")), std::vector<std::string>{"old"});
}

TEST_F(Files, ErrorsNameTheFile) {
  try {
    ReadFileBytes(Path("missing.ruz"));
    FAIL();
  } catch (const EFileError& error) {
    EXPECT_NE(std::string(error.what()).find("missing.ruz"), std::string::npos);
  }
}

TEST_F(Files, CopyAndDelete) {
  SaveLines(Path("a.rux"), {"x"});
  CopyFile(Path("a.rux"), Path("b.rux"));
  EXPECT_TRUE(FileExists(Path("b.rux")));
  EXPECT_TRUE(DeleteFile(Path("b.rux")));
  EXPECT_FALSE(DeleteFile(Path("b.rux")));
  EXPECT_THROW(CopyFile(Path("none.rux"), Path("c.rux")), EFileError);
  ForceDirectories(Path("de/sub/deeper"));
  EXPECT_TRUE(std::filesystem::is_directory(dir_ / "de/sub/deeper"));
}

}  // namespace
}  // namespace vaq
