#include "app/ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

#include "app/ui/help_windows.h"
#include "app/ui/qt_prompter.h"
#include "solver/solution.h"
#include "solver/ui/solution_window.h"
#include "workspace/layout.h"
#include "workspace/ui/workspace_widget.h"

#ifndef VORTELAN_VERSION
#define VORTELAN_VERSION "3.0.0"
#endif

namespace vt {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  setObjectName("TfMain");
  setWindowTitle("VORTELAN");
  resize(1100, 720);
  qtPrompter_ = std::make_unique<QtPrompter>(this, [this] { return project_.proj.Expert; });
  project_.setPrompter(qtPrompter_.get());
  cmds_ = std::make_unique<ShellCommands>(project_, state_, static_cast<ShellHost&>(*this));

  workspace_ = new WorkspaceWidget(project_, this);
  workspace_->setElementClipboard(&clipboard_);
  setCentralWidget(workspace_);
  solution_ = new SolutionWindow(project_, this);
  solution_->gotoElement = [this](int n) { workspace_->gotoElement(n); };
  solution_->solvedChanged = [this] { refresh(); };

  buildActions();
  buildMenus();
  buildToolBar();
  addToolBar(Qt::TopToolBarArea, workspace_->elementToolBar());
  buildStatusBar();
  wireWorkspace();
  // Pop-up hints of this window and its quick start are for those who have not switched them off.
  qApp->installEventFilter(this);

  // The model starts empty: the forced flow / reference pressure is not yet given.
  project_.sys.SysType = 1;
  project_.sys.SysFlowPress = kBlank;
  project_.CurLine = 0;
  state_.sysTypeText = ShellCommands::sysTypeText(project_.sys.SysType, true);
  updateAvailability();
  refresh();
}

MainWindow::~MainWindow() {
  // The windows that talk to the project go before it.
  delete solution_;
  solution_ = nullptr;
}

void MainWindow::setPrompter(Prompter* prompter) { project_.setPrompter(prompter ? prompter : qtPrompter_.get()); }

void MainWindow::setServices(ShellServices services) {
  services_ = std::move(services);
  if (services_.editorContext) workspace_->setEditorContext(services_.editorContext);
  solution_->runSystemOptions = services_.systemOptions ? std::function<void()>([this] {
    runDialog(services_.systemOptions, true);
  })
                                                        : std::function<void()>();
  auto& hooks = workspace_->hooks();
  hooks.addToClipboard = [this](int n) { return clipboard_.AddToClipboard(project_, n); };
  hooks.showClipboard = services_.toggleClipboard;
  hooks.groupEdit = services_.groupEdit ? std::function<void()>([this] { services_.groupEdit(this); })
                                        : std::function<void()>();
  updateAvailability();
}

// ---------------------------------------------------------------- actions and menus

QAction* MainWindow::makeAction(const std::string& name, const QString& text, std::function<void()> run,
                                const QKeySequence& key) {
  auto* a = new QAction(text, this);
  a->setObjectName(q(name));
  if (!key.isEmpty()) {
    a->setShortcut(key);
    a->setShortcutContext(Qt::WindowShortcut);
  }
  connect(a, &QAction::triggered, this, [run = std::move(run)] { run(); });
  actions_[name] = a;
  return a;
}

QAction* MainWindow::action(const std::string& name) const {
  auto it = actions_.find(name);
  return it == actions_.end() ? nullptr : it->second;
}

void MainWindow::buildActions() {
  auto fileNew = [this] {
    cmds_->New(ShellCommands::Origin::Command);
    afterProjectReplaced();
  };
  auto fileOpen = [this] { cmds_->Open(); afterProjectReplaced(); };
  auto fileSave = [this] { cmds_->Save(); refresh(); };
  makeAction("New1", "&New Project", fileNew);
  makeAction("Open1", "O&pen Project...", fileOpen);
  makeAction("Save1", "S&ave Project", fileSave);
  makeAction("SaveAs1", "Sa&ve Project As...", [this] { cmds_->SaveAs(); refresh(); });
  makeAction("SaveWorkspaceasjpg1", "Save Workspace as jpg", [this] { workspace_->saveWorkspaceAsJpg(); });
  makeAction("SaveClipboard1", "Save Clipboard", [this] { if (services_.saveClipboard) services_.saveClipboard(); });
  makeAction("OpenClipboard1", "Open Clipboard...", [this] { if (services_.openClipboard) services_.openClipboard(); });
  makeAction("CreateFolderShortcut1", "Create Folder Shortcut", [this] { cmds_->CreateFolderShortcut(); });
  makeAction("ResetPipeSchedules1", "Reset Pipe Schedules", [this] { cmds_->ResetPipeSchedules(); });
  makeAction("ResetConfigFile1", "Reset Config File", [this] { cmds_->ResetConfigFile(); });
  makeAction("Exit1", "E&xit", [this] { close(); });

  QAction* ids = makeAction("ShowElementnumbers1", "Show Element &IDs", [this] {
    workspace_->setShowElementIDs(!project_.proj.ShowElementIDs);
    refresh();
  });
  ids->setCheckable(true);
  makeAction("IDFont1", "ID Font", [this] { workspace_->chooseIdFont(); });
  makeAction("ShowClipboard1", "Show &Clipboard", [this] { if (services_.toggleClipboard) services_.toggleClipboard(); },
             QKeySequence(Qt::Key_F3));
  makeAction("ShowLastSolution2", "Show Last Solution", [this] { showLastSolution(); });
  makeAction("ShowQuickStart1", "&Quick Start", [this] { showQuickStart(); });
  makeAction("BranchHelp1", "&Branch Help", [this] { showBranchHelp(); });

  makeAction("Units1", "&Units...", [this] { runDialog(services_.unitsDialog, true, false); });
  QAction* expert = makeAction("ExpertModehintsoff2", "E&xpert Mode (confirm off)", [this] {
    cmds_->ToggleExpert();
    refresh();
  });
  expert->setCheckable(true);
  makeAction("GroupEdit1", "Group Edit/Find...", [this] {
    if (services_.groupEdit) services_.groupEdit(this);
    workspace_->DrawSystem();
    refresh();
  });
  makeAction("Project1", "&Project", [this] { runDialog(services_.projectInfo, false); });
  makeAction("System1", "S&ystem Configuration", [this] { runDialog(services_.systemOptions, true); });
  makeAction("PipeSchedules1", "Pipe S&chedules...", [this] {
    if (services_.pipeSchedules) services_.pipeSchedules(this);
  });
  makeAction("Report1", "&Report", [this] { cmds_->Report(); refresh(); });
  makeAction("Help1", "&Help F1", [this] { showHelp(); }, QKeySequence(Qt::Key_F1));
  makeAction("About1", "&About VORTELAN", [this] { showAbout(); });

  // The command toolbar's buttons.
  makeAction("sbtnNew", "&New ", fileNew);
  makeAction("sbtnOpen", "Ope&n ", fileOpen);
  makeAction("sbtnSave", "S&ave ", fileSave);
  makeAction("sbtnExit", "e&Xit ", [this] { close(); });
  makeAction("sbtnProject", "&Project", [this] { runDialog(services_.projectInfo, false); });
  makeAction("sbtnSystem", "S&ystem ", [this] { runDialog(services_.systemOptions, true); });
  makeAction("sbtnSched", "S&ched ", [this] { if (services_.pipeSchedules) services_.pipeSchedules(this); });
  makeAction("sbtnReport", "&Report", [this] { cmds_->Report(); refresh(); });
  makeAction("sbtnSolve", "&Solve ", [this] { cmds_->Solve(); refresh(); }, QKeySequence(Qt::Key_F8));
  makeAction("sbtnAnalyze", "&Analyze", [this] { cmds_->Analyze(); refresh(); });
}

void MainWindow::buildMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  file->setObjectName("File1");
  file->addAction(action("New1"));
  file->addAction(action("Open1"));
  reopenMenu_ = file->addMenu("&Reopen Project");
  reopenMenu_->setObjectName("Reopen1");
  reopenMenuAction_ = reopenMenu_->menuAction();
  for (int i = 0; i < kRecentFiles; ++i) {
    recent_[i] = reopenMenu_->addAction(QString());
    recent_[i]->setObjectName(QString("File%11").arg(i + 1));
    connect(recent_[i], &QAction::triggered, this, [this, i] {
      cmds_->Reopen(i);
      afterProjectReplaced();
    });
  }
  file->addSeparator();
  file->addAction(action("Save1"));
  file->addAction(action("SaveAs1"));
  file->addAction(action("SaveWorkspaceasjpg1"));
  file->addSeparator();
  file->addAction(action("SaveClipboard1"));
  file->addAction(action("OpenClipboard1"));
  file->addSeparator();
  file->addAction(action("CreateFolderShortcut1"));
  file->addAction(action("ResetPipeSchedules1"));
  file->addAction(action("ResetConfigFile1"));
  file->addSeparator();
  file->addAction(action("Exit1"));

  QMenu* view = menuBar()->addMenu("&View");
  view->setObjectName("View1");
  view->addAction(action("ShowElementnumbers1"));
  view->addAction(action("IDFont1"));
  view->addSeparator();
  view->addAction(action("ShowClipboard1"));
  view->addAction(action("ShowLastSolution2"));
  view->addSeparator();
  view->addAction(action("ShowQuickStart1"));
  view->addAction(action("BranchHelp1"));
  connect(view, &QMenu::aboutToShow, this, [this] {
    action("ShowLastSolution2")->setEnabled(state_.HasLastSolution && !solution_->isVisible());
  });

  QMenu* options = menuBar()->addMenu("&Options");
  options->setObjectName("Options1");
  options->addAction(action("Units1"));
  options->addAction(action("ExpertModehintsoff2"));
  options->addSeparator();
  options->addAction(action("GroupEdit1"));
  options->addAction(action("Project1"));
  options->addAction(action("System1"));
  options->addAction(action("PipeSchedules1"));

  menuBar()->addAction(action("Report1"));
  QMenu* help = menuBar()->addMenu("&Help");
  help->setObjectName("HelpMenu");
  help->addAction(action("Help1"));
  help->addAction(action("About1"));
}

void MainWindow::buildToolBar() {
  commandBar_ = addToolBar("Commands");
  commandBar_->setObjectName("CommandBar");
  commandBar_->setMovable(false);
  commandBar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
  for (const char* name : {"sbtnNew", "sbtnOpen", "sbtnSave", "sbtnExit"}) commandBar_->addAction(action(name));
  commandBar_->addSeparator();
  for (const char* name : {"sbtnProject", "sbtnSystem", "sbtnSched", "sbtnReport"})
    commandBar_->addAction(action(name));
  commandBar_->addSeparator();
  for (const char* name : {"sbtnSolve", "sbtnAnalyze"}) commandBar_->addAction(action(name));
  action("sbtnSolve")->setToolTip("Solve the system (F8)");
  action("sbtnAnalyze")->setToolTip("Check the system without solving it");
}

void MainWindow::buildStatusBar() {
  labStatus_ = new QLabel(this);
  labStatus_->setObjectName("labStatus");
  LabProjFileDat_ = new QLabel(this);
  LabProjFileDat_->setObjectName("LabProjFileDat");
  labSysType_ = new QLabel(this);
  labSysType_->setObjectName("labSysType");
  labModified_ = new QLabel(this);
  labModified_->setObjectName("labModified");
  labModified_->setStyleSheet("color: rgb(192,0,0)");
  labSolved_ = new QLabel(this);
  labSolved_->setObjectName("labSolved");
  labSolved_->setStyleSheet("color: rgb(0,128,0)");
  // A long project path gives way; the flags on the right always show.
  LabProjFileDat_->setMinimumWidth(40);
  LabProjFileDat_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  statusBar()->addWidget(labStatus_);
  statusBar()->addWidget(LabProjFileDat_, 1);
  statusBar()->addPermanentWidget(labSysType_);
  statusBar()->addPermanentWidget(labModified_);
  statusBar()->addPermanentWidget(labSolved_);
}

void MainWindow::wireWorkspace() {
  auto& hooks = workspace_->hooks();
  hooks.showLastSolution = [this] { showLastSolution(); };
  hooks.canShowLastSolution = [this] { return state_.HasLastSolution && !solution_->isVisible(); };
  connect(workspace_, &WorkspaceWidget::projectChanged, this, &MainWindow::refresh);
  connect(workspace_, &WorkspaceWidget::lineShown, this, [this](int line) {
    state_.lineText = ShellCommands::lineText(line);
    if (line > 0 && project_.proj.BranchHelpShown) showBranchHelp();
    refresh();
  });
}

// Commands whose part of the program is not there stay disabled rather than pretend.
void MainWindow::updateAvailability() {
  auto enable = [this](std::initializer_list<const char*> names, bool on) {
    for (const char* n : names) action(n)->setEnabled(on);
  };
  enable({"Open1", "sbtnOpen"}, bool(services_.readProject));
  enable({"Save1", "SaveAs1", "sbtnSave"}, bool(services_.writeProject));
  for (QAction* a : recent_) a->setEnabled(bool(services_.readProject));
  enable({"SaveClipboard1"}, bool(services_.saveClipboard));
  enable({"OpenClipboard1"}, bool(services_.openClipboard));
  enable({"ShowClipboard1"}, bool(services_.toggleClipboard));
  enable({"ResetPipeSchedules1"}, bool(services_.closeScheduleTables) && !state_.DataFolder.empty());
  enable({"ResetConfigFile1"}, !state_.DataFolder.empty());
  enable({"CreateFolderShortcut1"}, !state_.DesktopFolder.empty() && !state_.ProjectFolder.empty());
  enable({"Units1"}, bool(services_.unitsDialog));
  enable({"GroupEdit1"}, bool(services_.groupEdit));
  enable({"Project1", "sbtnProject"}, bool(services_.projectInfo));
  enable({"System1", "sbtnSystem"}, bool(services_.systemOptions));
  enable({"PipeSchedules1", "sbtnSched"}, bool(services_.pipeSchedules));
  enable({"Report1", "sbtnReport"}, bool(services_.reports));
}

// ---------------------------------------------------------------- state shown

void MainWindow::refresh() {
  workspace_->setProjectFolder(q(state_.ProjectFolder));
  labStatus_->setText(q(state_.statusText));
  LabProjFileDat_->setText(q(state_.projectFile));
  LabProjFileDat_->setToolTip(q(state_.projectFile));
  labSysType_->setText(q(state_.sysTypeText));
  labModified_->setText(q(project_.modifiedLabel()));
  labSolved_->setText(q(project_.solvedLabel()));
  action("ShowElementnumbers1")->setChecked(project_.proj.ShowElementIDs);
  action("ExpertModehintsoff2")->setChecked(project_.proj.Expert);
  for (int i = 0; i < kRecentFiles; ++i) {
    const std::string& f = state_.RecentFiles[i];
    recent_[i]->setText(q(f));
    recent_[i]->setVisible(!f.empty());
  }
  reopenMenuAction_->setVisible(state_.reopenMenuVisible());
  if (solution_ && !solution_->running() && solution_->windowTitle() != "Analyzing...") solution_->refreshCaption();
  if (quick_) quick_->refresh();
  updateAvailability();
}

void MainWindow::afterProjectReplaced() {
  workspace_->projectReplaced();
  refresh();
}

void MainWindow::runDialog(const std::function<bool(QWidget*)>& dialog, bool redraw, bool changesProject) {
  if (!dialog) return;
  if (dialog(this) && changesProject) project_.SetModified(true);
  if (redraw) workspace_->DrawSystem();
  refresh();
}

// ---------------------------------------------------------------- creation and activation

void MainWindow::initialise(const std::string& startupProject) {
  if (!startupProject.empty()) cmds_->openProject(startupProject);
  project_.proj.QuickStartShown = project_.proj.InitQuickStart;
  project_.proj.BranchHelpShown = project_.proj.InitBranchHelp;
  const double friction = defaultFriction(project_.sys.HeadCalc);
  if (friction == 0.0)
    project_.prompter().message(MsgKind::Error, "Bad head calc equation!", Buttons::Ok);
  else
    project_.last.DefFriction = friction;
  project_.last.LastInsideDia = 2.0f;
  project_.last.LastValfitDia = 0.0f;
  action("sbtnAnalyze")->setVisible(true);
  state_.sysTypeText = ShellCommands::sysTypeText(project_.sys.SysType, true);
  state_.lineText = ShellCommands::lineText(project_.CurLine);
  workspace_->projectReplaced();
  refresh();
  if (project_.proj.QuickStartShown) showQuickStart();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ToolTip && project_.proj.Expert && watched->isWidgetType()) {
    QWidget* top = static_cast<QWidget*>(watched)->window();
    if (top == this || (quick_ && top == quick_)) return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::changeEvent(QEvent* e) {
  QMainWindow::changeEvent(e);
  if (e->type() == QEvent::ActivationChange && isActiveWindow()) activated();
}

void MainWindow::activated() {
  if (workspace_->hooks().showInspector) workspace_->hooks().showInspector(0);
  project_.SelectedElem = 0;
  state_.sysTypeText = ShellCommands::sysTypeText(project_.sys.SysType, false);
  state_.lineText = ShellCommands::lineText(project_.CurLine);
  refresh();
  if (project_.proj.QuickStartShown && (!quick_ || !quick_->isVisible())) showQuickStart();
}

void MainWindow::closeEvent(QCloseEvent* e) {
  // A run in progress owns the project until it ends (Halt stops it).
  if (solution_->running()) {
    e->ignore();
    return;
  }
  if (restarting_ || exitAccepted_ || cmds_->ExitQuery()) {
    exitAccepted_ = true;
    if (solution_) solution_->hide();
    if (quick_) quick_->hide();
    if (branch_) branch_->hide();
    e->accept();
  } else {
    e->ignore();
    refresh();
  }
}

// ---------------------------------------------------------------- windows of this program

void MainWindow::showQuickStart() {
  if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) {
    setWindowState(Qt::WindowNoState);
    if (const QScreen* s = screen()) resize(s->availableGeometry().size());
  }
  if (!quick_) {
    QuickStartWindow::Steps steps;
    if (services_.unitsDialog) steps.units = [this] { runDialog(services_.unitsDialog, true, false); };
    if (services_.projectInfo) steps.projectInfo = [this] { runDialog(services_.projectInfo, false); };
    if (services_.systemOptions) steps.systemOptions = [this] { runDialog(services_.systemOptions, true); };
    steps.inform = [this](const std::string& text) {
      project_.prompter().message(MsgKind::Information, text, Buttons::Ok);
    };
    quick_ = new QuickStartWindow(project_.proj, std::move(steps), this);
  }
  project_.proj.QuickStartShown = true;
  quick_->refresh();
  quick_->show();
  quick_->raise();
}

void MainWindow::showBranchHelp() {
  if (!branch_) branch_ = new BranchHelpWindow(project_.proj, this);
  project_.proj.BranchHelpShown = true;
  branch_->refresh();
  branch_->show();
  branch_->raise();
}

void MainWindow::showHelp() {
  const QString file = q(services_.helpFile);
  if (file.isEmpty() || !QFileInfo::exists(file)) {
    project_.prompter().message(MsgKind::Error, "Help file " + services_.helpFile + " doesn't exist!", Buttons::Ok);
    return;
  }
  QUrl url = QUrl::fromLocalFile(file);
  url.setFragment("topic200");
  QDesktopServices::openUrl(url);
}

void MainWindow::showAbout() {
  QMessageBox::about(this, "About VORTELAN",
                     QString("<b>VORTELAN</b> version %1<br>Steady-state hydraulic design of liquid piping "
                             "systems.")
                         .arg(VORTELAN_VERSION));
}

void MainWindow::showLastSolution() {
  solution_->showLastSolution();
  refresh();
}

// ---------------------------------------------------------------- ShellHost

ReadResult MainWindow::readProject(const std::string& path) {
  if (!services_.readProject) return ReadResult::NotRead;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const ProjReadResult r = services_.readProject(path);
  QApplication::restoreOverrideCursor();
  using S = ProjReadResult::Status;
  switch (r.status) {
    case S::NoName:
    case S::Missing: return ReadResult::NotRead;
    case S::Read:
      if (r.sliderPosition >= 1 && r.sliderPosition <= 100) workspace_->workspace().pipeSlider = r.sliderPosition;
      if (!clipboard_.empty()) clipboard_.caption = ShellCommands::bareName(path) + " Clipboard";
      return ReadResult::Ok;
    default: return ReadResult::Failed;
  }
}

bool MainWindow::writeProject(const std::string& path) {
  if (!services_.writeProject) return false;
  return services_.writeProject(path, static_cast<int16_t>(workspace_->workspace().pipeSlider));
}

void MainWindow::readClipboardFile(const std::string& path) {
  if (services_.readClipboardFile) services_.readClipboardFile(path);
}

void MainWindow::closeSolutionWindow() { solution_->hide(); }

void MainWindow::readDefaults() {
  if (services_.getDefaults) services_.getDefaults();
}

void MainWindow::writeDefaults() {
  if (services_.putDefaults) services_.putDefaults();
}

void MainWindow::repaint() { workspace_->DrawSystem(); }

void MainWindow::restartProgram() {
  restarting_ = true;
  QProcess::startDetached(QCoreApplication::applicationFilePath(), {});
  close();
  QCoreApplication::quit();
}

void MainWindow::closeScheduleTables() {
  if (services_.closeScheduleTables) services_.closeScheduleTables();
}

void MainWindow::reopenScheduleTables() {
  if (services_.reopenScheduleTables) services_.reopenScheduleTables();
}

void MainWindow::setBusyUi(bool busy) {
  // While a run is in progress only the solution window takes input: nothing may change the
  // project under the solver's feet.
  menuBar()->setEnabled(!busy);
  commandBar_->setEnabled(!busy);
  workspace_->setEnabled(!busy);
  workspace_->elementToolBar()->setEnabled(!busy);
  if (quick_) quick_->setEnabled(!busy);
}

void MainWindow::runSolution(bool analyze) {
  setBusyUi(true);
  solution_->run(analyze);
  setBusyUi(false);
  refresh();
}

void MainWindow::setSolutionCaption(const std::string& caption) { solution_->setWindowTitle(q(caption)); }

void MainWindow::openReports() {
  if (services_.reports) services_.reports(this);
}

void MainWindow::redrawWorkspace() { workspace_->showLine(project_.CurLine); }

}  // namespace vt
