// Speed of vaq check with the fit on live forms (the desktop module), over the generated project
// of checked_project.h: the whole check, and the fit's stages apart: building the translated and
// original live forms through the viewer (writer, reading, widgets, layout), and collecting and
// measuring their texts.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <string>
#include <vector>

#include "checked_project.h"
#include "checks/check_notes.h"
#include "checks/fit.h"
#include "framework/widgets/render.h"
#include "host/core/files.h"
#include "module/desktop/check_live.h"
#include "notes/file_names.h"
#include "viewer/viewer.h"

namespace rux {
namespace {

std::string FormOf(const std::string& notes) {
  return vaq::ChangeFileExt(notes, NoteExtToFileExt(vaq::ExtractFileExt(notes)));
}

// The whole check, fit included, as `vaq check PROJECT --lang de-DE` runs it (without printing).
void BM_CheckProjectLive(benchmark::State& state) {
  bench::CheckedProject& project = bench::Project();
  std::size_t findings = 0;
  for (auto _ : state) {
    findings = 0;
    for (const std::string& notes : project.Notes()) {
      const std::vector<checks::TFinding> other = checks::CheckNotesFile(notes);
      findings += other.size() + CheckFitLive(notes, other, "").size();
    }
  }
  state.counters["forms"] = static_cast<double>(project.Notes().size());
  state.counters["findings"] = static_cast<double>(findings);
}

// Stage: both live forms of every form built and freed.
void BM_CheckStageLiveForms(benchmark::State& state) {
  bench::CheckedProject& project = bench::Project();
  TRuxViewer& viewer = RuxViewer();
  for (auto _ : state) {
    for (const std::string& notes : project.Notes()) {
      viewer.CreateForm(FormOf(notes), false);
      viewer.CreateForm(FormOf(notes), true);
      viewer.DestroyForm(false);
      viewer.DestroyForm(true);
    }
  }
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
