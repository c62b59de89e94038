// Locale ids through ICU's LCID mapping, the thread locale, and code page conversion with ICU converters.
#include "host/core/locale.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/uloc.h>
#include <unicode/uset.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <unordered_map>

#include "core/locale_internal.h"

namespace vaq {
namespace {

using namespace locale_internal;

constexpr TLCID kEnglishUS = 0x0409;

bool IsAsciiDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsAsciiAlpha(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
char AsciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Calls an ICU function that fills a char buffer; empty on failure or truncation.
template <typename Fill>
std::string IcuText(Fill fill) {
  char buffer[ULOC_FULLNAME_CAPACITY];
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length = fill(buffer, static_cast<int32_t>(sizeof buffer), &status);
  if (U_FAILURE(status) || length < 0 || length >= static_cast<int32_t>(sizeof buffer)) return {};
  return std::string(buffer, static_cast<std::size_t>(length));
}

std::string Maximized(const std::string& locale) {
  return IcuText([&](char* out, int32_t capacity, UErrorCode* status) {
    return uloc_addLikelySubtags(locale.c_str(), out, capacity, status);
  });
}
std::string LanguageOf(const std::string& locale) {
  return IcuText([&](char* out, int32_t capacity, UErrorCode* status) {
    return uloc_getLanguage(locale.c_str(), out, capacity, status);
  });
}
std::string ScriptOf(const std::string& locale) {
  return IcuText([&](char* out, int32_t capacity, UErrorCode* status) {
    return uloc_getScript(locale.c_str(), out, capacity, status);
  });
}
std::string RegionOf(const std::string& locale) {
  return IcuText([&](char* out, int32_t capacity, UErrorCode* status) {
    return uloc_getCountry(locale.c_str(), out, capacity, status);
  });
}

// The ICU locale ("de_DE", "sr_Latn_RS") of an id that ICU maps both ways; empty otherwise. ICU
// answers some unknown ids with a neighbour (the bare language), which the way back exposes.
std::string IcuLocaleOf(TLCID lcid) {
  std::string locale = IcuText([&](char* out, int32_t capacity, UErrorCode* status) {
    return uloc_getLocaleForLCID(lcid, out, capacity, status);
  });
  if (locale.empty() || locale == "root" || uloc_getLCID(locale.c_str()) != lcid) return {};
  return locale;
}

// A maximized ICU locale without its script: "de_Latn_DE@x=y" -> "de_DE@x=y".
std::string WithoutScript(const std::string& maximized) {
  const std::string language = LanguageOf(maximized);
  const std::string script = ScriptOf(maximized);
  if (script.empty() || maximized.compare(language.size(), script.size() + 1, "_" + script) != 0)
    return maximized;
  return maximized.substr(0, language.size()) + maximized.substr(language.size() + script.size() + 1);
}

// A BCP-47 tag or its underscore form. ICU's LCID lookup falls back to the bare language for
// regions it does not know ("de-XX" would give German), so a candidate only counts when its own
// locale has the script and region asked for. A bare language gets its likely script and region
// ("de" -> de-DE, "sr" -> sr-Cyrl-RS); ids of a region win over the language-only ids that ICU
// also keeps (0x0407 over 0x0007), which count only when no regional id fits.
TLCID TagToLCID(std::string_view text) {
  std::string tag(text);
  std::replace(tag.begin(), tag.end(), '_', '-');
  int32_t parsed = 0;
  const std::string locale = IcuText([&](char* out, int32_t capacity, UErrorCode* status) {
    return uloc_forLanguageTag(tag.c_str(), out, capacity, &parsed, status);
  });
  if (locale.empty() || parsed != static_cast<int32_t>(tag.size()) || LanguageOf(locale).empty()) return 0;
  const std::string wanted = Maximized(locale);
  if (wanted.empty()) return 0;
  const std::string wantedScript = ScriptOf(wanted);
  const std::string wantedRegion = RegionOf(wanted);
  TLCID languageOnly = 0;
  for (const std::string& candidate : {WithoutScript(wanted), wanted, locale}) {
    const TLCID lcid = uloc_getLCID(candidate.c_str());
    if (lcid == 0) continue;
    const std::string found = IcuLocaleOf(lcid);
    if (found.empty()) continue;
    const std::string foundMaximized = Maximized(found);
    if (ScriptOf(foundMaximized) != wantedScript || RegionOf(foundMaximized) != wantedRegion) continue;
    if (!RegionOf(found).empty()) return lcid;
    if (languageOnly == 0) languageOnly = lcid;
  }
  return languageOnly;
}

TLCID AbbreviationToLCID(std::string_view text) {
  for (const Abbreviation& entry : Abbreviations()) {
    const std::string_view abbreviation = entry.Text;
    if (std::ranges::equal(text, abbreviation, {}, AsciiUpper)) return entry.Lcid;
  }
  return 0;
}

// Parses all of `digits` in the base; 0 when empty, invalid, out of range or not a known id.
TLCID NumberToLCID(std::string_view digits, int base) {
  TLCID lcid = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), lcid, base);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) return 0;
  return IcuLocaleOf(lcid).empty() ? 0 : lcid;
}

unsigned ComputeCodePage(TLCID lcid) {
  const std::string locale = IcuLocaleOf(lcid);
  if (locale.empty()) return 0;
  const std::string maximized = Maximized(locale);
  const std::string language = LanguageOf(maximized);
  const std::string script = ScriptOf(maximized);
  if (const unsigned codePage = LanguageCodePage(language + "-" + script); codePage != 0) return codePage;
  // A bare language key holds for the language's usual script only (Mongolian is 1251 in Cyrillic,
  // not in its traditional script).
  return ScriptOf(Maximized(language)) == script ? LanguageCodePage(language) : 0;
}

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
struct SetCloser {
  void operator()(USet* set) const { uset_close(set); }
};

struct CodePageSlot {
  std::unique_ptr<UConverter, ConverterCloser> Converter;
  std::unique_ptr<USet, SetCloser> RoundTripSet;
};

// ICU converters keep state and must not be shared between threads, so every thread opens its own,
// once per code page; opening one per call would cost more than the conversion of a short text.
struct ThreadCache {
  std::array<CodePageSlot, kAnsiCodePages.size()> Slots;
  std::unordered_map<TLCID, unsigned> CodePages;
};

ThreadCache& Cache() {
  thread_local ThreadCache cache;
  return cache;
}

// Writes one '?' for each byte sequence the code page does not define.
void U_CALLCONV QuestionMarkToUnicode(const void*, UConverterToUnicodeArgs* args, const char*, int32_t,
                                      UConverterCallbackReason reason, UErrorCode* status) {
  if (reason != UCNV_UNASSIGNED && reason != UCNV_ILLEGAL && reason != UCNV_IRREGULAR) return;
  static constexpr UChar kQuestionMark = u'?';
  *status = U_ZERO_ERROR;
  ucnv_cbToUWriteUChars(args, &kQuestionMark, 1, 0, status);
}

CodePageSlot* SlotOf(unsigned codePage) {
  const auto* found = std::ranges::find(kAnsiCodePages, codePage);
  if (found == kAnsiCodePages.end()) return nullptr;
  return &Cache().Slots[static_cast<std::size_t>(found - kAnsiCodePages.begin())];
}

// The calling thread's converter for the code page; nullptr for UTF-8.
UConverter* ConverterOf(unsigned codePage) {
  CodePageSlot* slot = SlotOf(codePage);
  if (slot == nullptr) return nullptr;
  if (!slot->Converter) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UConverter, ConverterCloser> converter(ucnv_open(ConverterName(codePage), &status));
    ucnv_setToUCallBack(converter.get(), QuestionMarkToUnicode, nullptr, nullptr, nullptr, &status);
    ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_SUBSTITUTE, nullptr, nullptr, nullptr,
                          &status);
    ucnv_setSubstChars(converter.get(), "?", 1, &status);
    // Missing ICU data is a broken installation; converting as UTF-8 instead would corrupt texts.
    if (U_FAILURE(status)) {
      throw std::runtime_error(std::string("cannot open the ICU converter ") + ConverterName(codePage) +
                               ": " + u_errorName(status));
    }
    slot->Converter = std::move(converter);
  }
  return slot->Converter.get();
}

// ICU's Windows Shift-JIS table keeps IBM's order of three controls (byte 0x1A is U+001C, 0x1C is
// U+007F, 0x7F is U+001A); code page 932 maps them to themselves. Shift-JIS trail bytes never fall
// on these values, so exchanging the three code units around the converter is exact.
constexpr unsigned kShiftJis = 932;
char16_t ControlFromIbmOrder(char16_t unit) {
  switch (unit) {
    case 0x1C:
      return 0x1A;
    case 0x7F:
      return 0x1C;
    case 0x1A:
      return 0x7F;
    default:
      return unit;
  }
}
char16_t ControlToIbmOrder(char16_t unit) {
  switch (unit) {
    case 0x1A:
      return 0x1C;
    case 0x1C:
      return 0x7F;
    case 0x7F:
      return 0x1A;
    default:
      return unit;
  }
}

struct ThreadLocale {
  TLCID Lcid;
  unsigned CodePage;
};

ThreadLocale& CurrentThreadLocale() {
  thread_local ThreadLocale current = [] {
    const TLCID lcid = VaqSystemDefaultLCID();
    return ThreadLocale{lcid, LCIDToCodePage(lcid)};
  }();
  return current;
}

}  // namespace

namespace locale_internal {

TLCID ParsePosixLocaleName(std::string_view name) {
  // language[_territory][.codeset][@modifier]
  std::string_view modifier;
  if (const auto at = name.find('@'); at != std::string_view::npos) {
    modifier = name.substr(at + 1);
    name = name.substr(0, at);
  }
  name = name.substr(0, name.find('.'));
  if (name.empty() || name == "C" || name == "POSIX") return kEnglishUS;
  std::string tag(name);
  std::replace(tag.begin(), tag.end(), '_', '-');
  // The modifier names the script where a language has several.
  const auto hyphen = tag.find('-');
  const std::string_view script = modifier == "latin" ? "Latn" : modifier == "cyrillic" ? "Cyrl" : "";
  if (!script.empty())
    tag.insert(hyphen == std::string::npos ? tag.size() : hyphen, "-" + std::string(script));
  const TLCID lcid = TagToLCID(tag);
  return lcid != 0 ? lcid : kEnglishUS;
}

unsigned ThreadCodePage() {
  return CurrentThreadLocale().CodePage;
}

void DecodeInto(unsigned codePage, std::string_view text, std::u16string& out) {
  out.clear();
  if (text.empty()) return;
  const auto length = static_cast<int32_t>(text.size());
  UErrorCode status = U_ZERO_ERROR;
  int32_t written = 0;
  if (UConverter* converter = ConverterOf(codePage)) {
    // One UTF-16 unit per byte at most, for the code pages we convert; the retry covers the rest.
    out.resize(text.size());
    written = ucnv_toUChars(converter, out.data(), length, text.data(), length, &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
      out.resize(static_cast<std::size_t>(written));
      status = U_ZERO_ERROR;
      written = ucnv_toUChars(converter, out.data(), written, text.data(), length, &status);
    }
    if (codePage == kShiftJis) std::ranges::transform(out, out.begin(), ControlFromIbmOrder);
  } else {
    out.resize(text.size());
    u_strFromUTF8WithSub(out.data(), length, &written, text.data(), length, u'?', nullptr, &status);
  }
  out.resize(
      U_SUCCESS(status) || status == U_STRING_NOT_TERMINATED_WARNING ? static_cast<std::size_t>(written) : 0);
}

void EncodeInto(unsigned codePage, std::u16string_view text, std::string& out) {
  out.clear();
  if (text.empty()) return;
  const auto length = static_cast<int32_t>(text.size());
  UErrorCode status = U_ZERO_ERROR;
  int32_t written = 0;
  if (UConverter* converter = ConverterOf(codePage)) {
    std::u16string reordered;
    if (codePage == kShiftJis && text.find_first_of(u"\x1A\x1C\x7F") != std::u16string_view::npos) {
      reordered.resize(text.size());
      std::ranges::transform(text, reordered.begin(), ControlToIbmOrder);
      text = reordered;
    }
    const int32_t capacity = UCNV_GET_MAX_BYTES_FOR_STRING(length, ucnv_getMaxCharSize(converter));
    out.resize(static_cast<std::size_t>(capacity));
    written = ucnv_fromUChars(converter, out.data(), capacity, text.data(), length, &status);
  } else {
    out.resize(text.size() * 3);
    u_strToUTF8WithSub(out.data(), length * 3, &written, text.data(), length, u'?', nullptr, &status);
  }
  out.resize(
      U_SUCCESS(status) || status == U_STRING_NOT_TERMINATED_WARNING ? static_cast<std::size_t>(written) : 0);
}

bool RoundTrips(unsigned codePage, char32_t c) {
  if (c > 0x10FFFF || U_IS_SURROGATE(c)) return false;
  CodePageSlot* slot = SlotOf(codePage);
  if (slot == nullptr) return true;
  if (!slot->RoundTripSet) {
    UConverter* converter = ConverterOf(codePage);
    std::unique_ptr<USet, SetCloser> set(uset_openEmpty());
    UErrorCode status = U_ZERO_ERROR;
    ucnv_getUnicodeSet(converter, set.get(), UCNV_ROUNDTRIP_SET, &status);
    uset_freeze(set.get());
    slot->RoundTripSet = std::move(set);
  }
  return uset_contains(slot->RoundTripSet.get(), static_cast<UChar32>(c));
}

}  // namespace locale_internal

TLCID StrToLCID(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (text.empty()) return 0;
  if (text.front() == '$') return NumberToLCID(text.substr(1), 16);
  if (std::ranges::all_of(text, IsAsciiDigit)) return NumberToLCID(text, 10);
  if (text.size() == 3 && std::ranges::all_of(text, IsAsciiAlpha)) {
    if (const TLCID lcid = AbbreviationToLCID(text); lcid != 0) return lcid;
  }
  return TagToLCID(text);
}

std::string LCIDToStr(TLCID lcid, bool tag) {
  if (!tag) {
    const auto abbreviations = Abbreviations();
    const auto entry = std::ranges::find(abbreviations, lcid, &Abbreviation::Lcid);
    return entry != abbreviations.end() ? entry->Text : "";
  }
  const std::string locale = IcuLocaleOf(lcid);
  if (locale.empty()) return {};
  // Chinese regions imply their script, and the established tags leave it out (zh-TW, zh-HK).
  const std::string language = LanguageOf(locale);
  const std::string script = ScriptOf(locale);
  const std::string region = RegionOf(locale);
  if (language == "zh" && !script.empty() && !region.empty() && locale == "zh_" + script + "_" + region &&
      ScriptOf(Maximized("zh_" + region)) == script) {
    return "zh-" + region;
  }
  return IcuText([&](char* out, int32_t capacity, UErrorCode* status) {
    return uloc_toLanguageTag(locale.c_str(), out, capacity, true, status);
  });
}

std::string LCIDToLangName(TLCID lcid) {
  const std::string locale = IcuLocaleOf(lcid);
  if (locale.empty()) return {};
  UChar name[ULOC_FULLNAME_CAPACITY * 2];
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length =
      uloc_getDisplayName(locale.c_str(), "en", name, static_cast<int32_t>(std::size(name)), &status);
  if (U_FAILURE(status) || length >= static_cast<int32_t>(std::size(name))) return {};
  std::string text;
  EncodeInto(0, std::u16string_view(name, static_cast<std::size_t>(length)), text);
  return text;
}

unsigned LCIDToCodePage(TLCID lcid) {
  auto& codePages = Cache().CodePages;
  if (const auto found = codePages.find(lcid); found != codePages.end()) return found->second;
  const unsigned codePage = ComputeCodePage(lcid);
  codePages.emplace(lcid, codePage);
  return codePage;
}

TLCID VaqGetThreadLocale() {
  return CurrentThreadLocale().Lcid;
}

TLCID VaqSetThreadLocale(TLCID lcid) {
  ThreadLocale& current = CurrentThreadLocale();
  const TLCID previous = current.Lcid;
  current = {lcid, LCIDToCodePage(lcid)};
  return previous;
}

TLCID VaqSystemDefaultLCID() {
  static const TLCID lcid = [] {
    for (const char* variable : {"LC_ALL", "LANG"}) {
      const char* value = std::getenv(variable);
      if (value != nullptr && *value != '\0') return ParsePosixLocaleName(value);
    }
    return kEnglishUS;
  }();
  return lcid;
}

std::u16string StringToWideString(TLCID lcid, std::string_view text) {
  std::u16string wide;
  DecodeInto(LCIDToCodePage(lcid), text, wide);
  return wide;
}

std::string WideStringToString(TLCID lcid, std::u16string_view text) {
  std::string narrow;
  EncodeInto(LCIDToCodePage(lcid), text, narrow);
  return narrow;
}

std::string StringToUtf8(TLCID lcid, std::string_view text) {
  const unsigned codePage = LCIDToCodePage(lcid);
  if (codePage == 0) return std::string(text);
  std::u16string wide;
  locale_internal::DecodeInto(codePage, text, wide);
  std::string utf8;
  locale_internal::EncodeInto(0, wide, utf8);
  return utf8;
}

std::string Utf8ToString(TLCID lcid, std::string_view text) {
  const unsigned codePage = LCIDToCodePage(lcid);
  if (codePage == 0) return std::string(text);
  std::u16string wide;
  locale_internal::DecodeInto(0, text, wide);
  std::string result;
  locale_internal::EncodeInto(codePage, wide, result);
  return result;
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string wide;
  locale_internal::DecodeInto(0, text, wide);
  return wide;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string utf8;
  locale_internal::EncodeInto(0, text, utf8);
  return utf8;
}

}  // namespace vaq
