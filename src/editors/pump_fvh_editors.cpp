#include "editors/pump_fvh_editors.h"

#include <cmath>

#include "solver/curves.h"
#include "units/number_format.h"

namespace vt {

namespace {
std::string speedText(int16_t s) { return s == kBlankSmall ? "" : std::to_string(s); }

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> out;
  std::string cur;
  for (size_t i = 0; i < text.size(); ++i) {
    char ch = text[i];
    if (ch == '\r' || ch == '\n') {
      out.push_back(cur);
      cur.clear();
      if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      cur += ch;
    }
  }
  if (!cur.empty()) out.push_back(cur);
  return out;
}

std::string utf8Prefix(const std::string& s, size_t chars) {
  size_t i = 0, n = 0;
  while (i < s.size() && n < chars) {
    auto b = static_cast<unsigned char>(s[i]);
    i += b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : 4;
    ++n;
  }
  return s.substr(0, std::min(i, s.size()));
}
}  // namespace

// ---------------------------------------------------------------- pump

PumpEditor::PumpEditor(Project& project, EditorSetup setup) : ElementEditorBase(project, std::move(setup)), rec_(newPump()) {
  const UnitsInUse& u = project_.units;
  const Pump* src = sourcePump(project_, setup_);
  if (isNew() || !src) {
    if (isNew() && elem_ < 1) elem_ = project_.FirstFreeElem();
    elev = "0";
    dirForward = true;
    curveMode = 0;
  } else {
    rec_ = *src;
    id = fromWide(rec_.ID, kIdLen);
    description = fromWide(rec_.Description, kDescLen);
    elev = fixed2(rec_.Elev * u.Len.factor);
    dirForward = rec_.Dir != -1;
    curveMode = rec_.CurveDefined ? 0 : 1;
    incr = shownOrEmpty(rec_.FlowIncr, u.Flow.factor);
    shutoff = shownOrEmpty(rec_.ShutoffHead, u.PHeadFactor);
    head1 = shownOrEmpty(rec_.Head1, u.PHeadFactor);
    head2 = shownOrEmpty(rec_.Head2, u.PHeadFactor);
    head3 = shownOrEmpty(rec_.Head3, u.PHeadFactor);
    npshr1 = shownOrEmpty(rec_.NPSHR1, u.PHeadFactor);
    npshr2 = shownOrEmpty(rec_.NPSHR2, u.PHeadFactor);
    npshr3 = shownOrEmpty(rec_.NPSHR3, u.PHeadFactor);
    designFlow = shownOrEmpty(rec_.DesignFlow, u.Flow.factor);
    speed1 = speedText(rec_.Speed);
    speed2 = speedText(rec_.Speed2);
    speed3 = speedText(rec_.Speed3);
    const std::pair<const char*, const std::string*> shown[] = {
        {"elev", &elev},     {"incr", &incr},     {"shutoff", &shutoff}, {"head1", &head1},
        {"head2", &head2},   {"head3", &head3},   {"npshr1", &npshr1},   {"npshr2", &npshr2},
        {"npshr3", &npshr3}, {"design", &designFlow}};
    for (auto& [name, text] : shown) remember(name, *text);
  }
  openingId_ = id;
}

std::string PumpEditor::caption() const {
  switch (mode_) {
    case EditorMode::New: return "Insert New Pump";
    case EditorMode::Existing: return "Edit Existing Pump";
    case EditorMode::Clipboard: return "Edit Clipboard Pump";
  }
  return "";
}

void PumpEditor::setCatalogueData(const std::string& text) { catalogue_ = splitLines(text); }

std::string PumpEditor::catalogueCaption() const {
  return "Click to use Rotavex data - " + utf8Prefix(catalogue_.empty() ? "" : catalogue_[0], 20);
}

void PumpEditor::takeCatalogueData() {
  const UnitsInUse& u = project_.units;
  auto line = [&](size_t n) { return n <= catalogue_.size() ? catalogue_[n - 1] : std::string(); };
  auto scaled = [&](size_t n, double factor) {
    auto v = numberOf(line(n));
    return v ? formatFixed(*v * factor, 6, 2) : std::string();
  };
  curveMode = 0;
  id = utf8Prefix(line(1), 10);
  description = utf8Prefix(line(2), 40);
  speed1 = trimmed(line(4));
  incr = scaled(5, u.Flow.factor);
  shutoff = scaled(6, u.PHeadFactor);
  head1 = scaled(7, u.PHeadFactor);
  head2 = scaled(8, u.PHeadFactor);
  head3 = scaled(9, u.PHeadFactor);
  npshr1 = line(10).find("-19999") != std::string::npos ? "" : scaled(10, u.PHeadFactor);
  npshr2 = line(11).find("-19999") != std::string::npos ? "" : scaled(11, u.PHeadFactor);
  npshr3 = line(12).find("-19999") != std::string::npos ? "" : scaled(12, u.PHeadFactor);
  speed2.clear();
  speed3.clear();
}

bool PumpEditor::accept() {
  focus_.clear();
  const UnitsInUse& u = project_.units;
  const bool curve = curveMode == 0;
  id = trimmed(id);
  if (id.empty()) return refuse("Error - Need ID!", "EditPumpID");
  if (!IsNumber(elev)) return refuse("Bad elevation!", "EditElev");

  struct Positive {
    std::string* text;
    const char* message;
    const char* control;
  };
  Positive positives[] = {{&incr, "Bad flow increment!", "EditIncr"},
                          {&shutoff, "Bad shutoff head!", "EditShut"},
                          {&head1, "Bad head value!", "Edit1Incr"},
                          {&head2, "Bad head value!", "Edit2Incr"},
                          {&head3, "Bad head value!", "Edit3Incr"}};
  for (auto& f : positives) {
    if (positiveOf(*f.text)) continue;
    if (curve) return refuse(f.message, f.control);
    f.text->clear();
  }
  std::pair<std::string*, const char*> npshrs[] = {{&npshr1, "EditN1Incr"}, {&npshr2, "EditN2Incr"}, {&npshr3, "EditN3Incr"}};
  for (auto& [text, control] : npshrs) {
    if (IsNumber(*text)) continue;
    if (curve) return refuse("Bad NPSHR value! Leave blank if not used.", control);
    text->clear();
  }
  if (!positiveOf(designFlow)) {
    if (!curve) return refuse("Bad design flow value!", "EditDesFlow");
    designFlow.clear();
  }
  std::pair<std::string*, const char*> speeds[] = {{&speed1, "EditSpeed1"}, {&speed2, "EditSpeed2"}, {&speed3, "EditSpeed3"}};
  for (auto& [text, control] : speeds) {
    if (trimmed(*text).empty()) continue;
    auto v = numberOf(*text);
    if (v && *v > 0 && *v <= 32000) continue;
    if (curve) return refuse("Invalid speed!", control);
    text->clear();
  }
  if (clashingElement(id, openingId_)) return refuse("Error - ID already used! Enter a new ID...", "EditPumpID");

  Pump r = rec_;
  toWide(description, r.Description, kDescLen);
  toWide(id, r.ID, kIdLen);
  if (isNew()) r.Flags = 0;
  r.Dir = dirForward ? 1 : -1;
  r.Elev = trimmed(elev).empty() ? 0.0f : static_cast<float>(valueOf("elev", elev, rec_.Elev, u.Len.factor));
  r.CurveDefined = curve ? 1 : 0;
  auto stored = [&](const char* name, const std::string& t, float before, double factor) {
    return static_cast<float>(valueOf(name, t, before, factor));
  };
  r.FlowIncr = stored("incr", incr, rec_.FlowIncr, u.Flow.factor);
  r.ShutoffHead = stored("shutoff", shutoff, rec_.ShutoffHead, u.PHeadFactor);
  r.Head1 = stored("head1", head1, rec_.Head1, u.PHeadFactor);
  r.Head2 = stored("head2", head2, rec_.Head2, u.PHeadFactor);
  r.Head3 = stored("head3", head3, rec_.Head3, u.PHeadFactor);
  r.NPSHR1 = stored("npshr1", npshr1, rec_.NPSHR1, u.PHeadFactor);
  r.NPSHR2 = stored("npshr2", npshr2, rec_.NPSHR2, u.PHeadFactor);
  r.NPSHR3 = stored("npshr3", npshr3, rec_.NPSHR3, u.PHeadFactor);
  auto speed = [](const std::string& t) {
    auto v = numberOf(t);
    return v ? static_cast<int16_t>(std::lround(*v)) : kBlankSmall;
  };
  r.Speed = speed(speed1);
  r.Speed2 = speed(speed2);
  r.Speed3 = speed(speed3);
  r.DesignFlow = stored("design", designFlow, rec_.DesignFlow, u.Flow.factor);

  // The fit comes before anything is written: a refused curve leaves the element as it was.
  if (curve && !FitPumpCurve(r)) {
    focus_ = "EditIncr";
    project_.prompter().message(MsgKind::Error, kPumpCurveErrorText);
    return false;
  }
  if (!curve) FitPumpCurve(r);  // keeps the derived fields in step with whatever the fields hold

  const Pump& b = rec_;
  bool changed = isNew() || b.CurveDefined != r.CurveDefined || b.FlowIncr != r.FlowIncr ||
                 b.ShutoffHead != r.ShutoffHead || b.Head1 != r.Head1 || b.Head2 != r.Head2 || b.Head3 != r.Head3 ||
                 b.NPSHR1 != r.NPSHR1 || b.NPSHR2 != r.NPSHR2 || b.NPSHR3 != r.NPSHR3 ||
                 b.DesignFlow != r.DesignFlow || b.Elev != r.Elev || b.Dir != r.Dir;
  Pump* target = targetPump(project_, setup_, elem_);
  if (!target) return refuse("Error - program should not be here!", "EditPumpID");
  commitId(id, openingId_);
  *target = r;
  rec_ = r;
  if (changed) project_.SetSolved(false);
  return true;
}

// ---------------------------------------------------------------- FVH

FvhEditor::FvhEditor(Project& project, EditorSetup setup) : ElementEditorBase(project, std::move(setup)), rec_(newFvh()) {
  const UnitsInUse& u = project_.units;
  const FVH* src = sourceFvh(project_, setup_);
  if (isNew() || !src) {
    if (isNew() && elem_ < 1) elem_ = project_.FirstFreeElem();
    dirForward = true;
  } else {
    rec_ = *src;
    id = fromWide(rec_.ID, kIdLen);
    description = fromWide(rec_.Description, kDescLen);
    dirForward = rec_.Dir != -1;
    incr = shownOrEmpty(rec_.FlowIncr, u.Flow.factor);
    loss1 = shownOrEmpty(rec_.HeadLoss1, u.PHeadFactor);
    loss2 = shownOrEmpty(rec_.HeadLoss2, u.PHeadFactor);
    remember("incr", incr);
    remember("loss1", loss1);
    remember("loss2", loss2);
  }
  openingId_ = id;
}

std::string FvhEditor::caption() const {
  switch (mode_) {
    case EditorMode::New: return "Insert New FVH";
    case EditorMode::Existing: return "Edit Existing FVH";
    case EditorMode::Clipboard: return "Edit Clipboard FVH";
  }
  return "";
}

bool FvhEditor::accept() {
  focus_.clear();
  const UnitsInUse& u = project_.units;
  id = trimmed(id);
  if (id.empty()) return refuse("Error - Need ID!", "EditFVHID");
  auto q = positiveOf(incr);
  if (!q) return refuse("Bad flow increment!", "EditIncr");
  auto h1 = numberOf(loss1);
  if (!h1) return refuse("Bad head value!", "Edit1Incr");
  auto h2 = numberOf(loss2);
  if (!h2) return refuse("Bad head value!", "Edit2Incr");
  if (*h2 < *h1) return refuse("Bad head values. Curve must be increasing!", "Edit2Incr");
  if (clashingElement(id, openingId_)) return refuse("Error - ID already used! Enter a new ID...", "EditFVHID");

  FVH r = rec_;
  toWide(description, r.Description, kDescLen);
  toWide(id, r.ID, kIdLen);
  if (isNew()) r.Flags = 0;
  r.Dir = dirForward ? 1 : -1;
  r.FlowIncr = static_cast<float>(valueOf("incr", incr, rec_.FlowIncr, u.Flow.factor));
  r.HeadLoss1 = static_cast<float>(valueOf("loss1", loss1, rec_.HeadLoss1, u.PHeadFactor));
  r.HeadLoss2 = static_cast<float>(valueOf("loss2", loss2, rec_.HeadLoss2, u.PHeadFactor));
  // The fit comes before anything is written: a refused curve leaves the element as it was.
  if (!FitFvhCurve(r)) {
    focus_ = "Edit1Incr";
    project_.prompter().message(MsgKind::Error, kFvhCurveErrorText);
    return false;
  }
  bool changed = isNew() || r.FlowIncr != rec_.FlowIncr || r.HeadLoss1 != rec_.HeadLoss1 ||
                 r.HeadLoss2 != rec_.HeadLoss2 || r.Dir != rec_.Dir;
  FVH* target = targetFvh(project_, setup_, elem_);
  if (!target) return refuse("Error - program should not be here!", "EditFVHID");
  commitId(id, openingId_);
  *target = r;
  rec_ = r;
  if (changed) project_.SetSolved(false);
  return true;
}

}  // namespace vt
