#include "editors/system_options.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "data/table.h"
#include "editor_fixture.h"
#include "units/number_format.h"

namespace vt {
namespace {

namespace fs = std::filesystem;

// A project with two pipes, a copy of the shipped liquid table and configuration in a scratch folder.
struct OptionsFixture : test::EditorFixture {
  fs::path dir;
  std::string liquids, config;
  int p1, p2, g1;
  OptionsFixture() {
    dir = fs::temp_directory_path() / ("vt_sysopt_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                       "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    liquids = (dir / "Liq_prop.XML").string();
    config = (dir / "VTDefs.XML").string();
    fs::copy_file(fs::path(VORTELAN_SOURCE_DATA_DIR) / "Liq_prop.XML", liquids);
    fs::copy_file(fs::path(VORTELAN_SOURCE_DATA_DIR) / "VTDefs.XML", config);
    add(0, kSupply, "S1");
    p1 = add(0, kPipe, "P1");
    g1 = add(0, kGauge, "G1");
    p2 = add(0, kPipe, "P2");
    add(0, kSupply, "S2");
    p.pipe[p1]->Friction = 130;
    p.pipe[p2]->Friction = 120;
    p.sys.HeadCalc = 1;
    p.sys.FlowTol = 0.001f;
    p.sys.AtmPress = 14.7f;
    p.liquid = {"Water", 60.0f, 0.9982f, 1.0f, 0.0f, 0.2563f, 1.2, ""};
    test::englishUnits(p);
  }
  ~OptionsFixture() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
};

TEST(SystemOptions, AtmosphericPressureFromElevation) {
  struct Case {
    bool metric;
    const char* elev;
    const char* shown;
  };
  const Case cases[] = {{false, "0", "14.7"}, {false, "", "14.7"}, {false, "1000", "14.2"}, {false, "5280", "12.1"},
                        {true, "304.8", "97.7"}};
  for (const auto& c : cases) {
    OptionsFixture f;
    if (c.metric) test::metricUnits(f.p);
    SystemOptionsForm form(f.p, f.liquids, f.config);
    form.elev = c.elev;
    form.calc();
    EXPECT_EQ(form.atmPress, c.shown) << c.elev;
  }
  OptionsFixture f;
  SystemOptionsForm form(f.p, f.liquids, f.config);
  form.elev = "high";
  form.calc();
  EXPECT_EQ(f.lastText(), "Bad elevation value!");
  EXPECT_EQ(form.focus(), "ElevEdit");
  EXPECT_EQ(atmosphericPressurePa(1e6), 0.0f);
}

TEST(SystemOptions, OpeningAndAcceptingAtOnce) {
  OptionsFixture f;
  {
    SystemOptionsForm form(f.p, f.liquids, f.config);
    EXPECT_EQ(form.typeIndex, 0);
    EXPECT_FALSE(form.flowPressShown());
    EXPECT_EQ(form.tol, "0.001");
    EXPECT_EQ(form.atmPress, "14.70");
    EXPECT_EQ(form.sg, "1.00");
    EXPECT_EQ(form.vp, "0.26");
    EXPECT_EQ(form.kvis, "1.13");
    EXPECT_FALSE(form.kvisEnabled);
    EXPECT_FALSE(form.eqLenShown());
    EXPECT_FALSE(form.liquidItems().empty());
  }
  // Hazen-Williams fixes the viscosity even when the form is cancelled.
  EXPECT_DOUBLE_EQ(f.p.liquid.LiqKVis, 1.13);
  EXPECT_FALSE(f.p.proj.Modified);

  f.p.SetSolved(true);
  SystemOptionsForm form(f.p, f.liquids, f.config);
  ASSERT_TRUE(form.accept());
  EXPECT_TRUE(f.p.proj.Modified);
  EXPECT_FALSE(f.p.proj.Solved);
  EXPECT_FLOAT_EQ(f.p.liquid.LiqSG, 1.0f);  // as shown, two decimals
  EXPECT_FLOAT_EQ(f.p.liquid.LiqVP, 0.26f);
  EXPECT_EQ(f.p.sys.SysFlowPress, kBlank);
  EXPECT_EQ(f.p.pipe[f.p1]->Friction, 130);
}

TEST(SystemOptions, AcceptanceChecksInOrder) {
  struct Case {
    int type;
    const char *flow, *gauge, *tol, *atm, *message, *focus;
  };
  const Case cases[] = {
      {1, "0", "", "0.001", "14.7", "Bad flow value for forced flow system!", "flpredit"},
      {1, "x", "", "x", "x", "Bad flow value for forced flow system!", "flpredit"},
      {2, "", "P1", "0.001", "14.7", "Bad gauge ID for closed loop system!", "cbGaugeID"},
      {2, "", "G1", "0.001", "14.7", "Bad pressure value for closed loop system!", "flpredit"},
      {0, "", "", "", "14.7", "Bad flow tolerance!", "tledit"},
      {0, "", "", "0.00005", "14.7", "Flow tolerance too low! Minimum is 0.00010000 USgpm", "tledit"},
      {0, "", "", "0.001", "0", "Bad atmospheric pressure value!", "AtmPressEdit"},
  };
  for (const auto& c : cases) {
    OptionsFixture f;
    SystemOptionsForm form(f.p, f.liquids, f.config);
    f.prompt.shown.clear();
    form.typeChanged(c.type);
    form.flowPress = c.flow;
    form.gaugeId = c.gauge;
    form.tol = c.tol;
    form.atmPress = c.atm;
    EXPECT_FALSE(form.accept()) << c.message;
    EXPECT_EQ(f.lastText(), c.message);
    EXPECT_EQ(form.focus(), c.focus);
    EXPECT_FALSE(f.p.proj.Modified);
  }
}

TEST(SystemOptions, SystemTypesStoreTheirValues) {
  OptionsFixture f;
  SystemOptionsForm forced(f.p, f.liquids, f.config);
  forced.typeChanged(1);
  EXPECT_EQ(forced.flowPressCaption(), "F&orced Flow for system :");
  EXPECT_EQ(forced.flowPressUnit(), "USgpm");
  forced.flowPress = "250";
  forced.tol = "0.0001";
  ASSERT_TRUE(forced.accept());
  EXPECT_EQ(f.p.sys.SysType, 2);
  EXPECT_FLOAT_EQ(f.p.sys.SysFlowPress, 250.0f);
  EXPECT_FLOAT_EQ(f.p.sys.FlowTol, 0.0001f);

  SystemOptionsForm loop(f.p, f.liquids, f.config);
  EXPECT_EQ(loop.flowPress, "250.00");
  loop.typeChanged(2);
  EXPECT_EQ(loop.gaugeItems(), std::vector<std::string>{"G1"});
  EXPECT_EQ(loop.flowPressCaption(), "Reference p&ressure at gauge :");
  EXPECT_EQ(loop.flowPressUnit(), "psi");
  loop.gaugeId = "g1";
  loop.flowPress = "0";  // a reference pressure of 0 is accepted
  ASSERT_TRUE(loop.accept());
  EXPECT_EQ(f.p.sys.SysType, 3);
  EXPECT_EQ(f.p.sys.RefGauge, f.g1);
  EXPECT_FLOAT_EQ(f.p.sys.SysFlowPress, 0.0f);

  SystemOptionsForm again(f.p, f.liquids, f.config);
  EXPECT_EQ(again.gaugeId, "G1");
}

TEST(SystemOptions, ClosedLoopWithoutMainLineGauges) {
  test::EditorFixture f;
  f.add(0, kSupply, "S1");
  f.add(0, kPipe, "P1");
  SystemOptionsForm form(f.p, "/nonexistent/Liq_prop.XML", "/nonexistent/VTDefs.XML");
  EXPECT_EQ(f.lastText(), "/nonexistent/Liq_prop.XML doesn't exist!");
  form.typeChanged(2);
  EXPECT_EQ(f.lastText(), "No gauges available in system! Create reference gauge first.");
  EXPECT_EQ(f.prompt.shown.back().kind, MsgKind::Warning);
  form.flowPress = "10";
  EXPECT_FALSE(form.accept());
  EXPECT_EQ(f.lastText(), "Bad gauge ID for closed loop system!");
}

TEST(SystemOptions, EquationChangeConvertsEveryPipe) {
  struct Case {
    bool metric;
    int to;
    std::optional<std::string> answer;  // nullopt: the prompt is cancelled
    double friction;
  };
  const Case cases[] = {{false, 2, "0.15", 0.00015},
                        {false, 2, std::nullopt, 0.00015},
                        {true, 2, "0.0457", 0.0457 / 304.8},
                        {false, 3, "0.011", 0.011}};
  for (const auto& c : cases) {
    OptionsFixture f;
    if (c.metric) test::metricUnits(f.p);
    SystemOptionsForm form(f.p, f.liquids, f.config);
    f.prompt.shown.clear();
    f.prompt.inputs = {c.answer};
    form.equationClicked(c.to);
    ASSERT_FALSE(f.prompt.shown.empty());
    EXPECT_EQ(f.prompt.prompts.size(), 1u);
    if (!c.answer) {
      EXPECT_EQ(f.lastText(), "All pipe Absolute Roughness values will be reset if you click Accept...");
    }
    ASSERT_TRUE(form.accept());
    EXPECT_EQ(f.p.sys.HeadCalc, c.to);
    EXPECT_NEAR(f.p.pipe[f.p1]->Friction, c.friction, 1e-9);
    EXPECT_NEAR(f.p.pipe[f.p2]->Friction, c.friction, 1e-9);
  }
  // Switching away and back leaves every pipe as it was, whatever was answered.
  OptionsFixture f;
  SystemOptionsForm form(f.p, f.liquids, f.config);
  f.prompt.inputs = {std::string("0.2"), std::string("abc"), std::string("-1"), std::string("99")};
  form.equationClicked(2);
  EXPECT_TRUE(form.kvisEnabled);
  EXPECT_TRUE(form.eqLenShown());
  form.equationClicked(1);  // asks until the answer is a positive number
  EXPECT_EQ(f.prompt.prompts.size(), 4u);
  EXPECT_FALSE(form.kvisEnabled);
  ASSERT_TRUE(form.accept());
  EXPECT_EQ(f.p.pipe[f.p1]->Friction, 130);
  EXPECT_EQ(f.p.pipe[f.p2]->Friction, 120);
}

TEST(SystemOptions, LiquidDatabaseChooseAddReplaceDelete) {
  OptionsFixture f;
  f.p.sys.HeadCalc = 2;
  SystemOptionsForm form(f.p, f.liquids, f.config);
  form.setDescription("Diesel fuel No. 2 at  60 deg F");
  EXPECT_EQ(form.temp, "60");
  EXPECT_EQ(form.sg, "0.85");
  EXPECT_EQ(form.kvis, "4");
  {
    // The table holds the vapour pressure as a head of the liquid; the form shows it in psi.
    Table t = Table::load(f.liquids);
    const Row* r = t.locate({{"Description", "Diesel fuel No. 2 at  60 deg F"}});
    ASSERT_NE(r, nullptr);
    double psi = r->num("Vap_Press") * 0.85 / 2.31;
    EXPECT_EQ(form.vp, formatGeneral(psi, 3));
    EXPECT_NEAR(form.workVP(), psi, psi * 0.005);
  }
  form.setDescription("My brine");  // unknown: the values stay
  EXPECT_EQ(form.sg, "0.85");

  f.prompt.shown.clear();
  form.setSG("1.2");
  form.saveToDatabase();
  EXPECT_EQ(f.lastText(), "Add this liquid description to database?");
  EXPECT_NE(std::find(form.liquidItems().begin(), form.liquidItems().end(), "My brine"), form.liquidItems().end());
  form.setSG("1.25");
  form.saveToDatabase();
  EXPECT_EQ(f.lastText(), "This description exists! Update/Replace?");
  {
    Table t = Table::load(f.liquids);
    const Row* r = t.locate({{"Description", "My brine"}});
    ASSERT_NE(r, nullptr);
    EXPECT_DOUBLE_EQ(r->num("Spec_Grav"), 1.25);
    auto rows = t.rows();
    EXPECT_EQ(std::count_if(rows.begin(), rows.end(),
                            [](const Row* x) { return x->str("Description") == "My brine"; }),
              1);
  }
  form.deleteLiquid();
  EXPECT_EQ(form.liqDesc, "Water,Saturated at  60 deg F");
  EXPECT_EQ(std::find(form.liquidItems().begin(), form.liquidItems().end(), "My brine"), form.liquidItems().end());
  form.liqDesc = "Nothing like it";
  form.deleteLiquid();
  EXPECT_EQ(f.lastText(), "Property not found!");
}

TEST(SystemOptions, InvalidLiquidFieldKeepsItsValue) {
  OptionsFixture f;
  SystemOptionsForm form(f.p, f.liquids, f.config);
  form.setTemp("abc");
  EXPECT_EQ(f.lastText(), "Temperature is an invalid value!");
  EXPECT_DOUBLE_EQ(form.workTemp(), 60.0);
  form.setSpecHeat("");
  EXPECT_EQ(form.workSpecHeat(), kBlank);
}

TEST(SystemOptions, DefaultsGoToTheConfiguration) {
  OptionsFixture f;
  SystemOptionsForm form(f.p, f.liquids, f.config);
  f.prompt.answers = {Answer::No};
  EXPECT_FALSE(form.makeDefault());
  f.prompt.answers.push_back(Answer::Yes);
  form.equationClicked(2);
  form.eqLen = true;
  form.tol = "0.002";
  ASSERT_TRUE(form.makeDefault());
  Table t = Table::load(f.config);
  auto val = [&](const char* key, const char* field) {
    const Row* r = t.locate({{"Parameter", key}});
    return r ? r->str(field) : std::string("(missing)");
  };
  EXPECT_EQ(val("GenHeadCalc", "Val1"), "2");
  EXPECT_EQ(val("GenEqLen", "Abrev"), "True");
  EXPECT_EQ(val("Gentl", "Val1"), "0.002");
  EXPECT_EQ(val("LiqDesc", "Desc"), "Water");
  EXPECT_EQ(form.focus(), "cbLiq_Prop");
  EXPECT_FALSE(f.p.proj.Modified);
}

}  // namespace
}  // namespace vt
