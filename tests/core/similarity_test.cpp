#include "host/core/similarity.h"

#include <gtest/gtest.h>

#include <random>

namespace vaq {
namespace {

std::vector<std::string> Texts(std::string_view text) {
  std::vector<std::string> result;
  for (const TTextWord& word : SimilarityWords(text)) result.push_back(word.Text);
  return result;
}

using Words = std::vector<std::string>;

TEST(SimilarityWords, AcceleratorsAndTrailingPunctuationDoNotCount) {
  EXPECT_EQ(Texts("&Save the orders..."), (Words{"Save", "the", "orders"}));
  EXPECT_EQ(Texts("Sa&ve"), (Words{"Save"}));
  EXPECT_EQ(Texts("Salt && Pepper"), (Words{"Salt", "&", "Pepper"}));
  EXPECT_EQ(Texts("Name:"), (Words{"Name"}));
  EXPECT_EQ(Texts("Open (read-only)"), (Words{"Open", "(", "read", "-", "only", ")"}));
  EXPECT_EQ(Texts("  Really?!  "), (Words{"Really"}));
  EXPECT_EQ(Texts("100 %"), (Words{"100", "%"}));
  EXPECT_EQ(Texts("Line one\r\nline two\t!"), (Words{"Line", "one", "line", "two"}));
  EXPECT_TRUE(Texts("&...").empty());
  // Where a word sits in the text, accelerator mark included: what a marked display needs.
  const std::vector<TTextWord> words = SimilarityWords("&Save all");
  EXPECT_EQ(words[0].Begin, 0u);
  EXPECT_EQ(words[0].End, 5u);
  EXPECT_EQ(words[0].Weight, 4);
  EXPECT_EQ(words[1].Begin, 6u);
}

TEST(SimilarityWords, JapaneseCharactersAreWordsCyrillicRunsAreWords) {
  // The accelerator in parentheses that Japanese translations add, and the ideographic full stop.
  EXPECT_EQ(Texts("ファイル(&F)..."), (Words{"フ", "ァ", "イ", "ル"}));
  EXPECT_EQ(Texts("ファイルを開く。"), (Words{"フ", "ァ", "イ", "ル", "を", "開", "く"}));
  EXPECT_EQ(Texts("データー"), (Words{"デ", "ー", "タ", "ー"}));
  EXPECT_EQ(Texts("Сохранить &заказы:"), (Words{"Сохранить", "заказы"}));
  EXPECT_EQ(SimilarityWords("Сохранить")[0].Weight, 9);
  EXPECT_EQ(Texts("Größe ändern"), (Words{"Größe", "ändern"}));
  EXPECT_EQ(SimilarityWords("ЗАКАЗЫ")[0].Folded, SimilarityWords("заказы")[0].Folded);
  EXPECT_EQ(SimilarityWords("GRÖSSE")[0].Folded, "grösse");
}

TEST(Similarity, WordsWeighTheirCharacters) {
  // One three-letter word of thirteen letters replaced.
  EXPECT_EQ(SimilarityPercent("Save the orders", "Save all orders"), 76);
  // One six-letter word of fourteen missing.
  EXPECT_EQ(SimilarityPercent("Print the orders", "Print the"), 57);
  // Case: one character each.
  EXPECT_EQ(SimilarityPercent("Open File", "open file"), 75);
  EXPECT_EQ(SimilarityPercent("&Save", "Save."), 100);
  EXPECT_EQ(SimilarityPercent("", "..."), 100);
  EXPECT_EQ(SimilarityPercent("Print", ""), 0);
  EXPECT_EQ(SimilarityPercent("ファイルを開く", "ファイルを閉じる"), 62);  // 3 of 8 characters differ
  EXPECT_EQ(SimilarityPercent("Сохранить заказы", "Сохранить все заказы"), 83);
}

// The distance never falls below the difference of the weights: the similarity lookup relies on it
// to look only at stored sources of a fitting weight.
TEST(Similarity, DistanceIsAtLeastTheWeightDifferenceAndSymmetric) {
  const std::vector<std::string> vocabulary = {"Save",   "save",   "SAVE",     "all",  "orders",
                                               "Order",  "&Print", "ファイル", "開く", "Заказы",
                                               "заказы", "-",      "…",        "x"};
  std::mt19937 random(7);
  for (int round = 0; round < 500; ++round) {
    std::string a, b;
    for (int i = static_cast<int>(random() % 5); i > 0; --i)
      a += vocabulary[random() % vocabulary.size()] + " ";
    for (int i = static_cast<int>(random() % 5); i > 0; --i)
      b += vocabulary[random() % vocabulary.size()] + " ";
    const auto x = SimilarityWords(a), y = SimilarityWords(b);
    const int distance = WordDistance(x, y);
    EXPECT_GE(distance, std::abs(WordsWeight(x) - WordsWeight(y))) << a << " | " << b;
    EXPECT_EQ(distance, WordDistance(y, x)) << a << " | " << b;
    EXPECT_EQ(WordDistance(x, x), 0);
  }
}

std::string Marked(std::string_view asked, std::string_view stored) {
  std::string result;
  for (const TWordDifference& word : DiffWords(asked, stored)) {
    if (!result.empty()) result += ' ';
    const std::string text(stored.substr(word.Begin, word.End - word.Begin));
    result += word.Differs ? "[" + text + "]" : text;
  }
  return result;
}

TEST(DiffWords, MarksTheStoredWordsThatDiffer) {
  EXPECT_EQ(Marked("Save all orders", "&Save the orders:"), "&Save [the] orders");
  EXPECT_EQ(Marked("Save orders", "Save all orders"), "Save [all] orders");
  EXPECT_EQ(Marked("Save all orders", "Save orders"), "Save orders");
  EXPECT_EQ(Marked("Open file", "Open File"), "Open [File]");
  EXPECT_EQ(Marked("ファイルを開く", "ファイルを閉じる(&C)"), "フ ァ イ ル を [閉] [じ] [る]");
  EXPECT_EQ(Marked("Сохранить заказы", "Сохранить все заказы"), "Сохранить [все] заказы");
  EXPECT_EQ(Marked("", "Print"), "[Print]");
  EXPECT_EQ(Marked("Print", ""), "");
}

}  // namespace
}  // namespace vaq
