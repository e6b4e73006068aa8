// Pump and FVH curves: fitting them from their points, evaluating them for the solution, the
// combined curve of pumps in series, and the off-curve watch of the iteration.
//
// Units: flow Q in gpm, heads in feet; curve coefficients are taken against q = Q / 448.831 (ft³/s).
// kBlank (-19999) marks a value that is not given in every curve field.
//
// Sound numbers: no function here returns or stores NaN or infinity. A flow increment that is not
// > 0, and FVH losses that are not > 0, are refused like blank values (the fit returns false);
// an evaluation on a record without a usable fit returns 0 (PumpNpshr: kBlank).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/project.h"

namespace vt {

// ---- fits: recompute the derived fields of a record from its inputs ----

// Cubic c0..c3 through (0,H0), (Δ,H1), (2Δ,H2), (3Δ,H3), then the NPSHR fit (FitNpshr).
// False when a head or Δ is blank (or Δ is not > 0: c0 := kBlank), or when the NPSHR points are
// given but not increasing (the cubic stays set). A pump without NPSHR points is valid.
bool FitPumpCurve(Pump& pump);
// Steps of FitPumpCurve after the cubic: NpshBase/NpshCoef/NpshExp from N1..N3 at Δ, 2Δ, 3Δ.
// All three fields read kBlank when any point is blank (returns true), or the points do not rise or
// their fit cannot be held in the record's single-precision fields (returns false).
bool FitNpshr(Pump& pump);
// a and b of h = a·q^b through h1 at Δ and h2 at 2Δ. False with a := kBlank (b kept) when h1, h2
// or Δ is blank; false with a and b := kBlank when h2 <= h1, h1 or Δ is not > 0, or the fit cannot
// be held in the record's single-precision fields.
bool FitFvhCurve(FVH& fvh);

// Texts the editors show when a fit fails.
inline constexpr const char* kPumpCurveErrorText =
    "Error with pump curve values!  Leave NPSHR values blank if not available.  NPSHR curve must be "
    "increasing if defined.";
inline constexpr const char* kFvhCurveErrorText = "Problem with FVH curve values!";

// ---- evaluations ----

// The cubic at Q (used as it stands by the forced-flow pass, the series curve and the pump plot).
float PumpHead(const Pump& pump, float Q);

struct HeadSlope {
  double head = 0.0;   // ft
  double slope = 0.0;  // dH/dq, ft per ft³/s
  bool ok = true;      // false: the record has no usable curve (defined pump with c0 blank or
                       // Δ not > 0; undefined pump with design flow not > 0), or the head at
                       // this flow does not fit a single-precision field: slope 0, head as far as
                       // it can be formed (0 for a defined pump)
};
// Defined pump: straight line from shut-off to the first point below Δ (slope 0 when H1 > H0),
// the cubic from Δ to 3Δ, head falling as 1/q beyond 3Δ. Undefined pump: its Head field, slope
// -0.1·head/(q_design/2).
HeadSlope PumpOperatingHead(const Pump& pump, float Q);

// NPSHR at Q: N1 at or below Δ, base + coef·(Q − Δ)^exp above. kBlank above Δ when the pump has
// no NPSHR curve (NpshBase blank); callers test NpshBase first.
float PumpNpshr(const Pump& pump, float Q);

// a·(|Q|/448.831)^b; 0 when the FVH has no valid fit.
float FvhLoss(const FVH& fvh, float Q);
// The slope the iteration uses: a·b·Q/448.831 with the FVH's signed flow Q (0 without a valid fit).
double FvhSlope(const FVH& fvh, float Q);

// ---- pumps in series (combined curve for the pump plot) ----

struct SeriesPumpData {
  Pump SeriesPump = newPump();
  bool inSeries = false;         // "pumps in series"
  float flowIncr = kBlank;       // combined flow increment Δc
};

inline constexpr const char* kPumpsInSeriesText = "   Pumps in main line are in series...";
inline constexpr const char* kSeriesCurveErrorText =
    "    ... error calculating combined curve for pumps in series!";

// Start of every run: flag off, Δc blank, combined heads 0, combined NPSHR points blank.
void resetSeriesPump(SeriesPumpData& s);
// The pre-solve decision: only the main line in use, at least two pumps in it, all defined.
// Sets inSeries and Δc (the first defined pump's increment); clears them otherwise.
void decideSeriesPumps(const Project& p, SeriesPumpData& s);
// With inSeries set: sums PumpHead of every main-line pump at 0, Δc, 2Δc, 3Δc into SeriesPump,
// blanks its speeds, and fits it. False when the fit fails: inSeries is then cleared. The caller
// adds kPumpsInSeriesText before and kSeriesCurveErrorText on false. True without work when the
// flag is clear.
bool buildSeriesCurve(const Project& p, SeriesPumpData& s);

// ---- off-curve watch ----

// The solution window's red error label, as the iteration drives it.
struct OffCurveWatch {
  std::string label;   // text of the label; empty when hidden
  bool visible = false;
  int setAt = 0;       // iteration count when the label was last set
  // What the label was composed from: the text is formed again only when one of these changes, so
  // a pump that stays off its curve costs no allocation per iteration.
  std::array<char16_t, kIdLen> shownId{};
  const char* shownKind = nullptr;
  double shownHundredths = 0.0;  // displayed flow in hundredths, as "%f" shows it
  std::string shownUnit;
};

inline constexpr const char* kOffCurveHintText =
    "  If pump or FVH flow is off of curve, try increasing its flow increment!";

// Called after the flow of pump (FVH) n has been corrected, with the iteration count as the
// iteration keeps it. From iteration 5 on: a defined pump above 4Δ (FVH above 3Δ) sets the label
// "Warning! Pump ID: "%s" flow = %f %s (off of curve)!" (flow in the display flow unit); otherwise,
// 5 or more iterations after it was last set, the label is hidden and emptied. Returns true when
// the label changed (the caller shows or hides it through its host); a label set again with the same
// text is no change. Undefined pumps are not watched.
bool watchPumpCurve(OffCurveWatch& watch, const Project& p, int n, int iteration);
bool watchFvhCurve(OffCurveWatch& watch, const Project& p, int n, int iteration);

}  // namespace vt
