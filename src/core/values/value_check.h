// Whether an edited value may replace the original value of its record: the one rule the grid
// and the import apply before a translation is taken.
//
// The value must be one valid value of the original's kind (value_kinds.h), since the form's
// reader takes a property only in its own kind. Integers take the range of their original: an
// original of 32 bits (-2147483648 to 2147483647, as the form stores most integer properties)
// takes only values of 32 bits, which a 32-bit property can read; an original that needs 64 bits
// takes any 64-bit integer. An original the check cannot read (a damaged record) takes any valid
// value.
#pragma once

#include <string>
#include <string_view>

#include "core/values/value_kinds.h"
#include "host/core/types.h"

namespace vaq::values {

struct TValueVerdict {
  bool Accepted = false;
  TValueKind Original = TValueKind::Invalid;  // the original's kind
  TValueKind Value = TValueKind::Invalid;     // the value's kind; Invalid when it is no valid value
  std::string Problem;                        // why the value is invalid, in UTF-8 (else empty)
};

// Checks `Value` against `Original`; both are notation of the code page of `Lcid` (characters
// are named in UTF-8).
TValueVerdict CheckValueAgainstOriginal(std::string_view Original, std::string_view Value, TLCID Lcid = 0);

// A refused verdict as the grid says it: "Invalid value: unexpected 'ö' (U+00F6) in a name.",
// "The value must be an integer of 32 bits (-2147483648 to 2147483647).", ... Empty when accepted.
std::string VerdictMessage(const TValueVerdict& Verdict);

}  // namespace vaq::values
