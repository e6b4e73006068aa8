// The solution of a project: pre-solve checks, the driver with its routing, the iterative solution
// with control valves, the pressure walk with NPSH and the head check. A Solution holds the working
// state of the solution window (routes, iteration counts, control-valve flags, the message list);
// the results go into the Project's records and ElemHGL.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/project.h"
#include "solver/curves.h"
#include "solver/head_loss.h"
#include "solver/message_list.h"
#include "solver/solve_host.h"

namespace vt {

inline constexpr const char* kSolvedText = "  System is solved!";
inline constexpr const char* kNoSystemText = "No system to solve!";
inline constexpr const char* kNoElementsText = "No elements to analyze!";
inline constexpr int kMaxIterations = 30000;

// Directional valve and fitting kinds: check valves of the table (43..55), the custom check valve
// and the three control valves.
inline bool isDirectionalKind(int code) { return (code >= 43 && code <= 55) || (code <= -2 && code >= -5); }

class Solution {
 public:
  Solution(Project& project, SolveHost& host);
  Solution(const Solution&) = delete;
  Solution& operator=(const Solution&) = delete;

  Project& project() { return p_; }
  SolveHost& host() { return host_; }

  // ---- commands of the main window ----
  // Solve: "No system to solve!" (warning) without elements; otherwise solves with the main line
  // current and returns to the line that was current when it is still in use. False: not run.
  bool solveCommand(Prompter& prompter);
  // Analyze: "No elements to analyze!" without elements; otherwise runs the checks only.
  bool analyzeCommand(Prompter& prompter);

  // ---- the run ----
  void RunSolution();  // analyze mode when the project's Analyzing flag is set

  // Pre-solve checks.
  void AnalyzeInt();
  void AnalyzeUser();

  // Driver steps, public for the tests and the benchmark.
  bool initial();
  bool route_demands();
  bool BuildPars3();
  int16_t node_sum();
  int16_t elem_sum();
  void forcedFlowPass();

  // Iterative solution of an open or closed system.
  void Solve1();
  // Pressures, HGLs and NPSH along the lines after Solve1.
  void flo_prs1();
  // Largest head error at the nodes, percent of the largest head loss (0 when not computed).
  float headcheck();

  // ---- the window's part ----
  // Adds a line of the consistency checks: to the list while the window is visible; when hidden,
  // dropped, or shown in an error box with the debug-memory flag on and the debug-heap flag off.
  void AddStatLine(const std::string& text, int n);
  // The button (and Esc). "&Close": hides the window (visible := false) and clears the red label.
  // "&Halt": asks whether to halt; on Yes sets SolveErrors and adds the halt lines.
  void MemoButtonClick(Prompter& prompter);
  // A click on line i of the list, by the click rules; the window carries out the outcome.
  ClickOutcome ListBoxStatMouseUp(size_t i, Prompter& prompter);

  // (1 - non-improving / iterations) x 100; 0 before the first iteration.
  double convergencePercent() const;

  // ---- flags kept on the project ----
  bool& SolveErrors() { return p_.proj.DriverFlag1; }
  bool& SolvingMain() { return p_.proj.DriverFlag2; }

  // ---- state of the solution window ----
  MessageList list;
  bool visible = false;                   // the window is shown
  std::string buttonCaption = "&Close";
  std::array<std::vector<int16_t>, kLines> Routes;  // each ends with -1
  std::vector<std::string> supplyList;    // IDs of the distinct supplies on the routes
  bool HasPRV = false, HasPSV = false, HasFCV = false;
  bool FcvIterating = false, PrvIterating = false;
  int iterations = 0;                     // completed iterations of Solve1
  int nonImproving = 0;
  float undefinedDeficit = kBlank;        // design flow minus flow of the last undefined pump met
  double smallestFlowChange = 1000.0;     // display flow units
  double lastRelAdjust = 0.0;             // "Percent last flow adj"
  double RunningHGL = 0.0;                // ft
  float StaticHeadDiff = kBlank;          // ft
  int DistinctSupplies = 0;
  bool HasLastSolution = false;
  int undefinedPumps = 0;                 // counted by the pre-solve checks
  int linesInUse = 0;
  SeriesPumpData series;
  OffCurveWatch offCurve;
  std::vector<std::shared_ptr<SolveCommand>> commands;  // every command created, kept for the window

 private:
  // pre-solve checks
  void checkOpenEnds();
  void checkBranches(bool closedLoop);
  void checkDriver(bool closedLoop);
  void checkReferenceGauge();
  void checkForcedFlow();
  void buildNeighbours();
  void checkElements();
  bool walkElevationsAndDirections();  // true: two or more defined pumps, none undefined, in the main line
  // routing
  void buildRoute0();
  bool buildBranchRoute(int k, int parent, int at);
  bool searchDemandPath(int start, int n);
  void applyDemandPath(float x);
  float signedFlow(int e) const;
  // iteration
  void startSolve1();
  bool routePass(int r);
  void endOfIteration();
  void summaryOfSolve1();
  int weightOf(int r, size_t i) const;
  bool passedForward(int r, size_t i) const;
  void fcvRule(Valfit& v, float Q, int iterNo);
  void prvRule(Valfit& v, int e, float Q, int iterNo);
  bool psvRule(Valfit& v, int e, float Q, int iterNo);
  void reportLossIssues();
  // pressure walk
  enum class Step { Walked, Blocked, EndBackward };
  Step forwardStep(int e, int pos, bool closedPass1);
  Step backwardStep(int e, int pos, bool closedPass1);
  void evaluateNpsh(int e, bool forcedFlow);
  bool lastOfLine(int pos) const;
  double supplyLineGrade(const Node& nd, int pos) const;
  int lineAt(int pos) const;
  // driver
  std::shared_ptr<SolveCommand> newCommand(const std::string& hint);
  void endRun();
  void postSolutionChecks();
  void collectSupplies();
  void addBlank() { list.add(" "); }

  Project& p_;
  SolveHost& host_;

  // Working tables, sized once, so that the inner loops allocate nothing.
  std::array<uint8_t, kMaxElem + 1> visited_{};
  std::array<int16_t, kMaxSeq + 2> path_{};
  int pathLen_ = 0;
  std::array<int16_t, kMaxElem + 1> undefinedTreatments_{};
  std::array<unsigned, kMaxElem + 1> lossIssues_{};
  std::array<PipeFactorMemo, kMaxElem + 1> pipeFactors_{};  // resistance factors, checked on use
  std::array<float, kMaxElem + 1> nodeFlow_{};
  std::array<int16_t, kMaxElem + 1> nodeCount_{};
  LoopSums sums_;
  double routeHeadSum_ = 0.0;
  double fwdLimit_ = 1000.0, bwdLimit_ = -1000.0;
  int undefinedMarker_ = 0;
  double curTotal_ = 0.0, prevTotal_ = 0.0;
  double lastDq_ = 0.0;           // ΔQ of the last route, for the picture
  double pictureRef_ = 0.0;
  bool zeroLimit_ = false;        // a limit of exactly 0 cut this iteration's correction
  float lastCorrectedFlow_ = 0.0f;
  bool fcvSettled_ = false, prvSettled_ = false;
  bool passFailed_ = false;
  bool converged_ = false;        // the last iteration's corrections were below the tolerance
  float carriedB_ = 0.0f;         // flo_prs1's carried HGL while walking backward
};

}  // namespace vt
