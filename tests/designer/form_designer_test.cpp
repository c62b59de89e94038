// The designer's input handling, test mode, grid options and property values, for both frameworks.
#include "designer/form_designer.h"

#include <gtest/gtest.h>

#include "designer_fixture.h"

namespace rux {
namespace {

using Strings = std::vector<std::string>;

constexpr TShiftState kShift{true, false, false};
constexpr TShiftState kCtrl{false, true, false};
constexpr TShiftState kCtrlShift{true, true, false};

class NativeDesigner : public DesignerTest {};

class QtDesigner : public DesignerTest {
 protected:
  QtDesigner() : DesignerTest(kQtDesignerPolicy) {}
};

TEST_F(NativeDesigner, StartsDesigningWithTheDefaultGrid) {
  EXPECT_TRUE(designer_.GetActive());
  EXPECT_TRUE(designer_.GetDisplayGrid());
  EXPECT_TRUE(designer_.GetSnapToGrid());
  EXPECT_EQ(designer_.GetGridSize(), TPoint({8, 8}));
  EXPECT_EQ(designer_.GrabHandles().Target(), TNode::None);
  EXPECT_FALSE(surface_.HandlesShown);
}

TEST_F(NativeDesigner, AnswersItsTwoInterfacesByIdentity) {
  IVaqInterfaces* object = &designer_;
  EXPECT_EQ(Query<IVaqFormDesigner>(object), static_cast<IVaqFormDesigner*>(&designer_));
  EXPECT_EQ(Query<IVaqFormDesignerOptions>(object), static_cast<IVaqFormDesignerOptions*>(&designer_));
  EXPECT_EQ(Query<IVaqFormDesignerNotifier>(object), nullptr);
  EXPECT_EQ(Query<IVaqFormDesigner>(nullptr), nullptr);
  EXPECT_EQ(IVaqFormDesigner::Iid, "{04E6F276-1C38-4BD4-8C5F-F48473BA24CF}");
}

TEST_F(NativeDesigner, ClickSelectsTheNearestNamedControlAndClickOnTheFormClearsIt) {
  EXPECT_TRUE(Down(inner_, {255, 65}));
  Up(inner_, {255, 65});
  EXPECT_EQ(designer_.GrabHandles().Target(), panel1_);
  EXPECT_TRUE(surface_.HandlesShown);
  EXPECT_FALSE(Move(surface_.Form(), {5, 5}));  // the form's own moves are not the designer's
  EXPECT_TRUE(Down(surface_.Form(), {5, 5}));
  EXPECT_EQ(designer_.GrabHandles().Target(), TNode::None);
  EXPECT_FALSE(surface_.HandlesShown);
  EXPECT_EQ(TakeLog(), (Strings{"selected O:frmMain.O:Panel1", "selected O:frmMain"}));
}

TEST_F(NativeDesigner, KeysMoveResizeAndSelectOnPress) {
  designer_.SelectComponent("button1");
  TakeLog();
  Key(TDesignKey::Right, kCtrl);
  EXPECT_EQ(surface_.Bounds(button1_), BoundsRect(14, 8, 75, 25));
  Key(TDesignKey::Right, kCtrlShift);
  EXPECT_EQ(surface_.Bounds(button1_), BoundsRect(22, 8, 75, 25));  // by the grid step, not snapped
  Key(TDesignKey::Down, kShift);
  EXPECT_EQ(surface_.Bounds(button1_), BoundsRect(22, 8, 75, 26));
  Key(TDesignKey::Left, kShift);
  EXPECT_EQ(surface_.Bounds(button1_), BoundsRect(22, 8, 74, 26));
  Key(TDesignKey::Down);
  EXPECT_EQ(designer_.GrabHandles().Target(), panel1_);
  EXPECT_EQ(TakeLog(), (Strings{"moved O:frmMain.O:Button1 14,8", "moved O:frmMain.O:Button1 22,8",
                                "resized O:frmMain.O:Button1 75,26", "resized O:frmMain.O:Button1 74,26",
                                "selected O:frmMain.O:Panel1"}));
  // A release alone does nothing; keys a control receives are the control's.
  EXPECT_FALSE(designer_.KeyEvent(surface_.Form(), TKeyAction::Release, TDesignKey::Other, kCtrl));
  EXPECT_TRUE(designer_.KeyEvent(surface_.Form(), TKeyAction::Release, TDesignKey::Right, kCtrl));
  EXPECT_FALSE(designer_.KeyEvent(panel1_, TKeyAction::Press, TDesignKey::Right, kCtrl));
  EXPECT_EQ(surface_.Bounds(panel1_), BoundsRect(100, 50, 200, 150));
}

TEST_F(NativeDesigner, KeyboardResizeNeverGoesBelowZero) {
  surface_.At(button1_).Bounds = BoundsRect(13, 8, 0, 25);
  designer_.SelectComponent("Button1");
  TakeLog();
  Key(TDesignKey::Left, kShift);
  EXPECT_EQ(surface_.Bounds(button1_), BoundsRect(13, 8, 0, 25));
  EXPECT_TRUE(TakeLog().empty());
}

TEST_F(NativeDesigner, TabWalksDepthFirstAndWrapsShiftTabWalksBack) {
  const std::vector<TNode> order = {button1_, button2_, panel1_, label1_, group1_, radio1_, edit1_, button1_};
  for (TNode expected : order) {
    Key(TDesignKey::Tab);
    EXPECT_EQ(designer_.GrabHandles().Target(), expected) << surface_.Name(expected);
  }
  // Backward from the first: the deepest last control, then the exact reverse.
  for (auto it = order.rbegin() + 1; it != order.rend(); ++it) {
    Key(TDesignKey::Tab, kShift);
    EXPECT_EQ(designer_.GrabHandles().Target(), *it) << surface_.Name(*it);
  }
  Key(TDesignKey::Tab, kShift);
  EXPECT_EQ(designer_.GrabHandles().Target(), edit1_);
}

TEST_F(NativeDesigner, ShiftTabWithoutSelectionPicksTheDeepestLast) {
  Key(TDesignKey::Tab, kShift);
  EXPECT_EQ(designer_.GrabHandles().Target(), edit1_);
}

TEST_F(NativeDesigner, EscapeGoesToTheParentAndFromTheFormsControlToNothing) {
  designer_.SelectComponent("Radio1");
  Key(TDesignKey::Escape);
  EXPECT_EQ(designer_.GrabHandles().Target(), group1_);
  designer_.SelectComponent("Button1");
  TakeLog();
  Key(TDesignKey::Escape);
  EXPECT_EQ(designer_.GrabHandles().Target(), TNode::None);
  EXPECT_EQ(TakeLog(), Strings{"selected O:frmMain"});
  Key(TDesignKey::Escape);
  Key(TDesignKey::Right, kCtrl);
  EXPECT_TRUE(TakeLog().empty());
}

TEST_F(NativeDesigner, ArrowsStayAmongSiblings) {
  designer_.SelectComponent("Label1");
  Key(TDesignKey::Right);  // the form's buttons lie to the right, but are no siblings
  EXPECT_EQ(designer_.GrabHandles().Target(), label1_);
  Key(TDesignKey::Down);
  EXPECT_EQ(designer_.GrabHandles().Target(), group1_);
  Key(TDesignKey::Down);
  EXPECT_EQ(designer_.GrabHandles().Target(), edit1_);
}

TEST(DesignerNavigation, ArrowsPickTheNearestSiblingEarlierOnATie) {
  // A 3x3 grid of 20x20 buttons, 40 pixels apart: Bxy at column x, row y.
  testing::TFakeDesignSurface surface;
  TNode b[3][3];
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x)
      b[x][y] = surface.Add("B" + std::to_string(x) + std::to_string(y), BoundsRect(x * 40, y * 40, 20, 20));
  TVaqFormDesigner designer(surface, "frmGrid");
  const auto from = [&](TNode start, TDesignKey key) {
    designer.GrabHandles().SetTarget(start);
    designer.KeyEvent(surface.Form(), TKeyAction::Press, key, {});
    return surface.Name(designer.GrabHandles().Target());
  };
  EXPECT_EQ(from(b[1][1], TDesignKey::Right), "B21");
  EXPECT_EQ(from(b[1][1], TDesignKey::Left), "B01");
  EXPECT_EQ(from(b[1][1], TDesignKey::Up), "B10");
  EXPECT_EQ(from(b[1][1], TDesignKey::Down), "B12");
  EXPECT_EQ(from(b[0][0], TDesignKey::Left), "B00");  // nothing there: the selection stays
  // Without B21 the two diagonal ones are equally near: the earlier child wins.
  surface.At(b[2][1]).Name.clear();
  EXPECT_EQ(from(b[1][1], TDesignKey::Right), "B20");
}

TEST_F(NativeDesigner, OnlyTheLeftButtonDrags) {
  EXPECT_FALSE(Down(button1_, {20, 15}, TMouseButton::Right));
  EXPECT_FALSE(Up(button1_, {20, 15}, TMouseButton::Right));
  EXPECT_EQ(designer_.GrabHandles().Target(), TNode::None);
  EXPECT_FALSE(Down(surface_.Form(), {5, 5}, TMouseButton::Right));
  EXPECT_TRUE(TakeLog().empty());
}

TEST_F(QtDesigner, KeysActWhenReleasedAlsoFromControls) {
  designer_.SelectComponent("Button1");
  EXPECT_TRUE(designer_.KeyEvent(button1_, TKeyAction::Press, TDesignKey::Right, kCtrl));
  EXPECT_EQ(surface_.Bounds(button1_), BoundsRect(13, 8, 75, 25));
  EXPECT_TRUE(designer_.KeyEvent(button1_, TKeyAction::Release, TDesignKey::Right, kCtrl));
  EXPECT_EQ(surface_.Bounds(button1_), BoundsRect(14, 8, 75, 25));
  EXPECT_FALSE(designer_.KeyEvent(button1_, TKeyAction::Press, TDesignKey::Other, {}));
  EXPECT_TRUE(designer_.KeyEvent(button1_, TKeyAction::Release, TDesignKey::Other, {}));
  // Shift+Tab arrives as BackTab.
  designer_.KeyEvent(surface_.Form(), TKeyAction::Release, TDesignKey::BackTab, kShift);
  EXPECT_EQ(designer_.GrabHandles().Target(), edit1_);
}

// A quick tap lets go of Shift (or Ctrl) before the arrow as often as not; acting on the release,
// the modifiers of the press count. Every tap, and every repeat of a held key, acts.
TEST_F(QtDesigner, ReleasedKeysActWithTheModifiersOfTheirPress) {
  designer_.SelectComponent("Button1");
  for (int tap = 0; tap < 3; ++tap) {
    designer_.KeyEvent(surface_.Form(), TKeyAction::Press, TDesignKey::Right, kShift);
    designer_.KeyEvent(surface_.Form(), TKeyAction::Release, TDesignKey::Right, {});
  }
  EXPECT_EQ(surface_.Bounds(button1_), BoundsRect(13, 8, 78, 25));
  designer_.KeyEvent(surface_.Form(), TKeyAction::Press, TDesignKey::Down, kCtrl);
  for (int repeat = 0; repeat < 4; ++repeat) {
    designer_.KeyEvent(surface_.Form(), TKeyAction::Release, TDesignKey::Down, kCtrl);
    designer_.KeyEvent(surface_.Form(), TKeyAction::Press, TDesignKey::Down, kCtrl);
  }
  designer_.KeyEvent(surface_.Form(), TKeyAction::Release, TDesignKey::Down, {});
  EXPECT_EQ(surface_.Bounds(button1_), BoundsRect(13, 13, 78, 25));
  // A release without its press (the press went to another window) takes its own modifiers.
  designer_.KeyEvent(surface_.Form(), TKeyAction::Release, TDesignKey::Left, kCtrl);
  EXPECT_EQ(surface_.Bounds(button1_), BoundsRect(12, 13, 78, 25));
}

TEST_F(QtDesigner, AnyButtonDrags) {
  EXPECT_TRUE(Down(button1_, {20, 15}, TMouseButton::Right));
  Move(button1_, {36, 15});
  EXPECT_TRUE(Up(button1_, {36, 15}, TMouseButton::Right));
  EXPECT_EQ(surface_.Bounds(button1_), BoundsRect(32, 8, 75, 25));
  EXPECT_TRUE(Down(surface_.Form(), {5, 5}, TMouseButton::Middle));
  EXPECT_EQ(designer_.GrabHandles().Target(), TNode::None);
}

TEST_F(QtDesigner, TestModeLetsTheFormActAndReachesOnlyItsOwnForm) {
  testing::TFakeDesignSurface other;
  const TNode otherButton = other.Add("Button1", BoundsRect(8, 8, 75, 25));
  TVaqFormDesigner second(other, "frmOther", kQtDesignerPolicy);

  designer_.SelectComponent("Button1");
  const int repaints = surface_.Repaints;
  designer_.TestCommand();
  EXPECT_FALSE(designer_.GetActive());
  EXPECT_FALSE(surface_.Designing);
  EXPECT_FALSE(surface_.HandlesShown);
  EXPECT_FALSE(designer_.PaintsGrid());
  EXPECT_EQ(surface_.Repaints, repaints + 1);
  EXPECT_TRUE(second.GetActive());
  EXPECT_TRUE(second.MouseEvent(otherButton, TMouseAction::Down, TMouseButton::Left, {10, 10}));

  // In test mode input reaches the controls, and a selection from the editor shows no handles.
  EXPECT_FALSE(Down(button2_, {20, 205}));
  EXPECT_FALSE(designer_.KeyEvent(surface_.Form(), TKeyAction::Release, TDesignKey::Tab, {}));
  designer_.SelectComponent("Button2");
  EXPECT_FALSE(surface_.HandlesShown);

  designer_.TestCommand();
  EXPECT_TRUE(designer_.GetActive());
  EXPECT_TRUE(surface_.Designing);
  EXPECT_TRUE(surface_.HandlesShown);
  EXPECT_TRUE(designer_.PaintsGrid());
  EXPECT_EQ(designer_.GrabHandles().Target(), button2_);
}

TEST_F(QtDesigner, TestModeDuringADragDropsTheDrag) {
  Down(button1_, {20, 15});
  Move(button1_, {60, 15});
  designer_.SetActive(false);
  EXPECT_TRUE(surface_.RubberBand.empty());
  Up(button1_, {60, 15});
  designer_.SetActive(true);
  Up(button1_, {60, 15});
  EXPECT_EQ(surface_.Bounds(button1_), BoundsRect(13, 8, 75, 25));
}

TEST_F(NativeDesigner, GridOffsetFollowsTheScrollPosition) {
  surface_.Scroll = {20, 16};
  EXPECT_EQ(designer_.GetGridOffset(), TPoint({4, 0}));
  surface_.Scroll = {3, 9};
  EXPECT_EQ(designer_.GetGridOffset(), TPoint({5, 7}));
  designer_.SetGridSize({10, 10});
  surface_.Scroll = {25, 0};
  EXPECT_EQ(designer_.GetGridOffset(), TPoint({5, 0}));
}

TEST_F(NativeDesigner, GridDotsCoverTheFormFromTheOffset) {
  int dots = 0;
  TPoint first{-1, -1};
  designer_.ForEachGridDot([&](int x, int y) {
    if (dots++ == 0) first = {x, y};
  });
  EXPECT_EQ(dots, 80 * 60);
  EXPECT_EQ(first, TPoint({0, 0}));
  surface_.Scroll = {20, 0};
  dots = 0;
  designer_.ForEachGridDot([&](int x, int y) {
    if (dots++ == 0) first = {x, y};
  });
  EXPECT_EQ(first, TPoint({4, 0}));
  EXPECT_EQ(dots, 80 * 60);  // 4, 12, ..., 636
}

TEST_F(NativeDesigner, GridOptionsRepaintOnlyWhenTheyChange) {
  const int start = surface_.Repaints;
  designer_.SetDisplayGrid(true);
  designer_.SetGridSize({8, 8});
  designer_.SetSnapToGrid(false);
  EXPECT_EQ(surface_.Repaints, start);
  designer_.SetDisplayGrid(false);
  designer_.SetGridSize({4, 4});
  EXPECT_EQ(surface_.Repaints, start + 2);
  EXPECT_FALSE(designer_.PaintsGrid());
  designer_.SetGridSize({0, -3});
  EXPECT_EQ(designer_.GetGridSize(), TPoint({1, 1}));
}

TEST_F(NativeDesigner, PropertyValuesReachTheLiveFormAndBadOnesAreIgnored) {
  designer_.SetPropertyValue("FRMMAIN", "Caption", "Hallo");
  EXPECT_EQ(surface_.At(surface_.Form()).Properties["caption"], "Hallo");
  designer_.SetPropertyValue("frmLive", "Caption", "the live name is not the stream's");
  EXPECT_EQ(surface_.At(surface_.Form()).Properties["caption"], "Hallo");
  designer_.SetPropertyValue("Button1", "Width", "abc");
  designer_.SetPropertyValue("Button1", "Colour", "clRed");
  designer_.SetPropertyValue("NoSuchButton", "Width", "10");
  EXPECT_EQ(surface_.Bounds(button1_), BoundsRect(13, 8, 75, 25));

  // The handles follow the selected control, also when its parent moves.
  designer_.SelectComponent("Edit1");
  designer_.SetPropertyValue("edit1", "Left", "40");
  EXPECT_EQ(surface_.ShownHandles[0].Left, 100 + 40 - 2);
  designer_.SetPropertyValue("Panel1", "Left", "150");
  EXPECT_EQ(surface_.ShownHandles[0].Left, 150 + 40 - 2);
  EXPECT_EQ(TakeLog(), Strings{"selected O:frmMain.O:Panel1.O:Edit1"});  // values set are not reported
}

TEST_F(NativeDesigner, SelectComponentTakesControlsOnly) {
  surface_.AddComponent("MenuItem1");
  designer_.SelectComponent("MenuItem1");
  designer_.SelectComponent("Nothing");
  designer_.SelectComponent("frmLive");
  EXPECT_EQ(designer_.GrabHandles().Target(), TNode::None);
  designer_.SelectComponent("RADIO1");
  designer_.SelectComponent("Radio1");  // already selected: reported once
  EXPECT_EQ(TakeLog(), Strings{"selected O:frmMain.O:Panel1.O:GroupBox1.O:Radio1"});
}

// Tab and the arrows pass over controls that are not on screen: a hidden control and everything
// on a page that is not shown.
TEST_F(NativeDesigner, NavigationPassesOverControlsNotOnScreen) {
  surface_.At(button2_).Shown = false;
  surface_.At(group1_).Shown = false;
  designer_.SelectComponent("Button1");
  Key(TDesignKey::Tab);
  EXPECT_EQ(designer_.GrabHandles().Target(), panel1_);
  Key(TDesignKey::Tab);
  Key(TDesignKey::Tab);
  EXPECT_EQ(designer_.GrabHandles().Target(), edit1_) << "GroupBox1 and Radio1 are passed over";
  Key(TDesignKey::Tab, kShift);
  EXPECT_EQ(designer_.GrabHandles().Target(), label1_);
  designer_.SelectComponent("Button1");
  Key(TDesignKey::Down);
  EXPECT_EQ(designer_.GrabHandles().Target(), panel1_) << "not the hidden Button2 below";
}

// A control whose change the notes cannot keep is selected but stays where it is, by mouse and
// by keys; the notifier is asked before anything changes.
TEST_F(NativeDesigner, ARefusedControlStaysWhereItIs) {
  auto notifier = std::make_shared<testing::TRecordingNotifier>(log_);
  notifier->Refused = {"O:frmMain.O:Button1"};
  designer_.SetNotifier(notifier);
  Down(button1_, {20, 15});
  Move(button1_, {60, 15});
  Up(button1_, {60, 15});
  Key(TDesignKey::Right, kCtrl);
  Key(TDesignKey::Right, kShift);
  EXPECT_EQ(surface_.Bounds(button1_), BoundsRect(13, 8, 75, 25));
  EXPECT_FALSE(designer_.GrabHandles().Dragging());
  EXPECT_TRUE(surface_.RubberBand.empty());
  EXPECT_EQ(TakeLog(), (Strings{"selected O:frmMain.O:Button1", "refused O:frmMain.O:Button1",
                                "refused O:frmMain.O:Button1", "refused O:frmMain.O:Button1"}));
  designer_.SelectComponent("Button2");
  Key(TDesignKey::Right, kCtrl);
  EXPECT_EQ(surface_.Bounds(button2_), BoundsRect(14, 200, 75, 25));
}

// Paths spell each segment as the notes do; the designer finds a control by such a path and tells
// its class.
TEST_F(NativeDesigner, PathsCarryTheKindOfEachSegment) {
  surface_.At(surface_.Form()).Kind = 'I';
  surface_.At(panel1_).Kind = 'I';
  surface_.At(panel1_).ClassName = "TPanel";
  EXPECT_EQ(designer_.GrabHandles().GetComponentPath(label1_), "I:frmMain.I:Panel1.O:Label1");
  EXPECT_EQ(designer_.FindPath("I:frmMain.I:Panel1.O:Label1"), label1_);
  EXPECT_EQ(designer_.FindPath("O:FRMMAIN.O:panel1"), panel1_);
  EXPECT_EQ(designer_.FindPath("O:frmMain"), surface_.Form());
  EXPECT_EQ(designer_.FindPath("O:frmOther.O:Panel1"), TNode::None);
  EXPECT_EQ(designer_.FindPath("O:frmMain.O:Panel1.O:Nothing"), TNode::None);
  EXPECT_EQ(designer_.FindPath("frmMain.Panel1"), TNode::None);
  EXPECT_EQ(designer_.ComponentClass("I:frmMain.I:Panel1"), "TPanel");
  EXPECT_EQ(designer_.ComponentClass("I:frmMain.I:Panel9"), "");
}

TEST(DesignerPolicy, FollowsTheFormFilesFramework) {
  EXPECT_TRUE(DesignerPolicyForFile("forms/Main.GOX").KeysOnRelease);
  EXPECT_TRUE(DesignerPolicyForFile("a.gox").AnyMouseButton);
  EXPECT_FALSE(DesignerPolicyForFile("Main.rux").KeysOnRelease);
  EXPECT_FALSE(DesignerPolicyForFile("gox").AnyMouseButton);
  EXPECT_EQ(DesignKeyFromQtKey(0x01000002), TDesignKey::BackTab);
  EXPECT_EQ(DesignKeyFromQtKey(0x01000015), TDesignKey::Down);
  EXPECT_EQ(DesignKeyFromVirtualKey(0x25), TDesignKey::Left);
  EXPECT_EQ(DesignKeyFromVirtualKey(0x1B), TDesignKey::Escape);
  EXPECT_EQ(DesignKeyFromVirtualKey(0x41), TDesignKey::Other);
  EXPECT_EQ(DesignKeyFromQtKey(0x1012), TDesignKey::Other);
}

}  // namespace
}  // namespace rux
