// Runs a program as a whole process for a benchmark of what a user waits on: its standard output
// (and standard error, unless kept) to /dev/null; the wall time, the CPU time (user and system)
// and the peak resident memory it took.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace bench {

struct TProcessRun {
  double WallMs = 0;
  double CpuMs = 0;
  double PeakRssMb = 0;
};

// Runs `Args` (the program first). A process that cannot be started, or that exits with a status
// above `MaxStatus` (or by a signal), gives nothing: a benchmark measures a working program.
inline std::optional<TProcessRun> RunProcess(std::vector<std::string> Args, int MaxStatus = 0,
                                             bool KeepStderr = false) {
  std::vector<char*> argv;
  for (std::string& arg : Args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  if (!KeepStderr) posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  rusage usage{};
  if (failed != 0 || ::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) ||
      WEXITSTATUS(status) > MaxStatus)
    return std::nullopt;
  TProcessRun run;
  run.WallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  const auto ms = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + t.tv_usec / 1e3; };
  run.CpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
  run.PeakRssMb = static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
  return run;
}

}  // namespace bench
