// Services of the IDE: property categories and the project's units.
#pragma once

#include <string>
#include <string_view>

namespace vaq {

// The name of the category of properties a translator localizes.
extern const char* const sLocalizableCategoryName;

// Whether property `PropName` (an index "[n]" is ignored) of class `ClassName` belongs to `Category`.
bool IsPropertyInCategory(std::string_view Category, std::string_view ClassName, std::string_view PropName);

// The project's units, as the IDE lists them.
class TIToolServices {
 public:
  virtual ~TIToolServices() = default;
  virtual int GetUnitCount() = 0;
  virtual std::string GetUnitName(int Index) = 0;
};

}  // namespace vaq
