// The viewer builds live forms from notes through the writer: original and translated values,
// the languages' code pages, inherited forms read from their form-file list onto one root, forms
// without notes, placement and the preview command's outputs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <QImage>

#include "framework/widgets/controls.h"
#include "host/core/files.h"
#include "support/temp_dir.h"
#include "viewer/notes_builder.h"
#include "viewer/preview.h"
#include "viewer/tree.h"
#include "viewer/viewer.h"

namespace rux {
namespace {

namespace fs = std::filesystem;
using testing::MakeNotes;

constexpr vaq::TLCID kEnglish = 0x0409, kGerman = 0x0407, kRussian = 0x0419;

const char* kBase = R"(object BaseDialog: TBaseDialog
  Left = 300
  Top = 200
  BorderStyle = bsDialog
  Caption = 'Dialog'
  ClientHeight = 200
  ClientWidth = 360
  object btnOK: TButton
    Left = 190
    Top = 164
    Caption = 'OK'
    TabOrder = 0
  end
  object btnCancel: TButton
    Left = 274
    Top = 164
    Caption = 'Cancel'
    TabOrder = 1
  end
end
)";

const char* kOptions = R"(inherited OptionsDialog: TOptionsDialog
  Caption = 'Options'
  inherited btnOK: TButton
    Caption = '&Apply'
  end
  object chkAutoSave: TCheckBox
    Left = 16
    Top = 16
    Caption = 'Save orders automatically'
    TabOrder = 2
  end
end
)";

class Viewer : public ::testing::Test {
 protected:
  void SetUp() override {
    RuxViewer().ScreenWidth = [] { return 1024; };
  }
  void TearDown() override { ReleaseRuxViewer(); }

  // The tree line of component `Path` (without the root's segment), or "" when there is none.
  static std::string Line(vaq::widgets::TForm& Form, const std::string& Path) {
    std::string prefix =
        std::string(1, Form.StreamKind()) + ":" + Form.Name() + (Path.empty() ? "" : "." + Path) + "\t";
    for (const auto& line : FormTreeLines(Form))
      if (line.starts_with(prefix)) return line.substr(prefix.size());
    return "";
  }

  vaq::testing::TempDir config_{vaq::testing::TempDir::kConfig};
  vaq::testing::TempDir dir_;
};

TEST_F(Viewer, BuildsTheOriginalAndTheTranslatedForm) {
  std::string form = MakeNotes(dir_.Path(), "de-DE", "BaseDialog.rux", kBase, kEnglish, kGerman,
                               {{"'Dialog'", "'Dialogfenster'"}, {"'Cancel'", "'Abbrechen'"}});
  TRuxViewer& viewer = RuxViewer();
  viewer.CreateForm(form, true);
  viewer.CreateForm(form, false);
  vaq::widgets::TForm* orig = viewer.OrigForm();
  vaq::widgets::TForm* xlat = viewer.XlatForm();
  ASSERT_TRUE(orig && xlat);
  EXPECT_EQ(viewer.FormName(false), "BaseDialog");
  EXPECT_EQ(Line(*orig, ""), "TBaseDialog\tshown\t0,0,360,200\tDialog");
  EXPECT_EQ(Line(*xlat, ""), "TBaseDialog\tshown\t0,0,360,200\tDialogfenster");
  EXPECT_EQ(Line(*orig, "O:btnCancel"), "TButton\tshown\t274,164,75,25\tCancel");
  EXPECT_EQ(Line(*xlat, "O:btnCancel"), "TButton\tshown\t274,164,75,25\tAbbrechen");
  // Tags tell the two apart; both sit 5 pixels from the top, in their halves of the screen; both
  // keep the dialog's border style and its window buttons: close, no minimise or maximise.
  EXPECT_EQ(orig->Tag(), 0);
  EXPECT_EQ(xlat->Tag(), 1);
  EXPECT_EQ(orig->Top(), 5);
  EXPECT_EQ(orig->Left(), PreviewLeft(orig->Width(), 1024, true));
  EXPECT_EQ(xlat->Left(), PreviewLeft(xlat->Width(), 1024, false));
  EXPECT_EQ(orig->BorderStyle(), vaq::widgets::TFormBorderStyle::bsDialog);
  EXPECT_EQ(xlat->BorderStyle(), vaq::widgets::TFormBorderStyle::bsDialog);
  EXPECT_EQ(xlat->Width(), orig->Width());
  EXPECT_EQ(xlat->ClientWidth(), 360);
  for (const vaq::widgets::TForm* form : {orig, xlat}) {
    const Qt::WindowFlags flags = form->Window()->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
  }
  // A form that exists is not built again; the translated form carries the layout designer.
  viewer.CreateForm(form, false);
  EXPECT_EQ(viewer.XlatForm(), xlat);
  EXPECT_NE(viewer.GetDesigner(), nullptr);
  EXPECT_NE(viewer.GetDesignerOptions(), nullptr);
  // Closing a window reaches OnClose with the form.
  vaq::widgets::TComponent* closed = nullptr;
  viewer.OnClose = [&](vaq::widgets::TComponent* Sender) { closed = Sender; };
  viewer.ShowForm(form, false, true);
  EXPECT_TRUE(xlat->Window()->isVisible());
  EXPECT_EQ(xlat->FormStyle(), vaq::widgets::TFormStyle::fsStayOnTop);
  xlat->Window()->close();
  EXPECT_EQ(closed, xlat);
  viewer.HideForm(false);
  EXPECT_FALSE(xlat->Window()->isVisible());
  viewer.DestroyForm(false);
  EXPECT_EQ(viewer.XlatForm(), nullptr);
  EXPECT_NE(viewer.OrigForm(), nullptr);
}

TEST_F(Viewer, PlacesFormsInTheHalvesOfTheScreen) {
  EXPECT_EQ(PreviewLeft(300, 1024, true), 106);
  EXPECT_EQ(PreviewLeft(300, 1024, false), 618);
  EXPECT_EQ(PreviewLeft(700, 1024, false), 324);
  EXPECT_EQ(PreviewLeft(700, 1024, true), 0);
  EXPECT_EQ(PreviewLeft(2000, 1024, false), 0);
}

TEST_F(Viewer, InheritedFormsReadTheirAncestorsFirst) {
  MakeNotes(dir_.Path(), "de-DE", "BaseDialog.rux", kBase, kEnglish, kGerman,
            {{"'Cancel'", "'Abbrechen'"}, {"'OK'", "'OK'"}});
  std::string options = MakeNotes(dir_.Path(), "de-DE", "OptionsDialog.rux", kOptions, kEnglish, kGerman,
                                  {{"'Options'", "'Optionen'"},
                                   {"'&Apply'",
                                    "'&"
                                    "\xDC"
                                    "bernehmen'"},
                                   {"'Save orders automatically'", "'Bestellungen automatisch speichern'"}},
                                  "OptionsDialog.rux;BaseDialog.rux");
  RuxViewer().CreateForm(options, false);
  vaq::widgets::TForm& form = *RuxViewer().XlatForm();
  EXPECT_EQ(form.Name(), "OptionsDialog");
  EXPECT_EQ(RuxViewer().FormName(false), "OptionsDialog");
  EXPECT_EQ(Line(form, ""), "TOptionsDialog\tshown\t0,0,360,200\tOptionen");
  // The tree names the components as the notes do: the form and its ancestor's controls inherited.
  EXPECT_EQ(form.StreamKind(), 'I');
  EXPECT_EQ(Line(form, "I:btnOK"), "TButton\tshown\t190,164,75,25\t&Übernehmen");
  EXPECT_EQ(Line(form, "I:btnCancel"), "TButton\tshown\t274,164,75,25\tAbbrechen");
  EXPECT_EQ(Line(form, "O:chkAutoSave"), "TCheckBox\tshown\t16,16,97,17\tBestellungen automatisch speichern");
  EXPECT_EQ(form.Components().size(), 3u);

  // Without the list the ancestor's controls are missing and the inherited one starts afresh.
  ReleaseRuxViewer();
  RuxViewer().ScreenWidth = [] { return 1024; };
  MakeNotes(dir_.Path(), "de-DE", "OptionsDialog.rux", kOptions, kEnglish, kGerman);
  RuxViewer().CreateForm(options, false);
  EXPECT_EQ(Line(*RuxViewer().XlatForm(), "O:btnCancel"), "");
}

TEST_F(Viewer, TextsShowInTheTargetLanguagesCodePage) {
  std::string form = MakeNotes(
      dir_.Path(), "ru-RU", "Menu.rux",
      "object Menu: TForm\n  Caption = 'File'\n  object cb: TComboBox\n    Items.Strings = (\n"
      "      'Open'\n      'Close')\n  end\nend\n",
      kEnglish, kRussian, {{"'File'", "'\xD4\xE0\xE9\xEB'"}, {"'Open'", "'\xCE\xF2\xEA\xF0\xFB\xF2\xFC'"}});
  RuxViewer().CreateForm(form, false);
  vaq::widgets::TForm& xlat = *RuxViewer().XlatForm();
  EXPECT_EQ(Line(xlat, ""), "TForm\tshown\t0,0,312,209\tФайл");
  EXPECT_EQ(Line(xlat, "O:cb"), "TComboBox\tshown\t0,0,145,21\tОткрыть | Close");
  auto* combo = dynamic_cast<vaq::widgets::TItemsControl*>(xlat.FindComponent("cb"));
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->WidgetItems8(kRussian)[0], "\xCE\xF2\xEA\xF0\xFB\xF2\xFC");
}

TEST_F(Viewer, AParentFontWithTwoBlanksGetsTheGridFont) {
  std::string file = dir_.Path() + "/f.txt";
  for (const char* line : {"ParentFont =  True", "ParentFont = True"}) {
    vaq::WriteFileAtomic(
        file, std::string("object F: TForm\r\n  object B: TButton\r\n    ") + line + "\r\n  end\r\nend\r\n");
    TFormStream stream;
    LoadFormStream(file, true, kEnglish, stream);
    vaq::widgets::TForm form;
    ReadFormStream(stream, form);
    EXPECT_EQ(stream.FormName, "F");
    auto* button = dynamic_cast<vaq::widgets::TControl*>(form.FindComponent("B"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->ParentFont(), std::string(line) == "ParentFont = True") << line;
  }
}

TEST_F(Viewer, UnknownClassesKeepTheirControlsInTheTree) {
  vaq::WriteFileAtomic(dir_.Path() + "/Vendor.rux", R"(object Vendor: TForm
  object Grid: TVendorGrid
    Left = 10
    Top = 10
    Width = 200
    Height = 100
    object Inside: TButton
      Left = 5
      Top = 5
      Caption = 'Inside'
    end
  end
  object Conn: TVendorConnection
    Left = 16
    Top = 16
  end
end
)");
  std::ostringstream out, err;
  TPreviewRequest request;
  request.File = dir_.Path() + "/Vendor.rux";
  request.Tree = true;
  ASSERT_EQ(RunPreviewRequest(request, out, err), 0) << err.str();
  EXPECT_EQ(out.str(),
            "O:Vendor\tTForm\tshown\t0,0,312,209\t\n"
            "O:Vendor.O:Grid\tTVendorGrid\tshown\t10,10,200,100\t\n"
            "O:Vendor.O:Grid.O:Inside\tTButton\tshown\t15,15,75,25\tInside\n"
            "O:Vendor.O:Conn\tTVendorConnection\t-\t-\t\n");
}

TEST_F(Viewer, APreviewRequestReportsWhatItCannotRead) {
  std::ostringstream out, err;
  TPreviewRequest missing;
  missing.File = dir_.Path() + "/nothing.rux";
  missing.Tree = true;
  EXPECT_EQ(RunPreviewRequest(missing, out, err), 1);
  EXPECT_NE(err.str().find("nothing.rux"), std::string::npos);

  vaq::WriteFileAtomic(dir_.Path() + "/garbage.rux", "this is no form");
  TPreviewRequest garbage;
  garbage.File = dir_.Path() + "/garbage.rux";
  garbage.Tree = true;
  err.str("");
  EXPECT_EQ(RunPreviewRequest(garbage, out, err), 1);
  EXPECT_NE(err.str().find("garbage.rux"), std::string::npos);
  EXPECT_EQ(out.str(), "");
}

TEST_F(Viewer, AFormWithoutNotesPreviewsItself) {
  vaq::WriteFileAtomic(dir_.Path() + "/Plain.rux", kBase);
  std::ostringstream out, err;
  TPreviewRequest request;
  request.File = dir_.Path() + "/Plain.rux";
  request.Side = TPreviewSide::Both;
  request.Tree = true;
  request.Png = dir_.Path() + "/plain.png";
  ASSERT_EQ(RunPreviewRequest(request, out, err), 0) << err.str();
  EXPECT_NE(out.str().find("O:BaseDialog.O:btnCancel\tTButton\tshown\t274,164,75,25\tCancel\n"),
            std::string::npos);
  QImage image(QString::fromStdString(request.Png));
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.width(), 366);
}

// Every demo form previews from its notes, both sides, with its controls where the form puts them.
TEST_F(Viewer, TheDemoFormsPreview) {
  const fs::path demo = fs::path(VAQ_TESTS_SOURCE_DIR) / ".." / "examples" / "demo";
  std::string output;
  for (const char* name :
       {"BaseDialog.rux", "OptionsDialog.rux", "AddressFrame.rux", "MainForm.rux", "ReportView.gox"}) {
    std::string text = vaq::ReadFileBytes((demo / name).string());
    MakeNotes(dir_.Path(), "de-DE", name, text, kEnglish, kGerman);
    std::ostringstream out, err;
    TPreviewRequest request;
    request.File = dir_.Path() + "/" + name;
    request.Side = TPreviewSide::Both;
    request.Tree = true;
    request.Png = dir_.Path() + "/" + name + ".png";
    ASSERT_EQ(RunPreviewRequest(request, out, err), 0) << name << err.str();
    EXPECT_TRUE(fs::exists(request.Png)) << name;
    output += out.str();
    ReleaseRuxViewer();
  }
  for (const char* line :
       {"O:MainForm\tTMainForm\tshown\t0,0,632,429\tOrders",
        "O:MainForm.O:btnOK\tTButton\tshown\t540,410,75,25\t&OK",
        "O:MainForm.O:lstItems\tTListBox\tshown\t8,8,121,97\tFirst | It's",
        "O:MainForm.O:lvOrders\tTListView\tshown\t8,200,250,150\tDate | Sum",
        "O:MainForm.O:mnuMain.O:mnuFile.O:mnuOpen\tTMenuItem\t-\t-\t&Open...",
        "O:AddressFrame\tTAddressFrame\tshown\t0,0,320,120\t",  // a frame: its size is what it shows
        "O:AddressFrame.O:cbCountry\tTComboBox\tshown\t80,72,145,21\tGermany | Russia | United States",
        "I:OptionsDialog.O:rgUnits\tTRadioGroup\tshown\t16,48,185,105\tUnits | Metric | Imperial",
        "O:ReportView.O:sbStatus\tTStatusBar\tshown\t0,190,312,19\tReady | No filter"})
    EXPECT_NE(output.find(std::string(line) + "\n"), std::string::npos) << line;
}

// A frame as the root opens a window of the frame's size, titled with its name, with a caption
// and a close button; its controls stay where they were designed.
TEST_F(Viewer, AFrameShowsInAWindowOfItsSize) {
  const fs::path demo = fs::path(VAQ_TESTS_SOURCE_DIR) / ".." / "examples" / "demo";
  fs::copy_file(demo / "AddressFrame.rux", dir_.Path() + "/AddressFrame.rux");
  const std::string file = dir_.Path() + "/AddressFrame.rux";
  RuxViewer().ShowForm(file, true, false);
  vaq::widgets::TForm* frame = RuxViewer().OrigForm();
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(frame->FrameRoot());
  EXPECT_TRUE(frame->Window()->isVisible());
  EXPECT_EQ(frame->Window()->size(), QSize(320, 120));
  EXPECT_EQ(frame->Window()->windowTitle(), QStringLiteral("AddressFrame"));
  EXPECT_TRUE(frame->Window()->windowFlags().testFlag(Qt::WindowCloseButtonHint));
  EXPECT_EQ(Line(*frame, "O:edtStreet"), "TEdit\tshown\t80,8,121,21\t");
  RuxViewer().HideForm(true);
}

}  // namespace
}  // namespace rux
