// The output stage of the translated-form writer.
#include "creator/output.h"

#include <exception>

#include "creator/creator_messages.h"
#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/flags.h"
#include "host/core/locale.h"
#include "host/core/streams.h"
#include "host/core/text.h"
#include "host/framework/formstream.h"

namespace rux {
namespace {

// Converts the text to the resource form; the error message when it cannot.
std::optional<std::string> Convert(std::string_view Text, vaq::TLCID Locale, vaq::TMemoryStream& Binary) {
  vaq::TMemoryStream input{std::string(Text)};
  const vaq::ScopedThreadLocale locale(Locale);
  try {
    if (vaq::ObjectTextToResource(input, Binary) == vaq::TStreamOriginalFormat::sofUnknown)
      return std::string("the text is not in form-text notation");
  } catch (const vaq::EVaqError& error) {
    return std::string(error.what());
  }
  return std::nullopt;
}

void ReportConversionError(std::string_view Text, const TFormOutput& Output, const std::string& Message,
                           std::string& ErrorText, vaq::TAtomicWriteBatch& Batch) {
  const std::string errorFile = vaq::ChangeFileExt(Output.FileName, ".ERR_RUX");
  Batch.Add(errorFile, std::string(Text));
  ErrorText = vaq::Format(SObjectTextToResourceFailed.Text, {Message, errorFile});
  if (Output.ShowErrors) vaq::ShowError(ErrorText);
}

// The bytes to store; nothing when the format cannot be stored after a failed conversion.
std::optional<std::string> Contents(std::string_view Text, TVaqFormFormat Format, bool Converted,
                                    vaq::TMemoryStream& Binary) {
  if (Format == uffUnformatedText) return std::string(Text);
  // An incomplete binary form is no form file: the previous file is kept.
  if (!Converted) return std::nullopt;
  Binary.Seek(0);
  if (Format == uffBinary) {
    vaq::SkipResourceHeader(Binary);
    return std::string(Binary.Rest());
  }
  vaq::TMemoryStream text;
  vaq::ObjectResourceToText(Binary, text);
  return std::move(text.Data());
}

}  // namespace

bool AddFormText(std::string_view Text, const TFormOutput& Output, std::string& ErrorText,
                 vaq::TAtomicWriteBatch& Batch) {
  vaq::TMemoryStream binary;
  const std::optional<std::string> error = Convert(Text, Output.Locale, binary);
  if (error) ReportConversionError(Text, Output, *error, ErrorText, Batch);

  try {
    std::optional<std::string> contents = Contents(Text, Output.Format, !error, binary);
    if (!contents) return false;
    Batch.Add(Output.FileName, std::move(*contents), Output.Date);
  } catch (const std::exception&) {
    return false;
  }
  // The file changes, so an open copy must be reloaded.
  if (vaq::InIDE) vaq::ReloadQue.Push(Output.FileName);
  return !error;
}

bool StoreFormText(std::string_view Text, const TFormOutput& Output, std::string& ErrorText) {
  vaq::TAtomicWriteBatch batch;
  const bool added = AddFormText(Text, Output, ErrorText, batch);
  // The error file is written also when the form is not.
  try {
    batch.Commit();
  } catch (const std::exception&) {
    return false;
  }
  return added;
}

std::optional<vaq::TDateTime> DateToKeep(const std::string& FileName) {
  try {
    if (!vaq::FileExists(FileName)) return std::nullopt;
    const vaq::TDateTime date = vaq::DateOfFile(FileName);
    if (date == -1.0) return std::nullopt;
    return date;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace rux
