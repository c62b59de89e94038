// Extracted lines of generated forms, for the benchmarks of the module.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/core/errors.h"
#include "host/core/locale.h"
#include "host/framework/formstream.h"
#include "notes/notes_record.h"
#include "support/form_generator.h"
#include "updater/form_reader.h"

namespace rux::bench {

inline TExtractedLines ExtractGenerated(std::size_t bytes) {
  vaq::TMemoryStream stream(vaq::testing::GenerateFormText(7, bytes));
  TExtractedLines lines;
  if (!ExtractFormLines(stream, "bench.rux", lines, vaq::StrToLCID("en-US")))
    throw vaq::EVaqError("not a form");
  return lines;
}

// The lines of a generated form of about `records` values: the generator's size is calibrated once.
inline TExtractedLines GeneratedLines(std::size_t records) {
  const std::size_t probe = 200'000;
  const std::size_t perProbe = ExtractGenerated(probe).size();
  return ExtractGenerated(probe * records / perProbe);
}

// The notes records of extracted lines as a first update makes them: untranslated, in form order.
inline std::vector<std::string> UntranslatedNotes(const TExtractedLines& lines) {
  std::vector<std::string> notes;
  notes.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    vaq::TVaqNotesString record;
    record.Id = lines[i].Id;
    record.Orig = record.Curr = lines[i].Data.Value;
    record.Type = lines[i].Data.Type;
    record.Open = lines[i].Data.Open;
    record.Close = lines[i].Data.Close;
    record.Order = static_cast<std::int32_t>(i);
    record.Status = StatusUntranslated;
    notes.push_back(NotesStringToString(record, false));
  }
  return notes;
}

}  // namespace rux::bench
