// The column/key table of form notes and the module's resource strings for it.
#include "notes/column_table.h"

#include <stdexcept>
#include <string>

namespace rux {
namespace {

// Keys by column id; row 0 has none.
constexpr std::array<std::string_view, ColumnCount> kKeys = {
    std::string_view{}, KeyId,      KeyOrig,     KeyStatus, KeyCurr, KeyCreated, KeyModified, KeyPrevOrig,
    KeyPrevCurr,        KeyComment, KeyLocalize, KeyOrder,  KeyType, KeyOpen,    KeyClose};

constexpr std::array<TResString, 11> kStringTable = {SFiles,       SColIndex,    SColId,      SColOrig,
                                                     SColStatus,   SColCurr,     SColCreated, SColModified,
                                                     SColPrevOrig, SColPrevCurr, SColComment};

vaq::TColInfo Row(std::uint32_t isColumn, vaq::TVaqAllColId id, std::uint32_t coreColumn) {
  vaq::TColInfo row;
  row.IsColumn = isColumn;
  row.Key = std::string(kKeys[id]);
  row.CoreColumn = coreColumn;
  return row;
}

}  // namespace

std::array<vaq::TColInfo, ColumnCount> VaqColInfo = {
    Row(1, ColIndex, 0),    Row(1, ColId, 1),      Row(1, ColOrig, 2),     Row(1, ColStatus, 6),
    Row(1, ColCurr, 3),     Row(1, ColCreated, 7), Row(1, ColModified, 8), Row(1, ColPrevOrig, 4),
    Row(1, ColPrevCurr, 5), Row(1, ColComment, 9), Row(0, ColLocalize, 0), Row(0, ColOrder, 0),
    Row(0, ColType, 0),     Row(0, ColOpen, 0),    Row(0, ColClose, 0)};

const std::array<vaq::TVaqAllColId, 10> DefColIds = {ColIndex,    ColId,       ColOrig,     ColStatus,
                                                     ColCurr,     ColPrevOrig, ColPrevCurr, ColCreated,
                                                     ColModified, ColComment};

std::string_view ColumnKey(vaq::TVaqAllColId id) {
  if (id == ColIndex || id > MaxColId) {
    throw std::out_of_range("column id " + std::to_string(id) + " has no notes key");
  }
  return kKeys[id];
}

std::optional<std::string_view> FindResString(std::uint32_t id) {
  for (const TResString& entry : kStringTable) {
    if (entry.Id == id) return entry.Text;
  }
  return std::nullopt;
}

void LoadColumnCaptions() {
  for (int id = LastGridColId; id >= ColIndex; --id) {
    VaqColInfo[id].Caption = std::string(FindResString(SColIndex.Id + id).value_or(std::string_view{}));
  }
}

void ReleaseColumnCaptions() {
  // Assigning a fresh string frees the buffer; clear() would keep it.
  for (vaq::TColInfo& row : VaqColInfo) row.Caption = std::string();
}

}  // namespace rux
