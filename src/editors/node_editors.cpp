#include "editors/node_editors.h"

#include <set>

#include "model/fixed_tables.h"

namespace vt {

NodeEditorBase::NodeEditorBase(Project& project, EditorSetup setup)
    : ElementEditorBase(project, std::move(setup)), rec_(newNode()) {}

void NodeEditorBase::buildReusable() {
  reusable_.clear();
  std::set<int> inCurrent;
  for (int p = project_.lineFirstPos(project_.CurLine); p <= project_.lineLastPos(project_.CurLine); ++p)
    if (project_.ElemSeq[static_cast<size_t>(p)] > 0) inCurrent.insert(project_.ElemSeq[static_cast<size_t>(p)]);
  std::set<std::string> seen;
  for (int p = 1; p <= project_.SeqLen; ++p) {
    int n = project_.ElemSeq[static_cast<size_t>(p)];
    if (n <= 0 || project_.ElemType[static_cast<size_t>(n)] != setup_.type || inCurrent.count(n)) continue;
    std::string nid = project_.ElemID(n);
    if (!seen.insert(nid).second) continue;
    reusable_.push_back({nid, n});
  }
}

void NodeEditorBase::pick(int index) {
  if (index < 0 || index >= static_cast<int>(reusable_.size())) return;
  const Reusable& r = reusable_[static_cast<size_t>(index)];
  const Node* n = project_.node[static_cast<size_t>(r.elem)].get();
  if (!n) return;
  reuse_ = true;
  elem_ = r.elem;
  id = r.id;
  showRecord(*n);
  focus_ = "EditNodeDescription1";
}

void NodeEditorBase::escape() {
  if (!isNew()) return;
  reuse_ = false;
  elem_ = project_.FirstFreeElem();
  id.clear();
  showNewDefaults();
}

bool NodeEditorBase::startAccept(const char* idControl, bool& done) {
  done = false;
  focus_.clear();
  id = trimmed(id);
  if (reuse_ && !project_.IDList.contains(id)) reuse_ = false;
  if (id.empty()) return refuse("Error - Need ID!", idControl);
  return true;
}

void NodeEditorBase::storeCommon(Node& r) {
  toWide(description, r.Description, kDescLen);
  toWide(id, r.ID, kIdLen);
  if (isNew()) r.Flags = 0;
}

// ---------------------------------------------------------------- supply

SupplyEditor::SupplyEditor(Project& project, EditorSetup setup) : NodeEditorBase(project, std::move(setup)) {
  if (isNew()) {
    if (elem_ < 1) elem_ = project_.FirstFreeElem();
    buildReusable();
    showNewDefaults();
  } else if (const Node* n = sourceNode(project_, setup_, elem_)) {
    rec_ = *n;
    id = fromWide(rec_.ID, kIdLen);
    showRecord(rec_);
    remember("pressure", pressure);
    remember("surface", surfaceElev);
    remember("inletElev", inletElev);
    remember("inletDia", inletDia);
  } else {
    showNewDefaults();
  }
  openingId_ = id;
}

void SupplyEditor::showNewDefaults() {
  rec_ = newNode();
  supplyType = 0;
  inletExitType = 0;
  description.clear();
  pressure = surfaceElev = inletElev = "0.00";
  inletDia = fixed3(project_.last.LastInsideDia * project_.units.Dia.factor);
}

void SupplyEditor::showRecord(const Node& n) {
  const UnitsInUse& u = project_.units;
  description = fromWide(n.Description, kDescLen);
  supplyType = (n.SupplyType >= 0 && n.SupplyType < kSupplyTypeCount) ? n.SupplyType : 0;
  inletExitType = (n.InletExitType >= 0 && n.InletExitType < kInletExitTypeCount) ? n.InletExitType : 0;
  pressure = fixed2(n.Pressure * u.SHeadFactor);
  surfaceElev = fixed2(n.Elev * u.Len.factor);
  inletElev = fixed2(n.InletElev * u.Len.factor);
  inletDia = fixed3(n.InletDia * u.Dia.factor);
}

std::string SupplyEditor::caption() const {
  if (reuse_) return "Re-Use An Existing Supply Here";
  switch (mode_) {
    case EditorMode::New: return "Insert New Supply";
    case EditorMode::Clipboard: return "Edit Clipboard Supply";
    case EditorMode::Existing:
      return fromWide(rec_.LineMembership, 10).empty() ? "Edit Supply" : "Edit Supply (exists elsewhere)";
  }
  return "";
}

void SupplyEditor::surfaceElevLeft() {
  auto v = numberOf(surfaceElev);
  surfaceElev = v ? fixed2(*v) : "0";
}

bool SupplyEditor::accept() {
  bool done = false;
  const char* idControl = usesDropDown() ? "cbEditNodeID" : "EditNodeID";
  if (!startAccept(idControl, done)) return false;
  const UnitsInUse& u = project_.units;
  auto shownValue = [](bool shown, const std::string& text) { return shown ? text : std::string("0"); };
  std::string pres = shownValue(pressureShown(), pressure);
  std::string inEl = shownValue(inletShown(), inletElev);
  std::string inDia = shownValue(inletDiaShown(), inletDia);
  if (!IsNumber(pres)) return refuse("Bad pressure value!", "EditPres");
  auto surf = numberOf(surfaceElev);
  if (!surf) return refuse("Bad liquid surface elevation!", "EditLiqElev");
  auto inletE = numberOf(inEl);
  if (!inletE) return refuse("Bad inlet elevation!", "Editinletelev");
  if (inletDiaShown() && !positiveOf(inDia)) return refuse("Bad diameter!", "EditInletdia");
  if (inletShown() && *inletE > *surf)
    return refuse("Inlet elevation cannot be higher than liquid surface!", "Editinletelev");

  if (reuse_) {
    project_.SetSolved(false);
    newFlag_ = false;
    return true;
  }
  if (int holder = clashingElement(id, openingId_)) {
    std::string msg = "Error - ID: \"" + id + "\"";
    msg += project_.ElemType[static_cast<size_t>(holder)] == kSupply
               ? " already used! Click the dropdown to use existing Supplys. Otherwise enter a new ID..."
               : " already used! Enter a new ID...";
    return refuse(msg, idControl);
  }
  Node r = rec_;
  r.SupplyType = static_cast<int16_t>(supplyType);
  r.InletExitType = static_cast<int16_t>(inletExitType);
  storeCommon(r);
  r.InletK = inletShown() ? inletExitK(inletExitType) : 0.0f;
  r.Pressure = trimmed(pres).empty() ? 0.0f : static_cast<float>(valueOf("pressure", pres, rec_.Pressure, u.SHeadFactor));
  r.Elev = static_cast<float>(valueOf("surface", surfaceElev, rec_.Elev, u.Len.factor));
  r.InletElev = static_cast<float>(valueOf("inletElev", inEl, rec_.InletElev, u.Len.factor));
  r.InletDia = trimmed(inDia).empty() ? 0.0f : static_cast<float>(valueOf("inletDia", inDia, rec_.InletDia, u.Dia.factor));
  // A hidden inlet diameter is not a pipe size anyone chose: it must not seed the next pipe.
  if (inletDiaShown()) project_.last.LastInsideDia = r.InletDia;
  Node* target = targetNode(project_, setup_, elem_);
  if (!target) return refuse("Error - program should not be here!", idControl);
  commitId(id, openingId_);
  bool changed = isNew() || r.Pressure != rec_.Pressure || r.Elev != rec_.Elev || r.InletElev != rec_.InletElev ||
                 r.SupplyType != rec_.SupplyType || r.InletExitType != rec_.InletExitType;
  *target = r;
  rec_ = r;
  if (changed) project_.SetSolved(false);
  return true;
}

// ---------------------------------------------------------------- gauge

GaugeEditor::GaugeEditor(Project& project, EditorSetup setup) : NodeEditorBase(project, std::move(setup)) {
  if (isNew()) {
    if (elem_ < 1) elem_ = project_.FirstFreeElem();
    buildReusable();
    showNewDefaults();
  } else if (const Node* n = sourceNode(project_, setup_, elem_)) {
    rec_ = *n;
    id = fromWide(rec_.ID, kIdLen);
    showRecord(rec_);
    remember("demand", demand);
    remember("elev", elev);
  } else {
    showNewDefaults();
  }
  openingId_ = id;
}

void GaugeEditor::showNewDefaults() {
  rec_ = newNode();
  description.clear();
  demand = elev = "0.00";
}

void GaugeEditor::showRecord(const Node& n) {
  description = fromWide(n.Description, kDescLen);
  demand = fixed2(n.Flow * project_.units.Flow.factor);
  elev = fixed2(n.Elev * project_.units.Len.factor);
}

std::string GaugeEditor::caption() const {
  if (reuse_) return "Place A Connecting Gauge Here";
  switch (mode_) {
    case EditorMode::New: return "Insert New Gauge";
    case EditorMode::Clipboard: return "Edit Clipboard Gauge";
    case EditorMode::Existing:
      return fromWide(rec_.LineMembership, 10).empty() ? "Edit Gauge" : "Edit A Connecting Gauge (exists elsewhere)";
  }
  return "";
}

bool GaugeEditor::accept() {
  bool done = false;
  const char* idControl = usesDropDown() ? "cbEditNodeID" : "EditNodeID";
  if (!startAccept(idControl, done)) return false;
  if (reuse_) {
    project_.SetSolved(false);
    newFlag_ = false;
    return true;
  }
  const UnitsInUse& u = project_.units;
  if (!IsNumber(demand)) return refuse("Bad demand flow!", "EditDemand");
  auto el = numberOf(elev);
  if (!el) return refuse("Bad elevation!", "EditElev");
  if (int holder = clashingElement(id, openingId_)) {
    std::string msg = project_.ElemType[static_cast<size_t>(holder)] == kGauge
                          ? "Error - ID: \"" + id + "\" already used! Click the dropdown to use existing Gauges. Otherwise enter a new ID..."
                          : "Error - " + id + " already used! Enter a new ID...";
    return refuse(msg, idControl);
  }
  Node r = rec_;
  storeCommon(r);
  r.Flow = trimmed(demand).empty() ? 0.0f : static_cast<float>(valueOf("demand", demand, rec_.Flow, u.Flow.factor));
  r.Elev = static_cast<float>(valueOf("elev", elev, rec_.Elev, u.Len.factor));
  Node* target = targetNode(project_, setup_, elem_);
  if (!target) return refuse("Error - program should not be here!", idControl);
  commitId(id, openingId_);
  bool changed = isNew() || r.Flow != rec_.Flow || r.Elev != rec_.Elev;
  *target = r;
  rec_ = r;
  if (changed) project_.SetSolved(false);
  if (r.Flow != 0)
    project_.prompter().message(MsgKind::Warning,
                                "Warning - Demands at Gauges are for advanced use. See the Help file...(press F1)");
  return true;
}

}  // namespace vt
