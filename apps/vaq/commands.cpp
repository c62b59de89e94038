// The table of vaq's own subcommands.
#include "command.h"

namespace vaq::app {

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"update",
       "update PROJECT --lang TAG[,TAG...] | --all-languages [--source TAG] [--langdir DIR] [--overwrite]\n"
       "           [--module FILE] [--use-repository] [--repository DB|URI] [--no-renames] [--quiet]",
       "Brings the notes of every form of the project folder PROJECT up to date for the language\n"
       "TAG: each form gets a translated copy and a notes file in the language folder (PROJECT/TAG\n"
       "or --langdir), unchanged forms are skipped, translated copies edited by hand are read back\n"
       "first, and the translated forms are written again. Several languages (--lang de-DE,fr-FR, or\n"
       "--all-languages: every language folder that holds notes) are done in one pass that reads\n"
       "each form once. --source: the forms' language (default: the one of the existing notes, else\n"
       "en-US). --overwrite starts the notes afresh. --module: only the forms linked into this built\n"
       "program (and the library's dialogs it links). --use-repository: new values take translations\n"
       "from the translation repository (a server that cannot be reached stops the update before it\n"
       "changes anything). A component renamed in the form (same class, parent and texts) keeps its\n"
       "translations under its new name, and the update says so; --no-renames treats it as removed\n"
       "and added. A form that cannot be read, or whose notes file is damaged, is reported\n"
       "and left as it is. One line per form and a summary per language on standard error; on a\n"
       "terminal a status line shows the progress and only forms whose notes changed keep their\n"
       "line. --quiet: only problems and the summary.",
       {.ValueOptions = {"--lang", "--source", "--langdir", "--module", "--repository"},
        .FlagOptions = {"--overwrite", "--use-repository", "--no-renames", "--quiet", "--all-languages"},
        .MinPositional = 1,
        .MaxPositional = 1},
       RunUpdate},
      {"languages",
       "languages PROJECT",
       "Lists the language folders of the project folder PROJECT, one a line: the language, then\n"
       "the number of notes files and the translated and untranslated values their statistics\n"
       "record, the source language and the folder.",
       {.ValueOptions = {}, .FlagOptions = {}, .MinPositional = 1, .MaxPositional = 1},
       RunLanguages},
      {"project",
       "project PROJECT --lang TAG --pascal|--cpp [--langdir DIR] [--name IDENT]",
       "Generates the resource-module project of the language TAG in its language folder: a Pascal\n"
       "library or a C++ source that binds the translated form of every form of PROJECT. The file\n"
       "is named after PROJECT's folder; the library inside it gets an identifier made from that\n"
       "name (other scripts transliterated, other characters as _), or IDENT with --name.",
       {.ValueOptions = {"--lang", "--langdir", "--name"},
        .FlagOptions = {"--pascal", "--cpp"},
        .MinPositional = 1,
        .MaxPositional = 1},
       RunProject},
      {"convert",
       "convert IN OUT [--to text|binary|resource]",
       "Converts a form file between its text notation, its binary form and the resource form\n"
       "(binary form behind a resource header), and says which notation IN was in. Without\n"
       "--to, text becomes binary and binary becomes text. A parse error names the line.",
       {.ValueOptions = {"--to"}, .FlagOptions = {}, .MinPositional = 2, .MaxPositional = 2},
       RunConvert,
       false},
      {"stats",
       "stats FILE... [--refresh]",
       "Shows the statistics of notes files: translated and untranslated values, languages and\n"
       "the dates recorded. --refresh first brings stale statistics up to date (a notes file\n"
       "edited since it was written is recounted and saved again). FILE is a form file or its\n"
       "notes file.",
       {.ValueOptions = {}, .FlagOptions = {"--refresh"}, .MinPositional = 1},
       RunStats},
      {"search",
       "search TEXT FILE... [--case-sensitive] [--whole-word] [--ignore-accelerators] [--columns C,...]",
       "Finds TEXT in the translatable records of notes files; prints one line per hit: file,\n"
       "row, column, position, Id and the text searched. --columns limits the search to some of\n"
       "Id, Orig, Status, Curr, Created, Modified, PrevOrig, PrevCurr, Comment.",
       {.ValueOptions = {"--columns"},
        .FlagOptions = {"--case-sensitive", "--whole-word", "--ignore-accelerators"},
        .MinPositional = 2},
       RunSearch},
      {"purge",
       "purge FILE... [--quiet]",
       "Removes the unused records (values no longer in the form) from notes files. --quiet:\n"
       "only problems and the summary.",
       {.ValueOptions = {}, .FlagOptions = {"--quiet"}, .MinPositional = 1},
       RunPurge},
      {"pseudo",
       "pseudo FILE... [--quiet]",
       "Pseudo-translates notes files: marks every translatable string value so that untranslated\n"
       "or clipped texts stand out in the translated form, and writes the translated form.\n"
       "--quiet: only problems and the summary.",
       {.ValueOptions = {}, .FlagOptions = {"--quiet"}, .MinPositional = 1},
       RunPseudo},
      {"dict",
       "dict FILE... --out DICT [--quiet]",
       "Adds the string values of notes files to the dictionary file DICT, one line per value:\n"
       "\"form file\",\"Id\",\"original\",\"current\". --quiet: only problems and the summary.",
       {.ValueOptions = {"--out"}, .FlagOptions = {"--quiet"}, .MinPositional = 1},
       RunDict},
      {"repository",
       "repository add FILE... [--quiet] | list [--source TAG] [--lang TAG] [--history]\n"
       "           | remove --source TAG --lang TAG [ORIGINAL...]\n"
       "           | suggest TEXT --lang TAG [--source TAG] [--min PERCENT] [--limit N]   [--repository "
       "DB|URI]",
       "Keeps the translation repository that updates and the editor take translations from: add\n"
       "stores the translated values of notes files under the languages of their headers (an\n"
       "action of the module); list prints one entry per line (source, target, original,\n"
       "translation, last use; tab-separated), --history the translations that others replaced\n"
       "(with who stored them and when, who replaced them and when); remove drops a language\n"
       "pair's entries, or only those of the given originals; suggest prints the stored\n"
       "translations of sources similar to TEXT, best first: similarity, stored source,\n"
       "translation (--min: at least this similar, default 75; --limit: at most this many, default\n"
       "5; --source: default en-US). --repository names the repository: a file, or a PostgreSQL\n"
       "URI (postgresql://host/db) that a team shares; default: the option Repository, else\n"
       "repository.db in the configuration folder. --quiet: add prints only problems and the summary.",
       {.ValueOptions = {"--repository", "--source", "--lang", "--min", "--limit"},
        .FlagOptions = {"--quiet", "--history"},
        .MinPositional = 1},
       RunRepository,
       false},
      {"options",
       "options [NAME [VALUE]]",
       "Lists the options (index, name, value), shows one, or sets one. NAME is the option's name\n"
       "or index; VALUE is true/false (also 1/0, yes/no), a number or a text, as the option takes.",
       {.ValueOptions = {}, .FlagOptions = {}, .MinPositional = 0, .MaxPositional = 2},
       RunOptions,
       false},
      {"locale",
       "locale LANGUAGE...",
       "Shows how vaq understands language names: locale id, tag, three-letter abbreviation,\n"
       "English name and code page. LANGUAGE is a tag (de-DE), an abbreviation (DEU) or an id\n"
       "(1031, $0407).",
       {.ValueOptions = {}, .FlagOptions = {}, .MinPositional = 1},
       RunLocale,
       false},
  };
  return commands;
}

}  // namespace vaq::app
