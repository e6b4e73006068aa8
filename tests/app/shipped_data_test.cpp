// The shipped tables load through the table store with the fields the program reads, and hold
// the values an engineer checks first.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <set>

#include "data/table.h"
#include "model/fixed_tables.h"

namespace vt {
namespace {

namespace fs = std::filesystem;

Table shipped(const char* name) { return Table::load(fs::path(VORTELAN_SOURCE_DATA_DIR) / name); }

TEST(ShippedData, ValveAndFittingTable) {
  Table t = shipped("Valfit.XML");
  t.requireFields({"ValorFit", "Desc", "ID", ".5", ".75", "1.", "1.25", "1.5", "2.", "2.5", "4.", "6.", "8.", "12.",
                   "18."});
  std::map<long long, const Row*> byCode;
  for (const Row* r : t.rows()) {
    EXPECT_TRUE(byCode.emplace(r->integer("ID"), r).second) << "duplicate code " << r->integer("ID");
    EXPECT_FALSE(r->str("Desc").empty());
  }
  for (int code : {56, 57, -2, -3, -4, -5, -6}) EXPECT_TRUE(byCode.count(code)) << code;
  for (int code = 43; code <= 55; ++code) {
    ASSERT_TRUE(byCode.count(code)) << code;
    EXPECT_NE(byCode[code]->str("ValorFit"), "F") << "check valves are valves";
  }
  EXPECT_EQ(byCode[56]->str("ValorFit"), "F");
  EXPECT_EQ(byCode[57]->str("ValorFit"), "F");
  EXPECT_NE(byCode[-6]->str("ValorFit"), "F");
  EXPECT_FALSE(byCode.count(-1)) << "the custom kinds are not rows";

  // The size columns are not XML names: they survive writing and reading back.
  Table again = Table::fromText(t.toText());
  EXPECT_EQ(again.fields()[3].name, ".5");
  EXPECT_EQ(again.toText(), t.toText());
  EXPECT_NE(t.toText().find("fieldname=\".5\" attrname=\"_.5\""), std::string::npos);

  // K = L/D x fT: a standard 90 degree elbow is 30 fT, a gate valve 8 fT, a globe valve 340 fT.
  const Row* elbow = t.locate({{"Desc", "Elbow, 90 deg standard (threaded)"}});
  ASSERT_NE(elbow, nullptr);
  EXPECT_EQ(elbow->str("ValorFit"), "F");
  EXPECT_DOUBLE_EQ(elbow->num(".5"), 0.81);
  EXPECT_DOUBLE_EQ(elbow->num("4."), 0.51);
  EXPECT_DOUBLE_EQ(elbow->num("18."), 0.36);
  const Row* gate = t.locate({{"Desc", "Gate valve, wedge or double disc"}});
  ASSERT_NE(gate, nullptr);
  EXPECT_DOUBLE_EQ(gate->num("2."), 8 * 0.019);
  const Row* globe = t.locate({{"Desc", "Globe valve"}});
  ASSERT_NE(globe, nullptr);
  EXPECT_DOUBLE_EQ(globe->num("6."), 340 * 0.015);
  // Every ordinary row has a positive K that does not grow with size (fT falls with size).
  for (const Row* r : t.rows()) {
    long long code = r->integer("ID");
    if (code == 56 || code == -6) continue;
    double prev = 1e9;
    for (const char* col : {".5", ".75", "1.", "1.25", "1.5", "2.", "2.5", "4.", "6.", "8.", "12.", "18."}) {
      double k = r->num(col, -1);
      EXPECT_GT(k, 0) << r->str("Desc") << " " << col;
      EXPECT_LE(k, prev + 1e-12) << r->str("Desc") << " " << col;
      prev = k;
    }
  }
}

TEST(ShippedData, PipeSchedulesAndSizes) {
  Table sched = shipped("PipeSched.XML");
  Table sizes = shipped("PipeSizes.XML");
  sched.requireFields({"Index", "Description", "OldIndex", "HWCoef", "SpecRough", "MannCoef", "HideSched"});
  sizes.requireFields({"Index", "NomSize", "Thickness", "InDia", "Pipelbperft", "Maxpsi", "H20HamFact"});
  sched.addIndex("cdsPipeSched1", {"Index"}, CaseRule::Insensitive, true);
  sizes.addIndex("cdsPipeSizes1", {"Index", "NomSize"}, CaseRule::Insensitive, true);

  std::set<std::string> descriptions, oldIndexes;
  for (const Row* s : sched.rows()) {
    const std::string key = s->str("Index");
    EXPECT_EQ(key.size(), 38u);
    EXPECT_EQ(key.front(), '{');
    EXPECT_EQ(key.back(), '}');
    EXPECT_TRUE(descriptions.insert(s->str("Description")).second);
    EXPECT_EQ(s->str("OldIndex").size(), 4u);
    EXPECT_TRUE(oldIndexes.insert(s->str("OldIndex")).second);
    EXPECT_GE(s->num("HWCoef"), 100);
    EXPECT_GT(s->num("SpecRough"), 0);
    EXPECT_LT(s->num("SpecRough"), 0.001);
    EXPECT_GT(s->num("MannCoef"), 0.008);
    EXPECT_LT(s->num("MannCoef"), 0.015);
    EXPECT_FALSE(s->boolean("HideSched"));
    sizes.setRangeOn({{"Index", key}});
    EXPECT_GT(sizes.rowCount(), 5u) << s->str("Description");
    for (const Row* z : sizes.rows()) {
      const float nom = static_cast<float>(z->num("NomSize"));
      EXPECT_GE(nominalPosition(nom, false), 0) << s->str("Description") << " " << nom;
      const double id = z->num("InDia");
      EXPECT_GT(id, 0.5 * nom) << s->str("Description") << " " << nom;
      EXPECT_LT(id, nom + 1.5) << s->str("Description") << " " << nom;  // ductile iron runs large
    }
  }
  sizes.cancelRange();
  EXPECT_EQ(descriptions.size(), 19u);

  // Published inside diameters.
  auto inDia = [&](const std::string& desc, double nom) {
    const Row* s = sched.locate({{"Description", desc}});
    EXPECT_NE(s, nullptr) << desc;
    if (!s) return -1.0;
    const Row* z = sizes.findKey({Value(s->str("Index")), Value(nom)});
    return z ? z->num("InDia") : -1.0;
  };
  EXPECT_DOUBLE_EQ(inDia("Carbon steel, schedule 40", 2), 2.067);
  EXPECT_DOUBLE_EQ(inDia("Carbon steel, schedule 40", 6), 6.065);
  EXPECT_DOUBLE_EQ(inDia("Carbon steel, schedule 80", 4), 3.826);
  EXPECT_DOUBLE_EQ(inDia("Carbon steel, standard weight (STD)", 12), 12.0);
  EXPECT_DOUBLE_EQ(inDia("Carbon steel, schedule 40", 12), 11.938);
  EXPECT_DOUBLE_EQ(inDia("Copper tube, type L", 1), 1.025);
  EXPECT_DOUBLE_EQ(inDia("Copper tube, type K", 0.5), 0.527);
  EXPECT_DOUBLE_EQ(inDia("PVC, schedule 80", 3), 2.9);
  EXPECT_DOUBLE_EQ(inDia("Stainless steel, schedule 10S", 4), 4.26);
}

TEST(ShippedData, LiquidTable) {
  Table t = shipped("Liq_prop.XML");
  t.requireFields({"Description", "Temp", "Spec_Grav", "Kin_Viscosity", "Vap_Press", "Specific_Heat"});
  t.addIndex("cdsLiq_propIndex1", {"Description"}, CaseRule::Sensitive, true);
  const Row* w = t.findKey({Value("Water,Saturated at  60 deg F")});
  ASSERT_NE(w, nullptr);
  EXPECT_DOUBLE_EQ(w->num("Temp"), 60);
  EXPECT_NEAR(w->num("Spec_Grav"), 0.999, 0.0005);
  EXPECT_NEAR(w->num("Kin_Viscosity"), 1.12, 0.005);
  // Held as feet of the liquid; the program turns it back with psi = ft x SG / 2.31.
  EXPECT_NEAR(w->num("Vap_Press") * w->num("Spec_Grav") / 2.31, 0.256, 0.001);
  const Row* boiling = t.findKey({Value("Water,Saturated at 212 deg F")});
  ASSERT_NE(boiling, nullptr);
  EXPECT_NEAR(boiling->num("Vap_Press") * boiling->num("Spec_Grav") / 2.31, 14.7, 0.05);
  EXPECT_NEAR(boiling->num("Spec_Grav"), 0.958, 0.001);
  for (const Row* r : t.rows()) {
    EXPECT_LE(r->str("Description").size(), 39u);
    EXPECT_GT(r->num("Spec_Grav"), 0.6) << r->str("Description");
    EXPECT_LT(r->num("Spec_Grav"), 1.2) << r->str("Description");
    EXPECT_GT(r->num("Kin_Viscosity"), 0.2) << r->str("Description");
    EXPECT_GT(r->num("Vap_Press"), 0) << r->str("Description");
    EXPECT_GT(r->num("Specific_Heat"), 0.3) << r->str("Description");
  }
  for (const char* name : {"Sea water", "Ethylene glycol", "Propylene glycol", "Gasoline", "Kerosene", "Diesel",
                           "Fuel oil", "Crude oil, light", "Crude oil, heavy"}) {
    bool found = false;
    for (const Row* r : t.rows()) found = found || r->str("Description").rfind(name, 0) == 0;
    EXPECT_TRUE(found) << name;
  }
}

}  // namespace
}  // namespace vt
