// The messages of the translated-form writer, as entries of the module's string table.
#pragma once

#include "notes/column_table.h"

namespace rux {

// %s: the conversion's error message; %s: the error file holding the generated text.
inline constexpr TResString SObjectTextToResourceFailed{
    65510, "ObjectTextToResource failed: %s\r\n - File saved: %s"};

}  // namespace rux
