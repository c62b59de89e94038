// Conversion between notes records and notes strings.
#include "notes/notes_record.h"

#include <array>
#include <charconv>
#include <cstring>
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

// Whether a text field can be written: none of 0x04, CR and LF in it.
bool Writable(std::string_view text) {
  for (const char c : text) {
    if (c == '\x04' || c == '\r' || c == '\n') return false;
  }
  return true;
}

// The keys of the fields after "ID:", by column id.
constexpr std::array<std::string_view, ColumnCount> kFieldKeys = {{{},
                                                                   {},
                                                                   KeyOrig,
                                                                   KeyStatus,
                                                                   KeyCurr,
                                                                   KeyCreated,
                                                                   KeyModified,
                                                                   KeyPrevOrig,
                                                                   KeyPrevCurr,
                                                                   KeyComment,
                                                                   KeyLocalize,
                                                                   KeyOrder,
                                                                   KeyType,
                                                                   KeyOpen,
                                                                   KeyClose}};

// The column id of the key a field ("\x04Name:value") starts with, or 0.
vaq::TVaqAllColId FieldIdOf(std::string_view field) {
  const auto is = [field](vaq::TVaqAllColId id) { return field.starts_with(kFieldKeys[id]) ? id : 0; };
  if (field.size() < 3) return 0;
  switch (field[1]) {
    case 'O':
      return field[2] == 'r' ? (field.size() > 3 && field[3] == 'i' ? is(ColOrig) : is(ColOrder))
                             : is(ColOpen);
    case 'S':
      return is(ColStatus);
    case 'C':
      switch (field[2]) {
        case 'u':
          return is(ColCurr);
        case 'r':
          return is(ColCreated);
        case 'o':
          return is(ColComment);
        case 'l':
          return is(ColClose);
        default:
          return 0;
      }
    case 'M':
      return is(ColModified);
    case 'P':
      return field.size() > 5 && field[5] == 'O' ? is(ColPrevOrig) : is(ColPrevCurr);
    case 'L':
      return is(ColLocalize);
    case 'T':
      return is(ColType);
    default:
      return 0;
  }
}

}  // namespace

// Every key but "ID:" starts with the separator 0x04, so the text between two separators is
// exactly one "Key:value" field, and the first field of a key is the one a key search would find.
// One walk over the separators: lines are read like this many times over.
TNotesFields ReadNotesFields(std::string_view s) {
  TNotesFields fields;
  fields.Id = vaq::GetValueView(s, KeyId);
  const char* const end = s.data() + s.size();
  const auto separator = [end](const char* from) {
    const char* found = static_cast<const char*>(std::memchr(from, FieldSeparator, end - from));
    return found != nullptr ? found : end;
  };
  for (const char* at = separator(s.data()); at < end;) {
    const char* const next = separator(at + 1);
    const std::string_view field(at, static_cast<std::size_t>(next - at));
    const vaq::TVaqAllColId id = FieldIdOf(field);
    if (id != 0 && !fields.Values[id]) fields.Values[id] = field.substr(kFieldKeys[id].size());
    at = next;
  }
  return fields;
}

namespace {

const std::string& DefaultDateText() {
  static const std::string text = vaq::VaqFloatToStr(vaq::DefaultDateTime());
  return text;
}

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
    if (!Writable(field.value)) throw EBadNotesRecord(record.Id, field.name);
    size += field.key.size() + field.value.size();
  }

  const DecimalText status(record.Status);
  const DecimalText order(record.Order);
  const std::string localize = vaq::BooToStr(record.Localize);
  const std::string created = vaq::VaqFloatToStr(record.Created);
  // A new record was created when it was last modified.
  const std::string modified =
      record.Modified == record.Created ? created : vaq::VaqFloatToStr(record.Modified);
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
  const TNotesFields fields = ReadNotesFields(s);
  const auto text = [&](vaq::TVaqAllColId id) { return fields[id]; };
  const auto date = [&](vaq::TVaqAllColId id) {
    return vaq::VaqStrToDouble(fields.Values[id].value_or(std::string_view(DefaultDateText())));
  };

  vaq::TVaqNotesString record;
  record.Id = fields.Id;
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

TRecordKey ReadRecordKey(std::string_view s) {
  const TNotesFields fields = ReadNotesFields(s);
  TRecordKey key;
  key.Id = fields.Id;
  ReadStatus(fields[ColStatus]);
  key.Order = vaq::StrToInt(fields[ColOrder]);
  for (const vaq::TVaqAllColId date : {ColCreated, ColModified}) {
    if (fields.Values[date]) vaq::VaqStrToDouble(*fields.Values[date]);
  }
  return key;
}

}  // namespace rux
