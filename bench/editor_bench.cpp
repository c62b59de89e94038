// Speed of the translation editor on a notes file of 200,000 records (2,000 components of 100
// properties): opening it in the grid (load, fill, delimiters, filters), the same plus the window's
// first offscreen paint, and writing the grid back plus saving (every row changed, the worst case).
// The counter rss_mb is the process's resident memory with the file open.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "editor/rux_form.h"
#include "editor/views/rux_editor_window.h"
#include "host/core/files.h"
#include "host/core/registration.h"
#include "notes/column_table.h"
#include "notes/form_writer_hook.h"
#include "notes/notes_record.h"
#include "notes/rux_mgr.h"

namespace rux {
namespace {

constexpr int kRecords = 200'000;

const std::string& FormFile() {
  static const std::string form = [] {
    const auto dir = std::filesystem::temp_directory_path() / "vaq-editor-bench";
    std::filesystem::create_directories(dir);
    std::vector<std::string> lines;
    lines.reserve(kRecords);
    for (int i = 0; i < kRecords; ++i) {
      vaq::TVaqNotesString record;
      record.Id = "O:Form1.O:Panel" + std::to_string(i / 100) + ".O:Button" + std::to_string(i % 100 / 10) +
                  ".Caption" + std::to_string(i % 100);
      record.Orig = "'Original text of value " + std::to_string(i) + "'";
      record.Curr = "'Translated text of value " + std::to_string(i) + "'";
      record.Status = static_cast<std::uint8_t>(i % 3);
      record.Order = i;
      record.Type = "TButton";
      record.Localize = true;
      record.Created = record.Modified = 46362.5;
      lines.push_back(NotesStringToString(record, false));
    }
    const std::string file = (dir / "Form1.rux").string();
    vaq::SaveLines(file, {"object Form1: TForm1", "end"});
    TRuxMgr mgr;
    mgr.LoadFromStringList(&lines, file, "");
    mgr.Save(false, "en-US", "de-DE", false);
    return file;
  }();
  return form;
}

double RssMegabytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  }
  return 0.0;
}

// The editor as the module starts it, without a registry of its own.
struct Editor {
  Editor() {
    LoadColumnCaptions();
    SetFormWriter([](const std::vector<std::string>&, const std::string&, bool, TVaqFormFormat, vaq::TLCID,
                     vaq::TAtomicWriteBatch&) { return true; });
    window = std::make_unique<TfrmVaqRuxForm>();
    window->FormCreate();
  }
  ~Editor() {
    window.reset();
    vaq::UnregisterVaqFileTypes();
    SetFormWriter({});
    ReleaseColumnCaptions();
  }
  std::unique_ptr<TfrmVaqRuxForm> window;
};

void BM_OpenInGrid(benchmark::State& state) {
  const std::string& form = FormFile();
  Editor editor;
  for (auto _ : state) editor.window->LoadFromFile(form);
  state.counters["rows"] = editor.window->VaqGrid.RowCount() - 1;
  state.counters["rss_mb"] = RssMegabytes();
}
BENCHMARK(BM_OpenInGrid)->Unit(benchmark::kMillisecond);

QApplication& App() {
  static int argc = 1;
  static char name[] = "vaq_bench_editor";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  return *app;
}

void BM_OpenAndPaint(benchmark::State& state) {
  App();
  const std::string& form = FormFile();
  Editor editor;
  auto window = views::CreateRuxEditorWindow(*editor.window);
  window->SetErrorBoxes(false);
  window->resize(1180, 640);
  window->show();
  for (auto _ : state) {
    window->OpenFile(form);
    QPixmap picture = window->grab();
    benchmark::DoNotOptimize(picture.cacheKey());
  }
  state.counters["rss_mb"] = RssMegabytes();
}
BENCHMARK(BM_OpenAndPaint)->Unit(benchmark::kMillisecond);

void BM_GridToMgrAndSave(benchmark::State& state) {
  const std::string& form = FormFile();
  Editor editor;
  editor.window->LoadFromFile(form);
  vaq::TVaqGrid& grid = editor.window->VaqGrid;
  const int curr = editor.window->EnumToCol(ColCurr);
  for (auto _ : state) {
    state.PauseTiming();
    for (int r = 1; r < grid.RowCount(); ++r) grid.SetCell(curr, r, std::string(grid.Cell(curr, r)));
    state.ResumeTiming();
    editor.window->GridToMgr();
    editor.window->Save();
  }
}
BENCHMARK(BM_GridToMgrAndSave)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rux

BENCHMARK_MAIN();
