// The form notes manager: the notes of one form for one target language. It loads the notes file
// (".ruz" beside a ".rux" form, ".goz" beside a ".gox"), keeps one notes string per line, and sorts,
// checks, counts, searches, purges, pseudo-translates and saves them. Saving also asks the
// translated-form writer (form_writer_hook.h) for the translated form, which is replaced together
// with the notes file.
//
// Notes file layout: up to two statistics header lines of the core ("/*VAQ: ..."), then one notes
// string per line in ascending Order, CR LF after every line. Blank lines carry no meaning.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/core/translator_mgr.h"
#include "host/core/types.h"

namespace rux {

class TRuxMgr : public vaq::TVaqTranslatorMgr {
 public:
  // An empty manager, for callers that fill it with LoadFromStringList.
  TRuxMgr();
  // The notes of form file `FileName` as its notes file holds them: loads FileNameToNoteName(FileName)
  // whole, reads the statistics from its header and drops the header and blank lines. Nothing is
  // written, also for stale notes (a refresh is RefreshStaleStats of file_services.h). A missing or
  // unreadable notes file raises vaq::EFileError naming it.
  explicit TRuxMgr(const std::string& FileName);
  // Unregisters itself when it is still the editor's current manager.
  ~TRuxMgr() override;

  // Takes `FileName` and `Name2` into the base fields. With `List`, the lines become a copy of it
  // and the statistics stay as they are; without, the lines already loaded are kept and the
  // statistics are read from the notes file. Header and blank lines are removed in both cases.
  void LoadFromStringList(const std::vector<std::string>* List, const std::string& FileName,
                          const std::string& Name2);

  // Removes up to two leading "/*VAQ: " header lines, then every line that is empty after trimming
  // blanks and control characters.
  static void RemoveHeaderLines(std::vector<std::string>& Lines);

  // Sorts Lines[L..R] in place by the decimal value of each line's Order field, with the classic
  // two-index quicksort (not stable). A bad Order raises vaq::EConvertError before any line moves.
  // An empty range (R < L) is left alone.
  static void QuickSortReOrder(std::vector<std::string>& Lines, int L, int R);
  // The order QuickSortReOrder puts lines with the Order values `Keys` in, without moving them:
  // entry i is the index of the line that comes i-th.
  static std::vector<std::size_t> OrderPermutation(std::vector<std::int32_t> Keys);

  // Whether record `Index` is translatable. A translatable record whose current value is longer
  // than 20000 characters is marked non-translatable with status 1 on the way.
  bool CanLocalize(int Index);

  // Sorts by Order, checks that the records of each component are adjacent (the first problem is
  // shown through vaq::ShowError) and writes all lines to the notes file in any case.
  void SaveStringList() override;
  // Status pass (untranslated records whose current value differs from the original become
  // translated), then CalcStats.
  void ReCalcStats(std::int32_t& Translated, std::int32_t& Untranslated) override;
  // Translatable records with status 1 or 2, and with status 0.
  void CalcStats(std::int32_t& Translated, std::int32_t& Untranslated) override;
  // Removes obsolete records (status 3) and records that are not written back (Order -1).
  void Purge() override;
  // Pseudo-translation: marks every translatable quoted current value (but font names and obsolete
  // records) with "_W\344W" before its closing quote.
  void EggBuild() override;
  // Appends one dictionary line per record whose original value is a quoted string.
  void MakeDictionary(std::vector<std::string>& List) override;
  // Searches the selected records, or else every translatable record, with SearchState and reports
  // hits through DoSearchFound.
  void Search() override;

  std::string NotesStringToString(const vaq::TVaqNotesString& NotesString, bool Flag) const override;
  vaq::TVaqNotesString StringToNotesString(std::string_view S, std::string_view FileName) const override;
  std::string FileNameToNoteName(std::string_view FileName) const override;

 protected:
  // With `CreateForm`, the translated form (as text with the option bFormAsText, else binary),
  // replaced in the same batch as the notes file.
  void AddSaveOutputs(vaq::TAtomicWriteBatch& Batch, bool CreateForm, bool Flag) override;

 private:
  struct SearchContext;
  bool SearchRecord(SearchContext& Context, int Index, int Row);
  bool SearchColumn(SearchContext& Context, const vaq::TVaqNotesString& Record, int Column, int Index,
                    int Row);
};

}  // namespace rux
