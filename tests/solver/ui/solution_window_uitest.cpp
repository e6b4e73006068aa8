// The solution window driven by the real solver: the list mirrors the run's messages with their
// colours, clicks follow the click rules, the button halts a running solution and closes the window.
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "model/project.h"
#include "solver/builder_support.h"
#include "solver/solution.h"
#include "solver/ui/solution_window.h"

using namespace vt;

class SolutionWindowTest : public QObject {
  Q_OBJECT

  struct Rig {
    Project p;
    ScriptedPrompter prompter;
    test::SystemBuilder b{p};
    Rig() {
      p.setPrompter(&prompter);
      test::useWaterAndPlainUnits(p);
    }
    // Sump, pump, pipe, tank: a system that needs iterations.
    void pumpSystem() {
      b.supply(0, "Sump", 0);
      b.pump(0, "PU1", {100, 95, 85, 70}, 100, 0);
      b.pipe(0, "P1", 500, 4, 120);
      b.supply(0, "Tank", 50);
    }
  };

  static int rowOf(QListWidget* list, const QString& text) {
    for (int i = 0; i < list->count(); ++i)
      if (list->item(i)->text() == text) return i;
    return -1;
  }

 private slots:
  void listMirrorsTheRunWithColours() {
    Rig r;
    r.pumpSystem();
    r.p.sys.FlowTol = 1e-5f;  // enough iterations for the convergence picture
    SolutionWindow w(r.p);
    int solvedSignals = 0;
    w.solvedChanged = [&] { ++solvedSignals; };
    w.run(false);
    QVERIFY(r.p.proj.Solved);
    QCOMPARE(solvedSignals, 1);
    QVERIFY(w.isVisible());
    QCOMPARE(w.windowTitle(), QString("Current solution..."));
    QCOMPARE(w.memoButton()->text(), QString("&Close"));
    const MessageList& list = w.solution().list;
    QCOMPARE(w.listBox()->count(), static_cast<int>(list.size()));
    QVERIFY(rowOf(w.listBox(), kSolvedText) >= 0);
    for (int i = 0; i < w.listBox()->count(); ++i) {
      QCOMPARE(w.listBox()->item(i)->text().toStdString(), list[static_cast<size_t>(i)].text);
      const Rgb c = list[static_cast<size_t>(i)].colour();
      QCOMPARE(w.listBox()->item(i)->foreground().color(), QColor(c.r, c.g, c.b));
    }
    // The iteration filled its indicators.
    QVERIFY(w.iterationLabel()->isVisibleTo(&w) || !w.iterationLabel()->text().isEmpty());
    QVERIFY(w.convergenceLabel()->text().endsWith('%'));
    QCOMPARE(w.iterationLabel()->text().toInt(), w.solution().iterations);
    // The convergence picture traces the iterations from the seventh on, three pixels apart.
    const QImage pic = w.picture().toImage();
    int tracedColumns = 0;
    for (int x = 0; x < pic.width(); ++x) {
      bool traced = false;
      for (int y = 0; y < pic.height() && !traced; ++y) {
        const QColor c = pic.pixelColor(x, y);
        traced = c.blue() > 150 && c.red() < 120;
      }
      tracedColumns += traced;
    }
    QVERIFY2(w.solution().iterations >= 9, qPrintable(QString::number(w.solution().iterations)));
    QVERIFY2(tracedColumns >= 3 * (w.solution().iterations - 8), qPrintable(QString::number(tracedColumns)));

    // Esc after the run hides the window and asks nothing; "Show Last Solution" brings the same list back.
    QTest::keyClick(&w, Qt::Key_Escape);
    QVERIFY(!w.isVisible());
    QVERIFY(!w.solution().visible);
    QVERIFY(r.prompter.shown.empty());
    const int count = w.listBox()->count();
    w.showLastSolution();
    QVERIFY(w.isVisible());
    QCOMPARE(w.listBox()->count(), count);
  }

  void clickingALineLeadsToItsElement() {
    Rig r;
    r.pumpSystem();
    SolutionWindow w(r.p);
    w.run(false);
    int went = 0;
    w.gotoElement = [&](int n) { went = n; };
    // A line of our own naming the pipe, as the checks add them.
    const int pipe = 3;
    w.solution().list.add(" Info - pipe P1 (click here)", pipe);
    w.solution().list.add("  no attachment");
    w.showLastSolution();
    const int row = w.listBox()->count() - 2;
    QCOMPARE(w.listBox()->item(row)->foreground().color(), QColor(0, 0, 255));

    r.prompter.answers = {Answer::No};
    w.clickLine(row);
    QCOMPARE(went, 0);
    QVERIFY(w.isVisible());
    QCOMPARE(r.prompter.texts(), std::vector<std::string>{"Go to element P1?"});

    w.clickLine(row + 1);  // nothing attached: nothing asked
    QCOMPARE(r.prompter.shown.size(), size_t(1));

    r.prompter.answers.push_back(Answer::Yes);
    w.clickLine(row);
    QCOMPARE(went, pipe);
    QVERIFY(!w.isVisible());

    // The element was removed since: the error, the window stays.
    w.showLastSolution();
    r.p.CurLine = 0;
    r.p.RemoveFromLine(pipe);
    w.clickLine(row);
    QCOMPARE(r.prompter.texts().back(), std::string("Sorry, element has been removed."));
    QCOMPARE(r.prompter.shown.back().kind, MsgKind::Error);
    QVERIFY(w.isVisible());
  }

  void suggestionLineRunsItsCommand() {
    Rig r;
    r.pumpSystem();
    SolutionWindow w(r.p);
    w.run(false);
    int opened = 0;
    w.runSystemOptions = [&] { ++opened; };
    auto cmd = std::make_shared<SolveCommand>(SolveCommand{"Edit flow tolerance?"});
    w.solution().list.add(" Suggestion - Change flow tolerance (click here)", cmd);
    w.solution().list.add(" Suggestion - Try a lower flow tolerance.");
    w.showLastSolution();
    const int withCmd = w.listBox()->count() - 2;
    QCOMPARE(w.listBox()->item(withCmd)->foreground().color(), QColor(255, 0, 0));
    w.clickLine(withCmd + 1);  // no command: nothing at all
    QVERIFY(r.prompter.shown.empty());
    QVERIFY(w.isVisible());

    r.prompter.answers = {Answer::Yes};
    w.clickLine(withCmd);
    QCOMPARE(r.prompter.texts(), std::vector<std::string>{"Edit flow tolerance?"});
    QCOMPARE(r.prompter.shown[0].kind, MsgKind::Information);
    QCOMPARE(opened, 1);
    QVERIFY(!w.isVisible());

    // Expert mode: straight to the dialog.
    r.p.proj.Expert = true;
    w.showLastSolution();
    w.clickLine(withCmd);
    QCOMPARE(opened, 2);
    QCOMPARE(r.prompter.shown.size(), size_t(1));
  }

  void haltStopsARunningSolution() {
    Rig r;
    r.pumpSystem();
    SolutionWindow w(r.p);
    // The first time the solver lets the window handle input, the user presses Esc and says Yes.
    bool asked = false;
    QTimer::singleShot(0, &w, [&] {
      asked = w.memoButton()->text() == "&Halt";
      QTest::keyClick(&w, Qt::Key_Escape);
    });
    r.prompter.answers = {Answer::Yes};
    w.run(false);
    QVERIFY(asked);
    QCOMPARE(r.prompter.texts(),
             std::vector<std::string>{"Flow tolerance not yet reached! Do you want to halt the solution process?"});
    QVERIFY(!r.p.proj.Solved);
    QVERIFY(rowOf(w.listBox(), " ...user halted solution process. System not solved!") >= 0);
    QVERIFY(rowOf(w.listBox(), " Suggestion - Change flow tolerance (click here)") >= 0);
    QCOMPARE(w.memoButton()->text(), QString("&Close"));
    QVERIFY(w.isVisible());
    QCOMPARE(w.windowTitle(), QString("Last solution..."));
  }

  void haltAnsweredNoLetsTheSolutionFinish() {
    Rig r;
    r.pumpSystem();
    SolutionWindow w(r.p);
    QTimer::singleShot(0, &w, [&] { w.memoButton()->click(); });
    r.prompter.answers = {Answer::No};
    w.run(false);
    QCOMPARE(r.prompter.shown.size(), size_t(1));
    QVERIFY(r.p.proj.Solved);
    QVERIFY(rowOf(w.listBox(), kSolvedText) >= 0);
  }

  void analyzeRunsTheChecksOnly() {
    Rig r;
    r.b.supply(0, "S1", 10);
    r.b.pipe(0, "P1", 100, 2, 140);  // no second supply: the checks report it
    SolutionWindow w(r.p);
    w.setWindowTitle("Analyzing...");
    w.run(true);
    QVERIFY(!r.p.proj.Solved);
    QCOMPARE(w.windowTitle(), QString("Analyzing..."));
    QCOMPARE(w.listBox()->item(0)->text(), QString(" Analyze start..."));
    QCOMPARE(w.memoButton()->text(), QString("&Close"));
    QVERIFY(!r.p.proj.Analyzing);
  }
};

QTEST_MAIN(SolutionWindowTest)
#include "solution_window_uitest.moc"
