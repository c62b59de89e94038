// Resource trees of small PE images built here, and damaged images that must fail cleanly.
#include "host/core/exe_image.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <variant>
#include <vector>

#include "host/core/errors.h"

namespace vaq {
namespace {

using TKey = std::variant<int, std::u16string>;  // an id or a name
struct TType {
  TKey Key;
  std::vector<TKey> Names;
};

class TBytes {
 public:
  void Put(std::size_t at, std::uint64_t value, int size) {
    if (data.size() < at + size) data.resize(at + size);
    for (int i = 0; i < size; ++i) data[at + i] = static_cast<char>(value >> (8 * i));
  }
  std::string data;
};

constexpr std::size_t kRsrcOffset = 0x200, kRsrcRva = 0x1000;

// Root, type and name directories, one language each, then the data entries, names and data.
std::string ResourceSection(const std::vector<TType>& types) {
  std::size_t dirs = 16 + 8 * types.size(), leaves = 0;
  for (const TType& t : types) {
    dirs += 16 + 8 * t.Names.size();
    dirs += t.Names.size() * (16 + 8);
    leaves += t.Names.size();
  }
  TBytes r;
  std::size_t nextDir = 16 + 8 * types.size(), nextData = dirs, nextName = dirs + 16 * leaves;
  auto entry = [&](std::size_t at, const TKey& key, std::uint32_t target) {
    if (const int* id = std::get_if<int>(&key)) {
      r.Put(at, *id, 4);
    } else {
      const std::u16string& name = std::get<std::u16string>(key);
      r.Put(at, 0x80000000u | nextName, 4);
      r.Put(nextName, name.size(), 2);
      for (char16_t c : name) r.Put(nextName += 2, c, 2);
      nextName += 2;
    }
    r.Put(at + 4, target, 4);
  };
  auto directory = [&](std::size_t at, const std::vector<TKey>& keys) {
    const auto named = std::ranges::count_if(keys, [](const TKey& k) { return k.index() == 1; });
    r.Put(at, 0, 8);  // characteristics, time stamp, version
    r.Put(at + 8, 0, 4);
    r.Put(at + 12, named, 2);
    r.Put(at + 14, keys.size() - named, 2);
  };
  // Directories are laid out first so that names land after them.
  std::vector<TKey> typeKeys;
  for (const TType& t : types) typeKeys.push_back(t.Key);
  directory(0, typeKeys);
  for (std::size_t i = 0; i < types.size(); ++i) {
    const std::size_t typeDir = nextDir;
    nextDir += 16 + 8 * types[i].Names.size();
    entry(16 + 8 * i, types[i].Key, 0x80000000u | typeDir);
    directory(typeDir, types[i].Names);
    for (std::size_t j = 0; j < types[i].Names.size(); ++j) {
      const std::size_t nameDir = nextDir;
      nextDir += 16 + 8;
      entry(typeDir + 16 + 8 * j, types[i].Names[j], 0x80000000u | nameDir);
      directory(nameDir, {0x409});
      entry(nameDir + 16, 0x409, nextData);
      r.Put(nextData, kRsrcRva + 0x800, 4);  // data RVA, size, code page
      r.Put(nextData + 4, 4, 4);
      nextData += 16;
    }
  }
  r.Put(nextName + 8, 0, 4);  // the data itself
  return r.data;
}

std::string Image(bool pe64, const std::string& rsrc) {
  TBytes b;
  b.data = "MZ";
  b.data.resize(kRsrcOffset);
  b.Put(0x3C, 0x40, 4);
  b.data.replace(0x40, 4, std::string("PE\0\0", 4));
  const std::size_t optionalSize = pe64 ? 240 : 224, optional = 0x40 + 24;
  b.Put(0x44, pe64 ? 0x8664 : 0x14C, 2);
  b.Put(0x46, 1, 2);  // one section
  b.Put(0x54, optionalSize, 2);
  b.Put(optional, pe64 ? 0x20B : 0x10B, 2);
  const std::size_t dirs = optional + (pe64 ? 112 : 96);
  b.Put(dirs - 4, 16, 4);
  b.Put(dirs + 16, kRsrcRva, 4);
  b.Put(dirs + 20, rsrc.size(), 4);
  const std::size_t section = optional + optionalSize;
  b.data.replace(section, 6, ".rsrc\0", 6);
  b.Put(section + 8, rsrc.size(), 4);
  b.Put(section + 12, kRsrcRva, 4);
  b.Put(section + 16, rsrc.size(), 4);
  b.Put(section + 20, kRsrcOffset, 4);
  return b.data + rsrc;
}

const std::vector<TType> kForms = {{10, {u"TFORM1", u"TABOUTBOX"}}, {3, {7}}, {u"CUSTOM", {1}}};

class ExeImage : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("vaq-exe-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string Write(const std::string& bytes) {
    const auto path = (dir_ / "image.exe").string();
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    return path;
  }

  // The message of the EVaqError that reading `bytes` raises, or "" when it reads. Only the file
  // route is checked once: writing a file per case would dominate the run.
  std::string Error(const std::string& bytes, bool fromFile = false) {
    const std::string path = fromFile ? Write(bytes) : "memory.exe";
    try {
      if (fromFile) {
        TExeImage image(path);
      } else {
        TExeImage image(path, bytes);
      }
    } catch (const EVaqError& e) {
      EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
      return e.what();
    }
    return "";
  }

  std::filesystem::path dir_;
};

TEST_F(ExeImage, ReadsTypesAndNamesOf32And64BitImages) {
  for (bool pe64 : {false, true}) {
    SCOPED_TRACE(pe64);
    const TExeImage image(Write(Image(pe64, ResourceSection(kForms))));
    const TResourceList& types = image.GetResourceList();
    ASSERT_EQ(types.size(), 3u);
    EXPECT_TRUE(types[0].IsDirectory);
    EXPECT_EQ(types[0].ResType, 10);
    EXPECT_EQ(types[0].Name, "10");
    ASSERT_EQ(types[0].List.size(), 2u);
    EXPECT_EQ(types[0].List[0].Name, "TFORM1");
    EXPECT_EQ(types[0].List[1].Name, "TABOUTBOX");
    EXPECT_EQ(types[0].List[1].ResType, 10);
    EXPECT_FALSE(types[0].List[1].IsDirectory);
    ASSERT_EQ(types[1].List.size(), 1u);
    EXPECT_EQ(types[1].ResType, 3);
    EXPECT_EQ(types[1].List[0].Name, "7");
    EXPECT_EQ(types[2].ResType, 0);
    EXPECT_EQ(types[2].Name, "CUSTOM");
  }
}

TEST_F(ExeImage, NonAsciiNamesBecomeUtf8) {
  const TExeImage image(Write(Image(false, ResourceSection({{10, {u"T\u00C4\u0416"}}}))));
  EXPECT_EQ(image.GetResourceList().at(0).List.at(0).Name, "T\xC3\x84\xD0\x96");
}

TEST_F(ExeImage, EveryTruncationFailsCleanly) {
  const std::string full = Image(true, ResourceSection(kForms));
  ASSERT_EQ(Error(full), "");
  for (std::size_t length = 0; length < full.size(); ++length)
    EXPECT_NE(Error(full.substr(0, length)), "") << length;
}

TEST_F(ExeImage, DamagedImages) {
  const std::string good = Image(false, ResourceSection(kForms));
  auto patched = [&](std::size_t at, std::uint64_t value, int size) {
    TBytes b;
    b.data = good;
    b.Put(at, value, size);
    return b.data;
  };
  EXPECT_NE(Error(patched(0, 'Z', 1), true).find("DOS"), std::string::npos);
  EXPECT_NE(Error(patched(0x40, 'X', 1)).find("PE"), std::string::npos);
  EXPECT_NE(Error(patched(0x3C, 0xFFFFFFF0u, 4)).find("PE"), std::string::npos);
  EXPECT_NE(Error(patched(0x58, 0x999, 2)).find("magic"), std::string::npos);
  // The first type's entry points back at the root.
  EXPECT_NE(Error(patched(kRsrcOffset + 16 + 4, 0x80000000u, 4)).find("loop"), std::string::npos);
  // The root claims 65535 + 65535 entries.
  EXPECT_NE(Error(patched(kRsrcOffset + 12, 0xFFFFFFFFu, 4)).find("count"), std::string::npos);
  // A language entry that is a directory again (the first name directory is at 0x48).
  EXPECT_NE(Error(patched(kRsrcOffset + 0x58 + 4, 0x80000000u | 0x28, 4)).find("deeper"), std::string::npos);
  // The first name's offset beyond the section.
  EXPECT_NE(Error(patched(kRsrcOffset + 0x38, 0xFFFFFFFFu, 4)).find("name"), std::string::npos);
}

TEST_F(ExeImage, MissingFileAndImageWithoutResources) {
  EXPECT_THROW(TExeImage((dir_ / "missing.exe").string()), EFileError);
  TBytes b;
  b.data = Image(true, ResourceSection(kForms));
  b.Put(0x40 + 24 + 112 + 16, 0, 4);  // no resource directory
  EXPECT_TRUE(TExeImage(Write(b.data)).GetResourceList().empty());
}

}  // namespace
}  // namespace vaq
