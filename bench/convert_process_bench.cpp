// `vaq convert` as a whole process (start-up, reading, conversion, writing, shut-down) on a generated
// 5 MB form, in both directions, next to the same conversion in process. The counter "overhead_ms"
// of a process run is its time less the fastest in-process conversion of the same direction:
// what the program adds around the conversion (the aim: at most 15 ms). On a busy machine the wall
// time holds waiting for a processor; "cpu_overhead_ms" counts the process's own CPU time instead.
// "times_reference" compares the process's wall time with the reference converter's end to end on
// the same form (160 ms text to binary, 120 ms binary to text, measured on this machine when idle;
// the aim: at least 3).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "host/core/files.h"
#include "host/framework/formstream.h"
#include "process_run.h"
#include "support/form_generator.h"

namespace vaq::testing {
namespace {

namespace fs = std::filesystem;

// The generated form in both notations, as files in a folder of their own (on /dev/shm when there
// is one, so that the disk's speed does not count), removed at exit.
struct Files {
  Files() {
    const fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    Dir = base / ("vaq-convert-bench-" + std::to_string(::getpid()));
    fs::create_directories(Dir);
    TMemoryStream text(GenerateFormText(1, 5'000'000));
    TMemoryStream binary;
    ObjectTextToBinary(text, binary);
    WriteFileAtomic(Text(), text.Data());
    WriteFileAtomic(Binary(), binary.Data());
    // The program's configuration stays out of the user's.
    ::setenv("VAQ_CONFIG_DIR", (Dir / "config").c_str(), 1);
  }
  ~Files() {
    std::error_code error;
    fs::remove_all(Dir, error);
  }
  std::string Text() const { return (Dir / "form.rux").string(); }
  std::string Binary() const { return (Dir / "form.bin").string(); }
  std::string Out() const { return (Dir / "out").string(); }
  fs::path Dir;
};

const Files& TheFiles() {
  static const Files files;
  return files;
}

enum Direction { kTextToBinary, kBinaryToText };

// One conversion in process, as vaq convert does it: the file read, converted, written.
void ConvertInProcess(Direction direction) {
  const Files& files = TheFiles();
  const std::string input = ReadFileBytes(direction == kTextToBinary ? files.Text() : files.Binary());
  TAtomicFileWriter output(files.Out());
  const TOutputSink write = [&output](std::string_view piece) { output.Write(piece); };
  if (direction == kTextToBinary) {
    ObjectTextToBinary(input, write);
  } else {
    TMemoryStream stream = TMemoryStream::View(input);
    ObjectResourceToText(stream, write);
  }
  output.Commit();
}

// The conversion alone, as vaq convert runs it (the input where it lies, the output handed on in
// pieces), without the files: the pieces are only counted.
double FastestConversionMs(Direction direction) {
  const Files& files = TheFiles();
  const std::string input = ReadFileBytes(direction == kTextToBinary ? files.Text() : files.Binary());
  std::size_t bytes = 0;
  const TOutputSink count = [&bytes](std::string_view piece) { bytes += piece.size(); };
  double best = 1e9;
  for (int i = 0; i < 20; ++i) {
    const auto start = std::chrono::steady_clock::now();
    if (direction == kTextToBinary) {
      ObjectTextToBinary(input, count);
    } else {
      TMemoryStream stream = TMemoryStream::View(input);
      ObjectResourceToText(stream, count);
    }
    best = std::min(
        best, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  benchmark::DoNotOptimize(bytes);
  return best;
}

// The reference converter's time on the same form, end to end.
double ReferenceMs(Direction direction) {
  return direction == kTextToBinary ? 160.0 : 120.0;
}

// Runs vaq convert once; returns the CPU time (user and system) the process took, in ms.
double RunProgram(Direction direction) {
  const Files& files = TheFiles();
  const std::string in = direction == kTextToBinary ? files.Text() : files.Binary();
  const std::string out = files.Out();
  std::vector<std::string> args = {VAQ_PROGRAM, "convert", in,
                                   out,         "--to",    direction == kTextToBinary ? "binary" : "text"};
  const std::optional<bench::TProcessRun> run = bench::RunProcess(std::move(args), 0, true);
  if (!run) std::abort();  // the benchmark measures a working program only
  return run->CpuMs;
}

void BM_ConvertInProcess(benchmark::State& state) {
  const auto direction = static_cast<Direction>(state.range(0));
  for (auto _ : state) ConvertInProcess(direction);
  state.counters["conversion_ms"] = FastestConversionMs(direction);
}
BENCHMARK(BM_ConvertInProcess)
    ->Arg(kTextToBinary)
    ->Arg(kBinaryToText)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_ConvertProcess(benchmark::State& state) {
  const auto direction = static_cast<Direction>(state.range(0));
  RunProgram(direction);  // warm: the program and its libraries in the page cache
  const double conversion = FastestConversionMs(direction);
  double total = 0, cpu = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    cpu += RunProgram(direction);
    total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  }
  const auto runs = static_cast<double>(state.iterations());
  state.counters["conversion_ms"] = conversion;
  state.counters["overhead_ms"] = total / runs - conversion;
  // The CPU time of the process less the conversion's: the overhead as a busy machine measures it.
  state.counters["cpu_ms"] = cpu / runs;
  state.counters["cpu_overhead_ms"] = cpu / runs - conversion;
  state.counters["times_reference"] = ReferenceMs(direction) / (total / runs);
}
BENCHMARK(BM_ConvertProcess)
    ->Arg(kTextToBinary)
    ->Arg(kBinaryToText)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace vaq::testing

BENCHMARK_MAIN();
