// The core's option set: entries by index and by name, values as variants, kept in the registry store
// under VaqBaseRegKey + "\\Options", one value per entry under the entry's name.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vaq {

using TOptionValue = std::variant<bool, std::int64_t, std::string>;

// The kind of an option, in the order of TOptionValue's alternatives.
enum class TOptionKind { Bool, Integer, Text };

// Entries the module and the designer read.
enum TVaqOptionIndex : int {
  kOptUseRepositoryOnUpdate = 32,  // look new values up in the translation repository
  kOptRepository = 33,             // the translation repository: a file or a PostgreSQL URI; empty: default
  kOptRefreshWithoutAsking = 34,   // rebuild the translated preview without asking to save
  kOptAddToRepositoryOnSave = 35,  // the editor's save adds the translations it writes to the repository
  kOptDetectRenamesOnUpdate = 36,  // an update moves the records of a renamed component to its new name
  kOptDisplayGrid = 40,            // the form designer shows its grid
  kOptSnapToGrid = 41,             // the form designer moves and sizes controls on the grid
  kOptGridSizeX = 42,              // grid spacing in pixels
  kOptGridSizeY = 43,
  kOptDelimiterStyle = 50,  // the grid's lines between component groups: 0 none, 1 above, 2 below
};

struct TOptionEntry {
  int Index;
  std::string_view Name;  // also the name of its registry value
  TOptionKind Kind;
  TOptionValue Default;
};

// "true"/"false", a decimal number or the text itself.
std::string OptionValueToStr(const TOptionValue& Value);

class TVaqOptionProps {
 public:
  // Every entry, by ascending index.
  const std::vector<TOptionEntry>& Entries() const;
  // Unknown index or name (case-insensitive): EVaqError naming it.
  const TOptionEntry& Entry(int Index) const;
  const TOptionEntry& Entry(std::string_view Name) const;

  // The override, else the stored value, else the default. A stored value of another kind reads as
  // the default. The registry store is read once per process (again when the configuration folder
  // changes, or after Reload).
  TOptionValue Get(int Index) const;
  TOptionValue Get(std::string_view Name) const;
  bool GetBool(int Index) const;
  std::int64_t GetInteger(int Index) const;
  std::string GetString(int Index) const;

  // Writes the value through to the registry store. A value of the wrong kind: EVaqError.
  void Set(int Index, const TOptionValue& Value);
  void Set(std::string_view Name, const TOptionValue& Value);

  // A value for the running process only, never written; it wins over the stored value.
  void SetOverride(int Index, const TOptionValue& Value);
  void ClearOverride(int Index);
  void ClearOverrides();

  // Forgets the cached stored values, so that the next Get reads the registry store again.
  void Reload();

 private:
  const std::map<int, TOptionValue>& Stored() const;  // caller holds mutex_

  mutable std::mutex mutex_;
  mutable std::optional<std::map<int, TOptionValue>> stored_;
  mutable std::string storedFrom_;  // registry file the cache was read from
  std::map<int, TOptionValue> overrides_;
};
extern TVaqOptionProps VaqINTOptionProps;

}  // namespace vaq
