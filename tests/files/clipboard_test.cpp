// The element clipboard: entries made from elements, sections, clipboard files of both versions,
// the heavy-use question, and the save and open commands.
#include <gtest/gtest.h>

#include <cmath>

#include "files/byte_io.h"
#include "files/element_clipboard.h"
#include "files/file_fixtures.h"
#include "files/files_test_support.h"
#include "files/sample_projects.h"
#include "solver/curves.h"

using namespace vt;
using filetest::ScratchDir;

namespace {

class ClipboardTest : public ::testing::Test {
 protected:
  ScriptedPrompter pm;
  Project p;
  ElementClipboard clip;
  void SetUp() override { p.setPrompter(&pm); }
  ClipReadResult readBytes(const std::vector<uint8_t>& bytes, int* version = nullptr) {
    return readClipboardBytes(bytes, p, clip, "c.clip", version);
  }
};

}  // namespace

TEST_F(ClipboardTest, EntryFromAnElementCopiesItsInputs) {
  sample::build(p, 10, 1, 3);
  p.pipe[2]->Flow = 55;
  p.pipe[2]->HeadLoss = 1.5f;
  int gauge = 1;
  while (p.ElemType[static_cast<size_t>(gauge)] != kGauge) ++gauge;
  ASSERT_NE(fromWide(p.node[static_cast<size_t>(gauge)]->LineMembership, 10), "");
  int fvh = 1;
  while (p.ElemType[static_cast<size_t>(fvh)] != kFVH) ++fvh;

  ASSERT_TRUE(clip.AddToClipboard(p, 2));
  ASSERT_TRUE(clip.AddToClipboard(p, gauge));
  clip.dropBefore = 1;  // a drop onto the second entry
  ASSERT_TRUE(clip.AddToClipboard(p, fvh));
  EXPECT_FALSE(clip.AddToClipboard(p, 0));
  EXPECT_FALSE(clip.AddToClipboard(p, 998));

  ASSERT_EQ(clip.count(), 3u);
  const ClipEntry& e = clip.entries[0];
  EXPECT_EQ(e.caption, "Pip2");
  EXPECT_EQ(e.id, "Pip2");
  EXPECT_EQ(e.typeName, "Pipe");
  EXPECT_EQ(e.note, "(orig ID: Pip2)");
  const Pipe& copy = std::get<Pipe>(e.data);
  EXPECT_FLOAT_EQ(copy.Flow, 0);  // results are not copied
  EXPECT_FLOAT_EQ(copy.HeadLoss, 0);
  EXPECT_FLOAT_EQ(copy.Length, p.pipe[2]->Length);
  EXPECT_EQ(clip.entries[1].typeName, "FVH ");  // inserted at the drop point
  EXPECT_EQ(clip.entries[1].kind(), kFVH);
  EXPECT_EQ(fromWide(std::get<Node>(clip.entries[2].data).LineMembership, 10), "");

  // The copy is independent of the element.
  p.RemoveFromLine(2);
  EXPECT_FLOAT_EQ(std::get<Pipe>(clip.entries[0].data).Length, 122);
}

TEST_F(ClipboardTest, ReorderMakesAFreshEntry) {
  sample::build(p, 10, 1, 3);
  for (int n = 2; n <= 6; ++n) clip.AddToClipboard(p, n);  // pipe, fitting, valve, pump, FVH
  clip.entries[4].note = "my note";
  ASSERT_TRUE(clip.reorder(4, 0));
  EXPECT_EQ(clip.entries[0].typeName, "FVH");
  EXPECT_EQ(clip.entries[0].note, "(orig ID: FVH6)");
  EXPECT_EQ(clip.entries[1].caption, "Pip2");
  ASSERT_TRUE(clip.reorder(0, std::nullopt));  // to the end
  EXPECT_EQ(clip.entries[4].caption, "FVH6");
  ASSERT_TRUE(clip.reorder(0, 3));  // before the entry that stood at 3
  EXPECT_EQ(clip.entries[1].caption, "Val4");
  EXPECT_EQ(clip.entries[2].caption, "Pip2");
  EXPECT_EQ(clip.entries[3].caption, "Pum5");
  EXPECT_FALSE(clip.reorder(7, 0));
}

TEST_F(ClipboardTest, SectionRoundTripsAndCutsNotes) {
  sample::build(p, 10, 1, 3);
  clip.description = "A description that is longer than forty characters";
  clip.AddToClipboard(p, 2);
  clip.AddToClipboard(p, 5);
  clip.entries[0].note = "a note that is longer than twenty";
  ByteWriter w;
  PutClipboard(w, clip, false);
  EXPECT_EQ(w.bytes().size(), 84u);  // description and a zero count
  PutClipboard(w, clip, true);
  EXPECT_EQ(w.bytes().size(), 84u + 84 + (150 + 192) + (150 + 212));

  ElementClipboard back;
  ByteReader in(std::span<const uint8_t>(w.bytes()).subspan(84));
  ClipReadResult r = ReadClipboard(in, p, back, "c.clip");
  ASSERT_EQ(r.status, ClipReadStatus::Read);
  EXPECT_EQ(r.appended, 2u);
  EXPECT_TRUE(in.atEnd());
  EXPECT_EQ(back.description, "A description that is longer than forty");
  EXPECT_EQ(back.entries[0].note, "a note that is longe");  // the first 20 characters
  EXPECT_EQ(back.entries[1].caption, clip.entries[1].caption);
  EXPECT_EQ(back.entries[1].typeName, "Pump");
  EXPECT_EQ(std::memcmp(&std::get<Pipe>(back.entries[0].data), &std::get<Pipe>(clip.entries[0].data), sizeof(Pipe)), 0);
  EXPECT_EQ(std::memcmp(&std::get<Pump>(back.entries[1].data), &std::get<Pump>(clip.entries[1].data), sizeof(Pump)), 0);
  EXPECT_TRUE(pm.shown.empty());
}

TEST_F(ClipboardTest, CurrentFileOpensWithItsValuesAndAppends) {
  clip.entries.push_back(makeClipEntry(newNode(), "Gauge"));
  int version = 0;
  ClipReadResult r = readBytes(fx::clipboard30(), &version);
  ASSERT_EQ(r.status, ClipReadStatus::Read);
  EXPECT_EQ(version, 30);
  ASSERT_EQ(clip.count(), 3u);  // appended after what was there
  EXPECT_EQ(clip.entries[0].typeName, "Gauge");
  EXPECT_EQ(clip.description, "Spare parts");
  const ClipEntry& pipe = clip.entries[1];
  EXPECT_EQ(pipe.caption, "CP1");
  EXPECT_EQ(pipe.id.substr(0, 3), "CP1");
  EXPECT_EQ(pipe.kind(), kPipe);
  EXPECT_EQ(fromShort(std::get<Pipe>(pipe.data).Schedule), "Sch 80");
  EXPECT_FLOAT_EQ(std::get<Pipe>(pipe.data).InsideDia, 1.939f);
  const Pump& pump = std::get<Pump>(clip.entries[2].data);
  EXPECT_FLOAT_EQ(pump.CurveCoef[0], 100);  // refitted
  EXPECT_FLOAT_EQ(pump.NPSHR, kBlank);      // the project is not solved
  EXPECT_FLOAT_EQ(pump.Head, 0);
}

TEST_F(ClipboardTest, SolvedProjectRecomputesPumpResults) {
  p.SetSolved(true);
  ASSERT_EQ(readBytes(fx::clipboard30()).status, ClipReadStatus::Read);
  const Pump& pump = std::get<Pump>(clip.entries[1].data);
  // Flow 0: the cubic's shut-off head and the first NPSHR point.
  EXPECT_FLOAT_EQ(pump.Head, 100);
  EXPECT_FLOAT_EQ(pump.NPSHR, 5);
}

TEST_F(ClipboardTest, OlderFileOpensConverted) {
  for (bool solved : {false, true}) {
    SCOPED_TRACE(solved ? "solved" : "unsolved");
    clip.clear();
    p.SetSolved(solved);
    int version = 0;
    ClipReadResult r = readBytes(fx::clipboard20(), &version);
    ASSERT_EQ(r.status, ClipReadStatus::Read);
    EXPECT_EQ(version, 20);
    EXPECT_EQ(clip.description, "Old clip \xe2\x82\xac");  // Windows-1252 0x80 is the euro sign
    ASSERT_EQ(clip.count(), 4u);
    EXPECT_EQ(clip.entries[0].caption, "OP1");
    EXPECT_EQ(clip.entries[0].note, "old note");
    const Pipe& pipe = std::get<Pipe>(clip.entries[0].data);
    EXPECT_EQ(fromWide(pipe.ID, kIdLen), "OP1");
    EXPECT_FLOAT_EQ(pipe.NomIndex, 10);  // 3 in
    EXPECT_FLOAT_EQ(pipe.Length, 300);
    EXPECT_EQ(pipe.Flags, 0);
    EXPECT_EQ(fromWide(pipe.Description, kDescLen), "clip pipe");
    EXPECT_EQ(clip.entries[1].kind(), kSupply);
    EXPECT_FLOAT_EQ(std::get<Node>(clip.entries[1].data).Pressure, 0);
    const FVH& fvh = std::get<FVH>(clip.entries[2].data);
    EXPECT_FLOAT_EQ(fvh.FlowIncr, 100);
    EXPECT_NEAR(fvh.HeadLoss, solved ? 4.5 : 0.0, 1e-4);  // older clipboards hold no head loss
    const Pump& pump = std::get<Pump>(clip.entries[3].data);
    EXPECT_EQ(pump.Speed2, 3500);
    EXPECT_FLOAT_EQ(pump.CurveCoef[0], 100);
    EXPECT_NEAR(pump.Head, solved ? 90.625 : 90.0, 1e-3);
    EXPECT_NEAR(pump.NPSHR, solved ? 5.0 + 1.0 / 3.0 : kBlank, 1e-4);
  }
}

TEST_F(ClipboardTest, HeavyClipboardAsksFirst) {
  const std::string question = "Clipboard has heavy use - Add 1001 new elements to clipboard?";
  auto heavy = fx::clipboardGauges30(1001);
  for (Answer a : {Answer::No, Answer::Cancel, Answer::Yes}) {
    clip.clear();
    ScriptedPrompter answers;
    answers.answers = {a};
    p.setPrompter(&answers);
    ClipReadResult r = readClipboardBytes(heavy, p, clip, "c.clip", nullptr);
    p.setPrompter(&pm);
    ASSERT_EQ(r.status, ClipReadStatus::Read);
    ASSERT_EQ(answers.texts(), std::vector<std::string>{question});
    EXPECT_EQ(answers.shown[0].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(clip.count(), a == Answer::Yes ? 1001u : 0u);
    EXPECT_EQ(r.declined, a != Answer::Yes);
  }
  clip.clear();
  ASSERT_EQ(readBytes(fx::clipboardGauges30(1000)).status, ClipReadStatus::Read);
  EXPECT_TRUE(pm.shown.empty());
  EXPECT_EQ(clip.count(), 1000u);
}

TEST_F(ClipboardTest, OlderHeavyClipboardAsksItsOwnQuestion) {
  auto bytes = fx::clipboard20();
  // Claim 1001 entries: more than the file holds, so it is damaged before anything is asked.
  int32_t count = 1001;
  std::memcpy(bytes.data() + 48, &count, 4);
  EXPECT_EQ(readBytes(bytes).status, ClipReadStatus::Damaged);
  EXPECT_TRUE(pm.shown.empty());
  // Pad the file so that 1001 entries could fit: now the question comes first.
  bytes.resize(52 + 1001 * 195, 0);
  pm.answers = {Answer::No};
  EXPECT_EQ(readBytes(bytes).status, ClipReadStatus::Read);
  EXPECT_EQ(pm.texts(), std::vector<std::string>{"Add 1001 new elements to clipboard?"});
}

TEST_F(ClipboardTest, DamagedFilesAreRefusedWholeAndKeepTheClipboard) {
  for (const auto& fixture : {fx::clipboard30(), fx::clipboard20()}) {
    for (size_t len = 0; len < fixture.size(); ++len) {
      SCOPED_TRACE(len);
      std::vector<uint8_t> cut(fixture.begin(), fixture.begin() + static_cast<std::ptrdiff_t>(len));
      clip.clear();
      clip.description = "mine";
      clip.entries.push_back(makeClipEntry(newPipe(), "Pipe"));
      ClipReadResult r = readBytes(cut);
      if (len < 8) {
        EXPECT_EQ(r.status, ClipReadStatus::NotClipboard);
      } else {
        EXPECT_EQ(r.status, ClipReadStatus::Damaged);
      }
      EXPECT_EQ(clip.count(), 1u);
      EXPECT_EQ(clip.description, "mine");
    }
  }
  // An entry of an unknown kind cannot be read past: the section is damaged.
  auto bytes = fx::clipboard30();
  bytes[16 + 84 + 30] = 'Q';
  EXPECT_EQ(readBytes(bytes).status, ClipReadStatus::Damaged);
}

TEST_F(ClipboardTest, OpenCommandMessages) {
  ScratchDir dir;
  std::string missing = dir / "none.clip", other = dir / "other.clip", cut = dir / "cut.clip", good = dir / "good.clip";
  filetest::writeBytes(other, {'P', 'K', 3, 4, 0, 0, 0, 0, 0, 0});
  auto bytes = fx::clipboard30();
  filetest::writeBytes(cut, std::vector<uint8_t>(bytes.begin(), bytes.end() - 10));
  filetest::writeBytes(good, bytes);

  EXPECT_EQ(openClipboardFile(missing, p, clip).status, ClipReadStatus::Missing);
  EXPECT_EQ(openClipboardFile(other, p, clip).status, ClipReadStatus::NotClipboard);
  EXPECT_EQ(openClipboardFile(cut, p, clip).status, ClipReadStatus::Damaged);
  EXPECT_EQ(pm.texts(), (std::vector<std::string>{
                            missing + " does not exist (Open Clipboard)!",
                            other + " is not a VORTELAN clipboard file or it has been corrupted!",
                            "Error reading " + cut,
                        }));
  EXPECT_TRUE(clip.empty());

  pm.fileNames = {std::nullopt, good};
  EXPECT_EQ(OpenClipboard1Click(p, clip, dir.path().string()).status, ClipReadStatus::Cancelled);
  EXPECT_EQ(OpenClipboard1Click(p, clip, dir.path().string()).status, ClipReadStatus::Read);
  EXPECT_EQ(pm.prompts, (std::vector<std::string>{"Open Clipboard File:", "Open Clipboard File:"}));
  EXPECT_EQ(clip.count(), 2u);
  EXPECT_EQ(clip.caption, "good.clip");
  EXPECT_EQ(clip.fileName, "");  // the file name is remembered when the clipboard is saved
}

TEST_F(ClipboardTest, SaveCommandAsksForNameExtensionAndOverwrite) {
  ScratchDir dir;
  const std::string folder = dir.path().string();
  bool saveAs = false;
  {
    ScriptedPrompter ask;
    EXPECT_FALSE(SaveClipboard1Click(clip, ask, folder, saveAs));
    EXPECT_EQ(ask.texts(), std::vector<std::string>{"Clipboard is empty"});
    EXPECT_EQ(ask.shown[0].kind, MsgKind::Warning);
  }
  sample::build(p, 10, 1, 3);
  clip.AddToClipboard(p, 2);
  clip.description = "saved";
  std::string noExt = dir / "parts";
  {
    ScriptedPrompter ask;
    ask.fileNames = {noExt};
    ask.answers = {Answer::Yes};
    ASSERT_TRUE(SaveClipboard1Click(clip, ask, folder, saveAs));
    EXPECT_EQ(ask.texts(), std::vector<std::string>{"Use new filename " + noExt + ".clip ?"});
    EXPECT_EQ(ask.prompts, std::vector<std::string>{"Save Clipboard File As:"});
  }
  EXPECT_EQ(clip.fileName, noExt + ".clip");
  EXPECT_EQ(clip.caption, "parts.clip");
  auto written = filetest::readBytes(noExt + ".clip");
  EXPECT_EQ(written, clipboardFileBytes(clip));
  EXPECT_EQ(written.size(), 16u + 84 + 150 + 192);

  // Saving again under the known name asks before overwriting; declining asks for another name,
  // and that one, when it exists too, is asked about in turn.
  std::string other = dir / "other.clip";
  filetest::writeBytes(other, {1, 2, 3});
  {
    ScriptedPrompter ask;
    ask.fileNames = {other, dir / "third.clip"};
    ask.answers = {Answer::No, Answer::No};
    ASSERT_TRUE(SaveClipboard1Click(clip, ask, folder, saveAs));
    EXPECT_EQ(ask.texts(), (std::vector<std::string>{"Do you want to overwrite " + noExt + ".clip?",
                                                     "Do you want to overwrite " + other + "?"}));
  }
  EXPECT_EQ(filetest::readBytes(other), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(clip.fileName, dir / "third.clip");
  EXPECT_TRUE(std::filesystem::exists(dir / "third.clip"));

  // Save As with a name whose extension question is declined writes nothing.
  saveAs = true;
  {
    ScriptedPrompter ask;
    ask.fileNames = {dir / "fourth.txt"};
    ask.answers = {Answer::Cancel};
    EXPECT_FALSE(SaveClipboard1Click(clip, ask, folder, saveAs));
    EXPECT_EQ(ask.texts(), std::vector<std::string>{"Use new filename " + (dir / "fourth.clip") + " ?"});
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "fourth.clip"));

  // A file that cannot be written: a message, and the clipboard keeps its file name.
  ScriptedPrompter ask;
  EXPECT_FALSE(writeClipboardFile(dir / "missing-folder/x.clip", clip, ask));
  ASSERT_EQ(ask.shown.size(), 1u);
  EXPECT_EQ(ask.shown[0].text.rfind("Error saving file: x.clip (", 0), 0u);
  EXPECT_EQ(clip.fileName, dir / "third.clip");
}
