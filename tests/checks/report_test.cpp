// Output of findings: the lines people read and the JSON document tools read back.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "checks/report.h"

namespace rux::checks {
namespace {

TEST(Report, LinesSummaryAndJson) {
  const std::vector<TFinding> findings = {
      {"de/Main.ruz", "O:Main.O:btnOK.Caption", TFindingKind::Fit, "'Übernehmen' needs 80 px",
       TControlBounds{1, 2, 3, 4}},
      {"de/Main.ruz", "O:Main.O:mnuOpen.Caption", TFindingKind::Accelerators, "bad \xFF byte", std::nullopt},
  };
  TCheckSummary summary;
  summary.Add(findings);
  summary.Add({});
  summary.Failed = 1;

  EXPECT_EQ(FindingLine(findings[0]), "de/Main.ruz\tO:Main.O:btnOK.Caption\tfit\t'Übernehmen' needs 80 px");
  EXPECT_EQ(
      SummaryLine(summary),
      "2 forms checked, 1 with findings: 2 findings (fit 1, accelerators 1, consistency 0, untranslated 0); "
      "1 could not be checked");

  const nlohmann::json json = nlohmann::json::parse(FindingsJson(findings, summary));
  ASSERT_EQ(json["findings"].size(), 2u);
  EXPECT_EQ(json["findings"][0]["kind"], "fit");
  EXPECT_EQ(json["findings"][0]["detail"], "'Übernehmen' needs 80 px");
  EXPECT_EQ(json["findings"][0]["bounds"]["height"], 4);
  EXPECT_FALSE(json["findings"][1].contains("bounds"));
  EXPECT_EQ(json["findings"][1]["detail"], "bad \xEF\xBF\xBD byte");  // not UTF-8: replaced, not thrown
  EXPECT_EQ(json["summary"]["findings"], 2);
  EXPECT_EQ(json["summary"]["byKind"]["accelerators"], 1);
  EXPECT_EQ(json["summary"]["failed"], 1);
}

TEST(Report, KindsByName) {
  EXPECT_TRUE(ParseKinds("fit, untranslated").Has(TFindingKind::Untranslated));
  EXPECT_FALSE(ParseKinds("fit,untranslated").Has(TFindingKind::Consistency));
  EXPECT_THROW(ParseKinds("fit,spelling"), std::invalid_argument);
  EXPECT_THROW(ParseKinds(","), std::invalid_argument);
}

}  // namespace
}  // namespace rux::checks
