// The designer's option page: its layout, its check-box texts, and that only an accepted dialog
// hands the options to the open designer.
#include "designer/option_page.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "designer_fixture.h"
#include "support/temp_dir.h"

namespace rux {
namespace {

const TOptionPageControl& Control(std::string_view Name) {
  const auto& layout = FormDesignerOptionPageLayout();
  const auto it = std::find_if(layout.begin(), layout.end(), [&](const auto& c) { return c.Name == Name; });
  EXPECT_NE(it, layout.end()) << Name;
  return *it;
}

TEST(DesignerOptionPage, LayoutBindsFourControlsToTheDesignerOptions) {
  const auto& layout = FormDesignerOptionPageLayout();
  ASSERT_EQ(layout.size(), 10u);
  EXPECT_EQ(layout.front().Kind, TOptionPageControlKind::Form);
  // Every control's parent comes before it.
  for (size_t i = 1; i < layout.size(); ++i) {
    const auto parent = std::find_if(layout.begin(), layout.begin() + i,
                                     [&](const auto& c) { return c.Name == layout[i].Parent; });
    EXPECT_NE(parent, layout.begin() + i) << layout[i].Name;
  }
  EXPECT_EQ(Control("pcbDisplayGrid").PropertyField, "Display Grid");
  EXPECT_EQ(Control("pcbSnapToGrid").PropertyField, "Snap to Grid");
  EXPECT_EQ(Control("ebGridSizeX").PropertyField, "Grid Size X");
  EXPECT_EQ(Control("ebGridSizeY").PropertyField, "Grid Size Y");
  EXPECT_EQ(Control("lbGridSizeX").FocusControl, "ebGridSizeX");
  EXPECT_EQ(Control("ebGridSizeY").Bounds, BoundsRect(272, 40, 81, 21));
  EXPECT_EQ(Control("tsFormDesigner").HelpContext, 7315);
  EXPECT_EQ(Control("gbFormDesigner").Caption, " Form Designer ");
  // Tab order inside the group: the two check boxes, then the two edits.
  EXPECT_EQ(Control("pcbSnapToGrid").TabOrder, 1);
  EXPECT_EQ(Control("ebGridSizeX").TabOrder, 2);
  // Each field is an option of the core's set.
  for (const auto& c : layout) {
    if (c.PropertyField.empty()) continue;
    EXPECT_NO_THROW(vaq::VaqINTOptionProps.Entry(c.PropertyField)) << c.Name;
  }
}

TEST(DesignerOptionPage, CheckBoxesReadTheirTexts) {
  EXPECT_EQ(PropCheckBoxState("True"), true);
  EXPECT_EQ(PropCheckBoxState("yes"), true);
  EXPECT_EQ(PropCheckBoxState("1"), true);
  EXPECT_EQ(PropCheckBoxState("FALSE"), false);
  EXPECT_EQ(PropCheckBoxState("0"), false);
  EXPECT_EQ(PropCheckBoxState("maybe"), std::nullopt);
  EXPECT_EQ(PropCheckBoxState(""), std::nullopt);
}

class DesignerOptionPageTest : public DesignerTest {
 protected:
  void TearDown() override { vaq::VaqINTOptionProps.ClearOverrides(); }
  vaq::testing::TempDir config_{vaq::testing::TempDir::kConfig};
};

TEST_F(DesignerOptionPageTest, AcceptedDialogUpdatesTheDesignerCancelledLeavesIt) {
  vaq::VaqINTOptionProps.SetOverride(vaq::kOptDisplayGrid, false);
  vaq::VaqINTOptionProps.SetOverride(vaq::kOptGridSizeX, std::int64_t{4});
  vaq::VaqINTOptionProps.SetOverride(vaq::kOptGridSizeY, std::int64_t{4});
  const auto update = [&] { UpdateDesignerOptions(&designer_, vaq::VaqINTOptionProps); };
  {
    TFormDesignerOptionPage cancelled(update);
    cancelled.SetModalResult(2);
    cancelled.FormDestroy();
  }
  EXPECT_TRUE(designer_.GetDisplayGrid());
  EXPECT_EQ(designer_.GetGridSize(), TPoint({8, 8}));

  const int repaints = surface_.Repaints;
  TFormDesignerOptionPage accepted(update);
  accepted.SetModalResult(mrOk);
  accepted.FormDestroy();
  EXPECT_FALSE(designer_.GetDisplayGrid());
  EXPECT_EQ(designer_.GetGridSize(), TPoint({4, 4}));
  EXPECT_EQ(surface_.Repaints, repaints + 2);
  // The next drag snaps to the new step: 13 + 5 = 18 goes to 20.
  Down(button1_, {20, 15});
  Move(button1_, {25, 15});
  Up(button1_, {25, 15});
  EXPECT_EQ(surface_.Bounds(button1_).Left, 20);
}

TEST_F(DesignerOptionPageTest, TheDesignerTakesItsOptionsFromTheOptionSet) {
  vaq::VaqINTOptionProps.SetOverride(vaq::kOptSnapToGrid, false);
  vaq::VaqINTOptionProps.SetOverride(vaq::kOptGridSizeY, std::int64_t{5});
  IVaqFormDesignerOptions& options = designer_;
  options.UpdateOptions();
  EXPECT_FALSE(designer_.GetSnapToGrid());
  EXPECT_TRUE(designer_.GetDisplayGrid());
  EXPECT_EQ(designer_.GetGridSize(), TPoint({8, 5}));
}

TEST_F(DesignerOptionPageTest, NoDesignerNoChangeAndOddStepsAreKeptInRange) {
  UpdateDesignerOptions(nullptr, vaq::VaqINTOptionProps);
  vaq::VaqINTOptionProps.SetOverride(vaq::kOptGridSizeX, std::int64_t{0});
  vaq::VaqINTOptionProps.SetOverride(vaq::kOptGridSizeY, std::int64_t{1} << 40);
  UpdateDesignerOptions(&designer_, vaq::VaqINTOptionProps);
  EXPECT_EQ(designer_.GetGridSize(), TPoint({1, 1 << 16}));
}

}  // namespace
}  // namespace rux
