// Speed of the exchange with other tools on notes of 200,000 string records (German, so texts go
// through code page 1252): export (units collected from the notes lines, file text written) and
// import (file read, every unit compared and a tenth of them taken, encoded into the notes lines),
// for XLIFF 2.0 and PO.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "exchange/apply.h"
#include "exchange/collect.h"
#include "exchange/formats.h"
#include "host/core/files.h"
#include "host/core/locale.h"
#include "notes/notes_record.h"

namespace rux::exchange {
namespace {

constexpr int kRecords = 200'000;

const vaq::TLCID kSource = vaq::StrToLCID("en-US");
const vaq::TLCID kTarget = vaq::StrToLCID("de-DE");

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
  Document document{"en-US", "de-DE", "/bench/de-DE", {}};
  document.Files.push_back(FileUnits{"Form1.rux", CollectUnits(NotesLines(), kSource, kTarget, {})});
  return document;
}

// The exported document with every tenth unit given a new translation.
Document Translated() {
  Document document = Exported();
  std::vector<Unit>& units = document.Files[0].Units;
  for (std::size_t i = 0; i < units.size(); i += 10) {
    units[i].Target = "Neuer Text f\xC3\xBCr " + units[i].Source;
    units[i].HasTarget = true;
    units[i].State = UnitState::Translated;
  }
  return document;
}

std::string TempFile(const char* name) {
  return (std::filesystem::temp_directory_path() / name).string();
}

void BM_ExportXliff2(benchmark::State& state) {
  NotesLines();
  for (auto _ : state) {
    std::string text = WriteXliff2(Exported());
    benchmark::DoNotOptimize(text);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_ExportXliff2)->Unit(benchmark::kMillisecond);

void BM_ExportPo(benchmark::State& state) {
  NotesLines();
  for (auto _ : state) {
    std::string text = WritePo(Exported());
    benchmark::DoNotOptimize(text);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_ExportPo)->Unit(benchmark::kMillisecond);

void BM_ImportXliff2(benchmark::State& state) {
  const std::string text = WriteXliff2(Translated());
  for (auto _ : state) {
    std::vector<std::string> lines = NotesLines();
    const Document document = ReadXliff2(text, "bench.xlf");
    const ApplyReport report = ApplyUnits(lines, document.Files[0].Units, kSource, kTarget, 46400.0);
    if (report.Refused != 0) state.SkipWithError("units refused");
    benchmark::DoNotOptimize(lines);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_ImportXliff2)->Unit(benchmark::kMillisecond);

void BM_ImportPo(benchmark::State& state) {
  const std::string file = TempFile("vaq-exchange-bench.po");
  vaq::WriteFileAtomic(file, WritePo(Translated()));
  for (auto _ : state) {
    std::vector<std::string> lines = NotesLines();
    const Document document = ReadPo(file);
    const ApplyReport report = ApplyUnits(lines, document.Files[0].Units, kSource, kTarget, 46400.0);
    if (report.Refused != 0) state.SkipWithError("units refused");
    benchmark::DoNotOptimize(lines);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
  std::filesystem::remove(file);
}
BENCHMARK(BM_ImportPo)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rux::exchange

BENCHMARK_MAIN();
