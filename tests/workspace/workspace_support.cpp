#include "workspace/workspace_support.h"

namespace vt::test {

int appendElement(Project& pr, int type, const std::string& id) {
  int n = pr.FirstFreeElem();
  pr.createElement(n, type);
  pr.setElemID(n, id);
  pr.insertInSeq(n, pr.LineEnd[pr.CurLine] + 1);
  return n;
}

int addPipe(Project& pr, float length, const std::string& id) {
  int n = appendElement(pr, kPipe, id);
  pr.pipe[n]->Length = length;
  pr.pipe[n]->InsideDia = 2;
  pr.pipe[n]->Friction = 140;
  return n;
}

int addSupply(Project& pr, int supplyType, float elev, float inletElev, const std::string& id) {
  int n = appendElement(pr, kSupply, id);
  pr.node[n]->SupplyType = static_cast<int16_t>(supplyType);
  pr.node[n]->Elev = elev;
  pr.node[n]->InletElev = inletElev;
  return n;
}

int addGauge(Project& pr, float elev, const std::string& id, float demand) {
  int n = appendElement(pr, kGauge, id);
  pr.node[n]->Elev = elev;
  pr.node[n]->Flow = demand;
  return n;
}

int addPump(Project& pr, float elev, const std::string& id, int dir) {
  int n = appendElement(pr, kPump, id);
  pr.pump[n]->Elev = elev;
  pr.pump[n]->Dir = static_cast<int16_t>(dir);
  return n;
}

int addValve(Project& pr, int code, float elev, const std::string& id, int dir) {
  int n = appendElement(pr, kValve, id);
  pr.valfit[n]->Code = static_cast<int16_t>(code);
  pr.valfit[n]->Elev = elev;
  pr.valfit[n]->Dir = static_cast<int16_t>(dir);
  return n;
}

int addFitting(Project& pr, const std::string& id) { return appendElement(pr, kFitting, id); }

int addFvh(Project& pr, const std::string& id, int dir) {
  int n = appendElement(pr, kFVH, id);
  pr.fvh[n]->Dir = static_cast<int16_t>(dir);
  return n;
}

void appendShared(Project& pr, int n) { pr.insertInSeq(n, pr.LineEnd[pr.CurLine] + 1); }

std::vector<int> lineElems(const Project& pr, int k) {
  std::vector<int> out;
  for (int p = pr.LineStart[k] + 1; p <= pr.LineEnd[k]; ++p)
    if (pr.ElemSeq[p] > 0) out.push_back(pr.ElemSeq[p]);
  return out;
}

std::string lineIds(const Project& pr, int k) {
  std::string out;
  for (int n : lineElems(pr, k)) {
    if (!out.empty()) out += ' ';
    out += pr.ElemID(n);
  }
  return out;
}

}  // namespace vt::test
