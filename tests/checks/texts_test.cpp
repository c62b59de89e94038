// The pieces the notes-only checks stand on: decoding form-text strings, accelerators and
// placeholders of texts.
#include <gtest/gtest.h>

#include "checks/form_string.h"
#include "checks/string_checks.h"

namespace rux::checks {
namespace {

constexpr vaq::TLCID kGerman = 0x0407;
constexpr vaq::TLCID kRussian = 0x0419;

TEST(FormString, DecodesWhatTheNotesHold) {
  EXPECT_EQ(DecodeFormString("'Orders'", kGerman), u"Orders");
  EXPECT_EQ(DecodeFormString("'It'#39's'", kGerman), u"It's");
  EXPECT_EQ(DecodeFormString("'It''s'", kGerman), u"It's");
  EXPECT_EQ(DecodeFormString("'a'#13#10'b'", kGerman), u"a\r\nb");
  EXPECT_EQ(DecodeFormString("'a' + 'b' +#$41", kGerman), u"abA");
  EXPECT_EQ(DecodeFormString("''", kGerman), u"");
  // 8-bit text is in the language's code page ...
  EXPECT_EQ(DecodeFormString("'schlie\xDF"
                             "en'",
                             kGerman),
            u"schließen");
  EXPECT_EQ(DecodeFormString("'\xCF\xF0\xE8'", kRussian), u"При");
  EXPECT_EQ(DecodeFormString("#223", kGerman), u"ß");
  // ... and a code above 255 makes a wide string whose codes are characters.
  EXPECT_EQ(DecodeFormString("#1055#1088'\xE8'", kRussian), u"При");
  // Values that are not strings, and damaged ones.
  for (const char* value : {"640", "True", "[fsBold]", "(", "'open", "#", "#$", "'a' +", "'a' b", "#70000"}) {
    EXPECT_FALSE(DecodeFormString(value, kGerman)) << value;
  }
  EXPECT_EQ(ShowText(u"a\r\nb\tc"), "a#13#10b#9c");
}

TEST(Accelerators, TheLetterAfterTheFirstSingleAmpersand) {
  EXPECT_EQ(AcceleratorOf(u"&Open..."), U'o');
  EXPECT_EQ(AcceleratorOf(u"E&xit"), U'x');
  EXPECT_EQ(AcceleratorOf(u"Save && &close"), U'c');
  EXPECT_EQ(AcceleratorOf(u"&Über"), U'ü');  // case-folded, so "&Ü" and "&ü" clash
  EXPECT_FALSE(AcceleratorOf(u"Save && close"));
  EXPECT_FALSE(AcceleratorOf(u"Plain"));
  EXPECT_FALSE(AcceleratorOf(u"End&"));
  EXPECT_FALSE(AcceleratorOf(u"Save & close"));
}

TEST(Placeholders, FormatAndBraceStyles) {
  EXPECT_EQ(PlaceholdersOf(u"%s of %d"), (std::vector<std::string>{"%s", "%d"}));
  EXPECT_EQ(PlaceholdersOf(u"%1:s %0:d %-10s %.2f %*d %ld"),
            (std::vector<std::string>{"%1:s", "%0:d", "%-10s", "%.2f", "%*d", "%ld"}));
  EXPECT_EQ(PlaceholdersOf(u"{0} and {1:N2}, {{literal}}"), (std::vector<std::string>{"{0}", "{1:N2}"}));
  EXPECT_TRUE(PlaceholdersOf(u"100 % sure, 50%% off, {name}, %").empty());
}

}  // namespace
}  // namespace rux::checks
