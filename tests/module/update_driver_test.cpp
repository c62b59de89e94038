// The updater driver's rules around the merge, on a copy of the demo project: companions and
// overwrite, skipped forms, single translated files, the forms a built program links (with the
// library's dialogs), and the editor options the module reads and writes.
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "editor/rux_form.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/flags.h"
#include "host/core/projects.h"
#include "host/core/registration.h"
#include "host/core/registry.h"
#include "host/core/resource_strings.h"
#include "host/core/text.h"
#include "host/framework/ide.h"
#include "module/module.h"
#include "notes/module_state.h"
#include "support/pe_image.h"

namespace rux {
namespace {

namespace fs = std::filesystem;

class Units : public vaq::TIToolServices {
 public:
  explicit Units(std::vector<std::string> units) : units_(std::move(units)) {}
  int GetUnitCount() override { return static_cast<int>(units_.size()); }
  std::string GetUnitName(int i) override { return units_.at(static_cast<std::size_t>(i)); }

 private:
  std::vector<std::string> units_;
};

class UpdateDriver : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vaq-driver-" + std::to_string(::getpid()));
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

  // Updates the named units' forms; the forms the callback was called for.
  std::vector<std::string> Update(const std::vector<std::string>& units,
                                  const std::string& mode = vaq::sUpdate) {
    std::vector<std::string> paths, called;
    for (const std::string& unit : units) paths.push_back(Project(unit));
    Units tools(paths);
    vaq::TStats stats;
    vaq::TStringObjectList forms;
    vaq::GetVaqFileType(vaq::VaqFileTypes.ExtIndexOf(".rux"))
        ->UpdateForms(&forms, stats, Project(), Project(), Lang(), mode, {}, 0x0409, 0x0407, &tools, 0,
                      [&called](const std::string& form, std::intptr_t) {
                        called.push_back(vaq::ExtractFileName(form));
                      });
    return called;
  }

  fs::path dir_;
};

TEST_F(UpdateDriver, CopiesSkipsAndStartsAfresh) {
  const vaq::ScopedMessageSink quiet(std::make_unique<vaq::CollectingSink>());
  ModuleStartup();
  vaq::WriteFileAtomic(Project("BaseDialog.dti"), "layout");
  EXPECT_EQ(Update({"BaseDialog.pas", "MainForm.pas"}),
            (std::vector<std::string>{"BaseDialog.rux", "MainForm.rux"}));
  EXPECT_EQ(vaq::ReadFileBytes(Lang("BaseDialog.dti")), "layout");
  // Unchanged forms are skipped before anything else happens.
  EXPECT_TRUE(Update({"BaseDialog.pas", "MainForm.pas"}).empty());
  // Starting afresh drops the notes and their translations.
  EXPECT_NE(vaq::ReadFileBytes(Lang("MainForm.ruz")).find("Bestellungen"), std::string::npos);
  EXPECT_EQ(Update({"MainForm.pas"}, vaq::sOverwrite), std::vector<std::string>{"MainForm.rux"});
  EXPECT_EQ(vaq::ReadFileBytes(Lang("MainForm.ruz")).find("Bestellungen"), std::string::npos);
  // A single translated file is read back; other files are left alone.
  vaq::TVaqFileType* type = vaq::GetVaqFileType(vaq::VaqFileTypes.ExtIndexOf(".rux"));
  type->UpdateFile(Project("MainForm.pas"));
  type->UpdateFile(Lang("MainForm.rux"));
  EXPECT_EQ(type->TranslatorCount(), 3);  // forms of the project updates; the single file does not count
}

TEST_F(UpdateDriver, OnlyFormsTheBuiltProgramLinks) {
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

TEST_F(UpdateDriver, EditorOptions) {
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
