// The cells of the editor's grid, read from the loaded notes instead of copied: the grid asks for
// the text of one column of one record when a view shows it or a scan reads it. Texts are views
// into the manager's notes strings; the status is its name; dates are formatted once per distinct
// date (the records of one update share theirs). A notes file of 40 MB so costs the grid a few
// bytes a row rather than a string a cell.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <unordered_map>

#include "host/core/translator_mgr.h"
#include "host/core/vaq_grid.h"

namespace rux {

class TNotesGridSource : public vaq::IVaqGridSource {
 public:
  // ColIds: the column id of each grid column. The manager is borrowed and may be replaced.
  explicit TNotesGridSource(const std::array<vaq::TVaqAllColId, 10>& ColIds) : colIds_(ColIds) {}
  void SetManager(const vaq::TVaqTranslatorMgr* Mgr) { mgr_ = Mgr; }

  std::string_view CellText(int Column, int MgrIndex) const override;

 private:
  std::string_view DateText(std::string_view Stored) const;

  const std::array<vaq::TVaqAllColId, 10>& colIds_;
  const vaq::TVaqTranslatorMgr* mgr_ = nullptr;
  // Date texts by the stored float text; kept while the source lives.
  mutable std::unordered_map<std::string, std::string> dates_;
};

}  // namespace rux
