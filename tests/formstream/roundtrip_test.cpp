// Property tests over generated forms: the text reads to exactly the binary form the generator
// built for it; the formatted text reads back to the same bytes; the reader, with typed reads and
// with SkipValue through buffers of several sizes, and the resource form agree with them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>
#include <vector>

#include "host/framework/formstream.h"
#include "support/bytes.h"
#include "support/form_generator.h"

namespace vaq::testing {
namespace {

std::string ToResource(std::string_view bytes) {
  TMemoryStream input{std::string(bytes)};
  TMemoryStream output;
  ObjectTextToResource(input, output);
  return std::move(output.Data());
}

// Equality of two byte strings; a mismatch shows the first differing offset and the bytes around.
::testing::AssertionResult SameBytes(std::string_view expected, std::string_view actual) {
  if (expected == actual) return ::testing::AssertionSuccess();
  const auto offset =
      static_cast<std::size_t>(std::ranges::mismatch(expected, actual).in1 - expected.begin());
  const auto excerpt = [&](std::string_view bytes) {
    std::string text;
    for (const unsigned char c : bytes.substr(offset > 24 ? offset - 24 : 0, 48)) {
      text += c >= 32 && c < 127 ? std::string(1, static_cast<char>(c)) : "\\x" + std::to_string(c);
    }
    return text;
  };
  return ::testing::AssertionFailure()
         << "first difference at offset " << offset << " (sizes " << expected.size() << " and "
         << actual.size() << ")\n  expected: " << excerpt(expected) << "\n  actual:   " << excerpt(actual);
}

// The resource header, built independently: 0xFF, 10, the root class in upper case, 0x1030, size.
std::string ResourceHeader(std::string_view binary) {
  const std::size_t at = (static_cast<unsigned char>(binary[4]) & 0xF0) == 0xF0 ? 5 : 4;  // prefix
  std::string header("\xFF\x0A\x00", 3);
  for (const char c : binary.substr(at + 1, static_cast<unsigned char>(binary[at]))) {
    header += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  header += std::string("\0\x30\x10", 3);
  for (int i = 0; i < 4; ++i) header += static_cast<char>((binary.size() >> (8 * i)) & 0xFF);
  return header;
}

struct Sizes {
  const char* Name;
  std::uint64_t Seeds;
  std::size_t Bytes;
};

class GeneratedForms : public ::testing::TestWithParam<Sizes> {};

TEST_P(GeneratedForms, ConvertExactlyBothWaysAndAgreeWithTheReader) {
  static constexpr std::size_t kBufferSizes[] = {4096, 16, 17, 64, 1 << 20};
  for (std::uint64_t i = 0; i < GetParam().Seeds; ++i) {
    // Seeds differ between the size classes so that no form is checked twice.
    const std::uint64_t seed = GetParam().Bytes * 1000 + i;
    SCOPED_TRACE("seed " + std::to_string(seed) + ", " + std::to_string(GetParam().Bytes) + " bytes");
    const GeneratedForm form = GenerateForm({.Seed = seed, .TargetBytes = GetParam().Bytes});
    std::string b1, t2, b2;
    ASSERT_NO_THROW(b1 = Convert(ObjectTextToBinary, form.Text)) << form.Text.substr(0, 200);
    ASSERT_TRUE(SameBytes(form.Binary, b1)) << "binary form of the generated text";
    ASSERT_NO_THROW(t2 = Convert(ObjectBinaryToText, b1));
    ASSERT_NO_THROW(b2 = Convert(ObjectTextToBinary, t2));
    ASSERT_TRUE(SameBytes(b1, b2)) << "binary form of the formatted text";

    for (const WalkMode mode : {WalkMode::Read, WalkMode::Skip}) {
      const std::size_t bufferSize = kBufferSizes[(i + (mode == WalkMode::Skip)) % std::size(kBufferSizes)];
      TMemoryStream stream(b1);
      std::string walked;
      ASSERT_NO_THROW(walked = WalkFormBinary(stream, mode, bufferSize)) << "buffer " << bufferSize;
      EXPECT_TRUE(SameBytes(b1, walked)) << "walked with buffer " << bufferSize;
      EXPECT_EQ(stream.Position(), b1.size());
    }

    const std::string resource = ResourceHeader(b1) + b1;
    for (const std::string& input : {form.Text, b1, resource}) {
      ASSERT_TRUE(SameBytes(resource, ToResource(input))) << "resource form of " << input.substr(0, 40);
    }
    EXPECT_TRUE(SameBytes(t2, Convert(ObjectResourceToText, resource)));
    EXPECT_TRUE(SameBytes(t2, Convert(ObjectResourceToText, b1)));
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, GeneratedForms,
                         ::testing::Values(Sizes{"Small", 200, 2000}, Sizes{"Medium", 40, 20000},
                                           Sizes{"Large", 5, 300000}, Sizes{"Huge", 1, 3000000}),
                         [](const auto& info) { return std::string(info.param.Name); });

// The conversions that hand their output on in pieces (as vaq convert writes a file) give the same
// bytes as those that keep it whole, in pieces that end between properties; a form damaged after
// the first piece raises all the same, with the input's position as it was.
TEST(PiecewiseConversions, GiveTheSameBytesInPieces) {
  const GeneratedForm form = GenerateForm({.Seed = 11, .TargetBytes = 3'000'000});
  const auto collect = [](std::vector<std::string>& pieces) {
    return [&pieces](std::string_view piece) { pieces.emplace_back(piece); };
  };
  const auto joined = [](const std::vector<std::string>& pieces) {
    std::string all;
    for (const std::string& piece : pieces) all += piece;
    return all;
  };
  std::vector<std::string> binaryPieces;
  EXPECT_EQ(ObjectTextToBinary(form.Text, collect(binaryPieces)), form.Text.size());
  EXPECT_TRUE(SameBytes(form.Binary, joined(binaryPieces)));
  ASSERT_GE(binaryPieces.size(), 2u);
  for (std::size_t i = 0; i + 1 < binaryPieces.size(); ++i) {
    EXPECT_GE(binaryPieces[i].size(), kOutputPiece);
    EXPECT_LT(binaryPieces[i].size(), kOutputPiece + 70000) << "a piece ends at the first property it can";
  }

  const std::string text = Convert(ObjectBinaryToText, form.Binary);
  const std::string resource = ToResource(form.Binary);
  for (const std::string* input : {&form.Binary, &resource}) {
    std::vector<std::string> textPieces;
    TMemoryStream stream = TMemoryStream::View(*input);
    ObjectResourceToText(stream, collect(textPieces));
    EXPECT_TRUE(SameBytes(text, joined(textPieces)));
    EXPECT_GE(textPieces.size(), 2u);
    EXPECT_EQ(stream.Position(), input->size());
  }

  // Damaged behind the first piece: the text loses its last "end", the binary form its last byte.
  std::vector<std::string> pieces;
  const std::string cut = form.Text.substr(0, form.Text.rfind("end"));
  EXPECT_THROW(ObjectTextToBinary(cut, collect(pieces)), EParserError);
  EXPECT_FALSE(pieces.empty());
  TMemoryStream truncated = TMemoryStream::View(std::string_view(resource).substr(0, resource.size() - 1));
  truncated.Seek(0);
  EXPECT_THROW(ObjectResourceToText(truncated, collect(pieces)), EReadError);
  EXPECT_EQ(truncated.Position(), 0u);
}

// The generator itself: deterministic, close to the asked size, and covering what the properties
// above rely on, so that a change to it cannot quietly weaken them.
TEST(FormGenerator, IsDeterministicNearTheSizeAndCoversEveryKindAndLayout) {
  EXPECT_EQ(GenerateFormText(5, 20000), GenerateFormText(5, 20000));
  EXPECT_NE(GenerateFormText(5, 20000), GenerateFormText(6, 20000));
  for (const std::size_t target : {200, 2000, 20000, 300000}) {
    const std::size_t size = GenerateFormText(target, target).size();
    EXPECT_GE(size, target);
    EXPECT_LE(size, target + target / 10 + 60000) << target;
  }
  std::array<std::size_t, kLastValueType + 1> kinds{};
  std::string texts;
  for (std::uint64_t seed = 1; seed <= 20; ++seed) {
    const GeneratedForm form = GenerateForm({.Seed = seed, .TargetBytes = 20000});
    for (std::size_t kind = 0; kind < kinds.size(); ++kind) kinds[kind] += form.Kinds[kind];
    texts += form.Text;
  }
  for (std::size_t kind = 0; kind < kinds.size(); ++kind) {
    if (kind == static_cast<std::size_t>(TValueType::vaUTF8String)) continue;  // text gives wide strings
    EXPECT_GT(kinds[kind], 0u) << "value kind " << kind;
  }
  for (const std::string_view needle :
       {"inherited ", "inline ", "object TLabel\r\n", "item [", "<>", "()", "{}", "#13#10", "' +\r\n",
        "(\r\n", "#55357#", "= $", "TButton [", "\n\n"}) {
    EXPECT_NE(texts.find(needle), std::string::npos) << needle;
  }
}

}  // namespace
}  // namespace vaq::testing
