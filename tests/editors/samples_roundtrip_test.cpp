// Opening every element of the shipped sample projects in its editor and accepting without a change
// must leave its record as it was: the texts an editor shows carry the stored values.
#include <gtest/gtest.h>

#include <cstring>

#include "data/table.h"
#include "editor_fixture.h"
#include "editors/node_editors.h"
#include "editors/pipe_editor.h"
#include "editors/pipe_schedule_db.h"
#include "editors/pump_fvh_editors.h"
#include "editors/valfit_editor.h"
#include "files/project_file.h"

namespace vt {
namespace {

template <class R>
bool sameBytes(const R& a, const R& b) {
  return std::memcmp(&a, &b, sizeof(R)) == 0;
}

class SampleRoundTrip : public ::testing::TestWithParam<const char*> {};

TEST_P(SampleRoundTrip, AcceptingUnchangedEditorsKeepsEveryRecord) {
  test::EditorFixture f;
  ElementClipboard clip;
  std::string path = std::string(VORTELAN_SOURCE_DATA_DIR) + "/Projects/" + GetParam();
  ASSERT_TRUE(getProjData(f.p, clip, path).ok()) << path;
  updateDerivedUnits(f.p.units, f.p.liquid.LiqSG);
  Table vf = Table::load(std::string(VORTELAN_SOURCE_DATA_DIR) + "/Valfit.XML");
  Table ps = Table::load(std::string(VORTELAN_SOURCE_DATA_DIR) + "/PipeSched.XML");
  Table pz = Table::load(std::string(VORTELAN_SOURCE_DATA_DIR) + "/PipeSizes.XML");
  PipeScheduleDb db(ps, pz);
  auto kinds = loadValfitKinds(vf);
  int checked = 0;
  for (int n = 1; n <= f.p.HighElem; ++n) {
    if (!f.p.isPlaced(n)) continue;
    f.prompt.shown.clear();
    EditorSetup s = f.existingSetup(n);
    bool ok = false, same = false;
    switch (f.p.ElemType[n]) {
      case kPipe: {
        Pipe before = *f.p.pipe[n];
        PipeEditor ed(f.p, s, &db);
        ok = ed.accept();
        same = sameBytes(before, *f.p.pipe[n]);
        break;
      }
      case kFitting:
      case kValve: {
        Valfit before = *f.p.valfit[n];
        ValfitEditor ed(f.p, s, kinds);
        ok = ed.accept();
        same = sameBytes(before, *f.p.valfit[n]);
        break;
      }
      case kPump: {
        Pump before = *f.p.pump[n];
        PumpEditor ed(f.p, s);
        ok = ed.accept();
        same = sameBytes(before, *f.p.pump[n]);
        break;
      }
      case kFVH: {
        FVH before = *f.p.fvh[n];
        FvhEditor ed(f.p, s);
        ok = ed.accept();
        same = sameBytes(before, *f.p.fvh[n]);
        break;
      }
      case kSupply: {
        Node before = *f.p.node[n];
        // The editor hides the inlet fields of a force main or free discharge and stores them as 0.
        if (before.SupplyType >= 2) before.InletElev = 0;
        if (before.SupplyType >= 2 || before.InletExitType == 0) before.InletDia = 0;
        SupplyEditor ed(f.p, s);
        ok = ed.accept();
        same = sameBytes(before, *f.p.node[n]);
        break;
      }
      case kGauge: {
        Node before = *f.p.node[n];
        GaugeEditor ed(f.p, s);
        ok = ed.accept();
        same = sameBytes(before, *f.p.node[n]);
        break;
      }
    }
    ++checked;
    EXPECT_TRUE(ok) << GetParam() << ": " << f.p.ElemID(n) << " " << f.lastText();
    EXPECT_TRUE(same) << GetParam() << ": " << f.p.ElemID(n) << " changed";
    EXPECT_EQ(f.p.IDList.find(f.p.ElemID(n)), n);
  }
  EXPECT_GT(checked, 5);
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleRoundTrip,
                         ::testing::Values("Sample 1 - Open system.pzn", "Sample 2 - Forced flow line.pzn",
                                           "Sample 3 - Closed loop.pzn", "Sample 4 - Control valves.pzn",
                                           "Sample 5 - Pumps in series.pzn"));

}  // namespace
}  // namespace vt
