// Running the notes-only checks over one form's notes.
#include "checks/check_notes.h"

#include <algorithm>
#include <unordered_map>

#include "checks/checked_form.h"
#include "checks/string_checks.h"
#include "host/core/files.h"
#include "host/core/locale.h"
#include "host/core/text.h"
#include "notes/file_names.h"
#include "notes/file_services.h"
#include "notes/rux_mgr.h"

namespace rux::checks {
namespace {

vaq::TLCID LocaleOf(const std::string& tag) {
  const vaq::TLCID lcid = vaq::StrToLCID(tag);
  return lcid != 0 ? lcid : vaq::VaqGetThreadLocale();
}

bool IsNotesName(const std::string& file) {
  const std::string ext = vaq::ExtractFileExt(file);
  return vaq::AnsiSameText(ext, ".ruz") || vaq::AnsiSameText(ext, ".goz");
}

}  // namespace

std::vector<TFinding> CheckNotesLines(const std::vector<std::string>& Lines, const std::string& File,
                                      const vaq::TFileStats& Stats, TKindSet Kinds) {
  const TCheckedForm form =
      ReadCheckedForm(Lines, File, LocaleOf(Stats.SourceLang), LocaleOf(Stats.TargetLang));
  std::vector<TFinding> findings;
  if (Kinds.Has(TFindingKind::Accelerators)) CheckAccelerators(form, findings);
  if (Kinds.Has(TFindingKind::Consistency)) CheckConsistency(form, findings);
  if (Kinds.Has(TFindingKind::Untranslated)) CheckUntranslated(form, findings);

  // In the order of the records, so that a reader goes through the form once.
  std::unordered_map<std::string_view, std::size_t> position;
  for (std::size_t i = 0; i < form.Texts.size(); ++i) position.emplace(form.Texts[i].Id, i);
  const auto rank = [&](const TFinding& f) {
    const auto it = position.find(f.Id);
    return it == position.end() ? form.Texts.size() : it->second;
  };
  std::stable_sort(findings.begin(), findings.end(),
                   [&](const TFinding& a, const TFinding& b) { return rank(a) < rank(b); });
  return findings;
}

std::vector<TFinding> CheckManager(const TRuxMgr& Mgr, TKindSet Kinds) {
  return CheckNotesLines(Mgr.Lines, Mgr.FileNameToNoteName(Mgr.FileName), Mgr.Stats, Kinds);
}

std::vector<TFinding> CheckNotesFile(const std::string& File, TKindSet Kinds) {
  const std::string notes = IsNotesName(File) ? File : FileNameToNoteName(File);
  const std::string form =
      IsNotesName(File) ? vaq::ChangeFileExt(File, NoteExtToFileExt(vaq::ExtractFileExt(File))) : File;
  vaq::TFileStats stats;
  GetStats(form, false, stats);
  return CheckNotesLines(vaq::LoadLines(notes), notes, stats, Kinds);
}

}  // namespace rux::checks
