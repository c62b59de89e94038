// A copy of the demo project for the checks' tests: originals edited, updated for de-DE through
// the module's file type, and translated into German in the notes through the manager, with faults
// planted on the way.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/values/string_notation.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/locale.h"
#include "host/core/registration.h"
#include "host/core/resource_strings.h"
#include "host/framework/ide.h"
#include "module/module.h"
#include "notes/notes_record.h"
#include "notes/rux_mgr.h"
#include "support/host_fakes.h"
#include "support/temp_dir.h"

namespace rux::checks::demo {

using Units = vaq::testing::TUnitList;

// A German translation of every text of the demo.
const std::map<std::string, std::string> kGerman = {
    {"Street", "Straße"},
    {"City:", "Ort:"},
    {"City", "Ort"},
    {"Germany", "Deutschland"},
    {"Russia", "Russland"},
    {"United States", "Vereinigte Staaten"},
    {"Dialog", "Dialog"},
    {"OK", "OK"},
    {"Cancel", "Abbrechen"},
    {"Orders", "Bestellungen"},
    {"Tahoma", "Tahoma"},
    {"&OK", "&OK"},
    {"Save the order %s and close", "Bestellung %s speichern und schließen"},
    {"Save the order and close", "Bestellung speichern und schließen"},
    {"First", "Erste"},
    {"It's", "Es ist"},
    {"Date", "Datum"},
    {"Sum", "Summe"},
    {"Street (delivery)", "Straße (Lieferung)"},
    {"&File", "&Datei"},
    {"&Open...", "Ö&ffnen..."},
    {"E&xit", "&Beenden"},
    {"&Help", "&Hilfe"},
    {"&About...", "&Info..."},
    {"Options", "Optionen"},
    {"&Apply", "Ü&bernehmen"},
    {"&Save orders automatically", "&Automatisch speichern"},
    {"Save orders automatically", "Automatisch speichern"},
    {"Units", "Einheiten"},
    {"Metric", "Metrisch"},
    {"Imperial", "Angloamerikanisch"},
    {"Monthly report", "Monatsbericht"},
    {"Sales by month", "Umsatz nach Monat"},
    {"Ready", "Bereit"},
    {"No filter", "Kein Filter"},
    {"", ""},
};

// A text in the notes' notation, in the German code page: quoted runs, control characters as codes.
inline std::string Quoted(const std::string& utf8) {
  std::string quoted;
  bool open = false;
  for (char c : vaq::Utf8ToString(0x0407, utf8)) {
    if (static_cast<unsigned char>(c) < 32) {
      quoted += (open ? "'#" : "#") + std::to_string(c);
      open = false;
      continue;
    }
    if (!open) quoted += '\'';
    open = true;
    quoted += c == '\'' ? std::string("''") : std::string(1, c);
  }
  return quoted.empty() ? "''" : open ? quoted + "'" : quoted;
}

class TDemoProject {
 public:
  TDemoProject() {
    std::filesystem::copy(std::filesystem::path(VAQ_TESTS_SOURCE_DIR) / ".." / "examples" / "demo", Project(),
                          std::filesystem::copy_options::recursive);
  }
  ~TDemoProject() {
    if (started_) ModuleShutdown();
  }

  std::string Project(const std::string& name = {}) const {
    return name.empty() ? files_ / "project" : files_ / ("project/" + name);
  }
  std::string Lang(const std::string& name = {}) const {
    return name.empty() ? files_ / "project/de-DE" : files_ / ("project/de-DE/" + name);
  }

  // Replaces `from` by `to` in an original form.
  void Edit(const std::string& form, const std::string& from, const std::string& to) {
    std::string text = vaq::ReadFileBytes(Project(form));
    text.replace(text.find(from), from.size(), to);
    vaq::WriteFileAtomic(Project(form), text);
  }

  // Starts the module and updates every form for de-DE.
  void Update() {
    if (!started_) ModuleStartup();
    started_ = true;
    std::vector<std::string> units;
    for (const char* unit :
         {"MainForm.pas", "AddressFrame.pas", "BaseDialog.pas", "OptionsDialog.pas", "ReportView.cpp"})
      units.push_back(Project(unit));
    Units tools(units);
    vaq::TStats stats;
    vaq::TStringObjectList forms;
    vaq::GetVaqFileType(vaq::VaqFileTypes.ExtIndexOf(".rux"))
        ->UpdateForms(&forms, stats, Project(), Project(), Lang(), vaq::sUpdate, {}, 0x0409, 0x0407, &tools,
                      0, {});
  }

  // Translates a form through the manager with kGerman; `plant` changes records on the way.
  void Translate(
      const std::string& form,
      const std::function<void(vaq::TVaqNotesString&)>& plant = [](vaq::TVaqNotesString&) {}) {
    TRuxMgr mgr(Lang(form));
    for (std::string& line : mgr.Lines) {
      vaq::TVaqNotesString record = mgr.StringToNotesString(line, mgr.FileName);
      const std::optional<std::u16string> orig = vaq::values::DecodeString(record.Orig, 0x0409);
      if (orig && record.Status != StatusObsolete) {
        const auto it = kGerman.find(vaq::Utf16ToUtf8(*orig));
        EXPECT_NE(it, kGerman.end()) << form << ": no translation of " << record.Orig;
        if (it != kGerman.end()) {
          record.Curr = Quoted(it->second);
          record.Status = StatusTranslated;
        }
      }
      plant(record);
      line = mgr.NotesStringToString(record, false);
    }
    mgr.Save(false, "", "", false);
  }

 private:
  vaq::testing::TempDir config_{vaq::testing::TempDir::kConfig};
  vaq::testing::TempDir files_;
  const vaq::ScopedMessageSink quiet_{std::make_unique<vaq::CollectingSink>()};
  bool started_ = false;
};

}  // namespace rux::checks::demo
