// The desktop commands' table.
#include "module/desktop_commands.h"

#include <cstdio>
#include <string>

#include "host/core/arguments.h"

namespace rux {

std::vector<vaq::TVaqCommand> DesktopCommandDefs() {
  std::vector<vaq::TVaqCommand> table = {
      {"preview",
       "preview FILE [--original | --translated | --both] [--png OUT] [--tree] [--lang TAG]",
       "Shows a form live: FILE is a form file, a notes file or a translated form. --png renders\n"
       "it without a display into a PNG picture (--both: original and translation side by side);\n"
       "--tree prints one line per component (path, class, shown, bounds, text). Without either,\n"
       "opens the preview windows until they are closed.",
       {.ValueOptions = {"--png", "--lang"},
        .FlagOptions = {"--original", "--translated", "--both", "--tree"},
        .MinPositional = 1,
        .MaxPositional = 1},
       {}},
      {"edit",
       "edit [PROJECT --lang TAG | FILE...] [--goto ID] [--screenshot OUT.png]",
       "Opens the translation editor on the forms of a project's language folder or on the given\n"
       "notes files. --goto makes the record with this Id current. --screenshot renders the window\n"
       "without a display after loading into a PNG, with the previews shown beside it.",
       {.ValueOptions = {"--lang", "--screenshot", "--goto"}, .FlagOptions = {}, .MinPositional = 0},
       {}},
      {"check",
       "check PROJECT --lang TAG | FILE... [--format text|json] [--png DIR] [--only KIND,...]",
       "Checks translated forms: text that no longer fits its control, accelerator clashes and lost\n"
       "accelerators, placeholders, blanks and line counts the translation changed, untranslated\n"
       "texts. One line per finding and a summary; exit status 1 when there is a finding.\n"
       "--format json for tools; --png DIR pictures of the forms with findings, clipped controls\n"
       "outlined; --only fit,accelerators,consistency,untranslated picks kinds.",
       {.ValueOptions = {"--lang", "--format", "--png", "--only"}, .FlagOptions = {}, .MinPositional = 1},
       {}},
  };
  for (vaq::TVaqCommand& command : table) command.Desktop = true;
  return table;
}

void RegisterDesktopCommands(
    const std::function<std::function<int(const vaq::Arguments&)>(std::string_view Name)>& RunOf) {
  for (vaq::TVaqCommand& command : DesktopCommandDefs()) {
    command.Run = RunOf(command.Name);
    if (!command.Run) {
      command.Run = [name = command.Name](const vaq::Arguments&) {
        std::fprintf(stderr, "vaq %s: this build of the module cannot run it\n", name.c_str());
        return vaq::kExitFileFailed;
      };
    }
    vaq::RegisterVaqCommand(std::move(command));
  }
}

void UnregisterDesktopCommands() {
  for (const vaq::TVaqCommand& command : DesktopCommandDefs()) vaq::UnregisterVaqCommand(command.Name);
}

}  // namespace rux
