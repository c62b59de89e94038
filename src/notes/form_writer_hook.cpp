// The installed translated-form writer.
#include "notes/form_writer_hook.h"

#include <utility>

namespace rux {
namespace {

TFormWriterFunc& InstalledWriter() {
  static TFormWriterFunc writer;
  return writer;
}

}  // namespace

void SetFormWriter(TFormWriterFunc Writer) {
  InstalledWriter() = std::move(Writer);
}

bool WriteTranslatedForm(const std::vector<std::string>& Lines, const std::string& FileName,
                         bool WriteOriginal, TVaqFormFormat Format, vaq::TLCID Locale,
                         vaq::TAtomicWriteBatch& Batch) {
  const TFormWriterFunc& writer = InstalledWriter();
  return writer ? writer(Lines, FileName, WriteOriginal, Format, Locale, Batch) : false;
}

}  // namespace rux
