// Seeded generator of synthetic forms in text notation, for property tests, benchmarks and fuzz
// corpora. With each text it builds the binary form the text must give, byte by byte and without
// the library's writer, so that a conversion can be checked against an independent expectation.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/framework/formstream.h"

namespace vaq::testing {

struct FormOptions {
  std::uint64_t Seed = 1;
  // The text comes out a little longer than this (one component more at most).
  std::size_t TargetBytes = 20000;
  // Vary the layout the way hand-edited files do: letter case of keywords, blanks left out or
  // doubled, "$" integers, other string splits and hex line widths, LF line ends.
  bool Variations = true;
};

struct GeneratedForm {
  std::string Text;
  // What ObjectTextToBinary must make of Text: integers in the smallest kind, 8-bit strings short
  // or long by length, codes above 255 as wide strings, floating-point values to the exact bit.
  std::string Binary;
  // Values by kind: list elements, set and collection item indices included.
  std::array<std::size_t, kLastValueType + 1> Kinds{};
};

// Deterministic for equal options: the same seed gives the same form on every platform.
GeneratedForm GenerateForm(const FormOptions& Options);
std::string GenerateFormText(std::uint64_t Seed, std::size_t TargetBytes);

// Reads a binary form (a resource header is skipped) from the stream's position with TFormReader
// and writes what it read with TFormWriter, so that a form in canonical kinds comes back as it
// was. Read: every value through the typed reads (ReadInt64, ReadString, ...). Skip: property
// values through SkipValue, copied as they are. Raises EReadError like the reader, also for
// nesting deeper than kMaxFormNesting. The stream's position ends after what was read.
enum class WalkMode { Read, Skip };
std::string WalkFormBinary(TMemoryStream& Stream, WalkMode Mode = WalkMode::Read,
                           std::size_t BufferSize = 4096);

}  // namespace vaq::testing
