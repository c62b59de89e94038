// Case conversion and case-insensitive comparison of 8-bit texts in the thread locale's code page.
#include "host/core/text.h"

#include <gtest/gtest.h>

#include <string>

#include "host/core/locale.h"

namespace vaq {
namespace {

constexpr TLCID kGerman = 0x0407, kRussian = 0x0419, kGreek = 0x0408, kTurkish = 0x041F, kJapanese = 0x0411,
                kHindi = 0x0439;  // 1252, 1251, 1253, 1254, 932, UTF-8

// A letter whose mapping the code page cannot hold takes its one-to-one mapping (İ -> i in 1254)
// or stays (µ, whose capital is Greek, in 1252); double-byte trail bytes are no letters.
TEST(Case, LowerAndUpperInTheThreadCodePage) {
  const struct {
    TLCID lcid;
    std::string text, lower, upper;
  } cases[] = {
      {kGerman, "Hello, World! 09_@[`{", "hello, world! 09_@[`{", "HELLO, WORLD! 09_@[`{"},
      {kGerman, std::string("a\0B", 3), std::string("a\0b", 3), std::string("A\0B", 3)},
      {kTurkish, "istanbul", "istanbul", "ISTANBUL"},                                   // ASCII stays ASCII
      {kGerman, "\xC4\xD6\xDC gro\xDF", "\xE4\xF6\xFC gro\xDF", "\xC4\xD6\xDC GROSS"},  // ÄÖÜ, ß uppers to SS
      {kGerman, "\xFF\x9C 5 \xB5m", "\xFF\x9C 5 \xB5m", "\x9F\x8C 5 \xB5M"},            // ÿœ µ
      {kGerman, "\xC0rger \xA9 \xD7 \xA8", "\xE0rger \xA9 \xD7 \xA8", "\xC0RGER \xA9 \xD7 \xA8"},
      {kRussian, "ok \xCF\xF0\xE8\xE2\xE5\xF2 \xA8", "ok \xEF\xF0\xE8\xE2\xE5\xF2 \xB8",
       "OK \xCF\xD0\xC8\xC2\xC5\xD2 \xA8"},
      {kTurkish, "\xDDZM\xDDR \xFD\xFE\xF0", "izmir \xFD\xFE\xF0", "\xDDZM\xDDR I\xDE\xD0"},  // İ, ışğ
      {kGreek, "\xCF\xC4\xCF\xD3 \xC0\xE1", "\xEF\xE4\xEF\xF2 \xC0\xE1",
       "\xCF\xC4\xCF\xD3 \xC0\xC1"},  // final sigma
      {kJapanese, "\x83\x41xY \x82\x60 \x83\x61", "\x83\x41xy \x82\x81 \x83\x61",
       "\x83\x41XY \x82\x60 \x83\x61"},  // ア, full-width Ａ
      {kHindi, "\xC3\x84\xD0\xB4 \xE0\xA4\xB9 a", "\xC3\xA4\xD0\xB4 \xE0\xA4\xB9 a",
       "\xC3\x84\xD0\x94 \xE0\xA4\xB9 A"},
      {kHindi, "\xC4\xB0", "i\xCC\x87", "\xC4\xB0"},  // İ lowers to i and a combining dot in UTF-8
  };
  for (const auto& c : cases) {
    const ScopedThreadLocale locale(c.lcid);
    EXPECT_EQ(AnsiLowerCase(c.text), c.lower) << c.text;
    EXPECT_EQ(AnsiUpperCase(c.text), c.upper) << c.text;
  }
}

// By ICU's case folding: letters compare as lower case ('_' before 'A'), a prefix first, other
// characters in code point order (z before ä). Equal texts, and only they, have equal case keys.
TEST(Compare, CaseInsensitivelyInTheThreadCodePage) {
  const struct {
    TLCID lcid;
    std::string a, b;
    int order;
  } cases[] = {
      {kGerman, "abc", "ABC", 0},
      {kGerman, "abc", "ABD", -1},
      {kGerman, "Abd", "abc", 1},
      {kGerman, "ab", "ABC", -1},
      {kGerman, "", "", 0},
      {kGerman, "", "a", -1},
      {kGerman, "_", "A", -1},
      {kGerman, "\xC4rger", "\xE4RGER", 0},
      {kGerman, "gro\xDF", "GROSS", 0},
      {kGerman, "a", "\xE4", -1},
      {kGerman, "x\xE4", "X\xC4z", -1},
      {kGerman, "\xA8", "\xB8", -1},
      {kRussian, "\xCF\xD0\xC8", "\xEF\xF0\xE8", 0},
      {kRussian, "\xA8", "\xB8", 0},
      {kRussian, "\xE0", "\xE1", -1},
      {kJapanese, "x\x83\x41", "X\x83\x61", -1},
      {kJapanese, "x\x83\x41", "X\x83\x41", 0},
      {kJapanese, "\x82\x60", "\x82\x81", 0},
      {kHindi, "\xC3\x84pfel", "\xC3\xA4PFEL", 0},
      {kHindi, "\xC3\x84", "A", 1},
      {kHindi, "z", "\xC3\xA4", -1},  // order: the sign of comparing a with b
  };
  for (const auto& c : cases) {
    const ScopedThreadLocale locale(c.lcid);
    EXPECT_EQ(AnsiCompareText(c.a, c.b), c.order) << c.a << " vs " << c.b;
    EXPECT_EQ(AnsiCompareText(c.b, c.a), -c.order) << c.b << " vs " << c.a;
    EXPECT_EQ(AnsiSameText(c.a, c.b), c.order == 0) << c.a << " vs " << c.b;
    EXPECT_EQ(AnsiCaseKey(c.a) == AnsiCaseKey(c.b), c.order == 0) << "keys of " << c.a << " vs " << c.b;
  }
}

// The ASCII shortcut orders like ICU's comparison, which a leading ä/Ä (equal when folded) forces.
TEST(Compare, AsciiShortcutAgreesWithTheFullComparison) {
  const ScopedThreadLocale locale(kGerman);
  for (int x = 0x20; x < 0x7F; ++x) {
    for (int y = 0x20; y < 0x7F; ++y) {
      const std::string a(1, static_cast<char>(x)), b(1, static_cast<char>(y));
      ASSERT_EQ(AnsiCompareText(a, b), AnsiCompareText("\xE4" + a, "\xC4" + b)) << a << " vs " << b;
    }
  }
}

}  // namespace
}  // namespace vaq
