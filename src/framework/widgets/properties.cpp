#include "framework/widgets/properties.h"

#include "framework/widgets/graphics.h"

namespace vaq::widgets {

namespace {

[[noreturn]] void NoProperty(std::string_view Path) {
  throw EPropertyError("Property " + std::string(Path) + " does not exist");
}

[[noreturn]] void BadValue() {
  throw EPropertyError("Invalid property value");
}

bool InList(const std::vector<std::string>& Elements, std::string_view Name) {
  for (const auto& element : Elements)
    if (SameText(element, Name)) return true;
  return false;
}

// Properties a class stores besides its published ones (lists and binary data it writes itself).
bool IsDefinedProperty(const TClassInfo& Class, std::string_view Name) {
  if (InheritsFrom(Class, "TCustomGrid") && (SameText(Name, "ColWidths") || SameText(Name, "RowHeights")))
    return true;
  if (SameText(Name, "DesignSize") && InheritsFrom(Class, "TControl")) return true;
  if ((SameText(Name, "Left") || SameText(Name, "Top")) && !InheritsFrom(Class, "TControl")) return true;
  if (SameText(Name, "ExplicitLeft") || SameText(Name, "ExplicitTop") || SameText(Name, "ExplicitWidth") ||
      SameText(Name, "ExplicitHeight"))
    return InheritsFrom(Class, "TControl");
  return false;
}

void CheckValue(const TPropInfo& Prop, const TValue& Value) {
  switch (Prop.Kind) {
    case TTypeKind::tkInteger:
    case TTypeKind::tkInt64:
      if (Value.IsInteger()) return;
      if (Value.Kind == TValueType::vaIdent) {
        if ((Prop.TypeName == "TColor" && IdentToColor(Value.Str)) ||
            (Prop.TypeName == "TFontCharset" && IdentToCharset(Value.Str)) ||
            (Prop.TypeName == "TCursor" && Value.Str.starts_with("cr")))
          return;
      }
      BadValue();
    case TTypeKind::tkEnumeration:
      if (Value.IsIdent() && InList(Prop.Elements, Value.Ident())) return;
      BadValue();
    case TTypeKind::tkSet:
      if (Value.Kind != TValueType::vaSet) BadValue();
      for (const auto& element : Value.Set)
        if (!InList(Prop.Elements, element)) BadValue();
      return;
    case TTypeKind::tkChar:
    case TTypeKind::tkWChar:
      if (Value.IsString() || Value.IsInteger()) return;
      BadValue();
    case TTypeKind::tkString:
    case TTypeKind::tkLString:
    case TTypeKind::tkWString:
      if (Value.IsString()) return;
      BadValue();
    case TTypeKind::tkFloat:
      if (Value.IsNumber()) return;
      BadValue();
    case TTypeKind::tkMethod:
      if (Value.Kind == TValueType::vaIdent || Value.Kind == TValueType::vaNil) return;
      BadValue();
    case TTypeKind::tkClass:
      if (Value.Kind == TValueType::vaIdent || Value.Kind == TValueType::vaNil) return;
      if (Value.Kind == TValueType::vaCollection) {
        const TClassInfo* type = FindClass(Prop.TypeName);
        if (type && type->ItemClass) {
          // An item property the catalogue does not know (a newer version of the class, another
          // library's column) stays with the item; the known ones must fit.
          for (const auto& item : Value.Items)
            for (const auto& [name, element] : item.Properties)
              if (const TPropInfo* itemProp = GetPropInfo(*type->ItemClass, name))
                CheckValue(*itemProp, element);
          return;
        }
      }
      BadValue();
    default:
      return;
  }
}

}  // namespace

void CheckProperty(const TComponent& Component, std::string_view Path, const TValue* Value) {
  const TClassInfo* cls = Component.ClassInfo();
  if (!cls) return;
  std::size_t start = 0;
  for (;;) {
    std::size_t dot = Path.find('.', start);
    std::string_view part =
        Path.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start);
    const TPropInfo* prop = GetPropInfo(*cls, part);
    if (!prop) {
      if (start == 0 && IsDefinedProperty(*cls, part) && dot == std::string_view::npos) return;
      // Lists, pictures and nodes write their contents as "Strings" or "Data".
      bool persistent = start > 0 && (SameText(part, "Strings") || SameText(part, "Data"));
      if (persistent && dot == std::string_view::npos) {
        if (Value && SameText(part, "Strings") && Value->Kind != TValueType::vaList) BadValue();
        if (Value && SameText(part, "Data") && Value->Kind != TValueType::vaBinary) BadValue();
        return;
      }
      NoProperty(Path);
    }
    if (dot == std::string_view::npos) {
      if (Value) CheckValue(*prop, *Value);
      return;
    }
    if (prop->Kind != TTypeKind::tkClass) NoProperty(Path);
    cls = FindClass(prop->TypeName);
    if (!cls) NoProperty(Path);
    start = dot + 1;
  }
}

void SetPropertyChecked(TComponent& Component, std::string_view Path, const TValue& Value) {
  CheckProperty(Component, Path, &Value);
  Component.SetProperty(Path, Value);
}

namespace {

// The element of `Value` that `Rest` names: "[1]" of a list, "[0].Caption" of a collection, and on
// through lists and collections nested in items ("[2].SubItems.Strings[0]"). Collection items
// count by position. nullptr when there is no such element.
TValue* ElementOf(TValue& Value, std::string_view Rest) {
  TValue* at = &Value;
  while (!Rest.empty()) {
    if (Rest.front() != '[') return nullptr;
    const std::size_t close = Rest.find(']');
    if (close == std::string_view::npos) return nullptr;
    std::size_t index = 0;
    for (char c : Rest.substr(1, close - 1)) {
      if (c < '0' || c > '9' || index > 1'000'000) return nullptr;
      index = index * 10 + static_cast<std::size_t>(c - '0');
    }
    Rest.remove_prefix(close + 1);
    if (at->Kind == TValueType::vaList) {
      if (index >= at->List.size()) return nullptr;
      at = &at->List[index];
      continue;
    }
    if (at->Kind != TValueType::vaCollection || index >= at->Items.size() || !Rest.starts_with('.'))
      return nullptr;
    // A property of the item: its name runs to the next index ("SubItems.Strings" of
    // ".SubItems.Strings[0]").
    Rest.remove_prefix(1);
    const std::string_view name = Rest.substr(0, Rest.find('['));
    TValue* property = nullptr;
    for (auto& [itemName, itemValue] : at->Items[index].Properties)
      if (SameText(itemName, name)) property = &itemValue;
    if (!property) return nullptr;
    at = property;
    Rest.remove_prefix(name.size());
  }
  return at;
}

TValue ParseOrRefuse(std::string_view Text, TLCID Locale) {
  try {
    return ParseValueText(Text, Locale);
  } catch (const EVaqError&) {
    BadValue();
  }
}

}  // namespace

void SetPropText(TComponent& Component, std::string_view Path, std::string_view Text) {
  const std::size_t bracket = Path.find('[');
  if (bracket == std::string_view::npos) {
    CheckProperty(Component, Path, nullptr);
    SetPropertyChecked(Component, Path, ParseOrRefuse(Text, Component.TextLocale()));
    return;
  }
  // One element of a list or collection: the property's value with that element replaced, so
  // that every other element stays as it is.
  const std::string_view property = Path.substr(0, bracket);
  CheckProperty(Component, property, nullptr);
  const TValue* stored = Component.Stored(LowerCase(property));
  if (!stored) throw EPropertyError("Property " + std::string(Path) + " does not exist");
  TValue whole = *stored;
  TValue* element = ElementOf(whole, Path.substr(bracket));
  if (!element) throw EPropertyError("Property " + std::string(Path) + " does not exist");
  *element = ParseOrRefuse(Text, Component.TextLocale());
  SetPropertyChecked(Component, property, whole);
}

std::string GetPropText(const TComponent& Component, std::string_view Path) {
  CheckProperty(Component, Path, nullptr);
  auto value = Component.GetProperty(Path);
  return value ? ValueToText(*value, Component.TextLocale()) : std::string();
}

bool IsTextProperty(const TComponent& Component, std::string_view Path) {
  const TClassInfo* cls = Component.ClassInfo();
  for (std::size_t start = 0; cls;) {
    const std::size_t dot = Path.find('.', start);
    const TPropInfo* prop = GetPropInfo(
        *cls, Path.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start));
    if (!prop) return false;
    if (dot == std::string_view::npos) {
      switch (prop->Kind) {
        case TTypeKind::tkString:
        case TTypeKind::tkLString:
        case TTypeKind::tkWString:
        case TTypeKind::tkChar:
        case TTypeKind::tkWChar:
          return true;
        default:
          return false;
      }
    }
    if (prop->Kind != TTypeKind::tkClass) return false;
    cls = FindClass(prop->TypeName);
    start = dot + 1;
  }
  return false;
}

}  // namespace vaq::widgets
