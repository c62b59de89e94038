// What the exchange readers' fuzz targets share: a document read from any input, written again in
// the same format, must read back to the same units (the export writes what an import reads).
#pragma once

#include <string>

#include "exchange/unit.h"
#include "fuzz_input_file.h"

namespace vaq::fuzzing {

// The first difference between two documents ("" when there is none). `withComments` false leaves
// the comments and the previous source out (a format whose notes hold plain text only).
inline std::string DifferenceOf(const rux::exchange::Document& a, const rux::exchange::Document& b,
                                bool withComments = true) {
  if (a.SourceLang != b.SourceLang || a.TargetLang != b.TargetLang) return "languages";
  if (a.Folder != b.Folder) return "folder " + a.Folder + " / " + b.Folder;
  if (a.Files.size() != b.Files.size()) return "number of files";
  for (std::size_t f = 0; f < a.Files.size(); ++f) {
    const rux::exchange::FileUnits& x = a.Files[f];
    const rux::exchange::FileUnits& y = b.Files[f];
    if (x.Original != y.Original) return "original " + x.Original + " / " + y.Original;
    if (x.Units.size() != y.Units.size()) return "number of units in " + x.Original;
    for (std::size_t u = 0; u < x.Units.size(); ++u) {
      const rux::exchange::Unit& p = x.Units[u];
      const rux::exchange::Unit& q = y.Units[u];
      const std::string where = " of unit " + std::to_string(u) + " (" + p.Id + ")";
      if (p.Id != q.Id) return "Id" + where + ": " + q.Id;
      if (p.Source != q.Source) return "source" + where + ": [" + p.Source + "] / [" + q.Source + "]";
      if (p.HasTarget != q.HasTarget || p.Target != q.Target)
        return "target" + where + ": [" + p.Target + "] / [" + q.Target + "]";
      if (p.HasTarget && p.State != q.State) return "state" + where;
      if (withComments && p.Comment != q.Comment)
        return "comment" + where + ": [" + p.Comment + "] / [" + q.Comment + "]";
      if (withComments && p.PrevSource != q.PrevSource) return "previous source" + where;
      if (p.Baseline != q.Baseline) return "baseline" + where;
    }
  }
  return {};
}

}  // namespace vaq::fuzzing
