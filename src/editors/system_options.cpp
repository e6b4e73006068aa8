#include "editors/system_options.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "data/table.h"
#include "editors/config_defaults.h"
#include "editors/editor_common.h"
#include "units/number_format.h"
#include "units/units_catalogue.h"

namespace vt {

namespace {
constexpr double kFtPerPsi = 2.31;  // feet of water per psi

bool metricLength(const std::string& a) { return a == "mtr" || a == "mm" || a == "cm"; }

std::string cut39(const std::string& s) {
  size_t i = 0, n = 0;
  while (i < s.size() && n < 39) {
    auto b = static_cast<unsigned char>(s[i]);
    i += b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : 4;
    ++n;
  }
  return s.substr(0, std::min(i, s.size()));
}

std::string numText(double v) { return formatGeneral(v, 15); }
}  // namespace

float atmosphericPressurePa(double metres) {
  double base = 1.0 - 2.25577e-5 * metres;
  if (base <= 0) return 0.0f;
  return static_cast<float>(101325.0 * std::pow(base, 5.25588));
}

const std::vector<std::string>& SystemOptionsForm::typeItems() {
  static const std::vector<std::string> items{"Open source and discharge", "Single line forced flow system",
                                              "Closed loop recirculating system"};
  return items;
}

SystemOptionsForm::SystemOptionsForm(Project& project, std::string liquidTablePath, std::string configPath)
    : project_(project), liquidPath_(std::move(liquidTablePath)), configPath_(std::move(configPath)) {
  const UnitsInUse& u = project_.units;
  const SystemSettings& s = project_.sys;
  // A missing liquid database is reported; the rest of the form still works without it.
  std::error_code ec;
  if (!std::filesystem::exists(liquidPath_, ec)) {
    prompter().message(MsgKind::Error, liquidPath_ + " doesn't exist!");
  } else {
    try {
      liquids_ = std::make_unique<Table>(Table::load(liquidPath_));
    } catch (const TableError& e) {
      prompter().message(MsgKind::Error, e.what());
    }
  }
  fillLiquidList();
  filling_ = true;
  viscosityLive_ = false;

  typeIndex = (s.SysType >= 1 && s.SysType <= 3) ? s.SysType - 1 : 0;
  typeChanged(typeIndex);
  if (s.SysType == 2 && s.SysFlowPress != kBlank) flowPress = formatFixed(s.SysFlowPress * u.Flow.factor, 6, 2);
  if (s.SysType == 3) {
    if (s.SysFlowPress != kBlank) flowPress = formatFixed(s.SysFlowPress * u.SHeadFactor, 6, 2);
    if (s.RefGauge != 0 && s.RefGauge <= kMaxElem && project_.node[static_cast<size_t>(s.RefGauge)])
      gaugeId = project_.ElemID(s.RefGauge);
  }
  double shownTol = std::round(s.FlowTol * u.Flow.factor * 1e8) / 1e8;
  tol = formatGeneral(shownTol, 9);
  atmPress = formatFixed(s.AtmPress * u.VP.factor, 6, 2);
  elev.clear();

  equationAtOpening_ = s.HeadCalc;
  if (s.HeadCalc >= 1 && s.HeadCalc <= 3) {
    equation = s.HeadCalc;
  } else {
    prompter().message(MsgKind::Error, "Bad head calc equation!");
    equation = 0;
  }
  eqLen = s.EqLen;
  kvisEnabled = equation == 2;

  liqDesc = project_.liquid.LiqDesc;
  TLiquid& l = project_.liquid;
  allowTemp_ = l.LiqAllowTemp == kBlank ? 0.0 : l.LiqAllowTemp;
  temp_ = l.LiqTemp;
  sg_ = l.LiqSG;
  vp_ = l.LiqVP;
  specHeat_ = l.LiqSpecHeat;
  if (s.HeadCalc != 2) l.LiqKVis = 1.13;
  kvis_ = l.LiqKVis;
  setTemp(temp_ == kBlank ? "" : formatGeneral(tempIsC() ? (temp_ - 32) * 5 / 9 : temp_, 4));
  setSG(sg_ == kBlank ? "" : formatFixed(sg_, 4, 2));
  setVP(vp_ == kBlank ? "" : formatFixed(vp_ * u.VP.factor, 4, 2));
  setSpecHeat(specHeat_ == kBlank ? "" : formatFixed(specHeat_, 4, 2));
  showKVis(kvis_);
  filling_ = false;
  viscosityLive_ = true;
}

SystemOptionsForm::~SystemOptionsForm() = default;

void SystemOptionsForm::fillLiquidList() {
  liquidItems_.clear();
  if (!liquids_) return;
  for (const Row* r : std::as_const(*liquids_).rows()) liquidItems_.push_back(r->str("Description"));
  std::sort(liquidItems_.begin(), liquidItems_.end());
}

bool SystemOptionsForm::refuse(const std::string& message, const std::string& control) {
  focus_ = control;
  prompter().message(MsgKind::Error, message);
  return false;
}

// ---------------------------------------------------------------- system type

std::string SystemOptionsForm::flowPressCaption() const {
  return typeIndex == 1 ? "F&orced Flow for system :" : "Reference p&ressure at gauge :";
}

std::string SystemOptionsForm::flowPressUnit() const {
  return typeIndex == 1 ? project_.units.Flow.abbrev : project_.units.SHead.abbrev;
}

void SystemOptionsForm::typeChanged(int index) {
  if (index < 0 || index > 2) return;
  typeIndex = index;
  if (index == 0) return;
  flowPress.clear();
  if (index == 2) {
    gaugeItems_.clear();
    for (const auto& e : project_.IDList.entries()) {
      int n = e.elem;
      if (n >= 1 && n <= kMaxElem && project_.ElemType[static_cast<size_t>(n)] == kGauge &&
          project_.elemspot[static_cast<size_t>(n)] != 0 && project_.elemspot[static_cast<size_t>(n)] < project_.MainEnd)
        gaugeItems_.push_back(e.id);
    }
    if (gaugeItems_.empty())
      prompter().message(MsgKind::Warning, "No gauges available in system! Create reference gauge first.");
    gaugeId.clear();
  }
}

// ---------------------------------------------------------------- equation

void SystemOptionsForm::equationClicked(int eq) {
  if (eq < 1 || eq > 3) return;
  if (filling_) {
    equation = eq;
    return;
  }
  const bool mm = metricLength(project_.units.Len.abbrev);
  struct Texts {
    const char *info, *title, *prompt, *def, *cancelled;
  };
  Texts t;
  if (eq == 1)
    t = {"Fluid viscosity will be fixed to 1.13 centistokes while using the Hazen-Williams equation.",
         "To convert pipe friction values", "Enter a Hazen-Williams coef value for all pipes...", "130",
         "All pipe Hazen-Williams coef values will be reset to 130 if you click Accept..."};
  else if (eq == 2)
    t = {"Be sure you are using the proper viscosity for the specified fluid.", "Converting Pipe Friction Values",
         mm ? "Enter an Absolute Roughness value in mm for all pipes..."
            : "Enter an Absolute Roughness value in millifeet for all pipes...",
         mm ? "0.0457" : "0.15", "All pipe Absolute Roughness values will be reset if you click Accept..."};
  else
    t = {"Fluid viscosity will be fixed to 1.13 centistokes while using the Chezy-Manning equation.",
         "Converting Pipe Friction Values", "Enter a Manning n value for all pipes...", "0.012",
         "All pipe Manning n values will be reset to 0.012 if you click Accept..."};
  prompter().message(MsgKind::Information, t.info);
  if (project_.tot_pipes != 0) {
    std::optional<double> answer;
    while (!answer) {
      auto text = prompter().inputLine(t.title, t.prompt, t.def);
      if (!text) {
        prompter().message(MsgKind::Information, t.cancelled);
        text = t.def;
      }
      answer = positiveOf(*text);
    }
    double f = *answer;
    if (eq == 2) f /= mm ? 304.8 : 1000.0;
    newFriction_ = static_cast<float>(f);
  }
  equation = eq;
  if (eq == 2) {
    kvisEnabled = true;
    eqLen = false;
  } else {
    kvisEnabled = false;
    kvis_ = 1.13;
    kvis = formatGeneral(1.13 * project_.units.Viscosity.factor, 3);
  }
}

// ---------------------------------------------------------------- liquid fields

void SystemOptionsForm::setTemp(const std::string& text) {
  temp = text;
  if (trimmed(text).empty()) {
    temp_ = kBlank;
    return;
  }
  auto v = numberOf(text);
  if (!v) {
    prompter().message(MsgKind::Error, "Temperature is an invalid value!");
    return;
  }
  temp_ = tempIsC() ? *v * 1.8 + 32 : *v;
}

void SystemOptionsForm::setSG(const std::string& text) {
  sg = text;
  if (trimmed(text).empty()) {
    sg_ = kBlank;
    return;
  }
  auto v = numberOf(text);
  if (!v) {
    prompter().message(MsgKind::Error, "Specific Gravity is an invalid value!");
    return;
  }
  sg_ = *v;
}

void SystemOptionsForm::setKVis(const std::string& text) {
  kvis = text;
  if (!viscosityLive_) return;
  if (trimmed(text).empty()) {
    kvis_ = kBlank;
    return;
  }
  auto v = numberOf(text);
  if (!v) {
    prompter().message(MsgKind::Error, "Viscosity is an invalid value!");
    return;
  }
  // Dynamic viscosity needs a known specific gravity to become kinematic.
  if (cpoises())
    kvis_ = sg_ > 0 ? *v / sg_ : kBlank;
  else
    kvis_ = *v / project_.units.Viscosity.factor;
}

void SystemOptionsForm::setVP(const std::string& text) {
  vp = text;
  if (trimmed(text).empty()) {
    vp_ = kBlank;
    return;
  }
  auto v = numberOf(text);
  if (!v) {
    prompter().message(MsgKind::Error, "VP is an invalid value!");
    return;
  }
  vp_ = *v / project_.units.VP.factor;
}

void SystemOptionsForm::setSpecHeat(const std::string& text) {
  specHeat = text;
  if (trimmed(text).empty()) {
    specHeat_ = kBlank;
    return;
  }
  auto v = numberOf(text);
  if (!v) {
    prompter().message(MsgKind::Error, "Specific Heat is an invalid value!");
    return;
  }
  specHeat_ = *v;
}

void SystemOptionsForm::showKVis(double cs) {
  std::string text;
  if (cs != kBlank) text = cpoises() ? formatGeneral(cs * (sg_ > 0 ? sg_ : 1.0), 3)
                                     : formatGeneral(cs * project_.units.Viscosity.factor, 4);
  kvis = text;
}

void SystemOptionsForm::setDescription(const std::string& text) {
  liqDesc = text;
  if (!liquids_) return;
  const Row* r = std::as_const(*liquids_).locate({{"Description", text}});
  if (!r) return;
  const UnitsInUse& u = project_.units;
  if (r->isNull("Temp")) {
    setTemp("");
  } else {
    double f = r->num("Temp");
    setTemp(formatGeneral(tempIsC() ? (f - 32) * 5 / 9 : f, 3));
  }
  setSG(r->isNull("Spec_Grav") ? "" : formatGeneral(r->num("Spec_Grav"), 3));
  if (equation == 2) {
    if (r->isNull("Kin_Viscosity")) {
      setKVis("");
    } else {
      double cs = r->num("Kin_Viscosity");
      setKVis(formatGeneral(cpoises() ? cs * (sg_ > 0 ? sg_ : 1.0) : cs * u.Viscosity.factor, 3));
    }
  }
  // The table holds the vapour pressure as a head of the liquid: without a specific gravity it
  // cannot become a pressure.
  if (r->isNull("Vap_Press") || sg_ == kBlank || sg_ <= 0)
    setVP("");
  else
    setVP(formatGeneral(r->num("Vap_Press") * sg_ / kFtPerPsi * u.VP.factor, 3));
  setSpecHeat(r->isNull("Specific_Heat") ? "" : formatGeneral(r->num("Specific_Heat"), 3));
}

// ---------------------------------------------------------------- buttons

void SystemOptionsForm::calc() {
  focus_.clear();
  std::string e = trimmed(elev).empty() ? "0" : elev;
  auto v = numberOf(e);
  if (!v) {
    refuse("Bad elevation value!", "ElevEdit");
    return;
  }
  elev = e;
  double metres = *v / (project_.units.Len.factor * 39.37);
  float p = atmosphericPressurePa(metres);
  atmPress = formatGeneral(p * project_.units.VP.factor / 6894.84, 3);
}

bool SystemOptionsForm::accept() {
  focus_.clear();
  const UnitsInUse& u = project_.units;
  if (typeIndex == 1 && !positiveOf(flowPress)) return refuse("Bad flow value for forced flow system!", "flpredit");
  int gauge = 0;
  if (typeIndex == 2) {
    gauge = project_.IDList.find(trimmed(gaugeId));
    if (gauge == 0 || project_.ElemType[static_cast<size_t>(gauge)] != kGauge)
      return refuse("Bad gauge ID for closed loop system!", "cbGaugeID");
    if (!numberOf(flowPress)) return refuse("Bad pressure value for closed loop system!", "flpredit");
  }
  auto t = positiveOf(tol);
  if (!t) return refuse("Bad flow tolerance!", "tledit");
  double tolGpm = *t / u.Flow.factor;
  if (tolGpm < 0.0001)
    return refuse(format("Flow tolerance too low! Minimum is %-.8f ", {0.0001 * u.Flow.factor}) + u.Flow.abbrev,
                  "tledit");
  auto atm = positiveOf(atmPress);
  if (!atm) return refuse("Bad atmospheric pressure value!", "AtmPressEdit");

  TLiquid& l = project_.liquid;
  l.LiqDesc = cut39(liqDesc);
  l.LiqTemp = static_cast<float>(temp_);
  l.LiqSG = static_cast<float>(sg_);
  updatePressureFactors(project_.units, l.LiqSG);
  l.LiqKVis = kvis_;
  l.LiqVP = static_cast<float>(vp_);
  l.LiqSpecHeat = static_cast<float>(specHeat_);
  l.LiqAllowTemp = static_cast<float>(allowTemp_);

  SystemSettings& s = project_.sys;
  if (equation >= 1 && equation <= 3) {
    s.HeadCalc = static_cast<int16_t>(equation);
    if (equation == 2) s.EqLen = eqLen;
  } else {
    prompter().message(MsgKind::Error, "Bad head loss equation!");
  }
  if (s.HeadCalc != equationAtOpening_ && project_.tot_pipes != 0)
    for (int n = 1; n <= project_.HighElem; ++n)
      if (project_.elemspot[static_cast<size_t>(n)] != 0 && project_.ElemType[static_cast<size_t>(n)] == kPipe &&
          project_.pipe[static_cast<size_t>(n)])
        project_.pipe[static_cast<size_t>(n)]->Friction = newFriction_;
  s.FlowTol = static_cast<float>(tolGpm);
  s.AtmPress = static_cast<float>(*atm / u.VP.factor);
  s.SysType = static_cast<int16_t>(typeIndex + 1);
  if (typeIndex == 0) {
    s.SysFlowPress = kBlank;
  } else if (typeIndex == 1) {
    s.SysFlowPress = static_cast<float>(*numberOf(flowPress) / project_.units.Flow.factor);
  } else {
    s.RefGauge = static_cast<int16_t>(gauge);
    s.SysFlowPress = static_cast<float>(*numberOf(flowPress) / project_.units.SHeadFactor);
  }
  project_.SetModified(true);
  return true;
}

bool SystemOptionsForm::makeDefault() {
  focus_.clear();
  if (prompter().message(MsgKind::Confirmation, "Use these values for new projects?", Buttons::YesNo) != Answer::Yes)
    return false;
  const UnitsInUse& u = project_.units;
  // The texts that are written as numbers must be numbers: a configuration with garbage in them
  // would spoil every new project.
  auto t = positiveOf(tol);
  if (!t) return refuse("Bad flow tolerance!", "tledit");
  auto atm = positiveOf(atmPress);
  if (!atm) return refuse("Bad atmospheric pressure value!", "AtmPressEdit");
  std::vector<ConfigValue> values;
  if (equation >= 1 && equation <= 3)
    values.push_back({"GenHeadCalc", "Val1", std::to_string(equation)});
  else
    prompter().message(MsgKind::Error, "Bad head loss equation!");
  values.push_back({"GenEqLen", "Abrev", equation == 2 && eqLen ? "True" : "False"});
  values.push_back({"LiqDesc", "Desc", cut39(liqDesc)});
  auto num = [](double v) { return v == kBlank ? std::string() : numText(v); };
  values.push_back({"LiqTemp", "Val1", num(temp_)});
  values.push_back({"LiqSG", "Val1", num(sg_)});
  values.push_back({"LiqKVis", "Val1", num(kvis_)});
  values.push_back({"LiqVP", "Val1", num(vp_)});
  values.push_back({"LiqSpecHeat", "Val1", num(specHeat_)});
  values.push_back({"LiqAllowTemp", "Val1", numText(allowTemp_)});
  values.push_back({"Gentl", "Val1", numText(*t / u.Flow.factor)});
  values.push_back({"GenAtmPress", "Val1", numText(*atm / u.VP.factor)});
  bool ok = writeConfigValues(configPath_, values, prompter());
  focus_ = "cbLiq_Prop";
  return ok;
}

bool SystemOptionsForm::saveLiquidTable() {
  try {
    liquids_->save();
    return true;
  } catch (const TableError& e) {
    prompter().message(MsgKind::Error, e.what());
    return false;
  }
}

void SystemOptionsForm::saveToDatabase() {
  if (!liquids_) {
    prompter().message(MsgKind::Error, liquidPath_ + " doesn't exist!");
    return;
  }
  std::string desc = liqDesc;
  Row* r = liquids_->locate({{"Description", desc}});
  if (r) {
    if (prompter().message(MsgKind::Confirmation, "This description exists! Update/Replace?", Buttons::YesNo) !=
        Answer::Yes)
      return;
  } else if (prompter().message(MsgKind::Confirmation, "Add this liquid description to database?", Buttons::YesNo) !=
             Answer::Yes) {
    return;
  }
  auto cell = [](double v) { return v == kBlank ? Value() : Value(v); };
  double head = (vp_ == kBlank || sg_ == kBlank || sg_ <= 0) ? kBlank : vp_ * kFtPerPsi / sg_;
  try {
    if (r) liquids_->remove(*r);
    liquids_->append({{"Description", desc},
                      {"Temp", cell(temp_)},
                      {"Spec_Grav", cell(sg_)},
                      {"Kin_Viscosity", cell(kvis_)},
                      {"Vap_Press", cell(head)},
                      {"Specific_Heat", cell(specHeat_)}});
  } catch (const TableError& e) {
    prompter().message(MsgKind::Error, e.what());
    return;
  }
  saveLiquidTable();
  fillLiquidList();
  liqDesc = desc;
}

void SystemOptionsForm::deleteLiquid() {
  if (prompter().message(MsgKind::Confirmation, "Delete this property?", Buttons::YesNo) != Answer::Yes) return;
  Row* r = liquids_ ? liquids_->locate({{"Description", liqDesc}}) : nullptr;
  if (!r) {
    prompter().message(MsgKind::Error, "Property not found!");
    return;
  }
  liquids_->remove(*r);
  saveLiquidTable();
  fillLiquidList();
  setDescription("Water,Saturated at  60 deg F");
}

}  // namespace vt
