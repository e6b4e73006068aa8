#include "solver/head_loss.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "solver/curves.h"
#include "solver/equivalent_length.h"

namespace vt {

namespace {

constexpr double kGravity = 32.174;
constexpr double kFittingRoughness = 0.00015;  // ft, commercial steel

void raise(unsigned* issues, unsigned bit) {
  if (issues) *issues |= bit;
}

bool finite(double v) { return std::isfinite(v); }

bool isFittingOrValve(const Project& p, int n) {
  return p.ElemType[n] == kFitting || p.ElemType[n] == kValve;
}

bool inRange(int n) { return n >= 1 && n <= kMaxElem; }

bool sharedSupply(const Node& s) { return s.LineMembership[0] != 0; }

// h = R |q|^e with the Newton terms |q|^(e-1) R q w and |q|^(e-1) R e. A loss that does not fit a
// single field is clamped; its sums then use the same clamped h (h·sign(q)·w and e·h/|q|), so the
// correction still points the right way.
double powerLaw(double R, double q, double e, int w, LoopSums& sums, unsigned* issues) {
  const double aq = std::fabs(q);
  const double a = R * std::pow(aq, e - 1.0);  // R |q|^(e-1), shared by h and both sums
  double h = a * aq;
  if (!finite(R) || !finite(h) || h > kMaxLoss) {
    raise(issues, kLossOverflow);
    h = kMaxLoss;
    if (w != 0) {
      sums.LoopHeadSum += (q < 0 ? -h : h) * w;
      sums.LoopSlopeSum += e * h / aq;
    }
    return h;
  }
  if (w != 0) {
    sums.LoopHeadSum += a * q * w;
    sums.LoopSlopeSum += a * e;
  }
  return h;
}

// Pipe length and diameter in feet, checked; false (with the issue raised) when unusable.
bool pipeGeometry(const Pipe& pp, double& L, double& D, unsigned* issues) {
  L = pp.Length / 12.0;
  D = pp.InsideDia / 12.0;
  if (!(D > 0.0) || !finite(D)) {
    raise(issues, kLossBadDiameter);
    return false;
  }
  if (!(L >= 0.0) || !finite(L)) {
    raise(issues, kLossBadLength);
    return false;
  }
  return true;
}

// R from the memo when it was formed from the same inputs, else by `form` (stored in the memo).
template <class Form>
double memoFactor(PipeFactorMemo* memo, const Pipe& pp, int16_t equation, Form form) {
  if (!memo) return form();
  if (memo->equation != equation || memo->length != pp.Length || memo->dia != pp.InsideDia ||
      memo->friction != pp.Friction) {
    *memo = {pp.Length, pp.InsideDia, pp.Friction, equation, form()};
  }
  return memo->R;
}

// Colebrook for x = 1/sqrt(f): three Newton steps from f = 0.02, as the loop budget allows.
double colebrook(double eps, double D, double Re) {
  double x = 1.0 / std::sqrt(0.02);
  for (int i = 0; i < 3; ++i) {
    const double t = eps / (3.7 * D) + 2.51 * x / Re;
    const double F = x + 0.8686 * std::log(t);
    const double dF = 1.0 + 0.8686 * (2.51 / Re) / t;
    x -= F / dF;
  }
  return 1.0 / (x * x);
}

}  // namespace

float HazenWilliamsLoss(Project& p, int n, int w, float Q, LoopSums& sums, unsigned* issues) {
  return HazenWilliamsLoss(p, n, w, Q, sums, issues, nullptr);
}

float HazenWilliamsLoss(Project& p, int n, int w, float Q, LoopSums& sums, unsigned* issues, PipeFactorMemo* memo) {
  if (Q == 0.0f || !inRange(n) || !p.pipe[n]) return 0.0f;
  if (!finite(Q)) return raise(issues, kLossBadFlow), 0.0f;
  const Pipe& pp = *p.pipe[n];
  double L, D;
  if (!pipeGeometry(pp, L, D, issues)) return 0.0f;
  const double C = pp.Friction;
  if (!(C > 0.0) || !finite(C)) return raise(issues, kLossBadFriction), 0.0f;
  const double q = Q / kGpmPerCfs;
  const double R = memoFactor(memo, pp, 1, [&] { return 4.727 * L / (std::pow(D, 4.8655) * std::pow(C, 1.85)); });
  return static_cast<float>(powerLaw(R, q, 1.85, w, sums, issues));
}

float ManningLoss(Project& p, int n, int w, float Q, LoopSums& sums, unsigned* issues) {
  return ManningLoss(p, n, w, Q, sums, issues, nullptr);
}

float ManningLoss(Project& p, int n, int w, float Q, LoopSums& sums, unsigned* issues, PipeFactorMemo* memo) {
  if (Q == 0.0f || !inRange(n) || !p.pipe[n]) return 0.0f;
  if (!finite(Q)) return raise(issues, kLossBadFlow), 0.0f;
  const Pipe& pp = *p.pipe[n];
  double L, D;
  if (!pipeGeometry(pp, L, D, issues)) return 0.0f;
  const double nn = pp.Friction;
  if (!(nn > 0.0) || !finite(nn)) return raise(issues, kLossBadFriction), 0.0f;
  const double q = Q / kGpmPerCfs;
  const double R = memoFactor(memo, pp, 3, [&] { return 4.66 * nn * nn * L / std::pow(D, 5.33); });
  return static_cast<float>(powerLaw(R, q, 2.0, w, sums, issues));
}

float DarcyWeisbachLoss(Project& p, int n, int w, float Q, LoopSums& sums, unsigned* issues) {
  if (Q == 0.0f || !inRange(n)) return 0.0f;
  if (!finite(Q)) return raise(issues, kLossBadFlow), 0.0f;
  const double q = Q / kGpmPerCfs;
  double eps, L, D;
  const int type = p.ElemType[n];
  if (type == kPipe && p.pipe[n]) {
    const Pipe& pp = *p.pipe[n];
    if (!pipeGeometry(pp, L, D, issues)) return 0.0f;
    eps = pp.Friction;
    if (!(eps >= 0.0) || !finite(eps)) return raise(issues, kLossBadFriction), 0.0f;
  } else {
    // A fitting, valve or tank inlet/exit as a length of pipe of its own size.
    double k, dIn;
    if (isFittingOrValve(p, n) && p.valfit[n]) {
      k = p.valfit[n]->Coef;
      dIn = p.valfit[n]->Dia;
    } else if (type == kSupply && p.node[n]) {
      Node& s = *p.node[n];
      if (sharedSupply(s) || s.InletK == 0.0f) {
        s.InletK = 0.0f;
        return 0.0f;
      }
      k = s.InletK;
      dIn = s.InletDia;
    } else {
      return 0.0f;
    }
    if (k == 0.0) return 0.0f;
    if (!(k > 0.0) || !finite(k)) return raise(issues, kLossBadCoefficient), 0.0f;
    double d = dIn / 12.0;
    // Only a real size below the smallest row is raised to it; a zero, negative or blank diameter
    // is no size at all, and raising it would invent the loss of a 0.62 in pipe.
    if (!(d > 0.0) || !finite(d)) return raise(issues, kLossBadDiameter), 0.0f;
    if (d < kMinEqLenDia) d = kMinEqLenDia;
    eps = kFittingRoughness;
    L = equivalentLengthFt(k, d);
    D = d;
    if (!(L * 12.0 <= kMaxLoss)) return raise(issues, kLossBadCoefficient), 0.0f;  // K beyond reason
    if (type != kSupply) p.valfit[n]->EqLength = static_cast<float>(L * 12.0);
  }
  if (std::fabs(q) <= 1e-20) return 0.0f;
  const double nu = p.liquid.LiqKVis / kCstPerFt2s;
  if (!(nu > 0.0) || !finite(nu)) return raise(issues, kLossBadViscosity), 0.0f;

  const double Re = 4.0 * std::fabs(q) / (std::numbers::pi * D * nu);
  const double f = Re > 2000.0 ? colebrook(eps, D, Re) : 64.0 / Re;
  if (!finite(f) || !(f > 0.0)) return raise(issues, kLossBadFriction), 0.0f;
  const double R = 0.8108 * f * L / (D * D * D * D * D * kGravity);
  return static_cast<float>(powerLaw(R, q, 2.0, w, sums, issues));
}

double KValueLoss(Project& p, int n, int w, float Q, LoopSums& sums, unsigned* issues) {
  if (Q == 0.0f || !inRange(n)) return 0.0;
  if (!finite(Q)) return raise(issues, kLossBadFlow), 0.0;
  double k, d;
  bool nozzle = false;
  double pipeDia = 0.0;
  if (p.ElemType[n] == kSupply && p.node[n]) {
    Node& s = *p.node[n];
    if (sharedSupply(s)) {
      s.InletK = 0.0f;
      return 0.0;
    }
    k = s.InletK;
    d = s.InletDia;
  } else if (isFittingOrValve(p, n) && p.valfit[n]) {
    const Valfit& v = *p.valfit[n];
    k = v.Coef;
    d = v.Dia;
    nozzle = v.Code == kKindNozzle;
    pipeDia = v.Parm;
  } else {
    return 0.0;
  }

  double h = 0.0;
  if (nozzle) {
    if (!(pipeDia > 0.0) || !finite(pipeDia)) return 0.0;
    if (!(d > 0.0) || !finite(d)) return raise(issues, kLossBadDiameter), 0.0;
    if (!(k > 0.0) || !finite(k)) return raise(issues, kLossBadCoefficient), 0.0;
    const double beta = d / pipeDia;
    if (beta < 1.0) {
      double flowArea = 19.636 * k * d * d;
      if (beta >= 0.3) flowArea *= std::sqrt(1.0 / (1.0 - std::pow(beta, 4.0)));
      const double y = Q / flowArea;
      h = y * y;
    }
  } else if (k != 0.0) {
    if (!(k > 0.0) || !finite(k)) return raise(issues, kLossBadCoefficient), 0.0;
    if (!(d > 0.0) || !finite(d)) return raise(issues, kLossBadDiameter), 0.0;
    const double V = 0.4085 * std::fabs(Q) / (d * d);
    h = k * V * V / kTwoG;
  }
  if (!finite(h) || h > kMaxLoss) {
    raise(issues, kLossOverflow);
    h = kMaxLoss;
  }
  if (w != 0) {
    const double s = w > 0 ? 1.0 : -1.0;
    const double aQ = std::fabs(static_cast<double>(Q));
    sums.LoopHeadSum += (aQ / Q) * h * s;
    sums.LoopSlopeSum += 2.0 * h / (aQ / kGpmPerCfs);
  }
  return h;
}

bool neighbourDiameter(const Project& p, int m, float& d) {
  if (!inRange(m)) return false;
  if (p.ElemType[m] == kPipe && p.pipe[m]) {
    d = p.pipe[m]->InsideDia;
    return true;
  }
  if (isFittingOrValve(p, m) && p.valfit[m]) {
    d = p.valfit[m]->Dia;
    return true;
  }
  return false;
}

unsigned EnlargeContractK(Project& p, int n, int before, int after, bool followFlow) {
  if (!inRange(n) || !isFittingOrValve(p, n) || !p.valfit[n]) return kLossOk;
  Valfit& v = *p.valfit[n];
  unsigned issues = kLossOk;
  float d1 = 0.5f, d2 = 1.0f;
  if (!neighbourDiameter(p, before, d1)) {
    d1 = 0.5f;
    issues |= kLossNoDiameterBefore;
  }
  if (!neighbourDiameter(p, after, d2)) {
    d2 = 1.0f;
    issues |= kLossNoDiameterAfter;
  }
  if (!(d1 > 0.0f) || !(d2 > 0.0f) || !finite(d1) || !finite(d2)) {
    // No ratio can be formed: no loss rather than a made-up one; the caller reports it.
    v.Coef = 0.0f;
    v.Dia = finite(d1) && finite(d2) ? std::min(d1, d2) : 0.0f;
    return issues | kLossBadDiameter;
  }
  double beta = static_cast<double>(d1) / d2;
  bool enlargement = true;
  if (beta > 1.0) {
    beta = 1.0 / beta;
    enlargement = false;
  }
  if (followFlow && v.Flow < 0.0f) enlargement = !enlargement;

  const double angle = v.Parm;
  const double s = std::sin(std::numbers::pi * angle / 360.0);
  const double area = 1.0 - beta * beta;
  double k;
  if (angle < 45.0)
    k = enlargement ? 2.6 * s * area * area : 0.8 * s * area;
  else
    k = enlargement ? area * area : 0.5 * std::sqrt(s) * area;
  if (!finite(k) || k < 0.0) {
    k = 0.0;
    issues |= kLossBadCoefficient;
  }
  v.Coef = static_cast<float>(k);
  v.Dia = std::min(d1, d2);
  return issues;
}

unsigned EnlargeContractK(Project& p, std::span<const int16_t> seq, int pos, bool followFlow) {
  if (pos < 0 || pos >= static_cast<int>(seq.size())) return kLossOk;
  const int before = pos - 1 >= 0 ? seq[pos - 1] : 0;
  const int after = pos + 1 < static_cast<int>(seq.size()) ? seq[pos + 1] : 0;
  return EnlargeContractK(p, seq[pos], before, after, followFlow);
}

namespace {

bool equivalentLengths(const Project& p) { return p.sys.HeadCalc == 2 && p.sys.EqLen; }

bool supplyHasInletLoss(const Node& s) {
  return s.InletK != 0.0f && (s.SupplyType == 0 || s.SupplyType == 1) && s.InletExitType != 0;
}

// A pipe by the project's equation; false for an equation code other than 1..3.
bool pipeLoss(Project& p, int n, int w, float Q, LoopSums& sums, unsigned* issues, double& loss,
              PipeFactorMemo* memo = nullptr) {
  switch (p.sys.HeadCalc) {
    case 1: loss = HazenWilliamsLoss(p, n, w, Q, sums, issues, memo); return true;
    case 2: loss = DarcyWeisbachLoss(p, n, w, Q, sums, issues); return true;
    case 3: loss = ManningLoss(p, n, w, Q, sums, issues, memo); return true;
    default: raise(issues, kLossBadEquation); return false;
  }
}

// A fitting's or valve's loss by K or, with equivalent lengths, as pipe (never a nozzle).
double valfitLoss(Project& p, int n, int w, float Q, LoopSums& sums, unsigned* issues) {
  if (equivalentLengths(p) && p.valfit[n]->Code != kKindNozzle)
    return DarcyWeisbachLoss(p, n, w, Q, sums, issues);
  return KValueLoss(p, n, w, Q, sums, issues);
}

double supplyLoss(Project& p, int n, int w, float Q, LoopSums& sums, unsigned* issues) {
  if (equivalentLengths(p)) return DarcyWeisbachLoss(p, n, w, Q, sums, issues);
  return KValueLoss(p, n, w, Q, sums, issues);
}

}  // namespace

LossResult ElementHeadLoss(Project& p, int n, int w, float Q, LoopSums& sums, const Neighbours* around,
                           PipeFactorMemo* memo) {
  LossResult r;
  if (!inRange(n)) return r;
  switch (p.ElemType[n]) {
    case kPipe:
      if (p.pipe[n]) r.hasLoss = pipeLoss(p, n, w, Q, sums, &r.issues, r.loss, memo);
      break;
    case kFitting:
    case kValve: {
      if (!p.valfit[n]) break;
      const Valfit& v = *p.valfit[n];
      r.hasLoss = true;
      if (v.Code == kKindFixedLoss) {
        if (finite(v.Parm))
          r.loss = v.Parm;
        else
          r.issues |= kLossBadStatedLoss;
      } else if (v.Code == kKindEnlargeContract) {
        if (around) r.issues |= EnlargeContractK(p, n, around->before, around->after, around->followFlow);
        r.loss = KValueLoss(p, n, w, Q, sums, &r.issues);
      } else {
        r.loss = valfitLoss(p, n, w, Q, sums, &r.issues);
      }
      break;
    }
    case kSupply:
      if (p.node[n] && supplyHasInletLoss(*p.node[n])) {
        r.hasLoss = true;
        r.loss = supplyLoss(p, n, w, Q, sums, &r.issues);
      }
      break;
    case kFVH:
      if (p.fvh[n]) {
        r.hasLoss = true;
        r.loss = FvhLoss(*p.fvh[n], std::fabs(Q));
      }
      break;
    default: break;
  }
  return r;
}

float get_hl(Project& p, std::span<const int16_t> route) {
  // The weight only steers the Newton sums, which nobody reads here, so a private pair with
  // weight 0 gives the same losses as the solution's leftover weight would.
  LoopSums sums;
  double total = 0.0;
  for (const int16_t e : route) {
    if (e < 0) break;
    if (!p.isPlaced(e)) continue;
    const float Q = p.ElemFlow(e) / 2.0f;
    switch (p.ElemType[e]) {
      case kPipe: {
        if (!p.pipe[e]) break;
        double loss = 0.0;
        if (pipeLoss(p, e, 0, Q, sums, nullptr, loss))
          total += loss;
        else
          p.prompter().message(MsgKind::Error, kWrongHeadCalcText);
        break;
      }
      case kFitting:
      case kValve: {
        if (!p.valfit[e]) break;
        const Valfit& v = *p.valfit[e];
        if (v.Code == kKindNozzle) {
          if (!(v.Parm > 0.0f)) return 0.0f;
          total += KValueLoss(p, e, 0, Q, sums);
        } else if (v.Code == kKindPrv) {
          total += KValueLoss(p, e, 0, Q, sums) / 2.0;
        } else if (v.Code == kKindFixedLoss) {
          if (finite(v.Parm)) total += 0.25 * v.Parm;
        } else {
          total += valfitLoss(p, e, 0, Q, sums, nullptr);
        }
        break;
      }
      case kFVH:
        if (p.fvh[e]) total += FvhLoss(*p.fvh[e], std::fabs(Q));
        break;
      case kSupply:
        if (p.node[e] && supplyHasInletLoss(*p.node[e])) total += supplyLoss(p, e, 0, Q, sums, nullptr);
        break;
      default: break;
    }
  }
  if (!finite(total)) return 0.0f;
  return static_cast<float>(std::min(total, kMaxLoss));
}

}  // namespace vt
