// A preview form for the designer's tests. The live form is "frmLive" but its stream name, the
// first segment of every path, is "frmMain". Controls in nesting order (bounds in the parent):
//   Button1 (13, 8, 75x25)   Button2 (13, 200, 75x25)
//   Panel1 (100, 50, 200x150): Label1 (8, 8, 50x13), GroupBox1 (8, 30, 120x60): Radio1 (8, 16, 90x17),
//                              Edit1 (8, 96, 120x21), an unnamed inner part (150, 8, 30x30)
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "designer/form_designer.h"
#include "support/fake_design_surface.h"

namespace rux {

class DesignerTest : public ::testing::Test {
 protected:
  explicit DesignerTest(TDesignerPolicy Policy = kNativeDesignerPolicy)
      : designer_(surface_, "frmMain", Policy) {
    designer_.SetNotifier(std::make_shared<testing::TRecordingNotifier>(log_));
  }

  // Mouse input on a control at a form position.
  bool Down(TNode Sender, TPoint P, TMouseButton Button = TMouseButton::Left) {
    return designer_.MouseEvent(Sender, TMouseAction::Down, Button, P);
  }
  bool Move(TNode Sender, TPoint P) {
    return designer_.MouseEvent(Sender, TMouseAction::Move, TMouseButton::Left, P);
  }
  bool Up(TNode Sender, TPoint P, TMouseButton Button = TMouseButton::Left) {
    return designer_.MouseEvent(Sender, TMouseAction::Up, Button, P);
  }
  // Press and release of a key on the form (or on `Sender`).
  void Key(TDesignKey Key, TShiftState Shift = {}, TNode Sender = TNode::None) {
    if (Sender == TNode::None) Sender = surface_.Form();
    designer_.KeyEvent(Sender, TKeyAction::Press, Key, Shift);
    designer_.KeyEvent(Sender, TKeyAction::Release, Key, Shift);
  }
  std::vector<std::string> TakeLog() { return std::exchange(log_, {}); }

  testing::TFakeDesignSurface surface_;
  TNode button1_ = surface_.Add("Button1", BoundsRect(13, 8, 75, 25));
  TNode button2_ = surface_.Add("Button2", BoundsRect(13, 200, 75, 25));
  TNode panel1_ = surface_.Add("Panel1", BoundsRect(100, 50, 200, 150));
  TNode label1_ = surface_.Add("Label1", BoundsRect(8, 8, 50, 13), panel1_);
  TNode group1_ = surface_.Add("GroupBox1", BoundsRect(8, 30, 120, 60), panel1_);
  TNode radio1_ = surface_.Add("Radio1", BoundsRect(8, 16, 90, 17), group1_);
  TNode edit1_ = surface_.Add("Edit1", BoundsRect(8, 96, 120, 21), panel1_);
  TNode inner_ = surface_.Add("", BoundsRect(150, 8, 30, 30), panel1_);
  std::vector<std::string> log_;
  TVaqFormDesigner designer_;
};

}  // namespace rux
