// The editor window base: what every file type's window shares.
#include "host/core/translator_form.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>

#include "core/values/code_page_text.h"
#include "core/values/string_notation.h"
#include "core/values/value_check.h"
#include "core/values/value_kinds.h"
#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/locale.h"
#include "host/core/notes_strings.h"
#include "host/core/options.h"
#include "host/core/repository.h"

namespace vaq {
namespace {

std::vector<TVaqShortcut>& Shortcuts() {
  static std::vector<TVaqShortcut> shortcuts;
  return shortcuts;
}

// Errors to ShowError; every question gets its default answer.
class TDefaultMessageBoxes : public IVaqMessageBoxes {
 public:
  TModalResult MessageDlg(const std::string& Text, TMsgDlgType Type, TMsgDlgButtons,
                          TModalResult Default) override {
    if (Type == TMsgDlgType::Error || Type == TMsgDlgType::Warning) {
      ShowError(Text);
    } else if (Type == TMsgDlgType::Information) {
      ShowMessage(Text);
    }
    return Default;
  }
  bool InputQuery(const std::string&, const std::string&, std::string&) override { return false; }
};

std::string KeyName(std::uint32_t key) {
  if (key >= 'A' && key <= 'Z') return std::string(1, static_cast<char>(key));
  if (key >= '0' && key <= '9') return std::string(1, static_cast<char>(key));
  if (key >= 112 && key <= 135) return "F" + std::to_string(key - 111);
  switch (key) {
    case 8:
      return "Backspace";
    case 9:
      return "Tab";
    case 13:
      return "Return";
    case 27:
      return "Esc";
    case 32:
      return "Space";
    case 33:
      return "PgUp";
    case 34:
      return "PgDown";
    case 35:
      return "End";
    case 36:
      return "Home";
    case 37:
      return "Left";
    case 38:
      return "Up";
    case 39:
      return "Right";
    case 40:
      return "Down";
    case 45:
      return "Ins";
    case 46:
      return "Del";
    default:
      return {};
  }
}

}  // namespace

std::string ShortCutToText(std::uint32_t ShortCut) {
  const std::string key = KeyName(ShortCut & 0xFF);
  if (key.empty()) return {};
  std::string text;
  if (ShortCut & scCtrl) text += "Ctrl+";
  if (ShortCut & scAlt) text += "Alt+";
  if (ShortCut & scShift) text += "Shift+";
  return text + key;
}

void RegisterVaqShortcut(const TVaqShortcut& Shortcut) {
  Shortcuts().push_back(Shortcut);
}
const std::vector<TVaqShortcut>& RegisteredVaqShortcuts() {
  return Shortcuts();
}
void ClearVaqShortcuts() {
  Shortcuts().clear();
}

TVaqShortcut MakeVaqShortcutFromAction(const TfrmVaqTranslatorForm&, int KeyEventKind,
                                       const TVaqAction& Action) {
  return TVaqShortcut{Action.Name, KeyEventKind, Action.ShortCut};
}

TVaqMenuItem& VaqNewMenuItem(const TObject*, TVaqMenuItem& Parent, const std::string& Caption,
                             std::uint32_t ShortCut, bool Checked, bool Enabled,
                             std::function<void(TVaqMenuItem&)> OnClick, int HelpContext,
                             const std::string& Hint, int Tag, int AutoHotkeys) {
  auto item = std::make_unique<TVaqMenuItem>();
  item->Caption = Caption;
  item->ShortCut = ShortCut;
  item->Checked = Checked;
  item->Enabled = Enabled;
  item->OnClick = std::move(OnClick);
  item->HelpContext = HelpContext;
  item->Hint = Hint;
  item->Tag = Tag;
  item->AutoHotkeys = AutoHotkeys;
  item->Parent = &Parent;
  Parent.Items.push_back(std::move(item));
  return *Parent.Items.back();
}

void VaqClearMenuItems(TVaqMenuItem& Menu, int) {
  std::erase_if(Menu.Items, [](const auto& item) { return !item->Permanent; });
  for (auto& item : Menu.Items) item->Items.clear();
}

void VaqRequestToEnableMenuItem(TVaqMenuItem& Item) {
  Item.Enabled = std::ranges::any_of(Item.Items, [](const auto& sub) { return sub->Enabled; });
}

std::string_view FilterName(TVaqFilter Filter) {
  switch (Filter) {
    case TVaqFilter::All:
      return "All records";
    case TVaqFilter::Untranslated:
      return "Untranslated";
    case TVaqFilter::Translated:
      return "Translated";
    case TVaqFilter::AutoTranslated:
      return "Auto-translated";
    case TVaqFilter::Changed:
      return "Changed by the last update";
    case TVaqFilter::Unused:
      return "Unused";
    case TVaqFilter::WithFindings:
      return "With findings";
    case TVaqFilter::Texts:
      return "Texts";
  }
  return {};
}

std::uint32_t FilterShortCut(TVaqFilter Filter) {
  switch (Filter) {
    case TVaqFilter::All:
      return scCtrl | scShift | 'A';
    case TVaqFilter::Texts:
      return scCtrl | scShift | 'T';
    default:
      return 0;
  }
}

TfrmVaqTranslatorForm::TfrmVaqTranslatorForm() {
  PopupMenu.Caption = "Grid";
  auto edit = std::make_unique<TVaqMenuItem>();
  edit->Caption = "Set value";
  edit->Permanent = true;
  edit->Parent = &PopupMenu;
  EditMenuItem = edit.get();
  PopupMenu.Items.push_back(std::move(edit));
}
TfrmVaqTranslatorForm::~TfrmVaqTranslatorForm() = default;

IVaqMessageBoxes& TfrmVaqTranslatorForm::MessageBoxes() const {
  static TDefaultMessageBoxes defaults;
  return messageBoxes_ ? *messageBoxes_ : defaults;
}

TVaqAction& TfrmVaqTranslatorForm::AddAction(std::string Name, std::string Caption, std::string Hint,
                                             int ImageIndex, std::uint32_t ShortCut,
                                             std::function<void(TObject*)> OnExecute) {
  auto action = std::make_unique<TVaqAction>();
  action->Name = std::move(Name);
  action->Category = "Edit";
  action->Caption = std::move(Caption);
  action->Hint = std::move(Hint);
  action->ImageIndex = ImageIndex;
  action->ShortCut = ShortCut;
  action->OnExecute = std::move(OnExecute);
  Actions.push_back(std::move(action));
  return *Actions.back();
}

TVaqAction* TfrmVaqTranslatorForm::FindAction(std::string_view Name) {
  for (auto& action : Actions) {
    if (action->Name == Name) return action.get();
  }
  return nullptr;
}

TVaqToolButton* TfrmVaqTranslatorForm::FindToolButton(std::string_view Name) {
  for (auto& button : ToolBar) {
    if (button.Name == Name) return &button;
  }
  return nullptr;
}

void TfrmVaqTranslatorForm::LoadFromFile(const std::string& FileName) {
  CurrentFileName = FileName;
  Dirty = false;
  ReadOnly = false;
  ReadOnlyReason.clear();
  // Suggestions belong to a row of this file and its languages.
  suggestions_.clear();
  suggestionsProblem_.clear();
  suggestionsRow_ = -1;
  suggestionsFor_.clear();
  // The marks belong to the rows of the file that was checked; their filter would hide every row
  // of a file not checked yet.
  RowFindings.clear();
  if (Filter == TVaqFilter::WithFindings) Filter = TVaqFilter::All;
  try {
    LoadFile(FileName);
  } catch (const std::exception& error) {
    // The file did not open: the window shows no file rather than a name without its records, and
    // the file list no counts of records the grid cannot show.
    CurrentFileName.clear();
    ReadOnly = false;
    ReadOnlyReason.clear();
    for (TVaqFileEntry& entry : Files) {
      if (entry.FileName == FileName) entry.Problem = error.what();
    }
    StateChanged();
    throw;
  }
  for (TVaqFileEntry& entry : Files) {
    if (entry.FileName == FileName) entry.Problem.clear();
  }
  StateChanged();
}

void TfrmVaqTranslatorForm::FormCreate() {
  // Column definitions in grid order, from the file type's table.
  VaqGrid.ColDefs.clear();
  for (const TVaqAllColId id : ColIds) {
    TColDef def;
    const TColInfo info = GetColInfo(id);
    def.ColumnId = id;
    def.Key = id == kColIndex ? std::string() : info.Key;
    def.Caption = info.Caption;
    switch (id) {
      case kColIndex:
        def.Width = 44;
        break;
      case kColId:
        def.Width = 260;
        break;
      case kColOrig:
      case kColCurr:
        def.Width = 200;
        break;
      case kColStatus:
        def.Width = 96;
        break;
      case kColComment:
        def.Width = 160;
        break;
      default:
        def.Width = 140;
        break;
    }
    if (id == kColCurr) {
      def.EditMenuKind = 1;
      def.EditMenuData = "'\"";
      def.MenuCaption = "Current value...";
    } else if (id == kColStatus) {
      def.EditMenuKind = 2;
      def.MenuCaption = "Status";
    } else if (id == kColComment) {
      def.EditMenuKind = 1;
      def.MenuCaption = "Comment...";
    }
    VaqGrid.ColDefs.push_back(std::move(def));
  }
  if (!VaqGrid.ColDefs.empty()) {
    const std::int64_t style = VaqINTOptionProps.GetInteger(kOptDelimiterStyle);
    VaqGrid.ColDefs.front().DelimiterStyle = static_cast<std::uint8_t>(std::clamp<std::int64_t>(style, 0, 2));
  }
  VaqGrid.SetColCount(static_cast<int>(VaqGrid.ColDefs.size()));
  ClearGrid({});

  Actions.clear();
  GridActions[gaCopyOriginal] =
      &AddAction("EditCopyOriginal", "Copy original", "Copy the original value to the current value", 0,
                 scCtrl | 'D', [this](TObject*) { CopyOriginal(); });
  GridActions[gaMarkTranslated] = &AddAction("EditMarkTranslated", "Mark translated", "Mark as translated", 1,
                                             scCtrl | 'T', [this](TObject*) { MarkStatus(1); });
  GridActions[gaMarkUntranslated] =
      &AddAction("EditMarkUntranslated", "Mark untranslated", "Mark as untranslated", 2, scCtrl | 'U',
                 [this](TObject*) { MarkStatus(0); });
  GridActions[gaRestoreSaved] = &AddAction("EditRestoreSaved", "Restore saved value",
                                           "Restore the values of the row as they were saved", 3,
                                           scCtrl | 'Z', [this](TObject*) { RestoreSaved(); });
  GridActions[gaFromRepository] = &AddAction("EditFromRepository", "Translation from repository",
                                             "Take the translation from the repository", 4, scCtrl | 'R',
                                             [this](TObject*) { TakeFromRepository(); });
  GridActions[gaEditComment] = &AddAction("EditComment", "Edit comment...", "Edit the comment of the row", 5,
                                          scCtrl | 'M', [this](TObject*) { EditComment(); });
  for (TVaqAction* action : GridActions) {
    action->OnUpdate = [this, action](TObject*) { action->Enabled = VaqGrid.HasRows && !ReadOnly; };
  }
  AddAction("EditNextUntranslated", "Next untranslated", "Go to the next untranslated row", 6, scCtrl | 40,
            [this](TObject*) { GotoUntranslated(true); })
      .OnUpdate = [this](TObject*) { FindAction("EditNextUntranslated")->Enabled = VaqGrid.HasRows; };
  AddAction("EditPrevUntranslated", "Previous untranslated", "Go to the previous untranslated row", 7,
            scCtrl | 38, [this](TObject*) { GotoUntranslated(false); })
      .OnUpdate = [this](TObject*) { FindAction("EditPrevUntranslated")->Enabled = VaqGrid.HasRows; };
  AddAction("EditNextUntranslatedText", "Next untranslated text",
            "Go to the next untranslated text, past numbers, sets and identifiers", 8, scCtrl | scShift | 40,
            [this](TObject*) { GotoUntranslated(true, true); })
      .OnUpdate = [this](TObject*) { FindAction("EditNextUntranslatedText")->Enabled = VaqGrid.HasRows; };
  AddAction("EditPrevUntranslatedText", "Previous untranslated text",
            "Go to the previous untranslated text, past numbers, sets and identifiers", 9,
            scCtrl | scShift | 38, [this](TObject*) { GotoUntranslated(false, true); })
      .OnUpdate = [this](TObject*) { FindAction("EditPrevUntranslatedText")->Enabled = VaqGrid.HasRows; };

  ToolBar.clear();
  for (const auto& action : Actions) ToolBar.push_back({"tb" + action->Name.substr(4), action->Name});
  ToolBar.insert(ToolBar.begin() + kGridActionCount,
                 TVaqToolButton{"ToolButton1", "", false, false, true, 8});
}

void TfrmVaqTranslatorForm::FormHide() {
  Visible = false;
}

void TfrmVaqTranslatorForm::FormClose() {
  Visible = false;
}

void TfrmVaqTranslatorForm::EditFile(const std::string& FileName) {
  if (FileName != CurrentFileName && !CanLeaveFile()) return;
  LoadFromFile(FileName);
}

void TfrmVaqTranslatorForm::ChangeSize() {}
void TfrmVaqTranslatorForm::Idle() {}

void TfrmVaqTranslatorForm::UpdateDirty(int) {
  if (Dirty || ReadOnly) return;
  Dirty = true;
  StateChanged();
}

bool TfrmVaqTranslatorForm::SaveToFile() {
  if (!Mgr) return true;
  if (ReadOnly) {
    MessageBoxes().MessageDlg(CurrentFileName + " is open read-only: " + ReadOnlyReason, TMsgDlgType::Error,
                              TMsgDlgButtons::Ok, TModalResult::Ok);
    return false;
  }
  const std::vector<TTranslationPair> translations = TranslationsToStore();
  try {
    GridToMgr();
    Save();
  } catch (const std::exception& error) {
    MessageBoxes().MessageDlg(CurrentFileName + ": " + error.what(), TMsgDlgType::Error, TMsgDlgButtons::Ok,
                              TModalResult::Ok);
    return false;
  }
  Dirty = false;
  StoreTranslations(translations);
  RefreshFileStats(CurrentFileName);
  StateChanged();
  return true;
}

bool TfrmVaqTranslatorForm::CanLeaveFile() {
  if (!Dirty) return true;
  const std::string name = std::filesystem::path(CurrentFileName).filename().string();
  switch (MessageBoxes().MessageDlg("Save changes to " + name + "?", TMsgDlgType::Confirmation,
                                    TMsgDlgButtons::YesNoCancel, TModalResult::Cancel)) {
    case TModalResult::Yes:
      return SaveToFile();
    case TModalResult::No:
      Dirty = false;
      StateChanged();
      return true;
    default:
      return false;
  }
}

int TfrmVaqTranslatorForm::EnumToCol(TVaqAllColId Id) const {
  for (std::size_t c = 0; c < ColIds.size(); ++c) {
    if (ColIds[c] == Id) return static_cast<int>(c);
  }
  return -1;
}

TVaqAllColId TfrmVaqTranslatorForm::ColToEnum(int Column) const {
  if (Column < 0 || Column >= static_cast<int>(ColIds.size())) return kColIndex;
  return ColIds[static_cast<std::size_t>(Column)];
}

void TfrmVaqTranslatorForm::ClearGrid(std::initializer_list<TVaqAllColId> Columns) {
  VaqGrid.BeginUpdate();
  for (const TVaqAllColId id : Columns) {
    const int c = EnumToCol(id);
    if (c >= 0 && c < static_cast<int>(VaqGrid.ColDefs.size()))
      VaqGrid.ColDefs[c].Caption = GetColInfo(id).Caption;
  }
  VaqGrid.ClearSelection();
  VaqGrid.SetRowCount(0);
  VaqGrid.SetRowCount(2);
  VaqGrid.SetFixedRows(1);
  VaqGrid.AddRowDef(-1, 0, 0, 0);
  VaqGrid.AddRowDef(-1, 1, 0, 1);
  VaqGrid.HasRows = false;
  VaqGrid.SetCurrent(1, 1);
  VaqGrid.RebuildShownRows();
  VaqGrid.EndUpdate();
}

TLCID TfrmVaqTranslatorForm::ColumnLcid(int Column) const {
  switch (ColToEnum(Column)) {
    case kColOrig:
    case kColPrevOrig:
    case kColId:
      return VaqGrid.OrigLCID;
    default:
      return VaqGrid.XlatLCID;
  }
}

std::string TfrmVaqTranslatorForm::DisplayText(int Column, int Row) const {
  if (ColToEnum(Column) == kColIndex && Row >= VaqGrid.FixedRows()) {
    const int number = VaqGrid.DisplayNumber(Row);
    return number > 0 ? std::to_string(number) : std::string();
  }
  return values::DecodeTextUtf8(VaqGrid.Cell(Column, Row), ColumnLcid(Column));
}

bool TfrmVaqTranslatorForm::IsTextCell(int Column, int Row) const {
  const TVaqAllColId id = ColToEnum(Column);
  if (id != kColCurr) return false;
  const int orig = EnumToCol(kColOrig);
  const std::string_view reference = orig >= 0 ? VaqGrid.Cell(orig, Row) : VaqGrid.Cell(Column, Row);
  return values::ClassifyValue(reference, VaqGrid.OrigLCID) == values::TValueKind::String;
}

std::string TfrmVaqTranslatorForm::CellEditText(int Column, int Row) const {
  if (IsTextCell(Column, Row)) {
    if (std::optional<std::string> text =
            values::DecodeStringUtf8(VaqGrid.Cell(Column, Row), ColumnLcid(Column)))
      return *std::move(text);
  }
  return values::DecodeTextUtf8(VaqGrid.Cell(Column, Row), ColumnLcid(Column));
}

std::string TfrmVaqTranslatorForm::CellTextFromEdit(int Column, int Row, const std::string& Utf8) const {
  if (IsTextCell(Column, Row)) return values::EncodeStringUtf8(Utf8, ColumnLcid(Column));
  return values::EncodeTextUtf8(Utf8, ColumnLcid(Column));
}

std::string TfrmVaqTranslatorForm::StoreProblem(int Column, int Row, const std::string& Utf8) const {
  if (ColToEnum(Column) == kColStatus) return {};
  try {
    (void)CellTextFromEdit(Column, Row, Utf8);
  } catch (const EConvertError& error) {
    return error.what();
  }
  return {};
}

bool TfrmVaqTranslatorForm::EditCell(int Column, int Row, const std::string& Text) {
  if (ReadOnly) return false;
  if (Row < VaqGrid.FixedRows() || Row >= VaqGrid.RowCount() || VaqGrid.GetMgrIndex(Row) < 0) return false;
  std::string old(VaqGrid.Cell(Column, Row));
  if (old == Text) return true;
  VaqGrid.SetCell(Column, Row, Text);
  if (!ValidateText(Column, Row)) {
    VaqGrid.SetCell(Column, Row, std::move(old));
    return false;
  }
  VaqGridCellValueChangedEvent(this, Column, Row);
  UpdateDirty(Row);
  return true;
}

bool TfrmVaqTranslatorForm::ProcessStatus(int Row) {
  const int status = EnumToCol(kColStatus);
  const int modified = EnumToCol(kColModified);
  if (status >= 0) VaqGrid.SetCell(status, Row, std::string(XStatusString[1]));
  if (modified >= 0) VaqGrid.SetCell(modified, Row, VaqDateTimeToStr(VaqNow()));
  return true;
}

bool TfrmVaqTranslatorForm::ValidateGridEntry(TVaqGrid& Grid, int RefColumn, int Column, int Row, bool, bool,
                                              char) {
  const std::string message = values::VerdictMessage(values::CheckValueAgainstOriginal(
      Grid.Cell(RefColumn, Row), Grid.Cell(Column, Row), ColumnLcid(Column)));
  if (message.empty()) return true;
  const int number = Grid.DisplayNumber(Row);
  const std::string& caption =
      Column < static_cast<int>(Grid.ColDefs.size()) ? Grid.ColDefs[Column].Caption : "";
  MessageBoxes().MessageDlg("Row " + std::to_string(number > 0 ? number : Row) + ", " + caption + ": " +
                                message + "\nThe cell keeps its value.",
                            TMsgDlgType::Error, TMsgDlgButtons::Ok, TModalResult::Ok);
  return false;
}

void TfrmVaqTranslatorForm::VaqGridCellValueChangedEvent(TObject*, int, int) {}

std::vector<int> TfrmVaqTranslatorForm::TargetRows() const {
  std::vector<int> rows;
  if (ReadOnly) return rows;  // a file open for reading takes no edit
  for (const int r : VaqGrid.SelectedRows()) {
    if (VaqGrid.GetShowRow(r) && VaqGrid.GetMgrIndex(r) >= 0) rows.push_back(r);
  }
  if (rows.empty() && VaqGrid.GetShowRow(VaqGrid.Row) && VaqGrid.GetMgrIndex(VaqGrid.Row) >= 0) {
    rows.push_back(VaqGrid.Row);
  }
  return rows;
}

void TfrmVaqTranslatorForm::CopyOriginal() {
  const int orig = EnumToCol(kColOrig);
  const int curr = EnumToCol(kColCurr);
  if (orig < 0 || curr < 0) return;
  for (const int r : TargetRows()) EditCell(curr, r, std::string(VaqGrid.Cell(orig, r)));
}

void TfrmVaqTranslatorForm::MarkStatus(std::uint8_t Status) {
  const int status = EnumToCol(kColStatus);
  const int modified = EnumToCol(kColModified);
  if (status < 0) return;
  for (const int r : TargetRows()) {
    if (VaqGrid.Cell(status, r) == XStatusString[Status]) continue;
    VaqGrid.SetCell(status, r, std::string(XStatusString[Status]));
    if (modified >= 0) VaqGrid.SetCell(modified, r, VaqDateTimeToStr(VaqNow()));
    UpdateDirty(r);
  }
}

void TfrmVaqTranslatorForm::RestoreSaved() {
  if (!Mgr) return;
  for (const int r : TargetRows()) {
    const int index = VaqGrid.GetMgrIndex(r);
    if (index < 0 || index >= Mgr->GetCount()) continue;
    const std::string& notes = Mgr->GetStrings(index);
    const TVaqNotesString record = Mgr->StringToNotesString(notes, Mgr->FileName);
    const std::pair<TVaqAllColId, std::string> cells[] = {
        {kColCurr, record.Curr},
        {kColStatus, std::string(XStatusString[std::min<std::size_t>(record.Status, 3)])},
        {kColModified, VaqDateTimeToStr(record.Modified)},
        {kColComment, record.Comment},
    };
    bool changed = false;
    for (const auto& [id, text] : cells) {
      const int c = EnumToCol(id);
      if (c < 0 || VaqGrid.Cell(c, r) == text) continue;
      VaqGrid.SetCell(c, r, text);
      changed = true;
      if (id == kColCurr) VaqGridCellValueChangedEvent(this, c, r);
    }
    if (changed) UpdateDirty(r);
  }
}

void TfrmVaqTranslatorForm::TakeFromRepository() {
  const int orig = EnumToCol(kColOrig);
  const int curr = EnumToCol(kColCurr);
  const int status = EnumToCol(kColStatus);
  if (orig < 0 || curr < 0) return;
  int missing = 0;
  for (const int r : TargetRows()) {
    std::string text(VaqGrid.Cell(orig, r));
    try {
      if (!GetTranslation(VaqGrid.OrigLCID, VaqGrid.XlatLCID, text)) {
        ++missing;
        continue;
      }
    } catch (const EVaqError& error) {
      MessageBoxes().MessageDlg(error.what(), TMsgDlgType::Error, TMsgDlgButtons::Ok, TModalResult::Ok);
      return;
    }
    if (EditCell(curr, r, text) && status >= 0) VaqGrid.SetCell(status, r, std::string(XStatusString[2]));
  }
  if (missing > 0) {
    MessageBoxes().MessageDlg(std::to_string(missing) + (missing == 1 ? " value has" : " values have") +
                                  " no translation in the repository.",
                              TMsgDlgType::Information, TMsgDlgButtons::Ok, TModalResult::Ok);
  }
}

void TfrmVaqTranslatorForm::EditComment() {
  const int comment = EnumToCol(kColComment);
  const std::vector<int> rows = TargetRows();
  if (comment < 0 || rows.empty()) return;
  std::string text = CellEditText(comment, rows.front());
  std::string prompt = "Comment of the selected rows:";
  // A comment the notes cannot store comes back to the translator as typed, with what to change.
  for (;;) {
    if (!MessageBoxes().InputQuery("Comment", prompt, text)) return;
    const TLCID lcid = ColumnLcid(comment);
    const std::vector<char32_t> unheld = values::UnheldCharacters(Utf8ToUtf16(text), lcid);
    if (unheld.empty()) break;
    std::string names;
    for (const char32_t c : unheld) names += (names.empty() ? "" : ", ") + values::CharacterName(c);
    prompt = "Comment of the selected rows:\n\nThe notes of " + LCIDToLangName(lcid) + " (code page " +
             std::to_string(LCIDToCodePage(lcid)) + ") cannot store " + names +
             ". Change the comment, or cancel to keep the one the rows have.";
  }
  ApplyToRows(comment, rows, text);
}

bool TfrmVaqTranslatorForm::IsTextRow(int Row) const {
  const int orig = EnumToCol(kColOrig);
  return orig >= 0 && VaqGrid.GetMgrIndex(Row) >= 0 &&
         values::ClassifyValue(VaqGrid.Cell(orig, Row), VaqGrid.OrigLCID) == values::TValueKind::String;
}

bool TfrmVaqTranslatorForm::GotoUntranslated(bool Forward, bool TextsOnly) {
  const int status = EnumToCol(kColStatus);
  if (status < 0 || !VaqGrid.HasRows) return false;
  const auto wanted = [&](int row) {
    return VaqGrid.GetMgrIndex(row) >= 0 && StrToStatusOrd(VaqGrid.Cell(status, row)) == 0 &&
           (!TextsOnly || IsTextRow(row));
  };
  const auto& shown = VaqGrid.ShownRows();
  auto it = std::lower_bound(shown.begin(), shown.end(), VaqGrid.Row);
  std::optional<int> found;
  if (Forward) {
    if (it != shown.end() && *it == VaqGrid.Row) ++it;
    const auto hit = std::find_if(it, shown.end(), wanted);
    if (hit != shown.end()) found = *hit;
  } else {
    const auto hit = std::find_if(std::make_reverse_iterator(it), shown.rend(), wanted);
    if (hit != shown.rend()) found = *hit;
  }
  if (!found) return false;
  VaqGrid.SetCurrent(EnumToCol(kColCurr), *found);
  StateChanged();
  return true;
}

void TfrmVaqTranslatorForm::PopupEditMenu() {
  VaqGridEditMenuPoping(this, *EditMenuItem);
}

void TfrmVaqTranslatorForm::VaqGridEditMenuPoping(TObject*, TVaqMenuItem& MenuItem) {
  VaqClearMenuItems(*MenuItem.Parent, kGridActionCount);
  for (int c = 1; c < static_cast<int>(VaqGrid.ColDefs.size()); ++c) {
    const TColDef& def = VaqGrid.ColDefs[c];
    if (def.Width <= 0 || def.EditMenuKind == 0) continue;
    VaqNewMenuItem(
        this, MenuItem, def.GetMenuCaption(), 0, false, VaqGrid.GetShowRow(VaqGrid.Row),
        [this](TVaqMenuItem& item) { VaqGridEditMenuClick(item); }, hcVaqActionPopupMenu, "", c, 1);
  }
  VaqRequestToEnableMenuItem(MenuItem);
}

std::vector<std::string> TfrmVaqTranslatorForm::StatusLookupValues(const TVaqGrid& Grid, int Column,
                                                                   int Row) const {
  return {std::string(Grid.Cell(Column, Row))};
}

int TfrmVaqTranslatorForm::StatusToEnum(std::string_view Text) const {
  return StrToStatusOrd(Text);
}

void TfrmVaqTranslatorForm::VaqGridEditMenuClick(TVaqMenuItem& Sender) {
  const int column = Sender.Tag;
  const std::vector<int> rows = TargetRows();
  if (rows.empty()) return;
  std::string text;
  if (ColToEnum(column) == kColStatus) {
    // The status item's sub-items carry the status as their caption.
    text = Sender.Caption;
  } else {
    text = CellEditText(column, rows.front());
    const std::string question =
        "Value for " + std::to_string(rows.size()) + (rows.size() == 1 ? " row:" : " rows:");
    std::string prompt = question;
    // A value the notes cannot store comes back as typed, with what to change.
    for (;;) {
      if (!MessageBoxes().InputQuery(VaqGrid.ColDefs[column].Caption, prompt, text)) return;
      std::string problem;
      for (const int r : rows) {
        if (problem = StoreProblem(column, r, text); !problem.empty()) break;
      }
      if (problem.empty()) break;
      prompt = question + "\n\n" + problem + " Change the value, or cancel to keep the rows as they are.";
    }
  }
  ApplyToRows(column, rows, text);
}

int TfrmVaqTranslatorForm::ApplyToRows(int Column, const std::vector<int>& Rows, const std::string& Utf8) {
  if (ReadOnly) return static_cast<int>(Rows.size());
  int refused = 0;
  VaqGrid.BeginUpdate();
  try {
    for (const int r : Rows) {
      std::string cell;
      try {
        cell = ColToEnum(Column) == kColStatus ? Utf8 : CellTextFromEdit(Column, r, Utf8);
      } catch (const EConvertError& error) {
        MessageBoxes().MessageDlg(error.what(), TMsgDlgType::Error, TMsgDlgButtons::Ok, TModalResult::Ok);
        ++refused;
        break;
      }
      if (ColToEnum(Column) == kColStatus) {
        if (VaqGrid.Cell(Column, r) != cell) {
          VaqGrid.SetCell(Column, r, cell);
          const int modified = EnumToCol(kColModified);
          if (modified >= 0) VaqGrid.SetCell(modified, r, VaqDateTimeToStr(VaqNow()));
          UpdateDirty(r);
        }
      } else if (!EditCell(Column, r, cell)) {
        ++refused;
        break;  // one message is enough: the same value is refused for rows of the same kind
      }
    }
  } catch (...) {
    VaqGrid.EndUpdate();
    throw;
  }
  VaqGrid.EndUpdate();
  return refused;
}

const std::string* TfrmVaqTranslatorForm::RowFinding(int Row) const {
  const auto it = RowFindings.find(Row);
  return it != RowFindings.end() ? &it->second : nullptr;
}

void TfrmVaqTranslatorForm::SetRowFindings(std::map<int, std::string> Findings) {
  RowFindings = std::move(Findings);
  VaqGridProcessFilters(nullptr, -1, true);
}

bool TfrmVaqTranslatorForm::RowPassesFilter(int Row, TVaqFilter Which) const {
  if (Which == TVaqFilter::All) return true;
  if (Which == TVaqFilter::WithFindings) return RowFindings.contains(Row);
  const int status = EnumToCol(kColStatus);
  const int prevOrig = EnumToCol(kColPrevOrig);
  const int ord = status >= 0 ? StrToStatusOrd(VaqGrid.Cell(status, Row)) : -1;
  switch (Which) {
    case TVaqFilter::Untranslated:
      return ord == 0;
    case TVaqFilter::Translated:
      return ord == 1;
    case TVaqFilter::AutoTranslated:
      return ord == 2;
    case TVaqFilter::Unused:
      return ord == 3;
    case TVaqFilter::Changed: {
      if (prevOrig >= 0 && !VaqGrid.Cell(prevOrig, Row).empty()) return true;
      const int index = VaqGrid.GetMgrIndex(Row);
      if (lastUpdate_ < 0.0 || !Mgr || index < 0 || index >= Mgr->GetCount()) return false;
      const TVaqNotesString record = Mgr->StringToNotesString(Mgr->GetStrings(index), Mgr->FileName);
      return record.Modified == lastUpdate_ && record.Created != record.Modified;
    }
    case TVaqFilter::Texts:
      return IsTextRow(Row);
    default:
      return true;
  }
}

TDateTime TfrmVaqTranslatorForm::LastUpdateTime() const {
  if (!Mgr) return -1.0;
  TDateTime last = -1.0;
  std::map<TDateTime, int> shared;  // modification times with the number of records that have them
  for (int i = 0; i < Mgr->GetCount(); ++i) {
    const std::string& line = Mgr->GetStrings(i);
    if (!line.starts_with("/* ")) continue;
    const TVaqNotesString record = Mgr->StringToNotesString(line, Mgr->FileName);
    const bool marked = record.Created == record.Modified || !record.PrevOrig.empty() || record.Status == 3;
    if (marked || ++shared[record.Modified] > 1) last = std::max(last, record.Modified);
  }
  return last;
}

void TfrmVaqTranslatorForm::VaqGridProcessFilters(TObject*, int Index, bool KeepCurrent) {
  if (Index >= 0 && Index < kFilterCount) Filter = static_cast<TVaqFilter>(Index);
  if (Filter == TVaqFilter::Changed) lastUpdate_ = LastUpdateTime();
  const int current = VaqGrid.Row;
  VaqGrid.BeginUpdate();
  for (int r = VaqGrid.FixedRows(); r < VaqGrid.RowCount(); ++r) {
    VaqGrid.SetRowShown(r, VaqGrid.GetMgrIndex(r) < 0 || RowPassesFilter(r, Filter));
  }
  VaqGrid.RebuildShownRows();
  const auto& shown = VaqGrid.ShownRows();
  if (!(KeepCurrent && VaqGrid.GetShowRow(current))) {
    const auto it = std::lower_bound(shown.begin(), shown.end(), current);
    VaqGrid.Row = it != shown.end() ? *it : (shown.empty() ? VaqGrid.FixedRows() : shown.back());
  }
  VaqGrid.EndUpdate();
  StateChanged();
}

TfrmVaqTranslatorForm::TCounts TfrmVaqTranslatorForm::Counts() const {
  if (countsVersion_ == VaqGrid.Version()) return counts_;
  countsVersion_ = VaqGrid.Version();
  TCounts& counts = counts_;
  counts = TCounts{};
  const int status = EnumToCol(kColStatus);
  counts.Shown = VaqGrid.HasRows ? static_cast<int>(VaqGrid.ShownRows().size()) : 0;
  if (!VaqGrid.HasRows || status < 0) return counts;
  for (int r = VaqGrid.FixedRows(); r < VaqGrid.RowCount(); ++r) {
    if (VaqGrid.GetMgrIndex(r) < 0) continue;
    ++counts.Records;
    const int ord = StrToStatusOrd(VaqGrid.Cell(status, r));
    if (ord == 1 || ord == 2) ++counts.Translated;
    if (ord == 0) ++counts.Untranslated;
  }
  return counts;
}

void TfrmVaqTranslatorForm::SetFiles(const std::string& BaseFolder, std::vector<std::string> FileNames) {
  namespace fs = std::filesystem;
  FilesBase = BaseFolder;
  Files.clear();
  for (auto& name : FileNames) {
    TVaqFileEntry entry;
    entry.FileName = std::move(name);
    std::error_code ec;
    const fs::path parent = fs::path(entry.FileName).parent_path();
    if (!BaseFolder.empty()) {
      const fs::path relative = fs::relative(parent, BaseFolder, ec);
      entry.Folder = ec || relative == "." ? std::string() : relative.generic_string();
    } else {
      entry.Folder = parent.generic_string();
    }
    Files.push_back(std::move(entry));
  }
  std::ranges::sort(Files, [](const TVaqFileEntry& a, const TVaqFileEntry& b) {
    return std::tie(a.Folder, a.FileName) < std::tie(b.Folder, b.FileName);
  });
  for (auto& entry : Files) RefreshFileStats(entry.FileName);
}

void TfrmVaqTranslatorForm::RefreshFileStats(const std::string& FileName) {
  for (auto& entry : Files) {
    if (entry.FileName != FileName) continue;
    entry.Stats = TFileStats{};
    try {
      if (FileType && FileType->GetStats) FileType->GetStats(FileName, false, entry.Stats);
    } catch (const EVaqError&) {
      // A damaged header shows no counts; opening the file names the problem.
    }
    entry.HasNotes = entry.Stats.NoteDate >= 0.0 || entry.Stats.Translated + entry.Stats.Untranslated > 0;
  }
}

int TfrmVaqTranslatorForm::RowOfMgrIndex(int Index) const {
  for (int r = VaqGrid.FixedRows(); r < VaqGrid.RowCount(); ++r) {
    if (VaqGrid.GetMgrIndex(r) == Index) return r;
  }
  return -1;
}

TLCID TVaqSearchHit::TextLcid() const {
  switch (ColumnId) {
    case kColId:
    case kColOrig:
    case kColPrevOrig:
      return SourceLcid;
    default:
      return TargetLcid;
  }
}

std::vector<TVaqSearchHit> TfrmVaqTranslatorForm::Search(const TVaqSearchRequest& Request) {
  std::vector<TVaqSearchHit> hits;
  if (!FileType || !FileType->SearchFile || Request.Text.empty()) return hits;
  // The open file is searched with its edits.
  if (Dirty && Mgr) GridToMgr();
  std::vector<std::string> files;
  if (Request.AllFiles) {
    for (const auto& entry : Files) files.push_back(entry.FileName);
  } else if (!CurrentFileName.empty()) {
    files.push_back(CurrentFileName);
  }
  for (const auto& file : files) {
    TSearchInfo info;
    info.FileName = file;
    info.Columns = Request.Columns;
    try {
      FileType->SearchFile(
          info, Request.Text, Request.CaseSensitive, Request.WholeWord, Request.IgnoreAccelerators,
          [&](TVaqTranslatorMgr& Sender, const std::string&, const std::string& Text, const std::string&,
              int Column, int Index, int Row, int Position, TLCID Source, TLCID Target, bool& Continue) {
            TVaqSearchHit hit;
            hit.FileName = file;
            hit.Index = Index;
            hit.Row = Row;
            hit.ColumnId = static_cast<TVaqAllColId>(Column);
            hit.Position = Position;
            hit.Text = Text;
            hit.SourceLcid = Source;
            hit.TargetLcid = Target;
            if (Index >= 0 && Index < Sender.GetCount()) {
              hit.Id = GetValue(Sender.GetStrings(Index), "ID:");
            }
            hits.push_back(std::move(hit));
            Continue = hits.size() < 100000;
          });
    } catch (const EVaqError& error) {
      MessageBoxes().MessageDlg(file + ": " + error.what(), TMsgDlgType::Error, TMsgDlgButtons::Ok,
                                TModalResult::Ok);
    }
  }
  // The open file's hits are numbered as its grid numbers them now: a row the filter hides by
  // the number it gets when GotoHit shows every row again.
  for (TVaqSearchHit& hit : hits) {
    if (hit.FileName != CurrentFileName) continue;
    const int row = RowOfMgrIndex(hit.Index);
    if (row < 0) continue;
    hit.Row = VaqGrid.GetShowRow(row) ? VaqGrid.DisplayNumber(row) : row - VaqGrid.FixedRows() + 1;
  }
  return hits;
}

bool TfrmVaqTranslatorForm::GotoHit(const TVaqSearchHit& Hit) {
  if (Hit.FileName != CurrentFileName) {
    if (!CanLeaveFile()) return false;
    try {
      LoadFromFile(Hit.FileName);
    } catch (const EVaqError& error) {
      MessageBoxes().MessageDlg(error.what(), TMsgDlgType::Error, TMsgDlgButtons::Ok, TModalResult::Ok);
      return false;
    }
  }
  const int row = RowOfMgrIndex(Hit.Index);
  if (row < 0) return false;
  if (!VaqGrid.GetShowRow(row)) VaqGridProcessFilters(nullptr, static_cast<int>(TVaqFilter::All), true);
  const int column = EnumToCol(Hit.ColumnId);
  VaqGrid.SetCurrent(column >= 0 ? column : EnumToCol(kColCurr), row);
  StateChanged();
  return true;
}

void TfrmVaqTranslatorForm::RunListEvent(TListEvent Event, const std::vector<std::string>& FileNames,
                                         void* Data, TListEventCallback Confirm) {
  if (!FileType || !FileType->DoListEvent || FileNames.empty()) return;
  const bool touchesOpen = std::ranges::find(FileNames, CurrentFileName) != FileNames.end();
  if (touchesOpen && Dirty && !SaveToFile()) return;
  try {
    FileType->DoListEvent(Event, FileNames, Data, std::move(Confirm));
  } catch (const EVaqError& error) {
    MessageBoxes().MessageDlg(error.what(), TMsgDlgType::Error, TMsgDlgButtons::Ok, TModalResult::Ok);
  }
  for (const auto& file : FileNames) RefreshFileStats(file);
  if (touchesOpen && Event != TListEvent::Dictionary) LoadFromFile(CurrentFileName);
  StateChanged();
}

}  // namespace vaq
