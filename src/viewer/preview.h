// The preview command's work: which form and notes a file names, building the live forms through
// the viewer, and the outputs (a picture, the live tree, windows).
#pragma once

#include <ostream>
#include <string>

#include <QImage>

namespace rux {

enum class TPreviewSide { Original, Translated, Both };

struct TPreviewRequest {
  std::string File;  // a form file, a notes file, or a translated form beside its notes
  TPreviewSide Side = TPreviewSide::Translated;
  std::string Png;    // write the picture here
  bool Tree = false;  // print the live tree
  std::string Lang;   // the language folder of the notes of an original form
};

// What a request's file resolves to: the form file the viewer builds (its notes beside it, when
// they exist) and the language names of both sides.
struct TPreviewTarget {
  std::string FormFile;
  bool HasNotes = false;
  std::string SourceName, TargetName;
};

// Resolves the file of a request. A notes file names the translated form beside it; an original
// form with `Lang` (or the only language folder holding its notes) names the translated form in
// that folder; a form without notes stands for itself. Raises vaq::EFileError when the file does
// not exist.
TPreviewTarget ResolvePreview(const TPreviewRequest& Request);

// Two pictures side by side, each with its caption above it.
QImage SideBySide(const QImage& Left, const std::string& LeftCaption, const QImage& Right,
                  const std::string& RightCaption);

// Runs a request with the QApplication already created: builds the forms through RuxViewer(),
// writes the picture and/or the tree to `Out`, or shows the windows and runs the event loop until
// they are closed. Problems go to `Err` naming the file; the result is the exit code (0 or 1).
int RunPreviewRequest(const TPreviewRequest& Request, std::ostream& Out, std::ostream& Err);

}  // namespace rux
