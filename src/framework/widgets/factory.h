// Creating live components by class.
#pragma once

#include <memory>
#include <string>

#include "framework/widgets/component.h"

namespace vaq::widgets {

// The live component of catalogue class `Class`, named in the form as `ClassName`: the live class
// of the nearest ancestor that has one (TFilterComboBox is a combo box); controls without one are
// plain drawn controls and other classes non-visual components. A class the catalogue does not
// know (`Class` nullptr) gets a TPlaceholder.
std::unique_ptr<TComponent> CreateComponent(const TClassInfo* Class, const std::string& ClassName);

// Whether a catalogue class is a control (descends from TControl).
bool IsControlClass(const TClassInfo& Class);

}  // namespace vaq::widgets
