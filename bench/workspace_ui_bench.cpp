// Laying out and painting a 300-element line into an off-screen image, as a redraw of the
// workspace does (the target is a redraw within one 60 Hz frame, 16 ms).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "model/project.h"
#include "workspace/layout.h"
#include "workspace/ui/workspace_painter.h"
#include "workspace/workspace_bench_line.h"

namespace {

// allElements: every element is painted (clipped by the image) instead of only those in view,
// the worst case of a redraw.
void paintLine(benchmark::State& state, bool allElements) {
  vt::Project pr;
  vt::bench::buildLine(pr, 300, state.range(0) != 0);
  vt::Workspace ws;
  QImage img(QSize(1600, 800), QImage::Format_ARGB32_Premultiplied);
  vt::PaintStyle style;
  style.idFont.setPointSize(8);
  int painted = 0;
  for (auto _ : state) {
    ws.layout(pr, 1600, 800, 0);
    if (allElements)
      for (auto& g : ws.elems) g.visible = true;
    QPainter p(&img);
    vt::paintWorkspace(p, ws, pr, style);
    painted = 0;
    for (const auto& g : ws.elems) painted += g.visible;
  }
  state.counters["painted"] = painted;
}

void BM_LayoutAndPaintView(benchmark::State& state) { paintLine(state, false); }
void BM_LayoutAndPaintAllElements(benchmark::State& state) { paintLine(state, true); }

}  // namespace

BENCHMARK(BM_LayoutAndPaintView)->Arg(0)->Arg(1)->ArgName("solved")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayoutAndPaintAllElements)->Arg(0)->Arg(1)->ArgName("solved")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
