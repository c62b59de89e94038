// The fit check on live forms: the translated and the original form of a notes file built through
// the viewer (as the preview shows them), each control's texts measured with QFontMetrics in the
// control's font, and the pictures of forms with findings.
//
// What keeps it fast on many forms (500 forms of 20 KB in about 2.5 s where it took 4.4 s): the
// notes file is read once for all the checks; the translated form is built once, without the
// designer and to be measured only (TForm::BuiltToMeasure: edits, lists, memos and the like leave
// their contents out, which took a sixth of the time in their text layout); the original form is
// built only where a text does not fit and the translation changed more than texts, else its
// items are the translated ones with the original texts, collection items found under their
// records by the numbering the form text is written with. Keeping the metrics of every font for a
// whole run was tried: Qt's font cache then trims itself on every new font and it is slower.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <QFontMetrics>
#include <QImage>

#include "checks/finding.h"
#include "checks/fit.h"
#include "framework/widgets/form.h"
#include "host/core/arguments.h"
#include "host/core/types.h"

namespace rux {

// Text measures in the widget layer's fonts; the metrics of each font are made once.
class TQtTextMeasure : public checks::TTextMeasure {
 public:
  int Width(const std::string& Text, const checks::TFontSpec& Font) const override;
  int WrappedHeight(const std::string& Text, const checks::TFontSpec& Font, int Width) const override;

 private:
  const QFontMetrics& Metrics(const checks::TFontSpec& Font) const;
  mutable std::vector<std::pair<checks::TFontSpec, std::unique_ptr<QFontMetrics>>> Metrics_;
};

// The texts of a live form that the fit check measures, with their rooms. Id: the component path
// in the live tree's notation ("O:MainForm.O:btnOK") and the property ("Caption",
// "Items.Strings[1]", "Columns[0].Caption", "Panels[1].Text"); menu bar items get negative tops
// (the bar lies above the client area).
std::vector<checks::TFitItem> FitItemsOf(vaq::widgets::TForm& Form);

// FitItemsOf with the Ids of the records of notes file `Notes` (inherited and inline components
// carry "I:" and "L:" there; menu bar items take the main menu's top-level items in order).
std::vector<checks::TFitItem> NotesFitItems(vaq::widgets::TForm& Form, const std::string& Notes);

// The fit findings of the form of notes file `Notes`, with the Ids of its records. The translated
// form is built (without the designer); the original only when a text does not fit and the
// translation changed more than texts (otherwise the original is laid out as the translated form,
// and its items are the translated ones with the original texts). With a non-empty
// `PngDir`, a form that has findings (`Findings` of the other checks, or fit findings) is also
// drawn into PngDir/<form>.png with its clipped controls outlined in red.
std::vector<checks::TFinding> CheckFitLive(const std::string& Notes,
                                           const std::vector<checks::TFinding>& Findings,
                                           const std::string& PngDir);
// CheckFitLive with the notes file's lines and header statistics as the other checks read them.
std::vector<checks::TFinding> CheckFitLive(const std::string& Notes, const std::vector<std::string>& Lines,
                                           const vaq::TFileStats& Stats,
                                           const std::vector<checks::TFinding>& Findings,
                                           const std::string& PngDir);

// The picture of a live form with the bounds of `Findings` outlined in red.
QImage PictureWithOutlines(vaq::widgets::TForm& Form, const std::vector<checks::TFinding>& Findings);

// vaq check in the desktop build: the notes checks and the fit on live forms.
int RunCheckDesktop(const vaq::Arguments& Args);

}  // namespace rux
