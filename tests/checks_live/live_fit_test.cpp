// The fit check on the live demo forms: a German caption too long for its button and a label that
// wraps beyond its height are found with the pixels they lack, untranslated forms give no fit
// finding, and the picture outlines the clipped control where the measure says.
#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>
#include <map>

#include "checks/demo_project.h"
#include "host/core/files.h"
#include "module/desktop/check_live.h"
#include "viewer/viewer.h"

namespace rux::checks {
namespace {

class LiveFit : public ::testing::Test {
 protected:
  void SetUp() override {
    // A label of fixed size that wraps its text.
    demo_.Edit("AddressFrame.rux", "    Caption = 'Street'\n",
               "    Caption = 'Street'\n    AutoSize = False\n    WordWrap = True\n    Width = 64\n    "
               "Height = 14\n");
    demo_.Update();
  }
  demo::TDemoProject demo_;
};

bool IsRed(QRgb pixel) {
  return qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60;
}

// Every kind of text of the demo forms, under the Id of its notes record.
TEST_F(LiveFit, TextsOfTheLiveFormsUnderTheirRecordsIds) {
  std::map<std::string, TRoomKind> kinds;
  std::map<std::string, std::string> texts;
  for (const char* form : {"MainForm.rux", "OptionsDialog.rux", "ReportView.gox", "AddressFrame.rux"}) {
    TRuxViewer& viewer = RuxViewer();
    viewer.DestroyForm(false);
    viewer.CreateForm(demo_.Lang(form), false);
    ASSERT_NE(viewer.XlatForm(), nullptr) << form;
    const std::string notes =
        vaq::ChangeFileExt(demo_.Lang(form), std::string(form).ends_with(".gox") ? ".goz" : ".ruz");
    for (const TFitItem& item : NotesFitItems(*viewer.XlatForm(), notes)) {
      kinds[item.Id] = item.Kind;
      texts[item.Id] = item.Text;
      EXPECT_GT(item.Font.PixelSize, 0) << item.Id;
    }
    viewer.DestroyForm(false);
  }
  const std::map<std::string, TRoomKind> expected = {
      {"O:MainForm.O:btnOK.Caption", TRoomKind::Button},
      {"O:MainForm.O:lvOrders.Columns[0].Caption", TRoomKind::Column},
      {"O:MainForm.O:lvOrders.Columns[1].Caption", TRoomKind::Column},
      {"O:MainForm.O:mnuMain.O:mnuFile.Caption", TRoomKind::MenuBarItem},
      {"O:MainForm.O:mnuMain.O:mnuHelp.Caption", TRoomKind::MenuBarItem},
      {"I:OptionsDialog.O:chkAutoSave.Caption", TRoomKind::CheckBox},
      {"I:OptionsDialog.O:rgUnits.Caption", TRoomKind::GroupCaption},
      {"I:OptionsDialog.O:rgUnits.Items.Strings[0]", TRoomKind::RadioItem},
      {"I:OptionsDialog.O:rgUnits.Items.Strings[1]", TRoomKind::RadioItem},
      {"O:ReportView.O:sbStatus.Panels[0].Text", TRoomKind::Panel},
      {"O:ReportView.O:sbStatus.Panels[1].Text", TRoomKind::Panel},
      {"O:AddressFrame.O:lblStreet.Caption", TRoomKind::WrappedLabel},
  };
  for (const auto& [id, kind] : expected) {
    ASSERT_TRUE(kinds.contains(id)) << id;
    EXPECT_EQ(kinds[id], kind) << id;
  }
  // As the frameworks show them: accelerator marks gone.
  EXPECT_EQ(texts["O:MainForm.O:btnOK.Caption"], "OK");
  EXPECT_EQ(texts["O:MainForm.O:mnuMain.O:mnuFile.Caption"], "File");
  EXPECT_EQ(texts["I:OptionsDialog.O:rgUnits.Items.Strings[1]"], "Imperial");
  // Labels that size themselves to their text are not measured.
  EXPECT_FALSE(kinds.contains("O:AddressFrame.O:lblCity.Caption"));
}

TEST_F(LiveFit, UntranslatedFormsFit) {
  for (const char* form : {"MainForm.ruz", "AddressFrame.ruz", "BaseDialog.ruz", "OptionsDialog.ruz"}) {
    EXPECT_TRUE(CheckFitLive(demo_.Lang(form), {}, "").empty()) << form;
  }
}

TEST_F(LiveFit, FindsTextsThatNoLongerFitAndOutlinesThem) {
  demo_.Translate("MainForm.rux", [](vaq::TVaqNotesString& r) {
    if (r.Id.ends_with("btnOK.Caption")) r.Curr = demo::Quoted("&Übernehmen und schließen");
  });
  demo_.Translate("AddressFrame.rux", [](vaq::TVaqNotesString& r) {
    if (r.Id.ends_with("lblStreet.Caption")) r.Curr = demo::Quoted("Straße und Hausnummer");
  });

  const std::vector<TFinding> button = CheckFitLive(demo_.Lang("MainForm.ruz"), {}, "");
  // The button, and the second list view column, whose default width of 50 px is too narrow for
  // "Summe" in the form's bold font (the original "Sum" fits).
  ASSERT_EQ(button.size(), 2u);
  EXPECT_EQ(button[1].Id, "O:MainForm.O:lvOrders.Columns[1].Caption");
  EXPECT_EQ(button[0].Id, "O:MainForm.O:btnOK.Caption");
  EXPECT_EQ(button[0].Kind, TFindingKind::Fit);
  EXPECT_NE(button[0].Detail.find("'Übernehmen und schließen' needs "), std::string::npos)
      << button[0].Detail;
  EXPECT_NE(button[0].Detail.find("px missing; the original 'OK' needs "), std::string::npos)
      << button[0].Detail;
  ASSERT_TRUE(button[0].Bounds);
  // The button's own bounds, in client coordinates.
  EXPECT_EQ(*button[0].Bounds, (TControlBounds{540, 410, 75, 25}));

  const std::string pictures = demo_.Project("pictures");
  const std::vector<TFinding> label = CheckFitLive(demo_.Lang("AddressFrame.ruz"), {}, pictures);
  ASSERT_EQ(label.size(), 1u);
  EXPECT_EQ(label[0].Id, "O:AddressFrame.O:lblStreet.Caption");
  EXPECT_NE(label[0].Detail.find("px of height, has 14"), std::string::npos) << label[0].Detail;

  // The picture shows the outline on the label's bounds, and not on the edit beside it.
  QImage image(QString::fromStdString(pictures + "/AddressFrame.png"));
  ASSERT_FALSE(image.isNull());
  const TControlBounds b = *label[0].Bounds;
  // The client area lies below the frame and caption the layer draws: look for the outline's
  // corners a little right of and below the bounds, with no red inside.
  bool found = false;
  for (int dy = 0; dy <= 40 && !found; ++dy) {
    for (int dx = 0; dx <= 10 && !found; ++dx) {
      const int x = b.Left + dx, y = b.Top + dy;
      if (x + b.Width - 1 >= image.width() || y + b.Height - 1 >= image.height()) continue;
      found = IsRed(image.pixel(x, y)) && IsRed(image.pixel(x + b.Width - 1, y)) &&
              IsRed(image.pixel(x, y + b.Height - 1)) &&
              IsRed(image.pixel(x + b.Width - 1, y + b.Height - 1)) &&
              !IsRed(image.pixel(x + b.Width / 2, y + b.Height / 2));
    }
  }
  EXPECT_TRUE(found) << "no red outline of " << b.Width << "x" << b.Height << " near " << b.Left << ","
                     << b.Top;
}

}  // namespace
}  // namespace rux::checks
