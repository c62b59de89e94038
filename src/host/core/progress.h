// Progress of long work over many files, on standard error.
//
// On a terminal (standard error is a TTY) one status line stays at the bottom and is rewritten in
// place: "12/340  forms/Orders.rux  0:07" (items started of the total, the current item, time
// elapsed). Lines that stay (results, problems, the summary) are printed above it: Print and the
// message sink of TProgressSink first clear the status line. When standard error is not a
// terminal, or with Quiet, no status line is drawn and the lines are printed as they come.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

#include "host/core/errors.h"

namespace vaq {

class TProgress {
 public:
  // `Total` items (0 when not known beforehand).
  TProgress(std::size_t Total, bool Quiet);
  // Clears the status line.
  ~TProgress();
  TProgress(const TProgress&) = delete;
  TProgress& operator=(const TProgress&) = delete;

  // Item `Name` starts; redraws the status line (at most ten times a second, and always for the
  // first item).
  void Step(std::string_view Name);
  // Prints one line (a line break is added) to `Stream` above the status line.
  void Print(std::FILE* Stream, std::string_view Line);
  // Removes the status line; the next Step or Print draws it again.
  void Clear();
  // The work is over: removes the status line for good (the summary follows).
  void Finish();
  // Draws the status line again after a line was printed above it.
  void Restore();

  bool Live() const { return live_; }    // a status line is drawn
  bool Quiet() const { return quiet_; }  // only problems and the summary are printed
  std::size_t Done() const { return started_; }

  // The status line as drawn for `Done` of `Total` items, at most `Width` bytes ("" for Width 0:
  // no limit); public for tests.
  static std::string StatusLine(std::size_t Done, std::size_t Total, std::string_view Name,
                                std::chrono::seconds Elapsed, std::size_t Width);

 private:
  void Draw();

  const std::size_t total_;
  const bool quiet_;
  const bool live_;
  std::size_t started_ = 0;
  std::string name_;
  bool shown_ = false;
  bool finished_ = false;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point drawn_;
};

// Messages on standard error that keep clear of the status line; counts the errors (a command
// that had to report a problem exits with 1).
class TProgressSink : public StderrSink {
 public:
  explicit TProgressSink(TProgress& Progress) : progress_(Progress) {}
  void Error(std::string_view text) override;
  void Warning(std::string_view text) override;
  void Information(std::string_view text) override;
  int Errors = 0;

 private:
  TProgress& progress_;
};

}  // namespace vaq
