#include "workspace/editing.h"

#include <gtest/gtest.h>

#include "files/element_clipboard.h"
#include "model/project.h"
#include "workspace/workspace_support.h"

namespace vt {
namespace {

using namespace vt::test;

// A project with a scripted prompter and an "editor" that accepts new elements with given IDs.
class EditingTest : public ::testing::Test {
 protected:
  Project pr;
  ScriptedPrompter prompter;
  Workspace ws;
  Editing ed{pr, ws};
  std::vector<std::string> editorIds;  // IDs the editor gives new elements, in order; empty = cancel
  int editorPicks = 0;                 // a node number the editor picks instead of a new one
  std::vector<int> edited;             // (n) every element the editor was opened for
  std::vector<int> clipboard;

  void SetUp() override {
    pr.setPrompter(&prompter);
    ed.hooks.openEditor = [this](int n, int type, bool isNew, int& place) {
      edited.push_back(n);
      if (!isNew) return true;
      if (editorPicks) {
        place = editorPicks;
        return true;
      }
      if (editorIds.empty() || editorIds.front().empty()) {
        if (!editorIds.empty()) editorIds.erase(editorIds.begin());
        return false;
      }
      pr.createElement(n, type);
      pr.setElemID(n, editorIds.front());
      pr.IDList.add(editorIds.front(), n);
      editorIds.erase(editorIds.begin());
      return true;
    };
    ed.hooks.addToClipboard = [this](int n) {
      clipboard.push_back(n);
      return true;
    };
  }
  void layout() { ws.layout(pr, 1000, 600, 0); }
  // Five fittings A..E in the main line.
  void fiveFittings() {
    for (const char* id : {"A", "B", "C", "D", "E"}) addFitting(pr, id);
  }
  int id(const std::string& s) const { return pr.IDList.find(s); }
};

TEST_F(EditingTest, NewElementOnTheBackgroundOfAnEmptyLine) {
  editorIds = {"S1"};
  ASSERT_TRUE(ed.dropNewOnBackground(kSupply));
  EXPECT_EQ(lineIds(pr, 0), "S1");
  EXPECT_EQ(pr.ElemType[id("S1")], kSupply);
  EXPECT_EQ(pr.tot_elems, 1);
  EXPECT_EQ(pr.tot_supplies, 1);
  EXPECT_TRUE(pr.proj.Modified);
  // The line is no longer empty: a drop on the background does nothing, and asks nothing.
  editorIds = {"P1"};
  EXPECT_FALSE(ed.dropNewOnBackground(kPipe));
  EXPECT_EQ(lineIds(pr, 0), "S1");
  EXPECT_EQ(edited.size(), 1u);
}

TEST_F(EditingTest, NewElementsGoBeforeOrAfterTheTarget) {
  addFitting(pr, "A");
  addFitting(pr, "B");
  editorIds = {"X", "Y"};
  ASSERT_TRUE(ed.dropNewOnElement(id("B"), -1, kPipe));
  ASSERT_TRUE(ed.dropNewOnElement(id("B"), 1, kValve));
  EXPECT_EQ(lineIds(pr, 0), "A X B Y");
  EXPECT_EQ(pr.elemspot[id("Y")], 4);
  EXPECT_EQ(pr.tot_pipes, 1);
  EXPECT_EQ(pr.tot_valfits, 3);
  EXPECT_EQ(pr.MainEnd, 5);
}

TEST_F(EditingTest, CancelledEditorLeavesEverythingAsItWas) {
  addFitting(pr, "A");
  pr.SetModified(false);
  editorIds = {""};
  EXPECT_FALSE(ed.dropNewOnElement(id("A"), 1, kPump));
  EXPECT_EQ(lineIds(pr, 0), "A");
  EXPECT_EQ(pr.tot_elems, 1);
  EXPECT_EQ(pr.tot_pumps, 0);
  EXPECT_EQ(pr.ElemType[2], 0);
  EXPECT_FALSE(pr.proj.Modified);
  EXPECT_EQ(ed.DragType, 0);
}

TEST_F(EditingTest, GaugeOnAnEmptyBranchMayBeAMainLineGauge) {
  addSupply(pr, 0, 100, 100, "S1");
  int g = addGauge(pr, 0, "G1");
  addSupply(pr, 3, 0, 0, "S2");
  pr.CurLine = 3;
  pr.RefreshSpots();
  editorPicks = g;
  ASSERT_TRUE(ed.dropNewOnBackground(kGauge));
  EXPECT_EQ(lineElems(pr, 3), std::vector<int>{g});
  EXPECT_EQ(pr.tot_elems, 3);  // shared: counted once
  EXPECT_EQ(pr.tot_nodes, 3);
  EXPECT_EQ(fromWide(pr.node[g]->LineMembership, 10), "0");
}

TEST_F(EditingTest, SupplyRules) {
  struct Case {
    int line, sysType, supplies;
    bool dragAllowed;
    std::string dragMessage, insertMessage;
  } cases[] = {
      {0, 1, 1, true, "", ""},
      {0, 1, 2, false, "Only 2 Supply elements are allowed at the start and end of Main line!",
       "Only 2 Supply elements are allowed! One at the start and one at the end of Main line!"},
      {0, 2, 1, false, "Only 1 optional Supply element allowed as the first element in a forced flow line!", ""},
      {4, 1, 1, false,
       "Only 1 Supply element allowed as the last element in a Branch! Delete or move the existing Supply to the "
       "end of the Branch...",
       "Only 1 Supply element allowed as the last element in a Branch! Delete or move the existing Supply to the "
       "end of the line..."},
  };
  for (const auto& c : cases) {
    Project p;
    ScriptedPrompter sp;
    p.setPrompter(&sp);
    Workspace w;
    Editing e(p, w);
    p.sys.SysType = static_cast<int16_t>(c.sysType);
    p.CurLine = c.line;
    for (int i = 0; i < c.supplies; ++i) addSupply(p, 3, 0, 0, "S" + std::to_string(i));
    EXPECT_EQ(e.canStartSupplyDrag(), c.dragAllowed) << c.line << "/" << c.supplies;
    if (!c.dragMessage.empty()) {
      ASSERT_EQ(sp.shown.size(), 1u);
      EXPECT_EQ(sp.shown[0].text, c.dragMessage);
      EXPECT_EQ(sp.shown[0].kind, MsgKind::Error);
    }
    sp.shown.clear();
    bool allowed = e.checkLimits(kSupply);
    EXPECT_EQ(allowed, c.insertMessage.empty());
    if (!c.insertMessage.empty()) {
      ASSERT_EQ(sp.shown.size(), 1u);
      EXPECT_EQ(sp.shown[0].text, c.insertMessage);
    }
  }
}

TEST_F(EditingTest, TwentyFirstPumpIsRefused) {
  for (int i = 0; i < 20; ++i) addPump(pr, 0, "PU" + std::to_string(i));
  editorIds = {"PU20"};
  EXPECT_FALSE(ed.dropNewOnElement(1, 1, kPump));
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0].kind, MsgKind::Warning);
  EXPECT_NE(prompter.shown[0].text.find("20"), std::string::npos);
  EXPECT_TRUE(edited.empty());
  EXPECT_EQ(pr.tot_pumps, 20);
  // Other kinds are still welcome.
  editorIds = {"F1"};
  EXPECT_TRUE(ed.dropNewOnElement(1, 1, kFitting));
}

TEST_F(EditingTest, PasteAsksForANewIdWhileTheCopiedOneExists) {
  int a = addPump(pr, 33, "PU1", -1);
  addFitting(pr, "F1");
  ASSERT_TRUE(ed.CopyElem(a));
  prompter.inputs = {std::string("PU1"), std::string("  pu2  ")};
  ed.cur_elem = id("F1");
  ASSERT_TRUE(ed.PasteBefore(id("F1")));
  EXPECT_EQ(lineIds(pr, 0), "PU1 pu2 F1");
  int n = id("PU2");
  EXPECT_FLOAT_EQ(pr.pump[n]->Elev, 33);
  EXPECT_EQ(pr.pump[n]->Dir, -1);
  EXPECT_EQ(prompter.prompts, (std::vector<std::string>{"ID \"PU1\" cannot be used again...",
                                                        "ID \"PU1\" cannot be used again..."}));
  // An empty answer cancels the paste.
  prompter.inputs.push_back(std::string(""));
  EXPECT_FALSE(ed.PasteBefore(id("F1")));
  EXPECT_EQ(lineIds(pr, 0), "PU1 pu2 F1");
  EXPECT_TRUE(edited.empty());
}

TEST_F(EditingTest, PasteAfterTheOriginalWasDeletedKeepsItsNumberAndId) {
  addFitting(pr, "A");
  int b = addValve(pr, -3, 12, "PRV");
  ASSERT_TRUE(ed.CopyElem(b));
  pr.proj.Expert = true;
  ASSERT_TRUE(ed.DeleteElem(b));
  ASSERT_TRUE(ed.PasteBefore(id("A")));
  EXPECT_EQ(lineIds(pr, 0), "PRV A");
  EXPECT_EQ(id("PRV"), b);
  EXPECT_EQ(pr.valfit[b]->Code, -3);
}

TEST_F(EditingTest, DeleteAsksUnlessExpert) {
  fiveFittings();
  prompter.answers = {Answer::No, Answer::Yes};
  EXPECT_FALSE(ed.DeleteElem(id("B")));
  EXPECT_TRUE(ed.DeleteElem(id("B")));
  EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"Delete element \"B\" ?", "Delete element \"B\" ?"}));
  EXPECT_EQ(prompter.shown[0].kind, MsgKind::Confirmation);
  EXPECT_EQ(lineIds(pr, 0), "A C D E");
  pr.proj.Expert = true;
  EXPECT_TRUE(ed.DeleteElem(id("C")));
  EXPECT_EQ(prompter.shown.size(), 2u);
  EXPECT_EQ(lineIds(pr, 0), "A D E");
  // The menu form takes the pressed element; with none it reports.
  EXPECT_FALSE(ed.DeleteElem(-1));
  EXPECT_EQ(prompter.shown.back().text, "cur_elem = 0!");
}

TEST_F(EditingTest, TagsToggleWithoutModifyingAndClearAllAsks) {
  fiveFittings();
  pr.SetModified(false);
  ASSERT_TRUE(ed.Tag(id("B")));
  EXPECT_TRUE(pr.isBitOn(id("B"), 1));
  ASSERT_TRUE(ed.Tag(id("B")));
  EXPECT_FALSE(pr.isBitOn(id("B"), 1));
  ed.Tag(id("C"));
  EXPECT_FALSE(pr.proj.Modified);
  prompter.answers = {Answer::No};
  EXPECT_FALSE(ed.ClearAllTags());
  EXPECT_TRUE(pr.isBitOn(id("C"), 1));
  EXPECT_TRUE(ed.ClearAllTags());
  EXPECT_FALSE(pr.isBitOn(id("C"), 1));
  EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"Clear all tags?", "Clear all tags?"}));
}

// Dragging one element: A B C D E, element S dropped on T at side s.
TEST_F(EditingTest, MovingOneElement) {
  struct Case {
    std::string s, t;
    int side;
    std::string expect;
    bool moved;
  } cases[] = {
      {"D", "A", 1, "A D B C E", true},  {"D", "A", -1, "D A B C E", true}, {"A", "D", 1, "B C D A E", true},
      {"A", "D", -1, "B C A D E", true}, {"E", "A", -1, "E A B C D", true}, {"A", "E", 1, "B C D E A", true},
      {"C", "B", 1, "A B C D E", false},  // its own place
      {"C", "D", -1, "A B C D E", false},
  };
  for (const auto& c : cases) {
    Project p;
    Workspace w;
    Editing e(p, w);
    for (const char* n : {"A", "B", "C", "D", "E"}) addFitting(p, n);
    p.SetModified(false);
    auto r = e.dropElementOn(p.IDList.find(c.s), p.IDList.find(c.t), c.side);
    EXPECT_EQ(lineIds(p, 0), c.expect) << c.s << " on " << c.t << " " << c.side;
    EXPECT_EQ(r == Editing::DropResult::Moved, c.moved);
    EXPECT_EQ(p.proj.Modified, c.moved);
    for (int n : lineElems(p, 0)) EXPECT_EQ(p.ElemSeq[p.elemspot[n]], n);
  }
}

TEST_F(EditingTest, DroppingAnElementOnItselfOpensItsEditor) {
  fiveFittings();
  EXPECT_EQ(ed.dropElementOn(id("B"), id("B"), 1), Editing::DropResult::OpenEditor);
  EXPECT_EQ(lineIds(pr, 0), "A B C D E");
}

// A captured run B..C (or with a gap) of A B C D E F G.
TEST_F(EditingTest, MovingACapturedRun) {
  struct Case {
    std::vector<std::string> run;
    std::string t;
    int side;
    std::string expect;
  } cases[] = {
      {{"B", "C"}, "F", 1, "A D E F B C G"}, {{"B", "C"}, "F", -1, "A D E B C F G"},
      {{"E", "F"}, "A", -1, "E F A B C D G"}, {{"E", "F"}, "B", 1, "A B E F C D G"},
      {{"B", "C", "D"}, "C", 1, "A B C D E F G"},  // inside itself: nothing moves
      {{"B", "D"}, "F", 1, "A E F B C D G"},       // the element between travels with the run
  };
  for (const auto& c : cases) {
    Project p;
    Workspace w;
    Editing e(p, w);
    for (const char* n : {"A", "B", "C", "D", "E", "F", "G"}) addFitting(p, n);
    w.layout(p, 1000, 600, 0);
    // Capture rectangle spanning the run's first and last element.
    const ElementGeom* first = w.find(p.IDList.find(c.run.front()));
    const ElementGeom* last = w.find(p.IDList.find(c.run.back()));
    ASSERT_TRUE(e.finishCapture({first->rect.left + 1, first->rect.top + 1, last->rect.right() - first->rect.left - 2, 4}));
    e.dropElementOn(p.IDList.find(c.run.front()), p.IDList.find(c.t), c.side);
    EXPECT_EQ(lineIds(p, 0), c.expect) << c.run.front() << ".." << c.run.back() << " on " << c.t;
    EXPECT_TRUE(e.CaptureList.empty());
    EXPECT_FALSE(e.CaptureShown);
    for (int n : lineElems(p, 0)) EXPECT_EQ(p.ElemSeq[p.elemspot[n]], n);
  }
}

TEST_F(EditingTest, CaptureTakesTheWholeRunBetweenItsEnds) {
  addGauge(pr, 0, "A");
  addGauge(pr, 0, "B");
  addGauge(pr, 1000, "HIGH");  // far above the others
  addGauge(pr, 0, "D");
  addGauge(pr, 0, "E");
  layout();
  const ElementGeom* b = ws.find(id("B"));
  const ElementGeom* d = ws.find(id("D"));
  const ElementGeom* high = ws.find(id("HIGH"));
  IRect low{b->rect.left + 1, b->rect.top + 2, d->rect.right() - b->rect.left - 2, 4};
  ASSERT_FALSE(high->rect.overlaps(low));
  ASSERT_TRUE(ed.finishCapture(low));
  EXPECT_EQ(ed.CaptureList, (std::vector<int>{id("B"), id("HIGH"), id("D")}));
  EXPECT_EQ(ed.cur_elem, id("D"));
  // A rectangle dragged up or to the left captures nothing.
  EXPECT_FALSE(ed.finishCapture({d->rect.right(), d->rect.bottom(), -200, -10}));
  EXPECT_TRUE(ed.CaptureList.empty());
}

TEST_F(EditingTest, ReverseFlipsDirectionsAndKeepsData) {
  addFitting(pr, "A");
  int pu = addPump(pr, 10, "PU", 1);
  int cv = addValve(pr, 50, 0, "CV", 1);
  int gate = addValve(pr, 1, 0, "GV", 1);
  int fx = addFvh(pr, "FX", -1);
  int fit = addFitting(pr, "F");
  pr.valfit[fit]->Coef = 0.75f;
  layout();
  const ElementGeom* g1 = ws.find(pu);
  const ElementGeom* g2 = ws.find(fit);
  ASSERT_TRUE(ed.finishCapture({g1->rect.left + 1, g1->rect.top + 1, g2->rect.right() - g1->rect.left - 2, 4}));
  prompter.answers = {Answer::No};
  EXPECT_FALSE(ed.reverseCaptured());
  EXPECT_EQ(lineIds(pr, 0), "A PU CV GV FX F");
  ASSERT_TRUE(ed.reverseCaptured());
  EXPECT_EQ(lineIds(pr, 0), "A F FX GV CV PU");
  EXPECT_EQ(prompter.texts().back(), "Reverse the sequence of the selected elements?");
  EXPECT_EQ(pr.pump[pu]->Dir, -1);
  EXPECT_EQ(pr.valfit[cv]->Dir, -1);
  EXPECT_EQ(pr.valfit[gate]->Dir, 1);  // no allowed direction to flip
  EXPECT_EQ(pr.fvh[fx]->Dir, 1);
  EXPECT_FLOAT_EQ(pr.valfit[fit]->Coef, 0.75f);
  EXPECT_EQ(pr.elemspot[pu], 6);
  EXPECT_TRUE(pr.proj.Modified);
  EXPECT_FALSE(ed.CaptureShown);
}

TEST_F(EditingTest, CaptureDeleteAndTags) {
  fiveFittings();
  layout();
  auto capture = [&](const char* a, const char* b) {
    const ElementGeom* ga = ws.find(id(a));
    const ElementGeom* gb = ws.find(id(b));
    return ed.finishCapture({ga->rect.left + 1, ga->rect.top + 1, gb->rect.right() - ga->rect.left - 2, 4});
  };
  ASSERT_TRUE(capture("B", "C"));
  ed.tagCaptured(true);
  EXPECT_TRUE(pr.isBitOn(id("B"), 1));
  EXPECT_TRUE(pr.isBitOn(id("C"), 1));
  EXPECT_FALSE(ed.CaptureShown);
  ASSERT_TRUE(capture("C", "D"));
  prompter.answers = {Answer::No};
  EXPECT_FALSE(ed.deleteCaptured());
  EXPECT_TRUE(ed.CaptureList.empty());
  ASSERT_TRUE(capture("C", "D"));
  EXPECT_TRUE(ed.deleteCaptured());
  EXPECT_EQ(lineIds(pr, 0), "A B E");
  EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"Delete these elements?", "Delete these elements?"}));
  pr.proj.Expert = true;
  layout();
  ASSERT_TRUE(capture("A", "B"));
  EXPECT_TRUE(ed.deleteCaptured());
  EXPECT_EQ(lineIds(pr, 0), "E");
  EXPECT_EQ(prompter.shown.size(), 2u);
}

TEST_F(EditingTest, ClipboardMovesOnlyWhatTheClipboardTook) {
  fiveFittings();
  prompter.answers = {Answer::Yes};
  ASSERT_TRUE(ed.MoveToClipboard(id("B")));
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Remove element(s) and put on clipboard?"});
  EXPECT_EQ(lineIds(pr, 0), "A C D E");
  EXPECT_EQ(clipboard.size(), 1u);
  ed.hooks.addToClipboard = [](int) { return false; };
  pr.proj.Expert = true;
  EXPECT_FALSE(ed.MoveToClipboard(id("C")));
  EXPECT_EQ(lineIds(pr, 0), "A C D E");
  ed.hooks.addToClipboard = nullptr;
  EXPECT_FALSE(ed.CopyToClipboard(id("C")));
}

// Clipboard entries: copies of A (a pump) and B (a fitting) while A and B are still placed.
class ClipDropTest : public EditingTest {
 protected:
  ElementClipboard clip;
  void SetUp() override {
    EditingTest::SetUp();
    int a = addPump(pr, 5, "A", -1);
    int b = addFitting(pr, "B");
    addFitting(pr, "T");
    ASSERT_TRUE(clip.AddToClipboard(pr, a));
    ASSERT_TRUE(clip.AddToClipboard(pr, b));
  }
};

TEST_F(ClipDropTest, APrefixMakesTheIdsUniqueAndOrderFollowsTheSide) {
  prompter.inputReplies = {{InputOutcome::Ok, "x-"}};
  ASSERT_TRUE(ed.dropClipEntries(clip, {0, 1}, id("T"), 1, false));
  EXPECT_EQ(lineIds(pr, 0), "A B T x-A x-B");
  EXPECT_EQ(prompter.prompts, std::vector<std::string>{"To avoid duplicates..."});
  EXPECT_EQ(pr.pump[id("x-A")]->Dir, -1);
  EXPECT_TRUE(clip.empty());  // moved, not copied
  EXPECT_TRUE(pr.proj.Modified);
}

TEST_F(ClipDropTest, BeforeAnElementEntriesLandInReverseOrderAndCopiesStay) {
  prompter.inputReplies = {{InputOutcome::Ok, "y"}};
  ASSERT_TRUE(ed.dropClipEntries(clip, {0, 1}, id("T"), -1, true));
  EXPECT_EQ(lineIds(pr, 0), "A B yB yA T");
  EXPECT_EQ(clip.count(), 2u);
}

TEST_F(ClipDropTest, CancellingThePrefixInsertsNothing) {
  prompter.inputReplies = {{InputOutcome::Cancel, ""}};
  EXPECT_FALSE(ed.dropClipEntries(clip, {0, 1}, id("T"), 1, false));
  EXPECT_EQ(lineIds(pr, 0), "A B T");
  EXPECT_EQ(clip.count(), 2u);
}

TEST_F(ClipDropTest, HandlingIndividuallyAsksForEachDuplicate) {
  prompter.inputReplies = {{InputOutcome::HandleIndividually, ""}};
  prompter.inputs = {std::string("A2"), std::string("")};
  EXPECT_TRUE(ed.dropClipEntries(clip, {0, 1}, id("T"), 1, false));
  // The second answer was empty: B's copy stays on the clipboard, A2 is placed.
  EXPECT_EQ(lineIds(pr, 0), "A B T A2");
  ASSERT_EQ(clip.count(), 1u);
  EXPECT_EQ(clip.entries[0].caption, "B");
  EXPECT_EQ(prompter.prompts, (std::vector<std::string>{"To avoid duplicates...", "ID \"A\" cannot be used again...",
                                                        "ID \"B\" cannot be used again..."}));
}

TEST_F(ClipDropTest, APrefixThatStillCollidesWarnsAndGoesOnOneByOne) {
  addFitting(pr, "zA");
  prompter.inputReplies = {{InputOutcome::Ok, "z"}};
  prompter.inputs = {std::string("zA2")};
  EXPECT_TRUE(ed.dropClipEntries(clip, {0, 1}, id("T"), 1, true));
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{
                                  "There will be duplicates! You can now handle these individually or stop this action..."});
  // The prefix is dropped: each original ID is asked for again.
  EXPECT_EQ(lineIds(pr, 0), "A B T zA2 zA");
}

TEST_F(EditingTest, LineSelectorTexts) {
  addSupply(pr, 0, 0, 0, "S1");
  int g = addGauge(pr, 0, "G1");
  addSupply(pr, 3, 0, 0, "S2");
  pr.CurLine = 1;
  appendShared(pr, g);
  pr.CurLine = 2;
  appendShared(pr, g);
  addPipe(pr, 10, "P");
  addSupply(pr, 3, 0, 0, "S3");
  pr.CurLine = 0;
  pr.ComputeLines();
  auto items = ed.lineSelectorItems();
  ASSERT_EQ(items.size(), 10u);
  EXPECT_EQ(items[0], "Main Line - (3 elements)");
  EXPECT_EQ(items[1], "Branch 1 - (1 element)");
  EXPECT_EQ(items[2], "Branch 2 - (3 elements)");
  EXPECT_EQ(items[9], "Branch 9 -");
  EXPECT_EQ(pr.ActiveBranches, 3);
  auto gotoItems = ed.gotoSelectorItems();
  EXPECT_EQ(gotoItems[0], "Main Line");
  EXPECT_EQ(gotoItems[2], "Branch 2 - (3 elements)");
  EXPECT_EQ(gotoItems[5], "Branch 5 -");
}

TEST_F(EditingTest, ChoosingABranchWithAnEmptyMainLineWarnsButShowsIt) {
  ed.chooseLine(5, true);
  EXPECT_EQ(pr.CurLine, 5);
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{"No Gauges exist in Main line for Branch connections!"});
  ed.chooseLine(0, false);
  ed.chooseLine(7, false);  // Alt+digit: no question
  EXPECT_EQ(pr.CurLine, 7);
  EXPECT_EQ(prompter.shown.size(), 1u);
}

TEST_F(EditingTest, ShowLineOfIgnoresNumbersThatNameNoElement) {
  addFitting(pr, "A");
  pr.CurLine = 4;
  int b = addFitting(pr, "B");
  pr.CurLine = 0;
  pr.RefreshSpots();
  EXPECT_FALSE(ed.showLineOf(-3));
  EXPECT_FALSE(ed.showLineOf(0));
  EXPECT_FALSE(ed.showLineOf(500));
  EXPECT_EQ(pr.CurLine, 0);
  EXPECT_TRUE(ed.showLineOf(b));
  EXPECT_EQ(pr.CurLine, 4);
}

TEST_F(EditingTest, NextElementStopsAtTheLineEnd) {
  addFitting(pr, "A");
  addFitting(pr, "B");
  ed.cur_elem = id("A");
  EXPECT_EQ(ed.nextElement(), id("B"));
  ed.cur_elem = id("B");
  EXPECT_EQ(ed.nextElement(), 0);
}

}  // namespace
}  // namespace vt
