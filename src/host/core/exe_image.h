// Reads the resource tree of a built program or library (PE format, 32 and 64 bit).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vaq {

struct TResourceItem;
using TResourceList = std::vector<TResourceItem>;

struct TResourceItem {
  int ResType = 0;  // 10 is RCDATA, where forms are linked
  std::string Name;
  bool IsDirectory = false;
  TResourceList List;  // items of a directory
};

// The list has two levels, in the order of the image's directories:
// - one directory item per resource type: IsDirectory, ResType = the type's id (0 for a named
//   type), Name = the type's name, or its id in decimal;
// - in its List, one item per resource: ResType = the type's id, Name = the resource's name in
//   UTF-8 (forms are named by their class, e.g. "TFORM1"), or its id in decimal.
// Languages are not listed. An image without resources has an empty list.
class TExeImage {
 public:
  // Raises EFileError on a file that cannot be read and EVaqError on a malformed image; both name
  // the file.
  explicit TExeImage(const std::string& FileName);
  // Reads an image already in memory; `FileName` only names it in messages.
  TExeImage(const std::string& FileName, std::string_view Data);
  const TResourceList& GetResourceList() const { return list_; }

 private:
  TResourceList list_;
};

}  // namespace vaq
