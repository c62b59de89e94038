// Project directives for Pascal and C++ resource-module projects.
#include "editor/directives.h"

#include <string_view>

#include "host/core/flags.h"
#include "host/core/text.h"
#include "notes/form_info.h"

namespace rux {
namespace {

constexpr std::string_view kCrLf = "\r\n";

// A class name without its leading "T" (or whatever its first character is).
std::string_view WithoutFirst(std::string_view className) {
  return className.empty() ? className : className.substr(1);
}

}  // namespace

std::string FormatDirective(const std::string& FileName, const vaq::TObject* FormInfo) {
  const bool pascal = vaq::InPelgo();
  const auto* info = dynamic_cast<const TFormInfo*>(FormInfo);
  // The class a form is designed as: C++ names it without its leading character (TForm -> Form).
  const auto design = [pascal](std::string_view className) {
    return pascal ? className : WithoutFirst(className);
  };

  std::string result;
  if (info && !info->Ancestor.empty()) {
    result = vaq::Format(pascal ? "{$R '%s' %s:%s(%s)}" : "USEFORMRES(\"%s\", %s, %s); /* %s: DesignClass */",
                         {FileName, info->FormName, design(info->RootClass), WithoutFirst(info->Ancestor)});
  } else if (info) {
    // C++ names the root class once more in the comment; Pascal has no such place.
    const std::string_view comment = pascal ? std::string_view() : std::string_view(info->RootClass);
    result = vaq::Format(pascal ? "{$R '%s' %s:%s%s}" : "USEFORMRES(\"%s\", %s, %s); /* %s: DesignClass */",
                         {FileName, info->FormName, design(info->RootClass), comment});
  } else {
    result = vaq::Format(pascal ? "{$R '%s'}" : "USEFORMRES(\"%s\", TForm);", {FileName});
  }
  result += kCrLf;
  if (!pascal) {
    result += vaq::Format("#pragma resource \"%s\"", {FileName});
    result += kCrLf;
  }
  return result;
}

}  // namespace rux
