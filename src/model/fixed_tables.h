// Constant tables that give meaning to the code fields of the records. A project stores only the
// indexes, so the order of every table is part of the file format.
#pragma once

#include <array>
#include <string>

namespace vt {

inline constexpr int kSupplyTypeCount = 4;
inline constexpr int kInletExitTypeCount = 9;
inline constexpr int kNominalCount = 31;

// Supply types (Node::SupplyType).
enum SupplyType { kOpenTank = 0, kClosedTank = 1, kForceMain = 2, kFreeDischarge = 3 };

const std::array<std::string, kSupplyTypeCount>& supplyTypeTexts();
const std::array<std::string, kInletExitTypeCount>& inletExitTexts();
// Loss coefficient of an inlet/exit type; 0 for an index outside the table.
float inletExitK(int index);
// Text of an index, empty outside the table.
std::string supplyTypeText(int index);
std::string inletExitText(int index);

const std::array<float, kNominalCount>& nominalInches();
const std::array<float, kNominalCount>& nominalMillimetres();
// The value at a position of the table in use; 0 outside 0..30.
float nominalSize(int position, bool millimetre);
// First position whose value equals `size` exactly, or -1.
int nominalPosition(float size, bool millimetre);
// Which table goes with a diameter unit abbreviation: the inch table for "in" and "ft".
bool nominalTableIsMillimetre(const std::string& diaAbbrev);

}  // namespace vt
