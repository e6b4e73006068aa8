#include "editors/node_editors.h"

#include <gtest/gtest.h>

#include "editor_fixture.h"

namespace vt {
namespace {

using test::EditorFixture;

// Main line S1 - P1 - G1 - P2 - S2, with an empty branch 1.
struct TwoSupplies : EditorFixture {
  int s1, g1, s2;
  TwoSupplies() {
    s1 = add(0, kSupply, "S1");
    add(0, kPipe, "P1");
    g1 = add(0, kGauge, "G1");
    add(0, kPipe, "P2");
    s2 = add(0, kSupply, "S2");
  }
};

TEST(GaugeEditor, BranchStartsAtAPickedMainLineGauge) {
  TwoSupplies f;
  f.p.CurLine = 1;
  f.p.RefreshSpots();
  EditorSetup s = f.newSetup(kGauge);
  GaugeEditor ed(f.p, s);
  EXPECT_EQ(ed.caption(), "Insert New Gauge");
  ASSERT_TRUE(ed.usesDropDown());
  ASSERT_EQ(ed.reusable().size(), 1u);
  EXPECT_EQ(ed.reusable()[0].id, "G1");
  ed.pick(0);
  EXPECT_EQ(ed.caption(), "Place A Connecting Gauge Here");
  EXPECT_TRUE(ed.pressEscShown());
  EXPECT_EQ(ed.focus(), "EditNodeDescription1");
  size_t ids = f.p.IDList.size();
  int free = f.p.FirstFreeElem();
  f.p.SetSolved(true);
  ASSERT_TRUE(ed.accept());
  EXPECT_FALSE(ed.newElementFlag());
  EXPECT_EQ(ed.placedElement(), f.g1);
  EXPECT_EQ(f.p.IDList.size(), ids);
  EXPECT_EQ(f.p.FirstFreeElem(), free);
  EXPECT_FALSE(f.p.proj.Solved);
  // The caller places the picked element: it then stands in both lines.
  ASSERT_TRUE(f.p.insertInSeq(ed.placedElement(), f.p.LineEnd[1] + 1));
  EXPECT_EQ(f.p.positionsOf(f.g1).size(), 2u);
  EXPECT_EQ(f.p.tot_nodes, 3);
}

TEST(GaugeEditor, EscapeReturnsToAFreshGauge) {
  TwoSupplies f;
  f.p.CurLine = 1;
  GaugeEditor ed(f.p, f.newSetup(kGauge));
  ed.pick(0);
  ed.escape();
  EXPECT_FALSE(ed.reusing());
  EXPECT_EQ(ed.caption(), "Insert New Gauge");
  EXPECT_EQ(ed.placedElement(), f.p.FirstFreeElem());
  EXPECT_EQ(ed.id, "");
  EXPECT_EQ(ed.demand, "0.00");
}

TEST(GaugeEditor, MessagesAndStoredValues) {
  struct Case {
    const char *id, *demand, *elev, *message;
  };
  const Case cases[] = {
      {"", "0", "0", "Error - Need ID!"},
      {"G9", "x", "0", "Bad demand flow!"},
      {"G9", "0", "", "Bad elevation!"},
      {"g1", "0", "0",
       "Error - ID: \"g1\" already used! Click the dropdown to use existing Gauges. Otherwise enter a new ID..."},
      {"P1", "0", "0", "Error - P1 already used! Enter a new ID..."},
  };
  for (const auto& c : cases) {
    TwoSupplies f;
    GaugeEditor ed(f.p, f.newSetup(kGauge));
    EXPECT_FALSE(ed.usesDropDown()) << "every gauge stands in the current line";
    ed.id = c.id;
    ed.demand = c.demand;
    ed.elev = c.elev;
    EXPECT_FALSE(ed.accept()) << c.message;
    EXPECT_EQ(f.lastText(), c.message);
  }
  TwoSupplies f;
  EditorSetup s = f.newSetup(kGauge);
  GaugeEditor ed(f.p, s);
  ed.id = "G2";
  ed.demand = "-25";
  ed.elev = "12.5";
  ASSERT_TRUE(ed.accept());
  EXPECT_EQ(f.lastText(), "Warning - Demands at Gauges are for advanced use. See the Help file...(press F1)");
  EXPECT_EQ(f.p.node[s.elem]->Flow, -25.0f);
  EXPECT_EQ(f.p.node[s.elem]->Elev, 150.0f);
  EXPECT_EQ(f.p.IDList.find("G2"), s.elem);
  EXPECT_EQ(f.p.ElemType[s.elem], kGauge);
}

TEST(SupplyEditor, DropDownNeverOffersASupplyOfTheCurrentLine) {
  TwoSupplies f;
  SupplyEditor main(f.p, f.newSetup(kSupply));
  EXPECT_FALSE(main.usesDropDown());
  f.p.CurLine = 2;
  SupplyEditor branch(f.p, f.newSetup(kSupply));
  ASSERT_EQ(branch.reusable().size(), 2u);
  EXPECT_EQ(branch.reusable()[0].id, "S1");
  EXPECT_EQ(branch.reusable()[1].id, "S2");
  branch.pick(1);
  EXPECT_EQ(branch.caption(), "Re-Use An Existing Supply Here");
  ASSERT_TRUE(branch.accept());
  EXPECT_EQ(branch.placedElement(), f.s2);
  EXPECT_FALSE(branch.newElementFlag());
}

TEST(SupplyEditor, AcceptanceOrderAndMessages) {
  struct Case {
    int type;
    const char *id, *pres, *surf, *inlet, *dia, *message, *focus;
  };
  const Case cases[] = {
      {0, "", "0", "0", "0", "2", "Error - Need ID!", "EditNodeID"},
      {1, "S9", "x", "0", "0", "2", "Bad pressure value!", "EditPres"},
      {0, "S9", "x", "", "0", "2", "Bad liquid surface elevation!", "EditLiqElev"},
      {0, "S9", "0", "8", "", "2", "Bad inlet elevation!", "Editinletelev"},
      {1, "S9", "0", "8", "10", "2", "Inlet elevation cannot be higher than liquid surface!", "Editinletelev"},
      {2, "S9", "0", "8", "10", "2", "", ""},  // a force main has no inlet: accepted
      {0, "s1", "0", "8", "0", "2",
       "Error - ID: \"s1\" already used! Click the dropdown to use existing Supplys. Otherwise enter a new ID...",
       "EditNodeID"},
      {0, "G1", "0", "8", "0", "2", "Error - ID: \"G1\" already used! Enter a new ID...", "EditNodeID"},
  };
  for (const auto& c : cases) {
    TwoSupplies f;
    SupplyEditor ed(f.p, f.newSetup(kSupply));
    ed.supplyType = c.type;
    ed.inletExitType = 2;
    ed.id = c.id;
    ed.pressure = c.pres;
    ed.surfaceElev = c.surf;
    ed.inletElev = c.inlet;
    ed.inletDia = c.dia;
    bool ok = ed.accept();
    EXPECT_EQ(ok, *c.message == 0) << c.message;
    if (*c.message) {
      EXPECT_EQ(f.lastText(), c.message);
      EXPECT_EQ(ed.focus(), c.focus);
    }
  }
}

TEST(SupplyEditor, StoredValuesByType) {
  TwoSupplies f;
  f.p.liquid.LiqSG = 0.9f;
  test::englishUnits(f.p);
  EditorSetup s = f.newSetup(kSupply);
  SupplyEditor ed(f.p, s);
  EXPECT_EQ(ed.caption(), "Insert New Supply");
  EXPECT_EQ(ed.pressure, "0.00");
  EXPECT_EQ(ed.inletDia, "2.000");
  ed.id = "T1";
  ed.supplyType = 1;
  ed.inletExitType = 8;
  ed.pressure = "3.897";  // psi = 10 ft of a liquid of SG 0.9
  ed.surfaceElev = "20";
  ed.inletElev = "15";
  ed.inletDia = "6";
  EXPECT_EQ(ed.elevLabel(), "&Liq surface elev :");
  EXPECT_EQ(ed.pressureUnit(), "psi (gage)");
  ASSERT_TRUE(ed.accept());
  const Node& r = *f.p.node[s.elem];
  EXPECT_NEAR(r.Pressure, 10.0, 1e-4);
  EXPECT_FLOAT_EQ(r.InletK, 1.0f);
  EXPECT_FLOAT_EQ(r.Elev, 240.0f);
  EXPECT_FLOAT_EQ(r.InletElev, 180.0f);
  EXPECT_FLOAT_EQ(r.InletDia, 6.0f);
  EXPECT_FLOAT_EQ(f.p.last.LastInsideDia, 6.0f);

  // A force main hides the inlet fields; its loss coefficient is 0 whatever the inlet type.
  SupplyEditor fm(f.p, f.existingSetup(s.elem));
  EXPECT_EQ(fm.caption(), "Edit Supply");
  EXPECT_EQ(fm.pressure, "3.90");
  fm.supplyType = 2;
  EXPECT_FALSE(fm.inletShown());
  EXPECT_EQ(fm.elevLabel(), "E&levation :");
  ASSERT_TRUE(fm.accept());
  EXPECT_FLOAT_EQ(r.InletK, 0.0f);
  EXPECT_FLOAT_EQ(r.InletElev, 0.0f);
  EXPECT_FLOAT_EQ(f.p.last.LastInsideDia, 6.0f);

  fm.surfaceElev = "7.5x";
  fm.surfaceElevLeft();
  EXPECT_EQ(fm.surfaceElev, "0");
  fm.surfaceElev = "7.5";
  fm.surfaceElevLeft();
  EXPECT_EQ(fm.surfaceElev, "7.50");
}

TEST(NodeEditors, CaptionsOfSharedAndClipboardNodes) {
  TwoSupplies f;
  f.share(1, f.g1);
  f.p.idBranches(0);
  GaugeEditor shared(f.p, f.existingSetup(f.g1));
  EXPECT_EQ(shared.caption(), "Edit A Connecting Gauge (exists elsewhere)");
  Node copy = copyInputs(*f.p.node[f.s1]);
  SupplyEditor clip(f.p, f.clipSetup(kSupply, &copy));
  EXPECT_EQ(clip.caption(), "Edit Clipboard Supply");
  GaugeEditor clipG(f.p, f.clipSetup(kGauge, &copy));
  EXPECT_EQ(clipG.caption(), "Edit Clipboard Gauge");
}

}  // namespace
}  // namespace vt
