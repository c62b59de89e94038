// The editor's way to the form preview in the desktop build: the viewer, with the layout designer
// on its translated form, installed as the editor's viewer while the desktop units run.
#pragma once

namespace rux {

void InstallPreviewForEditor();
void UninstallPreviewForEditor();

}  // namespace rux
