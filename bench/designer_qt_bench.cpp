// Speed of the layout designer on a live form of 500 controls (20 panels of 24 edits, 20 buttons),
// offscreen: one mouse move of a drag as the widget toolkit delivers it (designer hook, designer,
// rubber-band widget), alone and with the repaint it causes; selecting a control with the keyboard.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <string>

#include "designer/qt/designer_hook.h"
#include "framework/widgets/render.h"
#include "widgets/read_form.h"

namespace rux {
namespace {

std::string FormText() {
  std::string text = "object frmBench: TForm\n  ClientWidth = 1000\n  ClientHeight = 800\n";
  const auto bounds = [](int l, int t, int w, int h) {
    return "    Left = " + std::to_string(l) + "\n    Top = " + std::to_string(t) +
           "\n    Width = " + std::to_string(w) + "\n    Height = " + std::to_string(h) + "\n";
  };
  for (int p = 0; p < 20; ++p) {
    text +=
        "  object Panel" + std::to_string(p) + ": TPanel\n" + bounds((p % 5) * 190, (p / 5) * 180, 185, 175);
    for (int c = 0; c < 24; ++c)
      text += "    object Edit" + std::to_string(p * 24 + c) + ": TEdit\n  " +
              bounds((c % 4) * 45 + 4, (c / 4) * 28 + 4, 42, 21) + "    end\n";
    text += "  end\n";
  }
  for (int b = 0; b < 20; ++b)
    text +=
        "  object Button" + std::to_string(b) + ": TButton\n" + bounds(b * 48 + 4, 740, 45, 25) + "  end\n";
  return text + "end\n";
}

struct TBenchForm {
  TBenchForm() {
    Form = vaq::widgets::testing::ReadForm(FormText()).Form;
    Designer = &AttachDesigner(*Form, "frmBench", kNativeDesignerPolicy);
    Form->Window()->setAttribute(Qt::WA_DontShowOnScreen, true);
    Form->Window()->show();
    Form->SetDesigning(true, false);
    QApplication::processEvents();
  }
  QWidget* Widget(const char* Name) const {
    return dynamic_cast<vaq::widgets::TControl*>(Form->FindComponent(Name))->Widget();
  }
  std::unique_ptr<vaq::widgets::TForm> Form;
  TVaqFormDesigner* Designer = nullptr;
};

void Drag(benchmark::State& state, bool Repaint) {
  TBenchForm bench;
  QWidget* edit = bench.Widget("Edit250");
  QTest::mousePress(edit, Qt::LeftButton, {}, {5, 5});
  int x = 5, step = 1;
  for (auto _ : state) {
    x += step;
    if (x > 300 || x < 5) step = -step;
    const QPoint pos(x, 5 + (x & 7));
    QMouseEvent move(QEvent::MouseMove, pos, edit->mapToGlobal(pos), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(edit, &move);
    if (Repaint) QApplication::processEvents();
  }
  QTest::mouseRelease(edit, Qt::LeftButton, {}, {x, 5});
}

void BM_LiveDragMouseMove(benchmark::State& state) {
  Drag(state, false);
}
BENCHMARK(BM_LiveDragMouseMove);

void BM_LiveDragMouseMoveRepainted(benchmark::State& state) {
  Drag(state, true);
}
BENCHMARK(BM_LiveDragMouseMoveRepainted);

void BM_LiveKeyboardSelection(benchmark::State& state) {
  TBenchForm bench;
  QWidget* window = bench.Form->Window();
  const int keys[] = {Qt::Key_Tab, Qt::Key_Right, Qt::Key_Down, Qt::Key_Tab};
  int i = 0;
  for (auto _ : state) {
    QKeyEvent press(QEvent::KeyPress, keys[i++ & 3], Qt::NoModifier);
    QApplication::sendEvent(window, &press);
  }
}
BENCHMARK(BM_LiveKeyboardSelection);

}  // namespace
}  // namespace rux

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  vaq::widgets::PrepareApplication();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
