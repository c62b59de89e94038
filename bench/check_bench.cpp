// Speed of the review checks that read the notes: a generated project of 500 forms of about 20 KB,
// updated for de-DE and pseudo-translated (so that every text differs from its original), then
// checked whole; and the stages apart: reading the notes files, reading records and decoding the
// texts, and the checks themselves.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "checks/check_notes.h"
#include "checks/checked_form.h"
#include "checks/string_checks.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/registration.h"
#include "host/core/resource_strings.h"
#include "host/framework/ide.h"
#include "module/module.h"
#include "notes/file_names.h"
#include "notes/rux_mgr.h"
#include "support/form_generator.h"

namespace rux {
namespace {

namespace fs = std::filesystem;

constexpr int kForms = 500;

class CheckedProject : public vaq::TIToolServices {
 public:
  CheckedProject() : dir_(fs::temp_directory_path() / ("vaq-check-bench-" + std::to_string(::getpid()))) {
    fs::create_directories(dir_ / "src");
    ::setenv("VAQ_CONFIG_DIR", (dir_ / "config").c_str(), 1);
    for (int seed = 1; seed <= kForms; ++seed) {
      const std::string form = (dir_ / "src" / ("Form" + std::to_string(seed) + ".rux")).string();
      vaq::WriteFileAtomic(form, vaq::testing::GenerateFormText(static_cast<std::uint64_t>(seed), 20'000));
      forms_.push_back(form);
    }
    ModuleStartup();
    vaq::TStats stats;
    vaq::TStringObjectList list;
    vaq::GetVaqFileType(vaq::VaqFileTypes.ExtIndexOf(".rux"))
        ->UpdateForms(&list, stats, dir_.string(), dir_.string(), (dir_ / "de-DE").string(), vaq::sUpdate, {},
                      0x0409, 0x0407, this, 0, {});
    for (int seed = 1; seed <= kForms; ++seed) {
      const std::string form = (dir_ / "de-DE" / "src" / ("Form" + std::to_string(seed) + ".rux")).string();
      TRuxMgr mgr(form);
      mgr.EggBuild();
      mgr.Save(false, "", "", false);
      notes_.push_back(FileNameToNoteName(form));
    }
  }
  ~CheckedProject() override {
    ModuleShutdown();
    fs::remove_all(dir_);
  }
  int GetUnitCount() override { return static_cast<int>(forms_.size()); }
  std::string GetUnitName(int i) override { return forms_.at(static_cast<std::size_t>(i)); }
  const std::vector<std::string>& Notes() const { return notes_; }

 private:
  fs::path dir_;
  std::vector<std::string> forms_;
  std::vector<std::string> notes_;
};

CheckedProject& Project() {
  static const vaq::ScopedMessageSink quiet(std::make_unique<vaq::CollectingSink>());
  static CheckedProject project;
  return project;
}

// The whole check of the project, as `vaq check PROJECT --lang de-DE` runs it (without printing).
void BM_CheckProject(benchmark::State& state) {
  CheckedProject& project = Project();
  std::size_t findings = 0, bytes = 0;
  for (const std::string& notes : project.Notes()) bytes += fs::file_size(notes);
  for (auto _ : state) {
    findings = 0;
    for (const std::string& notes : project.Notes()) findings += checks::CheckNotesFile(notes).size();
    benchmark::DoNotOptimize(findings);
  }
  state.counters["forms"] = static_cast<double>(project.Notes().size());
  state.counters["notesKB"] =
      static_cast<double>(bytes) / 1024.0 / static_cast<double>(project.Notes().size());
  state.counters["findings"] = static_cast<double>(findings);
}

// Stage 1: reading the notes files.
void BM_CheckStageRead(benchmark::State& state) {
  CheckedProject& project = Project();
  for (auto _ : state) {
    for (const std::string& notes : project.Notes()) benchmark::DoNotOptimize(vaq::LoadLines(notes));
  }
}

// Stage 2: records parsed and texts decoded.
void BM_CheckStageRecords(benchmark::State& state) {
  CheckedProject& project = Project();
  std::vector<std::vector<std::string>> lines;
  for (const std::string& notes : project.Notes()) lines.push_back(vaq::LoadLines(notes));
  std::size_t texts = 0;
  for (auto _ : state) {
    texts = 0;
    for (const auto& file : lines) texts += checks::ReadCheckedForm(file, "x", 0x0409, 0x0407).Texts.size();
  }
  state.counters["texts"] = static_cast<double>(texts);
}

// Stage 3: the checks over the decoded texts.
void BM_CheckStageChecks(benchmark::State& state) {
  CheckedProject& project = Project();
  std::vector<checks::TCheckedForm> forms;
  for (const std::string& notes : project.Notes())
    forms.push_back(checks::ReadCheckedForm(vaq::LoadLines(notes), notes, 0x0409, 0x0407));
  for (auto _ : state) {
    std::vector<checks::TFinding> findings;
    for (const checks::TCheckedForm& form : forms) {
      checks::CheckAccelerators(form, findings);
      checks::CheckConsistency(form, findings);
      checks::CheckUntranslated(form, findings);
    }
    benchmark::DoNotOptimize(findings);
  }
}

BENCHMARK(BM_CheckProject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckStageRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckStageRecords)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckStageChecks)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rux

BENCHMARK_MAIN();
