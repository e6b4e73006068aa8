// Each element editor opened offscreen, filled through its widgets and accepted; a refused entry
// keeps the dialog open with the focus on the field.
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "editors/editor_fixture.h"
#include "editors/ui/element_dialogs.h"

using namespace vt;

namespace {

template <class T = QLineEdit>
T* child(QWidget* w, const char* name) {
  T* c = w->findChild<T*>(name);
  if (!c) qFatal("no child %s", name);
  return c;
}

void type(QWidget* d, const char* name, const QString& text) {
  auto* e = child<QLineEdit>(d, name);
  e->setText(text);
  e->setModified(true);
}

void press(QWidget* d, const char* name) { child<QPushButton>(d, name)->click(); }

}  // namespace

class ElementDialogsTest : public QObject {
  Q_OBJECT
 private slots:
  void pipeRefusesThenAccepts();
  void valfitCvAndKColumn();
  void pumpDesignFlowMode();
  void fvhAccepts();
  void gaugeReusesAMainLineGauge();
  void supplyHidesInletFieldsForAForceMain();
};

void ElementDialogsTest::pipeRefusesThenAccepts() {
  test::EditorFixture f;
  f.p.sys.HeadCalc = 2;
  EditorSetup s = f.newSetup(kPipe);
  ui::PipeEditorDialog d(nullptr, f.p, s, nullptr);
  d.show();
  QCOMPARE(d.windowTitle(), QString("Insert New Pipe"));
  QCOMPARE(child(&d, "EditLength")->text(), QString("100"));
  QCOMPARE(child<QLabel>(&d, "labFrictionUnit")->text(), QString("millifeet"));
  QVERIFY(!child<QComboBox>(&d, "NDiaList")->isEnabled());
  type(&d, "EditPipeID", "P1");
  type(&d, "EditLength", "0");
  press(&d, "ApplyChanges");
  QCOMPARE(QString::fromStdString(f.lastText()), QString("Bad length!"));
  QVERIFY(d.isVisible());
  QVERIFY(d.result() != QDialog::Accepted);
  QCOMPARE(d.focusWidget(), child(&d, "EditLength"));
  type(&d, "EditLength", "50");
  type(&d, "EditIdia", "2.067");
  type(&d, "EditFriction", "0.15");
  press(&d, "ApplyChanges");
  QCOMPARE(d.result(), int(QDialog::Accepted));
  QVERIFY(f.p.pipe[s.elem]);
  QCOMPARE(f.p.pipe[s.elem]->Friction, 0.00015);
  QCOMPARE(f.p.pipe[s.elem]->Length, 600.0f);
}

void ElementDialogsTest::valfitCvAndKColumn() {
  test::EditorFixture f;
  std::vector<ValfitKind> kinds{{false, "Gate valve", 20, {}}};
  for (size_t i = 0; i < 12; ++i) kinds[0].k[i] = 0.1 * static_cast<double>(i + 1);
  EditorSetup s = f.newSetup(kValve);
  ui::ValfitEditorDialog d(nullptr, f.p, s, kinds);
  d.show();
  QCOMPARE(d.windowTitle(), QString("Insert New Valve"));
  QVERIFY(child<QComboBox>(&d, "VDescList")->isVisible());
  QVERIFY(!child<QComboBox>(&d, "FDescList")->isVisible());
  type(&d, "Editdia", "3");
  auto* list = child<QComboBox>(&d, "VDescList");
  list->setCurrentIndex(1);
  emit list->activated(1);
  QCOMPARE(child(&d, "EditCoef")->text(), QString("0.7"));  // the "2.5" column
  QCOMPARE(child<QLabel>(&d, "lbDiaUsed")->text(), QString("K for 2.500 in"));
  QVERIFY(!child(&d, "EditCoef")->isEnabled());

  // Back to a custom valve, 2 inches, Cv 100.
  list->setCurrentIndex(0);
  emit list->activated(0);
  type(&d, "EditValfitID", "V1");
  type(&d, "Editdia", "2");
  type(&d, "EditCoef", "1");
  press(&d, "Button2");
  QCOMPARE(child<QPushButton>(&d, "Button2")->text(), QString("Use K"));
  type(&d, "EditCoef", "100");
  press(&d, "ApplyChanges");
  QCOMPARE(d.result(), int(QDialog::Accepted));
  QVERIFY(std::abs(f.p.valfit[s.elem]->Coef - 1.4304f) < 1e-4f);
}

void ElementDialogsTest::pumpDesignFlowMode() {
  test::EditorFixture f;
  EditorSetup s = f.newSetup(kPump);
  ui::PumpEditorDialog d(nullptr, f.p, s, "");
  d.show();
  QCOMPARE(d.windowTitle(), QString("Insert New Pump"));
  QVERIFY(!child<QPushButton>(&d, "btnRXData")->isVisible());
  QVERIFY(child(&d, "EditIncr")->isVisible());
  QVERIFY(!child(&d, "EditDesFlow")->isVisible());
  type(&d, "EditPumpID", "PU1");
  type(&d, "EditIncr", "junk");
  press(&d, "ApplyChanges");
  QCOMPARE(QString::fromStdString(f.lastText()), QString("Bad flow increment!"));
  QCOMPARE(d.focusWidget(), child(&d, "EditIncr"));
  child<QRadioButton>(&d, "rbDesignFlow")->click();
  QVERIFY(!child(&d, "EditIncr")->isVisible());
  QVERIFY(child(&d, "EditDesFlow")->isVisible());
  type(&d, "EditDesFlow", "300");
  press(&d, "ApplyChanges");
  QCOMPARE(d.result(), int(QDialog::Accepted));
  QCOMPARE(f.p.pump[s.elem]->CurveDefined, uint8_t(0));
  QCOMPARE(f.p.pump[s.elem]->FlowIncr, kBlank);
  QCOMPARE(f.p.pump[s.elem]->DesignFlow, 300.0f);
  d.setCatalogueData("X\r\n");
  QVERIFY(!child<QPushButton>(&d, "btnRXData")->isHidden());
}

void ElementDialogsTest::fvhAccepts() {
  test::EditorFixture f;
  EditorSetup s = f.newSetup(kFVH);
  ui::FvhEditorDialog d(nullptr, f.p, s);
  d.show();
  type(&d, "EditFVHID", "F1");
  type(&d, "EditIncr", "100");
  type(&d, "Edit1Incr", "4");
  type(&d, "Edit2Incr", "4");
  press(&d, "ApplyChanges");
  QCOMPARE(QString::fromStdString(f.lastText()), QString("Problem with FVH curve values!"));
  QVERIFY(d.result() != QDialog::Accepted);
  type(&d, "Edit2Incr", "16");
  press(&d, "Button1");
  QCOMPARE(child<QLabel>(&d, "DirArrow")->text(), QString("<-"));
  press(&d, "ApplyChanges");
  QCOMPARE(d.result(), int(QDialog::Accepted));
  QCOMPARE(f.p.fvh[s.elem]->Dir, int16_t(-1));
}

void ElementDialogsTest::gaugeReusesAMainLineGauge() {
  test::EditorFixture f;
  f.add(0, kSupply, "S1");
  int g = f.add(0, kGauge, "G1");
  f.add(0, kSupply, "S2");
  f.p.CurLine = 1;
  EditorSetup s = f.newSetup(kGauge);
  ui::GaugeEditorDialog d(nullptr, f.p, s);
  d.show();
  auto* combo = child<QComboBox>(&d, "cbEditNodeID");
  QVERIFY(combo->isVisible());
  QVERIFY(!child(&d, "EditNodeID")->isVisible());
  combo->setCurrentIndex(0);
  emit combo->activated(0);
  QCOMPARE(d.windowTitle(), QString("Place A Connecting Gauge Here"));
  QVERIFY(child<QLabel>(&d, "labPressEsc")->isVisible());
  // Escape goes back to a new gauge; picking again and accepting re-uses G1.
  QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(&d, &esc);
  QCOMPARE(d.windowTitle(), QString("Insert New Gauge"));
  QVERIFY(d.isVisible());
  emit combo->activated(0);
  press(&d, "ApplyChanges");
  QCOMPARE(d.result(), int(QDialog::Accepted));
  QCOMPARE(d.model().placedElement(), g);
  QVERIFY(!d.model().newElementFlag());
}

void ElementDialogsTest::supplyHidesInletFieldsForAForceMain() {
  test::EditorFixture f;
  EditorSetup s = f.newSetup(kSupply);
  ui::SupplyEditorDialog d(nullptr, f.p, s);
  d.show();
  QCOMPARE(d.windowTitle(), QString("Insert New Supply"));
  QVERIFY(child(&d, "Editinletelev")->isVisible());
  QVERIFY(!child(&d, "EditPres")->isVisible());
  type(&d, "EditNodeID", "T1");
  type(&d, "EditLiqElev", "8");
  type(&d, "Editinletelev", "10");
  press(&d, "ApplyChanges");
  QCOMPARE(QString::fromStdString(f.lastText()), QString("Inlet elevation cannot be higher than liquid surface!"));
  QCOMPARE(d.focusWidget(), child(&d, "Editinletelev"));
  auto* typeBox = child<QComboBox>(&d, "cbSupplyType");
  typeBox->setCurrentIndex(2);
  emit typeBox->activated(2);
  QVERIFY(!child(&d, "Editinletelev")->isVisible());
  QVERIFY(child(&d, "EditPres")->isVisible());
  QCOMPARE(child<QLabel>(&d, "labLiqElev")->text(), QString("E&levation :"));
  type(&d, "EditPres", "43.3");
  press(&d, "ApplyChanges");
  QCOMPARE(d.result(), int(QDialog::Accepted));
  QCOMPARE(f.p.node[s.elem]->SupplyType, int16_t(2));
  QCOMPARE(f.p.node[s.elem]->InletK, 0.0f);
  QVERIFY(std::abs(f.p.node[s.elem]->Pressure - 100.0f) < 1e-3f);
}

QTEST_MAIN(ElementDialogsTest)
#include "element_dialogs_uitest.moc"
