// Speed of the review checks that read the notes: a generated project (checked_project.h) checked
// whole, and the stages apart: reading the notes files, reading records and decoding the
// texts, and the checks themselves.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "checked_project.h"
#include "checks/check_notes.h"
#include "checks/checked_form.h"
#include "checks/string_checks.h"
#include "host/core/files.h"

namespace rux {
namespace {

namespace fs = std::filesystem;
using bench::CheckedProject;
using bench::Project;

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
