// Speed of the merge: re-merging one generated form of 2,000, 20,000 and 200,000 records into its
// notes, once unchanged, once with 10% of the values changed and 5% gone, and once with every
// twentieth component renamed (with its children) in notes whose string values are translated, so
// that the renamed components keep their records. One iteration is one whole MergeNotes: reading
// the old notes, merging, and both saves (notes, then through the manager with the statistics
// header).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

#include "generated_lines.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/locale.h"
#include "host/core/notes_strings.h"
#include "host/framework/formstream.h"
#include "notes/column_table.h"
#include "notes/component_path.h"
#include "support/form_generator.h"
#include "updater/component_renames.h"
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

// Every twentieth component below the root (not inside one renamed already) gets another name:
// "R" appended. The lines of its children follow it.
TExtractedLines Renamed(const TExtractedLines& lines) {
  std::unordered_map<std::string, std::string> renamed;  // old path -> new path
  const auto renamedAncestor =
      [&renamed](const std::string& id) -> const std::pair<const std::string, std::string>* {
    for (std::size_t dot = id.find('.'); dot != std::string::npos; dot = id.find('.', dot + 1)) {
      const auto it = renamed.find(id.substr(0, dot + 1));
      if (it != renamed.end()) return &*it;
    }
    return nullptr;
  };
  int components = 0;
  std::string previous;
  for (const TExtractedLine& line : lines) {
    const std::string path = GetFullObjectName(line.Id);
    if (path == previous) continue;
    previous = path;
    if (std::ranges::count(path, ':') < 2 || renamedAncestor(path) != nullptr) continue;
    if (++components % 20 == 0) renamed[path] = path.substr(0, path.size() - 1) + "R.";
  }
  TExtractedLines result = lines;
  for (TExtractedLine& line : result) {
    if (const auto* rename = renamedAncestor(line.Id))
      line.Id = rename->second + line.Id.substr(rename->first.size());
  }
  return result;
}

// A record of a string value becomes translated (status 1, translatable), as a translator's work
// leaves it.
void Translate(std::string& record) {
  const std::string_view orig = vaq::GetValueView(record, KeyOrig);
  if (orig.starts_with('\'') || orig.starts_with('#')) {
    vaq::SetValueInPlace(record, KeyStatus, "1");
    vaq::SetValueInPlace(record, KeyLocalize, "True");
  }
}

// The notes file with its string values translated.
std::string Translated(const std::string& notes) {
  std::string result;
  for (std::string line : vaq::SplitLines(notes)) {
    if (line.starts_with("/* ID:")) Translate(line);
    result += line + "\r\n";
  }
  return result;
}

enum class Input { Unchanged, Changed, Renamed };

void Merge(benchmark::State& state, Input kind) {
  const vaq::ScopedMessageSink quiet(std::make_unique<vaq::CollectingSink>());
  const fs::path dir = fs::temp_directory_path() / ("vaq-merge-bench-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string form = (dir / "Bench.rux").string();
  vaq::WriteFileAtomic(form, "");
  TMergeForm merge{(dir / "Bench.ruz").string(), form, form, true, false, 0x0409, 0x0407, nullptr, {}};
  const TExtractedLines original = bench::GeneratedLines(static_cast<std::size_t>(state.range(0)));
  const TExtractedLines input = kind == Input::Changed   ? Changed(original)
                                : kind == Input::Renamed ? Renamed(original)
                                                         : original;
  {
    TExtractedLines lines = original;
    vaq::TStats stats;
    if (!TNotesMerge().MergeNotes(merge, lines, stats)) state.SkipWithError("first merge failed");
  }
  std::string notes = vaq::ReadFileBytes(merge.NotesFile);
  if (kind == Input::Renamed) notes = Translated(notes);
  vaq::TStats stats;
  for (auto _ : state) {
    state.PauseTiming();
    vaq::WriteFileAtomic(merge.NotesFile, notes);
    TExtractedLines lines = input;
    state.ResumeTiming();
    stats = {};
    if (!TNotesMerge().MergeNotes(merge, lines, stats)) state.SkipWithError("merge failed");
  }
  state.counters["records"] = static_cast<double>(original.size());
  if (kind == Input::Renamed) state.counters["renamed"] = stats.Renamed;
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(original.size()));
  fs::remove_all(dir);
}

// The rename step alone (it runs inside every project-mode merge): on the translated notes of the
// generated form, against its lines unchanged (no component vanished: the common case) or with
// every twentieth component renamed.
void RenameStep(benchmark::State& state, Input kind) {
  const vaq::ScopedMessageSink quiet(std::make_unique<vaq::CollectingSink>());
  const TExtractedLines original = bench::GeneratedLines(static_cast<std::size_t>(state.range(0)));
  const TExtractedLines input = kind == Input::Renamed ? Renamed(original) : original;
  std::vector<std::string> notes = bench::UntranslatedNotes(original);
  for (std::string& line : notes) Translate(line);
  std::size_t renamed = 0;
  std::vector<std::string> old;
  for (auto _ : state) {
    state.PauseTiming();
    old = notes;  // the copy replaced is freed here, outside the time
    state.ResumeTiming();
    renamed = MoveRenamedComponents(old, input, 46357.5).size();
    benchmark::DoNotOptimize(old.data());
  }
  state.counters["records"] = static_cast<double>(original.size());
  state.counters["renamed"] = static_cast<double>(renamed);
}

void BM_RenameStepNone(benchmark::State& state) {
  RenameStep(state, Input::Unchanged);
}
void BM_RenameStep(benchmark::State& state) {
  RenameStep(state, Input::Renamed);
}
BENCHMARK(BM_RenameStepNone)->Arg(200'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenameStep)->Arg(200'000)->Unit(benchmark::kMillisecond);

void BM_MergeUnchanged(benchmark::State& state) {
  Merge(state, Input::Unchanged);
}
void BM_MergeChanged(benchmark::State& state) {
  Merge(state, Input::Changed);
}
void BM_MergeRenamed(benchmark::State& state) {
  Merge(state, Input::Renamed);
}
BENCHMARK(BM_MergeUnchanged)->Arg(2'000)->Arg(20'000)->Arg(200'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MergeChanged)->Arg(2'000)->Arg(20'000)->Arg(200'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MergeRenamed)->Arg(2'000)->Arg(20'000)->Arg(200'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rux

BENCHMARK_MAIN();
