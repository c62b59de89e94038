// Reads form text into a live form the way the preview does, for the widget tests.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/widgets/reader.h"
#include "host/core/locale.h"
#include "host/framework/classes.h"

namespace vaq::widgets::testing {

struct ReadResult {
  std::unique_ptr<TForm> Form;
  std::vector<std::string> Errors;
};

// The form of `Text` read under `Locale` in `Group`, onto `Root` when given (inherited forms).
inline ReadResult ReadForm(const std::string& Text, TClassGroup Group = TClassGroup::Native,
                           TLCID Locale = 0x0409, std::unique_ptr<TForm> Root = nullptr) {
  ReadResult result;
  ActivateClassGroup(Group);
  ScopedThreadLocale locale(Locale);
  result.Form = Root ? std::move(Root) : std::make_unique<TForm>();
  TMemoryStream input(Text), binary;
  ObjectTextToResource(input, binary);
  binary.Seek(0);
  SkipResourceHeader(binary);
  TFormReader reader(binary);
  TReaderHandlers handlers;
  handlers.OnFindMethod = [](const std::string&, bool& Error) { Error = false; };
  handlers.OnError = [&result](const std::string& Message, bool& Handled) {
    result.Errors.push_back(Message);
    Handled = true;
  };
  ReadRootComponent(reader, *result.Form, handlers);
  return result;
}

template <class T = TControl>
T* Find(TForm& Form, const std::string& Name) {
  return dynamic_cast<T*>(Form.FindComponent(Name));
}

}  // namespace vaq::widgets::testing
