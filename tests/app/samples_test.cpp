// The shipped sample projects: each committed file is exactly what its description builds, each
// solves cleanly, and a description that cannot be built says which line is wrong.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/sample_builder.h"
#include "app/startup.h"
#include "files/project_file.h"

namespace vt {
namespace {

namespace fs = std::filesystem;

const fs::path kData = VORTELAN_SOURCE_DATA_DIR;

std::string readText(const fs::path& f) {
  std::ifstream in(f, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class SamplesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { tables_ = new SampleTables(SampleTables::load(kData)); }
  static void TearDownTestSuite() {
    delete tables_;
    tables_ = nullptr;
  }
  static SampleTables* tables_;
};
SampleTables* SamplesTest::tables_ = nullptr;

TEST_F(SamplesTest, CommittedFilesMatchTheirDescriptionsAndSolve) {
  const std::vector<fs::path> descriptions = sampleDescriptions(kData);
  ASSERT_GE(descriptions.size(), 5u);
  bool haveStartupSample = false;
  for (const fs::path& d : descriptions) {
    SCOPED_TRACE(d.filename().string());
    Project p;
    const std::string name = buildSample(readText(d), *tables_, p);
    haveStartupSample = haveStartupSample || name == kSampleProjectName;
    const std::vector<uint8_t> bytes = sampleFileBytes(p);
    const std::string committed = readText(kData / "Projects" / name);
    EXPECT_TRUE(committed == std::string(bytes.begin(), bytes.end()))
        << name << " differs from its description: run vortelan-cli make-samples";

    std::string messages;
    EXPECT_TRUE(solveSample(bytes, messages)) << messages;
    EXPECT_NE(messages.find("\n  System is solved!\n"), std::string::npos) << messages;
    EXPECT_EQ(messages.find("Error"), std::string::npos) << messages;
    EXPECT_EQ(messages.find("Poor"), std::string::npos) << messages;
    EXPECT_EQ(messages.find("Warning"), std::string::npos) << messages;
  }
  EXPECT_TRUE(haveStartupSample) << kSampleProjectName;
}

TEST_F(SamplesTest, SampleKindsAreThoseTheProgramShowsOff) {
  struct Expect {
    const char* file;
    int sysType;
    bool branches, check, fcv, prv, psv, twoPumps, refGauge;
  };
  const Expect expects[] = {
      {"sample1_open_system.txt", 1, true, true, false, false, false, false, false},
      {"sample2_forced_flow.txt", 2, false, true, false, false, false, false, false},
      {"sample3_closed_loop.txt", 3, false, true, false, false, false, false, true},
      {"sample4_control_valves.txt", 1, true, false, true, true, true, false, false},
      {"sample5_pumps_in_series.txt", 1, false, true, false, false, false, true, false},
  };
  for (const Expect& e : expects) {
    SCOPED_TRACE(e.file);
    Project p;
    buildSample(readText(kData / "Projects" / "src" / e.file), *tables_, p);
    EXPECT_EQ(p.sys.SysType, e.sysType);
    int codes[7] = {};  // check, FCV, PRV, PSV counts
    int pumps = 0;
    for (int n = 1; n <= p.HighElem; ++n) {
      if (!p.isPlaced(n)) continue;
      if (p.ElemType[n] == kPump) ++pumps;
      if (p.ElemType[n] == kValve) {
        int c = p.valfit[n]->Code;
        if (c >= 43 && c <= 55) ++codes[0];
        if (c == -5) ++codes[1];
        if (c == -3) ++codes[2];
        if (c == -4) ++codes[3];
      }
    }
    EXPECT_EQ(p.ActiveBranches > 0, e.branches);
    EXPECT_EQ(codes[0] > 0, e.check);
    EXPECT_EQ(codes[1] > 0, e.fcv);
    EXPECT_EQ(codes[2] > 0, e.prv);
    EXPECT_EQ(codes[3] > 0, e.psv);
    EXPECT_EQ(pumps >= 2, e.twoPumps);
    EXPECT_EQ(p.sys.RefGauge != 0, e.refGauge);
    EXPECT_FALSE(p.proj.Modified);
    EXPECT_FALSE(p.proj.Solved);
  }
}

TEST_F(SamplesTest, BuilderTakesScheduleSizesAndTableCoefficients) {
  Project p;
  buildSample(
      "file x.pzn\nsystem open\nschedule Carbon steel, schedule 40\nline main\n"
      "supply S1 type=open elev=50 inlet=45 entry=2 nom=4\npipe P1 nom=4 length=100\n"
      "valve V1 code=20 nom=3\nfitting F1 code=1 dia=0.25\nfitting F2 code=1 dia=20\n"
      "pipe P2 dia=3.5 length=10 friction=100\nsupply S2 type=free elev=0\n",
      *tables_, p);
  const int p1 = p.IDList.find("P1"), v1 = p.IDList.find("V1"), f1 = p.IDList.find("F1"), f2 = p.IDList.find("F2"),
            p2 = p.IDList.find("P2"), s1 = p.IDList.find("S1");
  EXPECT_FLOAT_EQ(p.pipe[p1]->InsideDia, 4.026f);
  EXPECT_FLOAT_EQ(p.pipe[p1]->Length, 1200.0f);
  EXPECT_EQ(p.pipe[p1]->NomIndex, 12.0f);
  EXPECT_DOUBLE_EQ(p.pipe[p1]->Friction, 120.0);  // the schedule's Hazen-Williams C
  EXPECT_EQ(p.pipe[p2]->NomIndex, -1.0f);
  EXPECT_DOUBLE_EQ(p.pipe[p2]->Friction, 100.0);
  // A 3 in valve takes its K from the "2.5" column, 0.25 in from ".5", 20 in from "18.".
  EXPECT_FLOAT_EQ(p.valfit[v1]->Coef, static_cast<float>(8 * 0.018));
  EXPECT_FLOAT_EQ(p.valfit[f1]->Coef, static_cast<float>(30 * 0.027));
  EXPECT_FLOAT_EQ(p.valfit[f2]->Coef, static_cast<float>(30 * 0.012));
  EXPECT_EQ(p.ElemType[f1], kFitting);
  EXPECT_EQ(p.ElemType[v1], kValve);
  EXPECT_FLOAT_EQ(p.node[s1]->InletK, 0.5f);
  EXPECT_FLOAT_EQ(p.node[s1]->InletElev, 540.0f);
  // The configured liquid and settings come with it.
  EXPECT_EQ(p.liquid.LiqDesc, "Water,Saturated at  60 deg F");
  EXPECT_FLOAT_EQ(p.sys.FlowTol, 0.001f);
}

TEST_F(SamplesTest, BadDescriptionsNameTheirLine) {
  const std::string head = "file x.pzn\nsystem open\nschedule Carbon steel, schedule 40\nline main\n";
  struct Case {
    std::string text;
    std::string error;
  };
  const Case cases[] = {
      {head + "pipee P1 nom=4 length=10\n", "line 5: unknown kind 'pipee'"},
      {head + "pipe P1 nom=4\n", "line 5: missing length="},
      {head + "pipe P1 nom=4 length=ten\n", "line 5: bad number for length: ten"},
      {head + "pipe P1 nom=7 length=10\n", "line 5: the schedule has no size 7"},
      {head + "pipe P1 nom=4 length=10\npipe p1 nom=4 length=10\n", "line 6: ID used twice: p1"},
      {head + "valve V1 code=99 nom=4\n", "line 5: kind 99 is not in the valve and fitting table"},
      {head + "pump PU1 elev=0 incr=100 heads=50,40\n", "line 5: heads= needs 4 values"},
      {head + "at G9\n", "line 5: no element G9"},
      {head + "supply S1 type=lake elev=1\n", "line 5: supply type must be open, closed, force or free"},
      {"system open\n", "no file line"},
      {"file x.pzn\nschedule Cast iron\n", "line 2: no pipe schedule 'Cast iron'"},
      {"file x.pzn\nsystem closed gauge=G1 pressure=10\nline main\npipe P1 dia=2 length=5\n",
       "closed loop reference G1 is not a gauge"},
  };
  for (const Case& c : cases) {
    Project p;
    try {
      buildSample(c.text, *tables_, p);
      ADD_FAILURE() << "built: " << c.text;
    } catch (const SampleError& e) {
      EXPECT_EQ(std::string(e.what()), c.error);
    }
  }
}

}  // namespace
}  // namespace vt
