// Head loss of one element at a given flow, and the Newton sums the loop correction feeds on.
//
// Units: flow Q in gpm (signed, positive in the line's drawn direction), lengths and diameters in
// inches, head loss in feet of liquid, pipe roughness in feet, viscosity in centistokes. Every
// routine works in double precision internally.
//
// Sound numbers. A loss routine never returns NaN, infinity or a negative value, and never puts
// one into the sums. Input it cannot use (a diameter, C or n that is not > 0, a viscosity that is
// not > 0, a negative or non-finite coefficient or length) gives a loss of 0, leaves the sums
// alone, and raises a bit of LossIssue in the optional `issues` out-parameter (bits are OR-ed in,
// never cleared), so the caller can turn it into a message line naming the element. A loss too
// large for a single-precision field is clamped to kMaxLoss and raises kLossOverflow.
//
// Nothing here shows a message box or allocates.
#pragma once

#include <cstdint>
#include <span>

#include "model/project.h"

namespace vt {

// The two running sums of the loop correction: Σ w·h and Σ dh/dq over a route, q in ft³/s.
// A routine adds to them only when its weight w is non-zero.
struct LoopSums {
  double LoopHeadSum = 0.0;
  double LoopSlopeSum = 0.0;
  void clear() { LoopHeadSum = LoopSlopeSum = 0.0; }
};

enum LossIssue : unsigned {
  kLossOk = 0,
  // Head-loss equation code not 1, 2 or 3: the pipe's loss is not computed (LossResult::hasLoss is
  // false); the caller shows kWrongHeadCalcText as an error box.
  kLossBadEquation = 1u << 0,
  kLossBadDiameter = 1u << 1,     // pipe, fitting, bore or inlet/exit diameter not > 0
  kLossBadFriction = 1u << 2,     // C or n not > 0, roughness negative, or not finite
  kLossBadViscosity = 1u << 3,    // liquid viscosity not > 0 (blank included), Darcy-Weisbach only
  kLossBadCoefficient = 1u << 4,  // K or discharge coefficient negative or not finite; C = 0 of an orifice
  kLossBadLength = 1u << 5,       // pipe length negative or not finite
  kLossOverflow = 1u << 6,        // loss beyond kMaxLoss: clamped
  // Enlarge/contract: the entry before (after) it is no pipe, fitting or valve; its diameter was
  // taken as 0.5 in (1.0 in). In the forced-flow pass the caller adds kBdiaText for the first.
  kLossNoDiameterBefore = 1u << 7,
  kLossNoDiameterAfter = 1u << 8,
  kLossBadStatedLoss = 1u << 9,   // fixed-head-loss element whose stated loss is not finite
  kLossBadFlow = 1u << 10,        // the flow itself is not finite
};

inline constexpr double kMaxLoss = 1.0e30;  // ft; fits a single-precision field
inline constexpr double kGpmPerCfs = 448.831;
inline constexpr double kCstPerFt2s = 92903.04;
inline constexpr double kTwoG = 64.348;

inline constexpr const char* kWrongHeadCalcText = "Wrong head calc equation!";
inline constexpr const char* kBdiaText = "bdia is not initialized!";

// Valfit kind codes that change how a loss is computed.
inline constexpr int16_t kKindEnlargeContract = 56;
inline constexpr int16_t kKindNozzle = 57;
inline constexpr int16_t kKindFixedLoss = -6;
inline constexpr int16_t kKindPrv = -3;
inline constexpr int16_t kKindPsv = -4;
inline constexpr int16_t kKindFcv = -5;

// The resistance factor R of a pipe under Hazen-Williams or Manning depends only on its length,
// diameter and friction value; a caller that evaluates the same pipes many times keeps one memo per
// pipe so the powers of D and C are formed once. The memo checks its inputs on every use, so an
// edited pipe or a changed equation is simply worked out again.
struct PipeFactorMemo {
  float length = 0, dia = 0;
  double friction = 0;
  int16_t equation = 0;  // 0: empty
  double R = 0.0;
};

// ---- the loss routines (n = element number, w = direction weight, usually ±1 or 0) ----

// Pipes, R = 4.727 L / (D^4.8655 C^1.85), h = R |q|^1.85.
float HazenWilliamsLoss(Project& p, int n, int w, float Q, LoopSums& sums, unsigned* issues = nullptr);
float HazenWilliamsLoss(Project& p, int n, int w, float Q, LoopSums& sums, unsigned* issues, PipeFactorMemo* memo);
// Pipes; fittings and valves (stores EqLength) and tank inlets/exits as equivalent lengths.
// Colebrook by three Newton steps above Re 2000, 64/Re at and below.
float DarcyWeisbachLoss(Project& p, int n, int w, float Q, LoopSums& sums, unsigned* issues = nullptr);
// Pipes, R = 4.66 n² L / D^5.33, h = R q².
float ManningLoss(Project& p, int n, int w, float Q, LoopSums& sums, unsigned* issues = nullptr);
float ManningLoss(Project& p, int n, int w, float Q, LoopSums& sums, unsigned* issues, PipeFactorMemo* memo);
// Fittings, valves, nozzles/orifices (orifice equation) and tank inlets/exits: h = K V²/2g.
double KValueLoss(Project& p, int n, int w, float Q, LoopSums& sums, unsigned* issues = nullptr);

// The diameter an enlarge/contract takes from neighbour m into d: a pipe's inner diameter or a
// fitting's or valve's diameter. False when m is no such element (a marker, a gauge, out of range).
bool neighbourDiameter(const Project& p, int m, float& d);

// Sets K (Coef) and Dia of the kind-56 element n from the diameters of the entries `before` and
// `after` it. followFlow: the iterative solution's rule (enlargement and contraction swap when
// n's Flow is negative); false: the drawn order decides (forced-flow pass). Returns LossIssue bits
// (kLossNoDiameterBefore/After, kLossBadDiameter when a neighbour's diameter is not > 0: K := 0).
unsigned EnlargeContractK(Project& p, int n, int before, int after, bool followFlow);
// The same for the element standing at index pos of a sequence (ElemSeq or a route); entries
// outside the sequence or not > 0 count as "no diameter".
unsigned EnlargeContractK(Project& p, std::span<const int16_t> seq, int pos, bool followFlow);

// What ElementHeadLoss found.
struct LossResult {
  double loss = 0.0;     // ft, finite; never negative except a fixed-loss element's stated loss
  bool hasLoss = false;  // false: the element has no loss of its own here (gauge, pump, a supply
                         // without inlet/exit loss) or it was not computed (kLossBadEquation):
                         // leave the stored head-loss field as it is
  unsigned issues = kLossOk;
};

// Neighbours of a kind-56 element for ElementHeadLoss (see EnlargeContractK).
struct Neighbours {
  int before = 0;
  int after = 0;
  bool followFlow = false;
};

// The dispatch by element kind. Pipe: by the head-loss equation. Fitting/valve: kind -6 its stated
// loss; kind 56 EnlargeContractK (when `around` is given; otherwise the K and diameter stored last)
// then KValueLoss; Darcy-Weisbach with equivalent lengths (not kind 57) DarcyWeisbachLoss; else
// KValueLoss. Supply: only a tank (type 0/1) with inlet/exit type ≠ 0 and K ≠ 0. FVH: FvhLoss at
// |Q| (the sums are not touched: the iteration adds an FVH's own terms). Gauge, pump: no loss.
// The caller stores `loss` in the element's head-loss field when hasLoss is set.
// `memo`, when given, is the pipe's resistance-factor memo (see PipeFactorMemo).
LossResult ElementHeadLoss(Project& p, int n, int w, float Q, LoopSums& sums,
                           const Neighbours* around = nullptr, PipeFactorMemo* memo = nullptr);

// Total head loss of a line at half the solved flows, for the pump plot. `route` is the solver's
// route of the pump's line (Routes[LineOf(pump)]), read up to its -1 end marker. Elements not placed
// are skipped; a kind-57 element without pipe diameter makes the whole result 0. A bad head-loss
// equation shows kWrongHeadCalcText through p.prompter() for each pipe. The caller treats a result
// <= 0 as "none".
float get_hl(Project& p, std::span<const int16_t> route);

}  // namespace vt
