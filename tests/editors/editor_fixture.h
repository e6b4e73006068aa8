// A small project with display units set, a scripted prompter and helpers to place elements.
#pragma once

#include <string>

#include "editors/editor_common.h"
#include "model/project.h"
#include "units/units_catalogue.h"

namespace vt::test {

inline void englishUnits(Project& p) {
  UnitsInUse& u = p.units;
  u.Len = {"ft", 1.0 / 12.0, "Feet (ft)", "ft"};
  u.Dia = {"in", 1.0, "Inches (in)", "in"};
  u.Flow = {"USgpm", 1.0, "US Gallons/min (USgpm)", "gpm"};
  u.SHead = {"psi", 0.433, "Pounds/sq.inch (psi)", "psi"};
  u.PHead = {"ft liq", 1.0, "Feet of liquid (ft liq)", "ft"};
  u.VP = {"psi", 1.0, "Pounds/sq.inch (psi)", "psi"};
  u.LiqTemp = {"F", 1.0, "Degrees Fahr (F)", "F"};
  u.Viscosity = {"cs", 1.0, "Centistokes (cs)", "cs"};
  updateDerivedUnits(u, p.liquid.LiqSG);
}

inline void metricUnits(Project& p) {
  UnitsInUse& u = p.units;
  u.Len = {"mtr", 0.0254, "Meters (mtr)", "m"};
  u.Dia = {"mm", 25.4, "Millimeter (mm)", "mm"};
  u.Flow = {"m3/hr", 0.2271247, "Cubic mtrs/hr (m3/hr)", "m3/h"};
  u.SHead = {"Kpa", 2.98898, "Kpascals (Kpa)", "kPa"};
  u.PHead = {"mtr liq", 0.3048, "Mtrs of liquid (mtr liq)", "m"};
  u.VP = {"Kpa", 6.894757, "Kpascals (Kpa)", "kPa"};
  u.LiqTemp = {"C", 1.0, "Degrees Cent (C)", "C"};
  u.Viscosity = {"m2/s", 1e-6, "Square mtr/sec (m2/s)", "m2/s"};
  updateDerivedUnits(u, p.liquid.LiqSG);
}

struct EditorFixture {
  Project p;
  ScriptedPrompter prompt;

  EditorFixture() {
    p.setPrompter(&prompt);
    p.liquid.LiqSG = 1.0f;
    p.liquid.LiqDesc = "Water";
    englishUnits(p);
  }

  // Appends a new element of `type` with `id` to the end of `line`; returns its number.
  int add(int line, int type, const std::string& id) {
    int n = p.FirstFreeElem();
    p.createElement(n, type);
    p.setElemID(n, id);
    p.insertInSeq(n, p.LineEnd[line] + 1);
    return n;
  }
  // Places an existing node again at the end of another line.
  void share(int line, int n) { p.insertInSeq(n, p.LineEnd[line] + 1); }

  EditorSetup newSetup(int type) { return {"fMain", p.FirstFreeElem(), type, true, {}}; }
  EditorSetup existingSetup(int n) { return {"fMain", n, p.ElemType[n], false, {}}; }
  template <class R>
  EditorSetup clipSetup(int type, R* rec) {
    return {kClipboardCaller, 0, type, false, RecordPtr(rec)};
  }
  std::string lastText() const { return prompt.shown.empty() ? std::string() : prompt.shown.back().text; }
};

}  // namespace vt::test
