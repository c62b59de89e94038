// The translation repository: translations remembered across projects, by locale pair and original.
#pragma once

#include <string>

#include "host/core/types.h"

namespace vaq {

// Looks `Text` up; when a translation is stored, replaces `Text` by the most recently used one and
// answers true.
bool GetTranslation(TLCID SourceLocale, TLCID TargetLocale, std::string& Text);

}  // namespace vaq
