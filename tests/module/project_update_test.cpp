// Project updates through the form file type the module registers, on a copy of the demo project:
// the translator's cycle (update, translate in the notes, edit a translated form by hand, change
// an original form, update again: nothing the translator did may be lost), the driver's rules
// (companions, skipped forms, overwrite, single translated files, the forms a built program links
// with the library's dialogs), class discovery and translated paths, and the editor options.
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "editor/rux_form.h"
#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/flags.h"
#include "host/core/notes_header.h"
#include "host/core/notes_strings.h"
#include "host/core/projects.h"
#include "host/core/registration.h"
#include "host/core/registry.h"
#include "host/core/resource_strings.h"
#include "host/core/text.h"
#include "host/framework/formstream.h"
#include "host/framework/ide.h"
#include "module/module.h"
#include "notes/column_table.h"
#include "notes/module_state.h"
#include "support/host_fakes.h"
#include "support/pe_image.h"
#include "updater/class_discovery.h"

namespace rux {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kDemoUnits = {"MainForm.pas", "AddressFrame.pas", "BaseDialog.pas",
                                             "OptionsDialog.pas", "ReportView.cpp"};

using Units = vaq::testing::TUnitList;

class ProjectUpdate : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vaq-update-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    fs::copy(fs::path(VAQ_TESTS_SOURCE_DIR) / ".." / "examples" / "demo", dir_ / "project",
             fs::copy_options::recursive);
    ::setenv("VAQ_CONFIG_DIR", (dir_ / "config").c_str(), 1);
  }
  void TearDown() override {
    ModuleShutdown();
    vaq::InIDE = false;
    vaq::FindExeNameProc = {};
    vaq::LibDir.clear();
    ::unsetenv("VAQ_CONFIG_DIR");
    fs::remove_all(dir_);
  }

  std::string Project(const std::string& name = {}) const { return (dir_ / "project" / name).string(); }
  std::string Lang(const std::string& name = {}) const {
    return (dir_ / "project" / "de-DE" / name).string();
  }

  // Updates the forms of the named units for de-DE through the file type of ".gox" (the module's
  // one for both extensions); `called` gets the forms the callback was called for.
  vaq::TStats Update(const std::vector<std::string>& units, const std::string& mode = vaq::sUpdate,
                     std::vector<std::string>* called = nullptr) {
    std::vector<std::string> paths;
    for (const std::string& unit : units) paths.push_back(Project(unit));
    Units tools(paths);
    vaq::TStats stats;
    vaq::TStringObjectList forms;
    vaq::GetVaqFileType(vaq::VaqFileTypes.ExtIndexOf(".GOX"))
        ->UpdateForms(&forms, stats, Project(), Project(), Lang(), mode, {}, 0x0409, 0x0407, &tools, 0,
                      [called](const std::string& form, std::intptr_t) {
                        if (called != nullptr) called->push_back(vaq::ExtractFileName(form));
                      });
    return stats;
  }
  std::vector<std::string> Called(const std::vector<std::string>& units,
                                  const std::string& mode = vaq::sUpdate) {
    std::vector<std::string> called;
    Update(units, mode, &called);
    return called;
  }

  std::string Field(const char* notes, std::string_view id, std::string_view key) const {
    for (const std::string& line : vaq::LoadLines(Lang(notes))) {
      if (vaq::GetValueView(line, KeyId) == id) return vaq::GetValue(line, key);
    }
    return "<no record " + std::string(id) + ">";
  }

  void SetField(const char* notes, std::string_view id, std::string_view key, std::string_view value) {
    std::vector<std::string> lines = vaq::LoadLines(Lang(notes));
    for (std::string& line : lines) {
      if (vaq::GetValueView(line, KeyId) == id) line = vaq::SetValue(line, key, value);
    }
    vaq::SaveLines(Lang(notes), lines);
  }

  fs::path dir_;
};

TEST_F(ProjectUpdate, NothingTheTranslatorDidIsLost) {
  const vaq::ScopedMessageSink quiet(std::make_unique<vaq::CollectingSink>());
  ModuleStartup();
  Update(kDemoUnits);
  ASSERT_TRUE(vaq::FileExists(Lang("OptionsDialog.rux")));
  // The notes shipped with the demo keep their translations.
  EXPECT_EQ(Field("MainForm.ruz", "O:MainForm.Caption", KeyCurr), "'Bestellungen'");

  // The translator translates in the notes ...
  SetField("OptionsDialog.ruz", "I:OptionsDialog.Caption", KeyCurr, "'Optionen'");
  SetField("OptionsDialog.ruz", "I:OptionsDialog.Caption", KeyStatus, "1");
  // ... and edits a translated form by hand.
  const std::string xlat = Lang("BaseDialog.rux");
  vaq::TMemoryStream binary(vaq::ReadFileBytes(xlat)), text;
  vaq::ObjectResourceToText(binary, text);
  std::string edited = text.Data();
  edited.replace(edited.find("'Cancel'"), 8, "'Abbrechen'");
  vaq::WriteFileAtomic(xlat, edited);
  vaq::SetDateOfFile(xlat, vaq::DateOfFile(xlat) + 1.0 / 24);  // an hour later, whatever the clock's grain
  // The developer changes an original form.
  const std::string original = Project("OptionsDialog.rux");
  std::string form = vaq::ReadFileBytes(original);
  form.replace(form.find("'Units'"), 7, "'Measures'");
  vaq::WriteFileAtomic(original, form);
  vaq::SetDateOfFile(original, vaq::DateOfFile(original) + 1.0 / 24);

  const vaq::TStats again = Update(kDemoUnits);
  EXPECT_EQ(again.Changed, 1);
  EXPECT_EQ(Field("OptionsDialog.ruz", "I:OptionsDialog.Caption", KeyCurr), "'Optionen'");
  EXPECT_EQ(Field("OptionsDialog.ruz", "I:OptionsDialog.Caption", KeyStatus), "1");
  EXPECT_EQ(Field("BaseDialog.ruz", "O:BaseDialog.O:btnCancel.Caption", KeyCurr), "'Abbrechen'");
  EXPECT_EQ(Field("BaseDialog.ruz", "O:BaseDialog.O:btnCancel.Caption", KeyStatus), "1");
  EXPECT_EQ(Field("OptionsDialog.ruz", "I:OptionsDialog.O:rgUnits.Caption", KeyStatus), "0");
  EXPECT_EQ(Field("OptionsDialog.ruz", "I:OptionsDialog.O:rgUnits.Caption", KeyOrig), "'Measures'");
  // The translated forms carry the translations.
  EXPECT_NE(vaq::ReadFileBytes(Lang("OptionsDialog.rux")).find("Optionen"), std::string::npos);
  // A third update finds nothing to do.
  EXPECT_EQ(Update(kDemoUnits).Unchanged, 0);
}

TEST_F(ProjectUpdate, FormsAndSources) {
  TFormInfo info;
  GetFormInfo(Project("OptionsDialog.rux"), info);
  EXPECT_EQ(info.FormClass, "TOptionsDialog");
  EXPECT_EQ(info.FormName, "OptionsDialog");
  EXPECT_EQ(info.Ancestor, "TBaseDialog");  // not the class named in the comment
  EXPECT_EQ(info.RootClass, "TForm");
  GetFormInfo(Project("AddressFrame.rux"), info);
  EXPECT_EQ(info.Ancestor, "");
  EXPECT_EQ(info.RootClass, "TFrame");
  EXPECT_EQ(ScanAncestor(Project("ReportView.h"), "TReportView", false), "TForm");

  const std::string lang = (dir_ / "de").string();
  EXPECT_EQ(XlatFormName("/p/A.rux", lang, "/p", nullptr), lang + "/A.rux");
  EXPECT_EQ(XlatFormName("/p/sub/B.rux", lang, "/p/", nullptr), lang + "/sub/B.rux");
  EXPECT_EQ(XlatFormName("/elsewhere/C.rux", lang, "/p", nullptr), lang + "/elsewhere/C.rux");
  EXPECT_EQ(XlatFormName("C:\\Forms\\D.rux", lang, "/p", nullptr), lang + "/C\\Forms\\D.rux");
  TFormInfo library;
  library.IsLibraryForm = true;
  EXPECT_EQ(XlatFormName("/lib/E.rux", lang, "/p", &library), lang + "/nwl/E.rux");
  // Nothing leads out of the language folder.
  EXPECT_EQ(XlatFormName("/p/../../etc/F.rux", lang, "/x", nullptr), "");
  EXPECT_EQ(XlatFormName("/p/sub/../../G.rux", lang, "/p", nullptr), "");
}

TEST_F(ProjectUpdate, CopiesSkipsAndStartsAfresh) {
  const vaq::ScopedMessageSink quiet(std::make_unique<vaq::CollectingSink>());
  ModuleStartup();
  vaq::WriteFileAtomic(Project("BaseDialog.dti"), "layout");
  EXPECT_EQ(Called({"BaseDialog.pas", "MainForm.pas"}),
            (std::vector<std::string>{"BaseDialog.rux", "MainForm.rux"}));
  EXPECT_EQ(vaq::ReadFileBytes(Lang("BaseDialog.dti")), "layout");
  // Unchanged forms are skipped before anything else happens.
  EXPECT_TRUE(Called({"BaseDialog.pas", "MainForm.pas"}).empty());
  // Starting afresh drops the notes and their translations.
  EXPECT_NE(vaq::ReadFileBytes(Lang("MainForm.ruz")).find("Bestellungen"), std::string::npos);
  EXPECT_EQ(Called({"MainForm.pas"}, vaq::sOverwrite), std::vector<std::string>{"MainForm.rux"});
  EXPECT_EQ(vaq::ReadFileBytes(Lang("MainForm.ruz")).find("Bestellungen"), std::string::npos);
  // A single translated file is read back; other files are left alone.
  vaq::TVaqFileType* type = vaq::GetVaqFileType(vaq::VaqFileTypes.ExtIndexOf(".rux"));
  type->UpdateFile(Project("MainForm.pas"));
  type->UpdateFile(Lang("MainForm.rux"));
  EXPECT_EQ(type->TranslatorCount(), 3);  // forms of the project updates; the single file does not count
}

TEST_F(ProjectUpdate, OnlyFormsTheBuiltProgramLinks) {
  const auto sink = new vaq::CollectingSink;
  const vaq::ScopedMessageSink messages{std::unique_ptr<vaq::MessageSink>(sink)};
  using vaq::testing::TType;
  const std::string program = (dir_ / "demo.exe").string();
  vaq::WriteFileAtomic(
      program,
      vaq::testing::PeImage(true, vaq::testing::ResourceSection({{10, {u"TMAINFORM", u"TABOUTDIALOG"}}})));
  fs::create_directories(dir_ / "lib");
  fs::copy_file(Project("BaseDialog.rux"), dir_ / "lib" / "aboutdlg.rux");
  vaq::InIDE = true;
  vaq::LibDir = (dir_ / "lib").string();
  vaq::FindExeNameProc = [&program](const std::string&) { return program; };
  ModuleStartup();
  Update({"MainForm.pas", "BaseDialog.pas"});
  EXPECT_TRUE(vaq::FileExists(Lang("MainForm.ruz")));
  EXPECT_FALSE(vaq::FileExists(Lang("BaseDialog.ruz")));
  EXPECT_TRUE(vaq::FileExists(Lang("nwl/aboutdlg.ruz")));  // a dialog of the library
  EXPECT_TRUE(sink->Messages.empty());

  vaq::FindExeNameProc = [this](const std::string&) { return (dir_ / "missing.exe").string(); };
  Update({"BaseDialog.pas"});
  ASSERT_EQ(sink->Messages.size(), 1u);
  EXPECT_EQ(sink->Messages[0], vaq::Format(vaq::sPgmNotFound, {(dir_ / "missing.exe").string()}));
}

// A form that inherits another form of the project lists, in its notes header, its own translated
// form and those it builds on, relative to its folder; a read-back of the translated copy keeps the
// list, and forms that build on none have none.
TEST_F(ProjectUpdate, InheritedFormsListTheFormsTheyBuildOn) {
  const vaq::ScopedMessageSink quiet(std::make_unique<vaq::CollectingSink>());
  ModuleStartup();
  Update(kDemoUnits);
  const auto formFiles = [this](const char* notes) {
    vaq::TFileStats stats;
    vaq::GetStats(Lang(notes), "/*", "*/", stats);
    return stats.FormFiles;
  };
  EXPECT_EQ(formFiles("OptionsDialog.ruz"), "OptionsDialog.rux;BaseDialog.rux");
  EXPECT_EQ(formFiles("BaseDialog.ruz"), "");
  EXPECT_EQ(formFiles("MainForm.ruz"), "");
  // The file type's statistics hand the list on as the viewer reads it.
  vaq::TFileStats stats;
  vaq::GetVaqFileType(vaq::VaqFileTypes.ExtIndexOf(".rux"))
      ->GetStats(Lang("OptionsDialog.rux"), false, stats);
  EXPECT_EQ(stats.FormFiles, "OptionsDialog.rux;BaseDialog.rux");

  const std::string xlat = Lang("OptionsDialog.rux");
  vaq::SetDateOfFile(xlat, vaq::DateOfFile(xlat) + 1.0 / 24);
  vaq::GetVaqFileType(vaq::VaqFileTypes.ExtIndexOf(".rux"))->UpdateFile(xlat);
  EXPECT_EQ(formFiles("OptionsDialog.ruz"), "OptionsDialog.rux;BaseDialog.rux");
}

// An empty form file is no form: it is reported by name, its notes and translated copy stay as
// they were, and the other forms are updated all the same.
TEST_F(ProjectUpdate, AnEmptyFormIsReportedAndLeftAlone) {
  auto owned = std::make_unique<vaq::CollectingSink>();
  vaq::CollectingSink& sink = *owned;
  const vaq::ScopedMessageSink messages(std::move(owned));
  ModuleStartup();
  Update(kDemoUnits);
  ASSERT_TRUE(sink.Messages.empty());
  const std::string notes = vaq::ReadFileBytes(Lang("BaseDialog.ruz"));
  const std::string copy = vaq::ReadFileBytes(Lang("BaseDialog.rux"));
  vaq::WriteFileAtomic(Project("BaseDialog.rux"), "");
  std::string main = vaq::ReadFileBytes(Project("MainForm.rux"));
  main.replace(main.find("'Orders'"), 8, "'All orders'");
  vaq::WriteFileAtomic(Project("MainForm.rux"), main);
  const vaq::TStats stats = Update(kDemoUnits);
  ASSERT_EQ(sink.Messages.size(), 1u);
  EXPECT_EQ(sink.Messages[0], vaq::Format(vaq::sNotAForm, {Project("BaseDialog.rux")}));
  EXPECT_EQ(vaq::ReadFileBytes(Lang("BaseDialog.ruz")), notes);
  EXPECT_EQ(vaq::ReadFileBytes(Lang("BaseDialog.rux")), copy);
  EXPECT_EQ(stats.Changed, 1);
  EXPECT_EQ(Field("MainForm.ruz", "O:MainForm.Caption", KeyOrig), "'All orders'");

  // A new empty form gets no translated copy.
  vaq::WriteFileAtomic(Project("Empty.rux"), "");
  vaq::WriteFileAtomic(Project("Empty.pas"), "unit Empty;\ninterface\nimplementation\nend.\n");
  sink.Messages.clear();
  Update({"Empty.pas"});
  EXPECT_EQ(sink.Messages, std::vector<std::string>{vaq::Format(vaq::sNotAForm, {Project("Empty.rux")})});
  EXPECT_FALSE(vaq::FileExists(Lang("Empty.rux")));
}

// A second copy of the root pasted behind the form's final "end": the first root is the form, and
// one warning names the file and the line where the ignored text begins.
TEST_F(ProjectUpdate, TextBehindTheRootIsIgnoredWithOneWarning) {
  auto owned = std::make_unique<vaq::CollectingSink>();
  vaq::CollectingSink& sink = *owned;
  const vaq::ScopedMessageSink messages(std::move(owned));
  ModuleStartup();
  std::string form = vaq::ReadFileBytes(Project("MainForm.rux"));
  while (!form.empty() && (form.back() == '\n' || form.back() == '\r')) form.pop_back();
  const int lines = static_cast<int>(std::count(form.begin(), form.end(), '\n')) + 1;
  vaq::WriteFileAtomic(Project("MainForm.rux"), form + "\r\n" + form + "\r\n");
  Update({"MainForm.pas"});
  EXPECT_TRUE(sink.Messages.empty());
  EXPECT_EQ(sink.Warnings,
            std::vector<std::string>{vaq::IgnoredTextWarning(Project("MainForm.rux"), lines + 1)});
  EXPECT_EQ(Field("MainForm.ruz", "O:MainForm.Caption", KeyOrig), "'Orders'");
}

TEST_F(ProjectUpdate, EditorOptions) {
  ModuleStartup();
  EXPECT_TRUE(bKeepRuzTimeStamp);
  EXPECT_FALSE(bFormAsText || bStayOnTop || bShowOrigForm || bShowXlatForm || bShowAllProperties);
  bShowOrigForm = true;
  ModuleShutdown();
  vaq::TRegistry registry;
  ASSERT_TRUE(registry.OpenKey(vaq::VaqBaseRegKey + "\\RUX", false));
  EXPECT_TRUE(registry.ReadBool("ShowOrigForm"));
  EXPECT_FALSE(registry.ReadBool("StayOnTop"));
  EXPECT_FALSE(registry.ValueExists("FormAsText"));
  registry.WriteBool("KeepRUZTimeStamp", false);
  registry.WriteBool("FormAsText", true);
  ModuleStartup();
  EXPECT_FALSE(bKeepRuzTimeStamp);
  EXPECT_TRUE(bFormAsText && bShowOrigForm);
  bKeepRuzTimeStamp = true;
  bFormAsText = false;
}

}  // namespace
}  // namespace rux
