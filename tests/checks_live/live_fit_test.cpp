// The fit check on the live demo forms: a German caption too long for its button and a label that
// wraps beyond its height are found with the pixels they lack, untranslated forms give no fit
// finding, and the picture outlines the clipped control where the measure says.
#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "checks/demo_project.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/registration.h"
#include "host/core/resource_strings.h"
#include "host/framework/ide.h"
#include "module/desktop/check_live.h"
#include "module/module.h"
#include "notes/file_names.h"
#include "notes/rux_mgr.h"
#include "support/form_generator.h"
#include "support/temp_dir.h"
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

// The fit as it was checked with both live forms built: the reference for the check that builds
// the translated form alone when only texts changed.
std::vector<std::string> BothFormsFit(const std::string& Notes) {
  const std::string form = vaq::ChangeFileExt(Notes, NoteExtToFileExt(vaq::ExtractFileExt(Notes)));
  TRuxViewer& viewer = RuxViewer();
  viewer.CreateForm(form, false);
  viewer.CreateForm(form, true);
  const TQtTextMeasure measure;
  std::vector<std::string> details;
  for (const TFinding& finding : CheckFit(Notes, NotesFitItems(*viewer.XlatForm(), Notes),
                                          NotesFitItems(*viewer.OrigForm(), Notes), measure))
    details.push_back(finding.Id + ": " + finding.Detail);
  viewer.DestroyForm(false);
  viewer.DestroyForm(true);
  return details;
}

// The fit items of the translated form of `Form` built to be measured only, or to be shown: one
// line each with everything the fit uses.
std::vector<std::string> ItemsBuilt(const std::string& Form, bool ToMeasure) {
  TRuxViewer& viewer = RuxViewer();
  viewer.DestroyForm(false);
  viewer.ToMeasure = ToMeasure;
  viewer.CreateForm(Form, false);
  viewer.ToMeasure = false;
  std::vector<std::string> lines;
  for (const TFitItem& item : FitItemsOf(*viewer.XlatForm())) {
    const TControlBounds& b = item.Bounds;
    lines.push_back(item.Id + " " + item.Text + " " + std::to_string(b.Left) + "," + std::to_string(b.Top) +
                    "," + std::to_string(b.Width) + "," + std::to_string(b.Height) + " " + item.Font.Name +
                    " " + std::to_string(item.Font.PixelSize) + (item.Font.Bold ? "b" : "") +
                    (item.Font.Italic ? "i" : "") + " " + item.Row + " " + std::to_string(item.RowWidth));
  }
  viewer.DestroyForm(false);
  return lines;
}

std::vector<std::string> Details(const std::vector<TFinding>& Findings) {
  std::vector<std::string> details;
  for (const TFinding& finding : Findings) details.push_back(finding.Id + ": " + finding.Detail);
  return details;
}

// Translated texts alone leave the layout as it is: the original's measures come from the
// translated form with the original texts, and they are those of the built original.
TEST_F(LiveFit, TextsAloneGiveTheFindingsOfTheBuiltOriginal) {
  demo_.Translate("MainForm.rux", [](vaq::TVaqNotesString& r) {
    if (r.Id.ends_with("btnOK.Caption")) r.Curr = demo::Quoted("&Übernehmen und schließen");
    if (r.Id.ends_with("mnuFile.Caption")) r.Curr = demo::Quoted("&Datei und noch viel mehr als das");
  });
  demo_.Translate("OptionsDialog.rux", [](vaq::TVaqNotesString& r) {
    if (r.Id.ends_with("Strings[1]")) r.Curr = demo::Quoted("Angloamerikanisches Maßsystem");
  });
  for (const char* notes : {"MainForm.ruz", "OptionsDialog.ruz"}) {
    const std::vector<std::string> fit = Details(CheckFitLive(demo_.Lang(notes), {}, ""));
    EXPECT_FALSE(fit.empty()) << notes;
    EXPECT_EQ(fit, BothFormsFit(demo_.Lang(notes))) << notes;
  }
}

// A collection item with an explicit index: the notes give the index a line and a number of its
// own, so that the second column's caption is "Columns[2]" there. The finding names that record,
// with the texts of both forms.
TEST_F(LiveFit, ColumnsAfterAnExplicitIndexAreFoundUnderTheirRecords) {
  demo_.Edit("MainForm.rux", "      item\n        Caption = 'Date'",
             "      item [7]\n        Caption = 'Date'");
  demo_.Update();
  std::string sum;
  demo_.Translate("MainForm.rux", [&sum](vaq::TVaqNotesString& r) {
    if (r.Orig != "'Sum'") return;
    r.Curr = demo::Quoted("Gesamtsumme aller Bestellungen");
    sum = r.Id;
  });
  ASSERT_EQ(sum, "O:MainForm.O:lvOrders.Columns[2].Caption");
  const std::vector<TFinding> fit = CheckFitLive(demo_.Lang("MainForm.ruz"), {}, "");
  const auto column = std::find_if(
      fit.begin(), fit.end(), [](const TFinding& f) { return f.Id.find("lvOrders") != std::string::npos; });
  ASSERT_NE(column, fit.end());
  EXPECT_EQ(column->Id, sum);
  EXPECT_NE(column->Detail.find("'Gesamtsumme aller Bestellungen' needs "), std::string::npos)
      << column->Detail;
  EXPECT_NE(column->Detail.find("the original 'Sum' needs "), std::string::npos) << column->Detail;
  EXPECT_EQ(Details(fit), BothFormsFit(demo_.Lang("MainForm.ruz")));
}

// A translation that also moves or sizes a control is compared with the original form as built.
TEST_F(LiveFit, AChangedLayoutIsComparedWithTheBuiltOriginal) {
  demo_.Translate("MainForm.rux", [](vaq::TVaqNotesString& r) {
    if (r.Id.ends_with("Columns[0].Caption")) r.Curr = demo::Quoted("Datum der Bestellung");
    if (r.Id.ends_with("Columns[0].Width")) r.Curr = "30";
  });
  const std::vector<std::string> fit = Details(CheckFitLive(demo_.Lang("MainForm.ruz"), {}, ""));
  EXPECT_EQ(fit, BothFormsFit(demo_.Lang("MainForm.ruz")));
  ASSERT_FALSE(fit.empty());
  // The original 'Date' has its column of 80 pixels, not the translated one of 30.
  EXPECT_NE(fit[0].find("the original 'Date' needs"), std::string::npos) << fit[0];
  EXPECT_EQ(fit[0].find(" of 18"), std::string::npos) << fit[0];
}

// A project of generated forms (every kind of control the generator knows, unnamed components,
// collections whose items lack captions), pseudo-translated: the check that builds the
// translated form alone gives the findings of the check that builds both, each under a record of
// the notes, and a form built to be measured has the fit items of one built to be shown.
class GeneratedUnits : public vaq::TIToolServices {
 public:
  std::vector<std::string> Forms;
  int GetUnitCount() override { return static_cast<int>(Forms.size()); }
  std::string GetUnitName(int i) override { return Forms.at(static_cast<std::size_t>(i)); }
};

TEST(LiveFitGenerated, TextsAloneGiveTheFindingsOfTheBuiltOriginal) {
  vaq::testing::TempDir config(vaq::testing::TempDir::kConfig), dir;
  const vaq::ScopedMessageSink quiet(std::make_unique<vaq::CollectingSink>());
  constexpr int kForms = 16;
  GeneratedUnits units;
  for (int seed = 1; seed <= kForms; ++seed) {
    units.Forms.push_back(dir.Path() + "/Form" + std::to_string(seed) + ".rux");
    vaq::WriteFileAtomic(units.Forms.back(),
                         vaq::testing::GenerateFormText(static_cast<std::uint64_t>(seed), 20'000));
  }
  ModuleStartup();
  vaq::TStats stats;
  vaq::TStringObjectList list;
  vaq::GetVaqFileType(vaq::VaqFileTypes.ExtIndexOf(".rux"))
      ->UpdateForms(&list, stats, dir.Path(), dir.Path(), dir.Path() + "/de-DE", vaq::sUpdate, {}, 0x0409,
                    0x0407, &units, 0, {});
  std::size_t findings = 0;
  for (int seed = 1; seed <= kForms; ++seed) {
    const std::string form = dir.Path() + "/de-DE/Form" + std::to_string(seed) + ".rux";
    TRuxMgr mgr(form);
    mgr.EggBuild();
    mgr.Save(false, "", "", false);
    const std::string notes = FileNameToNoteName(form);
    // A form built to be measured leaves out contents no measure reads, and nothing the fit uses.
    const std::vector<std::string> measured = ItemsBuilt(form, true);
    EXPECT_FALSE(measured.empty()) << "Form" << seed;
    EXPECT_EQ(measured, ItemsBuilt(form, false)) << "Form" << seed;
    const std::vector<TFinding> found = CheckFitLive(notes, {}, "");
    const std::vector<std::string> fit = Details(found);
    EXPECT_EQ(fit, BothFormsFit(notes)) << "Form" << seed;
    findings += fit.size();
    // Each finding names a record of the notes (collection items numbered there otherwise too).
    std::set<std::string> ids;
    const TRuxMgr read(form);
    for (const std::string& line : read.Lines) {
      if (line.starts_with("/* ID:")) ids.insert(read.StringToNotesString(line, notes).Id);
    }
    for (const TFinding& finding : found)
      EXPECT_TRUE(ids.contains(finding.Id)) << "Form" << seed << ": " << finding.Id;
  }
  EXPECT_GT(findings, 100u);
  ModuleShutdown();
}

}  // namespace
}  // namespace rux::checks
