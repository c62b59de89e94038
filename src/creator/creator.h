// The translated-form writer: rebuilds a form file from the notes records of the form and stores
// it in one of the form file formats.
#pragma once

#include <string>
#include <vector>

#include "host/core/types.h"
#include "notes/form_writer_hook.h"

namespace rux {

class TRuxCreator {
 public:
  // Show a conversion error to the user; the message is in ErrorText either way.
  bool ShowErrors = true;
  // The message of the last failed conversion; cleared when a run starts.
  std::string ErrorText;

  // Writes form file `FileName` from the notes lines `Lines` (header lines allowed) with the
  // original values (`WriteOriginal`) or the current ones, converting under `Locale`. True when the
  // form was written without any failure; false without a file when no record is to be written.
  // With bKeepRuzTimeStamp an existing form file keeps its date.
  bool Execute(const std::vector<std::string>& Lines, const std::string& FileName, bool WriteOriginal,
               TVaqFormFormat Format, vaq::TLCID Locale);
  // The same, with the files added to `Batch` instead of written; the form file is dated (its kept
  // date, else now), so that a notes header in the same batch can record its date.
  bool Execute(const std::vector<std::string>& Lines, const std::string& FileName, bool WriteOriginal,
               TVaqFormFormat Format, vaq::TLCID Locale, vaq::TAtomicWriteBatch& Batch);
  // The same from the notes file `NotesFileName`; one that cannot be read gives false and no file.
  bool Execute(const std::string& NotesFileName, const std::string& FileName, bool WriteOriginal,
               TVaqFormFormat Format, vaq::TLCID Locale);
};

// The module's writer, created on first use with ShowErrors on.
TRuxCreator& RuxCreator();

// Makes RuxCreator() the writer that the manager's save asks for translated forms.
void InstallFormWriter();

}  // namespace rux
