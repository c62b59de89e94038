// The translated preview shows what the translator typed into the grid, in the code pages of
// three languages: live while typing (into the shown preview and into the one built in advance),
// after saving, and rebuilt from the notes; the notes and the translated form on disk hold it too.
#include <unistd.h>

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <filesystem>

#include "core/values/string_notation.h"
#include "editor/editor_viewer.h"
#include "editor/rux_form.h"
#include "host/core/notes_strings.h"
#include "host/core/registration.h"
#include "host/core/resource_strings.h"
#include "host/framework/ide.h"
#include "module/module.h"
#include "notes/column_table.h"
#include "support/host_fakes.h"
#include "updater/form_reader.h"
#include "viewer/viewer.h"

namespace rux {
namespace {

namespace fs = std::filesystem;

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

struct TLanguage {
  const char* Tag;
  vaq::TLCID Lcid;
  const char* Title;   // the form's caption
  const char* Button;  // btnOK's caption
};

// Western, Cyrillic and Japanese notes; the texts hold characters of the upper half of each code
// page (and double-byte characters in 932).
const TLanguage kLanguages[] = {
    {"de-DE", 0x0407, "Bestellungen – Größe", "&Schließen"},
    {"ru-RU", 0x0419, "Заказы – Дата", "&Готово"},
    {"ja-JP", 0x0411, "注文データ", "閉じる(&C)"},
};

void PrintTo(const TLanguage& Language, std::ostream* Out) {
  *Out << Language.Tag;
}

class PreviewTexts : public ::testing::TestWithParam<TLanguage> {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vaq-preview-texts-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    fs::copy(fs::path(VAQ_TESTS_SOURCE_DIR) / ".." / "examples" / "demo", dir_ / "project",
             fs::copy_options::recursive);
    ::setenv("VAQ_CONFIG_DIR", (dir_ / "config").c_str(), 1);
    ModuleStartup();
    ViewerStartup();
    InstallEditorViewer(&viewer_);
    // The language folder as `vaq update` makes it.
    vaq::testing::TUnitList tools({Project("MainForm.pas")});
    vaq::TStats stats;
    vaq::TStringObjectList forms;
    vaq::GetVaqFileType(vaq::VaqFileTypes.ExtIndexOf(".RUX"))
        ->UpdateForms(&forms, stats, Project(), Project(), Lang(), vaq::sUpdate, {}, 0x0409, GetParam().Lcid,
                      &tools, 0, [](const std::string&, std::intptr_t) {});
    ASSERT_TRUE(fs::exists(Lang("MainForm.ruz")));
    editor_ = frmVaqForm();
    editor_->SetMessageBoxes(&boxes_);
  }
  void TearDown() override {
    RuxViewer().DestroyForm(false);
    InstallEditorViewer(nullptr);
    ReleaseRuxViewer();
    ModuleShutdown();
    ::unsetenv("VAQ_CONFIG_DIR");
    fs::remove_all(dir_);
  }
  std::string Project(const std::string& Name = {}) const { return (dir_ / "project" / Name).string(); }
  std::string Lang(const std::string& Name = {}) const {
    return (dir_ / "project" / GetParam().Tag / Name).string();
  }
  // Types `Utf8` into the current value of the record `Id`, as the grid's cell editor does.
  void Type(const std::string& Id, const std::string& Utf8) {
    const int idColumn = editor_->EnumToCol(ColId);
    for (int r = editor_->VaqGrid.FixedRows(); r < editor_->VaqGrid.RowCount(); ++r) {
      if (editor_->VaqGrid.Cell(idColumn, r) != Id) continue;
      EXPECT_EQ(editor_->ApplyToRows(editor_->EnumToCol(ColCurr), {r}, Utf8), 0) << Id;
      return;
    }
    ADD_FAILURE() << "no row " << Id;
  }
  // The texts the live translated form shows: its title and btnOK's caption.
  std::pair<std::string, std::string> Shown() const {
    vaq::widgets::TForm* form = RuxViewer().XlatForm();
    if (!form) return {"<no form>", ""};
    auto* ok = dynamic_cast<vaq::widgets::TControl*>(form->FindComponent("btnOK"));
    auto* button = ok ? qobject_cast<QAbstractButton*>(ok->Widget()) : nullptr;
    return {form->Window()->windowTitle().toStdString(),
            button ? button->text().toStdString() : std::string("<no button>")};
  }

  fs::path dir_;
  TViewerForEditor viewer_;
  vaq::testing::TScriptedMessageBoxes boxes_;
  TfrmVaqRuxForm* editor_ = nullptr;
};

TEST_P(PreviewTexts, TypedSavedAndRebuilt) {
  const TLanguage& language = GetParam();
  const std::pair<std::string, std::string> typed{language.Title, language.Button};
  editor_->LoadFromFile(Lang("MainForm.rux"));
  bShowXlatForm = false;
  editor_->EditShowTranslatedFormExecute(editor_);
  ASSERT_NE(RuxViewer().GetDesigner(), nullptr);

  // Live: the designer takes each typed value at once.
  Type("O:MainForm.Caption", language.Title);
  Type("O:MainForm.O:btnOK.Caption", language.Button);
  EXPECT_EQ(Shown(), typed) << "live, unsaved";
  EXPECT_EQ(boxes_.Messages, std::vector<std::string>{});

  // Rebuilt before saving: the refresh saves first (the scripted answer is Yes).
  boxes_.Answer = vaq::TModalResult::Yes;
  editor_->EditRefreshXlatFormExecute(editor_);
  EXPECT_FALSE(editor_->IsDirty());
  EXPECT_EQ(Shown(), typed) << "rebuilt from the saved notes";

  // The notes hold the texts in the language's code page, the translated form too.
  vaq::TMemoryStream notes;
  notes.LoadFromFile(Lang("MainForm.ruz"));
  EXPECT_NE(
      notes.Data().find("Curr:" + vaq::values::EncodeStringUtf8(language.Title, language.Lcid) + "\x04"),
      std::string::npos);
  TExtractedLines lines;
  ASSERT_TRUE(ExtractFormLines(Lang("MainForm.rux"), lines, language.Lcid));
  for (const TExtractedLine& line : lines) {
    if (line.Id == "O:MainForm.Caption") {
      EXPECT_EQ(vaq::values::DecodeStringUtf8(line.Data.Value, language.Lcid), language.Title);
    }
    if (line.Id == "O:MainForm.O:btnOK.Caption") {
      EXPECT_EQ(vaq::values::DecodeStringUtf8(line.Data.Value, language.Lcid), language.Button);
    }
  }

  // Opened again: the preview is built in advance from the notes, and shown.
  editor_->LoadFromFile(Lang("MainForm.rux"));
  editor_->EditShowTranslatedFormExecute(nullptr);
  EXPECT_EQ(Shown(), typed) << "built from the notes when the file opens";
}

TEST_P(PreviewTexts, LiveIntoThePreviewBuiltInAdvance) {
  const TLanguage& language = GetParam();
  // The editor builds the translated preview in advance once the window is idle after a file
  // opened, before it is shown; edits reach it while it is hidden.
  bShowXlatForm = false;
  editor_->LoadFromFile(Lang("MainForm.rux"));
  editor_->Idle();
  ASSERT_NE(RuxViewer().XlatForm(), nullptr);
  Type("O:MainForm.O:btnOK.Caption", language.Button);
  Type("O:MainForm.Caption", language.Title);
  editor_->EditShowTranslatedFormExecute(editor_);
  EXPECT_EQ(Shown(), std::make_pair(std::string(language.Title), std::string(language.Button)));
  ASSERT_TRUE(editor_->SaveToFile());
  EXPECT_EQ(Shown(), std::make_pair(std::string(language.Title), std::string(language.Button))) << "saved";
}

INSTANTIATE_TEST_SUITE_P(ThreeCodePages, PreviewTexts, ::testing::ValuesIn(kLanguages),
                         [](const auto& info) { return std::string(info.param.Tag).substr(0, 2); });

}  // namespace
}  // namespace rux
