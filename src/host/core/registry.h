// The registry store: keys with named Boolean, integer and text values, kept in one INI-style file
// "registry.ini" in the configuration folder (VaqConfigDir()).
//
// File layout: a section per key, "[Software\Vaq\Translator\Options]", followed by one line per value,
// "Name=kind:value". Kinds:
//   bool:1 / bool:0       a Boolean
//   int:-42               a decimal 64-bit integer
//   str:text              a text; backslash, CR and LF are written as "\\", "\r" and "\n", every
//                         other byte (non-ASCII included) as it is
// In value names, backslash, CR, LF, '=', '[' and ';' are escaped with a backslash ("\=", "\r", ...)
// so that a name never ends early or reads as a section or a comment. Lines starting with ';' are
// comments. Keys and value names compare case-insensitively (ASCII letters). A line that does not
// fit this layout is ignored on reading and kept as it is when the file is rewritten.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vaq {

// The user's configuration folder: $VAQ_CONFIG_DIR if set, else $XDG_CONFIG_HOME/vaq, else
// $HOME/.config/vaq. Without a trailing separator; not created here.
std::string VaqConfigDir();
// The registry store's file in the configuration folder.
std::string VaqRegistryFile();

class TRegistry {
 public:
  TRegistry();
  ~TRegistry();
  // Opens a key ("Software\\Vaq\\Translator", separators "\\"); false when it does not exist and
  // `CanCreate` is false. A key exists when it has a section or a key below it has one. Creating a
  // key writes its empty section. Reads the file again; a missing file is an empty store.
  bool OpenKey(std::string_view Key, bool CanCreate);
  void CloseKey();
  const std::string& CurrentKey() const { return key_; }

  bool ValueExists(std::string_view Name) const;
  // Names of the current key's values, in file order.
  std::vector<std::string> GetValueNames() const;

  // A missing value, or a value of another kind, raises EVaqError naming key and value.
  bool ReadBool(std::string_view Name) const;
  std::int64_t ReadInteger(std::string_view Name) const;
  std::string ReadString(std::string_view Name) const;

  // Each write re-reads the file (keeping what other processes wrote), replaces or adds the one
  // line and rewrites the file atomically; the configuration folder is created on the first write.
  // Writing without an open key raises EVaqError.
  void WriteBool(std::string_view Name, bool Value);
  void WriteInteger(std::string_view Name, std::int64_t Value);
  void WriteString(std::string_view Name, std::string_view Value);
  // Removes a value; false when it did not exist.
  bool DeleteValue(std::string_view Name);

 private:
  const std::string& Raw(std::string_view Name, std::string_view Kind) const;
  void WriteRaw(std::string_view Name, const std::string& Encoded);

  std::string key_;                                          // empty: no key open
  std::vector<std::pair<std::string, std::string>> values_;  // name, "kind:value" of the open key
};

}  // namespace vaq
