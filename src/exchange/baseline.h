// What a unit was translated against. The export writes, with each unit, a fingerprint of its
// record's translation; the import compares it with the record as it is then, so that a translation
// made in the editor after the export is not overwritten by the older one coming back.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rux::exchange {

// The fingerprint of a record's translation: its status and its current value as the notes hold
// them (16 lower-case hexadecimal digits, the same on every platform).
std::string RecordBaseline(std::uint8_t status, std::string_view current);

}  // namespace rux::exchange
