// Cost of one element loss evaluation, the unit the iteration repeats for every element of every
// route in every iteration.
#include <benchmark/benchmark.h>

#include "model/project.h"
#include "solver/curves.h"
#include "solver/head_loss.h"

namespace {

using namespace vt;

void setUp(Project& p) {
  p.liquid.LiqKVis = 1.0;
  p.createElement(1, kPipe);
  p.pipe[1]->Length = 1200;
  p.pipe[1]->InsideDia = 4.026f;
  p.createElement(2, kValve);
  p.valfit[2]->Code = 12;
  p.valfit[2]->Coef = 0.8f;
  p.valfit[2]->Dia = 4.026f;
  p.createElement(3, kPump);
  Pump& pu = *p.pump[3];
  pu.CurveDefined = 1;
  pu.FlowIncr = 100;
  pu.ShutoffHead = 100;
  pu.Head1 = 95;
  pu.Head2 = 85;
  pu.Head3 = 70;
  FitPumpCurve(pu);
}

void pipeLoss(benchmark::State& state) {
  Project p;
  setUp(p);
  p.sys.HeadCalc = static_cast<int16_t>(state.range(0));
  p.pipe[1]->Friction = state.range(0) == 1 ? 140.0 : state.range(0) == 2 ? 0.00015 : 0.012;
  LoopSums sums;
  float Q = 150.0f;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ElementHeadLoss(p, 1, 1, Q, sums));
    Q += 0.001f;
  }
}
BENCHMARK(pipeLoss)->Arg(1)->Arg(2)->Arg(3)->ArgName("equation");

void fittingLoss(benchmark::State& state) {
  Project p;
  setUp(p);
  p.sys.HeadCalc = 2;
  p.sys.EqLen = state.range(0) != 0;
  LoopSums sums;
  float Q = 150.0f;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ElementHeadLoss(p, 2, 1, Q, sums));
    Q += 0.001f;
  }
}
BENCHMARK(fittingLoss)->Arg(0)->Arg(1)->ArgName("eqlen");

void pumpOperatingHead(benchmark::State& state) {
  Project p;
  setUp(p);
  float Q = 0.0f;
  for (auto _ : state) {
    benchmark::DoNotOptimize(PumpOperatingHead(*p.pump[3], Q));
    Q = Q > 400.0f ? 0.0f : Q + 0.37f;
  }
}
BENCHMARK(pumpOperatingHead);

}  // namespace
