// vaq extract: the values of a form file as the update reads them.
#include <cstdio>

#include "command.h"
#include "host/core/locale.h"
#include "notes/column_table.h"
#include "updater/form_reader.h"
#include "updater/localizable.h"

namespace vaq::app {

int RunExtract(const Arguments& args) {
  const std::string& form = args.Positional[0];
  const TLCID lang = args.Values.contains("--lang") ? StrToLCID(args.Value("--lang")) : VaqGetThreadLocale();
  if (lang == 0) throw UsageError("unknown language " + args.Value("--lang"));
  rux::TExtractedLines lines;
  if (!rux::ExtractFormLines(form, lines, lang)) return kExitFileFailed;  // the reason is already shown
  const rux::TFormInfo info;  // a default form information: no class of the form's own
  for (const rux::TExtractedLine& line : lines) {
    TVaqNotesString record;
    record.Id = line.Id;
    record.Orig = record.Curr = line.Data.Value;
    record.Type = line.Data.Type;
    std::printf("%s\t%s\t%s\t%s\t%s\t%s\n", StringToUtf8(lang, line.Id).c_str(),
                StringToUtf8(lang, line.Data.Value).c_str(), line.Data.Type.c_str(), line.Data.Open.c_str(),
                line.Data.Close.c_str(), rux::IsLocalizable(record, &info) ? "1" : "0");
  }
  return kExitOk;
}

}  // namespace vaq::app
