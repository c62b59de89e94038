// Speed of the layout designer on a form of 500 controls (20 panels of 24 controls each, and 20
// controls on the form itself): one mouse move of a drag, rubber band included, and selecting a
// control with the keyboard (Tab, Shift+Tab, an arrow among 500 siblings). The surface is plain
// data, so these are the designer's own costs.
#include <benchmark/benchmark.h>

#include <string>

#include "designer/form_designer.h"
#include "support/fake_design_surface.h"

namespace rux {
namespace {

// Nested: 20 panels with 24 controls each, then 20 buttons on the form.
void NestedForm(testing::TFakeDesignSurface& Surface) {
  for (int p = 0; p < 20; ++p) {
    const TNode panel =
        Surface.Add("Panel" + std::to_string(p), BoundsRect((p % 5) * 120, (p / 5) * 100, 115, 95));
    for (int c = 0; c < 24; ++c)
      Surface.Add("Edit" + std::to_string(p * 24 + c), BoundsRect((c % 4) * 28, (c / 4) * 15, 26, 13), panel);
  }
  for (int b = 0; b < 20; ++b) Surface.Add("Button" + std::to_string(b), BoundsRect(b * 30, 420, 28, 25));
}

// Flat: 500 buttons in a 25x20 grid, all children of the form.
void FlatForm(testing::TFakeDesignSurface& Surface) {
  for (int i = 0; i < 500; ++i)
    Surface.Add("Button" + std::to_string(i), BoundsRect((i % 25) * 40, (i / 25) * 30, 36, 25));
}

void BM_DragMouseMove(benchmark::State& state) {
  testing::TFakeDesignSurface surface(1000, 800);
  NestedForm(surface);
  TVaqFormDesigner designer(surface, "frmBench");
  const TNode target = surface.FindComponent("Edit250");
  designer.MouseEvent(target, TMouseAction::Down, TMouseButton::Left, {300, 200});
  int x = 300, step = 1;
  for (auto _ : state) {
    x += step;
    if (x > 700 || x < 300) step = -step;
    designer.MouseEvent(target, TMouseAction::Move, TMouseButton::Left, {x, 200 + (x & 7)});
    benchmark::DoNotOptimize(surface.RubberBand.data());
  }
  designer.MouseEvent(target, TMouseAction::Up, TMouseButton::Left, {x, 200});
}
BENCHMARK(BM_DragMouseMove);

void BM_ResizeHandleMouseMove(benchmark::State& state) {
  testing::TFakeDesignSurface surface(1000, 800);
  NestedForm(surface);
  TVaqFormDesigner designer(surface, "frmBench");
  designer.SelectComponent("Edit250");
  designer.HandleMouseEvent(4, TMouseAction::Down, {0, 0});
  int d = 0;
  for (auto _ : state) {
    d = (d + 1) % 40;
    designer.HandleMouseEvent(4, TMouseAction::Move, {d, d});
  }
  designer.HandleMouseEvent(4, TMouseAction::Up, {d, d});
}
BENCHMARK(BM_ResizeHandleMouseMove);

void BM_TabAmong500(benchmark::State& state) {
  testing::TFakeDesignSurface surface(1000, 800);
  NestedForm(surface);
  TVaqFormDesigner designer(surface, "frmBench");
  const TDesignKey key = state.range(0) ? TDesignKey::BackTab : TDesignKey::Tab;
  for (auto _ : state) designer.KeyEvent(surface.Form(), TKeyAction::Press, key, {});
}
BENCHMARK(BM_TabAmong500)->Arg(0)->Arg(1);

void BM_ArrowAmong500Siblings(benchmark::State& state) {
  testing::TFakeDesignSurface surface(1000, 800);
  FlatForm(surface);
  TVaqFormDesigner designer(surface, "frmBench");
  designer.SelectComponent("Button262");
  // Right, Down, Left, Up: a small square through the middle of the grid.
  const TDesignKey keys[] = {TDesignKey::Right, TDesignKey::Down, TDesignKey::Left, TDesignKey::Up};
  int i = 0;
  for (auto _ : state) designer.KeyEvent(surface.Form(), TKeyAction::Press, keys[i++ & 3], {});
}
BENCHMARK(BM_ArrowAmong500Siblings);

// Tab from the last of 500 siblings: the longest search among them, then the wrap.
void BM_TabWrapAmong500Siblings(benchmark::State& state) {
  testing::TFakeDesignSurface surface(1000, 800);
  FlatForm(surface);
  TVaqFormDesigner designer(surface, "frmBench");
  const TNode last = surface.FindComponent("Button499");
  for (auto _ : state) {
    designer.GrabHandles().SetTarget(last);
    designer.KeyEvent(surface.Form(), TKeyAction::Press, TDesignKey::Tab, {});
  }
}
BENCHMARK(BM_TabWrapAmong500Siblings);

}  // namespace
}  // namespace rux

BENCHMARK_MAIN();
