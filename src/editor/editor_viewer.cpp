// The editor's viewer slot.
#include "editor/editor_viewer.h"

namespace rux {
namespace {

class TNoViewer : public IEditorViewer {
 public:
  void ShowForm(const std::string&, bool, bool) override {}
  void HideForm(bool) override {}
  void DestroyForm(bool) override {}
  void CreateForm(const std::string&, bool) override {}
  void UpdateFormStyle(bool, bool) override {}
  IVaqFormDesigner* GetDesigner() override { return nullptr; }
  void UpdateDesignerOptions() override {}
};

IEditorViewer*& Installed() {
  static IEditorViewer* viewer = nullptr;
  return viewer;
}

}  // namespace

IEditorViewer& EditorViewer() {
  static TNoViewer none;
  return Installed() ? *Installed() : none;
}

void InstallEditorViewer(IEditorViewer* Viewer) {
  Installed() = Viewer;
}

}  // namespace rux
