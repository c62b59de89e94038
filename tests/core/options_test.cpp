#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/flags.h"
#include "host/core/options.h"
#include "host/core/registry.h"
#include "support/temp_dir.h"

namespace vaq {
namespace {

class Options : public ::testing::Test {
 protected:
  void TearDown() override { VaqINTOptionProps.ClearOverrides(); }
  static void Store(const char* name, std::int64_t value) {
    TRegistry registry;
    registry.OpenKey(VaqBaseRegKey + "\\Options", true);
    registry.WriteInteger(name, value);
  }
  testing::TempDir config_{testing::TempDir::kConfig};
};

TEST_F(Options, DefaultsWithoutAStore) {
  EXPECT_FALSE(VaqINTOptionProps.GetBool(kOptUseRepositoryOnUpdate));
  EXPECT_FALSE(VaqINTOptionProps.GetBool(kOptRefreshWithoutAsking));
  EXPECT_EQ(VaqINTOptionProps.Get("display grid"), TOptionValue(true));
  EXPECT_EQ(VaqINTOptionProps.Get("Snap to Grid"), TOptionValue(true));
  EXPECT_EQ(VaqINTOptionProps.GetInteger(kOptGridSizeX), 8);
  EXPECT_EQ(VaqINTOptionProps.GetInteger(kOptGridSizeY), 8);
  EXPECT_FALSE(FileExists(VaqRegistryFile()));
  for (const TOptionEntry& entry : VaqINTOptionProps.Entries()) {
    EXPECT_EQ(&VaqINTOptionProps.Entry(entry.Name), &entry);
    EXPECT_EQ(entry.Default.index(), static_cast<std::size_t>(entry.Kind)) << entry.Name;
  }
}

TEST_F(Options, StoredValuesWinOverDefaults) {
  Store("Grid Size X", 12);
  Store("Display Grid", 0);  // an integer where a Boolean belongs: the default applies
  VaqINTOptionProps.Reload();
  EXPECT_EQ(VaqINTOptionProps.GetInteger(kOptGridSizeX), 12);
  EXPECT_TRUE(VaqINTOptionProps.GetBool(kOptDisplayGrid));
}

TEST_F(Options, SetWritesThroughAndIsSeenAtOnce) {
  EXPECT_EQ(VaqINTOptionProps.GetInteger(kOptGridSizeY), 8);  // fills the cache
  VaqINTOptionProps.Set(kOptGridSizeY, std::int64_t{16});
  VaqINTOptionProps.Set("usErepositoryonupdate", true);
  EXPECT_EQ(VaqINTOptionProps.GetInteger(kOptGridSizeY), 16);
  EXPECT_TRUE(VaqINTOptionProps.GetBool(kOptUseRepositoryOnUpdate));
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKey(VaqBaseRegKey + "\\Options", false));
  EXPECT_EQ(registry.ReadInteger("Grid Size Y"), 16);
  EXPECT_TRUE(registry.ReadBool("UseRepositoryOnUpdate"));
}

TEST_F(Options, OverrideIsForThisProcessOnly) {
  VaqINTOptionProps.SetOverride(kOptUseRepositoryOnUpdate, true);
  EXPECT_TRUE(VaqINTOptionProps.GetBool(kOptUseRepositoryOnUpdate));
  EXPECT_FALSE(FileExists(VaqRegistryFile()));
  VaqINTOptionProps.Set(kOptUseRepositoryOnUpdate, false);
  EXPECT_TRUE(VaqINTOptionProps.GetBool(kOptUseRepositoryOnUpdate));
  VaqINTOptionProps.ClearOverride(kOptUseRepositoryOnUpdate);
  EXPECT_FALSE(VaqINTOptionProps.GetBool(kOptUseRepositoryOnUpdate));
}

TEST_F(Options, WrongKindAndUnknownEntriesRaise) {
  EXPECT_THROW(VaqINTOptionProps.Set(kOptDisplayGrid, std::int64_t{1}), EVaqError);
  EXPECT_THROW(VaqINTOptionProps.Set(kOptGridSizeX, std::string("8")), EVaqError);
  EXPECT_THROW(VaqINTOptionProps.SetOverride(kOptGridSizeX, true), EVaqError);
  EXPECT_THROW(VaqINTOptionProps.GetBool(kOptGridSizeX), EVaqError);
  EXPECT_FALSE(FileExists(VaqRegistryFile()));
  try {
    VaqINTOptionProps.Get("Grid Size Z");
    FAIL() << "no exception";
  } catch (const EVaqError& error) {
    EXPECT_NE(std::string(error.what()).find("Grid Size Z"), std::string::npos);
  }
  try {
    VaqINTOptionProps.Set(39, true);
    FAIL() << "no exception";
  } catch (const EVaqError& error) {
    EXPECT_NE(std::string(error.what()).find("39"), std::string::npos);
  }
}

}  // namespace
}  // namespace vaq
