#include "units/units_catalogue.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include <unistd.h>

#include "data/table.h"
#include "model/prompter.h"

namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::ElementsAre;

namespace {

const fs::path kData = VORTELAN_SOURCE_DATA_DIR;

const vt::UnitsCatalogue& shipped() {
  static const vt::UnitsCatalogue c = vt::UnitsCatalogue::load(kData / "Units.XML");
  return c;
}

double factor(const char* family, const char* desc) {
  const vt::UnitRow* r = shipped().find(family, desc);
  EXPECT_NE(r, nullptr) << desc;
  return r ? r->factor : 0.0;
}

TEST(UnitsCatalogue, ShippedTableHoldsBothStandardSetsAndTheTestedAbbreviations) {
  for (const vt::UnitDescriptions* set : {&vt::standardEnglishUnits(), &vt::standardSIUnits()})
    for (size_t i = 0; i < vt::kQuantities.size(); ++i)
      EXPECT_NE(shipped().find(vt::familyOf(vt::kQuantities[i]), (*set)[i]), nullptr) << (*set)[i];
  std::vector<std::string> abbrevs;
  for (const vt::UnitRow& r : shipped().rows()) abbrevs.push_back(r.abbrev);
  for (const char* a : {"ft liq", "mtr liq", "in", "ft", "mtr", "mm", "cm", "F", "cpoises"})
    EXPECT_THAT(abbrevs, Contains(a));
  // Field widths of the catalogue hold for every row.
  for (const vt::UnitRow& r : shipped().rows()) {
    EXPECT_LE(r.desc.size(), 25u) << r.desc;
    EXPECT_LE(r.abbrev.size(), 7u) << r.desc;
    EXPECT_LE(r.shortLabel.size(), 4u) << r.desc;
  }
  EXPECT_THAT(shipped().descriptions("Velocity"), ElementsAre("Feet/sec (ft/s)", "Meters/second (m/s)"));
}

// Factors against constants from published conversion tables (not derived the way the file was).
TEST(UnitsCatalogue, FactorsMatchPublishedConstants) {
  EXPECT_NEAR(1.0 / factor("SPress", "Pounds/sq.inch (psi)"), 2.3067, 1e-4);  // ft of water per psi
  EXPECT_NEAR(factor("SPress", "Kpascals (Kpa)"), 2.98907, 1e-5);            // kPa per ft of water
  EXPECT_NEAR(factor("SPress", "Mtrs of liquid (mtr liq)"), 0.3048, 1e-12);
  EXPECT_NEAR(factor("SPress", "Kg/sq.cm (kg/cm2)") * 10.0 / 0.3048, 1.0, 1e-9);  // 1 kgf/cm2 = 10 m water
  EXPECT_NEAR(1.0 / factor("Flow", "Cubic ft/sec (cfs)"), 448.831, 1e-3);
  EXPECT_NEAR(factor("Flow", "Cubic mtrs/hr (m3/hr)"), 0.2271247, 1e-7);
  EXPECT_NEAR(factor("Flow", "Liters/sec (L/s)"), 0.0630902, 1e-7);
  EXPECT_NEAR(factor("Flow", "Imp Gallons/min (Impgpm)"), 0.832674, 1e-6);
  EXPECT_NEAR(1.0 / factor("Vis", "Square ft/sec (ft2/s)"), 92903.04, 1e-2);  // cSt per ft2/s
  EXPECT_NEAR(factor("VPress", "Kpascals (Kpa)"), 6.894757, 1e-6);
  EXPECT_NEAR(1.0 / factor("VPress", "Atmospheres (atm)"), 14.69595, 1e-5);
  EXPECT_DOUBLE_EQ(factor("Length", "Feet (ft)"), 1.0 / 12.0);
  EXPECT_DOUBLE_EQ(factor("Length", "Millimeter (mm)"), 25.4);
  EXPECT_DOUBLE_EQ(factor("Velocity", "Meters/second (m/s)"), 0.3048);
  EXPECT_NEAR(factor("Power", "Kilowatts (kW)"), 0.7457, 1e-4);
}

vt::UnitsInUse english(double sg = 1.0) {
  vt::UnitsInUse u;
  vt::applyUnitChoices(u, shipped(), vt::standardEnglishUnits(), sg);
  return u;
}

TEST(Units, PressureFactorsFollowSpecificGravityOnlyForPressureUnits) {
  vt::UnitsInUse u = english(1.2);
  double psi = factor("SPress", "Pounds/sq.inch (psi)");
  EXPECT_DOUBLE_EQ(u.SHeadFactor, 1.2 * psi);
  EXPECT_DOUBLE_EQ(u.PHeadFactor, 1.0);  // ft liq
  // 2.31 ft of a liquid with SG 1.2 shows as about 1.2 psi.
  EXPECT_NEAR(vt::toDisplay(u, vt::Quantity::SHead, 2.3067), 1.2, 1e-4);

  vt::UnitDescriptions d = vt::currentDescriptions(u);
  d[2] = "Feet of liquid (ft liq)";
  vt::applyUnitChoices(u, shipped(), d, 1.2);
  EXPECT_DOUBLE_EQ(u.SHeadFactor, 1.0);
  EXPECT_EQ(u.SHead.abbrev, "ft liq");

  // A new specific gravity changes what is shown, not what is stored.
  vt::UnitsInUse m = english(1.0);
  double head = 100.0;
  double before = vt::toDisplay(m, vt::Quantity::SHead, head);
  vt::updatePressureFactors(m, 0.8);
  EXPECT_DOUBLE_EQ(vt::toDisplay(m, vt::Quantity::SHead, head), before * 0.8);
  EXPECT_DOUBLE_EQ(vt::toInternal(m, vt::Quantity::SHead, before * 0.8), head);

  // An unknown gravity shows water pressures, never a negative factor.
  vt::updatePressureFactors(m, -19999);
  EXPECT_DOUBLE_EQ(m.SHeadFactor, psi);
}

TEST(Units, DerivedValuesFollowTheChosenUnits) {
  vt::UnitsInUse u = english();
  EXPECT_FALSE(u.nominalMillimetre);
  EXPECT_EQ(u.SpecHeatLabel, "Btu/lbF");
  EXPECT_EQ(vt::roughnessUnit(u).name, "millifeet");
  EXPECT_EQ(vt::roughnessUnit(u).factor, 1000.0);

  vt::UnitDescriptions d = vt::currentDescriptions(u);
  d[6] = "Millimeter (mm)";
  vt::applyUnitChoices(u, shipped(), d, 1.0);
  EXPECT_TRUE(u.nominalMillimetre);
  EXPECT_EQ(u.Dia.abbrev, "mm");
  EXPECT_EQ(u.Dia.factor, 25.4);
  d[6] = "Feet (ft)";  // diameters in feet still use the inch table
  vt::applyUnitChoices(u, shipped(), d, 1.0);
  EXPECT_FALSE(u.nominalMillimetre);

  vt::applyUnitChoices(u, shipped(), vt::standardSIUnits(), 1.0);
  EXPECT_EQ(vt::currentDescriptions(u), vt::standardSIUnits());
  EXPECT_TRUE(u.nominalMillimetre);
  EXPECT_EQ(u.SpecHeatLabel, "Cal/grC");
  EXPECT_EQ(vt::roughnessUnit(u).name, "mm");
  EXPECT_EQ(vt::roughnessUnit(u).factor, 304.8);
  EXPECT_EQ(u.Flow.shortLabel, "m3/h");

  for (const char* len : {"Centimeter (cm)", "Millimeter (mm)"}) {
    d = vt::currentDescriptions(u);
    d[7] = len;
    vt::applyUnitChoices(u, shipped(), d, 1.0);
    EXPECT_EQ(vt::roughnessUnit(u).name, "mm") << len;
  }
}

TEST(Units, UnknownDescriptionLeavesThatQuantityAlone) {
  vt::UnitsInUse u = english();
  vt::UnitDescriptions d = vt::standardSIUnits();
  d[1] = "Buckets/hour";
  d[4] = "Feet/sec (ft/s)";  // a description of another family does not count
  vt::applyUnitChoices(u, shipped(), d, 1.0);
  EXPECT_EQ(u.Flow.desc, "US Gallons/min (USgpm)");
  EXPECT_EQ(u.Viscosity.desc, "Square ft/sec (ft2/s)");
  EXPECT_EQ(u.Len.abbrev, "mtr");
}

TEST(Units, ConversionBothWays) {
  vt::UnitsInUse u;
  vt::applyUnitChoices(u, shipped(), vt::standardSIUnits(), 1.0);
  EXPECT_NEAR(vt::toDisplay(u, vt::Quantity::LiqTemp, 212.0), 100.0, 1e-12);
  EXPECT_NEAR(vt::toDisplay(u, vt::Quantity::LiqTemp, 32.0), 0.0, 1e-12);
  EXPECT_NEAR(vt::toInternal(u, vt::Quantity::LiqTemp, -40.0), -40.0, 1e-12);
  EXPECT_NEAR(vt::toDisplay(u, vt::Quantity::Len, 39.37007874), 1.0, 1e-8);  // inches -> m
  EXPECT_NEAR(vt::toDisplay(u, vt::Quantity::Flow, 448.831), 101.9406, 1e-3);  // 1 cfs in m3/h
  for (vt::Quantity q : vt::kQuantities)
    EXPECT_NEAR(vt::toInternal(u, q, vt::toDisplay(u, q, 123.456)), 123.456, 1e-9) << vt::configKey(q);
  vt::UnitsInUse e = english();
  EXPECT_EQ(vt::toDisplay(e, vt::Quantity::LiqTemp, 60.0), 60.0);
}

// Accept versus Set as Default against a copy of the shipped configuration.
class UnitsConfig : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vt_units_cfg_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    fs::copy_file(kData / "VTDefs.XML", dir_ / "VTDefs.XML");
  }
  void TearDown() override { fs::remove_all(dir_); }
  vt::Table config() { return vt::Table::load(dir_ / "VTDefs.XML"); }
  vt::UnitsInUse startUp() {  // what a fresh start reads
    vt::UnitsInUse u;
    vt::readUnitsFromConfig(u, config(), 1.0);
    return u;
  }
  fs::path dir_;
};

TEST_F(UnitsConfig, AcceptIsLostAtNextStartSetAsDefaultSurvives) {
  vt::UnitsInUse u = startUp();
  EXPECT_EQ(u.unitSystem, 'E');
  EXPECT_EQ(u.Flow.abbrev, "USgpm");

  vt::applyUnitChoices(u, shipped(), vt::standardSIUnits(), 1.0);  // "&Accept"
  EXPECT_EQ(startUp().Flow.abbrev, "USgpm");

  vt::ScriptedPrompter no;
  no.answers = {vt::Answer::No};
  vt::Table cfg = config();
  vt::UnitsInUse v = startUp();
  EXPECT_FALSE(vt::setUnitsAsDefault(v, shipped(), vt::standardSIUnits(), 1.0, cfg, no));
  EXPECT_EQ(v.Flow.abbrev, "USgpm");  // No: nothing applied, nothing written
  EXPECT_EQ(startUp().Flow.abbrev, "USgpm");

  vt::ScriptedPrompter yes;
  yes.answers = {vt::Answer::Yes};
  EXPECT_TRUE(vt::setUnitsAsDefault(v, shipped(), vt::standardSIUnits(), 1.0, cfg, yes));
  ASSERT_EQ(yes.shown.size(), 1u);
  EXPECT_EQ(yes.shown[0].text, "Use these units for new projects and at startup?");
  EXPECT_EQ(yes.shown[0].kind, vt::MsgKind::Confirmation);
  EXPECT_EQ(yes.shown[0].buttons, vt::Buttons::YesNo);
  EXPECT_EQ(v.Flow.abbrev, "m3/hr");

  vt::UnitsInUse next = startUp();
  EXPECT_EQ(vt::currentDescriptions(next), vt::standardSIUnits());
  for (vt::Quantity q : {vt::Quantity::PHead, vt::Quantity::Flow, vt::Quantity::SHead, vt::Quantity::Dia,
                         vt::Quantity::Len, vt::Quantity::Vel}) {
    EXPECT_EQ(vt::choiceOf(next, q).abbrev, vt::choiceOf(v, q).abbrev) << vt::configKey(q);
    EXPECT_DOUBLE_EQ(vt::choiceOf(next, q).factor, vt::choiceOf(v, q).factor) << vt::configKey(q);
    EXPECT_EQ(vt::choiceOf(next, q).shortLabel, vt::choiceOf(v, q).shortLabel) << vt::configKey(q);
  }
  EXPECT_DOUBLE_EQ(next.Power.factor, v.Power.factor);
  EXPECT_TRUE(next.nominalMillimetre);
  EXPECT_EQ(next.SpecHeatLabel, "Cal/grC");
  EXPECT_EQ(next.unitSystem, 'E');  // carried through unchanged

  // The temperature record keeps only its abbreviation and description.
  vt::Table written = config();
  const vt::Row* t = written.locate({{"Parameter", "UnitLiqTemp"}});
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->str("Abrev"), "C");
  EXPECT_TRUE(t->isNull("Val1"));
  EXPECT_TRUE(t->isNull("Short"));
}

TEST_F(UnitsConfig, OnlyExistingRecordsAreWritten) {
  vt::Table cfg = config();
  cfg.remove(*cfg.locate({{"Parameter", "UnitPower"}}));
  size_t rows = cfg.rowCount();
  vt::UnitsInUse u = english();
  vt::applyUnitChoices(u, shipped(), vt::standardSIUnits(), 1.0);
  vt::writeUnitsToConfig(u, cfg);
  EXPECT_EQ(cfg.rowCount(), rows);
  EXPECT_EQ(cfg.locate({{"Parameter", "UnitPower"}}), nullptr);
  EXPECT_EQ(cfg.locate({{"Parameter", "UnitVel"}})->str("Abrev"), "m/s");
}

TEST_F(UnitsConfig, ReadingKeepsWhatTheConfigurationLacks) {
  vt::Table cfg({{"Parameter", vt::FieldType::String, 20}, {"Desc", vt::FieldType::String, 200},
                 {"Abrev", vt::FieldType::String, 7}, {"Short", vt::FieldType::String, 4},
                 {"Val1", vt::FieldType::R8}, {"Val2", vt::FieldType::R8}});
  cfg.append({{"Parameter", "UnitEnglish"}, {"Abrev", "no"}});
  cfg.append({{"Parameter", "UnitFlow"}, {"Abrev", "L/s"}, {"Desc", "Liters/sec (L/s)"}, {"Short", "L/s"}});
  vt::UnitsInUse u = english();
  vt::readUnitsFromConfig(u, cfg, 1.0);
  EXPECT_EQ(u.unitSystem, 'M');
  EXPECT_EQ(u.Flow.abbrev, "L/s");
  EXPECT_EQ(u.Flow.factor, 1.0);  // empty Val1: factor kept
  EXPECT_EQ(u.Len.abbrev, "ft");   // no record: kept
}

TEST_F(UnitsConfig, SaveFailureIsShownNotThrown) {
  vt::Table cfg = config();
  fs::remove_all(dir_);  // the folder vanished under us
  vt::ScriptedPrompter p;
  p.answers = {vt::Answer::Yes};
  vt::UnitsInUse u = english();
  EXPECT_TRUE(vt::setUnitsAsDefault(u, shipped(), vt::standardSIUnits(), 1.0, cfg, p));
  ASSERT_EQ(p.shown.size(), 2u);
  EXPECT_EQ(p.shown[1].kind, vt::MsgKind::Error);
  EXPECT_THAT(p.shown[1].text, ::testing::HasSubstr("Cannot write table file: " + (dir_ / "VTDefs.XML").string()));
  EXPECT_EQ(u.Flow.abbrev, "m3/hr");
}

TEST(UnitsCatalogue, MissingOrIncompleteFileIsAClearError) {
  EXPECT_THROW(vt::UnitsCatalogue::load("/nonexistent/Units.XML"), vt::TableError);
  vt::Table t({{"Parameter", vt::FieldType::String, 8}, {"Unit_Desc", vt::FieldType::String, 25}});
  try {
    vt::UnitsCatalogue::fromTable(t);
    FAIL();
  } catch (const vt::TableError& e) {
    EXPECT_THAT(e.what(), ::testing::HasSubstr("missing field Unit_abrev"));
  }
}

}  // namespace
