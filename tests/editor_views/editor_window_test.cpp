// The form editor's desktop window, offscreen: shortcuts and check-style buttons of the preview
// actions against a recording viewer, the refresh question, the edit menu's states, refused edits,
// search, options, the file list, and a translator's session on the demo project.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFont>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidgetItemIterator>
#include <filesystem>
#include <memory>

#include "core/views/options_dialog.h"
#include "editor/editor_viewer.h"
#include "editor/rux_form.h"
#include "editor/views/rux_editor_window.h"
#include "host/core/files.h"
#include "host/core/flags.h"
#include "host/core/notes_strings.h"
#include "host/core/options.h"
#include "host/core/registration.h"
#include "host/core/registry.h"
#include "host/core/repository.h"
#include "host/core/resource_strings.h"
#include "host/framework/ide.h"
#include "module/module.h"
#include "notes/column_table.h"
#include "support/host_fakes.h"
#include "support/temp_dir.h"
#include "updater/form_reader.h"

namespace rux {
namespace {

namespace fs = std::filesystem;

QApplication& App() {
  static int argc = 1;
  static char name[] = "test_editor_views";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    auto* a = new QApplication(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    return a;
  }();
  return *app;
}

class FakeViewer : public IEditorViewer {
 public:
  void ShowForm(const std::string&, bool Original, bool) override {
    Calls.push_back(Original ? "show orig" : "show xlat");
  }
  void HideForm(bool Original) override { Calls.push_back(Original ? "hide orig" : "hide xlat"); }
  void DestroyForm(bool Original) override { Calls.push_back(Original ? "destroy orig" : "destroy xlat"); }
  void CreateForm(const std::string&, bool) override {}
  void UpdateFormStyle(bool, bool) override {}
  IVaqFormDesigner* GetDesigner() override { return nullptr; }
  void UpdateDesignerOptions() override {}
  std::vector<std::string> Calls;
};

using FakeBoxes = vaq::testing::TScriptedMessageBoxes;

using Units = vaq::testing::TUnitList;

// The module started as in the desktop build, on a copy of the demo project updated for de-DE.
class EditorWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    fs::copy(fs::path(VAQ_TESTS_SOURCE_DIR) / ".." / "examples" / "demo", project_,
             fs::copy_options::recursive);
    InstallEditorViewer(&viewer_);
    ModuleStartup();
    vaq::TStats stats;
    vaq::TStringObjectList forms;
    std::vector<std::string> units;
    for (const char* unit :
         {"MainForm.pas", "AddressFrame.pas", "BaseDialog.pas", "OptionsDialog.pas", "ReportView.cpp"}) {
      units.push_back(project_ + "/" + unit);
    }
    Units tools(units);
    vaq::GetVaqFileType(vaq::VaqFileTypes.ExtIndexOf(".rux"))
        ->UpdateForms(&forms, stats, project_, project_, Lang(), vaq::sUpdate, {}, 0x0409, 0x0407, &tools, 0,
                      {});
    window_ = views::CreateRuxEditorWindow(*frmVaqForm());
    window_->SetErrorBoxes(false);
    frmVaqForm()->SetMessageBoxes(&boxes_);
    window_->SetFiles(Lang(), views::ListFormFiles(Lang()));
    window_->show();
    QApplication::setActiveWindow(window_.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    ASSERT_TRUE(window_->OpenFile(Lang("MainForm.rux")));
    frmVaqForm()->SetMessageBoxes(&boxes_);
    viewer_.Calls.clear();
  }
  void TearDown() override {
    window_.reset();
    ModuleShutdown();
    InstallEditorViewer(nullptr);
  }
  std::string Lang(const std::string& name = {}) const {
    return project_ + "/de-DE" + (name.empty() ? "" : "/" + name);
  }
  TfrmVaqRuxForm& Logic() { return *frmVaqForm(); }
  // The view row of the record with this Id.
  int RowOf(const std::string& id) {
    const int idColumn = Logic().EnumToCol(ColId);
    for (int r = 1; r < Logic().VaqGrid.RowCount(); ++r) {
      if (Logic().VaqGrid.Cell(idColumn, r) == id) return window_->Model()->ViewRow(r);
    }
    ADD_FAILURE() << "no row " << id;
    return -1;
  }
  QModelIndex Curr(const std::string& id) {
    return window_->Model()->index(RowOf(id), Logic().EnumToCol(ColCurr));
  }
  QAction* SetValueItem(QMenu& menu, const QString& caption) {
    for (QAction* action : menu.actions()) {
      if (action->menu()) {
        for (QAction* item : action->menu()->actions()) {
          if (item->text() == caption) return item;
        }
      }
    }
    return nullptr;
  }

  vaq::testing::TempDir config_{vaq::testing::TempDir::kConfig};
  vaq::testing::TempDir dir_;
  std::string project_ = dir_ / "demo";
  FakeViewer viewer_;
  FakeBoxes boxes_;
  std::unique_ptr<vaq::views::TTranslatorWindow> window_;
};

TEST_F(EditorWindow, ShowsTheFileWithItsCountsAndCaptions) {
  EXPECT_GT(window_->Model()->rowCount(), 10);
  EXPECT_EQ(
      window_->Model()->headerData(Logic().EnumToCol(ColCurr), Qt::Horizontal, Qt::DisplayRole).toString(),
      QStringLiteral("German (Germany)"));
  EXPECT_TRUE(window_->CountsLabel()->text().contains(QStringLiteral("translated")));
  EXPECT_TRUE(window_->windowTitle().startsWith(QStringLiteral("MainForm.rux")));
  // The file list: one group with the five forms and their counts.
  ASSERT_EQ(window_->FileList()->topLevelItemCount(), 1);
  EXPECT_EQ(window_->FileList()->topLevelItem(0)->childCount(), 5);
  EXPECT_FALSE(window_->FileList()->topLevelItem(0)->child(0)->text(2).isEmpty());
  // The current record in the status bar.
  window_->Grid()->setCurrentIndex(Curr("O:MainForm.O:btnOK.Caption"));
  EXPECT_EQ(window_->IdLabel()->text(), QStringLiteral("TButton::btnOK.Caption"));
}

TEST_F(EditorWindow, ShowOriginalTwiceAndClosingThePreview) {
  QAction* show = window_->Action("EditShowOriginalForm");
  ASSERT_NE(show, nullptr);
  EXPECT_EQ(show->shortcut(), QKeySequence(QStringLiteral("Ctrl+F7")));
  QTest::keyClick(window_.get(), Qt::Key_F7, Qt::ControlModifier);
  EXPECT_TRUE(show->isChecked());
  EXPECT_TRUE(bShowOrigForm);
  QTest::keyClick(window_.get(), Qt::Key_F7, Qt::ControlModifier);
  EXPECT_FALSE(show->isChecked());
  EXPECT_EQ(viewer_.Calls, (std::vector<std::string>{"show orig", "hide orig"}));

  // The preview's own close box raises the button and the option is not stored as on (a value
  // that is off, the default, needs no entry).
  QTest::keyClick(window_.get(), Qt::Key_F7, Qt::ControlModifier);
  ASSERT_TRUE(viewer_.OnClose);
  viewer_.OnClose(kOriginalPreviewTag);
  EXPECT_FALSE(show->isChecked());
  window_.reset();
  ModuleShutdown();
  vaq::TRegistry registry;
  EXPECT_FALSE(registry.OpenKey(vaq::VaqBaseRegKey + "\\RUX", false) &&
               registry.ValueExists("ShowOrigForm") && registry.ReadBool("ShowOrigForm"));
}

// The previews shown when the window closes come back at the next start; hiding the window while
// the program goes on switches them off.
TEST_F(EditorWindow, PreviewChoiceIsKeptAcrossStarts) {
  QTest::keyClick(window_.get(), Qt::Key_F7, Qt::ControlModifier);
  QTest::keyClick(window_.get(), Qt::Key_F8, Qt::ControlModifier);
  ASSERT_TRUE(bShowOrigForm && bShowXlatForm);
  viewer_.Calls.clear();
  window_->close();
  EXPECT_EQ(viewer_.Calls, (std::vector<std::string>{"hide orig", "hide xlat"}));
  window_.reset();
  ModuleShutdown();
  {
    vaq::TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(vaq::VaqBaseRegKey + "\\RUX", false));
    EXPECT_TRUE(registry.ReadBool("ShowOrigForm"));
    EXPECT_TRUE(registry.ReadBool("ShowXlatForm"));
  }

  ModuleStartup();
  EXPECT_TRUE(bShowOrigForm && bShowXlatForm);
  window_ = views::CreateRuxEditorWindow(*frmVaqForm());
  window_->SetErrorBoxes(false);
  window_->show();
  viewer_.Calls.clear();
  ASSERT_TRUE(window_->OpenFile(Lang("MainForm.rux")));
  EXPECT_EQ(viewer_.Calls,
            (std::vector<std::string>{"destroy orig", "destroy xlat", "show orig", "show xlat"}));
  EXPECT_TRUE(window_->Action("EditShowOriginalForm")->isChecked());
  EXPECT_TRUE(window_->Action("EditShowTranslatedForm")->isChecked());

  // Hidden while the program goes on (the host hides the editor), the previews go with it.
  window_->hide();
  EXPECT_FALSE(bShowOrigForm || bShowXlatForm);
}

TEST_F(EditorWindow, RefreshAsksOnlyWithUnsavedChanges) {
  bShowXlatForm = true;
  window_->Action("EditRefreshXlatForm")->trigger();
  EXPECT_TRUE(boxes_.Messages.empty());
  EXPECT_EQ(viewer_.Calls.front(), "destroy xlat");
  ASSERT_TRUE(window_->Model()->setData(Curr("O:MainForm.Caption"), QStringLiteral("Bestellungen!")));
  EXPECT_TRUE(window_->windowTitle().contains(QStringLiteral("*")));
  viewer_.Calls.clear();
  boxes_.Answer = vaq::TModalResult::No;
  QTest::keyClick(window_.get(), Qt::Key_F5, Qt::ControlModifier);
  ASSERT_EQ(boxes_.Messages.size(), 1u);
  EXPECT_TRUE(viewer_.Calls.empty());
  EXPECT_TRUE(Logic().IsDirty());
}

TEST_F(EditorWindow, EditMenuStatesFollowTheSelection) {
  const int curr = Logic().EnumToCol(ColCurr);
  auto* selection = window_->Grid()->selectionModel();
  selection->select(Curr("O:MainForm.O:btnOK.Left"), QItemSelectionModel::ClearAndSelect);
  selection->select(Curr("O:MainForm.O:btnOK.Top"), QItemSelectionModel::Select);
  const QString caption = QString::fromStdString(Logic().VaqGrid.ColDefs[curr].GetMenuCaption());
  {
    QMenu menu;
    window_->FillPopupMenu(menu);
    QAction* item = SetValueItem(menu, caption);
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->isEnabled());
  }
  selection->select(Curr("O:MainForm.O:btnOK.Caption"), QItemSelectionModel::Select);
  {
    QMenu menu;
    window_->FillPopupMenu(menu);
    EXPECT_FALSE(SetValueItem(menu, caption)->isEnabled());
  }
}

TEST_F(EditorWindow, RefusedEditsKeepTheCell) {
  // A number where the original is a string is no string: through the notation of a numeric cell.
  const QModelIndex left = Curr("O:MainForm.O:btnOK.Left");
  EXPECT_FALSE(window_->Model()->setData(left, QStringLiteral("far right")));
  EXPECT_EQ(left.data().toString(), QStringLiteral("540"));
  ASSERT_EQ(boxes_.Messages.size(), 1u);
  // A string cell is edited as text. A character German's code page lacks becomes a code (the value
  // turns wide); one from 128 to 255 that it lacks cannot be written faithfully and is refused.
  const QModelIndex caption = Curr("O:MainForm.Caption");
  EXPECT_TRUE(window_->Model()->setData(caption, QString::fromUtf8("\xC4\x80")));
  EXPECT_EQ(caption.data().toString(), QStringLiteral("#256"));
  EXPECT_FALSE(window_->Model()->setData(caption, QString(QChar(0x85))));
  EXPECT_EQ(boxes_.Messages.size(), 2u);
  EXPECT_EQ(caption.data().toString(), QStringLiteral("#256"));
  EXPECT_TRUE(window_->Model()->setData(caption, QStringLiteral("It's")));
  EXPECT_EQ(caption.data().toString(), QStringLiteral("'It'#39's'"));
  EXPECT_EQ(caption.data(Qt::EditRole).toString(), QStringLiteral("It's"));
}

// A character the code page cannot hold, typed straight into a cell: the message names it and the
// cell editor opens again with the typed text, to be changed; the cell keeps its value meanwhile.
TEST_F(EditorWindow, TypedTextTheNotesCannotStoreComesBack) {
  const QModelIndex width = Curr("O:MainForm.Width");
  QTableView& grid = *window_->Grid();
  grid.setCurrentIndex(width);
  grid.edit(width);
  auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  ASSERT_NE(editor, nullptr);
  editor->setText(QString::fromUtf8("64\xD0\x96"));  // 64Ж: Ж is not in code page 1252
  QTest::keyClick(editor, Qt::Key_Return);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes_.Messages.empty(); }));
  EXPECT_NE(boxes_.Messages[0].find("(U+0416)"), std::string::npos) << boxes_.Messages[0];
  EXPECT_EQ(width.data().toString(), QStringLiteral("640"));
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return qobject_cast<QLineEdit*>(QApplication::focusWidget()) != nullptr; }));
  editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  EXPECT_EQ(editor->text(), QString::fromUtf8("64\xD0\x96")) << "the typed text is back";
  editor->setText(QStringLiteral("720"));
  QTest::keyClick(editor, Qt::Key_Return);
  ASSERT_TRUE(QTest::qWaitFor([&] { return width.data().toString() == QStringLiteral("720"); }));
  EXPECT_EQ(boxes_.Messages.size(), 1u);
}

// The suggestions pane under the grid follows the current row: similarity, the stored source with
// the words that differ marked, the translation; Ctrl+2 copies the second into the value.
TEST_F(EditorWindow, SuggestionsPaneAndTheInsertShortcut) {
  vaq::AddTranslations(0x0409, 0x0407,
                       {{"'Save order and close'",
                         "'Auftrag speichern und schlie\xDF"
                         "en'"},
                        {"'Save the order and close it'",
                         "'Bestellung speichern und schlie\xDF"
                         "en'"}});
  vaq::views::TSuggestionsPane& pane = *window_->Suggestions();
  window_->Grid()->setCurrentIndex(Curr("O:MainForm.Width"));
  EXPECT_EQ(pane.List()->topLevelItemCount(), 0);
  EXPECT_EQ(pane.Title()->text(), QStringLiteral("Suggestions: none for this row"));

  window_->Grid()->setCurrentIndex(Curr("O:MainForm.O:btnOK.Hint"));
  ASSERT_EQ(pane.List()->topLevelItemCount(), 2);
  QTreeWidgetItem* first = pane.List()->topLevelItem(0);
  EXPECT_EQ(first->text(0), QStringLiteral("Ctrl+1"));
  EXPECT_EQ(first->data(2, Qt::UserRole).toString(), QStringLiteral("Save the order and close it"));
  EXPECT_EQ(first->text(3), QString::fromUtf8("Bestellung speichern und schlie\xC3\x9F"
                                              "en"));
  EXPECT_EQ(first->text(1), QStringLiteral("90%"));
  const auto* marked = qobject_cast<QLabel*>(pane.List()->itemWidget(first, 2));
  ASSERT_NE(marked, nullptr);
  EXPECT_TRUE(marked->text().contains(QStringLiteral("<b>it</b>"))) << marked->text().toStdString();
  EXPECT_FALSE(marked->text().contains(QStringLiteral("<b>Save</b>")));
  EXPECT_TRUE(window_->Action("EditSuggestion2")->isEnabled());
  EXPECT_FALSE(window_->Action("EditSuggestion3")->isEnabled());
  EXPECT_EQ(window_->Action("EditSuggestion2")->shortcut(), QKeySequence(QStringLiteral("Ctrl+2")));
  EXPECT_FALSE(Logic().IsDirty()) << "shown, not taken";

  QTest::keyClick(window_.get(), Qt::Key_2, Qt::ControlModifier);
  EXPECT_EQ(Curr("O:MainForm.O:btnOK.Hint").data(Qt::EditRole).toString(),
            QString::fromUtf8("Auftrag speichern und schlie\xC3\x9F"
                              "en"));
  EXPECT_TRUE(Logic().IsDirty());
  if (const QByteArray dir = qgetenv("VAQ_TEST_PNG_DIR"); !dir.isEmpty())
    window_->grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/editor_suggestions.png"));
}

TEST_F(EditorWindow, SearchGoesToTheHit) {
  QTest::keyClick(window_.get(), Qt::Key_F, Qt::ControlModifier);
  vaq::views::TSearchDialog* search = window_->SearchDialog();
  EXPECT_TRUE(search->isVisible());
  search->Text->setText(QStringLiteral("orders"));
  search->AllFiles->setChecked(true);
  ASSERT_GE(search->Find(), 1);
  EXPECT_EQ(search->Results->topLevelItemCount(), static_cast<int>(search->Hits().size()));
  // Only the value columns are checked: the Ids that hold the word are not hits.
  for (const auto& hit : search->Hits()) EXPECT_TRUE(hit.ColumnId == ColOrig || hit.ColumnId == ColCurr);
  search->GoToHit(0);
  EXPECT_EQ(window_->Grid()->currentIndex().row(), RowOf(search->Hits()[0].Id));
  EXPECT_EQ(window_->Grid()->currentIndex().column(), Logic().EnumToCol(search->Hits()[0].ColumnId));
}

// Find takes the typed text as UTF-8 and looks for it in each column's code page; its hits carry
// the row numbers the grid shows, also under a filter, and their texts decoded.
TEST_F(EditorWindow, FindMatchesNonAsciiTextsAndNumbersRowsAsTheGridDoes) {
  // Typed, not yet saved: the search covers the grid's edits.
  ASSERT_TRUE(window_->Model()->setData(Curr("O:MainForm.Caption"), QString::fromUtf8("Straße öffnen")));
  QTest::keyClick(window_.get(), Qt::Key_F, Qt::ControlModifier);
  vaq::views::TSearchDialog* search = window_->SearchDialog();
  const auto rowText = [&](const std::string& id) { return QString::number(RowOf(id) + 1); };
  const auto find = [&](const char* text) {
    search->Text->setText(QString::fromUtf8(text));
    return search->Find();
  };

  ASSERT_EQ(find("STRASSE"), 0) << "ß is not folded to ss";
  ASSERT_EQ(find("straße"), 1);
  const QTreeWidgetItem* item = search->Results->topLevelItem(0);
  EXPECT_EQ(item->text(1), rowText("O:MainForm.Caption"));
  EXPECT_EQ(item->text(3), QStringLiteral("O:MainForm.Caption"));
  EXPECT_EQ(item->text(4), QString::fromUtf8("'Straße öffnen'"));
  ASSERT_EQ(find("Öffnen"), 1) << "case-insensitive beyond ASCII";
  ASSERT_EQ(find("schließen"), 1) << "the saved notes hold it in btnOK's hint";
  EXPECT_EQ(search->Hits()[0].Id, "O:MainForm.O:btnOK.Hint");
  EXPECT_EQ(search->Results->topLevelItem(0)->text(1), rowText("O:MainForm.O:btnOK.Hint"));

  // The filter of translated rows hides rows above the hint: the grid numbers its rows anew.
  const int before = RowOf("O:MainForm.O:btnOK.Hint");
  window_->Action("Filter" + std::to_string(static_cast<int>(vaq::TVaqFilter::Translated)))->trigger();
  ASSERT_LT(RowOf("O:MainForm.O:btnOK.Hint"), before);
  ASSERT_EQ(find("schließen"), 1);
  EXPECT_EQ(search->Results->topLevelItem(0)->text(1), rowText("O:MainForm.O:btnOK.Hint"));
  search->GoToHit(0);
  EXPECT_EQ(window_->Grid()->currentIndex().row(), RowOf("O:MainForm.O:btnOK.Hint"));
}

TEST_F(EditorWindow, OptionPagesAndBoundControls) {
  vaq::views::RegisterVaqOptionPage({"Designer", [](QWidget* parent) {
                                       auto* page = new QWidget(parent);
                                       new vaq::views::TPropEdit(vaq::kOptGridSizeX, page);
                                       return page;
                                     }});
  vaq::views::TOptionsDialog dialog(window_.get());
  ASSERT_NE(dialog.Page("Designer"), nullptr);
  for (vaq::views::TPropControl* control : dialog.Controls()) {
    if (auto* edit = dynamic_cast<vaq::views::TPropEdit*>(control)) edit->setText(QStringLiteral("12"));
    if (auto* box = dynamic_cast<vaq::views::TPropCheckBox*>(control);
        box && control->OptionIndex() == vaq::kOptRefreshWithoutAsking) {
      box->setChecked(true);
    }
    if (auto* combo = dynamic_cast<vaq::views::TPropComboBox*>(control)) combo->setCurrentIndex(2);
  }
  dialog.ApplyAll();
  vaq::views::UnregisterVaqOptionPage("Designer");
  EXPECT_EQ(vaq::VaqINTOptionProps.GetInteger(vaq::kOptGridSizeX), 12);
  EXPECT_TRUE(vaq::VaqINTOptionProps.GetBool(vaq::kOptRefreshWithoutAsking));
  EXPECT_EQ(vaq::VaqINTOptionProps.GetInteger(vaq::kOptDelimiterStyle), 2);
  vaq::VaqINTOptionProps.Set(vaq::kOptRefreshWithoutAsking, false);
  vaq::VaqINTOptionProps.Set(vaq::kOptDelimiterStyle, std::int64_t{1});
}

TEST_F(EditorWindow, TranslatorSession) {
  int translatedBefore = -1;
  for (QTreeWidgetItemIterator it(window_->FileList()); *it; ++it) {
    if ((*it)->text(0) == QStringLiteral("MainForm.rux")) translatedBefore = (*it)->text(1).toInt();
  }
  ASSERT_GE(translatedBefore, 0);
  // Two captions and a width, typed as a translator types them.
  const auto type = [&](const QModelIndex& index, const QString& text) {
    QApplication::processEvents();  // the previous editor goes
    window_->Grid()->setCurrentIndex(index);
    window_->Grid()->edit(index);
    QWidget* editor = QApplication::focusWidget();
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();  // the editor commits after the key
  };
  type(Curr("O:MainForm.Caption"), QStringLiteral("Auftraege"));
  type(Curr("O:MainForm.O:btnOK.Caption"), QStringLiteral("&Speichern"));
  type(Curr("O:MainForm.Width"), QStringLiteral("720"));
  EXPECT_EQ(Curr("O:MainForm.O:btnOK.Caption").data().toString(), QStringLiteral("'&Speichern'"));
  EXPECT_EQ(Curr("O:MainForm.Width").data().toString(), QStringLiteral("720"));
  EXPECT_TRUE(window_->Action("FileSave")->isEnabled());
  QTest::keyClick(window_.get(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_FALSE(Logic().IsDirty());
  EXPECT_FALSE(window_->windowTitle().contains(QStringLiteral("*")));

  // The translated form holds the new values, read as an update reads it.
  TExtractedLines lines;
  ASSERT_TRUE(ExtractFormLines(Lang("MainForm.rux"), lines, 0x0407));
  std::map<std::string, std::string> values;
  for (const auto& line : lines) values[line.Id] = line.Data.Value;
  EXPECT_EQ(values["O:MainForm.Caption"], "'Auftraege'");
  EXPECT_EQ(values["O:MainForm.O:btnOK.Caption"], "'&Speichern'");
  EXPECT_EQ(values["O:MainForm.Width"], "720");
  // The file list's counts follow the save: the caption of the form was translated before, the
  // button's caption and the width were not.
  for (QTreeWidgetItemIterator it(window_->FileList()); *it; ++it) {
    if ((*it)->text(0) == QStringLiteral("MainForm.rux")) {
      EXPECT_EQ((*it)->text(1).toInt(), translatedBefore + 2);
    }
  }
}

// The check from its shortcut: marked rows show the warning icon in the row-number column with their
// findings as its tooltip, the status bar counts them, and the filter keeps only them.
TEST_F(EditorWindow, CheckMarksRowsInTheNumberColumn) {
  // A caption that loses its accelerator, typed as a translator would (and not saved).
  ASSERT_TRUE(window_->Model()->setData(Curr("O:MainForm.O:btnOK.Caption"), QStringLiteral("Gut")));
  QAction* check = window_->Action("ToolsCheck");
  ASSERT_NE(check, nullptr);
  EXPECT_EQ(check->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+C")));
  QTest::keyClick(window_.get(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_FALSE(Logic().RowFindings.empty());
  EXPECT_TRUE(window_->statusBar()->currentMessage().contains(QStringLiteral("findings in MainForm.rux")));

  const int number = Logic().EnumToCol(ColIndex);
  const QModelIndex marked = window_->Model()->index(RowOf("O:MainForm.O:btnOK.Caption"), number);
  const QVariant icon = marked.data(Qt::DecorationRole);
  ASSERT_TRUE(icon.canConvert<QIcon>());
  EXPECT_FALSE(icon.value<QIcon>().isNull());
  EXPECT_TRUE(marked.data(Qt::ToolTipRole).toString().startsWith(QStringLiteral("accelerators: ")))
      << marked.data(Qt::ToolTipRole).toString().toStdString();
  // The other cells of the row keep their own tooltip; unmarked rows carry no icon.
  EXPECT_EQ(Curr("O:MainForm.O:btnOK.Caption").data(Qt::ToolTipRole).toString(), QStringLiteral("'Gut'"));
  int unmarked = 0;
  for (int row = 0; row < window_->Model()->rowCount(); ++row) {
    const QModelIndex index = window_->Model()->index(row, number);
    const bool hasFinding = Logic().RowFinding(window_->Model()->GridRow(row)) != nullptr;
    EXPECT_EQ(index.data(Qt::DecorationRole).isValid(), hasFinding) << row;
    unmarked += hasFinding ? 0 : 1;
  }
  EXPECT_GT(unmarked, 0);
  if (const QByteArray dir = qgetenv("VAQ_TEST_PNG_DIR"); !dir.isEmpty())
    window_->grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/editor_check.png"));

  QAction* filter =
      window_->Action("Filter" + std::to_string(static_cast<int>(vaq::TVaqFilter::WithFindings)));
  ASSERT_NE(filter, nullptr);
  EXPECT_EQ(filter->text(), QStringLiteral("With findings"));
  filter->trigger();
  EXPECT_EQ(window_->Model()->rowCount(), static_cast<int>(Logic().RowFindings.size()));
  // Nothing was saved by the check.
  EXPECT_TRUE(Logic().IsDirty());
}

}  // namespace
}  // namespace rux
