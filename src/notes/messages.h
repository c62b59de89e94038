// The messages of the form notes manager, as entries of the module's string table. The save's
// consistency check shows them through the core's ShowError, an inner message wrapped in SBadFile.
#pragma once

#include "notes/column_table.h"

namespace rux {

// %d: record number (from 1); %s: component path.
inline constexpr TResString SUnableToFindObject{65506, "Invalid record #%d - Unable to find object: %s"};
// %s: form file name; %s: the inner message.
inline constexpr TResString SBadFile{65507, "Bad file: %s: Data = %s"};
// %d: record number (from 1); %s: component path.
inline constexpr TResString SObjectOutOfSync{65508, "Invalid record #%d - Object out of sync: %s"};
// %s: the notes string that cannot be read.
inline constexpr TResString SInvalidRecord{65509, "Invalid record: %s"};

}  // namespace rux
