// Search across notes: the request, the state inside a manager, comparisons and reporting of hits.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "host/core/types.h"

namespace vaq {

class TVaqTranslatorMgr;

using TIntegerList = std::vector<int>;

// One entry of the search window's column check-list.
struct TCheckListEntry {
  std::string Caption;
  bool Checked = false;
};

// One search request of the core.
struct TSearchInfo {
  TLCID Locale = 0;                      // locale of the search text
  std::string FileName;                  // form file to search
  std::vector<TCheckListEntry> Columns;  // which columns to search, by caption
};

// Called for every hit: the manager searched, search text, searched text, second text, column id,
// record index, row (-1 for a selection), position (from 1), source and target locale; set
// Continue to false to stop.
using TSearchFoundEvent =
    std::function<void(TVaqTranslatorMgr& Sender, const std::string& SearchText, const std::string& Text,
                       const std::string& SecondText, int Column, int Index, int Row, int Position,
                       TLCID SourceLocale, TLCID TargetLocale, bool& Continue)>;

// The search state every manager carries.
struct TVaqSearchState {
  std::string SearchText;
  std::string SecondText;
  TLCID SearchLocale = 0;
  TIntegerList Selected;      // selected record indices; empty means all
  std::uint16_t Columns = 0;  // bit n for column id n; 0 means all
  bool CaseSensitive = false;
  bool IgnoreAccelerators = false;
  bool WholeWord = false;
  TLCID SourceLocale = 0;
  TLCID TargetLocale = 0;
};

// The search-results window: told when a batch of searches starts and ends. The command-line host
// prints the hits itself (through the found callback), so the default does nothing.
class TVaqSearchResults {
 public:
  virtual ~TVaqSearchResults() = default;
  virtual void BeginUpdate() {}
  virtual void EndUpdate() {}
};
TVaqSearchResults& VaqSearchResults();

// Hooks of a manager's search: start (may cancel), one hit (counts it and calls the manager's
// OnFound), end.
void DoSearchStart(TVaqTranslatorMgr& Mgr, const std::string& SearchText, const std::string& SecondText,
                   bool& Continue);
void DoSearchFound(TVaqTranslatorMgr& Mgr, const std::string& SearchText, const std::string& Text,
                   const std::string& SecondText, int Column, int Index, int Row, int Position,
                   TLCID SourceLocale, TLCID TargetLocale, bool& Continue);
void DoSearchEnd(TVaqTranslatorMgr& Mgr, const std::string& SearchText, const std::string& SecondText,
                 int FoundCount, bool& Continue);
// Sets the search state's source and target locale from the manager's language texts.
void InitSearchLocale(TVaqTranslatorMgr& Mgr);
// The locale of texts that belong to no language (Ids, status names, comments): the thread locale.
TLCID VaqDefaultLcid();

// Comparison of two 8-bit texts, each in its own locale's code page (decoded to UTF-16 with ICU):
// case-sensitive (VaqCompareStr) or case-insensitive (VaqCompareText); <0, 0, >0.
int VaqCompareStr(TLCID LocaleA, std::string_view A, TLCID LocaleB, std::string_view B);
int VaqCompareText(TLCID LocaleA, std::string_view A, TLCID LocaleB, std::string_view B);
// Removes accelerator marks: "&File" -> "File", "&&" -> "&".
std::string TrimPickLetter(std::string_view Text);
// Whether a match stands as a whole word: Start and End are the 1-based positions of the characters
// just before and just after it (0, or past the end, when there is none); a letter, digit or '_'
// there makes it part of a longer word.
bool IsWholeWord(std::string_view Text, int Start, int End);

}  // namespace vaq
