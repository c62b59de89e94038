// The fit rules on plain measuring data, with a measure whose numbers are easy to follow: every
// character is 7 pixels wide and a line is 14 pixels high.
#include <gtest/gtest.h>

#include <sstream>

#include "checks/fit.h"

namespace rux::checks {
namespace {

class FixedMeasure : public TTextMeasure {
 public:
  int Width(const std::string& Text, const TFontSpec& Font) const override {
    return static_cast<int>(Text.size()) * (Font.Bold ? 8 : 7);
  }
  // Greedy wrapping at blanks; a word longer than the width takes a line of its own.
  int WrappedHeight(const std::string& Text, const TFontSpec& Font, int Width) const override {
    std::istringstream words(Text);
    std::string word, line;
    int lines = 0;
    while (words >> word) {
      const std::string candidate = line.empty() ? word : line + " " + word;
      if (!line.empty() && this->Width(candidate, Font) > Width) {
        ++lines;
        line = word;
      } else {
        line = candidate;
      }
    }
    if (!line.empty()) ++lines;
    return lines * 14;
  }
};

TFitItem Item(std::string id, TRoomKind kind, std::string text, int width, int height = 20) {
  TFitItem item;
  item.Id = id;
  item.Path = id.substr(0, id.rfind('.'));
  item.Class = "TButton";
  item.Kind = kind;
  item.Text = std::move(text);
  item.Bounds = {10, 20, width, height};
  return item;
}

TEST(Fit, ReportsTranslationsThatClipAndNamesTheMissingPixels) {
  const FixedMeasure measure;
  // A button of 75 px has 67 for its caption: "OK" needs 14, "Übernehmen und schließen" 168.
  const std::vector<TFitItem> original = {Item("O:F.O:btnOK.Caption", TRoomKind::Button, "Apply", 75)};
  const std::vector<TFitItem> translated = {
      Item("O:F.O:btnOK.Caption", TRoomKind::Button, "Anwenden und schliessen", 75)};
  const std::vector<TFinding> findings = CheckFit("de/F.ruz", translated, original, measure);
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(findings[0].Kind, TFindingKind::Fit);
  EXPECT_EQ(findings[0].Id, "O:F.O:btnOK.Caption");
  EXPECT_EQ(findings[0].Detail,
            "O:F.O:btnOK (TButton): 'Anwenden und schliessen' needs 161 px of width, has 67: 94 px missing; "
            "the original 'Apply' needs 35 of 67");
  EXPECT_EQ(findings[0].Bounds, (TControlBounds{10, 20, 75, 20}));
}

TEST(Fit, AnOriginalThatClipsAlreadyCountsOnlyWhenTheTranslationClipsMore) {
  const FixedMeasure measure;
  const std::vector<TFitItem> original = {Item("O:F.O:a.Caption", TRoomKind::Label, "abcdefghij", 50),
                                          Item("O:F.O:b.Caption", TRoomKind::Label, "abcdefghij", 50)};
  const std::vector<TFitItem> translated = {Item("O:F.O:a.Caption", TRoomKind::Label, "abcdefgh", 50),
                                            Item("O:F.O:b.Caption", TRoomKind::Label, "abcdefghijk", 50)};
  const std::vector<TFinding> findings = CheckFit("F.ruz", translated, original, measure);
  ASSERT_EQ(findings.size(), 1u);  // a: 6 px missing against 20 in the original
  EXPECT_EQ(findings[0].Id, "O:F.O:b.Caption");
  // Without an original to compare with, every clipped text is reported.
  EXPECT_EQ(CheckFit("F.ruz", translated, {}, measure).size(), 2u);
}

TEST(Fit, AFindingStaysOnOneLine) {
  const FixedMeasure measure;
  const std::vector<TFinding> findings = CheckFit(
      "F.ruz", {Item("O:F.O:a.Caption", TRoomKind::Label, "Zeile eins\r\nZeile zwei", 50)}, {}, measure);
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_NE(findings[0].Detail.find("'Zeile eins#13#10Zeile zwei'"), std::string::npos) << findings[0].Detail;
}

TEST(Fit, RoomOfEachKindOfControl) {
  const FixedMeasure measure;
  std::vector<TFitItem> items = {
      Item("O:F.O:btn.Caption", TRoomKind::Button, "1234567890", 78),       // 70 of 70
      Item("O:F.O:chk.Caption", TRoomKind::CheckBox, "1234567890", 86),     // 70 of 69
      Item("O:F.O:grp.Caption", TRoomKind::GroupCaption, "12345", 51),      // 35 of 35
      Item("O:F.O:lv.Columns[0].Caption", TRoomKind::Column, "12345", 40),  // 35 of 28
      Item("O:F.O:sb.Panels[0].Text", TRoomKind::Panel, "12345", 40),       // 35 of 34
      Item("O:F.O:rg.Items.Strings[0]", TRoomKind::RadioItem, "12", 30),    // 14 of 13
      // A label with word wrap: three lines of 14 px in a height of 30.
      Item("O:F.O:lbl.Caption", TRoomKind::WrappedLabel, "aaaa bbbb cccc", 40, 30),
  };
  items[0].Font.Bold = false;
  const std::vector<TFitMeasure> m = MeasureFit(items, measure);
  EXPECT_EQ(m[0].Overflow(), 0);
  EXPECT_EQ(m[1].Overflow(), 1);
  EXPECT_EQ(m[2].Overflow(), 0);
  EXPECT_EQ(m[3].Overflow(), 7);
  EXPECT_EQ(m[4].Overflow(), 1);
  EXPECT_EQ(m[5].Overflow(), 1);
  EXPECT_EQ(m[6].Room, 30);
  EXPECT_EQ(m[6].Needed, 42);
  // The font counts: a bold caption is wider.
  items[0].Font.Bold = true;
  EXPECT_EQ(MeasureFit(items, measure)[0].Overflow(), 10);
}

TEST(Fit, MenuBarItemsShareTheFormsWidth) {
  const FixedMeasure measure;
  std::vector<TFitItem> items;
  for (const char* name : {"Datei", "Bearbeiten", "Hilfe"}) {
    TFitItem item = Item(std::string("O:F.O:mnu.O:") + name + ".Caption", TRoomKind::MenuBarItem, name, 0);
    item.Row = "O:F";
    item.RowWidth = 160;
    items.push_back(item);
  }
  // 35 + 12, 70 + 12 = 129 used; "Hilfe" needs 35 and gets 160 - 129 - 12 = 19.
  const std::vector<TFitMeasure> m = MeasureFit(items, measure);
  EXPECT_EQ(m[0].Overflow(), 35 - 148);
  EXPECT_EQ(m[1].Room, 160 - 47 - 12);
  EXPECT_EQ(m[2].Room, 19);
  EXPECT_EQ(m[2].Overflow(), 16);
  // Another row is measured on its own.
  items[2].Row = "O:G";
  EXPECT_EQ(MeasureFit(items, measure)[2].Room, 160 - 12);
}

}  // namespace
}  // namespace rux::checks
