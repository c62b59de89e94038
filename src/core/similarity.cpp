// Word-level similarity of interface texts (ICU for the character properties and case folding).
#include "host/core/similarity.h"

#include <unicode/uchar.h>
#include <unicode/uscript.h>
#include <unicode/utf8.h>

#include <algorithm>

namespace vaq {
namespace {

enum class TCharClass {
  Space,   // separates words
  Letter,  // joins the word before it
  Single,  // a word by itself: a character of a script written without blanks
  Sign,    // a word by itself: punctuation, symbols
  Mark,    // belongs to the character before it
};

TCharClass ClassOf(UChar32 c) {
  if (u_isUWhiteSpace(c) || u_charType(c) == U_CONTROL_CHAR || c == 0xFEFF) return TCharClass::Space;
  const std::uint32_t category = U_MASK(u_charType(c));
  if (category & U_GC_M_MASK) return TCharClass::Mark;
  if (!(category & (U_GC_L_MASK | U_GC_N_MASK))) return TCharClass::Sign;
  if (c == 0x30FC || c == 0xFF70) return TCharClass::Single;  // the prolonged sound marks of kana
  UErrorCode error = U_ZERO_ERROR;
  switch (uscript_getScript(c, &error)) {
    case USCRIPT_HAN:
    case USCRIPT_HIRAGANA:
    case USCRIPT_KATAKANA:
    case USCRIPT_KATAKANA_OR_HIRAGANA:
    case USCRIPT_BOPOMOFO:
    case USCRIPT_THAI:
    case USCRIPT_LAO:
    case USCRIPT_KHMER:
    case USCRIPT_MYANMAR:
      return TCharClass::Single;
    default:
      return TCharClass::Letter;
  }
}

// Punctuation that ends a text without changing what it says: "Name:", "Open...", "終了。".
bool IsTrailingPunctuation(UChar32 c) {
  return u_hasBinaryProperty(c, UCHAR_TERMINAL_PUNCTUATION) || c == 0x2026 || c == 0x22EF;
}

struct TCodePoint {
  UChar32 Char;
  std::size_t Begin;
  std::size_t End;
};

std::vector<TCodePoint> CodePoints(std::string_view text) {
  std::vector<TCodePoint> result;
  result.reserve(text.size());
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  const auto length = static_cast<std::int32_t>(text.size());
  std::int32_t i = 0;
  while (i < length) {
    const std::int32_t begin = i;
    UChar32 c;
    U8_NEXT(bytes, i, length, c);
    if (c < 0) c = 0xFFFD;
    result.push_back({c, static_cast<std::size_t>(begin), static_cast<std::size_t>(i)});
  }
  return result;
}

bool IsOpenParenthesis(UChar32 c) {
  return c == '(' || c == 0xFF08;
}
bool IsCloseParenthesis(UChar32 c) {
  return c == ')' || c == 0xFF09;
}

void AppendUtf8(std::string& text, UChar32 c) {
  char buffer[U8_MAX_LENGTH];
  std::int32_t length = 0;
  U8_APPEND_UNSAFE(reinterpret_cast<std::uint8_t*>(buffer), length, c);  // room for any character
  text.append(buffer, static_cast<std::size_t>(length));
}

class TWordReader {
 public:
  std::vector<TTextWord> Read(std::string_view text) {
    const std::vector<TCodePoint> chars = CodePoints(text);
    for (std::size_t i = 0; i < chars.size(); ++i) {
      const TCodePoint& c = chars[i];
      if (c.Char == '&') {
        if (i + 1 < chars.size() && chars[i + 1].Char == '&') {  // "&&" shows one "&"
          AddSign({'&', c.Begin, chars[i + 1].End});
          ++i;
        }
        if (last_ < 0) mark_ = c.Begin;  // a word that starts here starts at its mark
        continue;                        // an accelerator mark: the next character continues the word
      }
      // An accelerator of its own in parentheses, as translations into Japanese and Chinese add it.
      if (IsOpenParenthesis(c.Char) && i + 3 < chars.size() && chars[i + 1].Char == '&' &&
          chars[i + 2].Char != '&' && ClassOf(chars[i + 2].Char) != TCharClass::Space &&
          IsCloseParenthesis(chars[i + 3].Char)) {
        last_ = -1;
        i += 3;
        continue;
      }
      switch (ClassOf(c.Char)) {
        case TCharClass::Space:
          last_ = -1;
          break;
        case TCharClass::Letter:
          if (last_ < 0 || !letters_) Start(c, true);
          Append(c);
          break;
        case TCharClass::Mark:
          if (last_ < 0) Start(c, true);
          Append(c);
          break;
        case TCharClass::Single:
          Start(c, false);
          Append(c);
          break;
        case TCharClass::Sign:
          AddSign(c);
          break;
      }
      mark_ = std::string::npos;
    }
    while (!words_.empty() && signs_.back() && words_.back().Weight == 1 &&
           IsTrailingPunctuation(lastChar_.back())) {
      words_.pop_back();
      signs_.pop_back();
      lastChar_.pop_back();
    }
    return std::move(words_);
  }

 private:
  void Start(const TCodePoint& c, bool letters) {
    words_.push_back({});
    words_.back().Begin = std::min(c.Begin, mark_);
    signs_.push_back(false);
    lastChar_.push_back(0);
    last_ = static_cast<int>(words_.size()) - 1;
    letters_ = letters;
  }
  void Append(const TCodePoint& c) {
    TTextWord& word = words_[static_cast<std::size_t>(last_)];
    AppendUtf8(word.Text, c.Char);
    AppendUtf8(word.Folded, u_foldCase(c.Char, U_FOLD_CASE_DEFAULT));
    ++word.Weight;
    word.End = c.End;
    lastChar_[static_cast<std::size_t>(last_)] = c.Char;
  }
  void AddSign(const TCodePoint& c) {
    Start(c, false);
    signs_.back() = true;
    Append(c);
  }

  std::vector<TTextWord> words_;
  std::vector<bool> signs_;               // per word: a sign
  std::vector<UChar32> lastChar_;         // per word: its last character
  int last_ = -1;                         // the word the previous character belongs to; -1 after a blank
  std::size_t mark_ = std::string::npos;  // an accelerator mark just before, outside a word
  bool letters_ = false;                  // that word is a run of letters that goes on
};

// Characters whose case differs between two words that fold to the same text.
int CaseDifferences(std::string_view a, std::string_view b) {
  const std::vector<TCodePoint> x = CodePoints(a);
  const std::vector<TCodePoint> y = CodePoints(b);
  int differences = static_cast<int>(x.size() > y.size() ? x.size() - y.size() : y.size() - x.size());
  for (std::size_t i = 0; i < std::min(x.size(), y.size()); ++i) differences += x[i].Char != y[i].Char;
  return std::max(differences, 1);
}

int ReplaceCost(const TTextWord& a, const TTextWord& b) {
  if (a.Text == b.Text) return 0;
  if (a.Folded == b.Folded) return std::max(CaseDifferences(a.Text, b.Text), std::abs(a.Weight - b.Weight));
  return std::max(a.Weight, b.Weight);
}

// The full table of distances between the prefixes: (a.size() + 1) rows of (b.size() + 1).
std::vector<int> DistanceTable(const std::vector<TTextWord>& a, const std::vector<TTextWord>& b) {
  const std::size_t columns = b.size() + 1;
  std::vector<int> table((a.size() + 1) * columns, 0);
  for (std::size_t j = 1; j <= b.size(); ++j) table[j] = table[j - 1] + b[j - 1].Weight;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    int* row = &table[i * columns];
    const int* above = row - columns;
    row[0] = above[0] + a[i - 1].Weight;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      row[j] = std::min({above[j - 1] + ReplaceCost(a[i - 1], b[j - 1]), above[j] + a[i - 1].Weight,
                         row[j - 1] + b[j - 1].Weight});
    }
  }
  return table;
}

}  // namespace

std::vector<TTextWord> SimilarityWords(std::string_view Utf8) {
  return TWordReader().Read(Utf8);
}

int WordsWeight(const std::vector<TTextWord>& Words) {
  int weight = 0;
  for (const TTextWord& word : Words) weight += word.Weight;
  return weight;
}

int WordDistance(const std::vector<TTextWord>& A, const std::vector<TTextWord>& B) {
  // Two rows are enough for the distance alone.
  std::vector<int> above(B.size() + 1), row(B.size() + 1);
  for (std::size_t j = 1; j <= B.size(); ++j) above[j] = above[j - 1] + B[j - 1].Weight;
  for (std::size_t i = 1; i <= A.size(); ++i) {
    row[0] = above[0] + A[i - 1].Weight;
    for (std::size_t j = 1; j <= B.size(); ++j) {
      row[j] = std::min({above[j - 1] + ReplaceCost(A[i - 1], B[j - 1]), above[j] + A[i - 1].Weight,
                         row[j - 1] + B[j - 1].Weight});
    }
    std::swap(above, row);
  }
  return above[B.size()];
}

int SimilarityPercent(const std::vector<TTextWord>& A, const std::vector<TTextWord>& B) {
  const int larger = std::max(WordsWeight(A), WordsWeight(B));
  if (larger == 0) return 100;
  return 100 * (larger - WordDistance(A, B)) / larger;
}

int SimilarityPercent(std::string_view A, std::string_view B) {
  return SimilarityPercent(SimilarityWords(A), SimilarityWords(B));
}

std::vector<TWordDifference> DiffWords(std::string_view Asked, std::string_view Stored) {
  const std::vector<TTextWord> a = SimilarityWords(Asked);
  const std::vector<TTextWord> b = SimilarityWords(Stored);
  const std::vector<int> table = DistanceTable(a, b);
  const std::size_t columns = b.size() + 1;
  const auto at = [&](std::size_t i, std::size_t j) { return table[i * columns + j]; };
  std::vector<TWordDifference> result(b.size());
  for (std::size_t j = 0; j < b.size(); ++j) result[j] = {b[j].Begin, b[j].End, true};
  // Back through the table; an equal pair is preferred, so that equal words stay unmarked.
  std::size_t i = a.size(), j = b.size();
  while (i > 0 && j > 0) {
    const int cost = ReplaceCost(a[i - 1], b[j - 1]);
    if (at(i, j) == at(i - 1, j - 1) + cost) {
      result[j - 1].Differs = cost != 0;
      --i;
      --j;
    } else if (at(i, j) == at(i, j - 1) + b[j - 1].Weight) {
      --j;
    } else {
      --i;
    }
  }
  return result;
}

}  // namespace vaq
