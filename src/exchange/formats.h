// The exchange file formats: each writes a Document as the text of one file and reads it back.
// Readers raise EExchangeParseError (file name and line) for a file they cannot take; they never
// return part of a broken file.
#pragma once

#include <string>
#include <string_view>

#include "exchange/unit.h"

namespace rux::exchange {

// XLIFF 2.0 (xliff2.cpp): one <file> per form, one <unit> per value (its name the record's Id),
// one <segment>; notes in our categories carry the class and property, the previous original and
// the translator's comment. State: initial (no target, or a target still to review, with our
// sub-state), translated.
std::string WriteXliff2(const Document& document);
Document ReadXliff2(std::string_view data, const std::string& fileName);

// XLIFF 1.2 (xliff12.cpp): one <file> per form, one <trans-unit> per value (resname: the Id); the
// target's state is translated or needs-review-translation; notes from "developer", "translator"
// and ours for the previous original.
std::string WriteXliff12(const Document& document);
Document ReadXliff12(std::string_view data, const std::string& fileName);

// PO (po.cpp, through libgettextpo): one catalogue; msgctxt "FORM|ID"; "#." the class and property,
// "# " the translator's comment, "#|" the previous original, "#, fuzzy" a target still to review.
// The header carries the languages and the language folder.
std::string WritePo(const Document& document);
Document ReadPo(const std::string& fileName);

// The format of an exchange file by its contents: XML with version 1.x is XLIFF 1.2, other XML
// XLIFF 2.0, anything else PO.
Format DetectFormat(std::string_view data);

// The file extension of a format: ".xlf" or ".po".
const char* FormatExtension(Format format);

}  // namespace rux::exchange
