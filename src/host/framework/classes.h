// The class catalogue of the two widget frameworks: classes with their published properties, kept
// in two groups, one per framework; a class name resolves in the active group.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vaq {

enum class TTypeKind {
  tkUnknown,
  tkInteger,
  tkChar,
  tkEnumeration,
  tkFloat,
  tkString,
  tkSet,
  tkClass,
  tkMethod,
  tkWChar,
  tkLString,
  tkWString,
  tkVariant,
  tkInt64
};

struct TPropInfo {
  std::string Name;
  TTypeKind Kind = TTypeKind::tkUnknown;
  std::string TypeName;
  std::vector<std::string> Elements;  // names of an enumeration or a set
};

struct TClassInfo {
  std::string Name;
  const TClassInfo* Parent = nullptr;
  std::vector<TPropInfo> Properties;
  bool RegisteredComponent = false;
  const TClassInfo* ItemClass = nullptr;  // the item class of a collection class
};

enum class TClassGroup { Native, QtBased };

// Makes `Group` the group that FindClass searches; returns the previous one.
TClassGroup ActivateClassGroup(TClassGroup Group);
// The class of that name (case-insensitive) in the active group; nullptr when unknown.
const TClassInfo* FindClass(std::string_view Name);
// The same lookup in a given group, without activating it.
const TClassInfo* FindClassInGroup(TClassGroup Group, std::string_view Name);
// Every class of a group, in catalogue order.
std::vector<const TClassInfo*> ClassesOfGroup(TClassGroup Group);
// A published property of the class or its ancestors; nullptr when unknown.
const TPropInfo* GetPropInfo(const TClassInfo& Class, std::string_view PropName);
bool InheritsFrom(const TClassInfo& Class, std::string_view AncestorName);
// Registers a class of the catalogue as a component of its group (outside the IDE the module
// registers the frameworks' classes itself); false when the group has no class of that name.
bool RegisterClass(TClassGroup Group, std::string_view Name);
// Whether the class is one of the core's registered components: marked so in the catalogue, or
// registered since.
bool IsRegisteredComponent(const TClassInfo& Class);

}  // namespace vaq
