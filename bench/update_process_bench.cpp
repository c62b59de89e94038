// `vaq update` as a whole process (start-up, the module, reading the forms, merging, writing notes
// and translated forms, shut-down) on a generated project of 500 forms of about 20 KB: the first
// update of a language (every notes file and translated form made) and an update of the unchanged
// project (every form skipped by its date); and ten languages, in one run and in ten (the argument
// "unchanged" 1: every language up to date). The project lies in the temporary
// folder on disk, so that the flushes to disk count as a user waits for them. Wall time is the figure;
// "cpu_ms" is the process's own CPU time (user and system), which waiting for a busy machine does not
// inflate. VAQ_BENCH_DIR names another folder for the project (/dev/shm: without the disk). VAQ_BENCH_PROGRAM
// names another vaq to measure (an older build, say) with the same project; a run that ends with status 1 (an
// older build reported a problem with a form) counts all the same.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "host/core/files.h"
#include "process_run.h"
#include "support/form_generator.h"

namespace vaq::testing {
namespace {

namespace fs = std::filesystem;

constexpr int kForms = 500;

// The project: Form1.rux .. Form500.rux with a unit each, removed at exit.
struct Project {
  Project() {
    const char* base = std::getenv("VAQ_BENCH_DIR");
    Dir = (base != nullptr ? fs::path(base) : fs::temp_directory_path()) /
          ("vaq-update-process-bench-" + std::to_string(::getpid()));
    fs::create_directories(Dir / "src");
    for (int seed = 1; seed <= kForms; ++seed) {
      const fs::path form = Dir / "src" / ("Form" + std::to_string(seed) + ".rux");
      WriteFileAtomic(form.string(), GenerateFormText(static_cast<std::uint64_t>(seed), 20'000));
      WriteFileAtomic(fs::path(form).replace_extension(".pas").string(),
                      "unit Form" + std::to_string(seed) + ";\ninterface\nimplementation\nend.\n");
    }
    // The program's configuration stays out of the user's.
    ::setenv("VAQ_CONFIG_DIR", (Dir / "config").c_str(), 1);
  }
  ~Project() {
    std::error_code error;
    fs::remove_all(Dir, error);
  }
  fs::path LangDir() const { return Dir / "de-DE"; }
  fs::path Dir;
};

const Project& TheProject() {
  static const Project project;
  return project;
}

// The ten languages of the many-languages benchmarks (all with the forms' code page, 1252).
const std::vector<std::string> kTenLanguages = {"de-DE", "fr-FR", "it-IT", "es-ES", "pt-PT",
                                                "nl-NL", "sv-SE", "da-DK", "fi-FI", "nb-NO"};

// Runs vaq update once for `languages` (a tag, or tags separated by commas); returns the CPU time
// (user and system) the process took, in ms.
double RunUpdate(const std::string& languages = "de-DE") {
  const char* program = std::getenv("VAQ_BENCH_PROGRAM");
  std::vector<std::string> args = {program != nullptr ? program : VAQ_PROGRAM,
                                   "update",
                                   TheProject().Dir.string(),
                                   "--lang",
                                   languages,
                                   "--quiet"};
  const std::optional<bench::TProcessRun> run = bench::RunProcess(std::move(args), 1);
  if (!run) std::abort();  // the benchmark measures a working program only
  return run->CpuMs;
}

void Report(benchmark::State& state, double cpu) {
  state.counters["cpu_ms"] = cpu / static_cast<double>(state.iterations());
}

void BM_UpdateProcessFirst(benchmark::State& state) {
  double cpu = 0;
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove_all(TheProject().LangDir());
    state.ResumeTiming();
    cpu += RunUpdate();
  }
  Report(state, cpu);
}
BENCHMARK(BM_UpdateProcessFirst)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_UpdateProcessUnchanged(benchmark::State& state) {
  fs::remove_all(TheProject().LangDir());
  RunUpdate();
  double cpu = 0;
  for (auto _ : state) cpu += RunUpdate();
  Report(state, cpu);
}
BENCHMARK(BM_UpdateProcessUnchanged)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void RemoveLanguageFolders() {
  for (const std::string& tag : kTenLanguages) fs::remove_all(TheProject().Dir / tag);
}

// 500 forms into ten languages: one vaq update of all ten (each form read and extracted once), and
// ten of one language each, one after the other; first updates and updates of the unchanged project.
void BM_UpdateProcessTenLanguagesAtOnce(benchmark::State& state) {
  std::string all;
  for (const std::string& tag : kTenLanguages) all += (all.empty() ? "" : ",") + tag;
  if (state.range(0) == 1) RunUpdate(all);  // every language up to date
  double cpu = 0;
  for (auto _ : state) {
    if (state.range(0) == 0) {
      state.PauseTiming();
      RemoveLanguageFolders();
      state.ResumeTiming();
    }
    cpu += RunUpdate(all);
  }
  Report(state, cpu);
}
BENCHMARK(BM_UpdateProcessTenLanguagesAtOnce)
    ->ArgName("unchanged")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

void BM_UpdateProcessTenLanguagesOneByOne(benchmark::State& state) {
  if (state.range(0) == 1)
    for (const std::string& tag : kTenLanguages) RunUpdate(tag);  // every language up to date
  double cpu = 0;
  for (auto _ : state) {
    if (state.range(0) == 0) {
      state.PauseTiming();
      RemoveLanguageFolders();
      state.ResumeTiming();
    }
    for (const std::string& tag : kTenLanguages) cpu += RunUpdate(tag);
  }
  Report(state, cpu);
}
BENCHMARK(BM_UpdateProcessTenLanguagesOneByOne)
    ->ArgName("unchanged")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

}  // namespace
}  // namespace vaq::testing

BENCHMARK_MAIN();
