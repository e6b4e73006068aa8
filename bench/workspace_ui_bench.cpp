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

void paintLine(benchmark::State& state, bool wholeLine) {
  vt::Project pr;
  vt::bench::buildLine(pr, 300, state.range(0) != 0);
  vt::Workspace ws;
  ws.reportMode = wholeLine;  // every element drawn, not only those in view
  QImage img(QSize(1600, 800), QImage::Format_ARGB32_Premultiplied);
  vt::PaintStyle style;
  style.idFont.setPointSize(8);
  for (auto _ : state) {
    ws.layout(pr, 1600, 800, 0);
    if (wholeLine && img.width() != ws.pictureWidth) img = QImage(QSize(ws.pictureWidth, 800), QImage::Format_ARGB32_Premultiplied);
    QPainter p(&img);
    vt::paintWorkspace(p, ws, pr, style);
  }
  state.counters["elements"] = static_cast<double>(ws.elems.size());
}

void BM_LayoutAndPaintView(benchmark::State& state) { paintLine(state, false); }
void BM_LayoutAndPaintWholeLine(benchmark::State& state) { paintLine(state, true); }

}  // namespace

BENCHMARK(BM_LayoutAndPaintView)->Arg(0)->Arg(1)->ArgName("solved")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayoutAndPaintWholeLine)->Arg(0)->Arg(1)->ArgName("solved")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
