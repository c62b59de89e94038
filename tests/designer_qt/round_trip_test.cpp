// The translator's round trip: the demo's BaseDialog updated for de-DE, opened in the editor, its
// translated preview shown with the designer; a button dragged with the mouse; the grid takes the
// new values, saving writes them, and the translated form file holds the new position.
#include <unistd.h>

#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QTest>
#include <filesystem>
#include <sstream>

#include "designer/qt/designer_hook.h"
#include "editor/editor_viewer.h"
#include "editor/rux_form.h"
#include "host/core/files.h"
#include "host/core/flags.h"
#include "host/core/registration.h"
#include "host/core/resource_strings.h"
#include "host/framework/ide.h"
#include "module/module.h"
#include "notes/column_table.h"
#include "notes/rux_mgr.h"
#include "support/host_fakes.h"
#include "updater/form_reader.h"
#include "viewer/preview.h"
#include "viewer/tree.h"
#include "viewer/viewer.h"

namespace rux {
namespace {

namespace fs = std::filesystem;

// The editor's way to the preview: the viewer itself.
class TViewerForEditor : public IEditorViewer {
 public:
  void ShowForm(const std::string& File, bool Original, bool OnTop) override {
    RuxViewer().ShowForm(File, Original, OnTop);
  }
  void HideForm(bool Original) override { RuxViewer().HideForm(Original); }
  void DestroyForm(bool Original) override { RuxViewer().DestroyForm(Original); }
  void CreateForm(const std::string& File, bool Original) override { RuxViewer().CreateForm(File, Original); }
  void UpdateFormStyle(bool Original, bool OnTop) override { RuxViewer().UpdateFormStyle(Original, OnTop); }
  IVaqFormDesigner* GetDesigner() override { return RuxViewer().GetDesigner(); }
  void UpdateDesignerOptions() override { RuxViewer().UpdateDesignerOptions(); }
};

using Units = vaq::testing::TUnitList;

void MoveTo(QWidget* Widget, QPoint Pos) {
  QMouseEvent move(QEvent::MouseMove, Pos, Widget->mapToGlobal(Pos), Qt::NoButton, Qt::LeftButton,
                   Qt::NoModifier);
  QApplication::sendEvent(Widget, &move);
}

void Drag(QWidget* Widget, QPoint From, QPoint To) {
  QTest::mousePress(Widget, Qt::LeftButton, {}, From);
  MoveTo(Widget, To);
  QTest::mouseRelease(Widget, Qt::LeftButton, {}, To);
}

std::string ValueOf(const TExtractedLines& Lines, std::string_view Id) {
  for (const TExtractedLine& line : Lines)
    if (line.Id == Id) return line.Data.Value;
  return "<none>";
}

class TranslatorRoundTrip : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vaq-designer-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    fs::copy(fs::path(VAQ_TESTS_SOURCE_DIR) / ".." / "examples" / "demo", dir_ / "project",
             fs::copy_options::recursive);
    ::setenv("VAQ_CONFIG_DIR", (dir_ / "config").c_str(), 1);
    ModuleStartup();
    ViewerStartup();
    InstallEditorViewer(&viewer_);
  }
  void TearDown() override {
    InstallEditorViewer(nullptr);
    ReleaseRuxViewer();
    ModuleShutdown();
    ::unsetenv("VAQ_CONFIG_DIR");
    fs::remove_all(dir_);
  }
  std::string Project(const std::string& Name = {}) const { return (dir_ / "project" / Name).string(); }
  std::string Lang(const std::string& Name = {}) const {
    return (dir_ / "project" / "de-DE" / Name).string();
  }

  fs::path dir_;
  TViewerForEditor viewer_;
};

TEST_F(TranslatorRoundTrip, DraggedButtonLandsInTheTranslatedForm) {
  Units tools({Project("BaseDialog.pas")});
  vaq::TStats stats;
  vaq::TStringObjectList forms;
  vaq::GetVaqFileType(vaq::VaqFileTypes.ExtIndexOf(".RUX"))
      ->UpdateForms(&forms, stats, Project(), Project(), Lang(), vaq::sUpdate, {}, 0x0409, 0x0407, &tools, 0,
                    [](const std::string&, std::intptr_t) {});
  ASSERT_TRUE(fs::exists(Lang("BaseDialog.ruz")));

  TfrmVaqRuxForm* editor = frmVaqForm();
  ASSERT_NE(editor, nullptr);
  editor->LoadFromFile(Lang("BaseDialog.rux"));
  bShowXlatForm = false;
  editor->EditShowTranslatedFormExecute(editor);
  vaq::widgets::TForm* preview = RuxViewer().XlatForm();
  ASSERT_NE(preview, nullptr);
  ASSERT_NE(RuxViewer().GetDesigner(), nullptr);

  auto* ok = dynamic_cast<vaq::widgets::TControl*>(preview->FindComponent("btnOK"));
  ASSERT_NE(ok, nullptr);
  // 190 + 16 = 206 snaps to 208; the unmoved Top 164 lies halfway between grid lines and snaps to 168.
  Drag(ok->Widget(), {5, 5}, {21, 5});
  EXPECT_EQ(ok->BoundsRect().topLeft(), QPoint(208, 168));
  EXPECT_TRUE(editor->IsDirty());
  // The form file leaves out the button's default size, so its notes hold no Width: the resize
  // the designer reports adds the record instead of losing the change.
  editor->ComponentResized("O:BaseDialog.O:btnOK", {99, 25});

  ASSERT_TRUE(editor->SaveToFile());
  TExtractedLines lines;
  ASSERT_TRUE(ExtractFormLines(Lang("BaseDialog.rux"), lines, 0x0407));
  EXPECT_EQ(ValueOf(lines, "O:BaseDialog.O:btnOK.Left"), "208");
  EXPECT_EQ(ValueOf(lines, "O:BaseDialog.O:btnOK.Top"), "168");
  EXPECT_EQ(ValueOf(lines, "O:BaseDialog.O:btnOK.Width"), "99");
  EXPECT_EQ(ValueOf(lines, "O:BaseDialog.O:btnCancel.Left"), "274");
  RuxViewer().DestroyForm(false);
}

// OptionsDialog inherits its buttons from BaseDialog: its notes hold only the OK button's caption
// and nothing of the Cancel button. Moving and sizing them adds inherited ("I:") records in the
// place the update writes them, the saved translated form holds the change, and the preview built
// from the saved notes shows the new bounds.
TEST_F(TranslatorRoundTrip, InheritedControlsMoveIntoTheNotesAndTheTranslatedForm) {
  Units tools({Project("OptionsDialog.pas"), Project("BaseDialog.pas")});
  vaq::TStats stats;
  vaq::TStringObjectList forms;
  vaq::GetVaqFileType(vaq::VaqFileTypes.ExtIndexOf(".RUX"))
      ->UpdateForms(&forms, stats, Project(), Project(), Lang(), vaq::sUpdate, {}, 0x0409, 0x0407, &tools, 0,
                    [](const std::string&, std::intptr_t) {});
  ASSERT_TRUE(fs::exists(Lang("OptionsDialog.ruz")));

  TfrmVaqRuxForm* editor = frmVaqForm();
  editor->LoadFromFile(Lang("OptionsDialog.rux"));
  bShowXlatForm = false;
  editor->EditShowTranslatedFormExecute(editor);
  vaq::widgets::TForm* preview = RuxViewer().XlatForm();
  ASSERT_NE(preview, nullptr);
  auto* ok = dynamic_cast<vaq::widgets::TControl*>(preview->FindComponent("btnOK"));
  auto* cancel = dynamic_cast<vaq::widgets::TControl*>(preview->FindComponent("btnCancel"));
  ASSERT_TRUE(ok && cancel);

  // A click selects the inherited button's row in the grid.
  QTest::mouseClick(ok->Widget(), Qt::LeftButton, {}, {5, 5});
  EXPECT_EQ(editor->VaqGrid.Cell(editor->EnumToCol(ColId), editor->VaqGrid.Row),
            "I:OptionsDialog.I:btnOK.Caption");
  Drag(ok->Widget(), {5, 5}, {-45, 5});      // 190 - 50 = 140 snaps to 144; Top 164 to 168
  Drag(cancel->Widget(), {5, 5}, {5, -20});  // Left 274 snaps to 272, Top 164 - 25 = 139 to 136
  auto* hook = dynamic_cast<TDesignerHook*>(preview->Designer());
  Drag(hook->Surface().HandleWidget(3), {2, 2}, {26, 2});  // right edge 347 + 24 = 371 snaps to 368
  EXPECT_EQ(ok->BoundsRect(), QRect(144, 168, 75, 25));
  EXPECT_EQ(cancel->BoundsRect(), QRect(272, 136, 96, 25));
  ASSERT_TRUE(editor->SaveToFile());

  // The notes: the inherited paths, after the records of the form, the class of each button.
  TRuxMgr mgr(Lang("OptionsDialog.rux"));
  std::vector<std::string> ids;
  for (int i = 0; i < mgr.GetCount(); ++i) {
    const vaq::TVaqNotesString record = mgr.StringToNotesString(mgr.GetStrings(i), mgr.FileName);
    ids.push_back(record.Id + " " + record.Type + " " + record.Curr + " " + std::to_string(record.Order));
  }
  const std::vector<std::string> expected = {
      "I:OptionsDialog.I:btnOK.Top TButton 168 2",        "I:OptionsDialog.I:btnOK.Left TButton 144 3",
      "I:OptionsDialog.I:btnCancel.Top TButton 136 15",   "I:OptionsDialog.I:btnCancel.Left TButton 272 16",
      "I:OptionsDialog.I:btnCancel.Height TButton 25 17", "I:OptionsDialog.I:btnCancel.Width TButton 96 18"};
  for (const std::string& record : expected)
    EXPECT_NE(std::ranges::find(ids, record), ids.end()) << record << "\n" << ::testing::PrintToString(ids);

  TExtractedLines lines;
  ASSERT_TRUE(ExtractFormLines(Lang("OptionsDialog.rux"), lines, 0x0407));
  EXPECT_EQ(ValueOf(lines, "I:OptionsDialog.I:btnOK.Left"), "144");
  EXPECT_EQ(ValueOf(lines, "I:OptionsDialog.I:btnOK.Caption"), "'&Apply'");
  EXPECT_EQ(ValueOf(lines, "I:OptionsDialog.I:btnCancel.Top"), "136");
  EXPECT_EQ(ValueOf(lines, "I:OptionsDialog.I:btnCancel.Width"), "96");
  EXPECT_EQ(ValueOf(lines, "I:OptionsDialog.O:rgUnits.Top"), "48");

  // The preview of the saved notes, as `vaq preview --tree` prints it.
  RuxViewer().DestroyForm(false);
  TPreviewRequest request;
  request.File = Lang("OptionsDialog.ruz");
  request.Tree = true;
  std::ostringstream out, err;
  ASSERT_EQ(RunPreviewRequest(request, out, err), 0) << err.str();
  EXPECT_NE(out.str().find("I:OptionsDialog.I:btnOK\tTButton\tshown\t144,168,75,25\t&Apply\n"),
            std::string::npos)
      << out.str();
  EXPECT_NE(out.str().find("I:OptionsDialog.I:btnCancel\tTButton\tshown\t272,136,96,25\tCancel\n"),
            std::string::npos)
      << out.str();
  RuxViewer().DestroyForm(false);
}

// A button inside a panel that the derived form inherits and never mentions: moving it gives the
// panel a header record and the button its records, both inherited, after the form's own; the
// saved translated form nests them and the preview shows the button at its new place. A path the
// notes cannot hold is refused with a word in the status bar.
TEST_F(TranslatorRoundTrip, AControlInAnInheritedPanelWithoutRecordsMovesToo) {
  vaq::WriteFileAtomic(Project("Base.rux"), R"(object Base: TBase
  Caption = 'Base'
  ClientHeight = 200
  ClientWidth = 300
  object Panel1: TPanel
    Left = 8
    Top = 8
    Width = 200
    Height = 100
    object Button1: TButton
      Left = 16
      Top = 16
      Caption = 'Inside'
    end
  end
end
)");
  vaq::WriteFileAtomic(Project("Derived.rux"), "inherited Derived: TDerived\n  Caption = 'Derived'\nend\n");
  vaq::WriteFileAtomic(Project("Base.pas"), "unit Base;\ninterface\ntype\n  TBase = class(TForm)\n  end;\n"
                                            "implementation\n{$R *.rux}\nend.\n");
  vaq::WriteFileAtomic(Project("Derived.pas"), "unit Derived;\ninterface\nuses Base;\ntype\n  TDerived = "
                                               "class(TBase)\n  end;\nimplementation\n{$R *.rux}\nend.\n");
  Units tools({Project("Base.pas"), Project("Derived.pas")});
  vaq::TStats stats;
  vaq::TStringObjectList forms;
  vaq::GetVaqFileType(vaq::VaqFileTypes.ExtIndexOf(".RUX"))
      ->UpdateForms(&forms, stats, Project(), Project(), Lang(), vaq::sUpdate, {}, 0x0409, 0x0407, &tools, 0,
                    [](const std::string&, std::intptr_t) {});
  TfrmVaqRuxForm* editor = frmVaqForm();
  editor->LoadFromFile(Lang("Derived.rux"));
  bShowXlatForm = false;
  editor->EditShowTranslatedFormExecute(editor);
  vaq::widgets::TForm* preview = RuxViewer().XlatForm();
  ASSERT_NE(preview, nullptr);
  auto* button = dynamic_cast<vaq::widgets::TControl*>(preview->FindComponent("Panel1"))->Controls().at(0);
  Drag(button->Widget(), {5, 5}, {21, 5});  // 16 + 16 = 32
  EXPECT_EQ(button->BoundsRect().topLeft(), QPoint(32, 16));

  // Another form's path cannot be kept here: refused, with the reason in the status bar.
  EXPECT_NE(editor->DesignerChangeRefused("O:Other.O:Button9"), "");
  EXPECT_NE(editor->StatusMessage.find("Button9 cannot be moved or sized"), std::string::npos)
      << editor->StatusMessage;
  ASSERT_TRUE(editor->SaveToFile());

  TRuxMgr mgr(Lang("Derived.rux"));
  std::vector<std::string> records;
  for (int i = 0; i < mgr.GetCount(); ++i) {
    const vaq::TVaqNotesString r = mgr.StringToNotesString(mgr.GetStrings(i), mgr.FileName);
    records.push_back(r.Id + " " + r.Type + " " + r.Curr);
  }
  EXPECT_EQ(records, (std::vector<std::string>{"I:Derived.Caption TDerived 'Derived'", "I:Derived.I:Panel1. TPanel ",
                                                "I:Derived.I:Panel1.I:Button1.Top TButton 16",
                                                "I:Derived.I:Panel1.I:Button1.Left TButton 32"}));
  TExtractedLines lines;
  ASSERT_TRUE(ExtractFormLines(Lang("Derived.rux"), lines, 0x0407));
  EXPECT_EQ(ValueOf(lines, "I:Derived.I:Panel1.I:Button1.Left"), "32");
  RuxViewer().DestroyForm(false);
  TPreviewRequest request;
  request.File = Lang("Derived.ruz");
  request.Tree = true;
  std::ostringstream out, err;
  ASSERT_EQ(RunPreviewRequest(request, out, err), 0) << err.str();
  EXPECT_NE(out.str().find("I:Derived.I:Panel1.I:Button1\tTButton\tshown\t40,24,75,25\tInside\n"),
            std::string::npos)
      << out.str();
  RuxViewer().DestroyForm(false);
}

}  // namespace
}  // namespace rux
