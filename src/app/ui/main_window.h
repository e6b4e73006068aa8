// The main window: menus and command toolbar, the workspace as its central widget, the status bar
// with the project's flags, and the command flows of the application (through ShellCommands).
#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/commands.h"
#include "files/element_clipboard.h"
#include "files/project_file.h"
#include "model/project.h"

class QAction;
class QLabel;
class QMenu;
class QToolBar;

namespace vt {

class BranchHelpWindow;
class QtPrompter;
class QuickStartWindow;
class SolutionWindow;
class WorkspaceWidget;
struct EditorContext;

// The parts of the program that other subsystems provide. A command whose part is missing stays
// disabled.
struct ShellServices {
  // getProjData into the window's project and clipboard.
  std::function<ProjReadResult(const std::string& path)> readProject;
  // SaveProj into a file (through a temporary file); false when it failed (already shown).
  std::function<bool(const std::string& path, int16_t sliderPosition)> writeProject;
  std::function<void(const std::string& path)> readClipboardFile;  // Open of a ".clip" file
  std::function<void()> getDefaults;  // get_defaults (start-up and New)
  std::function<void()> putDefaults;  // put_defaults (exit)
  std::function<void()> closeScheduleTables, reopenScheduleTables;
  // Dialogs; the bool ones return whether the project was changed.
  std::function<bool(QWidget*)> unitsDialog, systemOptions, projectInfo;
  std::function<void(QWidget*)> pipeSchedules, reports, groupEdit;
  std::function<void()> toggleClipboard, saveClipboard, openClipboard;
  std::function<bool()> clipboardVisible;
  EditorContext* editorContext = nullptr;
  // Where the bundled help lives (its index.html).
  std::string helpFile;
};

class MainWindow : public QMainWindow, private ShellHost {
  Q_OBJECT
 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  Project& project() { return project_; }
  ElementClipboard& clipboard() { return clipboard_; }
  ShellState& state() { return state_; }
  ShellCommands& commands() { return *cmds_; }
  WorkspaceWidget* workspace() const { return workspace_; }
  SolutionWindow* solutionWindow() const { return solution_; }
  QuickStartWindow* quickStartWindow() const { return quick_; }
  BranchHelpWindow* branchHelpWindow() const { return branch_; }
  // The message boxes of the whole program; tests put a scripted prompter here.
  void setPrompter(Prompter* prompter);
  QtPrompter& qtPrompter() { return *qtPrompter_; }

  void setServices(ShellServices services);
  ShellServices& services() { return services_; }
  // The creation steps that follow the configuration: open the start-up project (when given),
  // the flags of the help windows, the last-used values, the texts; the quick start when asked for.
  void initialise(const std::string& startupProject);

  // Commands by the names of their menu items and buttons (e.g. "New1", "sbtnSolve").
  QAction* action(const std::string& name) const;
  QLabel* statusLabel() const { return labStatus_; }
  QLabel* projectFileLabel() const { return LabProjFileDat_; }
  QLabel* systemTypeLabel() const { return labSysType_; }
  QLabel* modifiedLabel() const { return labModified_; }
  QLabel* solvedLabel() const { return labSolved_; }
  QMenu* reopenMenu() const { return reopenMenu_; }

  // The configuration-visible state the exit writes.
  bool restarting() const { return restarting_; }

 public slots:
  // Status bar, menus' check marks and enabled states, recent files, captions.
  void refresh();
  void showQuickStart();
  void showBranchHelp();
  void showHelp();
  void showAbout();
  void showLastSolution();

 protected:
  void closeEvent(QCloseEvent* e) override;
  void changeEvent(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // ShellHost
  ReadResult readProject(const std::string& path) override;
  bool writeProject(const std::string& path) override;
  void readClipboardFile(const std::string& path) override;
  void closeSolutionWindow() override;
  void readDefaults() override;
  void writeDefaults() override;
  void repaint() override;
  void restartProgram() override;
  void closeScheduleTables() override;
  void reopenScheduleTables() override;
  void runSolution(bool analyze) override;
  void setSolutionCaption(const std::string& caption) override;
  void openReports() override;
  void redrawWorkspace() override;

  void buildActions();
  void buildMenus();
  void buildToolBar();
  void buildStatusBar();
  void wireWorkspace();
  QAction* makeAction(const std::string& name, const QString& text, std::function<void()> run,
                      const QKeySequence& key = {});
  void updateAvailability();
  void afterProjectReplaced();
  void runDialog(const std::function<bool(QWidget*)>& dialog, bool redraw, bool changesProject = true);
  void activated();
  void setBusyUi(bool busy);

  Project project_;
  ElementClipboard clipboard_;
  ShellState state_;
  std::unique_ptr<ShellCommands> cmds_;
  std::unique_ptr<QtPrompter> qtPrompter_;
  ShellServices services_;

  WorkspaceWidget* workspace_ = nullptr;
  SolutionWindow* solution_ = nullptr;
  QuickStartWindow* quick_ = nullptr;
  BranchHelpWindow* branch_ = nullptr;

  std::map<std::string, QAction*> actions_;
  QMenu* reopenMenu_ = nullptr;
  QAction* reopenMenuAction_ = nullptr;
  QAction* recent_[kRecentFiles] = {};
  QToolBar* commandBar_ = nullptr;
  QLabel* labStatus_ = nullptr;
  QLabel* LabProjFileDat_ = nullptr;
  QLabel* labSysType_ = nullptr;
  QLabel* labModified_ = nullptr;
  QLabel* labSolved_ = nullptr;
  bool restarting_ = false;
  bool exitAccepted_ = false;
};

}  // namespace vt
