#include "units/units_catalogue.h"

#include <cmath>

#include "data/table.h"
#include "model/fixed_tables.h"
#include "model/prompter.h"

namespace vt {

UnitsCatalogue UnitsCatalogue::load(const std::filesystem::path& file) { return fromTable(Table::load(file)); }

UnitsCatalogue UnitsCatalogue::fromTable(const Table& table) {
  table.requireFields({"Parameter", "Unit_Desc", "Unit_abrev", "Unit_4char", "Unit_Fact"});
  std::vector<UnitRow> rows;
  for (const Row* r : table.rows()) {
    UnitRow u;
    u.family = r->str("Parameter");
    u.desc = r->str("Unit_Desc");
    u.abbrev = r->str("Unit_abrev");
    u.shortLabel = r->str("Unit_4char");
    u.factor = r->num("Unit_Fact", 1.0);
    if (!(u.factor > 0.0) || !std::isfinite(u.factor)) u.factor = 1.0;  // a unit must convert both ways
    rows.push_back(std::move(u));
  }
  return UnitsCatalogue(std::move(rows));
}

std::vector<std::string> UnitsCatalogue::descriptions(std::string_view family) const {
  std::vector<std::string> out;
  for (const UnitRow& r : rows_)
    if (r.family == family) out.push_back(r.desc);
  return out;
}

const UnitRow* UnitsCatalogue::find(std::string_view family, std::string_view desc) const {
  for (const UnitRow& r : rows_)
    if (r.family == family && r.desc == desc) return &r;
  return nullptr;
}

const char* familyOf(Quantity q) {
  switch (q) {
    case Quantity::PHead:
    case Quantity::SHead: return "SPress";
    case Quantity::Flow: return "Flow";
    case Quantity::LiqTemp: return "Temp";
    case Quantity::Viscosity: return "Vis";
    case Quantity::VP: return "VPress";
    case Quantity::Dia:
    case Quantity::Len: return "Length";
    case Quantity::Vel: return "Velocity";
    case Quantity::Power: return "Power";
  }
  return "";
}

const char* configKey(Quantity q) {
  switch (q) {
    case Quantity::PHead: return "UnitPHead";
    case Quantity::Flow: return "UnitFlow";
    case Quantity::SHead: return "UnitSHead";
    case Quantity::LiqTemp: return "UnitLiqTemp";
    case Quantity::Viscosity: return "UnitViscosity";
    case Quantity::VP: return "UnitVP";
    case Quantity::Dia: return "UnitDia";
    case Quantity::Len: return "UnitLen";
    case Quantity::Vel: return "UnitVel";
    case Quantity::Power: return "UnitPower";
  }
  return "";
}

UnitChoice& choiceOf(UnitsInUse& u, Quantity q) {
  switch (q) {
    case Quantity::PHead: return u.PHead;
    case Quantity::Flow: return u.Flow;
    case Quantity::SHead: return u.SHead;
    case Quantity::LiqTemp: return u.LiqTemp;
    case Quantity::Viscosity: return u.Viscosity;
    case Quantity::VP: return u.VP;
    case Quantity::Dia: return u.Dia;
    case Quantity::Len: return u.Len;
    case Quantity::Vel: return u.Vel;
    case Quantity::Power: return u.Power;
  }
  return u.Power;
}

const UnitChoice& choiceOf(const UnitsInUse& u, Quantity q) { return choiceOf(const_cast<UnitsInUse&>(u), q); }

UnitDescriptions currentDescriptions(const UnitsInUse& u) {
  UnitDescriptions d;
  for (size_t i = 0; i < kQuantities.size(); ++i) d[i] = choiceOf(u, kQuantities[i]).desc;
  return d;
}

const UnitDescriptions& standardEnglishUnits() {
  static const UnitDescriptions d = {"Feet of liquid (ft liq)", "US Gallons/min (USgpm)", "Pounds/sq.inch (psi)",
                                     "Degrees Fahr (F)",        "Square ft/sec (ft2/s)",  "Pounds/sq.inch (psi)",
                                     "Inches (in)",             "Feet (ft)",              "Feet/sec (ft/s)",
                                     "Brake hp (bhp)"};
  return d;
}

const UnitDescriptions& standardSIUnits() {
  static const UnitDescriptions d = {"Mtrs of liquid (mtr liq)", "Cubic mtrs/hr (m3/hr)", "Kpascals (Kpa)",
                                     "Degrees Cent (C)",         "Square mtr/sec (m2/s)", "Kpascals (Kpa)",
                                     "Millimeter (mm)",          "Meters (mtr)",          "Meters/second (m/s)",
                                     "Kilowatts (kW)"};
  return d;
}

// ---- Derived values ----

bool isHeadUnit(const UnitChoice& c) { return c.abbrev == "ft liq" || c.abbrev == "mtr liq"; }

double pressureFactor(const UnitChoice& c, double liqSG) {
  if (isHeadUnit(c)) return c.factor;
  double sg = (liqSG > 0.0 && std::isfinite(liqSG)) ? liqSG : 1.0;
  return c.factor * sg;
}

void updatePressureFactors(UnitsInUse& u, double liqSG) {
  u.PHeadFactor = pressureFactor(u.PHead, liqSG);
  u.SHeadFactor = pressureFactor(u.SHead, liqSG);
}

std::string specHeatLabel(const UnitsInUse& u) { return u.LiqTemp.abbrev == "F" ? "Btu/lbF" : "Cal/grC"; }

bool usesMillimetreTable(const UnitsInUse& u) { return nominalTableIsMillimetre(u.Dia.abbrev); }

void updateDerivedUnits(UnitsInUse& u, double liqSG) {
  updatePressureFactors(u, liqSG);
  u.SpecHeatLabel = specHeatLabel(u);
  u.nominalMillimetre = usesMillimetreTable(u);
}

RoughnessUnit roughnessUnit(const UnitsInUse& u) {
  const std::string& a = u.Len.abbrev;
  if (a == "mtr" || a == "mm" || a == "cm") return {"mm", 304.8};
  return {"millifeet", 1000.0};
}

// ---- Choosing units ----

void applyUnitChoices(UnitsInUse& u, const UnitsCatalogue& catalogue, const UnitDescriptions& descriptions,
                      double liqSG) {
  for (size_t i = 0; i < kQuantities.size(); ++i) {
    Quantity q = kQuantities[i];
    const UnitRow* row = catalogue.find(familyOf(q), descriptions[i]);
    if (!row) continue;
    UnitChoice& c = choiceOf(u, q);
    c.abbrev = row->abbrev;
    c.factor = row->factor;
    c.desc = row->desc;
    c.shortLabel = row->shortLabel;
  }
  updateDerivedUnits(u, liqSG);
}

namespace {

// Which fields of a unit record a quantity keeps.
struct Kept {
  bool factor;
  bool shortLabel;
};

Kept keptFields(Quantity q) {
  switch (q) {
    case Quantity::LiqTemp: return {false, false};
    case Quantity::Viscosity:
    case Quantity::VP:
    case Quantity::Power: return {true, false};
    default: return {true, true};
  }
}

}  // namespace

void writeUnitsToConfig(const UnitsInUse& u, Table& config) {
  for (Quantity q : kQuantities) {
    Row* r = config.locate({{"Parameter", configKey(q)}}, CaseRule::Insensitive);
    if (!r) continue;
    const UnitChoice& c = choiceOf(u, q);
    Kept k = keptFields(q);
    r->set("Abrev", c.abbrev);
    if (k.factor) r->set("Val1", c.factor);
    r->set("Desc", c.desc);
    if (k.shortLabel) r->set("Short", c.shortLabel);
  }
}

void readUnitsFromConfig(UnitsInUse& u, const Table& config, double liqSG) {
  if (const Row* r = config.locate({{"Parameter", "UnitEnglish"}}, CaseRule::Insensitive)) {
    if (!r->isNull("Abrev")) u.unitSystem = r->str("Abrev") == "yes" ? 'E' : 'M';
  }
  for (Quantity q : kQuantities) {
    const Row* r = config.locate({{"Parameter", configKey(q)}}, CaseRule::Insensitive);
    if (!r) continue;
    UnitChoice& c = choiceOf(u, q);
    Kept k = keptFields(q);
    if (!r->isNull("Abrev")) c.abbrev = r->str("Abrev");
    if (!r->isNull("Desc")) c.desc = r->str("Desc");
    if (k.factor) {
      double f = r->num("Val1", c.factor);
      if (f > 0.0 && std::isfinite(f)) c.factor = f;
    }
    if (k.shortLabel && !r->isNull("Short")) c.shortLabel = r->str("Short");
  }
  updateDerivedUnits(u, liqSG);
}

bool setUnitsAsDefault(UnitsInUse& u, const UnitsCatalogue& catalogue, const UnitDescriptions& descriptions,
                       double liqSG, Table& config, Prompter& prompter) {
  Answer a = prompter.message(MsgKind::Confirmation, "Use these units for new projects and at startup?",
                              Buttons::YesNo);
  if (a != Answer::Yes) return false;
  applyUnitChoices(u, catalogue, descriptions, liqSG);
  try {
    writeUnitsToConfig(u, config);
    config.save();
  } catch (const TableError& e) {
    prompter.message(MsgKind::Error, e.what(), Buttons::Ok);
  }
  return true;
}

// ---- Conversion ----

double fahrenheitToCelsius(double f) { return (f - 32.0) / 1.8; }
double celsiusToFahrenheit(double c) { return c * 1.8 + 32.0; }

namespace {

double effectiveFactor(const UnitsInUse& u, Quantity q) {
  if (q == Quantity::PHead) return u.PHeadFactor;
  if (q == Quantity::SHead) return u.SHeadFactor;
  return choiceOf(u, q).factor;
}

}  // namespace

double toDisplay(const UnitsInUse& u, Quantity q, double internal) {
  if (q == Quantity::LiqTemp) return u.LiqTemp.abbrev == "F" ? internal : fahrenheitToCelsius(internal);
  return internal * effectiveFactor(u, q);
}

double toInternal(const UnitsInUse& u, Quantity q, double display) {
  if (q == Quantity::LiqTemp) return u.LiqTemp.abbrev == "F" ? display : celsiusToFahrenheit(display);
  double f = effectiveFactor(u, q);
  return f != 0.0 ? display / f : display;
}

}  // namespace vt
