#include "host/core/translator_mgr.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/notes_header.h"

namespace vaq {
namespace {

// The smallest file type: notes beside the form as ".ruz", records counted as all translated.
class TinyMgr : public TVaqTranslatorMgr {
 public:
  void SaveStringList() override { SaveNotesLines(FileNameToNoteName(FileName), Lines); }
  void CalcStats(std::int32_t& Translated, std::int32_t& Untranslated) override {
    Translated = GetCount();
    Untranslated = 0;
  }
  std::string NotesStringToString(const TVaqNotesString& NotesString, bool) const override {
    return "/* ID:" + NotesString.Id + "\004 */";
  }
  TVaqNotesString StringToNotesString(std::string_view, std::string_view) const override { return {}; }
  std::string FileNameToNoteName(std::string_view FileName) const override {
    return ChangeFileExt(FileName, ".ruz");
  }
  void WriteWithoutSave(const std::string& name) const { SaveNotesLines(name, Lines); }
};

constexpr TDateTime kClock = 46000.5;  // a fixed instant in the past

std::string CrLf(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

class TranslatorMgr : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("vaq-mgr-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    SetVaqClock([] { return kClock; });
    mgr_.FileName = Path("Main.rux");
    mgr_.Lines = {"/* ID:Form1.Caption\004Curr:Haupt\004 */",
                  "/* ID:Form1.Button1.Caption\004Curr:OK\004 */"};
  }
  void TearDown() override {
    SetVaqClock({});
    std::filesystem::remove_all(dir_);
  }
  std::string Path(const char* name) const { return (dir_ / name).string(); }
  std::string Note() const { return Path("Main.ruz"); }

  std::filesystem::path dir_;
  TinyMgr mgr_;
};

TEST_F(TranslatorMgr, SaveWritesHeaderAndLinesAndDatesTheFile) {
  SaveLines(mgr_.FileName, {"object Form1"});
  mgr_.Save(false, "en-US", "de-DE", false);

  EXPECT_EQ(mgr_.Stats.SourceLang, "en-US");
  EXPECT_EQ(mgr_.Stats.TargetLang, "de-DE");
  EXPECT_EQ(mgr_.Stats.Translated, 2);
  EXPECT_EQ(mgr_.Stats.FormDate, DateOfFile(mgr_.FileName));
  EXPECT_EQ(mgr_.Stats.OrigFormDate, -1.0);
  EXPECT_EQ(mgr_.Stats.NoteDate, VaqNow());

  std::vector<std::string> expected = FormatNotesHeader(mgr_.Stats);
  expected.insert(expected.end(), mgr_.Lines.begin(), mgr_.Lines.end());
  EXPECT_EQ(ReadFileBytes(Note()), CrLf(expected));

  EXPECT_EQ(DateOfFile(Note()), mgr_.Stats.NoteDate);
  EXPECT_EQ(VaqFloatToStr(DateOfFile(Note())), VaqFloatToStr(mgr_.Stats.NoteDate));
  TFileStats read;
  ASSERT_TRUE(GetStats(Note(), "/*", "*/", read));
  EXPECT_EQ(read, mgr_.Stats);

  // An edit after the save makes the notes file newer than the date it records.
  WriteFileAtomic(Note(), ReadFileBytes(Note()));
  EXPECT_NE(DateOfFile(Note()), read.NoteDate);
}

TEST_F(TranslatorMgr, SaveTakesOnlyTheLanguagesGiven) {
  mgr_.Stats.SourceLang = "en-US";
  mgr_.Stats.TargetLang = "fr-FR";
  const struct {
    const char *Name1, *Name2, *Source, *Target;
  } cases[] = {{"", "", "en-US", "fr-FR"}, {"", "de-DE", "en-US", "de-DE"}, {"en-GB", "", "en-GB", "de-DE"}};
  for (const auto& c : cases) {
    mgr_.Save(false, c.Name1, c.Name2, false);
    EXPECT_EQ(mgr_.Stats.SourceLang, c.Source);
    EXPECT_EQ(mgr_.Stats.TargetLang, c.Target);
  }
  EXPECT_EQ(mgr_.Stats.FormDate, -1.0) << "no form file";
}

TEST_F(TranslatorMgr, OriginalFormDateOnlyFromAnExistingFile) {
  mgr_.Stats.OrigFormDate = 45000.5;
  mgr_.Name2 = Path("missing.rux");
  mgr_.Save(false, "", "", false);
  EXPECT_EQ(mgr_.Stats.OrigFormDate, 45000.5);

  mgr_.Name2 = Path("Orig.rux");
  SaveLines(mgr_.Name2, {"object Form1"});
  SetDateOfFile(mgr_.Name2, 45100.25);
  mgr_.Save(false, "", "", false);
  EXPECT_EQ(mgr_.Stats.OrigFormDate, 45100.25);
}

TEST_F(TranslatorMgr, FailedWriteLeavesTheOldNotesFile) {
  mgr_.Save(false, "en-US", "de-DE", false);
  const std::string old = ReadFileBytes(Note());
  const TDateTime oldDate = DateOfFile(Note());
  mgr_.Lines.assign(2000, "/* ID:Form1.Memo1.Lines\004Curr:a long enough record\004 */");

  const pid_t child = ::fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    // A file-size limit makes the write fail part-way, as a full disk would.
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{64, 64};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    try {
      mgr_.Save(false, "en-US", "de-DE", false);
    } catch (const EFileError&) {
      ::_exit(0);
    } catch (...) {
      ::_exit(2);
    }
    ::_exit(1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: no error raised, 2: another exception";
  EXPECT_EQ(ReadFileBytes(Note()), old);
  EXPECT_EQ(DateOfFile(Note()), oldDate);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1) << "no temporary file is left";
}

TEST_F(TranslatorMgr, HeaderLinesInTheListGiveWayAndOnlySaveWritesAHeader) {
  mgr_.Lines.insert(mgr_.Lines.begin(), "/*VAQ: Source:xx\004 */");
  mgr_.Save(false, "en-US", "de-DE", false);
  const auto lines = LoadLines(Note());
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[1], FormatNotesHeader(mgr_.Stats)[1]);

  mgr_.WriteWithoutSave(Path("plain.ruz"));
  EXPECT_EQ(LoadLines(Path("plain.ruz")), mgr_.Lines);
}

TEST_F(TranslatorMgr, SetStatsReplacesTheHeaderKeepingRecordsAndDate) {
  const std::string records = "/* ID:a\004Curr:x\004 */\r\n/* ID:b\004Curr:y\004 */\n";
  TFileStats stats;
  stats.Format = "VAQ 1";
  stats.Translated = 7;
  stats.TargetLang = "de-DE";
  for (const std::string& header : {std::string(), CrLf(FormatNotesHeader(TFileStats{}))}) {
    WriteFileAtomic(Note(), header + records);
    SetDateOfFile(Note(), 45200.125);
    TVaqTranslatorMgr::SetStats(Note(), stats);
    EXPECT_EQ(ReadFileBytes(Note()), CrLf(FormatNotesHeader(stats)) + records);
    EXPECT_EQ(DateOfFile(Note()), 45200.125);
  }
  EXPECT_THROW(TVaqTranslatorMgr::SetStats(Path("missing.ruz"), stats), EFileError);
}

TEST(LocalizeItemCount, CountsLocalizedLinesOfOneStatus) {
  const std::vector<std::string> lines = {
      "/* ID:a\004Localize:True\004Status:Translated\004 */",
      "/* ID:b\004Localize:yes\004Status:Translated\004 */",
      "/* ID:c\004Localize:1\004Status:Untranslated\004 */",
      "/* ID:d\004Localize:False\004Status:Translated\004 */",
      "/* ID:e\004Status:Translated\004 */",
      "/* ID:f\004Localize:TRUE\004Status:Translated",
      "/* ID:g\004Localize:True\004 */",
  };
  const struct {
    const char* Status;
    int Count;
  } cases[] = {{"Translated", 3}, {"Untranslated", 1}, {"Translate", 0}, {"", 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(GetLocalizeItemCount(lines, "\004Localize:", "\004Status:", c.Status), c.Count) << c.Status;
  }
  EXPECT_EQ(GetLocalizeItemCount({}, "\004Localize:", "\004Status:", "Translated"), 0);
}

}  // namespace
}  // namespace vaq
