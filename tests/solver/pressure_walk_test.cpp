// The pressure walk after the iteration: blocked lines walked back from their far end, NPSH and its
// warnings, and the head check's findings.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "solver/builder_support.h"
#include "solver/solution.h"

namespace vt {
namespace {

using ::testing::ElementsAre;

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
  // The finding `line` with the lines just before and after it.
  std::vector<std::string> around(const std::string& line, int before, int after) const {
    auto t = s.list.texts();
    auto at = std::find(t.begin(), t.end(), line);
    if (at == t.end() || at - t.begin() < before || t.end() - at <= after) return {};
    return {at - before, at + after + 1};
  }
  int carried(const std::string& line) const {
    for (const auto& l : s.list.lines())
      if (l.text == line) return l.element;
    return -1;
  }
};

// Main line S1 (100 ft) - P1 - G - P2 - S2 (0 ft); branch 1 from G through a check valve to S3.
struct Branchy {
  int s1, p1, g, p2, s2, b1, cv, b2, s3;
};
Branchy branchWithCheckValve(Fixture& f, int cvDir) {
  Branchy x;
  x.s1 = f.b.supply(0, "S1", 100);
  x.p1 = f.b.pipe(0, "P1", 1000, 6, 120);
  x.g = f.b.gauge(0, "G", 0);
  x.p2 = f.b.pipe(0, "P2", 1000, 6, 120);
  x.s2 = f.b.supply(0, "S2", 0);
  f.b.place(1, x.g);
  x.b1 = f.b.pipe(1, "B1", 500, 4, 120);
  x.cv = f.b.valve(1, "CV", -2, 2, 4, cvDir);
  x.b2 = f.b.pipe(1, "B2", 500, 4, 120);
  x.s3 = f.b.supply(1, "S3", 20);
  return x;
}

TEST(FloPrs1, ClosedCheckValveGradesItsBranchFromTheFarSupply) {
  Fixture f;
  Branchy x = branchWithCheckValve(f, -1);  // the junction stands higher than S3: the valve holds
  f.s.RunSolution();
  ASSERT_TRUE(f.p.proj.Solved) << f.dump();
  EXPECT_LE(std::fabs(f.p.valfit[x.cv]->Flow), f.p.sys.FlowTol);
  EXPECT_FLOAT_EQ(f.p.ElemHGL[x.cv], kNoGrade);
  // Beyond the valve the grade is the far tank's surface; before it, the junction's.
  EXPECT_NEAR(f.p.ElemHGL[x.b2], 20.0, 0.01);
  EXPECT_NEAR(f.p.ElemHGL[x.s3], 20.0, 0.01);
  EXPECT_NEAR(f.p.ElemHGL[x.b1], f.p.ElemHGL[x.g], 0.01);
  // With the branch closed the main line is a plain gravity line: the junction sits halfway down.
  EXPECT_NEAR(f.p.node[x.g]->Pressure, 50.0, 0.05);
}

TEST(FloPrs1, OpenCheckValveCarriesTheGradeThrough) {
  Fixture f;
  Branchy x = branchWithCheckValve(f, 1);
  f.s.RunSolution();
  ASSERT_TRUE(f.p.proj.Solved) << f.dump();
  EXPECT_GT(f.p.valfit[x.cv]->Flow, 1.0f);
  EXPECT_NE(f.p.ElemHGL[x.cv], kNoGrade);
  EXPECT_NEAR(f.p.ElemHGL[x.b2], 20.0, 0.01);  // arrives at the far tank's surface
}

TEST(FloPrs1, BlockedLineFollowedByAnIgnoredBranchStillSkipsIt) {
  Fixture f;
  Branchy x = branchWithCheckValve(f, -1);
  f.b.place(2, x.g);
  int lone = f.b.pipe(2, "L1", 10, 2, 120);  // two entries: ignored
  f.s.RunSolution();
  ASSERT_TRUE(f.p.proj.Solved) << f.dump();
  EXPECT_EQ(f.p.LineLen[2], 0);
  EXPECT_FLOAT_EQ(f.p.ElemHGL[lone], kNoGrade);
  EXPECT_NEAR(f.p.ElemHGL[x.b2], 20.0, 0.01);
}

TEST(FloPrs1, SuctionLiftBelowZeroNpshIsWarned) {
  Fixture f;
  f.b.supply(0, "Sump", 0);
  f.b.pipe(0, "Suction", 50, 4, 120);
  int pu = f.b.pump(0, "PU", {150, 140, 120, 90}, 100, 40);  // 40 ft above the sump
  f.p.pump[pu]->NPSHR1 = 10;
  f.p.pump[pu]->NPSHR2 = 12;
  f.p.pump[pu]->NPSHR3 = 16;
  ASSERT_TRUE(FitPumpCurve(*f.p.pump[pu]));
  f.b.pipe(0, "Discharge", 500, 4, 120);
  f.b.supply(0, "Tank", 60);
  f.s.RunSolution();
  const Pump& p = *f.p.pump[pu];
  // NPSHA = (atmosphere - vapour pressure) x 2.31 / SG + suction grade - pump elevation.
  const double suction = f.p.ElemHGL[f.p.ElemSeq[2]];
  EXPECT_NEAR(p.NPSHA, (14.7 - 0.2563) * 2.31 + suction - 40, 0.01) << f.dump();
  ASSERT_LT(p.NPSHA, 0);
  EXPECT_THAT(f.around(" Warning! NPSHA at Pump ID: \"PU\" is less than zero!(click here)", 1, 2),
              ElementsAre(" ", " Warning! NPSHA at Pump ID: \"PU\" is less than zero!(click here)", " ",
                          " Warning! NPSHA less than NPSHR at Pump ID: \"PU\"!(click here)"));
  EXPECT_EQ(f.carried(" Warning! NPSHA less than NPSHR at Pump ID: \"PU\"!(click here)"), pu);
  EXPECT_GT(p.NPSHR, 10.0f);
}

TEST(FloPrs1, UnknownVapourPressureLeavesNpshaBlankAndSilent) {
  Fixture f;
  f.p.liquid.LiqVP = kBlank;
  f.b.supply(0, "Sump", 0);
  f.b.pipe(0, "Suction", 50, 4, 120);
  int pu = f.b.pump(0, "PU", {150, 140, 120, 90}, 100, 40);
  f.b.pipe(0, "Discharge", 500, 4, 120);
  f.b.supply(0, "Tank", 60);
  f.s.RunSolution();
  EXPECT_FLOAT_EQ(f.p.pump[pu]->NPSHA, kBlank);
  for (const auto& t : f.s.list.texts()) EXPECT_EQ(t.find("NPSHA"), std::string::npos) << t;
}

TEST(ForcedFlowNpsh, WarningsCarryNoElement) {
  Fixture f;
  f.p.sys.SysType = 2;
  f.p.sys.SysFlowPress = 150;
  f.b.supply(0, "Sump", 0, 0, 2);
  int pu = f.b.pump(0, "PU", {150, 140, 120, 90}, 100, 40);
  f.p.pump[pu]->NPSHR1 = 10;
  f.p.pump[pu]->NPSHR2 = 12;
  f.p.pump[pu]->NPSHR3 = 16;
  ASSERT_TRUE(FitPumpCurve(*f.p.pump[pu]));
  f.b.pipe(0, "Discharge", 500, 4, 120);
  f.b.gauge(0, "End", 0);
  f.s.RunSolution();
  EXPECT_THAT(f.around("Warning! NPSHA at pump PU is less than zero!", 1, 2),
              ElementsAre("  ", "Warning! NPSHA at pump PU is less than zero!", "  ",
                          "Warning! NPSHA less than NPSHR at pump PU!"))
      << f.dump();
  EXPECT_EQ(f.carried("Warning! NPSHA at pump PU is less than zero!"), 0);
}

TEST(HeadCheck, NoFlowsIsTheOnlyFinding) {
  Fixture f;
  f.b.supply(0, "S1", 100);
  f.b.pipe(0, "P1", 100, 4, 120);
  f.b.valve(0, "CV", -2, 2, 4, -1);  // against gravity
  f.b.supply(0, "S2", 50);
  f.s.RunSolution();
  auto t = f.s.list.texts();
  EXPECT_NE(std::find(t.begin(), t.end(), " Warning! No flows - Check pump heads and directional devices opposing gravity flow."),
            t.end())
      << f.dump();
  for (const auto& line : t) EXPECT_EQ(line.find("Max head error"), std::string::npos);
}

TEST(HeadCheck, PumpsOffTheirHeadPointsAreWarned) {
  struct Case {
    double lift;
    const char* line;
  };
  const Case cases[] = {
      {95, "  Warning! Pump ID: \"PU\" flow is less than first head point. Approximations used.(click here)"},
      {-60, "  Warning! Pump ID: \"PU\" flow is greater than 3rd head point. Approximations used.(click here)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    Fixture f;
    f.b.supply(0, "S1", 0);
    int pu = f.b.pump(0, "PU", {100, 95, 85, 70}, 100);
    f.b.pipe(0, "P1", 100, 6, 120);
    f.b.supply(0, "S2", c.lift);
    f.s.RunSolution();
    EXPECT_THAT(f.around(c.line, 1, 0), ElementsAre(" ", c.line)) << f.dump();
    EXPECT_EQ(f.carried(c.line), pu);
  }
}

TEST(HeadCheck, GoodBalanceIsGradedGood) {
  Fixture f;
  f.b.supply(0, "S1", 100);
  f.b.pipe(0, "P1", 1000, 4, 120);
  f.b.gauge(0, "G", 50);
  f.b.pipe(0, "P2", 1000, 4, 120);
  f.b.supply(0, "S2", 0);
  f.s.RunSolution();
  auto t = f.s.list.texts();
  auto at = std::find_if(t.begin(), t.end(), [](const std::string& s) { return s.rfind("  Max head error = ", 0) == 0; });
  ASSERT_NE(at, t.end()) << f.dump();
  EXPECT_NE(at->find(" ft liq,  "), std::string::npos);
  EXPECT_EQ(at->substr(at->size() - 8), " - Good!");
}

// A tank with an inlet/exit loss at the end of a branch: main line S1 (100 ft) - P1 - G - P2 - S2
// (0 ft), the branch of two 4-in pipes between G and the tank T. The grade just inside the line at T
// is its surface plus the exit loss when T receives and less the inlet loss when it delivers, the
// loss worked by hand from the branch pipe's flow (K = 1); the head check then closes and grades Good.
TEST(HeadCheck, TankWithInletExitLossAtEitherEndOfABranch) {
  struct Case {
    const char* name;
    double tankFt;
    double sense;  // +1 the tank receives, -1 it delivers
  };
  for (const Case& c : {Case{"receiving", 20, 1}, Case{"delivering", 90, -1}}) {
    SCOPED_TRACE(c.name);
    Fixture f;
    f.b.supply(0, "S1", 100);
    f.b.pipe(0, "P1", 1000, 6, 120);
    const int g = f.b.gauge(0, "G", 0);
    f.b.pipe(0, "P2", 1000, 6, 120);
    f.b.supply(0, "S2", 0);
    f.b.place(1, g);
    f.b.pipe(1, "B1", 500, 4.026, 120);
    const int next = f.b.pipe(1, "B2", 500, 4.026, 120);
    const int t = f.b.supply(1, "T", c.tankFt, 0, 0, 1.0f, 4.026f);
    f.s.RunSolution();
    ASSERT_TRUE(f.p.proj.Solved) << f.dump();
    const double q = std::fabs(f.p.pipe[next]->Flow);
    ASSERT_GT(q, 10.0);
    const double v = 0.4085 * q / (4.026 * 4.026);
    const double grade = c.tankFt + c.sense * v * v / 64.348;
    EXPECT_NEAR(f.p.ElemHGL[t], grade, 0.01);
    EXPECT_NEAR(f.p.ElemHGL[next], grade, 0.01);
    auto texts = f.s.list.texts();
    auto at = std::find_if(texts.begin(), texts.end(),
                           [](const std::string& s) { return s.rfind("  Max head error = ", 0) == 0; });
    ASSERT_NE(at, texts.end()) << f.dump();
    EXPECT_EQ(at->substr(at->size() - 8), " - Good!") << f.dump();
  }
}

}  // namespace
}  // namespace vt
