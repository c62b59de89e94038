// The export side: notes records -> units.
#include "exchange/collect.h"

#include <optional>

#include "exchange/baseline.h"
#include "exchange/notation.h"
#include "host/core/locale.h"
#include "host/core/notes_header.h"
#include "notes/component_path.h"
#include "notes/notes_record.h"

namespace rux::exchange {
namespace {

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
    unit.Id = ToUtf8(source, record.Id);
    unit.Type = ToUtf8(source, record.Type);
    unit.Property = ToUtf8(source, std::string_view(record.Id).substr(FullObjectNameView(record.Id).size()));
    const std::optional<std::string> original = DecodeString(record.Orig, source);
    if (original) {
      if (original->empty()) continue;  // nothing to translate
      unit.Source = *original;
      if (record.Status != StatusUntranslated) {
        // A current value that is not a string (damaged by hand) travels as its notation.
        const std::optional<std::string> current = DecodeString(record.Curr, target);
        unit.Target = current ? *current : ToUtf8(target, record.Curr);
      }
      if (!record.PrevOrig.empty()) {
        const std::optional<std::string> previous = DecodeString(record.PrevOrig, source);
        unit.PrevSource = previous ? *previous : ToUtf8(source, record.PrevOrig);
      }
    } else {
      if (!options.All) continue;
      unit.IsString = false;
      unit.Source = ToUtf8(source, record.Orig);
      if (record.Status != StatusUntranslated) unit.Target = ToUtf8(target, record.Curr);
      unit.PrevSource = ToUtf8(source, record.PrevOrig);
    }
    unit.HasTarget = record.Status != StatusUntranslated;
    unit.State = record.Status == StatusTranslated       ? UnitState::Translated
                 : record.Status == StatusAutoTranslated ? UnitState::NeedsReview
                                                         : UnitState::Initial;
    unit.Comment = ToUtf8(target, record.Comment);
    unit.Baseline = RecordBaseline(record.Status, record.Curr);
    units.push_back(std::move(unit));
  }
  return units;
}

}  // namespace rux::exchange
