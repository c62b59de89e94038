// vaq export and vaq import (from the module): notes <-> XLIFF 2.0, XLIFF 1.2 and PO files, for
// translators who work in other tools.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "exchange/apply.h"
#include "exchange/collect.h"
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

// The notes files to export, each with the folder its form path is relative to.
struct NotesToExport {
  fs::path Notes;
  fs::path Folder;
};

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

std::string Slashed(const fs::path& relative) {
  return relative.generic_string();
}

}  // namespace

int RunExport(const Arguments& args) {
  std::vector<std::string> positional = args.Positional;
  const std::optional<std::string> out = TakeShortOut(positional);
  if (out && args.Values.contains("--dir")) throw UsageError("give either -o FILE or --dir DIR");
  if (positional.empty()) throw UsageError("a PROJECT folder with --lang, or notes files, expected");
  const ex::Format format =
      args.Values.contains("--format") ? FormatOf(args.Value("--format")) : ex::Format::Xliff2;
  const ex::CollectOptions options{.All = args.Has("--all"), .UntranslatedOnly = args.Has("--untranslated")};

  // The notes files: those of PROJECT/TAG, or those given.
  std::vector<fs::path> notesFiles;
  fs::path folder;
  if (args.Values.contains("--lang")) {
    if (positional.size() != 1) throw UsageError("--lang takes one PROJECT folder");
    const TLCID lang = StrToLCID(args.Value("--lang"));
    if (lang == 0) throw UsageError("unknown language " + args.Value("--lang"));
    folder = fs::absolute(fs::path(positional[0]) / LCIDToStr(lang)).lexically_normal();
    if (!fs::is_directory(folder)) {
      std::fprintf(stderr, "vaq export: %s: no language folder (run vaq update first)\n", folder.c_str());
      return kExitFileFailed;
    }
    for (const std::string& file : NotesFilesOf(folder.string())) notesFiles.emplace_back(file);
  } else {
    for (const std::string& file : positional)
      notesFiles.push_back(fs::absolute(FileNameToNoteName(FormFileOf(file))).lexically_normal());
    folder = CommonFolder(notesFiles);
  }
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
        documents.push_back(ex::Document{sourceTag, targetTag, folder.string(), {}});
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
  std::string Lang;  // overrides the file's target language
  bool DryRun = false;
};

// Imports one exchange file; false when it could not be read or some unit was refused.
bool ImportFile(const std::string& fileName, const ImportOptions& options) {
  ex::Document document;
  try {
    const std::string data = ReadFileBytes(fileName);
    switch (ex::DetectFormat(data)) {
      case ex::Format::Xliff2:
        document = ex::ReadXliff2(data, fileName);
        break;
      case ex::Format::Xliff12:
        document = ex::ReadXliff12(data, fileName);
        break;
      case ex::Format::Po:
        document = ex::ReadPo(fileName);
        break;
    }
  } catch (const EVaqError& error) {
    std::fprintf(stderr, "vaq import: %s (nothing written)\n", error.what());
    return false;
  }
  const std::string langText = options.Lang.empty() ? document.TargetLang : options.Lang;
  const TLCID lang = StrToLCID(langText);
  if (lang == 0) {
    std::fprintf(stderr, "vaq import: %s: %s (nothing written)\n", fileName.c_str(),
                 langText.empty() ? "the file names no target language; give --lang"
                                  : ("unknown language " + langText).c_str());
    return false;
  }
  if (document.Folder.empty()) {
    std::fprintf(stderr, "vaq import: %s: the file names no language folder (was it exported by vaq?)\n",
                 fileName.c_str());
    return false;
  }

  bool ok = true;
  for (const ex::FileUnits& file : document.Files) {
    const fs::path relative = fs::path(file.Original).lexically_normal();
    const std::string form = (fs::path(document.Folder) / relative).string();
    const std::string notes = FileNameToNoteName(form);
    try {
      if (relative.is_absolute() || (!relative.empty() && *relative.begin() == ".."))
        throw EFileError("the form file " + file.Original + " lies outside the language folder");
      const std::string ext = relative.extension().string();
      if (!AnsiSameText(ext, ".rux") && !AnsiSameText(ext, ".gox"))
        throw EFileError("the file " + file.Original + " is no form file (.rux, .gox)");
      if (!FileExists(notes)) throw EFileError("no notes file " + notes);
      TFileStats stats;
      GetStats(form, false, stats);
      const TLCID source = StrToLCID(stats.SourceLang);
      const TLCID target = StrToLCID(stats.TargetLang);
      if (target != lang)
        throw EConvertError("the notes are for " + stats.TargetLang + ", the translations for " +
                            LCIDToStr(lang));
      std::vector<std::string> lines = LoadLines(notes);
      ex::ApplyReport report = ex::ApplyUnits(lines, file.Units, source, target, VaqNow());
      if (report.Changed() && !options.DryRun) {
        // Saved as the editor saves: stale notes refreshed first, then the notes and the translated
        // form. Applied again to the manager's lines, which the refresh may have changed.
        RefreshStaleStats(form, stats);
        TRuxMgr mgr(form);
        report = ex::ApplyUnits(mgr.Lines, file.Units, source, target, VaqNow());
        if (report.Changed()) mgr.Save(true, std::string(), std::string(), false);
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
  ImportOptions options{args.Value("--lang"), args.Has("--dry-run")};
  if (!options.Lang.empty() && StrToLCID(options.Lang) == 0)
    throw UsageError("unknown language " + options.Lang);
  int status = kExitOk;
  for (const std::string& file : args.Positional)
    if (!ImportFile(file, options)) status = kExitFileFailed;
  return status;
}

}  // namespace rux
