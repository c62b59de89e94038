// vaq write (from the module): the form file of a notes file, rebuilt from its records.
#include <cstdio>
#include <optional>

#include "creator/creator.h"
#include "host/core/arguments.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/flags.h"
#include "host/core/locale.h"
#include "host/core/registry.h"
#include "module/commands.h"
#include "notes/file_names.h"
#include "notes/file_services.h"

namespace rux {

using namespace vaq;
namespace {

// A Boolean of the module's options; `fallback` when it is not stored.
bool ModuleOption(const char* name, bool fallback) {
  TRegistry registry;
  if (!registry.OpenKey(VaqBaseRegKey + "\\RUX", false) || !registry.ValueExists(name)) return fallback;
  return registry.ReadBool(name);
}

TVaqFormFormat FormatOf(const std::string& name) {
  if (name == "plain") return uffUnformatedText;
  if (name == "formatted") return uffFormatedText;
  if (name == "binary") return uffBinary;
  throw UsageError("--format takes plain, formatted or binary, not " + name);
}

const char* FormatName(TVaqFormFormat format) {
  switch (format) {
    case uffUnformatedText:
      return "plain";
    case uffFormatedText:
      return "formatted";
    default:
      return "binary";
  }
}

}  // namespace

int RunWrite(const Arguments& args) {
  std::vector<std::string> positional = args.Positional;
  std::optional<std::string> out = TakeShortOut(positional);
  if (args.Values.contains("--out")) {
    if (out) throw UsageError("give the output file once (-o or --out)");
    out = args.Value("--out");
  }
  if (positional.size() != 1) throw UsageError("one FILE expected");
  const std::string& file = positional[0];

  try {
    // Text is the default, so that a form written without options is readable.
    const TVaqFormFormat format = args.Values.contains("--format")   ? FormatOf(args.Value("--format"))
                                  : ModuleOption("FormAsText", true) ? uffFormatedText
                                                                     : uffBinary;

    const std::string form = FormFileOf(file);
    const std::string target = out.value_or(form);
    TFileStats stats;
    GetStats(form, false, stats);
    TLCID locale = StrToLCID(stats.TargetLang);
    if (locale == 0) locale = VaqGetThreadLocale();
    const std::vector<std::string> lines = LoadLines(FileNameToNoteName(form));

    TRuxCreator& creator = RuxCreator();
    creator.ShowErrors = false;  // reported below, with the file's name
    if (creator.Execute(lines, target, args.Has("--original"), format, locale)) {
      std::printf("%s: written (%s)\n", target.c_str(), FormatName(format));
      return kExitOk;
    }
    if (!creator.ErrorText.empty()) {
      std::fprintf(stderr, "%s: %s\n", file.c_str(), creator.ErrorText.c_str());
    } else {
      std::fprintf(stderr, "%s: no form written (no record to write, or the form could not be stored)\n",
                   file.c_str());
    }
    return kExitFileFailed;
  } catch (const EVaqError& error) {
    std::fprintf(stderr, "%s: %s\n", file.c_str(), error.what());
    return kExitFileFailed;
  }
}

}  // namespace rux
