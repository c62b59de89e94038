// The message sink behind ShowError.
#include "host/core/errors.h"

#include <cstdio>
#include <utility>

namespace vaq {
namespace {

std::unique_ptr<MessageSink>& CurrentSink() {
  static std::unique_ptr<MessageSink> sink = std::make_unique<StderrSink>();
  return sink;
}

}  // namespace

void StderrSink::Error(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fputc('\n', stderr);
  std::fflush(stderr);
}

void StderrSink::Warning(std::string_view text) {
  StderrSink::Error(text);
}

void StderrSink::Information(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

void ShowError(std::string_view text) {
  auto& sink = CurrentSink();
  if (sink) sink->Error(text);
}

void ShowMessage(std::string_view text) {
  auto& sink = CurrentSink();
  if (sink) sink->Information(text);
}

void ShowWarning(std::string_view text) {
  auto& sink = CurrentSink();
  if (sink) sink->Warning(text);
}

std::unique_ptr<MessageSink> SetMessageSink(std::unique_ptr<MessageSink> sink) {
  if (!sink) sink = std::make_unique<StderrSink>();
  return std::exchange(CurrentSink(), std::move(sink));
}

}  // namespace vaq
