// The translator's views on the X server, with key events through the X server's keyboard where
// xdotool is there: the texts filter and the untranslated-text keys, the suggestions pane and its
// insert shortcut, and a language folder that cannot be written.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>

#include "desktop_session.h"
#include "host/core/files.h"
#include "host/core/repository.h"
#include "notes/column_table.h"
#include "support/read_only_folder.h"

namespace rux::x11 {
namespace {

class TranslatorViews : public DesktopSession {
 protected:
  // A key pressed as a translator presses it: through the X server when xdotool is there.
  void Press(const std::string& XKey, Qt::Key Key, Qt::KeyboardModifiers Modifiers) {
    if (HasXdotool()) {
      KeyThroughX(XKey);
    } else {
      QTest::keyClick(&Window(), Key, Modifiers);
    }
  }
  void Activate() {
    Window().activateWindow();
    ASSERT_TRUE(WaitFor([&] { return QApplication::activeWindow() == &Window(); }));
    Window().Grid()->setFocus();
  }
  int CurrentGridRow() const { return Window().Model()->GridRow(Window().Grid()->currentIndex().row()); }
  int RowOf(const std::string& Id) const { return Window().Model()->GridRow(Cell(Id, ColCurr).row()); }
};

TEST_F(TranslatorViews, TextsFilterAndUntranslatedTextKeys) {
  Update("de-DE");
  Open("de-DE", "MainForm.rux");
  Activate();
  const int all = Window().Model()->rowCount();

  Press("ctrl+shift+t", Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_TRUE(WaitFor([&] { return Window().Model()->rowCount() < all; })) << "the texts filter";
  for (int row = 0; row < Window().Model()->rowCount(); ++row)
    EXPECT_TRUE(Logic().IsTextRow(Window().Model()->GridRow(row))) << row;
  EXPECT_TRUE(Window().Action("Filter7")->isChecked());
  Picture(Window(), "texts-filter");
  Press("ctrl+shift+a", Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_TRUE(WaitFor([&] { return Window().Model()->rowCount() == all; })) << "all records again";

  // From the form's Left: past the numbers and the translated caption to the first untranslated
  // text, then the next, and back.
  ClickCell(*Window().Grid(), Cell("O:MainForm.Left", ColCurr));
  Press("ctrl+shift+Down", Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_TRUE(WaitFor([&] { return CurrentGridRow() == RowOf("O:MainForm.Font.Name"); }))
      << "at grid row " << CurrentGridRow();
  Press("ctrl+shift+Down", Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_TRUE(WaitFor([&] { return CurrentGridRow() == RowOf("O:MainForm.O:btnOK.Caption"); }))
      << "at grid row " << CurrentGridRow();
  EXPECT_EQ(Window().Grid()->currentIndex().column(), Logic().EnumToCol(ColCurr));
  Press("ctrl+shift+Up", Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_TRUE(WaitFor([&] { return CurrentGridRow() == RowOf("O:MainForm.Font.Name"); }));
}

TEST_F(TranslatorViews, SuggestionShortcutInsertsTheSecond) {
  vaq::AddTranslations(0x0409, 0x0407,
                       {{"'Save order and close'",
                         "'Auftrag speichern und schlie\xDF"
                         "en'"},
                        {"'Save the order and close it'",
                         "'Bestellung speichern und schlie\xDF"
                         "en'"}});
  Update("de-DE");
  Open("de-DE", "MainForm.rux");
  Activate();
  ClickCell(*Window().Grid(), Cell("O:MainForm.O:btnOK.Hint", ColCurr));
  vaq::views::TSuggestionsPane& pane = *Window().Suggestions();
  ASSERT_TRUE(WaitFor([&] { return pane.List()->topLevelItemCount() == 2; }));
  EXPECT_TRUE(pane.isVisible());
  EXPECT_GT(pane.List()->visualItemRect(pane.List()->topLevelItem(1)).height(), 0);
  EXPECT_FALSE(Logic().IsDirty());
  Picture(Window(), "suggestions");
  Press("ctrl+2", Qt::Key_2, Qt::ControlModifier);
  const QModelIndex hint = Cell("O:MainForm.O:btnOK.Hint", ColCurr);
  ASSERT_TRUE(WaitFor([&] {
    return hint.data(Qt::EditRole).toString() == QString::fromUtf8(
                                                     "Auftrag speichern und schlie\xC3\x9F"
                                                     "en");
  })) << hint.data(Qt::EditRole).toString().toStdString();
  EXPECT_TRUE(Logic().IsDirty());
  EXPECT_EQ(Cell("O:MainForm.O:btnOK.Hint", ColStatus).data().toString(), QStringLiteral("Translated"));
}

TEST_F(TranslatorViews, AFolderThatCannotBeWrittenOpensReadOnly) {
  Update("de-DE");
  const std::string notes = Lang("de-DE", "MainForm.ruz");
  const std::string before = vaq::ReadFileBytes(notes);
  vaq::testing::ReadOnlyFolder readOnly(Lang("de-DE"));
  if (!readOnly.Made()) GTEST_SKIP() << "no folder can be made read-only here";
  Open("de-DE", "MainForm.rux");
  Activate();
  auto* label = Window().findChild<QLabel*>(QStringLiteral("lblReadOnly"));
  ASSERT_NE(label, nullptr);
  EXPECT_TRUE(label->isVisible());
  EXPECT_TRUE(label->toolTip().startsWith(QStringLiteral("Read-only: the folder ")));
  EXPECT_TRUE(label->toolTip().contains(QStringLiteral("/de-DE cannot be written: ")))
      << label->toolTip().toStdString();
  EXPECT_TRUE(label->text().startsWith(QStringLiteral("Read-only: "))) << label->text().toStdString();
  EXPECT_LE(label->width(), Window().width() / 2 + 20) << "the reason gives way to the counts";
  EXPECT_FALSE(Window().Action("FileSave")->isEnabled());
  EXPECT_GT(Window().Model()->rowCount(), 10) << "the grid shows the records";
  // F2 opens no cell editor, Ctrl+T marks nothing, Ctrl+S writes nothing.
  ClickCell(*Window().Grid(), Cell("O:MainForm.O:btnOK.Caption", ColCurr));
  Press("F2", Qt::Key_F2, Qt::NoModifier);
  Press("ctrl+t", Qt::Key_T, Qt::ControlModifier);
  Press("ctrl+s", Qt::Key_S, Qt::ControlModifier);
  QTest::qWait(200);
  EXPECT_EQ(qobject_cast<QLineEdit*>(QApplication::focusWidget()), nullptr);
  EXPECT_EQ(Cell("O:MainForm.O:btnOK.Caption", ColStatus).data().toString(), QStringLiteral("Untranslated"));
  EXPECT_FALSE(Logic().IsDirty());
  Picture(Window(), "read-only");
  EXPECT_EQ(vaq::ReadFileBytes(notes), before);
}

}  // namespace
}  // namespace rux::x11
