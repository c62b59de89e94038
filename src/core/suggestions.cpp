// The similarity lookup over either store.
//
// Which entries can reach the threshold m at all: the distance d of a stored source is at least the
// difference of the weights, and d <= (100 - m)% of the larger weight, so a stored source weighs
// between m% of the asked text's weight W and W / m%. And every word of the asked text that the
// stored source lacks (but for case) costs at least its own weight, so the words it holds must weigh
// at least W - U, where U = (100 - m)% of the largest weight possible. Hence, when words of the
// asked text that weigh R together are left out of a set S, a stored source that reaches m holds
// words of S that weigh at least W - U - R. S takes the rarest words first, at least until R < W - U, and
// then more rare ones as long as their entries are few: each one raises the weight a candidate must hold,
// which spares fetching entries that share only a word or two. The index alone finds the entries
// that hold enough of S; the exact distance decides on those few.
#include <algorithm>
#include <map>
#include <numeric>

#include "host/core/similarity.h"
#include "repository_store.h"

namespace vaq::repository {
namespace {

// Entries of the index read for the words that are not needed but narrow the candidates down.
constexpr int kOptionalEntries = 15000;
// Words whose counts are kept at most; beyond, the counts start afresh.
constexpr std::size_t kCountsKept = 100000;

}  // namespace

std::vector<int> TWordCounts::Get(TStore& Store, const TPair& Pair, const std::vector<std::string>& Words) {
  const auto key = [&](const std::string& word) { return Pair.Source + '\t' + Pair.Target + '\t' + word; };
  std::vector<std::string> missing;
  for (const std::string& word : Words)
    if (!counts_.contains(key(word))) missing.push_back(word);
  if (!missing.empty()) {
    if (counts_.size() + missing.size() > kCountsKept) counts_.clear();
    const std::vector<int> counted = Store.WordCounts(Pair, missing, kCap);
    for (std::size_t i = 0; i < missing.size(); ++i) counts_[key(missing[i])] = counted.at(i);
  }
  std::vector<int> result;
  for (const std::string& word : Words) result.push_back(counts_.at(key(word)));
  return result;
}

std::vector<TSuggestion> FindSimilar(TStore& Store, TWordCounts& Counts, const TPair& Pair,
                                     TLCID TargetLocale, std::string_view Text, int MinSimilarity,
                                     std::size_t Limit) {
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
    const std::vector<int> counts = Counts.Get(Store, Pair, words);
    std::vector<std::size_t> order(words.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
      if (counts[a] != counts[b]) return counts[a] < counts[b];
      return weights[words[a]] > weights[words[b]];  // of two as rare, the heavier covers more
    });
    std::vector<std::string> chosen;
    std::vector<int> chosenWeights;
    int remaining = weight, entries = 0;
    for (const std::size_t i : order) {
      if (remaining < needed && (counts[i] >= TWordCounts::kCap || entries + counts[i] > kOptionalEntries))
        break;
      chosen.push_back(words[i]);
      chosenWeights.push_back(weights[words[i]]);
      remaining -= weights[words[i]];
      entries += counts[i];
    }
    candidates = Store.WithSharedWords(Pair, chosen, chosenWeights, minWeight, maxWeight, needed - remaining);
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
