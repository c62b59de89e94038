// Text streams, the reload queue, temporary files and the 8-bit text hand-over of generated text.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
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

// A first-in, first-out queue of texts.
class TVaqStringQue {
 public:
  void Push(std::string Text) { Items.push_back(std::move(Text)); }
  // The oldest text, taken off the queue; nothing when the queue is empty.
  std::optional<std::string> Pop();
  bool Empty() const { return Items.empty(); }
  std::size_t Count() const { return Items.size(); }

 private:
  std::deque<std::string> Items;
};
// Form files the IDE must reload because a module rewrote them (defined in src/core/streams.cpp).
extern TVaqStringQue ReloadQue;

// The core's folder for temporary files, with a trailing separator.
std::string GetTempDir();
// Deletes a temporary file if it exists.
void RemoveTempFile(const std::string& FileName);
// Hands 8-bit generated text to the core's text stream; passes it through unchanged, uncopied.
inline std::string_view VaqToStr(std::string_view Text) {
  return Text;
}

}  // namespace vaq
