#include "editors/project_info.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "data/table.h"
#include "editor_fixture.h"

namespace vt {
namespace {

namespace fs = std::filesystem;

TEST(ProjectInfo, AcceptWritesTheTextsAndMarksModified) {
  test::EditorFixture f;
  f.p.proj.Info[kInfoClient] = "ACME";
  f.p.SetSolved(true);
  ProjectInfoForm form(f.p);
  EXPECT_EQ(form.fields[1], "ACME");
  form.accept();  // nothing changed: still modified and unsolved
  EXPECT_TRUE(f.p.proj.Modified);
  EXPECT_FALSE(f.p.proj.Solved);
  form.fields[kInfoEmail] = std::string(50, 'x');
  form.clear();
  form.fields[kInfoEmail] = std::string(50, 'x');
  form.accept();
  EXPECT_EQ(f.p.proj.Info[kInfoClient], "");
  EXPECT_EQ(f.p.proj.Info[kInfoEmail], std::string(40, 'x'));
}

TEST(ProjectInfo, DefaultWritesEachExistingRecord) {
  test::EditorFixture f;
  fs::path dir = fs::temp_directory_path() / "vt_editors_projinfo";
  fs::remove_all(dir);
  fs::create_directories(dir);
  std::string config = (dir / "VTDefs.XML").string();
  {
    Table t = Table::load(std::string(VORTELAN_SOURCE_DATA_DIR) + "/VTDefs.XML");
    if (Row* fax = t.locate({{"Parameter", "PFax"}})) t.remove(*fax);
    t.saveAs(config);
  }
  ProjectInfoForm form(f.p);
  for (size_t i = 0; i < 9; ++i) form.fields[i] = "text " + std::to_string(i);
  f.prompt.answers = {Answer::No, Answer::Yes};
  EXPECT_FALSE(form.makeDefault(config));
  EXPECT_EQ(f.lastText(), "Use this information for new projects?");
  ASSERT_TRUE(form.makeDefault(config));
  Table t = Table::load(config);
  EXPECT_EQ(t.locate({{"Parameter", "PProject"}})->str("Desc"), "text 0");
  EXPECT_EQ(t.locate({{"Parameter", "PEmail"}})->str("Desc"), "text 8");
  EXPECT_EQ(t.locate({{"Parameter", "PFax"}}), nullptr);
  EXPECT_EQ(f.p.proj.Info[0], "");
  EXPECT_FALSE(f.p.proj.Modified);
  // A configuration that cannot be read is reported, not half-written.
  EXPECT_FALSE(form.makeDefault((dir / "missing.XML").string()));
  EXPECT_NE(f.lastText().find("Cannot open table file"), std::string::npos);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace vt
