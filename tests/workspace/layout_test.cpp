#include "workspace/layout.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/project.h"
#include "workspace/workspace_support.h"

namespace vt {
namespace {

using namespace vt::test;

TEST(ScaleStep, FirstListedStepAtOrAboveTarget) {
  struct Case {
    double target, step;
  } cases[] = {{0, 0.01},      {0.01, 0.01},   {0.3, 0.5},     {1.2, 2},          {249, 250},
               {251, 500},     {5001, 10000},  {10001, 50000}, {49999999, 5e7},   {5e7, 5e7},
               {6e7, 1e8},     {2.1e8, 4e8}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(scaleStepFor(c.target), c.step) << "target " << c.target;
}

TEST(ScaleBase, OneStepBelowTheTopMultipleOrAtItWhenNegative) {
  EXPECT_DOUBLE_EQ(scaleBaseFor(25, 10), 10);
  EXPECT_DOUBLE_EQ(scaleBaseFor(20, 10), 10);
  EXPECT_DOUBLE_EQ(scaleBaseFor(-25, 10), -30);
  EXPECT_NEAR(scaleBaseFor(0.37, 0.1), 0.2, 1e-12);
}

TEST(GridLabel, GeneralForWholeStepsFixedTwoDecimalsForFineOnes) {
  EXPECT_EQ(gridLabel(12.5, 2, "ft"), "  12.5 ft ");
  EXPECT_EQ(gridLabel(123456, 50000, "in"), "  1.2346E+005 in ");
  EXPECT_EQ(gridLabel(0.5, 0.5, "ft"), "  0.50 ft ");
  EXPECT_EQ(gridLabel(-1, 0.1, "mtr"), "  -1.00 mtr ");
}

TEST(BandWidth, FollowsTheElementSize) {
  EXPECT_EQ(bandWidthFor(32), 6);
  EXPECT_EQ(bandWidthFor(40), 8);
  EXPECT_EQ(bandWidthFor(48), 10);
  EXPECT_EQ(bandWidthFor(64), 13);
}

class LayoutTest : public ::testing::Test {
 protected:
  Project pr;
  Workspace ws;
  void SetUp() override {
    pr.units.Len.abbrev = "in";
    pr.units.Len.factor = 1.0;
  }
  void layout(int w = 1000, int h = 600) { ws.layout(pr, w, h, 0); }
};

TEST_F(LayoutTest, PipesRiseLinearlyBetweenAnchorsAndLieLevelOutsideThem) {
  int p0 = addPipe(pr, 100, "P0");          // before the first anchor: level at it
  int f0 = addFitting(pr, "F0");
  int s = addSupply(pr, 0, 120, 100, "S1");  // open tank: connects at its inlet
  int p1 = addPipe(pr, 100, "P1");
  int v = addValve(pr, 1, 999, "V1");        // a gate valve has no elevation of its own
  int p2 = addPipe(pr, 300, "P2");
  int g = addGauge(pr, 500, "G1");
  int p3 = addPipe(pr, 50, "P3");
  int fm = addSupply(pr, 2, 40, 0, "S2");    // force main: connects at its Elev
  int p4 = addPipe(pr, 70, "P4");            // after the last anchor: level at it
  layout();
  EXPECT_FLOAT_EQ(pr.pipe[p0]->StartElev, 100);
  EXPECT_FLOAT_EQ(pr.pipe[p0]->EndElev, 100);
  EXPECT_FLOAT_EQ(pr.valfit[f0]->Elev, 100);
  EXPECT_FLOAT_EQ(pr.pipe[p1]->StartElev, 100);
  EXPECT_FLOAT_EQ(pr.pipe[p1]->EndElev, 200);
  EXPECT_FLOAT_EQ(pr.valfit[v]->Elev, 200);
  EXPECT_FLOAT_EQ(pr.pipe[p2]->StartElev, 200);
  EXPECT_FLOAT_EQ(pr.pipe[p2]->EndElev, 500);
  EXPECT_FLOAT_EQ(pr.pipe[p3]->StartElev, 500);
  EXPECT_FLOAT_EQ(pr.pipe[p3]->EndElev, 40);
  EXPECT_FLOAT_EQ(pr.pipe[p4]->StartElev, 40);
  EXPECT_FLOAT_EQ(pr.pipe[p4]->EndElev, 40);
  EXPECT_FLOAT_EQ(ws.FirstAnchorElev, 100);  // the supply's inlet
  // Anchors only: a force main's InletElev does not count.
  EXPECT_FLOAT_EQ(ws.ElevMin, 40);
  EXPECT_FLOAT_EQ(ws.ElevMax, 500);
  (void)s, (void)g, (void)fm;
}

TEST_F(LayoutTest, LineWithoutAnchorsLiesAtZeroAndRangeIsWidened) {
  int p1 = addPipe(pr, 120, "P1");
  int f = addFitting(pr, "F1");
  int p2 = addPipe(pr, 60, "P2");
  pr.pipe[p1]->StartElev = 77;  // stale drawn values are replaced
  layout();
  for (int n : {p1, p2}) {
    EXPECT_FLOAT_EQ(pr.pipe[n]->StartElev, 0);
    EXPECT_FLOAT_EQ(pr.pipe[n]->EndElev, 0);
  }
  EXPECT_FLOAT_EQ(pr.valfit[f]->Elev, 0);
  EXPECT_FLOAT_EQ(ws.ElevMin, -2);
  EXPECT_FLOAT_EQ(ws.ElevMax, 2);
}

TEST_F(LayoutTest, FittingBeforeTheFirstAnchorTakesItsElevation) {
  int f = addFitting(pr, "F1");
  addGauge(pr, 50, "G1");
  layout();
  EXPECT_FLOAT_EQ(pr.valfit[f]->Elev, 50);
}

TEST_F(LayoutTest, GeometryOfARisingPipeBetweenTwoGauges) {
  addGauge(pr, 0, "G1");
  int p = addPipe(pr, 1200, "P1");
  addGauge(pr, 120, "G2");
  layout(1000, 600);
  // Range 0..120 in, drawing area spans twice of it.
  EXPECT_FLOAT_EQ(ws.PxPerUnit, 2.5f);
  EXPECT_FLOAT_EQ(ws.ScaleStep, 20);
  EXPECT_DOUBLE_EQ(ws.ScaleTop, 180);
  EXPECT_FLOAT_EQ(ws.ScaleBase, 160);
  EXPECT_EQ(ws.ElevToPixel(0), 450);
  EXPECT_EQ(ws.ElevToPixel(120), 150);
  ASSERT_EQ(ws.elems.size(), 3u);
  EXPECT_EQ(ws.elems[0].rect, (IRect{50, 426, 32, 32}));
  // First drawing with pipes: half the client width per longest pipe.
  EXPECT_EQ(ws.pipeSlider, 50);
  EXPECT_FLOAT_EQ(ws.PipePxPerUnit, 0.5f * 1000 / 1200);
  const int width = static_cast<int>(std::lround(std::sqrt(1200.0 * 1200 - 120 * 120) * ws.PipePxPerUnit));
  EXPECT_EQ(ws.elems[1].rect, (IRect{82, 126, width, 332}));
  EXPECT_EQ(ws.elems[2].rect.left, 82 + width);
  EXPECT_EQ(ws.LineWidth, 82 + width + 32);
  EXPECT_EQ(ws.ElemX[pr.elemspot[p]], 82);
  // Rising, not steep: band from (L+2, y1-h) to (L+W-p, y2+h), s = 6, h = 3, pen 2.
  const auto& b = ws.elems[1].band;
  EXPECT_EQ(b[0], (IPoint{84, 447}));
  EXPECT_EQ(b[1], (IPoint{82 + width - 2, 147}));
  EXPECT_EQ(b[2], (IPoint{82 + width - 2, 153}));
  EXPECT_EQ(b[3], (IPoint{84, 453}));
  // Grid: from one step above the top down to the bottom of the area.
  ASSERT_EQ(ws.grid.size(), 12u);
  EXPECT_EQ(ws.grid.front().y, 0);
  EXPECT_DOUBLE_EQ(ws.grid.front().value, 180);
  EXPECT_EQ(ws.grid.back().y, 550);
  EXPECT_EQ(ws.grid[1].label, "  160 in ");
  // IDs alternate rows by sequence position.
  EXPECT_EQ(ws.elems[0].idRow, 0);
  EXPECT_EQ(ws.elems[1].idRow, 1);
  EXPECT_EQ(ws.elems[2].idRow, 0);
}

TEST_F(LayoutTest, PipeSliderScalesFromTheSecondDrawingOn) {
  addGauge(pr, 0, "G1");
  addPipe(pr, 1200, "P1");
  addGauge(pr, 0, "G2");
  layout(1000, 600);
  ws.pipeSlider = 100;
  layout(1000, 600);
  EXPECT_FLOAT_EQ(ws.PipePxPerUnit, 1000.0f / 1200);
  EXPECT_EQ(ws.elems[1].rect.width, 1000);
  EXPECT_TRUE(ws.pipeSliderShown);
}

TEST_F(LayoutTest, LevelPipeBetweenSuppliesAtEqualElevation) {
  addSupply(pr, 2, 10, 0, "S1");
  int p = addPipe(pr, 500, "P1");
  addSupply(pr, 3, 10, 0, "S2");
  layout();
  EXPECT_FLOAT_EQ(ws.ElevMin, 8);
  EXPECT_FLOAT_EQ(ws.ElevMax, 12);
  const ElementGeom* g = ws.find(p);
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->band[0].y, g->band[1].y);
  EXPECT_EQ(g->band[2].y, g->band[3].y);
  EXPECT_TRUE(ws.find(pr.ElemSeq[1])->supplyFirst);
  EXPECT_FALSE(ws.find(pr.ElemSeq[3])->supplyFirst);
}

TEST_F(LayoutTest, SteepAndShortPipes) {
  addGauge(pr, 0, "G1");
  int vertical = addPipe(pr, 100, "P1");  // rises its whole length
  addGauge(pr, 100, "G2");
  int shortPipe = addPipe(pr, 1, "P2");
  addGauge(pr, 100, "G3");
  addPipe(pr, 10000, "P3");
  addGauge(pr, 100, "G4");
  ws.ElemSize = 64;
  layout();
  EXPECT_EQ(ws.BandWidth, 13);
  EXPECT_EQ(ws.find(vertical)->rect.width, 13 + 4);
  EXPECT_EQ(ws.find(shortPipe)->rect.width, 64);
  // A steep rising band runs up the narrow rectangle.
  const auto& b = ws.find(vertical)->band;
  EXPECT_EQ(b[0].x, ws.find(vertical)->rect.left + 2);
  EXPECT_LT(b[2].y, b[0].y);
}

TEST_F(LayoutTest, TankRectangleSpansSurfaceToInletWithMargins) {
  int s = addSupply(pr, 1, 240, 120, "T1");
  addPipe(pr, 100, "P1");
  addGauge(pr, 0, "G1");
  layout(1000, 600);
  const ElementGeom* g = ws.find(s);
  // Range 0..240 in: 1.25 px per inch, top of scale at 360.
  EXPECT_EQ(g->rect.top, static_cast<int>(std::lround((360 - 240) * 1.25 - 20)));
  EXPECT_EQ(g->rect.bottom(), static_cast<int>(std::lround((360 - 120) * 1.25)) + 20);
  EXPECT_EQ(g->rect.width, 60);
}

TEST_F(LayoutTest, ElevToPixelStaysInsideTheWindowAndReportsOverflow) {
  addGauge(pr, 0, "G1");
  layout(800, 400);
  EXPECT_EQ(ws.ElevToPixel(-1e6), 400);
  EXPECT_FALSE(ws.rangeError);
  EXPECT_EQ(ws.ElevToPixel(1e30), 0);
  EXPECT_TRUE(ws.rangeError);
}

TEST_F(LayoutTest, ScrollingShowsOnlyElementsInViewAndFindsHiddenOnes) {
  addGauge(pr, 0, "G0");
  int last = 0;
  for (int i = 0; i < 60; ++i) last = addFitting(pr, "F" + std::to_string(i));
  layout(800, 400);
  EXPECT_TRUE(ws.scrollBarShown);
  EXPECT_EQ(ws.ScrollRange, ws.LineWidth + 60 - 800);
  EXPECT_EQ(ws.scrollLarge, static_cast<int>(std::lround(70.0 * 800 / ws.ScrollRange)));
  EXPECT_FALSE(ws.find(last)->visible);
  EXPECT_EQ(ws.hitTest(ws.find(last)->rect.left + 1, ws.find(last)->rect.top + 1), 0);
  int pos = ws.scrollPosToShow(last);
  EXPECT_GT(pos, 0);
  ws.scrollPos = pos;
  layout(800, 400);
  const ElementGeom* g = ws.find(last);
  EXPECT_TRUE(g->visible);
  int shift = ws.scrollShift();
  EXPECT_EQ(ws.hitTest(g->rect.left - shift + 1, g->rect.top + 1), last);
  EXPECT_EQ(ws.insertSide(*g, g->rect.left - shift + 1), -1);
  EXPECT_EQ(ws.insertSide(*g, g->rect.right() - shift - 1), 1);
}

TEST_F(LayoutTest, GlyphFacingArrowsLabelsAndDemand) {
  int s = addSupply(pr, 0, 100, 50, "S1");
  int pl = addPump(pr, 0, "PL", -1);
  int pr1 = addPump(pr, 0, "PR", 1);
  int check = addValve(pr, -2, 0, "CV", -1);
  int gate = addValve(pr, 1, 0, "GV");
  int fvh = addFvh(pr, "X1", 1);
  int gin = addGauge(pr, 0, "G1", 25);
  int gout = addGauge(pr, 0, "G2", -5);
  pr.setElemID(gin, "G1");
  toWide("13", pr.node[gin]->LineMembership, 10);
  pr.proj.ShowElementIDs = true;
  pr.SetElBitNo(gate, 1, true, false);
  layout();
  // idBranches is not run by layout: the label comes from the stored membership.
  EXPECT_FALSE(ws.find(pl)->pumpFacesRight);
  EXPECT_EQ(ws.find(pl)->redArrow, -1);
  EXPECT_TRUE(ws.find(pr1)->pumpFacesRight);
  EXPECT_EQ(ws.find(check)->redArrow, -1);
  EXPECT_EQ(ws.find(gate)->redArrow, 0);
  EXPECT_TRUE(ws.find(gate)->tagged);
  EXPECT_EQ(ws.find(fvh)->redArrow, 1);
  EXPECT_EQ(ws.find(gin)->greenArrow, 1);
  EXPECT_EQ(ws.find(gin)->nodeLabel, "B13");
  EXPECT_EQ(ws.find(gout)->greenArrow, -1);
  EXPECT_EQ(ws.find(s)->id, "S1");
  // Arrow rectangle above the element, marker rectangle at its upper right.
  const ElementGeom& g = *ws.find(pl);
  EXPECT_EQ(g.arrowRect, (IRect{g.rect.left + 8, g.rect.top - 9, 16, 9}));
  EXPECT_EQ(g.markerRect, (IRect{g.rect.left + 22, g.rect.top - 21, 10, 10}));
}

TEST_F(LayoutTest, HglOverlayAfterASolution) {
  int s1 = addSupply(pr, 0, 1200, 1200, "S1");
  int p = addPipe(pr, 1200, "P1");
  int g = addGauge(pr, 0, "G1");
  int v = addValve(pr, 1, 0, "V1");
  int p2 = addPipe(pr, 120, "P2");
  int s2 = addSupply(pr, 3, 0, 0, "S2");
  pr.ElemHGL.fill(kNoGrade);
  pr.ElemHGL[s1] = 100;
  pr.ElemHGL[p] = 90;
  pr.pipe[p]->HeadLoss = 10;
  pr.pipe[p]->Flow = 50;
  pr.ElemHGL[g] = 90;
  pr.node[g]->Pressure = 90;
  pr.ElemHGL[p2] = 60;  // the valve has no grade of its own here
  pr.pipe[p2]->HeadLoss = 30;
  pr.pipe[p2]->Flow = 50;
  pr.ElemHGL[s2] = 0;
  pr.node[s1]->Pressure = 0;
  pr.proj.Solved = true;
  layout(1000, 600);
  ASSERT_TRUE(ws.hglShown);
  auto y = [&](double feet) { return ws.ElevToPixel(12 * feet); };
  const ElementGeom& gp = *ws.find(p);
  ASSERT_EQ(gp.hgl.size(), 1u);
  EXPECT_EQ(gp.hgl[0].a, (IPoint{gp.rect.left, y(100)}));
  EXPECT_EQ(gp.hgl[0].b, (IPoint{gp.rect.right() - 2, y(90)}));
  ASSERT_TRUE(gp.hasPressureLine);
  EXPECT_EQ(gp.pressureLine.b, (IPoint{gp.rect.right() - 2, y(90)}));
  // The grade lies above the pipe's end: the dotted line starts above the band.
  EXPECT_EQ(gp.pressureLine.a.y, ws.ElevToPixel(0) - 3 - 2);
  const ElementGeom& gg = *ws.find(g);
  ASSERT_EQ(gg.hgl.size(), 1u);
  EXPECT_EQ(gg.hgl[0].a.y, y(90));
  EXPECT_EQ(gg.hgl[0].b.y, y(90));
  // A valve without a grade draws no HGL stroke but its pressure line ends at the next grade.
  const ElementGeom& gv = *ws.find(v);
  EXPECT_TRUE(gv.hgl.empty());
  ASSERT_TRUE(gv.hasPressureLine);
  EXPECT_EQ(gv.pressureLine.b.y, y(60));
  EXPECT_EQ(gv.pressureLine.a.y, ws.ElevToPixel(0) - ws.BandWidth);
  // Supplies: dotted line up to the pressure level, stroke to the grade at the continuing edge.
  const ElementGeom& gs = *ws.find(s1);
  ASSERT_EQ(gs.hgl.size(), 1u);
  EXPECT_EQ(gs.hgl[0].b, (IPoint{gs.rect.right() - 2, y(100)}));
  EXPECT_EQ(gs.hglDotted.size(), 1u);
  // Supply flow arrows follow the neighbouring element's flow.
  EXPECT_EQ(ws.find(s1)->flowArrow, 1);
  EXPECT_EQ(ws.find(s2)->flowArrow, 1);
}

TEST_F(LayoutTest, NoOverlayWhenNotSolved) {
  addSupply(pr, 0, 100, 100, "S1");
  int p = addPipe(pr, 100, "P1");
  pr.ElemHGL[p] = 5;
  layout();
  EXPECT_FALSE(ws.hglShown);
  EXPECT_TRUE(ws.find(p)->hgl.empty());
}

TEST_F(LayoutTest, BranchIsLaidOutOnItsOwn) {
  addSupply(pr, 0, 100, 100, "S1");
  int g = addGauge(pr, 0, "G1");
  addSupply(pr, 3, 0, 0, "S2");
  pr.CurLine = 2;
  appendShared(pr, g);
  int p = addPipe(pr, 100, "BP");
  pr.RefreshSpots();
  layout();
  ASSERT_EQ(ws.elems.size(), 2u);
  EXPECT_EQ(ws.elems[0].n, g);
  EXPECT_EQ(ws.elems[1].n, p);
  EXPECT_EQ(ws.ScrollRange, ws.LineWidth + 60 - 1000 + ws.ElemWidth);
}

}  // namespace
}  // namespace vt
