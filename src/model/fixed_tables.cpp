#include "model/fixed_tables.h"

namespace vt {

const std::array<std::string, kSupplyTypeCount>& supplyTypeTexts() {
  static const std::array<std::string, kSupplyTypeCount> texts = {
      "reservoir/tank (open)", "reservoir/tank (closed)", "force main", "free discharge"};
  return texts;
}

const std::array<std::string, kInletExitTypeCount>& inletExitTexts() {
  static const std::array<std::string, kInletExitTypeCount> texts = {
      "No pipe inlet/exit losses",   "pipe inlet-inward projecting", "pipe inlet-flush,sharp-edged",
      "pipe inlet-flush,r/d=.02",    "pipe inlet-flush,r/d=.04",     "pipe inlet-flush,r/d=.06",
      "pipe inlet-flush,r/d=.10",    "pipe inlet-flush,r/d=.15 & up", "pipe exit-all types"};
  return texts;
}

float inletExitK(int index) {
  static const std::array<float, kInletExitTypeCount> k = {0.0f, 0.78f, 0.5f, 0.28f, 0.24f,
                                                           0.15f, 0.09f, 0.04f, 1.0f};
  return index >= 0 && index < kInletExitTypeCount ? k[static_cast<size_t>(index)] : 0.0f;
}

std::string supplyTypeText(int index) {
  return index >= 0 && index < kSupplyTypeCount ? supplyTypeTexts()[static_cast<size_t>(index)] : "";
}

std::string inletExitText(int index) {
  return index >= 0 && index < kInletExitTypeCount ? inletExitTexts()[static_cast<size_t>(index)] : "";
}

const std::array<float, kNominalCount>& nominalInches() {
  static const std::array<float, kNominalCount> t = {0.125f, 0.25f, 0.375f, 0.5f, 0.75f, 1, 1.25f, 1.5f,
                                                     2,      2.5f,  3,      3.5f, 4,     5, 6,     8,
                                                     10,     12,    14,     16,   18,    20, 22,   24,
                                                     26,     28,    30,     32,   34,    36, 42};
  return t;
}

const std::array<float, kNominalCount>& nominalMillimetres() {
  static const std::array<float, kNominalCount> t = {6,   8,   10,  15,  20,  25,  32,  40,  50,  65,  80,
                                                     90,  100, 125, 150, 200, 250, 300, 350, 400, 450, 500,
                                                     550, 600, 650, 700, 750, 800, 850, 900, 1050};
  return t;
}

float nominalSize(int position, bool millimetre) {
  if (position < 0 || position >= kNominalCount) return 0.0f;
  return (millimetre ? nominalMillimetres() : nominalInches())[static_cast<size_t>(position)];
}

int nominalPosition(float size, bool millimetre) {
  const auto& t = millimetre ? nominalMillimetres() : nominalInches();
  for (int i = 0; i < kNominalCount; ++i)
    if (t[static_cast<size_t>(i)] == size) return i;
  return -1;
}

bool nominalTableIsMillimetre(const std::string& diaAbbrev) { return !(diaAbbrev == "in" || diaAbbrev == "ft"); }

}  // namespace vt
