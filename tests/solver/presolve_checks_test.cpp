// The pre-solve checks: each finding's exact lines over a small fixture, whether it stops the
// solution, and what it carries; then the store's consistency checks.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "solver/builder_support.h"
#include "solver/solution.h"

namespace vt {
namespace {

using test::SystemBuilder;
using ::testing::ContainerEq;

struct Fixture {
  Project p;
  PlainSolveHost host;
  Solution s{p, host};
  SystemBuilder b{p};
};

// An open gravity line S1 - P1 - G1 - P2 - S2 (100 ft over 50 ft) that passes every check.
struct Line {
  int s1, p1, g1, p2, s2;
};
Line openLine(SystemBuilder& b) {
  Line l;
  l.s1 = b.supply(0, "S1", 100);
  l.p1 = b.pipe(0, "P1", 100, 4, 120);
  l.g1 = b.gauge(0, "G1", 90);
  l.p2 = b.pipe(0, "P2", 100, 4, 120);
  l.s2 = b.supply(0, "S2", 50);
  return l;
}

// The run of list lines where `expected` should stand: located by its first line that is not blank.
std::vector<std::string> runOf(const MessageList& list, const std::vector<std::string>& expected) {
  size_t j = 0;
  while (j < expected.size() && (expected[j] == " " || expected[j] == "  ")) ++j;
  auto texts = list.texts();
  for (size_t i = 0; i < texts.size(); ++i)
    if (texts[i] == expected[j] && i >= j)
      return {texts.begin() + (i - j), texts.begin() + std::min(texts.size(), i - j + expected.size())};
  return {};
}

std::string dump(const MessageList& list) {
  std::string out;
  for (const auto& t : list.texts()) out += "[" + t + "]\n";
  return out;
}

struct Case {
  const char* name;
  std::function<int(Fixture&)> build;  // returns the element the finding's line must carry (0: none)
  std::vector<std::string> lines;      // consecutive lines of the finding, exactly
  bool stops;
};

const Case kCases[] = {
    {"single supply is not both ends",
     [](Fixture& f) {
       f.b.supply(0, "S1", 10);
       return 0;
     },
     {" ", " ", "- Error, for the system type above, the first and last elements of the main line must be Supplys",
      " ", "  If you are trying to model a forced flow or closed loop system...",
      "  Suggestion - click the System button (or click here) and select that type of system."},
     true},
    {"branch of two entries",
     [](Fixture& f) {
       Line l = openLine(f.b);
       f.b.place(1, l.g1);
       f.b.pipe(1, "B1", 10, 2, 120);
       return 0;
     },
     {" ", "- Error, Branch #1 must have more than 2 elements total",
      "  This Branch will be ignored when solving, if not fixed or emptied!"},
     false},
    {"branch starting with a pipe",
     [](Fixture& f) {
       openLine(f.b);
       f.b.pipe(2, "B1", 10, 2, 120);
       f.b.pipe(2, "B2", 10, 2, 120);
       f.b.supply(2, "S3", 20);
       return 0;
     },
     {" ", "- Warning, Branch #2 must start with a connected Gauge from another line",
      "  This Branch will be ignored when solving, if not fixed or emptied!"},
     false},
    {"branch starting with an unconnected gauge",
     [](Fixture& f) {
       openLine(f.b);
       f.b.gauge(1, "BG", 10);
       f.b.pipe(1, "B1", 10, 2, 120);
       f.b.supply(1, "S3", 20);
       return 0;
     },
     {" ", "- Warning, Branch #1 must start with a Gauge from a previous line",
      "  This Branch will be ignored when solving, if not fixed or emptied!"},
     false},
    {"branch ending with a pipe",
     [](Fixture& f) {
       Line l = openLine(f.b);
       f.b.place(1, l.g1);
       f.b.pipe(1, "B1", 10, 2, 120);
       f.b.pipe(1, "B2", 10, 2, 120);
       return 0;
     },
     {" ", "- Warning, Branch #1 must end with a Supply or connected Gauge",
      "  This Branch will be ignored when solving, if not fixed or emptied!"},
     false},
    {"branch ending at an unconnected gauge",
     [](Fixture& f) {
       Line l = openLine(f.b);
       f.b.place(1, l.g1);
       f.b.pipe(1, "B1", 10, 2, 120);
       return f.b.gauge(1, "BG", 80);
     },
     {" ", "- Error, The end Gauge in Branch #1 must be connected elsewhere in system (click here)"},
     true},
    {"no driver",
     [](Fixture& f) {
       f.b.supply(0, "S1", 50, 2);
       f.b.pipe(0, "P1", 100, 4, 120);
       f.b.supply(0, "S2", 51, 1);
       return 0;
     },
     {" ", "- Error, no driver for this system - no static head difference or pump!"},
     true},
    {"gauge next to a supply",
     [](Fixture& f) {
       int s1 = f.b.supply(0, "S1", 100);
       f.b.gauge(0, "G0", 100);
       f.b.pipe(0, "P1", 100, 4, 120);
       f.b.supply(0, "S2", 50);
       return s1;
     },
     {" ", "- Error, Cannot have gauges (S1) next to each other or Supply elements!(click here)"},
     true},
    {"friction out of range",
     [](Fixture& f) {
       Line l = openLine(f.b);
       f.p.pipe[l.p1]->Friction = 201;
       f.p.pipe[l.p2]->Friction = 200;
       return l.p1;
     },
     {" ", "- Warning, pipe P1, Friction value is out of range!(click here)"},
     false},
    {"pipe shorter than its elevation change",
     [](Fixture& f) {
       f.b.supply(0, "S1", 0);
       int p = f.b.pipe(0, "P1", 10, 4, 120);
       f.b.gauge(0, "G1", 25);
       f.b.pipe(0, "P2", 0.05, 4, 120);  // 0.6 in of pipe is below the 12 in threshold
       f.b.supply(0, "S2", -30);
       return p;
     },
     {" ", "- Warning, Pipe: P1 is shorter than elev change!(click here)"},
     false},
    {"opposing directional elements",
     [](Fixture& f) {
       f.b.supply(0, "S1", 0);
       f.b.pump(0, "PU", {100, 95, 85, 70}, 100);
       f.b.pipe(0, "P1", 100, 4, 120);
       int cv = f.b.valve(0, "CV", -2, 2, 4, -1);
       f.b.supply(0, "S2", 20);
       return cv;
     },
     {" ", "- Error, element CV opposes another directional element!(click here)"},
     false},
    {"enlargement without a diameter on one side",
     [](Fixture& f) {
       f.b.supply(0, "S1", 100);
       int e = f.b.valve(0, "EC", 56, 0, 0, 1, 30, 0, kFitting);
       f.b.pipe(0, "P1", 100, 4, 120);
       f.b.supply(0, "S2", 50);
       return e;
     },
     {" ", "- Error, Must have diameter elements on both sides of enlargement/reducer EC!(click here)"},
     true},
    {"nozzle without C",
     [](Fixture& f) {
       Line l = openLine(f.b);
       (void)l;
       return f.b.valve(0, "NZ", 57, 0, 1, 1, 4);
     },
     {" ", "- Error, nozzle/orifice NZ, C value in <= 0.0!(click here)"},
     true},
    {"nozzle bore not smaller than the pipe",
     [](Fixture& f) {
       openLine(f.b);
       return f.b.valve(0, "NZ", 57, 0.6f, 4, 1, 4);
     },
     {" ", "- Error, nozzle/orifice NZ, Larger Dia must be larger than Inside Dia!(click here)"},
     true},
    {"closed loop without reference gauge",
     [](Fixture& f) {
       f.p.sys.SysType = 3;
       f.b.gauge(0, "G1", 0);
       f.b.pump(0, "PU", {100, 95, 85, 70}, 100);
       f.b.pipe(0, "P1", 100, 4, 120);
       return 0;
     },
     {" ", "- Error, there is no reference gauge for this closed loop system!",
      "  Suggestion - define reference gauge - (click here)"},
     true},
    {"closed loop with a pipe as reference",
     [](Fixture& f) {
       f.p.sys.SysType = 3;
       f.b.gauge(0, "G1", 0);
       f.b.pump(0, "PU", {100, 95, 85, 70}, 100);
       int p = f.b.pipe(0, "P1", 100, 4, 120);
       f.p.sys.RefGauge = static_cast<int16_t>(p);
       return p;
     },
     {" ", "- Error, reference gauge number refers to another element! Please check..."},
     true},
    {"closed loop with the reference in a branch",
     [](Fixture& f) {
       f.p.sys.SysType = 3;
       int g1 = f.b.gauge(0, "G1", 0);
       f.b.pump(0, "PU", {100, 95, 85, 70}, 100);
       f.b.pipe(0, "P1", 100, 4, 120);
       int g2 = f.b.gauge(0, "G2", 0);
       f.b.pipe(0, "P2", 100, 4, 120);
       f.b.place(1, g1);
       f.b.pipe(1, "B1", 100, 4, 120);
       int r = f.b.gauge(1, "R", 0);
       f.b.pipe(1, "B2", 100, 4, 120);
       f.b.place(1, g2);
       f.p.sys.RefGauge = static_cast<int16_t>(r);
       return r;
     },
     {" ", "- Error, reference gauge must be in main line! Please check..."},
     true},
    {"closed loop without pump",
     [](Fixture& f) {
       f.p.sys.SysType = 3;
       int g = f.b.gauge(0, "G1", 0);
       f.b.pipe(0, "P1", 100, 4, 120);
       f.p.sys.RefGauge = static_cast<int16_t>(g);
       return 0;
     },
     {" ", "- Error, no driver for this system - need a pump!"},
     true},
    {"closed loop with a supply",
     [](Fixture& f) {
       f.p.sys.SysType = 3;
       int g = f.b.gauge(0, "G1", 0);
       f.b.pump(0, "PU", {100, 95, 85, 70}, 100);
       f.b.pipe(0, "P1", 100, 4, 120);
       f.b.supply(0, "S", 0);
       f.b.pipe(0, "P2", 100, 4, 120);
       f.p.sys.RefGauge = static_cast<int16_t>(g);
       return 0;
     },
     {" ", "- Warning, Supply elements not allowed in recirculating systems!"},
     false},
    {"closed loop gauge with a demand",
     [](Fixture& f) {
       f.p.sys.SysType = 3;
       int g = f.b.gauge(0, "G1", 0);
       f.b.pump(0, "PU", {100, 95, 85, 70}, 100);
       f.b.pipe(0, "P1", 100, 4, 120);
       int d = f.b.gauge(0, "G2", 0, 5);
       f.b.pipe(0, "P2", 100, 4, 120);
       f.p.sys.RefGauge = static_cast<int16_t>(g);
       return d;
     },
     {" ", "- Error, gauge G2, cannot have demands in a closed loop system! (click here)"},
     true},
    {"forced flow against a pump",
     [](Fixture& f) {
       f.p.sys.SysType = 2;
       f.p.sys.SysFlowPress = 100;
       f.b.supply(0, "S1", 0);
       f.b.pipe(0, "P1", 100, 4, 120);
       int pu = f.b.pump(0, "PU", {100, 95, 85, 70}, 100, 0, -1);
       f.b.gauge(0, "G", 0);
       return pu;
     },
     {" ", "- Error, Forced flow direction (to right) opposes Pump PU  allowable direction.(click here)"},
     true},
    {"forced flow against a check valve",
     [](Fixture& f) {
       f.p.sys.SysType = 2;
       f.p.sys.SysFlowPress = 100;
       f.b.gauge(0, "G0", 0);
       f.b.pipe(0, "P1", 100, 4, 120);
       int cv = f.b.valve(0, "CV", 45, 2, 4, -1);
       f.b.gauge(0, "G", 0);
       return cv;
     },
     {" ", "- Error, Forced flow direction (to right) opposes Valve or Fitting CV  allowable direction.(click here)"},
     true},
    {"forced flow against an FVH",
     [](Fixture& f) {
       f.p.sys.SysType = 2;
       f.p.sys.SysFlowPress = 100;
       f.b.gauge(0, "G0", 0);
       int fv = f.b.fvh(0, "FV", 100, 2, 8, 0, -1);
       f.b.gauge(0, "G", 0);
       return fv;
     },
     {" ", "- Error, Forced flow direction -> opposes FVH FV  allowable direction.(click here)"},
     true},
    {"forced flow with an undefined pump",
     [](Fixture& f) {
       f.p.sys.SysType = 2;
       f.p.sys.SysFlowPress = 100;
       f.b.gauge(0, "G0", 0);
       int pu = f.b.undefinedPump(0, "UP", 100);
       f.b.pipe(0, "P1", 100, 4, 120);
       f.b.gauge(0, "G", 0);
       return pu;
     },
     {" ", "- Error, Cannot have undefined pump UP in forced flow system!(click here)"},
     true},
    {"forced flow with a PRV",
     [](Fixture& f) {
       f.p.sys.SysType = 2;
       f.p.sys.SysFlowPress = 100;
       f.b.gauge(0, "G0", 0);
       f.b.pipe(0, "P1", 100, 4, 120);
       int v = f.b.valve(0, "PRV", -3, 0, 4, 1, 30);
       f.b.gauge(0, "G", 0);
       return v;
     },
     {" ", "- Error, Cannot have PRVs, FCV or PSV valves in forced flow system! PRV (click here)"},
     true},
    {"unknown system type",
     [](Fixture& f) {
       openLine(f.b);
       f.p.sys.SysType = 4;
       return 0;
     },
     {" ", "- Error, unknown system type 4!"},
     true},
    {"forced flow from a gauge to a supply",
     [](Fixture& f) {
       f.p.sys.SysType = 2;
       f.p.sys.SysFlowPress = 100;
       f.b.gauge(0, "G0", 0);
       f.b.pipe(0, "P1", 100, 4, 120);
       f.b.supply(0, "S", 0);
       return 0;
     },
     {" Any Branches will be ignored.", "  System will be solved for head losses. Will assume zero starting HGL.",
      "  Supply element at end of main line will be ignored. Should be changed to a gauge.", " "},
     false},
};

TEST(AnalyzeUser, EachFindingHasItsExactLinesAndStopsOnlyWhenItMust) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    int carried = c.build(f);
    f.p.proj.Analyzing = true;
    f.s.RunSolution();
    EXPECT_THAT(runOf(f.s.list, c.lines), ContainerEq(c.lines)) << dump(f.s.list);
    EXPECT_EQ(f.s.SolveErrors(), c.stops) << dump(f.s.list);
    EXPECT_EQ(f.s.list.back().text, " Analyze complete...");
    if (carried != 0) {
      bool found = false;
      for (const auto& l : f.s.list.lines()) found = found || l.element == carried;
      EXPECT_TRUE(found) << "no line carries element " << carried;
    }
  }
}

TEST(AnalyzeUser, SuggestionLinesCarryTheirCommands) {
  Fixture f;
  f.b.supply(0, "S1", 10);
  f.p.proj.Analyzing = true;
  f.s.RunSolution();
  const auto& back = f.s.list.lines();
  auto it = std::find_if(back.begin(), back.end(), [](const MessageLine& l) { return l.command != nullptr; });
  ASSERT_NE(it, back.end());
  EXPECT_EQ(it->command->hint, "Edit System Type?");
}

TEST(AnalyzeUser, StaticHeadDifferenceOfTwoThousandthsOfAFootIsADriver) {
  Fixture f;
  f.b.supply(0, "S1", 50);
  f.b.pipe(0, "P1", 100, 4, 120);
  int s2 = f.b.supply(0, "S2", 50);
  f.p.node[s2]->Elev += 0.024f;  // 0.002 ft
  f.p.proj.Analyzing = true;
  f.s.RunSolution();
  EXPECT_FALSE(f.s.SolveErrors()) << dump(f.s.list);
}

TEST(AnalyzeUser, IgnoredBranchDoesNotStopTheSolution) {
  Fixture f;
  Line l = openLine(f.b);
  f.b.place(1, l.g1);
  f.b.pipe(1, "B1", 10, 2, 120);
  f.s.RunSolution();
  EXPECT_EQ(f.p.LineLen[1], 0);
  EXPECT_TRUE(f.p.proj.Solved) << dump(f.s.list);
}

TEST(AnalyzeUser, PumpsInSeriesGetACombinedCurve) {
  Fixture f;
  f.b.supply(0, "S1", 0);
  f.b.pump(0, "PU1", {100, 95, 85, 70}, 100);
  f.b.pipe(0, "P1", 500, 4, 120);
  f.b.pump(0, "PU2", {100, 95, 85, 70}, 100);
  f.b.valve(0, "CV", -2, 2, 4, 1);
  f.b.supply(0, "S2", 50);
  f.p.proj.Analyzing = true;
  f.s.RunSolution();
  auto texts = f.s.list.texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), "   Pumps in main line are in series..."), texts.end());
  EXPECT_TRUE(f.s.series.inSeries);
  EXPECT_FLOAT_EQ(f.s.series.SeriesPump.ShutoffHead, 200.0f);

  Fixture g;
  g.b.supply(0, "S1", 0);
  g.b.pump(0, "PU1", {100, 95, 85, 70}, 100);
  g.b.undefinedPump(0, "PU2", 100);
  g.b.supply(0, "S2", 50);
  g.p.proj.Analyzing = true;
  g.s.RunSolution();
  EXPECT_FALSE(g.s.series.inSeries);
}

TEST(AnalyzeUser, RebuildsNeighboursKeepingMainLineNeighboursOfJunctions) {
  Fixture f;
  Line l = openLine(f.b);
  f.b.place(1, l.g1);
  int b1 = f.b.pipe(1, "B1", 10, 2, 120);
  int s3 = f.b.supply(1, "S3", 20);
  f.p.proj.Analyzing = true;
  f.s.RunSolution();
  EXPECT_EQ(f.p.PrevElem[l.g1], l.p1);
  EXPECT_EQ(f.p.NextElem[l.g1], l.p2);
  EXPECT_EQ(f.p.PrevElem[b1], l.g1);
  EXPECT_EQ(f.p.NextElem[b1], s3);
  EXPECT_EQ(f.p.NextElem[l.s2], -1);
}

TEST(AnalyzeInt, CountMismatchIsAnInternalError) {
  Fixture f;
  openLine(f.b);
  f.p.tot_pipes = 5;
  f.s.RunSolution();
  auto texts = f.s.list.texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), "- Error, pipe count."), texts.end()) << dump(f.s.list);
  EXPECT_NE(std::find(texts.begin(), texts.end(), "Error, total pipe error!"), texts.end());
  EXPECT_NE(std::find(texts.begin(), texts.end(), " Internal memory error!"), texts.end());
  EXPECT_FALSE(f.p.proj.Solved);
}

TEST(AnalyzeInt, IdMissingFromTheListAndStrayRecords) {
  Fixture f;
  Line l = openLine(f.b);
  f.p.IDList.remove("P2");
  f.p.createElement(40, kPipe);  // a record with no place in the sequence
  f.p.HighElem = 40;
  f.s.RunSolution();
  auto texts = f.s.list.texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), "- Error, pipe ID = P2 Not in StringList!"), texts.end())
      << dump(f.s.list);
  EXPECT_NE(std::find(texts.begin(), texts.end(), "- Error, elemspot=0 and Pipe[] not nil."), texts.end());
  EXPECT_TRUE(f.s.SolveErrors());
  (void)l;
}

TEST(AnalyzeInt, CleanStoreLeavesTheFlagClear) {
  Fixture f;
  openLine(f.b);
  f.p.proj.Analyzing = true;
  f.s.RunSolution();
  EXPECT_FALSE(f.s.SolveErrors());
  EXPECT_EQ(f.s.list[0].text, " Analyze start...");
}

TEST(AnalyzeUser, UnformableLossesStopBeforeSolving) {
  struct Bad {
    const char* name;
    std::function<void(Fixture&, Line&)> spoil;
    const char* line;
  };
  const Bad bads[] = {
      {"zero diameter", [](Fixture& f, Line& l) { f.p.pipe[l.p1]->InsideDia = 0; },
       "- Error, pipe P1, Inside Dia must be greater than zero!(click here)"},
      {"zero C", [](Fixture& f, Line& l) { f.p.pipe[l.p1]->Friction = 0; },
       "- Error, pipe P1, Friction value cannot be used!(click here)"},
      {"zero viscosity",
       [](Fixture& f, Line&) {
         f.p.sys.HeadCalc = 2;
         f.p.liquid.LiqKVis = 0;
       },
       "- Error, the liquid's viscosity must be greater than zero for Darcy-Weisbach!"},
      {"zero n",
       [](Fixture& f, Line& l) {
         f.p.sys.HeadCalc = 3;
         f.p.pipe[l.p2]->Friction = 0;
       },
       "- Error, pipe P2, Friction value cannot be used!(click here)"},
      {"bad equation", [](Fixture& f, Line&) { f.p.sys.HeadCalc = 7; }, "- Error, Wrong head calc equation!"},
  };
  for (const Bad& bad : bads) {
    SCOPED_TRACE(bad.name);
    Fixture f;
    Line l = openLine(f.b);
    bad.spoil(f, l);
    f.s.RunSolution();
    auto texts = f.s.list.texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), bad.line), texts.end()) << dump(f.s.list);
    EXPECT_EQ(f.s.list.back().text, " ...you must fix the above problem(s) before this system can be solved.");
    for (int n = 1; n <= f.p.HighElem; ++n) EXPECT_TRUE(std::isfinite(f.p.ElemFlow(n)));
  }
}

}  // namespace
}  // namespace vt
