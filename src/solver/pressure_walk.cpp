// From flows to grades: the HGL after every element, gauge pressures and pump NPSH, then the head
// check that measures how well the head balances close at the nodes.
#include <algorithm>
#include <cmath>

#include "solver/solution.h"
#include "units/number_format.h"

namespace vt {

namespace {
float signOf(float v) { return v > 0 ? 1.0f : (v < 0 ? -1.0f : 0.0f); }
}  // namespace

int Solution::lineAt(int pos) const {
  int line = 0;
  for (int k = 1; k < kLines; ++k)
    if (p_.LineStart[k] < pos && p_.LineStart[k] > 0) line = k;
  return line;
}

bool Solution::lastOfLine(int pos) const { return pos + 1 > p_.SeqLen || p_.ElemSeq[pos + 1] < 0; }

// The grade just inside the line at a supply carrying flow. A supply's Flow is signed by the node
// balance: positive when it delivers into the line it starts, and at the main line's end positive
// when it receives; a supply that ends a branch receives with a negative Flow. Turned into the
// line's drawn direction, the flow leaves through an inlet loss at a line's start (the grade is the
// surface less the loss) and arrives through an exit loss at a line's end (the surface plus it).
double Solution::supplyLineGrade(const Node& nd, int pos) const {
  const double top = nd.Elev / 12.0 + nd.Pressure;
  const bool lineStart = pos == 1 || (pos > 1 && p_.ElemSeq[pos - 1] < 0);
  if (lineStart) return top - signOf(nd.Flow) * nd.InletHeadLoss;
  const bool mainEnd = pos == p_.MainEnd - 1;
  const float drawn = mainEnd ? signOf(nd.Flow) : -signOf(nd.Flow);
  return top + drawn * nd.InletHeadLoss;
}

void Solution::evaluateNpsh(int e, bool forcedFlow) {
  Project& p = p_;
  Pump& pu = *p.pump[e];
  const double H = RunningHGL;
  const double z = pu.Elev / 12.0;
  const TLiquid& liq = p.liquid;
  pu.NPSHA = kBlank;
  const bool liquidKnown = liq.LiqVP != kBlank && std::isfinite(liq.LiqVP) && liq.LiqSG > 0 &&
                           std::isfinite(liq.LiqSG) && std::isfinite(p.sys.AtmPress);
  if (liquidKnown) {
    const double hs = pu.Dir == 1 ? H - pu.Head : H;
    const double npsha = p.sys.AtmPress * 2.31 / liq.LiqSG - liq.LiqVP * 2.31 / liq.LiqSG + hs - z;
    if (std::isfinite(npsha)) pu.NPSHA = static_cast<float>(npsha);
  }
  if (pu.CurveDefined && pu.NpshBase != kBlank) pu.NPSHR = PumpNpshr(pu, pu.Flow);
  if (!pu.CurveDefined || !(pu.Flow > 0.001f * pu.FlowIncr)) return;
  const std::string id = p.ElemID(e);
  if (!forcedFlow) {
    if (pu.NPSHA != kBlank && pu.NPSHA < 0) {
      list.add(" ");
      list.add(format(" Warning! NPSHA at Pump ID: \"%s\" is less than zero!(click here)", {id}), e);
    }
    if (pu.NPSHA != kBlank && pu.NpshBase != kBlank && pu.NPSHA < pu.NPSHR) {
      list.add(" ");
      list.add(format(" Warning! NPSHA less than NPSHR at Pump ID: \"%s\"!(click here)", {id}), e);
    }
    return;
  }
  if (pu.NPSHA == kBlank || pu.NPSHR == kBlank) return;
  if (pu.NPSHA < 0) {
    list.add("  ");
    list.add(format("Warning! NPSHA at pump %s is less than zero!", {id}));
  }
  if (pu.NpshBase != kBlank && pu.NPSHA < pu.NPSHR) {
    list.add("  ");
    list.add(format("Warning! NPSHA less than NPSHR at pump %s!", {id}));
  }
}

Solution::Step Solution::forwardStep(int e, int pos, bool closedPass1) {
  Project& p = p_;
  const float tol = p.sys.FlowTol;
  double& H = RunningHGL;
  switch (p.ElemType[e]) {
    case kPipe: {
      const Pipe& pp = *p.pipe[e];
      if (pp.Flow != 0) H -= signOf(pp.Flow) * pp.HeadLoss;
      return Step::Walked;
    }
    case kFitting:
    case kValve: {
      const Valfit& v = *p.valfit[e];
      const bool dirValve = p.ElemType[e] == kValve && isDirectionalKind(v.Code);
      if (std::fabs(v.Flow) > tol && v.HeadLoss < 10000)
        H -= (dirValve ? v.Dir : signOf(v.Flow)) * v.HeadLoss;
      else if (dirValve)
        return Step::Blocked;
      return Step::Walked;
    }
    case kFVH: {
      const FVH& f = *p.fvh[e];
      H -= f.Dir * f.HeadLoss;
      return Step::Walked;
    }
    case kPump: {
      const Pump& pu = *p.pump[e];
      if (!(std::fabs(pu.Flow) > tol)) return Step::Blocked;
      H += pu.Dir * pu.Head;
      evaluateNpsh(e, false);
      return Step::Walked;
    }
    case kSupply: {
      const Node& nd = *p.node[e];
      H = supplyLineGrade(nd, pos);
      return Step::Walked;
    }
    case kGauge: {
      Node& nd = *p.node[e];
      const double z = nd.Elev / 12.0;
      if (!closedPass1 && lastOfLine(pos)) {
        // the line in which the gauge stands inside gives its pressure
      } else if (p.sys.SysType == 3 && e == p.sys.RefGauge) {
        nd.Pressure = p.sys.SysFlowPress;
        H = z + nd.Pressure;
      } else if (pos > 1 && p.ElemSeq[pos - 1] < 0) {
        H = z + nd.Pressure;
      } else {
        nd.Pressure = static_cast<float>(H - z);
      }
      return Step::Walked;
    }
    default: return Step::Walked;
  }
}

Solution::Step Solution::backwardStep(int e, int pos, bool closedPass1) {
  Project& p = p_;
  const float tol = p.sys.FlowTol;
  double& H = RunningHGL;
  float& B = carriedB_;
  switch (p.ElemType[e]) {
    case kPipe: {
      const Pipe& pp = *p.pipe[e];
      H = B;  // a pipe without flow has the same grade at both ends
      if (pp.Flow != 0) B = static_cast<float>(H + signOf(pp.Flow) * pp.HeadLoss);
      return Step::Walked;
    }
    case kFitting:
    case kValve: {
      const Valfit& v = *p.valfit[e];
      const bool dirValve = p.ElemType[e] == kValve && isDirectionalKind(v.Code);
      const bool open = std::fabs(v.Flow) > tol && v.HeadLoss < 10000;
      if (!open && dirValve) return Step::EndBackward;
      H = B;
      if (open) B = static_cast<float>(H + (dirValve ? v.Dir : signOf(v.Flow)) * v.HeadLoss);
      return Step::Walked;
    }
    case kFVH: {
      const FVH& f = *p.fvh[e];
      H = B;
      B = static_cast<float>(H + f.Dir * f.HeadLoss);
      return Step::Walked;
    }
    case kPump: {
      const Pump& pu = *p.pump[e];
      if (!(std::fabs(pu.Flow) > tol)) return Step::EndBackward;
      H = B;
      B = static_cast<float>(H - pu.Dir * pu.Head);
      evaluateNpsh(e, false);
      return Step::Walked;
    }
    case kSupply: {
      const Node& nd = *p.node[e];
      H = supplyLineGrade(nd, pos);
      B = static_cast<float>(H);
      return Step::Walked;
    }
    case kGauge: {
      Node& nd = *p.node[e];
      const double z = nd.Elev / 12.0;
      if ((!closedPass1 && lastOfLine(pos)) || (pos > 1 && p.ElemSeq[pos - 1] < 0)) {
        H = z + nd.Pressure;
      } else if (p.sys.SysType == 3 && e == p.sys.RefGauge) {
        nd.Pressure = p.sys.SysFlowPress;
        H = z + nd.Pressure;
      } else {
        nd.Pressure = static_cast<float>(B - z);
        H = B;
      }
      B = static_cast<float>(H);
      return Step::Walked;
    }
    default: return Step::Walked;
  }
}

void Solution::flo_prs1() {
  Project& p = p_;
  const bool closed = p.sys.SysType == 3;
  carriedB_ = 0.0f;
  int refPos = 1;
  for (int q = 1; q < p.MainEnd; ++q)
    if (p.ElemSeq[q] == p.sys.RefGauge) refPos = q;
  struct Pass {
    int from, to;
    bool closedPass1;
  };
  const Pass passes[2] = {closed ? Pass{refPos, p.MainEnd - 1, true} : Pass{1, p.SeqLen, false},
                          Pass{1, p.SeqLen, false}};
  const int passCount = closed ? 2 : 1;

  for (int pi = 0; pi < passCount; ++pi) {
    const Pass& pass = passes[pi];
    int end = pass.to;
    bool skipping = false;
    for (int pos = pass.from; pos <= end; ++pos) {
      host_.processPendingInput();
      if (SolveErrors()) return;
      const int e = p.ElemSeq[pos];
      if (e < 0) {
        skipping = p.LineLen[-e] == 0;
        continue;
      }
      if (e == 0 || skipping) continue;
      if (forwardStep(e, pos, pass.closedPass1) != Step::Blocked) {
        p.ElemHGL[e] = static_cast<float>(RunningHGL);
        continue;
      }
      // Blocked: the grades beyond come from the line's far end, walked back to the blockage.
      const int line = lineAt(pos);
      const int last = p.LineEnd[line];
      if (closed && line == 0) {
        const int m = p.ElemSeq[last];
        const bool node = m > 0 && (p.ElemType[m] == kGauge || p.ElemType[m] == kSupply);
        if (!node && p.sys.RefGauge > 0 && p.node[p.sys.RefGauge])
          carriedB_ = p.node[p.sys.RefGauge]->Elev / 12.0f + p.sys.SysFlowPress;
      }
      for (int q = last; q > pos; --q) {
        host_.processPendingInput();
        if (SolveErrors()) return;
        const int m = p.ElemSeq[q];
        if (m <= 0) continue;
        if (backwardStep(m, q, pass.closedPass1) == Step::EndBackward) break;
        p.ElemHGL[m] = static_cast<float>(RunningHGL);
      }
      pos = last;  // resume with the marker after the blocked line
      end = p.SeqLen;
    }
  }
}

// ---------------------------------------------------------------- headcheck

float Solution::headcheck() {
  Project& p = p_;
  const int type = p.sys.SysType;
  const float tol = p.sys.FlowTol;
  double& H = RunningHGL;
  float E = 0, L = 0, F = 0;
  int refPos = 1;
  for (int q = 1; q < p.MainEnd; ++q)
    if (p.ElemSeq[q] == p.sys.RefGauge) refPos = q;
  struct Pass {
    int from, to;
    bool closedPass1;
  };
  Pass passes[2];
  int passCount = 1;
  if (type == 3) {
    passes[0] = {refPos, p.MainEnd - 1, true};
    passes[1] = {1, p.SeqLen, false};
    passCount = 2;
  } else if (type == 2) {
    passes[0] = {1, p.MainEnd - 1, false};
  } else {
    passes[0] = {1, p.SeqLen, false};
  }
  bool skip = false, reBase = false;
  int current = 0;
  for (int pi = 0; pi < passCount; ++pi) {
    for (int pos = passes[pi].from; pos <= passes[pi].to; ++pos) {
      const int e = p.ElemSeq[pos];
      if (e < 0) {
        current = -e;
        skip = p.LineLen[current] == 0;
        continue;
      }
      if (e == 0 || skip) continue;
      const bool branchStart = pos > 1 && p.ElemSeq[pos - 1] < 0;
      switch (p.ElemType[e]) {
        case kSupply: {
          const Node& nd = *p.node[e];
          if (!(std::fabs(nd.Flow) > tol)) break;
          if (pos == 1 || (type == 1 && branchStart)) {
            H = supplyLineGrade(nd, pos);
          } else if (type == 2 && pos == p.MainEnd - 1) {
            break;
          } else {
            E = std::max(E, static_cast<float>(std::fabs(H - supplyLineGrade(nd, pos))));
          }
          F = std::max(F, std::fabs(nd.Flow));
          break;
        }
        case kPipe: {
          const Pipe& pp = *p.pipe[e];
          if (!(std::fabs(pp.Flow) > tol)) break;
          H -= signOf(pp.Flow) * pp.HeadLoss;
          L = std::max(L, pp.HeadLoss);
          F = std::max(F, std::fabs(pp.Flow));
          break;
        }
        case kFitting:
        case kValve: {
          const Valfit& v = *p.valfit[e];
          const bool dirValve = p.ElemType[e] == kValve && isDirectionalKind(v.Code);
          if (std::fabs(v.Flow) > tol) {
            if (dirValve) {
              if (std::fabs(v.Flow) < 0.009f) skip = true;
              H -= v.Dir * v.HeadLoss;
            } else {
              H -= signOf(v.Flow) * v.HeadLoss;
            }
            L = std::max(L, v.HeadLoss);
            F = std::max(F, std::fabs(v.Flow));
          } else if (dirValve) {
            reBase = true;
          }
          break;
        }
        case kPump: {
          const Pump& pu = *p.pump[e];
          if (!(std::fabs(pu.Flow) > tol)) break;
          H += pu.Dir * pu.Head;
          if (pu.CurveDefined) {
            const std::string id = p.ElemID(e);
            if (pu.Flow < pu.FlowIncr) {
              list.add(" ");
              list.add(format("  Warning! Pump ID: \"%s\" flow is less than first head point. Approximations "
                              "used.(click here)",
                              {id}),
                       e);
            } else if (pu.Flow > 3 * pu.FlowIncr) {
              list.add(" ");
              list.add(format("  Warning! Pump ID: \"%s\" flow is greater than 3rd head point. Approximations "
                              "used.(click here)",
                              {id}),
                       e);
            }
          }
          F = std::max(F, std::fabs(pu.Flow));
          break;
        }
        case kFVH: {
          const FVH& f = *p.fvh[e];
          H -= f.Dir * f.HeadLoss;
          L = std::max(L, f.HeadLoss);
          F = std::max(F, std::fabs(f.Flow));
          break;
        }
        case kGauge: {
          const Node& nd = *p.node[e];
          const double top = nd.Elev / 12.0 + nd.Pressure;
          if ((type == 1 && branchStart) || (type == 3 && e == p.sys.RefGauge && passes[pi].closedPass1) || reBase) {
            H = top;
            reBase = false;
          } else if (pos == p.LineStart[current] + 1) {
            H = top;
          } else {
            E = std::max(E, static_cast<float>(std::fabs(H - top)));
          }
          break;
        }
        default: break;
      }
    }
  }
  if (F < 2 * tol) {
    list.add(" ");
    list.add(" Warning! No flows - Check pump heads and directional devices opposing gravity flow.");
    return 0;
  }
  if (type == 2 || L == 0) return 0;
  const float P = E / L * 100.0f;
  std::string line = format("  Max head error = %.6f %s,  %.2f%% of max headloss.",
                            {E * p.units.PHeadFactor, p.units.PHead.abbrev, P});
  if (P > 5) {
    list.add(" ");
    list.add(" Warning! Head errors greater than 5% of head values.");
  }
  if (P < 0.3f || E < tol) {
    line += " - Good!";
  } else {
    line += " - Poor!";
    if (tol > 0.01f) list.add(" Suggestion - Try a lower flow tolerance.");
    if (undefinedPumps >= 2) {
      for (int r = 0; r < kLines; ++r) {
        if ((r > 0 && p.LineLen[r] == 0) || Routes[r].empty()) continue;
        int count = 0;
        for (int e : Routes[r])
          if (e > 0 && p.ElemType[e] == kPump && p.pump[e] && !p.pump[e]->CurveDefined) ++count;
        if (count >= 2) {
          list.add(" ");
          list.add(" Suggestion - Change undefined pumps to defined pumps with approximate curves!");
          break;
        }
      }
    }
  }
  list.add(line);
  return P;
}

}  // namespace vt
