// The similarity lookup over either store.
//
// Which entries can reach the threshold m at all: the distance d of a stored source is at least the
// difference of the weights, and d <= (100 - m)% of the larger weight, so a stored source weighs
// between m% of the asked text's weight W and W / m%. And every word of the asked text that the
// stored source lacks (but for case) costs at least its own weight, so the words it holds must weigh
// at least W - U, where U = (100 - m)% of the largest weight possible. The rarest words of the asked
// text whose weights add up to more than U are then enough: every stored source that reaches m
// holds one of them. Those few words' entries are the candidates, and the exact distance decides.
#include <algorithm>
#include <map>
#include <numeric>

#include "host/core/similarity.h"
#include "repository_store.h"

namespace vaq::repository {
namespace {

// Counting a word's entries stops here: more than that is "common" enough to be chosen last.
constexpr int kCountCap = 50000;

}  // namespace

std::vector<TSuggestion> FindSimilar(TStore& Store, const TPair& Pair, TLCID TargetLocale,
                                     std::string_view Text, int MinSimilarity, std::size_t Limit) {
  const std::vector<TTextWord> asked = SimilarityWords(Text);
  const int weight = WordsWeight(asked);
  if (weight == 0 || Limit == 0) return {};
  const int minWeight = (weight * MinSimilarity + 99) / 100;
  const int maxWeight = weight * 100 / MinSimilarity;
  const int unmatched = (100 - MinSimilarity) * maxWeight / 100;
  const int needed = weight - unmatched;

  std::vector<TCandidate> candidates;
  if (needed <= 0) {
    // So low a threshold that a stored source need share no word: every one of a fitting weight.
    candidates = Store.WithWeight(Pair, minWeight, maxWeight);
  } else {
    std::map<std::string, int> weights;  // distinct indexed words and their weight in the text
    for (const TTextWord& word : asked) weights[IndexedWord(word.Folded)] += word.Weight;
    std::vector<std::string> words;
    for (const auto& [word, wordWeight] : weights) words.push_back(word);
    const std::vector<int> counts = Store.WordCounts(Pair, words, minWeight, maxWeight, kCountCap);
    std::vector<std::size_t> order(words.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
      if (counts[a] != counts[b]) return counts[a] < counts[b];
      return weights[words[a]] > weights[words[b]];  // of two as rare, the heavier covers more
    });
    std::vector<std::string> chosen;
    int remaining = weight;
    for (const std::size_t i : order) {
      if (remaining < needed) break;
      chosen.push_back(words[i]);
      remaining -= weights[words[i]];
    }
    candidates = Store.WithAnyWord(Pair, chosen, minWeight, maxWeight);
  }

  std::vector<TSuggestion> suggestions;
  for (TCandidate& candidate : candidates) {
    const int similarity = SimilarityPercent(asked, SimilarityWords(candidate.SourceText));
    if (similarity < MinSimilarity) continue;
    suggestions.push_back({similarity, std::move(candidate.Original), std::move(candidate.Translation),
                           std::move(candidate.SourceText), std::string(), candidate.LastUse});
  }
  std::sort(suggestions.begin(), suggestions.end(), [](const TSuggestion& a, const TSuggestion& b) {
    if (a.Similarity != b.Similarity) return a.Similarity > b.Similarity;
    if (a.LastUse != b.LastUse) return a.LastUse > b.LastUse;
    return a.Original < b.Original;
  });
  if (suggestions.size() > Limit) suggestions.resize(Limit);
  for (TSuggestion& suggestion : suggestions)
    suggestion.TranslationText = RepositoryText(TargetLocale, suggestion.Translation);
  return suggestions;
}

}  // namespace vaq::repository
