// The root of objects that a module hands to the core and gets back (form information travelling
// with a form list, for example). The core only owns and passes them.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace vaq {

class TObject {
 public:
  virtual ~TObject() = default;
};

// A string list with owned objects: form lists, extracted lines.
struct TStringObject {
  std::string Text;
  std::unique_ptr<TObject> Object;
};
using TStringObjectList = std::vector<TStringObject>;

}  // namespace vaq
