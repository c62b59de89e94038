// Form-text notation <-> Unicode: what a value looks like in another tool, and what comes back.
#include <gtest/gtest.h>

#include "exchange/notation.h"
#include "host/core/locale.h"

namespace rux::exchange {
namespace {

const vaq::TLCID kGerman = vaq::StrToLCID("de-DE");    // cp1252
const vaq::TLCID kRussian = vaq::StrToLCID("ru-RU");   // cp1251
const vaq::TLCID kJapanese = vaq::StrToLCID("ja-JP");  // cp932

std::string Encode(std::string_view text, vaq::TLCID lcid, bool crlf = false) {
  std::string error;
  const std::optional<std::string> value = EncodeString(text, lcid, crlf, error);
  return value ? *value : "error: " + error;
}

TEST(Notation, DecodesQuotesCodesAndLineBreaks) {
  EXPECT_EQ(DecodeString("'It'#39's'", kGerman), "It's");
  EXPECT_EQ(DecodeString("'It''s'", kGerman), "It's");
  bool crlf = false;
  EXPECT_EQ(DecodeString("'a'#13#10'b'", kGerman, &crlf), "a\nb");
  EXPECT_TRUE(crlf);
  EXPECT_EQ(DecodeString("'a' + 'b'#$41", kGerman), "abA");
  EXPECT_EQ(DecodeString("'&OK'", kGerman), "&OK") << "the accelerator stays";
  EXPECT_EQ(DecodeString("'schlie\xDF"
                         "en'",
                         kGerman),
            "schließen");
  EXPECT_EQ(DecodeString("'\xC3\xEE\xF0\xEE\xE4'", kRussian), "Город");
  EXPECT_EQ(DecodeString("'\x93\x73\x8E\x73'", kJapanese), "都市") << "double-byte runs decode whole";
  EXPECT_EQ(DecodeString("'ab '#10003", kRussian), "ab ✓") << "a code above 255 makes a wide string";
  EXPECT_EQ(DecodeString("#228", kGerman), "ä") << "without wide codes, a code is a byte of the code page";
  EXPECT_EQ(DecodeString("#228#10003", kRussian), "ä✓") << "in a wide string, every code is UTF-16";

  for (const char* notString : {"640", "[fsBold]", "clRed", "{0A0B}", "'open", "'a' 'b'", "#", "'a'+", ""}) {
    EXPECT_EQ(DecodeString(notString, kGerman), std::nullopt) << notString;
  }
}

TEST(Notation, EncodesForTheTargetCodePage) {
  EXPECT_EQ(Encode("It's", kGerman), "'It'#39's'");
  EXPECT_EQ(Encode("a\nb", kGerman, true), "'a'#13#10'b'");
  EXPECT_EQ(Encode("a\nb", kGerman, false), "'a'#10'b'");
  EXPECT_EQ(Encode("", kGerman), "''");
  EXPECT_EQ(Encode("tab\there\a", kGerman), "'tab'#9'here'#7") << "control characters become # codes";
  EXPECT_EQ(Encode("schließen", kGerman),
            "'schlie\xDF"
            "en'");
  EXPECT_EQ(Encode("Город", kRussian), "'\xC3\xEE\xF0\xEE\xE4'");
  EXPECT_EQ(Encode("都市", kJapanese), "'\x93\x73\x8E\x73'");
  // What the code page cannot hold becomes its UTF-16 code, never '?'.
  EXPECT_EQ(Encode("OK ✓", kRussian), "'OK '#10003");
  EXPECT_EQ(Encode("Город 😀", kJapanese).find('?'), std::string::npos);
  EXPECT_EQ(Encode("x😀", kGerman), "'x'#55357#56832");
  EXPECT_EQ(Encode("é✓", kRussian), "#233#10003") << "with a wide code, a low code is UTF-16 too";
  // A lone character below 256 the code page lacks would be read back as a byte of it.
  EXPECT_EQ(Encode("café", kRussian),
            "error: the character U+00E9 cannot be held by code page 1251 and cannot be "
            "written as a code in a text without wider characters");
}

TEST(Notation, EncodedTextsDecodeToThemselves) {
  for (const vaq::TLCID lcid : {kGerman, kRussian, kJapanese}) {
    for (const char* text :
         {"It's \"quoted\"", "two\nlines", "Grüße ✓", "Город", "ダイアログ 😀", "'", "#39", "a + b"}) {
      std::string error;
      const std::optional<std::string> value = EncodeString(text, lcid, true, error);
      if (!value) continue;  // a character the code page cannot take on its own
      EXPECT_EQ(DecodeString(*value, lcid), text) << *value << " in " << lcid;
    }
  }
}

TEST(Notation, ValuesOfOtherKinds) {
  EXPECT_EQ(KindOf("640"), ValueKind::Integer);
  EXPECT_EQ(KindOf("-$1F"), ValueKind::Integer);
  EXPECT_EQ(KindOf("1.5"), ValueKind::Float);
  EXPECT_EQ(KindOf("2.5E3s"), ValueKind::Float);
  EXPECT_EQ(KindOf("[fsBold, fsItalic]"), ValueKind::Set);
  EXPECT_EQ(KindOf("[]"), ValueKind::Set);
  EXPECT_EQ(KindOf("clWindowText"), ValueKind::Identifier);
  EXPECT_EQ(KindOf("{0A0B}"), ValueKind::Binary);

  EXPECT_FALSE(IsValidValue(ValueKind::Integer, "12a"));
  EXPECT_FALSE(IsValidValue(ValueKind::Integer, ""));
  EXPECT_FALSE(IsValidValue(ValueKind::Integer, "1.5"));
  EXPECT_TRUE(IsValidValue(ValueKind::Float, "700"));
  EXPECT_FALSE(IsValidValue(ValueKind::Float, "1e"));
  EXPECT_FALSE(IsValidValue(ValueKind::Set, "[fsBold,]"));
  EXPECT_FALSE(IsValidValue(ValueKind::Set, "fsBold"));
  EXPECT_TRUE(IsValidValue(ValueKind::Set, "[ fsBold ]"));
  EXPECT_FALSE(IsValidValue(ValueKind::Identifier, "1abc"));
  EXPECT_FALSE(IsValidValue(ValueKind::Binary, "{0G}"));
  EXPECT_FALSE(IsValidValue(ValueKind::Other, "a\nb"));
}

}  // namespace
}  // namespace rux::exchange
