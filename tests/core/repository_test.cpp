#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/repository.h"
#include "support/temp_dir.h"

namespace vaq {
namespace {

constexpr TLCID kEnglish = 0x0409;
constexpr TLCID kGerman = 0x0407;
constexpr TLCID kFrench = 0x040C;

class Repository : public ::testing::Test {
 protected:
  void SetUp() override {
    SetRepositoryFile(file_);
    SetVaqClock([this] { return now_; });
  }
  void TearDown() override {
    SetRepositoryFile("");
    SetVaqClock({});
  }
  static std::string Lookup(TLCID source, TLCID target, std::string text) {
    return GetTranslation(source, target, text) ? text : "<none>";
  }
  testing::TempDir dir_{testing::TempDir::kConfig};
  std::string file_ = dir_ / "sub/repo.db";
  TDateTime now_ = 46000.5;
};

TEST_F(Repository, OnlyAnExactMatchIsFound) {
  const std::string bytes("'\xC4rger\0x'", 9);
  AddTranslation(kEnglish, kGerman, "'Orders'", "'Bestellungen'");
  AddTranslation(kEnglish, kGerman, bytes,
                 "'\xDC"
                 "bel'");
  EXPECT_EQ(Lookup(kEnglish, kGerman, "'Orders'"), "'Bestellungen'");
  EXPECT_EQ(Lookup(kEnglish, kGerman, bytes),
            "'\xDC"
            "bel'");
  EXPECT_EQ(Lookup(kEnglish, kGerman, "'orders'"), "<none>");
  EXPECT_EQ(Lookup(kEnglish, kGerman, "'Orders' "), "<none>");
  EXPECT_EQ(Lookup(kEnglish, kGerman, std::string(bytes, 0, 7)), "<none>");
  EXPECT_EQ(Lookup(kGerman, kEnglish, "'Orders'"), "<none>");
  EXPECT_EQ(Lookup(kEnglish, kFrench, "'Orders'"), "<none>");
  EXPECT_EQ(ListTranslations().front().Source, "en-US");
}

TEST_F(Repository, MostRecentlyUsedTranslationWins) {
  AddTranslation(kEnglish, kGerman, "'Open'", "'Offen'");
  now_ += 1;
  AddTranslation(kEnglish, kGerman, "'Open'",
                 "'\xD6"
                 "ffnen'");
  EXPECT_EQ(Lookup(kEnglish, kGerman, "'Open'"),
            "'\xD6"
            "ffnen'");
  now_ += 1;
  AddTranslation(kEnglish, kGerman, "'Open'", "'Offen'");  // used again: refreshed, not duplicated
  EXPECT_EQ(Lookup(kEnglish, kGerman, "'Open'"), "'Offen'");
  const auto entries = ListTranslations(kEnglish, kGerman);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0], (TRepositoryEntry{"en-US", "de-DE", "'Open'", "'Offen'", 46002.5}));
  EXPECT_EQ(entries[1].LastUse, 46001.5);
}

TEST_F(Repository, MissingDatabaseFindsNothingAndStaysMissing) {
  EXPECT_EQ(Lookup(kEnglish, kGerman, "'Orders'"), "<none>");
  EXPECT_TRUE(ListTranslations().empty());
  EXPECT_EQ(RemoveTranslations(kEnglish, kGerman), 0);
  EXPECT_FALSE(FileExists(file_));
  AddTranslation(kEnglish, kGerman, "'Orders'", "'Bestellungen'");  // creates the folder and file
  EXPECT_TRUE(FileExists(file_));
  EXPECT_EQ(Lookup(kEnglish, kGerman, "'Orders'"), "'Bestellungen'");
}

TEST_F(Repository, NotADatabaseRaisesFileErrorNamingIt) {
  const std::string junk = dir_ / "junk.db";
  WriteFileAtomic(junk, std::string(4096, 'x'));
  SetRepositoryFile(junk);
  try {
    std::string text = "'Orders'";
    GetTranslation(kEnglish, kGerman, text);
    FAIL() << "no exception";
  } catch (const EFileError& error) {
    EXPECT_NE(std::string(error.what()).find(junk), std::string::npos) << error.what();
  }
  EXPECT_THROW(AddTranslation(kEnglish, kGerman, "a", "b"), EFileError);
}

TEST_F(Repository, RemoveCountsWhatWent) {
  AddTranslation(kEnglish, kGerman, "'A'", "'A1'");
  AddTranslation(kEnglish, kGerman, "'A'", "'A2'");
  AddTranslation(kEnglish, kGerman, "'B'", "'B1'");
  AddTranslation(kEnglish, kFrench, "'A'", "'A3'");
  EXPECT_EQ(RemoveTranslations(kEnglish, kGerman, std::string("'A'")), 2);
  EXPECT_EQ(RemoveTranslations(kEnglish, kGerman, std::string("'A'")), 0);
  EXPECT_EQ(RemoveTranslations(kEnglish, kGerman), 1);
  EXPECT_EQ(Lookup(kEnglish, kFrench, "'A'"), "'A3'");
  EXPECT_EQ(ListTranslations().size(), 1u);
}

TEST_F(Repository, TransactionKeepsOrDropsItsWrites) {
  {
    TRepositoryTransaction transaction;
    AddTranslation(kEnglish, kGerman, "'A'", "'A1'");
  }
  EXPECT_EQ(Lookup(kEnglish, kGerman, "'A'"), "<none>");
  {
    TRepositoryTransaction transaction;
    AddTranslation(kEnglish, kGerman, "'A'", "'A1'");
    AddTranslation(kEnglish, kGerman, "'B'", "'B1'");
    transaction.Commit();
  }
  EXPECT_EQ(ListTranslations().size(), 2u);
  EXPECT_THROW(AddTranslation(0, kGerman, "'A'", "'A1'"), EVaqError);
}

}  // namespace
}  // namespace vaq
