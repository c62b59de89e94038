#include "updater/localizable.h"

#include <string>
#include <string_view>

#include "host/core/text.h"
#include "host/framework/classes.h"
#include "host/framework/ide.h"
#include "notes/component_path.h"

namespace rux {

namespace {

// Native framework first, then the Qt-based one.
const vaq::TClassInfo* FindCatalogueClass(std::string_view Name) {
  for (auto Group : {vaq::TClassGroup::Native, vaq::TClassGroup::QtBased})
    if (const auto* Class = vaq::FindClassInGroup(Group, Name)) return Class;
  return nullptr;
}

// The catalogue's answer for a registered component's property; unknown things stay localizable.
bool CatalogueSaysLocalizable(const std::string& ClassName, const std::string& PropName,
                              std::string_view Id) {
  const auto* Class = FindCatalogueClass(ClassName);
  if (!Class || !vaq::IsRegisteredComponent(*Class)) return true;
  const auto* Prop = vaq::GetPropInfo(*Class, PropName);
  if (!Prop) return true;
  if (Prop->Kind != vaq::TTypeKind::tkClass)
    return vaq::IsPropertyInCategory(vaq::sLocalizableCategoryName, Class->Name, PropName);
  const auto* PropClass = FindCatalogueClass(Prop->TypeName);
  if (!PropClass) return true;
  const auto LastDot = Id.rfind('.');
  const std::string_view LastSegment = LastDot == std::string_view::npos ? Id : Id.substr(LastDot + 1);
  return vaq::IsPropertyInCategory(vaq::sLocalizableCategoryName, PropClass->Name, LastSegment);
}

}  // namespace

// Component markers and the form's tab settings are never localizable; otherwise the catalogue
// decides, and huge values and collection index lines are left out.
bool IsLocalizable(const vaq::TVaqNotesString& Record, const TFormInfo* FormInfo) {
  const std::string_view Id = Record.Id;
  if (Id.ends_with('.')) return false;

  bool Localizable = true;
  try {
    std::string ClassName;
    std::string PropName;
    GetClassAndPropNames(Record, ClassName, PropName, FormInfo);
    if (vaq::AnsiSameText(ClassName, "TFrame")) ClassName = "TForm";
    if (vaq::AnsiSameText(ClassName, "TForm") &&
        (vaq::AnsiSameText(PropName, "TabStop") || vaq::AnsiSameText(PropName, "TabOrder")))
      return false;
    Localizable = CatalogueSaysLocalizable(ClassName, PropName, Id);
  } catch (const std::exception&) {
    Localizable = true;
  }

  if (Localizable && (Record.Orig.size() > 20000 || (Id.ends_with(']') && Record.Type.starts_with("C:"))))
    Localizable = false;
  return Localizable;
}

}  // namespace rux
