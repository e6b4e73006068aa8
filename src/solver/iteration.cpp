// The iterative solution of an open or closed system: Newton corrections of each route's flow over
// the element losses and pump heads, limited so that no directional element reverses, with the
// control valves adjusting their K between iterations.
#include <algorithm>
#include <cmath>

#include "solver/solution.h"
#include "units/number_format.h"

namespace vt {

namespace {

float signOf(float v) { return v > 0 ? 1.0f : (v < 0 ? -1.0f : 0.0f); }

// Control valves and check valves whose flow direction is fixed by their Dir.
bool dirForHgl(int code) { return code == -2 || code == kKindFcv || (code >= 43 && code <= 55); }

}  // namespace

double Solution::convergencePercent() const {
  if (iterations <= 0) return 0.0;
  return (1.0 - static_cast<double>(nonImproving) / iterations) * 100.0;
}

// The element at route index i is passed in its line's drawn direction when the next route entry is
// its NextElem (in a closed loop the last entry is compared with the route's first).
bool Solution::passedForward(int r, size_t i) const {
  const auto& route = Routes[r];
  const int e = route[i];
  int next = route[i + 1];
  if (p_.sys.SysType == 3 && next == -1) next = route[0];
  return p_.NextElem[e] == next;
}

int Solution::weightOf(int r, size_t i) const {
  const Project& p = p_;
  const int e = Routes[r][i];
  const int t = p.ElemType[e];
  if (t == kPump) return -p.pump[e]->Dir;
  if (t == kFVH) return -p.fvh[e]->Dir;
  const bool fwd = passedForward(r, i);
  if ((t == kFitting || t == kValve) && isDirectionalKind(p.valfit[e]->Code)) {
    const int d = p.valfit[e]->Dir;
    return fwd ? -d : d;
  }
  return fwd ? -1 : 1;
}

void Solution::startSolve1() {
  Project& p = p_;
  list.add("  ");
  std::string line = " Processing main line";
  bool anyBranch = false;
  for (int k = 1; k <= 9; ++k)
    if (p.LineLen[k] > 0) anyBranch = true;
  if (anyBranch) {
    line += " and Branch ";
    for (int k = 1; k <= 9; ++k)
      if (p.LineLen[k] > 0) line += format("%d ", {k});
  }
  list.add(line);
  iterations = 0;
  nonImproving = 0;
  prevTotal_ = 0;
  pictureRef_ = 0;
  undefinedDeficit = kBlank;
  smallestFlowChange = 1000.0;
  lastRelAdjust = 0.0;
  lastCorrectedFlow_ = 0.0f;
  undefinedTreatments_.fill(0);
  SolvingMain() = true;
}

void Solution::Solve1() {
  Project& p = p_;
  startSolve1();
  // A control valve that changes its K in an iteration disturbs flows that had already converged, so
  // the run goes on until the corrections of an iteration that leaves every valve settled are small.
  converged_ = false;
  while (!SolveErrors() && (SolvingMain() || FcvIterating || PrvIterating || !converged_)) {
    fcvSettled_ = FcvIterating = HasFCV;
    prvSettled_ = PrvIterating = HasPRV || HasPSV;
    curTotal_ = 0;
    zeroLimit_ = false;
    for (int r = 0; r < kLines; ++r) {
      if ((r > 0 && p.LineLen[r] == 0) || Routes[r].size() < 2) continue;
      host_.processPendingInput();
      if (SolveErrors()) return;  // halted by the user
      if (!routePass(r)) break;   // a failure stops the pass; the iteration ends
    }
    endOfIteration();
    if (p.proj.SlowSolve) {
      host_.processPendingInput();
      if (SolveErrors()) return;
    }
  }
  summaryOfSolve1();
}

// Limits that keep a directional element's flow from changing sign: u = 1 bounds the correction from
// below, any other value from above.
static void applyLimit(int u, float Q, double& fwd, double& bwd) {
  const double q = Q / kGpmPerCfs;
  if (u == 1)
    bwd = std::max(bwd, Q == 0 ? 0.0 : -q);
  else
    fwd = std::min(fwd, Q == 0 ? 0.0 : q);
}

bool Solution::routePass(int r) {
  Project& p = p_;
  const auto& route = Routes[r];
  const int iterNo = iterations + 1;
  const bool closed = p.sys.SysType == 3;
  fwdLimit_ = 1000.0;
  bwdLimit_ = -1000.0;
  sums_.clear();
  routeHeadSum_ = 0.0;
  undefinedMarker_ = 0;

  size_t len = 0;
  while (len < route.size() && route[len] != -1) ++len;

  // ---- pass 1: losses, heads, slopes and limits at the current flows ----
  for (size_t i = 0; i < len; ++i) {
    const int e = route[i];
    const int t = p.ElemType[e];
    const int w = weightOf(r, i);
    switch (t) {
      case kGauge: {
        if (closed && e == p.sys.RefGauge) {
          Node& nd = *p.node[e];
          nd.Pressure = p.sys.SysFlowPress;
          RunningHGL = nd.Elev / 12.0 + nd.Pressure;
        }
        break;
      }
      case kSupply: {
        Node& nd = *p.node[e];
        const float Q = nd.Flow;
        const float s = signOf(Q);
        if (Q != 0) {
          LossResult res = ElementHeadLoss(p, e, w, Q, sums_);
          lossIssues_[e] |= res.issues;
          if (res.hasLoss) {
            nd.InletHeadLoss = static_cast<float>(res.loss);
            routeHeadSum_ -= s * w * res.loss;
          }
        }
        if (i == 0 && iterNo >= 3 && PrvIterating) RunningHGL = nd.Elev / 12.0 + nd.Pressure - s * nd.InletHeadLoss;
        break;
      }
      case kPipe: {
        Pipe& pp = *p.pipe[e];
        const float Q = pp.Flow;
        if (Q != 0) {
          const float s = signOf(Q);
          LossResult res = ElementHeadLoss(p, e, w, Q, sums_, nullptr, &pipeFactors_[e]);
          lossIssues_[e] |= res.issues;
          if (res.hasLoss) {
            pp.HeadLoss = static_cast<float>(res.loss);
            routeHeadSum_ -= s * w * res.loss;
            if (iterNo >= 3 && PrvIterating) RunningHGL -= s * res.loss;
          }
        }
        break;
      }
      case kPump: {
        Pump& pu = *p.pump[e];
        const int d = pu.Dir, u = -d;
        const float Q = pu.Flow;
        HeadSlope hs = PumpOperatingHead(pu, Q);
        if (!pu.CurveDefined) {
          undefinedMarker_ = u;
          undefinedDeficit = pu.DesignFlow - Q;
        }
        pu.Head = static_cast<float>(hs.head);
        if (iterNo >= 3) RunningHGL += d * hs.head;
        sums_.LoopHeadSum -= u * hs.head;
        sums_.LoopSlopeSum -= hs.slope;
        if (pu.CurveDefined) routeHeadSum_ += u * hs.head;
        applyLimit(u, Q, fwdLimit_, bwdLimit_);
        break;
      }
      case kFVH: {
        FVH& fv = *p.fvh[e];
        const int d = fv.Dir, u = -d;
        const float Q = fv.Flow;
        if (Q != 0) {
          const float h = FvhLoss(fv, std::fabs(Q));
          fv.HeadLoss = h;
          if (iterNo >= 3) RunningHGL -= d * h;
          routeHeadSum_ -= u * h;
          sums_.LoopHeadSum += u * h;
          sums_.LoopSlopeSum += FvhSlope(fv, Q);
          applyLimit(u, Q, fwdLimit_, bwdLimit_);
        }
        break;
      }
      case kFitting:
      case kValve: {
        Valfit& v = *p.valfit[e];
        const float Q = v.Flow;
        if (Q == 0) break;
        const float s = signOf(Q);
        const int code = v.Code;
        if (isDirectionalKind(code)) applyLimit(w == 1 ? 1 : -1, Q, fwdLimit_, bwdLimit_);
        double loss = 0.0;
        if (code == kKindFixedLoss) {
          loss = std::isfinite(v.Parm) ? v.Parm : 0.0;
          sums_.LoopHeadSum += s * loss * w;
          v.HeadLoss = static_cast<float>(loss);
          routeHeadSum_ -= s * w * loss;
        } else {
          if (code == kKindFcv) fcvRule(v, Q, iterNo);
          if ((code == kKindPrv || code == kKindPsv) && iterNo >= 3 && PrvIterating) {
            if (code == kKindPrv)
              prvRule(v, e, Q, iterNo);
            else if (!psvRule(v, e, Q, iterNo))
              return false;
            if (SolveErrors()) {  // the PRV reached its maximum friction
              passFailed_ = true;
              return false;
            }
          }
          Neighbours around{i > 0 ? route[i - 1] : 0, route[i + 1] > 0 ? route[i + 1] : 0, true};
          LossResult res = ElementHeadLoss(p, e, w, Q, sums_, code == kKindEnlargeContract ? &around : nullptr);
          lossIssues_[e] |= res.issues;
          if (res.hasLoss) {
            loss = res.loss;
            v.HeadLoss = static_cast<float>(loss);
            routeHeadSum_ -= s * w * loss;
          }
        }
        if (iterNo >= 3 && code != kKindPrv && code != kKindPsv)
          RunningHGL -= (dirForHgl(code) ? v.Dir : s) * loss;
        break;
      }
      default: break;
    }
  }

  // ---- pass 2: the route's correction ----
  if (bwdLimit_ < fwdLimit_ && !closed) {
    auto grade = [&](int e) -> double {
      if (e <= 0 || !p.node[e]) return 0.0;
      return p.node[e]->Elev / 12.0 + p.node[e]->Pressure;
    };
    const double stat = grade(route[0]) - grade(route[len - 1]);
    sums_.LoopHeadSum += stat;
    routeHeadSum_ -= stat;
  }
  double dQ;
  if (undefinedMarker_ != 0)
    dQ = undefinedMarker_ * undefinedDeficit / kGpmPerCfs;
  else if (sums_.LoopSlopeSum != 0)
    dQ = -sums_.LoopHeadSum / sums_.LoopSlopeSum;
  else if (iterations == 0)
    dQ = sums_.LoopHeadSum < 0 ? 0.25 : -0.25;
  else
    dQ = 0.001;
  if (dQ > fwdLimit_) {
    if (fwdLimit_ == 0) zeroLimit_ = true;
    dQ = 0.75 * fwdLimit_;
  } else if (dQ < bwdLimit_) {
    if (bwdLimit_ == 0) zeroLimit_ = true;
    dQ = 0.75 * bwdLimit_;
  }

  auto runaway = [&] {
    list.add(" ");
    list.add("  Error - Extreme flow runaway. Pump heads much greater than system friction!");
    SolveErrors() = true;
    SolvingMain() = false;
    passFailed_ = true;
    return false;
  };
  if (!std::isfinite(dQ)) return runaway();
  const double dq = kGpmPerCfs * dQ;

  for (size_t i = 0; i < len; ++i) {
    const int e = route[i];
    const int t = p.ElemType[e];
    float* flow = nullptr;
    int factor = 0;
    switch (t) {
      case kGauge: continue;
      case kSupply: flow = &p.node[e]->Flow, factor = weightOf(r, i); break;
      case kPipe: flow = &p.pipe[e]->Flow, factor = weightOf(r, i); break;
      case kFitting:
      case kValve: flow = &p.valfit[e]->Flow, factor = weightOf(r, i); break;
      case kPump: flow = &p.pump[e]->Flow, factor = -p.pump[e]->Dir; break;
      case kFVH: flow = &p.fvh[e]->Flow, factor = -p.fvh[e]->Dir; break;
      default: continue;
    }
    const float updated = static_cast<float>(*flow + factor * dq);
    if (!std::isfinite(updated)) return runaway();
    *flow = updated;
    lastCorrectedFlow_ = updated;
    if (t == kPump) {
      Pump& pu = *p.pump[e];
      if (pu.CurveDefined) {
        if (watchPumpCurve(offCurve, p, e, iterations)) host_.setErrorLabel(offCurve.visible ? offCurve.label : "");
      } else {
        const int d = pu.Dir;
        if (++undefinedTreatments_[e] >= 3 && ((routeHeadSum_ < 0 && d == 1) || (routeHeadSum_ > 0 && d == -1))) {
          list.add(" ");
          list.add(format("  Error - Pump ID: \"%s\" not needed to push the design flow!(click here)", {p.ElemID(e)}),
                   e);
          SolveErrors() = true;
          SolvingMain() = false;
          passFailed_ = true;
          return false;
        }
        pu.Head = static_cast<float>(std::fabs(routeHeadSum_));
      }
    } else if (t == kFVH) {
      if (watchFvhCurve(offCurve, p, e, iterations)) host_.setErrorLabel(offCurve.visible ? offCurve.label : "");
    }
    if (std::fabs(updated) > 1.0e6f) return runaway();
  }
  curTotal_ += std::fabs(dQ);
  lastDq_ = dQ;
  const float lastFlow = p.ElemFlow(route[len - 1]);
  if (lastFlow != 0) lastRelAdjust = (std::fabs(dq / lastFlow) + lastRelAdjust) / 2.0;
  return true;
}

void Solution::fcvRule(Valfit& v, float Q, int iterNo) {
  const float S = v.Parm;
  if (!(S > 0) || !std::isfinite(S)) return;  // no set flow: the valve stays as it is
  const float tol = p_.sys.FlowTol;
  const double aQ = std::fabs(Q);
  double K = v.Coef;
  if (iterNo >= 3) {
    if (iterNo == 3 && K == 0 && aQ > S) {
      K = 1.0;
    } else if (iterNo > 4 && K == 0 && aQ > S) {
      K = 0.01;
    } else if (aQ > 0) {
      const double ratio = (aQ + tol) / S;
      const double k2 = K * ratio * ratio;
      if (k2 > 1e34)
        K = 1e34;
      else if (aQ < S)
        K = k2;
      else
        K = (K + k2) / 2.0;
    }
    if (K < 0.01) K = 0;
  }
  if ((std::fabs((aQ - S) * kGpmPerCfs) > 500.0 * tol && Q > S) || (K != 0 && 1.05 * aQ < S)) fcvSettled_ = false;
  v.Coef = static_cast<float>(K);
}

void Solution::prvRule(Valfit& v, int e, float Q, int iterNo) {
  const double set = v.Parm;
  const double z = v.Elev / 12.0;
  const int d = v.Dir;
  double h = v.HeadLoss;
  const float K0 = v.Coef;
  double K = v.Coef;
  double pr = 0.0, r = 0.0;
  // The valve settles when the pressure after it lies within `band` below its set pressure, and it
  // throttles toward a point `aim` below the set pressure. A fixed aim of 0.1 ft outside a band of
  // 15 x tolerance (0.015 ft at 0.001 gpm) could never be met: the valve opened fully and started
  // over until the iteration limit. The band is at least 0.1 % of the set pressure and the aim lies
  // inside it; where the band is 0.2 ft or wider both are as before.
  const double band = std::max(15.0 * p_.sys.FlowTol, 0.001 * std::fabs(set));
  const double aim = std::min(0.1, 0.5 * band);
  if (iterNo >= 6) {
    if (d == 1) {
      RunningHGL -= h;
      pr = RunningHGL - z;
      r = pr > set ? pr - set + h + aim : 0.0;
    } else {
      pr = RunningHGL - z;
      if (pr > set)
        r = pr - set + h;
      else if (pr - set + h > 2.0)
        r = h + 2.0 * (pr - set);
      else if (set != 0 && std::fabs(pr - set) / set < 0.01)
        r = std::max(0.0, pr - set + h);
      else
        r = 0.0;
    }
  }
  if (iterNo == 3 && K == 0 && r > set) K = 1.0;
  if (iterNo > 4 && K == 0 && r > set) K = 2.0;
  const double D = v.Dia;
  const double V = D > 0 ? 0.4085 * std::fabs(Q) / (D * D) : 0.0;
  const double k2 = V > 0 ? r / (V * V / kTwoG) : 0.0;
  if (k2 > 1e34)
    K = 1e34;
  else if (pr < set)
    K = (K < 2.0 && r - set > 0.01) ? 0.0 : k2;
  else if (k2 > K)
    K = (K + k2) / 2.0;
  if (iterNo > 1000 && k2 > 1e20) {
    list.add(" ");
    list.add("  Solution process terminated! ");
    list.add(format("Warning! PRV ID: \"%s\" is at maximum friction! Unable to reduce pressure any lower! (click here)",
                    {p_.ElemID(e)}),
             e);
    list.add(" ");
    SolveErrors() = true;
    PrvIterating = false;
  }
  if (K < 0) K = 0;
  if (!(iterNo > 5 && K == 0 && pr < set)) {
    if (iterations < 20 || pr > 1.001 * set || std::fabs(pr - set) > band)
      prvSettled_ = false;
    else
      K = K0;
  }
  v.Coef = static_cast<float>(K);
  if (K == 0) {
    h = 0.0;
    v.HeadLoss = 0.0f;
  }
  if (d == -1 && iterNo >= 3) RunningHGL += h;
}

bool Solution::psvRule(Valfit& v, int e, float Q, int iterNo) {
  const double set = v.Parm;
  const double z = v.Elev / 12.0;
  const int d = v.Dir;
  const double h = v.HeadLoss;
  if (d == -1 && iterNo >= 3) RunningHGL += h;
  const double pr = RunningHGL - z;
  const double D = v.Dia;
  double dK = (set - pr) * D * D * D * D / (0.00259 * static_cast<double>(Q) * Q);
  if (dK > 0 && dK < 0.01) dK = 0.01;
  const std::string id = p_.ElemID(e);
  if (dK > 1e20 || !std::isfinite(dK)) {
    list.add(" ");
    list.add("  Solution process terminated! ");
    list.add(format("  PSV ID: \"%s\" is at maximum friction! Unable to raise pressure any higher!(click here)", {id}),
             e);
    list.add("  Also check allowable flow direction. ");
    list.add(" ");
    SolveErrors() = true;
    PrvIterating = false;
    passFailed_ = true;
    return false;
  }
  if (dK < -1e20) {
    list.add(" ");
    list.add("  Solution process terminated! ");
    list.add(format("  PSV ID: \"%s\" problem! Check allowable flow direction!(click here)", {id}), e);
    list.add(" ");
    SolveErrors() = true;
    PrvIterating = false;
    passFailed_ = true;
    return false;
  }
  v.Coef = static_cast<float>(std::max(0.0, v.Coef + dK));
  if (pr < set) prvSettled_ = false;
  if (d == 1 && iterNo >= 3) RunningHGL -= h;
  return true;
}

void Solution::endOfIteration() {
  Project& p = p_;
  const double tol = p.sys.FlowTol;
  ++iterations;
  host_.showIteration(iterations);
  host_.showConvergence(convergencePercent());
  if (iterations >= 3 && curTotal_ >= prevTotal_) ++nonImproving;
  const double change = std::fabs((prevTotal_ - curTotal_) * kGpmPerCfs);
  if (iterations > 1 && curTotal_ < tol && change < tol) SolvingMain() = false;
  converged_ = iterations > 1 && curTotal_ < tol;
  if (HasFCV && fcvSettled_) FcvIterating = false;
  if ((HasPRV || HasPSV) && prvSettled_) PrvIterating = false;
  smallestFlowChange = std::min(smallestFlowChange, change * p.units.Flow.factor);
  if (iterations >= 5) pictureRef_ = std::max(pictureRef_, std::fabs(lastDq_));
  if (iterations >= 7) {
    host_.showIndicators(true);
    if (!zeroLimit_) {
      double value = 0.0;
      if (lastDq_ != 0 && pictureRef_ != 0)
        value = (lastDq_ > 0 ? 1.0 : -1.0) * std::sqrt(std::fabs(lastDq_ / pictureRef_));
      host_.plotConvergence(iterations, std::clamp(value, -1.0, 1.0));
    }
  }
  auto stopAll = [&] {
    SolveErrors() = true;
    SolvingMain() = false;
    FcvIterating = false;
    PrvIterating = false;
  };
  if (iterations > 16 && undefinedDeficit == 0 && curTotal_ == 0) {
    list.add(" ");
    if (p.ActiveBranches > 0) {
      list.add("  Error - Possible problems can exist when using Branches with");
      list.add("  Error -   undefined pump curves! Try using a defined pump curve...");
    } else {
      list.add("  Error - undefined pump problem...");
    }
    list.add(" ");
    stopAll();
  }
  if (iterations > kMaxIterations) {
    if (curTotal_ < tol && change < tol) {
      list.add(" ");
      list.add("  Error - flow tolerance met, but...");
      if (FcvIterating) list.add("    still working on flow control valves...");
      if (PrvIterating) list.add("    stillworking on pressure control valve...");
      list.add("    - control valves/pumps may be working against each other...");
      list.add("    - check restricted flows in control valves and undefined pumps...");
    } else {
      auto cmd = newCommand("Edit flow tolerance?");
      list.add(" ");
      list.add("  Error - system did not reach flow tolerance!");
      list.add(format(" Suggestion - Raise flow tolerance to %-.8f (click here)", {smallestFlowChange}), cmd);
      list.add(" ");
    }
    stopAll();
  }
  prevTotal_ = curTotal_;
}

void Solution::summaryOfSolve1() {
  Project& p = p_;
  const double tol = p.sys.FlowTol;
  const double shown = std::round(tol * p.units.Flow.factor * 1e7) / 1e7;
  std::string line = "  Flow Tolerance = " + formatGeneral(shown, 7) + " " + p.units.Flow.abbrev;
  if (shown > 1.0) line += " - very high - Poor!";
  list.add(line);
  const bool flowing = std::fabs(lastCorrectedFlow_) > 10.0 * tol;
  line = format("  Total iterations = %d", {iterations});
  if (flowing) {
    if (iterations >= 5)
      line += " - Good!";
    else if (p.tot_elems > 3 && undefinedPumps == 0)
      line += " - Poor! Reduce flow tolerance for more iterations...";
  }
  list.add(line);
  if (iterations > 3 && flowing)
    list.add(format("  Percent last flow adj = %-.6f", {lastRelAdjust}) + (lastRelAdjust <= 1.01 ? " - Good!" : " - Poor!"));
  const double pct = convergencePercent();
  list.add(format("  Percent convergence = %-.2f%%", {pct}) + (pct > 60 ? " - Good!" : ""));
}

}  // namespace vt
