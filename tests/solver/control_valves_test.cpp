// Control valves in the iteration: an FCV holds its set flow, a PRV caps the pressure after it, a
// PSV holds the pressure before it; failures and limits give their exact lines.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "solver/builder_support.h"
#include "solver/solution.h"

namespace vt {
namespace {

double hw(double Q, double Lft, double Din) {
  double D = Din / 12.0, q = std::fabs(Q) / 448.831;
  return 4.727 * Lft / (std::pow(D, 4.8655) * std::pow(120.0, 1.85)) * std::pow(q, 1.85);
}
double bisect(const std::function<double(double)>& g, double a, double b) {
  double ga = g(a);
  for (int i = 0; i < 200; ++i) {
    double m = 0.5 * (a + b), gm = g(m);
    if ((gm > 0) == (ga > 0)) a = m, ga = gm;
    else b = m;
  }
  return 0.5 * (a + b);
}

struct Fixture {
  Project p;
  PlainSolveHost host;
  Solution s{p, host};
  test::SystemBuilder b{p};
  std::string dump() const {
    std::string out;
    for (const auto& t : s.list.texts()) out += t + "\n";
    return out;
  }
  bool has(const std::string& line) const {
    auto t = s.list.texts();
    return std::find(t.begin(), t.end(), line) != t.end();
  }
};

TEST(Fcv, HoldsItsSetFlowWithTheKThatBurnsTheSpareHead) {
  Fixture f;
  f.b.supply(0, "S1", 100);
  f.b.pipe(0, "P1", 1000, 4, 120);
  int v = f.b.valve(0, "FCV", -5, 0, 4, 1, 100);
  f.b.pipe(0, "P2", 10, 4, 120);
  f.b.supply(0, "S2", 50);
  f.s.RunSolution();
  ASSERT_TRUE(f.p.proj.Solved) << f.dump();
  const Valfit& fcv = *f.p.valfit[v];
  EXPECT_NEAR(fcv.Flow, 100.0, 0.01) << f.dump();
  // The valve takes what the pipes leave of the 50 ft at that flow: K = h / (V²/2g).
  double h = 50 - hw(fcv.Flow, 1010, 4);
  double V = 0.4085 * fcv.Flow / 16.0;
  EXPECT_NEAR(fcv.HeadLoss, h, 0.01);
  EXPECT_NEAR(fcv.Coef, h / (V * V / 64.348), 0.01 * fcv.Coef);
}

TEST(Fcv, AboveReachableFlowStaysOpenAndIsReported) {
  Fixture f;
  f.b.supply(0, "S1", 100);
  f.b.pipe(0, "P1", 1000, 4, 120);
  int v = f.b.valve(0, "FCV", -5, 0, 4, 1, 1000);  // more than the line can carry
  f.b.supply(0, "S2", 50);
  f.s.RunSolution();
  EXPECT_FLOAT_EQ(f.p.valfit[v]->Coef, 0.0f) << f.dump();
  EXPECT_TRUE(f.p.proj.Solved);
}

// S1 (100 ft) - P1 - PRV set to 30 ft at elevation 0 - G - 1000 ft of 4 in pipe - S2 (0 ft).
void prvLine(Fixture& f, int& v, int& g) {
  f.b.supply(0, "S1", 100);
  f.b.pipe(0, "P1", 100, 4, 120);
  v = f.b.valve(0, "PRV", -3, 0, 4, 1, 30, 0);
  g = f.b.gauge(0, "G", 0);
  f.b.pipe(0, "P3", 1000, 4, 120);
  f.b.supply(0, "S2", 0);
}

TEST(Prv, CapsThePressureAfterIt) {
  Fixture f;
  f.p.sys.FlowTol = 0.02f;
  int v, g;
  prvLine(f, v, g);
  f.s.RunSolution();
  ASSERT_TRUE(f.p.proj.Solved) << f.dump();
  // Once active the valve leaves its set pressure after it, so the flow is what 30 ft of head drives
  // through the downstream pipe.
  double Q = bisect([](double q) { return hw(q, 1000, 4) - 30; }, 0, 1e4);
  EXPECT_NEAR(f.p.node[g]->Pressure, 30.0, 0.2) << f.dump();
  EXPECT_NEAR(f.p.valfit[v]->Flow, Q, 0.02 * Q);
  EXPECT_GT(f.p.valfit[v]->Coef, 0.0f);
}

// A tolerance finer than single-precision flows can resolve is never met: the run goes to the
// iteration limit and says so, with its suggestion.
TEST(Prv, AnUnreachableToleranceEndsAtTheIterationLimitWithItsSuggestion) {
  Fixture f;
  int v, g;
  prvLine(f, v, g);
  f.p.sys.FlowTol = 1e-9f;
  f.s.RunSolution();
  EXPECT_FALSE(f.p.proj.Solved);
  EXPECT_EQ(f.s.iterations, kMaxIterations + 1);
  auto t = f.s.list.texts();
  auto at = std::find(t.begin(), t.end(), "  Error - system did not reach flow tolerance!");
  ASSERT_NE(at, t.end()) << f.dump();
  EXPECT_EQ(*(at - 1), " ");
  EXPECT_EQ((at + 1)->rfind(" Suggestion - Raise flow tolerance to ", 0), 0u);
  EXPECT_EQ(*(at + 2), " ");
  const auto& line = f.s.list[static_cast<size_t>(at + 1 - t.begin())];
  ASSERT_TRUE(line.command);
  EXPECT_EQ(line.command->hint, "Edit flow tolerance?");
  EXPECT_TRUE(f.has("  Was still solving main system...") || f.has("  Was still performing FCV iterations...") ||
              f.has(" ...solution process stopped."));
  for (int n = 1; n <= f.p.HighElem; ++n) EXPECT_TRUE(std::isfinite(f.p.ElemFlow(n)));
}

// A PRV at the default flow tolerance, and an FCV ahead of a PRV on one line, each settle on the
// answer worked by hand: S1 (100 ft) - 100 ft of 4 in - [FCV] - PRV set to 30 ft - G - 1000 ft of
// 4 in - S2 (0 ft). With the PRV governing, G holds 30 ft and the flow is what 30 ft drives through
// the downstream pipe (bisection); with the FCV set below that flow it governs, the PRV stands open
// and G holds the downstream pipe's loss at the set flow.
TEST(Prv, SettlesAtTheDefaultToleranceAloneAndInSeriesWithAnFcv) {
  const double q30 = bisect([](double q) { return hw(q, 1000, 4) - 30; }, 0, 1e4);
  struct Case {
    const char* name;
    float fcvSet;  // 0: no FCV
  };
  for (const Case& c : {Case{"PRV alone", 0}, Case{"FCV above the PRV's flow", 400}, Case{"FCV governs", 150}}) {
    SCOPED_TRACE(c.name);
    Fixture f;
    ASSERT_FLOAT_EQ(f.p.sys.FlowTol, 0.001f);
    f.b.supply(0, "S1", 100);
    f.b.pipe(0, "P1", 100, 4, 120);
    int fcv = c.fcvSet > 0 ? f.b.valve(0, "FCV", -5, 0, 4, 1, c.fcvSet) : 0;
    int v = f.b.valve(0, "PRV", -3, 0, 4, 1, 30, 0);
    int g = f.b.gauge(0, "G", 0);
    f.b.pipe(0, "P3", 1000, 4, 120);
    f.b.supply(0, "S2", 0);
    f.s.RunSolution();
    EXPECT_LT(f.s.iterations, 2000);
    if (!f.p.proj.Solved) {
      ADD_FAILURE() << "not solved after " << f.s.iterations << " iterations";
      continue;
    }
    const Valfit& prv = *f.p.valfit[v];
    if (c.fcvSet > 0 && c.fcvSet < q30) {
      EXPECT_NEAR(prv.Flow, c.fcvSet, 0.01);
      EXPECT_NEAR(f.p.node[g]->Pressure, hw(c.fcvSet, 1000, 4), 0.01);
      EXPECT_FLOAT_EQ(prv.Coef, 0.0f);
    } else {
      EXPECT_NEAR(f.p.node[g]->Pressure, 30.0, 0.03) << f.dump();
      EXPECT_NEAR(prv.Flow, q30, 0.002 * q30);
      EXPECT_GT(prv.Coef, 0.0f);
      if (fcv) {
        EXPECT_FLOAT_EQ(f.p.valfit[fcv]->Coef, 0.0f);
      }
    }
  }
}

TEST(Prv, NeverActiveStaysOpen) {
  Fixture f;
  f.b.supply(0, "S1", 20);
  f.b.pipe(0, "P1", 100, 4, 120);
  int v = f.b.valve(0, "PRV", -3, 0, 4, 1, 500, 0);
  f.b.pipe(0, "P3", 1000, 4, 120);
  f.b.supply(0, "S2", 0);
  f.s.RunSolution();
  ASSERT_TRUE(f.p.proj.Solved) << f.dump();
  EXPECT_FLOAT_EQ(f.p.valfit[v]->Coef, 0.0f);
}

TEST(Psv, HoldsThePressureBeforeIt) {
  Fixture f;
  f.b.supply(0, "S1", 100);
  f.b.pipe(0, "P1", 1000, 4, 120);
  int g = f.b.gauge(0, "G", 0);
  int v = f.b.valve(0, "PSV", -4, 0, 4, 1, 80, 0);
  f.b.pipe(0, "P2", 10, 4, 120);
  f.b.supply(0, "S2", 0);
  f.s.RunSolution();
  ASSERT_TRUE(f.p.proj.Solved) << f.dump();
  // Holding 80 ft before the valve leaves 20 ft for the upstream pipe.
  double Q = bisect([](double q) { return hw(q, 1000, 4) - 20; }, 0, 1e4);
  EXPECT_GE(f.p.node[g]->Pressure, 80.0 - 0.05) << f.dump();
  EXPECT_NEAR(f.p.valfit[v]->Flow, Q, 0.02 * Q);
}

TEST(Psv, PointingAgainstTheFlowBlocksTheLine) {
  Fixture f;
  f.b.supply(0, "S1", 100);
  f.b.pipe(0, "P1", 1000, 4, 120);
  int v = f.b.valve(0, "PSV", -4, 0, 4, -1, 5, 0);
  f.b.pipe(0, "P2", 10, 4, 120);
  f.b.supply(0, "S2", 0);
  f.s.RunSolution();
  EXPECT_LT(std::fabs(f.p.valfit[v]->Flow), 2 * f.p.sys.FlowTol) << f.dump();
  EXPECT_TRUE(f.has(" Warning! No flows - Check pump heads and directional devices opposing gravity flow."));
  EXPECT_FLOAT_EQ(f.p.ElemHGL[v], kNoGrade);  // a closed directional valve gets no grade
}

TEST(UndefinedPump, FindsTheHeadThatDeliversItsDesignFlow) {
  Fixture f;
  f.b.supply(0, "S1", 0);
  int pu = f.b.undefinedPump(0, "UP", 150);
  f.b.pipe(0, "P1", 500, 4, 120);
  f.b.supply(0, "S2", 50);
  f.s.RunSolution();
  ASSERT_TRUE(f.p.proj.Solved) << f.dump();
  EXPECT_NEAR(f.p.pump[pu]->Flow, 150.0, 0.01);
  EXPECT_NEAR(f.p.pump[pu]->Head, 50 + hw(150, 500, 4), 0.05);
}

TEST(UndefinedPump, NotNeededWhenGravityAlreadyDrivesMore) {
  Fixture f;
  f.b.supply(0, "S1", 100);
  int pu = f.b.undefinedPump(0, "UP", 50);
  f.b.pipe(0, "P1", 1000, 4, 120);
  f.b.supply(0, "S2", 0);
  f.s.RunSolution();
  EXPECT_FALSE(f.p.proj.Solved);
  auto t = f.s.list.texts();
  auto at = std::find(t.begin(), t.end(), "  Error - Pump ID: \"UP\" not needed to push the design flow!(click here)");
  ASSERT_NE(at, t.end()) << f.dump();
  EXPECT_EQ(*(at - 1), " ");
  EXPECT_EQ(f.s.list[static_cast<size_t>(at - t.begin())].element, pu);
}

TEST(Runaway, FlowsBeyondAMillionGpmStopWithFiniteNumbers) {
  Fixture f;
  f.b.supply(0, "S1", 1.0e6);
  f.b.pipe(0, "P1", 1, 48, 120);
  f.b.supply(0, "S2", 0);
  f.s.RunSolution();
  EXPECT_FALSE(f.p.proj.Solved);
  auto t = f.s.list.texts();
  auto at = std::find(t.begin(), t.end(), "  Error - Extreme flow runaway. Pump heads much greater than system friction!");
  ASSERT_NE(at, t.end()) << f.dump();
  EXPECT_EQ(*(at - 1), " ");
  for (int n = 1; n <= f.p.HighElem; ++n) {
    EXPECT_TRUE(std::isfinite(f.p.ElemFlow(n)));
    EXPECT_TRUE(std::isfinite(f.p.ElemHGL[n]));
  }
}

}  // namespace
}  // namespace vt
