// The factory table behind CreateComponent: one entry per catalogue class that has a live class
// of its own; a class without an entry takes its nearest ancestor's.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "framework/widgets/component.h"

namespace vaq::widgets {

struct TCaseLess {
  bool operator()(const std::string& A, const std::string& B) const { return LowerCase(A) < LowerCase(B); }
};

using TFactory =
    std::function<std::unique_ptr<TComponent>(const TClassInfo* Class, const std::string& ClassName)>;
using TFactoryTable = std::map<std::string, TFactory, TCaseLess>;

void RegisterBasicControls(TFactoryTable& Table);
void RegisterComplexControls(TFactoryTable& Table);

}  // namespace vaq::widgets
