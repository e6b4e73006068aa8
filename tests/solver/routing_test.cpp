// Routes through the lines, demand routing and the continuity checks.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "solver/builder_support.h"
#include "solver/solution.h"

namespace vt {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

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
  std::vector<int> route(int k) const { return {s.Routes[k].begin(), s.Routes[k].end()}; }
};

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

TEST(BuildPars3, RoutesRunFromSupplyToSupplyThroughEachBranch) {
  Fixture f;
  int s1 = f.b.supply(0, "S1", 100);
  int p1 = f.b.pipe(0, "P1", 100, 4, 120);
  int g1 = f.b.gauge(0, "G1", 90);
  int p2 = f.b.pipe(0, "P2", 100, 4, 120);
  int g2 = f.b.gauge(0, "G2", 80);
  int p3 = f.b.pipe(0, "P3", 100, 4, 120);
  int s2 = f.b.supply(0, "S2", 50);
  f.b.place(1, g1);  // branch 1 rejoins the main line at G2
  int b1 = f.b.pipe(1, "B1", 100, 3, 120);
  f.b.place(1, g2);
  f.b.place(2, g2);  // branch 2 ends at its own supply
  int b2 = f.b.pipe(2, "B2", 100, 3, 120);
  int s3 = f.b.supply(2, "S3", 40);
  f.b.place(3, g2);  // branch 3 is drawn from G2 back to G1
  int b3 = f.b.pipe(3, "B3", 100, 3, 120);
  f.b.place(3, g1);
  f.s.RunSolution();
  ASSERT_TRUE(f.p.proj.Solved) << f.dump();
  EXPECT_THAT(f.route(0), ElementsAre(s1, p1, g1, p2, g2, p3, s2, -1));
  EXPECT_THAT(f.route(1), ElementsAre(s1, p1, g1, b1, g2, p3, s2, -1));
  EXPECT_THAT(f.route(2), ElementsAre(s1, p1, g1, p2, g2, b2, s3, -1));
  EXPECT_THAT(f.route(3), ElementsAre(s1, p1, g1, b3, g2, p3, s2, -1));
  EXPECT_EQ(f.s.node_sum(), 0);
  EXPECT_EQ(f.s.elem_sum(), 0);
  // Parallel branches B1 and B3 (same size and length) carry the same flow, against each other's
  // drawing.
  EXPECT_NEAR(f.p.pipe[b1]->Flow, -f.p.pipe[b3]->Flow, 0.01);
}

TEST(BuildPars3, BranchOfABranchRunsThroughItsParentRoute) {
  Fixture f;
  int s1 = f.b.supply(0, "S1", 100);
  int p1 = f.b.pipe(0, "P1", 100, 4, 120);
  int g1 = f.b.gauge(0, "G1", 90);
  f.b.pipe(0, "P2", 100, 4, 120);
  f.b.supply(0, "S2", 50);
  f.b.place(1, g1);
  int b1a = f.b.pipe(1, "B1a", 100, 3, 120);
  int g3 = f.b.gauge(1, "G3", 80);
  f.b.pipe(1, "B1b", 100, 3, 120);
  f.b.supply(1, "S3", 40);
  f.b.place(2, g3);
  int b2 = f.b.pipe(2, "B2", 100, 3, 120);
  int s4 = f.b.supply(2, "S4", 30);
  f.s.RunSolution();
  ASSERT_TRUE(f.p.proj.Solved) << f.dump();
  EXPECT_THAT(f.route(2), ElementsAre(s1, p1, g1, b1a, g3, b2, s4, -1));
  EXPECT_TRUE(f.host.errorBoxes.empty());
}

TEST(BuildPars3, BranchThatCannotBeAttachedStopsTheRun) {
  Fixture f;
  f.b.supply(0, "S1", 100);
  f.b.pipe(0, "P1", 100, 4, 120);
  f.b.supply(0, "S2", 50);
  int gx = f.b.gauge(1, "GX", 80);  // branch 1 starts at a gauge of no other line: ignored
  f.b.pipe(1, "B1", 100, 3, 120);
  f.b.supply(1, "S3", 40);
  f.b.place(2, gx);  // branch 2 starts at that gauge, which no route holds
  f.b.pipe(2, "B2", 100, 3, 120);
  f.b.supply(2, "S4", 30);
  f.s.RunSolution();
  EXPECT_THAT(f.host.errorBoxes, ElementsAre("Branch #2 route was not processed successfully!"));
  auto t = f.s.list.texts();
  EXPECT_THAT(std::vector<std::string>(t.end() - 2, t.end()), ElementsAre(" ", " Cannot set element paths!"));
  EXPECT_FALSE(f.p.proj.Solved);
}

TEST(RouteDemands, WithdrawalAtAGaugeBalancesBothSides) {
  Fixture f;
  f.b.supply(0, "S1", 100);
  int p1 = f.b.pipe(0, "P1", 1000, 4, 120);
  int g = f.b.gauge(0, "G", 60, -50);
  int p2 = f.b.pipe(0, "P2", 1000, 4, 120);
  int s2 = f.b.supply(0, "S2", 50);
  f.s.RunSolution();
  ASSERT_TRUE(f.p.proj.Solved) << f.dump();
  auto flow = [](double dh) {
    double q = bisect([&](double Q) { return hw(Q, 1000, 4) - std::fabs(dh); }, 0, 1e5);
    return dh >= 0 ? q : -q;
  };
  double Hj = bisect([&](double h) { return flow(100 - h) - flow(h - 50) - 50; }, 0, 100);
  EXPECT_NEAR(f.p.pipe[p1]->Flow, flow(100 - Hj), 0.01) << f.dump();
  EXPECT_NEAR(f.p.pipe[p2]->Flow, flow(Hj - 50), 0.01);
  EXPECT_NEAR(f.p.pipe[p1]->Flow - f.p.pipe[p2]->Flow, 50.0, 0.01);
  EXPECT_NEAR(f.p.node[g]->Pressure, Hj - 60, 0.01);
  EXPECT_NEAR(f.p.node[s2]->Flow, f.p.pipe[p2]->Flow, 0.01);
  EXPECT_FLOAT_EQ(f.p.node[g]->Flow, -50.0f);  // the demand stays an input
}

TEST(RouteDemands, DemandBehindCheckValvesOnBothSidesCannotBeRouted) {
  Fixture f;
  f.b.supply(0, "S1", 100);
  f.b.pipe(0, "P1", 100, 4, 120);
  f.b.valve(0, "CV1", -2, 2, 4, 1);
  f.b.gauge(0, "G", 60, 20);  // inflow, but both valves let flow only toward the gauge
  f.b.valve(0, "CV2", -2, 2, 4, -1);
  f.b.pipe(0, "P2", 100, 4, 120);
  f.b.supply(0, "S2", 50);
  f.s.RunSolution();
  auto t = f.s.list.texts();
  EXPECT_THAT(std::vector<std::string>(t.end() - 3, t.end()), ElementsAre(" ", " ...Cannot route demands in system.", " "))
      << f.dump();
  EXPECT_FALSE(f.p.proj.Solved);
}

TEST(RouteDemands, CheckValveDecidesWhichSupplyTakesTheDemand) {
  for (int dir : {1, -1}) {
    SCOPED_TRACE(dir);
    Fixture f;
    int s1 = f.b.supply(0, "S1", 100);
    int p1 = f.b.pipe(0, "P1", 100, 4, 120);
    int cv = f.b.valve(0, "CV1", -2, 2, 4, dir);
    f.b.gauge(0, "G", 60, 20);
    int p2 = f.b.pipe(0, "P2", 100, 4, 120);
    int s2 = f.b.supply(0, "S2", 50);
    f.s.visible = true;
    f.s.AnalyzeUser();
    ASSERT_FALSE(f.s.initial());
    ASSERT_TRUE(f.s.route_demands());
    EXPECT_EQ(f.s.node_sum(), 0);
    if (dir == 1) {  // the valve refuses flow back toward S1: the inflow goes on to S2
      EXPECT_FLOAT_EQ(f.p.pipe[p2]->Flow, 20.0f);
      EXPECT_FLOAT_EQ(f.p.node[s2]->Flow, 20.0f);
      EXPECT_FLOAT_EQ(f.p.valfit[cv]->Flow, 0.0f);
    } else {  // the valve lets it through toward S1, against the drawn direction
      EXPECT_FLOAT_EQ(f.p.valfit[cv]->Flow, 20.0f);
      EXPECT_FLOAT_EQ(f.p.pipe[p1]->Flow, -20.0f);
      EXPECT_FLOAT_EQ(f.p.node[s1]->Flow, -20.0f);
      EXPECT_FLOAT_EQ(f.p.pipe[p2]->Flow, 0.0f);
    }
  }
}

TEST(Continuity, BrokenFlowsAreReportedAndTheRunIsNotSolved) {
  Fixture f;
  f.b.supply(0, "S1", 100);
  int p1 = f.b.pipe(0, "P1", 100, 4, 120);
  int p2 = f.b.pipe(0, "P2", 100, 4, 120);
  int p3 = f.b.pipe(0, "P3", 100, 4, 120);
  f.b.supply(0, "S2", 50);
  f.s.visible = true;
  f.s.AnalyzeUser();
  f.p.pipe[p1]->Flow = f.p.pipe[p3]->Flow = 10;
  f.p.pipe[p2]->Flow = 12;
  EXPECT_EQ(f.s.elem_sum(), p2);
  f.p.pipe[p2]->Flow = 10;
  EXPECT_EQ(f.s.elem_sum(), 0);
  EXPECT_NE(f.s.node_sum(), 0);  // the supplies carry nothing yet
}

}  // namespace
}  // namespace vt
