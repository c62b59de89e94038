// The layout designer in a translator's hands on the X server: the mouse and the keyboard through
// the window system (xdotool), on the translated previews of the demo. Handles resize, inherited
// controls move, every key tap counts; the grid takes the changes, the saved notes and translated
// form hold them and `vaq preview --tree` shows them.
#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QTabBar>
#include <QTableView>
#include <QTreeWidget>
#include <fstream>

#include "designer/qt/designer_hook.h"
#include "desktop_session.h"
#include "host/core/files.h"
#include "notes/column_table.h"
#include "updater/form_reader.h"
#include "viewer/viewer.h"

namespace rux::x11 {
namespace {

using vaq::widgets::TControl;

class DesignerDesktop : public DesktopSession {
 protected:
  void SetUp() override {
    DesktopSession::SetUp();
    if (!HasXdotool()) GTEST_SKIP() << "xdotool is not installed";
  }

  // Shows the translated preview (Ctrl+F8) of the open form; its designer's hook.
  TDesignerHook& ShowPreview() {
    QTest::keyClick(&Window(), Qt::Key_F8, Qt::ControlModifier);
    EXPECT_TRUE(
        WaitFor([] { return RuxViewer().XlatForm() && RuxViewer().XlatForm()->Window()->isVisible(); }));
    EXPECT_TRUE(QTest::qWaitForWindowExposed(RuxViewer().XlatForm()->Window(), 10000));
    return *dynamic_cast<TDesignerHook*>(RuxViewer().XlatForm()->Designer());
  }
  static TControl& Control(const char* Name) {
    auto* control = dynamic_cast<TControl*>(RuxViewer().XlatForm()->FindComponent(Name));
    EXPECT_NE(control, nullptr) << Name;
    return *control;
  }
  std::string CurrentId() const {
    return std::string(Logic().VaqGrid.Cell(Logic().EnumToCol(ColId), Logic().VaqGrid.Row));
  }
  // Saves with Ctrl+S in the editor.
  void Save() {
    Window().activateWindow();
    FocusThroughX(Window());
    QTest::keyClick(&Window(), Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(WaitFor([&] { return !Logic().IsDirty(); }));
  }
  // What the real `vaq preview FILE --tree` prints.
  static std::string PreviewTree(const std::string& File) {
    QProcess vaq;
    vaq.start(QStringLiteral(VAQ_BUILD_DIR "/vaq"),
              {QStringLiteral("preview"), QString::fromStdString(File), QStringLiteral("--tree")});
    EXPECT_TRUE(vaq.waitForFinished(30000));
    return vaq.readAllStandardOutput().toStdString();
  }
  static std::string Extracted(const std::string& Form, const std::string& Id) {
    TExtractedLines lines;
    EXPECT_TRUE(ExtractFormLines(Form, lines, 0x0407));
    for (const TExtractedLine& line : lines)
      if (line.Id == Id) return line.Data.Value;
    return "<none>";
  }
};

// OptionsDialog inherits both buttons from BaseDialog. The OK button is dragged, the Cancel button
// widened by its right handle and moved with the keys; the grid selects the inherited records and
// takes the new ones, and the change survives saving.
TEST_F(DesignerDesktop, HandleResizeAndInheritedMoveReachTheNotesAndTheTranslatedForm) {
  Update("de-DE");
  Open("de-DE", "OptionsDialog.rux");
  TDesignerHook& hook = ShowPreview();
  TControl& ok = Control("btnOK");
  TControl& cancel = Control("btnCancel");

  ClickThroughX(*ok.Widget(), {10, 10});
  EXPECT_EQ(CurrentId(), "I:OptionsDialog.I:btnOK.Caption") << "the click selects the inherited row";
  DragThroughX(*ok.Widget(), {10, 10}, {-40, 10});  // 190 - 50 = 140 snaps to 144; Top 164 to 168
  EXPECT_EQ(ok.BoundsRect(), QRect(144, 168, 75, 25));
  EXPECT_EQ(CurrentId(), "I:OptionsDialog.I:btnOK.Top");

  ClickThroughX(*cancel.Widget(), {10, 10});
  const auto cancelNode = TFormDesignSurface::Node(&cancel);
  ASSERT_EQ(hook.Designer().GrabHandles().Target(), cancelNode);
  QWidget* right = hook.Surface().HandleWidget(3);
  ASSERT_TRUE(hook.Surface().HandleShown(3));
  DragThroughX(*right, {2, 2}, {26, 2});  // right edge 349 + 24 = 373 snaps to 376
  EXPECT_EQ(cancel.BoundsRect(), QRect(274, 164, 102, 25)) << "the handle resized the button";
  EXPECT_EQ(hook.Designer().GrabHandles().Target(), cancelNode) << "the button stays selected";
  for (QWidget* frame : hook.Surface().RubberBandWidgets())
    EXPECT_FALSE(frame->isVisible()) << "no outline left";
  for (int i = 0; i < 8; ++i) EXPECT_TRUE(hook.Surface().HandleShown(i)) << "handle " << i;
  Picture(*RuxViewer().XlatForm()->Window(), "designer-handle-resize");

  // Keys go to the preview window that has the keyboard: Ctrl+Up three taps, Shift+Right two.
  FocusThroughX(*RuxViewer().XlatForm()->Window());
  KeyThroughX("ctrl+Up");
  KeyThroughX("ctrl+Up");
  KeyThroughX("ctrl+Up");
  EXPECT_TRUE(WaitFor([&] { return cancel.Top() == 161; })) << cancel.Top();
  EXPECT_EQ(Xdotool({"key", "--delay", "20", "shift+Right", "shift+Right"}), 0);
  EXPECT_TRUE(WaitFor([&] { return cancel.Width() == 104; })) << cancel.Width();

  Save();
  const std::string notes = vaq::ReadFileBytes(Lang("de-DE", "OptionsDialog.ruz"));
  for (const char* record : {"ID:I:OptionsDialog.I:btnOK.Left\x04Orig:\x04Status:1\x04"
                             "Curr:144\x04",
                             "ID:I:OptionsDialog.I:btnCancel.Top\x04Orig:\x04Status:1\x04"
                             "Curr:161\x04",
                             "ID:I:OptionsDialog.I:btnCancel.Width\x04Orig:\x04Status:1\x04"
                             "Curr:104\x04"})
    EXPECT_NE(notes.find(record), std::string::npos) << record;
  EXPECT_EQ(Extracted(Lang("de-DE", "OptionsDialog.rux"), "I:OptionsDialog.I:btnOK.Left"), "144");
  EXPECT_EQ(Extracted(Lang("de-DE", "OptionsDialog.rux"), "I:OptionsDialog.I:btnCancel.Width"), "104");
  const std::string tree = PreviewTree(Lang("de-DE", "OptionsDialog.ruz"));
  EXPECT_NE(tree.find("I:OptionsDialog.I:btnOK\tTButton\tshown\t144,168,75,25\t"), std::string::npos) << tree;
  EXPECT_NE(tree.find("I:OptionsDialog.I:btnCancel\tTButton\tshown\t274,161,104,25\t"), std::string::npos)
      << tree;
}

// The Qt-based ReportView acts on key releases: quick taps and a held key (the X server repeats
// it) count every press, and a handle drag resizes there too.
TEST_F(DesignerDesktop, EveryKeyTapCountsOnQtBasedForms) {
  Update("de-DE");
  Open("de-DE", "ReportView.gox");
  TDesignerHook& hook = ShowPreview();
  TControl& grid = Control("grdReport");
  ClickThroughX(*grid.Widget(), {20, 20});
  ASSERT_EQ(hook.Designer().GrabHandles().Target(), TFormDesignSurface::Node(&grid));
  const QRect before = grid.BoundsRect();

  FocusThroughX(*RuxViewer().XlatForm()->Window());
  EXPECT_EQ(Xdotool({"key", "--delay", "15", "shift+Right", "shift+Right", "shift+Right", "shift+Right"}), 0);
  EXPECT_TRUE(WaitFor([&] { return grid.Width() == before.width() + 4; }))
      << "four taps: " << grid.Width() - before.width();

  // Held for a while: the X server repeats the key, and each repeat counts.
  EXPECT_EQ(Xdotool({"keydown", "ctrl", "keydown", "Down", "sleep", "0.8", "keyup", "Down", "keyup", "ctrl"}),
            0);
  QTest::qWait(100);
  EXPECT_GT(grid.Top(), before.top() + 1) << "the repeats moved the grid down";

  const QRect moved = grid.BoundsRect();
  DragThroughX(*hook.Surface().HandleWidget(5), {2, 2}, {2, 18});  // the bottom edge down by 16, snapped
  EXPECT_GT(grid.Height(), moved.height() + 8);
  EXPECT_EQ(grid.Top(), moved.top());
  EXPECT_EQ((grid.Top() + grid.Height()) % 8, 0) << "the bottom edge on the grid";
  EXPECT_EQ(hook.Designer().GrabHandles().Target(), TFormDesignSurface::Node(&grid));
}

// A settings dialog with two pages, written into the project before the update.
void AddPagesForm(const std::string& Project) {
  std::ofstream("" + Project + "/SettingsPages.pas")
      << "unit SettingsPages;\ninterface\nuses Forms, ComCtrls;\n"
         "type\n  TSettingsPages = class(TForm)\n  end;\n"
         "implementation\n{$R *.rux}\nend.\n";
  std::ofstream(Project + "/SettingsPages.rux") << R"(object SettingsPages: TSettingsPages
  Left = 0
  Top = 0
  Caption = 'Settings'
  ClientHeight = 260
  ClientWidth = 340
  object Pages: TPageControl
    Left = 8
    Top = 8
    Width = 320
    Height = 200
    ActivePage = tsGeneral
    object tsGeneral: TTabSheet
      Caption = 'General'
      object chkStart: TCheckBox
        Left = 8
        Top = 8
        Width = 200
        Caption = 'Open at start'
      end
    end
    object tsPrint: TTabSheet
      Caption = 'Printing'
      object chkColour: TCheckBox
        Left = 8
        Top = 40
        Width = 200
        Caption = 'Print in colour'
      end
    end
  end
  object btnClose: TButton
    Left = 250
    Top = 220
    Caption = 'Close'
  end
end
)";
}

// The page control of a translated preview: the first tab shows its own page; in test mode
// (Ctrl+T on the preview) clicks on the tabs switch the pages, back in the designer Tab passes
// over the page not shown.
TEST_F(DesignerDesktop, PageTabsSwitchInTestMode) {
  AddPagesForm(Project());
  Update("de-DE");
  Open("de-DE", "SettingsPages.rux");
  TDesignerHook& hook = ShowPreview();
  const auto onScreen = [](const char* Name) {
    return Control(Name).Widget()->isVisibleTo(RuxViewer().XlatForm()->Window());
  };
  EXPECT_TRUE(onScreen("chkStart"));
  EXPECT_FALSE(onScreen("chkColour")) << "the first tab shows its own page";

  QWidget* window = RuxViewer().XlatForm()->Window();
  FocusThroughX(*window);
  KeyThroughX("ctrl+t");
  ASSERT_TRUE(WaitFor([&] { return !hook.Designer().GetActive(); })) << "test mode";
  auto* bar = Control("Pages").Widget()->findChild<QTabBar*>();
  ASSERT_NE(bar, nullptr);
  ClickThroughX(*bar, bar->tabRect(1).center());
  EXPECT_TRUE(WaitFor([&] { return onScreen("chkColour") && !onScreen("chkStart"); })) << "the second page";
  Picture(*window, "designer-pages-test-mode");
  ClickThroughX(*bar, bar->tabRect(0).center());
  EXPECT_TRUE(WaitFor([&] { return onScreen("chkStart") && !onScreen("chkColour"); })) << "the first page";

  KeyThroughX("ctrl+t");
  ASSERT_TRUE(WaitFor([&] { return hook.Designer().GetActive(); })) << "designing again";
  ClickThroughX(*Control("btnClose").Widget(), {5, 5});
  KeyThroughX("Tab");
  KeyThroughX("Tab");
  KeyThroughX("Tab");
  KeyThroughX("Tab");
  EXPECT_EQ(hook.Designer().GrabHandles().Target(), TFormDesignSurface::Node(&Control("btnClose")))
      << "Pages, tsGeneral, chkStart, btnClose: the other page's controls are passed over";
}

// The translator types a new caption for a list-view column: exactly that header changes.
TEST_F(DesignerDesktop, LiveListViewCaptionEdit) {
  Update("de-DE");
  bShowAllProperties = true;  // the demo's notes keep the column captions out of the translation
  Open("de-DE", "MainForm.rux");
  ShowPreview();
  auto* tree = qobject_cast<QTreeWidget*>(Control("lvOrders").Widget());
  ASSERT_NE(tree, nullptr);
  const auto headers = [&] {
    QStringList texts;
    for (int i = 0; i < tree->columnCount(); ++i) texts << tree->headerItem()->text(i);
    return texts.join(u'|').toStdString();
  };
  EXPECT_EQ(headers(), "Datum|Sum");

  QTableView& grid = *Window().Grid();
  const QModelIndex cell = Cell("O:MainForm.O:lvOrders.Columns[0].Caption", ColCurr);
  ASSERT_TRUE(cell.isValid());
  ClickCell(grid, cell);
  FocusThroughX(Window());
  KeyThroughX("F2");
  ASSERT_TRUE(WaitFor([] { return qobject_cast<QLineEdit*>(QApplication::focusWidget()) != nullptr; }));
  qobject_cast<QLineEdit*>(QApplication::focusWidget())->selectAll();
  TypeThroughX("Datum2");
  KeyThroughX("Return");
  EXPECT_TRUE(WaitFor([&] { return headers() == "Datum2|Sum"; })) << headers();
  Picture(*RuxViewer().XlatForm()->Window(), "designer-live-column");
  bShowAllProperties = false;
}

// `vaq preview` of a frame on the display: a window of the frame's size, named after it.
TEST_F(DesignerDesktop, AFramePreviewOpensAWindowOfItsSize) {
  QProcess vaq;
  vaq.start(QStringLiteral(VAQ_BUILD_DIR "/vaq"),
            {QStringLiteral("preview"), QString::fromStdString(Project("AddressFrame.rux"))});
  ASSERT_TRUE(vaq.waitForStarted(5000));
  QProcess search;
  search.start(
      QStringLiteral("xdotool"),
      {QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
       QStringLiteral("--name"), QStringLiteral("^AddressFrame$"), QStringLiteral("getwindowgeometry")});
  ASSERT_TRUE(search.waitForFinished(15000));
  const std::string geometry = search.readAllStandardOutput().toStdString();
  EXPECT_NE(geometry.find("Geometry: 320x120"), std::string::npos) << geometry;
  vaq.kill();
  vaq.waitForFinished(5000);
}

}  // namespace
}  // namespace rux::x11
