// Search across notes: the request, the state inside a manager, comparisons and reporting of hits.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "host/core/types.h"

namespace vaq {

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

// Called for every hit: sender, search text, searched text, second text, column id, record index,
// row, position (from 1), source and target locale; set Continue to false to stop.
using TSearchFoundEvent = std::function<void(
    const void* Sender, const std::string& SearchText, const std::string& Text, const std::string& SecondText,
    int Column, int Index, int Row, int Position, TLCID SourceLocale, TLCID TargetLocale, bool& Continue)>;

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

class TVaqTranslatorMgr;

void DoSearchStart(TVaqTranslatorMgr& Mgr, const std::string& SearchText, const std::string& SecondText,
                   bool& Continue);
void DoSearchFound(TVaqTranslatorMgr& Mgr, const std::string& SearchText, const std::string& Text,
                   const std::string& SecondText, int Column, int Index, int Row, int Position,
                   TLCID SourceLocale, TLCID TargetLocale, bool& Continue);
void DoSearchEnd(TVaqTranslatorMgr& Mgr, const std::string& SearchText, const std::string& SecondText,
                 int FoundCount, bool& Continue);
// Sets the state's source and target locale from the manager's languages.
void InitSearchLocale(TVaqTranslatorMgr& Mgr);
// The locale used for texts that belong to no language (Ids, comments).
TLCID VaqDefaultLcid();

// Locale-aware comparison of two 8-bit texts, each in its own locale's code page: <0, 0, >0.
int VaqCompareStr(TLCID LocaleA, std::string_view A, TLCID LocaleB, std::string_view B);
int VaqCompareText(TLCID LocaleA, std::string_view A, TLCID LocaleB, std::string_view B);
// Removes accelerator marks: "&File" -> "File", "&&" -> "&".
std::string TrimPickLetter(std::string_view Text);
// Whether Text[Start..End] (0-based Start, exclusive End as the search passes them) is a whole word.
bool IsWholeWord(std::string_view Text, int Start, int End);

}  // namespace vaq
