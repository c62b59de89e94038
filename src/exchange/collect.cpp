// The export side: notes records -> units.
#include "exchange/collect.h"

#include <optional>

#include "core/values/code_page_text.h"
#include "core/values/string_notation.h"
#include "exchange/baseline.h"
#include "host/core/notes_header.h"
#include "notes/component_path.h"
#include "notes/notes_record.h"

namespace rux::exchange {
namespace {

using vaq::values::DecodeTextUtf8;

// The text of a string value as other tools hold it: UTF-8, line breaks as LF.
std::optional<std::string> DecodeString(std::string_view value, vaq::TLCID lcid) {
  return vaq::values::DecodeStringUtf8(value, lcid, vaq::values::TLineBreaks::CrLfAsLf);
}

// The editor does not offer a current value longer than this for translation (TRuxMgr::CanLocalize).
constexpr std::size_t kMaxLocalizeLength = 20000;

bool IsBlankLine(const std::string& line) {
  for (const char c : line)
    if (static_cast<unsigned char>(c) > ' ') return false;
  return true;
}

}  // namespace

std::vector<Unit> CollectUnits(const std::vector<std::string>& lines, vaq::TLCID source, vaq::TLCID target,
                               const CollectOptions& options) {
  std::vector<Unit> units;
  for (const std::string& line : lines) {
    if (vaq::IsNotesHeaderLine(line) || IsBlankLine(line)) continue;
    const vaq::TVaqNotesString record = StringToNotesString(line, {});
    if (record.Status == StatusObsolete || record.Order == OrderNotWritten) continue;
    if (!record.Localize || record.Curr.size() > kMaxLocalizeLength) continue;
    if (options.UntranslatedOnly && record.Status != StatusUntranslated &&
        record.Status != StatusAutoTranslated)
      continue;

    Unit unit;
    unit.Id = DecodeTextUtf8(record.Id, source);
    unit.Type = DecodeTextUtf8(record.Type, source);
    unit.Property =
        DecodeTextUtf8(std::string_view(record.Id).substr(FullObjectNameView(record.Id).size()), source);
    const std::optional<std::string> original = DecodeString(record.Orig, source);
    if (original) {
      if (original->empty()) continue;  // nothing to translate
      unit.Source = *original;
      if (record.Status != StatusUntranslated) {
        // A current value that is not a string (damaged by hand) travels as its notation.
        const std::optional<std::string> current = DecodeString(record.Curr, target);
        unit.Target = current ? *current : DecodeTextUtf8(record.Curr, target);
      }
      if (!record.PrevOrig.empty()) {
        const std::optional<std::string> previous = DecodeString(record.PrevOrig, source);
        unit.PrevSource = previous ? *previous : DecodeTextUtf8(record.PrevOrig, source);
      }
    } else {
      if (!options.All) continue;
      unit.IsString = false;
      unit.Source = DecodeTextUtf8(record.Orig, source);
      if (record.Status != StatusUntranslated) unit.Target = DecodeTextUtf8(record.Curr, target);
      unit.PrevSource = DecodeTextUtf8(record.PrevOrig, source);
    }
    unit.HasTarget = record.Status != StatusUntranslated;
    unit.State = record.Status == StatusTranslated       ? UnitState::Translated
                 : record.Status == StatusAutoTranslated ? UnitState::NeedsReview
                                                         : UnitState::Initial;
    unit.Comment = DecodeTextUtf8(record.Comment, target);
    unit.Baseline = RecordBaseline(record.Status, record.Curr);
    units.push_back(std::move(unit));
  }
  return units;
}

}  // namespace rux::exchange
