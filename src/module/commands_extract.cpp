// vaq extract (from the module): the values of a form file as the update reads them.
#include <cstdio>

#include "host/core/arguments.h"
#include "host/core/errors.h"
#include "host/core/locale.h"
#include "host/core/resource_strings.h"
#include "host/core/terminal.h"
#include "host/core/text.h"
#include "module/commands.h"
#include "notes/column_table.h"
#include "updater/form_reader.h"
#include "updater/localizable.h"

namespace rux {

using namespace vaq;

int RunExtract(const Arguments& args) {
  const std::string& form = args.Positional[0];
  const TLCID lang = args.Values.contains("--lang") ? StrToLCID(args.Value("--lang")) : VaqGetThreadLocale();
  if (lang == 0) throw UsageError("unknown language " + args.Value("--lang"));
  TExtractedLines lines;
  TMemoryStream stream;
  try {
    stream.LoadFromFile(form);
  } catch (const EVaqError&) {
    stream.Clear();  // reported below, as a file that is no form
  }
  // An empty file, or one in neither notation, is no form: the reader answers it without a word.
  if (TestStreamFormat(stream) == TStreamOriginalFormat::sofUnknown) {
    ShowError(Format(sNotAForm, {form}));
    return kExitFileFailed;
  }
  if (!ExtractFormLines(stream, form, lines, lang)) return kExitFileFailed;  // the reason is already shown
  const TFormInfo info;  // a default form information: no class of the form's own
  for (const TExtractedLine& line : lines) {
    TVaqNotesString record;
    record.Id = line.Id;
    record.Orig = record.Curr = line.Data.Value;
    record.Type = line.Data.Type;
    std::printf("%s\t%s\t%s\t%s\t%s\t%s\n", ToTerminal(lang, line.Id).c_str(),
                ToTerminal(lang, line.Data.Value).c_str(), line.Data.Type.c_str(), line.Data.Open.c_str(),
                line.Data.Close.c_str(), IsLocalizable(record, &info) ? "1" : "0");
  }
  return kExitOk;
}

}  // namespace rux
