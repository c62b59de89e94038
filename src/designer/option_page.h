// The designer's page in the core's options dialog: grid shown, snapping, grid size X and Y, kept
// in the core's option set and edited by the core's property-bound controls. This is the page's
// layout as data and its one rule: the designer takes the new values only when the dialog was
// accepted. The view that builds the page from the layout lives with the options dialog.
#pragma once

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "designer/designer_intf.h"
#include "designer/geometry.h"
#include "host/core/options.h"

namespace rux {

// The property set the page's controls are bound to, and the texts its check boxes read as
// checked and unchecked.
constexpr std::string_view kFormDesignerPropSet = "VaqINTOptionProps.FormDesignerPropSet";
constexpr std::string_view kPropCheckBoxValueChecked = "True;Yes;1";
constexpr std::string_view kPropCheckBoxValueUnchecked = "False;No;0";

enum class TOptionPageControlKind { Form, PageControl, TabSheet, GroupBox, PropCheckBox, Label, PropEdit };

// One control of the page. Positions are in pixels at 96 pixels per inch, relative to `Parent`
// (empty for the form itself). A label names the edit its accelerator focuses; a property-bound
// control names its option field. TabOrder -1: none.
struct TOptionPageControl {
  std::string_view Name;
  TOptionPageControlKind Kind;
  std::string_view Parent;
  TRect Bounds;
  std::string_view Caption;
  std::string_view PropertyField;
  std::string_view FocusControl;
  int TabOrder = -1;
  int HelpContext = 0;
};

// The page form first, then its controls, parents before children.
const std::vector<TOptionPageControl>& FormDesignerOptionPageLayout();

// Whether a property-bound check box shows `Value` as checked: true for one of the checked texts,
// false for one of the unchecked texts (ignoring case), nothing for any other text.
std::optional<bool> PropCheckBoxState(std::string_view Value,
                                      std::string_view ValueChecked = kPropCheckBoxValueChecked,
                                      std::string_view ValueUnchecked = kPropCheckBoxValueUnchecked);

// Copies "Display Grid", "Snap to Grid", "Grid Size X" and "Grid Size Y" from the option set into
// a designer, in that order; nothing without a designer.
void UpdateDesignerOptions(IVaqFormDesignerOptions* Designer, const vaq::TVaqOptionProps& Options);

// The frameworks' modal result of an accepted dialog.
constexpr int mrOk = 1;

// The page's life: the dialog sets the modal result when it closes; destroying the page hands
// the options to the open designer only when the dialog was accepted.
class TFormDesignerOptionPage {
 public:
  explicit TFormDesignerOptionPage(std::function<void()> UpdateDesigner)
      : UpdateDesigner_(std::move(UpdateDesigner)) {}
  void SetModalResult(int Value) { ModalResult_ = Value; }
  int ModalResult() const { return ModalResult_; }
  void FormDestroy();

 private:
  std::function<void()> UpdateDesigner_;
  int ModalResult_ = 0;
};

}  // namespace rux
