// Conversion between notes records and notes strings.
#include "notes/notes_record.h"

#include <array>
#include <charconv>
#include <optional>
#include <string>
#include <utility>

#include "host/core/conversions.h"
#include "host/core/notes_strings.h"
#include "notes/column_table.h"

namespace rux {
namespace {

constexpr std::string_view kOpening = "/* ";
constexpr std::string_view kClosing = "\x04 */";
constexpr std::string_view kForbidden = "\x04\r\n";

// The Id as a message can show it: forbidden bytes as form-text escapes ("#4", "#13", "#10").
std::string Printable(std::string_view id) {
  std::string result;
  result.reserve(id.size());
  for (char c : id) {
    if (kForbidden.find(c) == std::string_view::npos) {
      result += c;
    } else {
      result += '#';
      result += std::to_string(static_cast<unsigned char>(c));
    }
  }
  return result;
}

// Decimal text of an integer without a heap allocation.
struct DecimalText {
  explicit DecimalText(std::int32_t value)
      : size(std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr - buffer.data()) {}
  std::string_view View() const { return {buffer.data(), size}; }
  std::array<char, 12> buffer{};
  std::size_t size;
};

struct TextField {
  std::string_view key;
  std::string_view name;
  const std::string& value;
};

std::uint8_t ReadStatus(std::string_view text) {
  const std::int32_t value = vaq::StrToInt(text);
  if (value < 0 || value > 255) {
    throw vaq::EConvertError("'" + std::string(text) + "' is not a valid status value (0..255)");
  }
  return static_cast<std::uint8_t>(value);
}

}  // namespace

EBadNotesRecord::EBadNotesRecord(std::string id, std::string_view field)
    : vaq::EVaqError("Notes record '" + Printable(id) + "': field " + std::string(field) +
                     " contains a line break or a 0x04 byte"),
      id_(std::move(id)),
      field_(field) {}

std::string NotesStringToString(const vaq::TVaqNotesString& record, bool /*flag*/) {
  // Every text field is checked before anything is written; the first offending one is named.
  const std::array<TextField, 9> texts = {{{KeyId, "Id", record.Id},
                                           {KeyOrig, "Orig", record.Orig},
                                           {KeyCurr, "Curr", record.Curr},
                                           {KeyPrevOrig, "PrevOrig", record.PrevOrig},
                                           {KeyPrevCurr, "PrevCurr", record.PrevCurr},
                                           {KeyType, "Type", record.Type},
                                           {KeyOpen, "Open", record.Open},
                                           {KeyClose, "Close", record.Close},
                                           {KeyComment, "Comment", record.Comment}}};
  std::size_t size = kOpening.size() + kClosing.size();
  for (const TextField& field : texts) {
    if (field.value.find_first_of(kForbidden) != std::string::npos)
      throw EBadNotesRecord(record.Id, field.name);
    size += field.key.size() + field.value.size();
  }

  const DecimalText status(record.Status);
  const DecimalText order(record.Order);
  const std::string localize = vaq::BooToStr(record.Localize);
  const std::string created = vaq::VaqFloatToStr(record.Created);
  const std::string modified = vaq::VaqFloatToStr(record.Modified);
  size += KeyStatus.size() + status.View().size() + KeyOrder.size() + order.View().size() +
          KeyLocalize.size() + localize.size() + KeyCreated.size() + created.size() + KeyModified.size() +
          modified.size();

  std::string s;
  s.reserve(size);
  s.append(kOpening);
  s.append(KeyId).append(record.Id);
  s.append(KeyOrig).append(record.Orig);
  s.append(KeyStatus).append(status.View());
  s.append(KeyCurr).append(record.Curr);
  s.append(KeyPrevOrig).append(record.PrevOrig);
  s.append(KeyPrevCurr).append(record.PrevCurr);
  s.append(KeyOrder).append(order.View());
  s.append(KeyType).append(record.Type);
  s.append(KeyOpen).append(record.Open);
  s.append(KeyLocalize).append(localize);
  s.append(KeyClose).append(record.Close);
  s.append(KeyCreated).append(created);
  s.append(KeyModified).append(modified);
  s.append(KeyComment).append(record.Comment);
  s.append(kClosing);
  return s;
}

vaq::TVaqNotesString StringToNotesString(std::string_view s, std::string_view /*fileName*/) {
  // One pass over the fields instead of one search per key: every key but "ID:" starts with the
  // separator 0x04, so the text between two separators is exactly one "Key:value" field, and the
  // first field of a key is the one a key search would find.
  std::array<std::optional<std::string_view>, ColumnCount> fields;
  std::size_t at = s.find(FieldSeparator);
  while (at != std::string_view::npos) {
    const std::size_t next = s.find(FieldSeparator, at + 1);
    const std::string_view field =
        s.substr(at, next == std::string_view::npos ? std::string_view::npos : next - at);
    const std::size_t colon = field.find(':');
    if (colon != std::string_view::npos) {
      const std::string_view key = field.substr(0, colon + 1);
      for (vaq::TVaqAllColId id = ColOrig; id <= MaxColId; ++id) {
        if (VaqColInfo[id].Key == key) {
          if (!fields[id]) fields[id] = field.substr(colon + 1);
          break;
        }
      }
    }
    at = next;
  }
  const auto text = [&](vaq::TVaqAllColId id) { return fields[id].value_or(std::string_view()); };
  static const std::string defaultDate = vaq::VaqFloatToStr(vaq::DefaultDateTime());
  const auto date = [&](vaq::TVaqAllColId id) {
    return vaq::VaqStrToDouble(fields[id] ? *fields[id] : std::string_view(defaultDate));
  };

  vaq::TVaqNotesString record;
  record.Id = vaq::GetValueView(s, KeyId);
  record.Orig = text(ColOrig);
  record.Curr = text(ColCurr);
  record.PrevOrig = text(ColPrevOrig);
  record.PrevCurr = text(ColPrevCurr);
  record.Status = ReadStatus(text(ColStatus));
  record.Order = vaq::StrToInt(text(ColOrder));
  record.Type = text(ColType);
  record.Localize = vaq::StrToBoo(text(ColLocalize));
  record.Open = text(ColOpen);
  record.Close = text(ColClose);
  record.Created = date(ColCreated);
  record.Modified = date(ColModified);
  record.Comment = text(ColComment);
  return record;
}

}  // namespace rux
