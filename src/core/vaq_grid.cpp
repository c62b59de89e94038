// The translation grid's model.
#include "host/core/vaq_grid.h"

#include <algorithm>
#include <stdexcept>

namespace vaq {

void TVaqGrid::BeginUpdate() {
  ++updates_;
}

void TVaqGrid::EndUpdate(bool Repaint) {
  if (updates_ > 0 && --updates_ > 0) return;
  if (pending_ || Repaint) {
    const bool structure = pendingStructure_;
    pending_ = pendingStructure_ = false;
    if (OnChanged) OnChanged(structure);
  }
}

void TVaqGrid::Changed(bool Structure) {
  ++version_;
  if (updates_ > 0) {
    pending_ = true;
    pendingStructure_ = pendingStructure_ || Structure;
    return;
  }
  if (OnChanged) OnChanged(Structure);
}

void TVaqGrid::CheckCell(int Column, int Row) const {
  if (Column < 0 || Column >= cols_ || Row < 0 || Row >= rows_) {
    throw std::out_of_range("grid cell " + std::to_string(Column) + "," + std::to_string(Row));
  }
}

void TVaqGrid::SetRowCount(int Count) {
  if (Count < 0) Count = 0;
  if (Count == rows_) return;
  const auto n = static_cast<std::size_t>(Count);
  if (Count < rows_) {
    for (int r = Count; r < rows_; ++r) {
      selectedCount_ -= selected_[static_cast<std::size_t>(r)];
      if (stored_[static_cast<std::size_t>(r)] == 0) continue;
      for (int c = 0; c < cols_; ++c) cells_.erase(Key(c, r));
    }
  }
  mgrIndex_.resize(n, -1);
  delimiters_.resize(n, 0);
  shown_.resize(n, 1);
  selected_.resize(n, 0);
  changed_.resize(n, 0);
  stored_.resize(n, 0);
  rows_ = Count;
  RebuildShownRows();
  Changed(true);
}

void TVaqGrid::SetColCount(int Count) {
  if (Count < 0) Count = 0;
  if (Count == cols_) return;
  if (Count < cols_) {
    std::erase_if(cells_,
                  [Count](const auto& cell) { return static_cast<int>(cell.first & 0xFFFFFFFFu) >= Count; });
  }
  cols_ = Count;
  Changed(true);
}

std::string_view TVaqGrid::Cell(int Column, int Row) const {
  CheckCell(Column, Row);
  const auto row = static_cast<std::size_t>(Row);
  if (stored_[row] & Bit(Column)) {
    if (const auto it = cells_.find(Key(Column, Row)); it != cells_.end()) return it->second;
  }
  if (source_ && mgrIndex_[row] >= 0) return source_->CellText(Column, mgrIndex_[row]);
  return {};
}

void TVaqGrid::SetCell(int Column, int Row, std::string Text) {
  CheckCell(Column, Row);
  cells_.insert_or_assign(Key(Column, Row), std::move(Text));
  stored_[static_cast<std::size_t>(Row)] |= Bit(Column);
  changed_[static_cast<std::size_t>(Row)] |= Bit(Column);
  ++version_;
  if (updates_ > 0) {
    pending_ = true;
  } else if (OnCellChanged) {
    OnCellChanged(Column, Row);
  }
}

void TVaqGrid::ClearRow(int Row) {
  CheckCell(0, Row);
  for (int c = 0; c < cols_; ++c) {
    cells_.insert_or_assign(Key(c, Row), std::string());
    stored_[static_cast<std::size_t>(Row)] |= Bit(c);
  }
  ++version_;
  Changed(false);
}

void TVaqGrid::SetSource(const IVaqGridSource* Source) {
  source_ = Source;
  Changed(false);
}

void TVaqGrid::ReleaseCells() {
  if (!source_) return;
  std::erase_if(cells_, [this](const auto& cell) {
    return mgrIndex_[static_cast<std::size_t>(cell.first >> 32)] >= 0;
  });
  for (int r = 0; r < rows_; ++r) {
    if (mgrIndex_[static_cast<std::size_t>(r)] >= 0) stored_[static_cast<std::size_t>(r)] = 0;
  }
  ++version_;
}

void TVaqGrid::AddRowDef(int MgrIndex, int Row, int, int) {
  if (Row < 0 || Row >= rows_) throw std::out_of_range("grid row " + std::to_string(Row));
  mgrIndex_[static_cast<std::size_t>(Row)] = MgrIndex;
}

bool TVaqGrid::RowChanged(int Row) const {
  return Row >= 0 && Row < rows_ && changed_[static_cast<std::size_t>(Row)] != 0;
}

bool TVaqGrid::CellChanged(int Column, int Row) const {
  return Row >= 0 && Row < rows_ && Column >= 0 &&
         (changed_[static_cast<std::size_t>(Row)] & Bit(Column)) != 0;
}

void TVaqGrid::ClearRowChanges() {
  std::fill(changed_.begin(), changed_.end(), 0);
}

int TVaqGrid::GetMgrIndex(int Row) const {
  if (Row < 0 || Row >= rows_) return -1;
  return mgrIndex_[static_cast<std::size_t>(Row)];
}

void TVaqGrid::SetObjectDelimeter(int Row, int Value) {
  if (Row < 0 || Row >= rows_) throw std::out_of_range("grid row " + std::to_string(Row));
  delimiters_[static_cast<std::size_t>(Row)] = static_cast<std::uint8_t>(Value);
}

int TVaqGrid::GetObjectDelimeter(int Row) const {
  if (Row < 0 || Row >= rows_) return 0;
  return delimiters_[static_cast<std::size_t>(Row)];
}

void TVaqGrid::SetRowShown(int Row, bool Shown) {
  if (Row < 0 || Row >= rows_) return;
  shown_[static_cast<std::size_t>(Row)] = Shown ? 1 : 0;
}

bool TVaqGrid::GetShowRow(int Row) const {
  return Row >= fixedRows_ && Row < rows_ && shown_[static_cast<std::size_t>(Row)] != 0;
}

void TVaqGrid::RebuildShownRows() {
  shownRows_.clear();
  displayNumber_.assign(static_cast<std::size_t>(rows_), 0);
  for (int r = fixedRows_; r < rows_; ++r) {
    if (!shown_[static_cast<std::size_t>(r)]) continue;
    shownRows_.push_back(r);
    displayNumber_[static_cast<std::size_t>(r)] = static_cast<int>(shownRows_.size());
  }
  Changed(true);
}

int TVaqGrid::DisplayNumber(int Row) const {
  if (Row < 0 || Row >= rows_) return 0;
  return displayNumber_[static_cast<std::size_t>(Row)];
}

void TVaqGrid::SelectRow(int Row, bool Selected) {
  if (Row < fixedRows_ || Row >= rows_) return;
  auto& flag = selected_[static_cast<std::size_t>(Row)];
  if ((flag != 0) == Selected) return;
  flag = Selected ? 1 : 0;
  selectedCount_ += Selected ? 1 : -1;
}

void TVaqGrid::ClearSelection() {
  std::fill(selected_.begin(), selected_.end(), 0);
  selectedCount_ = 0;
}

bool TVaqGrid::IsSelected(int Row) const {
  return Row >= 0 && Row < rows_ && selected_[static_cast<std::size_t>(Row)] != 0;
}

std::vector<int> TVaqGrid::SelectedRows() const {
  std::vector<int> rows;
  if (selectedCount_ == 0) return rows;
  for (int r = fixedRows_; r < rows_; ++r) {
    if (selected_[static_cast<std::size_t>(r)]) rows.push_back(r);
  }
  return rows;
}

void TVaqGrid::SetCurrent(int Column, int Row_) {
  Col = Column;
  Row = Row_;
}

}  // namespace vaq
