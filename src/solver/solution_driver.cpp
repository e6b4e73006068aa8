// The solution driver: one analysis or solution run from the checks to the summary lines, the
// forced-flow pass, and the window's button and clicks.
#include <cmath>
#include <cstdlib>

#include "solver/solution.h"
#include "units/number_format.h"

namespace vt {

namespace {
inline constexpr const char* kSupportText =
    " Please save the data file and send it with a short description to VORTELAN support (support@vortelan.org).";
}  // namespace

Solution::Solution(Project& project, SolveHost& host) : p_(project), host_(host) {}

bool Solution::solveCommand(Prompter& prompter) {
  Project& p = p_;
  if (p.tot_elems == 0) {
    prompter.message(MsgKind::Warning, kNoSystemText, Buttons::Ok);
    return false;
  }
  const int old = p.CurLine;
  p.CurLine = 0;
  p.RefreshSpots();
  p.proj.Analyzing = false;
  RunSolution();
  p.CurLine = old >= 0 && old < kLines && p.LineLen[old] != 0 ? old : 0;
  p.RefreshSpots();
  return true;
}

bool Solution::analyzeCommand(Prompter& prompter) {
  Project& p = p_;
  if (p.tot_elems == 0) {
    prompter.message(MsgKind::Warning, kNoElementsText, Buttons::Ok);
    return false;
  }
  p.proj.Analyzing = true;
  RunSolution();
  return true;
}

void Solution::endRun() {
  buttonCaption = "&Close";
  host_.setButtonCaption(buttonCaption);
  host_.setBusy(false);
}

void Solution::AddStatLine(const std::string& text, int n) {
  if (visible)
    list.add(text, n);
  else if (p_.proj.DebugMemory && !p_.proj.DebugHeap)
    host_.errorBox(text);
}

// ---------------------------------------------------------------- RunSolution

void Solution::RunSolution() {
  Project& p = p_;
  const int type = p.sys.SysType;
  const bool analyzing = p.proj.Analyzing;

  // 1. The window, cleared.
  supplyList.clear();
  visible = true;
  host_.showWindow();
  HasLastSolution = true;
  buttonCaption = type == 2 ? "&Close" : "&Halt";
  host_.setButtonCaption(buttonCaption);
  host_.setBusy(true);
  host_.showIndicators(false);
  list.clear();
  list.add(" Analyze start...");
  // 2-4.
  p.ComputeLines();
  if (!analyzing) {
    SolveErrors() = false;
    p.SetSolved(false);
    p.ElemHGL.fill(kNoGrade);
  }
  resetSeriesPump(series);
  lossIssues_.fill(0);
  offCurve = OffCurveWatch{};
  host_.setErrorLabel("");

  // 5. The store's consistency.
  AnalyzeInt();
  if (SolveErrors()) {
    addBlank();
    list.add(" Internal memory error!");
    list.add(kSupportText);
    endRun();
    return;
  }
  // 6. The drawn system.
  AnalyzeUser();
  if (series.inSeries) {
    list.add(kPumpsInSeriesText);
    if (!buildSeriesCurve(p, series)) list.add(kSeriesCurveErrorText);
  }
  // 7.
  if (analyzing) {
    addBlank();
    list.add(" Analyze complete...");
    endRun();
    p.proj.Analyzing = false;
    return;
  }
  // 8.
  SolvingMain() = true;
  if (SolveErrors()) {
    addBlank();
    list.add(" ...you must fix the above problem(s) before this system can be solved.");
    endRun();
    return;
  }
  // 9. Initial flows and demands.
  list.add("  - setting initial flows...");
  if (!initial() && type != 3 && !route_demands()) {
    addBlank();
    list.add(" ...Cannot route demands in system.");
    addBlank();
    endRun();
    return;
  }
  // 10.
  if (SolveErrors()) {
    addBlank();
    list.add(" ...solution process interupted.");
    endRun();
    return;
  }
  // 11.
  list.add("  - calculating static K values...");
  list.add("  - calculating head losses...");

  if (type == 1 || type == 3) {
    // 12.
    if (!BuildPars3()) {
      addBlank();
      list.add(" Cannot set element paths!");
      endRun();
      return;
    }
    Solve1();
    reportLossIssues();
    if (SolveErrors()) {
      addBlank();
      if (SolvingMain())
        list.add("  Was still solving main system...");
      else if (HasFCV && FcvIterating)
        list.add("  Was still performing FCV iterations...");
      addBlank();
      if (!offCurve.label.empty()) {
        addBlank();
        list.add(kOffCurveHintText);
        addBlank();
      }
    } else {
      list.add("  - Determining pressures at gauges and NPSH data...");
      StaticHeadDiff = kBlank;
      if (type == 1)
        collectSupplies();
      else
        StaticHeadDiff = 0;
      flo_prs1();
    }
    if (SolveErrors()) {
      addBlank();
      list.add(" ...solution process stopped.");
      endRun();
      host_.selectLastLine();
      host_.showIndicators(false);
      return;
    }
  } else {
    // 13.
    forcedFlowPass();
    reportLossIssues();
  }

  // 14. Head check.
  const int first = p.ElemSeq[1];
  if (type != 2 || (first > 0 && p.ElemType[first] == kSupply)) {
    const float error = headcheck();
    if (error > 5 && p.ActiveBranches > 0 && undefinedDeficit == 0) {
      addBlank();
      list.add("  Error - Large head error! Try using a defined pump curve...");
    }
    // Heads that fail to close by more than 5 % of the largest loss are not a solution, however the
    // iteration ended (a loose flow tolerance stops it early): the run is not reported as solved.
    if (error > 5) SolveErrors() = true;
  }
  // 15. Continuity. Flows that do not balance are not a solution.
  if (type == 1 || type == 3) {
    if (int n = node_sum(); n != 0) {
      addBlank();
      list.add(format("  Error - flows at element %s do not total zero!", {p.ElemID(std::abs(n))}));
      SolveErrors() = true;
    }
    if (int e = elem_sum(); e != 0) {
      addBlank();
      list.add(format("  Error - flows at element %s do not total zero!", {p.ElemID(e)}));
      SolveErrors() = true;
    }
  }
  // 16.
  addBlank();
  if (SolveErrors()) {
    list.add("  System has errors!");
  } else {
    list.add(kSolvedText);
    p.SetSolved(true);
    host_.systemSolved();
  }
  // 17.
  if (SolveErrors() && convergencePercent() > 80) {
    addBlank();
    addBlank();
    auto cmd = newCommand("Edit flow tolerance?");
    list.add(" Suggestion - Try a smaller flow tolerance (click here)", cmd);
    addBlank();
  }
  // 18.
  if (type == 1 || type == 3) postSolutionChecks();
  endRun();
  host_.selectLastLine();
}

void Solution::collectSupplies() {
  Project& p = p_;
  supplyList.clear();
  for (int r = 0; r < kLines; ++r) {
    if (r > 0 && p.LineLen[r] == 0) continue;
    for (int e : Routes[r]) {
      if (e <= 0 || p.ElemType[e] != kSupply) continue;
      std::string id = p.ElemID(e);
      bool known = false;
      for (const auto& s : supplyList) known = known || s == id;
      if (!known) supplyList.push_back(id);
    }
  }
  DistinctSupplies = static_cast<int>(supplyList.size());
  const int first = p.ElemSeq[1], last = p.ElemSeq[p.MainEnd - 1];
  if (DistinctSupplies == 2 && first > 0 && last > 0 && p.node[first] && p.node[last])
    StaticHeadDiff = (p.node[last]->Elev / 12.0f + p.node[last]->Pressure) -
                     (p.node[first]->Elev / 12.0f + p.node[first]->Pressure);
}

void Solution::postSolutionChecks() {
  Project& p = p_;
  const double ff = p.units.Flow.factor;
  const std::string& unit = p.units.Flow.abbrev;
  visited_.fill(0);
  bool pumpReported = false;
  for (int r = 0; r < kLines; ++r) {
    if (r > 0 && p.LineLen[r] == 0) continue;
    for (int e : Routes[r]) {
      if (e <= 0 || visited_[e]) continue;
      visited_[e] = 1;
      const int t = p.ElemType[e];
      if ((t == kValve || t == kFitting) && p.valfit[e] && p.valfit[e]->Code == kKindFcv) {
        const Valfit& v = *p.valfit[e];
        const std::string id = p.ElemID(e);
        if (v.Flow > 1.01f * v.Parm) {
          addBlank();
          list.add(format("Error! FCV ID: \"%s\" set to %f, but flow = %f %s is above set value!",
                          {id, v.Parm * ff, v.Flow * ff, unit}));
          p.SetSolved(false);
        }
        if (v.Flow * 1.05f < v.Parm && v.Coef != 0) {
          addBlank();
          list.add(format("Error! FCV ID: \"%s\" has K value = %7.2f, but flow = %7.2f is below set value of %7.2f!",
                          {id, v.Coef, v.Flow * ff, v.Parm * ff}));
          p.SetSolved(false);
        }
      } else if (t == kPump && p.pump[e] && !p.pump[e]->CurveDefined && !pumpReported &&
                 std::fabs(p.pump[e]->DesignFlow - p.pump[e]->Flow) > 0.01f) {
        addBlank();
        list.add(format(" Error - Pump ID: \"%s\" Design Flow not achieved!(click here)", {p.ElemID(e)}), e);
        pumpReported = true;
      }
    }
  }
}

// Losses the routines could not form (they count as 0) make the numbers untrustworthy: each such
// element is named once and the run stops.
void Solution::reportLossIssues() {
  Project& p = p_;
  const unsigned serious = ~(static_cast<unsigned>(kLossNoDiameterBefore) | kLossNoDiameterAfter);
  for (int e = 1; e <= kMaxElem; ++e) {
    if ((lossIssues_[e] & serious) == 0) continue;
    addBlank();
    list.add(format("  Error - head loss of element %s cannot be formed!(click here)", {p.ElemID(e)}), e);
    SolveErrors() = true;
    lossIssues_[e] = 0;
  }
}

// ---------------------------------------------------------------- forced flow

void Solution::forcedFlowPass() {
  Project& p = p_;
  RunningHGL = 0.0;
  double& H = RunningHGL;
  LoopSums unused;
  for (int pos = 1; pos < p.MainEnd; ++pos) {
    const int e = p.ElemSeq[pos];
    if (e <= 0) continue;
    switch (p.ElemType[e]) {
      case kSupply: {
        Node& nd = *p.node[e];
        H = nd.Elev / 12.0 + nd.Pressure;
        LossResult res = ElementHeadLoss(p, e, 0, nd.Flow, unused);
        lossIssues_[e] |= res.issues;
        if (res.hasLoss) {
          nd.InletHeadLoss = static_cast<float>(res.loss);
          H -= res.loss;
        }
        break;
      }
      case kGauge: {
        Node& nd = *p.node[e];
        nd.Pressure = static_cast<float>(H - nd.Elev / 12.0);
        break;
      }
      case kPipe:
      case kFitting:
      case kValve:
      case kFVH: {
        Neighbours around{p.ElemSeq[pos - 1], pos + 1 < p.MainEnd ? p.ElemSeq[pos + 1] : 0, false};
        const bool enlarge = p.ElemType[e] != kPipe && p.ElemType[e] != kFVH && p.valfit[e] &&
                             p.valfit[e]->Code == kKindEnlargeContract;
        LossResult res = ElementHeadLoss(p, e, 0, p.ElemFlow(e), unused, enlarge ? &around : nullptr);
        if (enlarge && (res.issues & kLossNoDiameterBefore)) {
          addBlank();
          list.add(kBdiaText);
        }
        lossIssues_[e] |= res.issues;
        if (res.hasLoss) {
          const float loss = static_cast<float>(res.loss);
          if (p.ElemType[e] == kPipe) p.pipe[e]->HeadLoss = loss;
          else if (p.ElemType[e] == kFVH) p.fvh[e]->HeadLoss = loss;
          else p.valfit[e]->HeadLoss = loss;
          H -= res.loss;
        }
        break;
      }
      case kPump: {
        Pump& pu = *p.pump[e];
        pu.Head = PumpHead(pu, pu.Flow);
        H += pu.Head;
        evaluateNpsh(e, true);
        break;
      }
      default: break;
    }
    p.ElemHGL[e] = static_cast<float>(H);
  }
}

// ---------------------------------------------------------------- the window's button and clicks

void Solution::MemoButtonClick(Prompter& prompter) {
  Project& p = p_;
  if (buttonCaption != "&Halt") {
    offCurve = OffCurveWatch{};
    host_.setErrorLabel("");
    visible = false;
    return;
  }
  const char* question =
      HasFCV && FcvIterating
          ? "Flow tolerance not yet reached! There are FCVs and perhaps other control valves that are still being "
            "adjusted! Do you want to halt the solution process?"
          : "Flow tolerance not yet reached! Do you want to halt the solution process?";
  if (prompter.message(MsgKind::Confirmation, question, Buttons::YesNo) != Answer::Yes) return;
  SolveErrors() = true;
  list.add("  ");
  list.add(" ...user halted solution process. System not solved!");
  list.add("  ");
  auto cmd = newCommand("Edit flow tolerance?");
  const double v = smallestFlowChange;
  const double scaled = v * p.units.Flow.factor;
  if (scaled > 0.0001 && scaled < 1) {
    const bool plain = !HasFCV && !HasPRV && !HasPSV && convergencePercent() > 50;
    list.add(format(plain ? "A flow tolerance of %-.4f " : "Without control valves, a flow tolerance of %-.4f ", {v}) +
             p.units.Flow.abbrev + " may solve this system...");
  }
  list.add(" Suggestion - Change flow tolerance (click here)", cmd);
  p.SetSolved(false);
  endRun();
}

ClickOutcome Solution::ListBoxStatMouseUp(size_t i, Prompter& prompter) {
  if (i >= list.size()) return {};
  ClickOutcome out = clickLine(list[i], p_, prompter);
  if (out.action != ClickOutcome::Action::Nothing) visible = false;
  return out;
}

}  // namespace vt
