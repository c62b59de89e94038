// The storing half of the translated-form writer: checks and converts the generated form text and
// writes it to the form file in the requested format.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "host/core/files.h"
#include "host/core/types.h"
#include "notes/form_writer_hook.h"

namespace rux {

// What the output stage needs besides the text.
struct TFormOutput {
  std::string FileName;
  TVaqFormFormat Format = uffFormatedText;
  vaq::TLCID Locale = 0;               // the thread locale of the conversion
  std::optional<vaq::TDateTime> Date;  // the file date the form gets (a kept one); none: when written
  bool ShowErrors = true;
};

// Converts `Text` under the locale to the binary form and adds the form file to `Batch`: the text
// as it is (uffUnformatedText), the canonical text of the binary form (uffFormatedText) or the
// binary form starting with "TPF0" (uffBinary), with Output.Date. When the conversion fails, `Text`
// goes to the ".ERR_RUX" file beside the form file (in the batch too) and `ErrorText` tells so
// (shown when ShowErrors); the form file then still gets the unformatted text, but is not added
// (keeps its previous contents) in the other two formats. Inside the IDE the form file is queued
// for reloading. True when everything succeeded.
bool AddFormText(std::string_view Text, const TFormOutput& Output, std::string& ErrorText,
                 vaq::TAtomicWriteBatch& Batch);

// The same, the files written at once. False also when they cannot be written.
bool StoreFormText(std::string_view Text, const TFormOutput& Output, std::string& ErrorText);

// The file date to keep before `FileName` is rewritten: nothing when it does not exist or its date
// cannot be read.
std::optional<vaq::TDateTime> DateToKeep(const std::string& FileName);

}  // namespace rux
