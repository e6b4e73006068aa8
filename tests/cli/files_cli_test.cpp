// vortelan-cli check, resave and dump on files of every version, and on damaged files.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>

#include "files/file_fixtures.h"
#include "files/files_test_support.h"

namespace {

namespace fs = std::filesystem;
using filetest::ScratchDir;

// The tool sits at the top of the build folder; this test two folders below it.
std::string cliPath() {
  fs::path self = fs::read_symlink("/proc/self/exe");
  return (self.parent_path().parent_path().parent_path() / "vortelan-cli").string();
}

struct CliRun {
  int exit = -1;
  std::string out, err;
};

CliRun run(const std::string& args, const ScratchDir& dir) {
  std::string errFile = dir / "stderr.txt";
  std::string cmd = "'" + cliPath() + "' " + args + " 2>'" + errFile + "'";
  CliRun r;
  FILE* f = popen(cmd.c_str(), "r");
  if (!f) return r;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) r.out.append(buf, n);
  int status = pclose(f);
  r.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  auto err = filetest::readBytes(errFile);
  r.err.assign(err.begin(), err.end());
  return r;
}

std::string q(const std::string& s) { return "'" + s + "'"; }

class FilesCli : public ::testing::Test {
 protected:
  ScratchDir dir;
  void SetUp() override { ASSERT_TRUE(fs::exists(cliPath())) << "build vortelan-cli first: " << cliPath(); }
  std::string put(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::string path = dir / name;
    filetest::writeBytes(path, bytes);
    return path;
  }
};

}  // namespace

TEST_F(FilesCli, CheckSummarisesEveryVersion) {
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    std::string line;
    std::string err;
  };
  std::vector<Case> cases = {
      {"v30.pzn", fx::project30(),
       "project 3.0: Pipe 2, Fitting 1, Pump 1, Valve 1, Gauge 1, FVH 1, Supply 3; lines: main 6, branch 1 5; "
       "clipboard 2\n",
       ""},
      {"v20.pzn", fx::project20(),
       "project 2.0: Pipe 2, Fitting 0, Pump 1, Valve 1, Gauge 1, FVH 1, Supply 2; lines: main 7, branch 1 3; "
       "clipboard 0\n",
       ""},
      {"v10.pzn", fx::project10(),
       "project 1.0: Pipe 1, Fitting 0, Pump 1, Valve 0, Gauge 1, FVH 1, Supply 2; lines: main 6, branch 1 2, "
       "branch 2 2; clipboard 0\n",
       "Duplicate placement of elements is not allowed! Will fix...\n"},
      {"c30.clip", fx::clipboard30(),
       "clipboard 3.0: 2 entries: Pipe 1, Fitting 0, Pump 1, Valve 0, Gauge 0, FVH 0, Supply 0\n", ""},
      {"c20.clip", fx::clipboard20(),
       "clipboard 2.0: 4 entries: Pipe 1, Fitting 0, Pump 1, Valve 0, Gauge 0, FVH 1, Supply 1\n", ""},
  };
  for (const auto& c : cases) {
    CliRun r = run("check " + q(put(c.name, c.bytes)), dir);
    EXPECT_EQ(r.exit, 0) << c.name;
    EXPECT_EQ(r.out, c.line) << c.name;
    EXPECT_EQ(r.err, c.err) << c.name;
  }
}

TEST_F(FilesCli, DamagedFilesAreRefusedWithTheirMessage) {
  auto v30 = fx::project30();
  std::vector<uint8_t> random(700);
  uint32_t x = 12345;
  for (auto& b : random) b = static_cast<uint8_t>((x = x * 1103515245u + 12345u) >> 16);
  auto clip = fx::clipboard30();
  std::string missing = dir / "missing.pzn";
  struct Case {
    std::string path;
    std::string err;
  };
  std::vector<Case> cases = {
      {put("cut.pzn", std::vector<uint8_t>(v30.begin(), v30.begin() + 1500)), "Error reading file: cut.pzn\n"},
      {put("cutclip.pzn", std::vector<uint8_t>(v30.begin(), v30.end() - 84 - 100)),
       "File OK, but error reading clipboard from cutclip.pzn\n"},
      {put("random.pzn", random), dir / "random.pzn" + " is not a VORTELAN project file or has been corrupted!\n"},
      {put("cut.clip", std::vector<uint8_t>(clip.begin(), clip.end() - 1)), "Error reading " + (dir / "cut.clip") + "\n"},
      {missing, missing + " does not exist!\n"},
  };
  for (const auto& c : cases) {
    for (const char* cmd : {"check ", "dump "}) {
      CliRun r = run(cmd + q(c.path), dir);
      EXPECT_EQ(r.exit, 2) << cmd << c.path;
      EXPECT_EQ(r.err, c.err) << cmd << c.path;
      EXPECT_EQ(r.out, "") << cmd << c.path;
    }
    std::string out = dir / "out.pzn";
    EXPECT_EQ(run("resave " + q(c.path) + " " + q(out), dir).exit, 2);
    EXPECT_FALSE(fs::exists(out));
  }
  EXPECT_EQ(run("check", dir).exit, 2);
  EXPECT_EQ(run("resave one", dir).exit, 2);
}

TEST_F(FilesCli, ResaveWritesTheCurrentVersionAndKeepsTheClipboard) {
  // Older versions become current files that check reads as 3.0 with the same content; saving the
  // result again changes nothing. (A solved version 1.0 file carries its pump's NPSHR at the
  // operating point into the first current file; reading a current file blanks it, so the check
  // starts from the second save.)
  for (auto [name, bytes] : {std::pair{"v10.pzn", fx::project10()}, std::pair{"v20.pzn", fx::project20()},
                             std::pair{"v30.pzn", fx::project30()}}) {
    std::string in = put(name, bytes), once = dir / "once.pzn", twice = dir / "twice.pzn",
                thrice = dir / "thrice.pzn";
    CliRun a = run("resave " + q(in) + " " + q(once), dir);
    ASSERT_EQ(a.exit, 0) << name << a.err;
    EXPECT_EQ(a.out, "");
    ASSERT_EQ(run("resave " + q(once) + " " + q(twice), dir).exit, 0);
    ASSERT_EQ(run("resave " + q(twice) + " " + q(thrice), dir).exit, 0);
    EXPECT_EQ(filetest::readBytes(twice), filetest::readBytes(thrice)) << name;
    if (std::string(name) != "v10.pzn") {
      EXPECT_EQ(filetest::readBytes(once), filetest::readBytes(twice)) << name;
    }
    CliRun before = run("check " + q(in), dir), after = run("check " + q(once), dir);
    EXPECT_EQ(after.out.substr(after.out.find(':')), before.out.substr(before.out.find(':'))) << name;
    EXPECT_EQ(after.out.rfind("project 3.0:", 0), 0u);
  }
  std::string in = put("c20.clip", fx::clipboard20()), out = dir / "c30.clip";
  ASSERT_EQ(run("resave " + q(in) + " " + q(out), dir).exit, 0);
  EXPECT_EQ(run("check " + q(out), dir).out,
            "clipboard 3.0: 4 entries: Pipe 1, Fitting 0, Pump 1, Valve 0, Gauge 0, FVH 1, Supply 1\n");
}

TEST_F(FilesCli, DumpGivesTheModelAsJson) {
  CliRun r = run("dump " + q(put("v30.pzn", fx::project30())), dir);
  ASSERT_EQ(r.exit, 0) << r.err;
  const std::string& j = r.out;
  for (const char* part : {
           "{\"kind\":\"project\",\"version\":\"3.0\",\"projectInformation\":{\"project\":\"Pump station 4\",",
           "\"email\":\"js@example.com\"}",
           "\"settings\":{\"SysType\":1,\"HeadCalc\":1,\"EqLen\":false,\"FlowTol\":0.01,\"AtmPress\":14.7,"
           "\"SysFlowPress\":0,\"RefGauge\":0,\"Reserved\":2.5}",
           "\"liquid\":{\"LiqDesc\":\"Water at 60F\",\"LiqTemp\":60,\"LiqSG\":1,",
           "\"LiqKVis\":1.13}",
           "\"SeqLen\":20,\"ElemSeq\":[1,2,3,4,5,6,-1,4,7,8,9,10,-2,-3,-4,-5,-6,-7,-8,-9]",
           "{\"number\":2,\"type\":1,\"record\":{\"ID\":\"P1\",\"Flags\":1,\"Length\":1200,\"Schedule\":\"Sch 40\","
           "\"StartElev\":1180,\"EndElev\":1000,\"NomIndex\":13,\"InsideDia\":6.065,\"Friction\":140,\"Flow\":0,"
           "\"HeadLoss\":0,\"Description\":\"Suction line\"}}",
           "{\"number\":5,\"type\":4,\"record\":{\"ID\":\"V1\",\"Flags\":0,\"Code\":-3,\"Elev\":990,",
           "\"Speed\":1750,\"Speed2\":-19999,",
           "\"NPSHR\":-19999,",
           "{\"number\":6,\"type\":7,\"record\":{\"ID\":\"S2\",\"Flags\":0,\"LineMembership\":\"\",\"Flow\":0,"
           "\"Pressure\":0,\"Elev\":900,",
           "\"clipboard\":{\"description\":\"Spare parts\",\"entries\":[{\"caption\":\"CP1\",",
           "\"type\":\"Pump\",\"typeCode\":3,\"note\":\"a note longer than t\",\"record\":{\"ID\":\"CPU\",",
       }) {
    EXPECT_NE(j.find(part), std::string::npos) << part;
  }
  EXPECT_EQ(j.back(), '\n');
  EXPECT_EQ(std::count(j.begin(), j.end(), '{'), std::count(j.begin(), j.end(), '}'));
  EXPECT_EQ(std::count(j.begin(), j.end(), '['), std::count(j.begin(), j.end(), ']'));

  CliRun c = run("dump " + q(put("c20.clip", fx::clipboard20())), dir);
  ASSERT_EQ(c.exit, 0);
  EXPECT_EQ(c.out.rfind("{\"kind\":\"clipboard\",\"version\":\"2.0\",\"description\":\"Old clip \xe2\x82\xac\"", 0), 0u);
}
