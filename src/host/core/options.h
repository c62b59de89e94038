// The core's option set: entries by index and by name, values as variants, kept in the registry store.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace vaq {

using TOptionValue = std::variant<bool, std::int64_t, std::string>;

// Entries the module reads.
enum TVaqOptionIndex : int {
  kOptUseRepositoryOnUpdate = 32,  // look new values up in the translation repository
  kOptRefreshWithoutAsking = 34,   // rebuild the translated preview without asking to save
};

class TVaqOptionProps {
 public:
  TOptionValue Get(int Index) const;
  TOptionValue Get(std::string_view Name) const;
  void Set(int Index, const TOptionValue& Value);
  bool GetBool(int Index) const;
};
extern TVaqOptionProps VaqINTOptionProps;

}  // namespace vaq
