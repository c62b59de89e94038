#include "host/core/search.h"

#include <gtest/gtest.h>

#include "host/core/files.h"
#include "host/core/locale.h"
#include "host/core/registration.h"
#include "host/core/translator_mgr.h"

namespace vaq {
namespace {

class NullMgr : public TVaqTranslatorMgr {
 public:
  void SaveStringList() override {}
  std::string NotesStringToString(const TVaqNotesString&, bool) const override { return {}; }
  TVaqNotesString StringToNotesString(std::string_view, std::string_view) const override { return {}; }
  std::string FileNameToNoteName(std::string_view FileName) const override { return std::string(FileName); }
};

TEST(SearchHooks, FoundCountsAndPassesEverythingThrough) {
  NullMgr mgr;
  bool cont = true;
  DoSearchStart(mgr, "a", "b", cont);
  EXPECT_TRUE(cont);
  DoSearchFound(mgr, "a", "text", "b", 3, 7, -1, 2, 0x0409, 0x0407, cont);
  EXPECT_EQ(mgr.FoundCount, 1) << "without a handler too";

  std::string seen;
  mgr.OnFound = [&](TVaqTranslatorMgr& sender, const std::string& search, const std::string& text,
                    const std::string& second, int column, int index, int row, int position, TLCID source,
                    TLCID target, bool& keepOn) {
    EXPECT_EQ(&sender, &mgr);
    seen = search + "|" + text + "|" + second + "|" + std::to_string(column) + "|" + std::to_string(index) +
           "|" + std::to_string(row) + "|" + std::to_string(position) + "|" + std::to_string(source) + "|" +
           std::to_string(target);
    keepOn = false;
  };
  DoSearchFound(mgr, "a", "text", "b", 3, 7, -1, 2, 0x0409, 0x0407, cont);
  EXPECT_EQ(mgr.FoundCount, 2);
  EXPECT_EQ(seen, "a|text|b|3|7|-1|2|1033|1031");
  EXPECT_FALSE(cont);
  cont = false;
  DoSearchStart(mgr, "a", "b", cont);
  DoSearchEnd(mgr, "a", "b", 2, cont);
  EXPECT_FALSE(cont);
  VaqSearchResults().BeginUpdate();
  VaqSearchResults().EndUpdate();
}

TEST(SearchHooks, LocalesFromTheLanguagesAndTheThread) {
  NullMgr mgr;
  mgr.Stats.SourceLang = "en-US";
  mgr.Stats.TargetLang = "DEU";
  InitSearchLocale(mgr);
  EXPECT_EQ(mgr.SearchState.SourceLocale, 0x0409u);
  EXPECT_EQ(mgr.SearchState.TargetLocale, 0x0407u);
  ScopedThreadLocale russian(0x0419);
  EXPECT_EQ(VaqDefaultLcid(), 0x0419u);
}

constexpr TLCID kGerman = 0x0407, kRussian = 0x0419, kHindi = 0x0439;  // 1252, 1251, UTF-8

TEST(VaqCompare, AcrossCodePages) {
  ASSERT_EQ(LCIDToCodePage(kHindi), 0u);
  const std::string privet1251 = "\xCF\xF0\xE8\xE2\xE5\xF2", upper1251 = "\xCF\xD0\xC8\xC2\xC5\xD2";
  const std::string privetUtf8 = WideStringToString(kHindi, u"Привет");
  const struct {
    TLCID LocaleA;
    std::string A;
    TLCID LocaleB;
    std::string B;
    int Str, Text;
  } cases[] = {
      {kRussian, privet1251, kHindi, privetUtf8, 0, 0},
      {kRussian, upper1251, kHindi, privetUtf8, -1, 0},
      {kRussian, privet1251, kGerman, privet1251, 1, 1},  // "П" against "Ï"
      {kGerman,
       "\xC4"
       "B",
       kGerman,
       "\xE4"
       "b",
       -1, 0},
      {kGerman,
       "\xC4"
       "B",
       kHindi,
       "\xC3\xA4"
       "b",
       -1, 0},
      {kGerman, "Zebra", kGerman, "\xE4", -1, -1},
      // ASCII: bytes, and folding to lower case ('_' lies between 'Z' and 'a').
      {kGerman, "abc", kRussian, "abc", 0, 0},
      {kGerman, "ABC", kRussian, "abc", -1, 0},
      {kGerman, "_", kGerman, "A", 1, -1},
      {kGerman, "a[", kGerman, "A_", 1, -1},
      {kGerman, "ab", kGerman, "abc", -1, -1},
      {kGerman, "", kGerman, "", 0, 0},
      {kGerman, "b", kGerman, "", 1, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.A + " / " + c.B);
    EXPECT_EQ(VaqCompareStr(c.LocaleA, c.A, c.LocaleB, c.B), c.Str);
    EXPECT_EQ(VaqCompareText(c.LocaleA, c.A, c.LocaleB, c.B), c.Text);
    EXPECT_EQ(VaqCompareStr(c.LocaleB, c.B, c.LocaleA, c.A), -c.Str);
    EXPECT_EQ(VaqCompareText(c.LocaleB, c.B, c.LocaleA, c.A), -c.Text);
  }
}

TEST(TrimPickLetter, RemovesAcceleratorMarks) {
  const std::pair<const char*, const char*> cases[] = {{"&File", "File"}, {"Save &as...", "Save as..."},
                                                       {"R&&D", "R&D"},   {"a&&&b", "a&b"},
                                                       {"End&", "End"},   {"&", ""},
                                                       {"&&", "&"},       {"", ""},
                                                       {"plain", "plain"}};
  for (const auto& [text, expected] : cases) EXPECT_EQ(TrimPickLetter(text), expected) << text;
}

TEST(IsWholeWord, LooksAtTheNeighbours) {
  // The match "cat" in each text, with the 1-based positions before and after it.
  const struct {
    const char* Text;
    int Start, End;
    bool Whole;
  } cases[] = {
      {"cat", 0, 4, true},
      {"a cat.", 2, 6, true},
      {"cats", 0, 4, false},
      {"_cat", 1, 5, false},
      {"9cat", 1, 5, false},
      {"\xE9"
       "cat",
       1, 5, false},
      {"cat\xE4", 0, 4, false},
      {"(cat)", 1, 5, true},
      {"cat", -1, 99, true},
      {"Bcat", 1, 5, false},
      {"cat-", 0, 4, true},
      {"catZ", 0, 4, false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsWholeWord(c.Text, c.Start, c.End), c.Whole) << c.Text;
}

class FileTypeRegistry : public ::testing::Test {
 protected:
  void SetUp() override { UnregisterVaqFileTypes(); }
  void TearDown() override { UnregisterVaqFileTypes(); }
  static void Register(const char* name, const char* extensions) {
    auto fileType = std::make_unique<TVaqFileType>();
    fileType->TypeName = name;
    fileType->Extensions = extensions;
    RegisterVaqFileType(std::move(fileType));
  }
};

TEST_F(FileTypeRegistry, FindsFileTypesByExtension) {
  Register("Forms", ".rux;.gox");
  Register("Texts", ".txq");
  ASSERT_EQ(VaqFileTypes.Count(), 2);
  const std::pair<const char*, int> cases[] = {{".rux", 0}, {".RUX", 0}, {".Gox", 0},   {".txq", 1},
                                               {"rux", -1}, {".ru", -1}, {".rux;", -1}, {"", -1}};
  for (const auto& [ext, index] : cases) EXPECT_EQ(VaqFileTypes.ExtIndexOf(ext), index) << ext;
  EXPECT_EQ(VaqFileTypes.ExtIndexOf(ExtractFileExt("/p/Main.GOX")), 0);

  EXPECT_EQ(GetVaqFileType(1)->TypeName, "Texts");
  EXPECT_EQ(GetVaqFileType(2), nullptr);
  EXPECT_EQ(GetVaqFileType(-1), nullptr);
  UnregisterVaqFileTypes();
  EXPECT_EQ(VaqFileTypes.Count(), 0);
  EXPECT_EQ(VaqFileTypes.ExtIndexOf(".rux"), -1);
  EXPECT_EQ(GetVaqFileType(0), nullptr);
}

}  // namespace
}  // namespace vaq
