// Speed of the translated-form writer: a generated form of about 20,000 values, turned into notes
// records, written back with RuxCreator().Execute in each of the three formats. One iteration is
// one whole run: generation of the text, conversion and the atomic write of the form file.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "creator/creator.h"
#include "generated_lines.h"
#include "host/core/errors.h"
#include "host/core/locale.h"
#include "host/framework/formstream.h"
#include "notes/notes_record.h"
#include "support/form_generator.h"
#include "updater/form_reader.h"

namespace rux {
namespace {

namespace fs = std::filesystem;

// The notes of a generated form of about `records` values.
std::vector<std::string> NotesOf(std::size_t records) {
  return bench::UntranslatedNotes(bench::GeneratedLines(records));
}

void Write(benchmark::State& state, TVaqFormFormat format) {
  const vaq::ScopedMessageSink quiet(std::make_unique<vaq::CollectingSink>());
  const fs::path dir = fs::temp_directory_path() / ("vaq-write-bench-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string form = (dir / "Bench.rux").string();
  const std::vector<std::string> notes = NotesOf(20'000);
  for (auto _ : state) {
    if (!RuxCreator().Execute(notes, form, false, format, 0x0409)) {
      // ErrorText lives on in the singleton until its next run, after the loop.
      state.SkipWithError(RuxCreator().ErrorText.empty() ? "write failed" : RuxCreator().ErrorText.c_str());
      break;
    }
  }
  state.counters["records"] = static_cast<double>(notes.size());
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(notes.size()));
  fs::remove_all(dir);
}

void BM_WritePlain(benchmark::State& state) {
  Write(state, uffUnformatedText);
}
void BM_WriteFormatted(benchmark::State& state) {
  Write(state, uffFormatedText);
}
void BM_WriteBinary(benchmark::State& state) {
  Write(state, uffBinary);
}
BENCHMARK(BM_WritePlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteFormatted)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteBinary)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rux

BENCHMARK_MAIN();
