// The whole desktop program offscreen: start-up on the sample project, solving through the window,
// open/save/new/reopen/exit with their questions, the units dialog from the menu. Message boxes
// are answered by a scripted prompter and compared word for word.
#include <QAction>
#include <QCheckBox>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <functional>

#include "app/startup.h"
#include "app/ui/help_windows.h"
#include "workspace/ui/workspace_widget.h"
#include "app/ui/main_window.h"
#include "app/ui/program.h"
#include "files/project_file.h"
#include "solver/solution.h"
#include "solver/ui/solution_window.h"
#include "units/ui/units_dialog.h"

using namespace vt;
namespace fs = std::filesystem;

namespace {
void whenModal(std::function<void(QWidget*)> act) {
  QTimer::singleShot(0, [act = std::move(act)] {
    QWidget* w = QApplication::activeModalWidget();
    if (!w) {
      whenModal(act);
      return;
    }
    act(w);
  });
}
QString q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

  std::unique_ptr<QTemporaryDir> home_;
  std::unique_ptr<ScriptedPrompter> prompter_;
  std::unique_ptr<Program> program_;
  MainWindow* w_ = nullptr;
  std::string sample_;

  ProgramFolders folders() const {
    ProgramFolders f;
    f.program = std::string(VORTELAN_SOURCE_DATA_DIR) + "/";
    const std::string h = home_->path().toStdString();
    f.data = h + "/appdata/KLD/VORTELAN/3.0/";
    f.defaultProject = h + "/Documents/VORTELAN/Projects/";
    f.desktop = h + "/Desktop/";
    return f;
  }
  void start(std::vector<std::string> args = {}) {
    prompter_ = std::make_unique<ScriptedPrompter>();
    program_ = std::make_unique<Program>(std::move(args), folders());
    program_->setPrompter(prompter_.get());
    QVERIFY(program_->prepareDataFiles());
    program_->createMainWindow();
    w_ = program_->window();
    w_->show();
  }
  void trigger(const char* name) {
    QAction* a = w_->action(name);
    QVERIFY2(a, name);
    QVERIFY2(a->isEnabled(), name);
    a->trigger();
  }
  std::vector<std::string> texts() const { return prompter_->texts(); }
  // The scripted prompter answers in order over the whole test: append, never replace.
  void answer(std::initializer_list<Answer> a) { prompter_->answers.insert(prompter_->answers.end(), a); }
  std::string dump() const {
    std::string out;
    for (const auto& t : texts()) out += "[" + t + "] ";
    return out;
  }

 private slots:
  void init() {
    home_ = std::make_unique<QTemporaryDir>();
    QVERIFY(home_->isValid());
    sample_ = folders().defaultProject + kSampleProjectName;
    start();
  }
  void cleanup() {
    program_.reset();
    w_ = nullptr;
  }

  void startsOnTheSampleProject() {
    QCOMPARE(w_->windowTitle(), QString("VORTELAN"));
    QCOMPARE(w_->projectFileLabel()->text(), q(sample_));
    QCOMPARE(w_->systemTypeLabel()->text(), QString("Open source and discharge"));
    QVERIFY(w_->project().tot_elems > 0);
    QCOMPARE(w_->modifiedLabel()->text(), QString());
    QCOMPARE(w_->solvedLabel()->text(), QString());
    QVERIFY(!w_->reopenMenu()->menuAction()->isVisible());
    QVERIFY(texts().empty());
    // What has no implementation here is disabled, not pretended.
    QVERIFY(w_->action("Open1")->isEnabled());
    QVERIFY(w_->action("Save1")->isEnabled());
    QVERIFY(w_->action("Units1")->isEnabled());
    QVERIFY(w_->action("sbtnSolve")->isEnabled());
    QCOMPARE(w_->action("sbtnSolve")->shortcut(), QKeySequence(Qt::Key_F8));
    QCOMPARE(w_->action("sbtnSolve")->text(), QString("&Solve "));
    QCOMPARE(w_->action("ExpertModehintsoff2")->text(), QString("E&xpert Mode (confirm off)"));
  }

  void startsOnTheProjectNamedOnTheCommandLine() {
    cleanup();
    const std::string other = folders().defaultProject + "Sample 2 - Forced flow line.pzn";
    start({folders().defaultProject + "Sample", "2", "-", "Forced", "flow", "line.pzn"});
    QCOMPARE(w_->projectFileLabel()->text(), q(other));
    QCOMPARE(w_->project().sys.SysType, int16_t(2));
  }

  void solvesThroughTheWindow() {
    SolutionWindow* sw = w_->solutionWindow();
    QVERIFY(!sw->isVisible());
    trigger("sbtnSolve");
    QVERIFY(sw->isVisible());
    QVERIFY(w_->project().proj.Solved);
    QCOMPARE(w_->solvedLabel()->text(), QString("Solved "));
    QCOMPARE(sw->windowTitle(), QString("Current solution..."));
    const MessageList& list = sw->solution().list;
    QCOMPARE(sw->listBox()->count(), static_cast<int>(list.size()));
    QVERIFY(!sw->listBox()->findItems(kSolvedText, Qt::MatchExactly).isEmpty());
    // After a solve the schematic carries grades.
    bool graded = false;
    for (int n = 1; n <= kMaxElem; ++n) graded = graded || w_->project().ElemHGL[n] != kNoGrade;
    QVERIFY(graded);
    QVERIFY(w_->menuBar()->isEnabled());  // given back after the run
    w_->grab().save(QDir::tempPath() + "/vt_main_solved.png");
    sw->grab().save(QDir::tempPath() + "/vt_solution.png");

    // Show Last Solution is offered only while the window is hidden.
    QMenu* view = w_->findChild<QMenu*>("View1");
    QVERIFY(view);
    emit view->aboutToShow();
    QVERIFY(!w_->action("ShowLastSolution2")->isEnabled());
    sw->memoButton()->click();
    QVERIFY(!sw->isVisible());
    emit view->aboutToShow();
    QVERIFY(w_->action("ShowLastSolution2")->isEnabled());
    trigger("ShowLastSolution2");
    QVERIFY(sw->isVisible());

    // A change clears the solved label and sets the modified one.
    w_->project().SetModified(true);
    w_->refresh();
    QCOMPARE(w_->modifiedLabel()->text(), QString("Modified "));
    QCOMPARE(w_->solvedLabel()->text(), QString());
    QCOMPARE(sw->windowTitle(), QString("Last solution..."));
  }

  void analyzeShowsTheChecks() {
    trigger("sbtnAnalyze");
    SolutionWindow* sw = w_->solutionWindow();
    QVERIFY(sw->isVisible());
    QCOMPARE(sw->windowTitle(), QString("Analyzing..."));
    QCOMPARE(sw->listBox()->item(0)->text(), QString(" Analyze start..."));
    QVERIFY(!w_->project().proj.Solved);
  }

  void saveAsNewAndReopen() {
    const std::string elsewhere = home_->path().toStdString() + "/elsewhere/";
    fs::create_directories(elsewhere);
    const int elems = w_->project().tot_elems;
    prompter_->fileNames = {elsewhere + "copy.pzn.pzn"};
    answer({Answer::Yes});  // take the new folder
    trigger("SaveAs1");
    const std::string saved = elsewhere + "copy.pzn";
    QVERIFY(fs::exists(saved));
    QCOMPARE(prompter_->prompts, std::vector<std::string>{"Save Current Project File As:"});
    QCOMPARE(texts(), std::vector<std::string>{"Reset Project Folder to: " + elsewhere + "?"});
    QCOMPARE(w_->state().ProjectFolder, elsewhere);
    QCOMPARE(w_->projectFileLabel()->text(), q(saved));
    QCOMPARE(w_->statusLabel()->text(), q(saved + " saved!"));

    // Save again: the file is there, so the overwrite question.
    prompter_->shown.clear();
    answer({Answer::Yes});
    trigger("sbtnSave");
    QCOMPARE(texts(), std::vector<std::string>{"Do you want to save as copy.pzn (overwrite)?"});

    // New: the clear question; the file goes into the recent list.
    prompter_->shown.clear();
    answer({Answer::Yes});
    trigger("sbtnNew");
    QCOMPARE(texts(), std::vector<std::string>{"Clear Workspace?"});
    QCOMPARE(w_->project().tot_elems, 0);
    QCOMPARE(w_->projectFileLabel()->text(), QString());
    QVERIFY(w_->reopenMenu()->menuAction()->isVisible());
    QList<QAction*> items = w_->reopenMenu()->actions();
    QCOMPARE(items[0]->text(), q(saved));
    QVERIFY(items[0]->isVisible());
    QVERIFY(!items[1]->isVisible());

    // Reopen it: read back whole, unsolved and unmodified.
    items[0]->trigger();
    QCOMPARE(w_->projectFileLabel()->text(), q(saved));
    QCOMPARE(w_->project().tot_elems, elems);
    QCOMPARE(w_->modifiedLabel()->text(), QString());
    QCOMPARE(w_->systemTypeLabel()->text(), QString("Open source and discharge"));
  }

  void newOnAModifiedProjectAsksToSaveFirst() {
    w_->project().SetModified(true);
    answer({Answer::Cancel});
    trigger("New1");
    QCOMPARE(texts(), std::vector<std::string>{"Current project has been modified, save before clearing?"});
    QCOMPARE(prompter_->shown[0].kind, MsgKind::Warning);
    QVERIFY(w_->project().tot_elems > 0);
    // Open: the save question, then the file dialog; cancelling it keeps everything.
    prompter_->shown.clear();
    answer({Answer::No});
    trigger("Open1");
    QVERIFY2(texts() == std::vector<std::string>{"Current project has been modified, save first?"}, dump().c_str());
    QCOMPARE(prompter_->prompts.back(), std::string("Open VORTELAN File:"));
    QVERIFY(w_->project().tot_elems > 0);
  }

  void openingAFileThatIsNotAProject() {
    const std::string junk = folders().defaultProject + "junk.pzn";
    { std::ofstream(junk) << "this is not a project"; }
    prompter_->fileNames = {junk};
    trigger("Open1");
    QCOMPARE(texts(), std::vector<std::string>{junk + " is not a VORTELAN project file or has been corrupted!"});
    QCOMPARE(w_->project().tot_elems, 0);
    QCOMPARE(w_->projectFileLabel()->text(), QString());
    QCOMPARE(w_->state().RecentFiles[0], sample_);
  }

  void exitAsksAndWritesTheConfiguration() {
    answer({Answer::No});
    QVERIFY(!w_->close());
    QVERIFY(w_->isVisible());
    QCOMPARE(texts(), std::vector<std::string>{"Exit VORTELAN?"});
    QCOMPARE(prompter_->shown[0].kind, MsgKind::Confirmation);

    w_->project().SetModified(true);
    answer({Answer::Yes});
    QVERIFY2(w_->close(), dump().c_str());
    QCOMPARE(texts().back(), std::string("Project has been modified, but not saved. Exit VORTELAN?"));
    QCOMPARE(prompter_->shown.back().kind, MsgKind::Warning);
    Table cfg = loadConfig(folders().data + kConfigFileName);
    const Row* r = cfg.findKey({Value("RecentFile0")});
    QVERIFY(r);
    QCOMPARE(q(r->str("Desc")), q(sample_));
  }

  void unitsFromTheMenu() {
    whenModal([](QWidget* d) {
      auto* units = qobject_cast<UnitsDialog*>(d);
      QVERIFY(units);
      QCOMPARE(units->windowTitle(), QString("VORTELAN - Units"));
      units->siButton()->click();
      QCOMPARE(units->list(Quantity::Flow)->currentText(), QString("Cubic mtrs/hr (m3/hr)"));
      units->acceptButton()->click();
    });
    trigger("Units1");
    QCOMPARE(q(w_->project().units.Flow.abbrev), QString("m3/hr"));
    QCOMPARE(q(w_->project().units.Len.abbrev), QString("mtr"));
    QVERIFY(w_->project().units.nominalMillimetre);
    QCOMPARE(w_->modifiedLabel()->text(), QString());  // display units are not part of the project
    // Accepted units are not the defaults: the configuration still holds the old ones.
    Table cfg = loadConfig(folders().data + kConfigFileName);
    QVERIFY(cfg.findKey({Value("UnitFlow")})->str("Abrev") != "m3/hr");
  }

  void formsOpenFromTheWindowAndTheSolutionList() {
    // The System button opens the system options form; Cancel changes nothing.
    QString seen;
    whenModal([&](QWidget* d) {
      seen = d->windowTitle();
      qobject_cast<QDialog*>(d)->reject();
    });
    trigger("sbtnSystem");
    QCOMPARE(seen, QString("VORTELAN - System Configuration"));
    QCOMPARE(w_->modifiedLabel()->text(), QString());

    // A suggestion line of the solution window leads to the same form, then the window hides.
    trigger("sbtnSolve");
    SolutionWindow* sw = w_->solutionWindow();
    sw->solution().list.add(" Suggestion - Change flow tolerance (click here)",
                            std::make_shared<SolveCommand>(SolveCommand{"Edit flow tolerance?"}));
    sw->showLastSolution();
    seen.clear();
    answer({Answer::Yes});
    whenModal([&](QWidget* d) {
      seen = d->windowTitle();
      qobject_cast<QDialog*>(d)->reject();
    });
    sw->clickLine(sw->listBox()->count() - 1);
    QCOMPARE(texts().back(), std::string("Edit flow tolerance?"));
    QCOMPARE(seen, QString("VORTELAN - System Configuration"));
    QVERIFY(!sw->isVisible());

    // Quick start, step 2: the project information form, then the hint for next time.
    trigger("ShowQuickStart1");
    QVERIFY(w_->quickStartWindow()->isVisible());
    seen.clear();
    whenModal([&](QWidget* d) {
      seen = d->windowTitle();
      qobject_cast<QDialog*>(d)->reject();
    });
    w_->quickStartWindow()->stepButton(1)->click();
    QCOMPARE(seen, QString("VORTELAN - Project Info"));
    QCOMPARE(texts().back(), std::string("Next time use the Project button."));
    QVERIFY(w_->quickStartWindow()->isVisible());
  }

  void branchHelpFollowsTheLineShown() {
    w_->project().proj.BranchHelpShown = true;
    emit w_->workspace()->lineShown(1);
    QVERIFY(w_->branchHelpWindow() && w_->branchHelpWindow()->isVisible());
    w_->branchHelpWindow()->dontShowBox()->click();
    w_->branchHelpWindow()->closeButton()->click();
    QVERIFY(!w_->project().proj.BranchHelpShown);
    emit w_->workspace()->lineShown(2);
    QVERIFY(!w_->branchHelpWindow()->isVisible());
  }

  void expertModeAndResets() {
    trigger("ExpertModehintsoff2");
    QVERIFY(w_->project().proj.Expert);
    QVERIFY(w_->action("ExpertModehintsoff2")->isChecked());
    // Expert: New asks nothing on an unmodified project.
    trigger("sbtnNew");
    QVERIFY(texts().empty());
    QCOMPARE(w_->project().tot_elems, 0);

    answer({Answer::No});
    trigger("ResetConfigFile1");
    QCOMPARE(texts().size(), size_t(1));
    QVERIFY(fs::exists(folders().data + kConfigFileName));
    answer({Answer::Yes, Answer::No});
    trigger("ResetPipeSchedules1");
    QCOMPARE(texts().size(), size_t(3));
    QCOMPARE(texts()[2], std::string("Last chance to exit before deleting current pipe schedules... Reset schedules? "
                                     "(WARNING: This action may not be reversible!!!"));
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_uitest.moc"
