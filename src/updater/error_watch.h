// Counts the errors shown while it lives, so that an update can tell which forms had a problem
// reported (by whatever step reported it) without every step answering for itself. Every message
// still reaches the sink that was in place, unchanged and in order.
#pragma once

#include <memory>

namespace rux {

class TErrorWatch {
 public:
  TErrorWatch();
  ~TErrorWatch();  // puts the previous sink back
  TErrorWatch(const TErrorWatch&) = delete;
  TErrorWatch& operator=(const TErrorWatch&) = delete;

  int Errors() const;

 private:
  class TCountingSink;
  TCountingSink* sink_;  // owned by the message channel while the watch lives
};

}  // namespace rux
