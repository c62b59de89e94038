// The module's host commands: their table and the helpers they share.
#include "module/commands.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>

#include "host/core/commands.h"
#include "host/core/files.h"
#include "host/core/text.h"
#include "module/desktop_commands.h"
#include "notes/file_names.h"

namespace rux {
namespace {

std::vector<vaq::TVaqCommand> Table() {
  return {
      {"records",
       "records FILE... [--check] [--lang TAG]",
       "Lists the records of notes files (a form file names its notes file): order, status, Id,\n"
       "original and current value. --check also writes every record again and verifies that\n"
       "the text comes out byte for byte as it was read. Values are read in the code page of\n"
       "their language (original: the source language of the notes, current: the target\n"
       "language); --lang names one language for both, for notes without languages.",
       {.ValueOptions = {"--lang"}, .FlagOptions = {"--check"}, .MinPositional = 1},
       RunRecords},
      {"extract",
       "extract FORM [--lang TAG]",
       "Prints the values of a form file as an update reads them, one per line, tab-separated:\n"
       "Id, value (form-text notation), Type, Open, Close and 1/0 for translatable. --lang names\n"
       "the form's language (its code page; default: the system's).",
       {.ValueOptions = {"--lang"}, .FlagOptions = {}, .MinPositional = 1, .MaxPositional = 1},
       RunExtract},
      {"write",
       "write FILE [--original] [--format plain|formatted|binary] [-o OUT | --out OUT]",
       "Writes the form of a notes file (FILE is the form file or its notes file) from its records:\n"
       "the current values, or the original ones with --original, to the form file itself or to\n"
       "OUT. --format: plain (the text as generated), formatted (canonical form text) or binary;\n"
       "default: the option FormAsText (formatted when on or unset, binary when off). The text is\n"
       "converted under the target language of the notes; text the conversion rejects is saved\n"
       "in a .ERR_RUX file beside the form.",
       {.ValueOptions = {"--format", "--out"},
        .FlagOptions = {"--original"},
        .MinPositional = 1,
        .MaxPositional = 3},
       RunWrite},
      {"export",
       "export PROJECT --lang TAG | PROJECT --langdir DIR | NOTES... [--format xliff|xliff1.2|po]\n"
       "       [-o FILE | --dir DIR] [--all] [--untranslated]",
       "Exports the translatable texts of notes files for other translation tools: those of the\n"
       "language folder PROJECT/TAG (or --langdir), or the notes files given. The file records the\n"
       "language folder relative to the project. --format: XLIFF 2.0 (default), XLIFF 1.2 or PO.\n"
       "-o writes one file for all, --dir one file per notes file, else standard output. --all\n"
       "adds the other translatable values (numbers, geometry, sets) as notation; --untranslated\n"
       "only the untranslated and the automatically translated ones.",
       {.ValueOptions = {"--lang", "--langdir", "--format", "--dir"},
        .FlagOptions = {"--all", "--untranslated"},
        .MinPositional = 1},
       RunExport},
      {"import",
       "import FILE... [--project PROJECT] [--lang TAG | --langdir DIR] [--force] [--dry-run]",
       "Takes the translations of XLIFF or PO files made by export back into the notes and writes\n"
       "the translated forms, only inside PROJECT (default: the current folder): into the language\n"
       "folder PROJECT/TAG, or --langdir, else the one the file recorded. Prints per notes file the\n"
       "units taken, left alone and refused (with the reason); exits with 1 when a unit was\n"
       "refused. A unit whose record was translated since the export is refused unless --force;\n"
       "--dry-run writes nothing.",
       {.ValueOptions = {"--project", "--lang", "--langdir"},
        .FlagOptions = {"--dry-run", "--force"},
        .MinPositional = 1},
       RunImport},
      // The host's repository command hands its "add" action on to this one.
      {"repository add",
       "repository add FILE... [--repository DB|URI]",
       "Stores the translated values of notes files in the translation repository, under the\n"
       "languages of their headers.",
       {.ValueOptions = {"--repository", "--source", "--lang"}, .FlagOptions = {}, .MinPositional = 1},
       RunRepositoryAdd},
  };
}

}  // namespace

void RegisterModuleCommands() {
  for (vaq::TVaqCommand& command : Table()) vaq::RegisterVaqCommand(std::move(command));
  // Announced only: the desktop build gives them their work (module/desktop).
  RegisterDesktopCommands([](std::string_view) { return std::function<int(const vaq::Arguments&)>(); });
}

void UnregisterModuleCommands() {
  UnregisterDesktopCommands();
  for (const vaq::TVaqCommand& command : Table()) vaq::UnregisterVaqCommand(command.Name);
}

std::string FormFileOf(const std::string& argument) {
  const std::string ext = vaq::ExtractFileExt(argument);
  if (vaq::AnsiSameText(ext, ".ruz") || vaq::AnsiSameText(ext, ".goz")) {
    return vaq::ChangeFileExt(argument, NoteExtToFileExt(ext));
  }
  return argument;
}

std::optional<std::string> TakeShortOut(std::vector<std::string>& positional) {
  std::optional<std::string> out;
  for (std::size_t i = 0; i < positional.size(); ++i) {
    if (positional[i] != "-o") continue;
    if (out || i + 1 == positional.size()) throw vaq::UsageError("-o needs one output file");
    out = positional[i + 1];
    positional.erase(positional.begin() + static_cast<std::ptrdiff_t>(i),
                     positional.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    --i;
  }
  return out;
}

std::vector<std::string> NotesFilesOf(const std::string& langDir) {
  namespace fs = std::filesystem;
  std::error_code error;
  if (!fs::is_directory(langDir, error)) throw vaq::EFileError(langDir + ": no such language folder");
  std::vector<std::string> files;
  for (auto it = fs::recursive_directory_iterator(langDir, error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    const std::string ext = it->path().extension().string();
    if (it->is_regular_file(error) && (vaq::AnsiSameText(ext, ".ruz") || vaq::AnsiSameText(ext, ".goz")))
      files.push_back(it->path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

int ForEachFile(const char* command, const std::vector<std::string>& files,
                const std::function<void(const std::string& formFile)>& job, vaq::TProgress* progress) {
  int status = vaq::kExitOk;
  for (const std::string& file : files) {
    try {
      if (progress != nullptr) progress->Step(file);
      job(FormFileOf(file));
    } catch (const std::exception& error) {
      const std::string line = std::string("vaq ") + command + ": " + file + ": " + error.what();
      if (progress != nullptr) {
        progress->Print(stderr, line);
      } else {
        std::fprintf(stderr, "%s\n", line.c_str());
      }
      status = vaq::kExitFileFailed;
    }
  }
  if (progress != nullptr) progress->Finish();
  return status;
}

}  // namespace rux
