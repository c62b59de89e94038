// The notes of one form as the checks see them: the string records the writer puts into the
// translated form, with their component structure taken from the Id and Type, and their original
// and current texts decoded.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/core/types.h"

namespace rux::checks {

struct TCheckedText {
  std::string Id;
  std::string ComponentPath;    // O:MainForm.O:mnuFile.O:mnuOpen
  std::string ParentPath;       // O:MainForm.O:mnuFile; empty for the form itself
  std::string ClassName;        // TMenuItem
  std::string Property;         // the property path after the component: Caption, Items.Strings[1]
  bool CollectionItem = false;  // a value of a collection item (Columns[0].Caption, Panels[1].Text)
  bool Localize = false;        // offered for translation
  std::uint8_t Status = 0;
  std::u16string Orig;
  std::u16string Curr;
};

// A list value of the form (Items.Strings, Lines.Strings): how many elements the original has and
// how many the translated form gets.
struct TCheckedList {
  std::string Id;            // the list's Id without the element index: O:Form1.O:lstItems.Items.Strings
  int Elements = 0;          // 1 + the highest index among the records that are not obsolete
  int Written = 0;           // elements the writer writes
  std::vector<int> Missing;  // indices of the elements the translated form lacks
};

struct TCheckedForm {
  std::string File;  // the notes file
  vaq::TLCID Source = 0;
  vaq::TLCID Target = 0;
  std::vector<TCheckedText> Texts;  // in Order
  std::vector<TCheckedList> Lists;  // in the order of their first record
};

// Reads the records of notes `Lines` (header and blank lines allowed). Texts: string records that
// are neither obsolete nor left out of the written form (Order -1). Orig is decoded in the
// `Source` code page, Curr in the `Target` one. A record that does not parse raises
// vaq::EConvertError.
TCheckedForm ReadCheckedForm(const std::vector<std::string>& Lines, const std::string& File,
                             vaq::TLCID Source, vaq::TLCID Target);

}  // namespace rux::checks
