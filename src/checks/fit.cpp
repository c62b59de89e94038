// The fit rules over plain measuring data.
#include "checks/fit.h"

#include <algorithm>
#include <map>

#include "core/values/string_notation.h"

namespace rux::checks {
namespace {

std::string RowKey(const TFitItem& item) {
  return std::to_string(static_cast<int>(item.Kind)) + "|" + item.Row;
}

}  // namespace

std::vector<TFitMeasure> MeasureFit(const std::vector<TFitItem>& Items, const TTextMeasure& Measure,
                                    const TFitMetrics& Metrics) {
  std::vector<TFitMeasure> result(Items.size());
  std::map<std::string, int> rowUsed;  // pixels the earlier items of a row take
  for (std::size_t i = 0; i < Items.size(); ++i) {
    const TFitItem& item = Items[i];
    TFitMeasure& m = result[i];
    const int width = item.Bounds.Width;
    switch (item.Kind) {
      case TRoomKind::Button:
        m.Room = width - 2 * Metrics.ButtonFrame;
        m.Needed = Measure.Width(item.Text, item.Font);
        break;
      case TRoomKind::Label:
        m.Room = width;
        m.Needed = Measure.Width(item.Text, item.Font);
        break;
      case TRoomKind::WrappedLabel:
        m.Room = item.Bounds.Height;
        m.Needed = Measure.WrappedHeight(item.Text, item.Font, width);
        break;
      case TRoomKind::CheckBox:
      case TRoomKind::RadioItem:
        m.Room = width - Metrics.CheckBoxBox;
        m.Needed = Measure.Width(item.Text, item.Font);
        break;
      case TRoomKind::GroupCaption:
        m.Room = width - 2 * Metrics.GroupInset;
        m.Needed = Measure.Width(item.Text, item.Font);
        break;
      case TRoomKind::Column:
        m.Room = width - 2 * Metrics.ColumnPadding;
        m.Needed = Measure.Width(item.Text, item.Font);
        break;
      case TRoomKind::Panel:
        m.Room = width - 2 * Metrics.PanelPadding;
        m.Needed = Measure.Width(item.Text, item.Font);
        break;
      case TRoomKind::TabCaption:
      case TRoomKind::MenuBarItem: {
        const int padding =
            2 * (item.Kind == TRoomKind::TabCaption ? Metrics.TabPadding : Metrics.MenuItemPadding);
        int& used = rowUsed[RowKey(item)];
        m.Room = std::max(0, item.RowWidth - used - padding);
        m.Needed = Measure.Width(item.Text, item.Font);
        used += m.Needed + padding;
        break;
      }
    }
  }
  return result;
}

std::vector<TFinding> CheckFit(const std::string& File, const std::vector<TFitItem>& Translated,
                               const std::vector<TFitItem>& Original, const TTextMeasure& Measure,
                               const TFitMetrics& Metrics) {
  const std::vector<TFitMeasure> translated = MeasureFit(Translated, Measure, Metrics);
  const std::vector<TFitMeasure> original = MeasureFit(Original, Measure, Metrics);
  std::map<std::string, std::size_t> originalById;
  for (std::size_t i = 0; i < Original.size(); ++i) originalById.emplace(Original[i].Id, i);

  std::vector<TFinding> findings;
  for (std::size_t i = 0; i < Translated.size(); ++i) {
    const TFitItem& item = Translated[i];
    const TFitMeasure& m = translated[i];
    if (m.Overflow() <= 0) continue;
    std::string compare;
    const auto it = originalById.find(item.Id);
    if (it != originalById.end()) {
      const TFitMeasure& o = original[it->second];
      if (o.Overflow() >= m.Overflow()) continue;  // the original clips as much already
      compare = "; the original '" + vaq::values::OneLineText(std::string_view(Original[it->second].Text)) +
                "' needs " + std::to_string(o.Needed) + " of " + std::to_string(o.Room);
    }
    const bool height = item.Kind == TRoomKind::WrappedLabel;
    findings.push_back(
        {File, item.Id, TFindingKind::Fit,
         item.Path + " (" + item.Class + "): '" + vaq::values::OneLineText(std::string_view(item.Text)) +
             "' needs " + std::to_string(m.Needed) + " px of " + (height ? "height, has " : "width, has ") +
             std::to_string(m.Room) + ": " + std::to_string(m.Overflow()) + " px missing" + compare,
         item.Bounds});
  }
  return findings;
}

}  // namespace rux::checks
