// The file-type registry.
#include "host/core/registration.h"

#include "host/core/text.h"

namespace vaq {
namespace {

// The registered file types, in the order of registration. The core's one registry: the host and
// every module reach it through this library.
std::vector<std::unique_ptr<TVaqFileType>>& Registry() {
  static std::vector<std::unique_ptr<TVaqFileType>> fileTypes;
  return fileTypes;
}

bool ListsExtension(std::string_view extensions, std::string_view ext) {
  while (!extensions.empty()) {
    const std::size_t semicolon = extensions.find(';');
    std::string_view item = extensions.substr(0, semicolon);
    while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
    while (!item.empty() && item.back() == ' ') item.remove_suffix(1);
    if (!item.empty() && AnsiSameText(item, ext)) return true;
    if (semicolon == std::string_view::npos) break;
    extensions.remove_prefix(semicolon + 1);
  }
  return false;
}

}  // namespace

TVaqFileTypes VaqFileTypes;

void RegisterVaqFileType(std::unique_ptr<TVaqFileType> FileType) {
  if (FileType) Registry().push_back(std::move(FileType));
}

void UnregisterVaqFileTypes() {
  Registry().clear();
}

void UnregisterVaqFileType(const TVaqFileType* FileType) {
  std::erase_if(Registry(),
                [FileType](const std::unique_ptr<TVaqFileType>& type) { return type.get() == FileType; });
}

int TVaqFileTypes::ExtIndexOf(std::string_view Ext) const {
  if (Ext.empty()) return -1;
  const auto& fileTypes = Registry();
  for (std::size_t i = 0; i < fileTypes.size(); ++i) {
    if (ListsExtension(fileTypes[i]->Extensions, Ext)) return static_cast<int>(i);
  }
  return -1;
}

int TVaqFileTypes::Count() const {
  return static_cast<int>(Registry().size());
}

TVaqFileType* GetVaqFileType(int i) {
  const auto& fileTypes = Registry();
  if (i < 0 || static_cast<std::size_t>(i) >= fileTypes.size()) return nullptr;
  return fileTypes[static_cast<std::size_t>(i)].get();
}

}  // namespace vaq
