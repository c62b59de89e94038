// Form-text values of grid cells: the kinds the edit check and the edit menu tell apart, and the
// string codec of the cell editor in code pages that hold a character and code pages that do not.
#include "host/core/grid_values.h"

#include <gtest/gtest.h>

#include "host/core/errors.h"
#include "host/core/locale.h"

namespace vaq {
namespace {

TEST(GridValues, Kinds) {
  const std::pair<const char*, TValueKind> cases[] = {
      {"'OK'", TValueKind::String},
      {"'a'#13#10'b'", TValueKind::String},
      {"'a' + 'b'", TValueKind::String},
      {"#$41", TValueKind::String},
      {"''", TValueKind::String},
      {"42", TValueKind::Integer},
      {"-2147483648", TValueKind::Integer},
      {"2147483648", TValueKind::Int64},
      {"$FF", TValueKind::Integer},
      {"1.5", TValueKind::Float},
      {"1e3", TValueKind::Float},
      {"1.5s", TValueKind::Single},
      {"2c", TValueKind::Currency},
      {"46000.5d", TValueKind::Date},
      {"true", TValueKind::Boolean},
      {"clBtnFace", TValueKind::Identifier},
      {"[akLeft, akTop]", TValueKind::Set},
      {"[]", TValueKind::Set},
      {"('a' 'b')", TValueKind::List},
      {"<>", TValueKind::Collection},
      {"{0A 0B}", TValueKind::Binary},
      {"'OK", TValueKind::Invalid},
      {"'a' 'b' +", TValueKind::Invalid},
      {"1.", TValueKind::Invalid},
      {"[a,]", TValueKind::Invalid},
      {"{0G}", TValueKind::Invalid},
      {"", TValueKind::Invalid},
      {"O'Brien", TValueKind::Invalid},
      {"#70000", TValueKind::Invalid},
      {"99999999999999999999", TValueKind::Invalid},
  };
  for (const auto& [text, kind] : cases) {
    EXPECT_EQ(ClassifyFormValue(text), kind) << text;
  }
}

TEST(GridValues, EditsKeepTheOriginalsKind) {
  EXPECT_EQ(CheckValueAgainstOriginal("'OK'", "'Gut'"), "");
  EXPECT_EQ(CheckValueAgainstOriginal("75", "-3"), "");
  EXPECT_EQ(CheckValueAgainstOriginal("5000000000", "3"), "");  // a 64-bit property takes small numbers
  EXPECT_EQ(CheckValueAgainstOriginal("[akLeft]", "[]"), "");
  EXPECT_EQ(CheckValueAgainstOriginal("True", "False"), "");
  EXPECT_NE(CheckValueAgainstOriginal("'OK'", "OK"), "");
  EXPECT_NE(CheckValueAgainstOriginal("'OK'", ""), "");
  EXPECT_NE(CheckValueAgainstOriginal("75", "'75'"), "");
  EXPECT_NE(CheckValueAgainstOriginal("75", "5000000000"), "");
  EXPECT_NE(CheckValueAgainstOriginal("1.5", "2"), "");
  EXPECT_NE(CheckValueAgainstOriginal("True", "1"), "");
  EXPECT_NE(CheckValueAgainstOriginal("clRed", "'clRed'"), "");
  EXPECT_NE(CheckValueAgainstOriginal("[a]", "(a)"), "");
}

TEST(GridValues, MenuKindTests) {
  EXPECT_EQ(NumericTypeOf("12"), 1);
  EXPECT_EQ(NumericTypeOf("1.5"), 3);
  EXPECT_EQ(NumericTypeOf("'12'"), 0);
  EXPECT_TRUE(HasOpenAndCloseChars(" [a, b] ", '[', ']'));
  EXPECT_FALSE(HasOpenAndCloseChars("[a] [b]", '[', ']'));
  EXPECT_TRUE(HasOpenAndCloseChars("('a)' 'b')", '(', ')'));
  EXPECT_EQ(IsValidString("'It'#39's'", '\''), "");
  EXPECT_NE(IsValidString("'open", '\''), "");
  EXPECT_EQ(IsValidString("\"say \"\"hi\"\"\"", '"'), "");
  EXPECT_NE(IsValidString("\"a\"b\"", '"'), "");
}

TEST(GridValues, StringCodec) {
  const TLCID german = StrToLCID("de-DE");
  const TLCID russian = StrToLCID("ru-RU");
  std::string text;
  ASSERT_TRUE(NotationToEditText("'It'#39's'", german, text));
  EXPECT_EQ(text, "It's");
  ASSERT_TRUE(NotationToEditText("'a'#13#10'b'", german, text));
  EXPECT_EQ(text, "a\r\nb");
  ASSERT_TRUE(NotationToEditText("'It''s' + ' ok'", german, text));
  EXPECT_EQ(text, "It's ok");
  ASSERT_TRUE(NotationToEditText("'\xFC'#228", german, text));  // bytes of cp1252
  EXPECT_EQ(text, "\xC3\xBC\xC3\xA4");
  ASSERT_TRUE(NotationToEditText("#1046#228", german, text));  // wide: UTF-16 units
  EXPECT_EQ(text, "\xD0\x96\xC3\xA4");
  ASSERT_TRUE(NotationToEditText("'\xC6'", russian, text));  // cp1251
  EXPECT_EQ(text, "\xD0\x96");
  EXPECT_FALSE(NotationToEditText("42", german, text));

  EXPECT_EQ(EditTextToNotation("It's", german), "'It'#39's'");
  EXPECT_EQ(EditTextToNotation("a\r\nb", german), "'a'#13#10'b'");
  EXPECT_EQ(EditTextToNotation("", german), "''");
  EXPECT_EQ(EditTextToNotation("\xC3\xBC", german), "'\xFC'");
  EXPECT_EQ(EditTextToNotation("\xD0\x96", russian), "'\xC6'");
  // Not in the code page: codes, never a '?'.
  EXPECT_EQ(EditTextToNotation("\xD0\x96\xC3\xBC", german), "#1046'\xFC'");
  EXPECT_EQ(EditTextToNotation("\xF0\x9F\x98\x80", german), "#55357#56832");
  // Only a Latin-1 character the code page lacks: no faithful notation, so it is refused.
  EXPECT_THROW(EditTextToNotation("\xC3\xA4", russian), EConvertError);
  // Every notation written reads back as the text.
  for (const char* sample : {"It's", "a\r\nb", "\xD0\x96\xC3\xBC", "\xF0\x9F\x98\x80 x", "'''"}) {
    ASSERT_TRUE(NotationToEditText(EditTextToNotation(sample, german), german, text));
    EXPECT_EQ(text, sample);
  }
}

}  // namespace
}  // namespace vaq
