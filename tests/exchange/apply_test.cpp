// Units collected from notes records and applied back: what the import takes, leaves alone and
// refuses, on notes lines in memory.
#include <gtest/gtest.h>

#include "exchange/apply.h"
#include "exchange/baseline.h"
#include "exchange/collect.h"
#include "host/core/locale.h"
#include "notes/notes_record.h"

namespace rux::exchange {
namespace {

const vaq::TLCID kEnglish = vaq::StrToLCID("en-US");
const vaq::TLCID kRussian = vaq::StrToLCID("ru-RU");
constexpr vaq::TDateTime kNow = 46400.5;

std::string Line(std::string id, std::string orig, std::string curr, std::uint8_t status, std::int32_t order,
                 bool localize = true, std::string comment = {}) {
  vaq::TVaqNotesString record;
  record.Id = std::move(id);
  record.Orig = std::move(orig);
  record.Curr = std::move(curr);
  record.Status = status;
  record.Order = order;
  record.Type = "TButton";
  record.Localize = localize;
  record.Created = record.Modified = 46362.5;
  record.Comment = std::move(comment);
  return NotesStringToString(record, false);
}

std::vector<std::string> Notes() {
  return {
      "/*VAQ: Format:VAQ 1\x04 */",
      Line("O:F.O:b.Caption", "'Cancel'", "'Cancel'", StatusUntranslated, 0),
      Line("O:F.O:b.Hint", "'Line one'#13#10'line two'", "'\xD1\xF2\xF0\xEE\xEA\xE0'", StatusTranslated, 1,
           true, "keep it short"),
      Line("O:F.O:c.Caption", "'It'#39's'", "'\xDD\xF2\xEE'", StatusAutoTranslated, 2),
      Line("O:F.O:b.Width", "75", "75", StatusUntranslated, 3),
      Line("O:F.O:b.Tag", "'x'", "'x'", StatusUntranslated, 4, false),
      Line("O:F.O:old.Caption", "'Gone'", "'Gone'", StatusObsolete, -1),
  };
}

vaq::TVaqNotesString Record(const std::vector<std::string>& lines, std::size_t i) {
  return StringToNotesString(lines.at(i), {});
}

TEST(Collect, OneUnitPerTranslatableStringWithItsState) {
  const std::vector<Unit> units = CollectUnits(Notes(), kEnglish, kRussian, {});
  ASSERT_EQ(units.size(), 3u) << "numbers only with --all; untranslatable and unused records never";
  EXPECT_EQ(units[0].Id, "O:F.O:b.Caption");
  EXPECT_EQ(units[0].Property, "Caption");
  EXPECT_EQ(units[0].Type, "TButton");
  EXPECT_FALSE(units[0].HasTarget);
  EXPECT_EQ(units[0].State, UnitState::Initial);
  EXPECT_EQ(units[1].Source, "Line one\nline two");
  EXPECT_EQ(units[1].Target, "Строка");
  EXPECT_EQ(units[1].State, UnitState::Translated);
  EXPECT_EQ(units[1].Comment, "keep it short");
  EXPECT_EQ(units[2].Source, "It's");
  EXPECT_EQ(units[2].State, UnitState::NeedsReview);

  const std::vector<Unit> all = CollectUnits(Notes(), kEnglish, kRussian, {.All = true});
  ASSERT_EQ(all.size(), 4u);
  EXPECT_FALSE(all[3].IsString);
  EXPECT_EQ(all[3].Source, "75");
  const std::vector<Unit> open = CollectUnits(Notes(), kEnglish, kRussian, {.UntranslatedOnly = true});
  ASSERT_EQ(open.size(), 2u);
  EXPECT_EQ(open[1].Id, "O:F.O:c.Caption");
}

TEST(Apply, UnchangedUnitsLeaveEveryByte) {
  std::vector<std::string> lines = Notes();
  const std::vector<std::string> before = lines;
  const ApplyReport report =
      ApplyUnits(lines, CollectUnits(lines, kEnglish, kRussian, {.All = true}), kEnglish, kRussian, kNow);
  EXPECT_EQ(report.Taken, 0);
  EXPECT_EQ(report.LeftAlone, 4);
  EXPECT_FALSE(report.Changed());
  EXPECT_EQ(lines, before);
}

TEST(Apply, TargetsStatesAndComments) {
  std::vector<std::string> lines = Notes();
  std::vector<Unit> units = CollectUnits(lines, kEnglish, kRussian, {});
  units[0].Target = "Отмена";  // untranslated -> translated
  units[0].HasTarget = true;
  units[0].State = UnitState::Translated;
  units[1].Target = "Первая\nвторая";  // a new translation still to review; line breaks as the original's
  units[1].State = UnitState::NeedsReview;
  units[1].Comment = "two\nlines";
  units[2].State = UnitState::Translated;  // reviewed, same text
  const ApplyReport report = ApplyUnits(lines, units, kEnglish, kRussian, kNow);
  EXPECT_EQ(report.Taken, 3);
  EXPECT_EQ(report.Refused, 0);

  EXPECT_EQ(Record(lines, 1).Curr, "'\xCE\xF2\xEC\xE5\xED\xE0'");
  EXPECT_EQ(Record(lines, 1).Status, StatusTranslated);
  EXPECT_EQ(Record(lines, 1).Modified, kNow);
  EXPECT_EQ(Record(lines, 2).Curr, "'\xCF\xE5\xF0\xE2\xE0\xFF'#13#10'\xE2\xF2\xEE\xF0\xE0\xFF'");
  EXPECT_EQ(Record(lines, 2).Status, StatusAutoTranslated);
  EXPECT_EQ(Record(lines, 2).Comment, "two lines") << "a notes field holds no line break";
  EXPECT_EQ(Record(lines, 3).Curr, "'\xDD\xF2\xEE'");
  EXPECT_EQ(Record(lines, 3).Status, StatusTranslated);
}

TEST(Apply, EmptyTargetsAndCommentsChangeNothing) {
  std::vector<std::string> lines = Notes();
  const std::vector<std::string> before = lines;
  std::vector<Unit> units = CollectUnits(lines, kEnglish, kRussian, {});
  for (Unit& unit : units) {
    unit.Target.clear();
    unit.Comment.clear();  // a tool that dropped the comments does not wipe the notes' ones
  }
  const ApplyReport report = ApplyUnits(lines, units, kEnglish, kRussian, kNow);
  EXPECT_EQ(report.Taken, 0);
  EXPECT_EQ(lines, before);
}

TEST(Apply, Refusals) {
  std::vector<std::string> lines = Notes();
  const std::vector<std::string> before = lines;
  std::vector<Unit> units = CollectUnits(lines, kEnglish, kRussian, {.All = true});
  units[0].Source = "Abort";  // the form changed since the export
  units[0].Target = "Отмена";
  units[0].HasTarget = true;
  units[0].Line = 12;
  units[1].Target = "café";  // a character cp1251 cannot hold on its own
  units[3].Target = "12a";   // no integer
  units[3].HasTarget = true;
  Unit unknown = units[2];
  unknown.Id = "O:F.O:nothere.Caption";
  units.push_back(unknown);
  Unit untranslatable = units[2];
  untranslatable.Id = "O:F.O:b.Tag";
  untranslatable.Source = "x";
  units.push_back(untranslatable);

  const ApplyReport report = ApplyUnits(lines, units, kEnglish, kRussian, kNow);
  EXPECT_EQ(report.Refused, 5);
  EXPECT_EQ(report.LeftAlone, 1);
  EXPECT_EQ(lines, before) << "refused units leave their records alone";
  ASSERT_EQ(report.Messages.size(), 5u);
  EXPECT_EQ(report.Messages[0],
            "line 12: O:F.O:b.Caption: the original changed since the export: the file has \"Abort\", the "
            "notes have "
            "\"Cancel\"");
  EXPECT_EQ(report.Messages[1],
            "O:F.O:b.Hint: \"café\": the character U+00E9 cannot be held by code page 1251 and cannot be "
            "written as "
            "a code in a text without wider characters");
  EXPECT_EQ(report.Messages[2], "O:F.O:b.Width: \"12a\" is not a valid integer (the original is \"75\")");
  EXPECT_EQ(report.Messages[3], "O:F.O:nothere.Caption: no translatable record with this Id in the notes");
  EXPECT_EQ(report.Messages[4], "O:F.O:b.Tag: no translatable record with this Id in the notes");
}

// The translator's file left while the record was translated again in the editor: the newer
// translation stays unless the import is forced; files of older exports carry no baseline.
TEST(Apply, TranslatedSinceTheExport) {
  const vaq::TLCID german = vaq::StrToLCID("de-DE");
  std::vector<std::string> lines = {
      Line("O:A.O:cb.Items.Strings[0]", "'Germany'", "'Deutschland'", StatusAutoTranslated, 0),
      Line("O:A.O:cb.Items.Strings[1]", "'Russia'", "'Russia'", StatusUntranslated, 1),
      Line("O:A.O:cb.Items.Strings[2]", "'France'", "'Frankreich'", StatusAutoTranslated, 2),
  };
  // Fingerprints travel in files that come back months later: their value never changes.
  EXPECT_EQ(RecordBaseline(StatusTranslated, "'Stadt'"), "140e3e1365cf3156");
  EXPECT_EQ(RecordBaseline(StatusUntranslated, ""), "af63bd4c8601b7df");
  std::vector<Unit> units = CollectUnits(lines, kEnglish, german, {});
  ASSERT_EQ(units.size(), 3u);
  for (const Unit& unit : units) EXPECT_EQ(unit.Baseline.size(), 16u);
  units[0].State = UnitState::Translated;  // the translator confirms "Deutschland"
  units[1].Target = "Russland";
  units[1].HasTarget = true;
  units[1].State = UnitState::Translated;
  units[2].State = UnitState::Translated;

  // Meanwhile, in the editor: "Deutschland (BRD)"; "Russia" translated too; "France" only reviewed.
  vaq::TVaqNotesString record = Record(lines, 0);
  record.Curr = "'Deutschland (BRD)'";
  record.Status = StatusTranslated;
  lines[0] = NotesStringToString(record, false);
  record = Record(lines, 1);
  record.Curr = "'Russland'";
  record.Status = StatusTranslated;
  lines[1] = NotesStringToString(record, false);
  record = Record(lines, 2);
  record.Status = StatusTranslated;
  lines[2] = NotesStringToString(record, false);
  const std::vector<std::string> edited = lines;

  const ApplyReport report = ApplyUnits(lines, units, kEnglish, german, kNow);
  EXPECT_EQ(report.Refused, 1);
  EXPECT_EQ(report.LeftAlone, 2) << "the same translation and state as the editor's change nothing";
  ASSERT_EQ(report.Messages.size(), 1u);
  EXPECT_EQ(
      report.Messages[0],
      "O:A.O:cb.Items.Strings[0]: translated since the export: the notes have \"Deutschland (BRD)\", the "
      "file has \"Deutschland\"");
  EXPECT_EQ(lines, edited) << "the newer translation stays";

  // The same file forced, and a file of an older export without baselines: the file's translation.
  for (const bool force : {true, false}) {
    std::vector<std::string> again = edited;
    std::vector<Unit> old = units;
    if (!force)
      for (Unit& unit : old) unit.Baseline.clear();
    const ApplyReport taken = ApplyUnits(again, old, kEnglish, german, kNow, {.Force = force});
    EXPECT_EQ(taken.Refused, 0) << force;
    EXPECT_EQ(taken.Taken, 1) << force;
    EXPECT_EQ(Record(again, 0).Curr, "'Deutschland'") << force;
    EXPECT_EQ(Record(again, 0).Status, StatusTranslated) << force;
  }
}

}  // namespace
}  // namespace rux::exchange
