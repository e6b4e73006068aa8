// The message list: levels and colours read from the words, the click rules, and the window's
// button with its Halt path.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "solver/builder_support.h"
#include "solver/solution.h"
#include "units/number_format.h"

namespace vt {
namespace {

TEST(MessageLevel, FirstMatchingWordDecides) {
  struct Case {
    const char* text;
    MessageLevel level;
    Rgb colour;
  };
  const Rgb red{255, 0, 0}, blue{0, 0, 255}, green{0, 128, 0}, black{0, 0, 0};
  const Case cases[] = {
      {"- Error, No elements in main line!", MessageLevel::ErrorOrWarning, red},
      {" Warning! No flows - Check pump heads", MessageLevel::ErrorOrWarning, red},
      {"  Max head error = 0.1 ft,  1.00% of max headloss. - Good!", MessageLevel::Good, green},  // "error" is not "Error"
      {" Suggestion - Try a lower flow tolerance.", MessageLevel::Suggestion, red},
      {"  Total iterations = 3 - Poor! Reduce flow tolerance", MessageLevel::Suggestion, red},
      {"  Info line", MessageLevel::Information, blue},
      {"  Percent convergence = 100.00% - Good!", MessageLevel::Good, green},
      {"  System is solved!", MessageLevel::Plain, black},
      {"error in lower case", MessageLevel::Plain, black},
      {" ", MessageLevel::Plain, black},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    MessageLine line{c.text, 0, nullptr};
    EXPECT_EQ(line.level(), c.level);
    EXPECT_EQ(line.colour(), c.colour);
  }
}

struct Clicks {
  Project p;
  ScriptedPrompter prompter;
  int pipe = 0;
  Clicks() {
    test::SystemBuilder b(p);
    b.supply(0, "S1", 10);
    pipe = b.pipe(0, "P1", 10, 2, 120);
  }
};

TEST(ClickLine, SuggestionRunsItsCommandAfterItsHint) {
  Clicks c;
  auto cmd = std::make_shared<SolveCommand>(SolveCommand{"Edit flow tolerance?"});
  MessageLine line{" Suggestion - Change flow tolerance (click here)", 0, cmd};
  c.prompter.answers = {Answer::No, Answer::Yes};
  EXPECT_EQ(clickLine(line, c.p, c.prompter).action, ClickOutcome::Action::Nothing);
  ClickOutcome out = clickLine(line, c.p, c.prompter);
  EXPECT_EQ(out.action, ClickOutcome::Action::RunCommand);
  EXPECT_EQ(out.command, cmd.get());
  ASSERT_EQ(c.prompter.shown.size(), 2u);
  EXPECT_EQ(c.prompter.shown[0].text, "Edit flow tolerance?");
  EXPECT_EQ(c.prompter.shown[0].kind, MsgKind::Information);
  EXPECT_EQ(c.prompter.shown[0].buttons, Buttons::YesNo);
}

TEST(ClickLine, SuggestionWithoutCommandDoesNothingAndExpertModeAsksNothing) {
  Clicks c;
  MessageLine bare{" Suggestion - Try a lower flow tolerance.", 0, nullptr};
  EXPECT_EQ(clickLine(bare, c.p, c.prompter).action, ClickOutcome::Action::Nothing);
  c.p.proj.Expert = true;
  MessageLine line{"  Suggestion - define reference gauge - (click here)", 0,
                   std::make_shared<SolveCommand>(SolveCommand{"Edit reference gauge?"})};
  EXPECT_EQ(clickLine(line, c.p, c.prompter).action, ClickOutcome::Action::RunCommand);
  EXPECT_TRUE(c.prompter.shown.empty());
}

TEST(ClickLine, ElementLineAsksThenLeadsToTheElement) {
  Clicks c;
  MessageLine line{"- Warning, pipe P1, Friction value is out of range!(click here)", c.pipe, nullptr};
  c.prompter.answers = {Answer::Yes};
  ClickOutcome out = clickLine(line, c.p, c.prompter);
  EXPECT_EQ(out.action, ClickOutcome::Action::GoToElement);
  EXPECT_EQ(out.element, c.pipe);
  ASSERT_EQ(c.prompter.shown.size(), 1u);
  EXPECT_EQ(c.prompter.shown[0].text, "Go to element P1?");
  EXPECT_EQ(c.prompter.shown[0].kind, MsgKind::Confirmation);

  c.p.CurLine = 0;
  c.p.RemoveFromLine(c.pipe);
  out = clickLine(line, c.p, c.prompter);
  EXPECT_EQ(out.action, ClickOutcome::Action::Nothing);
  EXPECT_EQ(c.prompter.shown.back().text, "Sorry, element has been removed.");
  EXPECT_EQ(c.prompter.shown.back().kind, MsgKind::Error);

  MessageLine plain{"  System is solved!", 0, nullptr};
  EXPECT_EQ(clickLine(plain, c.p, c.prompter).action, ClickOutcome::Action::Nothing);
}

// A host whose user presses Halt at a chosen call of processPendingInput.
class HaltingHost : public PlainSolveHost {
 public:
  std::function<void()> onPoll;
  int polls = 0;
  void processPendingInput() override {
    ++polls;
    if (onPoll) onPoll();
  }
};

struct Halting {
  Project p;
  HaltingHost host;
  Solution s{p, host};
  ScriptedPrompter prompter;
  test::SystemBuilder b{p};
  Halting() {
    b.supply(0, "S1", 100);
    b.pipe(0, "P1", 1000, 4, 120);
    b.supply(0, "S2", 50);
  }
  std::vector<std::string> texts() const { return s.list.texts(); }
};

TEST(HaltPath, HaltBeforeTheFirstIterationEndsGivesOnlyTheSuggestion) {
  Halting h;
  h.prompter.answers = {Answer::Yes};
  h.host.onPoll = [&] {
    if (h.host.polls == 1) h.s.MemoButtonClick(h.prompter);
  };
  h.s.RunSolution();
  ASSERT_EQ(h.prompter.shown.size(), 1u);
  EXPECT_EQ(h.prompter.shown[0].text, "Flow tolerance not yet reached! Do you want to halt the solution process?");
  auto t = h.texts();
  auto at = std::find(t.begin(), t.end(), " ...user halted solution process. System not solved!");
  ASSERT_NE(at, t.end());
  std::vector<std::string> run(at - 1, at + 3);
  EXPECT_THAT(run, ::testing::ElementsAre("  ", " ...user halted solution process. System not solved!", "  ",
                                          " Suggestion - Change flow tolerance (click here)"));
  EXPECT_EQ(h.s.list[static_cast<size_t>(at + 2 - t.begin())].command->hint, "Edit flow tolerance?");
  EXPECT_EQ(t.back(), " ...solution process stopped.");
  EXPECT_NE(std::find(t.begin(), t.end(), "  Was still solving main system..."), t.end());
  EXPECT_FALSE(h.p.proj.Solved);
  EXPECT_EQ(h.s.buttonCaption, "&Close");
}

TEST(HaltPath, LaterHaltOffersTheSmallestFlowChangeAsTolerance) {
  Halting h;
  h.prompter.answers = {Answer::Yes};
  h.host.onPoll = [&] {
    if (h.s.iterations == 4) h.s.MemoButtonClick(h.prompter);
  };
  h.s.RunSolution();
  auto t = h.texts();
  auto at = std::find(t.begin(), t.end(), " Suggestion - Change flow tolerance (click here)");
  ASSERT_NE(at, t.end());
  const double v = h.s.smallestFlowChange;
  if (v > 0.0001 && v < 1)
    EXPECT_EQ(*(at - 1), "A flow tolerance of " + format("%-.4f", {v}) + " gpm may solve this system...");
  else
    EXPECT_EQ(*(at - 1), "  ");
  EXPECT_FALSE(h.p.proj.Solved);
}

TEST(HaltPath, AnsweringNoLetsTheSolutionFinish) {
  Halting h;
  h.prompter.answers = {Answer::No};
  h.host.onPoll = [&] {
    if (h.host.polls == 1) h.s.MemoButtonClick(h.prompter);
  };
  h.s.RunSolution();
  EXPECT_TRUE(h.p.proj.Solved);
  EXPECT_EQ(h.texts().back(), "  System is solved!");
}

TEST(HaltPath, InputIsPolledOncePerRoutePerIterationAndOncePerWalkPosition) {
  Halting h;
  h.s.RunSolution();
  ASSERT_TRUE(h.p.proj.Solved);
  EXPECT_EQ(h.host.polls, h.s.iterations * 1 + h.p.SeqLen);
}

TEST(HaltPath, CloseButtonHidesTheWindowAndClearsTheRedLabel) {
  Halting h;
  h.s.RunSolution();
  ASSERT_EQ(h.s.buttonCaption, "&Close");
  h.s.offCurve.label = "Warning! Pump ID: \"X\" flow = 1 gpm (off of curve)!";
  h.s.MemoButtonClick(h.prompter);
  EXPECT_FALSE(h.s.visible);
  EXPECT_TRUE(h.s.offCurve.label.empty());
  EXPECT_TRUE(h.prompter.shown.empty());
}

TEST(HaltPath, WalkStopsAtItsNextPositionAndKeepsUnwalkedGradesUnset) {
  Halting h;
  int during = 0;
  h.prompter.answers = {Answer::Yes};
  h.host.onPoll = [&] {
    // The walk polls once per position; halt on its second position.
    if (!h.p.proj.Solved && h.s.iterations > 0 && !h.s.SolvingMain() && ++during == 2) h.s.MemoButtonClick(h.prompter);
  };
  h.s.RunSolution();
  EXPECT_FALSE(h.p.proj.Solved);
  EXPECT_FLOAT_EQ(h.p.ElemHGL[h.p.ElemSeq[3]], kNoGrade);
  EXPECT_EQ(h.texts().back(), " ...solution process stopped.");
}

TEST(StatLines, HiddenWindowDropsLinesOrShowsThemInDebugMode) {
  Project p;
  PlainSolveHost host;
  Solution s(p, host);
  s.visible = false;
  s.AddStatLine("- Error, pipe count.", 0);
  EXPECT_TRUE(s.list.empty());
  EXPECT_TRUE(host.errorBoxes.empty());
  p.proj.DebugMemory = true;
  s.AddStatLine("- Error, pipe count.", 0);
  EXPECT_EQ(host.errorBoxes, std::vector<std::string>{"- Error, pipe count."});
  s.visible = true;
  s.AddStatLine("- Error, fvh count.", 3);
  ASSERT_EQ(s.list.size(), 1u);
  EXPECT_EQ(s.list[0].element, 3);
}

TEST(Commands, EmptyProjectIsNotSolvedOrAnalyzed) {
  Project p;
  PlainSolveHost host;
  Solution s(p, host);
  ScriptedPrompter prompter;
  EXPECT_FALSE(s.solveCommand(prompter));
  EXPECT_FALSE(s.analyzeCommand(prompter));
  ASSERT_EQ(prompter.shown.size(), 2u);
  EXPECT_EQ(prompter.shown[0].text, "No system to solve!");
  EXPECT_EQ(prompter.shown[1].text, "No elements to analyze!");
  EXPECT_EQ(prompter.shown[0].kind, MsgKind::Warning);
}

TEST(Commands, AnalyzeNeverTouchesFlowsOrTheSolvedFlag) {
  Halting h;
  h.s.RunSolution();
  ASSERT_TRUE(h.p.proj.Solved);
  const float flow = h.p.pipe[h.p.ElemSeq[2]]->Flow;
  h.s.analyzeCommand(h.prompter);
  EXPECT_TRUE(h.p.proj.Solved);
  EXPECT_FLOAT_EQ(h.p.pipe[h.p.ElemSeq[2]]->Flow, flow);
  EXPECT_EQ(h.texts().front(), " Analyze start...");
  EXPECT_EQ(h.texts().back(), " Analyze complete...");
  EXPECT_FALSE(h.p.proj.Analyzing);
}

}  // namespace
}  // namespace vt
