// Reads the resource tree of a built program or library (PE format, 32 and 64 bit).
#pragma once

#include <memory>
#include <string>
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

class TExeImage {
 public:
  // Raises EFileError on a file that cannot be read and EVaqError on a malformed image.
  explicit TExeImage(const std::string& FileName);
  const TResourceList& GetResourceList() const;
};

}  // namespace vaq
