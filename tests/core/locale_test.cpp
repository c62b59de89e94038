#include "host/core/locale.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <thread>
#include <utility>

#include "core/locale_internal.h"

namespace vaq {
namespace {

using locale_internal::kAnsiCodePages;

struct KnownLocale {
  TLCID Lcid;
  const char* Tag;
  const char* Abbreviation;
  unsigned CodePage;
};

// What ICU answers for the tags, and what the locales' abbreviations and ANSI code pages are.
constexpr KnownLocale kKnownLocales[] = {
    {0x0401, "ar-SA", "ARA", 1256},      {0x0402, "bg-BG", "BGR", 1251},
    {0x0403, "ca-ES", "CAT", 1252},      {0x0404, "zh-TW", "CHT", 950},
    {0x0405, "cs-CZ", "CSY", 1250},      {0x0406, "da-DK", "DAN", 1252},
    {0x0407, "de-DE", "DEU", 1252},      {0x0408, "el-GR", "ELL", 1253},
    {0x0409, "en-US", "ENU", 1252},      {0x040A, "es-ES-u-co-trad", "ESP", 1252},
    {0x040B, "fi-FI", "FIN", 1252},      {0x040C, "fr-FR", "FRA", 1252},
    {0x040D, "he-IL", "HEB", 1255},      {0x040E, "hu-HU", "HUN", 1250},
    {0x040F, "is-IS", "ISL", 1252},      {0x0410, "it-IT", "ITA", 1252},
    {0x0411, "ja-JP", "JPN", 932},       {0x0412, "ko-KR", "KOR", 949},
    {0x0413, "nl-NL", "NLD", 1252},      {0x0414, "nb-NO", "NOR", 1252},
    {0x0415, "pl-PL", "PLK", 1250},      {0x0416, "pt-BR", "PTB", 1252},
    {0x0418, "ro-RO", "ROM", 1250},      {0x0419, "ru-RU", "RUS", 1251},
    {0x041A, "hr-HR", "HRV", 1250},      {0x041B, "sk-SK", "SKY", 1250},
    {0x041C, "sq-AL", "SQI", 1250},      {0x041D, "sv-SE", "SVE", 1252},
    {0x041E, "th-TH", "THA", 874},       {0x041F, "tr-TR", "TRK", 1254},
    {0x0420, "ur-PK", "URD", 1256},      {0x0421, "id-ID", "IND", 1252},
    {0x0422, "uk-UA", "UKR", 1251},      {0x0423, "be-BY", "BEL", 1251},
    {0x0424, "sl-SI", "SLV", 1250},      {0x0425, "et-EE", "ETI", 1257},
    {0x0426, "lv-LV", "LVI", 1257},      {0x0427, "lt-LT", "LTH", 1257},
    {0x0429, "fa-IR", "FAR", 1256},      {0x042A, "vi-VN", "VIT", 1258},
    {0x042B, "hy-AM", "HYE", 0},         {0x042C, "az-Latn-AZ", "AZE", 1254},
    {0x042D, "eu-ES", "EUQ", 1252},      {0x042F, "mk-MK", "MKI", 1251},
    {0x0436, "af-ZA", "AFK", 1252},      {0x0437, "ka-GE", "KAT", 0},
    {0x0439, "hi-IN", "HIN", 0},         {0x043E, "ms-MY", "MSL", 1252},
    {0x043F, "kk-KZ", "KKZ", 1251},      {0x0441, "sw-KE", "SWK", 1252},
    {0x0443, "uz-Latn-UZ", "UZB", 1254}, {0x0444, "tt-RU", "TTT", 1251},
    {0x0445, "bn-IN", "BNG", 0},         {0x0449, "ta-IN", "TAI", 0},
    {0x0456, "gl-ES", "GLC", 1252},      {0x0464, "fil-PH", "FPO", 1252},
    {0x0801, "ar-IQ", "ARI", 1256},      {0x0804, "zh-CN", "CHS", 936},
    {0x0807, "de-CH", "DES", 1252},      {0x0809, "en-GB", "ENG", 1252},
    {0x080A, "es-MX", "ESM", 1252},      {0x080C, "fr-BE", "FRB", 1252},
    {0x0813, "nl-BE", "NLB", 1252},      {0x0814, "nn-NO", "NON", 1252},
    {0x0816, "pt-PT", "PTG", 1252},      {0x081A, "sr-Latn-CS", "SRL", 1250},
    {0x082C, "az-Cyrl-AZ", "AZC", 1251}, {0x0843, "uz-Cyrl-UZ", "UZC", 1251},
    {0x0C01, "ar-EG", "ARE", 1256},      {0x0C04, "zh-HK", "ZHH", 950},
    {0x0C07, "de-AT", "DEA", 1252},      {0x0C09, "en-AU", "ENA", 1252},
    {0x0C0A, "es-ES", "ESN", 1252},      {0x0C0C, "fr-CA", "FRC", 1252},
    {0x0C1A, "sr-Cyrl-CS", "SRB", 1251}, {0x1004, "zh-SG", "ZHI", 936},
    {0x1009, "en-CA", "ENC", 1252},      {0x100C, "fr-CH", "FRS", 1252},
    {0x1404, "zh-MO", "ZHM", 950},       {0x1409, "en-NZ", "ENZ", 1252},
    {0x141A, "bs-Latn-BA", "BSB", 1250}, {0x1809, "en-IE", "ENI", 1252},
    {0x201A, "bs-Cyrl-BA", "BSC", 1251}, {0x241A, "sr-Latn-RS", "SRM", 1250},
    {0x281A, "sr-Cyrl-RS", "SRO", 1251}, {0x2C0A, "es-AR", "ESS", 1252},
    {0x4009, "en-IN", "ENN", 1252},
};

std::string Hex(TLCID lcid, const char* format) {
  char text[16];
  std::snprintf(text, sizeof text, format, lcid);
  return text;
}

std::string Lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return text;
}

class KnownLocaleTest : public testing::TestWithParam<KnownLocale> {};

TEST_P(KnownLocaleTest, IdTagAndAbbreviationRoundTrip) {
  const KnownLocale& locale = GetParam();
  EXPECT_EQ(LCIDToStr(locale.Lcid), locale.Tag);
  EXPECT_EQ(StrToLCID(LCIDToStr(locale.Lcid)), locale.Lcid);
  EXPECT_EQ(LCIDToStr(locale.Lcid, false), locale.Abbreviation);
  EXPECT_EQ(StrToLCID(locale.Abbreviation), locale.Lcid);
  EXPECT_EQ(LCIDToCodePage(locale.Lcid), locale.CodePage);
}

TEST_P(KnownLocaleTest, EverySpellingReadsBack) {
  const KnownLocale& locale = GetParam();
  std::string underscored = locale.Tag;
  for (char& c : underscored) c = c == '-' ? '_' : c;
  EXPECT_EQ(StrToLCID(underscored), locale.Lcid) << underscored;
  EXPECT_EQ(StrToLCID(Lowered(locale.Tag)), locale.Lcid);
  EXPECT_EQ(StrToLCID(Lowered(locale.Abbreviation)), locale.Lcid);
  EXPECT_EQ(StrToLCID(std::to_string(locale.Lcid)), locale.Lcid);
  EXPECT_EQ(StrToLCID(Hex(locale.Lcid, "$%04X")), locale.Lcid);
  EXPECT_EQ(StrToLCID(Hex(locale.Lcid, "$%x")), locale.Lcid);
  EXPECT_FALSE(LCIDToLangName(locale.Lcid).empty());
}

INSTANTIATE_TEST_SUITE_P(Locales, KnownLocaleTest, testing::ValuesIn(kKnownLocales),
                         [](const testing::TestParamInfo<KnownLocale>& info) {
                           std::string name = info.param.Tag;
                           for (char& c : name) c = c == '-' ? '_' : c;
                           return name;
                         });

TEST(LocaleIds, TableHasEnoughDistinctLocales) {
  std::set<TLCID> ids;
  std::set<std::string> tags;
  for (const KnownLocale& locale : kKnownLocales) {
    ids.insert(locale.Lcid);
    tags.insert(locale.Tag);
  }
  EXPECT_GE(ids.size(), 60u);
  EXPECT_EQ(ids.size(), std::size(kKnownLocales));
  EXPECT_EQ(tags.size(), std::size(kKnownLocales));
}

TEST(LocaleIds, EveryAbbreviationIsUniqueKnownAndRoundTrips) {
  std::set<TLCID> ids;
  std::set<std::string> texts;
  for (const auto& entry : locale_internal::Abbreviations()) {
    SCOPED_TRACE(entry.Text);
    EXPECT_TRUE(ids.insert(entry.Lcid).second);
    EXPECT_TRUE(texts.insert(entry.Text).second);
    EXPECT_EQ(std::string(entry.Text).size(), 3u);
    EXPECT_FALSE(LCIDToStr(entry.Lcid).empty()) << "ICU does not know " << Hex(entry.Lcid, "$%04X");
    EXPECT_EQ(LCIDToStr(entry.Lcid, false), entry.Text);
    EXPECT_EQ(StrToLCID(entry.Text), entry.Lcid);
    EXPECT_EQ(StrToLCID(LCIDToStr(entry.Lcid)), entry.Lcid);
  }
  EXPECT_GE(ids.size(), 150u);
}

TEST(LocaleIds, ReadsTheListedSpellings) {
  EXPECT_EQ(StrToLCID("de-DE"), 0x0407u);
  EXPECT_EQ(StrToLCID("de_DE"), 0x0407u);
  EXPECT_EQ(StrToLCID("DE-de"), 0x0407u);
  EXPECT_EQ(StrToLCID("1031"), 0x0407u);
  EXPECT_EQ(StrToLCID("$0407"), 0x0407u);
  EXPECT_EQ(StrToLCID("$407"), 0x0407u);
  EXPECT_EQ(StrToLCID("DEU"), 0x0407u);
  EXPECT_EQ(StrToLCID("deu"), 0x0407u);
  EXPECT_EQ(StrToLCID(" de-DE "), 0x0407u);
  EXPECT_EQ(StrToLCID("zh-Hant-TW"), 0x0404u);
  EXPECT_EQ(StrToLCID("sr_Latn_RS"), 0x241Au);
  // Deprecated codes that ICU still understands.
  EXPECT_EQ(StrToLCID("iw-IL"), 0x040Du);
  EXPECT_EQ(StrToLCID("no-NO"), 0x0414u);
}

TEST(LocaleIds, AbbreviationsWinOverThreeLetterLanguageCodes) {
  // "ENG" is en-GB although "eng" is the three-letter code of English.
  EXPECT_EQ(StrToLCID("ENG"), 0x0809u);
  EXPECT_EQ(StrToLCID("eng"), 0x0809u);
  // A three-letter language without an abbreviation is still read as a tag.
  EXPECT_EQ(StrToLCID("fil"), 0x0464u);
}

TEST(LocaleIds, BareLanguageMeansItsLikeliestLocale) {
  EXPECT_EQ(StrToLCID("de"), 0x0407u);
  EXPECT_EQ(StrToLCID("en"), 0x0409u);
  EXPECT_EQ(StrToLCID("es"), 0x0C0Au);
  EXPECT_EQ(StrToLCID("pt"), 0x0416u);
  EXPECT_EQ(StrToLCID("zh"), 0x0804u);
  EXPECT_EQ(StrToLCID("zh-Hant"), 0x0404u);
  EXPECT_EQ(StrToLCID("sr"), 0x281Au);
  EXPECT_EQ(StrToLCID("sr-Latn"), 0x241Au);
  EXPECT_EQ(StrToLCID("RU"), 0x0419u);
}

TEST(LocaleIds, GarbageGivesZero) {
  for (const char* text :
       {"",    " ",      "xx-YY", "$",   "$zz",   "$-1",  "99999999999", "4294967295", "0",     "-1",    "x",
        "de-", "de--DE", "-de",   "und", "de DE", "12ab", "$0407x",      "XYZ",        "de-XX", "en-001"}) {
    EXPECT_EQ(StrToLCID(text), 0u) << '"' << text << '"';
  }
}

TEST(LocaleIds, UnknownIdsHaveNoNames) {
  // 0x7C07 is not an id, although ICU answers it with plain German.
  for (const TLCID lcid : {0x0000u, 0x0400u, 0x0800u, 0x9999u, 0x0507u, 0x7C07u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(Hex(lcid, "$%04X"));
    EXPECT_EQ(LCIDToStr(lcid), "");
    EXPECT_EQ(LCIDToStr(lcid, false), "");
    EXPECT_EQ(LCIDToLangName(lcid), "");
    EXPECT_EQ(LCIDToCodePage(lcid), 0u);
    EXPECT_EQ(StrToLCID(Hex(lcid, "$%X")), 0u);
  }
}

TEST(LocaleIds, LanguageOnlyIdsHaveTagsButNoAbbreviation) {
  EXPECT_EQ(LCIDToStr(0x0007), "de");
  EXPECT_EQ(LCIDToStr(0x0007, false), "");
  EXPECT_EQ(LCIDToCodePage(0x0007), 1252u);
  EXPECT_EQ(StrToLCID("$0007"), 0x0007u);
}

TEST(LocaleNames, EnglishDisplayNames) {
  EXPECT_EQ(LCIDToLangName(0x0407), "German (Germany)");
  EXPECT_EQ(LCIDToLangName(0x0419), "Russian (Russia)");
  EXPECT_EQ(LCIDToLangName(0x0411), "Japanese (Japan)");
  EXPECT_EQ(LCIDToLangName(0x0404), "Chinese (Traditional, Taiwan)");
  EXPECT_EQ(LCIDToLangName(0x241A), "Serbian (Latin, Serbia)");
  EXPECT_EQ(LCIDToLangName(0x0414), "Norwegian Bokm\xC3\xA5l (Norway)");  // UTF-8
}

TEST(CodePages, FollowLanguageAndScript) {
  EXPECT_EQ(LCIDToCodePage(StrToLCID("sr-Latn-BA")), 1250u);
  EXPECT_EQ(LCIDToCodePage(StrToLCID("sr-Cyrl-ME")), 1251u);
  EXPECT_EQ(LCIDToCodePage(StrToLCID("mn-MN")), 1251u);
  EXPECT_EQ(LCIDToCodePage(StrToLCID("hr-BA")), 1250u);
  EXPECT_EQ(LCIDToCodePage(StrToLCID("ar-AE")), 1256u);
  EXPECT_EQ(LCIDToCodePage(StrToLCID("fa-AF")), 1256u);
  EXPECT_EQ(LCIDToCodePage(StrToLCID("es-US")), 1252u);
  // Traditional Mongolian is not written in 1251 like Cyrillic Mongolian.
  EXPECT_EQ(LCIDToCodePage(StrToLCID("mn-Mong-CN")), 0u);
  EXPECT_EQ(LCIDToCodePage(StrToLCID("pa-Arab-PK")), 0u);
}

// A locale of each code page, to convert through.
constexpr std::pair<unsigned, TLCID> kCodePageLocales[] = {
    {874, 0x041E},  {932, 0x0411},  {936, 0x0804},  {949, 0x0412},  {950, 0x0404},
    {1250, 0x0415}, {1251, 0x0419}, {1252, 0x0407}, {1253, 0x0408}, {1254, 0x041F},
    {1255, 0x040D}, {1256, 0x0401}, {1257, 0x0427}, {1258, 0x042A},
};

TLCID LocaleOfCodePage(unsigned codePage) {
  for (const auto& [page, lcid] : kCodePageLocales) {
    if (page == codePage) return lcid;
  }
  ADD_FAILURE() << "no locale for code page " << codePage;
  return 0;
}

TEST(CodePageConversion, EveryCodePageHasAConverterAndItsLocale) {
  for (const unsigned codePage : kAnsiCodePages) {
    SCOPED_TRACE(codePage);
    EXPECT_NE(locale_internal::ConverterName(codePage), nullptr);
    EXPECT_EQ(LCIDToCodePage(LocaleOfCodePage(codePage)), codePage);
    EXPECT_EQ(StringToWideString(LocaleOfCodePage(codePage), "Abc"), u"Abc");
  }
  EXPECT_EQ(locale_internal::ConverterName(0), nullptr);
  EXPECT_EQ(locale_internal::ConverterName(437), nullptr);
}

TEST(CodePageConversion, AsciiIsItselfInEveryCodePage) {
  std::string ascii;
  std::u16string wide;
  for (int byte = 0; byte < 0x80; ++byte) {
    ascii += static_cast<char>(byte);
    wide += static_cast<char16_t>(byte);
  }
  for (const unsigned codePage : kAnsiCodePages) {
    SCOPED_TRACE(codePage);
    EXPECT_EQ(StringToWideString(LocaleOfCodePage(codePage), ascii), wide);
    EXPECT_EQ(WideStringToString(LocaleOfCodePage(codePage), wide), ascii);
  }
}

TEST(CodePageConversion, EverySingleByteCharacterRoundTrips) {
  for (const unsigned codePage : kAnsiCodePages) {
    SCOPED_TRACE(codePage);
    const TLCID lcid = LocaleOfCodePage(codePage);
    int defined = 0;
    for (int byte = 0x20; byte <= 0xFF; ++byte) {
      const std::string narrow(1, static_cast<char>(byte));
      const std::u16string wide = StringToWideString(lcid, narrow);
      // A lead byte alone, or a byte the code page leaves undefined, reads as '?'.
      if (wide == u"?" && byte != '?') continue;
      ++defined;
      EXPECT_EQ(wide.size(), 1u) << "byte " << byte;
      EXPECT_EQ(WideStringToString(lcid, wide), narrow) << "byte " << byte;
    }
    // Guards against a converter that reads everything as '?'.
    const bool doubleByte = codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
    EXPECT_GE(defined, doubleByte ? (codePage == 932 ? 95 + 63 : 95) : 210);
  }
}

TEST(CodePageConversion, RussianTextDependsOnTheLocale) {
  const std::string bytes = "\xCF\xF0\xE8\xE2\xE5\xF2, \xA8\xB8";
  EXPECT_EQ(StringToWideString(0x0419, bytes), u"Привет, Ёё");
  EXPECT_EQ(WideStringToString(0x0419, u"Привет, Ёё"), bytes);
  EXPECT_EQ(StringToWideString(0x0407, bytes), u"Ïðèâåò, ¨¸");
}

TEST(CodePageConversion, DoubleByteText) {
  // 日本 in Shift-JIS: the trail byte 0x7B is '{' on its own.
  EXPECT_EQ(StringToWideString(0x0411, "\x93\xFA\x96\x7B"), u"日本");
  EXPECT_EQ(WideStringToString(0x0411, u"日本"), "\x93\xFA\x96\x7B");
  EXPECT_EQ(StringToWideString(0x0411, "\xB1"), u"ｱ");  // half-width katakana is one byte
  EXPECT_EQ(WideStringToString(0x0804, u"中文"), "\xD6\xD0\xCE\xC4");
  EXPECT_EQ(WideStringToString(0x0412, u"한국"), "\xC7\xD1\xB1\xB9");
  EXPECT_EQ(WideStringToString(0x0404, u"中文"), "\xA4\xA4\xA4\xE5");
  EXPECT_EQ(StringToWideString(0x0419, "\xD6\xD0"), u"ЦР");
}

TEST(CodePageConversion, UnmappableCharactersBecomeQuestionMarks) {
  EXPECT_EQ(WideStringToString(0x0407, u"a\u4E00b"), "a?b");
  EXPECT_EQ(WideStringToString(0x0407, u"\U0001F600"), "?");  // one '?' for a surrogate pair
  EXPECT_EQ(WideStringToString(0x0419, u"Ä"), "?");
  EXPECT_EQ(WideStringToString(0x0411, u"한"), "?");
  EXPECT_EQ(WideStringToString(0x0439, u"a\xD800z"), "a?z");  // unpaired surrogate into UTF-8
  EXPECT_EQ(WideStringToString(0x0407, u"a\xDC00z"), "a?z");
}

TEST(CodePageConversion, InvalidBytesBecomeQuestionMarks) {
  EXPECT_EQ(StringToWideString(0x0408, "a\xD2z"), u"a?z");  // 1253 leaves 0xD2 undefined
  EXPECT_EQ(StringToWideString(0x040D, "\xFF"), u"?");
  EXPECT_EQ(StringToWideString(0x0411, "ab\x82"), u"ab?");     // lead byte at the end
  EXPECT_EQ(StringToWideString(0x0411, "\x82\x20z"), u"? z");  // lead byte before an invalid trail
  EXPECT_EQ(StringToWideString(0x0439, "a\xFFz"), u"a?z");
  EXPECT_EQ(StringToWideString(0x0439, "a\xC3"), u"a?");
  EXPECT_EQ(StringToWideString(0x0439, "\xC3\xA4"), u"ä");
}

TEST(CodePageConversion, LanguagesWithoutCodePageUseUtf8) {
  for (const TLCID lcid : {0x0439u, 0x0437u, 0x042Bu, 0x0445u, 0x0449u, 0u}) {
    SCOPED_TRACE(Hex(lcid, "$%04X"));
    EXPECT_EQ(LCIDToCodePage(lcid), 0u);
    EXPECT_EQ(WideStringToString(lcid, u"हिन्दी ä"),
              "\xE0\xA4\xB9\xE0\xA4\xBF\xE0\xA4\xA8\xE0\xA5\x8D\xE0\xA4"
              "\xA6\xE0\xA5\x80 \xC3\xA4");
    EXPECT_EQ(StringToWideString(lcid, WideStringToString(lcid, u"ქართ")), u"ქართ");
  }
}

TEST(CodePageConversion, EmptyAndEmbeddedNul) {
  EXPECT_EQ(StringToWideString(0x0407, ""), u"");
  EXPECT_EQ(WideStringToString(0x0411, u""), "");
  EXPECT_EQ(StringToWideString(0x0411, std::string_view("a\0b", 3)), std::u16string(u"a\0b", 3));
  EXPECT_EQ(WideStringToString(0x0439, std::u16string_view(u"a\0b", 3)), std::string("a\0b", 3));
}

TEST(ThreadLocale, SetReturnsThePreviousAndRestores) {
  const TLCID original = VaqGetThreadLocale();
  EXPECT_EQ(VaqSetThreadLocale(0x0419), original);
  EXPECT_EQ(VaqGetThreadLocale(), 0x0419u);
  EXPECT_EQ(locale_internal::ThreadCodePage(), 1251u);
  EXPECT_EQ(VaqSetThreadLocale(0x0411), 0x0419u);
  EXPECT_EQ(locale_internal::ThreadCodePage(), 932u);
  EXPECT_EQ(VaqSetThreadLocale(original), 0x0411u);
  EXPECT_EQ(VaqGetThreadLocale(), original);
}

TEST(ThreadLocale, ScopedGuardsNest) {
  const TLCID original = VaqGetThreadLocale();
  {
    ScopedThreadLocale german(0x0407);
    EXPECT_EQ(VaqGetThreadLocale(), 0x0407u);
    {
      ScopedThreadLocale hindi(0x0439);
      EXPECT_EQ(VaqGetThreadLocale(), 0x0439u);
      EXPECT_EQ(locale_internal::ThreadCodePage(), 0u);
    }
    EXPECT_EQ(VaqGetThreadLocale(), 0x0407u);
    EXPECT_EQ(locale_internal::ThreadCodePage(), 1252u);
  }
  EXPECT_EQ(VaqGetThreadLocale(), original);
}

TEST(ThreadLocale, EachThreadStartsAtTheSystemDefault) {
  ScopedThreadLocale japanese(0x0411);
  TLCID seen = 0;
  std::u16string converted;
  std::thread other([&] {
    seen = VaqGetThreadLocale();
    ScopedThreadLocale russian(0x0419);
    converted = StringToWideString(VaqGetThreadLocale(), "\xC4");
  });
  other.join();
  EXPECT_EQ(seen, VaqSystemDefaultLCID());
  EXPECT_EQ(converted, u"Д");
  EXPECT_EQ(VaqGetThreadLocale(), 0x0411u);
}

TEST(SystemLocale, ParsesPosixLocaleNames) {
  using locale_internal::ParsePosixLocaleName;
  EXPECT_EQ(ParsePosixLocaleName("de_DE.UTF-8"), 0x0407u);
  EXPECT_EQ(ParsePosixLocaleName("ru_RU"), 0x0419u);
  EXPECT_EQ(ParsePosixLocaleName("pt_BR.ISO-8859-1"), 0x0416u);
  EXPECT_EQ(ParsePosixLocaleName("de_DE@euro"), 0x0407u);
  EXPECT_EQ(ParsePosixLocaleName("en_GB.utf8"), 0x0809u);
  EXPECT_EQ(ParsePosixLocaleName("de"), 0x0407u);
  // The modifier picks the script; without it Serbian is Cyrillic.
  EXPECT_EQ(ParsePosixLocaleName("sr_RS@latin"), 0x241Au);
  EXPECT_EQ(ParsePosixLocaleName("sr_RS"), 0x281Au);
  EXPECT_EQ(ParsePosixLocaleName("uz_UZ@cyrillic"), 0x0843u);
  EXPECT_EQ(ParsePosixLocaleName("zh_TW.Big5"), 0x0404u);
  for (const char* english : {"C", "POSIX", "", "C.UTF-8", "xx_YY.UTF-8", "@latin", ".UTF-8"}) {
    EXPECT_EQ(ParsePosixLocaleName(english), 0x0409u) << '"' << english << '"';
  }
}

TEST(SystemLocale, ComesFromTheEnvironment) {
  const char* all = std::getenv("LC_ALL");
  const char* lang = std::getenv("LANG");
  const char* name = all != nullptr && *all != '\0' ? all : lang != nullptr ? lang : "";
  EXPECT_EQ(VaqSystemDefaultLCID(), locale_internal::ParsePosixLocaleName(name));
}

}  // namespace
}  // namespace vaq
