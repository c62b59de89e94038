// Translations that survive a renamed component.
//
// A developer who renames a component (btnOK to btnSave) changes the Id of every value of it: matched
// by Id alone, its translated records would become unused and the same texts would come back as new,
// untranslated records. Before the merge matches records by Id, this step looks for components of
// the old notes that are gone from the form while a component of the same kind appeared, and, when
// exactly one vanished component and exactly one new component fit each other, gives the vanished
// component's records the new component path. The merge then finds them by Id: their current value,
// status, previous values, comment and creation time stay, and they do not become unused.
//
// A vanished component V and a new component N fit each other when
// - they have the same parent path, the same kind ("O", "I", "L") and the same class;
// - every string value of V and N is the same original for the same property (Ids relative to the
//   component, compared without regard to case; values exactly), and there is at least one;
// - V has at least one translated value (a translatable record of status 1 or 2).
// A component is taken with its children: a renamed panel moves the records of the controls on it
// too (their paths change with it), when the children are the same ones (names relative to the
// panel, classes, string values). A child renamed together with its parent moves nothing.
// Only a one-to-one fit moves records: two vanished components that fit one new component, or one
// that fits two, move nothing, since nobody can tell which translation belongs where.
#pragma once

#include <string>
#include <vector>

#include "host/core/types.h"
#include "updater/form_reader.h"

namespace rux {

// A component whose records moved to its new name.
struct TComponentRename {
  std::string OldPath;   // component path as the notes had it, e.g. O:MainForm.O:btnOK
  std::string NewPath;   // as the form has it, e.g. O:MainForm.O:btnSave
  int Translations = 0;  // translated values kept (translatable records of status 1 or 2)

  std::string OldName() const;  // btnOK
  std::string NewName() const;  // btnSave
};

// Finds the renamed components of `OldNotes` (notes lines without header; unused records, Order -1,
// take no part) against the extracted `Lines` of the form, and rewrites the Ids of their records in
// place to the new component path, with Modified = `Now`. Answers the renames in the order of the
// old notes. When both lists name the same components in the same order (most updates), it costs
// one pass over each list.
std::vector<TComponentRename> MoveRenamedComponents(std::vector<std::string>& OldNotes,
                                                    const TExtractedLines& Lines, vaq::TDateTime Now);

}  // namespace rux
