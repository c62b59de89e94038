// Small data objects of the form notes model: the class information of one form, and one value
// extracted from a form together with the structure needed to write it back.
#pragma once

#include <cstdint>
#include <string>

#include "host/core/object.h"

namespace rux {

// Class information of one form; the updater fills it, the path codec reads it. It travels with form
// lists to the core, which hands it back to the directive handler.
struct TFormInfo : vaq::TObject {
  bool IsLibraryForm = false;  // the form comes from a library, not from the project
  std::string FormName;
  std::string FormClass;
  std::string Ancestor;
  std::string RootClass;  // the class that stands in for the form's own class
};

// One extracted value of a form. Its fields feed the notes keys Orig/Curr, Order, Type, Open and
// Close of the record built from the extracted line.
struct TRuzDatastring {
  std::string Value;
  std::int32_t Order = -1;  // -1 until the reader places the value; also "not written back"
  std::string Type;
  std::string Open;
  std::string Close;
};

}  // namespace rux
