// What the editor window asks of the form preview: the original and the translated preview of the
// open form, their on-top style, and the layout designer on the translated one. The desktop build
// installs the real preview with InstallEditorViewer; until then (and in the command-line build and
// headless tests) EditorViewer() is a viewer that does nothing and has no designer.
#pragma once

#include <functional>
#include <string>

#include "designer/designer_intf.h"

namespace rux {

// Tags of the two preview forms, as the close notification reports them.
inline constexpr int kOriginalPreviewTag = 0;
inline constexpr int kTranslatedPreviewTag = 1;

class IEditorViewer {
 public:
  virtual ~IEditorViewer() = default;
  // Original: true for the original preview, false for the translated one.
  virtual void ShowForm(const std::string& FileName, bool Original, bool StayOnTop) = 0;
  virtual void HideForm(bool Original) = 0;
  virtual void DestroyForm(bool Original) = 0;
  // Builds a preview in advance without showing it.
  virtual void CreateForm(const std::string& FileName, bool Original) = 0;
  virtual void UpdateFormStyle(bool Original, bool StayOnTop) = 0;
  // The layout designer of the shown translated preview; null when none is shown.
  virtual IVaqFormDesigner* GetDesigner() = 0;
  virtual void UpdateDesignerOptions() = 0;
  // Called when the user closes a preview with its own close box; the argument is its tag.
  std::function<void(int FormTag)> OnClose;
};

// The installed viewer, or the one that does nothing.
IEditorViewer& EditorViewer();
// Installs a viewer (borrowed; null goes back to the one that does nothing). The caller keeps it
// alive until it installs null again.
void InstallEditorViewer(IEditorViewer* Viewer);

}  // namespace rux
