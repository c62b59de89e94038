// The import side: units -> notes records.
#include "exchange/apply.h"

#include <optional>
#include <unordered_map>

#include "exchange/baseline.h"
#include "exchange/notation.h"
#include "host/core/conversions.h"
#include "host/core/locale.h"
#include "host/core/notes_header.h"
#include "host/core/notes_strings.h"
#include "notes/column_table.h"
#include "notes/notes_record.h"

namespace rux::exchange {
namespace {

bool IsBlankLine(const std::string& line) {
  for (const char c : line)
    if (static_cast<unsigned char>(c) > ' ') return false;
  return true;
}

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

// A comment as the notes can hold it: on one line, without the field separator.
std::string OneLine(std::string text) {
  for (char& c : text)
    if (c == '\r' || c == '\n' || c == '\x04') c = ' ';
  return text;
}

std::uint8_t StatusOf(UnitState state) {
  return state == UnitState::NeedsReview ? StatusAutoTranslated : StatusTranslated;
}

}  // namespace

ApplyReport ApplyUnits(std::vector<std::string>& lines, const std::vector<Unit>& units, vaq::TLCID source,
                       vaq::TLCID target, vaq::TDateTime now, const ApplyOptions& options) {
  ApplyReport report;
  // The records by their Id as the exchange file writes it (UTF-8).
  std::unordered_map<std::string, std::size_t> byId;
  byId.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (vaq::IsNotesHeaderLine(lines[i]) || IsBlankLine(lines[i])) continue;
    // Only the fields the choice needs; the records of units are read whole below.
    const std::string_view line = lines[i];
    if (vaq::GetValueView(line, KeyStatus) == "3" || vaq::GetValueView(line, KeyOrder) == "-1" ||
        !vaq::StrToBoo(vaq::GetValueView(line, KeyLocalize)))
      continue;
    byId.emplace(ToUtf8(source, vaq::GetValueView(line, KeyId)), i);
  }

  for (const Unit& unit : units) {
    const std::string where =
        (unit.Line > 0 ? "line " + std::to_string(unit.Line) + ": " : std::string()) + unit.Id;
    const auto refuse = [&](const std::string& why) {
      ++report.Refused;
      report.Messages.push_back(where + ": " + why);
    };
    const auto found = byId.find(unit.Id);
    if (found == byId.end()) {
      refuse("no translatable record with this Id in the notes");
      continue;
    }
    std::string& line = lines[found->second];
    vaq::TVaqNotesString record = StringToNotesString(line, {});

    // The source must still be the record's original, or the translation belongs to another text.
    bool crlf = false;
    // Whether the value is a string is the record's to say; the file may have lost the mark.
    const std::optional<std::string> original = DecodeString(record.Orig, source, &crlf);
    const bool isString = original.has_value();
    const std::string originalText = isString ? *original : ToUtf8(source, record.Orig);
    if (originalText != unit.Source) {
      refuse("the original changed since the export: the file has " + Quoted(unit.Source) +
             ", the notes have " + Quoted(originalText));
      continue;
    }

    // The translation the unit was made against, before the unit changes the record.
    const std::uint8_t statusBefore = record.Status;
    const std::string currentBefore = record.Curr;
    bool changed = false;
    // A tool that drops our notes would otherwise wipe every comment: only a comment replaces one.
    const std::string comment = OneLine(unit.Comment);
    if (!comment.empty() && comment != ToUtf8(target, record.Comment)) {
      record.Comment = FromUtf8(target, comment);
      changed = true;
    }

    if (unit.HasTarget && !unit.Target.empty()) {
      const std::uint8_t status = StatusOf(unit.State);
      const std::optional<std::string> current =
          isString ? DecodeString(record.Curr, target) : std::optional<std::string>();
      const std::string currentText = current ? *current : ToUtf8(target, record.Curr);
      if (currentText != unit.Target) {
        std::string value;
        if (isString) {
          std::string error;
          const std::optional<std::string> encoded = EncodeString(unit.Target, target, crlf, error);
          if (!encoded) {
            refuse(Quoted(unit.Target) + ": " + error);
            continue;
          }
          value = *encoded;
        } else {
          const ValueKind kind = KindOf(record.Orig);
          if (!IsValidValue(kind, unit.Target)) {
            refuse(Quoted(unit.Target) + " is not a valid " + KindName(kind) + " (the original is " +
                   Quoted(originalText) + ")");
            continue;
          }
          value = FromUtf8(target, unit.Target);
        }
        record.Curr = std::move(value);
        record.Status = status;
        changed = true;
      } else if (record.Status != status) {
        record.Status = status;
        changed = true;
      }
    }

    if (!changed) {
      ++report.LeftAlone;
      continue;
    }
    if (!options.Force && !unit.Baseline.empty() &&
        RecordBaseline(statusBefore, currentBefore) != unit.Baseline) {
      const std::optional<std::string> current =
          isString ? DecodeString(currentBefore, target) : std::optional<std::string>();
      refuse(
          "translated since the export: the notes have " +
          Quoted(current ? *current : ToUtf8(target, currentBefore)) +
          (unit.HasTarget && !unit.Target.empty() ? ", the file has " + Quoted(unit.Target) : std::string()));
      continue;
    }
    record.Modified = now;
    line = NotesStringToString(record, false);
    ++report.Taken;
  }
  return report;
}

}  // namespace rux::exchange
