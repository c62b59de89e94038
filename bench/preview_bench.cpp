// Speed of the preview: a form of 500 controls from its notes to a rendered picture. The stages
// are measured one by one (writer, reading into live widgets with the layout, a relayout, painting)
// and as a whole; "per_control" is the time per control.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include <QApplication>

#include "creator/creator.h"
#include "framework/widgets/render.h"
#include "generated_lines.h"
#include "host/core/errors.h"
#include "host/core/locale.h"
#include "notes/notes_record.h"
#include "updater/form_reader.h"
#include "viewer/viewer.h"

namespace rux {
namespace {

namespace fs = std::filesystem;

constexpr int kControls = 500;
constexpr vaq::TLCID kGerman = 0x0407;

// 50 group boxes of nine controls each (500 with the boxes and the status bar's neighbours).
std::string FormText() {
  std::string text =
      "object Big: TForm\r\n  Caption = 'Five hundred'\r\n  ClientWidth = 1000\r\n  ClientHeight = 760\r\n";
  int count = 0;
  for (int g = 0; count < kControls; ++g) {
    std::string n = std::to_string(g);
    int left = (g % 5) * 200, top = (g / 5) * 75;
    text += "  object Group" + n + ": TGroupBox\r\n    Left = " + std::to_string(left) +
            "\r\n    Top = " + std::to_string(top) +
            "\r\n    Width = 195\r\n    Height = 72\r\n    Caption = 'Group " + n + "'\r\n";
    ++count;
    const char* kinds[] = {"TLabel",       "TEdit",  "TButton", "TCheckBox", "TComboBox",
                           "TRadioButton", "TLabel", "TEdit",   "TButton"};
    for (int k = 0; k < 9 && count < kControls; ++k, ++count) {
      std::string c = n + "_" + std::to_string(k);
      text += std::string("    object C") + c + ": " + kinds[k] +
              "\r\n      Left = " + std::to_string(4 + (k % 3) * 63) +
              "\r\n      Top = " + std::to_string(16 + (k / 3) * 18) +
              "\r\n      Width = 60\r\n      Height = 17\r\n";
      if (std::string(kinds[k]) == "TEdit")
        text += "      Text = 'Value " + c + "'\r\n";
      else if (std::string(kinds[k]) == "TComboBox")
        text += "      Items.Strings = (\r\n        'One'\r\n        'Two')\r\n";
      else
        text += "      Caption = 'Text " + c + "'\r\n";
      text += "    end\r\n";
    }
    text += "  end\r\n";
  }
  return text + "end\r\n";
}

std::vector<std::string> Notes() {
  vaq::TMemoryStream stream(FormText());
  TExtractedLines lines;
  ExtractFormLines(stream, "Big.rux", lines, 0x0409);
  std::vector<std::string> notes = {"/*VAQ: Format:VAQ 1\x04 */",
                                    "/*VAQ: Source:en-US\x04Target:de-DE\x04Forms:\x04 */"};
  const std::vector<std::string> records = bench::UntranslatedNotes(lines);
  notes.insert(notes.end(), records.begin(), records.end());
  return notes;
}

struct Fixture {
  fs::path Dir = fs::temp_directory_path() / ("vaq-preview-bench-" + std::to_string(::getpid()));
  std::string Form;
  std::vector<std::string> NotesLines = Notes();
  Fixture() {
    fs::create_directories(Dir);
    Form = (Dir / "Big.rux").string();
    RuxCreator().Execute(NotesLines, Form, false, uffUnformatedText, kGerman);
  }
  ~Fixture() { fs::remove_all(Dir); }
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

void PerControl(benchmark::State& state) {
  state.counters["per_control"] = benchmark::Counter(
      kControls, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

std::unique_ptr<vaq::widgets::TForm> Read(const std::string& File) {
  vaq::ScopedThreadLocale locale(kGerman);
  TFormStream stream;
  LoadFormStream(File, true, kGerman, stream);
  auto form = std::make_unique<vaq::widgets::TForm>();
  ReadFormStream(stream, *form);
  return form;
}

void BM_Writer(benchmark::State& state) {
  Fixture& f = Shared();
  std::string out = (f.Dir / "Written.rux").string();
  for (auto _ : state) RuxCreator().Execute(f.NotesLines, out, false, uffUnformatedText, kGerman);
  PerControl(state);
}
BENCHMARK(BM_Writer)->Unit(benchmark::kMillisecond);

void BM_ReadIntoLiveWidgets(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    auto form = Read(f.Form);
    benchmark::DoNotOptimize(form.get());
    state.PauseTiming();
    form.reset();
    state.ResumeTiming();
  }
  PerControl(state);
}
BENCHMARK(BM_ReadIntoLiveWidgets)->Unit(benchmark::kMillisecond);

void BM_Relayout(benchmark::State& state) {
  auto form = Read(Shared().Form);
  int width = 1000;
  for (auto _ : state) {
    width = width == 1000 ? 1100 : 1000;
    form->SetClientSize(width, 760);
  }
  PerControl(state);
}
BENCHMARK(BM_Relayout)->Unit(benchmark::kMillisecond);

void BM_Paint(benchmark::State& state) {
  auto form = Read(Shared().Form);
  vaq::widgets::RenderForm(*form);
  for (auto _ : state) benchmark::DoNotOptimize(vaq::widgets::RenderForm(*form));
  PerControl(state);
}
BENCHMARK(BM_Paint)->Unit(benchmark::kMillisecond);

// The whole way, as vaq preview --png takes it: writer, temporary file, reading, layout, picture.
void BM_NotesToPicture(benchmark::State& state) {
  Fixture& f = Shared();
  std::string out = (f.Dir / "Whole.rux").string();
  for (auto _ : state) {
    RuxCreator().Execute(f.NotesLines, out, false, uffUnformatedText, kGerman);
    auto form = Read(out);
    QImage image = vaq::widgets::RenderForm(*form);
    benchmark::DoNotOptimize(image.bits());
    state.PauseTiming();
    form.reset();
    state.ResumeTiming();
  }
  PerControl(state);
}
BENCHMARK(BM_NotesToPicture)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rux

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  vaq::widgets::PrepareApplication();
  const vaq::ScopedMessageSink quiet(std::make_unique<vaq::CollectingSink>());
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
