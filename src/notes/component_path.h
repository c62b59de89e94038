// Taking a component path apart. A record's Id is a chain of component segments joined by "."
// from the root down ("O:" object, "I:" inherited, "L:" inline, then the component name),
// followed by "." and the property path:
//   O:Form1.O:Panel1.O:Button1.Caption      O:Form1.O:Memo1.Lines.Strings[0]
// A component without properties has a header record whose Id is its path and a single ".".
// The component segment that matters is the last one: the path up to the first "." after the
// last ":". Ids of any length are handled.
#pragma once

#include <string>
#include <string_view>

#include "host/core/types.h"
#include "notes/form_info.h"

namespace rux {

// The name of the last component: the text between the last ":" and the first "." after it (or
// the end). Without ":" the text before the first ".". O:Form1.O:Button1.Caption -> Button1.
std::string GetObjectName(std::string_view id);

// The path of the last component with its trailing ".": the text up to and including the first
// "." after the last ":". Only the first character of `id` when no "." follows the last ":".
std::string GetFullObjectName(std::string_view id);
// The same as a view into `id`.
std::string_view FullObjectNameView(std::string_view id);

// The path of the last component without the trailing ".", as the save's consistency check groups
// records: the text before the first "." after the last ":"; the whole `id` when it has no ":" or
// no "." after its last ":".
std::string GetComponentPath(std::string_view id);
// The same as a view into `id`.
std::string_view ComponentPathView(std::string_view id);

// The first property name after the component path, without an index and surrounding blanks:
// ...O:Button1.Font.Name -> Font, ...O:Memo1.Lines.Strings[0] -> Lines. Empty when the path has
// no property (a header record, or no "." after the last ":").
std::string GetPropName(std::string_view id);

// The class of the record's component, taken from its Type: the text before a child position
// " [n]", without a collection item's "C:" prefix. With `replaceRootClass`, a root base class
// (VaqIsRootBaseClass) becomes formInfo->RootClass when form information is given.
std::string GetClassName(const vaq::TVaqNotesString& record, bool replaceRootClass,
                         const TFormInfo* formInfo);

// GetClassName(record, true, formInfo) and GetPropName(record.Id).
void GetClassAndPropNames(const vaq::TVaqNotesString& record, std::string& className, std::string& propName,
                          const TFormInfo* formInfo);

// Whether `className` is the class a form derives from directly. With form information: exactly
// formInfo->FormClass. Without: one of the framework's form, module and frame base classes.
// Case-insensitive.
bool VaqIsRootBaseClass(std::string_view className, const TFormInfo* formInfo);

}  // namespace rux
