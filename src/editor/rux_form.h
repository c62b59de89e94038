// The editor window of form notes and the editor unit's start-up and shut-down: the window's
// creation registers the form file type ("RUXFileType", ".rux;.gox") with its handlers; the
// editor options are read from the registry store at start-up and three are written back at
// shut-down. The window has no view yet: it loads and saves notes and writes project directives.
#pragma once

#include <memory>
#include <string>

#include "host/core/translator_form.h"

namespace rux {

class TfrmVaqRuxForm : public vaq::TfrmVaqTranslatorForm {
 public:
  // The grid's editing arrives with the editor's view; until then these keep the manager's lines.
  void GridToMgr() override {}
  void LoadFile(const std::string& FileName) override;
  void Save() override;
  std::string GetCurrID() override { return {}; }
  bool ValidateText(int, int) override { return true; }
  vaq::TColInfo GetColInfo(vaq::TVaqAllColId Id) const override;
  std::string FormatDirective(const std::string& FileName, const vaq::TObject* FormInfo) override;
  // Sets the column ids, registry key, extensions and manager class, then registers the file type.
  void FormCreate() override;
};

// Editor options (registry values under VaqBaseRegKey + "\RUX").
extern bool bStayOnTop;
extern bool bShowOrigForm;
extern bool bShowXlatForm;
extern bool bShowAllProperties;

// The editor window; null before start-up and after shut-down.
TfrmVaqRuxForm* frmVaqForm();

void EditorStartup();
void EditorShutdown();

}  // namespace rux
