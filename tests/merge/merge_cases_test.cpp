// The merge's contract as data: every folder below tests/merge/cases is a scenario a translator
// lives through, written as steps in its "case.txt":
//
//   form NAME                  name of the form file in the project (default MainForm.rux)
//   lang SOURCE TARGET         the two languages (default en-US de-DE)
//   update FILE                FILE becomes the original form; a project-mode merge follows (the
//                              translated copy is made first when there is none)
//   readback FILE              FILE becomes the translated form; a single-file merge follows
//   translate ID VALUE         the translator gives record ID the current value VALUE (status 1)
//   set ID COLUMN VALUE        a field of record ID (by column id) is overwritten, e.g. damaged
//   update FILE fails          the merge must fail and leave the notes file as it was
//   repository ORIG => TRANS   the translation repository learns a translation (later ones are newer)
//   option use-repository on   switches the repository lookup of updates on (off: off)
//   option renames off         switches the moving of renamed components' records off (on: on)
//   counters N C U X [R]       new, changed, unchanged and unused counts of the last merge (and
//                              renamed components, 0 when not given)
//   renamed OLD NEW K          a merge moved component OLD's records to NEW, K translations among
//                              them; in order over the whole case, none expected otherwise
//   expect FILE                the notes file is now byte for byte FILE (header included)
//   expect-form FILE           the translated form (written by every update, as formatted text)
//                              is now byte for byte FILE
//   message TEXT               a message the case expects, in order ("\n" a line break); none are
//                              expected otherwise
//
// After every update the records in use must be the form's values in the form's order, with its
// structure tokens. After every merge the same merge is repeated and must change nothing (but the
// order of unused records) and find no rename. The core's clock and the file dates are fixed per
// step, so that dates in records and header compare exactly. Run the test program with
// VAQ_UPDATE_GOLDEN=1 to write the "expect" files from what the merge makes.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "creator/creator.h"
#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/locale.h"
#include "host/core/notes_strings.h"
#include "host/core/options.h"
#include "host/core/repository.h"
#include "host/core/text.h"
#include "notes/column_table.h"
#include "notes/file_names.h"
#include "notes/form_writer_hook.h"
#include "notes/module_state.h"
#include "updater/form_reader.h"
#include "updater/merge_notes.h"

namespace rux {
namespace {

namespace fs = std::filesystem;

fs::path CasesRoot() {
  const char* data = std::getenv("VAQ_TEST_DATA");
  return fs::path(data != nullptr ? data : VAQ_TESTS_SOURCE_DIR) / "merge" / "cases";
}

std::vector<std::string> CaseNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(CasesRoot())) {
    if (fs::exists(entry.path() / "case.txt")) names.push_back(entry.path().filename().string());
  }
  std::ranges::sort(names);
  return names;
}

// 2026-12-01 09:00 plus `hours`, as a TDateTime.
vaq::TDateTime StepTime(int hours) {
  return 46357.375 + hours / 24.0;
}

class MergeCase : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    dir_ = CasesRoot() / GetParam();
    work_ = fs::temp_directory_path() / ("vaq-merge-" + GetParam() + "-" + std::to_string(::getpid()));
    fs::remove_all(work_);
    fs::create_directories(work_ / "src");
    fs::create_directories(work_ / "lang");
    ::setenv("VAQ_CONFIG_DIR", work_.c_str(), 1);
    vaq::SetRepositoryLocation((work_ / "repository.db").string());
    vaq::VaqINTOptionProps.ClearOverrides();
    vaq::VaqINTOptionProps.Reload();
    vaq::SetVaqClock([this] { return StepTime(step_); });
    // Updates write the translated form; its date stays as the step set it.
    InstallFormWriter();
    bFormAsText = true;
    bKeepRuzTimeStamp = true;
  }

  void TearDown() override {
    SetFormWriter({});
    bFormAsText = false;
    bKeepRuzTimeStamp = false;
    vaq::SetVaqClock({});
    vaq::VaqINTOptionProps.ClearOverrides();
    vaq::SetRepositoryLocation("");
    ::unsetenv("VAQ_CONFIG_DIR");
    fs::remove_all(work_);
  }

  std::string Orig() const { return (work_ / "src" / form_).string(); }
  std::string Xlat() const { return (work_ / "lang" / form_).string(); }
  std::string Notes() const { return FileNameToNoteName(Xlat()); }

  void Merge(bool projectMode, const std::string& file, bool fails = false) {
    ++step_;
    const std::string target = projectMode ? Orig() : Xlat();
    vaq::CopyFile((dir_ / file).string(), target);
    vaq::SetDateOfFile(target, StepTime(step_));
    if (projectMode && !vaq::FileExists(Xlat())) {
      vaq::CopyFile(Orig(), Xlat());
      vaq::SetDateOfFile(Xlat(), StepTime(step_));
    }
    const TMergeForm form{Notes(), Xlat(), projectMode ? Orig() : std::string(), projectMode, false, source_,
                          target_, nullptr, {}};
    for (int run = 0; run < 2; ++run) {
      const std::string before = vaq::FileExists(Notes()) ? vaq::ReadFileBytes(Notes()) : std::string();
      TExtractedLines lines;
      ASSERT_TRUE(ExtractFormLines(target, lines, projectMode ? source_ : target_)) << file;
      const TExtractedLines extracted = lines;
      vaq::TStats stats;
      TNotesMerge merge;
      std::vector<TComponentRename> renames;
      if (fails) {
        EXPECT_FALSE(merge.MergeNotes(form, lines, stats, &renames)) << "step " << step_ << ": " << file;
        EXPECT_EQ(vaq::ReadFileBytes(Notes()), before) << "a failed merge changed the notes";
        return;
      }
      ASSERT_TRUE(merge.MergeNotes(form, lines, stats, &renames)) << "step " << step_ << ": " << file;
      if (projectMode) ExpectFormOrder(extracted);
      EXPECT_EQ(stats.Renamed, static_cast<int>(renames.size()));
      if (run == 0) {
        stats_ = stats;
        for (const TComponentRename& rename : renames) {
          renames_.push_back(rename.OldName() + " " + rename.NewName() + " " +
                             std::to_string(rename.Translations));
        }
      } else {
        EXPECT_EQ(Canonical(vaq::ReadFileBytes(Notes())), Canonical(before))
            << "step " << step_ << ": merging " << file << " again changed the notes";
        EXPECT_TRUE(renames.empty()) << "step " << step_ << ": merging " << file << " again found a rename";
      }
    }
  }

  // After a project update the records in use, but those the translator added, are the form's
  // values in the form's order; all records in use together carry the form's structure tokens in
  // the form's order. So the translated form can be built.
  void ExpectFormOrder(const TExtractedLines& extracted) {
    std::vector<std::string> values, expectedValues;
    std::string tokens, expectedTokens;
    for (const std::string& line : vaq::LoadLines(Notes())) {
      if (line.starts_with("/*VAQ:") || vaq::GetValueView(line, KeyOrder) == "-1") continue;
      tokens += vaq::GetValue(line, KeyOpen) + " " + vaq::GetValue(line, KeyClose) + " ";
      if (vaq::GetValueView(line, KeyOrig).empty()) continue;
      values.push_back(vaq::AnsiCaseKey(vaq::GetValueView(line, KeyId)) + " " + vaq::GetValue(line, KeyOrig) +
                       " " + vaq::GetValue(line, KeyType));
    }
    for (const TExtractedLine& line : extracted) {
      expectedTokens += line.Data.Open + " " + line.Data.Close + " ";
      expectedValues.push_back(vaq::AnsiCaseKey(line.Id) + " " + line.Data.Value + " " + line.Data.Type);
    }
    const auto squeeze = [](std::string text) {
      std::erase(text, ' ');
      return text;
    };
    EXPECT_EQ(values, expectedValues) << "step " << step_;
    EXPECT_EQ(squeeze(tokens), squeeze(expectedTokens)) << "step " << step_;
  }

  // The notes with the unused records (Order -1) sorted: saving may change their order, which
  // carries no meaning.
  static std::vector<std::string> Canonical(const std::string& notes) {
    std::vector<std::string> lines = vaq::SplitLines(notes);
    const auto unused = std::ranges::stable_partition(
        lines, [](const std::string& line) { return vaq::GetValueView(line, KeyOrder) == "-1"; });
    std::sort(lines.begin(), unused.begin());
    return lines;
  }

  void SetField(const std::string& id, std::string_view key, const std::string& value) {
    std::vector<std::string> lines = vaq::LoadLines(Notes());
    bool found = false;
    for (std::string& line : lines) {
      if (vaq::GetValueView(line, KeyId) != id) continue;
      line = vaq::SetValue(line, key, value);
      found = true;
    }
    ASSERT_TRUE(found) << "no record " << id;
    vaq::SaveLines(Notes(), lines);
  }

  void Expect(const std::string& file, const std::string& actualFile) {
    const fs::path expected = dir_ / file;
    const std::string actual = vaq::ReadFileBytes(actualFile);
    if (std::getenv("VAQ_UPDATE_GOLDEN") != nullptr && !file.starts_with("..")) {
      std::ofstream(expected, std::ios::binary) << actual;
      return;
    }
    ASSERT_TRUE(fs::exists(expected)) << expected << " is missing (VAQ_UPDATE_GOLDEN=1 writes it)";
    EXPECT_EQ(actual, vaq::ReadFileBytes(expected.string())) << actualFile << " differs from " << expected;
  }

  void Run() {
    std::ifstream in(dir_ / "case.txt");
    std::vector<std::string> expectedMessages, expectedRenames;
    auto sink = std::make_unique<vaq::CollectingSink>();
    vaq::CollectingSink& messages = *sink;
    const vaq::ScopedMessageSink scoped(std::move(sink));
    std::string line;
    while (std::getline(in, line)) {
      if (line.empty() || line[0] == '#') continue;
      std::istringstream words(line);
      std::string command, argument;
      words >> command >> argument;
      std::string rest;
      std::getline(words >> std::ws, rest);
      SCOPED_TRACE(line);
      if (command == "form") {
        form_ = argument;
      } else if (command == "lang") {
        source_ = vaq::StrToLCID(argument);
        target_ = vaq::StrToLCID(rest);
      } else if (command == "update" || command == "readback") {
        Merge(command == "update", argument, rest == "fails");
      } else if (command == "translate") {
        SetField(argument, KeyCurr, rest);
        SetField(argument, KeyStatus, "1");
      } else if (command == "set") {
        std::istringstream fields(rest);
        std::string key, value;
        fields >> key >> value;
        SetField(argument, ColumnKey(static_cast<vaq::TVaqAllColId>(std::stoi(key))), value);
      } else if (command == "repository") {
        ++step_;  // a later use than the one before
        const std::size_t arrow = line.find(" => ");
        const std::size_t start = line.find(' ') + 1;
        vaq::AddTranslation(source_, target_, line.substr(start, arrow - start), line.substr(arrow + 4));
      } else if (command == "option" && argument == "use-repository") {
        vaq::VaqINTOptionProps.SetOverride(vaq::kOptUseRepositoryOnUpdate, rest == "on");
      } else if (command == "option" && argument == "renames") {
        vaq::VaqINTOptionProps.SetOverride(vaq::kOptDetectRenamesOnUpdate, rest == "on");
      } else if (command == "counters") {
        std::istringstream counts(argument + " " + rest);
        vaq::TStats expected;
        counts >> expected.New >> expected.Changed >> expected.Unchanged >> expected.Unused;
        if (!(counts >> expected.Renamed)) expected.Renamed = 0;
        EXPECT_EQ((std::vector{stats_.New, stats_.Changed, stats_.Unchanged, stats_.Unused, stats_.Renamed}),
                  (std::vector{expected.New, expected.Changed, expected.Unchanged, expected.Unused,
                               expected.Renamed}));
      } else if (command == "renamed") {
        expectedRenames.push_back(argument + " " + rest);
      } else if (command == "expect") {
        Expect(argument, Notes());
      } else if (command == "expect-form") {
        Expect(argument, Xlat());
      } else if (command == "message") {
        std::string text = line.substr(line.find(' ') + 1);
        for (std::size_t at; (at = text.find("\\n")) != std::string::npos;) text.replace(at, 2, "\n");
        expectedMessages.push_back(text);
      } else {
        FAIL() << "unknown step";
      }
      if (HasFatalFailure()) return;
    }
    // Messages name files by their place in the work folder.
    for (std::string& message : messages.Messages) {
      for (std::size_t at; (at = message.find(work_.string() + "/")) != std::string::npos;) {
        message.erase(at, work_.string().size() + 1);
      }
    }
    EXPECT_EQ(messages.Messages, expectedMessages);
    EXPECT_EQ(renames_, expectedRenames);
  }

  fs::path dir_, work_;
  std::string form_ = "MainForm.rux";
  vaq::TLCID source_ = 0x0409, target_ = 0x0407;
  int step_ = 0;
  vaq::TStats stats_;
  std::vector<std::string> renames_;  // "OLD NEW K" of every rename the merges reported
};

TEST_P(MergeCase, NotesAsExpected) {
  Run();
}

INSTANTIATE_TEST_SUITE_P(Cases, MergeCase, ::testing::ValuesIn(CaseNames()), [](const auto& info) {
  std::string name = info.param;
  std::ranges::replace(name, '-', '_');
  return name;
});

}  // namespace
}  // namespace rux
