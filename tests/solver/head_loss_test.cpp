// Element head losses checked against textbook formulas written out here in their own units and
// constants (US customary Hazen-Williams, Darcy-Weisbach with a converged Colebrook, Manning with
// 1.486, K·V²/2g, the orifice equation), never against values this code printed.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <new>
#include <numbers>
#include <vector>

#include "model/project.h"
#include "solver/curves.h"
#include "solver/equivalent_length.h"
#include "solver/head_loss.h"

// Counts every allocation of this test binary, so a test can show that the routines the iteration
// calls thousands of times allocate nothing.
static std::atomic<long> gAllocations{0};
void* operator new(std::size_t size) {
  ++gAllocations;
  if (void* ptr = std::malloc(size ? size : 1)) return ptr;
  throw std::bad_alloc();
}
// GCC cannot see that these frees match the malloc of operator new above.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* ptr) noexcept { std::free(ptr); }
void operator delete(void* ptr, std::size_t) noexcept { std::free(ptr); }
#pragma GCC diagnostic pop

namespace vt {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double g = 32.174;

double cfs(double gpm) { return gpm / 448.831; }
double areaFt2(double dIn) { return kPi / 4.0 * (dIn / 12.0) * (dIn / 12.0); }
double velocity(double gpm, double dIn) { return cfs(gpm) / areaFt2(dIn); }

// Colebrook iterated to a fixed point (not the three Newton steps of the code).
double colebrookF(double eps, double Dft, double Re) {
  double x = 8.0;
  for (int i = 0; i < 200; ++i) x = -2.0 * std::log10(eps / (3.7 * Dft) + 2.51 * x / Re);
  return 1.0 / (x * x);
}
double reynolds(double gpm, double dIn, double cSt) {
  return velocity(gpm, dIn) * (dIn / 12.0) / (cSt / 92903.04);
}
double darcyHead(double gpm, double dIn, double Lft, double eps, double cSt) {
  const double Re = reynolds(gpm, dIn, cSt);
  const double f = Re > 2000 ? colebrookF(eps, dIn / 12.0, Re) : 64.0 / Re;
  const double V = velocity(gpm, dIn);
  return f * Lft / (dIn / 12.0) * V * V / (2 * g);
}

class HeadLossTest : public ::testing::Test {
 protected:
  Project p;
  LoopSums sums;

  int pipe(int n, double lengthFt, double dIn, double friction, float flow = 0) {
    p.createElement(n, kPipe);
    p.pipe[n]->Length = static_cast<float>(lengthFt * 12.0);
    p.pipe[n]->InsideDia = static_cast<float>(dIn);
    p.pipe[n]->Friction = friction;
    p.pipe[n]->Flow = flow;
    return n;
  }
  int valfit(int n, int16_t code, float k, float dIn, float parm = 0, float flow = 0, int type = kFitting) {
    p.createElement(n, type);
    Valfit& v = *p.valfit[n];
    v.Code = code;
    v.Coef = k;
    v.Dia = dIn;
    v.Parm = parm;
    v.Flow = flow;
    return n;
  }
  int supply(int n, int16_t supplyType, int16_t inletType, float k, float dIn, float flow = 0) {
    p.createElement(n, kSupply);
    Node& s = *p.node[n];
    s.SupplyType = supplyType;
    s.InletExitType = inletType;
    s.InletK = k;
    s.InletDia = dIn;
    s.Flow = flow;
    return n;
  }
};

// ---------------------------------------------------------------- pipes

TEST_F(HeadLossTest, HazenWilliamsMatchesTheUsCustomaryFormula) {
  // 100 ft of 2.067 in pipe, C = 140, 50 gpm: h = 10.44 L Q^1.85 / (C^1.85 d^4.8655), Q gpm, d in.
  pipe(1, 100, 2.067, 140);
  const double expected = 10.44 * 100 * std::pow(50.0, 1.85) / (std::pow(140.0, 1.85) * std::pow(2.067, 4.8655));
  EXPECT_NEAR(HazenWilliamsLoss(p, 1, 0, 50.0f, sums), expected, expected * 2e-3);
}

TEST_F(HeadLossTest, ManningMatchesTheFullPipeManningFormula) {
  // V = (1.486/n) R^(2/3) S^(1/2) with R = D/4 for a full pipe.
  pipe(1, 500, 6.0, 0.012);
  const double V = velocity(400, 6.0), R = 0.5 / 4.0;
  const double expected = 500 * std::pow(0.012 * V / (1.486 * std::pow(R, 2.0 / 3.0)), 2.0);
  EXPECT_NEAR(ManningLoss(p, 1, 0, 400.0f, sums), expected, expected * 5e-3);
}

// A pipe's resistance factor kept in a memo: the loss is the textbook value, and a pipe edited
// between calls (length, diameter, friction) or another equation gets its own factor, not the old one.
TEST_F(HeadLossTest, ResistanceFactorMemoFollowsEveryInput) {
  auto hw = [](double Lft, double d, double C, double Q) {
    return 10.44 * Lft * std::pow(Q, 1.85) / (std::pow(C, 1.85) * std::pow(d, 4.8655));
  };
  auto manning = [&](double Lft, double d, double n, double Q) {
    const double V = velocity(Q, d), R = d / 12.0 / 4.0;
    return Lft * std::pow(n * V / (1.486 * std::pow(R, 2.0 / 3.0)), 2.0);
  };
  pipe(1, 100, 2.067, 140);
  PipeFactorMemo memo;
  double expected = hw(100, 2.067, 140, 50);
  EXPECT_NEAR(HazenWilliamsLoss(p, 1, 0, 50.0f, sums, nullptr, &memo), expected, expected * 2e-3);
  EXPECT_NEAR(HazenWilliamsLoss(p, 1, 0, 50.0f, sums, nullptr, &memo), expected, expected * 2e-3);
  p.pipe[1]->Length = 200 * 12.0f;
  expected = hw(200, 2.067, 140, 50);
  EXPECT_NEAR(HazenWilliamsLoss(p, 1, 0, 50.0f, sums, nullptr, &memo), expected, expected * 2e-3);
  p.pipe[1]->InsideDia = 3.068f;
  expected = hw(200, 3.068, 140, 50);
  EXPECT_NEAR(HazenWilliamsLoss(p, 1, 0, 50.0f, sums, nullptr, &memo), expected, expected * 2e-3);
  p.pipe[1]->Friction = 100;
  expected = hw(200, 3.068, 100, 50);
  EXPECT_NEAR(HazenWilliamsLoss(p, 1, 0, 50.0f, sums, nullptr, &memo), expected, expected * 2e-3);
  p.pipe[1]->Friction = 0.012f;  // the same memo under Manning
  expected = manning(200, 3.068, 0.012, 50);
  EXPECT_NEAR(ManningLoss(p, 1, 0, 50.0f, sums, nullptr, &memo), expected, expected * 5e-3);
}

TEST_F(HeadLossTest, DarcyWeisbachTurbulentAgreesWithColebrook) {
  p.liquid.LiqKVis = 1.0;  // water near 68 °F
  struct Case { double gpm, dIn, eps; };
  for (Case c : {Case{200, 4.026, 0.00015}, Case{15, 1.049, 0.0005}, Case{3000, 11.938, 0.0}}) {
    pipe(1, 250, c.dIn, c.eps);
    const double Re = reynolds(c.gpm, c.dIn, 1.0);
    ASSERT_GT(Re, 4000);
    const float h = DarcyWeisbachLoss(p, 1, 0, static_cast<float>(c.gpm), sums);
    const double expected = darcyHead(c.gpm, c.dIn, 250, c.eps, 1.0);
    EXPECT_NEAR(h, expected, expected * 1e-3) << c.gpm << " gpm in " << c.dIn << " in";
    // The friction factor behind it: h over the loss per unit f (with the code's 0.8108 ≈ 8/π²).
    const double D = c.dIn / 12.0, q = cfs(c.gpm);
    const double fFound = h / (0.8108 * 250 * q * q / (std::pow(D, 5) * g));
    EXPECT_NEAR(fFound, colebrookF(c.eps, D, Re), colebrookF(c.eps, D, Re) * 1e-4);
  }
}

TEST_F(HeadLossTest, DarcyWeisbachLaminarIsHagenPoiseuilleAndSwitchesAtReynolds2000) {
  // Oil of 200 cSt in a 1 in pipe.
  p.liquid.LiqKVis = 200.0;
  pipe(1, 100, 1.0, 0.00015);
  const double gpmAt2000 = 2000.0 * (200.0 / 92903.04) * kPi * (1.0 / 12.0) / 4.0 * 448.831;
  const float below = static_cast<float>(gpmAt2000 * 0.999), above = static_cast<float>(gpmAt2000 * 1.001);
  // Laminar: h = 32 ν L V / (g D²).
  const double nu = 200.0 / 92903.04, D = 1.0 / 12.0;
  const double hLam = 32 * nu * 100 * velocity(below, 1.0) / (g * D * D);
  EXPECT_NEAR(DarcyWeisbachLoss(p, 1, 0, below, sums), hLam, hLam * 1e-3);
  // Just above 2000 the turbulent friction factor, far above 64/Re.
  const double hTurb = darcyHead(above, 1.0, 100, 0.00015, 200.0);
  EXPECT_NEAR(DarcyWeisbachLoss(p, 1, 0, above, sums), hTurb, hTurb * 2e-3);
  EXPECT_GT(hTurb, 1.3 * hLam);
}

// ---------------------------------------------------------------- the loop sums

TEST_F(HeadLossTest, PipeSumsAreSignedByFlowAndWeightAndZeroFlowAddsNothing) {
  p.liquid.LiqKVis = 1.0;
  pipe(1, 300, 3.068, 0);
  struct Eq { const char* name; double exponent; double friction; float (*fn)(Project&, int, int, float, LoopSums&, unsigned*); };
  for (Eq e : {Eq{"HW", 1.85, 120.0, HazenWilliamsLoss}, Eq{"DW", 2.0, 0.00015, DarcyWeisbachLoss},
               Eq{"Manning", 2.0, 0.013, ManningLoss}}) {
    SCOPED_TRACE(e.name);
    p.pipe[1]->Friction = e.friction;
    sums.clear();
    EXPECT_EQ(e.fn(p, 1, 1, 0.0f, sums, nullptr), 0.0f);
    EXPECT_EQ(sums.LoopHeadSum, 0.0);
    EXPECT_EQ(sums.LoopSlopeSum, 0.0);

    const float h = e.fn(p, 1, 1, 150.0f, sums, nullptr);
    ASSERT_GT(h, 0.0f);
    // Σ = w·sign(q)·h and slope = exponent·h/|q|.
    EXPECT_NEAR(sums.LoopHeadSum, h, h * 1e-6);
    EXPECT_NEAR(sums.LoopSlopeSum, e.exponent * h / cfs(150), e.exponent * h / cfs(150) * 1e-6);

    sums.clear();
    const float hBack = e.fn(p, 1, 1, -150.0f, sums, nullptr);
    EXPECT_FLOAT_EQ(hBack, h);
    EXPECT_NEAR(sums.LoopHeadSum, -h, h * 1e-6);
    sums.clear();
    e.fn(p, 1, -1, -150.0f, sums, nullptr);
    EXPECT_NEAR(sums.LoopHeadSum, h, h * 1e-6);
    EXPECT_GT(sums.LoopSlopeSum, 0.0);
    sums.clear();
    e.fn(p, 1, 0, 150.0f, sums, nullptr);
    EXPECT_EQ(sums.LoopHeadSum, 0.0);
    EXPECT_EQ(sums.LoopSlopeSum, 0.0);
  }
}

// ---------------------------------------------------------------- K losses

TEST_F(HeadLossTest, KValueLossIsKTimesVelocityHead) {
  valfit(1, 12, 0.75f, 2.067f);
  const double V = velocity(50, 2.067);
  const double expected = 0.75 * V * V / (2 * g);
  EXPECT_NEAR(KValueLoss(p, 1, 0, 50.0f, sums), expected, expected * 1e-4);
  EXPECT_NEAR(KValueLoss(p, 1, 0, -50.0f, sums), expected, expected * 1e-4);

  sums.clear();
  const double h = KValueLoss(p, 1, -1, 50.0f, sums);
  EXPECT_NEAR(sums.LoopHeadSum, -h, h * 1e-9);
  EXPECT_NEAR(sums.LoopSlopeSum, 2 * h / cfs(50), 1e-9 * h / cfs(50));
  sums.clear();
  KValueLoss(p, 1, 1, -50.0f, sums);
  EXPECT_NEAR(sums.LoopHeadSum, -h, h * 1e-9);

  // K = 0: no loss, and the sums get zero.
  p.valfit[1]->Coef = 0;
  sums.clear();
  EXPECT_EQ(KValueLoss(p, 1, 1, 50.0f, sums), 0.0);
  EXPECT_EQ(sums.LoopHeadSum, 0.0);
  EXPECT_EQ(sums.LoopSlopeSum, 0.0);
}

TEST_F(HeadLossTest, OrificeEquationWithApproachFactorFromBetaPointThree) {
  // Q = C A E sqrt(2 g h): h = (q / (C A E))² / 2g. The velocity-of-approach factor E is taken
  // only from β = 0.3 up.
  struct Case { float pipeDia; bool withE; };
  for (Case c : {Case{4.0f, false}, Case{3.0f, true}}) {
    valfit(1, kKindNozzle, 0.62f, 1.0f, c.pipeDia);
    const double beta = 1.0 / c.pipeDia;
    const double E = c.withE ? 1.0 / std::sqrt(1 - std::pow(beta, 4)) : 1.0;
    const double v = cfs(40) / (0.62 * areaFt2(1.0) * E);
    const double expected = v * v / (2 * g);
    EXPECT_NEAR(KValueLoss(p, 1, 0, 40.0f, sums), expected, expected * 1e-3) << "pipe " << c.pipeDia;
  }
  // Bore not smaller than the pipe, or no pipe diameter: no loss.
  valfit(1, kKindNozzle, 0.62f, 3.0f, 3.0f);
  EXPECT_EQ(KValueLoss(p, 1, 1, 40.0f, sums), 0.0);
  valfit(1, kKindNozzle, 0.62f, 1.0f, 0.0f);
  sums.clear();
  EXPECT_EQ(KValueLoss(p, 1, 1, 40.0f, sums), 0.0);
  EXPECT_EQ(sums.LoopSlopeSum, 0.0);
}

// ---------------------------------------------------------------- equivalent lengths

TEST(EquivalentLengthTable, RowIsTheFirstLargerSinglePrecisionDiameter) {
  struct Case { double dIn; int row; float fT; };
  for (Case c : {Case{0.3, 0, 0.027f}, Case{0.622, 1, 0.025f}, Case{1.049, 3, 0.022f}, Case{2.0, 5, 0.019f},
                 Case{2.067, 5, 0.019f}, Case{12.0, 14, 0.013f}, Case{46.0, 22, 0.010f}, Case{60.0, 22, 0.010f}}) {
    const double d = std::max(c.dIn / 12.0, kMinEqLenDia);
    EXPECT_EQ(eqLenRow(d), c.row) << c.dIn << " in";
    EXPECT_EQ(TurbulentFrictionFactors[eqLenRow(d)], c.fT);
  }
  // The clamped 0.0518 ft lies just below the table's single-precision 0.0518.
  EXPECT_EQ(eqLenRow(kMinEqLenDia), 0);
}

TEST_F(HeadLossTest, FittingUnderEquivalentLengthsIsPipeOfLengthKdOverFt) {
  p.sys.HeadCalc = 2;
  p.sys.EqLen = true;
  p.liquid.LiqKVis = 1.0;
  struct Case { float dIn; float fT; };
  for (Case c : {Case{2.067f, 0.019f}, Case{1.049f, 0.022f}, Case{0.3f, 0.027f}}) {
    valfit(1, 12, 0.8f, c.dIn, 0, 0, kValve);
    const double d = std::max(c.dIn / 12.0, 0.0518);
    const double L = 0.8 * d / c.fT;
    const LossResult r = ElementHeadLoss(p, 1, 0, 30.0f, sums);
    EXPECT_TRUE(r.hasLoss);
    EXPECT_NEAR(p.valfit[1]->EqLength, L * 12.0, L * 12.0 * 1e-5) << c.dIn;
    const double expected = darcyHead(30, d * 12.0, L, 0.00015, 1.0);
    EXPECT_NEAR(r.loss, expected, expected * 1e-3) << c.dIn;
  }
  // A nozzle stays with the orifice equation and gets no equivalent length.
  valfit(2, kKindNozzle, 0.6f, 1.0f, 4.0f);
  const LossResult r = ElementHeadLoss(p, 2, 0, 30.0f, sums);
  EXPECT_EQ(p.valfit[2]->EqLength, 0.0f);
  EXPECT_DOUBLE_EQ(r.loss, KValueLoss(p, 2, 0, 30.0f, sums));
  // K = 0 under equivalent lengths: no loss.
  valfit(3, 12, 0.0f, 2.0f);
  EXPECT_EQ(ElementHeadLoss(p, 3, 1, 30.0f, sums).loss, 0.0);
}

TEST_F(HeadLossTest, EquivalentLengthWithoutADiameterIsRefusedNotTakenAsTheSmallestSize) {
  // Only a real size below the smallest row is raised to it; a zero, negative or blank diameter
  // with a K is no size at all and must be reported as under the K method, not turned into a
  // 0.62 in pipe: K = 0.5 at 100 gpm there would be a phantom loss of about 90 ft.
  p.sys.HeadCalc = 2;
  p.sys.EqLen = true;
  p.liquid.LiqKVis = 1.0;
  for (float dIn : {0.0f, -2.0f, -19999.0f}) {
    SCOPED_TRACE(dIn);
    valfit(1, 12, 0.5f, dIn, 0, 0, kValve);
    supply(2, 0, 1, 0.5f, dIn);
    for (int n : {1, 2}) {
      sums.clear();
      const LossResult r = ElementHeadLoss(p, n, 1, 100.0f, sums);
      EXPECT_EQ(r.loss, 0.0) << n;
      EXPECT_TRUE(r.issues & kLossBadDiameter) << n;
      EXPECT_EQ(sums.LoopHeadSum, 0.0) << n;
      EXPECT_EQ(sums.LoopSlopeSum, 0.0) << n;
      // The K method says the same of the same element.
      unsigned kIssues = 0;
      EXPECT_EQ(KValueLoss(p, n, 1, 100.0f, sums, &kIssues), 0.0) << n;
      EXPECT_TRUE(kIssues & kLossBadDiameter) << n;
    }
    EXPECT_EQ(p.valfit[1]->EqLength, 0.0f);
  }
}

// ---------------------------------------------------------------- enlargement / contraction

TEST_F(HeadLossTest, EnlargeContractKFromNeighbourDiameters) {
  pipe(1, 10, 2.0, 140);
  pipe(3, 10, 4.0, 140);
  const double s15 = std::sin(15.0 * kPi / 180.0), s30 = std::sin(30.0 * kPi / 180.0);
  struct Case { float angle; int before, after; float flow; bool followFlow; double K; };
  const Case cases[] = {
      {30, 1, 3, 10, false, 2.6 * s15 * 0.75 * 0.75},  // 2 -> 4 in: enlargement, β = 0.5
      {30, 3, 1, 10, false, 0.8 * s15 * 0.75},         // 4 -> 2 in: contraction
      {30, 1, 3, -10, true, 0.8 * s15 * 0.75},         // iterative, reversed flow: contraction
      {30, 1, 3, -10, false, 2.6 * s15 * 0.75 * 0.75}, // forced flow: drawn order only
      {60, 1, 3, 10, false, 0.75 * 0.75},              // wide angle enlargement: (1-β²)²
      {60, 3, 1, 10, false, 0.5 * std::sqrt(s30) * 0.75},
  };
  for (const Case& c : cases) {
    valfit(2, kKindEnlargeContract, 0, 0, c.angle, c.flow);
    EXPECT_EQ(EnlargeContractK(p, 2, c.before, c.after, c.followFlow), kLossOk);
    EXPECT_NEAR(p.valfit[2]->Coef, c.K, 1e-6) << c.angle << " " << c.before << " " << c.flow;
    EXPECT_EQ(p.valfit[2]->Dia, 2.0f);
  }
  // Position form over a sequence, and the loss is K·V²/2g at the smaller diameter.
  const std::vector<int16_t> seq = {-1, 1, 2, 3, -1};
  valfit(2, kKindEnlargeContract, 0, 0, 30, 100);
  EXPECT_EQ(EnlargeContractK(p, seq, 2, true), kLossOk);
  const double V = velocity(100, 2.0);
  const double expected = 2.6 * s15 * 0.5625 * V * V / (2 * g);
  Neighbours around{1, 3, true};
  EXPECT_NEAR(ElementHeadLoss(p, 2, 0, 100.0f, sums, &around).loss, expected, expected * 1e-4);
}

TEST_F(HeadLossTest, EnlargeContractWithoutPipeNeighboursTakesHalfAndOneInch) {
  p.createElement(1, kGauge);
  valfit(2, kKindEnlargeContract, 0, 0, 30, 10);
  // Nothing usable on either side: d1 = 0.5, d2 = 1.0, enlargement β = 0.5, diameter 0.5.
  const unsigned issues = EnlargeContractK(p, 2, 1, 0, false);
  EXPECT_TRUE(issues & kLossNoDiameterBefore);
  EXPECT_TRUE(issues & kLossNoDiameterAfter);
  EXPECT_NEAR(p.valfit[2]->Coef, 2.6 * std::sin(15.0 * kPi / 180.0) * 0.5625, 1e-6);
  EXPECT_EQ(p.valfit[2]->Dia, 0.5f);
  // A neighbour pipe of zero diameter: no ratio, K = 0, no loss.
  pipe(3, 10, 0.0, 140);
  EXPECT_TRUE(EnlargeContractK(p, 2, 3, 0, false) & kLossBadDiameter);
  EXPECT_EQ(p.valfit[2]->Coef, 0.0f);
  EXPECT_EQ(KValueLoss(p, 2, 1, 10.0f, sums), 0.0);
}

// ---------------------------------------------------------------- supplies and dispatch

TEST_F(HeadLossTest, SupplyInletExitLossOnlyForTanksWithAnInletType) {
  struct Case { int16_t type, inlet; float k; bool hasLoss; };
  const double V = velocity(100, 3.068);
  for (Case c : {Case{0, 1, 0.5f, true}, Case{1, 3, 1.0f, true}, Case{2, 1, 0.5f, false}, Case{3, 1, 0.5f, false},
                 Case{0, 0, 0.5f, false}, Case{0, 1, 0.0f, false}}) {
    supply(1, c.type, c.inlet, c.k, 3.068f);
    const LossResult r = ElementHeadLoss(p, 1, 0, 100.0f, sums);
    EXPECT_EQ(r.hasLoss, c.hasLoss) << c.type << "/" << c.inlet;
    EXPECT_NEAR(r.loss, c.hasLoss ? c.k * V * V / (2 * g) : 0.0, 1e-4 * c.k * V * V / (2 * g));
  }
}

TEST_F(HeadLossTest, SharedSupplyHasNoInletLossAndItsKReadsZero) {
  for (bool eqLen : {false, true}) {
    p.sys.HeadCalc = eqLen ? 2 : 1;
    p.sys.EqLen = eqLen;
    p.liquid.LiqKVis = 1.0;
    supply(1, 0, 1, 0.5f, 3.068f);
    p.node[1]->LineMembership[0] = u'1';
    sums.clear();
    const LossResult r = ElementHeadLoss(p, 1, 1, 100.0f, sums);
    EXPECT_EQ(r.loss, 0.0);
    EXPECT_EQ(p.node[1]->InletK, 0.0f);
    EXPECT_EQ(sums.LoopHeadSum, 0.0);
  }
  // Not shared, under equivalent lengths: a pipe of length K·d/fT with the inlet's size; nothing stored.
  supply(2, 0, 1, 0.5f, 3.068f);
  const double d = 3.068 / 12.0, L = 0.5 * d / 0.018;
  const double expected = darcyHead(100, 3.068, L, 0.00015, 1.0);
  EXPECT_NEAR(ElementHeadLoss(p, 2, 0, 100.0f, sums).loss, expected, expected * 1e-3);
}

TEST_F(HeadLossTest, DispatchByKind) {
  // Fixed head loss: the stated loss whatever the flow, nothing to the sums.
  valfit(1, kKindFixedLoss, 0, 0, 7.5f);
  for (float Q : {0.0f, 10.0f, -300.0f}) EXPECT_EQ(ElementHeadLoss(p, 1, 1, Q, sums).loss, 7.5);
  EXPECT_EQ(sums.LoopHeadSum, 0.0);
  // Gauge and pump: no loss of their own.
  p.createElement(2, kGauge);
  p.createElement(3, kPump);
  EXPECT_FALSE(ElementHeadLoss(p, 2, 1, 10.0f, sums).hasLoss);
  EXPECT_FALSE(ElementHeadLoss(p, 3, 1, 10.0f, sums).hasLoss);
  // FVH: its law at |Q|, 2 ft at 100 gpm and 8 ft at 200 gpm is h = 2 (Q/100)².
  p.createElement(4, kFVH);
  FVH& f = *p.fvh[4];
  f.FlowIncr = 100;
  f.HeadLoss1 = 2;
  f.HeadLoss2 = 8;
  ASSERT_TRUE(FitFvhCurve(f));
  EXPECT_NEAR(ElementHeadLoss(p, 4, 1, -150.0f, sums).loss, 2 * 1.5 * 1.5, 1e-4);
  // Pipes follow the equation.
  p.liquid.LiqKVis = 1.0;
  pipe(5, 100, 2.067, 0.00015);
  p.sys.HeadCalc = 2;
  EXPECT_NEAR(ElementHeadLoss(p, 5, 0, 50.0f, sums).loss, darcyHead(50, 2.067, 100, 0.00015, 1.0), 0.01);
  p.sys.HeadCalc = 7;
  const LossResult bad = ElementHeadLoss(p, 5, 0, 50.0f, sums);
  EXPECT_FALSE(bad.hasLoss);
  EXPECT_TRUE(bad.issues & kLossBadEquation);
}

// ---------------------------------------------------------------- unusable input stays finite

TEST_F(HeadLossTest, UnusableInputGivesZeroLossAFlagAndUntouchedSums) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case { const char* what; int16_t equation; double dIn, friction, lengthFt, viscosity; unsigned flag; };
  const Case cases[] = {
      {"HW zero diameter", 1, 0.0, 140, 100, 1, kLossBadDiameter},
      {"HW zero C", 1, 2.0, 0.0, 100, 1, kLossBadFriction},
      {"HW negative length", 1, 2.0, 140, -5, 1, kLossBadLength},
      {"HW NaN length", 1, 2.0, 140, nan, 1, kLossBadLength},
      {"Manning zero n", 3, 2.0, 0.0, 100, 1, kLossBadFriction},
      {"Manning zero diameter", 3, 0.0, 0.012, 100, 1, kLossBadDiameter},
      {"DW zero diameter", 2, 0.0, 0.00015, 100, 1, kLossBadDiameter},
      {"DW zero viscosity", 2, 2.0, 0.00015, 100, 0, kLossBadViscosity},
      {"DW blank viscosity", 2, 2.0, 0.00015, 100, -19999, kLossBadViscosity},
      {"DW negative roughness", 2, 2.0, -1.0, 100, 1, kLossBadFriction},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    p.sys.HeadCalc = c.equation;
    p.liquid.LiqKVis = c.viscosity;
    pipe(1, c.lengthFt, c.dIn, c.friction);
    sums.clear();
    const LossResult r = ElementHeadLoss(p, 1, 1, 50.0f, sums);
    EXPECT_TRUE(r.hasLoss);
    EXPECT_EQ(r.loss, 0.0);
    EXPECT_TRUE(r.issues & c.flag) << r.issues;
    EXPECT_EQ(sums.LoopHeadSum, 0.0);
    EXPECT_EQ(sums.LoopSlopeSum, 0.0);
  }
  // Fittings: zero diameter with a K, an orifice with C = 0, a NaN flow.
  p.sys.HeadCalc = 1;
  valfit(2, 12, 0.5f, 0.0f);
  EXPECT_TRUE(ElementHeadLoss(p, 2, 1, 50.0f, sums).issues & kLossBadDiameter);
  valfit(3, kKindNozzle, 0.0f, 1.0f, 4.0f);
  EXPECT_TRUE(ElementHeadLoss(p, 3, 1, 50.0f, sums).issues & kLossBadCoefficient);
  EXPECT_TRUE(ElementHeadLoss(p, 2, 1, nan, sums).issues & kLossBadFlow);
  EXPECT_EQ(sums.LoopHeadSum, 0.0);
}

TEST_F(HeadLossTest, LossBeyondSinglePrecisionIsClampedAndFinite) {
  pipe(1, 1000, 1e-6, 140);  // a hair of a pipe
  unsigned issues = 0;
  const float h = HazenWilliamsLoss(p, 1, 1, 1000.0f, sums, &issues);
  EXPECT_TRUE(std::isfinite(h));
  EXPECT_EQ(h, static_cast<float>(kMaxLoss));
  EXPECT_TRUE(issues & kLossOverflow);
  EXPECT_TRUE(std::isfinite(sums.LoopHeadSum));
  EXPECT_TRUE(std::isfinite(sums.LoopSlopeSum));
  EXPECT_GT(sums.LoopHeadSum, 0.0);
}

// ---------------------------------------------------------------- no allocation in the iteration

TEST_F(HeadLossTest, RoutinesOfTheIterationAllocateNothing) {
  p.liquid.LiqKVis = 1.0;
  pipe(1, 100, 2.067, 140, 50);
  valfit(2, kKindEnlargeContract, 0, 0, 30, 50);
  pipe(3, 100, 4.026, 0.00015, 50);
  valfit(4, 12, 0.8f, 2.067f, 0, 50);
  supply(5, 0, 1, 0.5f, 3.068f, 50);
  p.createElement(6, kPump);
  *p.pump[6] = newPump();
  p.pump[6]->CurveDefined = 1;
  p.pump[6]->FlowIncr = 100;
  p.pump[6]->ShutoffHead = 100;
  p.pump[6]->Head1 = 95;
  p.pump[6]->Head2 = 85;
  p.pump[6]->Head3 = 70;
  p.pump[6]->NPSHR1 = 5;
  p.pump[6]->NPSHR2 = 7;
  p.pump[6]->NPSHR3 = 11;
  ASSERT_TRUE(FitPumpCurve(*p.pump[6]));
  p.createElement(7, kFVH);
  p.fvh[7]->FlowIncr = 100;
  p.fvh[7]->HeadLoss1 = 2;
  p.fvh[7]->HeadLoss2 = 8;
  ASSERT_TRUE(FitFvhCurve(*p.fvh[7]));
  const Neighbours around{1, 3, true};

  const long before = gAllocations.load();
  double total = 0;
  for (int16_t eq : {1, 2, 3}) {
    p.sys.HeadCalc = eq;
    for (bool eqLen : {false, true}) {
      p.sys.EqLen = eqLen;
      for (float Q : {50.0f, -50.0f, 5000.0f}) {
        for (int n : {1, 3, 4, 5, 7}) total += ElementHeadLoss(p, n, 1, Q, sums).loss;
        total += ElementHeadLoss(p, 2, -1, Q, sums, &around).loss;
        total += PumpOperatingHead(*p.pump[6], std::fabs(Q)).head + PumpNpshr(*p.pump[6], std::fabs(Q));
        total += FvhSlope(*p.fvh[7], Q) + PumpHead(*p.pump[6], Q);
      }
    }
  }
  EXPECT_EQ(gAllocations.load() - before, 0);
  EXPECT_TRUE(std::isfinite(total));
}

// ---------------------------------------------------------------- get_hl

TEST_F(HeadLossTest, GetHlSumsTheRouteAtHalfTheSolvedFlows) {
  ScriptedPrompter prompter;
  p.setPrompter(&prompter);
  pipe(1, 100, 2.067, 140, 100);                       // pipe at 50 gpm
  valfit(2, 12, 0.75f, 2.067f, 0, 100, kValve);        // K valve at 50 gpm
  valfit(3, kKindPrv, 2.0f, 2.067f, 50, 100, kValve);  // PRV: half its K loss at 50 gpm
  valfit(4, kKindFixedLoss, 0, 0, 8.0f, 100);          // a quarter of its stated loss
  p.createElement(5, kFVH);                            // 2 ft at 100, 8 ft at 200: 0.5 ft at 50 gpm
  p.fvh[5]->FlowIncr = 100;
  p.fvh[5]->HeadLoss1 = 2;
  p.fvh[5]->HeadLoss2 = 8;
  p.fvh[5]->Flow = 100;
  ASSERT_TRUE(FitFvhCurve(*p.fvh[5]));
  p.createElement(6, kGauge);
  p.createElement(7, kPump);
  p.pump[7]->Flow = 100;
  p.pump[7]->Head = 50;
  pipe(8, 100, 2.067, 140, 100);  // not placed: skipped
  for (int n : {1, 2, 3, 4, 5, 6, 7}) p.elemspot[n] = static_cast<int16_t>(n);
  const std::vector<int16_t> route = {1, 2, 6, 3, 7, 4, 5, 8, -1, 1};

  const double V = velocity(50, 2.067);
  const double hw = 10.44 * 100 * std::pow(50.0, 1.85) / (std::pow(140.0, 1.85) * std::pow(2.067, 4.8655));
  const double expected = hw + 0.75 * V * V / (2 * g) + 0.5 * 2.0 * V * V / (2 * g) + 0.25 * 8.0 + 0.5;
  EXPECT_NEAR(get_hl(p, route), expected, expected * 2e-3);
  EXPECT_TRUE(prompter.shown.empty());

  // Under equivalent lengths the K valve becomes pipe of length K·d/fT (2.067 in: fT 0.019), while
  // the PRV keeps half its K loss.
  p.sys.HeadCalc = 2;
  p.sys.EqLen = true;
  p.liquid.LiqKVis = 1.0;
  const double L = 0.75 * (2.067 / 12.0) / 0.019;
  const double eqLenExpected = darcyHead(50, 2.067, L, 0.00015, 1.0) + 0.5 * 2.0 * V * V / (2 * g);
  const std::vector<int16_t> valves = {2, 3, -1};
  EXPECT_NEAR(get_hl(p, valves), eqLenExpected, eqLenExpected * 1e-3);
  p.sys.HeadCalc = 1;
  p.sys.EqLen = false;

  // A nozzle without pipe diameter makes the whole result 0.
  valfit(9, kKindNozzle, 0.6f, 1.0f, 0.0f, 100);
  p.elemspot[9] = 9;
  const std::vector<int16_t> withNozzle = {1, 2, 9, 4, -1};
  EXPECT_EQ(get_hl(p, withNozzle), 0.0f);

  // A bad equation: the error box for every pipe, the rest still summed.
  p.sys.HeadCalc = 0;
  const std::vector<int16_t> twoPipes = {1, 4, 1, -1};
  EXPECT_NEAR(get_hl(p, twoPipes), 2.0, 1e-6);
  ASSERT_EQ(prompter.shown.size(), 2u);
  EXPECT_EQ(prompter.shown[0].text, "Wrong head calc equation!");
  EXPECT_EQ(prompter.shown[0].kind, MsgKind::Error);
  p.setPrompter(nullptr);
}

}  // namespace
}  // namespace vt
