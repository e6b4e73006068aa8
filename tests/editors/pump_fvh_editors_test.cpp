#include "editors/pump_fvh_editors.h"

#include <gtest/gtest.h>

#include "editor_fixture.h"

namespace vt {
namespace {

using test::EditorFixture;

void validCurve(PumpEditor& ed) {
  ed.curveMode = 0;
  ed.id = "PU1";
  ed.elev = "5";
  ed.incr = "100";
  ed.shutoff = "150";
  ed.head1 = "145";
  ed.head2 = "130";
  ed.head3 = "100";
}

TEST(PumpEditor, AcceptanceOrderAndMessages) {
  struct Case {
    const char* field;
    const char* text;
    const char* message;
    const char* focus;
  };
  const Case cases[] = {
      {"id", " ", "Error - Need ID!", "EditPumpID"},
      {"elev", "abc", "Bad elevation!", "EditElev"},
      {"incr", "", "Bad flow increment!", "EditIncr"},
      {"incr", "0", "Bad flow increment!", "EditIncr"},
      {"shutoff", "-1", "Bad shutoff head!", "EditShut"},
      {"head1", "", "Bad head value!", "Edit1Incr"},
      {"head3", "x", "Bad head value!", "Edit3Incr"},
      {"npshr2", "x", "Bad NPSHR value! Leave blank if not used.", "EditN2Incr"},
      {"speed1", "32001", "Invalid speed!", "EditSpeed1"},
      {"speed3", "0", "Invalid speed!", "EditSpeed3"},
      {"id", "G1", "Error - ID already used! Enter a new ID...", "EditPumpID"},
  };
  for (const auto& c : cases) {
    EditorFixture f;
    f.add(0, kGauge, "G1");
    PumpEditor ed(f.p, f.newSetup(kPump));
    validCurve(ed);
    std::string field = c.field;
    std::string* target = field == "id" ? &ed.id : field == "elev" ? &ed.elev : field == "incr" ? &ed.incr
                        : field == "shutoff" ? &ed.shutoff : field == "head1" ? &ed.head1 : field == "head3" ? &ed.head3
                        : field == "npshr2" ? &ed.npshr2 : field == "speed1" ? &ed.speed1 : &ed.speed3;
    *target = c.text;
    EXPECT_FALSE(ed.accept()) << c.message;
    ASSERT_EQ(f.prompt.shown.size(), 1u) << c.message;
    EXPECT_EQ(f.prompt.shown[0].text, c.message);
    EXPECT_EQ(ed.focus(), c.focus) << c.message;
  }
}

TEST(PumpEditor, CurvePumpIsConvertedFittedAndReopened) {
  EditorFixture f;
  test::metricUnits(f.p);
  EditorSetup s = f.newSetup(kPump);
  PumpEditor ed(f.p, s);
  EXPECT_EQ(ed.caption(), "Insert New Pump");
  EXPECT_EQ(ed.elev, "0");
  EXPECT_EQ(ed.arrow(), "->");
  ed.id = "PU1";
  ed.incr = "22.71247";  // m3/h = 100 gpm
  ed.shutoff = "45.72";  // m = 150 ft
  ed.head1 = "44.196";
  ed.head2 = "39.624";
  ed.head3 = "30.48";
  ed.speed1 = "1750";
  ASSERT_TRUE(ed.accept());
  const Pump& r = *f.p.pump[s.elem];
  EXPECT_NEAR(r.FlowIncr, 100.0, 1e-3);
  EXPECT_NEAR(r.ShutoffHead, 150.0, 1e-3);
  EXPECT_NEAR(r.Head3, 100.0, 1e-3);
  EXPECT_EQ(r.Speed, 1750);
  EXPECT_EQ(r.Speed2, kBlankSmall);
  EXPECT_EQ(r.NPSHR1, kBlank);
  EXPECT_EQ(r.CurveDefined, 1);
  EXPECT_NE(r.CurveCoef[0], kBlank);
  EXPECT_EQ(r.Dir, 1);
  EXPECT_EQ(f.p.ElemType[s.elem], kPump);

  PumpEditor again(f.p, f.existingSetup(s.elem));
  EXPECT_EQ(again.caption(), "Edit Existing Pump");
  EXPECT_EQ(again.shutoff, "45.72");
  EXPECT_EQ(again.npshr1, "");
  EXPECT_EQ(again.speed1, "1750");
  EXPECT_EQ(again.speed2, "");
}

TEST(PumpEditor, DesignFlowModeEmptiesBadCurveFields) {
  EditorFixture f;
  EditorSetup s = f.newSetup(kPump);
  PumpEditor ed(f.p, s);
  ed.id = "PU1";
  ed.curveMode = 1;
  ed.incr = "garbage";
  ed.head2 = "-";
  ed.npshr1 = "??";
  ed.speed2 = "99999";
  ed.designFlow = "0";
  EXPECT_FALSE(ed.accept());
  EXPECT_EQ(f.lastText(), "Bad design flow value!");
  ed.designFlow = "250";
  ASSERT_TRUE(ed.accept());
  const Pump& r = *f.p.pump[s.elem];
  EXPECT_EQ(r.CurveDefined, 0);
  EXPECT_EQ(r.FlowIncr, kBlank);
  EXPECT_EQ(r.Head2, kBlank);
  EXPECT_EQ(r.NPSHR1, kBlank);
  EXPECT_EQ(r.Speed2, kBlankSmall);
  EXPECT_FLOAT_EQ(r.DesignFlow, 250.0f);
  EXPECT_EQ(ed.incr, "");
}

TEST(PumpEditor, FailedFitKeepsTheDialogOpenAndTheRecordUnchanged) {
  EditorFixture f;
  int n = f.add(0, kPump, "PU1");
  PumpEditor ed(f.p, f.existingSetup(n));
  validCurve(ed);
  ed.npshr1 = "10";
  ed.npshr2 = "8";  // falls
  ed.npshr3 = "12";
  EXPECT_FALSE(ed.accept());
  EXPECT_EQ(f.lastText(),
            "Error with pump curve values!  Leave NPSHR values blank if not available.  NPSHR curve must be increasing "
            "if defined.");
  EXPECT_EQ(f.p.pump[n]->ShutoffHead, newPump().ShutoffHead);
  ed.npshr2 = "11";
  ASSERT_TRUE(ed.accept());
  EXPECT_NE(f.p.pump[n]->NpshBase, kBlank);
}

TEST(PumpEditor, CatalogueDataFillsTheCurveFields) {
  EditorFixture f;
  PumpEditor ed(f.p, f.newSetup(kPump));
  EXPECT_FALSE(ed.catalogueAvailable());
  ed.setCatalogueData("ABCDEFGHIJKLMNOPQRSTUVWXYZ\r\nA pump\r\nx\r\n3550\r\n50\r\n200\r\n195\r\n180\r\n150\r\n-19999\r\n12\r\n15\r\n");
  ASSERT_TRUE(ed.catalogueAvailable());
  EXPECT_EQ(ed.catalogueCaption(), "Click to use Rotavex data - ABCDEFGHIJKLMNOPQRST");
  ed.curveMode = 1;
  ed.speed2 = "100";
  ed.takeCatalogueData();
  EXPECT_EQ(ed.curveMode, 0);
  EXPECT_EQ(ed.id, "ABCDEFGHIJ");
  EXPECT_EQ(ed.description, "A pump");
  EXPECT_EQ(ed.speed1, "3550");
  EXPECT_EQ(ed.incr, "50.00");
  EXPECT_EQ(ed.head3, "150.00");
  EXPECT_EQ(ed.npshr1, "");
  EXPECT_EQ(ed.npshr2, "12.00");
  EXPECT_EQ(ed.speed2, "");
}

TEST(FvhEditor, AcceptanceOrderFitAndStore) {
  struct Case {
    const char *id, *incr, *h1, *h2, *message;
  };
  const Case cases[] = {
      {"", "10", "1", "2", "Error - Need ID!"},
      {"F1", "0", "1", "2", "Bad flow increment!"},
      {"F1", "10", "", "2", "Bad head value!"},
      {"F1", "10", "1", "x", "Bad head value!"},
      {"F1", "10", "3", "2", "Bad head values. Curve must be increasing!"},
      {"F1", "10", "2", "2", "Problem with FVH curve values!"},
      {"G1", "10", "1", "2", "Error - ID already used! Enter a new ID..."},
  };
  for (const auto& c : cases) {
    EditorFixture f;
    f.add(0, kGauge, "G1");
    EditorSetup s = f.newSetup(kFVH);
    FvhEditor ed(f.p, s);
    ed.id = c.id;
    ed.incr = c.incr;
    ed.loss1 = c.h1;
    ed.loss2 = c.h2;
    EXPECT_FALSE(ed.accept()) << c.message;
    EXPECT_EQ(f.lastText(), c.message);
    EXPECT_FALSE(f.p.fvh[s.elem]) << "nothing is created on refusal";
  }
  EditorFixture f;
  EditorSetup s = f.newSetup(kFVH);
  FvhEditor ed(f.p, s);
  EXPECT_EQ(ed.caption(), "Insert New FVH");
  ed.id = "F1";
  ed.incr = "100";
  ed.loss1 = "5";
  ed.loss2 = "20";
  ed.flipDirection();
  ASSERT_TRUE(ed.accept());
  const FVH& r = *f.p.fvh[s.elem];
  EXPECT_NEAR(r.CoefB, 2.0, 1e-5);
  EXPECT_EQ(r.Dir, -1);
  EXPECT_EQ(f.p.ElemType[s.elem], kFVH);
  FvhEditor clip(f.p, f.clipSetup(kFVH, f.p.fvh[s.elem].get()));
  EXPECT_EQ(clip.caption(), "Edit Clipboard FVH");
  EXPECT_EQ(clip.loss2, "20.00");
}

}  // namespace
}  // namespace vt
