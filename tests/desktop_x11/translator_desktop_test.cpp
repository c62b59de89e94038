// A translator's session on the X server, in Western, Cyrillic and Japanese notes of the demo:
// texts typed into the grid (through the X server's keyboard), the translated preview showing them
// live, Find, saving with Ctrl+S, the preview rebuilt with Ctrl+F5, the notes and the translated
// form on disk; the grid's refusal and the comment dialog with characters the code page lacks.
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include "core/values/string_notation.h"
#include "desktop_session.h"
#include "host/core/files.h"
#include "host/core/locale.h"
#include "notes/column_table.h"
#include "updater/form_reader.h"
#include "viewer/viewer.h"

namespace rux::x11 {
namespace {

struct TLanguage {
  const char* Tag;
  const char* Title;   // typed into the form's caption
  const char* Button;  // typed into btnOK's caption
  const char* Find;    // a word of the title, looked for with Find
};

const TLanguage kLanguages[] = {
    {"de-DE", "Bestellungen – Größe", "&Schließen", "größe"},
    {"ru-RU", "Заказы – Дата", "&Готово", "Дата"},
    {"ja-JP", "注文データ", "閉じる(&C)", "データ"},
};

void PrintTo(const TLanguage& Language, std::ostream* Out) {
  *Out << Language.Tag;
}

class TranslatorDesktop : public DesktopSession, public ::testing::WithParamInterface<TLanguage> {
 protected:
  // Types a text into the current-value cell of `Id` as a translator does: a click on the cell,
  // F2, the old text selected and typed over (through the X server when xdotool is there), Enter.
  void TypeIntoCell(const std::string& Id, const std::string& Utf8) {
    QTableView& grid = *Window().Grid();
    const QModelIndex cell = Cell(Id, ColCurr);
    ClickCell(grid, cell);
    QTest::keyClick(&grid, Qt::Key_F2);
    ASSERT_TRUE(WaitFor([] { return qobject_cast<QLineEdit*>(QApplication::focusWidget()) != nullptr; }))
        << "no cell editor for " << Id;
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    editor->selectAll();
    if (HasXdotool()) {
      TypeThroughX(Utf8);
      ASSERT_TRUE(WaitFor([&] { return editor->text() == QString::fromStdString(Utf8); }))
          << "typed through X: " << editor->text().toStdString();
      KeyThroughX("Return");
    } else {
      TypeWithQt(*editor, QString::fromStdString(Utf8));
      QTest::keyClick(editor, Qt::Key_Return);
    }
    ASSERT_TRUE(WaitFor([&] { return cell.data(Qt::EditRole).toString() == QString::fromStdString(Utf8); }))
        << Id << " holds " << cell.data(Qt::EditRole).toString().toStdString();
  }

  // The texts the live translated preview shows: its title and btnOK's caption.
  static std::pair<std::string, std::string> Shown() {
    vaq::widgets::TForm* form = RuxViewer().XlatForm();
    if (!form) return {"<no form>", ""};
    auto* ok = dynamic_cast<vaq::widgets::TControl*>(form->FindComponent("btnOK"));
    auto* button = ok ? qobject_cast<QAbstractButton*>(ok->Widget()) : nullptr;
    return {form->Window()->windowTitle().toStdString(),
            button ? button->text().toStdString() : std::string("<no button>")};
  }
  std::pair<std::string, std::string> Typed() const { return {GetParam().Title, GetParam().Button}; }
  ::testing::AssertionResult PreviewShowsTyped() const {
    WaitFor([&] { return Shown() == Typed(); }, 3000);
    if (Shown() == Typed()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "the preview shows \"" << Shown().first << "\", \"" << Shown().second << "\"";
  }
};

TEST_P(TranslatorDesktop, TypedTextsInThePreviewFindAndSave) {
  const TLanguage& language = GetParam();
  const vaq::TLCID lcid = vaq::StrToLCID(language.Tag);
  Update(language.Tag);
  Open(language.Tag, "MainForm.rux");

  // Ctrl+F8 shows the translated preview beside the editor, which keeps the keyboard.
  QTest::keyClick(&Window(), Qt::Key_F8, Qt::ControlModifier);
  ASSERT_TRUE(
      WaitFor([] { return RuxViewer().XlatForm() && RuxViewer().XlatForm()->Window()->isVisible(); }));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(RuxViewer().XlatForm()->Window(), 10000));
  ASSERT_TRUE(WaitFor([&] { return QApplication::activeWindow() == &Window(); }))
      << "the editor lost the keyboard";

  TypeIntoCell("O:MainForm.Caption", language.Title);
  TypeIntoCell("O:MainForm.O:btnOK.Caption", language.Button);
  EXPECT_TRUE(PreviewShowsTyped()) << "live, before saving";
  Picture(Window(), std::string("preview-typed-") + language.Tag);

  // Find: Ctrl+F, the word typed into the search text, a click on Find.
  QTest::keyClick(&Window(), Qt::Key_F, Qt::ControlModifier);
  vaq::views::TSearchDialog* search = Window().SearchDialog();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(search, 10000));
  search->activateWindow();
  ASSERT_TRUE(WaitFor([&] { return QApplication::activeWindow() == search; }));
  search->Text->setFocus();
  search->Text->clear();
  if (HasXdotool()) {
    TypeThroughX(language.Find);
  } else {
    TypeWithQt(*search->Text, QString::fromStdString(language.Find));
  }
  ASSERT_TRUE(WaitFor([&] { return search->Text->text() == QString::fromStdString(language.Find); }));
  QPushButton* find = nullptr;
  for (QPushButton* button : search->findChildren<QPushButton*>())
    if (button->text() == QStringLiteral("&Find")) find = button;
  ASSERT_NE(find, nullptr);
  QTest::mouseClick(find, Qt::LeftButton);
  ASSERT_TRUE(WaitFor([&] { return search->Results->topLevelItemCount() > 0; })) << "nothing found";
  EXPECT_EQ(search->Results->topLevelItemCount(), 1);
  const QTreeWidgetItem* hit = search->Results->topLevelItem(0);
  EXPECT_EQ(hit->text(1).toInt(), Cell("O:MainForm.Caption", ColCurr).row() + 1) << "the grid's row number";
  EXPECT_EQ(hit->text(4).toStdString(), std::string("'") + language.Title + "'") << "the value, decoded";
  Picture(*search, std::string("find-") + language.Tag);
  search->close();

  // Ctrl+S saves the notes and the translated form.
  Window().activateWindow();
  ASSERT_TRUE(WaitFor([&] { return QApplication::activeWindow() == &Window(); }));
  QTest::keyClick(&Window(), Qt::Key_S, Qt::ControlModifier);
  ASSERT_TRUE(WaitFor([&] { return !Logic().IsDirty(); }));
  EXPECT_TRUE(PreviewShowsTyped()) << "after saving";
  const std::string notes = vaq::ReadFileBytes(Lang(language.Tag, "MainForm.ruz"));
  EXPECT_NE(notes.find("Curr:" + vaq::values::EncodeStringUtf8(language.Title, lcid) + "\x04"),
            std::string::npos);
  EXPECT_NE(notes.find("Curr:" + vaq::values::EncodeStringUtf8(language.Button, lcid) + "\x04"),
            std::string::npos);
  TExtractedLines lines;
  ASSERT_TRUE(ExtractFormLines(Lang(language.Tag, "MainForm.rux"), lines, lcid));
  int found = 0;
  for (const TExtractedLine& line : lines) {
    if (line.Id == "O:MainForm.Caption" || line.Id == "O:MainForm.O:btnOK.Caption") {
      ++found;
      EXPECT_EQ(vaq::values::DecodeStringUtf8(line.Data.Value, lcid),
                line.Id == "O:MainForm.Caption" ? language.Title : language.Button);
    }
  }
  EXPECT_EQ(found, 2) << "the translated form holds both texts";

  // Ctrl+F5 rebuilds the preview from the saved notes.
  const vaq::widgets::TForm* before = RuxViewer().XlatForm();
  QTest::keyClick(&Window(), Qt::Key_F5, Qt::ControlModifier);
  ASSERT_TRUE(WaitFor([&] { return RuxViewer().XlatForm() && RuxViewer().XlatForm() != before; }));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(RuxViewer().XlatForm()->Window(), 10000));
  EXPECT_TRUE(PreviewShowsTyped()) << "rebuilt";
  Picture(Window(), std::string("preview-rebuilt-") + language.Tag);
}

INSTANTIATE_TEST_SUITE_P(ThreeCodePages, TranslatorDesktop, ::testing::ValuesIn(kLanguages),
                         [](const auto& info) { return std::string(info.param.Tag).substr(0, 2); });

// Answers the modal dialogs that open while `Action` runs, one `Step` each, in order; every step
// gets the dialog once it is exposed. False when a dialog did not come.
bool WithDialogs(const std::function<void()>& Action, std::vector<std::function<void(QWidget&)>> Steps) {
  std::size_t next = 0;
  std::function<void()> poll = [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    // A dialog opened again may take the address of the one before: each is marked when answered.
    if (dialog && !dialog->property("vaqAnswered").toBool() && dialog->isVisible() &&
        QTest::qWaitForWindowExposed(dialog, 5000)) {
      dialog->setProperty("vaqAnswered", true);
      Steps[next++](*dialog);
    }
    if (next < Steps.size()) QTimer::singleShot(20, poll);
  };
  QTimer::singleShot(0, poll);
  Action();
  // An edit is committed from the event loop after the key that ends it.
  return WaitFor([&] { return next == Steps.size() && !QApplication::activeModalWidget(); }, 10000);
}

class TranslatorDialogs : public DesktopSession {};

// A character that does not belong in a number is refused with a message that names it in UTF-8.
TEST_F(TranslatorDialogs, RefusalNamesTheCharacter) {
  Update("de-DE");
  Open("de-DE", "MainForm.rux");
  std::string message;
  ASSERT_TRUE(WithDialogs(
      [&] {
        ClickCell(*Window().Grid(), Cell("O:MainForm.Width", ColCurr));
        QTest::keyClick(Window().Grid(), Qt::Key_F2);
        // The cell editor takes the focus once the window system has made the window active.
        ASSERT_TRUE(WaitFor([] { return qobject_cast<QLineEdit*>(QApplication::focusWidget()) != nullptr; }));
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        editor->selectAll();
        TypeWithQt(*editor, QString::fromUtf8("64ö"));
        QTest::keyClick(editor, Qt::Key_Return);
      },
      {[&](QWidget& dialog) {
        auto* box = qobject_cast<QMessageBox*>(&dialog);
        ASSERT_NE(box, nullptr);
        message = box->text().toStdString();
        Picture(dialog, "refusal");
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
      }}));
  EXPECT_NE(message.find("Invalid value: unexpected 'ö' (U+00F6) in a number."), std::string::npos)
      << message;
  EXPECT_EQ(Cell("O:MainForm.Width", ColCurr).data().toString(), QStringLiteral("640"));
}

// Ctrl+M with a character the code page cannot store: the dialog comes back with the typed
// comment and says what cannot be stored; the corrected comment is taken and saved.
TEST_F(TranslatorDialogs, CommentComesBackWithWhatCannotBeStored) {
  Update("de-DE");
  Open("de-DE", "MainForm.rux");
  ClickCell(*Window().Grid(), Cell("O:MainForm.O:btnOK.Caption", ColCurr));
  const auto commentEdit = [](QWidget& dialog) { return dialog.findChild<QPlainTextEdit*>(); };
  const auto ok = [](QWidget& dialog) {
    QTest::mouseClick(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
  };
  std::string prompt;
  std::string kept;
  ASSERT_TRUE(WithDialogs([&] { QTest::keyClick(&Window(), Qt::Key_M, Qt::ControlModifier); },
                          {[&](QWidget& dialog) {
                             QPlainTextEdit* edit = commentEdit(dialog);
                             ASSERT_NE(edit, nullptr);
                             edit->setFocus();
                             TypeWithQt(*edit, QString::fromUtf8("Жук: kurz halten"));
                             ok(dialog);
                           },
                           [&](QWidget& dialog) {
                             for (QLabel* label : dialog.findChildren<QLabel*>())
                               prompt += label->text().toStdString();
                             kept = commentEdit(dialog)->toPlainText().toStdString();
                             Picture(dialog, "comment-refused");
                             QPlainTextEdit* edit = commentEdit(dialog);
                             edit->selectAll();
                             TypeWithQt(*edit, QString::fromUtf8("Käfer: kurz halten"));
                             ok(dialog);
                           }}));
  EXPECT_EQ(kept, "Жук: kurz halten") << "the typed comment is kept";
  EXPECT_NE(prompt.find("cannot store 'Ж' (U+0416), 'у' (U+0443), 'к' (U+043A)"), std::string::npos)
      << prompt;
  EXPECT_EQ(Cell("O:MainForm.O:btnOK.Caption", ColComment).data().toString(),
            QString::fromUtf8("Käfer: kurz halten"));
  // Xvfb runs no window manager to give the keyboard back when a dialog closes.
  Window().activateWindow();
  ASSERT_TRUE(WaitFor([&] { return QApplication::activeWindow() == &Window(); }));
  QTest::keyClick(&Window(), Qt::Key_S, Qt::ControlModifier);
  ASSERT_TRUE(WaitFor([&] { return !Logic().IsDirty(); }));
  EXPECT_NE(vaq::ReadFileBytes(Lang("de-DE", "MainForm.ruz"))
                .find("Comment:K\xE4"
                      "fer: kurz halten\x04"),
            std::string::npos);
}

}  // namespace
}  // namespace rux::x11
