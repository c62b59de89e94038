// Project updates as real projects make them, on copies of the demo project through the file
// type's update of several languages: units that have no form, forms that do not parse, a built
// program that links no form of the project, many languages in one pass (each form read and
// extracted once per code page), notes files cut short or damaged, and files that cannot be
// written. Each problem is reported once, names its file, and leaves that form's files as they were;
// the others go on, and only forms whose files were written count.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/flags.h"
#include "host/core/language_update.h"
#include "host/core/locale.h"
#include "host/core/projects.h"
#include "host/core/registration.h"
#include "host/framework/formstream.h"
#include "module/module.h"
#include "support/host_fakes.h"
#include "support/pe_image.h"
#include "support/temp_dir.h"

namespace rux {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kDemoUnits = {"MainForm.pas", "AddressFrame.pas", "BaseDialog.pas",
                                             "OptionsDialog.pas", "ReportView.cpp"};

// What the update reported, event by event: "start F", "written de-DE F", "failed de-DE F" (F the
// file name of the form).
class Events : public vaq::IUpdateProgress {
 public:
  explicit Events(const std::vector<vaq::TUpdateLanguage>& Languages) {
    for (const vaq::TUpdateLanguage& language : Languages)
      tags_.push_back(vaq::LCIDToStr(language.TargetLocale, true));
  }
  void FormStarted(const std::string& Form) override {
    List.push_back("start " + vaq::ExtractFileName(Form));
  }
  void FormWritten(std::size_t Language, const std::string& Form, const vaq::TStats&) override {
    List.push_back("written " + Tag(Language) + " " + vaq::ExtractFileName(Form));
    Written[Tag(Language)] += 1;
  }
  void FormFailed(std::size_t Language, const std::string& Form) override {
    List.push_back("failed " + Tag(Language) + " " + vaq::ExtractFileName(Form));
  }
  int Count(std::string_view prefix) const {
    return static_cast<int>(
        std::ranges::count_if(List, [&](const std::string& e) { return e.starts_with(prefix); }));
  }
  std::vector<std::string> List;
  std::map<std::string, int> Written;

 private:
  std::string Tag(std::size_t Language) const { return tags_.at(Language); }
  std::vector<std::string> tags_;
};

class RealProjects : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy(fs::path(VAQ_TESTS_SOURCE_DIR) / ".." / "examples" / "demo", Project(),
             fs::copy_options::recursive);
    auto sink = std::make_unique<vaq::CollectingSink>();
    sink_ = sink.get();
    messages_ = std::make_unique<vaq::ScopedMessageSink>(std::move(sink));
    ModuleStartup();
  }
  void TearDown() override {
    ModuleShutdown();
    messages_.reset();
    vaq::InIDE = false;
    vaq::FindExeNameProc = {};
    vaq::SetVaqClock({});
  }

  std::string Project(const std::string& name = {}) const { return dir_ / ("project/" + name); }
  std::string Lang(const std::string& tag, const std::string& name = {}) const {
    return dir_ / ("project/" + tag + "/" + name);
  }
  std::vector<vaq::TUpdateLanguage> Languages(const std::vector<std::string>& tags,
                                              const std::string& source = "en-US") const {
    std::vector<vaq::TUpdateLanguage> languages;
    for (const std::string& tag : tags)
      languages.push_back({vaq::StrToLCID(source), vaq::StrToLCID(tag), Lang(tag)});
    return languages;
  }

  // Updates the named units (the demo's by default) into the languages; the events it reported.
  Events Update(const std::vector<vaq::TUpdateLanguage>& languages,
                std::vector<std::string> units = kDemoUnits) {
    for (std::string& unit : units) unit = Project(unit);
    vaq::testing::TUnitList tools(units);
    Events events(languages);
    const vaq::TLanguagesRequest request{Project(), Project(), languages, false, &tools};
    vaq::GetVaqFileType(vaq::VaqFileTypes.ExtIndexOf(".rux"))->UpdateLanguages(request, events);
    return events;
  }

  const vaq::testing::TempDir dir_;
  const vaq::testing::TempDir config_{vaq::testing::TempDir::kConfig};
  vaq::CollectingSink* sink_ = nullptr;
  std::unique_ptr<vaq::ScopedMessageSink> messages_;
};

// A unit without a form file (every real project has some) is no form and no problem; a unit whose
// resource directive names a form file that is missing is worth one warning.
TEST_F(RealProjects, UnitsWithoutFormsAreNoForms) {
  vaq::WriteFileAtomic(Project("a.pas"), "unit a; interface implementation end.");
  Events events = Update(Languages({"de-DE"}), {"BaseDialog.pas", "a.pas"});
  EXPECT_TRUE(sink_->Messages.empty() && sink_->Warnings.empty())
      << sink_->Messages.size() + sink_->Warnings.size();
  EXPECT_EQ(events.List, (std::vector<std::string>{"start BaseDialog.rux", "written de-DE BaseDialog.rux"}));

  // A folder of units only, a package's registration unit say.
  EXPECT_TRUE(Update(Languages({"de-DE"}), {"a.pas"}).List.empty());
  EXPECT_TRUE(sink_->Messages.empty() && sink_->Warnings.empty());

  vaq::WriteFileAtomic(Project("b.pas"),
                       "unit b;\ninterface\nimplementation\n{$R *.RES}\n{$R *.rux}\nend.\n");
  vaq::WriteFileAtomic(Project("c.cpp"), "#include \"c.h\"\n#pragma resource \"*.gox\"\n");
  vaq::WriteFileAtomic(Project("d.pas"), "unit d;\ninterface\nimplementation\n{$R 'Other.rux'}\nend.\n");
  vaq::WriteFileAtomic(Project("Other.rux"), "object Other: TOther\r\nend\r\n");
  events = Update(Languages({"de-DE"}), {"a.pas", "b.pas", "c.cpp", "d.pas"});
  EXPECT_TRUE(sink_->Messages.empty());
  EXPECT_EQ(sink_->Warnings,
            (std::vector<std::string>{Project("b.pas") + ": the form file " + Project("b.rux") +
                                          " that the unit names is missing; the unit is skipped.",
                                      Project("c.cpp") + ": the form file " + Project("c.gox") +
                                          " that the unit names is missing; the unit is skipped."}));
  EXPECT_TRUE(events.List.empty());
}

// A form that does not parse is reported once, in the parser's words with its line, however many
// languages it fails in; its files stay as they were and the other forms are written.
TEST_F(RealProjects, AFormThatDoesNotParseIsSaidOnceWithTheParsersWords) {
  Update(Languages({"de-DE"}));
  const std::string notes = vaq::ReadFileBytes(Lang("de-DE", "BaseDialog.ruz"));
  const std::string broken = "object BaseDialog: TBaseDialog\r\n  Caption = 'OK'\r\n";
  vaq::WriteFileAtomic(Project("BaseDialog.rux"), broken);
  std::string parser;
  try {
    vaq::TMemoryStream text(broken), binary;
    vaq::ObjectTextToBinary(text, binary);
  } catch (const vaq::EVaqError& error) {
    parser = error.what();
  }
  ASSERT_TRUE(parser.starts_with("Line ")) << parser;
  sink_->Messages.clear();

  const Events events = Update(Languages({"de-DE", "fr-FR", "ru-RU"}));
  EXPECT_EQ(sink_->Messages, std::vector<std::string>{Project("BaseDialog.rux") + ": " + parser});
  EXPECT_EQ(events.Count("start "), 5);
  EXPECT_EQ(events.Count("failed "), 3);
  EXPECT_EQ(events.Written.count("de-DE"), 0u) << "de-DE was up to date but for the broken form";
  EXPECT_EQ(events.Written.at("fr-FR"), 4);
  EXPECT_EQ(vaq::ReadFileBytes(Lang("de-DE", "BaseDialog.ruz")), notes);
  EXPECT_FALSE(vaq::FileExists(Lang("fr-FR", "BaseDialog.ruz")));
  EXPECT_FALSE(vaq::FileExists(Lang("fr-FR", "BaseDialog.rux")));
}

// A built program that links no form of the project: a warning names the forms and their classes,
// and nothing fails.
TEST_F(RealProjects, AProgramThatLinksNoFormOfTheProjectIsAWarning) {
  const std::string program = dir_ / "other.exe";
  vaq::WriteFileAtomic(
      program, vaq::testing::PeImage(false, vaq::testing::ResourceSection({{10, {u"TSOMETHINGELSE"}}})));
  vaq::InIDE = true;
  vaq::FindExeNameProc = [&program](const std::string&) { return program; };
  const Events events = Update(Languages({"de-DE"}));
  EXPECT_TRUE(sink_->Messages.empty());
  ASSERT_EQ(sink_->Warnings.size(), 1u);
  const std::string& warning = sink_->Warnings[0];
  EXPECT_TRUE(warning.starts_with(program + " links no form of the project")) << warning;
  for (const char* form :
       {"MainForm.rux (TMainForm)", "BaseDialog.rux (TBaseDialog)", "ReportView.gox (TReportView)"})
    EXPECT_NE(warning.find(form), std::string::npos) << warning;
  EXPECT_TRUE(events.List.empty());

  // Some forms linked: those left out are named.
  vaq::WriteFileAtomic(
      program,
      vaq::testing::PeImage(false, vaq::testing::ResourceSection({{10, {u"TMAINFORM", u"TBASEDIALOG"}}})));
  sink_->Warnings.clear();
  EXPECT_EQ(Update(Languages({"de-DE"})).Count("written "), 2);
  ASSERT_EQ(sink_->Warnings.size(), 1u);
  EXPECT_TRUE(sink_->Warnings[0].starts_with(program + " does not link these forms of the project"))
      << sink_->Warnings[0];
  EXPECT_EQ(sink_->Warnings[0].find("MainForm.rux"), std::string::npos);
  EXPECT_NE(sink_->Warnings[0].find("OptionsDialog.rux (TOptionsDialog)"), std::string::npos);
}

// Several languages in one pass write what one update per language writes, byte for byte, and read
// each form once for all the languages whose source language has the same code page: the warning
// about text behind a form's end comes once per extraction.
TEST_F(RealProjects, ManyLanguagesInOnePassAreSeparateUpdatesReadingEachFormOnce) {
  vaq::SetVaqClock([] { return 46400.5; });
  const std::vector<std::string> tags = {"de-DE", "fr-FR", "pl-PL", "ja-JP"};
  std::string form = vaq::ReadFileBytes(Project("BaseDialog.rux"));
  vaq::WriteFileAtomic(Project("BaseDialog.rux"), form + form);
  const fs::path separate = dir_ / "separate";
  fs::copy(Project(), separate, fs::copy_options::recursive);
  for (const auto& entry : fs::directory_iterator(Project())) {
    if (entry.is_regular_file())
      fs::last_write_time(separate / entry.path().filename(), fs::last_write_time(entry.path()));
  }

  std::vector<vaq::TUpdateLanguage> languages = Languages(tags);
  languages[2].SourceLocale = vaq::StrToLCID("pl-PL");  // code page 1250, the others' 1252
  const Events events = Update(languages);
  EXPECT_TRUE(sink_->Messages.empty());
  EXPECT_EQ(sink_->Warnings.size(), 2u) << "one extraction of BaseDialog per code page";
  EXPECT_EQ(events.Count("start "), 5);
  EXPECT_EQ(events.Count("written "), 20);
  const std::vector<std::string> together = sink_->Warnings;

  // The same, language by language, in the copy.
  sink_->Warnings.clear();
  for (std::size_t l = 0; l < tags.size(); ++l) {
    vaq::TUpdateLanguage language = languages[l];
    language.LangDir = (separate / tags[l]).string();
    std::vector<std::string> units;
    for (const std::string& unit : kDemoUnits) units.push_back((separate / unit).string());
    vaq::testing::TUnitList tools(units);
    Events single({language});
    vaq::GetVaqFileType(vaq::VaqFileTypes.ExtIndexOf(".rux"))
        ->UpdateLanguages({separate.string(), separate.string(), {language}, false, &tools}, single);
  }
  EXPECT_EQ(sink_->Warnings.size(), 4u) << "one extraction per language";
  for (const std::string& tag : tags) {
    for (const auto& entry : fs::directory_iterator(separate / tag)) {
      const std::string name = entry.path().filename().string();
      const std::string mine = Lang(tag, name);
      ASSERT_TRUE(vaq::FileExists(mine)) << tag << "/" << name;
      std::string expected = vaq::ReadFileBytes(entry.path().string());
      // The notes header names the original form, which lies in the other copy.
      for (std::size_t at; (at = expected.find(separate.string())) != std::string::npos;)
        expected.replace(at, separate.string().size(), Project().substr(0, Project().size() - 1));
      EXPECT_EQ(vaq::ReadFileBytes(mine), expected) << tag << "/" << name;
    }
  }
}

// A notes file cut short (at the end of a record, between its CR and LF, in the middle of it, or
// right after a line break when records are missing that the header counts) or holding a line that
// is no record is never merged: the message names the file and the line, that form's notes stay
// byte for byte and it gets no translated copy, and the other forms are written.
TEST_F(RealProjects, ADamagedNotesFileIsNeverMerged) {
  const std::string notesFile = Lang("de-DE", "MainForm.ruz");
  const std::string whole = vaq::ReadFileBytes(notesFile);
  const std::vector<std::string> lines = vaq::SplitLines(whole);
  // The cuts, each with the line the message must name. Behind the last translatable record, a
  // cut right after a line break leaves a shorter notes file that nothing tells from a whole one.
  std::vector<std::pair<std::size_t, std::size_t>> cuts = {{0, 1}};
  int translatable = 0, counted = 0;
  for (const std::string& line : lines) counted += line.find("\x04Localize:True") != std::string::npos;
  std::size_t start = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::size_t end = start + lines[i].size();  // where its CR LF begins
    const std::size_t number = i + 1;
    cuts.push_back({start + lines[i].size() / 2, number});  // in the middle of the line
    cuts.push_back({end, number});                          // after the line, before its line break
    cuts.push_back({end + 1, number});                      // between CR and LF
    translatable += lines[i].find("\x04Localize:True") != std::string::npos;
    // After the line break only the header's count shows records missing.
    if (translatable < counted) cuts.push_back({end + 2, number});
    start = end + 2;
  }
  ASSERT_GT(cuts.size(), 30u);
  for (const auto& [at, line] : cuts) {
    SCOPED_TRACE("cut at byte " + std::to_string(at));
    const std::string cut = whole.substr(0, at);
    vaq::WriteFileAtomic(notesFile, cut);
    sink_->Messages.clear();
    const Events events = Update(Languages({"de-DE"}), {"MainForm.pas"});
    ASSERT_EQ(sink_->Messages.size(), 1u);
    EXPECT_TRUE(sink_->Messages[0].starts_with(notesFile + ":" + std::to_string(line) + ": "))
        << sink_->Messages[0];
    EXPECT_EQ(events.List, (std::vector<std::string>{"start MainForm.rux", "failed de-DE MainForm.rux"}));
    EXPECT_EQ(vaq::ReadFileBytes(notesFile), cut);
    EXPECT_FALSE(vaq::FileExists(Lang("de-DE", "MainForm.rux")));
  }

  // A line in the middle that is no record; the other forms go on.
  std::string damaged = whole;
  damaged.insert(damaged.find("/* ID:O:MainForm.Width"), "O:MainForm.Height = 480\r\n");
  vaq::WriteFileAtomic(notesFile, damaged);
  sink_->Messages.clear();
  const Events events = Update(Languages({"de-DE"}));
  ASSERT_EQ(sink_->Messages.size(), 1u);
  EXPECT_TRUE(sink_->Messages[0].starts_with(notesFile + ":4: the line is no notes record"))
      << sink_->Messages[0];
  EXPECT_EQ(events.Count("written "), 4);
  EXPECT_EQ(vaq::ReadFileBytes(notesFile), damaged);

  // Whole again, it merges and keeps its translations.
  vaq::WriteFileAtomic(notesFile, whole);
  sink_->Messages.clear();
  EXPECT_EQ(Update(Languages({"de-DE"}), {"MainForm.pas"}).Count("written "), 1);
  EXPECT_TRUE(sink_->Messages.empty());
  EXPECT_NE(vaq::ReadFileBytes(notesFile).find("'Bestellungen'"), std::string::npos);
}

// Files that cannot be written (here a folder stands where a notes file belongs): each such form has
// one message naming its file and counts as failed, not as updated; the other forms of the same
// group of files are written.
TEST_F(RealProjects, AFormThatCannotBeWrittenIsReportedOnceAndNotCounted) {
  fs::create_directories(Lang("de-DE", "BaseDialog.ruz"));
  fs::create_directories(Lang("de-DE", "OptionsDialog.rux"));
  const Events events = Update(Languages({"de-DE"}));
  ASSERT_EQ(sink_->Messages.size(), 2u);
  EXPECT_NE(sink_->Messages[0].find(Lang("de-DE", "BaseDialog.ruz")), std::string::npos)
      << sink_->Messages[0];
  EXPECT_NE(sink_->Messages[1].find(Lang("de-DE", "OptionsDialog.rux")), std::string::npos)
      << sink_->Messages[1];
  EXPECT_EQ(events.Count("written "), 3);
  EXPECT_EQ(events.Count("failed de-DE BaseDialog.rux"), 1);
  EXPECT_EQ(events.Count("failed de-DE OptionsDialog.rux"), 1);
  for (const char* written : {"MainForm.ruz", "MainForm.rux", "AddressFrame.ruz", "ReportView.goz"})
    EXPECT_TRUE(vaq::FileExists(Lang("de-DE", written))) << written;
  EXPECT_FALSE(vaq::FileExists(Lang("de-DE", "OptionsDialog.ruz")));
}

}  // namespace
}  // namespace rux
