// The translator's cycle on a copy of the demo project, through the form file type the module
// registers: update, translate in the notes, edit a translated form by hand, change an original
// form, update again. Nothing the translator did may be lost.
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/notes_strings.h"
#include "host/core/registration.h"
#include "host/core/resource_strings.h"
#include "host/framework/formstream.h"
#include "host/framework/ide.h"
#include "module/module.h"
#include "notes/column_table.h"
#include "updater/class_discovery.h"

namespace rux {
namespace {

namespace fs = std::filesystem;

// The demo's units, as the IDE would list them.
class DemoUnits : public vaq::TIToolServices {
 public:
  explicit DemoUnits(const fs::path& dir) {
    for (const char* unit :
         {"MainForm.pas", "AddressFrame.pas", "BaseDialog.pas", "OptionsDialog.pas", "ReportView.cpp"}) {
      units_.push_back((dir / unit).string());
    }
  }
  int GetUnitCount() override { return static_cast<int>(units_.size()); }
  std::string GetUnitName(int i) override { return units_.at(static_cast<std::size_t>(i)); }

 private:
  std::vector<std::string> units_;
};

class UpdateCycle : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vaq-cycle-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    fs::copy(fs::path(VAQ_TESTS_SOURCE_DIR) / ".." / "examples" / "demo", dir_ / "project",
             fs::copy_options::recursive);
    ::setenv("VAQ_CONFIG_DIR", (dir_ / "config").c_str(), 1);
    ModuleStartup();
  }
  void TearDown() override {
    ModuleShutdown();
    ::unsetenv("VAQ_CONFIG_DIR");
    fs::remove_all(dir_);
  }

  vaq::TStats Update() {
    vaq::TVaqFileType* type = vaq::GetVaqFileType(vaq::VaqFileTypes.ExtIndexOf(".GOX"));
    EXPECT_NE(type, nullptr);
    vaq::TStats stats;
    DemoUnits units(dir_ / "project");
    vaq::TStringObjectList forms;
    const std::string project = (dir_ / "project").string();
    type->UpdateForms(&forms, stats, project, project, Lang(), vaq::sUpdate, {}, 0x0409, 0x0407, &units, 0,
                      {});
    return stats;
  }

  std::string Lang() const { return (dir_ / "project" / "de-DE").string(); }
  std::string Notes(const char* name) const { return Lang() + "/" + name; }

  std::string Field(const char* notes, std::string_view id, std::string_view key) const {
    for (const std::string& line : vaq::LoadLines(Notes(notes))) {
      if (vaq::GetValueView(line, KeyId) == id) return vaq::GetValue(line, key);
    }
    return "<no record " + std::string(id) + ">";
  }

  void SetField(const char* notes, std::string_view id, std::string_view key, std::string_view value) {
    std::vector<std::string> lines = vaq::LoadLines(Notes(notes));
    for (std::string& line : lines) {
      if (vaq::GetValueView(line, KeyId) == id) line = vaq::SetValue(line, key, value);
    }
    vaq::SaveLines(Notes(notes), lines);
  }

  fs::path dir_;
};

TEST_F(UpdateCycle, NothingTheTranslatorDidIsLost) {
  const vaq::ScopedMessageSink quiet(std::make_unique<vaq::CollectingSink>());
  Update();
  ASSERT_TRUE(vaq::FileExists(Lang() + "/OptionsDialog.rux"));
  // The notes shipped with the demo keep their translations.
  EXPECT_EQ(Field("MainForm.ruz", "O:MainForm.Caption", KeyCurr), "'Bestellungen'");

  // The translator translates in the notes ...
  SetField("OptionsDialog.ruz", "I:OptionsDialog.Caption", KeyCurr, "'Optionen'");
  SetField("OptionsDialog.ruz", "I:OptionsDialog.Caption", KeyStatus, "1");
  // ... and edits a translated form by hand.
  const std::string xlat = Lang() + "/BaseDialog.rux";
  vaq::TMemoryStream binary(vaq::ReadFileBytes(xlat)), text;
  vaq::ObjectResourceToText(binary, text);
  std::string edited = text.Data();
  edited.replace(edited.find("'Cancel'"), 8, "'Abbrechen'");
  vaq::WriteFileAtomic(xlat, edited);
  vaq::SetDateOfFile(xlat, vaq::DateOfFile(xlat) + 1.0 / 24);  // an hour later, whatever the clock's grain
  // The developer changes an original form.
  const std::string original = (dir_ / "project" / "OptionsDialog.rux").string();
  std::string form = vaq::ReadFileBytes(original);
  form.replace(form.find("'Units'"), 7, "'Measures'");
  vaq::WriteFileAtomic(original, form);
  vaq::SetDateOfFile(original, vaq::DateOfFile(original) + 1.0 / 24);

  const vaq::TStats again = Update();
  EXPECT_EQ(again.Changed, 1);
  EXPECT_EQ(Field("OptionsDialog.ruz", "I:OptionsDialog.Caption", KeyCurr), "'Optionen'");
  EXPECT_EQ(Field("OptionsDialog.ruz", "I:OptionsDialog.Caption", KeyStatus), "1");
  EXPECT_EQ(Field("BaseDialog.ruz", "O:BaseDialog.O:btnCancel.Caption", KeyCurr), "'Abbrechen'");
  EXPECT_EQ(Field("BaseDialog.ruz", "O:BaseDialog.O:btnCancel.Caption", KeyStatus), "1");
  EXPECT_EQ(Field("OptionsDialog.ruz", "I:OptionsDialog.O:rgUnits.Caption", KeyStatus), "0");
  EXPECT_EQ(Field("OptionsDialog.ruz", "I:OptionsDialog.O:rgUnits.Caption", KeyOrig), "'Measures'");
  // The translated forms carry the translations.
  EXPECT_NE(vaq::ReadFileBytes(Lang() + "/OptionsDialog.rux").find("Optionen"), std::string::npos);
  // A third update finds nothing to do.
  EXPECT_EQ(Update().Unchanged, 0);
}

TEST_F(UpdateCycle, FormsAndSources) {
  TFormInfo info;
  GetFormInfo((dir_ / "project" / "OptionsDialog.rux").string(), info);
  EXPECT_EQ(info.FormClass, "TOptionsDialog");
  EXPECT_EQ(info.FormName, "OptionsDialog");
  EXPECT_EQ(info.Ancestor, "TBaseDialog");  // not the class named in the comment
  EXPECT_EQ(info.RootClass, "TForm");
  GetFormInfo((dir_ / "project" / "AddressFrame.rux").string(), info);
  EXPECT_EQ(info.Ancestor, "");
  EXPECT_EQ(info.RootClass, "TFrame");
  EXPECT_EQ(ScanAncestor((dir_ / "project" / "ReportView.h").string(), "TReportView", false), "TForm");

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

}  // namespace
}  // namespace rux
