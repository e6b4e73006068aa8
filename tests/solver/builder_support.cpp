#include "solver/builder_support.h"

#include "solver/curves.h"

namespace vt::test {

void useWaterAndPlainUnits(Project& p) {
  p.liquid.LiqDesc = "Water";
  p.liquid.LiqTemp = 60.0f;
  p.liquid.LiqSG = 1.0f;
  p.liquid.LiqVP = 0.2563f;
  p.liquid.LiqKVis = 1.1;
  p.sys.AtmPress = 14.7f;
  p.sys.FlowTol = 0.001f;
  p.units.Flow = {"gpm", 1.0, "Gallons per minute (gpm)", "gpm"};
  p.units.PHead = {"ft liq", 1.0, "Feet of liquid (ft liq)", "ft"};
  p.units.SHead = {"ft liq", 1.0, "Feet of liquid (ft liq)", "ft"};
  p.units.PHeadFactor = 1.0;
  p.units.SHeadFactor = 1.0;
}

SystemBuilder::SystemBuilder(Project& p) : p_(p) { useWaterAndPlainUnits(p); }

int SystemBuilder::create(int type, const std::string& id) {
  int n = p_.FirstFreeElem();
  p_.createElement(n, type);
  p_.setElemID(n, id);
  return n;
}

int SystemBuilder::place(int line, int n) {
  int pos = line >= 9 ? p_.SeqLen + 1 : p_.LineEnd[line] + 1;
  p_.insertInSeq(n, pos);
  return n;
}

int SystemBuilder::supply(int line, const std::string& id, double elevFt, double pressureFt, int supplyType,
                          float inletK, float inletDiaIn) {
  int n = create(kSupply, id);
  Node& nd = *p_.node[n];
  nd.Elev = static_cast<float>(elevFt * 12.0);
  nd.InletElev = nd.Elev;
  nd.Pressure = static_cast<float>(pressureFt);
  nd.SupplyType = static_cast<int16_t>(supplyType);
  nd.InletExitType = inletK != 0 ? 1 : 0;
  nd.InletK = inletK;
  nd.InletDia = inletDiaIn;
  return place(line, n);
}

int SystemBuilder::pipe(int line, const std::string& id, double lengthFt, double diaIn, double friction) {
  int n = create(kPipe, id);
  Pipe& pp = *p_.pipe[n];
  pp.Length = static_cast<float>(lengthFt * 12.0);
  pp.InsideDia = static_cast<float>(diaIn);
  pp.Friction = friction;
  return place(line, n);
}

int SystemBuilder::gauge(int line, const std::string& id, double elevFt, float demandGpm) {
  int n = create(kGauge, id);
  p_.node[n]->Elev = static_cast<float>(elevFt * 12.0);
  p_.node[n]->Flow = demandGpm;
  return place(line, n);
}

int SystemBuilder::pump(int line, const std::string& id, std::array<float, 4> heads, float incr, double elevFt,
                        int dir) {
  int n = create(kPump, id);
  Pump& pu = *p_.pump[n];
  pu.ShutoffHead = heads[0];
  pu.Head1 = heads[1];
  pu.Head2 = heads[2];
  pu.Head3 = heads[3];
  pu.FlowIncr = incr;
  pu.Elev = static_cast<float>(elevFt * 12.0);
  pu.Dir = static_cast<int16_t>(dir);
  pu.CurveDefined = 1;
  FitPumpCurve(pu);
  return place(line, n);
}

int SystemBuilder::undefinedPump(int line, const std::string& id, float designFlow, double elevFt, int dir) {
  int n = create(kPump, id);
  Pump& pu = *p_.pump[n];
  pu.DesignFlow = designFlow;
  pu.Elev = static_cast<float>(elevFt * 12.0);
  pu.Dir = static_cast<int16_t>(dir);
  pu.CurveDefined = 0;
  return place(line, n);
}

int SystemBuilder::valve(int line, const std::string& id, int code, float k, float diaIn, int dir, float parm,
                         double elevFt, int type) {
  int n = create(type, id);
  Valfit& v = *p_.valfit[n];
  v.Code = static_cast<int16_t>(code);
  v.Coef = k;
  v.Dia = diaIn;
  v.Dir = static_cast<int16_t>(dir);
  v.Parm = parm;
  v.Elev = static_cast<float>(elevFt * 12.0);
  return place(line, n);
}

int SystemBuilder::fvh(int line, const std::string& id, float incr, float h1, float h2, double elevFt, int dir) {
  int n = create(kFVH, id);
  FVH& f = *p_.fvh[n];
  f.FlowIncr = incr;
  f.HeadLoss1 = h1;
  f.HeadLoss2 = h2;
  f.Elev = static_cast<float>(elevFt * 12.0);
  f.Dir = static_cast<int16_t>(dir);
  FitFvhCurve(f);
  return place(line, n);
}

}  // namespace vt::test
