// Whether a new notes record is marked localizable, decided from the class catalogue and the
// IDE's localizable property category.
#pragma once

#include "host/core/types.h"
#include "notes/form_info.h"

namespace rux {

// `FormInfo` may be null. Unknown classes and properties, and any failure, leave the record
// localizable.
bool IsLocalizable(const vaq::TVaqNotesString& Record, const TFormInfo* FormInfo);

}  // namespace rux
