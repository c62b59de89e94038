// The notes record as one line of text (a notes string):
//   "/* ID:<Id>\x04Orig:<Orig>\x04Status:<n>\x04Curr:...\x04Comment:<Comment>\x04 */"
// Every field is written, in a fixed order; readers find fields by key. Fields are separated by
// the byte 0x04 and records by line breaks, so no text field may contain 0x04, CR or LF.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "host/core/errors.h"
#include "host/core/types.h"
#include "notes/column_table.h"

namespace rux {

// Translation status of a record (TVaqNotesString::Status).
inline constexpr std::uint8_t StatusUntranslated = 0;  // new or changed original, no translation yet
inline constexpr std::uint8_t StatusTranslated = 1;
inline constexpr std::uint8_t StatusAutoTranslated = 2;  // taken from the translation repository
inline constexpr std::uint8_t StatusObsolete = 3;  // gone from the form; carries Order -1, never written

// Order of a record that is not written back into a translated form.
inline constexpr std::int32_t OrderNotWritten = -1;

// A record that cannot be written as a notes string: one of its text fields contains 0x04, CR or LF.
class EBadNotesRecord : public vaq::EVaqError {
 public:
  EBadNotesRecord(std::string id, std::string_view field);
  const std::string& RecordId() const { return id_; }
  const std::string& Field() const { return field_; }

 private:
  std::string id_;
  std::string field_;
};

// The notes string of a record. `flag` does not influence the result; callers pass false.
// Throws EBadNotesRecord when a text field contains 0x04, CR or LF.
std::string NotesStringToString(const vaq::TVaqNotesString& record, bool flag);

// The record of a notes string. Missing text fields read as empty and missing dates as
// DefaultDateTime. Throws vaq::EConvertError when Status or Order is missing, empty or not a
// decimal number, when Status lies outside 0..255, or when a date is present but not a number.
// `fileName` does not influence the result.
vaq::TVaqNotesString StringToNotesString(std::string_view s, std::string_view fileName);

// The fields of a notes string, found in one pass: for every key the value of its first field, as
// vaq::GetValueView finds it, without a copy; none for a key the string lacks. For readers that
// take several fields of a line.
struct TNotesFields {
  std::string_view Id;
  std::array<std::optional<std::string_view>, ColumnCount> Values;  // by column id
  // The value of column `id`, empty when the string lacks it.
  std::string_view operator[](vaq::TVaqAllColId id) const { return Values[id].value_or(std::string_view()); }
};
TNotesFields ReadNotesFields(std::string_view s);

// What a check of many records needs of one, without building the record: its Id and Order,
// after the number fields were checked exactly as StringToNotesString checks them (and with the
// same vaq::EConvertError). The Id is a view into `s`.
struct TRecordKey {
  std::string_view Id;
  std::int32_t Order = 0;
};
TRecordKey ReadRecordKey(std::string_view s);

}  // namespace rux
