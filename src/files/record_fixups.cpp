#include "files/record_fixups.h"

#include <cmath>

#include "model/fixed_tables.h"
#include "solver/curves.h"

namespace vt {

void refreshPump(Pump& p, bool solved) {
  if (!p.CurveDefined) return;
  bool fitted = FitPumpCurve(p);
  if (fitted && solved) {
    // A good fit has FlowIncr > 0, so a flow beyond 3 increments is positive.
    p.Head = p.Flow <= 3 * p.FlowIncr ? PumpHead(p, p.Flow) : 3 * p.FlowIncr / p.Flow * p.Head3;
  }
  p.NPSHR = fitted && solved && p.NpshBase != kBlank ? PumpNpshr(p, p.Flow) : kBlank;
}

void refreshFvh(FVH& f, bool solved) {
  if (FitFvhCurve(f) && solved) f.HeadLoss = FvhLoss(f, f.Flow);
}

void convertOldNominalSize(Pipe& p) { p.NomIndex = static_cast<float>(nominalPosition(p.NomIndex, false)); }

}  // namespace vt
