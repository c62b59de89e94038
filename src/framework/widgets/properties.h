// Published properties of live components through the class catalogue: look a property up, read
// it as form-text value notation, and set it from such text. A property that does not exist or a
// value that does not convert raises EPropertyError.
#pragma once

#include <string>
#include <string_view>

#include "framework/widgets/component.h"

namespace vaq::widgets {

// Checks `Path` ("Caption", "Font.Style", "Items.Strings", "Columns") against the catalogue class
// of `Component` and `Value` against the property's type. Raises EPropertyError: "Property X does
// not exist" or "Invalid property value". A component without a catalogue class (a placeholder)
// takes every property. `Value` is not checked when it is nullptr.
void CheckProperty(const TComponent& Component, std::string_view Path, const TValue* Value);

// Looks the property up, then sets it (the checked counterpart of TComponent::SetProperty).
void SetPropertyChecked(TComponent& Component, std::string_view Path, const TValue& Value);

// Sets a property from form-text value notation ("'Text'", "[fsBold]", "clRed", "True", "12"),
// its strings in the code page of the component's text locale. A path with indices, as the Ids of
// notes records spell them ("Items.Strings[1]", "Columns[0].Caption"), sets that one element of
// the list or collection the component holds: "does not exist" when it has no such element.
void SetPropText(TComponent& Component, std::string_view Path, std::string_view Text);

// The value of a property in form-text notation, its strings in the code page of the component's
// text locale; an empty text for one never set.
std::string GetPropText(const TComponent& Component, std::string_view Path);

// Whether the property at `Path` takes text (a string or character property of the catalogue).
bool IsTextProperty(const TComponent& Component, std::string_view Path);

}  // namespace vaq::widgets
