#include <gtest/gtest.h>

#include "host/core/locale.h"

namespace vaq {
namespace {

TEST(Utf8, EightBitTextOfALanguageBecomesUtf8AndBack) {
  const TLCID german = StrToLCID("de-DE"), russian = StrToLCID("ru-RU"), hindi = StrToLCID("hi-IN");
  EXPECT_EQ(StringToUtf8(german,
                         "schlie\xdf"
                         "en"),
            "schlie\xc3\x9f"
            "en");
  EXPECT_EQ(Utf8ToString(german,
                         "schlie\xc3\x9f"
                         "en"),
            "schlie\xdf"
            "en");
  EXPECT_EQ(StringToUtf8(russian, "\xcf\xf0\xe8"), "\xd0\x9f\xd1\x80\xd0\xb8");  // "При"
  EXPECT_EQ(Utf8ToString(russian, "\xd0\x9f\xd1\x80\xd0\xb8"), "\xcf\xf0\xe8");
  EXPECT_EQ(Utf8ToString(german, "\xd0\x9f"), "?") << "a Cyrillic letter has no place in 1252";
  EXPECT_EQ(StringToUtf8(hindi, "\xe0\xa4\x85"), "\xe0\xa4\x85") << "languages without a code page are UTF-8";
}

}  // namespace
}  // namespace vaq

namespace vaq {
namespace {

TEST(Utf8, Utf16BothWaysWithQuestionMarksForBrokenInput) {
  EXPECT_EQ(Utf8ToUtf16("a\xc3\xa9\xe4\xb8\x80\xf0\x9f\x98\x80"), u"a\u00e9\u4e00\U0001F600");
  EXPECT_EQ(Utf16ToUtf8(u"a\u00e9\u4e00\U0001F600"), "a\xc3\xa9\xe4\xb8\x80\xf0\x9f\x98\x80");
  EXPECT_EQ(Utf8ToUtf16("x\xff"
                        "y"),
            u"x?y");
  EXPECT_EQ(Utf16ToUtf8(std::u16string(u"x") + char16_t(0xD800) + u"y"), "x?y");
}

}  // namespace
}  // namespace vaq
