// What ICU cannot tell about a locale: its three-letter abbreviation and its ANSI code page, and the
// ICU converter behind each code page.
#include <algorithm>
#include <iterator>

#include "core/locale_internal.h"

namespace vaq::locale_internal {
namespace {

// Sorted by id within each language, languages in the order of their primary id.
constexpr Abbreviation kAbbreviations[] = {
    // Arabic
    {0x0401, "ARA"},
    {0x0801, "ARI"},
    {0x0C01, "ARE"},
    {0x1001, "ARL"},
    {0x1401, "ARG"},
    {0x1801, "ARM"},
    {0x1C01, "ART"},
    {0x2001, "ARO"},
    {0x2401, "ARY"},
    {0x2801, "ARS"},
    {0x2C01, "ARJ"},
    {0x3001, "ARB"},
    {0x3401, "ARK"},
    {0x3801, "ARU"},
    {0x3C01, "ARH"},
    {0x4001, "ARQ"},
    {0x0402, "BGR"},  // Bulgarian
    {0x0403, "CAT"},  // Catalan
    // Chinese
    {0x0404, "CHT"},
    {0x0804, "CHS"},
    {0x0C04, "ZHH"},
    {0x1004, "ZHI"},
    {0x1404, "ZHM"},
    {0x0405, "CSY"},  // Czech
    {0x0406, "DAN"},  // Danish
    // German
    {0x0407, "DEU"},
    {0x0807, "DES"},
    {0x0C07, "DEA"},
    {0x1007, "DEL"},
    {0x1407, "DEC"},
    {0x0408, "ELL"},  // Greek
    // English
    {0x0409, "ENU"},
    {0x0809, "ENG"},
    {0x0C09, "ENA"},
    {0x1009, "ENC"},
    {0x1409, "ENZ"},
    {0x1809, "ENI"},
    {0x1C09, "ENS"},
    {0x2009, "ENJ"},
    {0x2409, "ENB"},
    {0x2809, "ENL"},
    {0x2C09, "ENT"},
    {0x3009, "ENW"},
    {0x3409, "ENP"},
    {0x4009, "ENN"},
    {0x4409, "ENM"},
    {0x4809, "ENE"},
    // Spanish: 0x040A sorts traditionally, 0x0C0A is Spain's modern sort
    {0x040A, "ESP"},
    {0x080A, "ESM"},
    {0x0C0A, "ESN"},
    {0x100A, "ESG"},
    {0x140A, "ESC"},
    {0x180A, "ESA"},
    {0x1C0A, "ESD"},
    {0x200A, "ESV"},
    {0x240A, "ESO"},
    {0x280A, "ESR"},
    {0x2C0A, "ESS"},
    {0x300A, "ESF"},
    {0x340A, "ESL"},
    {0x380A, "ESY"},
    {0x3C0A, "ESZ"},
    {0x400A, "ESB"},
    {0x440A, "ESE"},
    {0x480A, "ESH"},
    {0x4C0A, "ESI"},
    {0x500A, "ESU"},
    {0x540A, "EST"},
    {0x040B, "FIN"},  // Finnish
    // French
    {0x040C, "FRA"},
    {0x080C, "FRB"},
    {0x0C0C, "FRC"},
    {0x100C, "FRS"},
    {0x140C, "FRL"},
    {0x180C, "FRM"},
    {0x040D, "HEB"},  // Hebrew
    {0x040E, "HUN"},  // Hungarian
    {0x040F, "ISL"},  // Icelandic
    {0x0410, "ITA"},
    {0x0810, "ITS"},  // Italian
    {0x0411, "JPN"},  // Japanese
    {0x0412, "KOR"},  // Korean
    {0x0413, "NLD"},
    {0x0813, "NLB"},  // Dutch
    {0x0414, "NOR"},
    {0x0814, "NON"},  // Norwegian Bokmål, Nynorsk
    {0x0415, "PLK"},  // Polish
    {0x0416, "PTB"},
    {0x0816, "PTG"},  // Portuguese
    {0x0417, "RMC"},  // Romansh
    {0x0418, "ROM"},  // Romanian
    {0x0419, "RUS"},  // Russian
    // Croatian, Serbian and Bosnian share the primary id 0x1A
    {0x041A, "HRV"},
    {0x081A, "SRL"},
    {0x0C1A, "SRB"},
    {0x101A, "HRB"},
    {0x141A, "BSB"},
    {0x181A, "SRS"},
    {0x1C1A, "SRN"},
    {0x201A, "BSC"},
    {0x241A, "SRM"},
    {0x281A, "SRO"},
    {0x2C1A, "SRP"},
    {0x301A, "SRQ"},
    {0x041B, "SKY"},  // Slovak
    {0x041C, "SQI"},  // Albanian
    {0x041D, "SVE"},
    {0x081D, "SVF"},  // Swedish
    {0x041E, "THA"},  // Thai
    {0x041F, "TRK"},  // Turkish
    {0x0420, "URD"},  // Urdu
    {0x0421, "IND"},  // Indonesian
    {0x0422, "UKR"},  // Ukrainian
    {0x0423, "BEL"},  // Belarusian
    {0x0424, "SLV"},  // Slovenian
    {0x0425, "ETI"},  // Estonian
    {0x0426, "LVI"},  // Latvian
    {0x0427, "LTH"},  // Lithuanian
    {0x0428, "TAJ"},  // Tajik
    {0x0429, "FAR"},  // Persian
    {0x042A, "VIT"},  // Vietnamese
    {0x042B, "HYE"},  // Armenian
    {0x042C, "AZE"},
    {0x082C, "AZC"},  // Azerbaijani, Latin and Cyrillic
    {0x042D, "EUQ"},  // Basque
    {0x042E, "HSB"},
    {0x082E, "DSB"},  // Upper and Lower Sorbian
    {0x042F, "MKI"},  // Macedonian
    {0x0432, "TSN"},  // Tswana
    {0x0434, "XHO"},  // Xhosa
    {0x0435, "ZUL"},  // Zulu
    {0x0436, "AFK"},  // Afrikaans
    {0x0437, "KAT"},  // Georgian
    {0x0438, "FOS"},  // Faroese
    {0x0439, "HIN"},  // Hindi
    {0x043A, "MLT"},  // Maltese
    {0x043B, "SME"},
    {0x083B, "SMF"},
    {0x0C3B, "SMG"},  // Northern Sami
    {0x083C, "IRE"},  // Irish
    {0x043E, "MSL"},
    {0x083E, "MSB"},  // Malay
    {0x043F, "KKZ"},  // Kazakh
    {0x0440, "KYR"},  // Kyrgyz
    {0x0441, "SWK"},  // Swahili
    {0x0442, "TUK"},  // Turkmen
    {0x0443, "UZB"},
    {0x0843, "UZC"},  // Uzbek, Latin and Cyrillic
    {0x0444, "TTT"},  // Tatar
    {0x0445, "BNG"},
    {0x0845, "BNB"},  // Bangla
    {0x0446, "PAN"},  // Punjabi
    {0x0447, "GUJ"},  // Gujarati
    {0x0448, "ORI"},  // Odia
    {0x0449, "TAI"},  // Tamil
    {0x044A, "TEL"},  // Telugu
    {0x044B, "KDI"},  // Kannada
    {0x044C, "MYM"},  // Malayalam
    {0x044D, "ASM"},  // Assamese
    {0x044E, "MAR"},  // Marathi
    {0x044F, "SAN"},  // Sanskrit
    {0x0450, "MNN"},  // Mongolian
    {0x0452, "CYM"},  // Welsh
    {0x0453, "KHM"},  // Khmer
    {0x0454, "LAO"},  // Lao
    {0x0456, "GLC"},  // Galician
    {0x0457, "KNK"},  // Konkani
    {0x045A, "SYR"},  // Syriac
    {0x045B, "SIN"},  // Sinhala
    {0x0461, "NEP"},  // Nepali
    {0x0462, "FYN"},  // Western Frisian
    {0x0463, "PAS"},  // Pashto
    {0x0464, "FPO"},  // Filipino
    {0x0465, "DIV"},  // Divehi
    {0x0468, "HAU"},  // Hausa
    {0x046A, "YOR"},  // Yoruba
    {0x046C, "NSO"},  // Northern Sotho
    {0x046D, "BAS"},  // Bashkir
    {0x046E, "LBX"},  // Luxembourgish
    {0x0470, "IBO"},  // Igbo
    {0x047E, "BRE"},  // Breton
    {0x0480, "UIG"},  // Uyghur
    {0x0481, "MRI"},  // Maori
    {0x0482, "OCI"},  // Occitan
    {0x0483, "COS"},  // Corsican
    {0x0484, "GSW"},  // Alsatian
    {0x0485, "SAH"},  // Yakut
    {0x0487, "KIN"},  // Kinyarwanda
    {0x0488, "WOL"},  // Wolof
    {0x048C, "PRS"},  // Dari
    {0x0491, "GLA"},  // Scottish Gaelic
};

struct LanguageCodePageEntry {
  std::string_view Key;
  unsigned CodePage;
};

// Sorted by key. A language missing here has no ANSI code page (Hindi, Georgian, Armenian, ...).
constexpr LanguageCodePageEntry kLanguageCodePages[] = {
    {"af", 1252},  {"ar", 1256},      {"az-Cyrl", 1251}, {"az-Latn", 1254}, {"ba", 1251}, {"be", 1251},
    {"bg", 1251},  {"br", 1252},      {"bs-Cyrl", 1251}, {"bs-Latn", 1250}, {"ca", 1252}, {"co", 1252},
    {"cs", 1250},  {"cy", 1252},      {"da", 1252},      {"de", 1252},      {"el", 1253}, {"en", 1252},
    {"es", 1252},  {"et", 1257},      {"eu", 1252},      {"fa", 1256},      {"fi", 1252}, {"fil", 1252},
    {"fo", 1252},  {"fr", 1252},      {"fy", 1252},      {"ga", 1252},      {"gd", 1252}, {"gl", 1252},
    {"gsw", 1252}, {"ha", 1252},      {"he", 1255},      {"hr", 1250},      {"hu", 1250}, {"id", 1252},
    {"ig", 1252},  {"is", 1252},      {"it", 1252},      {"ja", 932},       {"kk", 1251}, {"ko", 949},
    {"ky", 1251},  {"lb", 1252},      {"lt", 1257},      {"lv", 1257},      {"mk", 1251}, {"mn", 1251},
    {"ms", 1252},  {"nb", 1252},      {"nl", 1252},      {"nn", 1252},      {"no", 1252}, {"nso", 1252},
    {"oc", 1252},  {"pl", 1250},      {"pt", 1252},      {"qu", 1252},      {"rm", 1252}, {"ro", 1250},
    {"ru", 1251},  {"rw", 1252},      {"sah", 1251},     {"se", 1252},      {"sk", 1250}, {"sl", 1250},
    {"sq", 1250},  {"sr-Cyrl", 1251}, {"sr-Latn", 1250}, {"sv", 1252},      {"sw", 1252}, {"tg", 1251},
    {"th", 874},   {"tk", 1250},      {"tn", 1252},      {"tr", 1254},      {"tt", 1251}, {"ug", 1256},
    {"uk", 1251},  {"ur", 1256},      {"uz-Cyrl", 1251}, {"uz-Latn", 1254}, {"vi", 1258}, {"wo", 1252},
    {"xh", 1252},  {"yo", 1252},      {"zh-Hans", 936},  {"zh-Hant", 950},  {"zu", 1252},
};

static_assert(std::ranges::is_sorted(kLanguageCodePages, {}, &LanguageCodePageEntry::Key));

}  // namespace

const char* ConverterName(unsigned codePage) {
  // ICU's own names of the Windows tables; the "windows-125x" aliases are ambiguous in ICU.
  switch (codePage) {
    case 874:
      return "windows-874-2000";
    case 932:
      return "ibm-943_P15A-2003";
    case 936:
      return "windows-936-2000";
    case 949:
      return "windows-949-2000";
    case 950:
      return "windows-950-2000";
    case 1250:
      return "ibm-5346_P100-1998";
    case 1251:
      return "ibm-5347_P100-1998";
    case 1252:
      return "ibm-5348_P100-1997";
    case 1253:
      return "ibm-5349_P100-1998";
    case 1254:
      return "ibm-5350_P100-1998";
    case 1255:
      return "ibm-9447_P100-2002";
    case 1256:
      return "ibm-9448_X100-2005";
    case 1257:
      return "ibm-9449_P100-2002";
    case 1258:
      return "ibm-5354_P100-1998";
    default:
      return nullptr;
  }
}

std::span<const Abbreviation> Abbreviations() {
  return kAbbreviations;
}

unsigned LanguageCodePage(std::string_view key) {
  const auto* entry = std::ranges::lower_bound(kLanguageCodePages, key, {}, &LanguageCodePageEntry::Key);
  return entry != std::end(kLanguageCodePages) && entry->Key == key ? entry->CodePage : 0;
}

}  // namespace vaq::locale_internal
