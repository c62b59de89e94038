// The consistency check: what a translation must keep of its original.
#include <unicode/uchar.h>

#include <algorithm>

#include "checks/string_checks.h"
#include "core/values/string_notation.h"
#include "host/core/locale.h"

namespace rux::checks {
namespace {

std::string Utf8(std::u16string_view text) {
  return vaq::values::OneLineText(text);
}

bool IsAsciiDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

// The length of a "%" placeholder at `at` ("%s", "%1:s", "%-10.2f", "%*d", "%ld"); 0 when there is none.
std::size_t FormatPlaceholderAt(std::u16string_view text, std::size_t at) {
  std::size_t i = at + 1;
  auto digits = [&] {
    while (i < text.size() && IsAsciiDigit(text[i])) ++i;
  };
  const std::size_t indexStart = i;
  digits();
  if (i > indexStart && i < text.size() && text[i] == u':') {
    ++i;
  } else {
    i = indexStart;
  }
  if (i < text.size() && text[i] == u'-') ++i;
  if (i < text.size() && text[i] == u'*') {
    ++i;
  } else {
    digits();
  }
  if (i < text.size() && text[i] == u'.') {
    ++i;
    if (i < text.size() && text[i] == u'*') {
      ++i;
    } else {
      digits();
    }
  }
  if (i < text.size() && (text[i] == u'l' || text[i] == u'L')) ++i;
  if (i == text.size()) return 0;
  const char16_t type = text[i];
  static constexpr std::u16string_view kTypes = u"dsuefgnmpxicDSUEFGNMPXIC";
  if (kTypes.find(type) == std::u16string_view::npos) return 0;
  return i + 1 - at;
}

// The length of a "{0}" or "{1:N2}" placeholder at `at`; 0 when there is none.
std::size_t BracePlaceholderAt(std::u16string_view text, std::size_t at) {
  std::size_t i = at + 1;
  const std::size_t start = i;
  while (i < text.size() && IsAsciiDigit(text[i])) ++i;
  if (i == start || i == text.size()) return 0;
  if (text[i] == u':' || text[i] == u',') {
    while (i < text.size() && text[i] != u'}' && text[i] != u'{') ++i;
  }
  if (i == text.size() || text[i] != u'}') return 0;
  return i + 1 - at;
}

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\u00A0';
}

std::size_t LeadingBlanks(std::u16string_view text) {
  std::size_t n = 0;
  while (n < text.size() && IsBlank(text[n])) ++n;
  return n;
}

std::size_t TrailingBlanks(std::u16string_view text) {
  std::size_t n = 0;
  while (n < text.size() && IsBlank(text[text.size() - 1 - n])) ++n;
  return n;
}

std::u16string_view TrimRight(std::u16string_view text) {
  return text.substr(0, text.size() - TrailingBlanks(text));
}

bool EndsWithColon(std::u16string_view text) {
  text = TrimRight(text);
  return !text.empty() && (text.back() == u':' || text.back() == u'\uFF1A');
}

bool EndsWithEllipsis(std::u16string_view text) {
  text = TrimRight(text);
  return text.ends_with(u"...") || text.ends_with(u"\u2026");
}

int LineCount(std::u16string_view text) {
  int lines = 1;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r') {
      ++lines;
      if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else if (text[i] == u'\n') {
      ++lines;
    }
  }
  return lines;
}

std::string Join(const std::vector<std::string>& items) {
  if (items.empty()) return "none";
  std::string result;
  for (const std::string& item : items) result += (result.empty() ? "" : " ") + item;
  return result;
}

// Placeholders without an index ("%s", "%d") are filled in their order, so their sequence matters;
// indexed ones may move.
std::vector<std::string> Sequential(const std::vector<std::string>& all) {
  std::vector<std::string> result;
  for (const std::string& p : all) {
    if (p.front() == '%' && p.find(':') == std::string::npos) result.push_back(p);
  }
  return result;
}

std::string Plural(std::size_t n, const char* word) {
  return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

void CheckText(const TCheckedForm& form, const TCheckedText& text, std::vector<TFinding>& findings) {
  auto add = [&](std::string detail) {
    findings.push_back({form.File, text.Id, TFindingKind::Consistency, std::move(detail), std::nullopt});
  };
  if (text.Curr == text.Orig) return;

  const std::vector<std::string> orig = PlaceholdersOf(text.Orig);
  const std::vector<std::string> curr = PlaceholdersOf(text.Curr);
  std::vector<std::string> origSorted = orig, currSorted = curr;
  std::sort(origSorted.begin(), origSorted.end());
  std::sort(currSorted.begin(), currSorted.end());
  if (origSorted != currSorted) {
    add("placeholders: the original has " + Join(orig) + ", the translation " + Join(curr));
  } else if (Sequential(orig) != Sequential(curr)) {
    add("placeholders in another order: the original has " + Join(orig) + ", the translation " + Join(curr));
  }

  const std::size_t leadOrig = LeadingBlanks(text.Orig), leadCurr = LeadingBlanks(text.Curr);
  if (leadOrig != leadCurr && leadOrig < text.Orig.size()) {
    add("leading blanks: the original has " + std::to_string(leadOrig) + ", the translation " +
        std::to_string(leadCurr));
  }
  const std::size_t trailOrig = TrailingBlanks(text.Orig), trailCurr = TrailingBlanks(text.Curr);
  if (trailOrig != trailCurr && trailOrig < text.Orig.size()) {
    add("trailing blanks: the original has " + std::to_string(trailOrig) + ", the translation " +
        std::to_string(trailCurr));
  }

  if (EndsWithColon(text.Orig) != EndsWithColon(text.Curr)) {
    add(EndsWithColon(text.Orig) ? "the original ends with a colon, the translation does not"
                                 : "the translation ends with a colon, the original does not");
  }
  if (EndsWithEllipsis(text.Orig) != EndsWithEllipsis(text.Curr)) {
    add(EndsWithEllipsis(text.Orig) ? "the original ends with an ellipsis, the translation does not"
                                    : "the translation ends with an ellipsis, the original does not");
  }

  const int linesOrig = LineCount(text.Orig), linesCurr = LineCount(text.Curr);
  if (linesOrig != linesCurr) {
    add("lines: the original has " + std::to_string(linesOrig) + ", the translation " +
        std::to_string(linesCurr));
  }

  const auto bars = [](std::u16string_view s) {
    return static_cast<std::size_t>(std::count(s.begin(), s.end(), u'|'));
  };
  const std::size_t barsOrig = bars(text.Orig), barsCurr = bars(text.Curr);
  if (barsOrig != barsCurr) {
    add("elements separated by '|': the original has " + std::to_string(barsOrig + 1) + ", the translation " +
        std::to_string(barsCurr + 1) + " ('" + Utf8(text.Curr) + "')");
  }
}

}  // namespace

std::vector<std::string> PlaceholdersOf(std::u16string_view Text) {
  std::vector<std::string> result;
  for (std::size_t i = 0; i < Text.size(); ++i) {
    if (Text[i] == u'%') {
      if (i + 1 < Text.size() && Text[i + 1] == u'%') {
        ++i;
        continue;
      }
      if (const std::size_t n = FormatPlaceholderAt(Text, i)) {
        result.push_back(Utf8(Text.substr(i, n)));
        i += n - 1;
      }
    } else if (Text[i] == u'{') {
      if (i + 1 < Text.size() && Text[i + 1] == u'{') {
        ++i;
        continue;
      }
      if (const std::size_t n = BracePlaceholderAt(Text, i)) {
        result.push_back(Utf8(Text.substr(i, n)));
        i += n - 1;
      }
    }
  }
  return result;
}

void CheckConsistency(const TCheckedForm& Form, std::vector<TFinding>& Findings) {
  for (const TCheckedText& text : Form.Texts) CheckText(Form, text, Findings);
  for (const TCheckedList& list : Form.Lists) {
    if (list.Missing.empty()) continue;
    std::string missing;
    for (int index : list.Missing) missing += (missing.empty() ? "" : ", ") + std::to_string(index);
    Findings.push_back(
        {Form.File, list.Id + "[" + std::to_string(list.Missing.front()) + "]", TFindingKind::Consistency,
         "the list " + list.Id + " has " + Plural(static_cast<std::size_t>(list.Elements), "element") +
             " in the original, the translated form gets " + std::to_string(list.Written) +
             " (missing: " + missing + ")",
         std::nullopt});
  }
}

void CheckUntranslated(const TCheckedForm& Form, std::vector<TFinding>& Findings) {
  for (const TCheckedText& text : Form.Texts) {
    if (!text.Localize || text.Status != 0 || text.Curr != text.Orig) continue;
    if (text.Property == "Font.Name" || text.Property.ends_with(".Font.Name")) continue;
    const bool hasLetter =
        std::any_of(text.Curr.begin(), text.Curr.end(), [](char16_t c) { return u_isalpha(c); });
    if (!hasLetter) continue;
    Findings.push_back({Form.File, text.Id, TFindingKind::Untranslated,
                        "'" + Utf8(text.Curr) + "' is not translated", std::nullopt});
  }
}

}  // namespace rux::checks
