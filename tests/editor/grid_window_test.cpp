// The editor window without a display: notes files run through loading, the grid, edits, the edit
// menu, filters, the preview actions (against a recording viewer), the designer's reports and
// saving back to the notes file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "editor/editor_viewer.h"
#include "editor/rux_form.h"
#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/flags.h"
#include "host/core/notes_strings.h"
#include "host/core/options.h"
#include "host/core/registration.h"
#include "host/core/repository.h"
#include "host/core/resource_strings.h"
#include "host/core/text.h"
#include "notes/column_table.h"
#include "notes/file_names.h"
#include "notes/form_writer_hook.h"
#include "notes/module_state.h"
#include "notes/notes_record.h"
#include "notes/rux_mgr.h"
#include "support/host_fakes.h"
#include "updater/rux_updater.h"
#include "support/read_only_folder.h"
#include "support/temp_dir.h"

namespace rux {
namespace {

struct Rec {
  std::string Id;
  std::string Orig = "'OK'";
  std::string Curr = "'OK'";
  int Status = StatusUntranslated;
  bool Localize = true;
  std::string Type = "TButton";
  std::string PrevOrig{};
};

std::vector<std::string> Lines(const std::vector<Rec>& records) {
  std::vector<std::string> lines;
  int order = 0;
  for (const Rec& r : records) {
    vaq::TVaqNotesString record;
    record.Id = r.Id;
    record.Orig = r.Orig;
    record.Curr = r.Curr;
    record.Status = static_cast<std::uint8_t>(r.Status);
    record.Order = ++order;
    record.Localize = r.Localize;
    record.Type = r.Type;
    record.PrevOrig = r.PrevOrig;
    record.Created = 46000.25;
    record.Modified = 46000.25;
    lines.push_back(NotesStringToString(record, false));
  }
  return lines;
}

// Records every call the window makes to the preview.
class FakeViewer : public IEditorViewer {
 public:
  void ShowForm(const std::string&, bool Original, bool OnTop) override {
    Calls.push_back(std::string("show ") + (Original ? "orig" : "xlat") + (OnTop ? " top" : ""));
  }
  void HideForm(bool Original) override {
    Calls.push_back(std::string("hide ") + (Original ? "orig" : "xlat"));
  }
  void DestroyForm(bool Original) override {
    Calls.push_back(std::string("destroy ") + (Original ? "orig" : "xlat"));
  }
  void CreateForm(const std::string&, bool Original) override {
    Calls.push_back(std::string("create ") + (Original ? "orig" : "xlat"));
  }
  void UpdateFormStyle(bool Original, bool OnTop) override {
    Calls.push_back(std::string("style ") + (Original ? "orig" : "xlat") + (OnTop ? " top" : ""));
  }
  IVaqFormDesigner* GetDesigner() override { return Designer; }
  void UpdateDesignerOptions() override { Calls.push_back("designer options"); }
  std::vector<std::string> Calls;
  IVaqFormDesigner* Designer = nullptr;
};

class FakeDesigner : public IVaqFormDesigner {
 public:
  void SetNotifier(std::shared_ptr<IVaqFormDesignerNotifier> N) override { Notifier = std::move(N); }
  void SetPropertyValue(const std::string& Object, const std::string& Prop,
                        const std::string& Value) override {
    Values.push_back(Object + "." + Prop + "=" + Value);
  }
  std::shared_ptr<IVaqFormDesignerNotifier> Notifier;
  std::vector<std::string> Values;
};

using FakeBoxes = vaq::testing::TScriptedMessageBoxes;

class GridWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadColumnCaptions();
    SetFormWriter([this](const std::vector<std::string>&, const std::string&, bool, TVaqFormFormat,
                         vaq::TLCID, vaq::TAtomicWriteBatch&) {
      ++formsWritten_;
      return true;
    });
    vaq::SetVaqClock([] { return 46100.5; });
    InstallEditorViewer(&viewer_);
    bShowOrigForm = bShowXlatForm = bStayOnTop = bShowAllProperties = false;
    window_ = std::make_unique<TfrmVaqRuxForm>();
    window_->FormCreate();
    window_->SetMessageBoxes(&boxes_);
  }
  void TearDown() override {
    window_.reset();
    InstallEditorViewer(nullptr);
    vaq::UnregisterVaqFileTypes();
    vaq::ClearVaqShortcuts();
    vaq::SetVaqClock({});
    SetFormWriter({});
    ReleaseColumnCaptions();
  }

  std::string SaveForm(const std::vector<Rec>& records, const std::string& source = "en-US",
                       const std::string& target = "de-DE", const std::string& name = "Form1.rux") {
    const std::string form = dir_ / name;
    vaq::SaveLines(form, {"object Form1: TForm1", "end"});
    const std::vector<std::string> lines = Lines(records);
    TRuxMgr mgr;
    mgr.LoadFromStringList(&lines, form, "");
    mgr.Save(false, source, target, false);
    return form;
  }
  std::string Open(const std::vector<Rec>& records, const std::string& source = "en-US",
                   const std::string& target = "de-DE") {
    const std::string form = SaveForm(records, source, target);
    window_->LoadFromFile(form);
    viewer_.Calls.clear();
    return form;
  }
  vaq::TVaqGrid& Grid() { return window_->VaqGrid; }
  int Col(vaq::TVaqAllColId id) { return window_->EnumToCol(id); }
  std::string_view Cell(vaq::TVaqAllColId id, int row) { return Grid().Cell(Col(id), row); }

  vaq::testing::TempDir dir_{vaq::testing::TempDir::kConfig};
  vaq::ScopedMessageSink quiet_{std::make_unique<vaq::CollectingSink>()};
  FakeViewer viewer_;
  FakeBoxes boxes_;
  std::unique_ptr<TfrmVaqRuxForm> window_;
  int formsWritten_ = 0;
};

const std::vector<Rec> kButtons = {
    {"O:Form1.Caption", "'Orders'", "'Orders'", StatusUntranslated, true, "TForm1"},
    {"O:Form1.O:Panel1.Caption", "'Panel'", "'Panel'", StatusTranslated, true, "TPanel"},
    {"O:Form1.O:Panel1.O:Button1.Caption", "'OK'", "'OK'", StatusUntranslated, true, "TButton"},
    {"O:Form1.O:Panel1.O:Button1.Width", "75", "75", StatusUntranslated, true, "TButton"},
    {"O:Form1.O:Panel1.O:Button1.TabOrder", "0", "0", StatusUntranslated, false, "TButton"},
    {"O:Form1.O:Panel1.O:Button2.Caption", "'Cancel'", "'Cancel'", StatusAutoTranslated, true, "TButton"},
    {"O:Form1.O:Panel2.Caption", "'Other'", "'Other'", StatusObsolete, true, "TPanel", "'Old'"},
};

TEST_F(GridWindow, EmptyNotesShowOnePlaceholderRow) {
  for (const auto& records :
       {std::vector<Rec>{}, std::vector<Rec>{{"O:Form1.TabOrder", "0", "0", 0, false}}}) {
    Open(records);
    EXPECT_EQ(Grid().RowCount(), 2);
    EXPECT_FALSE(Grid().HasRows);
    EXPECT_EQ(Grid().GetMgrIndex(0), -1);
    EXPECT_EQ(Grid().GetMgrIndex(1), -1);
    EXPECT_EQ(Cell(ColId, 1), "");
    window_->EditOnTopMode->Update();
    EXPECT_FALSE(window_->EditOnTopMode->Enabled);
    EXPECT_EQ(window_->GetCurrID(), "");
    // The placeholder takes no edit and writes nothing back.
    EXPECT_FALSE(window_->EditCell(Col(ColCurr), 1, "'x'"));
    window_->GridToMgr();
  }
}

TEST_F(GridWindow, AFileThatDoesNotOpenLeavesNoFileOpen) {
  Open(kButtons);
  EXPECT_THROW(window_->LoadFromFile(dir_ / "Missing.rux"), vaq::EFileError);
  EXPECT_EQ(window_->CurrentFileName, "");
  EXPECT_EQ(window_->Mgr, nullptr);
  EXPECT_EQ(CurrentMgr(), nullptr);
  EXPECT_FALSE(Grid().HasRows);
  EXPECT_EQ(Grid().RowCount(), 2);
  EXPECT_TRUE(window_->SaveToFile());  // nothing to save
}

// The grid keeps no copy of the notes: cells are read from the manager's lines, only edits are
// stored, and a save hands them to the manager. Edits before and after a save land in their record.
TEST_F(GridWindow, CellsAreReadFromTheNotesAndOnlyEditsAreStored) {
  const std::string form = Open(kButtons);
  const int curr = Col(ColCurr);
  EXPECT_EQ(Grid().StoredCells(), 0u);
  EXPECT_EQ(Cell(ColId, 3), "O:Form1.O:Panel1.O:Button1.Caption");
  EXPECT_EQ(Cell(ColStatus, 5), "Auto translated");
  EXPECT_EQ(Cell(ColModified, 1), vaq::VaqDateTimeToStr(46000.25));

  ASSERT_TRUE(window_->EditCell(curr, 3, "'Gut'"));
  EXPECT_EQ(Cell(ColCurr, 3), "'Gut'");
  EXPECT_EQ(vaq::GetValue(window_->Mgr->GetStrings(Grid().GetMgrIndex(3)), KeyCurr), "'OK'") << "not yet";
  ASSERT_TRUE(window_->SaveToFile());
  EXPECT_EQ(Grid().StoredCells(), 0u) << "the manager holds the edit";
  EXPECT_EQ(Cell(ColCurr, 3), "'Gut'");
  EXPECT_EQ(Cell(ColStatus, 3), "Translated");

  ASSERT_TRUE(window_->EditCell(curr, 3, "'Sehr gut'"));
  ASSERT_TRUE(window_->EditCell(curr, 6, "'Abbrechen'"));
  Grid().SetCurrent(curr, 3);
  window_->RestoreSaved();  // back to what the save gave the manager
  EXPECT_EQ(Cell(ColCurr, 3), "'Gut'");
  EXPECT_EQ(Cell(ColCurr, 6), "'Abbrechen'");
  ASSERT_TRUE(window_->SaveToFile());
  TRuxMgr reread(form);
  for (int r = 1; r < Grid().RowCount(); ++r) {
    const std::string& notes = reread.GetStrings(Grid().GetMgrIndex(r));
    EXPECT_EQ(vaq::GetValue(notes, KeyId), Cell(ColId, r));
    EXPECT_EQ(vaq::GetValue(notes, KeyCurr), Cell(ColCurr, r));
  }
}

// A record whose fields do not read stops the loading with one message naming the notes file and
// the record's line; nothing is shown of it.
TEST_F(GridWindow, ADamagedRecordIsReportedWithItsLine) {
  // Edited by hand the notes are stale and the loading recounts them first; with their date as
  // recorded they load at once. Both ways the record stops the loading.
  for (const bool stale : {true, false}) {
    const std::string form = SaveForm(kButtons);
    const std::string notes = FileNameToNoteName(form);
    const auto recorded = std::filesystem::last_write_time(notes);
    std::vector<std::string> lines = vaq::LoadLines(notes);
    ASSERT_GT(lines.size(), 5u);
    const std::size_t damaged = 4;  // the file's fifth line
    lines[damaged] = vaq::SetValue(lines[damaged], KeyStatus, "x");
    vaq::SaveLines(notes, lines);
    if (!stale) std::filesystem::last_write_time(notes, recorded);
    try {
      window_->LoadFromFile(form);
      ADD_FAILURE() << "a damaged record was loaded";
    } catch (const vaq::EFileError& error) {
      EXPECT_NE(std::string(error.what()).find(notes + ": line 5: "), std::string::npos) << error.what();
      EXPECT_NE(std::string(error.what()).find("'x'"), std::string::npos) << error.what();
    }
    EXPECT_EQ(vaq::LoadLines(notes), lines) << "nothing written";
    EXPECT_EQ(window_->CurrentFileName, "");
    EXPECT_FALSE(Grid().HasRows);
  }
}

// A language folder that cannot be written opens read-only: nothing is written on opening (not even
// for stale notes, which would be recounted and saved), the grid shows the records, takes no edit
// and Save is refused with the reason.
TEST_F(GridWindow, AFolderThatCannotBeWrittenOpensReadOnly) {
  const std::string form = SaveForm(kButtons);
  const std::string notes = FileNameToNoteName(form);
  vaq::SaveLines(notes, vaq::LoadLines(notes));  // edited after its header: stale
  const std::vector<std::string> before = vaq::LoadLines(notes);
  const auto stamp = std::filesystem::last_write_time(notes);
  {
    const vaq::testing::ReadOnlyFolder readOnly(dir_.Path());
    if (!readOnly.Made()) GTEST_SKIP() << "no folder can be made read-only here";
    window_->LoadFromFile(form);
    EXPECT_TRUE(window_->ReadOnly);
    EXPECT_NE(window_->ReadOnlyReason.find("the folder " + dir_.Path() + " cannot be written"),
              std::string::npos)
        << window_->ReadOnlyReason;
    EXPECT_EQ(Grid().RowCount(), 7);
    EXPECT_EQ(Cell(ColCurr, 5), "'Cancel'");
    EXPECT_FALSE(window_->EditCell(Col(ColCurr), 3, "'Gut'"));
    Grid().SetCurrent(Col(ColCurr), 3);
    window_->CopyOriginal();
    window_->MarkStatus(1);
    window_->GridActions[vaq::gaMarkTranslated]->Update();
    EXPECT_FALSE(window_->GridActions[vaq::gaMarkTranslated]->Enabled);
    EXPECT_EQ(Cell(ColStatus, 3), "Untranslated");
    EXPECT_FALSE(window_->IsDirty());
    EXPECT_FALSE(window_->SaveToFile());
    ASSERT_EQ(boxes_.Messages.size(), 1u);
    EXPECT_NE(boxes_.Messages[0].find("read-only: the folder"), std::string::npos) << boxes_.Messages[0];
    window_->ComponentMoved("O:Form1.O:Panel1", {5, 5});
    EXPECT_NE(window_->StatusMessage.find("Not recorded: the folder"), std::string::npos);
  }
  EXPECT_EQ(vaq::LoadLines(notes), before);
  EXPECT_EQ(std::filesystem::last_write_time(notes), stamp);
  // Writable again, the next opening edits as usual.
  window_->LoadFromFile(form);
  EXPECT_FALSE(window_->ReadOnly);
  EXPECT_TRUE(window_->EditCell(Col(ColCurr), 3, "'Gut'"));
}

// A component renamed in the form keeps its translations through the update, and the filter
// "Changed by the last update" shows its records (moved at the update's time) and no other: the
// records the translator edits later do not hide them.
TEST_F(GridWindow, ChangedFilterShowsTheRecordsOfARenamedComponent) {
  namespace fs = std::filesystem;
  const fs::path project = fs::path(dir_.Path()) / "demo";
  fs::copy(fs::path(VAQ_TESTS_SOURCE_DIR) / ".." / "examples" / "demo", project, fs::copy_options::recursive);
  SetFormWriter({});  // the real translated forms
  double now = 50000.0;
  vaq::SetVaqClock([&now] { return now; });
  const auto update = [&] {
    vaq::TStats stats;
    vaq::TStringObjectList forms;
    forms.push_back({(project / "MainForm.rux").string(), nullptr});
    Updater().UpdateForms(&forms, stats, project.string(), project.string(), (project / "de-DE").string(),
                          vaq::sUpdate, {}, 0x0409, 0x0407, nullptr, 0, [](const std::string&, std::intptr_t) {});
    return stats;
  };
  update();
  now += 1.0;
  for (const char* name : {"MainForm.rux", "MainForm.pas"}) {
    std::string text = vaq::ReadFileBytes((project / name).string());
    for (std::size_t at = text.find("btnOK"); at != std::string::npos; at = text.find("btnOK", at))
      text.replace(at, 5, "btnSave");
    vaq::WriteFileAtomic((project / name).string(), text);
  }
  EXPECT_EQ(update().Renamed, 1);

  now += 1.0;
  window_->LoadFromFile((project / "de-DE" / "MainForm.rux").string());
  const auto shownIds = [&] {
    std::vector<std::string> ids;
    for (const int row : Grid().ShownRows()) ids.emplace_back(Cell(ColId, row));
    return ids;
  };
  window_->VaqGridProcessFilters(nullptr, static_cast<int>(vaq::TVaqFilter::Changed), false);
  const std::vector<std::string> moved = shownIds();
  ASSERT_FALSE(moved.empty());
  for (const std::string& id : moved) EXPECT_NE(id.find("O:btnSave."), std::string::npos) << id;
  EXPECT_TRUE(std::ranges::any_of(moved, [](const std::string& id) { return id.ends_with("btnSave.Caption"); }));

  // An edit of another record, saved, leaves the update's records in the filter.
  window_->VaqGridProcessFilters(nullptr, static_cast<int>(vaq::TVaqFilter::All), false);
  const auto caption = std::ranges::find_if(Grid().ShownRows(), [&](int row) {
    return Cell(ColId, row).ends_with("MainForm.Caption");
  });
  ASSERT_NE(caption, Grid().ShownRows().end());
  ASSERT_TRUE(window_->EditCell(Col(ColCurr), *caption, "'Bestellungen'"));
  ASSERT_TRUE(window_->SaveToFile());
  window_->VaqGridProcessFilters(nullptr, static_cast<int>(vaq::TVaqFilter::Changed), false);
  EXPECT_EQ(shownIds(), moved);
}

TEST_F(GridWindow, FillsTranslatableRecordsWithRowNumbersAndCaptions) {
  Open(kButtons);
  // The TabOrder record is not translatable: six rows, numbered without gaps.
  ASSERT_EQ(Grid().RowCount(), 7);
  EXPECT_TRUE(Grid().HasRows);
  EXPECT_EQ(Grid().GetMgrIndex(5), 5);  // the row after the skipped record
  EXPECT_EQ(window_->DisplayText(Col(ColIndex), 5), "5");
  EXPECT_EQ(Cell(ColStatus, 2), "Translated");
  EXPECT_EQ(Cell(ColCreated, 1), vaq::VaqDateTimeToStr(46000.25));
  EXPECT_EQ(Grid().ColDefs[Col(ColOrig)].Caption, "English (United States)");
  EXPECT_EQ(Grid().ColDefs[Col(ColCurr)].Caption, "German (Germany)");
  EXPECT_EQ(Grid().ColDefs[Col(ColPrevCurr)].Caption, vaq::Format(vaq::SPreviousLang, {"German (Germany)"}));

  // A filter hides rows; the numbers stay without gaps.
  window_->VaqGridProcessFilters(nullptr, static_cast<int>(vaq::TVaqFilter::Untranslated), false);
  EXPECT_EQ(Grid().ShownRows(), (std::vector<int>{1, 3, 4}));
  EXPECT_EQ(window_->DisplayText(Col(ColIndex), 4), "3");
  EXPECT_EQ(window_->DisplayText(Col(ColIndex), 2), "");
  window_->VaqGridProcessFilters(nullptr, static_cast<int>(vaq::TVaqFilter::Changed), false);
  EXPECT_EQ(Grid().ShownRows(), (std::vector<int>{6}));
  window_->VaqGridProcessFilters(nullptr, static_cast<int>(vaq::TVaqFilter::AutoTranslated), false);
  EXPECT_EQ(Grid().ShownRows(), (std::vector<int>{5}));
  window_->VaqGridProcessFilters(nullptr, static_cast<int>(vaq::TVaqFilter::Unused), false);
  EXPECT_EQ(Grid().ShownRows(), (std::vector<int>{6}));

  // Showing all properties lists the TabOrder record too.
  bShowAllProperties = true;
  window_->LoadFromFile(window_->CurrentFileName);
  EXPECT_EQ(Grid().RowCount(), 8);
}

// The texts view: the filter keeps the rows whose original is a string; the text navigation goes
// from untranslated text to untranslated text past numbers, sets and identifiers, also backwards,
// and within what a filter shows.
TEST_F(GridWindow, TextsFilterAndUntranslatedTextNavigation) {
  Open({
      {"O:Form1.Caption", "'Orders'", "'Orders'", StatusUntranslated, true, "TForm1"},
      {"O:Form1.Width", "640", "640"},
      {"O:Form1.Font.Style", "[fsBold]", "[fsBold]"},
      {"O:Form1.Color", "clBtnFace", "clBtnFace"},
      {"O:Form1.O:B1.Caption", "'&OK'", "'&OK'", StatusTranslated},
      {"O:Form1.O:B1.Hint", "#1046'x'", "#1046'x'"},
      {"O:Form1.O:B1.Left", "8", "8"},
      {"O:Form1.O:B2.Caption", "'Cancel'", "'Cancel'", StatusUntranslated},
  });
  const int curr = Col(ColCurr);
  window_->VaqGridProcessFilters(nullptr, static_cast<int>(vaq::TVaqFilter::Texts), false);
  EXPECT_EQ(Grid().ShownRows(), (std::vector<int>{1, 5, 6, 8}));
  EXPECT_EQ(vaq::FilterName(vaq::TVaqFilter::Texts), "Texts");

  window_->VaqGridProcessFilters(nullptr, static_cast<int>(vaq::TVaqFilter::All), false);
  Grid().SetCurrent(curr, 1);
  ASSERT_TRUE(window_->GotoUntranslated(true, true));
  EXPECT_EQ(Grid().Row, 6);  // past the width, the style, the colour and the translated caption
  EXPECT_EQ(Grid().Col, curr);
  ASSERT_TRUE(window_->GotoUntranslated(true, true));
  EXPECT_EQ(Grid().Row, 8);
  EXPECT_FALSE(window_->GotoUntranslated(true, true));
  EXPECT_EQ(Grid().Row, 8);
  ASSERT_TRUE(window_->GotoUntranslated(false, true));
  EXPECT_EQ(Grid().Row, 6);
  ASSERT_TRUE(window_->GotoUntranslated(false, true));
  EXPECT_EQ(Grid().Row, 1);
  EXPECT_FALSE(window_->GotoUntranslated(false, true));
  // The untranslated navigation of every value stops at the number.
  ASSERT_TRUE(window_->GotoUntranslated(true));
  EXPECT_EQ(Grid().Row, 2);

  // The actions, with their shortcuts.
  vaq::TVaqAction* next = window_->FindAction("EditNextUntranslatedText");
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(vaq::ShortCutToText(next->ShortCut), "Ctrl+Shift+Down");
  EXPECT_EQ(vaq::ShortCutToText(window_->FindAction("EditPrevUntranslatedText")->ShortCut), "Ctrl+Shift+Up");
  EXPECT_EQ(vaq::ShortCutToText(vaq::FilterShortCut(vaq::TVaqFilter::Texts)), "Ctrl+Shift+T");
  next->OnExecute(nullptr);
  EXPECT_EQ(Grid().Row, 6);
}

TEST_F(GridWindow, SameLanguagesGetDistinctCaptions) {
  Open(kButtons, "en-US", "en-US");
  const std::string name = "English (United States)";
  EXPECT_EQ(Grid().ColDefs[Col(ColOrig)].Caption, vaq::Format(vaq::sDupLang1, {name}));
  EXPECT_EQ(Grid().ColDefs[Col(ColCurr)].Caption, vaq::Format(vaq::sDupLang2, {name}));
  const std::string previous = vaq::Format(vaq::SPreviousLang, {name});
  EXPECT_EQ(Grid().ColDefs[Col(ColPrevOrig)].Caption, vaq::Format(vaq::sDupLang1, {previous}));
  EXPECT_EQ(Grid().ColDefs[Col(ColPrevCurr)].Caption, vaq::Format(vaq::sDupLang2, {previous}));
  EXPECT_NE(Grid().ColDefs[Col(ColOrig)].Caption, Grid().ColDefs[Col(ColCurr)].Caption);
}

TEST_F(GridWindow, ObjectDelimiters) {
  Open({
      {"O:Form1.O:Panel1.Caption"},
      {"O:Form1.O:Panel1.O:Button1.Caption"},            // a deeper component: 1
      {"O:Form1.O:Panel1.O:Button1.Width", "75", "75"},  // same component: 0
      {"O:Form1.O:Panel1.Hint"},                         // back up: 2
      {"O:Form1.O:Panel2.Caption"},                      // a sibling: 3
  });
  EXPECT_EQ(Grid().GetObjectDelimeter(1), 1);  // the first row compares with nothing
  EXPECT_EQ(Grid().GetObjectDelimeter(2), 1);
  EXPECT_EQ(Grid().GetObjectDelimeter(3), 0);
  EXPECT_EQ(Grid().GetObjectDelimeter(4), 2);
  EXPECT_EQ(Grid().GetObjectDelimeter(5), 3);
}

TEST_F(GridWindow, DelimiterLines) {
  using L = TDelimiterLine;
  EXPECT_EQ(DelimiterLine(0, 5, 3, 3, 3, false), L::None);
  EXPECT_EQ(DelimiterLine(1, 1, 3, 3, 3, false), L::None);
  EXPECT_EQ(DelimiterLine(1, 0, 3, 3, 3, false), L::None);
  EXPECT_EQ(DelimiterLine(1, 5, 2, 0, 0, false), L::Top);
  EXPECT_EQ(DelimiterLine(2, 5, 2, 0, 0, false), L::Bottom);
  EXPECT_EQ(DelimiterLine(3, 5, 2, 0, 0, false), L::Bottom);
  EXPECT_EQ(DelimiterLine(1, 5, 0, 1, 0, false), L::Bottom);
  EXPECT_EQ(DelimiterLine(1, 5, 0, 1, 0, true), L::None);
  EXPECT_EQ(DelimiterLine(2, 5, 0, 0, 3, false), L::Top);
  EXPECT_EQ(DelimiterLine(3, 5, 0, 1, 3, false), L::None);
}

TEST_F(GridWindow, CurrentId) {
  Open({
      {"O:Form1.O:Button1.Caption", "'OK'", "'OK'", 0, true, "TButton"},
      {"O:Form1.O:List1.Columns[0].Caption", "'A'", "'A'", 0, true, "C:TListColumn"},
      {"O:Form1.O:Panel1.", "'x'", "'x'", 0, true, "TPanel"},
      {"Caption", "'x'", "'x'", 0, true, "TForm"},
  });
  const auto idAt = [&](int row) {
    Grid().SetCurrent(Col(ColCurr), row);
    return window_->GetCurrID();
  };
  EXPECT_EQ(idAt(1), "TButton::Button1.Caption");
  EXPECT_EQ(idAt(2), "TListColumn::List1.Columns[0].Caption");
  EXPECT_EQ(idAt(3), "TPanel::O:Form1.O:Panel1.");
  EXPECT_EQ(idAt(4), "TForm::Caption");
  Grid().Visible = false;
  EXPECT_EQ(idAt(1), "");
}

TEST_F(GridWindow, EditsAreCheckedAndMarkTheRow) {
  const std::string form = Open(kButtons);
  const int curr = Col(ColCurr);
  // A number for a string: refused with a message naming the row; the cell keeps its value.
  EXPECT_FALSE(window_->EditCell(curr, 3, "12"));
  EXPECT_EQ(Cell(ColCurr, 3), "'OK'");
  ASSERT_EQ(boxes_.Messages.size(), 1u);
  EXPECT_NE(boxes_.Messages[0].find("Row 3"), std::string::npos);
  EXPECT_NE(boxes_.Messages[0].find("string"), std::string::npos);
  EXPECT_FALSE(window_->IsDirty());
  // An unterminated string, and a string for an integer.
  EXPECT_FALSE(window_->EditCell(curr, 3, "'OK"));
  EXPECT_FALSE(window_->EditCell(curr, 4, "'wide'"));
  EXPECT_FALSE(window_->EditCell(curr, 4, "99999999999"));
  EXPECT_EQ(boxes_.Messages.size(), 4u);

  // Accepted edits become Translated and modified now.
  EXPECT_TRUE(window_->EditCell(curr, 3, "'Gut'"));
  EXPECT_TRUE(window_->EditCell(curr, 4, "90"));
  EXPECT_EQ(Cell(ColStatus, 3), "Translated");
  EXPECT_EQ(Cell(ColModified, 3), vaq::VaqDateTimeToStr(46100.5));
  EXPECT_TRUE(window_->IsDirty());

  // Status and date cells are written back as the ordinal and the float text.
  window_->GridToMgr();
  const std::string& notes = window_->Mgr->GetStrings(Grid().GetMgrIndex(3));
  EXPECT_EQ(vaq::GetValue(notes, KeyStatus), "1");
  EXPECT_EQ(vaq::GetValue(notes, KeyModified), vaq::VaqFloatToStr(46100.5));
  EXPECT_EQ(vaq::GetValue(notes, KeyCurr), "'Gut'");

  // Saving writes notes and the translated form; a new manager reads the edits back.
  EXPECT_TRUE(window_->SaveToFile());
  EXPECT_FALSE(window_->IsDirty());
  EXPECT_EQ(formsWritten_, 1);
  TRuxMgr reread(form);
  EXPECT_EQ(vaq::GetValue(reread.GetStrings(Grid().GetMgrIndex(4)), KeyCurr), "90");
  EXPECT_EQ(reread.Stats.Translated, 4);  // the auto-translated record counts too
}

TEST_F(GridWindow, StringCellsAreEditedAsText) {
  Open({{"O:Form1.Caption", "'It'#39's'", "'a'#13#10'b'"}}, "en-US", "de-DE");
  const int curr = Col(ColCurr);
  EXPECT_TRUE(window_->IsTextCell(curr, 1));
  EXPECT_EQ(window_->CellEditText(curr, 1), "a\r\nb");
  EXPECT_EQ(window_->CellTextFromEdit(curr, 1, "It's"), "'It'#39's'");
  EXPECT_EQ(window_->CellTextFromEdit(curr, 1,
                                      "\xC3\xBC"
                                      "ber"),
            "'\xFC"
            "ber'");  // ü in cp1252
  // A character cp1252 cannot hold becomes a code; the value is then a wide string.
  EXPECT_EQ(window_->CellTextFromEdit(curr, 1,
                                      "\xD0\x96"
                                      "x"),
            "#1046'x'");
  EXPECT_TRUE(window_->EditCell(curr, 1, window_->CellTextFromEdit(curr, 1, "\xD0\x96\xC3\xBC")));
  EXPECT_EQ(window_->CellEditText(curr, 1), "\xD0\x96\xC3\xBC");
  EXPECT_EQ(window_->DisplayText(curr, 1), "#1046'\xC3\xBC'");
}

// The refusal names the refused character in UTF-8, read in the code page of the notes.
TEST_F(GridWindow, RefusalsNameCharactersInUtf8) {
  const std::vector<Rec> colours = {
      {"O:Form1.Color", "clBtnFace", "clBtnFace", StatusUntranslated, true, "TForm1"}};
  for (const auto& [target, typed, named] :
       {std::tuple<const char*, const char*, const char*>{"de-DE",
                                                          "cl\xF6"
                                                          "ffnen",
                                                          "'ö' (U+00F6)"},
        {"ru-RU", "cl\xC4\xE0\xF2\xE0", "'Д' (U+0414)"},
        {"ja-JP", "cl\x83\x66\x81\x5B\x83\x5E", "'デ' (U+30C7)"}}) {
    Open(colours, "en-US", target);
    boxes_.Messages.clear();
    EXPECT_FALSE(window_->EditCell(Col(ColCurr), 1, typed));
    ASSERT_EQ(boxes_.Messages.size(), 1u) << target;
    EXPECT_NE(boxes_.Messages[0].find(std::string("Invalid value: unexpected ") + named + " in a name."),
              std::string::npos)
        << boxes_.Messages[0];
  }
}

// A comment with characters the code page of the notes cannot store comes back to the translator
// as typed, with the characters named, until it can be stored or the translator cancels.
TEST_F(GridWindow, CommentKeepsTheTypedTextAndSaysWhatItCannotStore) {
  Open(kButtons);
  const int comment = Col(ColComment);
  Grid().SetCurrent(Col(ColCurr), 1);
  boxes_.Inputs = {"Nicht \xD0\x96\xD1\x83\xD0\xBA \xD0\x96!",
                   "Nicht K\xC3\xA4"
                   "fer!"};
  window_->EditComment();
  ASSERT_EQ(boxes_.Prompts.size(), 2u);
  EXPECT_EQ(boxes_.Offered[1], "Nicht \xD0\x96\xD1\x83\xD0\xBA \xD0\x96!") << "the typed comment comes back";
  EXPECT_NE(boxes_.Prompts[1].find("cannot store 'Ж' (U+0416), 'у' (U+0443), 'к' (U+043A)"),
            std::string::npos)
      << boxes_.Prompts[1];
  EXPECT_NE(boxes_.Prompts[1].find("German (Germany) (code page 1252)"), std::string::npos)
      << boxes_.Prompts[1];
  EXPECT_EQ(Grid().Cell(comment, 1),
            "Nicht K\xE4"
            "fer!");
  EXPECT_TRUE(boxes_.Messages.empty());
  EXPECT_TRUE(window_->IsDirty());

  // Cancelled after the warning: the row keeps its comment.
  boxes_.Inputs = {"\xD0\x96"};
  boxes_.Prompts.clear();
  window_->EditComment();
  EXPECT_EQ(boxes_.Prompts.size(), 2u);
  EXPECT_EQ(Grid().Cell(comment, 1),
            "Nicht K\xE4"
            "fer!");
}

// A value for "Set value" that the notes' code page cannot store comes back as typed, with the
// character named, until it can be stored or the translator cancels: é in Russian notes (1251),
// where a text without a character above U+00FF cannot hold it as a code.
TEST_F(GridWindow, SetValueKeepsTheTypedTextAndSaysWhatItCannotStore) {
  Open({{"O:Form1.Caption", "'Cafe'", "'Cafe'", StatusUntranslated, true, "TForm1"},
        {"O:Form1.Hint", "'Menu'", "'Menu'", StatusUntranslated, true, "TForm1"}},
       "en-US", "ru-RU");
  const int curr = Col(ColCurr);
  Grid().SelectRow(1);
  Grid().SelectRow(2);
  window_->PopupEditMenu();
  vaq::TVaqMenuItem* item = nullptr;
  for (const auto& i : window_->EditMenuItem->Items) {
    if (i->Tag == curr) item = i.get();
  }
  ASSERT_NE(item, nullptr);
  boxes_.Inputs = {"Caf\xC3\xA9", "\xD0\x9A\xD0\xB0\xD1\x84\xD0\xB5"};  // Café, then Кафе
  item->OnClick(*item);
  ASSERT_EQ(boxes_.Prompts.size(), 2u);
  EXPECT_EQ(boxes_.Offered[1], "Caf\xC3\xA9") << "the typed value comes back";
  EXPECT_NE(boxes_.Prompts[1].find("'\xC3\xA9' (U+00E9) is not in the code page of Russian"),
            std::string::npos)
      << boxes_.Prompts[1];
  EXPECT_TRUE(boxes_.Messages.empty());
  EXPECT_EQ(window_->CellEditText(curr, 1), "\xD0\x9A\xD0\xB0\xD1\x84\xD0\xB5");
  EXPECT_EQ(window_->CellEditText(curr, 2), "\xD0\x9A\xD0\xB0\xD1\x84\xD0\xB5");
  EXPECT_EQ(window_->StoreProblem(curr, 1, "\xD0\x9A\xD0\xB0\xD1\x84\xD0\xB5"), "");
  EXPECT_NE(window_->StoreProblem(curr, 1, "Caf\xC3\xA9"), "");
}

// Suggestions for the current row: similar stored originals, best first, with the words that differ
// marked; Ctrl+n (ApplySuggestion) copies one into the value through the edit path, and only then
// is the row Translated. Saving adds the translations it writes to the repository (an option).
TEST_F(GridWindow, SuggestionsForTheCurrentRowAndTheirUse) {
  vaq::AddTranslations(0x0409, 0x0407,
                       {{"'Save the order and close'",
                         "'Bestellung speichern und schlie\xDF"
                         "en'"},
                        {"'Save order and close it'", "'Bestellung speichern und beenden'"},
                        {"'Orders'", "'Bestellungen'"}});
  Open({{"O:Form1.O:B1.Hint", "'Save order and close'", "'Save order and close'", StatusUntranslated},
        {"O:Form1.O:B1.Width", "75", "75"},
        {"O:Form1.O:B2.Hint", "'Print the report'", "'Print the report'", StatusUntranslated}});
  const int curr = Col(ColCurr);
  Grid().SetCurrent(curr, 1);
  window_->UpdateSuggestions();
  ASSERT_EQ(window_->Suggestions().size(), 2u) << window_->SuggestionsProblem();
  const auto& best = window_->Suggestions()[0];
  EXPECT_EQ(best.Source, "Save order and close it");
  EXPECT_EQ(best.Translation, "Bestellung speichern und beenden");
  EXPECT_EQ(window_->Suggestions()[1].Source, "Save the order and close");
  EXPECT_GT(best.Similarity, window_->Suggestions()[1].Similarity);
  std::vector<std::string> marked;
  for (const auto& word : best.Differences)
    if (word.Differs) marked.push_back(best.Source.substr(word.Begin, word.End - word.Begin));
  EXPECT_EQ(marked, (std::vector<std::string>{"it"}));
  EXPECT_EQ(Cell(ColStatus, 1), "Untranslated") << "nothing taken by itself";
  EXPECT_FALSE(window_->IsDirty());

  // A number and a text without a similar one have none; the lookup follows the row.
  Grid().SetCurrent(curr, 2);
  window_->UpdateSuggestions();
  EXPECT_TRUE(window_->Suggestions().empty());
  EXPECT_FALSE(window_->ApplySuggestion(1));
  Grid().SetCurrent(curr, 3);
  window_->UpdateSuggestions();
  EXPECT_TRUE(window_->Suggestions().empty());

  Grid().SetCurrent(curr, 1);
  window_->UpdateSuggestions();
  EXPECT_FALSE(window_->ApplySuggestion(3));
  ASSERT_TRUE(window_->ApplySuggestion(2));
  EXPECT_EQ(Cell(ColCurr, 1),
            "'Bestellung speichern und schlie\xDF"
            "en'");
  EXPECT_EQ(Cell(ColStatus, 1), "Translated");
  EXPECT_TRUE(window_->IsDirty());

  // The save stores the translation it wrote under the row's original (exact lookups find it).
  ASSERT_TRUE(window_->SaveToFile());
  std::string text = "'Save order and close'";
  ASSERT_TRUE(vaq::GetTranslation(0x0409, 0x0407, text));
  EXPECT_EQ(text,
            "'Bestellung speichern und schlie\xDF"
            "en'");
  EXPECT_NE(window_->StatusMessage.find("1 translation added to the repository"), std::string::npos);

  // With the option off, nothing is added.
  vaq::VaqINTOptionProps.SetOverride(vaq::kOptAddToRepositoryOnSave, false);
  ASSERT_TRUE(window_->EditCell(curr, 3, "'Bericht drucken'"));
  ASSERT_TRUE(window_->SaveToFile());
  vaq::VaqINTOptionProps.ClearOverride(vaq::kOptAddToRepositoryOnSave);
  text = "'Print the report'";
  EXPECT_FALSE(vaq::GetTranslation(0x0409, 0x0407, text));
}

// Suggestions in Cyrillic and Japanese notes: the stored translations read in their code page.
TEST_F(GridWindow, SuggestionsInOtherCodePages) {
  for (const auto& [target, lcid, stored, shown] :
       {std::tuple<const char*, vaq::TLCID, const char*, const char*>{
            "ru-RU", 0x0419, "'\xC7\xE0\xEA\xE0\xE7\xFB'",
            "\xD0\x97\xD0\xB0\xD0\xBA\xD0\xB0\xD0\xB7\xD1\x8B"},
        {"ja-JP", 0x0411, "'\x92\x8D\x95\xB6'", "\xE6\xB3\xA8\xE6\x96\x87"}}) {
    vaq::AddTranslations(0x0409, lcid, {{"'Open orders'", stored}});
    Open({{"O:Form1.Caption", "'Open the orders'", "'Open the orders'", StatusUntranslated, true, "TForm1"}},
         "en-US", target);
    window_->UpdateSuggestions();
    ASSERT_EQ(window_->Suggestions().size(), 1u) << target << window_->SuggestionsProblem();
    EXPECT_EQ(window_->Suggestions()[0].Translation, shown) << target;
    ASSERT_TRUE(window_->ApplySuggestion(1));
    EXPECT_EQ(window_->CellEditText(Col(ColCurr), 1), shown) << target;
  }
}

TEST_F(GridWindow, EditMenuStates) {
  Open({
      {"O:Form1.O:B1.Width", "75", "75"},
      {"O:Form1.O:B2.Width", "80", "80"},
      {"O:Form1.O:B3.Caption", "'OK'", "'OK'", StatusTranslated},
      {"O:Form1.O:B4.Left", "1.5", "1.5"},
  });
  const auto item = [&](const std::string& caption) -> const vaq::TVaqMenuItem& {
    for (const auto& i : window_->EditMenuItem->Items) {
      if (i->Caption == caption) return *i;
    }
    throw std::runtime_error("no item " + caption);
  };
  const std::string current = Grid().ColDefs[Col(ColCurr)].GetMenuCaption();
  const std::string status = Grid().ColDefs[Col(ColStatus)].GetMenuCaption();
  Grid().SelectRow(1);
  Grid().SelectRow(2);
  window_->PopupEditMenu();
  // The six grid actions, then the edit item holding one item per editable column.
  EXPECT_EQ(window_->PopupMenu.Items.size(), 1u + vaq::kGridActionCount);
  EXPECT_TRUE(item(current).Enabled);
  EXPECT_FALSE(item(status).Enabled);  // one status among the selected rows
  Grid().SelectRow(3);
  window_->PopupEditMenu();  // opened again: the items are not doubled
  EXPECT_EQ(window_->PopupMenu.Items.size(), 1u + vaq::kGridActionCount);
  EXPECT_FALSE(item(current).Enabled);
  EXPECT_TRUE(item(status).Enabled);
  // A float and an integer are not of one type either.
  Grid().SelectRow(3, false);
  Grid().SelectRow(4);
  window_->PopupEditMenu();
  EXPECT_FALSE(item(current).Enabled);

  // Applying one value to the selected numbers.
  Grid().SelectRow(4, false);
  boxes_.Input = "100";
  window_->PopupEditMenu();
  auto& apply = const_cast<vaq::TVaqMenuItem&>(item(current));
  apply.OnClick(apply);
  EXPECT_EQ(Cell(ColCurr, 1), "100");
  EXPECT_EQ(Cell(ColCurr, 2), "100");
  EXPECT_EQ(Cell(ColStatus, 2), "Translated");
}

TEST_F(GridWindow, GridActionsAndNavigation) {
  Open(kButtons);
  Grid().SetCurrent(Col(ColCurr), 1);
  EXPECT_TRUE(window_->GotoUntranslated(true));
  EXPECT_EQ(Grid().Row, 3);
  EXPECT_TRUE(window_->GotoUntranslated(false));
  EXPECT_EQ(Grid().Row, 1);
  EXPECT_FALSE(window_->GotoUntranslated(false));

  Grid().SetCurrent(Col(ColCurr), 3);
  window_->MarkStatus(StatusTranslated);
  EXPECT_EQ(Cell(ColStatus, 3), "Translated");
  window_->EditCell(Col(ColCurr), 3, "'Gut'");
  window_->RestoreSaved();
  EXPECT_EQ(Cell(ColCurr, 3), "'OK'");
  EXPECT_EQ(Cell(ColStatus, 3), "Untranslated");
  boxes_.Input = "check the length";
  window_->EditComment();
  EXPECT_EQ(Cell(ColComment, 3), "check the length");
}

TEST_F(GridWindow, LeavingAFileWithChanges) {
  const std::string form = Open(kButtons);
  window_->EditCell(Col(ColCurr), 1, "'Bestellungen'");
  boxes_.Answer = vaq::TModalResult::Cancel;
  EXPECT_FALSE(window_->CanLeaveFile());
  EXPECT_TRUE(window_->IsDirty());
  boxes_.Answer = vaq::TModalResult::Yes;
  EXPECT_TRUE(window_->CanLeaveFile());
  EXPECT_FALSE(window_->IsDirty());
  TRuxMgr reread(form);
  EXPECT_EQ(vaq::GetValue(reread.GetStrings(0), KeyCurr), "'Bestellungen'");
}

TEST_F(GridWindow, PreviewActions) {
  Open(kButtons);
  // Ctrl+F7 twice: shown, then hidden; the button follows.
  window_->EditShowOriginalForm->OnExecute(window_.get());
  EXPECT_TRUE(bShowOrigForm);
  EXPECT_TRUE(window_->FindToolButton("tbShowOrigForm")->Down);
  window_->EditShowOriginalForm->OnExecute(window_.get());
  EXPECT_FALSE(bShowOrigForm);
  EXPECT_FALSE(window_->FindToolButton("tbShowOrigForm")->Down);
  EXPECT_EQ(viewer_.Calls, (std::vector<std::string>{"show orig", "hide orig"}));

  // Closing a preview with its close box raises the button and switches the option off.
  window_->EditShowTranslatedForm->OnExecute(window_.get());
  ASSERT_TRUE(viewer_.OnClose);
  viewer_.OnClose(kTranslatedPreviewTag);
  EXPECT_FALSE(bShowXlatForm);
  EXPECT_FALSE(window_->FindToolButton("tbShowXlatForm")->Down);

  // On-top mode: the hint names what a click does; both previews get the style.
  viewer_.Calls.clear();
  window_->EditOnTopMode->OnExecute(window_.get());
  EXPECT_TRUE(bStayOnTop);
  EXPECT_EQ(window_->EditOnTopMode->ImageIndex, kImageOnTopOn);
  EXPECT_EQ(window_->EditOnTopMode->Hint, SDontKeepOnTop.Text);
  EXPECT_EQ(viewer_.Calls, (std::vector<std::string>{"style orig top", "style xlat top"}));

  // Refresh without a question when nothing is unsaved.
  bShowXlatForm = true;
  viewer_.Calls.clear();
  window_->EditRefreshXlatForm->OnExecute(window_.get());
  EXPECT_TRUE(boxes_.Messages.empty());
  EXPECT_EQ(viewer_.Calls, (std::vector<std::string>{"destroy xlat", "show xlat top", "designer options"}));
  // With unsaved changes and No: nothing happens.
  window_->EditCell(Col(ColCurr), 1, "'Bestellungen'");
  viewer_.Calls.clear();
  boxes_.Answer = vaq::TModalResult::No;
  window_->EditRefreshXlatForm->OnExecute(window_.get());
  ASSERT_EQ(boxes_.Messages.size(), 1u);
  EXPECT_EQ(boxes_.Messages[0], SSaveBeforeRefresh.Text);
  EXPECT_TRUE(viewer_.Calls.empty());
  EXPECT_TRUE(window_->IsDirty());
  // Yes saves first.
  boxes_.Answer = vaq::TModalResult::Yes;
  window_->EditRefreshXlatForm->OnExecute(window_.get());
  EXPECT_FALSE(window_->IsDirty());
  EXPECT_EQ(viewer_.Calls.front(), "destroy xlat");

  // Hiding the window hides both previews and stores them as off.
  bShowOrigForm = true;
  window_->FormHide();
  EXPECT_FALSE(bShowOrigForm);
  EXPECT_FALSE(bShowXlatForm);
}

TEST_F(GridWindow, OpeningAFileShowsThePreviewsOfItsOptions) {
  bShowXlatForm = true;
  const std::string form = SaveForm(kButtons);
  window_->LoadFromFile(form);
  EXPECT_EQ(viewer_.Calls, (std::vector<std::string>{"destroy orig", "destroy xlat", "hide orig", "show xlat",
                                                     "designer options"}));
  EXPECT_TRUE(bShowXlatForm);  // not toggled
  window_->Idle();             // shown: nothing left to build
  EXPECT_EQ(viewer_.Calls.size(), 5u);

  // A hidden translated preview is built in advance once the window is idle, and only once.
  bShowXlatForm = false;
  window_->LoadFromFile(form);
  viewer_.Calls.clear();
  window_->Idle();
  window_->Idle();
  EXPECT_EQ(viewer_.Calls, (std::vector<std::string>{"create xlat"}));
}

TEST_F(GridWindow, WithoutPreviewTheActionsAreHidden) {
  window_.reset();
  vaq::ClearVaqShortcuts();
  vaq::UnregisterVaqFileTypes();
  vaq::UseOlk = false;
  window_ = std::make_unique<TfrmVaqRuxForm>();
  window_->FormCreate();
  vaq::UseOlk = true;
  EXPECT_FALSE(window_->EditShowOriginalForm->Visible);
  EXPECT_FALSE(window_->FindToolButton("ToolButton2")->Visible);
  EXPECT_FALSE(window_->FindToolButton("tbOnTopMode")->Visible);
  EXPECT_TRUE(vaq::RegisteredVaqShortcuts().empty());

  window_.reset();
  vaq::UnregisterVaqFileTypes();
  window_ = std::make_unique<TfrmVaqRuxForm>();
  window_->FormCreate();
  ASSERT_EQ(vaq::RegisteredVaqShortcuts().size(), 4u);
  EXPECT_EQ(vaq::RegisteredVaqShortcuts()[0].ShortCut, 16502u);
  EXPECT_EQ(vaq::RegisteredVaqShortcuts()[0].KeyEventKind, 3);
  EXPECT_EQ(vaq::RegisteredVaqShortcuts()[3].ShortCut, 16459u);
  EXPECT_EQ(vaq::ShortCutToText(16503), "Ctrl+F8");
  EXPECT_EQ(window_->Shortcuts.size(), 15u);
}

TEST_F(GridWindow, DesignerReportsComeBackIntoTheGrid) {
  Open({
      {"O:Form1.O:Button1.Caption", "'Hello'", "'Hello'"},
      {"O:Form1.O:Button1.Left", "8", "8"},
      {"O:Form1.O:Button1.Top", "16", "16"},
      {"O:Form1.O:Button10.Left", "30", "30"},
  });
  FakeDesigner designer;
  viewer_.Designer = &designer;
  // Moving to the same place changes nothing.
  window_->ComponentMoved("O:Form1.O:Button1", {8, 16});
  EXPECT_FALSE(window_->IsDirty());
  window_->ComponentMoved("O:Form1.O:Button1", {12, 16});
  EXPECT_EQ(Cell(ColCurr, 2), "12");
  EXPECT_EQ(Cell(ColCurr, 4), "30");  // Button10 is another component
  EXPECT_EQ(Cell(ColStatus, 2), "Translated");
  EXPECT_TRUE(window_->IsDirty());
  EXPECT_TRUE(designer.Values.empty());  // the designer's own change is not sent back

  window_->ComponentSelected("O:Form1.O:Button1");
  EXPECT_EQ(Grid().Row, 1);
  EXPECT_EQ(Grid().Col, Col(ColCurr));

  // A grid edit reaches the designer as the record holds it: component path, property path, value.
  window_->EditCell(Col(ColCurr), 1, "'Hallo'");
  EXPECT_EQ(designer.Values, (std::vector<std::string>{"O:Form1.O:Button1.Caption='Hallo'"}));

  // Showing the translated preview hands the designer a fresh notifier.
  window_->EditShowTranslatedForm->OnExecute(window_.get());
  EXPECT_NE(designer.Notifier, nullptr);
}

TEST_F(GridWindow, DesignerValuesTheNotesLackAreAddedAfterTheComponent) {
  // A control at Top 0 has no Top line in its form file, so its notes have no Top record.
  const std::string form = Open({
      {"O:Form1.O:Button1.Caption", "'Hello'", "'Hello'"},
      {"O:Form1.O:Button1.Left", "8", "8"},
      {"O:Form1.O:Button1.O:Inner.Caption", "'In'", "'In'", StatusUntranslated, true, "TLabel"},
      {"O:Form1.O:Button2.Left", "30", "30"},
  });
  window_->ComponentMoved("o:form1.o:button1", {8, 24});
  ASSERT_EQ(Grid().RowCount(), 6);
  EXPECT_EQ(Cell(ColId, 3), "O:Form1.O:Button1.Top");  // after its own records, before its child's
  EXPECT_EQ(Cell(ColOrig, 3), "");
  EXPECT_EQ(Cell(ColCurr, 3), "24");
  EXPECT_EQ(Cell(ColStatus, 3), "Translated");
  EXPECT_EQ(Grid().Row, 3);
  EXPECT_EQ(window_->DisplayText(Col(ColIndex), 5), "5");
  EXPECT_TRUE(window_->IsDirty());

  // The same place again changes nothing; the new record takes the next move like any other.
  window_->ComponentMoved("O:Form1.O:Button1", {8, 24});
  EXPECT_EQ(Grid().RowCount(), 6);
  window_->ComponentMoved("O:Form1.O:Button1", {8, 32});
  EXPECT_EQ(Cell(ColCurr, 3), "32");

  ASSERT_TRUE(window_->SaveToFile());
  TRuxMgr saved(form);
  ASSERT_EQ(saved.GetCount(), 5);
  const auto record = [&](int i) { return saved.StringToNotesString(saved.GetStrings(i), form); };
  EXPECT_EQ(record(2).Id, "O:Form1.O:Button1.Top");
  EXPECT_EQ(record(2).Type, "TButton");
  EXPECT_EQ(record(2).Order, 3);
  EXPECT_EQ(record(3).Order, 4);  // the child's record and those after it move up by one
  EXPECT_EQ(record(4).Order, 5);

  // A component without a record in the notes gives no place and no class: nothing is added.
  window_->ComponentMoved("O:Form1.O:Unknown", {1, 2});
  EXPECT_EQ(Grid().RowCount(), 6);
}

// A translation with faults: the check marks their rows, counts the grid's unsaved edits, writes
// nothing, and another file starts without marks.
TEST_F(GridWindow, CheckMarksTheRowsOfItsFindings) {
  const std::string form = Open({
      {"O:Form1.Caption", "'Files:'", "'Dateien:'", StatusTranslated, true, "TForm1"},
      {"O:Form1.O:Label1.Caption", "'%s files found'", "'Dateien gefunden'", StatusTranslated, true,
       "TLabel"},
      {"O:Form1.O:Button1.Caption", "'&Open'", "'Oeffnen'", StatusTranslated},
      {"O:Form1.O:Button2.Caption", "'&Close'", "'&Schliessen'", StatusTranslated},
  });
  ASSERT_NE(window_->ToolsCheck, nullptr);
  EXPECT_EQ(window_->ToolsCheck->Category, "Tools");
  EXPECT_EQ(window_->ToolsCheck->ShortCut, vaq::scCtrl | vaq::scShift | 'C');
  window_->ToolsCheck->Update();
  EXPECT_TRUE(window_->ToolsCheck->Enabled);

  const std::string notesFile = FileNameToNoteName(form);
  const std::vector<std::string> notesBefore = vaq::LoadLines(notesFile);
  EXPECT_EQ(window_->RowFinding(1), nullptr);
  window_->ToolsCheck->OnExecute(nullptr);
  EXPECT_EQ(window_->StatusMessage, "2 findings in Form1.rux");
  EXPECT_EQ(window_->RowFindings.size(), 2u);
  EXPECT_EQ(window_->RowFinding(1), nullptr);
  ASSERT_NE(window_->RowFinding(2), nullptr);
  EXPECT_NE(window_->RowFinding(2)->find("%s"), std::string::npos) << *window_->RowFinding(2);
  EXPECT_TRUE(window_->RowFinding(2)->starts_with("consistency: ")) << *window_->RowFinding(2);
  ASSERT_NE(window_->RowFinding(3), nullptr);
  EXPECT_TRUE(window_->RowFinding(3)->starts_with("accelerators: ")) << *window_->RowFinding(3);
  EXPECT_EQ(window_->RowFinding(4), nullptr);

  // The filter shows the marked rows only, numbered without gaps.
  window_->VaqGridProcessFilters(nullptr, static_cast<int>(vaq::TVaqFilter::WithFindings), false);
  EXPECT_EQ(Grid().ShownRows(), (std::vector<int>{2, 3}));
  EXPECT_EQ(Grid().DisplayNumber(3), 2);
  EXPECT_EQ(vaq::FilterName(vaq::TVaqFilter::WithFindings), "With findings");

  // An unsaved edit that drops the final colon is found; the marks and the filter follow.
  window_->VaqGridProcessFilters(nullptr, static_cast<int>(vaq::TVaqFilter::All), false);
  ASSERT_TRUE(window_->EditCell(Col(ColCurr), 1, "'Dateien'"));
  window_->VaqGridProcessFilters(nullptr, static_cast<int>(vaq::TVaqFilter::WithFindings), false);
  EXPECT_EQ(window_->CheckTranslation(), 3);
  ASSERT_NE(window_->RowFinding(1), nullptr);
  EXPECT_EQ(Grid().ShownRows(), (std::vector<int>{1, 2, 3}));

  // Nothing was written: the notes file is as it was, no form was generated, the edit is unsaved
  // and the saved value can still be restored.
  EXPECT_EQ(vaq::LoadLines(notesFile), notesBefore);
  EXPECT_EQ(formsWritten_, 0);
  EXPECT_TRUE(window_->IsDirty());
  Grid().ClearSelection();
  Grid().SetCurrent(Col(ColCurr), 1);
  window_->RestoreSaved();
  EXPECT_EQ(Cell(ColCurr, 1), "'Dateien:'");

  // Another file starts without marks, showing all its rows.
  const std::string other = SaveForm(kButtons, "en-US", "de-DE", "Form2.rux");
  window_->LoadFromFile(other);
  EXPECT_TRUE(window_->RowFindings.empty());
  EXPECT_EQ(window_->RowFinding(1), nullptr);
  EXPECT_EQ(window_->Filter, vaq::TVaqFilter::All);
  EXPECT_EQ(Grid().ShownRows().size(), 6u);
}

}  // namespace
}  // namespace rux
