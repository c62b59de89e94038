// The fit check: whether each control's translated text fits the room the control gives it.
// The measuring input is plain data, so that the rules are tested without a widget toolkit; the
// live widget layer fills it from the translated and the original form and measures the texts in
// each control's font through a TTextMeasure.
#pragma once

#include <string>
#include <vector>

#include "checks/finding.h"

namespace rux::checks {

// How a control gives room to its text.
enum class TRoomKind {
  Button,        // width less the frame
  Label,         // a label without AutoSize: its width
  WrappedLabel,  // a label without AutoSize with word wrap: its height at its width
  CheckBox,      // check boxes and radio buttons: width less the box
  GroupCaption,  // the caption of a group box (or radio group): width less the frame's insets
  TabCaption,    // one tab of a page or tab control: the tabs share the control's width
  Column,        // a list view column title: the column's width less its padding
  Panel,         // a status bar panel: the panel's width less its padding
  RadioItem,     // one item of a radio group: the item's width less the box
  MenuBarItem,   // one item of a form's menu bar: the items share the form's width
};

struct TFontSpec {
  std::string Name;   // family
  int PixelSize = 0;  // height of the font in pixels
  bool Bold = false;
  bool Italic = false;
  bool operator==(const TFontSpec&) const = default;
};

// One text a control shows, with what the fit needs to know about its control.
struct TFitItem {
  std::string Id;     // the notes record of the text
  std::string Path;   // the component path: O:MainForm.O:btnOK
  std::string Class;  // TButton
  TRoomKind Kind = TRoomKind::Button;
  std::string Text;       // UTF-8, as shown (accelerator marks removed)
  TControlBounds Bounds;  // the control, or its part (a column, a panel, a radio item), in form coordinates
  TFontSpec Font;
  // Kinds that share a row (tabs, menu bar items): the control that holds the row (the page
  // control, the form) and the row's width; the items of one row are measured in the order given.
  std::string Row;
  int RowWidth = 0;
};

// Text measures in a font, in pixels.
class TTextMeasure {
 public:
  virtual ~TTextMeasure() = default;
  // The advance width of one line of text.
  virtual int Width(const std::string& Text, const TFontSpec& Font) const = 0;
  // The height the text takes when wrapped at word boundaries into `Width` pixels.
  virtual int WrappedHeight(const std::string& Text, const TFontSpec& Font, int Width) const = 0;
};

// Frames, boxes and paddings of the controls, in pixels.
struct TFitMetrics {
  int ButtonFrame = 4;      // on each side of a button's caption
  int CheckBoxBox = 17;     // the box of a check box or radio button with its gap
  int GroupInset = 8;       // on each side of a group box caption
  int TabPadding = 6;       // on each side of a tab's caption
  int ColumnPadding = 6;    // on each side of a column title
  int PanelPadding = 3;     // on each side of a panel's text
  int MenuItemPadding = 6;  // on each side of a menu bar item
};

// What one text needs and gets. Overflow = Needed - Room (pixels missing; none when <= 0).
struct TFitMeasure {
  int Room = 0;
  int Needed = 0;
  int Overflow() const { return Needed - Room; }
};

// Measures every item. Tabs and menu bar items of one Row share it: an item's room is what the
// row has left after the items before it.
std::vector<TFitMeasure> MeasureFit(const std::vector<TFitItem>& Items, const TTextMeasure& Measure,
                                    const TFitMetrics& Metrics = {});

// Fit findings of `File`: each translated item whose text needs more room than it gets, unless the
// original (the item of the same Id in `Original`) already lacks as much or more. The finding
// names the control, its text, the pixels missing and the original's measure, and carries the
// item's bounds.
std::vector<TFinding> CheckFit(const std::string& File, const std::vector<TFitItem>& Translated,
                               const std::vector<TFitItem>& Original, const TTextMeasure& Measure,
                               const TFitMetrics& Metrics = {});

}  // namespace rux::checks
