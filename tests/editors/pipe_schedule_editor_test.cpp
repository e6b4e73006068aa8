#include "editors/pipe_schedule_editor.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "data/table.h"
#include "editor_fixture.h"
#include "model/fixed_tables.h"
#include "model/id_list.h"

namespace vt {
namespace {

namespace fs = std::filesystem;

struct ScheduleFixture : test::EditorFixture {
  Table sched = makeScheduleTable();
  Table sizes = makeSizeTable();
  PipeScheduleDb db{sched, sizes};
  ScheduleFixture() {
    sched.append({{"Index", "{A}"}, {"Description", "Steel Sch 40"}, {"HWCoef", 120.0}, {"SpecRough", 0.00015},
                  {"MannCoef", 0.012}, {"HideSched", false}});
    sched.append({{"Index", "{B}"}, {"Description", "Copper K"}, {"HWCoef", 140.0}, {"SpecRough", 0.000005},
                  {"MannCoef", 0.011}, {"HideSched", true}});
    sizes.append({{"Index", "{A}"}, {"NomSize", 10.0}, {"InDia", 10.02}});
    sizes.append({{"Index", "{A}"}, {"NomSize", 12.0}, {"InDia", 12.0}});
    sizes.append({{"Index", "{B}"}, {"NomSize", 1.0}, {"InDia", 0.995}});
  }
};

TEST(PipeScheduleEditor, ViewingShowsTheFirstScheduleInDescriptionOrder) {
  ScheduleFixture f;
  PipeScheduleEditor ed(f.db, f.p, "");
  EXPECT_EQ(ed.listItems(), (std::vector<std::string>{"Copper K", "Steel Sch 40"}));
  EXPECT_EQ(ed.gridHeader(0), "Nom Dia (inch)");
  EXPECT_EQ(ed.roughNote(), "Default Spec Roughness\r\nfor this material in feet");
  ed.opened();
  EXPECT_EQ(ed.description, "Copper K");
  EXPECT_TRUE(ed.hide);
  ed.select(1);
  EXPECT_EQ(ed.hwCoef, "120");
  EXPECT_EQ(ed.specRough, "0.00015");
  EXPECT_EQ(ed.mannCoef, "0.012");
  EXPECT_EQ(ed.nominalText(16), "10");
  EXPECT_EQ(ed.inDia[16], "10.020");
  EXPECT_EQ(ed.inDia[17], "12");
  EXPECT_EQ(ed.inDia[15], "");
  EXPECT_FALSE(ed.modified());
  EXPECT_EQ(ed.editLabel(), "");
}

TEST(PipeScheduleEditor, CloneNeedsAUniqueDescription) {
  ScheduleFixture f;
  PipeScheduleEditor ed(f.db, f.p, "");
  ed.opened();
  ed.cloneSchedule({1});
  EXPECT_EQ(f.lastText(), "Modify this new schedule as desired, then click Update to save!");
  EXPECT_TRUE(ed.modified());
  EXPECT_EQ(ed.editLabel(), "New Schedule");
  EXPECT_EQ(ed.description, "Steel Sch 40");
  EXPECT_FALSE(ed.update());
  EXPECT_EQ(f.lastText(), "A schedule with this exact description exists! Please enter a unique description...");
  EXPECT_EQ(ed.focus(), "Description");
  ed.description = "Steel Sch 40 lined";
  ed.inDia[17] = "11.5";
  ASSERT_TRUE(ed.update());
  EXPECT_EQ(ed.listItems().size(), 3u);
  EXPECT_EQ(f.sched.rowCount(), 3u);
  EXPECT_EQ(f.sizes.rowCount(), 5u);
  // The clone has its own key and its sizes.
  std::string key;
  for (auto& s : f.db.schedulesByDescription())
    if (s.description == "Steel Sch 40 lined") key = s.key;
  ASSERT_EQ(key.size(), 38u);
  auto sz = f.db.sizes(key);
  ASSERT_EQ(sz.size(), 2u);
  EXPECT_DOUBLE_EQ(*sz[1].inDia, 11.5);
}

TEST(PipeScheduleEditor, UpdateChecksInOrder) {
  struct Case {
    const char *rough, *desc, *cell, *message;
    MsgKind kind;
  };
  const Case cases[] = {
      {"x", "", "y", "Bad Spec Rough value - Please correct!", MsgKind::Warning},
      {"", "  ", "y", "Need Description!", MsgKind::Warning},
      {"", "Copper K", "y", "A schedule with this exact description exists! Please enter a unique description...",
       MsgKind::Error},
      {"", "New one", "4,5", "Bad diameter value: 4,5 - Please correct!", MsgKind::Warning},
  };
  for (const auto& c : cases) {
    ScheduleFixture f;
    PipeScheduleEditor ed(f.db, f.p, "");
    ed.opened();
    ed.newSchedule();
    EXPECT_EQ(ed.focus(), "Description");
    ed.specRough = c.rough;
    ed.description = c.desc;
    ed.inDia[12] = c.cell;
    EXPECT_FALSE(ed.update());
    EXPECT_EQ(f.lastText(), c.message);
    EXPECT_EQ(f.prompt.shown.back().kind, c.kind);
    EXPECT_EQ(f.sched.rowCount(), 2u);
  }
  ScheduleFixture f;
  PipeScheduleEditor ed(f.db, f.p, "");
  ed.opened();
  ed.newSchedule();
  ed.description = "New one";
  ed.inDia[12] = "4,5";
  EXPECT_FALSE(ed.update());
  EXPECT_EQ(ed.focus(), "grid");
  EXPECT_EQ(ed.focusRow(), 12);
}

TEST(PipeScheduleEditor, EditingAnExistingScheduleReplacesItsSizes) {
  ScheduleFixture f;
  PipeScheduleEditor ed(f.db, f.p, "");
  ed.opened();
  ed.select(1);
  ed.inDia[17] = "";
  ed.inDia[16] = "10.25";
  ed.fieldChanged();
  EXPECT_EQ(ed.editLabel(), "Editing Existing Schedule");
  f.prompt.answers = {Answer::No};
  EXPECT_FALSE(ed.update());
  EXPECT_EQ(f.lastText(), "Update this schedule?");
  EXPECT_EQ(f.db.sizes("{A}").size(), 2u);
  f.prompt.answers.push_back(Answer::Yes);
  ASSERT_TRUE(ed.update());
  auto sz = f.db.sizes("{A}");
  ASSERT_EQ(sz.size(), 1u);
  EXPECT_DOUBLE_EQ(*sz[0].inDia, 10.25);
  EXPECT_EQ(f.db.schedule("{A}")->description, "Steel Sch 40");
  EXPECT_EQ(ed.selectedIndex(), 1);
  EXPECT_FALSE(ed.modified());
}

TEST(PipeScheduleEditor, MillimetreModeConvertsInsideDiameters) {
  ScheduleFixture f;
  test::metricUnits(f.p);
  PipeScheduleEditor ed(f.db, f.p, "");
  EXPECT_EQ(ed.unitMode(), 'M');
  EXPECT_EQ(ed.gridHeader(1), "Inside Dia (mm)");
  EXPECT_EQ(ed.nominalText(16), "250");
  ed.opened();
  ed.select(1);
  EXPECT_EQ(ed.inDia[17], scheduleInDiaText(12.0 / 0.03937));
  ed.inDia[16] = "254.5";
  ed.fieldChanged();
  ASSERT_TRUE(ed.update());
  auto sz = f.db.sizes("{A}");
  EXPECT_NEAR(*sz[0].inDia, 254.5 * 0.03937, 1e-9);
  EXPECT_EQ(ed.inDia[16], "254.500");
}

TEST(PipeScheduleEditor, TextsOfNumbers) {
  EXPECT_EQ(scheduleInDiaText(10.02), "10.020");
  EXPECT_EQ(scheduleInDiaText(12), "12");
  EXPECT_EQ(scheduleRoughText(0.00015), "0.00015");
  EXPECT_EQ(scheduleRoughText(0.0015), "0.0015");
  EXPECT_EQ(scheduleRoughText(1), "1");
}

TEST(PipeScheduleEditor, RemoveUntilEmpty) {
  ScheduleFixture f;
  PipeScheduleEditor ed(f.db, f.p, "");
  ed.opened();
  ed.remove({0, 1});
  EXPECT_EQ(f.lastText(), "Select only one (1) Schedule at a time to remove!");
  f.prompt.answers = {Answer::No};
  ed.remove({0});
  EXPECT_EQ(f.lastText(), "The pipe schedule 'Copper K' will be removed! (This action may not be reversible!) Continue?");
  EXPECT_EQ(ed.listItems().size(), 2u);
  f.prompt.answers = {Answer::No, Answer::Yes, Answer::Yes};
  ed.remove({0});
  EXPECT_EQ(ed.listItems(), std::vector<std::string>{"Steel Sch 40"});
  EXPECT_EQ(f.sizes.rowCount(), 2u);
  ed.remove({0});
  EXPECT_TRUE(ed.listItems().empty());
  EXPECT_EQ(f.sizes.rowCount(), 0u);
  ed.cloneSchedule({});
  EXPECT_EQ(f.lastText(), "You do not have any Schedules to edit!");
  ed.remove({});
  EXPECT_EQ(f.lastText(), "You do not have any Schedules to edit!");
}

TEST(PipeScheduleEditor, ExportAndImportTwice) {
  ScheduleFixture f;
  fs::path file = fs::temp_directory_path() / "vt_editors_test_export.vtpipe";
  fs::remove(file);
  PipeScheduleEditor ed(f.db, f.p, fs::temp_directory_path().string());
  ed.opened();
  ed.exportPress({});
  EXPECT_TRUE(ed.exportSelecting());
  EXPECT_EQ(ed.exportStatus(), "When finished selecting schedules, click Export button again...");
  f.prompt.fileNames = {file.string(), file.string(), file.string()};
  ed.exportPress({1});
  EXPECT_EQ(f.lastText(), file.string() + " pipe schedule file has been created!");
  EXPECT_FALSE(ed.exportSelecting());
  EXPECT_EQ(f.prompt.prompts.back(), "Save Pipe Schedule");

  ed.import();
  ed.import();
  EXPECT_EQ(f.prompt.prompts.back(), "Load pipe schedule(s)");
  auto all = f.db.schedulesByDescription();
  ASSERT_EQ(all.size(), 4u);
  std::vector<std::string> steelKeys;
  for (auto& s : all)
    if (s.description == "Steel Sch 40") steelKeys.push_back(s.key);
  ASSERT_EQ(steelKeys.size(), 3u);
  EXPECT_NE(steelKeys[0], steelKeys[1]);
  EXPECT_NE(steelKeys[1], steelKeys[2]);
  for (auto& k : steelKeys) EXPECT_EQ(f.db.sizes(k).size(), 2u);
  fs::remove(file);
}

TEST(PipeScheduleEditor, ExportChoiceEndsOnEditsAndBadImportAddsNothing) {
  ScheduleFixture f;
  PipeScheduleEditor ed(f.db, f.p, "");
  ed.opened();
  ed.exportPress({});
  ed.gridEntered();
  EXPECT_EQ(f.lastText(), "Export cancelled!");
  EXPECT_FALSE(ed.exportSelecting());
  EXPECT_TRUE(ed.modified());
  ed.newSchedule();
  EXPECT_EQ(f.lastText(), "Click Cancel to discard edits or Update to save!");
  ed.select(0);
  EXPECT_EQ(f.lastText(), "Editing cancelled!");

  EXPECT_THROW(f.db.importText("<DATAPACKET>broken\r\n"), TableError);
  EXPECT_THROW(f.db.importText("only one line"), TableError);
  EXPECT_EQ(f.sched.rowCount(), 2u);
}

}  // namespace
}  // namespace vt

namespace vt {
namespace {

TEST(PipeScheduleDb, ShippedTablesServeThePipeEditor) {
  Table sched = Table::load(std::string(VORTELAN_SOURCE_DATA_DIR) + "/PipeSched.XML");
  Table sizes = Table::load(std::string(VORTELAN_SOURCE_DATA_DIR) + "/PipeSizes.XML");
  PipeScheduleDb db(sched, sizes);
  auto all = db.schedulesByDescription();
  ASSERT_FALSE(all.empty());
  for (size_t i = 1; i < all.size(); ++i) EXPECT_LE(compareNoCase(all[i - 1].description, all[i].description), 0);
  for (auto& s : all) {
    EXPECT_EQ(s.key.size(), 38u) << s.description;
    for (auto& z : db.sizes(s.key)) EXPECT_GE(nominalPosition(static_cast<float>(z.nomSize), false), 0) << s.description;
  }
  // A round trip through the exchange text keeps every field of a schedule.
  std::string text = db.exportText({all[0].key});
  Table s2 = makeScheduleTable();
  Table z2 = makeSizeTable();
  PipeScheduleDb copy(s2, z2);
  EXPECT_EQ(copy.importText(text), 1);
  auto imported = copy.schedulesByDescription();
  ASSERT_EQ(imported.size(), 1u);
  EXPECT_EQ(imported[0].description, all[0].description);
  EXPECT_EQ(imported[0].oldIndex, all[0].oldIndex);
  EXPECT_EQ(imported[0].rough, all[0].rough);
  EXPECT_EQ(copy.sizes(imported[0].key).size(), db.sizes(all[0].key).size());
}

}  // namespace
}  // namespace vt
