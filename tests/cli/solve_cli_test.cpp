// vortelan-cli analyze and solve on project files written from systems built in code.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "files/project_file.h"
// The solver tests' fixture builder, compiled into this binary as well.
#include "solver/builder_support.cpp"

namespace vt {
namespace {

namespace fs = std::filesystem;

std::string cliPath() {
  fs::path self = fs::read_symlink("/proc/self/exe");
  return (self.parent_path().parent_path().parent_path() / "vortelan-cli").string();
}

struct CliRun {
  int exit = -1;
  std::string out;
};

CliRun run(const std::string& args) {
  CliRun r;
  std::string cmd = "'" + cliPath() + "' " + args + " 2>/dev/null";
  FILE* f = popen(cmd.c_str(), "r");
  if (!f) return r;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) r.out.append(buf, n);
  int status = pclose(f);
  r.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

class SolveCli : public ::testing::Test {
 protected:
  fs::path dir;
  void SetUp() override {
    ASSERT_TRUE(fs::exists(cliPath())) << "build vortelan-cli first: " << cliPath();
    dir = fs::temp_directory_path() / ("vt_solve_cli_" + std::to_string(::getpid()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  // S1 (100 ft) - P1 (1000 ft of 4 in, C 120) - S2 (dropFt lower); written to a file.
  std::string gravityLine(const std::string& name, double dropFt) {
    Project p;
    test::SystemBuilder b(p);
    b.supply(0, "S1", 100);
    b.pipe(0, "P1", 1000, 4, 120);
    b.supply(0, "S2", 100 - dropFt);
    ElementClipboard clip;
    std::string path = (dir / name).string();
    EXPECT_TRUE(saveProjectFile(p, clip, path));
    return path;
  }
  static std::string q(const std::string& s) { return "'" + s + "'"; }
};

// The number after `key` in the element object that holds `"id": "<id>"`.
double fieldOf(const std::string& json, const std::string& id, const std::string& key) {
  size_t at = json.find("\"id\": \"" + id + "\"");
  if (at == std::string::npos) return NAN;
  at = json.find("\"" + key + "\": ", at);
  return at == std::string::npos ? NAN : std::atof(json.c_str() + at + key.size() + 4);
}

TEST_F(SolveCli, SolvesAndPrintsTheMessageList) {
  std::string file = gravityLine("line.pzn", 50);
  CliRun r = run("solve " + q(file));
  EXPECT_EQ(r.exit, 0) << r.out;
  EXPECT_EQ(r.out.substr(0, 17), " Analyze start...");
  EXPECT_NE(r.out.find("\n  System is solved!\n"), std::string::npos) << r.out;
}

TEST_F(SolveCli, JsonCarriesTheClosedFormFlow) {
  std::string file = gravityLine("line.pzn", 50);
  CliRun r = run("solve " + q(file) + " --json");
  ASSERT_EQ(r.exit, 0) << r.out;
  EXPECT_EQ(r.out.rfind("{\"solved\": true", 0), 0u) << r.out;
  // Hazen-Williams: 50 ft = 4.727 L q^1.85 / (D^4.8655 C^1.85).
  double R = 4.727 * 1000 / (std::pow(4.0 / 12, 4.8655) * std::pow(120.0, 1.85));
  double Q = std::pow(50 / R, 1 / 1.85) * 448.831;
  EXPECT_NEAR(fieldOf(r.out, "P1", "flow"), Q, 0.001) << r.out;
  EXPECT_NEAR(fieldOf(r.out, "P1", "headloss"), 50, 0.01);
  EXPECT_NEAR(fieldOf(r.out, "S1", "hgl"), 100, 1e-4);
  EXPECT_NE(r.out.find("\"head\": null"), std::string::npos);
  EXPECT_NE(r.out.find("{\"text\": \"  System is solved!\", \"element\": null}"), std::string::npos);
}

TEST_F(SolveCli, NoDriverIsNotSolvedAndAnalyzeSaysWhy) {
  std::string file = gravityLine("flat.pzn", 0);
  CliRun a = run("analyze " + q(file));
  EXPECT_EQ(a.exit, 1);
  EXPECT_NE(a.out.find("\n- Error, no driver for this system - no static head difference or pump!\n"),
            std::string::npos)
      << a.out;
  EXPECT_NE(a.out.find(" Analyze complete...\n"), std::string::npos);
  CliRun s = run("solve " + q(file) + " --json");
  EXPECT_EQ(s.exit, 1);
  EXPECT_EQ(s.out.rfind("{\"solved\": false", 0), 0u);
}

TEST_F(SolveCli, RefusedFilesAndBadArgumentsExitTwo) {
  std::string junk = (dir / "junk.pzn").string();
  std::ofstream(junk) << "not a project";
  EXPECT_EQ(run("solve " + q(junk)).exit, 2);
  EXPECT_EQ(run("analyze " + q((dir / "missing.pzn").string())).exit, 2);
  EXPECT_EQ(run("solve").exit, 2);
  EXPECT_EQ(run("solve " + q(junk) + " --bogus").exit, 2);
}

TEST_F(SolveCli, SaveWritesTheSolvedProject) {
  std::string file = gravityLine("line.pzn", 50);
  std::string out = (dir / "solved.pzn").string();
  CliRun r = run("solve " + q(file) + " --save " + q(out));
  ASSERT_EQ(r.exit, 0) << r.out;
  Project p;
  ElementClipboard clip;
  ASSERT_TRUE(getProjData(p, clip, out).ok());
  int pipe = p.IDList.find("P1");
  ASSERT_NE(pipe, 0);
  double R = 4.727 * 1000 / (std::pow(4.0 / 12, 4.8655) * std::pow(120.0, 1.85));
  EXPECT_NEAR(p.pipe[pipe]->Flow, std::pow(50 / R, 1 / 1.85) * 448.831, 0.001);
  EXPECT_NEAR(p.pipe[pipe]->HeadLoss, 50.0f, 0.01f);
}

}  // namespace
}  // namespace vt
