// The workspace widget on the offscreen platform: a system built through the drop operations of
// the canvas, drawn geometry checked on the rendered picture, keys, the line selector and the
// JPEG picture. Set VT_SHOT_DIR to keep the rendered pictures as PNG files.
#include <QAbstractItemView>
#include <QComboBox>
#include <QMainWindow>
#include <QImage>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include "files/element_clipboard.h"
#include "model/project.h"
#include "workspace/editing.h"
#include "workspace/layout.h"
#include "workspace/ui/workspace_canvas.h"
#include "workspace/ui/workspace_widget.h"

using namespace vt;

namespace {

// Accepts new elements with the next scripted ID and values, as an element editor would.
struct ScriptedEditor {
  Project& pr;
  std::vector<std::function<void(int)>> fill;  // one per new element, in order
  std::vector<std::string> ids;
  bool operator()(int n, int type, bool isNew, int&) {
    if (!isNew) return false;
    if (ids.empty()) return false;
    pr.createElement(n, type);
    pr.setElemID(n, ids.front());
    pr.IDList.add(ids.front(), n);
    if (!fill.empty() && fill.front()) fill.front()(n);
    ids.erase(ids.begin());
    if (!fill.empty()) fill.erase(fill.begin());
    return true;
  }
};

bool isBlueish(QRgb c) { return qBlue(c) > 150 && qRed(c) < 100 && qGreen(c) < 140; }

void keep(const QImage& img, const char* name) {
  QByteArray dir = qgetenv("VT_SHOT_DIR");
  if (!dir.isEmpty()) img.save(QString::fromLocal8Bit(dir) + "/" + name);
}

}  // namespace

class WorkspaceUiTest : public QObject {
  Q_OBJECT

 private:
  Project pr;
  ScriptedPrompter prompter;

  // Drops a new element of `type` on the right (side 1) or left half of element `target`.
  bool dropNext(WorkspaceWidget& w, int type, int target, int side = 1) {
    // Scroll the target into view first, as a user would.
    w.workspace().scrollPos = w.workspace().scrollPosToShow(target);
    w.DrawSystem();
    QRect r = w.canvas()->elementRect(target);
    if (r.isEmpty()) return false;
    QPoint at = side > 0 ? QPoint(r.right() - 2, r.center().y()) : QPoint(r.left() + 2, r.center().y());
    return w.canvas()->dropNew(type, at);
  }

  void buildSystem(WorkspaceWidget& w) {
    ScriptedEditor ed{pr, {}, {}};
    auto set = [&](std::string id, std::function<void(int)> f) {
      ed.ids.push_back(std::move(id));
      ed.fill.push_back(std::move(f));
    };
    set("TANK-A", [&](int n) {
      pr.node[n]->SupplyType = 0;
      pr.node[n]->Elev = 240;
      pr.node[n]->InletElev = 180;
    });
    set("P-1", [&](int n) { pr.pipe[n]->Length = 1200; });
    set("GV-1", [&](int n) { pr.valfit[n]->Code = 1; });
    set("P-2", [&](int n) { pr.pipe[n]->Length = 600; });
    set("PUMP-1", [&](int n) {
      pr.pump[n]->Elev = 0;
      pr.pump[n]->Dir = 1;
    });
    set("P-3", [&](int n) { pr.pipe[n]->Length = 2400; });
    set("CV-1", [&](int n) {
      pr.valfit[n]->Code = -2;
      pr.valfit[n]->Dir = 1;
    });
    set("G-1", [&](int n) {
      pr.node[n]->Elev = 600;
      pr.node[n]->Flow = -20;
    });
    set("P-4", [&](int n) { pr.pipe[n]->Length = 1800; });
    set("HX-1", [&](int n) { pr.fvh[n]->Dir = 1; });
    set("EL-1", [&](int n) { pr.valfit[n]->Code = 12; });
    set("P-5", [&](int n) { pr.pipe[n]->Length = 900; });
    set("TANK-B", [&](int n) {
      pr.node[n]->SupplyType = 1;
      pr.node[n]->Elev = 1080;
      pr.node[n]->InletElev = 960;
    });
    w.editing().hooks.openEditor = std::ref(ed);

    QVERIFY(w.canvas()->dropNew(kSupply, QPoint(200, 200)));
    const int kinds[] = {kPipe, kValve, kPipe, kPump, kPipe, kValve, kGauge, kPipe, kFVH, kFitting, kPipe, kSupply};
    for (int type : kinds) {
      int last = pr.ElemSeq[pr.LineEnd[0]];
      QVERIFY2(dropNext(w, type, last), qPrintable(QString("dropping kind %1").arg(type)));
    }
    QCOMPARE(pr.tot_elems, 13);
  }

 private slots:
  void init() {
    pr.ClearProject();
    prompter.shown.clear();
    prompter.answers.clear();
    prompter.fileNames.clear();
    pr.setPrompter(&prompter);
    pr.units.Len.abbrev = "ft";
    pr.units.Len.factor = 1.0 / 12;
    pr.proj.ShowElementIDs = true;
  }

  void elementBarHasTheSevenButtons() {
    WorkspaceWidget w(pr);
    QStringList texts;
    for (auto* b : w.elementToolBar()->findChildren<QToolButton*>())
      if (!b->text().isEmpty()) texts << b->text();
    QCOMPARE(texts, QStringList({"Supply", "Pipe", "Gauge", "Valve", "Fitting", "Pump", "FVH"}));
    for (auto* b : w.elementToolBar()->findChildren<QToolButton*>())
      if (!b->text().isEmpty()) QCOMPARE(b->toolTip(), QString("Drag this element into system"));
  }

  void buildAndDrawALine() {
    WorkspaceWidget w(pr);
    w.resize(1400, 620);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    buildSystem(w);
    QCOMPARE(QString::fromStdString(pr.ElemID(pr.ElemSeq[1])), QString("TANK-A"));
    QCOMPARE(QString::fromStdString(pr.ElemID(pr.ElemSeq[13])), QString("TANK-B"));
    QVERIFY(pr.proj.Modified);

    // Pipes between anchors follow them: P-3 rises from the pump (0) to the gauge (600 in).
    int p3 = pr.IDList.find("P-3");
    QCOMPARE(pr.pipe[p3]->StartElev, 0.0f);
    QCOMPARE(pr.pipe[p3]->EndElev, 600.0f);

    // The band of a pipe is drawn where the layout put it.
    w.workspace().scrollPos = 0;
    w.DrawSystem();
    QImage img = w.renderImage(1.0);
    keep(img, "workspace_unsolved.png");
    const ElementGeom* g = w.workspace().find(pr.IDList.find("P-1"));
    QVERIFY(g && g->visible);
    int shift = w.workspace().scrollShift();
    QPoint mid((g->band[0].x + g->band[1].x) / 2 - shift, (g->band[0].y + g->band[3].y + g->band[1].y + g->band[2].y) / 4);
    QVERIFY2(isBlueish(img.pixel(mid)), "pipe band not blue at its middle");
    // The background and the space above the line stay white.
    QCOMPARE(img.pixel(w.canvas()->width() - 5, 5) | 0xff000000, qRgb(255, 255, 255));
    // Hit-testing finds elements by their rectangles.
    QRect pump = w.canvas()->elementRect(pr.IDList.find("PUMP-1"));
    QCOMPARE(w.canvas()->elementAt(pump.center()), static_cast<int>(pr.IDList.find("PUMP-1")));

    // HiDPI: the same drawing at twice the pixels.
    QImage hi = w.renderImage(2.0);
    QCOMPARE(hi.size(), img.size() * 2);
    QVERIFY(isBlueish(hi.pixel(mid * 2)));
  }

  void solvedLineShowsTheGrade() {
    WorkspaceWidget w(pr);
    w.resize(1400, 620);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    buildSystem(w);
    // Grades of a made-up solution: 20 ft at the first tank, lifted by the pump, falling to the end.
    float grade = 20;
    for (int p = 1; p <= pr.LineEnd[0]; ++p) {
      int n = pr.ElemSeq[p];
      if (pr.ElemType[n] == kPump) grade += 100;
      if (pr.ElemType[n] == kPipe) {
        pr.pipe[n]->HeadLoss = 4;
        pr.pipe[n]->Flow = 120;
        grade -= 4;
      }
      pr.ElemHGL[n] = grade;
      if (pr.ElemType[n] == kGauge) pr.node[n]->Pressure = grade - pr.node[n]->Elev / 12;
    }
    QVERIFY(pr.IDList.find("TANK-B") != 0);
    pr.node[pr.IDList.find("TANK-B")]->Pressure = 5;
    pr.proj.Solved = true;
    w.workspace().scrollPos = 0;
    w.DrawSystem();
    QVERIFY(w.workspace().hglShown);
    const ElementGeom* g = w.workspace().find(pr.IDList.find("P-3"));
    QVERIFY(!g->hgl.empty());
    QImage img = w.renderImage(1.0);
    keep(img, "workspace_solved.png");
    keep(w.renderImage(2.0), "workspace_solved@2x.png");
    // The teal HGL stroke passes through the middle of its segment.
    int shift = w.workspace().scrollShift();
    QPoint a(g->hgl[0].a.x - shift, g->hgl[0].a.y), b(g->hgl[0].b.x - shift, g->hgl[0].b.y);
    QPoint m = (a + b) / 2;
    bool teal = false;
    for (int dy = -1; dy <= 1 && !teal; ++dy) {
      QRgb c = img.pixel(m.x(), m.y() + dy);
      teal = qGreen(c) > 90 && qBlue(c) > 90 && qRed(c) < 90;
    }
    QVERIFY2(teal, "HGL stroke missing");
    // The report picture holds the whole line, unscrolled.
    QImage report = renderReportPicture(pr, w.workspace(), 1.0);
    QCOMPARE(report.width(), w.workspace().LineWidth + 32);
    keep(report, "workspace_report.png");
    // Save as JPEG through the prompter's file chooser.
    QTemporaryDir dir;
    prompter.fileNames = {(dir.path() + "/line").toStdString()};
    w.saveWorkspaceAsJpg();
    QImage saved(dir.path() + "/line.jpg");
    QVERIFY(!saved.isNull());
    QCOMPARE(saved.width(), w.canvas()->width());
    QCOMPARE(QString::fromStdString(prompter.prompts.back()), QString("Save workspace graphic as jpg:"));
  }

  void movingAndDeletingThroughTheCanvas() {
    WorkspaceWidget w(pr);
    w.resize(1400, 620);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    buildSystem(w);
    int gv = pr.IDList.find("GV-1"), pump = pr.IDList.find("PUMP-1");
    // Drag the gate valve onto the right half of the pump: it goes after it.
    w.workspace().scrollPos = 0;
    w.DrawSystem();
    QRect r = w.canvas()->elementRect(pump);
    QVERIFY(w.canvas()->dropPlaced(gv, QPoint(r.right() - 2, r.center().y())));
    QCOMPARE(pr.ElemSeq[pr.elemspot[pump] + 1], static_cast<int16_t>(gv));
    // Delete under the pointer: the Delete key asks first.
    r = w.canvas()->elementRect(gv);
    QTest::mouseMove(w.canvas(), r.center());
    w.editing().cur_elem = gv;
    w.editing().OverElement = true;
    prompter.answers = {Answer::Yes};
    QTest::keyClick(w.canvas(), Qt::Key_Delete);
    QCOMPARE(prompter.texts().back(), std::string("Delete element \"GV-1\" ?"));
    QVERIFY(!pr.isPlaced(gv));
    QCOMPARE(pr.tot_elems, 12);
  }

  void clipboardRoundTrip() {
    WorkspaceWidget w(pr);
    w.resize(1400, 620);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    buildSystem(w);
    ElementClipboard clip;
    w.setElementClipboard(&clip);
    int shown = 0;
    w.hooks().showClipboard = [&] { ++shown; };
    w.workspace().scrollPos = 0;
    w.DrawSystem();
    // "Move to Clipboard" on the pump, as its element menu does.
    int pump = pr.IDList.find("PUMP-1");
    w.editing().PendingElem = pump;
    prompter.answers = {Answer::Yes};
    w.clipboardCommand(true);
    QVERIFY(!pr.isPlaced(pump));
    QCOMPARE(clip.count(), size_t(1));
    QCOMPARE(shown, 1);
    // Dragged back from the clipboard onto the left half of the gate valve: before it.
    int gv = pr.IDList.find("GV-1");
    QRect r = w.canvas()->elementRect(gv);
    QVERIFY(w.canvas()->dropClipEntries({0}, QPoint(r.left() + 2, r.center().y()), false));
    int back = pr.IDList.find("PUMP-1");
    QVERIFY(back != 0);
    QCOMPARE(pr.ElemSeq[pr.elemspot[gv] - 1], static_cast<int16_t>(back));
    QVERIFY(clip.empty());
  }

  void embeddedInAMainWindow() {
    QMainWindow mw;
    auto* w = new WorkspaceWidget(pr);
    mw.setCentralWidget(w);
    mw.addToolBar(Qt::TopToolBarArea, w->elementToolBar());
    mw.resize(1300, 640);
    mw.show();
    QVERIFY(QTest::qWaitForWindowExposed(&mw));
    QVERIFY(w->elementToolBar()->isVisible());
    buildSystem(*w);
    w->workspace().scrollPos = 0;
    w->DrawSystem();
    QVERIFY(w->canvas()->width() > 1000);
    w->setElementSize(48);
    QCOMPARE(w->workspace().BandWidth, 10);
    w->setElementSize(50);  // not a slider step
    QCOMPARE(w->elementSize(), 32);
    w->setElementSize(48);
    QCOMPARE(w->elementSize(), 48);
    QCOMPARE(w->canvas()->elementRect(pr.IDList.find("GV-1")).width(), 48);
    keep(mw.grab().toImage(), "workspace_window.png");
  }

  void pipeScaleFollowsAReadSliderPosition() {
    WorkspaceWidget w(pr);
    w.resize(1000, 500);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    buildSystem(w);
    QCOMPARE(w.workspace().pipeSlider, 50);
    // Opening a file: the store is cleared, the reader hands over the slider, the window redraws.
    pr.ClearProject();
    QCOMPARE(w.workspace().PipePxPerUnit, 0.0f);
    buildSystem(w);
    pr.ClearProject();
    int n = pr.FirstFreeElem();
    pr.createElement(n, kPipe);
    pr.pipe[n]->Length = 2000;
    pr.setElemID(n, "P");
    pr.insertInSeq(n, 1);
    w.workspace().pipeSlider = 80;
    w.projectReplaced();
    QCOMPARE(w.workspace().pipeSlider, 80);
    QCOMPARE(w.workspace().PipePxPerUnit, static_cast<float>(0.8 * w.canvas()->width() / 2000));
  }

  void altDigitAndSelector() {
    WorkspaceWidget w(pr);
    w.resize(900, 500);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::keyClick(&w, Qt::Key_5, Qt::AltModifier);
    QCOMPARE(pr.CurLine, 5);
    QCOMPARE(w.lineSelector()->currentText(), QString("Branch 5"));
    QTest::keyClick(&w, Qt::Key_0, Qt::AltModifier);
    QCOMPARE(pr.CurLine, 0);
    QCOMPARE(w.lineSelector()->currentText(), QString("Main Line"));
    QVERIFY(prompter.shown.empty());
    // Choosing a line in the opened selector: the full list while open, one name after.
    QComboBox* combo = w.lineSelector();
    combo->showPopup();
    QCOMPARE(combo->count(), 10);
    QCOMPARE(combo->itemText(2), QString("Branch 2 -"));
    QAbstractItemView* view = combo->view();
    QRect r = view->visualRect(view->model()->index(2, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
    QTRY_COMPARE(combo->count(), 1);
    QCOMPARE(pr.CurLine, 2);
    QCOMPARE(combo->currentText(), QString("Branch 2"));
    // The main line is empty: choosing a branch says so, and shows the branch anyway.
    QCOMPARE(prompter.texts(), std::vector<std::string>{"No Gauges exist in Main line for Branch connections!"});
  }

  void gotoElementScrollsItIntoView() {
    WorkspaceWidget w(pr);
    w.resize(700, 400);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    buildSystem(w);
    int last = pr.IDList.find("TANK-B");
    w.showLine(3);
    QCOMPARE(pr.CurLine, 3);
    w.gotoElement(-4);  // names no element: ignored
    QCOMPARE(pr.CurLine, 3);
    w.gotoElement(last);
    QCOMPARE(pr.CurLine, 0);
    QVERIFY(!w.canvas()->elementRect(last).isEmpty());
    QVERIFY(w.workspace().scrollPos > 0);
  }
};

QTEST_MAIN(WorkspaceUiTest)
#include "workspace_uitest.moc"
