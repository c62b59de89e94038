#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "host/core/conversions.h"
#include "host/core/files.h"
#include "host/core/notes_header.h"

namespace vaq {
namespace {

class NotesHeader : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("vaq-header-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Path(const char* name) const { return (dir_ / name).string(); }

  // Stats of a file holding `text`, read with the delimiters the module passes.
  TFileStats Read(const std::string& text, bool expectHeader) {
    WriteFileAtomic(Path("n.ruz"), text);
    TFileStats stats;
    stats.Translated = 99;  // must be reset
    EXPECT_EQ(GetStats(Path("n.ruz"), "/*", "*/", stats), expectHeader);
    return stats;
  }
  std::filesystem::path dir_;
};

const TFileStats kExample{"VAQ 1", 46362.5, 46360.25, 46362.5, 12, 3, "en-US", "de-DE", "Base.rux;Frame.rux"};
const std::string kLine1 =
    "/*VAQ: Format:VAQ 1\004NoteDate:46362.5\004OrigFormDate:46360.25\004FormDate:46362.5"
    "\004Translated:12\004Untranslated:3\004 */";
const std::string kLine2 = "/*VAQ: Source:en-US\004Target:de-DE\004Forms:Base.rux;Frame.rux\004 */";

TEST_F(NotesHeader, FormatPinsTheBytesOfBothLines) {
  EXPECT_EQ(FormatNotesHeader(kExample), (std::vector<std::string>{kLine1, kLine2}));
  EXPECT_EQ(FormatNotesHeader(TFileStats{})[0],
            "/*VAQ: Format:VAQ 1\004NoteDate:-1.0\004OrigFormDate:-1.0\004FormDate:-1.0"
            "\004Translated:0\004Untranslated:0\004 */");
}

TEST_F(NotesHeader, RoundTripKeepsAllNineFields) {
  const TFileStats cases[] = {
      kExample,
      {"VAQ 1", -1.0, -1.0, -1.0, 0, 0, "", "", ""},
      {"VAQ 0", 46362.123456789, 0.0, -693593.0, 2147483647, -5, "$0407", "sr-Latn-RS", "a b.rux;c.rux"},
  };
  for (const TFileStats& stats : cases) {
    SCOPED_TRACE(stats.SourceLang + "/" + stats.TargetLang);
    std::vector<std::string> lines = FormatNotesHeader(stats);
    lines.push_back("/* ID:Form1.Caption\004Orig:x\004 */");
    SaveLines(Path("n.ruz"), lines);
    TFileStats read;
    EXPECT_TRUE(GetStats(Path("n.ruz"), "/*", "*/", read));
    EXPECT_EQ(read, stats);
  }
}

TEST_F(NotesHeader, BytesThatWouldSplitAFieldOrLineAreDropped) {
  TFileStats stats = kExample;
  stats.FormFiles = "Base.rux;\004Tar\rget:\nx.rux";
  stats.TargetLang = "de\004-DE";
  const auto lines = FormatNotesHeader(stats);
  EXPECT_EQ(lines[1], "/*VAQ: Source:en-US\004Target:de-DE\004Forms:Base.rux;Target:x.rux\004 */");
  SaveLines(Path("n.ruz"), lines);
  TFileStats read;
  EXPECT_TRUE(GetStats(Path("n.ruz"), "/*", "*/", read));
  EXPECT_EQ(read.TargetLang, "de-DE");
  EXPECT_EQ(read.FormFiles, "Base.rux;Target:x.rux");
}

TEST_F(NotesHeader, MissingFileOrNoHeaderGivesDefaults) {
  TFileStats stats;
  stats.Format = "stale";
  stats.NoteDate = 5.0;
  EXPECT_FALSE(GetStats(Path("missing.ruz"), "/*", "*/", stats));
  EXPECT_EQ(stats, TFileStats{});
  EXPECT_EQ(Read("", false), TFileStats{});
  EXPECT_EQ(Read("/* ID:a\004Orig:b\004 */\r\n" + kLine1 + "\r\n", false), TFileStats{});
  EXPECT_EQ(Read("/*VAQ: Format:VAQ 1\004 *", false), TFileStats{}) << "unterminated";
}

TEST_F(NotesHeader, UnreadableNumbersKeepTheirDefaults) {
  const TFileStats read = Read(
      "/*VAQ: Format:VAQ 1\004NoteDate:abc\004OrigFormDate:46360.25\004FormDate:\004Translated:1x"
      "\004Untranslated:3\004 */\r\n" +
          kLine2 + "\r\n",
      true);
  TFileStats expected = kExample;
  expected.NoteDate = -1.0;
  expected.FormDate = -1.0;
  expected.Translated = 0;
  EXPECT_EQ(read, expected);
}

TEST_F(NotesHeader, OnlyTheFirstTwoLinesAreHeader) {
  // A third header-like line is a record.
  EXPECT_EQ(Read(kLine1 + "\r\n" + kLine2 + "\r\n/*VAQ: Source:xx\004Target:yy\004 */\r\n", true), kExample);
  // The header ends at the first line that is not one.
  TFileStats firstOnly = kExample;
  firstOnly.SourceLang = firstOnly.TargetLang = firstOnly.FormFiles = "";
  EXPECT_EQ(Read(kLine1 + "\r\n/* ID:a\004 */\r\n" + kLine2 + "\r\n", true), firstOnly);
  // Every line break the loader knows, and no break after the last line.
  EXPECT_EQ(Read(kLine1 + "\n" + kLine2, true), kExample);
  EXPECT_EQ(Read(kLine1 + "\r" + kLine2 + "\r", true), kExample);
}

TEST_F(NotesHeader, CrLfAcrossTheReadBuffer) {
  // The first line ends with CR LF split over the reader's 4096-byte chunks.
  TFileStats stats = kExample;
  stats.FormFiles = std::string(4096 - kLine2.size() + stats.FormFiles.size() - 1, 'f');
  const auto lines = FormatNotesHeader(stats);
  ASSERT_EQ(lines[1].size(), 4095u);
  EXPECT_EQ(Read(lines[1] + "\r\n" + kLine1 + "\r\n", true), stats);
}

TEST(NotesHeaderLine, StartsWithTheTag) {
  EXPECT_TRUE(IsNotesHeaderLine(kLine1));
  EXPECT_TRUE(IsNotesHeaderLine("/*VAQ: "));
  EXPECT_FALSE(IsNotesHeaderLine("/* VAQ: Format:x"));
  EXPECT_FALSE(IsNotesHeaderLine("/*VAQ:Format:x"));
  EXPECT_FALSE(IsNotesHeaderLine(" /*VAQ: Format:x"));
  EXPECT_FALSE(IsNotesHeaderLine("/* ID:a\004 */"));
}

}  // namespace
}  // namespace vaq
