// Whether a new notes record is marked localizable, decided from the class catalogue and the
// IDE's localizable property category.
#pragma once

#include <string>
#include <unordered_map>

#include "host/core/types.h"
#include "notes/form_info.h"

namespace rux {

// `FormInfo` may be null. Unknown classes and properties, and any failure, leave the record
// localizable.
bool IsLocalizable(const vaq::TVaqNotesString& Record, const TFormInfo* FormInfo);

// IsLocalizable for the new records of many forms. Its answer depends on the record's class (from
// its Type and the form's information), its property path (the Id after the component path) and
// the size of its value; the catalogue's part, the costly one, is remembered per class and
// property path without indexes, which many records share.
class TLocalizableRule {
 public:
  bool operator()(const vaq::TVaqNotesString& Record, const TFormInfo* FormInfo);

 private:
  std::unordered_map<std::string, bool> answers_;
  std::string key_;
};

}  // namespace rux
