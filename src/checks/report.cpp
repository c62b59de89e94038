// Text and JSON output of findings.
#include "checks/report.h"

#include <nlohmann/json.hpp>

namespace rux::checks {

void TCheckSummary::Add(const std::vector<TFinding>& Findings) {
  ++Forms;
  if (!Findings.empty()) ++FormsWithFindings;
  for (const TFinding& finding : Findings) ++ByKind.at(static_cast<std::size_t>(finding.Kind));
}

int TCheckSummary::Findings() const {
  int total = 0;
  for (int n : ByKind) total += n;
  return total;
}

std::string FindingLine(const TFinding& Finding) {
  return Finding.File + "\t" + Finding.Id + "\t" + std::string(KindName(Finding.Kind)) + "\t" +
         Finding.Detail;
}

std::string SummaryLine(const TCheckSummary& Summary) {
  std::string line = std::to_string(Summary.Forms) + (Summary.Forms == 1 ? " form" : " forms") +
                     " checked, " + std::to_string(Summary.FormsWithFindings) +
                     " with findings: " + std::to_string(Summary.Findings()) +
                     (Summary.Findings() == 1 ? " finding (" : " findings (");
  for (int i = 0; i < kFindingKindCount; ++i) {
    line += (i == 0 ? "" : ", ") + std::string(KindName(static_cast<TFindingKind>(i))) + " " +
            std::to_string(Summary.ByKind[static_cast<std::size_t>(i)]);
  }
  line += ")";
  if (Summary.Failed > 0) line += "; " + std::to_string(Summary.Failed) + " could not be checked";
  return line;
}

std::string FindingsJson(const std::vector<TFinding>& Findings, const TCheckSummary& Summary) {
  nlohmann::ordered_json findings = nlohmann::ordered_json::array();
  for (const TFinding& finding : Findings) {
    nlohmann::ordered_json item = {{"file", finding.File},
                                   {"id", finding.Id},
                                   {"kind", KindName(finding.Kind)},
                                   {"detail", finding.Detail}};
    if (finding.Bounds) {
      item["bounds"] = {{"left", finding.Bounds->Left},
                        {"top", finding.Bounds->Top},
                        {"width", finding.Bounds->Width},
                        {"height", finding.Bounds->Height}};
    }
    findings.push_back(std::move(item));
  }
  nlohmann::ordered_json byKind = nlohmann::ordered_json::object();
  for (int i = 0; i < kFindingKindCount; ++i) {
    byKind[std::string(KindName(static_cast<TFindingKind>(i)))] = Summary.ByKind[static_cast<std::size_t>(i)];
  }
  const nlohmann::ordered_json document = {{"findings", std::move(findings)},
                                           {"summary",
                                            {{"forms", Summary.Forms},
                                             {"formsWithFindings", Summary.FormsWithFindings},
                                             {"failed", Summary.Failed},
                                             {"findings", Summary.Findings()},
                                             {"byKind", std::move(byKind)}}}};
  return document.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace rux::checks
