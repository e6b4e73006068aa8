// The units dialog over the shipped catalogue: its lists, the standard sets, Accept, Cancel and
// Set as Default (question, configuration records written, units applied).
#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>

#include "app/startup.h"
#include "data/table.h"
#include "model/prompter.h"
#include "units/ui/units_dialog.h"
#include "units/units_catalogue.h"

using namespace vt;

class UnitsDialogTest : public QObject {
  Q_OBJECT

  UnitsCatalogue cat_;
  UnitsInUse english_;

 private slots:
  void initTestCase() {
    cat_ = UnitsCatalogue::load(std::string(VORTELAN_SOURCE_DATA_DIR) + "/Units.XML");
    applyUnitChoices(english_, cat_, standardEnglishUnits(), 1.0);
    QCOMPARE(QString::fromStdString(english_.Flow.abbrev), QString("USgpm"));
  }

  void listsHoldTheirFamiliesAndTheCurrentUnit() {
    UnitsInUse u = english_;
    ScriptedPrompter prompter;
    UnitsDialog d(u, cat_, 1.0, "", prompter);
    QCOMPARE(d.windowTitle(), QString("VORTELAN - Units"));
    for (Quantity qn : kQuantities) {
      QStringList items;
      for (int i = 0; i < d.list(qn)->count(); ++i) items << d.list(qn)->itemText(i);
      QStringList expected;
      for (const std::string& s : cat_.descriptions(familyOf(qn))) expected << QString::fromStdString(s);
      QCOMPARE(items, expected);
      QCOMPARE(d.list(qn)->currentText().toStdString(), choiceOf(u, qn).desc);
    }
    QVERIFY(!d.defaultButton()->isEnabled());  // no configuration file to write
  }

  void acceptAppliesTheChoiceCancelDoesNot() {
    UnitsInUse u = english_;
    ScriptedPrompter prompter;
    {
      UnitsDialog d(u, cat_, 1.2, "", prompter);
      d.siButton()->click();
      QCOMPARE(d.chosen(), standardSIUnits());
      d.cancelButton()->click();
      QCOMPARE(d.result(), int(QDialog::Rejected));
    }
    QCOMPARE(QString::fromStdString(u.Flow.abbrev), QString("USgpm"));
    {
      UnitsDialog d(u, cat_, 1.2, "", prompter);
      d.list(Quantity::SHead)->setCurrentText("Pounds/sq.inch (psi)");
      d.list(Quantity::Dia)->setCurrentText("Millimeter (mm)");
      d.acceptButton()->click();
      QCOMPARE(d.result(), int(QDialog::Accepted));
    }
    QCOMPARE(QString::fromStdString(u.SHead.abbrev), QString("psi"));
    // A pressure unit carries the liquid's specific gravity; the pump head stays a head.
    QVERIFY(std::abs(u.SHeadFactor - 1.2 * u.SHead.factor) < 1e-9);
    QCOMPARE(u.PHeadFactor, u.PHead.factor);
    QVERIFY(u.nominalMillimetre);
    QVERIFY(prompter.shown.empty());
  }

  void setAsDefaultWritesTheConfiguration() {
    QTemporaryDir dir;
    const std::string cfg = dir.path().toStdString() + "/VTDefs.XML";
    std::filesystem::copy_file(std::string(VORTELAN_SOURCE_DATA_DIR) + "/VTDefs.XML", cfg);
    UnitsInUse u = english_;
    ScriptedPrompter prompter;
    prompter.answers = {Answer::No, Answer::Yes};
    UnitsDialog d(u, cat_, 1.0, cfg, prompter);
    d.siButton()->click();
    d.defaultButton()->click();  // No: nothing happens, the dialog stays
    QCOMPARE(QString::fromStdString(u.Flow.abbrev), QString("USgpm"));
    QCOMPARE(d.result(), 0);
    d.defaultButton()->click();
    QCOMPARE(prompter.texts(), (std::vector<std::string>{"Use these units for new projects and at startup?",
                                                          "Use these units for new projects and at startup?"}));
    QCOMPARE(prompter.shown[0].kind, MsgKind::Confirmation);
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(QString::fromStdString(u.Flow.abbrev), QString("m3/hr"));
    Table t = loadConfig(cfg);
    const Row* flow = t.findKey({Value("UnitFlow")});
    QVERIFY(flow);
    QCOMPARE(QString::fromStdString(flow->str("Abrev")), QString("m3/hr"));
    QCOMPARE(QString::fromStdString(flow->str("Desc")), QString("Cubic mtrs/hr (m3/hr)"));
  }

  void aConfigurationThatCannotBeReadIsReported() {
    UnitsInUse u = english_;
    ScriptedPrompter prompter;
    UnitsDialog d(u, cat_, 1.0, "/nonexistent/VTDefs.XML", prompter);
    d.defaultButton()->click();
    QCOMPARE(prompter.shown.size(), size_t(1));
    QCOMPARE(prompter.shown[0].kind, MsgKind::Error);
    QCOMPARE(d.result(), 0);
    QCOMPARE(QString::fromStdString(u.Flow.abbrev), QString("USgpm"));
  }
};

QTEST_MAIN(UnitsDialogTest)
#include "units_dialog_uitest.moc"
