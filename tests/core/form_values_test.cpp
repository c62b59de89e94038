// The form-value library: string values in notation <-> Unicode in code pages that hold a
// character and code pages that do not, the kinds of other values, the edit check with its
// messages in UTF-8, and plain code-page text.
#include <gtest/gtest.h>

#include <random>

#include "core/values/code_page_text.h"
#include "core/values/string_notation.h"
#include "core/values/value_check.h"
#include "core/values/value_kinds.h"
#include "host/core/locale.h"

namespace vaq::values {
namespace {

const TLCID kGerman = StrToLCID("de-DE");    // cp1252
const TLCID kRussian = StrToLCID("ru-RU");   // cp1251
const TLCID kJapanese = StrToLCID("ja-JP");  // cp932
const TLCID kHindi = StrToLCID("hi-IN");     // no code page: UTF-8

std::string Utf8(const std::optional<std::u16string>& text) {
  return text ? Utf16ToUtf8(*text) : "(none)";
}

TEST(StringNotation, DecodesEveryFormOfPiece) {
  EXPECT_EQ(Utf8(DecodeString("'Orders'", kGerman)), "Orders");
  EXPECT_EQ(Utf8(DecodeString("''", kGerman)), "");
  EXPECT_EQ(Utf8(DecodeString("'It'#39's'", kGerman)), "It's");
  EXPECT_EQ(Utf8(DecodeString("'It''s'", kGerman)), "It's");
  EXPECT_EQ(Utf8(DecodeString("'a'#13#10'b'", kGerman)), "a\r\nb");
  EXPECT_EQ(Utf8(DecodeString("'a' + 'b' +#$41", kGerman)), "abA");
  EXPECT_EQ(Utf8(DecodeString("  'padded'\t", kGerman)), "padded");
  // 8-bit text is in the language's code page, codes included ...
  EXPECT_EQ(Utf8(DecodeString("'schlie\xDF"
                              "en'",
                              kGerman)),
            "schließen");
  EXPECT_EQ(Utf8(DecodeString("'\xC3\xEE\xF0\xEE\xE4'", kRussian)), "Город");
  EXPECT_EQ(Utf8(DecodeString("'\x93\x73\x8E\x73'", kJapanese)), "都市") << "double-byte runs decode whole";
  EXPECT_EQ(Utf8(DecodeString("'\x93'#115", kJapanese)), "都") << "a double-byte character split by a code";
  EXPECT_EQ(Utf8(DecodeString("#228", kGerman)), "ä");
  EXPECT_EQ(Utf8(DecodeString("#228", kRussian)), "д") << "the same byte is another letter in cp1251";
  EXPECT_EQ(Utf8(DecodeString("'\xE0\xA4\x85'", kHindi)), "अ") << "languages without a code page are UTF-8";
  // ... and a code above 255 makes a wide string whose codes are UTF-16 units.
  EXPECT_EQ(Utf8(DecodeString("'ab '#10003", kRussian)), "ab ✓");
  EXPECT_EQ(Utf8(DecodeString("#228#10003", kRussian)), "ä✓");
  EXPECT_EQ(Utf8(DecodeString("#1055#1088'\xE8'", kRussian)), "При");
  EXPECT_EQ(Utf8(DecodeString("#55357#56832", kGerman)), "😀");
}

TEST(StringNotation, RefusesWhatTheFormTextParserRefuses) {
  for (const char* value : {"640", "True", "clRed", "[fsBold]", "{0A0B}", "(", "", "'open", "#", "#$",
                            "'a' +", "'a'+", "'a' b", "'a' 'b'", "#70000", "'a\r\nb'", "'a\x04'", "'a'x"}) {
    EXPECT_EQ(DecodeString(value, kGerman), std::nullopt) << value;
    EXPECT_NE(StringNotationError(value, kGerman), "") << value;
  }
  EXPECT_EQ(StringNotationError("'a'#13#10'b'"), "");
  EXPECT_EQ(StringNotationError("'a\r\nb'"), "a line break inside quotes (write it as #13#10)");
  EXPECT_EQ(StringNotationError("'Gr\xF6\xDF"
                                "e' x",
                                kGerman),
            "unexpected 'x' in a string");
  EXPECT_EQ(StringNotationError("'a' \xF6", kGerman), "unexpected 'ö' (U+00F6) in a string");
  EXPECT_EQ(StringNotationError("'a' \xF6", kRussian), "unexpected 'ц' (U+0446) in a string");
  EXPECT_EQ(StringNotationError("'a' \x83\x66", kJapanese), "unexpected 'デ' (U+30C7) in a string");
  EXPECT_TRUE(IsStringNotation(" 'a"));
  EXPECT_TRUE(IsStringNotation("#13"));
  EXPECT_FALSE(IsStringNotation("a'"));
}

TEST(StringNotation, EncodesForTheCodePageWithoutReplacing) {
  const auto encode = [](std::u16string_view text, TLCID lcid) {
    try {
      return EncodeString(text, lcid);
    } catch (const EUnheldCharacter& error) {
      return "error: " + std::string(error.what());
    }
  };
  EXPECT_EQ(encode(u"", kGerman), "''");
  EXPECT_EQ(encode(u"It's", kGerman), "'It'#39's'") << "the apostrophe is a code, never doubled";
  EXPECT_EQ(encode(u"a\r\nb", kGerman), "'a'#13#10'b'");
  EXPECT_EQ(encode(u"tab\there\a", kGerman), "'tab'#9'here'#7");
  EXPECT_EQ(encode(u"'''", kGerman), "#39#39#39");
  EXPECT_EQ(encode(u"schließen", kGerman),
            "'schlie\xDF"
            "en'");
  EXPECT_EQ(encode(u"Город", kRussian), "'\xC3\xEE\xF0\xEE\xE4'");
  EXPECT_EQ(encode(u"都市", kJapanese), "'\x93\x73\x8E\x73'");
  EXPECT_EQ(encode(u"अ", kHindi), "'\xE0\xA4\x85'");
  // What the code page cannot hold becomes its UTF-16 code, never '?'.
  EXPECT_EQ(encode(u"OK ✓", kRussian), "'OK '#10003");
  EXPECT_EQ(encode(u"Жü", kGerman), "#1046'\xFC'");
  EXPECT_EQ(encode(u"x😀", kGerman), "'x'#55357#56832") << "a surrogate pair is one character";
  EXPECT_EQ(encode(u"é✓", kRussian), "#233#10003") << "with a wide code, a low code is UTF-16 too";
  EXPECT_EQ(encode(u"Город 😀", kJapanese).find('?'), std::string::npos);
  // A lone character below 256 the code page lacks would be read back as a byte of it.
  EXPECT_EQ(encode(u"café", kRussian),
            "error: The character 'é' (U+00E9) is not in the code page of Russian (Russia), and a text "
            "without a character above U+00FF cannot hold it as a code.");
  try {
    EncodeString(u"café", kRussian);
  } catch (const EUnheldCharacter& error) {
    EXPECT_EQ(error.Character(), U'é');
    EXPECT_EQ(error.CodePage(), 1251u);
  }
  bool replaced = false;
  EXPECT_EQ(EncodeStringReplacing(u"café", kRussian, replaced), "'caf?'");
  EXPECT_TRUE(replaced);
  EXPECT_EQ(EncodeStringReplacing(u"Город ✓", kRussian, replaced), "'\xC3\xEE\xF0\xEE\xE4 '#10003");
  EXPECT_FALSE(replaced);
}

TEST(StringNotation, EveryTextReadsBackAsItself) {
  const std::u16string samples[] = {
      u"It's \"quoted\"", u"two\r\nlines",   u"Grüße ✓",        u"Город", u"ダイアログ 😀", u"'", u"#39",
      u"a + b",           u"Straße – Größe", u"データ&ファイル"};
  // Random texts over ASCII, Latin-1, Cyrillic, kana and astral characters, seeded.
  std::mt19937 random(20);
  const char16_t alphabet[] = {u'a', u'Z', u' ', u'\'', u'#',  u'\r', u'\n',  u'\t', u'é',
                               u'ß', u'Ж', u'я', u'デ', u'ー', u'✓',  0xD83D, 0xDE00};
  std::vector<std::u16string> texts(std::begin(samples), std::end(samples));
  for (int n = 0; n < 300; ++n) {
    std::u16string text;
    const int length = static_cast<int>(random() % 12);
    for (int i = 0; i < length; ++i) {
      const char16_t c = alphabet[random() % std::size(alphabet)];
      if (c == 0xD83D) {
        text += u"😀";
      } else if (c != 0xDE00) {
        text += c;
      }
    }
    texts.push_back(text);
  }
  for (const TLCID lcid : {kGerman, kRussian, kJapanese, kHindi}) {
    for (const std::u16string& text : texts) {
      std::string value;
      try {
        value = EncodeString(text, lcid);
      } catch (const EUnheldCharacter&) {
        continue;  // a character below 256 the code page cannot take on its own
      }
      EXPECT_EQ(value.find('?'), std::string::npos) << value;
      EXPECT_EQ(StringNotationError(value, lcid), "") << value;
      EXPECT_EQ(DecodeString(value, lcid), text) << value << " in " << lcid;
    }
  }
}

TEST(StringNotation, BytesAsTheFormReaderWritesThem) {
  EXPECT_EQ(QuoteBytes(""), "''");
  EXPECT_EQ(QuoteBytes("It's"), "'It'#39's'");
  EXPECT_EQ(QuoteBytes("a\r\nb"), "'a'#13#10'b'");
  EXPECT_EQ(QuoteBytes("Gr\xF6\xDF"
                       "e"),
            "'Gr\xF6\xDF"
            "e'")
      << "bytes of any code page stay in quotes";
  EXPECT_EQ(QuoteBytes(std::string("\0x", 2)), "#0'x'");
}

TEST(StringNotation, LineBreaksForOtherTools) {
  bool crlf = false;
  EXPECT_EQ(DecodeStringUtf8("'a'#13#10'b'", kGerman, TLineBreaks::CrLfAsLf, &crlf), "a\nb");
  EXPECT_TRUE(crlf);
  EXPECT_EQ(DecodeStringUtf8("'a'#10'b'", kGerman, TLineBreaks::CrLfAsLf, &crlf), "a\nb");
  EXPECT_FALSE(crlf);
  EXPECT_EQ(DecodeStringUtf8("'a'#13#10'b'", kGerman), "a\r\nb");
  EXPECT_EQ(EncodeStringUtf8("a\nb", kGerman, TLineBreaks::CrLfAsLf), "'a'#13#10'b'");
  EXPECT_EQ(EncodeStringUtf8("a\r\nb", kGerman, TLineBreaks::CrLfAsLf), "'a'#13#10'b'");
  EXPECT_EQ(EncodeStringUtf8("a\nb", kGerman), "'a'#10'b'");
  EXPECT_EQ(OneLineText(u"a\r\nb\tc"), "a#13#10b#9c");
  EXPECT_EQ(OneLineText(std::string_view("Größe\n")), "Größe#10");
}

TEST(ValueKinds, TellsKindsApartByTheirText) {
  const std::pair<const char*, TValueKind> cases[] = {
      {"'OK'", TValueKind::String},
      {"'a'#13#10'b'", TValueKind::String},
      {"'a' + 'b'", TValueKind::String},
      {"#$41", TValueKind::String},
      {"''", TValueKind::String},
      {"42", TValueKind::Integer},
      {" 42 ", TValueKind::Integer},
      {"-2147483648", TValueKind::Integer},
      {"2147483647", TValueKind::Integer},
      {"2147483648", TValueKind::Int64},
      {"-2147483649", TValueKind::Int64},
      {"$FF", TValueKind::Integer},
      {"$FFFFFFFF", TValueKind::Integer},
      {"$100000000", TValueKind::Int64},
      {"1.5", TValueKind::Float},
      {"1e3", TValueKind::Float},
      {"1.5s", TValueKind::Single},
      {"2c", TValueKind::Currency},
      {"46000.5d", TValueKind::Date},
      {"true", TValueKind::Boolean},
      {"clBtnFace", TValueKind::Identifier},
      {"Form1.Button1", TValueKind::Identifier},
      {"nil", TValueKind::Identifier},
      {"[akLeft, akTop]", TValueKind::Set},
      {"[]", TValueKind::Set},
      {"('a' 'b')", TValueKind::List},
      {"()", TValueKind::List},
      {"<>", TValueKind::Collection},
      {"{0A 0B}", TValueKind::Binary},
      {"'OK", TValueKind::Invalid},
      {"'a' 'b'", TValueKind::Invalid},
      {"'a' 'b' +", TValueKind::Invalid},
      {"1.", TValueKind::Invalid},
      {"12a", TValueKind::Invalid},
      {"[a,]", TValueKind::Invalid},
      {"{0G}", TValueKind::Invalid},
      {"", TValueKind::Invalid},
      {"O'Brien", TValueKind::Invalid},
      {"#70000", TValueKind::Invalid},
      {"99999999999999999999", TValueKind::Invalid},
      {"(a\r\nb)", TValueKind::Invalid},
      {"(a\x04)", TValueKind::Invalid},
      {"clRed\n", TValueKind::Invalid},
  };
  for (const auto& [text, kind] : cases) {
    EXPECT_EQ(ClassifyValue(text), kind) << text;
  }
  EXPECT_EQ(ValueKindName(TValueKind::Integer), "integer");
  EXPECT_EQ(ValueKindName(TValueKind::Invalid), "value");
}

TEST(ValueKinds, NamesTheRefusedCharacterInUtf8) {
  std::string error;
  EXPECT_EQ(ClassifyValue("\xF6"
                          "ffnen",
                          kGerman, &error),
            TValueKind::Invalid);
  EXPECT_EQ(error, "unexpected 'ö' (U+00F6)");
  EXPECT_EQ(ClassifyValue("clR\xF6t", kGerman, &error), TValueKind::Invalid);
  EXPECT_EQ(error, "unexpected 'ö' (U+00F6) in a name");
  EXPECT_EQ(ClassifyValue("cl\xC4\xE0\xF2\xE0", kRussian, &error), TValueKind::Invalid);
  EXPECT_EQ(error, "unexpected 'Д' (U+0414) in a name");
  EXPECT_EQ(ClassifyValue("cl\x83\x66\x81\x5B\x83\x5E", kJapanese, &error), TValueKind::Invalid);
  EXPECT_EQ(error, "unexpected 'デ' (U+30C7) in a name");
  EXPECT_EQ(ClassifyValue("[a, \xDF]", kGerman, &error), TValueKind::Invalid);
  EXPECT_EQ(error, "unexpected 'ß' (U+00DF) in a set");
  EXPECT_EQ(ClassifyValue("12\xB2", kGerman, &error), TValueKind::Invalid);
  EXPECT_EQ(error, "unexpected '²' (U+00B2) in a number");
  EXPECT_EQ(ClassifyValue("cl\x81", kGerman, &error), TValueKind::Invalid);
  EXPECT_EQ(error, "unexpected U+0081 in a name") << "a byte the code page does not define";
  EXPECT_EQ(ClassifyValue("a\x04", kGerman, &error), TValueKind::Invalid);
  EXPECT_EQ(error, "the control character U+0004 in the value");
}

TEST(ValueCheck, EditsKeepTheOriginalsKindAndRange) {
  const auto accepted = [](std::string_view original, std::string_view value) {
    return CheckValueAgainstOriginal(original, value, kGerman).Accepted;
  };
  EXPECT_TRUE(accepted("'OK'", "'Gut'"));
  EXPECT_TRUE(accepted("75", "-3"));
  EXPECT_TRUE(accepted("75", "2147483647"));
  EXPECT_TRUE(accepted("5000000000", "3")) << "a 64-bit property takes small numbers";
  EXPECT_TRUE(accepted("5000000000", "-9223372036854775808"));
  EXPECT_TRUE(accepted("[akLeft]", "[]"));
  EXPECT_TRUE(accepted("True", "false"));
  EXPECT_TRUE(accepted("'damaged", "42")) << "an unreadable original takes any valid value";
  EXPECT_FALSE(accepted("'OK'", "OK"));
  EXPECT_FALSE(accepted("'OK'", ""));
  EXPECT_FALSE(accepted("75", "'75'"));
  EXPECT_FALSE(accepted("75", "2147483648")) << "a 32-bit property cannot read it";
  EXPECT_FALSE(accepted("75", "12a"));
  EXPECT_FALSE(accepted("1.5", "2")) << "the reader takes a float only as a float";
  EXPECT_FALSE(accepted("1.5s", "2.5"));
  EXPECT_FALSE(accepted("True", "1"));
  EXPECT_FALSE(accepted("clRed", "'clRed'"));
  EXPECT_FALSE(accepted("clRed", "True"));
  EXPECT_FALSE(accepted("[a]", "(a)"));
  EXPECT_FALSE(accepted("'damaged", "'also"));

  EXPECT_EQ(VerdictMessage(CheckValueAgainstOriginal("'OK'", "'Gut'")), "");
  EXPECT_EQ(VerdictMessage(CheckValueAgainstOriginal("75", "2147483648")),
            "The value must be an integer of 32 bits (-2147483648 to 2147483647).");
  EXPECT_EQ(VerdictMessage(CheckValueAgainstOriginal("75", "'75'")),
            "The value must be an integer like the original value, not a string.");
  EXPECT_EQ(VerdictMessage(CheckValueAgainstOriginal("'OK'", "")),
            "The value must be a string in quotes, for example ''.");
  EXPECT_EQ(VerdictMessage(CheckValueAgainstOriginal("clRed", "cl\xF6", kGerman)),
            "Invalid value: unexpected 'ö' (U+00F6) in a name.");
}

TEST(ValueKinds, EditMenuTests) {
  EXPECT_EQ(NumericTypeOf("12"), 1);
  EXPECT_EQ(NumericTypeOf("5000000000"), 2);
  EXPECT_EQ(NumericTypeOf("1.5"), 3);
  EXPECT_EQ(NumericTypeOf("1.5d"), 6);
  EXPECT_EQ(NumericTypeOf("'12'"), 0);
  EXPECT_TRUE(HasOpenAndCloseChars(" [a, b] ", '[', ']'));
  EXPECT_FALSE(HasOpenAndCloseChars("[a] [b]", '[', ']'));
  EXPECT_TRUE(HasOpenAndCloseChars("('a)' 'b')", '(', ')'));
  EXPECT_EQ(IsValidString("'It'#39's'", '\''), "");
  EXPECT_NE(IsValidString("'open", '\''), "");
  EXPECT_EQ(IsValidString("\"say \"\"hi\"\"\"", '"'), "");
  EXPECT_NE(IsValidString("\"a\"b\"", '"'), "");
}

TEST(CodePageText, DecodesAndEncodesPlainText) {
  EXPECT_EQ(DecodeText("Gr\xF6\xDF"
                       "e",
                       kGerman),
            u"Größe");
  EXPECT_EQ(DecodeTextUtf8("\xC4\xE0\xF2\xE0", kRussian), "Дата");
  EXPECT_EQ(DecodeTextUtf8("\x83\x66\x81\x5B\x83\x5E", kJapanese), "データ");
  EXPECT_EQ(EncodeTextUtf8("Дата", kRussian), "\xC4\xE0\xF2\xE0");
  EXPECT_EQ(EncodeText(u"データ", kJapanese), "\x83\x66\x81\x5B\x83\x5E");
  EXPECT_EQ(EncodeTextUtf8("plain", kJapanese), "plain");
  EXPECT_EQ(UnheldCharacters(u"Größe", kGerman), std::vector<char32_t>{});
  EXPECT_EQ(UnheldCharacters(u"Ж und Жя 😀", kGerman), (std::vector<char32_t>{U'Ж', U'я', U'😀'}));
  try {
    EncodeTextUtf8("Notiz: Жук", kGerman);
    ADD_FAILURE() << "a character German cannot store was taken";
  } catch (const EUnheldCharacter& error) {
    EXPECT_EQ(error.Character(), U'Ж');
    EXPECT_STREQ(error.what(),
                 "The character 'Ж' (U+0416) is not in the code page of German (Germany) (1252).");
  }
  EXPECT_EQ(EncodeTextReplacing(u"Жук", kGerman), "???");
  EXPECT_EQ(CharacterName(U'a'), "'a'");
  EXPECT_EQ(CharacterName(U'\n'), "U+000A");
  EXPECT_EQ(CharacterName(U'😀'), "'😀' (U+1F600)");
}

}  // namespace
}  // namespace vaq::values
