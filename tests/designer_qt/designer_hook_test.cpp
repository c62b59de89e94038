// The designer on live forms of the widget layer, driven by synthetic mouse and key events:
// dragging and resizing, keys in both frameworks, test mode from the context menu and the
// shortcut, property values, and the overlay's geometry.
#include "designer/qt/designer_hook.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QTreeWidget>

#include "framework/widgets/render.h"
#include "support/fake_design_surface.h"
#include "widgets/read_form.h"

namespace rux {
namespace {

using vaq::widgets::TControl;
using vaq::widgets::TForm;
using Strings = std::vector<std::string>;

const char* kForm = R"(object frmMain: TForm
  Left = 0
  Top = 0
  Caption = 'Designer'
  ClientHeight = 240
  ClientWidth = 320
  object Button1: TButton
    Left = 13
    Top = 8
    Width = 75
    Height = 25
    Caption = 'OK'
  end
  object Panel1: TPanel
    Left = 100
    Top = 50
    Width = 200
    Height = 150
    Caption = 'Panel'
    object Button2: TButton
      Left = 8
      Top = 8
      Width = 75
      Height = 25
      Caption = 'Inner'
    end
  end
end
)";

// A translated preview with its designer, shown as the viewer shows it.
struct TPreview {
  explicit TPreview(TDesignerPolicy Policy, Strings& Log) {
    auto read = vaq::widgets::testing::ReadForm(
        kForm, Policy.KeysOnRelease ? vaq::TClassGroup::QtBased : vaq::TClassGroup::Native);
    EXPECT_TRUE(read.Errors.empty());
    Form = std::move(read.Form);
    Designer = &AttachDesigner(*Form, "frmMain", Policy);
    Designer->SetNotifier(std::make_shared<testing::TRecordingNotifier>(Log));
    Form->Window()->setAttribute(Qt::WA_DontShowOnScreen, true);
    Form->Window()->show();
    Form->SetDesigning(true, false);
    QApplication::processEvents();
  }
  TDesignerHook& Hook() const { return *dynamic_cast<TDesignerHook*>(Form->Designer()); }
  TControl* Control(const char* Name) const { return dynamic_cast<TControl*>(Form->FindComponent(Name)); }
  QWidget* Widget(const char* Name) const { return Control(Name)->Widget(); }

  std::unique_ptr<TForm> Form;
  TVaqFormDesigner* Designer = nullptr;
};

// A mouse move with `Buttons` held, at `Pos` of `Widget`.
void MoveTo(QWidget* Widget, QPoint Pos, Qt::MouseButtons Buttons = Qt::LeftButton) {
  QMouseEvent move(QEvent::MouseMove, Pos, Widget->mapToGlobal(Pos), Qt::NoButton, Buttons, Qt::NoModifier);
  QApplication::sendEvent(Widget, &move);
}

// Press at `From`, move to `To`, release there.
void Drag(QWidget* Widget, QPoint From, QPoint To, Qt::MouseButton Button = Qt::LeftButton) {
  QTest::mousePress(Widget, Button, {}, From);
  MoveTo(Widget, To, Button);
  QTest::mouseRelease(Widget, Button, {}, To);
}

class LiveDesigner : public ::testing::Test {
 protected:
  Strings log_;
};

TEST_F(LiveDesigner, DragSnapsToTheGridAndReportsTheMove) {
  TPreview preview(kNativeDesignerPolicy, log_);
  TControl* button = preview.Control("Button1");
  Drag(button->Widget(), {5, 5}, {7, 5});
  EXPECT_EQ(button->Left(), 16);
  EXPECT_EQ(button->Widget()->geometry(), QRect(16, 8, 75, 25));
  EXPECT_EQ(log_, (Strings{"selected O:frmMain.O:Button1", "moved O:frmMain.O:Button1 16,8"}));

  preview.Designer->SetSnapToGrid(false);
  button->SetBounds(13, 8, 75, 25);
  Drag(button->Widget(), {5, 5}, {7, 5});
  EXPECT_EQ(button->Left(), 15);
}

TEST_F(LiveDesigner, HandlesFrameTheSelectionAndResizeIt) {
  TPreview preview(kNativeDesignerPolicy, log_);
  TFormDesignSurface& surface = preview.Hook().Surface();
  QTest::mouseClick(preview.Widget("Button1"), Qt::LeftButton, {}, {5, 5});
  for (int i = 0; i < 8; ++i) EXPECT_TRUE(surface.HandleWidget(i)->isVisible()) << i;
  EXPECT_EQ(surface.HandleWidget(0)->geometry(), QRect(11, 6, 5, 5));
  EXPECT_EQ(surface.HandleWidget(4)->geometry(), QRect(85, 30, 5, 5));
  EXPECT_EQ(surface.HandleWidget(3)->cursor().shape(), Qt::SizeHorCursor);
  EXPECT_EQ(surface.HandleWidget(2)->cursor().shape(), Qt::SizeBDiagCursor);

  // The rubber band shows while the handle is dragged, the handles do not; the dragged one stays
  // on screen unpainted, so that the window system keeps sending it the drag.
  QWidget* right = surface.HandleWidget(3);
  QTest::mousePress(right, Qt::LeftButton, {}, {2, 2});
  MoveTo(right, {7, 2});
  ASSERT_EQ(surface.RubberBandWidgets().size(), 1u);
  EXPECT_TRUE(surface.RubberBandWidgets()[0]->isVisible());
  EXPECT_FALSE(surface.HandleShown(3));
  EXPECT_TRUE(right->isVisible());
  EXPECT_FALSE(surface.HandleWidget(0)->isVisible());
  QTest::mouseRelease(right, Qt::LeftButton, {}, {7, 2});
  EXPECT_FALSE(surface.RubberBandWidgets()[0]->isVisible());
  EXPECT_EQ(preview.Control("Button1")->BoundsRect(), QRect(13, 8, 83, 25));  // right edge 93 -> 96
  EXPECT_EQ(surface.HandleWidget(3)->geometry(), QRect(93, 18, 5, 5));

  // Handle 5 moves only the bottom; a drag that ends where it began sends nothing.
  log_.clear();
  QWidget* bottom = surface.HandleWidget(5);
  Drag(bottom, {2, 2}, {2, 2});
  EXPECT_TRUE(log_.empty());
  Drag(bottom, {2, 2}, {2, 9});
  EXPECT_EQ(preview.Control("Button1")->BoundsRect(), QRect(13, 8, 83, 32));
  EXPECT_EQ(log_, Strings{"resized O:frmMain.O:Button1 83,32"});
}

TEST_F(LiveDesigner, NativeKeysActOnPressAndOnlyTheLeftButtonDrags) {
  TPreview preview(kNativeDesignerPolicy, log_);
  TControl* inner = preview.Control("Button2");
  QTest::mouseClick(inner->Widget(), Qt::LeftButton, {}, {5, 5});
  QWidget* window = preview.Form->Window();
  QTest::keyPress(window, Qt::Key_Right, Qt::ControlModifier);
  EXPECT_EQ(inner->Left(), 9);
  QTest::keyRelease(window, Qt::Key_Right, Qt::ControlModifier);
  QTest::keyClick(window, Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(inner->Height(), 26);
  QTest::keyClick(window, Qt::Key_Escape);
  EXPECT_EQ(preview.Hook().Designer().GrabHandles().Target(),
            TFormDesignSurface::Node(preview.Control("Panel1")));
  QTest::keyClick(window, Qt::Key_Escape);
  EXPECT_EQ(log_.back(), "selected O:frmMain");

  Drag(inner->Widget(), {5, 5}, {30, 5}, Qt::RightButton);
  EXPECT_EQ(inner->Left(), 9);
}

TEST_F(LiveDesigner, QtBasedFormsActOnKeyReleaseAndDragWithAnyButton) {
  TPreview preview(kQtDesignerPolicy, log_);
  TControl* button = preview.Control("Button1");
  Drag(button->Widget(), {5, 5}, {21, 5}, Qt::RightButton);
  EXPECT_EQ(button->Left(), 32);  // 13 + 16 = 29, snapped to 32
  QWidget* window = preview.Form->Window();
  QTest::keyPress(window, Qt::Key_Left, Qt::ControlModifier);
  EXPECT_EQ(button->Left(), 32);
  QTest::keyRelease(window, Qt::Key_Left, Qt::ControlModifier);
  EXPECT_EQ(button->Left(), 31);
  // Keys a control receives count too.
  QTest::keyClick(button->Widget(), Qt::Key_Tab);
  EXPECT_EQ(preview.Hook().Designer().GrabHandles().Target(),
            TFormDesignSurface::Node(preview.Control("Panel1")));
}

TEST_F(LiveDesigner, TestModeFromTheShortcutAndTheContextMenu) {
  TPreview preview(kNativeDesignerPolicy, log_);
  auto* button = qobject_cast<QPushButton*>(preview.Widget("Button1"));
  ASSERT_NE(button, nullptr);
  QSignalSpy clicked(button, &QPushButton::clicked);
  QTest::mouseClick(button, Qt::LeftButton, {}, {5, 5});
  EXPECT_EQ(clicked.count(), 0);  // designing: the click selects
  TFormDesignSurface& surface = preview.Hook().Surface();
  EXPECT_TRUE(surface.HandleWidget(0)->isVisible());

  QTest::keyClick(preview.Form->Window(), Qt::Key_T, Qt::ControlModifier);
  EXPECT_FALSE(preview.Designer->GetActive());
  EXPECT_TRUE(preview.Hook().TestAction()->isChecked());
  EXPECT_FALSE(surface.HandleWidget(0)->isVisible());
  QTest::mouseClick(button, Qt::LeftButton, {}, {5, 5});
  EXPECT_EQ(clicked.count(), 1);  // test mode: the button clicks
  EXPECT_EQ(button->geometry(), QRect(13, 8, 75, 25));

  // The context menu on the form's background carries the command.
  QTest::mousePress(preview.Form->ClientWidget(), Qt::RightButton, {}, {300, 220});
  QMenu* menu = preview.Hook().ContextMenu();
  EXPECT_TRUE(menu->isVisible());
  EXPECT_EQ(preview.Hook().TestAction()->text(), QStringLiteral("&Test"));
  preview.Hook().TestAction()->trigger();
  menu->close();
  EXPECT_TRUE(preview.Designer->GetActive());
  EXPECT_FALSE(preview.Hook().TestAction()->isChecked());
  EXPECT_TRUE(surface.HandleWidget(0)->isVisible());

  // Closing works while designing.
  EXPECT_TRUE(preview.Form->Window()->close());
}

TEST_F(LiveDesigner, TheTestCommandReachesOnlyItsOwnForm) {
  Strings otherLog;
  TPreview first(kQtDesignerPolicy, log_);
  TPreview second(kQtDesignerPolicy, otherLog);
  QTest::keyClick(second.Form->Window(), Qt::Key_T, Qt::ControlModifier);
  EXPECT_TRUE(first.Designer->GetActive());
  EXPECT_FALSE(second.Designer->GetActive());
  QTest::mousePress(first.Form->ClientWidget(), Qt::RightButton, {}, {300, 220});
  first.Hook().TestAction()->trigger();
  first.Hook().ContextMenu()->close();
  EXPECT_FALSE(first.Designer->GetActive());
  EXPECT_FALSE(second.Designer->GetActive());
  QTest::keyClick(second.Form->Window(), Qt::Key_T, Qt::ControlModifier);
  EXPECT_TRUE(second.Designer->GetActive());
  EXPECT_FALSE(first.Designer->GetActive());
}

TEST_F(LiveDesigner, PropertyValuesReachTheLiveForm) {
  TPreview preview(kNativeDesignerPolicy, log_);
  IVaqFormDesigner* designer = FormDesigner(preview.Form.get());
  ASSERT_EQ(designer, static_cast<IVaqFormDesigner*>(preview.Designer));
  EXPECT_EQ(FormDesignerOptions(preview.Form.get()), static_cast<IVaqFormDesignerOptions*>(preview.Designer));
  EXPECT_EQ(FormDesigner(nullptr), nullptr);

  designer->SetPropertyValue("FRMMAIN", "Caption", "'Hallo'");
  EXPECT_EQ(preview.Form->Window()->windowTitle(), QStringLiteral("Hallo"));
  designer->SetPropertyValue("Button1", "Caption", "'Hello'");
  EXPECT_EQ(qobject_cast<QPushButton*>(preview.Widget("Button1"))->text(), QStringLiteral("Hello"));
  designer->SetPropertyValue("O:frmMain.O:Button1", "Caption", "'It'#39's 12'");
  EXPECT_EQ(qobject_cast<QPushButton*>(preview.Widget("Button1"))->text(), QStringLiteral("It's 12"));
  designer->SetPropertyValue("O:frmMain", "Caption", "'Form'");
  EXPECT_EQ(preview.Form->Window()->windowTitle(), QStringLiteral("Form"));
  designer->SetPropertyValue("O:OtherForm.O:Button1", "Caption", "'Other'");  // another form's record
  designer->SetPropertyValue("Button1", "Caption", "Unquoted");               // no string notation
  EXPECT_EQ(qobject_cast<QPushButton*>(preview.Widget("Button1"))->text(), QStringLiteral("It's 12"));
  designer->SetPropertyValue("Button1", "Width", "abc");
  designer->SetPropertyValue("Button1", "NoSuchProperty", "1");
  designer->SetPropertyValue("NoSuchButton", "Width", "1");
  EXPECT_EQ(preview.Control("Button1")->Width(), 75);
  designer->SetPropertyValue("Button1", "Width", "90");
  EXPECT_EQ(preview.Control("Button1")->Width(), 90);

  // The handles follow the selected control when its parent moves.
  designer->SelectComponent("Button2");
  designer->SetPropertyValue("Panel1", "Left", "120");
  EXPECT_EQ(preview.Hook().Surface().HandleWidget(0)->geometry().topLeft(), QPoint(120 + 8 - 2, 50 + 8 - 2));
  EXPECT_EQ(log_, Strings{"selected O:frmMain.O:Panel1.O:Button2"});
}

TEST_F(LiveDesigner, GridLiesBelowTheControlsAndFollowsTheOptions) {
  TPreview preview(kNativeDesignerPolicy, log_);
  QWidget* grid = preview.Hook().Surface().GridWidget();
  QWidget* client = preview.Form->ClientWidget();
  EXPECT_EQ(client->children().indexOf(grid), 0);  // lowest: painted first
  EXPECT_EQ(grid->geometry(), client->rect());
  EXPECT_TRUE(preview.Designer->PaintsGrid());
  preview.Designer->SetDisplayGrid(false);
  EXPECT_FALSE(preview.Designer->PaintsGrid());

  // A picture of the form in the designer, for looking at it.
  if (const QByteArray file = qgetenv("VAQ_DESIGNER_PICTURE"); !file.isEmpty()) {
    preview.Designer->SetDisplayGrid(true);
    QTest::mouseClick(preview.Widget("Button2"), Qt::LeftButton, {}, {5, 5});
    vaq::widgets::RenderForm(*preview.Form).save(QString::fromLocal8Bit(file));
  }
}

}  // namespace
}  // namespace rux

namespace rux {
namespace {

// A translated dialog whose German captions no longer fit: the translator widens the button.
const char* kGermanDialog = R"(object OptionsDialog: TOptionsDialog
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Caption = 'Optionen'
  ClientHeight = 200
  ClientWidth = 360
  object gbSave: TGroupBox
    Left = 8
    Top = 8
    Width = 344
    Height = 105
    Caption = ' Speichern '
    object chkAutoSave: TCheckBox
      Left = 16
      Top = 24
      Width = 200
      Height = 17
      Caption = 'Bestellungen automatisch speichern'
    end
    object lblFolder: TLabel
      Left = 16
      Top = 56
      Width = 40
      Height = 13
      Caption = 'Ordner:'
    end
    object edFolder: TEdit
      Left = 72
      Top = 52
      Width = 256
      Height = 21
      Text = 'C:\Bestellungen'
    end
  end
  object btnOK: TButton
    Left = 184
    Top = 160
    Width = 75
    Height = 25
    Caption = #220'bernehmen und schlie'#223'en'
  end
  object btnCancel: TButton
    Left = 272
    Top = 160
    Width = 75
    Height = 25
    Caption = 'Abbrechen'
  end
end
)";

TEST(LiveDesignerRoundTrip, TranslatorWidensAButtonWhoseCaptionNoLongerFits) {
  Strings log;
  auto read = vaq::widgets::testing::ReadForm(kGermanDialog);
  ASSERT_TRUE(read.Errors.empty());
  std::unique_ptr<TForm> form = std::move(read.Form);
  TVaqFormDesigner& designer = AttachDesigner(*form, "OptionsDialog", kNativeDesignerPolicy);
  QWidget* grid = dynamic_cast<TDesignerHook*>(form->Designer())->Surface().GridWidget();
  designer.SetNotifier(std::make_shared<testing::TRecordingNotifier>(log));
  form->Window()->setAttribute(Qt::WA_DontShowOnScreen, true);
  form->Window()->show();
  form->SetDesigning(true, false);
  QApplication::processEvents();
  auto* hook = dynamic_cast<TDesignerHook*>(form->Designer());
  EXPECT_EQ(grid->geometry(), QRect(0, 0, 360, 200));  // the grid follows the client area

  // Move the OK button to the left edge of the group box, then pull its left handle further left.
  auto* ok = dynamic_cast<TControl*>(form->FindComponent("btnOK"));
  Drag(ok->Widget(), {10, 10}, {-166, 10});
  QWidget* left = hook->Surface().HandleWidget(7);
  Drag(left, {2, 2}, {2, 2});
  QTest::keyClick(form->Window(), Qt::Key_Right, Qt::ShiftModifier | Qt::ControlModifier);
  QTest::keyClick(form->Window(), Qt::Key_Right, Qt::ShiftModifier);
  QWidget* right = hook->Surface().HandleWidget(3);
  Drag(right, {2, 2}, {82, 2});  // the right edge 172 snaps to 176
  EXPECT_EQ(ok->BoundsRect(), QRect(16, 160, 160, 25));
  EXPECT_EQ(log, (Strings{"selected O:OptionsDialog.O:btnOK", "moved O:OptionsDialog.O:btnOK 8,160",
                          "moved O:OptionsDialog.O:btnOK 16,160", "resized O:OptionsDialog.O:btnOK 76,25",
                          "resized O:OptionsDialog.O:btnOK 160,25"}));

  if (const QByteArray file = qgetenv("VAQ_DESIGNER_PICTURE"); !file.isEmpty())
    vaq::widgets::RenderForm(*form).save(QString::fromLocal8Bit(file));
}

}  // namespace
}  // namespace rux

namespace rux {
namespace {

// Two pages, the second active in the form file, each with its own controls.
const char* kPages = R"(object frmPages: TForm
  Caption = 'Pages'
  ClientHeight = 240
  ClientWidth = 320
  object Pages: TPageControl
    Left = 8
    Top = 8
    Width = 300
    Height = 200
    ActivePage = tsSecond
    object tsFirst: TTabSheet
      Caption = 'First'
      object btnFirst: TButton
        Left = 8
        Top = 8
        Caption = 'On the first page'
      end
    end
    object tsSecond: TTabSheet
      Caption = 'Second'
      object btnSecond: TButton
        Left = 8
        Top = 40
        Caption = 'On the second page'
      end
    end
  end
  object btnOK: TButton
    Left = 8
    Top = 212
    Caption = 'OK'
  end
end
)";

struct TPagesPreview {
  explicit TPagesPreview(Strings& Log) {
    auto read = vaq::widgets::testing::ReadForm(kPages);
    EXPECT_TRUE(read.Errors.empty());
    Form = std::move(read.Form);
    Designer = &AttachDesigner(*Form, "frmPages", kNativeDesignerPolicy);
    Designer->SetNotifier(std::make_shared<testing::TRecordingNotifier>(Log));
    Form->Window()->setAttribute(Qt::WA_DontShowOnScreen, true);
    Form->Window()->show();
    Form->SetDesigning(true, false);
    QApplication::processEvents();
  }
  QWidget* Widget(const char* Name) const {
    return dynamic_cast<TControl*>(Form->FindComponent(Name))->Widget();
  }
  bool OnScreen(const char* Name) const { return Widget(Name)->isVisibleTo(Form->ClientWidget()); }
  QTabBar* Bar() const { return Widget("Pages")->findChild<QTabBar*>(); }
  TNode Target() const { return Designer->GrabHandles().Target(); }
  TNode Node(const char* Name) const { return TFormDesignSurface::Node(Form->FindComponent(Name)); }

  std::unique_ptr<TForm> Form;
  TVaqFormDesigner* Designer = nullptr;
};

// In the designer every control shows, hidden or not, but each tab shows its own page only; a
// click on a tab shows its page while designing too, Tab passes over the other page's controls,
// and in test mode the tabs switch as at run time.
TEST(LivePageControl, EachTabShowsItsOwnPage) {
  Strings log;
  TPagesPreview preview(log);
  EXPECT_TRUE(preview.OnScreen("btnSecond"));
  EXPECT_FALSE(preview.OnScreen("btnFirst")) << "the first page's button under the second tab";
  EXPECT_FALSE(preview.OnScreen("tsFirst"));
  ASSERT_NE(preview.Bar(), nullptr);
  EXPECT_EQ(preview.Bar()->currentIndex(), 1);

  preview.Designer->SelectComponent("Pages");
  QWidget* window = preview.Form->Window();
  QTest::keyClick(window, Qt::Key_Tab);
  EXPECT_EQ(preview.Target(), preview.Node("tsSecond"));
  QTest::keyClick(window, Qt::Key_Tab);
  EXPECT_EQ(preview.Target(), preview.Node("btnSecond"));
  QTest::keyClick(window, Qt::Key_Tab);
  EXPECT_EQ(preview.Target(), preview.Node("btnOK"));
  QTest::keyClick(window, Qt::Key_Tab, Qt::ShiftModifier);
  QTest::keyClick(window, Qt::Key_Tab, Qt::ShiftModifier);
  EXPECT_EQ(preview.Target(), preview.Node("tsSecond"));

  // Designing: the click on the first tab shows the first page and selects the page control.
  QTabBar* bar = preview.Bar();
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
  EXPECT_TRUE(preview.OnScreen("btnFirst"));
  EXPECT_FALSE(preview.OnScreen("btnSecond"));
  EXPECT_EQ(preview.Target(), preview.Node("Pages"));
  EXPECT_EQ(preview.Widget("Pages")->geometry(), QRect(8, 8, 300, 200)) << "the click moved nothing";
  QTest::keyClick(window, Qt::Key_Tab);
  QTest::keyClick(window, Qt::Key_Tab);
  EXPECT_EQ(preview.Target(), preview.Node("btnFirst"));

  // Test mode: the tab bar itself switches the pages.
  preview.Designer->SetActive(false);
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
  EXPECT_EQ(bar->currentIndex(), 1);
  EXPECT_TRUE(preview.OnScreen("btnSecond"));
  EXPECT_FALSE(preview.OnScreen("btnFirst"));
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
  EXPECT_TRUE(preview.OnScreen("btnFirst"));
}

}  // namespace
}  // namespace rux

namespace rux {
namespace {

const char* kLists = R"(object frmLists: TForm
  Caption = 'Lists'
  ClientHeight = 400
  ClientWidth = 500
  object lvOrders: TListView
    Left = 8
    Top = 8
    Columns = <
      item
        Caption = 'Date'
        Width = 80
      end
      item
        Caption = 'Sum'
      end>
    ViewStyle = vsReport
  end
  object lstItems: TListBox
    Left = 270
    Top = 8
    Items.Strings = (
      'First'
      'Second')
  end
  object rgUnits: TRadioGroup
    Left = 8
    Top = 170
    Caption = 'Units'
    Items.Strings = (
      'Metric'
      'Imperial')
  end
  object cbCountry: TComboBox
    Left = 200
    Top = 170
    Items.Strings = (
      'Germany'
      'Russia')
  end
  object clbOptions: TCheckListBox
    Left = 200
    Top = 200
    Items.Strings = (
      'Save'
      'Print')
  end
  object mmNotes: TMemo
    Left = 330
    Top = 200
    Lines.Strings = (
      'One'
      'Two')
  end
end
)";

QStringList Headers(QTreeWidget* Tree) {
  QStringList texts;
  for (int i = 0; i < Tree->columnCount(); ++i) texts << Tree->headerItem()->text(i);
  return texts;
}

template <class W>
W* LiveWidget(TForm& Form, const char* Name) {
  return qobject_cast<W*>(dynamic_cast<TControl*>(Form.FindComponent(Name))->Widget());
}

// A grid edit of one element reaches exactly that element of the live control: a list-view
// column's caption, one item of a list, radio group, combo box and check list box, one line of a
// memo; a set arrives whole. Texts are in the code page of the form's language.
TEST(LiveValues, OneElementChangesAndTheOthersStay) {
  Strings log;
  auto read = vaq::widgets::testing::ReadForm(kLists, vaq::TClassGroup::Native, 0x0419);
  ASSERT_TRUE(read.Errors.empty());
  std::unique_ptr<TForm> form = std::move(read.Form);
  TVaqFormDesigner& designer = AttachDesigner(*form, "frmLists", kNativeDesignerPolicy);
  auto* tree = LiveWidget<QTreeWidget>(*form, "lvOrders");
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(Headers(tree), (QStringList{QStringLiteral("Date"), QStringLiteral("Sum")}));

  // Russian notes: "Дата" is the bytes C4 E0 F2 E0 in code page 1251.
  designer.SetPropertyValue("O:frmLists.O:lvOrders", "Columns[0].Caption", "'\xC4\xE0\xF2\xE0'");
  EXPECT_EQ(Headers(tree), (QStringList{QString::fromUtf8("Дата"), QStringLiteral("Sum")}));
  designer.SetPropertyValue("O:frmLists.O:lvOrders", "Columns[1].Caption", "'Date2'");
  EXPECT_EQ(Headers(tree), (QStringList{QString::fromUtf8("Дата"), QStringLiteral("Date2")}));
  EXPECT_EQ(tree->columnWidth(0), 80) << "the column keeps its width";
  designer.SetPropertyValue("O:frmLists.O:lvOrders", "Columns[2].Caption", "'None'");  // no such column
  EXPECT_EQ(tree->columnCount(), 2);

  designer.SetPropertyValue("O:frmLists.O:lstItems", "Items.Strings[1]", "'Zweite'");
  auto* list = LiveWidget<QListWidget>(*form, "lstItems");
  EXPECT_EQ(list->item(0)->text(), QStringLiteral("First"));
  EXPECT_EQ(list->item(1)->text(), QStringLiteral("Zweite"));

  designer.SetPropertyValue("O:frmLists.O:rgUnits", "Items.Strings[0]", "'\xCC\xE5\xF2\xF0'");
  QList<QRadioButton*> radios = LiveWidget<QGroupBox>(*form, "rgUnits")->findChildren<QRadioButton*>();
  ASSERT_EQ(radios.size(), 2);
  EXPECT_EQ(radios[0]->text(), QString::fromUtf8("Метр"));
  EXPECT_EQ(radios[1]->text(), QStringLiteral("Imperial"));

  designer.SetPropertyValue("O:frmLists.O:cbCountry", "Items.Strings[1]", "'Russland'");
  auto* combo = LiveWidget<QComboBox>(*form, "cbCountry");
  EXPECT_EQ(combo->itemText(0), QStringLiteral("Germany"));
  EXPECT_EQ(combo->itemText(1), QStringLiteral("Russland"));

  designer.SetPropertyValue("O:frmLists.O:clbOptions", "Items.Strings[0]", "'Speichern'");
  auto* checks = LiveWidget<QListWidget>(*form, "clbOptions");
  EXPECT_EQ(checks->item(0)->text(), QStringLiteral("Speichern"));
  EXPECT_EQ(checks->item(1)->text(), QStringLiteral("Print"));

  designer.SetPropertyValue("O:frmLists.O:mmNotes", "Lines.Strings[1]", "'Zwei'");
  EXPECT_EQ(LiveWidget<QPlainTextEdit>(*form, "mmNotes")->toPlainText(), QStringLiteral("One\nZwei"));

  // A set reaches the control whole.
  designer.SetPropertyValue("O:frmLists.O:lstItems", "Anchors", "[akLeft, akTop, akRight]");
  EXPECT_EQ(dynamic_cast<TControl*>(form->FindComponent("lstItems"))->Anchors(),
            vaq::widgets::akLeft | vaq::widgets::akTop | vaq::widgets::akRight);
}

// The caption of a list-view column typed in German, Russian and Japanese notes: the bytes of the
// form's code page reach the header as the text they stand for.
TEST(LiveValues, ColumnCaptionsInThreeCodePages) {
  const struct {
    vaq::TLCID Locale;
    const char* Notation;
    const char* Shown;
  } cases[] = {{0x0407,
                "'Gr\xF6\xDF"
                "e'",
                "Größe"},
               {0x0419, "'\xC4\xE0\xF2\xE0'", "Дата"},
               {0x0411, "'\x83\x66\x81\x5B\x83\x5E'", "データ"}};
  for (const auto& c : cases) {
    auto read = vaq::widgets::testing::ReadForm(kLists, vaq::TClassGroup::Native, c.Locale);
    std::unique_ptr<TForm> form = std::move(read.Form);
    TVaqFormDesigner& designer = AttachDesigner(*form, "frmLists", kNativeDesignerPolicy);
    designer.SetPropertyValue("O:frmLists.O:lvOrders", "Columns[0].Caption", c.Notation);
    EXPECT_EQ(Headers(LiveWidget<QTreeWidget>(*form, "lvOrders")),
              (QStringList{QString::fromUtf8(c.Shown), QStringLiteral("Sum")}))
        << c.Shown;
  }
}

}  // namespace
}  // namespace rux
