// Projects built in code for the file tests and the file benchmark: a main line between two supplies
// and branches that leave it at gauges and end at supplies, with every kind of element, fitted
// curves and line membership as the program keeps them.
#pragma once

#include <string>

#include "model/project.h"
#include "solver/curves.h"

namespace sample {

// Builds `mainOthers` elements between the main line's supplies, `branches` gauges in the main
// line (one per branch) and `perBranch` elements plus a closing supply in each branch.
// mainOthers = 439, branches = 9, perBranch = 60 gives 999 elements.
inline void build(vt::Project& p, int mainOthers, int branches, int perBranch) {
  using namespace vt;
  p.ClearProject();
  int next = 0;
  auto make = [&](int type) {
    int n = ++next;
    p.createElement(n, type);
    std::string id = typeAbbrev(type) + std::to_string(n);
    p.setElemID(n, id);
    switch (type) {
      case kPipe: {
        Pipe& r = *p.pipe[static_cast<size_t>(n)];
        r.Length = 120.0f + static_cast<float>(n);
        toShort("Sch 40", r.Schedule);
        r.NomIndex = 13;
        r.InsideDia = 6.065f;
        r.Friction = 140.0;
        toWide("pipe " + id, r.Description, kDescLen);
        break;
      }
      case kFitting:
      case kValve: {
        Valfit& r = *p.valfit[static_cast<size_t>(n)];
        r.Code = type == kValve ? -1 : 12;
        r.Coef = 0.25f;
        r.Dia = 6;
        break;
      }
      case kPump: {
        Pump& r = *p.pump[static_cast<size_t>(n)];
        r.FlowIncr = 100;
        r.ShutoffHead = 100;
        r.Head1 = 95;
        r.Head2 = 85;
        r.Head3 = 70;
        r.NPSHR1 = 5;
        r.NPSHR2 = 6;
        r.NPSHR3 = 8;
        r.CurveDefined = 1;
        FitPumpCurve(r);
        r.NPSHR = kBlank;
        break;
      }
      case kFVH: {
        FVH& r = *p.fvh[static_cast<size_t>(n)];
        r.FlowIncr = 100;
        r.HeadLoss1 = 2;
        r.HeadLoss2 = 8;
        FitFvhCurve(r);
        break;
      }
      case kGauge:
      case kSupply: {
        Node& r = *p.node[static_cast<size_t>(n)];
        r.Elev = 1000;
        r.SupplyType = type == kSupply ? 0 : 0;
        break;
      }
      default: break;
    }
    return n;
  };
  const int cycle[5] = {kPipe, kFitting, kValve, kPump, kFVH};
  int pos = 0;
  auto put = [&](int v) { p.ElemSeq[static_cast<size_t>(++pos)] = static_cast<int16_t>(v); };

  std::vector<int> gauges;
  put(make(kSupply));
  int spacing = branches > 0 ? mainOthers / (branches + 1) : mainOthers;
  for (int i = 0; i < mainOthers; ++i) {
    if (branches > 0 && spacing > 0 && i > 0 && i % spacing == 0 && static_cast<int>(gauges.size()) < branches) {
      gauges.push_back(make(kGauge));
      put(gauges.back());
    }
    put(make(cycle[i % 5]));
  }
  while (static_cast<int>(gauges.size()) < branches) {
    gauges.push_back(make(kGauge));
    put(gauges.back());
  }
  put(make(kSupply));
  for (int k = 1; k <= 9; ++k) {
    put(-k);
    if (k > branches) continue;
    put(gauges[static_cast<size_t>(k - 1)]);
    for (int i = 0; i < perBranch; ++i) put(make(cycle[(i + k) % 5]));
    put(make(kSupply));
  }
  p.SeqLen = static_cast<int16_t>(pos);
  p.ComputeHighElem();
  p.ComputeMainEnd();
  p.ComputeLines();
  p.RefreshSpots();
  p.recount();
  for (int n = 1; n <= p.HighElem; ++n) p.IDList.add(p.ElemID(n), n);
  p.BuildPrevNext();
  p.idBranches(0);
  p.proj.Info[0] = "Sample";
  p.liquid.LiqDesc = "Water";
  p.liquid.LiqSG = 1.0f;
  p.SetModified(false);
}

}  // namespace sample
