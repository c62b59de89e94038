// The editor window of form notes and the editor unit's start-up and shut-down: the window is made
// on first use and attaches its handlers (load, edit, size, idle) to the form file type that the
// module registered; the editor options are read from the registry store at start-up, and the
// three window options are written back at shut-down only when the store does not hold them as
// they are (a missing value counting as off), so that a command without a window writes none. The
// window maps one notes file onto the core's grid (load, write back, save, validation, object
// delimiters), drives the form preview through EditorViewer() and takes the layout designer's
// moves and resizes back into the grid. It holds no widget: a view shows it.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "designer/designer_intf.h"
#include "editor/notes_grid_source.h"
#include "host/core/translator_form.h"
#include "notes/column_table.h"

namespace rux {

class TRuxMgr;

// The module's strings of the preview actions.
inline constexpr TResString SDontKeepOnTop{65504, "Don't keep forms on top"};
inline constexpr TResString SKeepOnTop{65505, "Keep forms on top"};
inline constexpr TResString SSaveBeforeRefresh{65535,
                                               "Project must be saved before refreshing form. Save changes?"};

// Images of the window's image list that belong to the editor.
inline constexpr int kImageShowOrig = 10;
inline constexpr int kImageShowXlat = 11;
inline constexpr int kImageRefresh = 12;
inline constexpr int kImageOnTopOff = 13;
inline constexpr int kImageOnTopOn = 14;

// Key event kind of the editor's shortcuts.
inline constexpr int kShortcutKeyEventKind = 3;

// The line a cell draws to separate component groups, decided from the grid's delimiters.
enum class TDelimiterLine { None, Top, Bottom };
// Style: DelimiterStyle of the first column; Delimiter/Next/Previous: the object delimiters of the
// row and its neighbours; LastRow: the row is the grid's last one.
TDelimiterLine DelimiterLine(int Style, int Row, int Delimiter, int NextDelimiter, int PreviousDelimiter,
                             bool LastRow);

// One property value the layout designer reports (name and integer).
struct TDesignerValue {
  std::string Name;
  int Value = 0;
};

class TfrmVaqRuxForm : public vaq::TfrmVaqTranslatorForm {
 public:
  TfrmVaqRuxForm();
  ~TfrmVaqRuxForm() override;

  void GridToMgr() override;
  void LoadFile(const std::string& FileName) override;
  void Save() override;
  std::string GetCurrID() override;
  bool ValidateText(int Column, int Row) override;
  vaq::TColInfo GetColInfo(vaq::TVaqAllColId Id) const override;
  std::string FormatDirective(const std::string& FileName, const vaq::TObject* FormInfo) override;
  // Sets the column ids, registry key, extensions and manager class, runs the base's creation,
  // adds the preview actions (or hides them without UseOlk), attaches to the registered form file
  // type (if there is one) and shows the stored preview options on the buttons.
  void FormCreate() override;
  // Hides both previews and switches their options off.
  void FormHide() override;
  // Hides both previews and keeps their options, which shut-down stores: they come back at the next
  // start.
  void FormClose() override;
  void VaqGridCellValueChangedEvent(vaq::TObject* Sender, int Column, int Row) override;
  void VaqGridEditMenuPoping(vaq::TObject* Sender, vaq::TVaqMenuItem& MenuItem) override;
  // Builds the translated preview of the open file in advance when it is not shown yet, so that
  // Ctrl+F8 shows it at once.
  void Idle() override;
  // Whether a preview is still to be built in advance.
  bool PreviewPending() const { return previewPending_; }

  // Grid filling (LoadFile's steps, public for the benchmark and tests).
  void FillGrid();
  void MarkObjectDelimiters();
  bool IsSelectionOfOneType(int Column) const;

  // The preview actions.
  void EditShowOriginalFormExecute(vaq::TObject* Sender);
  void EditShowTranslatedFormExecute(vaq::TObject* Sender);
  void EditRefreshXlatFormExecute(vaq::TObject* Sender);
  void EditOnTopModeExecute(vaq::TObject* Sender);
  void EditShowOriginalFormUpdate(vaq::TObject* Sender);
  void EditRefreshXlatFormUpdate(vaq::TObject* Sender);
  void EditOnTopModeUpdate(vaq::TObject* Sender);
  void SetOnTopModeButtonState(bool OnTop);
  // The viewer's close notification: the tag of the preview that the user closed.
  void ViewerClose(int FormTag);

  // The layout designer's reports (through TVaqFormDesignerNotifier).
  void ComponentMoved(const std::string& Name, TPoint Point);
  void ComponentResized(const std::string& Name, TPoint Point);
  void ComponentSelected(const std::string& Name);
  void ApplyDesignerValues(std::string Name, std::vector<TDesignerValue> Entries);
  // Why the designer's change of the control `Name` could not be kept in the notes (shown in the
  // status bar); empty when it can.
  std::string DesignerChangeRefused(const std::string& Name);

  // The check action: runs the notes checks (accelerators, consistency, untranslated) on the open
  // file as the grid holds it, unsaved edits included, and marks the rows of the findings. Nothing
  // is written, neither to disk nor to the manager. Returns the number of findings.
  int CheckTranslation();
  // The manager's notes lines with the grid's unsaved edits applied; the manager is not changed.
  std::vector<std::string> NotesWithEdits() const;

  // The manager of the open file (null before the first load).
  TRuxMgr* RuxMgr() const;

  vaq::TVaqAction* EditShowOriginalForm = nullptr;
  vaq::TVaqAction* EditShowTranslatedForm = nullptr;
  vaq::TVaqAction* EditRefreshXlatForm = nullptr;
  vaq::TVaqAction* EditOnTopMode = nullptr;
  vaq::TVaqAction* ToolsCheck = nullptr;

 private:
  void SetButtonDown(std::string_view Name, bool Down);
  // In a file open read-only the designer's moves are not recorded; the status bar says so.
  bool RefuseDesignerChange();
  // The notes of the record behind grid row `Row` with the row's changed cells applied.
  std::string RowNotesWithEdits(int Row) const;
  // Where records of the designer's values for the component `Prefix` (its path with the final
  // ".") go: after the manager line `After` (its Order `Order`), with the Id prefix as the notes
  // spell it and the component's Type; `Headers` are header records (Id, Type) of parents that
  // have no record, to come first; `Fresh`: the component has no record yet. `Refusal` says why
  // there is no place (then nothing else is set).
  struct TDesignerPlace {
    int After = -1;
    std::int32_t Order = -1;
    std::string IdPrefix;
    std::string Type;
    std::vector<std::pair<std::string, std::string>> Headers;
    bool Fresh = false;
    std::string Refusal;
  };
  TDesignerPlace FindDesignerPlace(const std::string& Prefix) const;
  // Adds the records of designer values whose property the notes lack (Prefix: the component's
  // path with its final ".").
  void AddDesignerRecords(const std::string& Prefix, const std::vector<TDesignerValue>& Entries);

  TNotesGridSource gridSource_{ColIds};
  bool previewPending_ = false;
};

// The notifier the editor hands the layout designer: forwards to the editor window.
class TVaqFormDesignerNotifier : public IVaqFormDesignerNotifier {
 public:
  void ComponentMoved(const std::string& Name, TPoint Point) override;
  void ComponentResized(const std::string& Name, TPoint Point) override;
  void ComponentSelected(const std::string& Name) override;
  std::string ChangeRefused(const std::string& Name) override;
};

// Editor options (registry values under VaqBaseRegKey + "\RUX").
extern bool bStayOnTop;
extern bool bShowOrigForm;
extern bool bShowXlatForm;
extern bool bShowAllProperties;

// The editor window, made on first use; null before start-up and after shut-down.
TfrmVaqRuxForm* frmVaqForm();

// Reads the editor options; the window is made when it is first asked for.
void EditorStartup();
// Releases the window and stores the window options that changed.
void EditorShutdown();

}  // namespace rux
