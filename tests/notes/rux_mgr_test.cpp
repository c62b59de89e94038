#include "notes/rux_mgr.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <tuple>

#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/locale.h"
#include "host/core/notes_header.h"
#include "host/core/notes_strings.h"
#include "notes/column_table.h"
#include "notes/form_writer_hook.h"
#include "notes/module_state.h"
#include "notes/notes_record.h"

namespace rux {
namespace {

// A record in the few fields the tests vary.
struct Rec {
  std::string Id = "O:Form1.O:Button1.Caption";
  std::string Orig = "'OK'";
  std::string Curr = "'OK'";
  int Status = StatusUntranslated;
  int Order = 0;
  bool Localize = true;
};

std::string Line(const Rec& r) {
  vaq::TVaqNotesString record;
  record.Id = r.Id;
  record.Orig = r.Orig;
  record.Curr = r.Curr;
  record.Status = static_cast<std::uint8_t>(r.Status);
  record.Order = r.Order;
  record.Type = "TButton";
  record.Localize = r.Localize;
  record.Created = 46000.25;
  return NotesStringToString(record, false);
}

std::vector<std::string> HeaderLines(const std::string& source, const std::string& target) {
  vaq::TFileStats stats;  // dates unknown: loading never refreshes
  stats.SourceLang = source;
  stats.TargetLang = target;
  return vaq::FormatNotesHeader(stats);
}

// A temporary folder with the form Main.rux and its notes Main.ruz; messages are collected.
class RuxMgrFile : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() /
           ("rux-mgr-" + std::to_string(::getpid()) + "-" + test->name());
    std::filesystem::create_directories(dir_);
    form_ = (dir_ / "Main.rux").string();
    notes_ = (dir_ / "Main.ruz").string();
    auto sink = std::make_unique<vaq::CollectingSink>();
    messages_ = &sink->Messages;
    sink_ = std::make_unique<vaq::ScopedMessageSink>(std::move(sink));
  }
  void TearDown() override {
    SetFormWriter({});
    bFormAsText = false;
    sink_.reset();
    std::filesystem::remove_all(dir_);
  }

  void WriteNotes(const std::vector<std::string>& lines) const { vaq::SaveLines(notes_, lines); }
  // The notes file's lines after its header.
  std::vector<std::string> SavedRecords() const {
    std::vector<std::string> lines = vaq::LoadLines(notes_);
    std::size_t header = 0;
    while (header < lines.size() && header < 2 && vaq::IsNotesHeaderLine(lines[header])) ++header;
    EXPECT_EQ(header, 2u) << "a save writes the two header lines";
    return {lines.begin() + static_cast<std::ptrdiff_t>(header), lines.end()};
  }
  const std::vector<std::string>& Messages() const { return *messages_; }

  std::filesystem::path dir_;
  std::string form_;
  std::string notes_;

 private:
  std::vector<std::string>* messages_ = nullptr;
  std::unique_ptr<vaq::ScopedMessageSink> sink_;
};

TEST_F(RuxMgrFile, LoadSaveKeepsRecordsByteForByteSortedByOrder) {
  const std::string r5 = Line({.Id = "O:Form1.O:B.Caption", .Curr = "'\xC4nderung \"x\"'", .Order = 5});
  const std::string r2 = Line({.Id = "O:Form1.Caption", .Curr = "'Haupt'", .Status = 1, .Order = 2});
  const std::string r9 = Line({.Id = "O:Form1.O:C.Hint", .Status = 2, .Order = 9});
  std::vector<std::string> file = HeaderLines("en-US", "de-DE");
  file.insert(file.end(), {"", r5, "  \t", r2, "\x01", r9, ""});
  WriteNotes(file);

  TRuxMgr mgr(form_);
  EXPECT_EQ(mgr.Lines, (std::vector<std::string>{r5, r2, r9})) << "header and blank lines dropped";
  EXPECT_EQ(mgr.Stats.TargetLang, "de-DE");
  mgr.Save(false, "", "", false);

  const std::string bytes = vaq::ReadFileBytes(notes_);
  const std::string records = r2 + "\r\n" + r5 + "\r\n" + r9 + "\r\n";
  ASSERT_GE(bytes.size(), records.size());
  EXPECT_EQ(bytes.substr(bytes.size() - records.size()), records);
  vaq::TFileStats stats;
  ASSERT_TRUE(vaq::GetStats(notes_, "/*", "*/", stats));
  EXPECT_EQ(stats.Translated, 2);
  EXPECT_EQ(stats.Untranslated, 1);
  EXPECT_EQ(stats.SourceLang, "en-US");
  EXPECT_TRUE(Messages().empty());
}

TEST_F(RuxMgrFile, OnlyTwoHeaderLinesAreRemoved) {
  const std::string third = "/*VAQ: a third header line\004 */";
  std::vector<std::string> file = HeaderLines("en-US", "fr-FR");
  file.insert(file.end(), {third, Line({})});
  WriteNotes(file);
  EXPECT_EQ(TRuxMgr(form_).Lines, (std::vector<std::string>{third, Line({})}));
}

TEST_F(RuxMgrFile, MissingNotesFileRaisesFileErrorNamingIt) {
  try {
    TRuxMgr mgr(form_);
    FAIL() << "no error";
  } catch (const vaq::EFileError& e) {
    EXPECT_NE(std::string(e.what()).find(notes_), std::string::npos) << e.what();
  }
}

// The save's consistency check: at most one message, and the file is written in every case.
TEST_F(RuxMgrFile, SaveReportsTheFirstBadRecordAndWritesAllLines) {
  const std::string badStatus = "/* ID:O:Form1.O:A.Caption\004Status:x\004Order:4\004 */";
  const auto outOfSync = [&](int record, const std::string& path) {
    return "Bad file: " + form_ + ": Data = Invalid record #" + std::to_string(record) +
           " - Object out of sync: " + path;
  };
  struct Case {
    const char* Name;
    std::vector<std::string> Lines;
    std::vector<std::string> Expected;
  };
  const Case cases[] = {
      {"adjacent components",
       {Line({.Id = "O:F.O:A.X", .Order = 1}), Line({.Id = "O:F.O:B.X", .Order = 2})},
       {}},
      {"A B A",
       {Line({.Id = "O:F.O:A.X", .Order = 1}), Line({.Id = "O:F.O:B.X", .Order = 2}),
        Line({.Id = "O:F.O:A.Y", .Order = 3}), Line({.Id = "O:F.O:B.Y", .Order = 4})},
       {outOfSync(3, "O:F.O:A")}},
      {"paths compare without case",
       {Line({.Id = "O:F.O:A.X", .Order = 1}), Line({.Id = "O:f.o:a.Y", .Order = 2}),
        Line({.Id = "O:F.O:B.X", .Order = 3}), Line({.Id = "o:f.O:a.Z", .Order = 4})},
       {outOfSync(4, "o:f.O:a")}},
      {"Order -1 is not checked",
       {Line({.Id = "O:F.O:B.Old", .Status = StatusObsolete, .Order = -1}),
        Line({.Id = "O:F.O:A.X", .Order = 1}), Line({.Id = "O:F.O:B.X", .Order = 2})},
       {}},
      {"unreadable record", {Line({.Order = 1}), badStatus}, {"Invalid record: " + badStatus}},
      {"empty component path",
       {Line({.Id = "", .Order = 1})},
       {"Bad file: " + form_ + ": Data = Invalid record #1 - Unable to find object: "}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    WriteNotes(c.Lines);
    TRuxMgr mgr(form_);
    const std::size_t before = Messages().size();
    mgr.Save(false, "", "", false);
    EXPECT_EQ(
        std::vector<std::string>(Messages().begin() + static_cast<std::ptrdiff_t>(before), Messages().end()),
        c.Expected);
    EXPECT_EQ(SavedRecords().size(), c.Lines.size());
  }
}

TEST_F(RuxMgrFile, BadOrderFailsTheSaveBeforeAnythingMoves) {
  const std::string bad = "/* ID:O:F.O:A.X\004Status:0\004Order:two\004 */";
  const std::vector<std::string> lines = {Line({.Order = 7}), bad, Line({.Order = 1})};
  WriteNotes(lines);
  TRuxMgr mgr(form_);
  EXPECT_THROW(mgr.Save(false, "", "", false), vaq::EConvertError);
  EXPECT_EQ(mgr.Lines, lines);
  EXPECT_EQ(vaq::LoadLines(notes_), lines) << "the file is left as it was";
}

TEST_F(RuxMgrFile, EmptyManagerSavesOnlyTheHeader) {
  TRuxMgr mgr;
  const std::vector<std::string> none;
  mgr.LoadFromStringList(&none, form_, "");
  mgr.Save(false, "en-US", "de-DE", false);
  EXPECT_TRUE(SavedRecords().empty());
}

TEST_F(RuxMgrFile, SaveWritesTheTranslatedFormOnlyWhenAsked) {
  using Call = std::tuple<std::string, bool, TVaqFormFormat, vaq::TLCID, std::size_t>;  // ..., line count
  std::vector<Call> calls;
  vaq::TAtomicWriteBatch unused;
  EXPECT_FALSE(WriteTranslatedForm({}, form_, false, uffBinary, 0, unused)) << "no writer installed yet";
  SetFormWriter([&](const std::vector<std::string>& lines, const std::string& fileName, bool writeOriginal,
                    TVaqFormFormat format, vaq::TLCID locale, vaq::TAtomicWriteBatch&) {
    calls.emplace_back(fileName, writeOriginal, format, locale, lines.size());
    return true;
  });
  WriteNotes({Line({.Order = 2}), Line({.Id = "O:Form1.Caption", .Order = 1})});
  TRuxMgr mgr(form_);
  mgr.Save(false, "en-US", "de-DE", false);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(SavedRecords().size(), 2u);
  mgr.Save(true, "", "", false);
  bFormAsText = true;
  mgr.Save(true, "", "ja-JP", false);
  EXPECT_EQ(calls, (std::vector<Call>{{form_, false, uffBinary, vaq::StrToLCID("de-DE"), 2},
                                      {form_, false, uffFormatedText, vaq::StrToLCID("ja-JP"), 2}}));
}

// The form and the notes go to disk together, the notes header recording the date the form gets.
TEST_F(RuxMgrFile, RewrittenFormIsRecordedSoTheNextCheckFindsItFresh) {
  SetFormWriter([&](const std::vector<std::string>&, const std::string& fileName, bool, TVaqFormFormat,
                    vaq::TLCID, vaq::TAtomicWriteBatch& batch) {
    batch.Add(fileName, "object Form1: TForm1\r\nend\r\n", 46000.25);  // a date the header cannot guess
    return true;
  });
  WriteNotes({Line({.Order = 1})});
  TRuxMgr mgr(form_);
  mgr.Save(true, "en-US", "de-DE", false);
  vaq::TFileStats stats;
  vaq::GetStats(notes_, "/*", "*/", stats);
  EXPECT_EQ(stats.FormDate, 46000.25);
  EXPECT_EQ(vaq::DateOfFile(form_), 46000.25);
  EXPECT_EQ(vaq::VaqFloatToStr(stats.NoteDate), vaq::VaqFloatToStr(vaq::DateOfFile(notes_)))
      << "the notes file is dated as its header says";
}

TEST(RuxMgr, StatusPassAndCounts) {
  TRuxMgr mgr;
  const std::vector<std::string> lines = {
      Line({.Curr = "'Ja'", .Status = 0}),                     // changed: becomes translated
      Line({.Curr = "'OK'", .Status = 0}),                     // unchanged: stays untranslated
      Line({.Curr = "'ok'", .Status = 0}),                     // the comparison heeds case
      Line({.Curr = "'Ja'", .Status = 2}),                     // repository translation stays
      Line({.Curr = "'Ja'", .Status = 3, .Order = -1}),        // obsolete stays, counts nowhere
      Line({.Curr = "'Ja'", .Status = 0, .Localize = false}),  // becomes 1, counts nowhere
  };
  mgr.LoadFromStringList(&lines, "Main.rux", "");
  std::int32_t translated = -1, untranslated = -1;
  mgr.ReCalcStats(translated, untranslated);
  const int expected[] = {1, 0, 1, 2, 3, 1};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(StringToNotesString(mgr.Lines[i], "").Status, expected[i]) << "line " << i;
  }
  EXPECT_EQ(mgr.Lines[1], lines[1]) << "lines without a change are kept as they are";
  EXPECT_EQ(mgr.Lines[3], lines[3]);
  EXPECT_EQ(translated, 3);
  EXPECT_EQ(untranslated, 1);
}

TEST(RuxMgr, CanLocalizeMarksOverlongValues) {
  struct Case {
    std::size_t Length;
    bool Localize;
    bool Expected;
  };
  for (const Case c : {Case{20000, true, true}, Case{20001, true, false}, Case{5, false, false}}) {
    SCOPED_TRACE(c.Length);
    TRuxMgr mgr;
    const std::vector<std::string> lines = {
        Line({.Curr = std::string(c.Length, 'x'), .Localize = c.Localize})};
    mgr.LoadFromStringList(&lines, "Main.rux", "");
    EXPECT_EQ(mgr.CanLocalize(0), c.Expected);
    const vaq::TVaqNotesString record = StringToNotesString(mgr.Lines[0], "");
    EXPECT_EQ(record.Localize, c.Expected);
    EXPECT_EQ(record.Status, c.Length > 20000 ? StatusTranslated : StatusUntranslated);
    EXPECT_EQ(record.Curr.size(), c.Length);
  }
}

// The textbook form of the sort, reading the Order in every comparison: the reference the fast
// sort must match permutation for permutation (it is not stable, so equal keys tell them apart).
void ClassicSort(std::vector<std::string>& lines, int L, int R) {
  auto order = [&](int i) {
    return vaq::StrToInt(vaq::GetValueView(lines[static_cast<std::size_t>(i)], KeyOrder));
  };
  int I;
  do {
    I = L;
    int J = R;
    const int P = order((L + R) / 2);
    do {
      while (order(I) < P) ++I;
      while (order(J) > P) --J;
      if (I <= J) {
        std::swap(lines[static_cast<std::size_t>(I)], lines[static_cast<std::size_t>(J)]);
        ++I;
        --J;
      }
    } while (I <= J);
    if (L < J) ClassicSort(lines, L, J);
    L = I;
  } while (I < R);
}

TEST(RuxMgr, QuickSortReOrderGivesTheClassicPermutation) {
  std::mt19937 random(20240607);
  for (const int keys : {3, 50, 100000}) {
    for (const int count : {1, 2, 7, 500, 3000}) {
      std::vector<std::string> lines;
      for (int i = 0; i < count; ++i) {
        const int order = static_cast<int>(random() % static_cast<unsigned>(keys)) - 1;
        lines.push_back("/* ID:O:F.O:C" + std::to_string(i) + ".X\004Order:" + std::to_string(order) +
                        "\004 */");
      }
      for (const auto& [L, R] : {std::pair{0, count - 1}, std::pair{count / 3, count - 1 - count / 4}}) {
        if (R < L) continue;
        std::vector<std::string> expected = lines, actual = lines;
        ClassicSort(expected, L, R);
        TRuxMgr::QuickSortReOrder(actual, L, R);
        ASSERT_EQ(actual, expected) << keys << " keys, " << count << " lines, " << L << ".." << R;
      }
    }
  }
  std::vector<std::string> none;
  TRuxMgr::QuickSortReOrder(none, 0, -1);
  EXPECT_TRUE(none.empty());
}

}  // namespace
}  // namespace rux
