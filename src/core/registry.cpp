// The registry store on top of one INI-style file; see registry.h for the layout.
#include "host/core/registry.h"

#include <charconv>
#include <cstdlib>
#include <optional>

#include "host/core/errors.h"
#include "host/core/files.h"

namespace vaq {
namespace {

constexpr std::string_view kBool = "bool:";
constexpr std::string_view kInt = "int:";
constexpr std::string_view kStr = "str:";

char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

// "\\Software\\Vaq\\" -> "Software\\Vaq". Keys become section headers, so they stay on one line.
std::string NormalizeKey(std::string_view key) {
  while (!key.empty() && key.front() == '\\') key.remove_prefix(1);
  while (!key.empty() && key.back() == '\\') key.remove_suffix(1);
  if (key.find_first_of("\r\n]") != std::string_view::npos)
    throw EVaqError("Invalid registry key \"" + std::string(key) + "\": it contains a line break or ']'");
  return std::string(key);
}

std::string EscapeName(std::string_view name) {
  std::string out;
  for (const char c : name) {
    switch (c) {
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\\':
      case '=':
      case '[':
      case ';':
        out += '\\';
        out += c;
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string EscapeText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

// Undoes EscapeText; nullopt for an unknown escape or a trailing backslash.
std::optional<std::string> UnescapeText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return std::nullopt;
    switch (text[i]) {
      case '\\':
        out += '\\';
        break;
      case 'r':
        out += '\r';
        break;
      case 'n':
        out += '\n';
        break;
      default:
        return std::nullopt;
    }
  }
  return out;
}

std::optional<std::int64_t> ParseInt(std::string_view text) {
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

bool ValidEncoded(std::string_view encoded) {
  if (encoded.starts_with(kBool))
    return encoded.substr(kBool.size()) == "0" || encoded.substr(kBool.size()) == "1";
  if (encoded.starts_with(kInt)) return ParseInt(encoded.substr(kInt.size())).has_value();
  if (encoded.starts_with(kStr)) return UnescapeText(encoded.substr(kStr.size())).has_value();
  return false;
}

// The key of a section header line.
std::optional<std::string_view> SectionOf(std::string_view line) {
  if (line.size() < 2 || line.front() != '[' || line.back() != ']') return std::nullopt;
  return line.substr(1, line.size() - 2);
}

struct ValueLine {
  std::string Name;
  std::string Encoded;  // "kind:value"
};

// A "Name=kind:value" line; nullopt for comments, blank and malformed lines.
std::optional<ValueLine> ParseValueLine(std::string_view line) {
  if (line.empty() || line.front() == ';' || line.front() == '[') return std::nullopt;
  ValueLine result;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '=') {
      result.Encoded = std::string(line.substr(i + 1));
      if (result.Name.empty() || !ValidEncoded(result.Encoded)) return std::nullopt;
      return result;
    }
    if (c != '\\') {
      result.Name += c;
      continue;
    }
    if (++i == line.size()) return std::nullopt;
    switch (line[i]) {
      case 'r':
        result.Name += '\r';
        break;
      case 'n':
        result.Name += '\n';
        break;
      case '\\':
      case '=':
      case '[':
      case ';':
        result.Name += line[i];
        break;
      default:
        return std::nullopt;
    }
  }
  return std::nullopt;
}

std::vector<std::string> LoadStore() {
  const std::string file = VaqRegistryFile();
  if (!FileExists(file)) return {};
  return SplitLines(ReadFileBytes(file));
}

void SaveStore(const std::vector<std::string>& lines) {
  std::string data;
  for (const std::string& line : lines) {
    data += line;
    data += '\n';
  }
  ForceDirectories(VaqConfigDir());
  WriteFileAtomic(VaqRegistryFile(), data);
}

// Index of the first section header of `key`, or lines.size().
std::size_t FindSection(const std::vector<std::string>& lines, std::string_view key) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto section = SectionOf(lines[i]);
    if (section && SameName(*section, key)) return i;
  }
  return lines.size();
}

// Index just past the last line of the section that starts at `header`.
std::size_t SectionEnd(const std::vector<std::string>& lines, std::size_t header) {
  std::size_t end = header + 1;
  while (end < lines.size() && !SectionOf(lines[end])) ++end;
  return end;
}

// Index of the line of value `name` in the section that starts at `header`, or `end`.
std::size_t FindValue(const std::vector<std::string>& lines, std::size_t header, std::size_t end,
                      std::string_view name) {
  for (std::size_t i = header + 1; i < end; ++i) {
    const auto value = ParseValueLine(lines[i]);
    if (value && SameName(value->Name, name)) return i;
  }
  return end;
}

bool KeyExists(const std::vector<std::string>& lines, std::string_view key) {
  for (const std::string& line : lines) {
    const auto section = SectionOf(line);
    if (!section) continue;
    if (SameName(*section, key)) return true;
    if (section->size() > key.size() && (*section)[key.size()] == '\\' &&
        SameName(section->substr(0, key.size()), key))
      return true;
  }
  return false;
}

std::vector<std::pair<std::string, std::string>> ValuesOf(const std::vector<std::string>& lines,
                                                          std::string_view key) {
  std::vector<std::pair<std::string, std::string>> values;
  const std::size_t header = FindSection(lines, key);
  if (header == lines.size()) return values;
  const std::size_t end = SectionEnd(lines, header);
  for (std::size_t i = header + 1; i < end; ++i) {
    auto value = ParseValueLine(lines[i]);
    if (!value) continue;
    bool seen = false;
    for (const auto& known : values) seen = seen || SameName(known.first, value->Name);
    if (!seen) values.emplace_back(std::move(value->Name), std::move(value->Encoded));
  }
  return values;
}

// Index of the section header of `key`, appending an empty section when there is none.
std::size_t EnsureSection(std::vector<std::string>& lines, const std::string& key) {
  std::size_t header = FindSection(lines, key);
  if (header == lines.size()) {
    if (!lines.empty() && !lines.back().empty()) lines.emplace_back();
    lines.push_back("[" + key + "]");
    header = lines.size() - 1;
  }
  return header;
}

}  // namespace

std::string VaqConfigDir() {
  if (const char* dir = std::getenv("VAQ_CONFIG_DIR"); dir && *dir) return dir;
  if (const char* dir = std::getenv("XDG_CONFIG_HOME"); dir && *dir) return std::string(dir) + "/vaq";
  const char* home = std::getenv("HOME");
  return std::string(home ? home : "") + "/.config/vaq";
}

std::string VaqRegistryFile() {
  return IncludeTrailingPathDelimiter(VaqConfigDir()) + "registry.ini";
}

TRegistry::TRegistry() = default;
TRegistry::~TRegistry() = default;

bool TRegistry::OpenKey(std::string_view Key, bool CanCreate) {
  const std::string key = NormalizeKey(Key);
  std::vector<std::string> lines = LoadStore();
  if (!KeyExists(lines, key)) {
    if (!CanCreate) return false;
    EnsureSection(lines, key);
    SaveStore(lines);
  }
  key_ = key;
  values_ = ValuesOf(lines, key_);
  return true;
}

void TRegistry::CloseKey() {
  key_.clear();
  values_.clear();
}

bool TRegistry::ValueExists(std::string_view Name) const {
  for (const auto& value : values_)
    if (SameName(value.first, Name)) return true;
  return false;
}

std::vector<std::string> TRegistry::GetValueNames() const {
  std::vector<std::string> names;
  for (const auto& value : values_) names.push_back(value.first);
  return names;
}

const std::string& TRegistry::Raw(std::string_view Name, std::string_view Kind) const {
  for (const auto& value : values_) {
    if (!SameName(value.first, Name)) continue;
    if (!value.second.starts_with(Kind))
      throw EVaqError("Registry value \"" + std::string(Name) + "\" of key \"" + key_ + "\" is not a" +
                      (Kind == kInt    ? "n integer"
                       : Kind == kBool ? " Boolean"
                                       : " text"));
    return value.second;
  }
  throw EVaqError("Registry value \"" + std::string(Name) + "\" of key \"" + key_ + "\" does not exist");
}

bool TRegistry::ReadBool(std::string_view Name) const {
  return Raw(Name, kBool).substr(kBool.size()) == "1";
}

std::int64_t TRegistry::ReadInteger(std::string_view Name) const {
  return *ParseInt(std::string_view(Raw(Name, kInt)).substr(kInt.size()));
}

std::string TRegistry::ReadString(std::string_view Name) const {
  return *UnescapeText(std::string_view(Raw(Name, kStr)).substr(kStr.size()));
}

void TRegistry::WriteRaw(std::string_view Name, const std::string& Encoded) {
  if (key_.empty())
    throw EVaqError("Cannot write registry value \"" + std::string(Name) + "\": no key is open");
  if (Name.empty()) throw EVaqError("Cannot write a registry value without a name in key \"" + key_ + "\"");
  std::vector<std::string> lines = LoadStore();
  const std::size_t header = EnsureSection(lines, key_);
  const std::size_t end = SectionEnd(lines, header);
  const std::size_t at = FindValue(lines, header, end, Name);
  std::string line = EscapeName(Name) + "=" + Encoded;
  if (at < end) {
    lines[at] = std::move(line);
  } else {
    // After the section's last non-blank line, so that the blank line before the next section stays.
    std::size_t insert = end;
    while (insert > header + 1 && lines[insert - 1].empty()) --insert;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insert), std::move(line));
  }
  SaveStore(lines);
  values_ = ValuesOf(lines, key_);
}

void TRegistry::WriteBool(std::string_view Name, bool Value) {
  WriteRaw(Name, std::string(kBool) + (Value ? "1" : "0"));
}

void TRegistry::WriteInteger(std::string_view Name, std::int64_t Value) {
  WriteRaw(Name, std::string(kInt) + std::to_string(Value));
}

void TRegistry::WriteString(std::string_view Name, std::string_view Value) {
  WriteRaw(Name, std::string(kStr) + EscapeText(Value));
}

bool TRegistry::DeleteValue(std::string_view Name) {
  if (key_.empty()) return false;
  std::vector<std::string> lines = LoadStore();
  const std::size_t header = FindSection(lines, key_);
  if (header == lines.size()) return false;
  const std::size_t at = FindValue(lines, header, SectionEnd(lines, header), Name);
  const bool found = at < SectionEnd(lines, header);
  if (found) {
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
    SaveStore(lines);
  }
  values_ = ValuesOf(lines, key_);
  return found;
}

}  // namespace vaq
