// The system options, pipe schedule and project information dialogs opened offscreen, filled
// through their widgets and accepted.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>
#include <filesystem>

#include "data/table.h"
#include "editors/editor_fixture.h"
#include "editors/ui/form_dialogs.h"

using namespace vt;
namespace fs = std::filesystem;

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

struct Scratch {
  fs::path dir;
  Scratch() {
    dir = fs::temp_directory_path() / "vt_editors_uitest";
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::copy_file(fs::path(VORTELAN_SOURCE_DATA_DIR) / "Liq_prop.XML", dir / "Liq_prop.XML");
    fs::copy_file(fs::path(VORTELAN_SOURCE_DATA_DIR) / "VTDefs.XML", dir / "VTDefs.XML");
  }
  ~Scratch() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  std::string liquids() const { return (dir / "Liq_prop.XML").string(); }
  std::string config() const { return (dir / "VTDefs.XML").string(); }
};

}  // namespace

class FormDialogsTest : public QObject {
  Q_OBJECT
 private slots:
  void systemOptionsForcedFlowAndEquation();
  void pipeScheduleNewAndUpdate();
  void projectInfoClearAndAccept();
};

void FormDialogsTest::systemOptionsForcedFlowAndEquation() {
  Scratch s;
  test::EditorFixture f;
  f.add(0, kSupply, "S1");
  int pipe = f.add(0, kPipe, "P1");
  f.p.pipe[pipe]->Friction = 130;
  f.p.liquid = {"Water", 60.0f, 1.0f, 1.0f, 0.0f, 0.26f, 1.13, ""};
  ui::SystemOptionsDialog d(nullptr, f.p, s.liquids(), s.config());
  d.show();
  QCOMPARE(d.windowTitle(), QString("VORTELAN - System Configuration"));
  QVERIFY(!child(&d, "flpredit")->isVisible());
  auto* types = child<QComboBox>(&d, "TypeComboBox1");
  types->setCurrentIndex(1);
  emit types->activated(1);
  QVERIFY(child(&d, "flpredit")->isVisible());
  QCOMPARE(child<QLabel>(&d, "FlowPressLab")->text(), QString("F&orced Flow for system :"));
  type(&d, "flpredit", "0");
  press(&d, "ApplyChanges");
  QCOMPARE(QString::fromStdString(f.lastText()), QString("Bad flow value for forced flow system!"));
  QCOMPARE(d.focusWidget(), child(&d, "flpredit"));
  QVERIFY(d.result() != QDialog::Accepted);

  type(&d, "ElevEdit", "1000");
  press(&d, "Button1");
  QCOMPARE(child(&d, "AtmPressEdit")->text(), QString("14.2"));

  f.prompt.inputs = {std::string("0.15")};
  child<QRadioButton>(&d, "RadioButton2")->click();
  QVERIFY(child(&d, "KVisEdit")->isEnabled());
  QVERIFY(child<QCheckBox>(&d, "EqLenCheckBox")->isVisible());
  type(&d, "flpredit", "120");
  type(&d, "SGEdit", "0.9");
  press(&d, "ApplyChanges");
  QCOMPARE(d.result(), int(QDialog::Accepted));
  QCOMPARE(f.p.sys.SysType, int16_t(2));
  QCOMPARE(f.p.sys.SysFlowPress, 120.0f);
  QCOMPARE(f.p.sys.HeadCalc, int16_t(2));
  QCOMPARE(f.p.pipe[pipe]->Friction, double(0.00015f));
  QCOMPARE(f.p.liquid.LiqSG, 0.9f);
  QVERIFY(std::abs(f.p.sys.AtmPress - 14.2f) < 1e-4f);
}

void FormDialogsTest::pipeScheduleNewAndUpdate() {
  test::EditorFixture f;
  Table sched = makeScheduleTable();
  Table sizes = makeSizeTable();
  sched.append({{"Index", "{A}"}, {"Description", "Steel Sch 40"}, {"HWCoef", 120.0}, {"SpecRough", 0.00015},
                {"MannCoef", 0.012}, {"HideSched", false}});
  sizes.append({{"Index", "{A}"}, {"NomSize", 2.0}, {"InDia", 2.067}});
  PipeScheduleDb db(sched, sizes);
  ui::PipeScheduleDialog d(nullptr, f.p, db, "");
  d.show();
  QCOMPARE(d.windowTitle(), QString("VORTELAN"));
  auto* grid = child<QTableWidget>(&d, "SizeGrid");
  QCOMPARE(grid->horizontalHeaderItem(0)->text(), QString("Nom Dia (inch)"));
  QCOMPARE(grid->item(8, 0)->text(), QString("2"));
  QCOMPARE(grid->item(8, 1)->text(), QString("2.067"));
  QCOMPARE(child(&d, "EditDescription")->text(), QString("Steel Sch 40"));
  QVERIFY(!child<QPushButton>(&d, "btnUpdate")->isEnabled());

  press(&d, "btnNew");
  QCOMPARE(QString::fromStdString(f.lastText()),
           QString("Modify this new schedule as desired, then click Update to save!"));
  QVERIFY(child<QPushButton>(&d, "btnUpdate")->isEnabled());
  QCOMPARE(child<QLabel>(&d, "labEditing")->text(), QString("New Schedule"));
  QCOMPARE(d.focusWidget(), child(&d, "EditDescription"));
  QCOMPARE(grid->item(8, 1)->text(), QString());
  child(&d, "EditDescription")->setText("PVC Sch 80");
  grid->item(8, 1)->setText("1.939");
  grid->item(10, 1)->setText("2,9");
  press(&d, "btnUpdate");
  QCOMPARE(QString::fromStdString(f.lastText()), QString("Bad diameter value: 2,9 - Please correct!"));
  QCOMPARE(grid->currentRow(), 10);
  grid->item(10, 1)->setText("2.9");
  press(&d, "btnUpdate");
  QCOMPARE(child<QListWidget>(&d, "SchedList")->count(), 2);
  QCOMPARE(sched.rowCount(), size_t(2));
  QCOMPARE(sizes.rowCount(), size_t(3));
  QVERIFY(!child<QPushButton>(&d, "btnUpdate")->isEnabled());
  press(&d, "btnClose");
  QVERIFY(!d.isVisible());
}

void FormDialogsTest::projectInfoClearAndAccept() {
  test::EditorFixture f;
  f.p.proj.Info[kInfoProject] = "Plant 7";
  ui::ProjectInfoDialog d(nullptr, f.p, "");
  d.show();
  QCOMPARE(d.windowTitle(), QString("VORTELAN - Project Info"));
  QCOMPARE(child(&d, "ProjEdit")->text(), QString("Plant 7"));
  QCOMPARE(child<QLabel>(&d, "labEmailEdit")->text(), QString("&Notes: "));
  press(&d, "ClearCriteria");
  QCOMPARE(child(&d, "ProjEdit")->text(), QString());
  type(&d, "EngrEdit", "R. Lee");
  press(&d, "ApplyChanges");
  QCOMPARE(d.result(), int(QDialog::Accepted));
  QCOMPARE(f.p.proj.Info[kInfoProject], std::string());
  QCOMPARE(f.p.proj.Info[kInfoEngineer], std::string("R. Lee"));
  QVERIFY(f.p.proj.Modified);
}

QTEST_MAIN(FormDialogsTest)
#include "form_dialogs_uitest.moc"
