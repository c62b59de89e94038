// The live form as text, one line per component, for scripts and for tests that must not depend
// on pixels.
#pragma once

#include <string>
#include <vector>

#include "framework/widgets/form.h"

namespace rux {

// One line per component, depth first in the form's nesting, tab-separated:
//   path  class  shown|hidden|-  left,top,width,height  text
// The path is the component's path as the notes spell it ("O:MainForm.O:Panel1.O:btnOK", with "I:"
// for components inherited from an ancestor form and "L:" for inline frames); bounds are in the form's
// client coordinates ("-" for non-visual components; the form's own line gives 0,0 and its client
// size); the text (caption, text, items, lines, joined by " | ") is UTF-8 with line breaks as "\n".
std::vector<std::string> FormTreeLines(vaq::widgets::TForm& Form);

}  // namespace rux
