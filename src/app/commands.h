// The main window's command flows: which questions are asked, in which order, and what each answer
// does. The window supplies the pieces that need other subsystems or a screen through ShellHost.
#pragma once

#include <array>
#include <string>

#include "model/project.h"

namespace vt {

inline constexpr int kRecentFiles = 5;

// What the main window shows and keeps between commands.
struct ShellState {
  std::string projectFile;  // full path in the project-file label; empty for an unsaved new project
  std::string projectName;  // its bare file name
  std::array<std::string, kRecentFiles> RecentFiles;  // index 0 the most recent
  bool SaveAsFlag = false;
  std::string ProjectFolder;  // ends with '/'
  std::string DataFolder;     // ends with '/'
  std::string ProgramFolder;  // ends with '/'
  std::string DesktopFolder;  // ends with '/'
  std::string statusText;
  std::string sysTypeText = "Open source and discharge";
  std::string lineText = "Main Line";
  // A solution was run since the program started or the last project file was opened.
  bool HasLastSolution = false;

  bool reopenMenuVisible() const { return !RecentFiles[0].empty(); }
};

// How reading a project file ended.
enum class ReadResult {
  NotRead,  // nothing was touched (no name, or no such file)
  Failed,   // the project is empty (not a project file, or damaged): the label is cleared
  Ok,
};

// The pieces of a command that belong to other subsystems or to the screen.
class ShellHost {
 public:
  virtual ~ShellHost() = default;
  // getProjData: empties the project and reads the file into it (messages shown by the reader).
  virtual ReadResult readProject(const std::string& path) = 0;
  // SaveProj into a new file of that name (clipboard question included); false when it failed
  // (the failure has been shown).
  virtual bool writeProject(const std::string& path) = 0;
  virtual void readClipboardFile(const std::string& path) = 0;
  virtual void closeSolutionWindow() = 0;
  virtual void readDefaults() = 0;   // get_defaults, as New does
  virtual void writeDefaults() = 0;  // put_defaults, at exit
  virtual void repaint() = 0;
  virtual void restartProgram() = 0;  // ends this run without the exit question and starts again
  virtual void closeScheduleTables() = 0;
  virtual void reopenScheduleTables() = 0;
  // Solve, Analyze and Report.
  virtual void runSolution(bool analyze) = 0;
  virtual void setSolutionCaption(const std::string& caption) = 0;
  virtual void openReports() = 0;
  virtual void redrawWorkspace() = 0;  // clear, reset the scroll and draw the current line again
};

class ShellCommands {
 public:
  ShellCommands(Project& project, ShellState& state, ShellHost& host)
      : p_(project), s_(state), host_(host) {}

  // Where from New was started: its button or menu item re-reads the configured defaults.
  enum class Origin { Command, Other };

  void UpdateFileList(const std::string& previous, const std::string& opened);

  void New(Origin origin = Origin::Command);
  void Open();
  void Reopen(int k);
  // Save returns true when the project was written.
  bool Save();
  bool SaveAs();
  // Opens a project by name (start-up, Open, Reopen): getProjData with the window's bookkeeping
  // (solution window, recent files, project-file label, system type and line texts).
  ReadResult openProject(const std::string& path);
  // True when the window may close; the configuration has then been written.
  bool ExitQuery();

  void ToggleExpert() { p_.proj.Expert = !p_.proj.Expert; }
  void ResetConfigFile();
  void ResetPipeSchedules();
  void CreateFolderShortcut();

  void Solve();
  void Analyze();
  void Report();

  // The system type text: creation uses the long forced-flow text, later views the short one.
  static std::string sysTypeText(int sysType, bool atCreation);
  static std::string lineText(int line);
  static std::string bareName(const std::string& path);
  static std::string folderOf(const std::string& path);  // with a trailing '/'
  static std::string fixDoubleExtension(std::string name);

  static constexpr const char* kProjectFilter = "Project files (*.pzn)|*.pzn";
  static constexpr const char* kOpenFilter = "Project files (*.pzn)|*.pzn|Clipboard files (*.clip)|*.clip";

 private:
  // Asks the save-first question; false when the command must stop.
  bool offerSave(const std::string& question, bool cancelContinues);
  void askProjectFolder(const std::string& folder);
  Answer ask(MsgKind kind, const std::string& text, Buttons buttons, Answer def = Answer::None) {
    return p_.prompter().message(kind, text, buttons, def);
  }

  Project& p_;
  ShellState& s_;
  ShellHost& host_;
};

}  // namespace vt
