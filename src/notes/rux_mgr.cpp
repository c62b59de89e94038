// The form notes manager.
#include "notes/rux_mgr.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <optional>
#include <stdexcept>
#include <unordered_set>
#include <utility>

#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/locale.h"
#include "host/core/notes_header.h"
#include "host/core/notes_strings.h"
#include "host/core/search.h"
#include "host/core/text.h"
#include "notes/column_table.h"
#include "notes/component_path.h"
#include "notes/file_names.h"
#include "notes/file_services.h"
#include "notes/form_writer_hook.h"
#include "notes/messages.h"
#include "notes/module_state.h"
#include "notes/notes_record.h"

namespace rux {
namespace {

// A current value longer than this is not offered for translation.
constexpr std::size_t kMaxLocalizeLength = 20000;

// Inserted before the closing quote of a value by the pseudo-translation: "_W", the byte 0xE4, "W".
constexpr std::string_view kPseudoMarker = "_W\344W";

// Records whose Id contains this keep their value in the pseudo-translation: a marked font name
// would make the form unusable.
constexpr std::string_view kFontName = "Font.Name";

// Empty after trimming blanks and control characters.
bool IsBlankLine(std::string_view line) {
  return std::ranges::all_of(line, [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

// Whether `c` begins a two-byte character in the double-byte code page `codePage`.
bool IsLeadByte(unsigned codePage, char c) {
  const auto u = static_cast<unsigned char>(c);
  switch (codePage) {
    case 932:
      return (u >= 0x81 && u <= 0x9F) || (u >= 0xE0 && u <= 0xFC);
    case 936:
    case 949:
    case 950:
      return u >= 0x81 && u <= 0xFE;
    default:
      return false;
  }
}

// The classic two-index quicksort over Order keys that were parsed once beforehand; `exchange(i,
// j)` moves items i and j along with their keys. keys[i - base] is the Order of item i.
template <typename Exchanger>
class OrderSorter {
 public:
  OrderSorter(std::vector<std::int32_t>& keys, int base, Exchanger exchange)
      : keys_(keys), base_(base), exchange_(exchange) {}

  void Sort(int L, int R) {
    while (L < R) {
      int I = L;
      int J = R;
      const std::int32_t P = Key(static_cast<int>((static_cast<long long>(L) + R) / 2));
      do {
        while (Key(I) < P) ++I;
        while (Key(J) > P) --J;
        if (I <= J) {
          Exchange(I, J);
          ++I;
          --J;
        }
      } while (I <= J);
      // The classic form sorts L..J recursively and then loops on I..R. The two parts are disjoint,
      // so sorting the smaller one recursively and looping on the larger gives the same permutation
      // with a stack depth of log n.
      if (J - L < R - I) {
        Sort(L, J);
        L = I;
      } else {
        Sort(I, R);
        R = J;
      }
    }
  }

 private:
  std::int32_t Key(int i) const { return keys_[static_cast<std::size_t>(i - base_)]; }
  void Exchange(int i, int j) {
    exchange_(i, j);
    std::swap(keys_[static_cast<std::size_t>(i - base_)], keys_[static_cast<std::size_t>(j - base_)]);
  }

  std::vector<std::int32_t>& keys_;
  int base_;
  Exchanger exchange_;
};

// The save's consistency check: after sorting, the records of one component (same component path)
// must be adjacent. Answers the message of the first problem, if any.
std::optional<std::string> FindFirstBadRecord(const TRuxMgr& mgr) {
  std::unordered_set<std::string> seen;  // case keys of the component paths met before the last one
  std::string_view last;
  bool haveLast = false;
  for (std::size_t i = 0; i < mgr.Lines.size(); ++i) {
    const std::string& line = mgr.Lines[i];
    const auto number = static_cast<std::int64_t>(i + 1);
    TRecordKey record;
    try {
      record = ReadRecordKey(line);
    } catch (const vaq::EConvertError&) {
      return vaq::Format(SInvalidRecord.Text, {line});
    }
    if (record.Order == OrderNotWritten) continue;
    const std::string_view path = ComponentPathView(record.Id);
    if (path.empty()) {
      return vaq::Format(SBadFile.Text,
                         {mgr.FileName, vaq::Format(SUnableToFindObject.Text, {number, std::string(path)})});
    }
    // Most records belong to the component of the record before them.
    if (haveLast && (path == last || vaq::AnsiSameText(path, last))) continue;
    if (!seen.insert(vaq::AnsiCaseKey(path)).second) {
      return vaq::Format(SBadFile.Text,
                         {mgr.FileName, vaq::Format(SObjectOutOfSync.Text, {number, std::string(path)})});
    }
    last = path;  // a view into the line, which stays while the check runs
    haveLast = true;
  }
  return std::nullopt;
}

}  // namespace

struct TRuxMgr::SearchContext {
  vaq::TLCID SourceLcid = 0;  // of the source and target language, handed with every hit
  vaq::TLCID TargetLcid = 0;
  bool Continue = true;
  // The search text in the code page of each column searched so far; none when that code page
  // cannot hold it (such a column has no match).
  std::map<unsigned, std::optional<std::string>> Encoded;
};

namespace {

// The search text, held in `From`'s code page, in the code page of `To`; none when a character of
// it has no place there.
std::optional<std::string> EncodeSearchText(const std::string& Text, vaq::TLCID From, vaq::TLCID To) {
  const unsigned fromPage = vaq::LCIDToCodePage(From);
  const unsigned toPage = vaq::LCIDToCodePage(To);
  if (fromPage == toPage) return Text;
  const std::u16string wide = vaq::StringToWideString(From, Text);
  std::string encoded = vaq::WideStringToString(To, wide);
  if (vaq::StringToWideString(To, encoded) != wide) return std::nullopt;
  return encoded;
}

}  // namespace

TRuxMgr::TRuxMgr() = default;

TRuxMgr::TRuxMgr(const std::string& FileName) {
  Lines = vaq::LoadLines(rux::FileNameToNoteName(FileName));
  LoadFromStringList(nullptr, FileName, std::string());
}

TRuxMgr::~TRuxMgr() {
  if (CurrentMgr() == this) SetCurrentMgr(nullptr);
}

void TRuxMgr::LoadFromStringList(const std::vector<std::string>* List, const std::string& FileName,
                                 const std::string& Name2) {
  this->FileName = FileName;
  this->Name2 = Name2;
  if (List != nullptr && List != &Lines) {
    ClearList();
    Lines = *List;
  }
  RemoveHeaderLines(Lines);
  if (List == nullptr) {
    vaq::TFileStats stats;
    GetStats(FileName, false, stats);
    Stats = std::move(stats);
  }
}

void TRuxMgr::RemoveHeaderLines(std::vector<std::string>& Lines) {
  for (int pass = 0; pass < 2; ++pass) {
    if (!Lines.empty() && vaq::IsNotesHeaderLine(Lines.front())) Lines.erase(Lines.begin());
  }
  std::erase_if(Lines, [](const std::string& line) { return IsBlankLine(line); });
}

void TRuxMgr::QuickSortReOrder(std::vector<std::string>& Lines, int L, int R) {
  if (R < L) return;
  if (L < 0 || static_cast<std::size_t>(R) >= Lines.size()) {
    throw std::out_of_range("QuickSortReOrder: range " + std::to_string(L) + ".." + std::to_string(R) +
                            " outside a list of " + std::to_string(Lines.size()) + " lines");
  }
  // Every key is read before anything moves, so a bad Order leaves the lines as they were.
  std::vector<std::int32_t> keys;
  keys.reserve(static_cast<std::size_t>(R - L) + 1);
  for (int i = L; i <= R; ++i) {
    keys.push_back(vaq::StrToInt(vaq::GetValueView(Lines[static_cast<std::size_t>(i)], KeyOrder)));
  }
  const auto exchange = [&Lines](int i, int j) {
    std::swap(Lines[static_cast<std::size_t>(i)], Lines[static_cast<std::size_t>(j)]);
  };
  OrderSorter(keys, L, exchange).Sort(L, R);
}

std::vector<std::size_t> TRuxMgr::OrderPermutation(std::vector<std::int32_t> Keys) {
  std::vector<std::size_t> permutation(Keys.size());
  std::iota(permutation.begin(), permutation.end(), std::size_t{0});
  const auto exchange = [&permutation](int i, int j) {
    std::swap(permutation[static_cast<std::size_t>(i)], permutation[static_cast<std::size_t>(j)]);
  };
  OrderSorter(Keys, 0, exchange).Sort(0, static_cast<int>(Keys.size()) - 1);
  return permutation;
}

bool TRuxMgr::CanLocalize(int Index) {
  std::string& line = Lines.at(static_cast<std::size_t>(Index));
  if (!vaq::StrToBoo(vaq::GetValueView(line, KeyLocalize))) return false;
  if (vaq::GetValueView(line, KeyCurr).size() <= kMaxLocalizeLength) return true;
  line = vaq::SetValue(line, KeyLocalize, "0");
  line = vaq::SetValue(line, KeyStatus, "1");
  return false;
}

void TRuxMgr::SaveStringList() {
  QuickSortReOrder(Lines, 0, GetCount() - 1);
  if (const std::optional<std::string> problem = FindFirstBadRecord(*this)) vaq::ShowError(*problem);
  SaveNotesLines(rux::FileNameToNoteName(FileName), Lines);
}

void TRuxMgr::ReCalcStats(std::int32_t& Translated, std::int32_t& Untranslated) {
  // Both values are compared in the thread locale: a fresh record's current value is a byte copy
  // of its original, which must read as unchanged whatever the two languages' code pages are.
  const vaq::TLCID locale = vaq::VaqDefaultLcid();
  for (std::string& line : Lines) {
    vaq::TVaqNotesString record = StringToNotesString(line, FileName);
    if (record.Status != StatusUntranslated || record.Orig == record.Curr) continue;
    if (vaq::VaqCompareStr(locale, record.Orig, locale, record.Curr) == 0) continue;
    record.Status = StatusTranslated;
    line = NotesStringToString(record, false);
  }
  CalcStats(Translated, Untranslated);
}

void TRuxMgr::CalcStats(std::int32_t& Translated, std::int32_t& Untranslated) {
  const std::vector<int> counts = vaq::GetLocalizeItemCounts(Lines, KeyLocalize, KeyStatus, {"1", "2", "0"});
  Translated = counts[0] + counts[1];
  Untranslated = counts[2];
}

void TRuxMgr::Purge() {
  // Every record is read before any line goes, so a bad record leaves the list as it was.
  std::vector<bool> drop(Lines.size());
  for (std::size_t i = 0; i < Lines.size(); ++i) {
    const vaq::TVaqNotesString record = StringToNotesString(Lines[i], FileName);
    drop[i] = record.Status == StatusObsolete || record.Order == OrderNotWritten;
  }
  std::size_t kept = 0;
  for (std::size_t i = 0; i < Lines.size(); ++i) {
    if (drop[i]) continue;
    if (kept != i) Lines[kept] = std::move(Lines[i]);
    ++kept;
  }
  Lines.resize(kept);
}

void TRuxMgr::EggBuild() {
  for (std::string& line : Lines) {
    const vaq::TVaqNotesString record = StringToNotesString(line, FileName);
    if (record.Status == StatusObsolete || !record.Localize) continue;
    if (record.Id.find(kFontName) != std::string::npos) continue;
    const std::size_t quote = record.Curr.rfind('\'');
    if (quote == std::string::npos) continue;
    std::string value = record.Curr;
    value.insert(quote, kPseudoMarker);
    line = vaq::SetValue(line, KeyCurr, value);
  }
}

void TRuxMgr::MakeDictionary(std::vector<std::string>& List) {
  constexpr std::string_view separator = "\",\"";
  for (const std::string& line : Lines) {
    const vaq::TVaqNotesString record = StringToNotesString(line, FileName);
    if (!record.Orig.starts_with('\'')) continue;
    std::string entry;
    entry.reserve(FileName.size() + record.Id.size() + record.Orig.size() + record.Curr.size() + 11);
    entry.append("\"").append(FileName).append(separator).append(record.Id).append(separator);
    entry.append(record.Orig).append(separator).append(record.Curr).append("\"");
    List.push_back(std::move(entry));
  }
}

void TRuxMgr::AddSaveOutputs(vaq::TAtomicWriteBatch& Batch, bool CreateForm, bool) {
  if (!CreateForm) return;
  WriteTranslatedForm(Lines, FileName, false, bFormAsText ? uffFormatedText : uffBinary,
                      vaq::StrToLCID(Stats.TargetLang), Batch);
}

void TRuxMgr::Search() {
  FoundCount = 0;
  SearchContext context;
  vaq::DoSearchStart(*this, SearchState.SearchText, SearchState.SecondText, context.Continue);
  try {
    if (context.Continue) {
      context.SourceLcid = vaq::StrToLCID(Stats.SourceLang);
      context.TargetLcid = vaq::StrToLCID(Stats.TargetLang);
      if (!SearchState.Selected.empty()) {
        // A selection is searched as it is, translatable or not; its rows are not numbered.
        const vaq::TIntegerList selected = SearchState.Selected;
        for (const int index : selected) {
          if (index < 0 || index >= GetCount()) continue;  // a selection older than the list
          if (!SearchRecord(context, index, -1)) break;
        }
      } else {
        // Rows count the translatable records only, as the grid shows them.
        int row = 1;
        for (int index = 0; index < GetCount(); ++index) {
          if (!CanLocalize(index)) continue;
          if (!SearchRecord(context, index, row)) break;
          ++row;
        }
      }
    }
  } catch (...) {
    vaq::DoSearchEnd(*this, SearchState.SearchText, SearchState.SecondText, FoundCount, context.Continue);
    throw;
  }
  vaq::DoSearchEnd(*this, SearchState.SearchText, SearchState.SecondText, FoundCount, context.Continue);
}

bool TRuxMgr::SearchRecord(SearchContext& Context, int Index, int Row) {
  const vaq::TVaqNotesString record = StringToNotesString(GetStrings(Index), FileName);
  for (int column = ColIndex; column <= LastGridColId; ++column) {
    if (!SearchColumn(Context, record, column, Index, Row)) return false;
  }
  return true;
}

bool TRuxMgr::SearchColumn(SearchContext& Context, const vaq::TVaqNotesString& Record, int Column, int Index,
                           int Row) {
  const vaq::TVaqSearchState& state = SearchState;
  if (state.Columns != 0 && (state.Columns & (1u << Column)) == 0) return true;

  vaq::TLCID locale = vaq::VaqDefaultLcid();
  std::string text;
  switch (Column) {
    case ColId:
      text = Record.Id;
      break;
    case ColOrig:
      text = Record.Orig;
      locale = state.SourceLocale;
      break;
    case ColStatus:
      // A status outside the named ones shows as its number.
      text = Record.Status < vaq::XStatusString.size() ? std::string(vaq::XStatusString[Record.Status])
                                                       : std::to_string(Record.Status);
      break;
    case ColCurr:
      text = Record.Curr;
      locale = state.TargetLocale;
      break;
    case ColCreated:
      text = vaq::VaqDateTimeToStr(Record.Created);
      break;
    case ColModified:
      text = vaq::VaqDateTimeToStr(Record.Modified);
      break;
    case ColPrevOrig:
      text = Record.PrevOrig;
      locale = state.SourceLocale;
      break;
    case ColPrevCurr:
      text = Record.PrevCurr;
      locale = state.TargetLocale;
      break;
    case ColComment:
      text = Record.Comment;
      break;
    default:
      return true;  // the row number is not searched
  }
  if (state.IgnoreAccelerators) text = vaq::TrimPickLetter(text);

  // An empty search text finds nothing (it would match between every two characters).
  if (state.SearchText.empty()) return true;
  // The text is looked for in the column's own code page, so that a candidate of its length in
  // bytes is one of the same characters.
  const unsigned codePage = vaq::LCIDToCodePage(locale);
  auto encoded = Context.Encoded.find(codePage);
  if (encoded == Context.Encoded.end())
    encoded =
        Context.Encoded.emplace(codePage, EncodeSearchText(state.SearchText, state.SearchLocale, locale))
            .first;
  if (!encoded->second) return true;
  const std::string& searched = *encoded->second;
  const std::size_t length = searched.size();
  // Every start position is tried, so overlapping occurrences are all reported; a double-byte
  // character is stepped over whole.
  for (std::size_t i = 0; i + length <= text.size(); i += IsLeadByte(codePage, text[i]) ? 2 : 1) {
    const std::string_view candidate = std::string_view(text).substr(i, length);
    const int compared = state.CaseSensitive ? vaq::VaqCompareStr(locale, searched, locale, candidate)
                                             : vaq::VaqCompareText(locale, searched, locale, candidate);
    if (compared != 0) continue;
    const int position = static_cast<int>(i);
    if (state.WholeWord && !vaq::IsWholeWord(text, position, position + static_cast<int>(length) + 1))
      continue;
    vaq::DoSearchFound(*this, state.SearchText, text, state.SecondText, Column, Index, Row, position + 1,
                       Context.SourceLcid, Context.TargetLcid, Context.Continue);
    if (!Context.Continue) return false;
  }
  return true;
}

std::string TRuxMgr::NotesStringToString(const vaq::TVaqNotesString& NotesString, bool Flag) const {
  return rux::NotesStringToString(NotesString, Flag);
}

vaq::TVaqNotesString TRuxMgr::StringToNotesString(std::string_view S, std::string_view FileName) const {
  return rux::StringToNotesString(S, FileName);
}

std::string TRuxMgr::FileNameToNoteName(std::string_view FileName) const {
  return rux::FileNameToNoteName(FileName);
}

}  // namespace rux
