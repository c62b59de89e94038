// The editor window of form notes and the editor unit's start-up.
#include "editor/rux_form.h"

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "checks/check_notes.h"
#include "core/values/string_notation.h"
#include "core/values/value_kinds.h"
#include "editor/directives.h"
#include "editor/editor_viewer.h"
#include "editor/write_access.h"
#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/flags.h"
#include "host/core/locale.h"
#include "host/core/notes_strings.h"
#include "host/core/options.h"
#include "host/core/registration.h"
#include "host/core/registry.h"
#include "host/core/resource_strings.h"
#include "host/core/text.h"
#include "notes/component_path.h"
#include "notes/file_names.h"
#include "notes/file_services.h"
#include "notes/module_state.h"
#include "notes/notes_record.h"
#include "notes/rux_mgr.h"
#include "updater/rux_updater.h"

namespace rux {

bool bStayOnTop = false;
bool bShowOrigForm = false;
bool bShowXlatForm = false;
bool bShowAllProperties = false;

namespace {

constexpr const char* kRegSubKey = "\\RUX";
constexpr const char* kFileExts = ".rux;.gox";

std::unique_ptr<TfrmVaqRuxForm>& Window() {
  static std::unique_ptr<TfrmVaqRuxForm> window;
  return window;
}

std::string OptionsKey() {
  return vaq::VaqBaseRegKey + kRegSubKey;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) !=
        std::tolower(static_cast<unsigned char>(prefix[i]))) {
      return false;
    }
  }
  return true;
}

// The registered form file type (the module's start-up registers it), or nullptr.
vaq::TVaqFileType* FormFileType() {
  return vaq::GetVaqFileType(vaq::VaqFileTypes.ExtIndexOf(".rux"));
}

// The file type's handlers that call into the editor window.
void AttachWindow(vaq::TVaqFileType& type, TfrmVaqRuxForm& window) {
  type.Editor = &window;
  type.LoadFromFile = [&window](const std::string& file) { window.LoadFromFile(file); };
  type.EditFile = [&window](const std::string& file) { window.EditFile(file); };
  type.ChangeSize = [&window] { window.ChangeSize(); };
  type.Idle = [&window] { window.Idle(); };
}

void DetachWindow(const TfrmVaqRuxForm& window) {
  vaq::TVaqFileType* type = FormFileType();
  if (type == nullptr || type->Editor != &window) return;
  type->Editor = nullptr;
  type->LoadFromFile = {};
  type->EditFile = {};
  type->ChangeSize = {};
  type->Idle = {};
}

// The line of the first record of the notes file whose fields do not read, with the reason; empty
// when every record reads. Only asked when loading failed.
std::string FirstBadRecord(const std::string& NoteName) {
  std::vector<std::string> lines;
  try {
    lines = vaq::LoadLines(NoteName);
  } catch (const vaq::EVaqError&) {
    return {};
  }
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!lines[i].starts_with("/* ")) continue;
    try {
      (void)StringToNotesString(lines[i], NoteName);
    } catch (const vaq::EVaqError& error) {
      return "line " + std::to_string(i + 1) + ": " + error.what();
    }
  }
  return {};
}

// The notes of a form for the grid. A read-only folder is read as it is: refreshing stale notes
// would write them. A record that does not read is reported with the notes file and its line.
std::unique_ptr<TRuxMgr> LoadNotes(const std::string& FileName, bool ReadOnly) {
  const std::string noteName = FileNameToNoteName(FileName);
  try {
    if (!ReadOnly) return std::make_unique<TRuxMgr>(FileName);
    auto mgr = std::make_unique<TRuxMgr>();
    mgr->Lines = vaq::LoadLines(noteName);
    mgr->LoadFromStringList(&mgr->Lines, FileName, std::string());
    GetStats(FileName, false, mgr->Stats);
    return mgr;
  } catch (const vaq::EFileError&) {
    throw;  // names its file
  } catch (const vaq::EVaqError& error) {
    const std::string bad = FirstBadRecord(noteName);
    throw vaq::EFileError(noteName + ": " + (bad.empty() ? std::string(error.what()) : bad));
  }
}

// A record whose fields do not read (a status, order or date that is no number) stops the loading,
// with the notes file and the record's line: shown as something it is not, it would be saved so.
void CheckRecord(const TRuxMgr& Mgr, int Index) {
  try {
    (void)Mgr.StringToNotesString(Mgr.GetStrings(Index), Mgr.FileName);
  } catch (const vaq::EVaqError& error) {
    const std::string notes = Mgr.FileNameToNoteName(Mgr.FileName);
    const std::string bad = FirstBadRecord(notes);
    throw vaq::EFileError(notes + ": " + (bad.empty() ? std::string(error.what()) : bad));
  }
}

}  // namespace

TDelimiterLine DelimiterLine(int Style, int Row, int Delimiter, int NextDelimiter, int PreviousDelimiter,
                             bool LastRow) {
  if (Style == 0 || Row <= 1) return TDelimiterLine::None;
  if (Delimiter != 0) return Style == 1 ? TDelimiterLine::Top : TDelimiterLine::Bottom;
  if (Style == 1 && !LastRow && NextDelimiter != 0) return TDelimiterLine::Bottom;
  if (Style == 2 && PreviousDelimiter != 0) return TDelimiterLine::Top;
  return TDelimiterLine::None;
}

TfrmVaqRuxForm::TfrmVaqRuxForm() {
  VaqGrid.SetSource(&gridSource_);
}
TfrmVaqRuxForm::~TfrmVaqRuxForm() {
  DetachWindow(*this);
  VaqGrid.SetSource(nullptr);
  gridSource_.SetManager(nullptr);
  // The manager unregisters itself as the current one when it goes.
  Mgr.reset();
}

TRuxMgr* TfrmVaqRuxForm::RuxMgr() const {
  return static_cast<TRuxMgr*>(Mgr.get());
}

void TfrmVaqRuxForm::SetButtonDown(std::string_view Name, bool Down) {
  if (vaq::TVaqToolButton* button = FindToolButton(Name)) button->Down = Down;
}

// ---- Loading and writing back.

void TfrmVaqRuxForm::LoadFile(const std::string& FileName) {
  gridSource_.SetManager(nullptr);
  Mgr.reset();
  ClearGrid({ColOrig, ColCurr, ColPrevOrig, ColPrevCurr});
  const std::string noteName = FileNameToNoteName(FileName);
  ReadOnlyReason = rux::ReadOnlyReason(noteName, FileName);
  ReadOnly = !ReadOnlyReason.empty();
  // Stale notes are brought up to date first: a translated form edited by hand is read back, or
  // the next save from the grid would write the form over those edits. A read-only folder is
  // read as it is.
  if (!ReadOnly) {
    vaq::TFileStats stats;
    try {
      RefreshStaleStats(FileName, stats);
    } catch (const vaq::EVaqError&) {
      // Damaged notes are not refreshed; the loading below reports them with their line.
    }
  }
  auto mgr = LoadNotes(FileName, ReadOnly);
  SetCurrentMgr(mgr.get());
  Mgr = std::move(mgr);
  VaqGrid.BeginUpdate();
  try {
    FillGrid();
    MarkObjectDelimiters();
    FileStats = Mgr->Stats;
    VaqGridProcessFilters(nullptr, -1, false);
    // Translators start in the current value of the first row.
    if (const int curr = EnumToCol(ColCurr); curr >= 0 && !VaqGrid.ShownRows().empty()) {
      VaqGrid.SetCurrent(curr, VaqGrid.ShownRows().front());
    }
  } catch (...) {
    // Nothing of a file that did not load stays: no rows, no manager.
    gridSource_.SetManager(nullptr);
    Mgr.reset();
    ClearGrid({ColOrig, ColCurr, ColPrevOrig, ColPrevCurr});
    VaqGrid.EndUpdate(false);
    throw;
  }
  VaqGrid.EndUpdate(false);
  VaqGrid.ClearRowChanges();
  IEditorViewer& viewer = EditorViewer();
  viewer.DestroyForm(true);
  viewer.DestroyForm(false);
  // The translated preview is built in advance when the window is idle, after the grid showed: for
  // a big form it takes longer than the grid. Shown now, it is built now.
  previewPending_ = true;
  EditShowOriginalFormExecute(nullptr);
  EditShowTranslatedFormExecute(nullptr);
}

void TfrmVaqRuxForm::Idle() {
  if (!previewPending_) return;
  previewPending_ = false;
  if (!CurrentFileName.empty()) EditorViewer().CreateForm(CurrentFileName, false);
}

void TfrmVaqRuxForm::FillGrid() {
  TRuxMgr& mgr = *RuxMgr();
  VaqGrid.SetOrigLCID(vaq::StrToLCID(mgr.Stats.SourceLang));
  VaqGrid.SetXLatLCID(vaq::StrToLCID(mgr.Stats.TargetLang));
  const auto setCaptions = [this](vaq::TVaqAllColId origId, vaq::TVaqAllColId xlatId, std::string a,
                                  std::string b) {
    if (vaq::AnsiSameText(a, b)) {
      a = vaq::Format(vaq::sDupLang1, {a});
      b = vaq::Format(vaq::sDupLang2, {b});
    }
    if (const int c = EnumToCol(origId); c >= 0) VaqGrid.ColDefs[c].SetCaption(std::move(a));
    if (const int c = EnumToCol(xlatId); c >= 0) VaqGrid.ColDefs[c].SetCaption(std::move(b));
  };
  const std::string origName = vaq::LCIDToLangName(VaqGrid.OrigLCID);
  const std::string xlatName = vaq::LCIDToLangName(VaqGrid.XlatLCID);
  setCaptions(ColOrig, ColCurr, origName, xlatName);
  setCaptions(ColPrevOrig, ColPrevCurr, vaq::Format(vaq::SPreviousLang, {origName}),
              vaq::Format(vaq::SPreviousLang, {xlatName}));

  // The grid reads its cells from the manager's lines: rows hold only the record's index. Every
  // record is read once here, so that a damaged one stops the loading with its line instead of
  // showing as something it is not.
  gridSource_.SetManager(&mgr);
  VaqGrid.SetRowCount(VaqGrid.FixedRows());
  const int count = mgr.GetCount();
  VaqGrid.HasRows = count > 0;
  if (VaqGrid.HasRows) {
    const int first = VaqGrid.FixedRows();
    int r = first;
    VaqGrid.SetRowCount(count + 1);
    for (int i = 0; i < count; ++i) {
      CheckRecord(mgr, i);
      if (!mgr.CanLocalize(i) && !bShowAllProperties) continue;
      VaqGrid.AddRowDef(i, r, 0, r);
      ++r;
    }
    VaqGrid.SetColCount(static_cast<int>(VaqGrid.ColDefs.size()));
    VaqGrid.HasRows = r != first;
    if (VaqGrid.HasRows) VaqGrid.SetRowCount(r);
  }
  if (!VaqGrid.HasRows) {
    VaqGrid.SetRowCount(2);
    VaqGrid.ClearRow(1);
    VaqGrid.AddRowDef(-1, 1, 0, 1);
  }
  VaqGrid.SetFixedRows(1);
  VaqGrid.AddRowDef(-1, 0, 0, 0);
}

void TfrmVaqRuxForm::MarkObjectDelimiters() {
  const int idColumn = EnumToCol(ColId);
  if (idColumn < 0) return;
  std::vector<std::string_view> previous;
  std::vector<std::string_view> current;
  for (int r = VaqGrid.FixedRows(); r < VaqGrid.RowCount(); ++r) {
    VaqGrid.SetObjectDelimeter(r, 0);
    std::swap(previous, current);
    current.clear();
    // Segments: one character before the first ":" up to and including the first ".".
    std::string_view rest = VaqGrid.Cell(idColumn, r);
    for (std::size_t colon = rest.find(':'); colon != std::string_view::npos; colon = rest.find(':')) {
      const std::size_t start = colon == 0 ? 0 : colon - 1;
      rest.remove_prefix(start);
      const std::size_t dot = rest.find('.');
      const std::size_t length = dot == std::string_view::npos ? rest.size() : dot + 1;
      current.push_back(rest.substr(0, length));
      rest.remove_prefix(length);
      if (length == 0) break;
    }
    const std::size_t n = std::max(previous.size(), current.size());
    for (std::size_t k = n; k-- > 0;) {
      const std::string_view p = k < previous.size() ? previous[k] : std::string_view();
      const std::string_view c = k < current.size() ? current[k] : std::string_view();
      if (p == c) break;
      VaqGrid.SetObjectDelimeter(r, p.empty() ? 1 : c.empty() ? 2 : 3);
    }
  }
}

std::string TfrmVaqRuxForm::RowNotesWithEdits(int Row) const {
  const int index = VaqGrid.GetMgrIndex(Row);
  std::string notes = Mgr->GetStrings(index);
  for (int c = 0; c < static_cast<int>(VaqGrid.ColDefs.size()); ++c) {
    const vaq::TColDef& def = VaqGrid.ColDefs[static_cast<std::size_t>(c)];
    if (def.Key.empty() || !VaqGrid.CellChanged(c, Row)) continue;
    const std::string_view cell = VaqGrid.Cell(c, Row);
    std::string value;
    switch (def.ColumnId) {
      case ColStatus:
        value = std::to_string(vaq::StrToStatusOrd(cell));
        break;
      case ColCreated:
      case ColModified:
        value = vaq::StrDateToStrFloat(cell);
        break;
      default:
        value = cell;
        break;
    }
    if (vaq::GetValueView(notes, def.Key, "\x01") != value) notes = vaq::SetValue(notes, def.Key, value);
  }
  return notes;
}

std::vector<std::string> TfrmVaqRuxForm::NotesWithEdits() const {
  if (!Mgr) return {};
  std::vector<std::string> lines = Mgr->Lines;
  for (int r = VaqGrid.FixedRows(); r < VaqGrid.RowCount(); ++r) {
    const int index = VaqGrid.GetMgrIndex(r);
    if (index < 0 || index >= Mgr->GetCount() || !VaqGrid.RowChanged(r)) continue;
    lines[static_cast<std::size_t>(index)] = RowNotesWithEdits(r);
  }
  return lines;
}

void TfrmVaqRuxForm::GridToMgr() {
  if (!Mgr) return;
  for (int r = VaqGrid.FixedRows(); r < VaqGrid.RowCount(); ++r) {
    const int index = VaqGrid.GetMgrIndex(r);
    // The placeholder row has no record; cells nobody changed hold what the record holds (a date
    // would otherwise come back rounded to the grid's milliseconds).
    if (index < 0 || index >= Mgr->GetCount() || !VaqGrid.RowChanged(r)) continue;
    Mgr->SetStrings(index, RowNotesWithEdits(r));
  }
  VaqGrid.ClearRowChanges();
  // The manager holds the edits now: the grid reads them from there.
  VaqGrid.ReleaseCells();
}

void TfrmVaqRuxForm::Save() {
  if (Mgr) Mgr->Save(true, {}, {}, true);
  Dirty = false;
}

std::string TfrmVaqRuxForm::GetCurrID() {
  if (!VaqGrid.Visible || !VaqGrid.GetShowRow(VaqGrid.Row) || !Mgr) return {};
  const int index = VaqGrid.GetMgrIndex(VaqGrid.Row);
  const int idColumn = EnumToCol(ColId);
  if (index < 0 || index >= Mgr->GetCount() || idColumn < 0) return {};
  std::string id(VaqGrid.Cell(idColumn, VaqGrid.Row));
  if (!id.empty() && id.back() != '.') {
    const std::size_t colon = id.rfind(':');
    if (colon != std::string::npos) id.erase(0, colon + 1);
  }
  std::string result = vaq::GetValue(Mgr->GetStrings(index), KeyType, "") + "::" + id;
  if (result.starts_with("C:")) result.erase(0, 2);
  return result;
}

bool TfrmVaqRuxForm::ValidateText(int Column, int Row) {
  if (ColIds.at(static_cast<std::size_t>(Column)) != ColCurr) return true;
  if (!ValidateGridEntry(VaqGrid, EnumToCol(ColOrig), Column, Row, true, false, '\'')) return false;
  return ProcessStatus(Row);
}

vaq::TColInfo TfrmVaqRuxForm::GetColInfo(vaq::TVaqAllColId Id) const {
  return VaqColInfo.at(Id);
}

std::string TfrmVaqRuxForm::FormatDirective(const std::string& FileName, const vaq::TObject* FormInfo) {
  return rux::FormatDirective(FileName, FormInfo);
}

void TfrmVaqRuxForm::VaqGridCellValueChangedEvent(vaq::TObject* Sender, int Column, int Row) {
  vaq::TfrmVaqTranslatorForm::VaqGridCellValueChangedEvent(Sender, Column, Row);
  if (!Sender) return;
  IVaqFormDesigner* designer = EditorViewer().GetDesigner();
  if (!designer) return;
  const int idColumn = EnumToCol(ColId);
  const int currColumn = EnumToCol(ColCurr);
  if (idColumn < 0 || currColumn < 0) return;
  // The record's component path, its property path and its value as the notes hold it.
  const std::string_view id = VaqGrid.Cell(idColumn, Row);
  const std::string_view component = FullObjectNameView(id);
  if (component.size() < 2 || !component.ends_with('.') || component.size() >= id.size()) return;
  designer->SetPropertyValue(std::string(component.substr(0, component.size() - 1)),
                             std::string(id.substr(component.size())), std::string(VaqGrid.Cell(currColumn, Row)));
}

// ---- Checking.

int TfrmVaqRuxForm::CheckTranslation() {
  if (!Mgr) return 0;
  // The notes as the grid holds them: the manager keeps the saved values (Restore saved value
  // reads them), so the edits go into a copy.
  const TRuxMgr& mgr = *RuxMgr();
  const std::vector<checks::TFinding> findings = checks::CheckNotesLines(
      NotesWithEdits(), mgr.FileNameToNoteName(mgr.FileName), mgr.Stats, checks::TKindSet::All());
  // Ids compare without case, as the form reader resolves them. A list's element count is
  // reported on the list's Id ("Items.Strings"): its first element's row carries it.
  std::map<std::string, int> rowOfId;
  const int idColumn = EnumToCol(ColId);
  for (int r = VaqGrid.FixedRows(); idColumn >= 0 && r < VaqGrid.RowCount(); ++r) {
    if (VaqGrid.GetMgrIndex(r) >= 0) rowOfId.try_emplace(vaq::AnsiUpperCase(VaqGrid.Cell(idColumn, r)), r);
  }
  std::map<int, std::string> marks;
  int unshown = 0;
  for (const checks::TFinding& finding : findings) {
    const std::string id = vaq::AnsiUpperCase(finding.Id);
    auto it = rowOfId.find(id);
    if (it == rowOfId.end()) {
      it = rowOfId.lower_bound(id + "[");
      if (it != rowOfId.end() && !it->first.starts_with(id + "[")) it = rowOfId.end();
    }
    if (it == rowOfId.end()) {
      ++unshown;  // a record the grid does not show (not localizable)
      continue;
    }
    std::string& text = marks[it->second];
    if (!text.empty()) text += '\n';
    text += std::string(checks::KindName(finding.Kind)) + ": " + finding.Detail;
  }
  SetRowFindings(std::move(marks));
  const int count = static_cast<int>(findings.size());
  StatusMessage = count == 0   ? std::string("No findings")
                  : count == 1 ? std::string("1 finding")
                               : std::to_string(count) + " findings";
  StatusMessage += " in " + vaq::ExtractFileName(CurrentFileName);
  if (unshown > 0) StatusMessage += " (" + std::to_string(unshown) + " on records the grid does not list)";
  StateChanged();
  return count;
}

// ---- Lifecycle.

void TfrmVaqRuxForm::FormCreate() {
  std::ranges::copy(DefColIds, ColIds.begin());
  RegSubKey = kRegSubKey;
  FileExts = kFileExts;
  MgrClass = [](const std::string& file) { return std::make_unique<TRuxMgr>(file); };
  vaq::TfrmVaqTranslatorForm::FormCreate();

  EditShowOriginalForm =
      &AddAction("EditShowOriginalForm", "Show orig. form", "Show original form", kImageShowOrig,
                 vaq::scCtrl | 118, [this](vaq::TObject* s) { EditShowOriginalFormExecute(s); });
  EditShowOriginalForm->OnUpdate = [this](vaq::TObject* s) { EditShowOriginalFormUpdate(s); };
  EditShowTranslatedForm =
      &AddAction("EditShowTranslatedForm", "Show curr. form", "Show translated form", kImageShowXlat,
                 vaq::scCtrl | 119, [this](vaq::TObject* s) { EditShowTranslatedFormExecute(s); });
  EditRefreshXlatForm =
      &AddAction("EditRefreshXlatForm", "Refresh curr. form", "Refresh translated form", kImageRefresh,
                 vaq::scCtrl | 116, [this](vaq::TObject* s) { EditRefreshXlatFormExecute(s); });
  EditRefreshXlatForm->OnUpdate = [this](vaq::TObject* s) { EditRefreshXlatFormUpdate(s); };
  EditOnTopMode = &AddAction("EditOnTopMode", "On Top Mode", "On top mode", kImageOnTopOff, vaq::scCtrl | 'K',
                             [this](vaq::TObject* s) { EditOnTopModeExecute(s); });
  EditOnTopMode->OnUpdate = [this](vaq::TObject* s) { EditOnTopModeUpdate(s); };
  ToolsCheck = &AddAction("ToolsCheck", "&Check translation",
                          "Check the translation of the open file and mark the rows with findings", -1,
                          vaq::scCtrl | vaq::scShift | 'C', [this](vaq::TObject*) { CheckTranslation(); });
  ToolsCheck->Category = "Tools";
  ToolsCheck->OnUpdate = [this](vaq::TObject*) { ToolsCheck->Enabled = Mgr != nullptr && VaqGrid.HasRows; };
  ToolBar.push_back({"ToolButton2", "", false, false, true, 8});
  ToolBar.push_back({"tbShowOrigForm", "EditShowOriginalForm", true});
  ToolBar.push_back({"tbShowXlatForm", "EditShowTranslatedForm", true});
  ToolBar.push_back({"ToolButton4", "EditRefreshXlatForm", false});
  ToolBar.push_back({"tbOnTopMode", "EditOnTopMode", false});

  vaq::TVaqAction* const previewActions[] = {EditShowOriginalForm, EditShowTranslatedForm,
                                             EditRefreshXlatForm, EditOnTopMode};
  if (!vaq::UseOlk) {
    FindToolButton("ToolButton2")->Visible = false;
    for (vaq::TVaqAction* action : previewActions) action->Visible = false;
    for (auto& button : ToolBar) {
      for (vaq::TVaqAction* action : previewActions) {
        if (button.ActionName == action->Name) button.Visible = false;
      }
    }
  } else {
    Shortcuts.resize(15);
    for (int i = 0; i < 4; ++i) {
      Shortcuts[static_cast<std::size_t>(11 + i)] =
          vaq::MakeVaqShortcutFromAction(*this, kShortcutKeyEventKind, *previewActions[i]);
    }
    for (int i = 11; i <= 14; ++i) vaq::RegisterVaqShortcut(Shortcuts[static_cast<std::size_t>(i)]);
  }

  FileType = FormFileType();
  if (FileType != nullptr) AttachWindow(*FileType, *this);

  SetButtonDown("tbShowOrigForm", bShowOrigForm);
  SetButtonDown("tbShowXlatForm", bShowXlatForm);
  SetOnTopModeButtonState(bStayOnTop);
}

void TfrmVaqRuxForm::FormHide() {
  IEditorViewer& viewer = EditorViewer();
  viewer.HideForm(true);
  SetButtonDown("tbShowOrigForm", false);
  bShowOrigForm = false;
  viewer.HideForm(false);
  SetButtonDown("tbShowXlatForm", false);
  bShowXlatForm = false;
  vaq::TfrmVaqTranslatorForm::FormHide();
  StateChanged();
}

void TfrmVaqRuxForm::FormClose() {
  EditorViewer().HideForm(true);
  EditorViewer().HideForm(false);
  vaq::TfrmVaqTranslatorForm::FormClose();
}

// ---- The preview actions.

void TfrmVaqRuxForm::EditShowOriginalFormExecute(vaq::TObject* Sender) {
  IEditorViewer& viewer = EditorViewer();
  if (Sender) bShowOrigForm = !bShowOrigForm;
  if (bShowOrigForm) {
    viewer.ShowForm(CurrentFileName, true, bStayOnTop);
  } else {
    viewer.HideForm(true);
  }
  SetButtonDown("tbShowOrigForm", bShowOrigForm);
  viewer.OnClose = [this](int tag) { ViewerClose(tag); };
  StateChanged();
}

void TfrmVaqRuxForm::EditShowTranslatedFormExecute(vaq::TObject* Sender) {
  IEditorViewer& viewer = EditorViewer();
  if (Sender) bShowXlatForm = !bShowXlatForm;
  if (bShowXlatForm) {
    previewPending_ = false;
    viewer.ShowForm(CurrentFileName, false, bStayOnTop);
  } else {
    viewer.HideForm(false);
  }
  SetButtonDown("tbShowXlatForm", bShowXlatForm);
  viewer.OnClose = [this](int tag) { ViewerClose(tag); };
  if (bShowXlatForm) {
    if (IVaqFormDesigner* designer = viewer.GetDesigner()) {
      designer->SetNotifier(std::make_shared<TVaqFormDesignerNotifier>());
    }
    viewer.UpdateDesignerOptions();
  }
  StateChanged();
}

void TfrmVaqRuxForm::EditShowOriginalFormUpdate(vaq::TObject*) {
  EditShowOriginalForm->Enabled = true;
}

void TfrmVaqRuxForm::EditRefreshXlatFormUpdate(vaq::TObject*) {
  EditShowTranslatedForm->Update();
  EditRefreshXlatForm->Enabled = EditShowTranslatedForm->Enabled;
}

void TfrmVaqRuxForm::EditRefreshXlatFormExecute(vaq::TObject*) {
  const bool proceed =
      !IsDirty() || vaq::VaqINTOptionProps.GetBool(vaq::kOptRefreshWithoutAsking) ||
      MessageBoxes().MessageDlg(std::string(SSaveBeforeRefresh.Text), vaq::TMsgDlgType::Confirmation,
                                vaq::TMsgDlgButtons::YesNo, vaq::TModalResult::No) == vaq::TModalResult::Yes;
  if (!proceed) return;
  if (IsDirty() && !SaveToFile()) return;
  EditorViewer().DestroyForm(false);
  EditShowTranslatedFormExecute(nullptr);
  // A hidden preview is built again from the saved notes when the window is idle.
  if (!bShowXlatForm) previewPending_ = true;
}

void TfrmVaqRuxForm::EditOnTopModeUpdate(vaq::TObject*) {
  EditOnTopMode->Enabled = VaqGrid.HasRows;
}

void TfrmVaqRuxForm::EditOnTopModeExecute(vaq::TObject*) {
  bStayOnTop = !bStayOnTop;
  SetOnTopModeButtonState(bStayOnTop);
  EditorViewer().UpdateFormStyle(true, bStayOnTop);
  EditorViewer().UpdateFormStyle(false, bStayOnTop);
  StateChanged();
}

void TfrmVaqRuxForm::SetOnTopModeButtonState(bool OnTop) {
  EditOnTopMode->ImageIndex = OnTop ? kImageOnTopOn : kImageOnTopOff;
  EditOnTopMode->Hint = std::string(OnTop ? SDontKeepOnTop.Text : SKeepOnTop.Text);
  SetButtonDown("tbOnTopMode", OnTop);
}

void TfrmVaqRuxForm::ViewerClose(int FormTag) {
  if (FormTag == kOriginalPreviewTag) {
    SetButtonDown("tbShowOrigForm", false);
    bShowOrigForm = false;
  } else {
    SetButtonDown("tbShowXlatForm", false);
    bShowXlatForm = false;
  }
  StateChanged();
}

// ---- The edit menu.

void TfrmVaqRuxForm::VaqGridEditMenuPoping(vaq::TObject*, vaq::TVaqMenuItem& MenuItem) {
  vaq::TVaqMenuItem& popup = *MenuItem.Parent;
  vaq::VaqClearMenuItems(popup, vaq::kGridActionCount);
  for (vaq::TVaqAction* action : GridActions) {
    action->Update();
    vaq::VaqNewMenuItem(
        this, popup, action->Caption, action->ShortCut, false, action->Enabled,
        [action](vaq::TVaqMenuItem&) { action->OnExecute(nullptr); }, vaq::hcVaqActionPopupMenu, "", 0, 1);
  }
  const bool anySelected = VaqGrid.HasSelection();
  for (int c = 1; c < static_cast<int>(VaqGrid.ColDefs.size()); ++c) {
    const vaq::TColDef& def = VaqGrid.ColDefs[static_cast<std::size_t>(c)];
    if (def.Width <= 0 || def.EditMenuKind == 0) continue;
    bool enabled = true;
    if (!anySelected) {
      enabled = VaqGrid.GetShowRow(VaqGrid.Row);
    } else if (ColToEnum(c) == ColStatus) {
      std::set<std::string> values;
      for (const int r : VaqGrid.SelectedRows()) {
        if (!VaqGrid.GetShowRow(r)) continue;
        for (auto& line : StatusLookupValues(VaqGrid, c, r)) values.insert(std::move(line));
        if (values.size() >= 2) break;
      }
      enabled = values.size() >= 2;
    } else if (ColToEnum(c) == ColCurr) {
      enabled = IsSelectionOfOneType(c);
    }
    vaq::VaqNewMenuItem(
        this, MenuItem, def.GetMenuCaption(), 0, false, enabled,
        [this](vaq::TVaqMenuItem& item) { VaqGridEditMenuClick(item); }, vaq::hcVaqActionPopupMenu, "", c, 1);
  }
  vaq::VaqRequestToEnableMenuItem(MenuItem);
}

bool TfrmVaqRuxForm::IsSelectionOfOneType(int Column) const {
  const vaq::TColDef& def = VaqGrid.ColDefs.at(static_cast<std::size_t>(Column));
  if (def.EditMenuKind != 1 || def.EditMenuData.empty()) return true;
  enum class Kind { Numeric, Boolean, Bracketed, Quoted, Other };
  static constexpr std::pair<char, char> kPairs[] = {{'[', ']'}, {'(', ')'}, {'{', '}'}};
  static constexpr std::pair<char, bool> kQuotes[] = {{'\'', false}, {'"', true}};
  const auto trimmed = [](std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
    return text;
  };
  const auto isBool = [&](std::string_view text) {
    const std::string_view t = trimmed(text);
    return vaq::AnsiSameText(t, "True") || vaq::AnsiSameText(t, "False");
  };
  bool first = true;
  Kind kind = Kind::Other;
  int numericType = 0;
  std::pair<char, char> pair{};
  char quote = 0;
  for (const int r : VaqGrid.SelectedRows()) {
    if (VaqGrid.GetMgrIndex(r) < 0) continue;
    const std::string_view text = VaqGrid.Cell(Column, r);
    const int numeric = vaq::values::NumericTypeOf(text);
    if (first) {
      first = false;
      if (numeric != 0) {
        kind = Kind::Numeric;
        numericType = numeric;
      } else if (isBool(text)) {
        kind = Kind::Boolean;
      } else if (const auto it = std::ranges::find_if(kPairs,
                                                      [&](const auto& p) {
                                                        return vaq::values::HasOpenAndCloseChars(
                                                            text, p.first, p.second);
                                                      });
                 it != std::end(kPairs)) {
        kind = Kind::Bracketed;
        pair = *it;
      } else if (const auto q = std::ranges::find_if(
                     kQuotes,
                     [&](const auto& p) { return vaq::values::IsValidString(text, p.first).empty(); });
                 q != std::end(kQuotes)) {
        kind = Kind::Quoted;
        quote = q->first;
      } else {
        kind = Kind::Other;
      }
      continue;
    }
    bool match = false;
    switch (kind) {
      case Kind::Numeric:
        match = numeric == numericType;
        break;
      case Kind::Boolean:
        match = numeric == 0 && isBool(text);
        break;
      case Kind::Bracketed:
        match = numeric == 0 && vaq::values::HasOpenAndCloseChars(text, pair.first, pair.second);
        break;
      case Kind::Quoted:
        match = numeric == 0 && vaq::values::IsValidString(text, quote).empty();
        break;
      case Kind::Other:
        match = numeric == 0 && !vaq::values::IsValidString(text, '\'').empty() &&
                !vaq::values::IsValidString(text, '"').empty();
        break;
    }
    if (!match) return false;
  }
  return true;
}

// ---- The layout designer's path back into the grid.

void TfrmVaqRuxForm::ComponentMoved(const std::string& Name, TPoint Point) {
  if (RefuseDesignerChange()) return;
  ApplyDesignerValues(Name, {{"Top", Point.Y}, {"Left", Point.X}});
}

void TfrmVaqRuxForm::ComponentResized(const std::string& Name, TPoint Point) {
  if (RefuseDesignerChange()) return;
  ApplyDesignerValues(Name, {{"Height", Point.Y}, {"Width", Point.X}});
}

bool TfrmVaqRuxForm::RefuseDesignerChange() {
  if (!ReadOnly) return false;
  StatusMessage = "Not recorded: " + ReadOnlyReason;
  StateChanged();
  return true;
}

void TfrmVaqRuxForm::ComponentSelected(const std::string& Name) {
  const int idColumn = EnumToCol(ColId);
  if (idColumn < 0 || Name.size() < 2) return;
  const std::string_view key = std::string_view(Name).substr(2);
  for (int r = VaqGrid.FixedRows(); r < VaqGrid.RowCount(); ++r) {
    if (VaqGrid.GetMgrIndex(r) < 0) continue;
    const std::string_view id = VaqGrid.Cell(idColumn, r);
    if (id.size() < 2) continue;
    const std::string_view tail = std::string_view(id).substr(2);
    if (!StartsWithNoCase(tail, key) || tail.substr(key.size()).find(':') != std::string_view::npos) continue;
    VaqGrid.SetCurrent(EnumToCol(ColCurr), r);
    StateChanged();
    return;
  }
}

void TfrmVaqRuxForm::ApplyDesignerValues(std::string Name, std::vector<TDesignerValue> Entries) {
  const int idColumn = EnumToCol(ColId);
  const int currColumn = EnumToCol(ColCurr);
  if (idColumn < 0 || currColumn < 0 || Name.size() < 2) return;
  Name += '.';
  const std::string_view key = std::string_view(Name).substr(2);
  for (int r = VaqGrid.FixedRows(); r < VaqGrid.RowCount() && !Entries.empty(); ++r) {
    if (VaqGrid.GetMgrIndex(r) < 0) continue;
    const std::string_view id = VaqGrid.Cell(idColumn, r);
    if (id.size() < 2 || !StartsWithNoCase(std::string_view(id).substr(2), key)) continue;
    const std::string_view path = std::string_view(id).substr(2 + key.size());
    const auto entry = std::ranges::find_if(
        Entries, [&](const TDesignerValue& e) { return vaq::AnsiSameText(e.Name, path); });
    if (entry == Entries.end()) continue;
    const std::string value = std::to_string(entry->Value);
    if (VaqGrid.Cell(currColumn, r) != value) {
      VaqGrid.SetCell(currColumn, r, value);
      if (VaqGrid.Col != currColumn) VaqGrid.Col = currColumn;
      ValidateText(currColumn, r);
      VaqGridCellValueChangedEvent(nullptr, currColumn, r);
      UpdateDirty(r);
    }
    Entries.erase(entry);
  }
  if (!Entries.empty()) AddDesignerRecords(Name, Entries);
}

// The place of a component's new records: the designer may change a control along a property
// its notes lack. A form file leaves out values that equal their default (a control at Top 0 has
// no Top line), and an inherited form mentions only the inherited controls it changes (the OK
// button of a dialog derived from a base dialog has no record at all when its caption is kept).
TfrmVaqRuxForm::TDesignerPlace TfrmVaqRuxForm::FindDesignerPlace(const std::string& Prefix) const {
  TDesignerPlace place;
  if (!Mgr || Prefix.size() < 3) {
    place.Refusal = "no notes are open";
    return place;
  }
  const std::string_view key = std::string_view(Prefix).substr(2);
  // The component's own records (not a child's): the new ones follow the last of them, with its
  // Type (a collection's records name their owner's class).
  std::int32_t lastOrder = -1;
  for (int i = 0; i < Mgr->GetCount(); ++i) {
    const std::string& line = Mgr->GetStrings(i);
    const std::string_view id = vaq::GetValueView(line, KeyId, "");
    if (id.size() < 2 || !StartsWithNoCase(id.substr(2), key)) continue;
    if (id.substr(2 + key.size()).find(':') != std::string_view::npos) continue;  // a child's record
    const std::int32_t order = vaq::StrToInt(vaq::GetValueView(line, KeyOrder, "-1"));
    if (order == OrderNotWritten) continue;
    if (order >= lastOrder) {
      place.After = i;
      lastOrder = order;
      place.IdPrefix = std::string(id.substr(0, 2 + key.size()));
    }
    if (place.Type.empty()) {
      place.Type = std::string(vaq::GetValueView(line, KeyType, ""));
      if (place.Type.starts_with("C:")) place.Type.erase(0, 2);
    }
  }
  if (place.After >= 0 && !place.Type.empty()) {
    place.Order = lastOrder;
    return place;
  }

  // No record of the component: its records go after everything its parent nests, as the update
  // writes a component after its elder siblings; a parent without records gets a header record
  // first. The path's kind letters ("I:" for inherited controls) and the class come from the
  // designer, which built the path from the form as it was read.
  const std::size_t parentEnd = Prefix.rfind('.', Prefix.size() - 2);
  const std::string name = Prefix.substr(parentEnd + 1, Prefix.size() - parentEnd - 2);
  if (parentEnd == std::string::npos) {
    place = {};
    place.Refusal = "the notes hold no record of the form " + name;
    return place;
  }
  IVaqFormDesigner* designer = EditorViewer().GetDesigner();
  const std::string type = designer ? designer->ComponentClass(Prefix.substr(0, Prefix.size() - 1)) : "";
  TDesignerPlace parent = FindDesignerPlace(Prefix.substr(0, parentEnd + 1));
  if (!parent.Refusal.empty()) return parent;
  if (type.empty()) {
    place = {};
    place.Refusal = "the class of " + name + " is not known";
    return place;
  }
  place = parent;
  if (parent.Fresh) {
    // The parent has no record either: it gets a header record where its records would go.
    place.Headers.emplace_back(parent.IdPrefix, parent.Type);
  } else {
    // The end of the parent's records and those of everything it nests.
    const std::string_view parentKey = std::string_view(parent.IdPrefix).substr(2);
    for (int i = 0; i < Mgr->GetCount(); ++i) {
      const std::string& line = Mgr->GetStrings(i);
      const std::string_view id = vaq::GetValueView(line, KeyId, "");
      if (id.size() < 2 || !StartsWithNoCase(id.substr(2), parentKey)) continue;
      const std::int32_t order = vaq::StrToInt(vaq::GetValueView(line, KeyOrder, "-1"));
      if (order != OrderNotWritten && order >= place.Order) {
        place.After = i;
        place.Order = order;
      }
    }
  }
  place.IdPrefix = parent.IdPrefix + Prefix.substr(parentEnd + 1);
  place.Type = type;
  place.Fresh = true;
  return place;
}

std::string TfrmVaqRuxForm::DesignerChangeRefused(const std::string& Name) {
  std::string why = FindDesignerPlace(Name + '.').Refusal;
  if (why.empty()) return why;
  const std::size_t colon = Name.rfind(':');
  why = (colon == std::string::npos ? Name : Name.substr(colon + 1)) + " cannot be moved or sized: " + why;
  StatusMessage = why;
  StateChanged();
  return why;
}

// The records are added as a value edited in the translated form and read back would be: no
// original, the value as the translation, status Translated, the component's Type, in the place
// FindDesignerPlace gives (their Orders follow its; later records move up). A parent without
// records gets its header record ("path." and its Type) before them.
void TfrmVaqRuxForm::AddDesignerRecords(const std::string& Prefix,
                                        const std::vector<TDesignerValue>& Entries) {
  if (!Mgr) return;
  GridToMgr();  // the grid is filled again from the manager below
  const TDesignerPlace place = FindDesignerPlace(Prefix);
  if (!place.Refusal.empty()) {
    // The designer asks first (ChangeRefused), so this is a change made some other way.
    StatusMessage = "The change of " + Prefix.substr(0, Prefix.size() - 1) + " is not kept: " + place.Refusal;
    StateChanged();
    return;
  }

  const auto count = static_cast<std::int32_t>(place.Headers.size() + Entries.size());
  for (int i = 0; i < Mgr->GetCount(); ++i) {
    const std::string& line = Mgr->GetStrings(i);
    const std::int32_t order = vaq::StrToInt(vaq::GetValueView(line, KeyOrder, "-1"));
    if (order > place.Order) Mgr->SetStrings(i, vaq::SetValue(line, KeyOrder, std::to_string(order + count)));
  }
  const vaq::TDateTime now = vaq::VaqNow();
  std::vector<std::string> added;
  std::int32_t order = place.Order;
  for (const auto& [id, type] : place.Headers) {
    vaq::TVaqNotesString record;
    record.Id = id;
    record.Status = StatusTranslated;
    record.Order = ++order;
    record.Type = type;
    record.Localize = false;
    record.Created = record.Modified = now;
    added.push_back(Mgr->NotesStringToString(record, false));
  }
  for (const TDesignerValue& entry : Entries) {
    vaq::TVaqNotesString record;
    record.Id = place.IdPrefix + entry.Name;
    record.Curr = std::to_string(entry.Value);
    record.Status = StatusTranslated;
    record.Order = ++order;
    record.Type = place.Type;
    record.Localize = true;
    record.Created = record.Modified = now;
    added.push_back(Mgr->NotesStringToString(record, false));
  }
  const int first = place.After + 1 + static_cast<int>(place.Headers.size());
  Mgr->Lines.insert(Mgr->Lines.begin() + place.After + 1, added.begin(), added.end());

  // The grid again, on the row of the first added record.
  VaqGrid.BeginUpdate();
  try {
    FillGrid();
    MarkObjectDelimiters();
    VaqGridProcessFilters(nullptr, -1, false);
  } catch (...) {
    VaqGrid.EndUpdate(false);
    throw;
  }
  VaqGrid.EndUpdate(false);
  VaqGrid.ClearRowChanges();
  for (int r = VaqGrid.FixedRows(); r < VaqGrid.RowCount(); ++r) {
    if (VaqGrid.GetMgrIndex(r) != first) continue;
    if (const int curr = EnumToCol(ColCurr); curr >= 0 && VaqGrid.GetShowRow(r)) VaqGrid.SetCurrent(curr, r);
    UpdateDirty(r);
    break;
  }
  UpdateDirty(VaqGrid.Row);
}

void TVaqFormDesignerNotifier::ComponentMoved(const std::string& Name, TPoint Point) {
  if (TfrmVaqRuxForm* window = frmVaqForm()) window->ComponentMoved(Name, Point);
}
void TVaqFormDesignerNotifier::ComponentResized(const std::string& Name, TPoint Point) {
  if (TfrmVaqRuxForm* window = frmVaqForm()) window->ComponentResized(Name, Point);
}
void TVaqFormDesignerNotifier::ComponentSelected(const std::string& Name) {
  if (TfrmVaqRuxForm* window = frmVaqForm()) window->ComponentSelected(Name);
}
std::string TVaqFormDesignerNotifier::ChangeRefused(const std::string& Name) {
  TfrmVaqRuxForm* window = frmVaqForm();
  return window ? window->DesignerChangeRefused(Name) : std::string();
}

// ---- The editor unit.

namespace {

// Between the editor unit's start-up and shut-down.
bool& EditorStarted() {
  static bool started = false;
  return started;
}

}  // namespace

TfrmVaqRuxForm* frmVaqForm() {
  if (!Window() && EditorStarted()) {
    Window() = std::make_unique<TfrmVaqRuxForm>();
    Window()->FormCreate();
  }
  return Window().get();
}

void EditorStartup() {
  bStayOnTop = bShowOrigForm = bShowXlatForm = bShowAllProperties = bFormAsText = false;
  vaq::TRegistry registry;
  if (registry.OpenKey(OptionsKey(), false)) {
    const std::pair<const char*, bool*> options[] = {
        {"StayOnTop", &bStayOnTop},
        {"ShowOrigForm", &bShowOrigForm},
        {"ShowXlatForm", &bShowXlatForm},
        {"ShowAllProperties", &bShowAllProperties},
        {"KeepRUZTimeStamp", &bKeepRuzTimeStamp},
        {"FormAsText", &bFormAsText},
    };
    for (const auto& [name, flag] : options) {
      try {
        if (registry.ValueExists(name)) *flag = registry.ReadBool(name);
      } catch (const vaq::EVaqError&) {
        // A value of another kind leaves the default in force.
      }
    }
  }
  EditorStarted() = true;
}

namespace {

// The window's options are stored at shut-down, but only when the file does not already hold them
// as they are, a missing value standing for its default (off): commands that change nothing leave
// the file alone, so that two of them never race on it, and a command that has no window (an
// update, say) writes no window options at all. A file that cannot be written is reported once, as
// a warning: the command's work is done.
void StoreWindowOptions() {
  const std::pair<const char*, bool> options[] = {
      {"StayOnTop", bStayOnTop}, {"ShowOrigForm", bShowOrigForm}, {"ShowXlatForm", bShowXlatForm}};
  try {
    vaq::TRegistry registry;
    const bool opened = registry.OpenKey(OptionsKey(), false);
    bool same = true;
    for (const auto& [name, value] : options) {
      try {
        same = same && (opened && registry.ValueExists(name) ? registry.ReadBool(name) == value : !value);
      } catch (const vaq::EVaqError&) {
        same = false;  // a value of another kind is replaced
      }
    }
    if (same) return;
    if (!registry.OpenKey(OptionsKey(), true)) return;
    for (const auto& [name, value] : options) registry.WriteBool(name, value);
  } catch (const vaq::EVaqError& error) {
    vaq::ShowWarning(std::string("The editor's options are not stored: ") + error.what());
  }
}

}  // namespace

void EditorShutdown() {
  // The window detaches its handlers from the file type as it goes.
  Window().reset();
  EditorStarted() = false;
  StoreWindowOptions();
}

}  // namespace rux
