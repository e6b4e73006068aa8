// Initial flows, routing of gauge demands to supplies, the routes the iteration walks, and the
// continuity checks of a result.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "solver/solution.h"

namespace vt {

namespace {
bool isNodeType(int t) { return t == kGauge || t == kSupply; }
}  // namespace

// ---------------------------------------------------------------- initial

bool Solution::initial() {
  Project& p = p_;
  if (p.sys.SysType == 2) {
    const float F = p.sys.SysFlowPress;
    for (int pos = 1; pos < p.MainEnd; ++pos) {
      int e = p.ElemSeq[pos];
      if (e <= 0) continue;
      switch (p.ElemType[e]) {
        case kPipe: if (p.pipe[e]) p.pipe[e]->Flow = F, p.pipe[e]->HeadLoss = 0; break;
        case kPump: if (p.pump[e]) p.pump[e]->Flow = F, p.pump[e]->Head = 0; break;
        case kFitting:
        case kValve: if (p.valfit[e]) p.valfit[e]->Flow = F, p.valfit[e]->HeadLoss = 0; break;
        case kFVH: if (p.fvh[e]) p.fvh[e]->Flow = F, p.fvh[e]->HeadLoss = 0; break;
        case kSupply: if (p.node[e]) p.node[e]->Flow = F, p.node[e]->InletHeadLoss = 0; break;
        // A gauge's flow field is its demand, an input: the forced-flow pass ignores it, and it
        // must survive for when the system type is changed back.
        default: break;
      }
    }
    return true;
  }
  HasPRV = HasPSV = HasFCV = false;
  bool noDemand = true;
  for (int n = 1; n <= p.HighElem; ++n) {
    if (!p.isPlaced(n)) continue;
    switch (p.ElemType[n]) {
      case kPipe: if (p.pipe[n]) p.pipe[n]->Flow = 0, p.pipe[n]->HeadLoss = 0; break;
      case kPump: if (p.pump[n]) p.pump[n]->Flow = 0, p.pump[n]->Head = 0; break;
      case kFVH: if (p.fvh[n]) p.fvh[n]->Flow = 0, p.fvh[n]->HeadLoss = 0; break;
      case kSupply: if (p.node[n]) p.node[n]->Flow = 0, p.node[n]->InletHeadLoss = 0; break;
      case kFitting:
      case kValve:
        if (Valfit* v = p.valfit[n].get()) {
          v->Flow = 0;
          v->HeadLoss = 0;
          if (v->Code == kKindPrv || v->Code == kKindPsv || v->Code == kKindFcv) {
            v->Coef = 0;  // control valves start fully open
            if (v->Code == kKindPrv) HasPRV = true;
            if (v->Code == kKindPsv) HasPSV = true;
            if (v->Code == kKindFcv) HasFCV = true;
          }
        }
        break;
      case kGauge:
        if (p.node[n] && p.node[n]->Flow != 0) noDemand = false;
        break;
      default: break;
    }
  }
  return noDemand;
}

// ---------------------------------------------------------------- node_sum / elem_sum

float Solution::signedFlow(int e) const {
  const Project& p = p_;
  switch (p.ElemType[e]) {
    case kPipe: return p.pipe[e] ? p.pipe[e]->Flow : 0.0f;
    case kFitting:
    case kValve:
      if (!p.valfit[e]) return 0.0f;
      return isDirectionalKind(p.valfit[e]->Code) ? std::fabs(p.valfit[e]->Flow) * p.valfit[e]->Dir
                                                   : p.valfit[e]->Flow;
    case kPump: return p.pump[e] ? std::fabs(p.pump[e]->Flow) * p.pump[e]->Dir : 0.0f;
    case kFVH: return p.fvh[e] ? std::fabs(p.fvh[e]->Flow) * p.fvh[e]->Dir : 0.0f;
    default: return 0.0f;
  }
}

int16_t Solution::node_sum() {
  Project& p = p_;
  const int mainLast = p.MainEnd > 1 ? p.ElemSeq[p.MainEnd - 1] : 0;
  // One pass over the elements gathers every node's inflow, so the check stays linear.
  std::array<float, kMaxElem + 1>& f = nodeFlow_;
  std::array<int16_t, kMaxElem + 1>& g = nodeCount_;
  for (int r = 1; r <= p.HighElem; ++r) f[r] = 0, g[r] = 1;
  for (int e = 1; e <= p.HighElem; ++e) {
    if (!p.isPlaced(e) || isNodeType(p.ElemType[e])) continue;
    float q = signedFlow(e);
    int nx = p.NextElem[e], pv = p.PrevElem[e];
    if (nx > 0 && nx <= p.HighElem) f[nx] += q, ++g[nx];
    if (pv > 0 && pv <= p.HighElem) f[pv] -= q, ++g[pv];
  }
  for (int r = 1; r <= p.HighElem; ++r) {
    if (!p.isPlaced(r) || !isNodeType(p.ElemType[r]) || !p.node[r]) continue;
    float b = r == mainLast ? f[r] - p.node[r]->Flow : f[r] + p.node[r]->Flow;
    if (std::fabs(b) > 30.0f * p.sys.FlowTol * g[r] && std::fabs(b) > 0.01f) return static_cast<int16_t>(b > 0 ? r : -r);
  }
  return 0;
}

int16_t Solution::elem_sum() {
  Project& p = p_;
  const float tol = p.sys.FlowTol;
  auto plainElement = [&](int m) { return m > 0 && m <= kMaxElem && p.ElemType[m] != 0 && !isNodeType(p.ElemType[m]); };
  for (int pos = 1; pos <= p.SeqLen; ++pos) {
    int e = p.ElemSeq[pos];
    if (!plainElement(e)) continue;
    int before = p.ElemSeq[pos - 1];
    int after = pos + 1 <= p.SeqLen ? p.ElemSeq[pos + 1] : 0;
    if (!plainElement(before) || !plainElement(after)) continue;
    float q = signedFlow(e);
    bool compare = true;
    switch (p.ElemType[e]) {
      case kPipe: compare = std::fabs(q) > tol; break;
      case kPump: compare = p.pump[e] && p.pump[e]->Flow > tol; break;
      case kFitting:
      case kValve:
        if (p.valfit[e] && isDirectionalKind(p.valfit[e]->Code)) compare = std::fabs(p.valfit[e]->Flow) > tol;
        break;
      default: break;
    }
    if (!compare) continue;
    if (q != signedFlow(before) || q != signedFlow(after)) return static_cast<int16_t>(e);
  }
  return 0;
}

// ---------------------------------------------------------------- route_demands

bool Solution::route_demands() {
  Project& p = p_;
  int16_t n = node_sum();
  int16_t previous = 0;
  while (n != 0 && n != previous) {
    const int f = std::abs(n);
    const float x = p.node[f] ? p.node[f]->Flow : 0.0f;
    if (!searchDemandPath(f, n)) return false;
    if (x != 0) applyDemandPath(x);
    previous = n;
    n = node_sum();
  }
  return true;
}

// Depth-first search from node `start` to a supply along the neighbour tables; directional elements
// only where they let the needed flow through. The path is left in path_[0..pathLen_).
bool Solution::searchDemandPath(int start, int n) {
  Project& p = p_;
  std::fill(visited_.begin(), visited_.end(), 0);
  pathLen_ = 0;
  path_[pathLen_++] = static_cast<int16_t>(start);
  visited_[start] = 1;
  SolvingMain() = true;

  auto directionOf = [&](int c) -> int {  // 0: not directional
    switch (p.ElemType[c]) {
      case kPump: return p.pump[c] ? p.pump[c]->Dir : 0;
      case kFVH: return p.fvh[c] ? p.fvh[c]->Dir : 0;
      case kFitting:
      case kValve: return p.valfit[c] && isDirectionalKind(p.valfit[c]->Code) ? p.valfit[c]->Dir : 0;
      default: return 0;
    }
  };
  // c stands before f (c's next is f) or after it.
  auto admitted = [&](int c, bool before) {
    int d = directionOf(c);
    if (d == 0) return true;
    if (before) return (n < 0 && d == 1) || (n > 0 && d == -1);
    return (n > 0 && d == 1) || (n < 0 && d == -1);
  };

  int f = start;
  int preferred = 0;  // the other neighbour of the element just entered
  const int guard = 4 * (p.HighElem + 2);  // each step adds to the path or backs out of it
  for (int steps = 0; steps < guard; ++steps) {
    int chosen = 0;
    if (preferred > 0 && preferred <= p.HighElem && p.isPlaced(preferred) && !visited_[preferred]) {
      bool before = p.PrevElem[f] == preferred;
      if (admitted(preferred, before))
        chosen = preferred;
      else
        visited_[preferred] = 1;
    }
    for (int c = 1; chosen == 0 && c <= p.HighElem; ++c) {
      if (!p.isPlaced(c) || visited_[c]) continue;
      bool before = p.NextElem[c] == f;
      bool after = p.PrevElem[c] == f;
      if (!before && !after) continue;
      if (admitted(c, before))
        chosen = c;
      else
        visited_[c] = 1;
    }
    preferred = 0;
    if (chosen != 0) {
      if (pathLen_ >= static_cast<int>(path_.size())) break;
      path_[pathLen_++] = static_cast<int16_t>(chosen);
      if (p.ElemType[chosen] == kSupply) {
        SolvingMain() = false;
        return true;
      }
      visited_[chosen] = 1;
      preferred = p.NextElem[chosen] == f ? p.PrevElem[chosen] : p.NextElem[chosen];
      f = chosen;
      continue;
    }
    // Dead end: back up to the most recent gauge before this point and go on from there.
    --pathLen_;
    while (pathLen_ > 0 && p.ElemType[path_[pathLen_ - 1]] != kGauge) --pathLen_;
    if (pathLen_ == 0) break;
    f = path_[pathLen_ - 1];
  }
  SolvingMain() = false;
  return false;
}

void Solution::applyDemandPath(float x) {
  Project& p = p_;
  const int mainLast = p.MainEnd > 1 ? p.ElemSeq[p.MainEnd - 1] : 0;
  for (int i = pathLen_ - 1; i >= 1; --i) {
    const int e = path_[i];
    const int supplySide = i + 1 < pathLen_ ? path_[i + 1] : 0;
    const int nodeSide = path_[i - 1];
    float s = 1.0f;
    if (i == pathLen_ - 1 || (supplySide != 0 && p.PrevElem[e] == supplySide) || p.NextElem[e] == nodeSide)
      s = -1.0f;
    switch (p.ElemType[e]) {
      case kPipe: p.pipe[e]->Flow += x * s; break;
      case kFitting:
      case kValve:
        if (isDirectionalKind(p.valfit[e]->Code))
          p.valfit[e]->Flow += std::fabs(x);
        else
          p.valfit[e]->Flow += x * s;
        break;
      case kPump: p.pump[e]->Flow += std::fabs(x); break;
      case kFVH: p.fvh[e]->Flow += std::fabs(x); break;
      case kSupply:
        if (e == mainLast)
          p.node[e]->Flow -= x * s;
        else
          p.node[e]->Flow += x * s;
        break;
      default: break;
    }
  }
}

// ---------------------------------------------------------------- BuildPars3

void Solution::buildRoute0() {
  Project& p = p_;
  auto& r0 = Routes[0];
  const int last = p.LineEnd[0];
  int start = 1;
  if (p.sys.SysType == 3) {
    for (int q = 1; q <= last; ++q)
      if (p.ElemSeq[q] == p.sys.RefGauge) {
        start = q;
        break;
      }
  }
  for (int q = start; q <= last; ++q) r0.push_back(p.ElemSeq[q]);
  for (int q = 1; q < start; ++q) r0.push_back(p.ElemSeq[q]);
  r0.push_back(-1);
}

bool Solution::buildBranchRoute(int k, int parent, int at) {
  Project& p = p_;
  const auto& par = Routes[parent];
  auto& route = Routes[k];
  route.clear();
  route.reserve(static_cast<size_t>(2 * p.tot_elems + 2));
  const int node = par[at];
  const int firstPos = p.LineStart[k] + 1, lastPos = p.LineEnd[k];
  const int first = p.ElemSeq[firstPos], last = p.ElemSeq[lastPos];
  const bool closed = p.sys.SysType == 3;
  bool ok = true;
  auto push = [&](int e) {
    if (closed && !route.empty() && e == route.front()) return false;  // came back around
    route.push_back(static_cast<int16_t>(e));
    return true;
  };
  for (int i = 0; i < at; ++i) route.push_back(par[i]);
  int otherEnd = 0;
  bool going = true;
  if (first == node) {
    for (int q = firstPos; q <= lastPos && going; ++q) going = push(p.ElemSeq[q]);
    otherEnd = last;
  } else if (last == node) {
    for (int q = lastPos; q >= firstPos && going; --q) going = push(p.ElemSeq[q]);
    otherEnd = first;
  } else {
    ok = false;
  }
  if (ok && going && otherEnd > 0 && p.ElemType[otherEnd] != kSupply) {
    size_t j = 0;
    while (j < par.size() && par[j] != -1 && par[j] != otherEnd) ++j;
    if (j < par.size() && par[j] == otherEnd)
      for (++j; j < par.size() && par[j] != -1 && going; ++j) going = push(par[j]);
  }
  route.push_back(-1);
  return ok;
}

bool Solution::BuildPars3() {
  Project& p = p_;
  for (auto& r : Routes) r.clear();
  for (int n = 1; n <= p.HighElem; ++n)
    if (p.isPlaced(n) && isNodeType(p.ElemType[n]) && p.node[n])
      std::memset(p.node[n]->LineMembership, 0, sizeof p.node[n]->LineMembership);

  std::array<bool, kLines> pending{};
  bool anyPending = false;
  auto appendDigit = [&](int e, int k) {
    if (e <= 0 || !p.node[e]) return;
    char16_t* m = p.node[e]->LineMembership;
    int len = 0;
    while (len < 10 && m[len] != 0) ++len;
    if (len < 10) m[len] = static_cast<char16_t>('0' + k);
  };
  for (int k = 1; k <= 9; ++k) {
    if (p.LineLen[k] == 0) continue;
    int first = p.ElemSeq[p.LineStart[k] + 1], last = p.ElemSeq[p.LineEnd[k]];
    if (first > 0 && isNodeType(p.ElemType[first])) appendDigit(first, k);
    if (last > 0 && p.ElemType[last] == kGauge) appendDigit(last, k);
    pending[k] = true;
    anyPending = true;
  }
  buildRoute0();
  if (!anyPending) return true;

  // Scan the routes built so far for junctions of pending branches. A branch hanging off a branch
  // with a higher number is found on a later sweep, so the drawing order of branches never matters.
  std::array<bool, kLines> scanned{};
  bool progress = true;
  auto anyLeft = [&] {
    for (int k = 1; k <= 9; ++k)
      if (pending[k]) return true;
    return false;
  };
  while (anyLeft() && progress) {
    progress = false;
    for (int r = 0; r < kLines && anyLeft(); ++r) {
      if (Routes[r].empty() || scanned[r]) continue;
      scanned[r] = true;
      progress = true;
      for (size_t i = 0; i < Routes[r].size() && Routes[r][i] != -1 && anyLeft(); ++i) {
        int e = Routes[r][i];
        if (e <= 0 || !isNodeType(p.ElemType[e]) || !p.node[e]) continue;
        for (int k = 1; k <= 9; ++k) {
          if (!pending[k]) continue;
          bool has = false;
          for (int c = 0; c < 10 && p.node[e]->LineMembership[c] != 0; ++c)
            has = has || p.node[e]->LineMembership[c] == static_cast<char16_t>('0' + k);
          if (!has) continue;
          if (!buildBranchRoute(k, r, static_cast<int>(i)))
            host_.errorBox("Branch #" + std::to_string(k) + " route was not processed successfully!");
          pending[k] = false;
        }
      }
    }
  }
  if (anyLeft()) {
    std::string text = "Branch #";
    bool firstOne = true;
    for (int k = 1; k <= 9; ++k) {
      if (!pending[k]) continue;
      if (!firstOne) text += ", ";
      text += std::to_string(k);
      firstOne = false;
    }
    host_.errorBox(text + " route was not processed successfully!");
    return false;
  }
  return true;
}

}  // namespace vt
