// A long main line for the workspace benchmarks: supply, then repeating pipe, fitting, pipe,
// valve, pipe, gauge, pipe, pump ..., ending with a supply; optionally with grades as if solved.
#pragma once

#include "model/project.h"

namespace vt::bench {

inline int appendElem(Project& pr, int type, int i) {
  int n = pr.FirstFreeElem();
  pr.createElement(n, type);
  pr.setElemID(n, "E" + std::to_string(i));
  pr.insertInSeq(n, pr.LineEnd[0] + 1);
  return n;
}

inline void buildLine(Project& pr, int count, bool solved) {
  const int cycle[] = {kPipe, kFitting, kPipe, kValve, kPipe, kGauge, kPipe, kFVH};
  int n = appendElem(pr, kSupply, 0);
  pr.node[n]->SupplyType = 0;
  pr.node[n]->Elev = pr.node[n]->InletElev = 1200;
  for (int i = 1; i < count - 1; ++i) {
    int type = cycle[i % 8];
    n = appendElem(pr, type, i);
    if (type == kPipe) pr.pipe[n]->Length = static_cast<float>(600 + (i * 37) % 2400);
    if (type == kGauge) pr.node[n]->Elev = static_cast<float>((i * 53) % 900);
  }
  n = appendElem(pr, kSupply, count - 1);
  pr.node[n]->SupplyType = 3;
  if (solved) {
    float grade = 100;
    for (int p = 1; p <= pr.LineEnd[0]; ++p) {
      int k = pr.ElemSeq[p];
      if (pr.ElemType[k] == kPipe) {
        pr.pipe[k]->HeadLoss = 0.2f;
        pr.pipe[k]->Flow = 100;
        grade -= 0.2f;
      }
      pr.ElemHGL[k] = grade;
    }
    pr.proj.Solved = true;
  }
}

}  // namespace vt::bench
