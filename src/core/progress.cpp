// The status line of long work.
#include "host/core/progress.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace vaq {
namespace {

using Clock = std::chrono::steady_clock;

std::size_t TerminalWidth() {
  winsize size{};
  if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return 80;
}

}  // namespace

TProgress::TProgress(std::size_t Total, bool Quiet)
    : total_(Total), quiet_(Quiet), live_(!Quiet && ::isatty(STDERR_FILENO) == 1), start_(Clock::now()) {}

TProgress::~TProgress() {
  Clear();
}

std::string TProgress::StatusLine(std::size_t Done, std::size_t Total, std::string_view Name,
                                  std::chrono::seconds Elapsed, std::size_t Width) {
  std::string count = std::to_string(Done);
  if (Total >= Done) count += "/" + std::to_string(Total);
  const auto seconds = Elapsed.count();
  std::string time =
      std::to_string(seconds / 60) + ":" + (seconds % 60 < 10 ? "0" : "") + std::to_string(seconds % 60);
  std::string line = count + "  " + std::string(Name) + "  " + time;
  if (Width != 0 && line.size() > Width) {
    // The name gives way, from its start: its end (the file name) says the most.
    const std::size_t fixed = count.size() + time.size() + 7;
    if (Width > fixed) {
      const std::size_t keep = Width - fixed;
      std::size_t from = Name.size() - keep;
      while (from < Name.size() && (static_cast<unsigned char>(Name[from]) & 0xC0) == 0x80) ++from;
      line = count + "  ..." + std::string(Name.substr(from)) + "  " + time;
    } else {
      line = count;
    }
    if (line.size() > Width) line.resize(Width);
  }
  return line;
}

void TProgress::Step(std::string_view Name) {
  ++started_;
  name_ = Name;
  if (!live_ || finished_) return;
  const auto now = Clock::now();
  if (shown_ && now - drawn_ < std::chrono::milliseconds(100)) return;
  Draw();
}

void TProgress::Draw() {
  drawn_ = Clock::now();
  const auto elapsed = std::chrono::duration_cast<std::chrono::seconds>(drawn_ - start_);
  const std::string line = StatusLine(started_, total_, name_, elapsed, TerminalWidth() - 1);
  std::fprintf(stderr, "\r%s\x1b[K", line.c_str());
  std::fflush(stderr);
  shown_ = true;
}

void TProgress::Clear() {
  if (!shown_) return;
  std::fputs("\r\x1b[K", stderr);
  std::fflush(stderr);
  shown_ = false;
}

void TProgress::Finish() {
  Clear();
  finished_ = true;
}

void TProgress::Restore() {
  if (live_ && !finished_ && started_ > 0 && !shown_) Draw();
}

void TProgress::Print(std::FILE* Stream, std::string_view Line) {
  Clear();
  std::fwrite(Line.data(), 1, Line.size(), Stream);
  std::fputc('\n', Stream);
  std::fflush(Stream);
  Restore();
}

void TProgressSink::Error(std::string_view text) {
  progress_.Clear();
  StderrSink::Error(text);
  progress_.Restore();
  ++Errors;
}

void TProgressSink::Warning(std::string_view text) {
  progress_.Clear();
  StderrSink::Warning(text);
  progress_.Restore();
}

void TProgressSink::Information(std::string_view text) {
  progress_.Clear();
  StderrSink::Information(text);
  progress_.Restore();
}

}  // namespace vaq
