// Solving generated systems of 10, 100 and 999 elements: a main line alone, a main line with nine
// branches, pumps in series, and a system with an FCV, a PRV and a PSV. Each benchmark reports the
// time of one whole run (checks, routing, iteration, pressure walk, head check) and its iterations.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include "solver/solution.h"
// The solver tests' fixture builder, compiled into this binary as well.
#include "solver/builder_support.cpp"

// Every allocation of the process is counted, so that a run reports how many it made: a number that
// does not grow with the iterations shows that the iteration itself allocates nothing.
static std::atomic<long> gAllocations{0};
void* operator new(std::size_t n) {
  ++gAllocations;
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
// GCC cannot see that these frees match the malloc of operator new above.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

using vt::Project;
using vt::test::SystemBuilder;

std::string id(const char* prefix, int i) { return prefix + std::to_string(i); }

// S1 - (pipe, gauge)... - pipe - S2, about n elements.
void mainLineOnly(Project& p, int n) {
  SystemBuilder b(p);
  b.supply(0, "S1", 200);
  int pipes = (n - 1) / 2;
  for (int i = 0; i < pipes; ++i) {
    b.pipe(0, id("P", i), 100, 6, 120);
    if (i + 1 < pipes) b.gauge(0, id("G", i), 0);
  }
  b.supply(0, "S2", 0);
}

// A main line with nine gauges where branches leave for their own supplies; n elements in all.
void nineBranches(Project& p, int n) {
  SystemBuilder b(p);
  const int mainPipes = n / 4;                  // half the elements in the main line
  const int perBranch = std::max(1, n / 2 / 18);  // pipes of each branch, with a gauge between two
  b.supply(0, "S1", 200);
  std::vector<int> junctions;
  const int every = std::max(1, mainPipes / 10);
  for (int i = 0; i < mainPipes; ++i) {
    b.pipe(0, id("P", i), 100, 8, 120);
    if (i + 1 < mainPipes) {
      int g = b.gauge(0, id("G", i), 0);
      if (i % every == every - 1 && junctions.size() < 9) junctions.push_back(g);
    }
  }
  b.supply(0, "S2", 0);
  for (size_t k = 0; k < junctions.size(); ++k) {
    const int line = static_cast<int>(k) + 1;
    b.place(line, junctions[k]);
    for (int j = 0; j < perBranch; ++j) {
      b.pipe(line, id(("B" + std::to_string(line) + "P").c_str(), j), 100, 4, 120);
      if (j + 1 < perBranch) b.gauge(line, id(("B" + std::to_string(line) + "G").c_str(), j), 0);
    }
    b.supply(line, id("SB", line), 10.0 * line);
  }
}

// A main line with a defined pump every few elements, all in series, lifting to a high tank.
void pumpsInSeries(Project& p, int n) {
  SystemBuilder b(p);
  b.supply(0, "S1", 0);
  const int units = (n - 2) / 2;
  const int pumps = std::max(2, units / 5);
  for (int i = 0; i < units; ++i) {
    if (i % (units / pumps) == 0)
      b.pump(0, id("PU", i), {100, 95, 85, 70}, 200);
    else
      b.pipe(0, id("P", i), 20, 6, 120);
    if (i + 1 < units) b.gauge(0, id("G", i), 0);
  }
  b.supply(0, "S2", 80.0 * pumps);  // each pump runs between its first and third head points
}

// A main line with a PSV near its end and two branches, one through an FCV and one through a PRV.
void controlValves(Project& p, int n) {
  SystemBuilder b(p);
  p.sys.FlowTol = 0.05f;
  const int mainPipes = std::max(3, n / 4);
  const int perBranch = std::max(1, n / 8);
  b.supply(0, "S1", 200);
  int ga = 0, gb = 0;
  for (int i = 0; i < mainPipes; ++i) {
    b.pipe(0, id("P", i), 2000.0 / mainPipes, 8, 120);
    if (i + 1 < mainPipes) {
      int g = b.gauge(0, id("G", i), 0);
      if (i == 0) ga = g;
      if (i == 1 || (i == 0 && mainPipes < 3)) gb = g;
    }
  }
  b.valve(0, "PSV", -4, 0, 8, 1, 20, 0);
  b.pipe(0, "PZ", 10, 8, 120);
  b.supply(0, "S2", 0);
  auto branch = [&](int line, int junction, int code, float parm) {
    b.place(line, junction);
    for (int j = 0; j < perBranch; ++j) {
      b.pipe(line, id(("B" + std::to_string(line) + "P").c_str(), j), 1000.0 / perBranch, 6, 120);
      if (j == perBranch / 2) b.valve(line, id("CV", line), code, 0, 6, 1, parm, 0);
      else if (j + 1 < perBranch) b.gauge(line, id(("B" + std::to_string(line) + "G").c_str(), j), 0);
    }
    b.supply(line, id("SB", line), 0);
  };
  branch(1, ga, -5, 300);  // FCV: 300 gpm
  branch(2, gb, -3, 40);   // PRV: 40 ft after it
}

using Build = void (*)(Project&, int);

void runSolve(benchmark::State& state, Build build) {
  auto p = std::make_unique<Project>();
  build(*p, static_cast<int>(state.range(0)));
  vt::PlainSolveHost host;
  vt::Solution s(*p, host);
  long allocations = 0;
  for (auto _ : state) {
    const long before = gAllocations.load();
    s.RunSolution();
    allocations = gAllocations.load() - before;
    benchmark::DoNotOptimize(p->ElemHGL.data());
  }
  if (!p->proj.Solved) state.SkipWithError("the generated system did not solve");
  state.counters["iterations"] = s.iterations;
  state.counters["allocs/run"] = static_cast<double>(allocations);
  state.counters["elements"] = p->tot_elems;
}

void BM_MainLineOnly(benchmark::State& state) { runSolve(state, mainLineOnly); }
void BM_NineBranches(benchmark::State& state) { runSolve(state, nineBranches); }
void BM_PumpsInSeries(benchmark::State& state) { runSolve(state, pumpsInSeries); }
void BM_ControlValves(benchmark::State& state) { runSolve(state, controlValves); }

BENCHMARK(BM_MainLineOnly)->Arg(10)->Arg(100)->Arg(999)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NineBranches)->Arg(100)->Arg(999)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PumpsInSeries)->Arg(10)->Arg(100)->Arg(999)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ControlValves)->Arg(10)->Arg(100)->Arg(999)->Unit(benchmark::kMillisecond);

}  // namespace
