// Speed of the form notes manager on a notes file of 200,000 records written in shuffled order:
// loading it, sorting it by Order and saving it (sort, consistency walk, atomic write with header).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "host/core/files.h"
#include "notes/notes_record.h"
#include "notes/rux_mgr.h"

namespace rux {
namespace {

constexpr int kRecords = 200'000;

// A notes file of kRecords records of 2,000 components with 100 properties each, in shuffled order.
const std::string& NotesFormFile() {
  static const std::string form = [] {
    const auto dir = std::filesystem::temp_directory_path() / "vaq-notes-bench";
    std::filesystem::create_directories(dir);
    std::vector<int> order(kRecords);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(42));
    std::vector<std::string> lines;
    lines.reserve(kRecords);
    for (int i : order) {
      vaq::TVaqNotesString record;
      record.Id = "O:Form1.O:Panel" + std::to_string(i / 100) + ".Caption" + std::to_string(i % 100);
      record.Orig = "'Original text of value " + std::to_string(i) + "'";
      record.Curr = "'Translated text of value " + std::to_string(i) + "'";
      record.Status = static_cast<std::uint8_t>(i % 3);
      record.Order = i;
      record.Type = "TPanel";
      record.Localize = true;
      record.Created = record.Modified = 46362.5;
      lines.push_back(NotesStringToString(record, false));
    }
    const std::string file = (dir / "Form1.rux").string();
    vaq::SaveLines((dir / "Form1.ruz").string(), lines);
    return file;
  }();
  return form;
}

void BM_LoadNotes(benchmark::State& state) {
  const std::string& form = NotesFormFile();
  for (auto _ : state) {
    TRuxMgr mgr(form);
    benchmark::DoNotOptimize(mgr.Lines.data());
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_LoadNotes)->Unit(benchmark::kMillisecond);

void BM_SortNotes(benchmark::State& state) {
  const TRuxMgr loaded(NotesFormFile());
  for (auto _ : state) {
    std::vector<std::string> lines = loaded.Lines;
    TRuxMgr::QuickSortReOrder(lines, 0, static_cast<int>(lines.size()) - 1);
    benchmark::DoNotOptimize(lines.data());
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_SortNotes)->Unit(benchmark::kMillisecond);

// Load, sort, check and save: what opening and saving a notes file costs.
void BM_LoadSortSaveNotes(benchmark::State& state) {
  const std::string& form = NotesFormFile();
  for (auto _ : state) {
    TRuxMgr mgr(form);
    mgr.Save(false, "", "", false);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_LoadSortSaveNotes)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rux

BENCHMARK_MAIN();
