#include "module/desktop/editor_viewer_link.h"

#include "editor/editor_viewer.h"
#include "viewer/viewer.h"

namespace rux {
namespace {

class TPreviewForEditor : public IEditorViewer {
 public:
  void ShowForm(const std::string& FileName, bool Original, bool StayOnTop) override {
    Link();
    RuxViewer().ShowForm(FileName, Original, StayOnTop);
  }
  void HideForm(bool Original) override { RuxViewer().HideForm(Original); }
  void DestroyForm(bool Original) override { RuxViewer().DestroyForm(Original); }
  void CreateForm(const std::string& FileName, bool Original) override {
    Link();
    RuxViewer().CreateForm(FileName, Original);
  }
  void UpdateFormStyle(bool Original, bool StayOnTop) override {
    RuxViewer().UpdateFormStyle(Original, StayOnTop);
  }
  IVaqFormDesigner* GetDesigner() override { return RuxViewer().GetDesigner(); }
  void UpdateDesignerOptions() override { RuxViewer().UpdateDesignerOptions(); }

 private:
  // A preview closed by the user reaches the editor with the form's tag.
  void Link() {
    RuxViewer().OnClose = [this](vaq::widgets::TComponent* Sender) {
      if (OnClose && Sender) OnClose(Sender->Tag());
    };
  }
};

TPreviewForEditor& Preview() {
  static TPreviewForEditor preview;
  return preview;
}

}  // namespace

void InstallPreviewForEditor() {
  InstallEditorViewer(&Preview());
}

void UninstallPreviewForEditor() {
  InstallEditorViewer(nullptr);
}

}  // namespace rux
