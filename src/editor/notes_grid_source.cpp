// The editor grid's cells, read from the loaded notes.
#include "editor/notes_grid_source.h"

#include <algorithm>

#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/notes_strings.h"
#include "notes/column_table.h"

namespace rux {

std::string_view TNotesGridSource::CellText(int Column, int MgrIndex) const {
  if (!mgr_ || Column < 0 || Column >= static_cast<int>(colIds_.size()) || MgrIndex < 0 ||
      MgrIndex >= mgr_->GetCount()) {
    return {};
  }
  const std::string& line = mgr_->GetStrings(MgrIndex);
  const vaq::TVaqAllColId id = colIds_[static_cast<std::size_t>(Column)];
  switch (id) {
    case ColIndex:
      return {};  // the window numbers the shown rows itself
    case ColStatus: {
      // Validated when the grid was filled: a status the loading accepted.
      int status = 0;
      for (const char c : vaq::GetValueView(line, KeyStatus, "0")) {
        if (c < '0' || c > '9') break;
        status = std::min(status * 10 + (c - '0'), 3);
      }
      return vaq::XStatusString[static_cast<std::size_t>(status)];
    }
    case ColCreated:
    case ColModified:
      return DateText(vaq::GetValueView(line, ColumnKey(id), {}));
    default:
      return id <= LastGridColId ? vaq::GetValueView(line, ColumnKey(id), {}) : std::string_view();
  }
}

std::string_view TNotesGridSource::DateText(std::string_view Stored) const {
  auto it = dates_.find(std::string(Stored));
  if (it == dates_.end()) {
    std::string text;
    try {
      text = vaq::VaqDateTimeToStr(Stored.empty() ? vaq::DefaultDateTime() : vaq::VaqStrToDouble(Stored));
    } catch (const vaq::EConvertError&) {
      text = Stored;  // loading refuses such a record; shown as it is should one get here
    }
    it = dates_.emplace(std::string(Stored), std::move(text)).first;
  }
  return it->second;
}

}  // namespace rux
