// Every generated form extracts without error, and its text and binary notations give the same
// lines.
#include <gtest/gtest.h>

#include "host/core/errors.h"
#include "host/core/locale.h"
#include "host/framework/formstream.h"
#include "support/form_generator.h"
#include "updater/form_reader.h"

namespace rux {
namespace {

bool SameLines(const TExtractedLines& a, const TExtractedLines& b, std::string& difference) {
  for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
    const TRuzDatastring &x = a[i].Data, &y = b[i].Data;
    if (a[i].Id != b[i].Id || x.Value != y.Value || x.Type != y.Type || x.Open != y.Open ||
        x.Close != y.Close) {
      difference = "line " + std::to_string(i) + ": " + a[i].Id + " / " + b[i].Id;
      return false;
    }
  }
  difference = "line counts " + std::to_string(a.size()) + " and " + std::to_string(b.size());
  return a.size() == b.size();
}

TEST(GeneratedForms, ExtractAlikeFromTextAndBinary) {
  vaq::ScopedMessageSink sink(std::make_unique<vaq::CollectingSink>());
  const vaq::TLCID russian = vaq::StrToLCID("ru-RU");
  for (std::uint64_t seed = 1; seed <= 60; ++seed) {
    const std::size_t size = seed % 10 == 0 ? 200'000 : 4'000;
    vaq::TMemoryStream text(vaq::testing::GenerateFormText(seed, size));
    vaq::TMemoryStream binary;
    vaq::ObjectTextToBinary(text, binary);
    text.Seek(0);
    binary.Seek(0);
    TExtractedLines fromText, fromBinary;
    ASSERT_TRUE(ExtractFormLines(text, "generated.rux", fromText, russian)) << "seed " << seed;
    ASSERT_TRUE(ExtractFormLines(binary, "generated.rux", fromBinary, russian)) << "seed " << seed;
    ASSERT_FALSE(fromText.empty());
    std::string difference;
    EXPECT_TRUE(SameLines(fromText, fromBinary, difference)) << "seed " << seed << ", " << difference;
  }
}

}  // namespace
}  // namespace rux
