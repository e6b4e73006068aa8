#include "app/commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace vt {
namespace {

namespace fs = std::filesystem;

int add(Project& p, int line, int type, const std::string& id) {
  int n = p.FirstFreeElem();
  p.createElement(n, type);
  p.setElemID(n, id);
  EXPECT_TRUE(p.insertInSeq(n, p.LineEnd[line] + 1));
  return n;
}

void buildSmallSystem(Project& p) {
  add(p, 0, kSupply, "S1");
  add(p, 0, kPipe, "P1");
  add(p, 0, kSupply, "S2");
}

void touch(const fs::path& f, const std::string& text = "x") { std::ofstream(f) << text; }
std::string slurp(const fs::path& f) {
  std::ifstream in(f);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Stands in for the window: reads a "project" by building a small system, writes a marker file.
struct FakeHost : ShellHost {
  Project& p;
  std::vector<std::string> calls;
  bool writeOk = true;
  ReadResult readAs = ReadResult::Ok;

  explicit FakeHost(Project& project) : p(project) {}
  ReadResult readProject(const std::string& path) override {
    calls.push_back("read " + path);
    if (!fs::exists(path)) return ReadResult::NotRead;
    p.ClearProject();
    if (readAs == ReadResult::Ok) buildSmallSystem(p);
    p.SetModified(false);
    return readAs;
  }
  bool writeProject(const std::string& path) override {
    calls.push_back("write " + path);
    if (writeOk) touch(path, "saved");
    return writeOk;
  }
  void readClipboardFile(const std::string& path) override { calls.push_back("clip " + path); }
  void closeSolutionWindow() override { calls.push_back("closeSolution"); }
  void readDefaults() override { calls.push_back("get_defaults"); }
  void writeDefaults() override { calls.push_back("put_defaults"); }
  void repaint() override {}
  void restartProgram() override { calls.push_back("restart"); }
  void closeScheduleTables() override { calls.push_back("closeTables"); }
  void reopenScheduleTables() override { calls.push_back("reopenTables"); }
  void runSolution(bool analyze) override { calls.push_back(analyze ? "analyze" : "solve"); }
  void setSolutionCaption(const std::string& c) override { calls.push_back("caption " + c); }
  void openReports() override { calls.push_back("reports"); }
  void redrawWorkspace() override {}
  bool called(const std::string& c) const { return std::find(calls.begin(), calls.end(), c) != calls.end(); }
};

class ShellCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("vt_shell_" + std::to_string(::getpid()) + "_" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir / "proj");
    fs::create_directories(dir / "data");
    fs::create_directories(dir / "prog");
    state.ProjectFolder = (dir / "proj").string() + "/";
    state.DataFolder = (dir / "data").string() + "/";
    state.ProgramFolder = (dir / "prog").string() + "/";
    state.DesktopFolder = (dir / "desk").string() + "/";
    project.setPrompter(&prompter);
  }
  void TearDown() override { fs::remove_all(dir); }

  fs::path dir;
  Project project;
  ScriptedPrompter prompter;
  ShellState state;
  FakeHost host{project};
  ShellCommands cmds{project, state, host};
};

TEST_F(ShellCommandsTest, RecentFilesKeepTheFilesOpenedBeforeTheCurrentOne) {
  state.RecentFiles = {"a", "b", "c", "d", "e"};
  // Opening a listed file takes it out; the file open so far goes on top; the last one drops off.
  cmds.UpdateFileList("cur", "c");
  EXPECT_EQ(state.RecentFiles, (std::array<std::string, 5>{"cur", "a", "b", "", "d"}));
  cmds.UpdateFileList("", "a");
  EXPECT_EQ(state.RecentFiles, (std::array<std::string, 5>{"cur", "", "b", "", "d"}));
  ShellState empty;
  ShellCommands c2(project, empty, host);
  c2.UpdateFileList("", "x");
  EXPECT_FALSE(empty.reopenMenuVisible());
  c2.UpdateFileList("first", "");
  EXPECT_TRUE(empty.reopenMenuVisible());
  EXPECT_EQ(empty.RecentFiles[0], "first");
}

TEST_F(ShellCommandsTest, NewAsksToSaveAModifiedProjectAndCancelKeepsIt) {
  buildSmallSystem(project);
  project.SetModified(true);
  prompter.answers = {Answer::Cancel};
  cmds.New();
  ASSERT_EQ(prompter.shown.size(), 1u);
  const ShownMessage& m = prompter.shown[0];
  EXPECT_EQ(m.text, "Current project has been modified, save before clearing?");
  EXPECT_EQ(m.kind, MsgKind::Warning);
  EXPECT_EQ(m.buttons, Buttons::YesNoCancel);
  EXPECT_EQ(project.tot_elems, 3);

  // Yes, but the save dialog is cancelled: the work is not thrown away.
  prompter.answers.push_back(Answer::Yes);
  cmds.New();
  EXPECT_EQ(prompter.prompts.back(), "Save Current Project File As:");
  EXPECT_EQ(project.tot_elems, 3);

  // No clears, closes the solution window and re-reads the configured defaults.
  state.projectFile = "/somewhere/old.pzn";
  prompter.answers.push_back(Answer::No);
  cmds.New();
  EXPECT_EQ(project.tot_elems, 0);
  EXPECT_TRUE(host.called("closeSolution"));
  EXPECT_TRUE(host.called("get_defaults"));
  EXPECT_EQ(state.projectFile, "");
  EXPECT_EQ(state.RecentFiles[0], "/somewhere/old.pzn");
  EXPECT_EQ(state.sysTypeText, "Open source and discharge");
  EXPECT_EQ(state.lineText, "Main Line");
}

TEST_F(ShellCommandsTest, NewOnAnUnmodifiedProjectAsksToClearUnlessExpert) {
  buildSmallSystem(project);
  project.SetModified(false);
  prompter.answers = {Answer::No};
  cmds.New(ShellCommands::Origin::Other);
  ASSERT_EQ(prompter.texts(), std::vector<std::string>{"Clear Workspace?"});
  EXPECT_EQ(prompter.shown[0].kind, MsgKind::Confirmation);
  EXPECT_EQ(project.tot_elems, 3);
  prompter.answers.push_back(Answer::Yes);
  cmds.New(ShellCommands::Origin::Other);
  EXPECT_EQ(project.tot_elems, 0);
  EXPECT_FALSE(host.called("get_defaults"));  // not from a button or menu item

  // Expert mode on an empty project: no question, nothing touched.
  prompter.shown.clear();
  cmds.ToggleExpert();
  cmds.New();
  EXPECT_TRUE(prompter.shown.empty());
  EXPECT_FALSE(host.called("get_defaults"));
}

TEST_F(ShellCommandsTest, OpenReadsProjectsAndClipboardFilesAndOffersTheFolder) {
  fs::create_directories(dir / "other");
  const fs::path file = dir / "other" / "pump station.PZN";
  touch(file);
  state.projectFile = state.ProjectFolder + "before.pzn";
  prompter.fileNames = {file.string()};
  prompter.answers = {Answer::Yes};
  cmds.Open();
  EXPECT_EQ(prompter.prompts, std::vector<std::string>{"Open VORTELAN File:"});
  EXPECT_TRUE(host.called("read " + file.string()));
  EXPECT_EQ(prompter.texts(),
            std::vector<std::string>{"Reset Project Folder to: " + (dir / "other").string() + "/?"});
  EXPECT_EQ(state.ProjectFolder, (dir / "other").string() + "/");
  EXPECT_EQ(state.projectFile, file.string());
  EXPECT_EQ(state.projectName, "pump station.PZN");
  EXPECT_EQ(state.RecentFiles[0], (dir / "proj" / "before.pzn").string());
  EXPECT_EQ(project.tot_elems, 3);

  // A modified project: the save question first; No goes on to a clipboard file in the same folder.
  project.SetModified(true);
  prompter.shown.clear();
  const fs::path clip = dir / "other" / "parts.clip";
  touch(clip);
  prompter.fileNames.push_back(clip.string());
  prompter.answers.push_back(Answer::No);
  cmds.Open();
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Current project has been modified, save first?"});
  EXPECT_TRUE(host.called("clip " + clip.string()));
}

TEST_F(ShellCommandsTest, ReopenOpensTheListedFileAndReordersTheList) {
  const fs::path a = dir / "proj" / "a.pzn";
  const fs::path b = dir / "proj" / "b.pzn";
  touch(a);
  touch(b);
  ASSERT_EQ(cmds.openProject(a.string()), ReadResult::Ok);
  ASSERT_EQ(cmds.openProject(b.string()), ReadResult::Ok);
  EXPECT_EQ(state.RecentFiles[0], a.string());
  cmds.Reopen(0);
  EXPECT_EQ(state.projectFile, a.string());
  EXPECT_EQ(state.RecentFiles[0], b.string());
  EXPECT_EQ(state.RecentFiles[1], "");
  EXPECT_EQ(project.tot_elems, 3);  // the old project was emptied before the read
  EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(ShellCommandsTest, AFileThatCouldNotBeReadLeavesNoLabel) {
  const fs::path good = dir / "proj" / "good.pzn";
  const fs::path bad = dir / "proj" / "bad.pzn";
  touch(good);
  touch(bad);
  // A missing file touches nothing.
  EXPECT_EQ(cmds.openProject((dir / "proj" / "none.pzn").string()), ReadResult::NotRead);
  EXPECT_EQ(state.projectFile, "");
  ASSERT_EQ(cmds.openProject(good.string()), ReadResult::Ok);
  host.readAs = ReadResult::Failed;
  EXPECT_EQ(cmds.openProject(bad.string()), ReadResult::Failed);
  EXPECT_EQ(state.projectFile, "");
  EXPECT_EQ(state.RecentFiles[0], good.string());
  EXPECT_TRUE(host.called("closeSolution"));  // the old project was emptied
  EXPECT_EQ(project.tot_elems, 0);
}

TEST_F(ShellCommandsTest, SaveWritesOnceWithASingleExtensionAndAsksBeforeOverwriting) {
  buildSmallSystem(project);
  project.SetModified(true);
  const std::string doubled = state.ProjectFolder + "line.PZN.pzn";
  prompter.fileNames = {doubled};
  EXPECT_TRUE(cmds.Save());
  const fs::path single = dir / "proj" / "line.pzn";
  EXPECT_TRUE(fs::exists(single));
  EXPECT_FALSE(fs::exists(doubled));
  EXPECT_EQ(state.projectFile, single.string());
  EXPECT_EQ(state.statusText, single.string() + " saved!");
  EXPECT_FALSE(project.proj.Modified);
  EXPECT_TRUE(prompter.shown.empty());  // same folder: no folder question

  // Save again: the name is known, the file exists, so the overwrite question comes.
  prompter.answers = {Answer::Yes};
  EXPECT_TRUE(cmds.Save());
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Do you want to save as line.pzn (overwrite)?"});
  EXPECT_EQ(prompter.shown[0].buttons, Buttons::YesNoCancel);
  EXPECT_EQ(prompter.shown[0].kind, MsgKind::Confirmation);

  // No: a second dialog; another existing name is then overwritten without a further question.
  const fs::path other = dir / "proj" / "other.pzn";
  touch(other, "old");
  prompter.shown.clear();
  prompter.answers.push_back(Answer::No);
  prompter.fileNames.push_back(other.string());
  EXPECT_TRUE(cmds.Save());
  EXPECT_EQ(prompter.prompts.back(), "Save Project File As:");
  EXPECT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(slurp(other), "saved");
  EXPECT_EQ(state.projectName, "other.pzn");

  // Cancel ends the command without writing.
  prompter.answers.push_back(Answer::Cancel);
  host.calls.clear();
  EXPECT_FALSE(cmds.Save());
  EXPECT_FALSE(host.called("write " + other.string()));
}

TEST_F(ShellCommandsTest, SaveAsAlwaysAsksForANameAndAFailedWriteKeepsModified) {
  buildSmallSystem(project);
  state.projectFile = state.ProjectFolder + "known.pzn";
  project.SetModified(true);
  host.writeOk = false;
  fs::create_directories(dir / "elsewhere");
  prompter.fileNames = {(dir / "elsewhere" / "x.pzn").string()};
  EXPECT_FALSE(cmds.SaveAs());
  EXPECT_EQ(prompter.prompts, std::vector<std::string>{"Save Current Project File As:"});
  EXPECT_FALSE(state.SaveAsFlag);
  EXPECT_TRUE(project.proj.Modified);
  EXPECT_EQ(state.projectFile, state.ProjectFolder + "known.pzn");
  EXPECT_EQ(state.statusText, "");

  // Written in another folder: the folder question.
  host.writeOk = true;
  prompter.fileNames.push_back((dir / "elsewhere" / "x.pzn").string());
  prompter.answers = {Answer::No};
  EXPECT_TRUE(cmds.SaveAs());
  EXPECT_EQ(prompter.texts(),
            std::vector<std::string>{"Reset Project Folder to: " + (dir / "elsewhere").string() + "/?"});
  EXPECT_EQ(state.ProjectFolder, (dir / "proj").string() + "/");
}

TEST_F(ShellCommandsTest, SaveOfAnEmptyProjectDoesNothing) {
  EXPECT_FALSE(cmds.Save());
  EXPECT_TRUE(prompter.prompts.empty());
  EXPECT_TRUE(host.calls.empty());
}

TEST_F(ShellCommandsTest, ExitQuestionDependsOnUnsavedWork) {
  struct Case {
    bool elements, modified;
    MsgKind kind;
    std::string text;
  };
  const Case cases[] = {
      {true, true, MsgKind::Warning, "Project has been modified, but not saved. Exit VORTELAN?"},
      {true, false, MsgKind::Confirmation, "Exit VORTELAN?"},
      {false, true, MsgKind::Confirmation, "Exit VORTELAN?"},
  };
  for (const Case& c : cases) {
    Project p;
    ScriptedPrompter sp;
    p.setPrompter(&sp);
    FakeHost h(p);
    ShellState s;
    s.projectFile = "/p/current.pzn";
    ShellCommands sc(p, s, h);
    if (c.elements) buildSmallSystem(p);
    p.proj.Modified = c.modified;
    sp.answers = {Answer::No, Answer::Yes};
    EXPECT_FALSE(sc.ExitQuery());
    EXPECT_FALSE(h.called("put_defaults"));
    EXPECT_TRUE(sc.ExitQuery());
    ASSERT_EQ(sp.shown.size(), 2u);
    EXPECT_EQ(sp.shown[0].text, c.text);
    EXPECT_EQ(sp.shown[0].kind, c.kind);
    EXPECT_EQ(sp.shown[0].buttons, Buttons::YesNo);
    EXPECT_TRUE(h.called("put_defaults"));
    EXPECT_EQ(s.RecentFiles[0], "/p/current.pzn");
  }
  // Unanswered, the default is No.
  ScriptedPrompter sp;
  project.setPrompter(&sp);
  EXPECT_FALSE(cmds.ExitQuery());
}

TEST_F(ShellCommandsTest, ResetConfigFileAsksTwiceThenDeletesAndRestarts) {
  const fs::path cfg = dir / "data" / "VTDefs.XML";
  touch(cfg);
  prompter.answers = {Answer::Yes, Answer::No};
  cmds.ResetConfigFile();
  EXPECT_TRUE(fs::exists(cfg));
  prompter.answers.insert(prompter.answers.end(), {Answer::Yes, Answer::Yes});
  cmds.ResetConfigFile();
  EXPECT_FALSE(fs::exists(cfg));
  EXPECT_TRUE(host.called("restart"));
  const std::vector<std::string> expected = {
      "Reset Config file? (WARNING: You should never really have to do this unless VORTELAN is not running "
      "correctly!  You will have to reset units, etc. after VORTELAN restarts!!!)",
      "Last chance to exit before reseting... Reset Config file?",
      "Reset Config file? (WARNING: You should never really have to do this unless VORTELAN is not running "
      "correctly!  You will have to reset units, etc. after VORTELAN restarts!!!)",
      "Last chance to exit before reseting... Reset Config file?",
      "Config file deleted! VORTELAN will now restart. If it doesn't, please manually restart...",
  };
  EXPECT_EQ(prompter.texts(), expected);
  EXPECT_EQ(prompter.shown[4].kind, MsgKind::Information);

  // Nothing to delete: the error names the file, no restart.
  host.calls.clear();
  prompter.shown.clear();
  prompter.answers.insert(prompter.answers.end(), {Answer::Yes, Answer::Yes});
  cmds.ResetConfigFile();
  EXPECT_EQ(prompter.texts().back(), "Config file could not be deleted. Try to manually delete " + cfg.string());
  EXPECT_EQ(prompter.shown.back().kind, MsgKind::Error);
  EXPECT_FALSE(host.called("restart"));
}

TEST_F(ShellCommandsTest, ResetPipeSchedulesReinstallsTheShippedTables) {
  touch(dir / "data" / "PipeSched.XML", "mine");
  touch(dir / "data" / "PipeSizes.XML", "mine");
  touch(dir / "prog" / "PipeSched.XML", "shipped sched");
  touch(dir / "prog" / "PipeSizes.XML", "shipped sizes");
  prompter.answers = {Answer::Yes, Answer::Yes};
  cmds.ResetPipeSchedules();
  EXPECT_EQ(slurp(dir / "data" / "PipeSched.XML"), "shipped sched");
  EXPECT_EQ(slurp(dir / "data" / "PipeSizes.XML"), "shipped sizes");
  EXPECT_EQ(host.calls, (std::vector<std::string>{"closeTables", "reopenTables"}));
  const std::vector<std::string> expected = {
      "Reinstall pipe schedules? WARNING: Any schedules (and settings) you have created might be lost! (To save "
      "your own schedules, export them so you can re-import them again)",
      "Last chance to exit before deleting current pipe schedules... Reset schedules? (WARNING: This action may "
      "not be reversible!!!",
      "Your pipe schedules have been re-installed!",
  };
  EXPECT_EQ(prompter.texts(), expected);

  // A deletion that fails (no file) reopens the tables and says so; the missing file comes back.
  fs::remove(dir / "data" / "PipeSched.XML");
  prompter.shown.clear();
  prompter.answers.insert(prompter.answers.end(), {Answer::Yes, Answer::Yes});
  cmds.ResetPipeSchedules();
  EXPECT_EQ(prompter.texts().back(), "Schedules could not be deleted");
  EXPECT_TRUE(fs::exists(dir / "data" / "PipeSched.XML"));

  // Unanswered, the first question defaults to No.
  prompter.shown.clear();
  host.calls.clear();
  cmds.ResetPipeSchedules();
  EXPECT_TRUE(host.calls.empty());
}

TEST_F(ShellCommandsTest, FolderShortcutLinksTheProjectFolder) {
  prompter.answers = {Answer::Yes};
  cmds.CreateFolderShortcut();
  const fs::path link = dir / "desk" / "VT Projects";
  ASSERT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(fs::read_symlink(link), dir / "proj");
  EXPECT_EQ(prompter.texts(),
            (std::vector<std::string>{
                "This will create a shortcut to your MyDocuments\\VORTELAN\\Projects folder on your Desktop. Continue?",
                "Project folder link was created on your Desktop!"}));
  // Made again over the old link.
  prompter.answers.push_back(Answer::Yes);
  cmds.CreateFolderShortcut();
  EXPECT_EQ(prompter.texts().back(), "Project folder link was created on your Desktop!");
}

TEST_F(ShellCommandsTest, SolveAnalyzeAndReportNeedElements) {
  cmds.Solve();
  cmds.Analyze();
  cmds.Report();
  EXPECT_EQ(prompter.texts(),
            (std::vector<std::string>{"No system to solve!", "No elements to analyze!", "Not a complete project!"}));
  for (const auto& m : prompter.shown) EXPECT_EQ(m.kind, MsgKind::Warning);
  EXPECT_TRUE(host.calls.empty());

  buildSmallSystem(project);
  project.CurLine = 3;  // an empty branch: the solve comes back to the main line
  cmds.Solve();
  cmds.Analyze();
  cmds.Report();
  EXPECT_EQ(host.calls, (std::vector<std::string>{"solve", "caption Analyzing...", "analyze", "reports"}));
  EXPECT_EQ(project.CurLine, 0);
  EXPECT_EQ(state.lineText, "Main Line");
  EXPECT_TRUE(state.HasLastSolution);
}

}  // namespace
}  // namespace vt
