// Speed of the conversions between the text notation and the binary form, in bytes of input per
// second, on one large generated form and on many forms of typical size (one iteration converts
// them all). Reading every input byte once gives the scale of what the machine can do at best.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "host/framework/formstream.h"
#include "support/form_generator.h"

namespace vaq::testing {
namespace {

// The same forms in both notations.
struct Corpus {
  std::vector<std::string> Texts;
  std::vector<std::string> Binaries;
  std::int64_t TextBytes = 0;
  std::int64_t BinaryBytes = 0;
};

Corpus MakeCorpus(std::uint64_t firstSeed, std::size_t count, std::size_t bytes) {
  Corpus corpus;
  for (std::size_t i = 0; i < count; ++i) {
    TMemoryStream text(GenerateFormText(firstSeed + i, bytes));
    TMemoryStream binary;
    ObjectTextToBinary(text, binary);
    corpus.TextBytes += static_cast<std::int64_t>(text.Size());
    corpus.BinaryBytes += static_cast<std::int64_t>(binary.Size());
    corpus.Texts.push_back(std::move(text.Data()));
    corpus.Binaries.push_back(std::move(binary.Data()));
  }
  return corpus;
}

// Generated once per process, on first use, and never changed afterwards.
const Corpus& OneLargeForm() {
  static const Corpus corpus = MakeCorpus(1, 1, 10'000'000);
  return corpus;
}

const Corpus& ManyForms() {
  static const Corpus corpus = MakeCorpus(1000, 500, 20'000);
  return corpus;
}

using CorpusFunction = const Corpus& (*)();

// Converts every input into one output stream, emptied (but not freed) before each conversion.
template <void (*Convert)(TMemoryStream&, TMemoryStream&)>
void Conversion(benchmark::State& state, const std::vector<std::string>& inputs, std::int64_t bytes) {
  std::vector<TMemoryStream> streams(inputs.begin(), inputs.end());
  TMemoryStream output;
  for (auto _ : state) {
    for (TMemoryStream& input : streams) {
      input.Seek(0);
      output.Clear();
      Convert(input, output);
      benchmark::DoNotOptimize(output.Data().data());
    }
  }
  state.SetBytesProcessed(state.iterations() * bytes);
}

void TextToBinary(benchmark::State& state, CorpusFunction corpus) {
  Conversion<ObjectTextToBinary>(state, corpus().Texts, corpus().TextBytes);
}

void BinaryToText(benchmark::State& state, CorpusFunction corpus) {
  Conversion<ObjectBinaryToText>(state, corpus().Binaries, corpus().BinaryBytes);
}

// Sums the bytes of the text: the least any conversion must do.
void ReadEveryByte(benchmark::State& state, CorpusFunction corpus) {
  for (auto _ : state) {
    std::uint64_t sum = 0;
    for (const std::string& text : corpus().Texts) {
      for (const char c : text) sum += static_cast<unsigned char>(c);
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(state.iterations() * corpus().TextBytes);
}

BENCHMARK_CAPTURE(TextToBinary, OneForm10MB, OneLargeForm)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(TextToBinary, Forms500x20KB, ManyForms)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BinaryToText, OneForm10MB, OneLargeForm)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BinaryToText, Forms500x20KB, ManyForms)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadEveryByte, OneForm10MB, OneLargeForm)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadEveryByte, Forms500x20KB, ManyForms)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vaq::testing

BENCHMARK_MAIN();
