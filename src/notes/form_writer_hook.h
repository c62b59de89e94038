// Where the manager's save asks for a translated form. The translated-form writer installs itself
// here when the module starts; until one is installed, no form is made.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/core/files.h"
#include "host/core/types.h"

namespace rux {

// Storage format of a translated form.
enum TVaqFormFormat { uffUnformatedText = 0, uffFormatedText = 1, uffBinary = 2 };

// Makes the translated form `FileName` from the notes lines `Lines` (the original values when
// `WriteOriginal` is set) in `Format`, converting texts under `Locale`, and adds it to `Batch` with
// the date the file is to have; answers whether it added the form.
using TFormWriterFunc =
    std::function<bool(const std::vector<std::string>& Lines, const std::string& FileName, bool WriteOriginal,
                       TVaqFormFormat Format, vaq::TLCID Locale, vaq::TAtomicWriteBatch& Batch)>;

// Installs the writer; an empty function removes it.
void SetFormWriter(TFormWriterFunc Writer);

// Calls the installed writer; without one adds nothing and answers false.
bool WriteTranslatedForm(const std::vector<std::string>& Lines, const std::string& FileName,
                         bool WriteOriginal, TVaqFormFormat Format, vaq::TLCID Locale,
                         vaq::TAtomicWriteBatch& Batch);

}  // namespace rux
