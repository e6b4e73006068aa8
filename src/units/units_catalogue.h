// The units catalogue (Units.XML) and the current display unit of each quantity: choosing units,
// the two standard sets, the derived values (pressure factors with specific gravity, specific-heat
// label, nominal-size table, roughness unit), the units records of the configuration table, and
// conversion between internal and display values.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "units/units_in_use.h"

namespace vt {

class Prompter;
class Table;

// One selectable unit.
struct UnitRow {
  std::string family;      // Parameter: "SPress", "Flow", "Temp", "Vis", "VPress", "Length", "Velocity", "Power"
  std::string desc;        // Unit_Desc, shown in the lists
  std::string abbrev;      // Unit_abrev
  std::string shortLabel;  // Unit_4char
  double factor = 1.0;     // Unit_Fact: display units per internal unit
};

class UnitsCatalogue {
 public:
  UnitsCatalogue() = default;
  explicit UnitsCatalogue(std::vector<UnitRow> rows) : rows_(std::move(rows)) {}
  // Reads Units.XML; throws TableError naming the file when it is missing, malformed or lacks a
  // field. Rows with an empty or unknown factor get factor 1.
  static UnitsCatalogue load(const std::filesystem::path& file);
  static UnitsCatalogue fromTable(const Table& table);

  const std::vector<UnitRow>& rows() const { return rows_; }
  // Descriptions of one family in catalogue order (the items of a units list).
  std::vector<std::string> descriptions(std::string_view family) const;
  // First row of the family with exactly this description, or nullptr.
  const UnitRow* find(std::string_view family, std::string_view desc) const;

 private:
  std::vector<UnitRow> rows_;
};

// The ten quantities, in the order in which a set of choices is applied.
enum class Quantity { PHead, Flow, SHead, LiqTemp, Viscosity, VP, Dia, Len, Vel, Power };
inline constexpr std::array<Quantity, 10> kQuantities = {Quantity::PHead, Quantity::Flow,      Quantity::SHead,
                                                          Quantity::LiqTemp, Quantity::Viscosity, Quantity::VP,
                                                          Quantity::Dia,   Quantity::Len,       Quantity::Vel,
                                                          Quantity::Power};
const char* familyOf(Quantity q);  // "SPress", "Flow", ...
const char* configKey(Quantity q);  // "UnitPHead", "UnitFlow", ...
UnitChoice& choiceOf(UnitsInUse& u, Quantity q);
const UnitChoice& choiceOf(const UnitsInUse& u, Quantity q);

// One description per quantity, in kQuantities order.
using UnitDescriptions = std::array<std::string, 10>;
UnitDescriptions currentDescriptions(const UnitsInUse& u);
const UnitDescriptions& standardEnglishUnits();  // "Switch to standard E&nglish units"
const UnitDescriptions& standardSIUnits();       // "Switch to standard &SI units"

// ---- Derived values ----

// A head unit shows feet or metres of the liquid itself; every other SPress unit is a pressure.
bool isHeadUnit(const UnitChoice& c);
// The factor in use for an SPress quantity: the catalogue factor, times the specific gravity for a
// pressure unit. An unknown (-19999) or non-positive specific gravity counts as 1, so a liquid
// without a known gravity shows water pressures rather than nonsense.
double pressureFactor(const UnitChoice& c, double liqSG);
// Recomputes PHeadFactor and SHeadFactor; call whenever a pressure unit or LiqSG changes.
void updatePressureFactors(UnitsInUse& u, double liqSG);
// "Btu/lbF" for a temperature abbreviation "F", otherwise "Cal/grC".
std::string specHeatLabel(const UnitsInUse& u);
// The millimetre nominal table unless diameters are in "in" or "ft".
bool usesMillimetreTable(const UnitsInUse& u);
// Recomputes SpecHeatLabel, nominalMillimetre and both pressure factors.
void updateDerivedUnits(UnitsInUse& u, double liqSG);

// Display unit of Darcy-Weisbach roughness (internal: feet): "mm" when lengths are metric
// ("mtr", "mm" or "cm"), otherwise "millifeet".
struct RoughnessUnit {
  std::string name;
  double factor;  // display units per foot
};
RoughnessUnit roughnessUnit(const UnitsInUse& u);

// ---- Choosing units ----

// "&Accept": for each quantity in order, the first catalogue row of its family whose description
// equals the given text becomes its current unit (a text matching no row leaves the quantity as it
// is); then the derived values are recomputed.
void applyUnitChoices(UnitsInUse& u, const UnitsCatalogue& catalogue, const UnitDescriptions& descriptions,
                      double liqSG);

// "S&et as Default": asks "Use these units for new projects and at startup?" (confirmation, Yes/No).
// On Yes applies the choices as applyUnitChoices, writes the unit records into the configuration
// table and saves it. A save failure is shown as an error (the units stay applied). Returns true
// when the question was answered Yes.
bool setUnitsAsDefault(UnitsInUse& u, const UnitsCatalogue& catalogue, const UnitDescriptions& descriptions,
                       double liqSG, Table& config, Prompter& prompter);

// Writes the ten unit records of the configuration table (keyed by "Parameter"), each only when
// its record exists: "UnitPHead", "UnitFlow", "UnitSHead", "UnitDia", "UnitLen", "UnitVel" get
// Abrev, Val1 (factor), Desc and Short; "UnitLiqTemp" Abrev and Desc; "UnitViscosity", "UnitVP",
// "UnitPower" Abrev, Val1 and Desc. Does not save.
void writeUnitsToConfig(const UnitsInUse& u, Table& config);
// Reads the same records and "UnitEnglish" (unit system 'E' when its Abrev is "yes", else 'M');
// an absent record or empty field leaves that value as it is. Then recomputes the derived values.
void readUnitsFromConfig(UnitsInUse& u, const Table& config, double liqSG);

// ---- Conversion ----

double fahrenheitToCelsius(double f);
double celsiusToFahrenheit(double c);
// display = internal x factor; for PHead and SHead the effective (specific-gravity) factor, for
// LiqTemp the temperature formula when the unit is not "F".
double toDisplay(const UnitsInUse& u, Quantity q, double internal);
double toInternal(const UnitsInUse& u, Quantity q, double display);

}  // namespace vt
