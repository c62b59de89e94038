// The import side: units from an exchange file applied to the records of one notes file. Works on
// the notes lines in memory; reading the exchange file and saving the notes are the caller's.
#pragma once

#include <string>
#include <vector>

#include "exchange/unit.h"
#include "host/core/types.h"

namespace rux::exchange {

struct ApplyOptions {
  bool Force = false;  // take units whose record was translated since the export
};

struct ApplyReport {
  int Taken = 0;      // records changed: a new translation, a new review state or a new comment
  int LeftAlone = 0;  // units that change nothing (no target, or the record's own value and state)
  int Refused = 0;
  std::vector<std::string> Messages;  // one per refusal: "line N: Id: why"
  bool Changed() const { return Taken > 0; }
};

// Applies `units` to the notes strings `lines` (header and blank lines are skipped and kept).
//  - A unit whose Id the notes do not hold as a translatable record, or whose source no longer equals
//    the record's original, is refused; the record is left alone.
//  - A target that differs from the current value becomes the current value, encoded for the code
//    page of `target` (characters it cannot hold as #nnnn codes), with status 1, or 2 when the unit
//    still needs review; the same value in another review state changes only the status. An empty
//    target changes nothing. A value that is not a string must be valid for the kind of its original.
//  - A comment that differs from the record's replaces it (line breaks become blanks); a unit without
//    one leaves the record's comment alone.
//  - A unit that would change its record while the record's translation is no longer the one the
//    unit was exported with (its Baseline) is refused as "translated since the export", unless
//    `options.Force`: the newer translation stays. Units without a Baseline are not checked.
// Changed records get `now` as their modification date.
ApplyReport ApplyUnits(std::vector<std::string>& lines, const std::vector<Unit>& units, vaq::TLCID source,
                       vaq::TLCID target, vaq::TDateTime now, const ApplyOptions& options = {});

}  // namespace rux::exchange
