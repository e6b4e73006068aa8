// Checks run before every solution: the store's own consistency, then the drawn system against the
// rules of its type. Every finding is a line of the message list.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "solver/solution.h"
#include "units/number_format.h"

namespace vt {

namespace {

const char* kindWord(int type) {
  switch (type) {
    case kPipe: return "Pipe";
    case kPump: return "Pump";
    case kFitting:
    case kValve: return "Valfit";
    case kFVH: return "FVH";
    default: return "Node";
  }
}

bool isNode(int type) { return type == kGauge || type == kSupply; }

std::string membershipOf(const Node& nd) { return fromWide(nd.LineMembership, 10); }

}  // namespace

// ---------------------------------------------------------------- AnalyzeInt

void Solution::AnalyzeInt() {
  Project& p = p_;
  SolveErrors() = false;
  bool anyLine = false;
  auto line = [&](const std::string& text, int n) {
    AddStatLine(text, n);
    anyLine = true;
  };

  // Step 2: walk the sequence, counting what stands in it.
  std::array<uint8_t, kMaxElem + 1> seen{};
  IdList ids;
  int pipes = 0, pumps = 0, valfits = 0, fvhs = 0, nodes = 0, supplies = 0, total = 0, largest = 0;
  for (int pos = 1; pos <= p.SeqLen; ++pos) {
    int n = p.ElemSeq[pos];
    if (n <= 0 || n > kMaxElem) continue;
    largest = std::max(largest, n);
    int type = p.ElemType[n];
    if (isNode(type)) {
      if (seen[n]) continue;
      if (!p.node[n]) line(format("- Error, Node #%d has Node[] undefined.", {n}), n);
      ++nodes;
      if (type == kSupply) ++supplies;
      ++total;
      seen[n] = 1;
      continue;
    }
    if (type != kPipe && type != kPump && type != kFitting && type != kValve && type != kFVH) continue;
    const std::string word = kindWord(type);
    std::string id = p.ElemID(n);
    if (ids.contains(id))
      line(format("- Error, more than one %s ID: %s", {word, id}), n);
    else
      ids.add(id, n);
    if (seen[n]) {
      line(format("- Error, Duplicate element %s #%d", {word, n}), n);
      continue;
    }
    bool present = (type == kPipe && p.pipe[n]) || (type == kPump && p.pump[n]) ||
                   ((type == kFitting || type == kValve) && p.valfit[n]) || (type == kFVH && p.fvh[n]);
    if (!present) line(format("- Error, %s #%d has %s[] undefined.", {word, n, word}), n);
    if (type == kPipe) ++pipes;
    if (type == kPump) ++pumps;
    if (type == kFitting || type == kValve) ++valfits;
    if (type == kFVH) ++fvhs;
    ++total;
    seen[n] = 1;
  }

  // Step 3: the counts against the store's counters.
  if (largest != p.HighElem) line("- Error, High number error.", 0);
  if (pipes != p.tot_pipes) line("- Error, pipe count.", 0);
  if (pumps != p.tot_pumps) line("- Error, pump count.", 0);
  if (valfits != p.tot_valfits) line("- Error, valfit count.", 0);
  if (fvhs != p.tot_fvhs) line("- Error, fvh count.", 0);
  if (nodes != p.tot_nodes) line(format("- Error, node count = %d, total nodes = %d", {nodes, p.tot_nodes}), 0);
  if (supplies != p.tot_supplies) line("- Error, supply count.", 0);
  if (total != p.tot_elems) {
    line("- Error, total count, correcting errors...", 0);
    p.tot_elems = total;
  }

  // Step 4: numbers not placed must hold nothing; placed numbers must stand where elemspot says.
  // (The record checks cover every number: they are cheap and only diagnose.)
  for (int n = 1; n <= p.HighElem && n <= kMaxElem; ++n) {
    int spot = p.elemspot[n];
    if (spot == 0) {
      if (p.pipe[n]) line("- Error, elemspot=0 and Pipe[] not nil.", n);
      if (p.pump[n]) line("- Error, elemspot=0 and Pump[] not nil.", n);
      if (p.valfit[n]) line("- Error, elemspot=0 and Valfit[] not nil.", n);
      if (p.fvh[n]) line("- Error, elemspot=0 and FVH[] not nil.", n);
      if (p.node[n]) line("- Error, elemspot=0 and Node[] not nil.", n);
    } else {
      int at = spot >= 1 && spot <= kMaxSeq ? p.ElemSeq[spot] : 0;
      if (at != n) line(format("- Error, should be equal elemspot=%d and I=%d", {at, n}), n);
    }
  }

  // Step 5: each record array against its counter and IDList.
  auto checkArray = [&](auto& arr, const char* lower, int expected, const char* totalText) {
    int count = 0;
    std::vector<const void*> ptrs;
    for (int n = 1; n <= kMaxElem; ++n) {
      if (!arr[n]) continue;
      ++count;
      ptrs.push_back(arr[n].get());
      std::string id = fromWide(arr[n]->ID, kIdLen);
      if (!p.IDList.contains(id)) line(format("- Error, %s ID = %s Not in StringList!", {lower, id}), n);
    }
    std::sort(ptrs.begin(), ptrs.end());
    if (std::adjacent_find(ptrs.begin(), ptrs.end()) != ptrs.end())
      line(format("Error, two %ss have the same memory!", {lower}), 0);
    if (count != expected && totalText) line(totalText, 0);
    return count;
  };
  checkArray(p.pipe, "pipe", p.tot_pipes, "Error, total pipe error!");
  int vcount = checkArray(p.valfit, "valfit", p.tot_valfits, nullptr);
  if (vcount != p.tot_valfits) {
    line(" !", 0);
    line("Error, total valfit error!", 0);
    line("Resetting tot_valfits! correcting errors...", 0);
    p.tot_elems += vcount - p.tot_valfits;
    p.tot_valfits = vcount;
  }
  checkArray(p.pump, "pump", p.tot_pumps, "Error, total pump error!");
  checkArray(p.fvh, "fvh", p.tot_fvhs, "Error, total fvh error!");
  int ncount = checkArray(p.node, "node", p.tot_nodes, nullptr);
  if (ncount != p.tot_nodes) line(format("- Error, node count = %d, total nodes = %d", {ncount, p.tot_nodes}), 0);

  // Step 6: IDList against the records.
  for (const auto& entry : p.IDList.entries()) {
    int n = entry.elem;
    if (n < 1 || n > kMaxElem || p.elemspot[n] == 0) {
      line(format("- Error, Element ID = %s, in list, but does not exist!", {entry.id}), 0);
      continue;
    }
    if (entry.id != p.ElemID(n)) {
      const char* word = "Node";
      switch (p.ElemType[n]) {
        case kPipe: word = "Pipe"; break;
        case kFitting:
        case kValve: word = "Valfit"; break;
        case kPump: word = "Pump"; break;
        case kFVH: word = "FVH"; break;
        default: break;
      }
      line(format("- Error, %s ID = %s, does not match ID in system!", {word, entry.id}), n);
    }
  }

  // Every finding is an internal error: the driver stops on it. A clean store leaves the flag clear.
  SolveErrors() = anyLine;
}

// ---------------------------------------------------------------- AnalyzeUser

std::shared_ptr<SolveCommand> Solution::newCommand(const std::string& hint) {
  commands.push_back(std::make_shared<SolveCommand>(SolveCommand{hint}));
  return commands.back();
}

void Solution::AnalyzeUser() {
  Project& p = p_;
  const int type = p.sys.SysType;
  addBlank();
  std::string label = type == 1   ? "Open source and discharge"
                      : type == 2 ? "Forced flow system"
                      : type == 3 ? "Closed loop recirculating system"
                                  : "";
  list.add(" System type: " + label + (type == 2 ? " - Flow direction will be left to right ->" : ""));

  if (p.ElemSeq[1] == -1 || p.MainEnd <= 1) {
    addBlank();
    list.add("- Error, No elements in main line!");
    SolveErrors() = true;
  } else if (type == 1) {
    checkOpenEnds();
    checkBranches(false);
    checkDriver(false);
  } else if (type == 3) {
    checkReferenceGauge();
    if (p.tot_supplies > 0) {
      addBlank();
      list.add("- Warning, Supply elements not allowed in recirculating systems!");
    }
    checkBranches(true);
    checkDriver(true);
  } else if (type == 2) {
    checkForcedFlow();
  } else {  // a type no rule covers cannot be solved by any of them
    addBlank();
    list.add(format("- Error, unknown system type %d!", {type}));
    SolveErrors() = true;
  }
  buildNeighbours();
  checkElements();
  const bool severalDefined = walkElevationsAndDirections();

  // Step 9: lines in use and the series decision.
  linesInUse = 0;
  for (int k = 0; k < kLines; ++k)
    if (p.LineLen[k] != 0) ++linesInUse;
  decideSeriesPumps(p, series);
  if (linesInUse != 1 || !severalDefined) series.inSeries = false;
}

void Solution::checkOpenEnds() {
  Project& p = p_;
  int first = p.ElemSeq[1];
  int last = p.ElemSeq[p.MainEnd - 1];
  bool ok = p.MainEnd - 1 > 1 && first > 0 && last > 0 && p.ElemType[first] == kSupply &&
            p.ElemType[last] == kSupply;
  if (ok) {
    if (DistinctSupplies == 2 && p.node[first] && p.node[last])
      StaticHeadDiff = (p.node[last]->Elev / 12.0f + p.node[last]->Pressure) -
                       (p.node[first]->Elev / 12.0f + p.node[first]->Pressure);
    return;
  }
  addBlank();
  auto cmd = newCommand("Edit System Type?");
  addBlank();
  list.add("- Error, for the system type above, the first and last elements of the main line must be Supplys");
  SolveErrors() = true;
  addBlank();
  list.add("  If you are trying to model a forced flow or closed loop system...");
  list.add("  Suggestion - click the System button (or click here) and select that type of system.", cmd);
}

void Solution::checkBranches(bool closedLoop) {
  Project& p = p_;
  const char* ignored = "  This Branch will be ignored when solving, if not fixed or emptied!";
  for (int k = 1; k <= 9; ++k) {
    p.idBranches(k);
    if (p.LineLen[k] == 0) continue;
    const int firstPos = p.LineStart[k] + 1, lastPos = p.LineEnd[k];
    if (p.LineLen[k] < 3) {
      addBlank();
      list.add(format("- Error, Branch #%d must have more than 2 elements total", {k}));
      list.add(ignored);
      p.LineLen[k] = 0;
      continue;
    }
    const int first = p.ElemSeq[firstPos];
    const int last = p.ElemSeq[lastPos];
    bool ignore = false;
    if (first > 0 && p.ElemType[first] == kGauge) {
      bool earlier = false;
      for (int q = 1; q < firstPos && !earlier; ++q) earlier = p.ElemSeq[q] == first;
      if (!earlier) {
        addBlank();
        list.add(format("- Warning, Branch #%d must start with a Gauge from a previous line", {k}));
        list.add(ignored);
        ignore = true;
      }
    } else {
      addBlank();
      list.add(format("- Warning, Branch #%d must start with a connected Gauge from another line", {k}));
      list.add(ignored);
      ignore = true;
    }
    const int lastType = last > 0 ? p.ElemType[last] : 0;
    bool endOk = closedLoop ? lastType == kGauge : (lastType == kGauge || lastType == kSupply);
    if (!endOk) {
      addBlank();
      list.add(closedLoop ? format("- Warning, Branch #%d must end with a connected Gauge", {k})
                          : format("- Warning, Branch #%d must end with a Supply or connected Gauge", {k}));
      list.add(ignored);
      ignore = true;
    } else if (lastType == kGauge && p.node[last] && membershipOf(*p.node[last]).empty()) {
      addBlank();
      list.add(format("- Error, The end Gauge in Branch #%d must be connected elsewhere in system (click here)",
                      {k}),
               last);
      SolveErrors() = true;
    }
    if (ignore) p.LineLen[k] = 0;
  }
}

void Solution::checkDriver(bool closedLoop) {
  Project& p = p_;
  if (p.tot_pumps > 0) return;
  if (closedLoop) {
    addBlank();
    list.add("- Error, no driver for this system - need a pump!");
    SolveErrors() = true;
    return;
  }
  bool haveFirst = false, allSame = true;
  float firstHgl = 0;
  for (int n = 1; n <= p.HighElem; ++n) {
    if (!p.isPlaced(n) || p.ElemType[n] != kSupply || !p.node[n]) continue;
    float hgl = p.node[n]->Pressure * 12.0f + p.node[n]->Elev;
    if (!haveFirst) {
      haveFirst = true;
      firstHgl = hgl;
    } else if (std::fabs(hgl - firstHgl) > 0.001f) {
      allSame = false;
    }
  }
  if (allSame) {
    addBlank();
    list.add("- Error, no driver for this system - no static head difference or pump!");
    SolveErrors() = true;
  }
}

void Solution::checkReferenceGauge() {
  Project& p = p_;
  const int r = p.sys.RefGauge;
  if (r <= 0 || r > kMaxElem || !p.isPlaced(r)) {
    addBlank();
    auto cmd = newCommand("Edit reference gauge?");
    list.add("- Error, there is no reference gauge for this closed loop system!");
    SolveErrors() = true;
    list.add("  Suggestion - define reference gauge - (click here)", cmd);
  } else {
    bool inMain = false;
    for (int q = 1; q < p.MainEnd && !inMain; ++q) inMain = p.ElemSeq[q] == r;
    if (!inMain) {
      addBlank();
      list.add("- Error, reference gauge must be in main line! Please check...", r);
      SolveErrors() = true;
    }
  }
  if (r >= 1 && r <= kMaxElem && p.ElemType[r] != kGauge) {
    addBlank();
    list.add("- Error, reference gauge number refers to another element! Please check...", r);
    SolveErrors() = true;
  }
}

void Solution::checkForcedFlow() {
  Project& p = p_;
  for (int k = 1; k <= 9; ++k) p.LineLen[k] = 0;
  list.add(" Any Branches will be ignored.");
  int first = p.ElemSeq[1];
  if (first > 0 && p.ElemType[first] == kSupply)
    list.add("  System will be solved for head losses and intermediate pressures.");
  else
    list.add("  System will be solved for head losses. Will assume zero starting HGL.");
  int last = p.ElemSeq[p.MainEnd - 1];
  if (last > 0 && p.ElemType[last] == kSupply)
    list.add("  Supply element at end of main line will be ignored. Should be changed to a gauge.");
  // Without a forced flow every result would be built on the blank marker.
  if (!std::isfinite(p.sys.SysFlowPress) || p.sys.SysFlowPress == kBlank) {
    addBlank();
    list.add("- Error, no forced flow is given for this system!");
    SolveErrors() = true;
  }
  for (int pos = 1; pos < p.MainEnd; ++pos) {
    int e = p.ElemSeq[pos];
    if (e <= 0) continue;
    std::string id = p.ElemID(e);
    int t = p.ElemType[e];
    if (t == kPump && p.pump[e] && p.pump[e]->Dir != 1) {
      addBlank();
      list.add(format("- Error, Forced flow direction (to right) opposes Pump %s  allowable direction.(click here)",
                      {id}),
               e);
      SolveErrors() = true;
    } else if ((t == kFitting || t == kValve) && p.valfit[e] && isDirectionalKind(p.valfit[e]->Code) &&
               p.valfit[e]->Dir != 1) {
      addBlank();
      list.add(format("- Error, Forced flow direction (to right) opposes Valve or Fitting %s  allowable "
                      "direction.(click here)",
                      {id}),
               e);
      SolveErrors() = true;
    } else if (t == kFVH && p.fvh[e] && p.fvh[e]->Dir != 1) {
      addBlank();
      list.add(format("- Error, Forced flow direction -> opposes FVH %s  allowable direction.(click here)", {id}),
               e);
      SolveErrors() = true;
    }
  }
  addBlank();
}

void Solution::buildNeighbours() {
  Project& p = p_;
  const bool closed = p.sys.SysType == 3;
  for (int n = 1; n <= p.HighElem; ++n) p.PrevElem[n] = p.NextElem[n] = 0;
  auto setMain = [&](int i, int n) {
    if (closed && i == p.MainEnd - 1) {
      p.NextElem[n] = p.ElemSeq[1];
      p.PrevElem[n] = p.ElemSeq[i - 1];
      if (i == 1) p.PrevElem[n] = p.ElemSeq[p.MainEnd - 1];
    } else if (closed && i == 1) {
      p.NextElem[n] = p.ElemSeq[2];
      p.PrevElem[n] = p.ElemSeq[p.MainEnd - 1];
    } else {
      p.NextElem[n] = p.ElemSeq[i + 1];
      p.PrevElem[n] = p.ElemSeq[i - 1];
    }
  };
  int prevNode = 0;  // the node just before, in the same line
  for (int i = 1; i <= p.SeqLen; ++i) {
    int n = p.ElemSeq[i];
    if (n <= 0) {
      prevNode = 0;
      continue;
    }
    if (i < p.MainEnd) {
      setMain(i, n);
    } else {
      int before = p.ElemSeq[i - 1];
      int after = i + 1 <= p.SeqLen ? p.ElemSeq[i + 1] : 0;
      if (before > 0 && after > 0) {
        p.NextElem[n] = static_cast<int16_t>(after);
        p.PrevElem[n] = static_cast<int16_t>(before);
      }
    }
    if (isNode(p.ElemType[n])) {
      if (prevNode > 0) {
        addBlank();
        list.add(format("- Error, Cannot have gauges (%s) next to each other or Supply elements!(click here)",
                        {p.ElemID(prevNode)}),
                 prevNode);
        SolveErrors() = true;
      }
      prevNode = n;
    } else {
      prevNode = 0;
    }
  }
  // A node shared with branches keeps its main-line neighbours.
  for (int i = 1; i < p.MainEnd; ++i) {
    int n = p.ElemSeq[i];
    if (n > 0) setMain(i, n);
  }
}

void Solution::checkElements() {
  Project& p = p_;
  const bool closed = p.sys.SysType == 3;
  for (int n = 1; n <= kMaxElem; ++n) {
    if (!p.isPlaced(n)) continue;
    const std::string id = p.ElemID(n);
    const int t = p.ElemType[n];
    if (t == kPipe && p.pipe[n]) {
      const Pipe& pp = *p.pipe[n];
      double f = pp.Friction;
      bool out = false;
      switch (p.sys.HeadCalc) {
        case 1: out = !(f >= 40 && f <= 200); break;
        case 2: out = !(f >= 1e-7 && f <= 1); break;
        case 3: out = !(f >= 0.0001 && f <= 1); break;
        default: break;
      }
      if (out) {
        addBlank();
        list.add(format("- Warning, pipe %s, Friction value is out of range!(click here)", {id}), n);
      }
      // A pipe whose loss cannot be formed would make every number downstream wrong.
      if (!(pp.InsideDia > 0) || !std::isfinite(pp.InsideDia)) {
        addBlank();
        list.add(format("- Error, pipe %s, Inside Dia must be greater than zero!(click here)", {id}), n);
        SolveErrors() = true;
      }
      if (!(pp.Length >= 0) || !std::isfinite(pp.Length)) {
        addBlank();
        list.add(format("- Error, pipe %s, Length cannot be negative!(click here)", {id}), n);
        SolveErrors() = true;
      }
      bool frictionBad = !std::isfinite(f) || (p.sys.HeadCalc == 2 ? f < 0 : f <= 0);
      if (frictionBad && p.sys.HeadCalc >= 1 && p.sys.HeadCalc <= 3) {
        addBlank();
        list.add(format("- Error, pipe %s, Friction value cannot be used!(click here)", {id}), n);
        SolveErrors() = true;
      }
    } else if (t == kPump && p.pump[n]) {
      const Pump& pu = *p.pump[n];
      const bool usable = pu.CurveDefined ? (pu.CurveCoef[0] != kBlank && pu.FlowIncr > 0 && std::isfinite(pu.FlowIncr))
                                          : (pu.DesignFlow > 0 && std::isfinite(pu.DesignFlow));
      if (!usable) {
        addBlank();
        list.add(format(pu.CurveDefined ? "- Error, pump %s, head curve cannot be used!(click here)"
                                        : "- Error, pump %s, Design Flow must be greater than zero!(click here)",
                        {id}),
                 n);
        SolveErrors() = true;
      }
    } else if (t == kFVH && p.fvh[n]) {
      const FVH& f = *p.fvh[n];
      if (f.CoefA == kBlank || !std::isfinite(f.CoefA) || !std::isfinite(f.CoefB) || !(f.FlowIncr > 0)) {
        addBlank();
        list.add(format("- Error, FVH %s, head loss curve cannot be used!(click here)", {id}), n);
        SolveErrors() = true;
      }
    } else if (t == kGauge && closed && p.node[n] && p.node[n]->Flow != 0) {
      addBlank();
      list.add(format("- Error, gauge %s, cannot have demands in a closed loop system! (click here)", {id}), n);
      SolveErrors() = true;
    } else if ((t == kFitting || t == kValve) && p.valfit[n]) {
      const Valfit& v = *p.valfit[n];
      if (v.Code == kKindNozzle) {
        if (v.Coef <= 0) {
          addBlank();
          list.add(format("- Error, nozzle/orifice %s, C value in <= 0.0!(click here)", {id}), n);
          SolveErrors() = true;
        }
        if (!(v.Parm > v.Dia)) {
          addBlank();
          list.add(format("- Error, nozzle/orifice %s, Larger Dia must be larger than Inside Dia!(click here)", {id}),
                   n);
          SolveErrors() = true;
        }
        if (p.sys.HeadCalc == 2 && p.sys.EqLen) {
          addBlank();
          list.add(format("- Warning, nozzle/orifice %s, use with viscosities similar to water only!(click here)",
                          {id}),
                   n);
        }
      } else if (v.Code != kKindFixedLoss && v.Code != kKindEnlargeContract && v.Coef != 0 && !(v.Dia > 0)) {
        addBlank();
        list.add(format("- Error, valve or fitting %s, Dia must be greater than zero!(click here)", {id}), n);
        SolveErrors() = true;
      }
    }
  }
  // An equation code the loss routines do not know would leave every pipe without a loss; one box
  // and one line say so, instead of a box for every pipe in every iteration.
  if (p.tot_pipes > 0 && (p.sys.HeadCalc < 1 || p.sys.HeadCalc > 3)) {
    host_.errorBox(kWrongHeadCalcText);
    addBlank();
    list.add(std::string("- Error, ") + kWrongHeadCalcText);
    SolveErrors() = true;
  }
  // Darcy-Weisbach needs the liquid's viscosity.
  const double nu = p.liquid.LiqKVis;
  if (p.sys.HeadCalc == 2 && (!(nu > 0) || !std::isfinite(nu))) {
    addBlank();
    list.add("- Error, the liquid's viscosity must be greater than zero for Darcy-Weisbach!");
    SolveErrors() = true;
  }
}

bool Solution::walkElevationsAndDirections() {
  Project& p = p_;
  bool haveElev = false;
  float known = 0, length = 0;
  int lastPipe = 0, lineDir = 0;
  enum class Series { None, One, Several, Broken } state = Series::None;
  undefinedPumps = 0;
  for (int pos = 1; pos <= p.SeqLen; ++pos) {
    int e = p.ElemSeq[pos];
    if (e <= 0) {
      haveElev = false;
      length = 0;
      lastPipe = 0;
      lineDir = 0;
      continue;
    }
    const int t = p.ElemType[e];
    const std::string id = p.ElemID(e);
    bool hasElev = false;
    float elev = 0;
    int dir = 0;
    if (t == kPipe && p.pipe[e]) {
      if (haveElev) {
        length += p.pipe[e]->Length;
        lastPipe = e;
      }
    } else if (isNode(t) && p.node[e]) {
      const Node& nd = *p.node[e];
      hasElev = true;
      elev = (t == kSupply && (nd.SupplyType == 0 || nd.SupplyType == 1)) ? nd.InletElev : nd.Elev;
    } else if (t == kPump && p.pump[e]) {
      hasElev = true;
      elev = p.pump[e]->Elev;
      dir = p.pump[e]->Dir;
    } else if (t == kFVH && p.fvh[e]) {
      hasElev = true;
      elev = p.fvh[e]->Elev;
      dir = p.fvh[e]->Dir;
    } else if ((t == kFitting || t == kValve) && p.valfit[e] && isDirectionalKind(p.valfit[e]->Code)) {
      dir = p.valfit[e]->Dir;
    }
    if (hasElev) {
      if (haveElev && length > 12.0f && std::fabs(elev - known) > 2.0f * length && lastPipe > 0) {
        addBlank();
        list.add(format("- Warning, Pipe: %s is shorter than elev change!(click here)", {p.ElemID(lastPipe)}),
                 lastPipe);
      }
      known = elev;
      haveElev = true;
      length = 0;
    }
    if (dir != 0) {
      if (lineDir == 0) {
        lineDir = dir;
      } else if (dir != lineDir) {
        addBlank();
        list.add(format("- Error, element %s opposes another directional element!(click here)", {id}), e);
      }
    }
    if (t == kPump && p.pump[e]) {
      const bool defined = p.pump[e]->CurveDefined != 0;
      if (pos < p.MainEnd) {
        if (!defined)
          state = Series::Broken;
        else if (state == Series::None)
          state = Series::One;
        else if (state == Series::One)
          state = Series::Several;
      }
      if (!defined) {
        ++undefinedPumps;
        if (p.sys.SysType == 2) {
          addBlank();
          list.add(format("- Error, Cannot have undefined pump %s in forced flow system!(click here)", {id}), e);
          SolveErrors() = true;
        }
      }
    }
    if ((t == kFitting || t == kValve) && p.valfit[e]) {
      const int code = p.valfit[e]->Code;
      if (p.sys.SysType == 2 && (code == kKindPrv || code == kKindPsv || code == kKindFcv)) {
        addBlank();
        list.add(format("- Error, Cannot have PRVs, FCV or PSV valves in forced flow system! %s (click here)", {id}),
                 e);
        SolveErrors() = true;
      }
      if (code == kKindEnlargeContract) {
        auto diameterElement = [&](int m) {
          if (m <= 0 || m > kMaxElem) return false;
          int mt = p.ElemType[m];
          if (mt == kPipe) return true;
          if ((mt == kFitting || mt == kValve) && p.valfit[m])
            return p.valfit[m]->Code != kKindFixedLoss && p.valfit[m]->Code != kKindEnlargeContract;
          return false;
        };
        int before = p.ElemSeq[pos - 1];
        int after = pos + 1 <= p.SeqLen ? p.ElemSeq[pos + 1] : 0;
        if (!diameterElement(before) || !diameterElement(after)) {
          addBlank();
          list.add(format("- Error, Must have diameter elements on both sides of enlargement/reducer %s!(click here)",
                          {id}),
                   e);
          SolveErrors() = true;
        }
      }
    }
  }
  return state == Series::Several;
}

}  // namespace vt
