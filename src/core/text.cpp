// Case conversion and case-insensitive comparison of 8-bit texts in the thread locale's code page.
#include <unicode/uchar.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>

#include <algorithm>

#include "core/locale_internal.h"
#include "host/core/locale.h"
#include "host/core/text.h"

namespace vaq {
namespace {

using locale_internal::RoundTrips;

bool IsAscii(unsigned char c) {
  return c < 0x80;
}
bool IsAsciiText(std::string_view text) {
  return std::ranges::all_of(text, [](char c) { return IsAscii(static_cast<unsigned char>(c)); });
}
char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
char AsciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Buffers of the slow paths, kept per thread so that repeated calls do not allocate.
struct Scratch {
  std::u16string Source, Mapped, Piece, Other;
};

Scratch& ThreadScratch() {
  thread_local Scratch scratch;
  return scratch;
}

// ICU's full case mapping with the root rules (ß -> SS, final sigma).
void MapCase(std::u16string_view text, bool upper, std::u16string& out) {
  const auto map = upper ? u_strToUpper : u_strToLower;
  out.resize(text.size() + 8);
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = map(out.data(), static_cast<int32_t>(out.size()), text.data(),
                       static_cast<int32_t>(text.size()), "", &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    out.resize(static_cast<std::size_t>(length));
    status = U_ZERO_ERROR;
    length = map(out.data(), length, text.data(), static_cast<int32_t>(text.size()), "", &status);
  }
  out.resize(U_FAILURE(status) ? 0 : static_cast<std::size_t>(length));
}

bool AllRoundTrip(unsigned codePage, std::u16string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    UChar32 c;
    U16_NEXT(text.data(), i, text.size(), c);
    if (!RoundTrips(codePage, static_cast<char32_t>(c))) return false;
  }
  return true;
}

// Maps one character at a time, each to what the code page can hold: the full mapping, else the
// simple one-to-one mapping, else the character itself. İ lowers to "i" plus a combining dot that
// 1254 lacks, and µ uppers to a Greek capital that no Western code page has.
void MapEachCharacter(unsigned codePage, std::u16string_view text, bool upper, std::u16string& piece,
                      std::u16string& out) {
  out.clear();
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t start = i;
    UChar32 c;
    U16_NEXT(text.data(), i, text.size(), c);
    MapCase(text.substr(start, i - start), upper, piece);
    if (!piece.empty() && AllRoundTrip(codePage, piece)) {
      out += piece;
      continue;
    }
    const UChar32 simple = upper ? u_toupper(c) : u_tolower(c);
    const UChar32 chosen = RoundTrips(codePage, static_cast<char32_t>(simple)) ? simple : c;
    if (U_IS_BMP(chosen)) {
      out += static_cast<char16_t>(chosen);
    } else {
      out += static_cast<char16_t>(U16_LEAD(chosen));
      out += static_cast<char16_t>(U16_TRAIL(chosen));
    }
  }
}

std::string ChangeCase(std::string_view text, bool upper) {
  std::string result(text);
  if (IsAsciiText(text)) {
    std::ranges::transform(result, result.begin(), upper ? AsciiUpper : AsciiLower);
    return result;
  }
  const unsigned codePage = locale_internal::ThreadCodePage();
  Scratch& scratch = ThreadScratch();
  locale_internal::DecodeInto(codePage, text, scratch.Source);
  MapCase(scratch.Source, upper, scratch.Mapped);
  if (!AllRoundTrip(codePage, scratch.Mapped)) {
    MapEachCharacter(codePage, scratch.Source, upper, scratch.Piece, scratch.Mapped);
  }
  locale_internal::EncodeInto(codePage, scratch.Mapped, result);
  return result;
}

int Sign(int value) {
  return (value > 0) - (value < 0);
}

// Every code page we use keeps ASCII bytes as single characters, so a common ASCII prefix consists
// of whole characters in both texts, and the first difference inside it decides.
int CompareText(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  std::size_t i = 0;
  for (; i < common; ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (!IsAscii(x) || !IsAscii(y)) break;
    const char lowerX = AsciiLower(static_cast<char>(x));
    const char lowerY = AsciiLower(static_cast<char>(y));
    if (lowerX != lowerY) return lowerX < lowerY ? -1 : 1;
  }
  // Case folding never folds a character to nothing, so a text that is the other's prefix sorts first.
  if (i == common) return (a.size() > b.size()) - (a.size() < b.size());
  const unsigned codePage = locale_internal::ThreadCodePage();
  Scratch& scratch = ThreadScratch();
  locale_internal::DecodeInto(codePage, a.substr(i), scratch.Source);
  locale_internal::DecodeInto(codePage, b.substr(i), scratch.Other);
  UErrorCode status = U_ZERO_ERROR;
  const int32_t result = u_strCaseCompare(scratch.Source.data(), static_cast<int32_t>(scratch.Source.size()),
                                          scratch.Other.data(), static_cast<int32_t>(scratch.Other.size()),
                                          U_FOLD_CASE_DEFAULT, &status);
  return Sign(result);
}

}  // namespace

std::string AnsiLowerCase(std::string_view text) {
  return ChangeCase(text, false);
}

std::string AnsiUpperCase(std::string_view text) {
  return ChangeCase(text, true);
}

int AnsiCompareText(std::string_view a, std::string_view b) {
  return CompareText(a, b);
}

bool AnsiSameText(std::string_view a, std::string_view b) {
  return CompareText(a, b) == 0;
}

std::string AnsiCaseKey(std::string_view text) {
  std::string key(text);
  if (IsAsciiText(text)) {
    std::ranges::transform(key, key.begin(), AsciiLower);
    return key;
  }
  // The comparison folds with U_FOLD_CASE_DEFAULT, so the key is the same folding.
  Scratch& scratch = ThreadScratch();
  locale_internal::DecodeInto(locale_internal::ThreadCodePage(), text, scratch.Source);
  scratch.Mapped.resize(scratch.Source.size() * 3 + 8);
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length =
      u_strFoldCase(scratch.Mapped.data(), static_cast<int32_t>(scratch.Mapped.size()), scratch.Source.data(),
                    static_cast<int32_t>(scratch.Source.size()), U_FOLD_CASE_DEFAULT, &status);
  if (U_FAILURE(status)) return key;
  scratch.Mapped.resize(static_cast<std::size_t>(length));
  return Utf16ToUtf8(scratch.Mapped);
}

}  // namespace vaq
