// Extracted lines of generated forms, for the benchmarks of the module.
#pragma once

#include <cstddef>

#include "host/core/errors.h"
#include "host/core/locale.h"
#include "host/framework/formstream.h"
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

}  // namespace rux::bench
