// Locale ids, their tags, abbreviations, names and code pages; conversion between 8-bit text and
// UTF-16 in every code page; the thread locale and the system default.
#include "host/core/locale.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <thread>

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

std::string Spelled(std::string text, char from, char to, bool lower) {
  for (char& c : text) {
    if (c == from) c = to;
    if (lower && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

class KnownLocaleTest : public testing::TestWithParam<KnownLocale> {};

TEST_P(KnownLocaleTest, IdTagAbbreviationAndCodePageAgreeInEverySpelling) {
  const KnownLocale& locale = GetParam();
  EXPECT_EQ(LCIDToStr(locale.Lcid), locale.Tag);
  EXPECT_EQ(LCIDToStr(locale.Lcid, false), locale.Abbreviation);
  EXPECT_EQ(LCIDToCodePage(locale.Lcid), locale.CodePage);
  EXPECT_FALSE(LCIDToLangName(locale.Lcid).empty());
  for (const std::string& text :
       {std::string(locale.Tag), Spelled(locale.Tag, '-', '_', false), Spelled(locale.Tag, '-', '-', true),
        std::string(locale.Abbreviation), Spelled(locale.Abbreviation, ' ', ' ', true),
        std::to_string(locale.Lcid), Hex(locale.Lcid, "$%04X"), Hex(locale.Lcid, "$%x")}) {
    EXPECT_EQ(StrToLCID(text), locale.Lcid) << text;
  }
}

INSTANTIATE_TEST_SUITE_P(Locales, KnownLocaleTest, testing::ValuesIn(kKnownLocales),
                         [](const testing::TestParamInfo<KnownLocale>& info) {
                           return Spelled(info.param.Tag, '-', '_', false);
                         });

TEST(LocaleIds, EveryAbbreviationIsUniqueKnownAndRoundTrips) {
  std::set<TLCID> ids;
  std::set<std::string> texts;
  for (const auto& entry : locale_internal::Abbreviations()) {
    SCOPED_TRACE(entry.Text);
    EXPECT_TRUE(ids.insert(entry.Lcid).second);
    EXPECT_TRUE(texts.insert(entry.Text).second);
    EXPECT_EQ(LCIDToStr(entry.Lcid, false), entry.Text);
    EXPECT_EQ(StrToLCID(entry.Text), entry.Lcid);
    EXPECT_EQ(StrToLCID(LCIDToStr(entry.Lcid)), entry.Lcid)
        << "ICU does not know " << Hex(entry.Lcid, "$%04X");
  }
  EXPECT_GE(ids.size(), 150u);
}

// Deprecated codes that ICU still understands (iw, no); abbreviations win over three-letter
// language codes ("eng" is English), which still count (fil); a bare language means its likeliest
// locale.
TEST(LocaleIds, StrToLCID) {
  const std::pair<const char*, TLCID> cases[] = {
      {"DE-de", 0x0407},   {" de-DE ", 0x0407}, {"zh-Hant-TW", 0x0404}, {"sr_Latn_RS", 0x241A},
      {"iw-IL", 0x040D},   {"no-NO", 0x0414},   {"ENG", 0x0809},        {"eng", 0x0809},
      {"fil", 0x0464},     {"de", 0x0407},      {"en", 0x0409},         {"es", 0x0C0A},
      {"pt", 0x0416},      {"zh", 0x0804},      {"sr", 0x281A},         {"sr-Latn", 0x241A},
      {"zh-Hant", 0x0404}, {"RU", 0x0419},      {"$0007", 0x0007}};
  for (const auto& [text, lcid] : cases) EXPECT_EQ(StrToLCID(text), lcid) << '"' << text << '"';
  for (const char* text :
       {"",    " ",      "xx-YY", "$",   "$zz",   "$-1",  "99999999999", "4294967295", "0",     "-1",    "x",
        "de-", "de--DE", "-de",   "und", "de DE", "12ab", "$0407x",      "XYZ",        "de-XX", "en-001"}) {
    EXPECT_EQ(StrToLCID(text), 0u) << '"' << text << '"';
  }
}

// English display names in UTF-8; no names for unknown ids; language-only ids have tags only.
TEST(LocaleIds, NamesOfKnownUnknownAndLanguageOnlyIds) {
  EXPECT_EQ(LCIDToLangName(0x0407), "German (Germany)");
  EXPECT_EQ(LCIDToLangName(0x0404), "Chinese (Traditional, Taiwan)");
  EXPECT_EQ(LCIDToLangName(0x241A), "Serbian (Latin, Serbia)");
  EXPECT_EQ(LCIDToLangName(0x0414), "Norwegian Bokm\xC3\xA5l (Norway)");
  // 0x7C07 is not an id, although ICU answers it with plain German.
  for (const TLCID lcid : {0x0000u, 0x0400u, 0x0800u, 0x9999u, 0x0507u, 0x7C07u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(Hex(lcid, "$%04X"));
    EXPECT_EQ(LCIDToStr(lcid), "");
    EXPECT_EQ(LCIDToStr(lcid, false), "");
    EXPECT_EQ(LCIDToLangName(lcid), "");
    EXPECT_EQ(LCIDToCodePage(lcid), 0u);
    EXPECT_EQ(StrToLCID(Hex(lcid, "$%X")), 0u);
  }
  EXPECT_EQ(LCIDToStr(0x0007), "de");
  EXPECT_EQ(LCIDToStr(0x0007, false), "");
  EXPECT_EQ(LCIDToCodePage(0x0007), 1252u);
}

TEST(CodePages, FollowLanguageAndScript) {
  // Traditional Mongolian is not written in 1251 like Cyrillic Mongolian.
  const std::pair<const char*, unsigned> cases[] = {
      {"sr-Latn-BA", 1250}, {"sr-Cyrl-ME", 1251}, {"mn-MN", 1251},   {"hr-BA", 1250},  {"ar-AE", 1256},
      {"fa-AF", 1256},      {"es-US", 1252},      {"mn-Mong-CN", 0}, {"pa-Arab-PK", 0}};
  for (const auto& [tag, codePage] : cases) EXPECT_EQ(LCIDToCodePage(StrToLCID(tag)), codePage) << tag;
}

// A locale of each code page, to convert through, in the order of kAnsiCodePages.
constexpr TLCID kCodePageLocales[] = {0x041E, 0x0411, 0x0804, 0x0412, 0x0404, 0x0415, 0x0419,
                                      0x0407, 0x0408, 0x041F, 0x040D, 0x0401, 0x0427, 0x042A};
static_assert(std::size(kCodePageLocales) == kAnsiCodePages.size());

// ASCII is itself, and every byte a code page defines is one character that converts back to it.
TEST(CodePageConversion, EveryCodePageRoundTripsEveryByte) {
  for (std::size_t i = 0; i < kAnsiCodePages.size(); ++i) {
    const unsigned codePage = kAnsiCodePages[i];
    const TLCID lcid = kCodePageLocales[i];
    SCOPED_TRACE(codePage);
    EXPECT_EQ(LCIDToCodePage(lcid), codePage);
    int defined = 0;
    for (int byte = 0; byte <= 0xFF; ++byte) {
      const std::string narrow(1, static_cast<char>(byte));
      const std::u16string wide = StringToWideString(lcid, narrow);
      EXPECT_TRUE(byte >= 0x80 || wide == std::u16string(1, static_cast<char16_t>(byte))) << byte;
      // A lead byte alone, or a byte the code page leaves undefined, reads as '?'.
      if (byte < 0x20 || (wide == u"?" && byte != '?')) continue;
      ++defined;
      EXPECT_EQ(wide.size(), 1u) << "byte " << byte;
      EXPECT_EQ(WideStringToString(lcid, wide), narrow) << "byte " << byte;
    }
    // Guards against a converter that reads everything as '?'.
    const bool doubleByte = codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
    EXPECT_GE(defined, doubleByte ? (codePage == 932 ? 95 + 63 : 95) : 210);
  }
}

// Unmappable characters and invalid bytes become one '?' each; languages without a code page
// (Hindi 0x0439 and the unknown id 0 here) are UTF-8.
TEST(CodePageConversion, Table) {
  const struct {
    TLCID lcid;
    std::string narrow;
    std::u16string wide;
    bool toWide, toNarrow;
  } cases[] = {
      {0x0419, "\xCF\xF0\xE8\xE2\xE5\xF2, \xA8\xB8", u"Привет, Ёё", true, true},
      {0x0407, "\xCF\xF0\xE8\xE2\xE5\xF2, \xA8\xB8", u"Ïðèâåò, ¨¸", true, true},
      {0x0411, "\x93\xFA\x96\x7B", u"日本", true, true},  // the trail byte 0x7B is '{' on its own
      {0x0411, "\xB1", u"ｱ", true, true},                 // half-width katakana is one byte
      {0x0804, "\xD6\xD0\xCE\xC4", u"中文", true, true},
      {0x0412, "\xC7\xD1\xB1\xB9", u"한국", true, true},
      {0x0404, "\xA4\xA4\xA4\xE5", u"中文", true, true},
      {0x0411, std::string("a\0b", 3), std::u16string(u"a\0b", 3), true, true},
      {0x0407, "", u"", true, true},
      {0x0407, "a?b", u"a\u4E00b", false, true},
      {0x0407, "?", u"\U0001F600", false, true},  // one '?' for a surrogate pair
      {0x0407, "a?z", u"a\xDC00z", false, true},
      {0x0419, "?", u"Ä", false, true},
      {0x0411, "?", u"한", false, true},
      {0x0408, "a\xD2z", u"a?z", true, false},  // 1253 leaves 0xD2 undefined
      {0x040D, "\xFF", u"?", true, false},
      {0x0411, "ab\x82", u"ab?", true, false},     // a lead byte at the end
      {0x0411, "\x82\x20z", u"? z", true, false},  // a lead byte before an invalid trail byte
      {0x0439, "\xE0\xA4\xB9\xE0\xA4\xBF \xC3\xA4", u"हि ä", true, true},
      {0, "\xC3\xA4", u"ä", true, true},
      {0x0439, "a\xC3", u"a?", true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Hex(c.lcid, "$%04X ") + c.narrow);
    EXPECT_EQ(c.toWide ? StringToWideString(c.lcid, c.narrow) : c.wide, c.wide);
    EXPECT_EQ(c.toNarrow ? WideStringToString(c.lcid, c.wide) : c.narrow, c.narrow);
  }
}

// Setting returns the previous locale, guards nest, and each thread starts at the system default.
TEST(ThreadLocale, SetGuardAndThreads) {
  const TLCID original = VaqGetThreadLocale();
  EXPECT_EQ(VaqSetThreadLocale(0x0419), original);
  EXPECT_EQ(locale_internal::ThreadCodePage(), 1251u);
  EXPECT_EQ(VaqSetThreadLocale(original), 0x0419u);
  {
    ScopedThreadLocale german(0x0407);
    {
      ScopedThreadLocale hindi(0x0439);
      EXPECT_EQ(locale_internal::ThreadCodePage(), 0u);
    }
    EXPECT_EQ(VaqGetThreadLocale(), 0x0407u);
    EXPECT_EQ(locale_internal::ThreadCodePage(), 1252u);
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
    EXPECT_EQ(VaqGetThreadLocale(), 0x0407u);
  }
  EXPECT_EQ(VaqGetThreadLocale(), original);
}

// The modifier picks the script; without it Serbian is Cyrillic. Unknown names are en-US.
TEST(SystemLocale, ComesFromPosixLocaleNamesInTheEnvironment) {
  const std::pair<const char*, TLCID> cases[] = {
      {"de_DE.UTF-8", 0x0407},    {"ru_RU", 0x0419},     {"pt_BR.ISO-8859-1", 0x0416}, {"de_DE@euro", 0x0407},
      {"en_GB.utf8", 0x0809},     {"de", 0x0407},        {"sr_RS@latin", 0x241A},      {"sr_RS", 0x281A},
      {"uz_UZ@cyrillic", 0x0843}, {"zh_TW.Big5", 0x0404}};
  for (const auto& [name, lcid] : cases) EXPECT_EQ(locale_internal::ParsePosixLocaleName(name), lcid) << name;
  for (const char* english : {"C", "POSIX", "", "C.UTF-8", "xx_YY.UTF-8", "@latin", ".UTF-8"}) {
    EXPECT_EQ(locale_internal::ParsePosixLocaleName(english), 0x0409u) << '"' << english << '"';
  }
  const char* all = std::getenv("LC_ALL");
  const char* lang = std::getenv("LANG");
  const char* name = all != nullptr && *all != '\0' ? all : lang != nullptr ? lang : "";
  EXPECT_EQ(VaqSystemDefaultLCID(), locale_internal::ParsePosixLocaleName(name));
}

}  // namespace
}  // namespace vaq
