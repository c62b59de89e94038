// The notes-only checks on the demo project: updated for de-DE, translated in the notes with the
// manager, with deliberate faults planted; the checks must name every planted fault and nothing
// else. And on hand-made notes, the finer rules of each kind.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <tuple>

#include "checks/check_notes.h"
#include "checks/demo_project.h"
#include "host/core/files.h"
#include "host/core/locale.h"
#include "notes/notes_record.h"

namespace rux::checks {
namespace {

using demo::Quoted;
using Key = std::tuple<std::string, std::string, TFindingKind>;  // form, Id, kind

class DemoChecks : public ::testing::Test {
 protected:
  void SetUp() override {
    // Originals with a placeholder, a final colon and a second accelerator in a window.
    demo_.Edit("MainForm.rux", "'Save the order and close'", "'Save the order %s and close'");
    demo_.Edit("AddressFrame.rux", "'City'", "'City:'");
    demo_.Edit("OptionsDialog.rux", "'Save orders automatically'", "'&Save orders automatically'");
    demo_.Update();
  }
  std::string Lang(const std::string& name) const { return demo_.Lang(name); }
  void Translate(
      const std::string& form,
      const std::function<void(vaq::TVaqNotesString&)>& plant = [](vaq::TVaqNotesString&) {}) {
    demo_.Translate(form, plant);
  }

  std::set<Key> Findings(TKindSet kinds = TKindSet::All()) {
    std::set<Key> keys;
    for (const char* form :
         {"MainForm.rux", "AddressFrame.rux", "BaseDialog.rux", "OptionsDialog.rux", "ReportView.gox"}) {
      for (const TFinding& f : CheckNotesFile(Lang(form), kinds)) {
        EXPECT_FALSE(f.Detail.empty());
        EXPECT_EQ(f.File,
                  vaq::ChangeFileExt(Lang(form), std::string(form).ends_with(".gox") ? ".goz" : ".ruz"));
        keys.emplace(form, f.Id, f.Kind);
      }
    }
    return keys;
  }

  demo::TDemoProject demo_;
};

TEST_F(DemoChecks, UntranslatedFormsHaveNothingButUntranslatedTexts) {
  const std::set<Key> findings = Findings();
  ASSERT_FALSE(findings.empty());
  for (const auto& [form, id, kind] : findings)
    EXPECT_EQ(kind, TFindingKind::Untranslated) << form << " " << id;
  // The untranslated caption of the options dialog, but not the form's font name.
  EXPECT_TRUE(
      findings.contains(Key{"OptionsDialog.rux", "I:OptionsDialog.Caption", TFindingKind::Untranslated}));
  EXPECT_FALSE(findings.contains(Key{"MainForm.rux", "O:MainForm.Font.Name", TFindingKind::Untranslated}));
}

TEST_F(DemoChecks, NamesEveryPlantedFaultAndNothingElse) {
  Translate("MainForm.rux", [](vaq::TVaqNotesString& r) {
    if (r.Id.ends_with("mnuOpen.Caption")) r.Curr = Quoted("&Datei öffnen...");  // clashes with ...
    if (r.Id.ends_with("mnuExit.Caption")) r.Curr = Quoted("Been&den");          // ... this one on "D"
    if (r.Id.ends_with("mnuHelp.Caption")) r.Curr = Quoted("Hilfe");             // lost its "&"
    if (r.Id.ends_with("btnOK.Hint")) r.Curr = Quoted("Bestellung speichern und schließen");  // lost "%s"
  });
  Translate("AddressFrame.rux", [](vaq::TVaqNotesString& r) {
    if (r.Id.ends_with("lblCity.Caption")) r.Curr = Quoted("Ort");      // lost the colon
    if (r.Id.ends_with("Items.Strings[1]")) r.Order = OrderNotWritten;  // the list loses "Russia"
  });
  Translate("BaseDialog.rux");
  Translate("OptionsDialog.rux", [](vaq::TVaqNotesString& r) {
    if (r.Id.ends_with("chkAutoSave.Caption"))
      r.Curr = Quoted("Ü&berall speichern");   // "&b" as "Ü&bernehmen"
    if (r.Id.ends_with("Items.Strings[1]")) {  // left untranslated
      r.Curr = r.Orig;
      r.Status = StatusUntranslated;
    }
  });
  Translate("ReportView.gox");

  const std::set<Key> expected = {
      {"MainForm.rux", "O:MainForm.O:btnOK.Hint", TFindingKind::Consistency},
      {"MainForm.rux", "O:MainForm.O:mnuMain.O:mnuFile.O:mnuOpen.Caption", TFindingKind::Accelerators},
      {"MainForm.rux", "O:MainForm.O:mnuMain.O:mnuFile.O:mnuExit.Caption", TFindingKind::Accelerators},
      {"MainForm.rux", "O:MainForm.O:mnuMain.O:mnuHelp.Caption", TFindingKind::Accelerators},
      {"AddressFrame.rux", "O:AddressFrame.O:lblCity.Caption", TFindingKind::Consistency},
      {"AddressFrame.rux", "O:AddressFrame.O:cbCountry.Items.Strings[1]", TFindingKind::Consistency},
      {"OptionsDialog.rux", "I:OptionsDialog.I:btnOK.Caption", TFindingKind::Accelerators},
      {"OptionsDialog.rux", "I:OptionsDialog.O:chkAutoSave.Caption", TFindingKind::Accelerators},
      {"OptionsDialog.rux", "I:OptionsDialog.O:rgUnits.Items.Strings[1]", TFindingKind::Untranslated},
  };
  EXPECT_EQ(Findings(), expected);

  // The details say what is wrong, in UTF-8.
  const std::vector<TFinding> main = CheckNotesFile(Lang("MainForm.rux"), TKindSet::All());
  std::map<std::string, std::string> detail;
  for (const TFinding& f : main) detail[f.Id] = f.Detail;
  EXPECT_EQ(detail["O:MainForm.O:btnOK.Hint"], "placeholders: the original has %s, the translation none");
  EXPECT_EQ(detail["O:MainForm.O:mnuMain.O:mnuHelp.Caption"],
            "the translation 'Hilfe' lost the accelerator &H of '&Help'");
  EXPECT_EQ(
      detail["O:MainForm.O:mnuMain.O:mnuFile.O:mnuOpen.Caption"],
      "'&Datei öffnen...': &D is used in the menu also by O:MainForm.O:mnuMain.O:mnuFile.O:mnuExit.Caption "
      "('Been&den')");
  // --only.
  TKindSet only = TKindSet::None();
  only.Add(TFindingKind::Untranslated);
  EXPECT_EQ(Findings(only).size(), 1u);
}

// Hand-made notes for the rules the demo does not reach.
std::string Record(const std::string& id, const std::string& type, const std::string& orig,
                   const std::string& curr, int order, std::uint8_t status = StatusTranslated) {
  vaq::TVaqNotesString r;
  r.Id = id;
  r.Type = type;
  r.Orig = Quoted(orig);
  r.Curr = Quoted(curr);
  r.Order = order;
  r.Status = status;
  r.Localize = true;
  return NotesStringToString(r, false);
}

std::vector<std::string> DetailsOf(const std::vector<std::string>& lines) {
  vaq::TFileStats stats;
  stats.SourceLang = "en-US";
  stats.TargetLang = "de-DE";
  std::vector<std::string> details;
  for (const TFinding& f : CheckNotesLines(lines, "F.ruz", stats, TKindSet::All()))
    details.push_back(f.Detail);
  return details;
}

TEST(NotesChecks, AcceleratorScopes) {
  // Items of different menu levels, "&&", the form's own caption, hints and list view columns never clash.
  EXPECT_TRUE(DetailsOf({
                            Record("O:F.Caption", "TF", "&Form", "&Fenster", 0),
                            Record("O:F.O:m.O:a.Caption", "TMenuItem", "&File", "&Datei", 1),
                            Record("O:F.O:m.O:a.O:b.Caption", "TMenuItem", "&Delete", "&Drucken", 2),
                            Record("O:F.O:m.O:c.Caption", "TMenuItem", "&&Co", "&&Drucken", 3),
                            Record("O:F.O:btn.Hint", "TButton", "&Do", "&Dies", 4),
                            Record("O:F.O:lv.Columns[0].Caption", "C:TListView", "&Date", "&Datum", 5),
                            Record("O:F.O:btn.Caption", "TButton", "&Go", "&Dann", 6),
                        })
                  .empty());
  // Two controls of one window, frames and radio group items included; a clash the original had is
  // not the translation's.
  EXPECT_EQ(DetailsOf({
                Record("O:F.O:btnA.Caption", "TButton", "&Apply", "&Übernehmen", 0),
                Record("O:F.L:Frame1.I:lbl.Caption", "TLabel", "&Under", "&über", 1),
                Record("O:F.O:rg.Items.Strings[0]", "TRadioGroup", "&Metric", "&Metrisch", 2),
                Record("O:F.O:chk.Caption", "TCheckBox", "&More", "&Mehr", 3),
            }),
            (std::vector<std::string>{
                "'&Übernehmen': &Ü is used in the window also by O:F.L:Frame1.I:lbl.Caption ('&über')",
                "'&über': &Ü is used in the window also by O:F.O:btnA.Caption ('&Übernehmen')"}));
}

TEST(NotesChecks, ConsistencyRules) {
  EXPECT_EQ(
      DetailsOf({
          Record("O:F.O:a.Caption", "TLabel", "Name: ", "Name:", 0),
          Record("O:F.O:b.Caption", "TLabel", "Open...", "Öffnen\xE2\x80\xA6", 1),  // "…" is an ellipsis too
          Record("O:F.O:c.Caption", "TLabel", "Wait...", "Warten", 2),
          Record("O:F.O:d.Caption", "TLabel", "a\r\nb", "a b", 3),
          Record("O:F.O:e.Caption", "TLabel", "%d of %s", "%s von %d", 4),
          Record("O:F.O:f.Caption", "TLabel", "%1:s of %0:d", "%0:d von %1:s", 5),
          Record("O:F.O:g.Filter", "TOpenDialog", "Text|*.txt|All|*.*", "Text|*.txt|Alle", 6),
          Record("O:F.O:h.Caption", "TLabel", " x", "y", 7),
      }),
      (std::vector<std::string>{
          "trailing blanks: the original has 1, the translation 0",
          "the original ends with an ellipsis, the translation does not",
          "lines: the original has 2, the translation 1",
          "placeholders in another order: the original has %d %s, the translation %s %d",
          "elements separated by '|': the original has 4, the translation 3 ('Text|*.txt|Alle')",
          "leading blanks: the original has 1, the translation 0",
      }));
}

}  // namespace
}  // namespace rux::checks
