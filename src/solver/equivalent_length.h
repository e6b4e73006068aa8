// Equivalent length of a fitting: a K turned into a length of pipe of the same size at the fully
// turbulent friction factor of that size.
#pragma once

#include <array>

namespace vt {

inline constexpr int kStdPipeRows = 23;

// Inner diameters (ft) of the standard sizes, ascending, and their fully turbulent friction
// factors. Single precision on purpose: the row lookup compares against these values as stored.
extern const std::array<float, kStdPipeRows> StdPipeDiameters;
extern const std::array<float, kStdPipeRows> TurbulentFrictionFactors;

// The smallest diameter the lookup works with (ft); smaller fittings are treated as this size.
inline constexpr double kMinEqLenDia = 0.0518;

// The row for an inner diameter d (ft, double): the first row whose table diameter is greater than
// d. A diameter of 3.8333 ft or more has no such row and takes the last one.
int eqLenRow(double d);

// L = K·d / fT(row of d), ft, with d already clamped to kMinEqLenDia by the caller.
double equivalentLengthFt(double k, double d);

}  // namespace vt
