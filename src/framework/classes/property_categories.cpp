#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "framework/classes/class_registry.h"
#include "host/framework/classes.h"
#include "host/framework/ide.h"

namespace vaq {

const char* const sLocalizableCategoryName = "Localizable";

namespace {

// What a translator localizes: texts, layout, fonts, bidirectional and input-method settings,
// pictures and icons, shortcuts. Names and types are compared case-insensitively.
constexpr std::array kLocalizableNames = {
    "caption",     "text",         "hint",        "title", "filter",   "displaylabel",   "items",
    "lines",       "strings",      "simpletext",  "left",  "top",      "width",          "height",
    "clientwidth", "clientheight", "constraints", "font",  "bidimode", "parentbidimode", "imemode",
    "imename",     "picture",      "glyph",       "icon",  "shortcut"};
constexpr std::array kLocalizableTypes = {"tcaption", "tstrings", "tfont", "tsizeconstraints", "tpicture",
                                          "tbitmap",  "tgraphic", "ticon", "tshortcut"};
// Identity, order and data links stay with the original even on a localizable class.
constexpr std::array kNeverLocalizable = {"name", "tag", "taborder", "tabstop", "datasource", "datafield"};

template <std::size_t N>
bool Contains(const std::array<const char*, N>& List, std::string_view Folded) {
  return std::ranges::any_of(List, [&](const char* Item) { return Folded == Item; });
}

bool IsLocalizableType(std::string_view TypeName) {
  return Contains(kLocalizableTypes, classes::FoldName(TypeName));
}

bool IsLocalizableClass(const TClassInfo& Class) {
  for (const auto* C = &Class; C; C = C->Parent)
    if (IsLocalizableType(C->Name)) return true;
  return false;
}

const TClassInfo* FindInAnyGroup(std::string_view ClassName) {
  if (const auto* Class = FindClass(ClassName)) return Class;
  for (auto Group : {TClassGroup::Native, TClassGroup::QtBased})
    if (const auto* Class = FindClassInGroup(Group, ClassName)) return Class;
  return nullptr;
}

}  // namespace

// The localizable category test: the property's name (without an index "[n]") or its type is one
// of the lists above, or the class itself is a localizable type (a font's Name, a picture's
// data). A collection class answers for its item class. Event handlers are never localizable.
bool IsPropertyInCategory(std::string_view Category, std::string_view ClassName, std::string_view PropName) {
  if (classes::FoldName(Category) != classes::FoldName(sLocalizableCategoryName)) return false;
  const auto Folded = classes::FoldName(PropName.substr(0, PropName.find('[')));

  const TClassInfo* Class = FindInAnyGroup(ClassName);
  if (Class && Class->ItemClass) Class = Class->ItemClass;
  const TPropInfo* Prop = Class ? GetPropInfo(*Class, Folded) : nullptr;

  if (Prop && Prop->Kind == TTypeKind::tkMethod) return false;
  if (Class ? IsLocalizableClass(*Class) : IsLocalizableType(ClassName)) return true;
  if (Contains(kNeverLocalizable, Folded)) return false;
  if (Contains(kLocalizableNames, Folded)) return true;
  if (!Prop) return false;
  if (IsLocalizableType(Prop->TypeName)) return true;
  if (Prop->Kind != TTypeKind::tkClass) return false;
  const auto* PropClass = FindClassInGroup(TClassGroup::Native, Prop->TypeName);
  if (!PropClass) PropClass = FindClassInGroup(TClassGroup::QtBased, Prop->TypeName);
  return PropClass && IsLocalizableClass(*PropClass);
}

}  // namespace vaq
