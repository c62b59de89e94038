// The table of vaq's subcommands.
#include "command.h"

namespace vaq::app {

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"records",
       "records FILE... [--check] [--lang TAG]",
       "Lists the records of notes files (a form file names its notes file): order, status, Id,\n"
       "original and current value. --check also writes every record again and verifies that\n"
       "the text comes out byte for byte as it was read. --lang names the language whose code\n"
       "page the values are in (default: the system's).",
       {.ValueOptions = {"--lang"}, .FlagOptions = {"--check"}, .MinPositional = 1},
       RunRecords},
      {"convert",
       "convert IN OUT [--to text|binary|resource]",
       "Converts a form file between its text notation, its binary form and the resource form\n"
       "(binary form behind a resource header), and says which notation IN was in. Without\n"
       "--to, text becomes binary and binary becomes text. A parse error names the line.",
       {.ValueOptions = {"--to"}, .FlagOptions = {}, .MinPositional = 2, .MaxPositional = 2},
       RunConvert},
      {"locale",
       "locale LANGUAGE...",
       "Shows how vaq understands language names: locale id, tag, three-letter abbreviation,\n"
       "English name and code page. LANGUAGE is a tag (de-DE), an abbreviation (DEU) or an id\n"
       "(1031, $0407).",
       {.ValueOptions = {}, .FlagOptions = {}, .MinPositional = 1},
       RunLocale},
  };
  return commands;
}

}  // namespace vaq::app
