// Laying out a long line of the workspace: range pass, scales, elevation interpolation, element
// rectangles and the HGL overlay, without painting.
#include <benchmark/benchmark.h>

#include "model/project.h"
#include "workspace/layout.h"
#include "workspace/workspace_bench_line.h"

static void BM_LayoutLine300(benchmark::State& state) {
  vt::Project pr;
  vt::bench::buildLine(pr, 300, state.range(0) != 0);
  vt::Workspace ws;
  for (auto _ : state) {
    ws.layout(pr, 1600, 800, 0);
    benchmark::DoNotOptimize(ws.LineWidth);
  }
}
BENCHMARK(BM_LayoutLine300)->Arg(0)->Arg(1)->ArgName("solved")->Unit(benchmark::kMicrosecond);
