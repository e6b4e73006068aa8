// The display unit currently chosen for each quantity. Values are held internally in fixed units;
// display value = internal value * factor.
#pragma once

#include <string>

namespace vt {

struct UnitChoice {
  std::string abbrev;      // e.g. "ft liq"
  double factor = 1.0;     // display units per internal unit
  std::string desc;        // e.g. "Feet of liquid (ft liq)"
  std::string shortLabel;  // at most four characters, for column headings
};

struct UnitsInUse {
  UnitChoice PHead;      // pump head, NPSHA/NPSHR, FVH head losses (family SPress)
  UnitChoice Flow;       // Flow
  UnitChoice SHead;      // pressures and element head losses (family SPress)
  UnitChoice LiqTemp;    // Temp
  UnitChoice Viscosity;  // Vis
  UnitChoice VP;         // VPress
  UnitChoice Dia;        // Length
  UnitChoice Len;        // Length
  UnitChoice Vel;        // Velocity
  UnitChoice Power;      // Power

  // Effective pressure factors: the catalogue factor times the liquid's specific gravity unless
  // the unit is a head unit ("ft liq" or "mtr liq").
  double PHeadFactor = 1.0;
  double SHeadFactor = 1.0;
  std::string SpecHeatLabel = "Btu/lbF";
  bool nominalMillimetre = false;  // which nominal-size table is in use
  char unitSystem = 'E';           // from "UnitEnglish": 'E' or 'M'
};

}  // namespace vt
