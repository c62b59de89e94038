// The core's option set, kept in the registry store.
#include "host/core/options.h"

#include <algorithm>

#include "host/core/errors.h"
#include "host/core/flags.h"
#include "host/core/registry.h"
#include "host/core/text.h"

namespace vaq {

TVaqOptionProps VaqINTOptionProps;

namespace {

std::string OptionsKey() {
  return VaqBaseRegKey + "\\Options";
}

const char* KindName(TOptionKind kind) {
  switch (kind) {
    case TOptionKind::Bool:
      return "a Boolean";
    case TOptionKind::Integer:
      return "an integer";
    case TOptionKind::Text:
      return "a text";
  }
  return "";
}

TOptionKind KindOf(const TOptionValue& value) {
  return static_cast<TOptionKind>(value.index());
}

void CheckKind(const TOptionEntry& entry, const TOptionValue& value) {
  if (KindOf(value) != entry.Kind)
    throw EVaqError(
        Format("Option %s takes %s, not %s", {entry.Name, KindName(entry.Kind), KindName(KindOf(value))}));
}

}  // namespace

std::string OptionValueToStr(const TOptionValue& Value) {
  if (const bool* b = std::get_if<bool>(&Value)) return *b ? "true" : "false";
  if (const std::int64_t* i = std::get_if<std::int64_t>(&Value)) return std::to_string(*i);
  return std::get<std::string>(Value);
}

const std::vector<TOptionEntry>& TVaqOptionProps::Entries() const {
  static const std::vector<TOptionEntry> entries = {
      {kOptUseRepositoryOnUpdate, "UseRepositoryOnUpdate", TOptionKind::Bool, false},
      {kOptRepository, "Repository", TOptionKind::Text, std::string()},
      {kOptRefreshWithoutAsking, "RefreshWithoutAsking", TOptionKind::Bool, false},
      {kOptAddToRepositoryOnSave, "AddToRepositoryOnSave", TOptionKind::Bool, true},
      {kOptDetectRenamesOnUpdate, "DetectRenamesOnUpdate", TOptionKind::Bool, true},
      {kOptDisplayGrid, "Display Grid", TOptionKind::Bool, true},
      {kOptSnapToGrid, "Snap to Grid", TOptionKind::Bool, true},
      {kOptGridSizeX, "Grid Size X", TOptionKind::Integer, std::int64_t{8}},
      {kOptGridSizeY, "Grid Size Y", TOptionKind::Integer, std::int64_t{8}},
      {kOptDelimiterStyle, "Delimiter Style", TOptionKind::Integer, std::int64_t{1}},
  };
  return entries;
}

const TOptionEntry& TVaqOptionProps::Entry(int Index) const {
  for (const TOptionEntry& entry : Entries())
    if (entry.Index == Index) return entry;
  throw EVaqError(Format("Unknown option index %d", {Index}));
}

const TOptionEntry& TVaqOptionProps::Entry(std::string_view Name) const {
  for (const TOptionEntry& entry : Entries())
    if (AnsiSameText(entry.Name, Name)) return entry;
  throw EVaqError(Format("Unknown option \"%s\"", {Name}));
}

const std::map<int, TOptionValue>& TVaqOptionProps::Stored() const {
  const std::string file = VaqRegistryFile();
  if (stored_ && storedFrom_ == file) return *stored_;
  std::map<int, TOptionValue> values;
  TRegistry registry;
  if (registry.OpenKey(OptionsKey(), false)) {
    for (const TOptionEntry& entry : Entries()) {
      if (!registry.ValueExists(entry.Name)) continue;
      try {
        switch (entry.Kind) {
          case TOptionKind::Bool:
            values[entry.Index] = registry.ReadBool(entry.Name);
            break;
          case TOptionKind::Integer:
            values[entry.Index] = registry.ReadInteger(entry.Name);
            break;
          case TOptionKind::Text:
            values[entry.Index] = registry.ReadString(entry.Name);
            break;
        }
      } catch (const EVaqError&) {
        // A value of another kind, written by hand: the default applies.
      }
    }
  }
  stored_ = std::move(values);
  storedFrom_ = file;
  return *stored_;
}

TOptionValue TVaqOptionProps::Get(int Index) const {
  const TOptionEntry& entry = Entry(Index);
  std::lock_guard lock(mutex_);
  if (const auto found = overrides_.find(Index); found != overrides_.end()) return found->second;
  const auto& stored = Stored();
  const auto found = stored.find(Index);
  return found == stored.end() ? entry.Default : found->second;
}

TOptionValue TVaqOptionProps::Get(std::string_view Name) const {
  return Get(Entry(Name).Index);
}

bool TVaqOptionProps::GetBool(int Index) const {
  CheckKind(Entry(Index), false);
  return std::get<bool>(Get(Index));
}

std::int64_t TVaqOptionProps::GetInteger(int Index) const {
  CheckKind(Entry(Index), std::int64_t{0});
  return std::get<std::int64_t>(Get(Index));
}

std::string TVaqOptionProps::GetString(int Index) const {
  CheckKind(Entry(Index), std::string());
  return std::get<std::string>(Get(Index));
}

void TVaqOptionProps::Set(int Index, const TOptionValue& Value) {
  const TOptionEntry& entry = Entry(Index);
  CheckKind(entry, Value);
  std::lock_guard lock(mutex_);
  TRegistry registry;
  registry.OpenKey(OptionsKey(), true);
  switch (entry.Kind) {
    case TOptionKind::Bool:
      registry.WriteBool(entry.Name, std::get<bool>(Value));
      break;
    case TOptionKind::Integer:
      registry.WriteInteger(entry.Name, std::get<std::int64_t>(Value));
      break;
    case TOptionKind::Text:
      registry.WriteString(entry.Name, std::get<std::string>(Value));
      break;
  }
  stored_.reset();
}

void TVaqOptionProps::Set(std::string_view Name, const TOptionValue& Value) {
  Set(Entry(Name).Index, Value);
}

void TVaqOptionProps::SetOverride(int Index, const TOptionValue& Value) {
  CheckKind(Entry(Index), Value);
  std::lock_guard lock(mutex_);
  overrides_[Index] = Value;
}

void TVaqOptionProps::ClearOverride(int Index) {
  std::lock_guard lock(mutex_);
  overrides_.erase(Index);
}

void TVaqOptionProps::ClearOverrides() {
  std::lock_guard lock(mutex_);
  overrides_.clear();
}

void TVaqOptionProps::Reload() {
  std::lock_guard lock(mutex_);
  stored_.reset();
}

}  // namespace vaq
