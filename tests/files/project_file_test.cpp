// Project files: the current layout, both older versions, saving without losing the old file, and
// damaged input of every kind.
#include "files/project_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <cmath>
#include <random>

#include "files/byte_io.h"
#include "files/file_fixtures.h"
#include "files/files_test_support.h"
#include "files/sample_projects.h"
#include "solver/curves.h"

using namespace vt;
using filetest::ScratchDir;
using filetest::storeProblem;

namespace {

class ProjectFileTest : public ::testing::Test {
 protected:
  ScriptedPrompter pm;
  Project p;
  ElementClipboard clip;
  void SetUp() override { p.setPrompter(&pm); }

  ProjReadResult read(const std::vector<uint8_t>& bytes, const ProjectFileHooks& hooks = {}) {
    return readProjectBytes(p, clip, bytes, "/some/folder/x.pzn", hooks);
  }
  std::vector<std::string> texts() const { return pm.texts(); }
};

std::string id(const char16_t* c) { return fromWide(c, kIdLen); }

// Sizes of the fixture's records in file order, for locating them.
constexpr size_t kRecordSizes30[10] = {164, 192, 212, 164, 152, 164, 192, 152, 148, 164};
size_t recordOffset30(int index) {
  size_t off = fx::kProject30Records;
  for (int i = 0; i < index; ++i) off += kRecordSizes30[i];
  return off;
}
size_t clipSectionOffset30() { return recordOffset30(10); }
size_t firstSectionEnd30() { return clipSectionOffset30() + 84 + (150 + 192) + (150 + 212); }

}  // namespace

// ------------------------------------------------------------------ current version

TEST_F(ProjectFileTest, CurrentVersionOpensWithTheValuesTheFileHolds) {
  ProjReadResult r = read(fx::project30());
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.version, ProjectVersion::V30);
  EXPECT_TRUE(texts().empty());
  EXPECT_EQ(r.bareName, "x.pzn");
  EXPECT_EQ(r.sliderPosition, 37);
  EXPECT_EQ(r.systemTypeText, "Open source and discharge");

  EXPECT_EQ(p.proj.Info[kInfoProject], "Pump station 4");
  EXPECT_EQ(p.proj.Info[kInfoEmail], "js@example.com");
  EXPECT_EQ(p.liquid.LiqDesc, "Water at 60F");
  EXPECT_FLOAT_EQ(p.liquid.LiqTemp, 60);
  EXPECT_DOUBLE_EQ(p.liquid.LiqKVis, 1.13);
  EXPECT_FLOAT_EQ(p.liquid.LiqVP, 0.256f);
  EXPECT_FLOAT_EQ(p.liquid.LiqAllowTemp, 10);
  EXPECT_FLOAT_EQ(p.sys.AtmPress, 14.7f);
  EXPECT_FLOAT_EQ(p.sys.Reserved, 2.5f);
  EXPECT_FLOAT_EQ(p.sys.FlowTol, 0.01f);
  EXPECT_EQ(p.sys.HeadCalc, 1);
  EXPECT_FALSE(p.sys.EqLen);

  // The file's Solved byte is 1, yet a file always opens unsolved and unmodified.
  EXPECT_FALSE(p.proj.Solved);
  EXPECT_FALSE(p.proj.Modified);

  const std::vector<int> seq = {1, 2, 3, 4, 5, 6, -1, 4, 7, 8, 9, 10, -2, -3, -4, -5, -6, -7, -8, -9};
  ASSERT_EQ(p.SeqLen, 20);
  for (size_t i = 0; i < seq.size(); ++i) EXPECT_EQ(p.ElemSeq[i + 1], seq[i]) << i;
  EXPECT_EQ(p.ElemSeq[21], 0);
  EXPECT_EQ(p.MainEnd, 7);
  EXPECT_EQ(p.HighElem, 10);
  EXPECT_EQ(p.LineLen[0], 6);
  EXPECT_EQ(p.LineLen[1], 5);
  EXPECT_EQ(p.ActiveBranches, 1);
  EXPECT_EQ(p.tot_pipes, 2);
  EXPECT_EQ(p.tot_valfits, 2);
  EXPECT_EQ(p.tot_nodes, 4);
  EXPECT_EQ(p.tot_supplies, 3);
  EXPECT_EQ(p.tot_elems, 10);
  EXPECT_EQ(p.elemspot[4], 4);  // the shared gauge at its place in the line shown
  EXPECT_EQ(p.NextElem[2], 3);
  EXPECT_EQ(p.PrevElem[7], 4);
  EXPECT_EQ(storeProblem(p), "");

  const Pipe& p1 = *p.pipe[2];
  EXPECT_EQ(id(p1.ID), "P1");
  EXPECT_EQ(p1.Flags, 1);
  EXPECT_EQ(fromShort(p1.Schedule), "Sch 40");
  EXPECT_FLOAT_EQ(p1.NomIndex, 13);
  EXPECT_FLOAT_EQ(p1.InsideDia, 6.065f);
  EXPECT_EQ(p1.pad75, 0xAB);
  EXPECT_EQ(fromWide(p1.Description, kDescLen), "Suction line");

  // Derived pump and FVH fields are fitted again from their inputs.
  const Pump& pu = *p.pump[3];
  EXPECT_EQ(pu.Reserved, 7);
  EXPECT_EQ(pu.Speed, 1750);
  EXPECT_FLOAT_EQ(pu.CurveCoef[0], 100);
  EXPECT_NEAR(PumpHead(pu, 200), 85, 1e-3);
  EXPECT_FLOAT_EQ(pu.NpshBase, 5);
  EXPECT_FLOAT_EQ(pu.NPSHR, kBlank);
  const FVH& f1 = *p.fvh[9];
  EXPECT_NEAR(f1.CoefB, 2.0, 1e-5);
  EXPECT_NEAR(f1.CoefA, 2.0 / std::pow(100 / 448.831, 2), 1e-3);

  EXPECT_FLOAT_EQ(p.node[6]->Pressure, 0);  // free discharge: its stale 12 is dropped
  EXPECT_FLOAT_EQ(p.node[10]->Pressure, 46.2f);
  EXPECT_EQ(fromWide(p.node[4]->LineMembership, 10), "1");
  EXPECT_EQ(p.valfit[5]->Code, -3);
  EXPECT_EQ(p.valfit[8]->CoefMode, 'C');

  EXPECT_EQ(p.IDList.size(), 10u);
  EXPECT_EQ(p.IDList.find("f1"), 9);
  // The last pipe read seeds new pipes.
  EXPECT_DOUBLE_EQ(p.last.DefFriction, 130.0);
  EXPECT_EQ(p.last.LastSchedule, "None");
  EXPECT_EQ(p.last.LastNomIndex, -1);
  EXPECT_FLOAT_EQ(p.last.LastInsideDia, 4.026f);

  ASSERT_EQ(clip.count(), 2u);
  EXPECT_EQ(clip.description, "Spare parts");
  EXPECT_EQ(clip.caption, "x.pzn Clipboard");
  EXPECT_EQ(clip.entries[0].caption, "CP1");
  EXPECT_EQ(clip.entries[0].note, "(orig ID: CP1)");
  EXPECT_EQ(clip.entries[1].typeName, "Pump");
  EXPECT_EQ(clip.entries[1].note, "a note longer than t");
  EXPECT_FLOAT_EQ(std::get<Pump>(clip.entries[1].data).CurveCoef[0], 100);
}

TEST_F(ProjectFileTest, SaveWritesTheLayoutOfTheFileItRead) {
  auto fixture = fx::project30();
  ASSERT_TRUE(read(fixture).ok());
  auto saved = SaveProj(p, clip, {37, ClipboardChoice::Always});
  ASSERT_EQ(saved.size(), fixture.size());
  EXPECT_EQ(saved[869], 0);  // saved unsolved
  // Only what the reader recomputed differs: the Solved byte, the pumps' coefficients and NPSH
  // fields, the FVH's coefficients and the free-discharge pressure.
  // The project string had blanks around it, which are not kept.
  std::vector<std::pair<size_t, size_t>> changed = {{16, 96}, {869, 870}};
  size_t pump = recordOffset30(2), fvh = recordOffset30(8), drain = recordOffset30(5);
  changed.push_back({pump + 60, pump + 76});
  changed.push_back({pump + 96, pump + 112});
  changed.push_back({fvh + 48, fvh + 56});
  changed.push_back({drain + 56, drain + 60});
  size_t clipPump = clipSectionOffset30() + 84 + 150 + 192 + 150;
  changed.push_back({clipPump + 60, clipPump + 76});
  changed.push_back({clipPump + 96, clipPump + 112});
  for (size_t i = 0; i < fixture.size(); ++i) {
    bool expectedChange = false;
    for (auto [b, e] : changed) expectedChange |= i >= b && i < e;
    if (!expectedChange) {
      ASSERT_EQ(saved[i], fixture[i]) << "offset " << i;
    }
  }
}

TEST_F(ProjectFileTest, SavedProjectReopensByteIdenticalUnsolvedAndUnmodified) {
  ScratchDir dir;
  sample::build(p, 40, 3, 5);
  ASSERT_EQ(storeProblem(p), "");
  p.SetElBitNo(2, 1, true, false);
  p.pipe[2]->pad92[1] = 0x5A;
  p.proj.Info[kInfoClient] = "Client with trailing blanks   ";
  p.proj.Info[kInfoFirm] = "A firm name that is much longer than forty characters";
  p.liquid.LiqDesc = "Glycol 30% \xc3\xa9";
  p.sys.SysType = 3;
  p.sys.RefGauge = 5;
  p.sys.SysFlowPress = 23.5f;
  clip.AddToClipboard(p, 2);
  clip.AddToClipboard(p, 4);
  clip.description = "two";
  p.SetSolved(true);  // saved while solved: reopens unsolved all the same

  std::string first = dir / "a.pzn";
  ASSERT_TRUE(saveProjectFile(p, clip, first, {12, ClipboardChoice::Always}));
  auto a = filetest::readBytes(first);
  EXPECT_EQ(a[869], 1);

  Project q;
  ScriptedPrompter qpm;
  q.setPrompter(&qpm);
  ElementClipboard qclip;
  ProjReadResult r = getProjData(q, qclip, first);
  ASSERT_TRUE(r.ok());
  EXPECT_TRUE(qpm.texts().empty());
  EXPECT_FALSE(q.proj.Solved);
  EXPECT_FALSE(q.proj.Modified);
  EXPECT_EQ(r.sliderPosition, 12);
  EXPECT_EQ(q.proj.Info[kInfoClient], "Client with trailing blanks");
  EXPECT_EQ(q.proj.Info[kInfoFirm], "A firm name that is much longer than for");
  EXPECT_EQ(q.liquid.LiqDesc, "Glycol 30% \xc3\xa9");
  EXPECT_EQ(q.sys.RefGauge, 5);
  EXPECT_EQ(qclip.count(), 2u);
  EXPECT_EQ(storeProblem(q), "");

  std::string second = dir / "b.pzn";
  ASSERT_TRUE(saveProjectFile(q, qclip, second, {12, ClipboardChoice::Always}));
  auto b = filetest::readBytes(second);
  a[869] = 0;  // the only difference: saved solved, reopened unsolved
  EXPECT_EQ(a, b);
}

TEST_F(ProjectFileTest, ClipboardQuestionDecidesWhichSectionsAreWritten) {
  const std::string question = "Do you want to save your Clipboard (2 elements) with this project?";
  ASSERT_TRUE(read(fx::project30()).ok());
  pm.answers = {Answer::No, Answer::Yes};
  auto without = SaveProj(p, clip);
  auto with = SaveProj(p, clip);
  ASSERT_EQ(texts(), (std::vector<std::string>{question, question}));
  EXPECT_EQ(pm.shown[0].kind, MsgKind::Confirmation);
  EXPECT_EQ(pm.shown[0].buttons, Buttons::YesNo);
  EXPECT_EQ(with.size(), without.size() + (150 + 192) + (150 + 212) + 84);

  // Without entries the file ends with one section: 80 bytes of description and a zero count.
  std::vector<uint8_t> tail(without.end() - 84, without.end());
  ByteReader in(tail);
  EXPECT_EQ(trimmedWide(in.wide(40)), "Spare parts");
  EXPECT_EQ(in.i32(), 0);

  // An empty clipboard is not asked about.
  ElementClipboard none;
  pm.shown.clear();
  auto empty = SaveProj(p, none);
  EXPECT_TRUE(pm.shown.empty());
  EXPECT_EQ(empty.size(), without.size());
}

TEST_F(ProjectFileTest, EmptyProjectHasTheSmallestLayout) {
  auto bytes = SaveProj(p, clip);
  // Header 892, ElemType[0..0], ElemSeq[0..9], one empty section.
  ASSERT_EQ(bytes.size(), 892u + 2 + 20 + 84);
  ByteReader in(bytes);
  in.skip(870);
  EXPECT_EQ(in.i16(), 9);  // SeqLen
  EXPECT_EQ(in.i16(), 1);  // MainEnd
  for (int i = 0; i < 9; ++i) EXPECT_EQ(in.i16(), 0);
  in.skip(2 + 2);
  for (int k = 1; k <= 9; ++k) EXPECT_EQ(in.i16(), -k);
  for (int i = 0; i < 40; ++i) EXPECT_EQ(in.i16(), 32);  // blank description
  EXPECT_EQ(in.i32(), 0);
}

// ------------------------------------------------------------------ recognising files

TEST_F(ProjectFileTest, FilesOfOtherKindsAndVersions) {
  struct Case {
    std::vector<uint8_t> bytes;
    ProjReadResult::Status status;
    MsgKind kind;
    std::string message;  // empty: no message
  };
  fx::Buf otherWide;
  otherWide.wide("VTLW20", 8);
  otherWide.append(std::vector<uint8_t>(100, 7));
  const std::string path = "/some/folder/x.pzn";
  std::vector<Case> cases = {
      {{'V', 'T', '2', '0', 1, 2, 3, 4, 5, 6}, ProjReadResult::Status::DosVersion, MsgKind::Information,
       path + " is a previous DOS version file. Contact KLD to convert!"},
      {{'P', 'K', 3, 4, 0, 0, 0, 0, 0}, ProjReadResult::Status::NotProject, MsgKind::Error,
       path + " is not a VORTELAN project file or has been corrupted!"},
      {{}, ProjReadResult::Status::NotProject, MsgKind::Error,
       path + " is not a VORTELAN project file or has been corrupted!"},
      {otherWide.b, ProjReadResult::Status::Read, MsgKind::Error, ""},
      {{'V', 'T', 'L', 'W', '4', '0', 0, 0, 1, 2}, ProjReadResult::Status::Read, MsgKind::Error, ""},
      {{'V', 'T', 'L', 'W', '1'}, ProjReadResult::Status::Damaged, MsgKind::Error, "Error reading file: x.pzn"},
  };
  for (const auto& c : cases) {
    pm.shown.clear();
    sample::build(p, 5, 1, 1);
    ProjReadResult r = read(c.bytes);
    EXPECT_EQ(r.status, c.status) << c.message;
    if (c.message.empty()) {
      EXPECT_TRUE(pm.shown.empty());
    } else {
      ASSERT_EQ(texts(), std::vector<std::string>{c.message});
      EXPECT_EQ(pm.shown[0].kind, c.kind);
    }
    EXPECT_EQ(p.HighElem, 0) << c.message;  // the project that was open is gone in every case
    EXPECT_EQ(storeProblem(p), "");
  }
}

TEST_F(ProjectFileTest, MissingFileLeavesTheProjectAlone) {
  ScratchDir dir;
  sample::build(p, 5, 1, 1);
  std::string path = dir / "none.pzn";
  ProjReadResult r = getProjData(p, clip, path);
  EXPECT_EQ(r.status, ProjReadResult::Status::Missing);
  EXPECT_EQ(texts(), std::vector<std::string>{path + " does not exist!"});
  EXPECT_GT(p.HighElem, 0);
  EXPECT_EQ(getProjData(p, clip, "").status, ProjReadResult::Status::NoName);
}

// ------------------------------------------------------------------ older versions

TEST_F(ProjectFileTest, Version20OpensConvertedAndUnsolved) {
  ProjectFileHooks hooks;
  hooks.scheduleByOldIndex = [](const std::string& code) -> std::optional<std::string> {
    if (code == "S40A") return "Sch 40";
    return std::nullopt;
  };
  // A pressure unit that is not a head unit follows the specific gravity read (0.998).
  p.units.PHead = {"psi", 0.5, "pounds per square inch", "psi"};
  p.units.SHead = {"ft liq", 1.0, "feet of liquid", "ft"};
  ProjReadResult r = read(fx::project20(), hooks);
  ASSERT_TRUE(r.ok());
  EXPECT_NEAR(p.units.PHeadFactor, 0.5 * 0.998, 1e-6);
  EXPECT_DOUBLE_EQ(p.units.SHeadFactor, 1.0);
  EXPECT_EQ(r.version, ProjectVersion::V20);
  EXPECT_TRUE(texts().empty());
  EXPECT_EQ(r.sliderPosition, 55);
  EXPECT_FALSE(p.proj.Solved);
  EXPECT_FALSE(p.proj.Modified);
  EXPECT_EQ(p.proj.Info[kInfoProject], "Old station");
  EXPECT_EQ(p.liquid.LiqDesc, "Caf\xc3\xa9 water");
  EXPECT_FLOAT_EQ(p.liquid.LiqSG, 0.998f);
  EXPECT_EQ(p.sys.HeadCalc, 2);
  EXPECT_TRUE(p.sys.EqLen);
  EXPECT_FLOAT_EQ(p.sys.FlowTol, 0.05f);

  // The removed place closes up and the main line's end moves with it.
  const std::vector<int> seq = {1, 2, 6, 3, 7, 4, 5, -1, 3, 8, 5, -2, -3, -4, -5, -6, -7, -8, -9};
  ASSERT_EQ(p.SeqLen, 19);
  for (size_t i = 0; i < seq.size(); ++i) EXPECT_EQ(p.ElemSeq[i + 1], seq[i]) << i;
  EXPECT_EQ(p.ElemSeq[20], 0);
  EXPECT_EQ(p.MainEnd, 8);
  EXPECT_EQ(p.LineLen[0], 7);
  EXPECT_EQ(p.LineLen[1], 3);
  EXPECT_EQ(storeProblem(p), "");

  const Pipe& p1 = *p.pipe[2];
  EXPECT_EQ(id(p1.ID), "P1");
  EXPECT_EQ(fromShort(p1.Schedule), "Sch 40");  // four-character code looked up
  EXPECT_FLOAT_EQ(p1.NomIndex, 7);              // 1.5 in
  EXPECT_FLOAT_EQ(p1.Length, 1200);
  EXPECT_DOUBLE_EQ(p1.Friction, 140.0);
  EXPECT_FLOAT_EQ(p1.Flow, 33);
  EXPECT_EQ(fromWide(p1.Description, kDescLen), "first pipe");
  EXPECT_FLOAT_EQ(p.pipe[4]->NomIndex, -1);  // 7 in is no nominal size
  EXPECT_EQ(p.last.LastSchedule, "None");
  EXPECT_DOUBLE_EQ(p.last.DefFriction, 120.0);

  const Pump& pu = *p.pump[6];
  EXPECT_EQ(id(pu.ID), "PU");
  EXPECT_EQ(pu.Reserved, 3);
  EXPECT_EQ(pu.Speed2, 3500);
  EXPECT_EQ(pu.Flags, 0);
  EXPECT_FLOAT_EQ(pu.CurveCoef[0], 100);
  EXPECT_FLOAT_EQ(pu.NPSHR, kBlank);  // unsolved: no NPSHR at the operating point
  EXPECT_FLOAT_EQ(pu.Head, 90);        // results stay as the file holds them
  EXPECT_FLOAT_EQ(pu.NPSHA, 20);
  const Valfit& v1 = *p.valfit[7];
  EXPECT_EQ(v1.Code, -2);
  EXPECT_EQ(v1.Dir, -1);
  EXPECT_FLOAT_EQ(v1.Parm, 20);
  EXPECT_FLOAT_EQ(p.node[5]->Pressure, 0);
  EXPECT_EQ(p.node[5]->SupplyType, 3);
  EXPECT_FLOAT_EQ(p.node[1]->InletK, 0.5f);
  EXPECT_EQ(fromWide(p.node[3]->Description, kDescLen), "node G1");
  EXPECT_FLOAT_EQ(p.fvh[8]->HeadLoss, 7.5f);
  EXPECT_NEAR(p.fvh[8]->CoefB, 2.0, 1e-5);
  EXPECT_EQ(p.IDList.find("g1"), 3);
}

TEST_F(ProjectFileTest, Version10DropsDuplicatePlacementsAndNumbersTheIDs) {
  ProjReadResult r = read(fx::project10());
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.version, ProjectVersion::V10);
  // Shown once although pipe 2 stands again in two branches.
  ASSERT_EQ(texts(), std::vector<std::string>{"Duplicate placement of elements is not allowed! Will fix..."});
  EXPECT_EQ(pm.shown[0].kind, MsgKind::Error);

  const std::vector<int> seq = {1, 2, 3, 4, 6, 5, -1, 4, 5, -2, 4, 5, -3, -4, -5, -6, -7, -8, -9};
  ASSERT_EQ(p.SeqLen, 19);
  for (size_t i = 0; i < seq.size(); ++i) EXPECT_EQ(p.ElemSeq[i + 1], seq[i]) << i;
  EXPECT_EQ(p.MainEnd, 7);
  EXPECT_EQ(storeProblem(p), "");
  for (int n = 1; n <= 6; ++n) {
    EXPECT_EQ(p.ElemID(n), std::to_string(n));
    EXPECT_EQ(p.IDList.find(std::to_string(n)), n);
    EXPECT_EQ(*p.flagByte(n), 0) << n;  // tags cleared
  }
  const Pipe& pipe = *p.pipe[2];
  EXPECT_FLOAT_EQ(pipe.NomIndex, 8);  // 2 in
  EXPECT_EQ(fromShort(pipe.Schedule), "40");
  EXPECT_FLOAT_EQ(pipe.HeadLoss, 3.25f);
  EXPECT_EQ(fromWide(pipe.Description, kDescLen), "v1 pipe");

  // The file was saved solved: its pump and FVH results are recomputed at their flows from the
  // refitted curves (cubic through 100, 95, 85, 70 ft at 0..300 gpm: 90.625 ft at 150 gpm; NPSHR
  // through 5, 6, 8 ft: 5 + 1/3 at 150 gpm; FVH 2·1.5² = 4.5 ft), and the project then opens unsolved.
  const Pump& pu = *p.pump[3];
  EXPECT_EQ(pu.Reserved, 9);
  EXPECT_NEAR(pu.Head, 90.625, 1e-3);
  EXPECT_NEAR(pu.NPSHR, 5.0 + 1.0 / 3.0, 1e-4);
  EXPECT_FLOAT_EQ(pu.NPSHA, 30);
  EXPECT_NEAR(p.fvh[6]->HeadLoss, 4.5, 1e-4);
  EXPECT_FALSE(p.proj.Solved);
  EXPECT_FLOAT_EQ(p.node[4]->Pressure, 40);
  EXPECT_FLOAT_EQ(p.node[5]->Pressure, 0);  // free discharge
  EXPECT_EQ(p.node[1]->InletExitType, 3);
}

// ------------------------------------------------------------------ damaged input

TEST_F(ProjectFileTest, EveryTruncationIsRefusedOrKeepsTheProject) {
  struct Fixture {
    const char* name;
    std::vector<uint8_t> bytes;
    size_t tablesEnd;           // where the records start
    size_t clipStart, clipEnd;  // the first clipboard section (none for older versions)
  };
  auto v30 = fx::project30();
  std::vector<Fixture> fixtures = {{"3.0", v30, fx::kProject30Records, clipSectionOffset30(), firstSectionEnd30()},
                                   {"2.0", fx::project20(), 484 + 18 + 42, 0, 0},
                                   {"1.0", fx::project10(), 484 + 14 + 46, 0, 0}};
  for (const auto& f : fixtures) {
    for (size_t len = 0; len < f.bytes.size(); ++len) {
      // Every cut in the header and tables; in the records every thirteenth, and both sides of the
      // clipboard section's ends.
      bool nearEnd = f.clipStart && (len + 1 >= f.clipStart && len <= f.clipStart + 1);
      nearEnd |= f.clipEnd && (len + 1 >= f.clipEnd && len <= f.clipEnd + 1);
      if (len > f.tablesEnd && len % 13 != 0 && !nearEnd) continue;
      SCOPED_TRACE(std::string(f.name) + " cut at " + std::to_string(len));
      std::vector<uint8_t> cut(f.bytes.begin(), f.bytes.begin() + static_cast<std::ptrdiff_t>(len));
      pm.shown.clear();
      clip.clear();
      p.proj.Info[0] = "before";
      ProjReadResult r = read(cut);
      ASSERT_EQ(storeProblem(p), "");
      if (len < 4 || (f.clipStart && len < 8)) {
        EXPECT_EQ(r.status, ProjReadResult::Status::NotProject);
      } else if (!f.clipStart || len < f.clipStart) {
        ASSERT_EQ(r.status, ProjReadResult::Status::Damaged);
        EXPECT_EQ(texts().back(), "Error reading file: x.pzn");
        EXPECT_EQ(p.HighElem, 0);
        EXPECT_EQ(p.proj.Info[0], "before");  // nothing half-read stays
      } else {
        EXPECT_EQ(r.status, ProjReadResult::Status::Read);
        EXPECT_EQ(r.clipboardDamaged, len < f.clipEnd);
        EXPECT_EQ(p.HighElem, 10);
        if (len < f.clipEnd) {
          EXPECT_EQ(texts().back(), "File OK, but error reading clipboard from x.pzn");
        }
      }
    }
  }
}

TEST_F(ProjectFileTest, WrongCountersAndCodesAreRefused) {
  auto set16 = [](std::vector<uint8_t> b, size_t off, int16_t v) {
    std::memcpy(b.data() + off, &v, 2);
    return b;
  };
  const auto f = fx::project30();
  const size_t seq = 892 + 2 * 11;  // ElemSeq[0]
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  std::vector<Case> cases = {
      {"SeqLen 8", set16(f, 870, 8)},
      {"SeqLen 1031", set16(f, 870, 1031)},
      {"MainEnd 0", set16(f, 872, 0)},
      {"HighElem 1000", set16(f, 890, 1000)},
      {"HighElem -1", set16(f, 890, -1)},
      {"negative count", set16(f, 874, -3)},
      {"type code 8", set16(f, 892 + 2 * 3, 8)},
      {"placed element without a type", set16(f, 892 + 2 * 5, 0)},
      {"element beyond HighElem", set16(f, seq + 2 * 2, 11)},
      {"zero inside the sequence", set16(f, seq + 2 * 2, 0)},
      {"markers out of order", set16(set16(f, seq + 2 * 13, -3), seq + 2 * 14, -2)},
      {"unknown marker", set16(f, seq + 2 * 7, -10)},
      {"reference gauge 1000", set16(f, 860, 1000)},
  };
  for (const auto& c : cases) {
    pm.shown.clear();
    ProjReadResult r = read(c.bytes);
    EXPECT_EQ(r.status, ProjReadResult::Status::Damaged) << c.what;
    EXPECT_EQ(texts(), std::vector<std::string>{"Error reading file: x.pzn"}) << c.what;
    EXPECT_EQ(p.HighElem, 0) << c.what;
    EXPECT_EQ(storeProblem(p), "") << c.what;
  }
}

TEST_F(ProjectFileTest, DamagedClipboardSectionKeepsProjectAndClipboard) {
  auto set32 = [](std::vector<uint8_t> b, size_t off, int32_t v) {
    std::memcpy(b.data() + off, &v, 4);
    return b;
  };
  const auto f = fx::project30();
  size_t count = clipSectionOffset30() + 80;
  size_t firstType = clipSectionOffset30() + 84 + 30;
  auto badType = f;
  badType[firstType] = 'X';
  for (const auto& bytes : {set32(f, count, 1 << 30), set32(f, count, -1), badType}) {
    pm.shown.clear();
    clip.clear();
    clip.description = "mine";
    ASSERT_TRUE(clip.entries.empty());
    clip.entries.push_back(makeClipEntry(newPipe(), "Pipe"));
    ProjReadResult r = read(bytes);
    EXPECT_EQ(r.status, ProjReadResult::Status::Read);
    EXPECT_TRUE(r.clipboardDamaged);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(texts(), std::vector<std::string>{"File OK, but error reading clipboard from x.pzn"});
    EXPECT_EQ(p.HighElem, 10);
    EXPECT_EQ(clip.count(), 1u);  // what the clipboard held stays
    EXPECT_EQ(clip.description, "mine");
  }
}

TEST_F(ProjectFileTest, RandomAndMutatedBytesNeverBreakTheStore) {
  std::mt19937 rng(20261211);
  std::vector<std::vector<uint8_t>> seeds = {fx::project30(), fx::project20(), fx::project10()};
  for (int round = 0; round < 900; ++round) {
    std::vector<uint8_t> bytes;
    if (round % 3 == 0) {
      bytes.resize(rng() % 3000);
      for (auto& b : bytes) b = static_cast<uint8_t>(rng());
      if (round % 2 == 0 && bytes.size() > 16) {
        // A valid magic in front of random bytes.
        const char* magic[3] = {"V\0T\0L\0W\0" "3\0" "0\0", "VTLW10", "VTLW20"};
        size_t len[3] = {12, 6, 6};
        std::memcpy(bytes.data(), magic[round % 9 / 3], len[round % 9 / 3]);
      }
    } else {
      bytes = seeds[static_cast<size_t>(round) % 3];
      int flips = 1 + static_cast<int>(rng() % 8);
      for (int i = 0; i < flips; ++i) bytes[rng() % bytes.size()] = static_cast<uint8_t>(rng());
    }
    pm.shown.clear();
    ProjReadResult r = read(bytes);
    ASSERT_EQ(storeProblem(p), "") << "round " << round;
    if (r.status == ProjReadResult::Status::Read) {
      // What was read can be saved and read back.
      auto saved = SaveProj(p, clip, {r.sliderPosition, ClipboardChoice::Never});
      Project q;
      ElementClipboard qc;
      ScriptedPrompter qpm;
      q.setPrompter(&qpm);
      ASSERT_EQ(readProjectBytes(q, qc, saved, "y.pzn").status, ProjReadResult::Status::Read) << "round " << round;
    }
  }
}

// ------------------------------------------------------------------ saving safely

TEST_F(ProjectFileTest, FailedSaveLeavesTheOldFileAsItWas) {
  ScratchDir dir;
  std::string path = dir / "keep.pzn";
  ASSERT_TRUE(saveProjectFile(p, clip, path));  // a small, empty project
  auto before = filetest::readBytes(path);

  sample::build(p, 400, 9, 20);
  // Let the disk "fill up" after 4 KB: the write of the larger project fails part way.
  struct rlimit old {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  bool saved = saveProjectFile(p, clip, path);
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(saved);
  ASSERT_EQ(pm.shown.size(), 1u);
  EXPECT_EQ(pm.shown[0].kind, MsgKind::Error);
  EXPECT_EQ(pm.shown[0].text.rfind("Error saving file: keep.pzn (", 0), 0u) << pm.shown[0].text;
  EXPECT_EQ(filetest::readBytes(path), before);
  // No temporary file is left behind.
  int files = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) files += e.is_regular_file() ? 1 : 0;
  EXPECT_EQ(files, 1);

  pm.shown.clear();
  EXPECT_FALSE(saveProjectFile(p, clip, dir / "no-such-folder/x.pzn"));
  EXPECT_EQ(pm.shown.size(), 1u);
}

TEST_F(ProjectFileTest, ElementThatCannotBeWrittenIsLeftOutAndTheFileStaysReadable) {
  sample::build(p, 10, 1, 3);
  int pumpNo = 1;
  while (p.ElemType[static_cast<size_t>(pumpNo)] != kPump) ++pumpNo;
  // A placed element without its record: must never happen, and must not spoil the file.
  p.pump[static_cast<size_t>(pumpNo)].reset();
  auto bytes = SaveProj(p, clip);
  EXPECT_EQ(texts(), std::vector<std::string>{"Error on type Save Proj!"});
  Project q;
  ElementClipboard qc;
  ScriptedPrompter qpm;
  q.setPrompter(&qpm);
  ASSERT_TRUE(readProjectBytes(q, qc, bytes, "y.pzn").ok());
  EXPECT_FALSE(q.isPlaced(pumpNo));
  EXPECT_EQ(q.SeqLen, p.SeqLen - 1);
  EXPECT_EQ(q.ElemID(pumpNo + 1), p.ElemID(pumpNo + 1));
  EXPECT_EQ(q.ElemID(pumpNo - 1), p.ElemID(pumpNo - 1));
  EXPECT_EQ(storeProblem(q), "");
}
