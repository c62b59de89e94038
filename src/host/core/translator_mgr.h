// The core's manager base class: the notes lines of one file for one target language.
// A file type derives from it and overrides its virtual slots, which the core calls in this order:
//  0 SaveStringList, 1 SetStats (core), 2 the constructor, 3 ReCalcStats, 4 CalcStats,
//  5 ClearList (core), 6 Purge, 7 EggBuild, 8 MakeDictionary, 9 Save, 10 Search,
//  11 NotesStringToString, 12 StringToNotesString, 13 FileNameToNoteName; and AddSaveOutputs, the
//  further files of a save.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/core/files.h"
#include "host/core/search.h"
#include "host/core/types.h"

namespace vaq {

class TVaqTranslatorMgr {
 public:
  TVaqTranslatorMgr();
  virtual ~TVaqTranslatorMgr();
  TVaqTranslatorMgr(const TVaqTranslatorMgr&) = delete;
  TVaqTranslatorMgr& operator=(const TVaqTranslatorMgr&) = delete;

  // Slot 0: sorts, checks and writes the notes lines, through SaveNotesLines.
  virtual void SaveStringList() = 0;
  // Slot 1: rewrites the statistics header of an existing notes file, keeping its records and date.
  static void SetStats(const std::string& NoteName, const TFileStats& Stats);
  // Slots 3 and 4: count translated and untranslated records (3 first brings statuses up to date).
  // The base leaves the counts as they are.
  virtual void ReCalcStats(std::int32_t& Translated, std::int32_t& Untranslated);
  virtual void CalcStats(std::int32_t& Translated, std::int32_t& Untranslated);
  // Slot 5: empties the line list.
  void ClearList();
  // Slots 6 to 8: batch operations of the file type; the base does nothing.
  virtual void Purge();
  virtual void EggBuild();
  virtual void MakeDictionary(std::vector<std::string>& List);
  // Slot 9: saves the notes and, as the file type decides, further files (SaveTo), all replaced
  // together in one batch of atomic writes.
  virtual void Save(bool CreateForm, const std::string& Name1, const std::string& Name2, bool Flag);
  // What Save does, with the files added to `Batch` instead of written: the caller commits, with
  // other files if it likes. Takes Name1/Name2 as the new source/target language when they are not
  // empty; recounts with CalcStats; records the dates (original form: the date of Name2 when it
  // names an existing file, else the one already recorded; notes: now, in whole milliseconds);
  // sorts and checks the lines through SaveStringList; lets the file type add its further files
  // (AddSaveOutputs); records the form's date (the one its file gets from the batch, else the one it
  // has); and adds the notes file with the header in front, dated to the recorded notes date, so
  // that an untouched notes file reads as fresh and one edited afterwards as stale.
  void SaveTo(TAtomicWriteBatch& Batch, bool CreateForm, const std::string& Name1, const std::string& Name2,
              bool Flag);
  // Slot 10: searches the records with SearchState; the base finds nothing.
  virtual void Search();
  // Slots 11 to 13: the file type's record format and notes-file naming.
  virtual std::string NotesStringToString(const TVaqNotesString& NotesString, bool Flag) const = 0;
  virtual TVaqNotesString StringToNotesString(std::string_view S, std::string_view FileName) const = 0;
  virtual std::string FileNameToNoteName(std::string_view FileName) const = 0;

  int GetCount() const { return static_cast<int>(Lines.size()); }
  const std::string& GetStrings(int i) const { return Lines.at(static_cast<std::size_t>(i)); }
  void SetStrings(int i, std::string s) { Lines.at(static_cast<std::size_t>(i)) = std::move(s); }

  std::vector<std::string> Lines;  // one notes string per line
  std::string FileName;            // the form file whose notes these are
  std::string Name2;               // a second file name (the original form of a translated one)
  TFileStats Stats;                // header data; holds the source and target language texts
  TVaqSearchState SearchState;     // the current search request
  TSearchFoundEvent OnFound;       // called for every hit
  int FoundCount = 0;

 protected:
  // Writes `Lines` to the notes file `NoteName` atomically, CR LF after every line. While a save
  // runs, the file is not written here but added to the save's batch with the statistics header in
  // front, once the file type's further files are known. Raises EFileError naming the file.
  void SaveNotesLines(const std::string& NoteName, const std::vector<std::string>& Lines) const;
  // Further files of a save, added to `Batch` after the lines were sorted and checked and before
  // the notes file: for a form file type, the translated form `FileName` (with the date it is to
  // have, which the header records). `Flag` is Save's. The base adds none.
  virtual void AddSaveOutputs(TAtomicWriteBatch& Batch, bool CreateForm, bool Flag);

 private:
  // The notes file a running save is to write.
  struct TPendingNotes {
    std::string NoteName;
    const std::vector<std::string>* Lines = nullptr;
  };
  std::optional<TPendingNotes>* pending_ = nullptr;  // set while SaveTo runs
};

// Counts the lines whose `LocalizeKey` field reads true (StrToBoo) and whose `StatusKey` field
// equals `StatusText`.
int GetLocalizeItemCount(const std::vector<std::string>& Lines, std::string_view LocalizeKey,
                         std::string_view StatusKey, std::string_view StatusText);
// The same for several status texts in one pass: the count of each, in the order given.
std::vector<int> GetLocalizeItemCounts(const std::vector<std::string>& Lines, std::string_view LocalizeKey,
                                       std::string_view StatusKey,
                                       std::initializer_list<std::string_view> StatusTexts);

}  // namespace vaq
