// Pictures of live forms, drawn without a display: the window frame with its caption, the menu
// bar and the client area with every control.
#pragma once

#include <QImage>

#include "framework/widgets/form.h"

namespace vaq::widgets {

// The form as it looks on the screen, Width x Height pixels, frame and caption drawn by the layer.
QImage RenderForm(TForm& Form);

// Prepares the application for deterministic pictures: the Fusion style, the fixed palette and
// DejaVu Sans. Call once after the QApplication exists.
void PrepareApplication();

}  // namespace vaq::widgets
