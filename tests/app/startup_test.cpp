#include "app/startup.h"

#include "files/project_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace vt {
namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& f) {
  std::ifstream in(f, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
void write(const fs::path& f, const std::string& text) { std::ofstream(f, std::ios::binary) << text; }

// A program folder holding the shipped configuration and tables and two sample projects, an
// empty data folder and a default project folder that does not exist yet.
class StartupTest : public ::testing::Test {
 protected:
  fs::path root;
  ShellState st;
  ScriptedPrompter prompter;
  std::string defaultProjects;

  void SetUp() override {
    // Unique per process: several builds may run their tests on one machine at once.
    root = fs::temp_directory_path() / ("vt_startup_" + std::to_string(::getpid()) + "_" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root);
    fs::create_directories(root / "program" / "Projects");
    for (const char* name : {"VTDefs.XML", "PipeSched.XML", "PipeSizes.XML", "Liq_prop.XML"})
      fs::copy_file(fs::path(VORTELAN_SOURCE_DATA_DIR) / name, root / "program" / name);
    write(root / "program" / "Projects" / kSampleProjectName, "sample one");
    write(root / "program" / "Projects" / "Second.pzn", "sample two");
    write(root / "program" / "Projects" / "notes.txt", "not a project");
    st.ProgramFolder = (root / "program").string() + "/";
    st.DataFolder = (root / "data" / "KLD" / "VORTELAN" / "3.0").string() + "/";
    defaultProjects = (root / "docs" / "VORTELAN" / "Projects").string() + "/";
  }
  void TearDown() override { fs::remove_all(root); }

  void start(const std::string& version = "3.0.0") { runDataFileStep(st, version, defaultProjects, prompter); }
  Table config() { return loadConfig(st.DataFolder + kConfigFileName); }
  int versionRows() {
    Table t = config();
    int n = 0;
    for (const Row* r : t.rows()) n += r->str("Parameter") == "Version";
    return n;
  }
  std::string getDefaults(Project& p, WindowSettings& w, bool atStartup = true, std::vector<std::string> args = {}) {
    p.setPrompter(&prompter);
    return get_defaults(p, st, w, DefaultsContext{std::move(args), atStartup, defaultProjects});
  }
};

TEST_F(StartupTest, FirstStartCopiesConfigurationTablesAndSamplesAndPicksTheSample) {
  start();
  for (const char* name : {"VTDefs.XML", "PipeSched.XML", "PipeSizes.XML", "Liq_prop.XML"})
    EXPECT_TRUE(fs::exists(st.DataFolder + name)) << name;
  EXPECT_EQ(st.ProjectFolder, defaultProjects);
  EXPECT_EQ(slurp(st.ProjectFolder + kSampleProjectName), "sample one");
  EXPECT_EQ(slurp(st.ProjectFolder + "Second.pzn"), "sample two");
  EXPECT_FALSE(fs::exists(st.ProjectFolder + "notes.txt"));
  Table defs = config();
  const Row* v = defs.findKey({Value("Version")});
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->str("Desc"), "3.0.0");
  EXPECT_TRUE(v->isNull("Val1"));
  EXPECT_TRUE(prompter.shown.empty());

  Project p;
  WindowSettings w;
  EXPECT_EQ(getDefaults(p, w), defaultProjects + kSampleProjectName);
  // The shipped configuration makes a usable project at once.
  EXPECT_EQ(p.sys.HeadCalc, 1);
  EXPECT_FLOAT_EQ(p.sys.FlowTol, 0.001f);
  EXPECT_FLOAT_EQ(p.sys.AtmPress, 14.7f);
  EXPECT_FALSE(p.sys.EqLen);
  EXPECT_DOUBLE_EQ(p.last.DefFriction, 140.0);
  EXPECT_EQ(p.liquid.LiqDesc, "Water,Saturated at  60 deg F");
  EXPECT_FLOAT_EQ(p.liquid.LiqSG, 0.999f);
  EXPECT_FLOAT_EQ(p.liquid.LiqTemp, 60.0f);
  EXPECT_NEAR(p.liquid.LiqKVis, 1.12, 0.005);
  EXPECT_NEAR(p.liquid.LiqVP, 0.256, 0.001);
  EXPECT_FLOAT_EQ(p.liquid.LiqAllowTemp, kBlank);
  EXPECT_EQ(p.units.Flow.abbrev, "USgpm");
  EXPECT_EQ(p.units.PHead.abbrev, "ft liq");
  EXPECT_DOUBLE_EQ(p.units.PHeadFactor, 1.0);
  EXPECT_EQ(p.units.SHead.abbrev, "psi");
  EXPECT_NEAR(p.units.SHeadFactor, p.units.SHead.factor * p.liquid.LiqSG, 1e-12);
  EXPECT_NEAR(p.units.Len.factor, 1.0 / 12, 1e-12);
  EXPECT_EQ(p.units.SpecHeatLabel, "Btu/lbF");
  EXPECT_FALSE(p.units.nominalMillimetre);
  EXPECT_EQ(p.units.unitSystem, 'E');
  EXPECT_TRUE(p.proj.ShowElementIDs);
  EXPECT_TRUE(p.proj.InitBranchHelp);
  EXPECT_FALSE(p.proj.Expert);
  EXPECT_EQ(w.elemSize, 32);
  EXPECT_FALSE(w.width.has_value());
  for (const std::string& f : st.RecentFiles) EXPECT_EQ(f, "");
  EXPECT_TRUE(prompter.shown.empty());
}

// The shipped program folder itself: the first start ends with the sample project read.
TEST_F(StartupTest, FirstStartWithTheShippedDataOpensTheSampleProject) {
  st.ProgramFolder = std::string(VORTELAN_SOURCE_DATA_DIR) + "/";
  start();
  Project p;
  WindowSettings w;
  const std::string startup = getDefaults(p, w);
  EXPECT_EQ(startup, defaultProjects + kSampleProjectName);
  ElementClipboard clip;
  ProjReadResult r = getProjData(p, clip, startup);
  EXPECT_TRUE(r.ok());
  EXPECT_GT(p.tot_elems, 10);
  EXPECT_GT(p.tot_pumps, 0);
  EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(StartupTest, SecondStartKeepsWhatTheUserChanged) {
  start();
  {
    Table defs = config();
    defs.findKey({Value("Gentl")})->set("Val1", Value(0.05));
    defs.findKey({Value("ProjectFolder")})->set("Desc", Value((root / "mine").string()));
    defs.save();
  }
  write(st.DataFolder + "Liq_prop.XML", slurp(st.DataFolder + "Liq_prop.XML") + "\n");
  const std::string userTable = slurp(st.DataFolder + "Liq_prop.XML");
  write(defaultProjects + kSampleProjectName, "edited by the user");

  start();
  EXPECT_EQ(versionRows(), 1);
  EXPECT_EQ(config().findKey({Value("Gentl")})->num("Val1"), 0.05);
  EXPECT_EQ(slurp(st.DataFolder + "Liq_prop.XML"), userTable);
  // The configured project folder is used (with its delimiter) and gets the samples.
  EXPECT_EQ(st.ProjectFolder, (root / "mine").string() + "/");
  EXPECT_EQ(slurp(st.ProjectFolder + "Second.pzn"), "sample two");
  // A sample the user saved over is not replaced.
  EXPECT_EQ(slurp(defaultProjects + kSampleProjectName), "edited by the user");
}

TEST_F(StartupTest, AnotherVersionsRecordIsReplacedAndTheRestKept) {
  start("2.9.1");
  {
    Table defs = config();
    defs.findKey({Value("PFirm")})->set("Desc", Value("Acme Pumps"));
    defs.save();
  }
  start("3.0.0");
  Table defs = config();
  EXPECT_EQ(versionRows(), 1);
  EXPECT_EQ(defs.findKey({Value("Version")})->str("Desc"), "3.0.0");
  EXPECT_EQ(defs.findKey({Value("PFirm")})->str("Desc"), "Acme Pumps");
}

TEST_F(StartupTest, MissingShippedFileStopsWithItsMessage) {
  fs::remove(st.ProgramFolder + "PipeSizes.XML");
  EXPECT_THROW(start(), StartupAbort);
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0].kind, MsgKind::Error);
  EXPECT_EQ(prompter.shown[0].text,
            "Can't locate " + st.ProgramFolder + "PipeSizes.XML! Need to create PipeSizes.XML");
  // What could be copied before it is there.
  EXPECT_TRUE(fs::exists(st.DataFolder + "PipeSched.XML"));

  ScriptedPrompter p2;
  fs::remove(st.ProgramFolder + "VTDefs.XML");
  fs::remove_all(root / "data");
  EXPECT_THROW(runDataFileStep(st, "3.0.0", defaultProjects, p2), StartupAbort);
  EXPECT_EQ(p2.texts(), std::vector<std::string>{"Can't locate " + st.ProgramFolder +
                                                 "VTDefs.XML! Need to create VTDefs.XML"});
}

TEST_F(StartupTest, DamagedConfigurationIsKeptAsideAndTheDefaultUsed) {
  fs::create_directories(st.DataFolder);
  write(st.DataFolder + kConfigFileName, "<DATAPACKET><METADATA>not finished");
  start();
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0].kind, MsgKind::Warning);
  EXPECT_NE(prompter.shown[0].text.find("Malformed table file"), std::string::npos);
  EXPECT_EQ(slurp(st.DataFolder + "VTDefs.XML.damaged"), "<DATAPACKET><METADATA>not finished");
  EXPECT_EQ(versionRows(), 1);
}

TEST_F(StartupTest, DamagedShippedConfigurationStopsWithItsMessage) {
  write(st.ProgramFolder + kConfigFileName, "not a data packet");
  EXPECT_THROW(start(), StartupAbort);
  ASSERT_EQ(prompter.shown.size(), 2u);
  EXPECT_EQ(prompter.shown[0].kind, MsgKind::Warning);
  EXPECT_EQ(prompter.shown[1].kind, MsgKind::Error);
  EXPECT_NE(prompter.shown[1].text.find("Malformed table file"), std::string::npos);
}

TEST_F(StartupTest, UnreadableConfigurationInGetDefaultsGivesItsMessageAndChangesNothing) {
  start();
  for (const std::string& text : {std::string("garbage"),
                                 std::string("<?xml version=\"1.0\"?><DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
                                             "<FIELD attrname=\"Parameter\" fieldtype=\"string\" WIDTH=\"20\"/>"
                                             "</FIELDS></METADATA><ROWDATA/></DATAPACKET>")}) {
    write(st.DataFolder + kConfigFileName, text);
    Project p;
    WindowSettings w;
    prompter.shown.clear();
    EXPECT_EQ(getDefaults(p, w), "");
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].kind, MsgKind::Error);
    EXPECT_EQ(p.liquid.LiqSG, kBlank);
  }
  fs::remove(st.DataFolder + kConfigFileName);
  Project p;
  WindowSettings w;
  prompter.shown.clear();
  EXPECT_EQ(getDefaults(p, w), "");
  EXPECT_FALSE(put_defaults(p, st, w, prompter));
  EXPECT_EQ(prompter.shown.size(), 2u);
}

TEST_F(StartupTest, ProjectFolderThatCannotBeCreatedRaisesItsPath) {
  write(root / "docs", "a file where a folder should be");
  try {
    start();
    FAIL() << "no error";
  } catch (const FolderError& e) {
    EXPECT_EQ(std::string(e.what()), defaultProjects);
  }
}

TEST_F(StartupTest, SamplesAreNotCopiedOntoThemselves) {
  start();
  {
    Table defs = config();
    defs.findKey({Value("ProjectFolder")})->set("Desc", Value(st.ProgramFolder + "Projects/"));
    defs.save();
  }
  start();
  EXPECT_EQ(slurp(st.ProgramFolder + "Projects/" + kSampleProjectName), "sample one");
  EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(StartupTest, DefaultsRoundTripThroughTheConfiguration) {
  start();
  Project p;
  WindowSettings w;
  getDefaults(p, w);
  p.proj.ShowElementIDs = false;
  p.proj.Expert = true;
  p.proj.InitQuickStart = false;
  p.proj.InitBranchHelp = false;
  w.width = 1024;
  w.height = 700;
  w.left = 10;
  w.top = -4;
  w.clipboardWindowExists = true;
  w.clipboardLeft = 300;
  w.clipboardTop = 200;
  w.font = IdFont{"DejaVu Sans", 1, 255, 10, 3};
  w.elemSize = 48;
  st.projectFile = "/x/Plant A.pzn";
  st.RecentFiles = {"/x/Plant A.pzn", "/x/b.pzn", "", "", ""};
  st.ProjectFolder = (root / "elsewhere").string() + "/";
  // A record that does not exist is not created by put_defaults...
  {
    Table defs = config();
    defs.remove(*defs.findKey({Value("GenScreenPosY")}));
    defs.remove(*defs.findKey({Value("GenInitBranchHelp")}));
    defs.save();
  }
  ASSERT_TRUE(put_defaults(p, st, w, prompter));
  Table defs = config();
  EXPECT_EQ(defs.findKey({Value("GenScreenPosY")}), nullptr);
  // ...except the branch-help flag.
  ASSERT_NE(defs.findKey({Value("GenInitBranchHelp")}), nullptr);
  EXPECT_EQ(defs.findKey({Value("GenInitBranchHelp")})->str("Abrev"), "False");
  EXPECT_EQ(defs.findKey({Value("GenExpert")})->str("Abrev"), "True");
  EXPECT_EQ(defs.findKey({Value("CurrentFile")})->str("Desc"), "/x/Plant A.pzn");

  Project q;
  WindowSettings v;
  ShellState st2;
  st2.DataFolder = st.DataFolder;
  std::swap(st, st2);
  EXPECT_EQ(getDefaults(q, v), "/x/Plant A.pzn");
  std::swap(st, st2);
  EXPECT_FALSE(q.proj.ShowElementIDs);
  EXPECT_TRUE(q.proj.Expert);
  EXPECT_FALSE(q.proj.InitQuickStart);
  EXPECT_FALSE(q.proj.InitBranchHelp);
  EXPECT_EQ(v.width, 1024);
  EXPECT_EQ(v.height, 700);
  EXPECT_EQ(v.left, 10);
  EXPECT_FALSE(v.top.has_value());
  EXPECT_EQ(v.clipboardLeft, 300);
  EXPECT_EQ(v.clipboardTop, 200);
  EXPECT_EQ(v.font.name, "DejaVu Sans");
  EXPECT_EQ(v.font.charSet, 1);
  EXPECT_EQ(v.font.color, 255);
  EXPECT_EQ(v.font.size, 10);
  EXPECT_EQ(v.font.style, 3);
  EXPECT_EQ(v.elemSize, 48);
  EXPECT_EQ(st2.ProjectFolder, (root / "elsewhere").string() + "/");
  EXPECT_EQ(st2.RecentFiles[0], "/x/Plant A.pzn");
  EXPECT_EQ(st2.RecentFiles[1], "/x/b.pzn");

  // New re-reads the configuration but not the recent files.
  st2.RecentFiles = {"/keep.pzn", "", "", "", ""};
  std::swap(st, st2);
  getDefaults(q, v, /*atStartup=*/false);
  std::swap(st, st2);
  EXPECT_EQ(st2.RecentFiles[0], "/keep.pzn");
}

TEST_F(StartupTest, OddConfigurationValues) {
  start();
  struct Case {
    const char* key;
    const char* field;
    const char* value;
  };
  auto with = [&](std::initializer_list<Case> cases) {
    Table defs = config();
    for (const Case& c : cases) {
      Row* r = defs.findKey({Value(c.key)});
      if (!r) r = &defs.append({{"Parameter", c.key}});
      if (*c.value)
        r->set(c.field, Value(c.value));
      else
        r->setNull(c.field);
    }
    defs.save();
  };
  Project p;
  WindowSettings w;

  with({{"GenElemSize", "Val1", "20"}});
  getDefaults(p, w);
  EXPECT_EQ(w.elemSize, 32);
  with({{"GenElemSize", "Val1", "70"}});
  w.elemSize = 50;
  getDefaults(p, w);
  EXPECT_EQ(w.elemSize, 32);

  // A bad equation is reported and leaves the equation as it was.
  with({{"GenHeadCalc", "Val1", "5"}});
  p.sys.HeadCalc = 2;
  prompter.shown.clear();
  getDefaults(p, w);
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Bad head calc equation!"});
  EXPECT_EQ(p.sys.HeadCalc, 2);
  EXPECT_DOUBLE_EQ(p.last.DefFriction, 0.0015);

  // Darcy-Weisbach with its default friction; an empty LiqSG is unknown; tolerances that could
  // never be met are ignored.
  with({{"GenHeadCalc", "Val1", "2"}, {"LiqSG", "Val1", ""}, {"Gentl", "Val1", "0"}, {"GenAtmPress", "Val1", "-3"}});
  p.sys.FlowTol = 0.002f;
  p.sys.AtmPress = 14.0f;
  getDefaults(p, w);
  EXPECT_EQ(p.sys.HeadCalc, 2);
  EXPECT_DOUBLE_EQ(p.last.DefFriction, 0.0015);
  EXPECT_EQ(p.liquid.LiqSG, kBlank);
  EXPECT_FLOAT_EQ(p.sys.FlowTol, 0.002f);
  EXPECT_FLOAT_EQ(p.sys.AtmPress, 14.0f);

  // Metric units from the configuration.
  with({{"UnitDia", "Abrev", "mm"}, {"UnitDia", "Val1", "25.4"}, {"UnitSHead", "Abrev", "mtr liq"},
        {"UnitSHead", "Val1", "0.3048"}, {"UnitLiqTemp", "Abrev", "C"}, {"UnitEnglish", "Abrev", "no"},
        {"LiqSG", "Val1", "1.2"}});
  getDefaults(p, w);
  EXPECT_TRUE(p.units.nominalMillimetre);
  EXPECT_DOUBLE_EQ(p.units.SHeadFactor, 0.3048);
  EXPECT_NEAR(p.units.PHeadFactor, 1.0, 1e-12);  // "ft liq": no specific gravity
  EXPECT_EQ(p.units.SpecHeatLabel, "Cal/grC");
  EXPECT_EQ(p.units.unitSystem, 'M');

  // Without the branch-help record the help is shown.
  {
    Table defs = config();
    defs.remove(*defs.findKey({Value("GenInitBranchHelp")}));
    defs.remove(*defs.findKey({Value("GenInitQuickStart")}));
    defs.save();
  }
  p.proj.InitBranchHelp = false;
  p.proj.InitQuickStart = true;
  getDefaults(p, w);
  EXPECT_TRUE(p.proj.InitBranchHelp);
  EXPECT_FALSE(p.proj.InitQuickStart);
}

TEST_F(StartupTest, StartupProjectChoice) {
  fs::create_directories(root / "my files");
  write(root / "my files" / "Plant B.pzn", "x");
  const std::string spaced = (root / "my files" / "Plant B.pzn").string();
  const std::string folder = (root / "my files").string() + "/";
  // Arguments are joined with single blanks (a name with a blank arrives as two arguments).
  EXPECT_EQ(startupProject({(root / "my").string(), "files/Plant B.pzn"}, "/cur.pzn", folder), spaced);
  EXPECT_EQ(startupProject({"/no/such.pzn"}, "/cur.pzn", folder), "/cur.pzn");
  EXPECT_EQ(startupProject({""}, "", folder), folder + kSampleProjectName);
  EXPECT_EQ(startupProject({}, "", folder), folder + kSampleProjectName);
}

}  // namespace
}  // namespace vt
