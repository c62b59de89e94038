// Speed of the merge: re-merging one generated form of 2,000, 20,000 and 200,000 records into its
// notes, once unchanged and once with 10% of the values changed and 5% gone. One iteration is one
// whole MergeNotes: reading the old notes, merging, and both saves (notes, then through the
// manager with the statistics header).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "generated_lines.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/locale.h"
#include "host/framework/formstream.h"
#include "support/form_generator.h"
#include "updater/form_reader.h"
#include "updater/merge_notes.h"

namespace rux {
namespace {

namespace fs = std::filesystem;

// 10% of the values changed, 5% of them gone from the form.
TExtractedLines Changed(const TExtractedLines& lines) {
  TExtractedLines result;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i % 20 == 7) continue;
    result.push_back(lines[i]);
    if (i % 10 == 3) result.back().Data.Value += "x";
  }
  return result;
}

void Merge(benchmark::State& state, bool change) {
  const vaq::ScopedMessageSink quiet(std::make_unique<vaq::CollectingSink>());
  const fs::path dir = fs::temp_directory_path() / ("vaq-merge-bench-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string form = (dir / "Bench.rux").string();
  vaq::WriteFileAtomic(form, "");
  TMergeForm merge{(dir / "Bench.ruz").string(), form, form, true, false, 0x0409, 0x0407, nullptr, {}};
  const TExtractedLines original = bench::GeneratedLines(static_cast<std::size_t>(state.range(0)));
  const TExtractedLines input = change ? Changed(original) : original;
  {
    TExtractedLines lines = original;
    vaq::TStats stats;
    if (!TNotesMerge().MergeNotes(merge, lines, stats)) state.SkipWithError("first merge failed");
  }
  const std::string notes = vaq::ReadFileBytes(merge.NotesFile);
  for (auto _ : state) {
    state.PauseTiming();
    vaq::WriteFileAtomic(merge.NotesFile, notes);
    TExtractedLines lines = input;
    state.ResumeTiming();
    vaq::TStats stats;
    if (!TNotesMerge().MergeNotes(merge, lines, stats)) state.SkipWithError("merge failed");
  }
  state.counters["records"] = static_cast<double>(original.size());
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(original.size()));
  fs::remove_all(dir);
}

void BM_MergeUnchanged(benchmark::State& state) {
  Merge(state, false);
}
void BM_MergeChanged(benchmark::State& state) {
  Merge(state, true);
}
BENCHMARK(BM_MergeUnchanged)->Arg(2'000)->Arg(20'000)->Arg(200'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MergeChanged)->Arg(2'000)->Arg(20'000)->Arg(200'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rux

BENCHMARK_MAIN();
