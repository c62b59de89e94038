// The merge: brings the notes file of one form and one language up to date with the lines just
// extracted from a form, without losing a translation.
//
// - A value found unchanged keeps its record as it was (only its Order and structure fields follow
//   the form).
// - A changed original keeps its history: a translated record's old pair moves to PrevOrig/PrevCurr
//   and the record becomes untranslated (or takes a translation from the repository).
// - A value gone from the form becomes unused (status 3, Order -1) and moves to the top of the file.
// - A renamed component keeps its records: they move to the new name (component_renames.h).
// - A record the translator added in the translated form (empty original) survives, also when its
//   inherited component vanished.
// - Records stay in the form's order; the list and collection tokens (Open/Close) are repaired after
//   records moved, so that the translated form can be rebuilt.
//
// Project mode merges original values (from the original form); single-file mode merges current
// values read back from a translated form the translator edited: a differing value becomes the
// record's translation (status 1) and the original is left alone.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/core/files.h"
#include "host/core/types.h"
#include "notes/form_info.h"
#include "updater/component_renames.h"
#include "updater/form_reader.h"
#include "updater/localizable.h"

namespace rux {

// The form and language a merge works on.
struct TMergeForm {
  std::string NotesFile;     // the notes file to update; missing: every line becomes a new record
  std::string XlatFormFile;  // the translated form file the notes belong to
  std::string OrigFormFile;  // the original form file, whose date the notes header records; may be empty
  bool ProjectMode = true;   // the lines are original values (else current values of a translated form)
  bool Nested = false;       // inside another update: a failure is not reported (the outer one reports)
  vaq::TLCID SourceLocale = 0;
  vaq::TLCID TargetLocale = 0;
  const TFormInfo* FormInfo = nullptr;  // borrowed; for the translatable rule of new records
  // Project mode: the form-file list of the notes header (see FormFileList in class_discovery.h);
  // a read-back keeps the list the notes header holds.
  std::string FormFiles;
};

class TNotesMerge {
 public:
  // The merge alone: merges `Lines` (consumed: empty afterwards) into the old notes, `OldNotes`
  // when given (the lines of a notes file, header lines allowed), else the notes file's; counts
  // into the New, Changed, Unchanged and Unused counters of `Stats` (translatable records only).
  // With the option kOptUseRepositoryOnUpdate on, a new or changed original that the translation
  // repository knows gets its translation (status 2). In project mode, with the option
  // kOptDetectRenamesOnUpdate on (the default), the records of renamed components move to their
  // new names first; they are counted in Stats.Renamed and, when `Renames` is given, listed there.
  // Answers the new notes in file order, renumbered; writes nothing. A failure raises its exception.
  std::vector<std::string> Merge(const TMergeForm& Form, TExtractedLines& Lines, vaq::TStats& Stats,
                                 std::optional<std::vector<std::string>> OldNotes = std::nullopt,
                                 std::vector<TComponentRename>* Renames = nullptr) const;

  // Merge, then the save of AddMergedNotes, written at once. True when the notes file was written.
  // A failure while merging shows "Problem processing notes file: %s" (unless nested) and leaves
  // the notes file as it was; a failure while saving shows its cause. Both return false.
  bool MergeNotes(const TMergeForm& Form, TExtractedLines& Lines, vaq::TStats& Stats,
                  std::vector<TComponentRename>* Renames = nullptr);

  // Searches old notes by scanning them in file order instead of through indexes (hash indexes by
  // Id, by the last "[n]" of an Id and by object path, and a skip list over taken lines): slow,
  // with the same result. The reference that the indexes are tested against.
  void SetScanning(bool Scan) { scan_ = Scan; }

 private:
  bool scan_ = false;
  mutable TLocalizableRule localizable_;  // what the class catalogue said, for the next merges
};

// Adds merged notes to `Batch` as a notes manager saves them: the lines sorted and checked, behind
// the statistics header (languages of the form, counts, dates, the form-file list `FormFiles`),
// and in project mode the translated form made from them, which replaces one already in the batch.
void AddMergedNotes(const TMergeForm& Form, std::vector<std::string> Notes, const std::string& FormFiles,
                    vaq::TAtomicWriteBatch& Batch);

// Repairs the Open/Close tokens of the notes lines Lines[Begin..] of one object (component path
// `ObjectPath`) after records were merged: in every list only the first element opens it and only
// the last closes it; in every collection item the opening and closing tokens are gathered and
// dealt out again, with unmatched list brackets dropped.
void RepairStructureTokens(std::vector<std::string>& Lines, std::size_t Begin, std::string_view ObjectPath);

}  // namespace rux
