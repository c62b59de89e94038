// Speed of the translation repository on both stores: adding 200,000 entries, exact lookups, and
// the similarity lookup in a repository of 200,000 entries (target: under 20 ms per lookup). The
// entries are generated interface texts: 1 to 8 words drawn from a vocabulary of 3,000 with the
// skewed frequencies of real texts, some with accelerators and trailing punctuation. The server
// store needs a PostgreSQL cluster (VAQ_TEST_POSTGRES, as for the tests; scripts/bench.sh starts
// one); without it its benchmarks are skipped.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <optional>
#include <random>
#include <set>

#include "host/core/repository.h"
#include "support/postgres.h"
#include "support/temp_dir.h"

namespace vaq {
namespace {

constexpr TLCID kEnglish = 0x0409;
constexpr TLCID kGerman = 0x0407;
constexpr std::size_t kEntries = 200000;
constexpr std::size_t kBatch = 1000;

// Interface texts with a realistic spread of words.
class TTextGenerator {
 public:
  TTextGenerator() {
    const char* common[] = {"Save",    "Open",     "Close",    "File",    "Edit",   "View",   "Help",
                            "New",     "Delete",   "Print",    "Preview", "Order",  "Orders", "Customer",
                            "Invoice", "Name",     "Address",  "City",    "Total",  "Cancel", "OK",
                            "Apply",   "Options",  "Settings", "the",     "all",    "of",     "to",
                            "and",     "a",        "for",      "with",    "Search", "Find",   "Replace",
                            "Next",    "Previous", "Report",   "Export",  "Import"};
    for (const char* word : common) words_.push_back(word);
    const char* syllables[] = {"ka", "re",  "mo", "ti", "lan", "ver", "sto",
                               "pi", "gen", "da", "ul", "ex",  "ra",  "co"};
    std::mt19937 random(3);
    std::set<std::string> seen(words_.begin(), words_.end());
    while (words_.size() < 3000) {
      std::string word;
      for (int i = 2 + static_cast<int>(random() % 3); i > 0; --i)
        word += syllables[random() % std::size(syllables)];
      if (random() % 3 == 0) word[0] = static_cast<char>(word[0] - 'a' + 'A');
      if (seen.insert(word).second) words_.push_back(word);
    }
    // Zipf-like: the k-th word is drawn with a weight of 1 / k.
    std::vector<double> weights;
    for (std::size_t k = 1; k <= words_.size(); ++k) weights.push_back(1.0 / static_cast<double>(k));
    pick_ = std::discrete_distribution<std::size_t>(weights.begin(), weights.end());
  }

  std::string Text(std::mt19937& random) {
    std::string text;
    const int count = 1 + static_cast<int>(random() % 8);
    for (int i = 0; i < count; ++i) {
      if (i > 0) text += ' ';
      text += words_[pick_(random)];
    }
    if (random() % 5 == 0) text.insert(0, "&");
    if (random() % 7 == 0) text += random() % 2 ? "..." : ":";
    return text;
  }

  // A text close to `text`: a word replaced, dropped or added, or its case changed.
  std::string Near(const std::string& text, std::mt19937& random) {
    std::string result = text;
    switch (random() % 4) {
      case 0:
        return result + " " + words_[pick_(random)];
      case 1:
        if (const auto blank = result.rfind(' '); blank != std::string::npos) return result.substr(0, blank);
        return result + " all";
      case 2:
        if (const auto blank = result.find(' '); blank != std::string::npos)
          return words_[pick_(random)] + result.substr(blank);
        return words_[pick_(random)];
      default:
        for (char& c : result) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return result;
    }
  }

 private:
  std::vector<std::string> words_;
  std::discrete_distribution<std::size_t> pick_;
};

struct TCorpus {
  std::vector<std::string> Sources;  // distinct, as text
  std::vector<TTranslationPair> Pairs;
};

const TCorpus& Corpus() {
  static const TCorpus corpus = [] {
    TCorpus result;
    TTextGenerator generator;
    std::mt19937 random(5);
    std::set<std::string> seen;
    while (result.Sources.size() < kEntries) {
      std::string text = generator.Text(random);
      if (text.find('\'') != std::string::npos || !seen.insert(text).second) continue;
      result.Pairs.push_back({"'" + text + "'", "'DE " + text + "'"});
      result.Sources.push_back(std::move(text));
    }
    return result;
  }();
  return corpus;
}

void AddAll() {
  const TCorpus& corpus = Corpus();
  for (std::size_t begin = 0; begin < corpus.Pairs.size(); begin += kBatch) {
    const auto first = corpus.Pairs.begin() + static_cast<std::ptrdiff_t>(begin);
    AddTranslations(kEnglish, kGerman,
                    std::vector<TTranslationPair>(first, first + static_cast<std::ptrdiff_t>(std::min(
                                                                     kBatch, corpus.Pairs.size() - begin))));
  }
}

// A repository of each store, filled once, kept for the process.
class TFilledRepository {
 public:
  explicit TFilledRepository(bool server) {
    if (server) {
      database_.emplace();
      location_ = database_->Uri();
    } else {
      location_ = dir_ / "repository.db";
    }
    SetRepositoryLocation(location_);
    AddAll();
    // What the server's autovacuum does soon after a bulk load: statistics for the planner, and the
    // visibility map that lets the index answer without visiting the table.
    if (database_) database_->Exec("VACUUM ANALYZE");
  }
  ~TFilledRepository() { SetRepositoryLocation(""); }
  void Use() const { SetRepositoryLocation(location_); }

 private:
  testing::TempDir dir_;
  std::optional<testing::TTestDatabase> database_;
  std::string location_;
};

const TFilledRepository& Filled(bool server) {
  static std::unique_ptr<TFilledRepository> stores[2];
  auto& store = stores[server ? 1 : 0];
  if (!store) store = std::make_unique<TFilledRepository>(server);
  return *store;
}

bool Skip(benchmark::State& state, bool server) {
  if (!server || testing::TTestDatabase::Available()) return false;
  state.SkipWithError(testing::TTestDatabase::kSkipReason);
  return true;
}

void BM_Add200000(benchmark::State& state, bool server) {
  if (Skip(state, server)) return;
  Corpus();
  for (auto _ : state) {
    state.PauseTiming();
    testing::TempDir dir;
    std::optional<testing::TTestDatabase> database;
    if (server) database.emplace();
    SetRepositoryLocation(server ? database->Uri() : dir / "repository.db");
    state.ResumeTiming();
    AddAll();
    state.PauseTiming();
    SetRepositoryLocation("");
    database.reset();
    state.ResumeTiming();
  }
  state.counters["entries/s"] =
      benchmark::Counter(static_cast<double>(kEntries * state.iterations()), benchmark::Counter::kIsRate);
}

void BM_ExactLookup(benchmark::State& state, bool server) {
  if (Skip(state, server)) return;
  Filled(server).Use();
  const TCorpus& corpus = Corpus();
  std::mt19937 random(9);
  std::size_t found = 0;
  for (auto _ : state) {
    std::string text = corpus.Pairs[random() % corpus.Pairs.size()].Original;
    found += GetTranslation(kEnglish, kGerman, text);
  }
  if (found != static_cast<std::size_t>(state.iterations()))
    state.SkipWithError("a stored original was not found");
  state.SetItemsProcessed(state.iterations());
}

void BM_SimilarLookup(benchmark::State& state, bool server) {
  if (Skip(state, server)) return;
  Filled(server).Use();
  const TCorpus& corpus = Corpus();
  TTextGenerator generator;
  std::mt19937 random(13);
  // Texts near stored ones, and new ones (a tenth).
  std::vector<std::string> asked;
  for (int i = 0; i < 500; ++i) {
    asked.push_back(i % 10 == 0 ? generator.Text(random)
                                : generator.Near(corpus.Sources[random() % corpus.Sources.size()], random));
  }
  std::size_t next = 0, suggestions = 0;
  for (auto _ : state) {
    suggestions += FindSimilarTranslations(kEnglish, kGerman, asked[next++ % asked.size()]).size();
  }
  state.counters["suggestions"] =
      static_cast<double>(suggestions) /
      static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
}

// The lookup of one command (vaq repository suggest): connecting, and the words' counts not known yet.
void BM_SimilarLookupFirst(benchmark::State& state, bool server) {
  if (Skip(state, server)) return;
  const TFilledRepository& filled = Filled(server);
  const TCorpus& corpus = Corpus();
  TTextGenerator generator;
  std::mt19937 random(17);
  for (auto _ : state) {
    state.PauseTiming();
    SetRepositoryLocation("");
    const std::string asked = generator.Near(corpus.Sources[random() % corpus.Sources.size()], random);
    state.ResumeTiming();
    filled.Use();
    benchmark::DoNotOptimize(FindSimilarTranslations(kEnglish, kGerman, asked));
  }
}

BENCHMARK_CAPTURE(BM_Add200000, File, false)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
BENCHMARK_CAPTURE(BM_Add200000, Server, true)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
BENCHMARK_CAPTURE(BM_ExactLookup, File, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ExactLookup, Server, true)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_SimilarLookup, File, false)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK_CAPTURE(BM_SimilarLookup, Server, true)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK_CAPTURE(BM_SimilarLookupFirst, File, false)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_SimilarLookupFirst, Server, true)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace vaq

BENCHMARK_MAIN();
