// Search support: hooks that report hits, the search locales, comparisons and word tests.
#include "host/core/search.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include <algorithm>

#include "host/core/locale.h"
#include "host/core/translator_mgr.h"

namespace vaq {
namespace {

bool IsAscii(std::string_view text) {
  return std::ranges::all_of(text, [](char c) { return (static_cast<unsigned char>(c) & 0x80) == 0; });
}

unsigned char AsciiLower(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 'A' && u <= 'Z' ? static_cast<unsigned char>(u + ('a' - 'A')) : u;
}

int Sign(int value) {
  return (value > 0) - (value < 0);
}

int CompareCaseFolded(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const unsigned char x = AsciiLower(a[i]);
    const unsigned char y = AsciiLower(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// 8-bit text has no letter classes that hold in every code page: every byte from 0x80 up counts as
// part of a word, so that a match inside an accented word is never taken for a whole word.
bool IsWordByte(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 0x80 || u == '_' || (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

bool IsWordAt(std::string_view text, int position) {
  return position >= 1 && static_cast<std::size_t>(position) <= text.size() &&
         IsWordByte(text[static_cast<std::size_t>(position - 1)]);
}

}  // namespace

TVaqSearchResults& VaqSearchResults() {
  static TVaqSearchResults results;
  return results;
}

void DoSearchStart(TVaqTranslatorMgr&, const std::string&, const std::string&, bool&) {}

void DoSearchFound(TVaqTranslatorMgr& Mgr, const std::string& SearchText, const std::string& Text,
                   const std::string& SecondText, int Column, int Index, int Row, int Position,
                   TLCID SourceLocale, TLCID TargetLocale, bool& Continue) {
  ++Mgr.FoundCount;
  if (Mgr.OnFound) {
    Mgr.OnFound(Mgr, SearchText, Text, SecondText, Column, Index, Row, Position, SourceLocale, TargetLocale,
                Continue);
  }
}

void DoSearchEnd(TVaqTranslatorMgr&, const std::string&, const std::string&, int, bool&) {}

void InitSearchLocale(TVaqTranslatorMgr& Mgr) {
  Mgr.SearchState.SourceLocale = StrToLCID(Mgr.Stats.SourceLang);
  Mgr.SearchState.TargetLocale = StrToLCID(Mgr.Stats.TargetLang);
}

TLCID VaqDefaultLcid() {
  return VaqGetThreadLocale();
}

int VaqCompareStr(TLCID LocaleA, std::string_view A, TLCID LocaleB, std::string_view B) {
  // Every code page we convert maps ASCII to itself, so ASCII texts compare as bytes.
  if (IsAscii(A) && IsAscii(B)) return Sign(A.compare(B));
  const std::u16string a = StringToWideString(LocaleA, A);
  const std::u16string b = StringToWideString(LocaleB, B);
  return Sign(u_strCompare(a.data(), static_cast<int32_t>(a.size()), b.data(), static_cast<int32_t>(b.size()),
                           false));
}

int VaqCompareText(TLCID LocaleA, std::string_view A, TLCID LocaleB, std::string_view B) {
  // Default case folding maps ASCII only to ASCII: A-Z to a-z.
  if (IsAscii(A) && IsAscii(B)) return CompareCaseFolded(A, B);
  const std::u16string a = StringToWideString(LocaleA, A);
  const std::u16string b = StringToWideString(LocaleB, B);
  UErrorCode status = U_ZERO_ERROR;
  return Sign(u_strCaseCompare(a.data(), static_cast<int32_t>(a.size()), b.data(),
                               static_cast<int32_t>(b.size()), U_FOLD_CASE_DEFAULT, &status));
}

std::string TrimPickLetter(std::string_view Text) {
  std::string result;
  result.reserve(Text.size());
  for (std::size_t i = 0; i < Text.size(); ++i) {
    if (Text[i] != '&') {
      result.push_back(Text[i]);
    } else if (i + 1 < Text.size() && Text[i + 1] == '&') {
      result.push_back('&');
      ++i;
    }
  }
  return result;
}

bool IsWholeWord(std::string_view Text, int Start, int End) {
  return !IsWordAt(Text, Start) && !IsWordAt(Text, End);
}

}  // namespace vaq
