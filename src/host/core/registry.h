// The registry store: keys with named Boolean, integer and text values, kept in one INI-style file
// under the user's configuration folder ($XDG_CONFIG_HOME/vaq/, or $VAQ_CONFIG_DIR).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vaq {

class TRegistry {
 public:
  TRegistry();
  ~TRegistry();
  // Opens a key below the current user; false when it does not exist and `CanCreate` is false.
  bool OpenKey(std::string_view Key, bool CanCreate);
  void CloseKey();
  bool ValueExists(std::string_view Name) const;
  bool ReadBool(std::string_view Name) const;
  void WriteBool(std::string_view Name, bool Value);
  std::int64_t ReadInteger(std::string_view Name) const;
  void WriteInteger(std::string_view Name, std::int64_t Value);
  std::string ReadString(std::string_view Name) const;
  void WriteString(std::string_view Name, std::string_view Value);
};

}  // namespace vaq
