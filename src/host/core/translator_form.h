// The core's editor window: the translation grid of one notes file and its generic editing logic,
// free of widgets. A view (a desktop window) shows the grid, its actions and menus, and forwards
// the user's input to the methods here; message boxes and questions go through IVaqMessageBoxes.
//
// A file type derives its window from it and overrides, in slot order: GridToMgr, LoadFile, Save,
// GetCurrID, ValidateText, GetColInfo, LoadFromFile (the base is used), FormatDirective.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/core/object.h"
#include "host/core/registration.h"
#include "host/core/repository.h"
#include "host/core/similarity.h"
#include "host/core/translator_mgr.h"
#include "host/core/types.h"
#include "host/core/vaq_grid.h"

namespace vaq {

// The column ids every file type's table shares for its ten grid columns.
inline constexpr TVaqAllColId kColIndex = 0;
inline constexpr TVaqAllColId kColId = 1;
inline constexpr TVaqAllColId kColOrig = 2;
inline constexpr TVaqAllColId kColStatus = 3;
inline constexpr TVaqAllColId kColCurr = 4;
inline constexpr TVaqAllColId kColCreated = 5;
inline constexpr TVaqAllColId kColModified = 6;
inline constexpr TVaqAllColId kColPrevOrig = 7;
inline constexpr TVaqAllColId kColPrevCurr = 8;
inline constexpr TVaqAllColId kColComment = 9;

// Shortcut codes: a virtual-key code plus modifier bits.
inline constexpr std::uint32_t scShift = 0x2000;
inline constexpr std::uint32_t scCtrl = 0x4000;
inline constexpr std::uint32_t scAlt = 0x8000;
// "Ctrl+F7" for 16502; empty for 0.
std::string ShortCutToText(std::uint32_t ShortCut);

// A keyboard shortcut of an editor action, registered with the core.
struct TVaqShortcut {
  std::string ActionName;
  int KeyEventKind = 0;
  std::uint32_t ShortCut = 0;
};
void RegisterVaqShortcut(const TVaqShortcut& Shortcut);
// The registered shortcuts, in the order of registration.
const std::vector<TVaqShortcut>& RegisteredVaqShortcuts();
void ClearVaqShortcuts();

// An action of the window: what a menu item and a toolbar button show and run.
struct TVaqAction {
  std::string Name;
  std::string Category;
  std::string Caption;
  std::string Hint;
  int ImageIndex = -1;
  std::uint32_t ShortCut = 0;
  bool Enabled = true;
  bool Visible = true;
  // Execute: the sender is null when the window runs the handler itself.
  std::function<void(TObject* Sender)> OnExecute;
  // Update: sets Enabled (and what else the action shows) before it is shown.
  std::function<void(TObject* Sender)> OnUpdate;

  void Update() {
    if (OnUpdate) OnUpdate(nullptr);
  }
};

class TfrmVaqTranslatorForm;
TVaqShortcut MakeVaqShortcutFromAction(const TfrmVaqTranslatorForm& Window, int KeyEventKind,
                                       const TVaqAction& Action);

// A toolbar button; check-style buttons show their down state.
struct TVaqToolButton {
  std::string Name;
  std::string ActionName;  // empty for a separator
  bool CheckStyle = false;
  bool Down = false;
  bool Visible = true;
  int Width = 0;  // separators: the gap in pixels
};

// A menu item of the grid's popup menu, built each time it opens.
struct TVaqMenuItem {
  std::string Caption;
  std::uint32_t ShortCut = 0;
  bool Checked = false;
  bool Enabled = true;
  std::function<void(TVaqMenuItem& Sender)> OnClick;
  int HelpContext = 0;
  std::string Hint;
  int Tag = 0;
  int AutoHotkeys = 0;
  TVaqMenuItem* Parent = nullptr;  // borrowed
  bool Permanent = false;          // kept by VaqClearMenuItems
  std::vector<std::unique_ptr<TVaqMenuItem>> Items;
};
inline constexpr int hcVaqActionPopupMenu = 1100;
// Adds a new item to `Parent` and returns it.
TVaqMenuItem& VaqNewMenuItem(const TObject* Owner, TVaqMenuItem& Parent, const std::string& Caption,
                             std::uint32_t ShortCut, bool Checked, bool Enabled,
                             std::function<void(TVaqMenuItem&)> OnClick, int HelpContext,
                             const std::string& Hint, int Tag, int AutoHotkeys);
// Removes the items the window added to `Menu` when it last opened (all but the permanent ones) and
// the sub-items of its permanent items. `Count` is the number of action items the window adds.
void VaqClearMenuItems(TVaqMenuItem& Menu, int Count);
// Disables a menu item without enabled sub-items.
void VaqRequestToEnableMenuItem(TVaqMenuItem& Item);

// Message boxes and questions of the window. A view shows them; tests answer them. Without one
// installed, errors go to ShowError and every question gets its default answer.
enum class TMsgDlgType { Error, Warning, Information, Confirmation };
enum class TMsgDlgButtons { Ok, YesNo, YesNoCancel };
enum class TModalResult { Ok, Yes, No, Cancel };
class IVaqMessageBoxes {
 public:
  virtual ~IVaqMessageBoxes() = default;
  virtual TModalResult MessageDlg(const std::string& Text, TMsgDlgType Type, TMsgDlgButtons Buttons,
                                  TModalResult Default) = 0;
  // Asks for one line of text; false when the user cancels. `Value` holds the proposal (UTF-8).
  virtual bool InputQuery(const std::string& Caption, const std::string& Prompt, std::string& Value) = 0;
};

// Row filters of the grid.
// WithFindings: the rows the last check of the open file marked. Texts: the rows whose original
// is a string value (what a translator translates), not a number, set or identifier.
enum class TVaqFilter {
  All = 0,
  Untranslated,
  Translated,
  AutoTranslated,
  Changed,
  Unused,
  WithFindings,
  Texts
};
inline constexpr int kFilterCount = 8;
std::string_view FilterName(TVaqFilter Filter);
// The shortcut of a filter's menu item; 0 for none.
std::uint32_t FilterShortCut(TVaqFilter Filter);

// One entry of the window's file list: a form file with the counts of its notes.
struct TVaqFileEntry {
  std::string FileName;
  std::string Folder;  // relative to the list's base folder; empty for the base folder itself
  TFileStats Stats;
  bool HasNotes = false;
  // Why the file did not open in the grid (UTF-8); the list then shows no counts for it, since
  // the grid shows none of its records.
  std::string Problem;
};

// One hit of the search window.
struct TVaqSearchHit {
  std::string FileName;  // the form file
  int Index = -1;        // record index in the notes
  int Row = -1;          // the row number the grid shows for it (counting only the rows it lists)
  TVaqAllColId ColumnId = 0;
  int Position = 0;      // 1-based, in bytes of the text
  std::string Text;      // the text the hit is in, 8-bit text of its column's language
  std::string Id;        // 8-bit text of the source language
  TLCID SourceLcid = 0;  // the languages of the file
  TLCID TargetLcid = 0;
  // The language of Text: the source language's for Ids and original values, else the target's.
  TLCID TextLcid() const;
};
struct TVaqSearchRequest {
  std::string Text;  // UTF-8
  bool CaseSensitive = false;
  bool WholeWord = false;
  bool IgnoreAccelerators = false;
  std::vector<TCheckListEntry> Columns;  // captions of the columns to search; none checked: all
  bool AllFiles = false;                 // the listed files instead of the open one
};

// Creates the file type's manager for a form file (loads its notes).
using TMgrClass = std::function<std::unique_ptr<TVaqTranslatorMgr>(const std::string& FileName)>;

// The six grid actions of the base window, in their order.
enum TVaqGridActionIndex : int {
  gaCopyOriginal = 0,
  gaMarkTranslated,
  gaMarkUntranslated,
  gaRestoreSaved,
  gaFromRepository,
  gaEditComment,
};
inline constexpr int kGridActionCount = 6;
// The base window's actions: the grid actions, then next and previous untranslated row and next and
// previous untranslated text. A file type's own actions follow them.
inline constexpr int kCoreActionCount = kGridActionCount + 4;

class TfrmVaqTranslatorForm : public TObject {
 public:
  TfrmVaqTranslatorForm();
  ~TfrmVaqTranslatorForm() override;
  TfrmVaqTranslatorForm(const TfrmVaqTranslatorForm&) = delete;
  TfrmVaqTranslatorForm& operator=(const TfrmVaqTranslatorForm&) = delete;

  // ---- Slots of the file type.
  virtual void GridToMgr() = 0;
  virtual void LoadFile(const std::string& FileName) = 0;
  virtual void Save() = 0;
  virtual std::string GetCurrID() = 0;
  virtual bool ValidateText(int Column, int Row) = 0;
  virtual TColInfo GetColInfo(TVaqAllColId Id) const = 0;
  // Loads a form's notes into the grid; the window is clean afterwards.
  virtual void LoadFromFile(const std::string& FileName);
  virtual std::string FormatDirective(const std::string& FileName, const TObject* FormInfo) = 0;

  // ---- Lifecycle: FormCreate builds the column definitions (from ColIds and GetColInfo), the
  // actions and the toolbar; FormHide runs when the window is hidden while the program goes on;
  // FormClose when the window closes with the program: what it shows goes, the choices of what to
  // show stay for the next start.
  virtual void FormCreate();
  virtual void FormHide();
  virtual void FormClose();
  void EditFile(const std::string& FileName);
  void ChangeSize();
  // Runs when the window has nothing else to do (a view calls it from its event loop): work put off
  // so that a file shows at once. The base has none.
  virtual void Idle();

  // ---- Read-only files: a notes file the editor cannot write opens for reading only: nothing is
  // written, the grid takes no edit and Save is refused. The file type decides when it loads a
  // file; a view shows ReadOnlyReason (UTF-8) in the status bar.
  bool ReadOnly = false;
  std::string ReadOnlyReason;

  // ---- Dirty tracking and saving.
  bool IsDirty() const { return Dirty; }
  void UpdateDirty(int Row);
  // GridToMgr, Save, clean; refreshes the file list's counts. Errors are shown; false then.
  bool SaveToFile();
  // Before the open file is closed or left: with unsaved changes asks to save them (Yes saves, No
  // drops them, Cancel stays). True when the file may be left.
  bool CanLeaveFile();

  // ---- Columns.
  int EnumToCol(TVaqAllColId Id) const;  // -1 when no grid column shows it
  TVaqAllColId ColToEnum(int Column) const;
  // Resets the grid to its header row; the listed columns' captions go back to the table's.
  void ClearGrid(std::initializer_list<TVaqAllColId> Columns);

  // ---- Editing.
  // The path of one edit by the user: the cell takes `Text`, ValidateText checks it (a refused edit
  // restores the old text and returns false), VaqGridCellValueChangedEvent and UpdateDirty follow.
  bool EditCell(int Column, int Row, const std::string& Text);
  // The text the cell editor starts with, and the cell text of what it gives back (both UTF-8 on
  // the editor's side). A string value is edited as text: 'It'#39's' shows as It's, line breaks as
  // line breaks; the notation is written back. Other values are edited as their notation.
  bool IsTextCell(int Column, int Row) const;
  std::string CellEditText(int Column, int Row) const;
  // Raises EConvertError when the text cannot be written in the column's code page.
  std::string CellTextFromEdit(int Column, int Row, const std::string& Utf8) const;
  // Why the text the editor gives back cannot be stored in the cell (a character the column's code
  // page cannot hold, named); empty when it can. A view asks before it ends an edit, so that the
  // translator gets the typed text back to change instead of losing it.
  std::string StoreProblem(int Column, int Row, const std::string& Utf8) const;
  // The cell as a view shows it, in UTF-8 (values decoded from their language's code page).
  std::string DisplayText(int Column, int Row) const;
  TLCID ColumnLcid(int Column) const;

  // An edited current value: Translated, Modified now.
  virtual bool ProcessStatus(int Row);
  // The check of the current value against the original of `RefColumn`: valid form-text notation
  // of the same kind. A refused value is shown with a message naming the row, column and problem.
  bool ValidateGridEntry(TVaqGrid& Grid, int RefColumn, int Column, int Row, bool CheckKind, bool Flag2,
                         char Quote);
  virtual void VaqGridCellValueChangedEvent(TObject* Sender, int Column, int Row);

  // ---- The six grid actions and row navigation. They act on the selected shown rows, or on the
  // current row when none is selected; on none in a file open read-only.
  std::vector<int> TargetRows() const;
  void CopyOriginal();
  void MarkStatus(std::uint8_t Status);
  void RestoreSaved();
  void TakeFromRepository();
  // Asks for the comment of the target rows; a comment the notes' code page cannot store comes
  // back to the translator as typed, with the characters named, until it can be stored or the
  // translator cancels.
  void EditComment();
  // Moves the current row to the next (previous) shown untranslated row; false when there is none.
  // With TextsOnly, to an untranslated text: numbers, sets and identifiers are skipped.
  bool GotoUntranslated(bool Forward, bool TextsOnly = false);
  // Whether a row's original is a string value.
  bool IsTextRow(int Row) const;

  // ---- The grid's edit menu: the popup menu with its edit item; a view builds widgets from it.
  TVaqMenuItem PopupMenu;
  TVaqMenuItem* EditMenuItem = nullptr;  // borrowed: the first item of PopupMenu
  // Opens the edit menu: fills it through VaqGridEditMenuPoping.
  void PopupEditMenu();
  virtual void VaqGridEditMenuPoping(TObject* Sender, TVaqMenuItem& MenuItem);
  // Status column: the sorted distinct status texts of a row (the choices of the edit menu).
  std::vector<std::string> StatusLookupValues(const TVaqGrid& Grid, int Column, int Row) const;
  int StatusToEnum(std::string_view Text) const;
  // An edit-menu item: asks for a value and applies it to every selected row (or the current one).
  void VaqGridEditMenuClick(TVaqMenuItem& Sender);
  // Applies one value to the rows; each row goes through the edit path. Returns the rows refused.
  int ApplyToRows(int Column, const std::vector<int>& Rows, const std::string& Utf8);

  // ---- Filters.
  // Shows the rows of the filter `Index` (-1: the current filter again). Row numbers follow.
  void VaqGridProcessFilters(TObject* Sender, int Index, bool KeepCurrent);
  TVaqFilter Filter = TVaqFilter::All;
  bool RowPassesFilter(int Row, TVaqFilter Filter) const;
  // The time of the last update as the notes show it: the newest modification that an update
  // leaves its mark on (a new record, a changed original, an unused record, or one time that
  // several records share, as the records of a renamed component do). -1 when there is none.
  // The filter "Changed by the last update" shows the changed originals and the records an update
  // modified at that time without making them (a renamed component's records).
  TDateTime LastUpdateTime() const;

  // ---- Findings of the last check of the open file, per grid row (one finding a line, UTF-8). A
  // view marks these rows; loading a file empties them.
  std::map<int, std::string> RowFindings;
  // The findings of a row; null when the row has none.
  const std::string* RowFinding(int Row) const;
  // Replaces the marks and shows the current filter again (a view repaints).
  void SetRowFindings(std::map<int, std::string> Findings);
  // A message for the status bar (a view shows it once and empties it).
  std::string StatusMessage;

  // ---- Suggestions: stored translations of originals like the current row's, from the repository's
  // similarity lookup, for the translator to pick (a view: Ctrl+1..Ctrl+9). Nothing is taken into
  // the notes without that act.
  struct TSuggestionView {
    int Similarity = 0;                        // percent
    std::string Source;                        // the stored original, UTF-8
    std::vector<TWordDifference> Differences;  // the words of Source; marked where the row's differs
    std::string Translation;                   // UTF-8
    std::string Stored;                        // the stored translation in form-text notation
  };
  static constexpr int kMaxSuggestions = 9;
  // Looks the current row's original up when the row or its original changed since the last
  // lookup (a few milliseconds; a server that is away is not asked again for a while). Rows that
  // are no text have none. A repository that cannot be read gives none, and SuggestionsProblem
  // says why instead of a message box.
  void UpdateSuggestions();
  const std::vector<TSuggestionView>& Suggestions() const { return suggestions_; }
  const std::string& SuggestionsProblem() const { return suggestionsProblem_; }
  // The grid row the suggestions belong to (-1: none looked up).
  int SuggestionsRow() const { return suggestionsRow_; }
  // Copies suggestion `Number` (1-based) into the current row's value through the edit path (the
  // row becomes Translated, as with any edit); false when there is no such suggestion or the row
  // moved since the lookup.
  bool ApplySuggestion(int Number);

  // ---- Counts for the status bar, from the grid.
  struct TCounts {
    int Shown = 0;
    int Records = 0;
    int Translated = 0;
    int Untranslated = 0;
  };
  // Counted once per grid version.
  TCounts Counts() const;

  // ---- The file list and the search window.
  std::vector<TVaqFileEntry> Files;
  std::string FilesBase;
  // Lists the form files (sorted by folder and name), each with its statistics.
  void SetFiles(const std::string& BaseFolder, std::vector<std::string> FileNames);
  void RefreshFileStats(const std::string& FileName);
  std::vector<TVaqSearchHit> Search(const TVaqSearchRequest& Request);
  // Opens the hit's file (asking about unsaved changes first) and makes its cell current.
  bool GotoHit(const TVaqSearchHit& Hit);
  // The grid row of a record; -1 when the grid does not show it.
  int RowOfMgrIndex(int Index) const;

  // ---- File-level services on files: through the file type's DoListEvent, each file confirmed
  // with `Confirm` (null: all). The open file is saved first and reloaded afterwards.
  void RunListEvent(TListEvent Event, const std::vector<std::string>& FileNames, void* Data,
                    TListEventCallback Confirm);

  // Called after anything a view shows changed besides cells (dirty state, current file, buttons).
  std::function<void()> OnStateChanged;
  void StateChanged() {
    if (OnStateChanged) OnStateChanged();
  }

  TVaqAction* FindAction(std::string_view Name);
  TVaqToolButton* FindToolButton(std::string_view Name);

  IVaqMessageBoxes& MessageBoxes() const;
  void SetMessageBoxes(IVaqMessageBoxes* Boxes) { messageBoxes_ = Boxes; }

  std::array<TVaqAllColId, 10> ColIds{};
  std::string RegSubKey;
  std::string FileExts;
  TMgrClass MgrClass;
  std::vector<TVaqShortcut> Shortcuts;
  TVaqFileType* FileType = nullptr;  // borrowed: the core's registry owns it
  std::unique_ptr<TVaqTranslatorMgr> Mgr;
  TFileStats FileStats;
  std::string CurrentFileName;
  TVaqGrid VaqGrid;
  // The window's actions (the six grid actions first, then file and navigation actions, then the
  // file type's own) and its toolbar, in order.
  std::vector<std::unique_ptr<TVaqAction>> Actions;
  std::vector<TVaqToolButton> ToolBar;
  TVaqAction* GridActions[kGridActionCount] = {};
  bool Visible = false;

 protected:
  TVaqAction& AddAction(std::string Name, std::string Caption, std::string Hint, int ImageIndex,
                        std::uint32_t ShortCut, std::function<void(TObject*)> OnExecute);
  bool Dirty = false;

 private:
  // The translations a save wrote, for the repository: the rows changed since the last save whose
  // original is a string and whose status is translated or auto-translated.
  std::vector<TTranslationPair> TranslationsToStore() const;
  void StoreTranslations(const std::vector<TTranslationPair>& Pairs);

  IVaqMessageBoxes* messageBoxes_ = nullptr;  // borrowed
  TDateTime lastUpdate_ = -1.0;  // LastUpdateTime() when the filter Changed was last applied
  std::vector<TSuggestionView> suggestions_;
  std::string suggestionsProblem_;
  int suggestionsRow_ = -1;
  std::string suggestionsFor_;  // the original looked up
  mutable TCounts counts_;
  mutable std::uint64_t countsVersion_ = ~std::uint64_t{0};
};

}  // namespace vaq
