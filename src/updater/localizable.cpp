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

// A value longer than this is not offered for translation.
constexpr std::size_t kMaxLocalizableSize = 20000;

// Component markers and the form's tab settings are never localizable; otherwise the catalogue
// decides, and collection index lines are left out. All but the size of the value.
bool ClassAndPathSayLocalizable(const vaq::TVaqNotesString& Record, const TFormInfo* FormInfo) {
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
  return Localizable && !(Id.ends_with(']') && Record.Type.starts_with("C:"));
}

}  // namespace

bool IsLocalizable(const vaq::TVaqNotesString& Record, const TFormInfo* FormInfo) {
  return ClassAndPathSayLocalizable(Record, FormInfo) && Record.Orig.size() <= kMaxLocalizableSize;
}

bool TLocalizableRule::operator()(const vaq::TVaqNotesString& Record, const TFormInfo* FormInfo) {
  const std::string_view id = Record.Id;
  const std::string_view path = id.substr(ComponentPathView(id).size());
  // Without a property path the answer may depend on the component's names: not remembered.
  if (path.empty()) return IsLocalizable(Record, FormInfo);
  // The catalogue sees the class, the property names without their indexes, and whether the path
  // ends in an index of a collection item.
  key_ = GetClassName(Record, true, FormInfo);
  key_ += Record.Type.starts_with("C:") ? "\x04C\x04" : "\x04\x04";
  bool inIndex = false;
  for (const char c : path) {
    if (c == ']') inIndex = false;
    if (!inIndex) key_ += c;
    if (c == '[') inIndex = true;
  }
  auto found = answers_.find(key_);
  if (found == answers_.end())
    found = answers_.emplace(key_, ClassAndPathSayLocalizable(Record, FormInfo)).first;
  return found->second && Record.Orig.size() <= kMaxLocalizableSize;
}

}  // namespace rux
