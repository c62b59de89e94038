// The export side: the units of one notes file, taken from its records.
#pragma once

#include <string>
#include <vector>

#include "exchange/unit.h"
#include "host/core/types.h"

namespace rux::exchange {

struct CollectOptions {
  bool All = false;               // also the translatable values that are not strings, as notation
  bool UntranslatedOnly = false;  // only records with status 0 (untranslated) or 2 (auto translated)
};

// One unit per translatable record of `lines` (notes strings; header and blank lines are skipped),
// in their order. Unused records (status 3 or Order -1) never travel. Originals are decoded in the
// code page of `source`, current values and comments in that of `target`. A record that cannot be
// read raises vaq::EConvertError.
std::vector<Unit> CollectUnits(const std::vector<std::string>& lines, vaq::TLCID source, vaq::TLCID target,
                               const CollectOptions& options);

}  // namespace rux::exchange
