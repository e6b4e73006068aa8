#include "solver/curves.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "solver/head_loss.h"
#include "units/number_format.h"

namespace vt {

namespace {

bool finite(double v) { return std::isfinite(v); }
// Whether a double can be stored in a single-precision field as a finite number.
bool fitsSingle(double v) { return std::isfinite(v) && std::fabs(v) <= FLT_MAX; }
bool blank(float v) { return v == kBlank; }

void clearNpshrFit(Pump& pump) { pump.NpshBase = pump.NpshCoef = pump.NpshExp = kBlank; }

}  // namespace

bool FitPumpCurve(Pump& pump) {
  const float H0 = pump.ShutoffHead, H1 = pump.Head1, H2 = pump.Head2, H3 = pump.Head3;
  const float delta = pump.FlowIncr;
  if (blank(H0) || blank(H1) || blank(H2) || blank(H3) || blank(delta) || !(delta > 0.0f) ||
      !finite(H0) || !finite(H1) || !finite(H2) || !finite(H3) || !finite(delta)) {
    pump.CurveCoef[0] = kBlank;
    return false;
  }
  const double h = delta / kGpmPerCfs;
  const double c3 = (H3 - 3.0 * (static_cast<double>(H2) - H1) - H0) / (6.0 * h * h * h);
  const double c2 = (static_cast<double>(H0) + H2 - 2.0 * H1) / (2.0 * h * h) - 3.0 * c3 * h;
  const double c1 = (static_cast<double>(H1) - H0) / h - c2 * h - c3 * h * h;
  if (!fitsSingle(c1) || !fitsSingle(c2) || !fitsSingle(c3)) {
    // An increment so small that the curve cannot be held: treat it as not given.
    pump.CurveCoef[0] = kBlank;
    return false;
  }
  pump.CurveCoef[0] = H0;
  pump.CurveCoef[1] = static_cast<float>(c1);
  pump.CurveCoef[2] = static_cast<float>(c2);
  pump.CurveCoef[3] = static_cast<float>(c3);
  return FitNpshr(pump);
}

bool FitNpshr(Pump& pump) {
  clearNpshrFit(pump);
  const float N1 = pump.NPSHR1, N2 = pump.NPSHR2, N3 = pump.NPSHR3;
  if (blank(N1) || blank(N2) || blank(N3)) return true;  // no NPSHR data is valid
  if (!finite(N1) || !finite(N2) || !finite(N3)) return false;
  if (N2 <= N1 || N3 <= N2) return false;
  const double delta = pump.FlowIncr;
  if (!(delta > 0.0) || !finite(delta)) return false;
  const double exponent = std::log((static_cast<double>(N2) - N1) / (static_cast<double>(N3) - N1)) / std::log(0.5);
  const double coef = (static_cast<double>(N2) - N1) / std::pow(delta, exponent);
  // The coefficient multiplies (Q − Δ)^exponent, which can be huge: held below the normal single
  // range it would lose its digits or become 0 and flatten the curve to N1.
  if (!fitsSingle(exponent) || !fitsSingle(coef) || !(coef >= FLT_MIN)) return false;
  pump.NpshBase = N1;
  pump.NpshCoef = static_cast<float>(coef);
  pump.NpshExp = static_cast<float>(exponent);
  return true;
}

bool FitFvhCurve(FVH& fvh) {
  const float h1 = fvh.HeadLoss1, h2 = fvh.HeadLoss2, delta = fvh.FlowIncr;
  if (blank(h1) || blank(h2) || blank(delta)) {
    fvh.CoefA = kBlank;
    return false;
  }
  // Not rising, or a loss or increment that is not > 0: no power law passes through the points.
  if (!(h2 > h1) || !(h1 > 0.0f) || !(delta > 0.0f) || !finite(h2) || !finite(delta)) {
    fvh.CoefA = fvh.CoefB = kBlank;
    return false;
  }
  const double b = std::log10(static_cast<double>(h1) / h2) / std::log10(0.5);
  const double a = h1 / std::pow(delta / kGpmPerCfs, b);
  // Below the normal single range a would lose its digits or become 0: a device without loss.
  if (!fitsSingle(a) || !fitsSingle(b) || !(a >= FLT_MIN)) {
    fvh.CoefA = fvh.CoefB = kBlank;
    return false;
  }
  fvh.CoefA = static_cast<float>(a);
  fvh.CoefB = static_cast<float>(b);
  return true;
}

float PumpHead(const Pump& pump, float Q) {
  const double q = Q / kGpmPerCfs;
  const float* c = pump.CurveCoef;
  const double H = c[0] + c[1] * q + c[2] * q * q + c[3] * q * q * q;
  return fitsSingle(H) ? static_cast<float>(H) : 0.0f;
}

HeadSlope PumpOperatingHead(const Pump& pump, float Q) {
  HeadSlope r;
  const double q = Q / kGpmPerCfs;
  if (!pump.CurveDefined) {
    r.head = finite(pump.Head) ? pump.Head : 0.0;
    const double qDesign = pump.DesignFlow / kGpmPerCfs;
    if (!(qDesign > 0.0) || !finite(qDesign)) {
      r.ok = false;
      return r;
    }
    r.slope = -0.1 * r.head / (qDesign / 2.0);
    return r;
  }
  const double delta = pump.FlowIncr;
  if (!(delta > 0.0) || !finite(delta) || blank(pump.CurveCoef[0])) {
    r.ok = false;
    return r;
  }
  const double H0 = pump.ShutoffHead, H1 = pump.Head1;
  if (Q < delta) {
    r.head = H0 - (Q / delta) * (H0 - H1);
    r.slope = H0 >= H1 ? (H1 - H0) / (delta / kGpmPerCfs) : 0.0;
  } else if (Q <= 3.0 * delta) {
    const float* c = pump.CurveCoef;
    r.head = PumpHead(pump, Q);
    r.slope = c[1] + 2.0 * c[2] * q + 3.0 * c[3] * q * q;
  } else {
    r.head = pump.Head3 * (3.0 * delta / kGpmPerCfs) / q;
    r.slope = -2.0 * r.head;
  }
  // The head goes into the pump's single-precision Head field: a head finite only as a double
  // would be stored as infinity.
  if (!fitsSingle(r.head) || !finite(r.slope)) {
    r.head = r.slope = 0.0;
    r.ok = false;
  }
  return r;
}

float PumpNpshr(const Pump& pump, float Q) {
  const double delta = pump.FlowIncr;
  if (Q <= delta) return pump.NPSHR1;
  if (blank(pump.NpshBase)) return kBlank;
  const double v = pump.NpshBase + pump.NpshCoef * std::pow(Q - delta, static_cast<double>(pump.NpshExp));
  return fitsSingle(v) ? static_cast<float>(v) : kBlank;
}

float FvhLoss(const FVH& fvh, float Q) {
  if (blank(fvh.CoefA) || blank(fvh.CoefB)) return 0.0f;
  const double h = fvh.CoefA * std::pow(std::fabs(Q) / kGpmPerCfs, static_cast<double>(fvh.CoefB));
  return fitsSingle(h) ? static_cast<float>(h) : 0.0f;
}

double FvhSlope(const FVH& fvh, float Q) {
  if (blank(fvh.CoefA) || blank(fvh.CoefB)) return 0.0;
  const double s = static_cast<double>(fvh.CoefA) * fvh.CoefB * Q / kGpmPerCfs;
  return finite(s) ? s : 0.0;
}

// ---- pumps in series ----

void resetSeriesPump(SeriesPumpData& s) {
  s.inSeries = false;
  s.flowIncr = kBlank;
  Pump& sp = s.SeriesPump;
  sp.FlowIncr = kBlank;
  sp.ShutoffHead = sp.Head1 = sp.Head2 = sp.Head3 = 0.0f;
  sp.NPSHR1 = sp.NPSHR2 = sp.NPSHR3 = kBlank;
}

namespace {

template <typename F>
void forEachMainLinePump(const Project& p, F f) {
  const int last = std::min<int>(p.LineEnd[0], kMaxSeq);
  for (int pos = std::max<int>(p.LineStart[0], 1); pos <= last; ++pos) {
    const int n = p.ElemSeq[pos];
    if (n >= 1 && n <= kMaxElem && p.ElemType[n] == kPump && p.pump[n]) f(*p.pump[n]);
  }
}

}  // namespace

void decideSeriesPumps(const Project& p, SeriesPumpData& s) {
  s.inSeries = false;
  for (int k = 1; k < kLines; ++k)
    if (p.LineLen[k] != 0) return;
  int pumps = 0, undefinedPumps = 0;
  float firstIncr = kBlank;
  forEachMainLinePump(p, [&](const Pump& pump) {
    ++pumps;
    if (!pump.CurveDefined)
      ++undefinedPumps;
    else if (pumps - undefinedPumps == 1)
      firstIncr = pump.FlowIncr;
  });
  if (pumps >= 2 && undefinedPumps == 0) {
    s.inSeries = true;
    s.flowIncr = firstIncr;
  }
}

bool buildSeriesCurve(const Project& p, SeriesPumpData& s) {
  if (!s.inSeries) return true;
  Pump& sp = s.SeriesPump;
  float* heads[4] = {&sp.ShutoffHead, &sp.Head1, &sp.Head2, &sp.Head3};
  const float dc = s.flowIncr;
  forEachMainLinePump(p, [&](const Pump& pump) {
    for (int i = 0; i < 4; ++i) *heads[i] += PumpHead(pump, static_cast<float>(i) * dc);
  });
  sp.Speed = sp.Speed2 = sp.Speed3 = kBlankSmall;
  sp.FlowIncr = dc;
  if (!FitPumpCurve(sp)) {
    s.inSeries = false;
    return false;
  }
  return true;
}

// ---- off-curve watch ----

namespace {

constexpr int kWatchFrom = 5;
constexpr int kWatchHold = 5;

bool watch(OffCurveWatch& w, const Project& p, const char* kind, const char16_t* id, float flow, bool off,
           int iteration) {
  if (iteration < kWatchFrom) return false;
  if (off) {
    // "%f" shows the flow to two decimals: the same hundredths give the same text, except at a
    // half-way value, whose rounding is left to the formatter.
    const double shown = flow * p.units.Flow.factor;
    const double hundredths = shown * 100.0;
    const double key = std::round(hundredths);
    const bool halfWay = std::fabs(std::fabs(hundredths - std::trunc(hundredths)) - 0.5) < 1e-6;
    const std::string& unit = p.units.Flow.abbrev;
    w.setAt = iteration;
    if (w.visible && std::isfinite(key) && !halfWay && key == w.shownHundredths && w.shownKind == kind &&
        w.shownUnit == unit && std::equal(w.shownId.begin(), w.shownId.end(), id))
      return false;  // the same text
    w.label = format("Warning! %s ID: \"%s\" flow = %f %s (off of curve)!",
                     {kind, fromWide(id, kIdLen), shown, p.units.Flow.abbrev});
    w.visible = true;
    std::copy(id, id + kIdLen, w.shownId.begin());
    w.shownKind = kind;
    w.shownHundredths = key;
    w.shownUnit = unit;
    return true;
  }
  if ((w.visible || !w.label.empty()) && iteration - w.setAt >= kWatchHold) {
    w.label.clear();
    w.visible = false;
    return true;
  }
  return false;
}

}  // namespace

bool watchPumpCurve(OffCurveWatch& w, const Project& p, int n, int iteration) {
  if (n < 1 || n > kMaxElem || !p.pump[n] || !p.pump[n]->CurveDefined) return false;
  const Pump& pump = *p.pump[n];
  const bool off = pump.FlowIncr > 0.0f && pump.Flow > 4.0f * pump.FlowIncr;
  return watch(w, p, "Pump", pump.ID, pump.Flow, off, iteration);
}

bool watchFvhCurve(OffCurveWatch& w, const Project& p, int n, int iteration) {
  if (n < 1 || n > kMaxElem || !p.fvh[n]) return false;
  const FVH& f = *p.fvh[n];
  const bool off = f.FlowIncr > 0.0f && f.Flow > 3.0f * f.FlowIncr;
  return watch(w, p, "FVH", f.ID, f.Flow, off, iteration);
}

}  // namespace vt
