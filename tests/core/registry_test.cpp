#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <limits>

#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/registry.h"

namespace vaq {
namespace {

constexpr const char* kKey = "Software\\Vaq\\Translator\\RUX";

class Registry : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vaq-registry-XXXXXX";
    dir_ = mkdtemp(pattern);
    setenv("VAQ_CONFIG_DIR", (dir_ + "/config").c_str(), 1);
  }
  void TearDown() override {
    unsetenv("VAQ_CONFIG_DIR");
    std::filesystem::remove_all(dir_);
  }
  std::string dir_;
};

TEST_F(Registry, ConfigFolderFollowsTheEnvironment) {
  EXPECT_EQ(VaqConfigDir(), dir_ + "/config");
  EXPECT_EQ(VaqRegistryFile(), dir_ + "/config/registry.ini");
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = xdg ? xdg : "";
  unsetenv("VAQ_CONFIG_DIR");
  setenv("XDG_CONFIG_HOME", "/x/cfg", 1);
  EXPECT_EQ(VaqConfigDir(), "/x/cfg/vaq");
  unsetenv("XDG_CONFIG_HOME");
  setenv("HOME", std::getenv("HOME") ? std::getenv("HOME") : "/nonexistent", 1);
  EXPECT_EQ(VaqConfigDir(), std::string(std::getenv("HOME")) + "/.config/vaq");
  if (xdg) setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
}

TEST_F(Registry, ValuesOfTheThreeKindsSurviveTheFile) {
  const std::string text = "line 1\r\nline 2\n[x]=y\\z;\xE4\xFF\x01";
  {
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(kKey, true));
    registry.WriteBool("Flag", true);
    registry.WriteBool("Off", false);
    registry.WriteInteger("Min", std::numeric_limits<std::int64_t>::min());
    registry.WriteInteger("Max", std::numeric_limits<std::int64_t>::max());
    registry.WriteString("Text", text);
    registry.WriteString("Empty", "");
    registry.WriteString("odd=[name]\\;", "v");
  }
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKey(kKey, false));
  EXPECT_TRUE(registry.ReadBool("Flag"));
  EXPECT_FALSE(registry.ReadBool("Off"));
  EXPECT_EQ(registry.ReadInteger("Min"), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(registry.ReadInteger("Max"), std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(registry.ReadString("Text"), text);
  EXPECT_EQ(registry.ReadString("Empty"), "");
  EXPECT_EQ(registry.ReadString("odd=[name]\\;"), "v");
  EXPECT_EQ(registry.GetValueNames().size(), 7u);
  // One section, one line per value: the text's line breaks are escaped.
  EXPECT_EQ(LoadLines(VaqRegistryFile()).size(), 8u);
}

TEST_F(Registry, KeysAndNamesIgnoreCase) {
  TRegistry writer;
  writer.OpenKey(kKey, true);
  writer.WriteInteger("Grid Size", 8);
  writer.WriteInteger("GRID SIZE", 9);  // replaces, does not add
  TRegistry reader;
  ASSERT_TRUE(reader.OpenKey("\\software\\VAQ\\translator\\rux\\", false));
  EXPECT_EQ(reader.ReadInteger("grid size"), 9);
  EXPECT_EQ(reader.GetValueNames().size(), 1u);
}

TEST_F(Registry, OpenKeyWithoutCreateDoesNotCreate) {
  TRegistry registry;
  EXPECT_FALSE(registry.OpenKey(kKey, false));
  EXPECT_FALSE(FileExists(VaqRegistryFile()));
  EXPECT_THROW(registry.WriteBool("Flag", true), EVaqError);
  ASSERT_TRUE(registry.OpenKey(kKey, true));
  EXPECT_TRUE(FileExists(VaqRegistryFile()));
  TRegistry other;
  EXPECT_TRUE(other.OpenKey(kKey, false));
  EXPECT_TRUE(other.OpenKey("Software\\Vaq", false));  // a parent of an existing key
  EXPECT_FALSE(other.OpenKey("Software\\Va", false));
  EXPECT_FALSE(other.OpenKey(std::string(kKey) + "\\Deeper", false));
}

TEST_F(Registry, MissingValueOrOtherKindNamesKeyAndValue) {
  TRegistry registry;
  registry.OpenKey(kKey, true);
  registry.WriteInteger("Count", 3);
  EXPECT_FALSE(registry.ValueExists("Nothing"));
  try {
    registry.ReadBool("Count");
    FAIL() << "no exception";
  } catch (const EVaqError& error) {
    EXPECT_NE(std::string(error.what()).find("Count"), std::string::npos);
    EXPECT_NE(std::string(error.what()).find(kKey), std::string::npos);
  }
  EXPECT_THROW(registry.ReadString("Count"), EVaqError);
  EXPECT_THROW(registry.ReadInteger("Nothing"), EVaqError);
}

TEST_F(Registry, TwoWritersKeepEachOthersValues) {
  TRegistry first;
  TRegistry second;
  first.OpenKey(kKey, true);
  second.OpenKey(kKey, true);
  first.WriteInteger("A", 1);
  second.WriteInteger("B", 2);
  second.OpenKey("Other", true);
  second.WriteBool("C", true);
  first.WriteInteger("A", 3);
  TRegistry reader;
  reader.OpenKey(kKey, false);
  EXPECT_EQ(reader.ReadInteger("A"), 3);
  EXPECT_EQ(reader.ReadInteger("B"), 2);
  reader.OpenKey("other", false);
  EXPECT_TRUE(reader.ReadBool("C"));
  EXPECT_TRUE(first.DeleteValue("a"));
  EXPECT_FALSE(first.DeleteValue("A"));
  EXPECT_FALSE(first.ValueExists("A"));
  EXPECT_TRUE(first.ValueExists("B"));
}

TEST_F(Registry, MalformedLinesAreIgnoredAndKept) {
  ForceDirectories(VaqConfigDir());
  WriteFileAtomic(VaqRegistryFile(),
                  "garbage\n[Software\\Vaq\\Translator\\RUX]\nNoKind=42\nBad=int:4x\nEsc=str:a\\qb\n"
                  "=bool:1\nTrail=str:\\\nGood=bool:1\n[broken\n");
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKey(kKey, false));
  EXPECT_EQ(registry.GetValueNames(), std::vector<std::string>{"Good"});
  EXPECT_TRUE(registry.ReadBool("Good"));
  registry.WriteInteger("Bad", 5);
  const std::string data = ReadFileBytes(VaqRegistryFile());
  for (const char* kept : {"garbage\n", "NoKind=42\n", "Bad=int:4x\n", "Esc=str:a\\qb\n", "[broken\n"})
    EXPECT_NE(data.find(kept), std::string::npos) << kept;
  EXPECT_EQ(registry.ReadInteger("Bad"), 5);
}

}  // namespace
}  // namespace vaq
