// Speed of the exchange with other tools on 200,000 string records (German, so texts go through
// code page 1252), for XLIFF 2.0, XLIFF 1.2 and PO:
//  - in process, on notes lines in memory: export (units collected from the notes lines, file text
//    written) and import (file read, every unit compared and a tenth of them taken, encoded into
//    the notes lines);
//  - as whole processes, as a user waits for them: `vaq export PROJECT --lang de-DE -o FILE` and
//    `vaq import FILE --project PROJECT` on a project of 100 forms with 2,000 list strings each,
//    made by `vaq update` once. The import writes the notes and the translated forms of all forms;
//    the counter "cpu_ms" is the process's own CPU time, which a busy machine does not inflate.
//    The import runs on the language folder as the update left it (stale:0) and on a copy whose
//    files all have new times (stale:1, as after a checkout): then every translated form is read
//    back into its notes first.
// The files lie on /dev/shm when there is one, so that the disk's speed does not count.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "exchange/apply.h"
#include "exchange/collect.h"
#include "exchange/formats.h"
#include "host/core/files.h"
#include "host/core/locale.h"
#include "notes/notes_record.h"
#include "process_run.h"

namespace rux::exchange {
namespace {

namespace fs = std::filesystem;

constexpr int kRecords = 200'000;

const vaq::TLCID kSource = vaq::StrToLCID("en-US");
const vaq::TLCID kTarget = vaq::StrToLCID("de-DE");

fs::path ScratchBase() {
  return fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
}

// ---- in process ---------------------------------------------------------------------------------

const std::vector<std::string>& NotesLines() {
  static const std::vector<std::string> lines = [] {
    std::vector<std::string> result;
    result.reserve(kRecords);
    for (int i = 0; i < kRecords; ++i) {
      vaq::TVaqNotesString record;
      record.Id = "O:Form1.O:Panel" + std::to_string(i / 100) + ".Caption" + std::to_string(i % 100);
      record.Orig = "'Original text of value " + std::to_string(i) + "'";
      record.Status = static_cast<std::uint8_t>(i % 3);
      record.Curr = record.Status == 0 ? record.Orig
                                       : "'\xDC"
                                         "bersetzter Text von Wert " +
                                             std::to_string(i) + "'";
      record.Order = i;
      record.Type = "TPanel";
      record.Localize = true;
      record.Created = record.Modified = 46362.5;
      result.push_back(NotesStringToString(record, false));
    }
    return result;
  }();
  return lines;
}

Document Exported() {
  Document document{"en-US", "de-DE", "de-DE", {}, "bench"};
  document.Files.push_back(FileUnits{"Form1.rux", CollectUnits(NotesLines(), kSource, kTarget, {})});
  return document;
}

// A document with every tenth unit given a new translation.
Document Translated(Document document) {
  for (FileUnits& file : document.Files) {
    for (std::size_t i = 0; i < file.Units.size(); i += 10) {
      Unit& unit = file.Units[i];
      unit.Target = "Neuer Text f\xC3\xBCr " + unit.Source;
      unit.HasTarget = true;
      unit.State = UnitState::Translated;
    }
  }
  return document;
}

std::string Write(Format format, const Document& document) {
  switch (format) {
    case Format::Xliff2:
      return WriteXliff2(document);
    case Format::Xliff12:
      return WriteXliff12(document);
    case Format::Po:
      break;
  }
  return WritePo(document);
}

Document Read(Format format, const std::string& text, const std::string& file) {
  switch (format) {
    case Format::Xliff2:
      return ReadXliff2(text, file);
    case Format::Xliff12:
      return ReadXliff12(text, file);
    case Format::Po:
      break;
  }
  return ReadPo(file);
}

void BM_Export(benchmark::State& state) {
  const auto format = static_cast<Format>(state.range(0));
  NotesLines();
  for (auto _ : state) {
    std::string text = Write(format, Exported());
    benchmark::DoNotOptimize(text);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_Import(benchmark::State& state) {
  const auto format = static_cast<Format>(state.range(0));
  const std::string file = (ScratchBase() / ("vaq-exchange-bench-" + std::to_string(::getpid()))).string();
  const std::string text = Write(format, Translated(Exported()));
  vaq::WriteFileAtomic(file, text);  // PO is read from its file
  for (auto _ : state) {
    std::vector<std::string> lines = NotesLines();
    const Document document = Read(format, text, file);
    const ApplyReport report = ApplyUnits(lines, document.Files[0].Units, kSource, kTarget, 46400.0);
    if (report.Refused != 0 || report.Taken != kRecords / 10) state.SkipWithError("units refused or lost");
    benchmark::DoNotOptimize(lines);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
  fs::remove(file);
}

BENCHMARK(BM_Export)
    ->ArgName("format")
    ->Arg(static_cast<int>(Format::Xliff2))
    ->Arg(static_cast<int>(Format::Xliff12))
    ->Arg(static_cast<int>(Format::Po))
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Import)
    ->ArgName("format")
    ->Arg(static_cast<int>(Format::Xliff2))
    ->Arg(static_cast<int>(Format::Xliff12))
    ->Arg(static_cast<int>(Format::Po))
    ->Unit(benchmark::kMillisecond);

// ---- whole processes ----------------------------------------------------------------------------

constexpr int kForms = 100;
constexpr int kStringsPerForm = kRecords / kForms;

// Runs vaq with `args` (output to /dev/null); the CPU time (user and system) it took, in ms.
double RunVaq(std::vector<std::string> args) {
  args.insert(args.begin(), VAQ_PROGRAM);
  const std::optional<bench::TProcessRun> run = bench::RunProcess(std::move(args));
  if (!run) std::abort();  // the benchmark measures a working program only
  return run->CpuMs;
}

// The project: 100 forms with their units, updated into de-DE once; a copy of the language folder
// to start every import from; removed at exit.
struct Project {
  Project() {
    Dir = ScratchBase() / ("vaq-exchange-project-" + std::to_string(::getpid()));
    fs::create_directories(Dir / "src");
    ::setenv("VAQ_CONFIG_DIR", (Dir / "config").c_str(), 1);
    for (int form = 0; form < kForms; ++form) {
      const std::string name = "Form" + std::to_string(form);
      std::string text = "object " + name + ": T" + name + "\n  Caption = 'Window " + std::to_string(form) +
                         "'\n  object lstItems: TListBox\n    Items.Strings = (";
      for (int i = 0; i < kStringsPerForm - 1; ++i)
        text += "\n      'Item " + std::to_string(i) + " of form " + std::to_string(form) + "'";
      text += ")\n  end\nend\n";
      vaq::WriteFileAtomic((Dir / "src" / (name + ".rux")).string(), text);
      vaq::WriteFileAtomic((Dir / "src" / (name + ".pas")).string(),
                           "unit " + name + ";\n\ninterface\n\nuses Forms, StdCtrls;\n\ntype\n  T" + name +
                               " = class(TForm)\n    lstItems: TListBox;\n  end;\n\nimplementation\n\n{$R "
                               "*.rux}\n\nend.\n");
    }
    RunVaq({"update", (Dir / "src").string(), "--lang", "de-DE", "--quiet"});
    Copy(Dir / "src" / "de-DE", Dir / "saved", true);
  }
  ~Project() {
    std::error_code error;
    fs::remove_all(Dir, error);
  }
  // The language folder as the update left it. With `keepTimes`, the files keep their times, so
  // that the notes are up to date; without, every file looks changed since its notes were written,
  // as after a checkout, and the import first reads each translated form back into its notes.
  void Restore(bool keepTimes) const {
    fs::remove_all(Dir / "src" / "de-DE");
    Copy(Dir / "saved", Dir / "src" / "de-DE", keepTimes);
  }
  static void Copy(const fs::path& from, const fs::path& to, bool keepTimes) {
    fs::copy(from, to, fs::copy_options::recursive);
    if (!keepTimes) return;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(from))
      fs::last_write_time(to / entry.path().lexically_relative(from), entry.last_write_time());
  }
  std::string File(const char* name) const { return (Dir / name).string(); }
  fs::path Dir;
};

const Project& TheProject() {
  static const Project project;
  return project;
}

const char* FormatName(Format format) {
  return format == Format::Xliff2 ? "xliff" : format == Format::Xliff12 ? "xliff1.2" : "po";
}

void BM_ExportProcess(benchmark::State& state) {
  const auto format = static_cast<Format>(state.range(0));
  const Project& project = TheProject();
  const std::vector<std::string> args = {"export",   (project.Dir / "src").string(),
                                         "--lang",   "de-DE",
                                         "--format", FormatName(format),
                                         "-o",       project.File("out")};
  RunVaq(args);  // warm: the program and its libraries in the page cache
  double cpu = 0;
  for (auto _ : state) cpu += RunVaq(args);
  state.counters["cpu_ms"] = cpu / static_cast<double>(state.iterations());
  state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_ImportProcess(benchmark::State& state) {
  const auto format = static_cast<Format>(state.range(0));
  const bool stale = state.range(1) != 0;
  const Project& project = TheProject();
  const std::string exported = project.File("exported");
  project.Restore(true);  // the notes as the update made them, which every run starts from
  RunVaq({"export", (project.Dir / "src").string(), "--lang", "de-DE", "--format", FormatName(format), "-o",
          exported});
  // The translator's file: a tenth of the units translated.
  const std::string translated = project.File(format == Format::Po ? "translated.po" : "translated.xlf");
  vaq::WriteFileAtomic(translated,
                       Write(format, Translated(Read(format, vaq::ReadFileBytes(exported), exported))));
  const std::vector<std::string> args = {"import", translated, "--project", (project.Dir / "src").string()};
  double cpu = 0;
  for (auto _ : state) {
    state.PauseTiming();
    project.Restore(!stale);
    state.ResumeTiming();
    cpu += RunVaq(args);
  }
  state.counters["cpu_ms"] = cpu / static_cast<double>(state.iterations());
  state.SetItemsProcessed(state.iterations() * kRecords);
}

BENCHMARK(BM_ExportProcess)
    ->ArgName("format")
    ->Arg(static_cast<int>(Format::Xliff2))
    ->Arg(static_cast<int>(Format::Xliff12))
    ->Arg(static_cast<int>(Format::Po))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_ImportProcess)
    ->ArgNames({"format", "stale"})
    ->ArgsProduct({{static_cast<int>(Format::Xliff2), static_cast<int>(Format::Xliff12),
                    static_cast<int>(Format::Po)},
                   {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

}  // namespace
}  // namespace rux::exchange

BENCHMARK_MAIN();
