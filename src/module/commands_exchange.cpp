// vaq export and vaq import (from the module): notes <-> XLIFF 2.0, XLIFF 1.2 and PO files, for
// translators who work in other tools.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "exchange/apply.h"
#include "exchange/collect.h"
#include "exchange/folders.h"
#include "exchange/formats.h"
#include "host/core/arguments.h"
#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/locale.h"
#include "host/core/text.h"
#include "module/commands.h"
#include "notes/file_names.h"
#include "notes/file_services.h"
#include "notes/rux_mgr.h"

namespace rux {

using namespace vaq;
namespace fs = std::filesystem;
namespace ex = rux::exchange;

namespace {

ex::Format FormatOf(const std::string& name) {
  if (name == "xliff" || name == "xliff2") return ex::Format::Xliff2;
  if (name == "xliff1.2" || name == "xliff12") return ex::Format::Xliff12;
  if (name == "po") return ex::Format::Po;
  throw UsageError("--format takes xliff, xliff1.2 or po, not " + name);
}

std::string Render(const ex::Document& document, ex::Format format) {
  switch (format) {
    case ex::Format::Xliff2:
      return ex::WriteXliff2(document);
    case ex::Format::Xliff12:
      return ex::WriteXliff12(document);
    case ex::Format::Po:
      break;
  }
  return ex::WritePo(document);
}

// The common folder of absolute paths.
fs::path CommonFolder(const std::vector<fs::path>& files) {
  fs::path common = files.front().parent_path();
  for (const fs::path& file : files) {
    while (!common.empty() &&
           std::mismatch(common.begin(), common.end(), file.begin(), file.end()).first != common.end())
      common = common.parent_path();
  }
  return common;
}

// The language folder that holds `folder`: the nearest folder named by a language tag ("de-DE") at
// or above it; else `folder` itself.
fs::path LanguageFolderOf(const fs::path& folder) {
  for (fs::path at = folder; at.has_relative_path(); at = at.parent_path()) {
    const std::string name = at.filename().string();
    const TLCID lcid = StrToLCID(name);
    if (lcid != 0 && AnsiSameText(LCIDToStr(lcid), name)) return at;
  }
  return folder;
}

std::string Slashed(const fs::path& relative) {
  return relative.generic_string();
}

}  // namespace

int RunExport(const Arguments& args) {
  std::vector<std::string> positional = args.Positional;
  const std::optional<std::string> out = TakeShortOut(positional);
  if (out && args.Values.contains("--dir")) throw UsageError("give either -o FILE or --dir DIR");
  if (positional.empty())
    throw UsageError("a PROJECT folder with --lang or --langdir, or notes files, expected");
  const ex::Format format =
      args.Values.contains("--format") ? FormatOf(args.Value("--format")) : ex::Format::Xliff2;
  const ex::CollectOptions options{.All = args.Has("--all"), .UntranslatedOnly = args.Has("--untranslated")};

  // The notes files (those of PROJECT/TAG or --langdir, or those given), the folder the form paths
  // are relative to, and the project it lies in: the file records the folder relative to the
  // project, never the absolute path. Notes files given belong to the language folder above them.
  std::vector<fs::path> notesFiles;
  fs::path folder;
  fs::path project;
  if (args.Values.contains("--lang") || args.Values.contains("--langdir")) {
    if (positional.size() != 1) throw UsageError("--lang and --langdir take one PROJECT folder");
    project = fs::absolute(positional[0]).lexically_normal();
    if (project.filename().empty()) project = project.parent_path();  // "demo/" names the folder demo
    if (args.Values.contains("--langdir")) {
      folder = fs::absolute(args.Value("--langdir")).lexically_normal();
    } else {
      const TLCID lang = StrToLCID(args.Value("--lang"));
      if (lang == 0) throw UsageError("unknown language " + args.Value("--lang"));
      folder = (project / LCIDToStr(lang)).lexically_normal();
    }
    if (!fs::is_directory(folder)) {
      std::fprintf(stderr, "vaq export: %s: no language folder (run vaq update first)\n", folder.c_str());
      return kExitFileFailed;
    }
    for (const std::string& file : NotesFilesOf(folder.string())) notesFiles.emplace_back(file);
  } else {
    for (const std::string& file : positional)
      notesFiles.push_back(fs::absolute(FileNameToNoteName(FormFileOf(file))).lexically_normal());
    folder = LanguageFolderOf(CommonFolder(notesFiles));
    project = folder.parent_path();
  }
  const std::string recordedFolder = ex::RecordedFolder(project, folder);
  if (notesFiles.empty()) {
    std::fprintf(stderr, "vaq export: %s: no notes files\n", folder.c_str());
    return kExitFileFailed;
  }

  // One document per notes file with --dir, else one for all.
  std::vector<ex::Document> documents;
  int status = kExitOk;
  int units = 0;
  for (const fs::path& notes : notesFiles) {
    const std::string form = ChangeFileExt(notes.string(), NoteExtToFileExt(notes.extension().string()));
    try {
      if (!fs::exists(notes)) throw EFileError("no notes file " + notes.string());
      TFileStats stats;
      GetStats(form, false, stats);  // the header only: an export never writes the notes
      const TLCID source = StrToLCID(stats.SourceLang);
      const TLCID target = StrToLCID(stats.TargetLang);
      if (source == 0 || target == 0)
        throw EConvertError("the notes header names no source or target language");
      ex::FileUnits file{Slashed(fs::path(form).lexically_relative(folder)),
                         ex::CollectUnits(LoadLines(notes.string()), source, target, options)};
      units += static_cast<int>(file.Units.size());
      const std::string sourceTag = LCIDToStr(source);
      const std::string targetTag = LCIDToStr(target);
      if (args.Values.contains("--dir") || documents.empty()) {
        documents.push_back(
            ex::Document{sourceTag, targetTag, recordedFolder, {}, project.filename().string()});
      } else if (documents.back().TargetLang != targetTag || documents.back().SourceLang != sourceTag) {
        throw EConvertError("its languages (" + sourceTag + " -> " + targetTag + ") differ from those of " +
                            documents.back().Files.front().Original + "; export them apart or use --dir");
      }
      documents.back().Files.push_back(std::move(file));
    } catch (const EVaqError& error) {
      std::fprintf(stderr, "vaq export: %s: %s\n", notes.c_str(), error.what());
      status = kExitFileFailed;
    }
  }

  for (const ex::Document& document : documents) {
    const std::string text = Render(document, format);
    if (args.Values.contains("--dir")) {
      const fs::path target =
          fs::path(args.Value("--dir")) / (document.Files.front().Original + ex::FormatExtension(format));
      ForceDirectories(target.parent_path().string());
      WriteFileAtomic(target.string(), text);
      std::fprintf(stderr, "%s: %zu units\n", target.c_str(), document.Files.front().Units.size());
    } else if (out) {
      WriteFileAtomic(*out, text);
    } else {
      std::fwrite(text.data(), 1, text.size(), stdout);
    }
  }
  if (!args.Values.contains("--dir") && out)
    std::fprintf(stderr, "%s: %d units of %zu notes files\n", out->c_str(), units, notesFiles.size());
  return status;
}

namespace {

struct ImportOptions {
  fs::path Project;                 // --project, else the current folder
  std::optional<fs::path> LangDir;  // --langdir
  std::string Lang;                 // --lang: the language folder PROJECT/TAG and the translations' language
  bool DryRun = false;
  bool Force = false;  // take units whose record was translated since the export
};

ex::Document ReadExchangeFile(const std::string& fileName) {
  const std::string data = ReadFileBytes(fileName);
  switch (ex::DetectFormat(data)) {
    case ex::Format::Xliff2:
      return ex::ReadXliff2(data, fileName);
    case ex::Format::Xliff12:
      return ex::ReadXliff12(data, fileName);
    case ex::Format::Po:
      break;
  }
  return ex::ReadPo(fileName);
}

// Imports one exchange file; false when it could not be read or some unit was refused.
bool ImportFile(const std::string& fileName, const ImportOptions& options) {
  ex::Document document;
  try {
    document = ReadExchangeFile(fileName);
  } catch (const EVaqError& error) {
    std::fprintf(stderr, "vaq import: %s (nothing written)\n", error.what());
    return false;
  }
  const std::string langText = options.Lang.empty() ? document.TargetLang : options.Lang;
  const TLCID lang = StrToLCID(langText);
  if (lang == 0 && !langText.empty()) {
    std::fprintf(stderr, "vaq import: %s: unknown language %s (nothing written)\n", fileName.c_str(),
                 langText.c_str());
    return false;
  }

  if (!options.Lang.empty() && !document.TargetLang.empty() && StrToLCID(document.TargetLang) != lang)
    std::fprintf(stderr, "vaq import: %s: warning: the file holds translations into %s; --lang names %s\n",
                 fileName.c_str(), document.TargetLang.c_str(), LCIDToStr(lang).c_str());

  // Only the language folder the command names, inside the project, is written; the folder the file
  // recorded is a hint at most.
  ex::ImportFolder place;
  try {
    std::optional<fs::path> named = options.LangDir;
    if (!named && !options.Lang.empty()) named = options.Project / LCIDToStr(lang);
    const std::optional<fs::path> fallback =
        lang != 0 ? std::optional<fs::path>(options.Project / LCIDToStr(lang)) : std::nullopt;
    place = ex::ChooseImportFolder(options.Project, named, document.Folder, fallback);
  } catch (const EVaqError& error) {
    std::fprintf(stderr, "vaq import: %s: %s (nothing written)\n", fileName.c_str(), error.what());
    return false;
  }
  if (!place.Warning.empty())
    std::fprintf(stderr, "vaq import: %s: warning: %s\n", fileName.c_str(), place.Warning.c_str());

  bool ok = true;
  for (const ex::FileUnits& file : document.Files) {
    std::string notes = fileName;  // named in messages once the notes file is known
    try {
      const std::string form = ex::FormInFolder(place, file.Original).string();
      notes = FileNameToNoteName(form);
      if (!FileExists(notes)) throw EFileError("no notes file " + notes);
      TFileStats stats;
      GetStats(form, false, stats);
      const TLCID source = StrToLCID(stats.SourceLang);
      const TLCID target = StrToLCID(stats.TargetLang);
      if (lang != 0 && target != lang)
        throw EConvertError("the notes are for " + stats.TargetLang + ", the translations for " +
                            LCIDToStr(lang));
      const ex::ApplyOptions apply{.Force = options.Force};
      std::vector<std::string> lines = LoadLines(notes);
      const TDateTime now = VaqNow();
      ex::ApplyReport report = ex::ApplyUnits(lines, file.Units, source, target, now, apply);
      if (report.Changed() && !options.DryRun) {
        // Saved as the editor saves: stale notes refreshed first (a changed translated form read
        // back, the records recounted), then the notes and the translated form, written once for
        // the refresh and the units together. Notes that were not stale keep the lines the units
        // were applied to, read once; a refresh gives new lines, and the units are applied to
        // them again.
        const bool stale = ReadBackStaleForm(form, stats);
        TRuxMgr mgr;
        if (stale) {
          mgr.Lines = LoadLines(notes);
          mgr.LoadFromStringList(nullptr, form, std::string());
          mgr.ReCalcStats(mgr.Stats.Translated, mgr.Stats.Untranslated);
          report = ex::ApplyUnits(mgr.Lines, file.Units, source, target, now, apply);
        } else {
          mgr.Lines = std::move(lines);
          mgr.LoadFromStringList(nullptr, form, std::string());
        }
        mgr.Save(true, std::string(), std::string(), false);
      }
      std::printf("%s: taken %d, left alone %d, refused %d%s\n", notes.c_str(), report.Taken,
                  report.LeftAlone, report.Refused,
                  options.DryRun && report.Changed() ? " (dry run: nothing written)" : "");
      for (const std::string& message : report.Messages) std::printf("  refused %s\n", message.c_str());
      if (report.Refused > 0) ok = false;
    } catch (const EVaqError& error) {
      std::fprintf(stderr, "vaq import: %s: %s\n", notes.c_str(), error.what());
      ok = false;
    }
  }
  return ok;
}

}  // namespace

int RunImport(const Arguments& args) {
  ImportOptions options;
  options.Project = fs::absolute(args.Value("--project", ".")).lexically_normal();
  if (args.Values.contains("--langdir"))
    options.LangDir = fs::absolute(args.Value("--langdir")).lexically_normal();
  options.Lang = args.Value("--lang");
  options.DryRun = args.Has("--dry-run");
  options.Force = args.Has("--force");
  if (!options.Lang.empty() && StrToLCID(options.Lang) == 0)
    throw UsageError("unknown language " + options.Lang);
  if (!fs::is_directory(options.Project)) throw UsageError("no project folder " + options.Project.string());
  int status = kExitOk;
  for (const std::string& file : args.Positional)
    if (!ImportFile(file, options)) status = kExitFileFailed;
  return status;
}

}  // namespace rux
