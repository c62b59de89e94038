#include "designer/option_page.h"

#include <algorithm>
#include <cctype>

namespace rux {
namespace {

bool SameText(std::string_view A, std::string_view B) {
  return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
         });
}

bool InList(std::string_view Value, std::string_view List) {
  while (true) {
    const size_t end = List.find(';');
    if (SameText(Value, List.substr(0, end))) return true;
    if (end == std::string_view::npos) return false;
    List.remove_prefix(end + 1);
  }
}

}  // namespace

const std::vector<TOptionPageControl>& FormDesignerOptionPageLayout() {
  using K = TOptionPageControlKind;
  static const std::vector<TOptionPageControl> layout = {
      {"frmVaqFormDesignerOptionPage", K::Form, "", BoundsRect(192, 107, 433, 420),
       "frmVaqFormDesignerOptionPage", "", "", -1, 0},
      {"PageControl", K::PageControl, "frmVaqFormDesignerOptionPage", BoundsRect(0, 0, 425, 350), "", "", "",
       0, 0},
      {"tsFormDesigner", K::TabSheet, "PageControl", {}, "Form Designer", "", "", -1, 7315},
      {"gbFormDesigner", K::GroupBox, "tsFormDesigner", BoundsRect(8, 8, 401, 73), " Form Designer ", "", "",
       0, 0},
      {"pcbDisplayGrid", K::PropCheckBox, "gbFormDesigner", BoundsRect(8, 16, 185, 17), "Display &grid",
       "Display Grid", "", 0, 0},
      {"pcbSnapToGrid", K::PropCheckBox, "gbFormDesigner", BoundsRect(8, 40, 185, 17), "Sna&p to grid",
       "Snap to Grid", "", 1, 0},
      {"lbGridSizeX", K::Label, "gbFormDesigner", BoundsRect(208, 20, 56, 13), "Grid size &X: ", "",
       "ebGridSizeX", -1, 0},
      {"lbGridSizeY", K::Label, "gbFormDesigner", BoundsRect(208, 44, 56, 13), "Grid size &Y: ", "",
       "ebGridSizeY", -1, 0},
      {"ebGridSizeX", K::PropEdit, "gbFormDesigner", BoundsRect(272, 16, 81, 21), "", "Grid Size X", "", 2,
       0},
      {"ebGridSizeY", K::PropEdit, "gbFormDesigner", BoundsRect(272, 40, 81, 21), "", "Grid Size Y", "", 3,
       0},
  };
  return layout;
}

std::optional<bool> PropCheckBoxState(std::string_view Value, std::string_view ValueChecked,
                                      std::string_view ValueUnchecked) {
  if (InList(Value, ValueChecked)) return true;
  if (InList(Value, ValueUnchecked)) return false;
  return std::nullopt;
}

void UpdateDesignerOptions(IVaqFormDesignerOptions* Designer, const vaq::TVaqOptionProps& Options) {
  if (!Designer) return;
  Designer->SetDisplayGrid(Options.GetBool(vaq::kOptDisplayGrid));
  Designer->SetSnapToGrid(Options.GetBool(vaq::kOptSnapToGrid));
  // The option set keeps 64-bit integers; a grid step fits in far fewer bits.
  const auto step = [&](int Index) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(Options.GetInteger(Index), 1, 1 << 16));
  };
  Designer->SetGridSize({step(vaq::kOptGridSizeX), step(vaq::kOptGridSizeY)});
}

void TFormDesignerOptionPage::FormDestroy() {
  if (ModalResult_ == mrOk && UpdateDesigner_) UpdateDesigner_();
}

}  // namespace rux
