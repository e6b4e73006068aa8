#include "solver/equivalent_length.h"

namespace vt {

const std::array<float, kStdPipeRows> StdPipeDiameters = {
    0.0518f, 0.0687f, 0.0874f, 0.115f,  0.1342f, 0.1723f, 0.2058f, 0.2557f,
    0.3355f, 0.4206f, 0.5054f, 0.6651f, 0.835f,  0.9948f, 1.0937f, 1.25f,
    1.4063f, 1.5678f, 1.8857f, 2.333f,  2.8333f, 3.333f,  3.8333f};

const std::array<float, kStdPipeRows> TurbulentFrictionFactors = {
    0.027f, 0.025f, 0.023f, 0.022f, 0.021f, 0.019f, 0.018f, 0.018f,
    0.017f, 0.016f, 0.015f, 0.014f, 0.014f, 0.013f, 0.013f, 0.013f,
    0.012f, 0.012f, 0.012f, 0.011f, 0.011f, 0.010f, 0.010f};

int eqLenRow(double d) {
  for (int i = 0; i < kStdPipeRows; ++i)
    if (static_cast<double>(StdPipeDiameters[i]) > d) return i;
  return kStdPipeRows - 1;  // beyond the largest size: the largest size's factor still applies best
}

double equivalentLengthFt(double k, double d) {
  return k * d / static_cast<double>(TurbulentFrictionFactors[eqLenRow(d)]);
}

}  // namespace vt
