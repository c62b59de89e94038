// Output of findings: one line per finding and a summary for people, or one JSON document for
// tools.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "checks/finding.h"

namespace rux::checks {

struct TCheckSummary {
  int Forms = 0;  // forms checked
  int FormsWithFindings = 0;
  int Failed = 0;  // forms that could not be checked
  std::array<int, kFindingKindCount> ByKind{};

  // Counts the findings of one form.
  void Add(const std::vector<TFinding>& Findings);
  int Findings() const;
};

// "FILE<TAB>ID<TAB>KIND<TAB>DETAIL".
std::string FindingLine(const TFinding& Finding);

// "5 forms checked, 2 with findings: 4 findings (fit 1, accelerators 2, consistency 1, untranslated 0)".
std::string SummaryLine(const TCheckSummary& Summary);

// {"findings": [{"file", "id", "kind", "detail", "bounds": {"left", "top", "width", "height"}}...],
//  "summary": {"forms", "formsWithFindings", "failed", "findings", "byKind": {"fit": n, ...}}}
// Bytes that are not UTF-8 come out as U+FFFD.
std::string FindingsJson(const std::vector<TFinding>& Findings, const TCheckSummary& Summary);

}  // namespace rux::checks
