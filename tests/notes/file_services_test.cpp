#include "notes/file_services.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <tuple>

#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/locale.h"
#include "host/core/notes_header.h"
#include "host/core/resource_strings.h"
#include "notes/column_table.h"
#include "notes/file_names.h"
#include "notes/form_writer_hook.h"
#include "notes/module_state.h"
#include "notes/notes_record.h"
#include "notes/rux_mgr.h"

namespace rux {
namespace {

struct Rec {
  std::string Id = "O:Form1.O:Button1.Caption";
  std::string Orig = "'OK'";
  std::string Curr = "'OK'";
  int Status = StatusUntranslated;
  int Order = 1;
  bool Localize = true;
  std::string Comment{};
};

std::string Line(const Rec& r) {
  vaq::TVaqNotesString record;
  record.Id = r.Id;
  record.Orig = r.Orig;
  record.Curr = r.Curr;
  record.Status = static_cast<std::uint8_t>(r.Status);
  record.Order = r.Order;
  record.Localize = r.Localize;
  record.Comment = r.Comment;
  return NotesStringToString(record, false);
}

constexpr vaq::TDateTime kClock = 46000.5;

// A temporary folder with form files and their notes; a fixed clock; the form writer counts calls.
class FileServices : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("rux-services-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
    vaq::SetVaqClock([] { return kClock; });
    SetFormWriter([this](const std::vector<std::string>&, const std::string&, bool, TVaqFormFormat,
                         vaq::TLCID, vaq::TAtomicWriteBatch&) {
      ++formsWritten_;
      return true;
    });
    LoadColumnCaptions();
  }
  void TearDown() override {
    ReleaseColumnCaptions();
    SetFormWriter({});
    vaq::SetVaqClock({});
    vaq::UnregisterVaqFileTypes();
    std::filesystem::remove_all(dir_);
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  // Form `name` and its notes, saved by a manager: a header that reads as fresh.
  std::string SaveForm(const std::string& name, const std::vector<std::string>& lines) {
    const std::string form = Path(name);
    vaq::SaveLines(form, {"object Form1: TForm1", "end"});
    TRuxMgr mgr;
    mgr.LoadFromStringList(&lines, form, "");
    mgr.Save(false, "en-US", "de-DE", false);
    return form;
  }
  static std::vector<std::string> Records(const std::string& form) {
    std::vector<std::string> lines = vaq::LoadLines(FileNameToNoteName(form));
    std::erase_if(lines, [](const std::string& line) { return vaq::IsNotesHeaderLine(line); });
    return lines;
  }

  std::filesystem::path dir_;
  int formsWritten_ = 0;
};

TEST_F(FileServices, StaleStatsRefresh) {
  struct Case {
    const char* Name;
    bool Refresh, TouchNotes, TouchForm, UnknownDates;
    bool Refreshed, Updated;
  };
  const Case cases[] = {
      {"fresh notes", true, false, false, false, false, false},
      {"notes edited after the save", true, true, false, false, true, false},
      {"reading statistics refreshes nothing", false, true, true, false, false, false},
      {"form file changed", true, false, true, false, true, true},
      {"unknown dates never refresh", true, true, true, true, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    std::vector<std::pair<std::string, std::string>> updates;  // mode, file
    vaq::UnregisterVaqFileTypes();
    auto fileType = std::make_unique<vaq::TVaqFileType>();
    fileType->Extensions = ".rux;.gox";
    fileType->UpdateForms = [&](vaq::TStringObjectList* forms, vaq::TStats&, const std::string& project,
                                const std::string&, const std::string&, const std::string& mode,
                                const std::string& file, vaq::TLCID source, vaq::TLCID target,
                                vaq::TIToolServices*, std::intptr_t, vaq::TUpdateCallback callback) {
      EXPECT_TRUE(forms == nullptr && project.empty() && source == 0 && target == 0 && !callback);
      updates.emplace_back(mode, file);
    };
    vaq::RegisterVaqFileType(std::move(fileType));

    const std::string form =
        SaveForm("Main.rux", {Line({.Curr = "'OK'"}), Line({.Id = "O:Form1.Caption", .Order = 2})});
    const std::string notes = FileNameToNoteName(form);
    std::vector<std::string> lines = vaq::LoadLines(notes);
    if (c.UnknownDates) std::ranges::copy(vaq::FormatNotesHeader({}), lines.begin());
    if (c.TouchNotes) lines[2] = Line({.Curr = "'Ja'"});  // translated by hand, status still 0
    if (c.UnknownDates || c.TouchNotes) {
      vaq::SaveLines(notes, lines);
      vaq::SetDateOfFile(notes, kClock + 0.25);
    }
    if (c.TouchForm) vaq::SetDateOfFile(form, kClock - 1);
    const std::string before = vaq::ReadFileBytes(notes);
    formsWritten_ = 0;

    vaq::TFileStats stats;
    if (c.Refresh) {
      EXPECT_EQ(RefreshStaleStats(form, stats), c.Refreshed);
      vaq::TFileStats again;
      GetStats(form, true, again);  // the file type's explicit request: the same, now fresh
      EXPECT_EQ(again.Translated, stats.Translated);
    } else {
      GetStats(form, false, stats);
      TRuxMgr reader(form);  // neither does loading the notes
    }

    EXPECT_EQ(stats.TargetLang, c.UnknownDates ? "" : "de-DE");
    EXPECT_EQ(updates.size(), c.Updated ? 1u : 0u) << "the update handler runs once, for the form alone";
    if (c.Updated) {
      EXPECT_EQ(updates[0], std::make_pair(std::string(vaq::sUpdate), form));
    }
    EXPECT_EQ(formsWritten_, c.Refreshed ? 1 : 0);
    if (c.Refreshed) {
      EXPECT_EQ(stats.Translated, c.TouchNotes ? 1 : 0);
      EXPECT_EQ(stats.Untranslated, c.TouchNotes ? 1 : 2);
      EXPECT_EQ(StringToNotesString(Records(form)[0], "").Status, c.TouchNotes ? 1 : 0);
    } else {
      EXPECT_EQ(vaq::ReadFileBytes(notes), before);
    }
  }
}

// Statistics of stale notes, read by every way there is, change no file: not the notes, not
// the translated form, not their dates.
TEST_F(FileServices, ReadingStaleStatisticsWritesNothing) {
  auto fileType = std::make_unique<vaq::TVaqFileType>();
  fileType->Extensions = ".rux";
  fileType->UpdateForms = [](auto&&...) { ADD_FAILURE() << "the form was read back"; };
  vaq::RegisterVaqFileType(std::move(fileType));
  const std::string form = SaveForm("Main.rux", {Line({})});
  const std::string notes = FileNameToNoteName(form);
  std::vector<std::string> lines = vaq::LoadLines(notes);
  lines.back() = Line({.Curr = "'Ja'"});
  vaq::SaveLines(notes, lines);
  vaq::SetDateOfFile(notes, kClock + 0.25);
  vaq::SetDateOfFile(form, kClock - 1);
  const auto snapshot = [&] {
    return std::make_tuple(vaq::ReadFileBytes(notes), vaq::DateOfFile(notes), vaq::ReadFileBytes(form),
                           vaq::DateOfFile(form));
  };
  const auto before = snapshot();

  vaq::TFileStats stats;
  GetStats(form, false, stats);
  EXPECT_EQ(stats.Translated, 0) << "as recorded";
  { TRuxMgr mgr(form); }
  vaq::TSearchInfo search;
  search.FileName = form;
  SearchFile(search, "Ja", false, false, false, {});
  DoListEvent(vaq::TListEvent::Dictionary, {form}, nullptr, {});
  EXPECT_EQ(snapshot(), before);
  EXPECT_EQ(formsWritten_, 0);
}

TEST_F(FileServices, AFailingRefreshReportsItsCause) {
  auto fileType = std::make_unique<vaq::TVaqFileType>();
  fileType->Extensions = ".rux";
  fileType->UpdateForms = [](auto&&...) { throw vaq::EFileError("cannot read the form"); };
  vaq::RegisterVaqFileType(std::move(fileType));
  const std::string form = SaveForm("Main.rux", {Line({})});
  vaq::SetDateOfFile(form, kClock - 1);
  vaq::TFileStats stats;
  EXPECT_THROW(RefreshStaleStats(form, stats), vaq::EFileError);
  EXPECT_THROW(RefreshStaleStats(form, stats), vaq::EFileError) << "and tries again next time";
}

TEST_F(FileServices, RefreshCountsWhatTheReadBackLeft) {
  auto fileType = std::make_unique<vaq::TVaqFileType>();
  fileType->Extensions = ".rux";
  fileType->UpdateForms = [](auto&&... args) {
    const std::string& form = std::get<6>(std::forward_as_tuple(args...));
    TRuxMgr reader(form);  // reads the translated form back: here, a new translation
    reader.Lines[0] = Line({.Curr = "'Gelesen'"});
    reader.Save(false, "", "", false);
  };
  vaq::RegisterVaqFileType(std::move(fileType));
  const std::string form = SaveForm("Main.rux", {Line({})});
  vaq::SetDateOfFile(form, kClock - 1);
  vaq::TFileStats stats;
  EXPECT_TRUE(RefreshStaleStats(form, stats));
  EXPECT_EQ(stats.Translated, 1);
  TRuxMgr mgr(form);
  EXPECT_EQ(StringToNotesString(mgr.GetStrings(0), "").Curr, "'Gelesen'");
  EXPECT_FALSE(RefreshStaleStats(form, stats)) << "fresh now";
}

// One hit as the search reports it: column, record index, row, position.
using Hit = std::tuple<int, int, int, int>;

class Search : public FileServices {
 protected:
  void SetUp() override {
    FileServices::SetUp();
    form_ = SaveForm("Main.rux", lines_);
  }
  vaq::TSearchFoundEvent Recorder(bool stopAtFirst = false) {
    return [this, stopAtFirst](vaq::TVaqTranslatorMgr&, const std::string&, const std::string&,
                               const std::string&, int column, int index, int row, int position, vaq::TLCID,
                               vaq::TLCID, bool& goOn) {
      hits_.emplace_back(column, index, row, position);
      if (stopAtFirst) goOn = false;
    };
  }
  // The search window's check-list: the captions of columns 1..9, `checked` ticked.
  static std::vector<vaq::TCheckListEntry> Columns(std::initializer_list<int> checked) {
    std::vector<vaq::TCheckListEntry> list;
    for (int id = ColId; id <= LastGridColId; ++id) {
      list.push_back(
          {VaqColInfo[id].Caption, std::find(checked.begin(), checked.end(), id) != checked.end()});
    }
    return list;
  }

  const std::vector<std::string> lines_ = {
      Line({.Id = "O:F.O:A.Caption", .Orig = "aaa", .Curr = "aaa", .Order = 1}),
      Line({.Id = "O:F.O:A.Hint", .Orig = "'&File name'", .Curr = "'&Datei'", .Order = 2, .Localize = false}),
      Line(
          {.Id = "O:F.O:B.Caption", .Orig = "'Filename'", .Curr = "'Datei'", .Order = 3, .Comment = "file"})};
  std::string form_;
  std::vector<Hit> hits_;
};

TEST_F(Search, SearchFileReportsEveryHit) {
  struct Case {
    const char* Text;
    bool CaseSensitive, WholeWord;
    std::vector<vaq::TCheckListEntry> Columns;
    std::vector<Hit> Expected;
  };
  const Case cases[] = {
      {"aa", false, false, Columns({ColCurr}), {{ColCurr, 0, 1, 1}, {ColCurr, 0, 1, 2}}},
      // Nothing checked: all columns; the non-translatable record 1 is skipped and takes no row.
      {"file", false, false, Columns({}), {{ColOrig, 2, 2, 2}, {ColComment, 2, 2, 1}}},
      {"file", true, false, Columns({}), {{ColComment, 2, 2, 1}}},
      {"file", false, true, Columns({}), {{ColComment, 2, 2, 1}}},
      {"AA", false, false, {{"current VALUE", true}}, {{ColCurr, 0, 1, 1}, {ColCurr, 0, 1, 2}}},
      // The walk only goes forward: "Id" after "Comment" is never reached, so no column is set.
      {"aa",
       false,
       false,
       {{"Comment", false}, {"Id", true}},
       {{ColOrig, 0, 1, 1}, {ColOrig, 0, 1, 2}, {ColCurr, 0, 1, 1}, {ColCurr, 0, 1, 2}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    hits_.clear();
    SearchFile({vaq::StrToLCID("en-US"), form_, c.Columns}, c.Text, c.CaseSensitive, c.WholeWord, false,
               Recorder());
    EXPECT_EQ(hits_, c.Expected);
  }
  hits_.clear();
  SearchFile({0, form_, Columns({})}, "file", false, false, false, Recorder(true));
  EXPECT_EQ(hits_, (std::vector<Hit>{{ColOrig, 2, 2, 2}})) << "a callback stops the search";
  SearchFile({0, Path("None.rux"), Columns({})}, "file", false, false, false, Recorder());
  EXPECT_EQ(hits_.size(), 1u) << "a form without notes is not searched";
}

TEST_F(Search, SearchFileUsesTheEditorsManagerOfTheSameForm) {
  TRuxMgr mgr;
  const std::vector<std::string> edited = {Line({.Curr = "'Bearbeitet'"})};
  mgr.LoadFromStringList(&edited, form_, "");
  SetCurrentMgr(&mgr);
  SearchFile({0, form_, Columns({ColCurr})}, "arbeit", false, false, false, Recorder());
  SetCurrentMgr(nullptr);
  EXPECT_EQ(hits_, (std::vector<Hit>{{ColCurr, 0, 1, 4}}));
  EXPECT_EQ(mgr.FoundCount, 1);
}

TEST_F(Search, SelectionIsSearchedWithRowMinusOne) {
  for (const auto& [ignoreAccelerators, position] : {std::pair{false, 3}, std::pair{true, 2}}) {
    TRuxMgr mgr(form_);
    mgr.SearchState.SearchText = "File";
    mgr.SearchState.Selected = {1};
    mgr.SearchState.Columns = 1u << ColOrig;
    mgr.SearchState.IgnoreAccelerators = ignoreAccelerators;
    mgr.OnFound = Recorder();
    hits_.clear();
    mgr.Search();
    EXPECT_EQ(hits_, (std::vector<Hit>{{ColOrig, 1, -1, position}}));
  }
}

TEST_F(FileServices, ListEvents) {
  const std::vector<std::string> lines = {
      Line({.Orig = "'Hello'", .Curr = "'Hallo'", .Order = 1}),
      Line({.Id = "O:Form1.Font.Name", .Orig = "'Arial'", .Curr = "'Arial'", .Order = 2}),
      Line({.Id = "O:Form1.Width", .Orig = "12", .Curr = "12", .Order = 3}),
      Line({.Id = "O:Form1.O:Old.Caption", .Status = StatusObsolete, .Order = -1}),
      Line({.Id = "O:Form1.O:Label1.Caption", .Curr = "'It''s'", .Order = 4, .Localize = false}),
      Line({.Id = "O:Form1.O:Label2.Caption", .Status = 2, .Order = -1})};
  const std::string a = SaveForm("A.rux", lines), b = SaveForm("B.gox", lines);
  std::vector<std::pair<std::string, void*>> asked;
  const vaq::TListEventCallback callback = [&](const std::string& file, void* data) {
    asked.emplace_back(file, data);
    return file != b;
  };
  int token = 0;
  const std::string untouched = vaq::ReadFileBytes(FileNameToNoteName(b));

  DoListEvent(vaq::TListEvent::Purge, {a, b}, &token, callback);
  EXPECT_EQ(asked, (std::vector<std::pair<std::string, void*>>{{a, &token}, {b, &token}}));
  EXPECT_EQ(Records(a), (std::vector<std::string>{lines[0], lines[1], lines[2], lines[4]}));
  EXPECT_EQ(vaq::ReadFileBytes(FileNameToNoteName(b)), untouched) << "the callback stopped the run before B";
  EXPECT_EQ(formsWritten_, 0);

  // Marked: translatable quoted values of records that are not obsolete, font names excepted.
  DoListEvent(vaq::TListEvent::PseudoTranslate, {b}, nullptr, nullptr);
  std::vector<std::string> expected = lines;
  expected[0] = Line({.Orig = "'Hello'", .Curr = "'Hallo_W\344W'", .Order = 1});
  expected[5] = Line({.Id = "O:Form1.O:Label2.Caption", .Curr = "'OK_W\344W'", .Status = 2, .Order = -1});
  std::vector<std::string> pseudo = Records(b);
  std::ranges::sort(pseudo);
  std::ranges::sort(expected);
  EXPECT_EQ(pseudo, expected);
  EXPECT_EQ(formsWritten_, 1);

  const std::string dictionary = Path("words.txt");
  vaq::SaveLines(dictionary, {"\"earlier\""});
  vaq::TSaveFileData data{dictionary, &token};
  asked.clear();
  DoListEvent(vaq::TListEvent::Dictionary, {b, a}, &data, callback);
  EXPECT_EQ(asked, (std::vector<std::pair<std::string, void*>>{{b, &token}}));
  EXPECT_EQ(vaq::LoadLines(dictionary), std::vector<std::string>{"\"earlier\""})
      << "written after a stop too";
  DoListEvent(vaq::TListEvent::Dictionary, {a}, &data, nullptr);
  EXPECT_EQ(vaq::LoadLines(dictionary),
            (std::vector<std::string>{"\"earlier\"",
                                      "\"" + a + "\",\"O:Form1.O:Button1.Caption\",\"'Hello'\",\"'Hallo'\"",
                                      "\"" + a + "\",\"O:Form1.Font.Name\",\"'Arial'\",\"'Arial'\"",
                                      "\"" + a + "\",\"O:Form1.O:Label1.Caption\",\"'OK'\",\"'It''s'\""}));
}

}  // namespace
}  // namespace rux
