// Pump and FVH curves: the fits must pass through their points (checked against a Lagrange
// polynomial and power laws computed here), the piecewise evaluation must follow its straight-line
// and 1/q pieces, and records that cannot be fitted must stay finite.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "model/project.h"
#include "solver/curves.h"
#include "solver/head_loss.h"

namespace vt {
namespace {

Pump definedPump(float delta, float h0, float h1, float h2, float h3) {
  Pump p = newPump();
  p.CurveDefined = 1;
  p.FlowIncr = delta;
  p.ShutoffHead = h0;
  p.Head1 = h1;
  p.Head2 = h2;
  p.Head3 = h3;
  return p;
}

// The cubic through four equally spaced points by Lagrange's formula (flows in gpm).
double lagrange(const Pump& p, double Q) {
  const double x[4] = {0, p.FlowIncr, 2.0 * p.FlowIncr, 3.0 * p.FlowIncr};
  const double y[4] = {p.ShutoffHead, p.Head1, p.Head2, p.Head3};
  double sum = 0;
  for (int i = 0; i < 4; ++i) {
    double term = y[i];
    for (int j = 0; j < 4; ++j)
      if (j != i) term *= (Q - x[j]) / (x[i] - x[j]);
    sum += term;
  }
  return sum;
}

TEST(PumpCurve, CubicPassesThroughItsFourPoints) {
  struct Case { float delta, h0, h1, h2, h3; };
  for (Case c : {Case{100, 100, 95, 85, 70}, Case{37.5f, 250, 262, 240, 180}, Case{2000, 60, 59, 55, 20}}) {
    Pump p = definedPump(c.delta, c.h0, c.h1, c.h2, c.h3);
    ASSERT_TRUE(FitPumpCurve(p));
    EXPECT_EQ(p.CurveCoef[0], c.h0);
    for (double Q : {0.0, 1.0 * c.delta, 2.0 * c.delta, 3.0 * c.delta, 0.7 * c.delta, 2.5 * c.delta})
      EXPECT_NEAR(PumpHead(p, static_cast<float>(Q)), lagrange(p, Q), 1e-3 * c.h0) << c.delta << " at " << Q;
  }
}

TEST(PumpCurve, OperatingHeadFollowsLineCubicAndInverseFlow) {
  Pump p = definedPump(100, 100, 95, 85, 70);
  ASSERT_TRUE(FitPumpCurve(p));
  const double perCfs = 448.831;
  // Below Δ: the straight line from shut-off, also below zero flow.
  HeadSlope r = PumpOperatingHead(p, 50);
  EXPECT_NEAR(r.head, 97.5, 1e-9);
  EXPECT_NEAR(r.slope, -5.0 / (100 / perCfs), 1e-9);
  EXPECT_NEAR(PumpOperatingHead(p, -20).head, 101.0, 1e-9);
  // Beyond 3Δ: inversely proportional to the flow, slope -2·head.
  r = PumpOperatingHead(p, 400);
  EXPECT_NEAR(r.head, 52.5, 1e-4);
  EXPECT_NEAR(r.slope, -105.0, 1e-3);
  // On the curve: the cubic and its derivative (central difference of the Lagrange polynomial).
  r = PumpOperatingHead(p, 150);
  EXPECT_NEAR(r.head, lagrange(p, 150), 1e-3);
  const double dHdQ = (lagrange(p, 150.01) - lagrange(p, 149.99)) / 0.02;
  EXPECT_NEAR(r.slope, dHdQ * perCfs, 0.05);
  EXPECT_TRUE(r.ok);
}

TEST(PumpCurve, RisingCurveAtLowFlowHasNoSlopeBelowFirstPoint) {
  Pump p = definedPump(100, 90, 95, 85, 70);
  ASSERT_TRUE(FitPumpCurve(p));
  const HeadSlope r = PumpOperatingHead(p, 40);
  EXPECT_NEAR(r.head, 92.0, 1e-9);
  EXPECT_EQ(r.slope, 0.0);
}

TEST(PumpCurve, BlankOrZeroIncrementIsRefusedWithoutNonFiniteCoefficients) {
  struct Case { const char* what; float delta, h0, h1, h2, h3; };
  for (Case c : {Case{"blank head", 100, 100, kBlank, 85, 70}, Case{"blank increment", kBlank, 100, 95, 85, 70},
                 Case{"zero increment", 0, 100, 95, 85, 70}, Case{"negative increment", -50, 100, 95, 85, 70},
                 Case{"increment too small to hold", 1e-30f, 100, 95, 85, 70}}) {
    Pump p = definedPump(c.delta, c.h0, c.h1, c.h2, c.h3);
    EXPECT_FALSE(FitPumpCurve(p)) << c.what;
    EXPECT_EQ(p.CurveCoef[0], kBlank) << c.what;
    const HeadSlope r = PumpOperatingHead(p, 120);
    EXPECT_FALSE(r.ok) << c.what;
    EXPECT_TRUE(std::isfinite(r.head) && std::isfinite(r.slope)) << c.what;
  }
}

TEST(PumpCurve, OperatingHeadBeyondSinglePrecisionIsNotHandedOn) {
  // The iteration stores the head in the pump's single-precision Head field. A steep line below Δ
  // (5 ft over 0.001 gpm) at a runaway flow of -3e38 gpm gives 100 + 3e38/0.001·5 = 1.5e42 ft,
  // finite as a double but infinite as a single.
  Pump p = definedPump(0.001f, 100, 95, 85, 70);
  ASSERT_TRUE(FitPumpCurve(p));
  const HeadSlope r = PumpOperatingHead(p, -3e38f);
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(std::isfinite(static_cast<float>(r.head)));
  EXPECT_TRUE(std::isfinite(r.slope));
  // An ordinary flow on the same steep line is still evaluated: 100 − (0.0005/0.001)·5 = 97.5 ft.
  EXPECT_NEAR(PumpOperatingHead(p, 0.0005f).head, 97.5, 1e-3);
}

TEST(PumpCurve, UndefinedPumpUsesItsHeadAndDesignFlow) {
  Pump p = newPump();
  p.CurveDefined = 0;
  p.Head = 80;
  p.DesignFlow = 200;
  HeadSlope r = PumpOperatingHead(p, 150);
  EXPECT_EQ(r.head, 80.0);
  EXPECT_NEAR(r.slope, -0.1 * 80 / ((200 / 448.831) / 2), 1e-9);
  p.DesignFlow = 0;
  r = PumpOperatingHead(p, 150);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.slope, 0.0);
}

TEST(NpshrCurve, FitPassesThroughThreePointsAndIsN1AtOrBelowDelta) {
  Pump p = definedPump(100, 100, 95, 85, 70);
  p.NPSHR1 = 5;
  p.NPSHR2 = 7;
  p.NPSHR3 = 11;
  ASSERT_TRUE(FitPumpCurve(p));
  EXPECT_EQ(p.NpshBase, 5.0f);
  EXPECT_NEAR(PumpNpshr(p, 200), 7.0, 1e-4);
  EXPECT_NEAR(PumpNpshr(p, 300), 11.0, 1e-4);
  EXPECT_EQ(PumpNpshr(p, 100), 5.0f);
  EXPECT_EQ(PumpNpshr(p, 30), 5.0f);
  // Between the points the power law N1 + b·(Q − Δ)^c with 2^c = (N3 − N1)/(N2 − N1) = 3.
  const double c = std::log(3.0) / std::log(2.0), b = 2.0 / std::pow(100.0, c);
  EXPECT_NEAR(PumpNpshr(p, 250), 5 + b * std::pow(150.0, c), 1e-4);
}

TEST(NpshrCurve, MissingOrNonRisingPoints) {
  struct Case { float n1, n2, n3; bool ok; };
  for (Case c : {Case{kBlank, kBlank, kBlank, true}, Case{5, kBlank, 8, true}, Case{5, 5, 8, false},
                 Case{5, 8, 7, false}, Case{9, 6, 3, false}}) {
    Pump p = definedPump(100, 100, 95, 85, 70);
    p.NPSHR1 = c.n1;
    p.NPSHR2 = c.n2;
    p.NPSHR3 = c.n3;
    EXPECT_EQ(FitPumpCurve(p), c.ok) << c.n1 << " " << c.n2 << " " << c.n3;
    EXPECT_EQ(p.NpshBase, kBlank);
    EXPECT_EQ(p.CurveCoef[0], 100.0f);  // the head curve stays fitted either way
    EXPECT_EQ(PumpNpshr(p, 250), kBlank);
  }
}

TEST(NpshrCurve, CoefficientTooSmallForItsFieldIsRefusedNotFlattened) {
  // 1, 1.001 and 100 ft at 30000, 60000 and 90000 gpm: c = log2(99/0.001) ≈ 16.6 and
  // b = 0.001 / 30000^16.6 ≈ 1e-77, which a single-precision field holds as 0. Stored, the curve
  // would read 1 ft at 3Δ instead of 100 ft; the fit must fail rather than understate NPSHR.
  Pump p = definedPump(30000, 100, 95, 85, 70);
  p.NPSHR1 = 1;
  p.NPSHR2 = 1.001f;
  p.NPSHR3 = 100;
  const double c = std::log2((100.0 - 1.0) / (static_cast<double>(1.001f) - 1.0));
  ASSERT_LT(static_cast<float>((static_cast<double>(1.001f) - 1.0) / std::pow(30000.0, c)), 1.2e-38f);
  EXPECT_FALSE(FitPumpCurve(p));
  EXPECT_EQ(p.NpshBase, kBlank);
  // A steep but holdable fit still passes through its points: 2, 2.5 and 50 ft at 100, 200, 300.
  Pump q = definedPump(100, 100, 95, 85, 70);
  q.NPSHR1 = 2;
  q.NPSHR2 = 2.5f;
  q.NPSHR3 = 50;
  ASSERT_TRUE(FitPumpCurve(q));
  EXPECT_NEAR(PumpNpshr(q, 300), 50.0, 1e-3);
}

TEST(FvhCurve, FitThroughTwoPointsAndItsLoss) {
  FVH f = newFvh();
  f.FlowIncr = 100;
  f.HeadLoss1 = 2;
  f.HeadLoss2 = 8;
  ASSERT_TRUE(FitFvhCurve(f));
  EXPECT_NEAR(f.CoefB, 2.0, 1e-6);
  EXPECT_NEAR(f.CoefA, 2.0 / std::pow(100 / 448.831, 2.0), 1e-2);
  EXPECT_NEAR(FvhLoss(f, 100), 2.0, 1e-5);
  EXPECT_NEAR(FvhLoss(f, 200), 8.0, 1e-5);
  EXPECT_NEAR(FvhLoss(f, -150), 4.5, 1e-5);
  EXPECT_NEAR(FvhSlope(f, -150), f.CoefA * f.CoefB * -150 / 448.831, 1e-6);

  // A law of other exponent: 3 ft at 40 gpm and 5 ft at 80 gpm, b = log2(5/3).
  f.FlowIncr = 40;
  f.HeadLoss1 = 3;
  f.HeadLoss2 = 5;
  ASSERT_TRUE(FitFvhCurve(f));
  EXPECT_NEAR(FvhLoss(f, 60), 3 * std::pow(1.5, std::log2(5.0 / 3.0)), 1e-5);
}

TEST(FvhCurve, CoefficientTooSmallForItsFieldIsRefusedNotMadeLossless) {
  // 1 ft at 44883.1 gpm (q = 100 ft³/s) and 2^25 ft at twice that: b = 25, a = 1/100^25 = 1e-50,
  // which a single holds as 0: the device would lose nothing at any flow.
  FVH f = newFvh();
  f.FlowIncr = 44883.1f;
  f.HeadLoss1 = 1;
  f.HeadLoss2 = 33554432.0f;
  EXPECT_FALSE(FitFvhCurve(f));
  EXPECT_EQ(f.CoefA, kBlank);
  EXPECT_EQ(f.CoefB, kBlank);
}

TEST(FvhCurve, RefusedPointsLeaveNoUsableLaw) {
  struct Case { const char* what; float delta, h1, h2; bool bBlank; };
  for (Case c : {Case{"decreasing", 100, 8, 2, true}, Case{"equal", 100, 4, 4, true},
                 Case{"blank loss", 100, kBlank, 8, false}, Case{"blank increment", kBlank, 2, 8, false},
                 Case{"zero first loss", 100, 0, 8, true}, Case{"zero increment", 0, 2, 8, true}}) {
    FVH f = newFvh();
    f.CoefB = 1.5f;
    f.FlowIncr = c.delta;
    f.HeadLoss1 = c.h1;
    f.HeadLoss2 = c.h2;
    EXPECT_FALSE(FitFvhCurve(f)) << c.what;
    EXPECT_EQ(f.CoefA, kBlank) << c.what;
    EXPECT_EQ(f.CoefB, c.bBlank ? kBlank : 1.5f) << c.what;
    EXPECT_EQ(FvhLoss(f, 120), 0.0f) << c.what;
    EXPECT_EQ(FvhSlope(f, 120), 0.0) << c.what;
  }
}

// ---------------------------------------------------------------- pumps in series

class SeriesPumps : public ::testing::Test {
 protected:
  Project p;
  SeriesPumpData s;
  int next = 1;

  int place(int type, int pos) {
    const int n = next++;
    p.createElement(n, type);
    EXPECT_TRUE(p.insertInSeq(n, pos));
    return n;
  }
  int pumpAt(int pos, const Pump& curve) {
    const int n = place(kPump, pos);
    *p.pump[n] = curve;
    FitPumpCurve(*p.pump[n]);
    return n;
  }
};

TEST_F(SeriesPumps, TwoDefinedPumpsGiveTheSumOfTheirCurves) {
  const Pump a = definedPump(100, 100, 95, 85, 70);
  const Pump b = definedPump(150, 60, 58, 52, 40);
  place(kSupply, 1);
  pumpAt(2, a);
  place(kPipe, 3);
  pumpAt(4, b);
  place(kSupply, 5);
  resetSeriesPump(s);
  decideSeriesPumps(p, s);
  ASSERT_TRUE(s.inSeries);
  EXPECT_EQ(s.flowIncr, 100.0f);
  ASSERT_TRUE(buildSeriesCurve(p, s));
  const Pump& sp = s.SeriesPump;
  EXPECT_EQ(sp.FlowIncr, 100.0f);
  EXPECT_EQ(sp.Speed, kBlankSmall);
  EXPECT_EQ(sp.Speed3, kBlankSmall);
  EXPECT_EQ(sp.NpshBase, kBlank);
  for (double Q : {0.0, 100.0, 200.0, 300.0, 250.0})
    EXPECT_NEAR(PumpHead(sp, static_cast<float>(Q)), lagrange(a, Q) + lagrange(b, Q), 2e-3) << Q;
}

TEST_F(SeriesPumps, NoCombinedCurveUnlessAllMainLinePumpsAreDefinedAndNoBranch) {
  Pump undefinedPump = newPump();
  undefinedPump.CurveDefined = 0;
  undefinedPump.DesignFlow = 100;
  place(kSupply, 1);
  pumpAt(2, definedPump(100, 100, 95, 85, 70));
  const int second = pumpAt(3, undefinedPump);
  place(kSupply, 4);
  s.inSeries = true;
  decideSeriesPumps(p, s);
  EXPECT_FALSE(s.inSeries);
  EXPECT_TRUE(buildSeriesCurve(p, s));  // nothing to build

  *p.pump[second] = definedPump(100, 50, 45, 35, 20);
  FitPumpCurve(*p.pump[second]);
  decideSeriesPumps(p, s);
  EXPECT_TRUE(s.inSeries);

  // A branch in use: no longer series.
  const int markerPos = p.LineEnd[0] + 1;
  const int g = place(kGauge, markerPos + 1);
  place(kPipe, markerPos + 2);
  place(kSupply, markerPos + 3);
  ASSERT_GT(p.LineLen[1], 0) << g;
  decideSeriesPumps(p, s);
  EXPECT_FALSE(s.inSeries);
}

TEST_F(SeriesPumps, CurveThatCannotBeFittedClearsTheFlag) {
  place(kSupply, 1);
  const int a = pumpAt(2, definedPump(100, 100, 95, 85, 70));
  pumpAt(3, definedPump(100, 50, 45, 35, 20));
  place(kSupply, 4);
  p.pump[a]->FlowIncr = 0;  // first defined pump gives the combined increment
  resetSeriesPump(s);
  decideSeriesPumps(p, s);
  ASSERT_TRUE(s.inSeries);
  EXPECT_FALSE(buildSeriesCurve(p, s));
  EXPECT_FALSE(s.inSeries);
}

// ---------------------------------------------------------------- off-curve watch

TEST(OffCurveWatchTest, LabelSetFromIterationFiveAndClearedFiveIterationsLater) {
  Project p;
  p.units.Flow.abbrev = "gpm";
  p.units.Flow.factor = 1.0;
  p.createElement(1, kPump);
  *p.pump[1] = definedPump(100, 100, 95, 85, 70);
  p.setElemID(1, "P-1");
  p.pump[1]->Flow = 450;
  OffCurveWatch w;
  EXPECT_FALSE(watchPumpCurve(w, p, 1, 4));
  EXPECT_FALSE(w.visible);
  EXPECT_TRUE(watchPumpCurve(w, p, 1, 5));
  EXPECT_TRUE(w.visible);
  EXPECT_EQ(w.label, "Warning! Pump ID: \"P-1\" flow = 450.00 gpm (off of curve)!");
  p.pump[1]->Flow = 390;  // back on the curve (not above 4Δ)
  EXPECT_FALSE(watchPumpCurve(w, p, 1, 9));
  EXPECT_TRUE(w.visible);
  EXPECT_TRUE(watchPumpCurve(w, p, 1, 10));
  EXPECT_FALSE(w.visible);
  EXPECT_EQ(w.label, "");
  p.pump[1]->Flow = -900;  // a negative flow is never off the curve
  EXPECT_FALSE(watchPumpCurve(w, p, 1, 20));
  // Undefined pumps are not watched.
  p.pump[1]->CurveDefined = 0;
  p.pump[1]->Flow = 900;
  EXPECT_FALSE(watchPumpCurve(w, p, 1, 20));
}

// While a pump stays off its curve the label is composed again only when its text would change:
// the same shown flow leaves the label's text (and its storage) as it was and reports no change.
TEST(OffCurveWatchTest, LabelRecomposedOnlyWhenItsTextChanges) {
  Project p;
  p.units.Flow.abbrev = "gpm";
  p.units.Flow.factor = 1.0;
  p.createElement(1, kPump);
  *p.pump[1] = definedPump(100, 100, 95, 85, 70);
  p.setElemID(1, "P-1");
  p.pump[1]->Flow = 450;
  OffCurveWatch w;
  ASSERT_TRUE(watchPumpCurve(w, p, 1, 5));
  const char* storage = w.label.data();
  p.pump[1]->Flow = 450.001f;  // shows as 450.00 as before
  EXPECT_FALSE(watchPumpCurve(w, p, 1, 6));
  EXPECT_EQ(w.label, "Warning! Pump ID: \"P-1\" flow = 450.00 gpm (off of curve)!");
  EXPECT_EQ(w.label.data(), storage);
  EXPECT_EQ(w.setAt, 6);
  p.pump[1]->Flow = 451.5f;
  EXPECT_TRUE(watchPumpCurve(w, p, 1, 7));
  EXPECT_EQ(w.label, "Warning! Pump ID: \"P-1\" flow = 451.50 gpm (off of curve)!");
  p.setElemID(1, "P-2");  // another text for the same flow
  EXPECT_TRUE(watchPumpCurve(w, p, 1, 8));
  EXPECT_EQ(w.label, "Warning! Pump ID: \"P-2\" flow = 451.50 gpm (off of curve)!");
  p.units.Flow.abbrev = "gal/min";
  EXPECT_TRUE(watchPumpCurve(w, p, 1, 9));
  EXPECT_EQ(w.label, "Warning! Pump ID: \"P-2\" flow = 451.50 gal/min (off of curve)!");
}

TEST(OffCurveWatchTest, FvhAboveThreeIncrementsInDisplayUnits) {
  Project p;
  p.units.Flow.abbrev = "m3/h";
  p.units.Flow.factor = 0.2271247;
  p.createElement(2, kFVH);
  p.setElemID(2, "F1");
  p.fvh[2]->FlowIncr = 100;
  p.fvh[2]->Flow = 300;
  OffCurveWatch w;
  EXPECT_FALSE(watchFvhCurve(w, p, 2, 6));
  p.fvh[2]->Flow = 301;
  EXPECT_TRUE(watchFvhCurve(w, p, 2, 6));
  EXPECT_EQ(w.label, "Warning! FVH ID: \"F1\" flow = 68.36 m3/h (off of curve)!");
}

}  // namespace
}  // namespace vt
