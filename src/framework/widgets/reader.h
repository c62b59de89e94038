// Reading a root component from the binary form into an existing form: every component of the
// stream is created (or, for inherited and inline components, found) and its properties set.
#pragma once

#include <functional>
#include <string>

#include "framework/widgets/form.h"
#include "host/framework/formstream.h"

namespace vaq::widgets {

struct TReaderHandlers {
  // Class lookup: called for every component class with the catalogue's class (or nullptr);
  // may replace it. A class that stays nullptr becomes a TPlaceholder.
  std::function<void(const std::string& ClassName, const TClassInfo*& Class)> OnFindComponentClass;
  // Method lookup for an event property: `Error` starts true (no such method); a handler that
  // clears it accepts the event, which then stays unassigned.
  std::function<void(const std::string& MethodName, bool& Error)> OnFindMethod;
  // Error: `Handled` starts false; when it stays false the error is raised, else the reader skips
  // what it could not use and goes on.
  std::function<void(const std::string& Message, bool& Handled)> OnError;
};

// Reads the root component from `Reader` (after the resource header, at the signature) into
// `Root`: its name, class name and properties, and its components, which `Root` owns. Components
// flagged inherited or inline update the component of that name that `Root` already has. When the
// data itself is damaged, reading stops there, the error goes to OnError and what was read stays.
// `Root` takes the thread locale as the locale of its texts. Afterwards every component has been
// loaded and the layout computed.
void ReadRootComponent(TFormReader& Reader, TForm& Root, const TReaderHandlers& Handlers);

}  // namespace vaq::widgets
