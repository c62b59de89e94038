#include "host/core/text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

#include "host/core/locale.h"

// Counts the allocations of the calling thread, so that a test can show that a path allocates nothing.
namespace {
thread_local long allocations = 0;
}  // namespace

void* operator new(std::size_t size) {
  ++allocations;
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}
void operator delete(void* memory) noexcept {
  std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
  std::free(memory);
}

namespace vaq {
namespace {

constexpr TLCID kGerman = 0x0407;    // 1252
constexpr TLCID kRussian = 0x0419;   // 1251
constexpr TLCID kGreek = 0x0408;     // 1253
constexpr TLCID kTurkish = 0x041F;   // 1254
constexpr TLCID kJapanese = 0x0411;  // 932
constexpr TLCID kHindi = 0x0439;     // UTF-8

TEST(CaseAscii, LowerAndUpper) {
  ScopedThreadLocale locale(kGerman);
  EXPECT_EQ(AnsiLowerCase("Hello, World! 09_@[`{"), "hello, world! 09_@[`{");
  EXPECT_EQ(AnsiUpperCase("Hello, World! 09_@[`{"), "HELLO, WORLD! 09_@[`{");
  EXPECT_EQ(AnsiLowerCase(""), "");
  EXPECT_EQ(AnsiUpperCase(std::string_view("a\0b", 3)), std::string("A\0B", 3));
}

TEST(CaseAscii, SameUnderEveryLocale) {
  for (const TLCID lcid : {kGerman, kRussian, kTurkish, kJapanese, kHindi}) {
    ScopedThreadLocale locale(lcid);
    // Not Turkish dotless/dotted i: ASCII stays ASCII.
    EXPECT_EQ(AnsiUpperCase("istanbul"), "ISTANBUL");
    EXPECT_EQ(AnsiLowerCase("ISTANBUL"), "istanbul");
  }
}

TEST(CaseWestern, GermanLettersIn1252) {
  ScopedThreadLocale locale(kGerman);
  EXPECT_EQ(AnsiLowerCase("\xC4\xD6\xDC"), "\xE4\xF6\xFC");              // ÄÖÜ
  EXPECT_EQ(AnsiUpperCase("\xE4\xF6\xFC"), "\xC4\xD6\xDC");              // äöü
  EXPECT_EQ(AnsiUpperCase("gro\xDF"), "GROSS");                          // ß has no capital in 1252
  EXPECT_EQ(AnsiUpperCase("\xFF\x9C"), "\x9F\x8C");                      // ÿœ -> Ÿ Œ
  EXPECT_EQ(AnsiUpperCase("5 \xB5m"), "5 \xB5M");                        // µ's capital is Greek
  EXPECT_EQ(AnsiLowerCase("\xC0rger \xA9 \xD7"), "\xE0rger \xA9 \xD7");  // © and × have no case
}

TEST(CaseCyrillic, RussianLettersIn1251) {
  ScopedThreadLocale locale(kRussian);
  EXPECT_EQ(AnsiLowerCase("\xCF\xD0\xC8\xC2\xC5\xD2 \xA8"), "\xEF\xF0\xE8\xE2\xE5\xF2 \xB8");  // ПРИВЕТ Ё
  EXPECT_EQ(AnsiUpperCase("\xEF\xF0\xE8\xE2\xE5\xF2 \xB8"), "\xCF\xD0\xC8\xC2\xC5\xD2 \xA8");
  EXPECT_EQ(AnsiUpperCase("ok \xE4\xE0"), "OK \xC4\xC0");  // mixed ASCII and Cyrillic
}

TEST(CaseCyrillic, SameBytesFollowTheThreadLocale) {
  // 0xA8 is Ё in 1251 but a diaeresis without case in 1252.
  {
    ScopedThreadLocale locale(kRussian);
    EXPECT_EQ(AnsiLowerCase("\xA8"), "\xB8");
  }
  {
    ScopedThreadLocale locale(kGerman);
    EXPECT_EQ(AnsiLowerCase("\xA8"), "\xA8");
  }
}

TEST(CaseOtherScripts, TurkishAndGreekStayInTheirCodePage) {
  {
    ScopedThreadLocale locale(kTurkish);
    // İ lowers to i plus a combining dot, which 1254 does not have: plain i it is.
    EXPECT_EQ(AnsiLowerCase("\xDDZM\xDDR"), "izmir");
    EXPECT_EQ(AnsiUpperCase("\xFD\xFE\xF0"), "I\xDE\xD0");  // ışğ
  }
  {
    ScopedThreadLocale locale(kGreek);
    EXPECT_EQ(AnsiLowerCase("\xCF\xC4\xCF\xD3"), "\xEF\xE4\xEF\xF2");  // ΟΔΟΣ -> οδος with final sigma
    EXPECT_EQ(AnsiUpperCase("\xC0\xE1"), "\xC0\xC1");                  // ΐ keeps, α -> Α
  }
}

TEST(CaseOtherScripts, DoubleByteTrailBytesAreNotLetters) {
  ScopedThreadLocale locale(kJapanese);
  // ア is 0x83 0x41; its trail byte must not turn into 'a'.
  EXPECT_EQ(AnsiLowerCase("\x83\x41XYZ"), "\x83\x41xyz");
  EXPECT_EQ(AnsiUpperCase("\x83\x61xyz"), "\x83\x61XYZ");
  EXPECT_EQ(AnsiLowerCase("\x82\x60"), "\x82\x81");  // full-width Ａ -> ａ
}

TEST(CaseOtherScripts, Utf8Locales) {
  ScopedThreadLocale locale(kHindi);
  EXPECT_EQ(AnsiLowerCase("\xC3\x84\xC3\x96\xC3\x9C"), "\xC3\xA4\xC3\xB6\xC3\xBC");
  EXPECT_EQ(AnsiUpperCase("\xD0\xB4\xC3\xA4"), "\xD0\x94\xC3\x84");  // дä
  EXPECT_EQ(AnsiUpperCase("\xE0\xA4\xB9 a"), "\xE0\xA4\xB9 A");      // Devanagari has no case
  EXPECT_EQ(AnsiLowerCase("\xC4\xB0"), "i\xCC\x87");                 // İ -> i + U+0307 fits UTF-8
}

TEST(CompareAscii, OrdersCaseInsensitively) {
  ScopedThreadLocale locale(kGerman);
  EXPECT_EQ(AnsiCompareText("abc", "ABC"), 0);
  EXPECT_LT(AnsiCompareText("abc", "ABD"), 0);
  EXPECT_GT(AnsiCompareText("Abd", "abc"), 0);
  EXPECT_LT(AnsiCompareText("ab", "ABC"), 0);
  EXPECT_GT(AnsiCompareText("abc", "AB"), 0);
  EXPECT_EQ(AnsiCompareText("", ""), 0);
  EXPECT_LT(AnsiCompareText("", "a"), 0);
  // Letters compare as lower case, so '_' (0x5F) sorts before 'A'.
  EXPECT_LT(AnsiCompareText("_", "A"), 0);
  EXPECT_TRUE(AnsiSameText("Button1", "BUTTON1"));
  EXPECT_FALSE(AnsiSameText("Button1", "Button2"));
  EXPECT_FALSE(AnsiSameText("Button", "Button1"));
}

TEST(CompareAscii, AgreesWithTheFullComparison) {
  // The ASCII shortcut must order like ICU's comparison, which a leading ä/Ä (equal when folded)
  // forces.
  ScopedThreadLocale locale(kGerman);
  for (int x = 0x20; x < 0x7F; ++x) {
    for (int y = 0x20; y < 0x7F; ++y) {
      const std::string a(1, static_cast<char>(x));
      const std::string b(1, static_cast<char>(y));
      const int fast = AnsiCompareText(a, b);
      const int slow = AnsiCompareText("\xE4" + a, "\xC4" + b);
      ASSERT_EQ(fast, slow) << a << " vs " << b;
    }
  }
}

TEST(CompareAscii, DoesNotAllocate) {
  ScopedThreadLocale locale(kGerman);
  const std::string a = "TranslationManager.ButtonOk.Caption";
  const std::string b = "translationmanager.buttonok.caption";
  const long before = allocations;
  int sum = 0;
  for (int i = 0; i < 1000; ++i) {
    sum += AnsiCompareText(a, b) + AnsiSameText(a, b);
  }
  EXPECT_EQ(allocations - before, 0);
  EXPECT_EQ(sum, 1000);
}

TEST(CompareNonAscii, FoldsCaseInTheCodePage) {
  {
    ScopedThreadLocale locale(kGerman);
    EXPECT_TRUE(AnsiSameText("\xC4rger", "\xE4RGER"));  // Ärger
    EXPECT_TRUE(AnsiSameText("gro\xDF", "GROSS"));      // ß folds to ss
    EXPECT_LT(AnsiCompareText("a", "\xE4"), 0);
    EXPECT_LT(AnsiCompareText("x\xE4", "X\xC4z"), 0);
    EXPECT_FALSE(AnsiSameText("\xA8", "\xB8"));
  }
  {
    ScopedThreadLocale locale(kRussian);
    EXPECT_TRUE(AnsiSameText("\xCF\xD0\xC8\xC2\xC5\xD2", "\xEF\xF0\xE8\xE2\xE5\xF2"));
    EXPECT_TRUE(AnsiSameText("\xA8", "\xB8"));  // Ё ё
    EXPECT_LT(AnsiCompareText("\xE0", "\xE1"), 0);
  }
}

TEST(CompareNonAscii, DoubleByteTrailBytesAreNotLetters) {
  ScopedThreadLocale locale(kJapanese);
  // ア (0x83 0x41) and ャ (0x83 0x61) differ only where an ASCII 'A' and 'a' would.
  EXPECT_FALSE(AnsiSameText("\x83\x41", "\x83\x61"));
  EXPECT_FALSE(AnsiSameText("x\x83\x41", "X\x83\x61"));
  EXPECT_TRUE(AnsiSameText("x\x83\x41", "X\x83\x41"));
  EXPECT_TRUE(AnsiSameText("\x82\x60", "\x82\x81"));  // Ａ ａ
}

TEST(CompareNonAscii, Utf8Locales) {
  ScopedThreadLocale locale(kHindi);
  EXPECT_TRUE(AnsiSameText("\xC3\x84pfel", "\xC3\xA4PFEL"));
  EXPECT_FALSE(AnsiSameText("\xC3\x84", "A"));
  EXPECT_LT(AnsiCompareText("z", "\xC3\xA4"), 0);  // code point order: z < ä
}

}  // namespace
}  // namespace vaq
