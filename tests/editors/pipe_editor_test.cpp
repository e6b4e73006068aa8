#include "editors/pipe_editor.h"

#include <gtest/gtest.h>

#include <map>

#include "editor_fixture.h"

namespace vt {
namespace {

using test::EditorFixture;

// Two schedules held in memory; one is hidden from the pipe editor.
class FakeSchedules : public ScheduleSource {
 public:
  std::vector<ScheduleRow> rows{{"{K-STEEL}", "Steel Sch 40", "", 120.0, 0.00015, 0.012, false},
                                {"{K-HIDDEN}", "Hidden one", "", 130.0, 0.000005, 0.009, true},
                                {"{K-PVC}", "PVC Sch 80", "", 150.0, 0.000005, 0.009, false}};
  std::map<std::string, std::vector<SizeRow>> sizeRows{
      {"{K-STEEL}", {{2.0, 2.067}, {3.0, 3.068}, {5.0, 5.047}}}, {"{K-PVC}", {{2.0, 1.939}}}};

  std::vector<ScheduleRow> schedulesByDescription() const override {
    auto r = rows;
    std::sort(r.begin(), r.end(), [](auto& a, auto& b) { return a.description < b.description; });
    return r;
  }
  std::optional<ScheduleRow> schedule(const std::string& key) const override {
    for (auto& r : rows)
      if (r.key == key) return r;
    return std::nullopt;
  }
  std::vector<SizeRow> sizes(const std::string& key) const override {
    auto it = sizeRows.find(key);
    return it == sizeRows.end() ? std::vector<SizeRow>{} : it->second;
  }
};

struct PipeFields {
  const char* id;
  const char* length;
  const char* dia;
  const char* friction;
  const char* message;
  const char* focus;
};

TEST(PipeEditor, AcceptanceStopsAtTheFirstBadFieldInOrder) {
  const PipeFields cases[] = {
      {"  ", "x", "0", "0", "Error - Need ID!", "EditPipeID"},
      {"P9", "", "2", "130", "Bad length!", "EditLength"},
      {"P9", "abc", "2", "130", "Bad length!", "EditLength"},
      {"P9", "0", "0", "130", "Bad length!", "EditLength"},
      {"P9", "-5", "2", "130", "Bad length!", "EditLength"},
      {"P9", "10", "", "130", "Bad diameter!", "EditIdia"},
      {"P9", "10", "-1", "0", "Bad diameter!", "EditIdia"},
      {"P9", "10", "2", "0", "Bad friction value!", "EditFriction"},
      {"P9", "10", "2", "", "Bad friction value!", "EditFriction"},
      {"P9", "10", "2", "-130", "Bad friction value!", "EditFriction"},
      {"g1", "10", "2", "130", "Error - ID already used! Enter a new ID...", "EditPipeID"},
  };
  for (const auto& c : cases) {
    EditorFixture f;
    f.add(0, kGauge, "G1");
    PipeEditor ed(f.p, f.newSetup(kPipe), nullptr);
    ed.id = c.id;
    ed.length = c.length;
    ed.insideDia = c.dia;
    ed.friction = c.friction;
    EXPECT_FALSE(ed.accept()) << c.message;
    ASSERT_EQ(f.prompt.shown.size(), 1u) << c.message;
    EXPECT_EQ(f.prompt.shown[0].text, c.message);
    EXPECT_EQ(f.prompt.shown[0].kind, MsgKind::Error);
    EXPECT_EQ(ed.focus(), c.focus) << c.message;
    EXPECT_EQ(f.p.IDList.size(), 1u);
  }
}

TEST(PipeEditor, NewPipeIsWrittenInInternalUnitsAndSeedsTheNextOne) {
  EditorFixture f;
  f.p.sys.HeadCalc = 2;
  EditorSetup s = f.newSetup(kPipe);
  PipeEditor ed(f.p, s, nullptr);
  EXPECT_EQ(ed.caption(), "Insert New Pipe");
  EXPECT_EQ(ed.length, "100");
  ed.id = " P1 ";
  ed.length = "250";
  ed.insideDia = "4.026";
  ed.friction = "0.15";  // millifeet
  ASSERT_TRUE(ed.accept());
  const Pipe& r = *f.p.pipe[s.elem];
  EXPECT_EQ(fromWide(r.ID, kIdLen), "P1");
  EXPECT_FLOAT_EQ(r.Length, 3000.0f);  // inches
  EXPECT_FLOAT_EQ(r.InsideDia, 4.026f);
  EXPECT_NEAR(r.Friction, 0.00015, 1e-12);
  EXPECT_EQ(fromShort(r.Schedule), "None");
  EXPECT_EQ(r.NomIndex, -1.0f);
  EXPECT_EQ(f.p.IDList.find("p1"), s.elem);
  EXPECT_EQ(f.p.ElemType[s.elem], kPipe);

  PipeEditor next(f.p, f.newSetup(kPipe), nullptr);
  EXPECT_EQ(next.length, "100");
  EXPECT_EQ(next.insideDia, "4.026");
  EXPECT_EQ(next.friction, "0.15");
  EXPECT_EQ(next.frictionLabel(), "Abs &Rough :");
  EXPECT_EQ(next.frictionUnit(), "millifeet");
}

TEST(PipeEditor, MetricRoughnessIsInMillimetres) {
  EditorFixture f;
  test::metricUnits(f.p);
  f.p.sys.HeadCalc = 2;
  EditorSetup s = f.newSetup(kPipe);
  PipeEditor ed(f.p, s, nullptr);
  EXPECT_EQ(ed.frictionUnit(), "mm");
  ed.id = "P1";
  ed.length = "30.48";  // metres
  ed.insideDia = "52.5";
  ed.friction = "0.05";
  ASSERT_TRUE(ed.accept());
  const Pipe& r = *f.p.pipe[s.elem];
  EXPECT_NEAR(r.Friction, 0.05 / 304.8, 1e-12);
  EXPECT_NEAR(r.Length, 1200.0, 1e-3);
  EXPECT_NEAR(r.InsideDia, 52.5 / 25.4, 1e-5);
  // The roughness pick list is in millifeet; a metric field gets the millimetre value.
  ed.pickFriction(5);  // "Iron wrought 0.15"
  EXPECT_EQ(ed.friction, "0.04572");
}

TEST(PipeEditor, SchedulesFillNominalSizesDiameterAndFriction) {
  EditorFixture f;
  FakeSchedules sched;
  EditorSetup s = f.newSetup(kPipe);
  PipeEditor ed(f.p, s, &sched);
  EXPECT_EQ(ed.scheduleItems(), (std::vector<std::string>{"None", "PVC Sch 80", "Steel Sch 40"}));
  EXPECT_FALSE(ed.nominalEnabled());
  EXPECT_EQ(ed.nominalItems(), std::vector<std::string>{"NA"});
  ed.setSchedule(2);
  EXPECT_TRUE(ed.nominalEnabled());
  EXPECT_EQ(ed.nominalItems(), (std::vector<std::string>{"NA", "2", "3", "5"}));
  EXPECT_EQ(ed.friction, "120");
  ed.setNominal(2);
  EXPECT_EQ(ed.insideDia, "3.068");
  ed.id = "P1";
  ASSERT_TRUE(ed.accept());
  const Pipe& r = *f.p.pipe[s.elem];
  EXPECT_EQ(fromShort(r.Schedule), "{K-STEEL}");
  EXPECT_EQ(r.NomIndex, 10.0f);  // 3 in
  EXPECT_EQ(f.p.last.LastSchedule, "{K-STEEL}");
  EXPECT_EQ(f.p.last.LastNomIndex, 10);

  // The next new pipe offers the same schedule and size.
  PipeEditor next(f.p, f.newSetup(kPipe), &sched);
  EXPECT_EQ(next.scheduleIndex(), 2);
  EXPECT_EQ(next.nominalIndex(), 2);
  EXPECT_EQ(next.insideDia, "3.068");
  next.setSchedule(0);
  EXPECT_FALSE(next.nominalEnabled());
  EXPECT_EQ(next.nominalItems(), std::vector<std::string>{"NA"});
}

TEST(PipeEditor, MillimetreTableShowsMetricSizes) {
  EditorFixture f;
  test::metricUnits(f.p);
  FakeSchedules sched;
  PipeEditor ed(f.p, f.newSetup(kPipe), &sched);
  ed.setSchedule(2);
  EXPECT_EQ(ed.nominalItems(), (std::vector<std::string>{"NA", "50", "80", "125"}));
  EXPECT_EQ(ed.nominalUnit(), "mm");
  ed.setNominal(3);
  EXPECT_EQ(ed.insideDia, "128.194");  // 5.047 in
}

TEST(PipeEditor, ExistingPipeRenamesAndSolvedFlag) {
  EditorFixture f;
  int g = f.add(0, kGauge, "G1");
  int n = f.add(0, kPipe, "P1");
  Pipe& rec = *f.p.pipe[n];
  rec.Length = 1200;
  rec.InsideDia = 2;
  rec.Friction = 130;
  toShort(std::string("None"), rec.Schedule);
  rec.NomIndex = -1;
  f.p.SetSolved(true);

  PipeEditor ed(f.p, f.existingSetup(n), nullptr);
  EXPECT_EQ(ed.caption(), "Edit Existing Pipe");
  EXPECT_EQ(ed.length, "100.00");
  ed.id = "G1";
  EXPECT_FALSE(ed.accept());
  EXPECT_EQ(f.lastText(), "Error - ID already used! Enter a new ID...");
  EXPECT_EQ(f.p.IDList.find("G1"), g);

  // A change of letter case only is the pipe's own ID; only the description changes: still solved.
  ed.id = "p1";
  ed.description = "suction";
  ASSERT_TRUE(ed.accept());
  EXPECT_TRUE(f.p.proj.Solved);
  EXPECT_EQ(f.p.IDList.find("P1"), n);
  EXPECT_EQ(f.p.IDList.entries().size(), 2u);
  EXPECT_EQ(fromWide(rec.Description, kDescLen), "suction");

  PipeEditor again(f.p, f.existingSetup(n), nullptr);
  again.length = "101";
  ASSERT_TRUE(again.accept());
  EXPECT_FALSE(f.p.proj.Solved);
}

TEST(PipeEditor, ClipboardEntryKeepsTheSystemUntouched) {
  EditorFixture f;
  f.add(0, kPipe, "P1");
  Pipe clip = newPipe();
  toWide("P1", clip.ID, kIdLen);
  clip.Length = 120;
  clip.InsideDia = 2;
  clip.Friction = 130;
  PipeEditor ed(f.p, f.clipSetup(kPipe, &clip), nullptr);
  EXPECT_EQ(ed.caption(), "Edit Clipboard Pipe");
  ed.id = "P1";  // the clipboard's copy may share its origin's ID
  ASSERT_TRUE(ed.accept());
  EXPECT_EQ(ed.clipCaption(), "");
  ed.id = "P2";
  ed.length = "20";
  ASSERT_TRUE(ed.accept());
  EXPECT_EQ(ed.clipCaption(), "P2");
  EXPECT_EQ(fromWide(clip.ID, kIdLen), "P2");
  EXPECT_FLOAT_EQ(clip.Length, 240.0f);
  EXPECT_EQ(f.p.IDList.size(), 1u);
  EXPECT_EQ(f.p.IDList.find("P2"), 0);
}

}  // namespace
}  // namespace vt
