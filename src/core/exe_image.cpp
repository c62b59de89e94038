// Resource tree of a PE image. Every offset is checked against the bytes at hand before it is read,
// and the walk is bounded, so a damaged or hostile file ends in an EVaqError.
#include "host/core/exe_image.h"

#include <cstdint>
#include <map>
#include <set>
#include <string_view>

#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/locale.h"

namespace vaq {

namespace {

constexpr std::uint32_t kHighBit = 0x80000000u;
constexpr std::size_t kDirectorySize = 16, kEntrySize = 8, kDataEntrySize = 16, kSectionSize = 40;

class TImageReader {
 public:
  TImageReader(const std::string& fileName, std::string_view data) : fileName_(fileName), data_(data) {}

  TResourceList Read() {
    if (data_.size() < 0x40 || data_.substr(0, 2) != "MZ") Fail("no DOS header");
    const std::size_t pe = U32(0x3C, data_.size());
    if (pe + 24 < pe || pe + 24 > data_.size() || data_.substr(pe, 4) != std::string_view("PE\0\0", 4))
      Fail("no PE signature");
    const std::size_t sections = U16(pe + 6, data_.size());
    const std::size_t optionalSize = U16(pe + 20, data_.size());
    const std::size_t optional = pe + 24;
    if (optional + optionalSize > data_.size()) Fail("optional header beyond the end of the file");
    const std::size_t optionalEnd = optional + optionalSize;
    if (optionalSize < 2) Fail("optional header too small");
    std::size_t directories = 0;
    switch (U16(optional, optionalEnd)) {
      case 0x10B:
        directories = optional + 96;
        break;
      case 0x20B:
        directories = optional + 112;
        break;
      default:
        Fail("unknown optional header magic");
    }
    const std::uint32_t directoryCount = U32(directories - 4, optionalEnd);
    if (directoryCount <= 2) return {};
    const std::uint32_t rva = U32(directories + 2 * 8, optionalEnd);
    if (rva == 0) return {};

    const std::size_t table = optionalEnd;
    if (sections * kSectionSize > data_.size() - table) Fail("section table beyond the end of the file");
    for (std::size_t i = 0; i < sections; ++i) {
      const std::size_t s = table + i * kSectionSize;
      const std::uint32_t address = U32(s + 12, data_.size()), rawSize = U32(s + 16, data_.size()),
                          rawOffset = U32(s + 20, data_.size());
      if (rva < address || rva - address >= rawSize) continue;
      if (rawOffset > data_.size() || rawSize > data_.size() - rawOffset)
        Fail("resource section beyond the end of the file");
      base_ = rawOffset + (rva - address);
      limit_ = rawOffset + rawSize;
      entryBudget_ = (limit_ - base_) / kEntrySize;
      nameBudget_ = limit_ - base_;
      return ReadTypes();
    }
    Fail("resource directory outside every section");
  }

 private:
  [[noreturn]] void Fail(const std::string& problem) const {
    throw EVaqError("Malformed program file " + fileName_ + ": " + problem);
  }

  // Little-endian values at `at`, which must end at or before `end`.
  std::uint32_t Bytes(std::size_t at, std::size_t count, std::size_t end) const {
    if (at > end || count > end - at) Fail("offset beyond the end of its area");
    std::uint32_t value = 0;
    for (std::size_t i = count; i-- > 0;) value = value << 8 | static_cast<unsigned char>(data_[at + i]);
    return value;
  }
  std::uint32_t U16(std::size_t at, std::size_t end) const { return Bytes(at, 2, end); }
  std::uint32_t U32(std::size_t at, std::size_t end) const { return Bytes(at, 4, end); }

  struct TEntry {
    bool Named;
    std::uint32_t Id;  // the name's offset when named
    bool IsDirectory;
    std::uint32_t Offset;
  };

  // The entries of the directory at `offset` (relative to the resources' start).
  std::vector<TEntry> Directory(std::uint32_t offset) {
    if (!visited_.insert(offset).second) Fail("resource directory loop");
    const std::size_t at = base_ + offset;
    if (offset > limit_ - base_ || kDirectorySize > limit_ - at)
      Fail("resource directory beyond its section");
    const std::size_t named = U16(at + 12, limit_), ids = U16(at + 14, limit_);
    const std::size_t count = named + ids;
    if (count > (limit_ - at - kDirectorySize) / kEntrySize || count > entryBudget_)
      Fail("resource directory entry count beyond its section");
    entryBudget_ -= count;
    std::vector<TEntry> entries;
    entries.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t e = at + kDirectorySize + i * kEntrySize;
      const std::uint32_t name = U32(e, limit_), target = U32(e + 4, limit_);
      entries.push_back(
          {(name & kHighBit) != 0, name & ~kHighBit, (target & kHighBit) != 0, target & ~kHighBit});
    }
    return entries;
  }

  std::string Name(const TEntry& entry) {
    if (!entry.Named) return std::to_string(entry.Id);
    if (const auto found = names_.find(entry.Id); found != names_.end()) return found->second;
    const std::size_t at = base_ + entry.Id;
    if (entry.Id > limit_ - base_) Fail("resource name beyond its section");
    const std::size_t length = U16(at, limit_);
    if (length * 2 > limit_ - at - 2 || length * 2 > nameBudget_) Fail("resource name beyond its section");
    nameBudget_ -= length * 2;
    std::u16string text(length, u'\0');
    for (std::size_t i = 0; i < length; ++i) text[i] = static_cast<char16_t>(U16(at + 2 + 2 * i, limit_));
    return names_[entry.Id] = Utf16ToUtf8(text);
  }

  void CheckDataEntry(const TEntry& entry) const {
    if (entry.Offset > limit_ - base_ || kDataEntrySize > limit_ - base_ - entry.Offset)
      Fail("resource data entry beyond its section");
  }

  TResourceList ReadTypes() {
    TResourceList types;
    for (const TEntry& type : Directory(0)) {
      if (!type.IsDirectory) Fail("resource type without a directory");
      TResourceItem& item = types.emplace_back();
      item.IsDirectory = true;
      item.ResType = type.Named ? 0 : static_cast<int>(type.Id & 0xFFFF);
      item.Name = Name(type);
      for (const TEntry& resource : Directory(type.Offset)) {
        TResourceItem& child = item.List.emplace_back();
        child.ResType = item.ResType;
        child.Name = Name(resource);
        if (!resource.IsDirectory) {
          CheckDataEntry(resource);
          continue;
        }
        for (const TEntry& language : Directory(resource.Offset)) {
          if (language.IsDirectory) Fail("resource directories nested deeper than three levels");
          CheckDataEntry(language);
        }
      }
    }
    return types;
  }

  const std::string& fileName_;
  std::string_view data_;
  std::size_t base_ = 0, limit_ = 0;  // the resources' start and their section's end in the file
  std::size_t entryBudget_ = 0;       // entries left to read: each takes its own 8 bytes
  std::size_t nameBudget_ = 0;        // name bytes left to decode
  std::set<std::uint32_t> visited_;
  std::map<std::uint32_t, std::string> names_;
};

}  // namespace

TExeImage::TExeImage(const std::string& FileName) : TExeImage(FileName, ReadFileBytes(FileName)) {}

TExeImage::TExeImage(const std::string& FileName, std::string_view Data)
    : list_(TImageReader(FileName, Data).Read()) {}

}  // namespace vaq
