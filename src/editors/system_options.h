// The system options and liquid form's model: system type with its forced flow or reference gauge
// and pressure, the head-loss equation with the friction conversion of every pipe, equivalent
// lengths, tolerance, atmospheric pressure (also from an elevation), the liquid and the liquid
// database, and the defaults written to the configuration file.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/project.h"

namespace vt {

class Table;

// The atmospheric pressure (Pa) at an elevation in metres: the standard atmosphere's barometric
// formula. Never negative.
float atmosphericPressurePa(double metres);

class SystemOptionsForm {
 public:
  static constexpr const char* kCaption = "VORTELAN - System Configuration";

  // liquidTablePath: DataFolder + "Liq_prop.XML"; configPath: the configuration file.
  SystemOptionsForm(Project& project, std::string liquidTablePath, std::string configPath);
  ~SystemOptionsForm();

  // ---- system ----
  static const std::vector<std::string>& typeItems();
  int typeIndex = 0;  // TypeComboBox1
  std::string flowPress, gaugeId, tol, atmPress, elev;
  bool flowPressShown() const { return typeIndex != 0; }
  bool gaugeShown() const { return typeIndex == 2; }
  std::string flowPressCaption() const;
  std::string flowPressUnit() const;
  std::string gaugeCaption() const { return "Reference gauge &ID :"; }
  const std::vector<std::string>& gaugeItems() const { return gaugeItems_; }
  void typeChanged(int index);

  // ---- equation ----
  int equation = 0;  // 1..3 selected radio button, 0 none
  bool eqLen = false;
  bool eqLenShown() const { return equation == 2; }
  void equationClicked(int eq);

  // ---- liquid ----
  const std::vector<std::string>& liquidItems() const { return liquidItems_; }
  std::string liqDesc, temp, sg, kvis, vp, specHeat;
  bool kvisEnabled = true;
  // Changes of a field's text (typed or set by the form): derive the working value.
  void setTemp(const std::string& text);
  void setSG(const std::string& text);
  void setKVis(const std::string& text);
  void setVP(const std::string& text);
  void setSpecHeat(const std::string& text);
  // The description text changed: a liquid of the database with it is loaded.
  void setDescription(const std::string& text);

  // Working values (internal units; kBlank when not known).
  double workTemp() const { return temp_; }
  double workSG() const { return sg_; }
  double workKVis() const { return kvis_; }
  double workVP() const { return vp_; }
  double workSpecHeat() const { return specHeat_; }

  // ---- units shown ----
  std::string flowUnit() const { return project_.units.Flow.abbrev; }
  std::string vpUnit() const { return project_.units.VP.abbrev; }
  std::string lengthUnit() const { return project_.units.Len.abbrev; }
  std::string tempUnit() const { return project_.units.LiqTemp.abbrev; }
  std::string viscUnit() const { return project_.units.Viscosity.abbrev; }
  std::string specHeatUnit() const { return project_.units.SpecHeatLabel; }

  // ---- buttons ----
  void calc();                 // "Calc"
  bool accept();               // "&Accept": false keeps the form open (focus() names the field)
  bool makeDefault();          // "&Default"
  void saveToDatabase();       // "Save &Liquid Properties in database"
  void deleteLiquid();         // pop-up "Delete"

  const std::string& focus() const { return focus_; }

 private:
  Prompter& prompter() { return project_.prompter(); }
  bool refuse(const std::string& message, const std::string& control);
  void fillLiquidList();
  void showKVis(double centistokes);
  bool tempIsC() const { return project_.units.LiqTemp.abbrev == "C"; }
  bool cpoises() const { return project_.units.Viscosity.abbrev == "cpoises"; }
  bool saveLiquidTable();

  Project& project_;
  std::string liquidPath_, configPath_;
  std::unique_ptr<Table> liquids_;
  std::vector<std::string> liquidItems_, gaugeItems_;
  double temp_ = kBlank, sg_ = kBlank, kvis_ = kBlank, vp_ = kBlank, specHeat_ = kBlank;
  double allowTemp_ = 0;  // no field holds it
  float newFriction_ = 0;
  int equationAtOpening_ = 0;
  bool filling_ = true;
  bool viscosityLive_ = false;
  std::string focus_;
};

}  // namespace vt
