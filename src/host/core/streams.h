// Text streams, the reload queue, temporary files and the 8-bit text hand-over of generated text.
#pragma once

#include <deque>
#include <string>
#include <string_view>

namespace vaq {

// A growing text buffer that generated form text is appended to.
class TIntlStream {
 public:
  void Write(std::string_view Text) { Data.append(Text); }
  const std::string& Text() const { return Data; }
  void Clear() { Data.clear(); }

 private:
  std::string Data;
};

// Files the IDE should reload because a module rewrote them.
class TVaqStringQue {
 public:
  void Push(std::string FileName) { Items.push_back(std::move(FileName)); }
  bool Empty() const { return Items.empty(); }
  std::string Pop();

 private:
  std::deque<std::string> Items;
};
extern TVaqStringQue ReloadQue;

// The core's folder for temporary files, with a trailing separator.
std::string GetTempDir();
// Deletes a temporary file if it exists.
void RemoveTempFile(const std::string& FileName);
// Hands 8-bit generated text to the core's text stream; passes it through unchanged.
inline std::string VaqToStr(std::string_view Text) {
  return std::string(Text);
}

}  // namespace vaq
