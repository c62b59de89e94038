// The messages of the updater, as entries of the module's string table.
#pragma once

#include "notes/column_table.h"

namespace rux {

// %s: notes file name.
inline constexpr TResString SProblemProcessingNotes{65505, "Problem processing notes file: %s"};

}  // namespace rux
