// The form editor's desktop window: the core's translation window over TfrmVaqRuxForm, with the
// editor's pictures 10 to 14 (show original, show translated, refresh, on top off and on) and the
// separator lines between component groups drawn over the grid's cells.
#pragma once

#include <QIcon>
#include <memory>
#include <string>
#include <vector>

#include "core/views/translator_window.h"
#include "editor/rux_form.h"

namespace rux::views {

// Builds the window for the editor logic (which must have run FormCreate).
std::unique_ptr<vaq::views::TTranslatorWindow> CreateRuxEditorWindow(TfrmVaqRuxForm& Form);

// The editor's pictures, indices 10 to 14; a null icon for other indices.
QIcon RuxIcon(int ImageIndex);

// The form files (".rux", ".gox") below a folder, sorted, language sub-folders included.
std::vector<std::string> ListFormFiles(const std::string& Folder);

}  // namespace rux::views
