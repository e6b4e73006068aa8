#include <gtest/gtest.h>

#include <cstring>

#include "model/fixed_tables.h"
#include "model/project.h"

namespace vt {
namespace {

// Appends a new element of `type` with `id` to the end of line `line`; returns its number.
int add(Project& p, int line, int type, const std::string& id) {
  int n = p.FirstFreeElem();
  p.createElement(n, type);
  p.setElemID(n, id);
  EXPECT_TRUE(p.insertInSeq(n, p.LineEnd[line] + 1));
  return n;
}

// Places an existing node again at the end of another line.
void share(Project& p, int line, int n) { ASSERT_TRUE(p.insertInSeq(n, p.LineEnd[line] + 1)); }

std::string membership(const Project& p, int n) { return fromWide(p.node[n]->LineMembership, 10); }

TEST(ProjectStore, EmptyProjectHasNineMarkersAndNoLines) {
  Project p;
  EXPECT_EQ(p.SeqLen, 9);
  EXPECT_EQ(p.MainEnd, 1);
  EXPECT_EQ(p.HighElem, 0);
  EXPECT_EQ(p.ActiveBranches, 0);
  for (int k = 0; k < kLines; ++k) EXPECT_EQ(p.LineLen[k], 0) << "line " << k;
  for (int k = 1; k <= 9; ++k) EXPECT_EQ(p.ElemSeq[k], -k);
  EXPECT_EQ(p.ElemSeq[0], 0);
  EXPECT_EQ(p.ElemSeq[10], 0);
}

TEST(ProjectStore, LinesFollowTheSequence) {
  Project p;
  int s1 = add(p, 0, kSupply, "S1");
  int g1 = add(p, 0, kGauge, "G1");
  add(p, 0, kPipe, "P1");
  int s2 = add(p, 0, kSupply, "S2");
  share(p, 2, g1);
  add(p, 2, kPipe, "P2");
  add(p, 2, kSupply, "S3");
  EXPECT_EQ(p.MainEnd, 5);
  EXPECT_EQ(p.LineLen[0], 4);
  EXPECT_EQ(p.LineLen[1], 0);
  EXPECT_EQ(p.LineLen[2], 3);
  EXPECT_EQ(p.ActiveBranches, 1);
  EXPECT_EQ(p.tot_elems, 6);
  EXPECT_EQ(p.tot_nodes, 4);
  EXPECT_EQ(p.tot_supplies, 3);
  EXPECT_EQ(p.tot_pipes, 2);
  EXPECT_EQ(p.HighElem, 6);
  EXPECT_EQ(p.LineStart[2], 6);
  EXPECT_EQ(p.LineEnd[2], 9);
  EXPECT_EQ(p.LineEnd[9], p.SeqLen);
  EXPECT_EQ(p.LineOf(s2), 0);
  EXPECT_EQ(p.ElemTypeName(s1), "Supply");
  // the shared gauge's spot is its occurrence in the current line
  EXPECT_EQ(p.elemspot[g1], 2);
  p.CurLine = 2;
  p.RefreshSpots();
  EXPECT_EQ(p.elemspot[g1], 7);
  EXPECT_TRUE(p.ImageVisible[g1]);
  EXPECT_FALSE(p.ImageVisible[s1]);
}

TEST(ProjectStore, LineMembershipAndLabels) {
  Project p;
  add(p, 0, kSupply, "S1");
  int gA = add(p, 0, kGauge, "GA");  // branches 1 and 3 start here
  int gB = add(p, 0, kGauge, "GB");  // branch 2 starts here
  add(p, 0, kSupply, "S2");
  share(p, 1, gA);
  int gC = add(p, 1, kGauge, "GC");  // branch 3 rejoins branch 1 here
  add(p, 1, kSupply, "S3");
  share(p, 2, gB);
  add(p, 2, kSupply, "S4");
  share(p, 3, gA);
  share(p, 3, gC);

  p.idBranches(0);
  EXPECT_EQ(membership(p, gA), "13");
  EXPECT_EQ(membershipLabel(membership(p, gA)), "B13");
  EXPECT_EQ(membership(p, gB), "2");
  EXPECT_EQ(membershipLabel(membership(p, gB)), "B2");
  p.idBranches(2);
  EXPECT_EQ(membership(p, gB), "0");
  EXPECT_EQ(membershipLabel(membership(p, gB)), "M");
  p.idBranches(1);
  EXPECT_EQ(membership(p, gA), "03");
  EXPECT_EQ(membershipLabel(membership(p, gA)), "MB3");
  EXPECT_EQ(membership(p, gC), "3");
}

TEST(ProjectStore, RemovingASharedGaugeOnlyShortensTheBranch) {
  Project p;
  add(p, 0, kSupply, "S1");
  int g = add(p, 0, kGauge, "G");
  add(p, 0, kSupply, "S2");
  share(p, 1, g);
  add(p, 1, kSupply, "S3");
  int before = p.tot_elems;
  p.CurLine = 1;
  p.RemoveFromLine(g);
  EXPECT_EQ(p.tot_elems, before);
  EXPECT_EQ(p.tot_nodes, 4);
  ASSERT_NE(p.node[g], nullptr);
  EXPECT_EQ(p.IDList.find("g"), g);
  EXPECT_EQ(p.LineLen[1], 1);
  EXPECT_EQ(p.elemspot[g], 2);
  EXPECT_EQ(p.positionsOf(g).size(), 1u);
}

TEST(ProjectStore, RemovingAnElementReleasesItAndReusesItsNumber) {
  Project p;
  add(p, 0, kSupply, "S1");
  int pipe = add(p, 0, kPipe, "P1");
  int g = add(p, 0, kGauge, "REF");
  add(p, 0, kSupply, "S2");
  p.sys.RefGauge = static_cast<int16_t>(g);
  p.RemoveFromLine(pipe);
  EXPECT_EQ(p.pipe[pipe], nullptr);
  EXPECT_EQ(p.ElemType[pipe], 0);
  EXPECT_EQ(p.elemspot[pipe], 0);
  EXPECT_EQ(p.IDList.find("P1"), 0);
  EXPECT_EQ(p.tot_pipes, 0);
  EXPECT_EQ(p.LineLen[0], 3);
  EXPECT_EQ(p.ElemSeq[2], g);
  EXPECT_EQ(p.FirstFreeElem(), pipe);
  p.RemoveFromLine(g);
  EXPECT_EQ(p.sys.RefGauge, 0);
  // removing an element that is not in the current line changes nothing
  int len = p.SeqLen;
  p.RemoveFromLine(pipe);
  EXPECT_EQ(p.SeqLen, len);
}

TEST(ProjectStore, IdsCollideWithoutRegardToCase) {
  Project p;
  add(p, 0, kPipe, "abc");
  EXPECT_FALSE(p.IDList.add("ABC", 5));
  EXPECT_EQ(p.IDList.find("AbC"), 1);
  EXPECT_EQ(p.IDList.size(), 1u);
}

TEST(ProjectStore, TagBits) {
  Project p;
  int n = add(p, 0, kPump, "PU");
  EXPECT_TRUE(p.SetElBitNo(n, 1, true, false));
  EXPECT_EQ(p.pump[n]->Flags, 1);  // the pump's flag byte sits at offset 36
  EXPECT_TRUE(p.isBitOn(n, 1));
  EXPECT_TRUE(p.SetElBitNo(n, 1, false, true));
  EXPECT_FALSE(p.isBitOn(n, 1));
  EXPECT_FALSE(p.SetElBitNo(500, 1, true, false));  // not placed

  ScriptedPrompter prompter;
  p.setPrompter(&prompter);
  p.SetElBitNo(n, 9, true, false);
  EXPECT_EQ(p.pump[n]->Flags, 0);
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0].text, "Error on bit number (SetBit)!");
  EXPECT_EQ(prompter.shown[0].kind, MsgKind::Error);
}

TEST(ProjectStore, ClearProjectEmptiesEverything) {
  Project p;
  add(p, 0, kSupply, "S1");
  add(p, 0, kPipe, "P");
  p.sys.SysType = 3;
  p.sys.SysFlowPress = 12;
  p.SetModified(true);
  bool cleared = false;
  p.onCleared = [&] { cleared = true; };
  p.ClearProject();
  EXPECT_TRUE(cleared);
  EXPECT_EQ(p.SeqLen, 9);
  EXPECT_EQ(p.HighElem, 0);
  EXPECT_EQ(p.tot_elems, 0);
  EXPECT_EQ(p.IDList.size(), 0u);
  EXPECT_EQ(p.sys.SysType, 1);
  EXPECT_EQ(p.sys.SysFlowPress, 0);
  EXPECT_FALSE(p.proj.Modified);
  EXPECT_EQ(p.pipe[2], nullptr);
  EXPECT_EQ(p.ElemSeq[1], -1);
}

TEST(ProjectStore, ModifiedClearsSolvedAndLabelsFollow) {
  Project p;
  p.SetSolved(true);
  EXPECT_EQ(p.solvedLabel(), "Solved ");
  EXPECT_EQ(p.solutionCaption(), "Current solution...");
  p.SetModified(true);
  EXPECT_FALSE(p.proj.Solved);
  EXPECT_EQ(p.modifiedLabel(), "Modified ");
  EXPECT_EQ(p.solvedLabel(), "");
  EXPECT_EQ(p.solutionCaption(), "Last solution...");
  int started = 0;
  p.startSolution = [&] { ++started; };
  p.SetAnalyzing(true);
  EXPECT_EQ(started, 1);
}

TEST(ProjectStore, ClosedLoopWrapsPrevAndNext) {
  Project p;
  int a = add(p, 0, kGauge, "A");
  int b = add(p, 0, kPipe, "B");
  int c = add(p, 0, kPump, "C");
  p.sys.SysType = 3;
  p.BuildPrevNext();
  EXPECT_EQ(p.NextElem[c], a);
  EXPECT_EQ(p.PrevElem[a], c);
  EXPECT_EQ(p.NextElem[a], b);
  EXPECT_EQ(p.PrevElem[b], a);
  p.sys.SysType = 1;
  p.BuildPrevNext();
  EXPECT_EQ(p.NextElem[c], -1);
  EXPECT_EQ(p.PrevElem[a], 0);
}

TEST(ModelHelpers, TypeAbbreviationsAndNumbers) {
  struct Case { const char* text; int type; };
  for (auto c : {Case{"Pip 12", 1}, Case{"Fit", 2}, Case{"Val", 4}, Case{"Pum", 3}, Case{"Gau", 5},
                 Case{"Sup", 7}, Case{"FVH", 6}, Case{"pip", 0}, Case{"Pi", 0}})
    EXPECT_EQ(TypeOfAbbrev(c.text), c.type) << c.text;
  EXPECT_EQ(typeName(6), "FVH ");
  EXPECT_EQ(typeName(8), "");
  for (const char* yes : {"", "1", "-2.5", "1e3", " 4 ", "+3", ".5"}) EXPECT_TRUE(IsNumber(yes)) << yes;
  for (const char* no : {"abc", "1,5", "2x", " ", "nan", "inf", "1e999"}) EXPECT_FALSE(IsNumber(no)) << no;
}

TEST(ModelHelpers, FixedTables) {
  EXPECT_EQ(supplyTypeText(3), "free discharge");
  EXPECT_EQ(inletExitText(8), "pipe exit-all types");
  EXPECT_FLOAT_EQ(inletExitK(1), 0.78f);
  EXPECT_FLOAT_EQ(inletExitK(9), 0.0f);
  EXPECT_EQ(nominalSize(13, false), 5.0f);
  EXPECT_EQ(nominalSize(13, true), 125.0f);
  EXPECT_EQ(nominalSize(11, true), 90.0f);
  EXPECT_EQ(nominalPosition(1.5f, false), 7);
  EXPECT_EQ(nominalPosition(7.0f, false), -1);
  EXPECT_FALSE(nominalTableIsMillimetre("ft"));
  EXPECT_TRUE(nominalTableIsMillimetre("mtr"));
}

TEST(Records, FreshRecordsAndCopiesKeepTheirBytes) {
  Pipe pipe = newPipe();
  EXPECT_EQ(fromShort(pipe.Schedule), "None");
  EXPECT_EQ(pipe.NomIndex, -1.0f);
  Pump pump = newPump();
  EXPECT_EQ(pump.Speed, -19999);
  // A record read from bytes (padding included) writes back the same bytes.
  unsigned char bytes[sizeof(Valfit)];
  for (size_t i = 0; i < sizeof bytes; ++i) bytes[i] = static_cast<unsigned char>(i * 37 + 11);
  Valfit v;
  std::memcpy(&v, bytes, sizeof v);
  Valfit copy = copyInputs(v);
  EXPECT_EQ(std::memcmp(&copy, bytes, sizeof bytes), 0);
  // Pipe copies drop results; node copies drop line membership.
  pipe.Flow = 5;
  pipe.HeadLoss = 2;
  Pipe pc = copyInputs(pipe);
  EXPECT_EQ(pc.Flow, 0.0f);
  EXPECT_EQ(pc.HeadLoss, 0.0f);
  Node node = newNode();
  node.LineMembership[0] = u'3';
  node.Elev = 12;
  Node nc = copyInputs(node);
  EXPECT_EQ(nc.LineMembership[0], 0);
  EXPECT_EQ(nc.Elev, 12.0f);
}

TEST(Records, WideTextRoundTrips) {
  char16_t id[kIdLen];
  toWide("Pump-Ä1 °F", id, kIdLen);
  EXPECT_EQ(fromWide(id, kIdLen), "Pump-Ä1 °F");
  toWide("0123456789ABCDEFGH", id, kIdLen);  // longer than 15: cut
  EXPECT_EQ(fromWide(id, kIdLen), "0123456789ABCDE");
  toWide("\xE2\x82", id, kIdLen);  // truncated UTF-8 must not read past the end
  EXPECT_EQ(id[0], 0xFFFD);
}

}  // namespace
}  // namespace vt
