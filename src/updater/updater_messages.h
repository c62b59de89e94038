// The messages of the updater, as entries of the module's string table.
#pragma once

#include "notes/column_table.h"

namespace rux {

// %s: notes file name.
inline constexpr TResString SProblemProcessingNotes{65505, "Problem processing notes file: %s"};
// %s: form file; %s: language folder.
inline constexpr TResString SOutsideLanguageFolder{
    65504, "%s: its translated copy would lie outside the language folder %s; the form is skipped."};
// %s: the file name of the generated project.
inline constexpr TResString SProjectCreated{65503, "%s created."};

}  // namespace rux
