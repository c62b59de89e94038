// Grab handles, snapping, the rubber band and what a drag reports.
#include "designer/grab_handles.h"

#include <gtest/gtest.h>

#include "designer_fixture.h"

namespace rux {
namespace {

using Strings = std::vector<std::string>;

TEST(GrabHandleGeometry, HandlesSitAroundTheControlAsTheFrameworksPlaceThem) {
  // A control at (13, 8), 75x25: corners 2 pixels outside, edge handles centred.
  const auto r = GrabHandleRects({13, 8, 88, 33});
  const TPoint expected[] = {{11, 6}, {48, 6}, {85, 6}, {85, 18}, {85, 30}, {48, 30}, {11, 30}, {11, 18}};
  for (int i = 0; i < kGrabHandleCount; ++i) {
    EXPECT_EQ(r[i], BoundsRect(expected[i].X, expected[i].Y, 5, 5)) << "handle " << i;
  }
  // The centre of a control left of the form's origin truncates toward zero: (-10 - 2 - 5) / 2.
  EXPECT_EQ(GrabHandleRects({-10, -10, -2, -2})[1].Left, -8);
  EXPECT_EQ(kGrabHandleCursors[0], TGrabCursor::SizeNWSE);
  EXPECT_EQ(kGrabHandleCursors[3], TGrabCursor::SizeWE);
  EXPECT_EQ(static_cast<int>(kGrabHandleCursors[6]), -6);
}

TEST(RubberBand, DrawingTwiceErases) {
  TRubberBand band;
  band.Draw({1, 1, 10, 10});
  EXPECT_EQ(band.Frames().size(), 1u);
  band.Draw({2, 2, 10, 10});
  band.Draw({1, 1, 10, 10});
  EXPECT_EQ(band.Frames(), std::vector<TRect>{TRect({2, 2, 10, 10})});
  band.Draw({2, 2, 10, 10});
  EXPECT_TRUE(band.Frames().empty());
}

class GrabHandlesTest : public DesignerTest {};

TEST_F(GrabHandlesTest, SnapGoesToTheNearestGridLine) {
  const TGrabHandles& h = designer_.GrabHandles();
  const std::pair<int, int> cases[] = {{3, 0}, {4, 8}, {-4, 0}, {-5, -8}, {-12, -8}, {15, 16}, {16, 16}};
  for (const auto& [value, snapped] : cases) EXPECT_EQ(h.Snap(value, 0, 8), snapped) << value;
  EXPECT_EQ(h.Snap(9, 4, 8), 12);  // lines at 4, 12, 20
  EXPECT_EQ(h.Snap(7, 4, 8), 4);
  EXPECT_EQ(h.Snap(13, 0, 0), 13);  // no step: nothing to snap to
  designer_.SetSnapToGrid(false);
  EXPECT_EQ(h.Snap(15, 0, 8), 15);
}

TEST_F(GrabHandlesTest, DragMovesByTheUnsnappedMotionAndSnapsTheResult) {
  EXPECT_TRUE(Down(button1_, {20, 15}));
  EXPECT_TRUE(Move(button1_, {22, 15}));
  EXPECT_TRUE(Up(button1_, {22, 15}));
  EXPECT_EQ(surface_.Bounds(button1_), BoundsRect(16, 8, 75, 25));
  EXPECT_EQ(TakeLog(), (Strings{"selected O:frmMain.O:Button1", "moved O:frmMain.O:Button1 16,8"}));

  // Without snapping the same drag gives 13 + 2.
  surface_.At(button1_).Bounds = BoundsRect(13, 8, 75, 25);
  designer_.SetSnapToGrid(false);
  Down(button1_, {20, 15});
  Move(button1_, {22, 15});
  Up(button1_, {22, 15});
  EXPECT_EQ(surface_.Bounds(button1_), BoundsRect(15, 8, 75, 25));
  EXPECT_EQ(TakeLog(), (Strings{"moved O:frmMain.O:Button1 15,8"}));
}

TEST_F(GrabHandlesTest, SlowDragCrossesGridLines) {
  // Four moves of one pixel each: every frame snaps back to 16 until the motion adds up.
  Down(button1_, {20, 15});
  for (int x = 21; x <= 24; ++x) Move(button1_, {x, 15});
  EXPECT_EQ(designer_.GrabHandles().FrameRect().Left, 16);
  for (int x = 25; x <= 28; ++x) Move(button1_, {x, 15});
  EXPECT_EQ(designer_.GrabHandles().FrameRect().Left, 24);
  Up(button1_, {28, 15});
  EXPECT_EQ(surface_.Bounds(button1_).Left, 24);
}

TEST_F(GrabHandlesTest, EachHandleMovesItsOwnEdges) {
  designer_.SetSnapToGrid(false);
  designer_.SelectComponent("Button1");
  TakeLog();
  const auto drag = [&](int handle, TPoint by) {
    surface_.At(button1_).Bounds = BoundsRect(13, 8, 75, 25);
    designer_.HandleMouseEvent(handle, TMouseAction::Down, {0, 0});
    designer_.HandleMouseEvent(handle, TMouseAction::Move, by);
    designer_.HandleMouseEvent(handle, TMouseAction::Up, by);
    return surface_.Bounds(button1_);
  };
  EXPECT_EQ(drag(3, {5, 7}), TRect({13, 8, 93, 33}));    // right edge only
  EXPECT_EQ(drag(0, {-3, -2}), TRect({10, 6, 88, 33}));  // top and left
  EXPECT_EQ(drag(5, {9, 4}), TRect({13, 8, 88, 37}));    // bottom only
  EXPECT_EQ(TakeLog(), (Strings{"resized O:frmMain.O:Button1 80,25", "moved O:frmMain.O:Button1 10,6",
                                "resized O:frmMain.O:Button1 78,27", "resized O:frmMain.O:Button1 75,29"}));
}

TEST_F(GrabHandlesTest, LeftEdgeDragReportsPositionThenSizeBeforeTheControlChanges) {
  // The notifier sees the control still at its old bounds.
  class TSnapshotNotifier : public testing::TRecordingNotifier {
   public:
    TSnapshotNotifier(Strings& Log, const testing::TFakeDesignSurface& S, TNode C)
        : TRecordingNotifier(Log), Log_(Log), S_(S), C_(C) {}
    void ComponentMoved(const std::string& Path, TPoint P) override {
      TRecordingNotifier::ComponentMoved(Path, P);
      Log_.push_back("left then " + std::to_string(S_.Bounds(C_).Left));
    }

   private:
    Strings& Log_;
    const testing::TFakeDesignSurface& S_;
    TNode C_;
  };
  designer_.SetNotifier(std::make_shared<TSnapshotNotifier>(log_, surface_, button1_));
  designer_.SelectComponent("Button1");
  TakeLog();
  designer_.HandleMouseEvent(7, TMouseAction::Down, {11, 20});
  designer_.HandleMouseEvent(7, TMouseAction::Move, {3, 21});
  designer_.HandleMouseEvent(7, TMouseAction::Up, {3, 21});
  EXPECT_EQ(TakeLog(),
            (Strings{"moved O:frmMain.O:Button1 8,8", "left then 13", "resized O:frmMain.O:Button1 80,25"}));
  EXPECT_EQ(surface_.Bounds(button1_), TRect({8, 8, 88, 33}));
}

TEST_F(GrabHandlesTest, DragThatEndsWhereItStartedSendsNothing) {
  designer_.SelectComponent("Button1");
  TakeLog();
  Down(button1_, {20, 15});
  Up(button1_, {20, 15});
  // Away and back: with snapping on, the frame of a control off the grid would land on the grid.
  designer_.SetSnapToGrid(false);
  Down(button1_, {20, 15});
  Move(button1_, {35, 40});
  Move(button1_, {20, 15});
  Up(button1_, {20, 15});
  EXPECT_TRUE(TakeLog().empty());
  EXPECT_EQ(surface_.BoundsSet, 0);
}

TEST_F(GrabHandlesTest, RubberBandFollowsTheDragOnTheParentAndHandlesHideMeanwhile) {
  // Edit1 lies in Panel1 at (100, 50): the frame is drawn in form coordinates, inside the rectangle.
  Down(edit1_, {120, 160});
  EXPECT_FALSE(surface_.HandlesShown);
  EXPECT_EQ(surface_.RubberBand, std::vector<TRect>{TRect({109, 147, 228, 167})});
  Move(edit1_, {130, 160});
  EXPECT_EQ(surface_.RubberBand, std::vector<TRect>{TRect({117, 147, 236, 167})});
  Up(edit1_, {130, 160});
  EXPECT_TRUE(surface_.RubberBand.empty());
  EXPECT_TRUE(surface_.HandlesShown);
  EXPECT_EQ(surface_.Bounds(edit1_), BoundsRect(16, 96, 120, 21));
  // The handles frame the control in form coordinates.
  EXPECT_EQ(surface_.ShownHandles[0], BoundsRect(114, 144, 5, 5));
  EXPECT_EQ(TakeLog(),
            (Strings{"selected O:frmMain.O:Panel1.O:Edit1", "moved O:frmMain.O:Panel1.O:Edit1 16,96"}));
}

TEST_F(GrabHandlesTest, OnlyTheSenderThatStartedTheDragMovesAndEndsIt) {
  designer_.SetSnapToGrid(false);
  designer_.SelectComponent("Button1");
  Move(button1_, {50, 50});  // no drag yet
  Up(button1_, {50, 50});    // a stray release applies nothing
  EXPECT_EQ(surface_.BoundsSet, 0);
  Down(button1_, {20, 15});
  Down(button2_, {20, 205});  // a second press during the drag is ignored
  designer_.HandleMouseEvent(3, TMouseAction::Move, {60, 60});
  Up(button2_, {60, 60});
  EXPECT_TRUE(designer_.GrabHandles().Dragging());
  Move(button1_, {25, 15});
  Up(button1_, {25, 15});
  EXPECT_EQ(surface_.Bounds(button1_), BoundsRect(18, 8, 75, 25));
  EXPECT_EQ(surface_.Bounds(button2_), BoundsRect(13, 200, 75, 25));
}

TEST_F(GrabHandlesTest, AnEdgeStopsAtTheOppositeOne) {
  designer_.SetSnapToGrid(false);
  designer_.SelectComponent("Button1");
  designer_.HandleMouseEvent(7, TMouseAction::Down, {0, 0});
  designer_.HandleMouseEvent(7, TMouseAction::Move, {200, 0});
  designer_.HandleMouseEvent(7, TMouseAction::Up, {200, 0});
  EXPECT_EQ(surface_.Bounds(button1_), TRect({88, 8, 88, 33}));
  designer_.HandleMouseEvent(1, TMouseAction::Down, {0, 0});
  designer_.HandleMouseEvent(1, TMouseAction::Move, {0, 100});
  designer_.HandleMouseEvent(1, TMouseAction::Up, {0, 100});
  EXPECT_EQ(surface_.Bounds(button1_), TRect({88, 33, 88, 33}));
}

TEST_F(GrabHandlesTest, PathsUseTheStreamNameOfTheForm) {
  const TGrabHandles& h = designer_.GrabHandles();
  EXPECT_EQ(h.GetComponentPath(radio1_), "O:frmMain.O:Panel1.O:GroupBox1.O:Radio1");
  EXPECT_EQ(h.GetComponentPath(button1_), "O:frmMain.O:Button1");
  EXPECT_EQ(h.GetComponentPath(surface_.Form()), "O:frmMain");
}

TEST_F(GrabHandlesTest, FormResizedReportsANewOuterSize) {
  designer_.FormResized();  // as when the window is shown: the size it had
  EXPECT_TRUE(TakeLog().empty());
  surface_.At(surface_.Form()).Bounds = BoundsRect(0, 0, 700, 500);
  designer_.FormResized();
  designer_.FormResized();
  EXPECT_EQ(TakeLog(), Strings{"resized O:frmMain 700,500"});
  designer_.SetNotifier(nullptr);
  surface_.At(surface_.Form()).Bounds = BoundsRect(0, 0, 710, 500);
  designer_.FormResized();
  Down(button1_, {20, 15});
  EXPECT_TRUE(TakeLog().empty());
}

}  // namespace
}  // namespace rux
