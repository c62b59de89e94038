// The import side: units -> notes records.
#include "exchange/apply.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <unordered_map>

#include "core/values/code_page_text.h"
#include "core/values/string_notation.h"
#include "core/values/value_check.h"
#include "exchange/baseline.h"
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

using vaq::values::DecodeTextUtf8;
using vaq::values::TLineBreaks;

// "the character U+00E9 cannot be held by code page 1251 ...": a character the notes cannot store.
std::string UnheldReason(const vaq::values::EUnheldCharacter& error, bool asCode) {
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(error.Character()));
  return std::string("the character ") + code + " cannot be held by code page " +
         std::to_string(error.CodePage()) +
         (asCode ? " and cannot be written as a code in a text without wider characters" : "");
}

// The current value of a record as text: a string decoded, any other value as its characters.
std::string CurrentText(std::string_view field, bool isString, vaq::TLCID target) {
  if (isString) {
    if (std::optional<std::string> text = vaq::values::DecodeStringUtf8(field, target, TLineBreaks::CrLfAsLf))
      return *std::move(text);
  }
  return DecodeTextUtf8(field, target);
}

// The Status field of a notes string; a field that is no status reads as 255, which no unit asks
// for (reading the record whole then raises the codec's error).
std::uint8_t StatusOfField(std::string_view field) {
  unsigned value = 0;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  return error == std::errc() && end == field.data() + field.size() && value <= 255
             ? static_cast<std::uint8_t>(value)
             : 255;
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
    byId.emplace(DecodeTextUtf8(vaq::GetValueView(line, KeyId), source), i);
  }

  for (const Unit& unit : units) {
    const auto refuse = [&](const std::string& why) {
      ++report.Refused;
      report.Messages.push_back((unit.Line > 0 ? "line " + std::to_string(unit.Line) + ": " : std::string()) +
                                unit.Id + ": " + why);
    };
    const auto found = byId.find(unit.Id);
    if (found == byId.end()) {
      refuse("no translatable record with this Id in the notes");
      continue;
    }
    std::string& line = lines[found->second];
    // Decided on the fields alone; the record is read and written whole only when it changes.
    const std::string_view origField = vaq::GetValueView(line, KeyOrig);
    const std::string_view currField = vaq::GetValueView(line, KeyCurr);

    // The source must still be the record's original, or the translation belongs to another text.
    bool crlf = false;
    // Whether the value is a string is the record's to say; the file may have lost the mark.
    const std::optional<std::string> original =
        vaq::values::DecodeStringUtf8(origField, source, TLineBreaks::CrLfAsLf, &crlf);
    const bool isString = original.has_value();
    const std::string originalText = isString ? *original : DecodeTextUtf8(origField, source);
    if (originalText != unit.Source) {
      refuse("the original changed since the export: the file has " + Quoted(unit.Source) +
             ", the notes have " + Quoted(originalText));
      continue;
    }

    // A tool that drops our notes would otherwise wipe every comment: only a comment replaces one.
    const std::string comment = OneLine(unit.Comment);
    std::optional<std::string> newComment;
    if (!comment.empty() && comment != DecodeTextUtf8(vaq::GetValueView(line, KeyComment), target)) {
      try {
        newComment = vaq::values::EncodeTextUtf8(comment, target);
      } catch (const vaq::values::EUnheldCharacter& error) {
        refuse("the comment: " + UnheldReason(error, false));
        continue;
      }
    }

    // The new current value (when it changes) and the status the unit asks for.
    std::optional<std::string> newValue;
    std::optional<std::uint8_t> newStatus;
    std::string currentText;
    const std::uint8_t status = StatusOf(unit.State);
    const std::uint8_t statusBefore = StatusOfField(vaq::GetValueView(line, KeyStatus));
    if (unit.HasTarget && !unit.Target.empty()) {
      currentText = CurrentText(currField, isString, target);
      if (currentText != unit.Target) {
        try {
          if (isString) {
            newValue = vaq::values::EncodeStringUtf8(unit.Target, target,
                                                     crlf ? TLineBreaks::CrLfAsLf : TLineBreaks::AsStored);
          } else {
            // The grid's rule: a value of the original's kind, integers in the original's range.
            newValue = vaq::values::EncodeTextUtf8(unit.Target, target);
            const vaq::values::TValueVerdict verdict =
                vaq::values::CheckValueAgainstOriginal(origField, *newValue, target);
            if (!verdict.Accepted) {
              refuse(Quoted(unit.Target) + " is not a valid " +
                     std::string(vaq::values::ValueKindName(verdict.Original)) + " (the original is " +
                     Quoted(originalText) + ")");
              continue;
            }
          }
        } catch (const vaq::values::EUnheldCharacter& error) {
          refuse(Quoted(unit.Target) + ": " + UnheldReason(error, isString));
          continue;
        }
        newStatus = status;
      } else if (statusBefore != status) {
        newStatus = status;
      }
    }

    if (!newComment && !newValue && !newStatus) {
      ++report.LeftAlone;
      continue;
    }
    // The translation the unit was made against must still be the record's.
    if (!options.Force && !unit.Baseline.empty() &&
        RecordBaseline(statusBefore, currField) != unit.Baseline) {
      if (currentText.empty()) currentText = CurrentText(currField, isString, target);
      refuse(
          "translated since the export: the notes have " + Quoted(currentText) +
          (unit.HasTarget && !unit.Target.empty() ? ", the file has " + Quoted(unit.Target) : std::string()));
      continue;
    }

    vaq::TVaqNotesString record = StringToNotesString(line, {});
    if (newComment) record.Comment = std::move(*newComment);
    if (newValue) record.Curr = std::move(*newValue);
    if (newStatus) record.Status = *newStatus;
    record.Modified = now;
    line = NotesStringToString(record, false);
    ++report.Taken;
  }
  return report;
}

}  // namespace rux::exchange
