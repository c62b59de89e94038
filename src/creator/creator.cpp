// The translated-form writer.
#include "creator/creator.h"

#include <exception>
#include <optional>

#include "creator/form_text.h"
#include "creator/output.h"
#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "notes/module_state.h"

namespace rux {

bool TRuxCreator::Execute(const std::vector<std::string>& Lines, const std::string& FileName,
                          bool WriteOriginal, TVaqFormFormat Format, vaq::TLCID Locale) {
  ErrorText.clear();
  TFormOutput output{FileName, Format, Locale, std::nullopt, ShowErrors};
  if (bKeepRuzTimeStamp) output.Date = DateToKeep(FileName);
  try {
    const std::optional<std::string> text = GenerateFormText(Lines, WriteOriginal);
    if (!text) return false;
    return StoreFormText(*text, output, ErrorText);
  } catch (const std::exception&) {
    // A bad Order or any other failure of the generation: no form and no message.
    return false;
  }
}

bool TRuxCreator::Execute(const std::vector<std::string>& Lines, const std::string& FileName,
                          bool WriteOriginal, TVaqFormFormat Format, vaq::TLCID Locale,
                          vaq::TAtomicWriteBatch& Batch) {
  ErrorText.clear();
  TFormOutput output{FileName, Format, Locale, std::nullopt, ShowErrors};
  if (bKeepRuzTimeStamp) output.Date = DateToKeep(FileName);
  if (!output.Date) output.Date = vaq::VaqNow();
  try {
    const std::optional<std::string> text = GenerateFormText(Lines, WriteOriginal);
    if (!text) return false;
    return AddFormText(*text, output, ErrorText, Batch);
  } catch (const std::exception&) {
    return false;
  }
}

bool TRuxCreator::Execute(const std::string& NotesFileName, const std::string& FileName, bool WriteOriginal,
                          TVaqFormFormat Format, vaq::TLCID Locale) {
  std::vector<std::string> lines;
  try {
    lines = vaq::LoadLines(NotesFileName);
  } catch (const vaq::EVaqError&) {
    ErrorText.clear();
    return false;
  }
  return Execute(lines, FileName, WriteOriginal, Format, Locale);
}

TRuxCreator& RuxCreator() {
  static TRuxCreator creator;
  return creator;
}

void InstallFormWriter() {
  SetFormWriter([](const std::vector<std::string>& Lines, const std::string& FileName, bool WriteOriginal,
                   TVaqFormFormat Format, vaq::TLCID Locale, vaq::TAtomicWriteBatch& Batch) {
    return RuxCreator().Execute(Lines, FileName, WriteOriginal, Format, Locale, Batch);
  });
}

}  // namespace rux
