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
#include "support/pe_image.h"
#include "support/temp_dir.h"

namespace vaq {
namespace {

using testing::kRsrcOffset;
using testing::PeImage;
using testing::ResourceSection;
using testing::TBytes;
using testing::TKey;
using testing::TType;

const std::vector<TType> kForms = {{10, {u"TFORM1", u"TABOUTBOX"}}, {3, {7}}, {u"CUSTOM", {1}}};

class ExeImage : public ::testing::Test {
 protected:
  std::string Write(const std::string& bytes) {
    const auto path = dir_ / "image.exe";
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

  testing::TempDir dir_;
};

TEST_F(ExeImage, ReadsTypesAndNamesOf32And64BitImages) {
  for (bool pe64 : {false, true}) {
    SCOPED_TRACE(pe64);
    const TExeImage image(Write(PeImage(pe64, ResourceSection(kForms))));
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
  const TExeImage image(Write(PeImage(false, ResourceSection({{10, {u"T\u00C4\u0416"}}}))));
  EXPECT_EQ(image.GetResourceList().at(0).List.at(0).Name, "T\xC3\x84\xD0\x96");
}

TEST_F(ExeImage, EveryTruncationFailsCleanly) {
  const std::string full = PeImage(true, ResourceSection(kForms));
  ASSERT_EQ(Error(full), "");
  for (std::size_t length = 0; length < full.size(); ++length)
    EXPECT_NE(Error(full.substr(0, length)), "") << length;
}

TEST_F(ExeImage, DamagedImages) {
  const std::string good = PeImage(false, ResourceSection(kForms));
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
  EXPECT_THROW(TExeImage(dir_ / "missing.exe"), EFileError);
  TBytes b;
  b.data = PeImage(true, ResourceSection(kForms));
  b.Put(0x40 + 24 + 112 + 16, 0, 4);  // no resource directory
  EXPECT_TRUE(TExeImage(Write(b.data)).GetResourceList().empty());
}

}  // namespace
}  // namespace vaq
