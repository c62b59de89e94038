// The translation grid's model: the cells of one notes file as the editor window shows them, free of
// any widget. Row 0 is the fixed header row; every other row shows one record of the manager and is
// linked to it by a row definition. A view reads the cells lazily through this model and repaints
// when it reports a change.
//
// The grid keeps no copy of the records: a cell nobody set is read from the grid's source (the
// loaded notes) when it is asked for, so that a file of any size costs the grid a few bytes a row.
// Only the cells set since (edits) are stored, until the source takes them (ReleaseCells).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/core/types.h"

namespace vaq {

// What the window knows of one grid column.
struct TColDef {
  std::string Key;                  // the notes key of the column ("ID:", "\x04Orig:"); empty: not stored
  TVaqAllColId ColumnId = 0;        // the column id of the file type's column table
  std::uint8_t EditMenuKind = 0;    // 0: not offered in the edit menu; 1: a value; 2: a choice
  std::string EditMenuData;         // for kind 1: the quote characters of string values
  std::uint8_t DelimiterStyle = 0;  // read from the first column only: 0 none, 1 line above, 2 below
  int Width = 100;                  // in pixels; 0 hides the column
  std::string Caption;
  std::string MenuCaption;  // edit-menu caption; the caption when empty

  void SetCaption(std::string Text) { Caption = std::move(Text); }
  const std::string& GetMenuCaption() const { return MenuCaption.empty() ? Caption : MenuCaption; }
};
using TColDefs = std::vector<TColDef>;

// Where the cells of rows with a record come from. The text stays valid until the record behind it
// changes or the source goes; the source lives longer than the grid's use of it.
class IVaqGridSource {
 public:
  virtual ~IVaqGridSource() = default;
  virtual std::string_view CellText(int Column, int MgrIndex) const = 0;
};

class TVaqGrid {
 public:
  // Called once per outermost EndUpdate and after every change outside an update bracket; a view
  // resets itself. `Structure` tells rows or columns changed, not only cell texts.
  std::function<void(bool Structure)> OnChanged;
  // Called after one cell changed outside an update bracket.
  std::function<void(int Column, int Row)> OnCellChanged;

  // Update brackets nest; changes inside are reported once, at the outermost EndUpdate.
  void BeginUpdate();
  void EndUpdate(bool Repaint = true);
  bool Updating() const { return updates_ > 0; }
  // Grows with every change of cells, rows or columns, so that a reader may cache what it computed.
  std::uint64_t Version() const { return version_; }

  int RowCount() const { return rows_; }
  int ColCount() const { return cols_; }
  int FixedRows() const { return fixedRows_; }
  // Resizing keeps the cells that stay inside; new cells are empty.
  void SetRowCount(int Count);
  void SetColCount(int Count);
  void SetFixedRows(int Count) { fixedRows_ = Count; }

  // The text of a cell: what was set, else the source's text of the row's record, else empty. The
  // view is valid until the cell or its record changes. Out-of-range cells raise std::out_of_range.
  std::string_view Cell(int Column, int Row) const;
  // Texts are stored as they are; out-of-range cells raise std::out_of_range.
  void SetCell(int Column, int Row, std::string Text);
  // Sets every cell of the row to empty text.
  void ClearRow(int Row);
  // The source of the rows with a record (borrowed; null: such rows read as empty until set).
  void SetSource(const IVaqGridSource* Source);
  // The source took the cells set on rows with a record: they are forgotten and read from it
  // again. Cells of rows without a record stay.
  void ReleaseCells();
  // How many cells are stored (set and not released).
  std::size_t StoredCells() const { return cells_.size(); }
  // Cells changed since the last ClearRowChanges (every SetCell marks its cell).
  bool RowChanged(int Row) const;
  bool CellChanged(int Column, int Row) const;
  void ClearRowChanges();

  // Row definitions: the manager index behind a row (-1 for the header and the placeholder).
  void AddRowDef(int MgrIndex, int Row, int Level, int DisplayRow);
  int GetMgrIndex(int Row) const;

  // Object delimiters 0..3 per row (see the editor's MarkObjectDelimiters).
  void SetObjectDelimeter(int Row, int Value);
  int GetObjectDelimeter(int Row) const;

  TColDefs ColDefs;

  bool HasRows = false;
  TLCID OrigLCID = 0;
  TLCID XlatLCID = 0;
  void SetOrigLCID(TLCID Lcid) { OrigLCID = Lcid; }
  void SetXLatLCID(TLCID Lcid) { XlatLCID = Lcid; }
  bool Visible = true;

  // Rows hidden by a filter stay in the grid; ShownRows lists the others in order.
  void SetRowShown(int Row, bool Shown);
  bool GetShowRow(int Row) const;
  // Recomputes the list of shown data rows; the filter's caller runs it once after SetRowShown.
  void RebuildShownRows();
  const std::vector<int>& ShownRows() const { return shownRows_; }
  // The 1-based number of a shown row among the shown rows (0 for a hidden or fixed row): the number
  // the row-number column shows, without gaps under a filter.
  int DisplayNumber(int Row) const;

  // Selection of whole rows; the current cell is separate from it.
  void SelectRow(int Row, bool Selected = true);
  void ClearSelection();
  bool IsSelected(int Row) const;
  std::vector<int> SelectedRows() const;
  bool HasSelection() const { return selectedCount_ > 0; }

  int Col = 1;  // current column
  int Row = 1;  // current row
  void SetCurrent(int Column, int Row);

 private:
  void Changed(bool Structure);
  void CheckCell(int Column, int Row) const;
  static std::uint64_t Key(int Column, int Row) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(Row)) << 32) |
           static_cast<std::uint32_t>(Column);
  }
  static std::uint32_t Bit(int Column) { return 1u << (Column < 31 ? Column : 31); }

  int rows_ = 0;
  int cols_ = 0;
  int fixedRows_ = 1;
  int updates_ = 0;
  std::uint64_t version_ = 0;
  bool pending_ = false;
  bool pendingStructure_ = false;
  const IVaqGridSource* source_ = nullptr;
  std::unordered_map<std::uint64_t, std::string> cells_;  // the cells set, by Key(column, row)
  std::vector<std::uint32_t> stored_;  // per row: bit c for a stored cell of column c (31: 31 and up)
  std::vector<int> mgrIndex_;
  std::vector<std::uint8_t> delimiters_;
  std::vector<std::uint8_t> shown_;
  std::vector<std::uint8_t> selected_;
  std::vector<std::uint32_t> changed_;  // bit c for column c; columns from 31 on share bit 31
  std::vector<int> shownRows_;
  std::vector<int> displayNumber_;
  int selectedCount_ = 0;
};

}  // namespace vaq
