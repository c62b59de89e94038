// Speed of vaq check with the fit on live forms (the desktop module), over the generated project
// of checked_project.h: the whole process as a user runs it (`vaq check PROJECT --lang de-DE`,
// wall and CPU time), the whole check in process, and the fit's stages apart: building the
// translated and original live forms through the viewer (writer, reading, widgets, layout), and
// collecting and measuring their texts.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>

#include <QApplication>

#include <optional>
#include <string>
#include <vector>

#include "checked_project.h"
#include "checks/check_notes.h"
#include "checks/fit.h"
#include "framework/widgets/render.h"
#include "host/core/files.h"
#include "module/desktop/check_live.h"
#include "notes/file_names.h"
#include "notes/file_services.h"
#include "process_run.h"
#include "viewer/viewer.h"

namespace rux {
namespace {

std::string FormOf(const std::string& notes) {
  return vaq::ChangeFileExt(notes, NoteExtToFileExt(vaq::ExtractFileExt(notes)));
}

// `vaq check PROJECT --lang de-DE` as a whole process (start-up, every check, the fit on live
// forms, the report to /dev/null). Counters: the process's CPU time, user and system.
// VAQ_CHECK_PROGRAM names another build of vaq to run on the same project (a before and after).
void BM_CheckProcess(benchmark::State& state) {
  bench::CheckedProject& project = bench::Project();
  const char* program = std::getenv("VAQ_CHECK_PROGRAM");
  std::vector<std::string> args = {program != nullptr && *program != '\0' ? program : VAQ_PROGRAM, "check",
                                   project.Dir(), "--lang", "de-DE"};
  double cpu = 0;
  for (auto _ : state) {
    // vaq check exits 1 when it finds something, which the generated project always gives.
    const std::optional<::bench::TProcessRun> run = ::bench::RunProcess(args, 1);
    if (!run) {
      state.SkipWithError((args[0] + " check failed or could not be started").c_str());
      break;
    }
    cpu = run->CpuMs / 1e3;
  }
  state.counters["cpu_s"] = cpu;
  state.counters["forms"] = static_cast<double>(project.Notes().size());
  state.SetLabel(args[0]);
}

// The whole check, fit included, as `vaq check PROJECT --lang de-DE` runs it (each notes file
// read once for every check; without printing).
void BM_CheckProjectLive(benchmark::State& state) {
  bench::CheckedProject& project = bench::Project();
  std::size_t findings = 0;
  for (auto _ : state) {
    findings = 0;
    for (const std::string& notes : project.Notes()) {
      vaq::TFileStats stats;
      GetStats(FormOf(notes), false, stats);
      const std::vector<std::string> lines = vaq::LoadLines(notes);
      const std::vector<checks::TFinding> other =
          checks::CheckNotesLines(lines, notes, stats, checks::TKindSet::All());
      findings += other.size() + CheckFitLive(notes, lines, stats, other, "").size();
    }
  }
  state.counters["forms"] = static_cast<double>(project.Notes().size());
  state.counters["findings"] = static_cast<double>(findings);
}

// Stage: both live forms of every form built and freed, as the check builds them (to be measured
// only, without the designer; the check builds the original for few forms).
void BM_CheckStageLiveForms(benchmark::State& state) {
  bench::CheckedProject& project = bench::Project();
  TRuxViewer& viewer = RuxViewer();
  viewer.WithDesigner = false;
  viewer.ToMeasure = true;
  for (auto _ : state) {
    for (const std::string& notes : project.Notes()) {
      viewer.CreateForm(FormOf(notes), false);
      viewer.CreateForm(FormOf(notes), true);
      viewer.DestroyForm(false);
      viewer.DestroyForm(true);
    }
  }
  viewer.WithDesigner = true;
  viewer.ToMeasure = false;
}

// Stage: the texts of the live forms collected and measured (the forms built beforehand, untimed).
void BM_CheckStageMeasure(benchmark::State& state) {
  bench::CheckedProject& project = bench::Project();
  TRuxViewer& viewer = RuxViewer();
  const TQtTextMeasure measure;
  std::size_t items = 0;
  for (auto _ : state) {
    items = 0;
    for (const std::string& notes : project.Notes()) {
      state.PauseTiming();
      viewer.CreateForm(FormOf(notes), false);
      state.ResumeTiming();
      const std::vector<checks::TFitItem> fit = FitItemsOf(*viewer.XlatForm());
      benchmark::DoNotOptimize(checks::MeasureFit(fit, measure));
      items += fit.size();
      state.PauseTiming();
      viewer.DestroyForm(false);
      state.ResumeTiming();
    }
  }
  state.counters["texts"] = static_cast<double>(items);
}

BENCHMARK(BM_CheckProcess)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_CheckProjectLive)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_CheckStageLiveForms)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_CheckStageMeasure)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace rux

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  vaq::widgets::PrepareApplication();
  rux::RegisterFrameworkClasses();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  rux::ReleaseRuxViewer();
  return 0;
}
