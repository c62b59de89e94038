// The similarity lookup against both stores: ordered, bounded, in every code page, and complete
// (the index never hides a stored source that reaches the threshold).
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "core/repository_stores.h"
#include "host/core/errors.h"
#include "host/core/locale.h"
#include "host/core/similarity.h"

namespace vaq {
namespace {

constexpr TLCID kEnglish = 0x0409;
constexpr TLCID kGerman = 0x0407;
constexpr TLCID kRussian = 0x0419;
constexpr TLCID kJapanese = 0x0411;

// A form-text literal of a UTF-8 text in the locale's code page.
std::string Literal(TLCID lcid, std::string_view utf8) {
  return "'" + Utf8ToString(lcid, utf8) + "'";
}

using Suggestions = RepositoryStores;
VAQ_INSTANTIATE_FOR_BOTH_STORES(Suggestions);

TEST_P(Suggestions, BestFirstAboveTheThresholdAndBounded) {
  AddTranslations(kEnglish, kGerman,
                  {{"'Save the orders'", "'Die Bestellungen speichern'"},
                   {"'Save all orders'", "'Alle Bestellungen speichern'"},
                   {"'Save orders'", "'Bestellungen speichern'"},
                   {"'Print all orders'", "'Alle Bestellungen drucken'"},
                   {"'Delete the customer'", "'Den Kunden l\xF6schen'"}});

  std::vector<TSuggestion> found = FindSimilarTranslations(kEnglish, kGerman, "Save all orders", 50, 10);
  std::vector<std::pair<int, std::string>> seen;
  for (const TSuggestion& s : found) seen.emplace_back(s.Similarity, s.Original);
  EXPECT_EQ(seen, (std::vector<std::pair<int, std::string>>{{100, "'Save all orders'"},
                                                            {76, "'Save orders'"},
                                                            {76, "'Save the orders'"},
                                                            {64, "'Print all orders'"}}));
  EXPECT_EQ(found[0].Translation, "'Alle Bestellungen speichern'");
  EXPECT_EQ(found[0].SourceText, "Save all orders");
  EXPECT_EQ(found[0].TranslationText, "Alle Bestellungen speichern");
  EXPECT_EQ(found[0].LastUse, 46000.5);

  // The default threshold of 75%, and a limit.
  EXPECT_EQ(FindSimilarTranslations(kEnglish, kGerman, "Save all orders").size(), 3u);
  found = FindSimilarTranslations(kEnglish, kGerman, "Save all orders", 50, 2);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[1].Original, "'Save orders'");

  // Of two as similar, the more recently used first.
  AddTranslation(kEnglish, kGerman, "'Open the file'",
                 "'Die Datei \xF6"
                 "ffnen'");
  now_ += 1;
  AddTranslation(kEnglish, kGerman, "'Open our file'",
                 "'Unsere Datei \xF6"
                 "ffnen'");
  found = FindSimilarTranslations(kEnglish, kGerman, "Open a file", 60);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].Original, "'Open our file'");
  EXPECT_EQ(found[0].Similarity, 72);
  EXPECT_EQ(found[1].Similarity, 72);
  EXPECT_EQ(found[1].TranslationText, "Die Datei öffnen");

  EXPECT_TRUE(FindSimilarTranslations(kEnglish, kGerman, "Export", 50).empty());
  EXPECT_TRUE(FindSimilarTranslations(kEnglish, kGerman, "...").empty());
  EXPECT_TRUE(FindSimilarTranslations(kEnglish, kGerman, "Save all orders", 75, 0).empty());
  EXPECT_TRUE(FindSimilarTranslations(kGerman, kEnglish, "Save all orders").empty());
  EXPECT_THROW(FindSimilarTranslations(kEnglish, kGerman, "Save", 0), EVaqError);
  EXPECT_THROW(FindSimilarTranslations(kEnglish, kGerman, "Save", 101), EVaqError);
}

TEST_P(Suggestions, AcceleratorsCaseAndTrailingPunctuationBarelyCount) {
  AddTranslation(kEnglish, kGerman, "'&Save as...'", "'&Speichern unter...'");
  AddTranslation(kEnglish, kGerman, "'Customer &name:'", "'Kunden&name:'");
  const std::vector<TSuggestion> save = FindSimilarTranslations(kEnglish, kGerman, "Save as");
  ASSERT_EQ(save.size(), 1u);
  EXPECT_EQ(save[0].Similarity, 100);
  EXPECT_EQ(save[0].SourceText, "&Save as...");
  const std::vector<TSuggestion> name = FindSimilarTranslations(kEnglish, kGerman, "customer Name");
  ASSERT_EQ(name.size(), 1u);
  EXPECT_EQ(name[0].Similarity, 83);  // two letters of twelve in other case
  // Exact lookups stay exact.
  std::string text = "'Save as'";
  EXPECT_FALSE(GetTranslation(kEnglish, kGerman, text));
}

// Sources in the code pages of Western, Cyrillic and Japanese notes are compared as Unicode text.
TEST_P(Suggestions, SourcesOfEveryCodePageAreComparedAsText) {
  AddTranslation(kGerman, kEnglish, Literal(kGerman, "Gr\u00f6\u00dfe \u00e4ndern..."), "'Resize...'");
  AddTranslation(kRussian, kGerman, Literal(kRussian, "Сохранить все заказы"),
                 Literal(kGerman, "Alle Bestellungen speichern"));
  AddTranslation(kJapanese, kRussian, Literal(kJapanese, "ファイルを開く(&O)..."),
                 Literal(kRussian, "&Открыть файл..."));
  // A character the code page lacks travels as a #nnnn code.
  AddTranslation(kRussian, kEnglish, "'Cyrillic '#1046' and '#9733", "'Star'");

  std::vector<TSuggestion> found = FindSimilarTranslations(kGerman, kEnglish, "größe Ändern");
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].SourceText, "Größe ändern...");
  EXPECT_EQ(found[0].Similarity, 81);

  found = FindSimilarTranslations(kRussian, kGerman, "Сохранить заказы");
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].Similarity, 83);
  EXPECT_EQ(found[0].SourceText, "Сохранить все заказы");

  found = FindSimilarTranslations(kJapanese, kRussian, "ファイルを開きます", 60);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].SourceText, "ファイルを開く(&O)...");
  EXPECT_EQ(found[0].TranslationText, "&Открыть файл...");
  EXPECT_EQ(found[0].Similarity, 66);  // 6 of 9 characters alike

  found = FindSimilarTranslations(kRussian, kEnglish, "Cyrillic Ж and ★");
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].Similarity, 100);
  EXPECT_EQ(RepositoryText(kRussian, "'Cyrillic '#1046' and '#9733"), "Cyrillic Ж and ★");
}

// Whatever the threshold, the lookup finds exactly what comparing the asked text with every stored
// source would find: a generated repository of near-duplicates, and texts asked that are stored,
// changed or new.
TEST_P(Suggestions, FindsWhatComparingWithEverySourceFinds) {
  const std::vector<std::string> vocabulary = {
      "Save", "save",     "&Open",  "file",  "File",    "orders",   "order", "all",
      "the",  "customer", "Delete", "print", "preview", "of",       "a",     "to",
      "new",  "Name:",    "...",    "-",     "invoice", "Invoices", "total", "x"};
  std::mt19937 random(11);
  const auto text = [&] {
    std::string result;
    for (int i = 1 + static_cast<int>(random() % 6); i > 0; --i) {
      if (!result.empty()) result += ' ';
      result += vocabulary[random() % vocabulary.size()];
    }
    return result;
  };
  std::vector<TTranslationPair> pairs;
  std::vector<std::string> sources;
  for (int i = 0; i < 1500; ++i) {
    sources.push_back(text());
    pairs.push_back({"'" + sources.back() + "'", "'T" + std::to_string(i) + "'"});
  }
  AddTranslations(kEnglish, kGerman, pairs);
  const std::vector<TRepositoryEntry> stored = ListTranslations(kEnglish, kGerman);

  std::vector<std::string> asked;
  for (int i = 0; i < 15; ++i) asked.push_back(sources[random() % sources.size()]);
  for (int i = 0; i < 15; ++i) asked.push_back(text());
  for (const int min : {50, 60, 75, 90}) {
    for (const std::string& question : asked) {
      if (SimilarityWords(question).empty()) continue;  // nothing to compare: no suggestions
      std::map<std::string, int> expected;
      for (const TRepositoryEntry& entry : stored) {
        const int similarity = SimilarityPercent(question, RepositoryText(kEnglish, entry.Original));
        if (similarity >= min) expected[entry.Original] = similarity;
      }
      std::map<std::string, int> found;
      for (const TSuggestion& s : FindSimilarTranslations(kEnglish, kGerman, question, min, 100000))
        found[s.Original] = s.Similarity;
      EXPECT_EQ(found, expected) << "\"" << question << "\" at " << min << "%";
    }
  }
}

}  // namespace
}  // namespace vaq
