// File-level services of the form file type.
#include "notes/file_services.h"

#include <memory>

#include "host/core/conversions.h"
#include "host/core/files.h"
#include "host/core/notes_header.h"
#include "host/core/resource_strings.h"
#include "host/core/text.h"
#include "notes/column_table.h"
#include "notes/file_names.h"
#include "notes/module_state.h"
#include "notes/rux_mgr.h"

namespace rux {
namespace {

constexpr vaq::TDateTime kUnknownDate = -1.0;

// Dates are compared through their texts: the header records a date as text.
bool DateChanged(vaq::TDateTime recorded, const std::string& file) {
  return vaq::VaqFloatToStr(recorded) != vaq::VaqFloatToStr(vaq::DateOfFile(file));
}

// Reads form file `formFile` back into its notes through the update handler of its file type.
void UpdateFromForm(const std::string& formFile) {
  const vaq::TVaqFileType* fileType =
      vaq::GetVaqFileType(vaq::VaqFileTypes.ExtIndexOf(vaq::ExtractFileExt(formFile)));
  if (fileType == nullptr || !fileType->UpdateForms) return;
  vaq::TStats counters;
  fileType->UpdateForms(nullptr, counters, std::string(), std::string(), std::string(), vaq::sUpdate,
                        formFile, 0, 0, nullptr, 0, nullptr);
}

// The column set of a search: walks the column ids and the check-list entries together; a column
// whose caption is the current entry's takes that entry's check and moves on to the next entry.
std::uint16_t CheckedColumns(const std::vector<vaq::TCheckListEntry>& entries) {
  std::uint16_t columns = 0;
  std::size_t entry = 0;
  for (std::size_t column = 0; column < ColumnCount && entry < entries.size(); ++column) {
    if (!vaq::AnsiSameText(VaqColInfo[column].Caption, entries[entry].Caption)) continue;
    if (entries[entry].Checked) columns |= static_cast<std::uint16_t>(1u << column);
    ++entry;
  }
  return columns;
}

}  // namespace

void GetStats(const std::string& FileName, bool CheckDates, vaq::TFileStats& Stats) {
  if (CheckDates) {
    RefreshStaleStats(FileName, Stats);
    return;
  }
  vaq::GetStats(FileNameToNoteName(FileName), "/*", "*/", Stats);
}

bool ReadBackStaleForm(const std::string& FileName, vaq::TFileStats& Stats) {
  const std::string notes = FileNameToNoteName(FileName);
  vaq::GetStats(notes, "/*", "*/", Stats);
  bool stale = Stats.NoteDate != kUnknownDate && DateChanged(Stats.NoteDate, notes);
  if (Stats.FormDate != kUnknownDate && DateChanged(Stats.FormDate, FileName)) {
    stale = true;
    UpdateFromForm(FileName);
  }
  return stale;
}

bool RefreshStaleStats(const std::string& FileName, vaq::TFileStats& Stats) {
  if (!ReadBackStaleForm(FileName, Stats)) return false;
  TRuxMgr mgr(FileName);
  mgr.ReCalcStats(mgr.Stats.Translated, mgr.Stats.Untranslated);
  mgr.Save(true, std::string(), std::string(), false);
  Stats = mgr.Stats;
  return true;
}

void SearchFile(const vaq::TSearchInfo& Info, const std::string& Text, bool CaseSensitive, bool WholeWord,
                bool IgnoreAccelerators, vaq::TSearchFoundEvent OnFound) {
  // A copy: the request may belong to the search window, which the callback may change.
  const vaq::TSearchInfo info = Info;
  if (!vaq::FileExists(FileNameToNoteName(info.FileName))) return;

  std::unique_ptr<TRuxMgr> owned;
  TRuxMgr* mgr = CurrentMgr();
  // File names compare as the platform compares them: exactly, here.
  if (mgr == nullptr || mgr->FileName != info.FileName) {
    owned = std::make_unique<TRuxMgr>(info.FileName);
    mgr = owned.get();
  }

  vaq::TVaqSearchState& state = mgr->SearchState;
  state.Selected.clear();
  state.Columns = CheckedColumns(info.Columns);
  state.SearchText = Text;
  state.CaseSensitive = CaseSensitive;
  state.WholeWord = WholeWord;
  state.IgnoreAccelerators = IgnoreAccelerators;
  state.SearchLocale = info.Locale;
  vaq::InitSearchLocale(*mgr);
  mgr->OnFound = std::move(OnFound);

  vaq::TVaqSearchResults& results = vaq::VaqSearchResults();
  results.BeginUpdate();
  try {
    mgr->Search();
  } catch (...) {
    results.EndUpdate();
    throw;
  }
  results.EndUpdate();
}

void DoListEvent(vaq::TListEvent Event, const std::vector<std::string>& Files, void* Data,
                 vaq::TListEventCallback Callback) {
  if (Event != vaq::TListEvent::Purge && Event != vaq::TListEvent::PseudoTranslate &&
      Event != vaq::TListEvent::Dictionary) {
    return;
  }
  vaq::TSaveFileData* saveData = nullptr;
  void* callbackData = Data;
  std::vector<std::string> dictionary;
  if (Event == vaq::TListEvent::Dictionary) {
    saveData = static_cast<vaq::TSaveFileData*>(Data);
    callbackData = saveData != nullptr ? saveData->Data : nullptr;
    if (saveData != nullptr && vaq::FileExists(saveData->FileName))
      dictionary = vaq::LoadLines(saveData->FileName);
  }
  // The dictionary keeps what the run collected, also when it stops or fails on a file.
  auto writeDictionary = [&] {
    if (saveData != nullptr) vaq::SaveLines(saveData->FileName, dictionary);
  };

  try {
    for (const std::string& file : Files) {
      if (Event != vaq::TListEvent::Dictionary) {
        vaq::TFileStats stats;
        RefreshStaleStats(file, stats);
      }
      TRuxMgr mgr(file);
      if (Callback && !Callback(file, callbackData)) break;
      switch (Event) {
        case vaq::TListEvent::Purge:
          mgr.Purge();
          mgr.Save(false, std::string(), std::string(), true);
          break;
        case vaq::TListEvent::PseudoTranslate:
          mgr.EggBuild();
          mgr.Save(true, std::string(), std::string(), true);
          break;
        case vaq::TListEvent::Dictionary:
          mgr.MakeDictionary(dictionary);
          break;
        default:
          break;
      }
    }
  } catch (...) {
    writeDictionary();
    throw;
  }
  writeDictionary();
}

}  // namespace rux
