// The import side: units -> notes records.
#include "exchange/apply.h"

#include <cstdio>
#include <optional>
#include <unordered_map>

#include "core/values/code_page_text.h"
#include "core/values/string_notation.h"
#include "core/values/value_check.h"
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

std::uint8_t StatusOf(UnitState state) {
  return state == UnitState::NeedsReview ? StatusAutoTranslated : StatusTranslated;
}

}  // namespace

ApplyReport ApplyUnits(std::vector<std::string>& lines, const std::vector<Unit>& units, vaq::TLCID source,
                       vaq::TLCID target, vaq::TDateTime now) {
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
    const std::optional<std::string> original =
        vaq::values::DecodeStringUtf8(record.Orig, source, TLineBreaks::CrLfAsLf, &crlf);
    const bool isString = original.has_value();
    const std::string originalText = isString ? *original : DecodeTextUtf8(record.Orig, source);
    if (originalText != unit.Source) {
      refuse("the original changed since the export: the file has " + Quoted(unit.Source) +
             ", the notes have " + Quoted(originalText));
      continue;
    }

    bool changed = false;
    // A tool that drops our notes would otherwise wipe every comment: only a comment replaces one.
    const std::string comment = OneLine(unit.Comment);
    if (!comment.empty() && comment != DecodeTextUtf8(record.Comment, target)) {
      try {
        record.Comment = vaq::values::EncodeTextUtf8(comment, target);
      } catch (const vaq::values::EUnheldCharacter& error) {
        refuse("the comment: " + UnheldReason(error, false));
        continue;
      }
      changed = true;
    }

    if (unit.HasTarget && !unit.Target.empty()) {
      const std::uint8_t status = StatusOf(unit.State);
      const std::optional<std::string> current =
          isString ? vaq::values::DecodeStringUtf8(record.Curr, target, TLineBreaks::CrLfAsLf)
                   : std::optional<std::string>();
      const std::string currentText = current ? *current : DecodeTextUtf8(record.Curr, target);
      if (currentText != unit.Target) {
        std::string value;
        try {
          if (isString) {
            value = vaq::values::EncodeStringUtf8(unit.Target, target,
                                                  crlf ? TLineBreaks::CrLfAsLf : TLineBreaks::AsStored);
          } else {
            // The grid's rule: a value of the original's kind, integers in the original's range.
            value = vaq::values::EncodeTextUtf8(unit.Target, target);
            const vaq::values::TValueVerdict verdict =
                vaq::values::CheckValueAgainstOriginal(record.Orig, value, target);
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
    record.Modified = now;
    line = NotesStringToString(record, false);
    ++report.Taken;
  }
  return report;
}

}  // namespace rux::exchange
