// The module's host commands: their table and the helpers they share.
#include "module/commands.h"

#include <cstdio>
#include <exception>

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
       "the text comes out byte for byte as it was read. --lang names the language whose code\n"
       "page the values are in (default: the system's).",
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
      // The host's repository command hands its "add" action on to this one.
      {"repository add",
       "repository add FILE... [--repository DB]",
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

int ForEachFile(const char* command, const std::vector<std::string>& files,
                const std::function<void(const std::string& formFile)>& job) {
  int status = vaq::kExitOk;
  for (const std::string& file : files) {
    try {
      job(FormFileOf(file));
    } catch (const std::exception& error) {
      std::fprintf(stderr, "vaq %s: %s: %s\n", command, file.c_str(), error.what());
      status = vaq::kExitFileFailed;
    }
  }
  return status;
}

}  // namespace rux
