// The error count of an update.
#include "updater/error_watch.h"

#include <string_view>
#include <utility>

#include "host/core/errors.h"

namespace rux {

class TErrorWatch::TCountingSink : public vaq::MessageSink {
 public:
  void Error(std::string_view text) override {
    ++Errors;
    Next->Error(text);
  }
  void Information(std::string_view text) override { Next->Information(text); }
  void Warning(std::string_view text) override { Next->Warning(text); }

  std::unique_ptr<vaq::MessageSink> Next;
  int Errors = 0;
};

TErrorWatch::TErrorWatch() {
  auto sink = std::make_unique<TCountingSink>();
  sink_ = sink.get();
  sink_->Next = vaq::SetMessageSink(std::move(sink));
}

TErrorWatch::~TErrorWatch() {
  vaq::SetMessageSink(std::move(sink_->Next));  // the counting sink goes with the returned pointer
}

int TErrorWatch::Errors() const {
  return sink_->Errors;
}

}  // namespace rux
