#include "editors/pipe_editor.h"

#include <cmath>

#include "model/fixed_tables.h"
#include "units/number_format.h"

namespace vt {

namespace {
std::string nominalText(float v) { return formatGeneral(v, 7); }

bool metricLength(const std::string& abbrev) { return abbrev == "mtr" || abbrev == "mm" || abbrev == "cm"; }
}  // namespace

PipeEditor::PipeEditor(Project& project, EditorSetup setup, const ScheduleSource* schedules)
    : ElementEditorBase(project, std::move(setup)), schedules_(schedules), rec_(newPipe()) {
  const UnitsInUse& u = project_.units;
  const LastUsed& last = project_.last;
  std::string scheduleKey;
  if (headCalc() < 1 || headCalc() > 3) project_.prompter().message(MsgKind::Error, "Bad head calc equation!");
  const Pipe* src = sourcePipe(project_, setup_);
  if (isNew() || !src) {
    length = "100";
    insideDia = fixed3(last.LastInsideDia * u.Dia.factor);
    if (last.LastNomIndex >= 0) rememberedNominal_ = nominalText(nominalSize(last.LastNomIndex, u.nominalMillimetre));
    scheduleKey = last.LastSchedule;
    friction = frictionText(last.DefFriction);
  } else {
    rec_ = *src;
    id = fromWide(rec_.ID, kIdLen);
    description = fromWide(rec_.Description, kDescLen);
    length = fixed2(rec_.Length * u.Len.factor);
    insideDia = fixed3(rec_.InsideDia * u.Dia.factor);
    if (rec_.NomIndex != -1)
      rememberedNominal_ = nominalText(nominalSize(static_cast<int>(std::lround(rec_.NomIndex)), u.nominalMillimetre));
    else
      rememberedNominal_ = "NA";
    scheduleKey = fromShort(rec_.Schedule);
    friction = frictionText(rec_.Friction);
    remember("length", length);
    remember("dia", insideDia);
    remember("friction", friction);
  }
  openingId_ = id;

  if (schedules_)
    for (auto& row : schedules_->schedulesByDescription())
      if (!row.hidden) shownSchedules_.push_back(row);
  scheduleIndex_ = 0;
  for (size_t i = 0; i < shownSchedules_.size(); ++i)
    if (!scheduleKey.empty() && shownSchedules_[i].key == scheduleKey) {
      scheduleIndex_ = static_cast<int>(i) + 1;
      break;
    }
  if (scheduleIndex_ > 0) {
    fillNominal();
  } else {
    scheduleKey_.clear();
    nominalItems_ = {"NA"};
    nominalValues_.clear();
    nominalIndex_ = 0;
    nominalEnabled_ = false;
  }
}

std::string PipeEditor::caption() const {
  switch (mode_) {
    case EditorMode::New: return "Insert New Pipe";
    case EditorMode::Existing: return "Edit Existing Pipe";
    case EditorMode::Clipboard: return "Edit Clipboard Pipe";
  }
  return "";
}

bool PipeEditor::metricRough() const { return metricLength(project_.units.Len.abbrev); }

std::string PipeEditor::frictionText(double internal) const {
  double shown = internal;
  if (headCalc() == 2) shown = internal * (metricRough() ? 304.8 : 1000.0);
  return formatGeneral(shown, 6);
}

std::vector<std::string> PipeEditor::scheduleItems() const {
  std::vector<std::string> out{"None"};
  for (auto& s : shownSchedules_) out.push_back(s.description);
  return out;
}

void PipeEditor::fillNominal() {
  if (!isNew() && nominalIndex_ >= 0 && nominalIndex_ < static_cast<int>(nominalItems_.size()))
    rememberedNominal_ = nominalItems_[static_cast<size_t>(nominalIndex_)];
  nominalItems_ = {"NA"};
  nominalValues_.clear();
  nominalEnabled_ = true;
  scheduleKey_ = scheduleIndex_ > 0 ? shownSchedules_[static_cast<size_t>(scheduleIndex_ - 1)].key : "";
  bool mm = project_.units.nominalMillimetre;
  if (schedules_ && !scheduleKey_.empty()) {
    for (auto& size : schedules_->sizes(scheduleKey_)) {
      int pos = nominalPosition(static_cast<float>(size.nomSize), false);
      if (pos < 0) continue;
      float v = nominalSize(pos, mm);
      nominalItems_.push_back(nominalText(v));
      nominalValues_.push_back(v);
    }
  }
  nominalIndex_ = 0;
  if (rememberedNominal_ != "NA")
    for (size_t i = 1; i < nominalItems_.size(); ++i)
      if (nominalItems_[i] == rememberedNominal_) {
        nominalIndex_ = static_cast<int>(i);
        break;
      }
  if (isNew() && nominalIndex_ > 0) setNominal(nominalIndex_);
}

void PipeEditor::setNominal(int index) {
  if (index < 0 || index >= static_cast<int>(nominalItems_.size())) return;
  nominalIndex_ = index;
  if (index == 0 || !schedules_ || scheduleKey_.empty()) return;
  bool mm = project_.units.nominalMillimetre;
  int pos = nominalPosition(nominalValues_[static_cast<size_t>(index - 1)], mm);
  float inch = nominalSize(pos, false);
  for (auto& size : schedules_->sizes(scheduleKey_))
    if (static_cast<float>(size.nomSize) == inch) {
      if (size.inDia) insideDia = fixed3(*size.inDia * project_.units.Dia.factor);
      return;
    }
}

void PipeEditor::setSchedule(int index) {
  if (index < 0 || index > static_cast<int>(shownSchedules_.size())) return;
  scheduleIndex_ = index;
  if (index == 0) {
    scheduleKey_.clear();
    nominalItems_ = {"NA"};
    nominalValues_.clear();
    nominalIndex_ = 0;
    nominalEnabled_ = false;
    return;
  }
  fillNominal();
  const ScheduleRow& row = shownSchedules_[static_cast<size_t>(index - 1)];
  switch (headCalc()) {
    case 1:
      if (row.hw) friction = formatGeneral(*row.hw, 15);
      break;
    case 2:
      if (row.rough) friction = formatGeneral(*row.rough * (metricRough() ? 304.8 : 1000.0), 6);
      break;
    case 3:
      if (row.mann) friction = formatGeneral(*row.mann, 15);
      break;
  }
}

std::string PipeEditor::nominalUnit() const { return project_.units.nominalMillimetre ? "mm" : "in"; }

std::string PipeEditor::frictionLabel() const {
  switch (headCalc()) {
    case 2: return "Abs &Rough :";
    case 3: return "Manning's n :";
    default: return "&H-W coef :";
  }
}

std::string PipeEditor::frictionUnit() const {
  if (headCalc() != 2) return "";
  return metricRough() ? "mm" : "millifeet";
}

std::string PipeEditor::pickTitle() const {
  switch (headCalc()) {
    case 2: return "Abs Roughnesses (millifeet)";
    case 3: return "Manning's n Values";
    default: return "Hazen-Williams C Values";
  }
}

std::vector<PipeEditor::Pick> PipeEditor::picks() const {
  switch (headCalc()) {
    case 2:
      return {{"ABS", "0.005"}, {"Concrete", "1.0"}, {"Copper/Brass", "0.005"}, {"Drawn tubing", "0.005"},
              {"Glass", "0.005"}, {"Iron wrought", "0.15"}, {"Iron cast asphalt dip", "0.4"},
              {"Iron galvanized", "0.5"}, {"Iron cast uncoated", "0.85"}, {"Plastic", "0.005"},
              {"Steel commercial", "0.15"}, {"Steel full riveted", "3.5"}};
    case 3:
      return {{"Cast Iron New", "0.012"}, {"Concrete Lined", "0.013"}, {"Copper/Brass", "0.011"},
              {"Galvanized Iron", "0.016"}, {"Glass", "0.01"}, {"Plastic", "0.009"}, {"Steel Smooth", "0.012"},
              {"Steel Riveted", "0.016"}, {"Vitrified Clay", "0.014"}};
    default:
      return {{"ABS", "130"}, {"Cast Iron New", "130"}, {"Cast Iron Wrought", "100"}, {"Concrete", "120"},
              {"Copper/Brass", "130"}, {"Drawn tubing", "130"}, {"Glass", "140"}, {"Iron", "120"},
              {"Plastic", "140"}, {"Smooth Pipe", "140"}, {"Steel commercial", "120"},
              {"Steel full riveted", "100"}, {"Vitrified Clay", "100"}};
  }
}

void PipeEditor::pickFriction(int index) {
  auto list = picks();
  if (index < 0 || index >= static_cast<int>(list.size())) return;
  std::string v = list[static_cast<size_t>(index)].value;
  // The roughness list is in millifeet; with a metric length unit the field is in millimetres.
  if (headCalc() == 2 && metricRough()) v = formatGeneral(*numberOf(v) * 0.3048, 6);
  friction = v;
}

bool PipeEditor::accept() {
  focus_.clear();
  const UnitsInUse& u = project_.units;
  id = trimmed(id);
  if (id.empty()) return refuse("Error - Need ID!", "EditPipeID");
  auto len = positiveOf(length);
  if (!len) return refuse("Bad length!", "EditLength");
  auto dia = positiveOf(insideDia);
  if (!dia) return refuse("Bad diameter!", "EditIdia");
  // A zero or negative friction value has no physical meaning under any of the three equations.
  auto fr = positiveOf(friction);
  if (!fr) return refuse("Bad friction value!", "EditFriction");
  if (clashingElement(id, openingId_)) return refuse("Error - ID already used! Enter a new ID...", "EditPipeID");

  const Pipe before = rec_;
  commitId(id, openingId_);
  toWide(description, rec_.Description, kDescLen);
  toWide(id, rec_.ID, kIdLen);
  rec_.Length = static_cast<float>(valueOf("length", length, rec_.Length, u.Len.factor));
  if (isNew()) rec_.Flags = 0;
  std::string key = scheduleKey_.empty() ? std::string("None") : scheduleKey_;
  toShort(key, rec_.Schedule);
  project_.last.LastSchedule = fromShort(rec_.Schedule);
  if (nominalIndex_ <= 0 || nominalIndex_ >= static_cast<int>(nominalItems_.size()))
    rec_.NomIndex = -1;
  else
    rec_.NomIndex = static_cast<float>(nominalPosition(nominalValues_[static_cast<size_t>(nominalIndex_ - 1)],
                                                       u.nominalMillimetre));
  project_.last.LastNomIndex = static_cast<int>(std::lround(rec_.NomIndex));
  rec_.InsideDia = static_cast<float>(valueOf("dia", insideDia, rec_.InsideDia, u.Dia.factor));
  project_.last.LastInsideDia = rec_.InsideDia;
  double f = valueOf("friction", friction, rec_.Friction, headCalc() == 2 ? (metricRough() ? 304.8 : 1000.0) : 1.0);
  rec_.Friction = f;
  project_.last.DefFriction = f;

  Pipe* target = targetPipe(project_, setup_, elem_);
  if (!target) return refuse("Error - program should not be here!", "EditPipeID");
  *target = rec_;
  if (isNew() || before.Length != rec_.Length || before.InsideDia != rec_.InsideDia ||
      before.Friction != rec_.Friction)
    project_.SetSolved(false);
  return true;
}

}  // namespace vt
