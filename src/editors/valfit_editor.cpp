#include "editors/valfit_editor.h"

#include <cmath>

#include "data/table.h"
#include "units/number_format.h"

namespace vt {

std::vector<ValfitKind> loadValfitKinds(const Table& table) {
  std::vector<ValfitKind> out;
  for (const Row* row : table.rows()) {
    if (row->isNull("ID")) continue;
    ValfitKind k;
    k.fitting = row->str("ValorFit") == "F";
    k.desc = row->str("Desc");
    k.code = static_cast<int>(row->integer("ID"));
    for (size_t i = 0; i < kValfitColumns.size(); ++i) {
      // The size columns are named ".5" ... "18."; XML attribute names cannot start with a digit or
      // a dot, so files may carry them with a leading underscore.
      std::string name = kValfitColumns[i];
      if (!table.hasField(name)) name = "_" + name;
      if (table.hasField(name) && !row->isNull(name)) k.k[i] = row->num(name);
    }
    out.push_back(std::move(k));
  }
  return out;
}

namespace {
bool isControlValve(int code) { return code == -3 || code == -4 || code == -5; }
double cvFromK(double k, double dInch) { return 29.9 * dInch * dInch / std::sqrt(k); }
double kFromCv(double cv, double dInch) { return 894.01 * std::pow(dInch, 4) / (cv * cv); }
}  // namespace

ValfitEditor::ValfitEditor(Project& project, EditorSetup setup, std::vector<ValfitKind> kinds)
    : ElementEditorBase(project, std::move(setup)), kinds_(std::move(kinds)), rec_(newValfit()) {
  for (size_t i = 0; i < kinds_.size(); ++i)
    if (kinds_[i].fitting == isFitting()) {
      listRows_.push_back(static_cast<int>(i));
      listCodes_.push_back(kinds_[i].code);
    }
  const UnitsInUse& u = project_.units;
  const Valfit* src = sourceValfit(project_, setup_);
  if (isNew() || !src) {
    if (isNew() && elem_ < 1) elem_ = project_.FirstFreeElem();
    kindIndex_ = 0;
    code_ = -1;
    float d = project_.last.LastValfitDia == 0 ? 2.0f : project_.last.LastValfitDia;
    dia = fixed3(d * u.Dia.factor);
    mode_K_ = true;
    dirForward = true;
    layOut();
  } else {
    rec_ = *src;
    id = fromWide(rec_.ID, kIdLen);
    description = fromWide(rec_.Description, kDescLen);
    code_ = rec_.Code;
    kindIndex_ = 0;
    for (size_t i = 0; i < listCodes_.size(); ++i)
      if (listCodes_[i] == code_) {
        kindIndex_ = static_cast<int>(i) + 1;
        break;
      }
    dia = fixed3(rec_.Dia * u.Dia.factor);
    dirForward = rec_.Dir == 1;
    mode_K_ = rec_.CoefMode != 'C';
    layOut();
    switch (code_) {
      case 56: parm = formatGeneral(rec_.Parm, 4); break;
      case 57: parm = fixed3(rec_.Parm * u.Dia.factor); break;
      case -3:
      case -4:
      case -6: parm = fixed2(rec_.Parm * u.SHeadFactor); break;
      case -5: parm = fixed2(rec_.Parm * u.Flow.factor); break;
      default: break;
    }
    elev = fixed2(rec_.Elev * u.Len.factor);
    remember("dia", dia);
    remember("parm", parm);
    remember("elev", elev);
    if (layout_.coef) {
      if (rec_.Coef == 0) {
        project_.prompter().message(MsgKind::Warning, "K value is zero - temporarily setting to 0.1 - please fix!");
        rec_.Coef = 0.1f;
        if (Valfit* t = targetValfit(project_, setup_, elem_)) t->Coef = 0.1f;
      }
      if (mode_K_ || rec_.Coef < 0)
        coef = fixed2(rec_.Coef);
      else
        coef = fixed2(cvFromK(rec_.Coef, rec_.Dia));
    }
  }
  openingId_ = id;
  openingCoefText_ = coef;
  openingModeK_ = mode_K_;
}

std::string ValfitEditor::caption() const {
  std::string kind = isFitting() ? "Fitting" : "Valve";
  switch (mode_) {
    case EditorMode::New: return "Insert New " + kind;
    case EditorMode::Existing: return "Edit Existing " + kind;
    case EditorMode::Clipboard: return "Edit Clipboard " + kind;
  }
  return "";
}

std::vector<std::string> ValfitEditor::kindItems() const {
  std::vector<std::string> out{isFitting() ? "Custom Fitting" : "Custom Valve"};
  for (int r : listRows_) out.push_back(kinds_[static_cast<size_t>(r)].desc);
  return out;
}

void ValfitEditor::layOut() {
  ValfitLayout l;
  const std::string pres = project_.units.SHead.abbrev;
  auto withDia = [&](const char* label) {
    l.dia = true;
    l.diaLabel = label;
  };
  if (code_ == 56) {
    l.parm = true;
    l.parmLabel = "An&gle :";
    l.parmUnit = "degrees";
  } else if (code_ == 57) {
    withDia("Openin&g dia :");
    l.coef = l.coefEnabled = true;
    l.parm = true;
    l.parmLabel = "Lar&ger Dia :";
    l.parmUnit = project_.units.Dia.abbrev;
    mode_K_ = true;
  } else if (code_ >= 43 && code_ <= 55) {
    withDia("Dia&meter :");
    l.coef = l.coefSwitch = l.dir = true;
  } else if (code_ == -2) {
    withDia("Dia&meter :");
    l.coef = l.coefEnabled = l.coefSwitch = l.dir = true;
  } else if (isControlValve(code_)) {
    withDia("Dia&meter :");
    l.dir = l.parm = true;
    if (code_ == -3) l.parmLabel = "Ma&x Pressure :", l.parmUnit = pres, l.elev = true;
    if (code_ == -4) l.parmLabel = "Mi&n Pressure :", l.parmUnit = pres, l.elev = true;
    if (code_ == -5) l.parmLabel = "Ma&x Flow :", l.parmUnit = project_.units.Flow.abbrev;
    if (project_.proj.Solved) {
      l.coef = true;  // the K the solution found, for reading only
      l.convertToCustom = true;
      mode_K_ = true;
    }
  } else if (code_ == -6) {
    l.parm = true;
    l.parmLabel = "Fi&xed Head Loss :";
    l.parmUnit = pres;
  } else {
    withDia("Dia&meter :");
    l.coef = l.coefSwitch = true;
    l.coefEnabled = code_ == -1;
  }
  layout_ = l;
}

std::string ValfitEditor::coefLabel() const {
  if (code_ == 57) return "Dischar&ge Coef :";
  return mode_K_ ? "&K coef :" : "C&v coef :";
}

std::string ValfitEditor::switchText() const { return mode_K_ ? "Use Cv" : "Use K"; }

double ValfitEditor::diaInches() const {
  auto d = numberOf(dia);
  return d ? *d / project_.units.Dia.factor : 0.0;
}

void ValfitEditor::lookUpK() {
  diaUsed_.clear();
  std::string desc = kindItems()[static_cast<size_t>(kindIndex_)];
  const ValfitKind* found = nullptr;
  if (kindIndex_ > 0)
    for (auto& k : kinds_)
      if (k.desc == desc) {
        found = &k;
        break;
      }
  if (!found) {
    coef = "0";
    return;
  }
  double f = project_.units.Dia.factor;
  double entered = numberOf(dia).value_or(0.0);
  size_t i = 13;
  for (size_t s = 0; s < kValfitSizes.size(); ++s)
    if (kValfitSizes[s] * f > entered) {
      i = s + 1;
      break;
    }
  size_t col = i - 1 < 1 ? 1 : i - 1;
  const auto& k = found->k[col - 1];
  coef = k ? formatGeneral(*k, 15) : "0";
  diaUsed_ = "K for " + fixed3(kValfitSizes[col - 1] * f) + " " + project_.units.Dia.abbrev;
}

void ValfitEditor::chooseKind(int index) {
  if (index < 0 || index > static_cast<int>(listRows_.size())) return;
  kindIndex_ = index;
  lookUpK();
  code_ = index == 0 ? -1 : listCodes_[static_cast<size_t>(index - 1)];
  layOut();
  if (!mode_K_) {
    auto k = positiveOf(coef);
    double d = diaInches();
    if (k && d > 0) coef = fixed2(cvFromK(*k, d));
  }
}

void ValfitEditor::diaLeft() {
  std::string keep = coef;
  lookUpK();
  if (kindIndex_ == 0) coef = keep;  // a custom kind keeps what was typed
  else if (!mode_K_) {
    auto k = positiveOf(coef);
    double d = diaInches();
    if (k && d > 0) coef = fixed2(cvFromK(*k, d));
  }
}

bool ValfitEditor::switchCoefMode() {
  auto c = positiveOf(coef);
  if (!c) {
    focus_ = "EditCoef";
    project_.prompter().message(MsgKind::Error, "Bad coefficient value!");
    return false;
  }
  double d = diaInches();
  if (d <= 0) {
    focus_ = "Editdia";
    project_.prompter().message(MsgKind::Error, "Bad diameter!");
    return false;
  }
  coef = mode_K_ ? fixed2(cvFromK(*c, d)) : fixed2(kFromCv(*c, d));
  mode_K_ = !mode_K_;
  return true;
}

void ValfitEditor::convertToCustom() {
  std::string kept = coef;
  chooseKind(0);
  coef = kept;
  layout_.convertToCustom = false;
}

bool ValfitEditor::accept() {
  focus_.clear();
  const UnitsInUse& u = project_.units;
  id = trimmed(id);
  if (id.empty()) return refuse("Error - Need ID!", "EditValfitID");
  std::optional<double> d, c, p, e;
  if (layout_.dia) {
    d = numberOf(dia);
    // A diameter of zero or less cannot carry a K or a Cv conversion.
    if (!d || *d <= 0) return refuse("Bad diameter!", "Editdia");
  }
  if (layout_.coef && !isControlValve(code_)) {
    c = positiveOf(coef);
    if (!c) return refuse("Bad friction coef!", "EditCoef");
  } else if (layout_.coef) {
    c = numberOf(coef);
  }
  if (layout_.parm) {
    p = numberOf(parm);
    if (!p) return refuse("Bad Parameter!", "EditParm");
    if (code_ == -5 && *p <= 0) return refuse("Max flow must be positive!", "EditParm");
    if (code_ == 57 && d && *d > *p) return refuse("Nozzle/orifice opening must be smaller than Larger Dia!", "Editdia");
  }
  if (layout_.elev) {
    e = numberOf(elev);
    if (!e) return refuse("Bad elevation!", "EditElev");
  }
  if (code_ == 57 && c && (*c < 0 || *c > 1))
    return refuse("Bad discharge coefficient. Should be between 0 and 1!", "EditCoef");
  if (clashingElement(id, openingId_)) return refuse("Error - ID already used! Enter a new ID...", "EditValfitID");

  const Valfit before = rec_;
  commitId(id, openingId_);
  toWide(description, rec_.Description, kDescLen);
  toWide(id, rec_.ID, kIdLen);
  if (isNew()) rec_.Flags = 0;
  rec_.Code = static_cast<int16_t>(code_);
  if (layout_.dia) {
    rec_.Dia = static_cast<float>(valueOf("dia", dia, before.Dia, u.Dia.factor));
    project_.last.LastValfitDia = rec_.Dia;
  }
  if (layout_.coef) {
    rec_.CoefMode = static_cast<uint8_t>(coefMode());
    // An untouched coefficient keeps its stored value: the field shows only two decimals.
    bool untouched = !isNew() && coef == openingCoefText_ && mode_K_ == openingModeK_ && before.Dia == rec_.Dia &&
                     before.Code == rec_.Code;
    if (untouched)
      rec_.Coef = before.Coef;
    else if (!c)
      rec_.Coef = 0;
    else if (mode_K_)
      rec_.Coef = static_cast<float>(*c);
    else
      rec_.Coef = static_cast<float>(kFromCv(*c, rec_.Dia));
  }
  rec_.Dir = dirForward ? 1 : -1;
  if (layout_.parm) {
    switch (code_) {
      case -3:
      case -4:
      case -6: rec_.Parm = static_cast<float>(valueOf("parm", parm, before.Parm, u.SHeadFactor)); break;
      case -5: rec_.Parm = static_cast<float>(valueOf("parm", parm, before.Parm, u.Flow.factor)); break;
      case 57: rec_.Parm = static_cast<float>(valueOf("parm", parm, before.Parm, u.Dia.factor)); break;
      default: rec_.Parm = *p > 0 ? static_cast<float>(*p) : 0.0f; break;
    }
  }
  if (layout_.elev) rec_.Elev = static_cast<float>(valueOf("elev", elev, before.Elev, u.Len.factor));

  Valfit* target = targetValfit(project_, setup_, elem_);
  if (!target) return refuse("Error - program should not be here!", "EditValfitID");
  *target = rec_;
  if (isNew() || before.Code != rec_.Code || before.Dia != rec_.Dia || before.Coef != rec_.Coef ||
      before.Dir != rec_.Dir || before.Elev != rec_.Elev || before.Parm != rec_.Parm)
    project_.SetSolved(false);
  if (project_.sys.HeadCalc == 2 && project_.sys.EqLen && code_ == -1)
    project_.prompter().message(MsgKind::Warning, "Using equivalent length method. Be sure all K values are for water. ");
  return true;
}

}  // namespace vt
