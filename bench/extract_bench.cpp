// Speed of the form reader: 500 generated forms of about 20 KB each, in text and in binary
// notation, extracted into lines (one iteration extracts all 500).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "host/core/errors.h"
#include "host/core/locale.h"
#include "host/framework/formstream.h"
#include "support/form_generator.h"
#include "updater/form_reader.h"

namespace rux {
namespace {

std::vector<std::string> MakeForms(bool binary) {
  std::vector<std::string> forms;
  for (std::uint64_t seed = 1; seed <= 500; ++seed) {
    vaq::TMemoryStream text(vaq::testing::GenerateFormText(seed, 20'000));
    if (!binary) {
      forms.push_back(std::move(text.Data()));
      continue;
    }
    vaq::TMemoryStream out;
    vaq::ObjectTextToBinary(text, out);
    forms.push_back(std::move(out.Data()));
  }
  return forms;
}

void Extract(benchmark::State& state, bool binary) {
  const std::vector<std::string> forms = MakeForms(binary);
  const vaq::TLCID locale = vaq::StrToLCID("en-US");
  std::int64_t bytes = 0, lines = 0;
  for (const auto& form : forms) bytes += static_cast<std::int64_t>(form.size());
  for (auto _ : state) {
    for (const auto& form : forms) {
      vaq::TMemoryStream stream(form);
      TExtractedLines extracted;
      if (!ExtractFormLines(stream, "bench.rux", extracted, locale)) state.SkipWithError("not a form");
      lines += static_cast<std::int64_t>(extracted.size());
    }
  }
  state.SetBytesProcessed(state.iterations() * bytes);
  state.counters["lines"] = benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate);
}

void BM_Extract500Text(benchmark::State& state) {
  Extract(state, false);
}
void BM_Extract500Binary(benchmark::State& state) {
  Extract(state, true);
}
BENCHMARK(BM_Extract500Text)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Extract500Binary)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rux

BENCHMARK_MAIN();
