// The Qt side of talking to the user: message boxes with their kind, buttons and default, the
// one-line input dialog's three outcomes and its Enter rule, and the quick-start and branch-help
// windows' flags.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "app/ui/help_windows.h"
#include "app/ui/input_dialog.h"
#include "app/ui/qt_prompter.h"
#include "model/project.h"

using namespace vt;

namespace {
// Runs `act` on the modal dialog once it is up.
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
}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT
 private slots:
  void messageBoxesCarryKindButtonsAndDefault() {
    QtPrompter prompter(nullptr);
    struct Case {
      MsgKind kind;
      Buttons buttons;
      Answer def;
      QString title;
      QMessageBox::Icon icon;
      QMessageBox::StandardButtons expectButtons;
      QMessageBox::StandardButton expectDefault;
      QMessageBox::StandardButton press;
      Answer expect;
    };
    const Case cases[] = {
        {MsgKind::Warning, Buttons::YesNoCancel, Answer::Yes, "Warning", QMessageBox::Warning,
         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes, QMessageBox::No, Answer::No},
        {MsgKind::Confirmation, Buttons::YesNo, Answer::No, "Confirm", QMessageBox::Question,
         QMessageBox::Yes | QMessageBox::No, QMessageBox::No, QMessageBox::Yes, Answer::Yes},
        {MsgKind::Error, Buttons::Ok, Answer::None, "Error", QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok,
         QMessageBox::Ok, Answer::Ok},
        {MsgKind::Information, Buttons::YesNo, Answer::None, "Information", QMessageBox::Information,
         QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, QMessageBox::Cancel /* Esc */, Answer::No},
    };
    for (const Case& c : cases) {
      bool checked = false;
      whenModal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        QVERIFY(box);
        QCOMPARE(box->text(), QString("Exit VORTELAN?"));
        QCOMPARE(box->windowTitle(), c.title);
        QCOMPARE(box->icon(), c.icon);
        QCOMPARE(box->standardButtons(), c.expectButtons);
        QCOMPARE(box->defaultButton(), box->button(c.expectDefault));
        checked = true;
        if (c.press == QMessageBox::Cancel && !box->button(QMessageBox::Cancel))
          QTest::keyClick(box, Qt::Key_Escape);
        else
          box->button(c.press)->click();
      });
      QCOMPARE(prompter.message(c.kind, "Exit VORTELAN?", c.buttons, c.def), c.expect);
      QVERIFY(checked);
    }
  }

  void inputDialogOutcomes() {
    {
      InputDialog d("Prefix", "Enter a prefix:", "P-", 5, false, false);
      QVERIFY(!d.handleButton()->isVisibleTo(&d));
      QCOMPARE(d.field()->maxLength(), 5);
      d.field()->setText("ABCDEFG");  // the field keeps to its length
      QCOMPARE(d.field()->text(), QString("ABCDE"));
      d.okButton()->click();
      QCOMPARE(d.outcome(), InputDialog::Outcome::Ok);
      QCOMPARE(d.text(), QString("ABCDE"));
    }
    {
      InputDialog d("Prefix", "Enter a prefix:", "P-", 10, true, false);
      QVERIFY(d.handleButton()->isVisibleTo(&d));
      d.field()->setText("changed");
      QTest::keyClick(&d, Qt::Key_Escape);
      QCOMPARE(d.outcome(), InputDialog::Outcome::Cancel);
      QCOMPARE(d.text(), QString("P-"));  // Cancel hands back the initial text
    }
    {
      InputDialog d("Prefix", "Enter a prefix:", "P-", 10, true, false);
      d.handleButton()->click();
      QCOMPARE(d.outcome(), InputDialog::Outcome::HandleIndividually);
      QCOMPARE(d.result(), 2);
    }
  }

  void enterInTheFieldActsAsOkOnlyInExpertMode() {
    for (bool expert : {false, true}) {
      InputDialog d("Prefix", "Enter a prefix:", "X", 10, true, expert);
      d.show();
      QApplication::setActiveWindow(&d);
      d.field()->setFocus();
      QVERIFY(QTest::qWaitForWindowActive(&d));
      QTest::keyClick(d.field(), Qt::Key_Return);
      if (expert) {
        QVERIFY(!d.isVisible());
        QCOMPARE(d.outcome(), InputDialog::Outcome::Ok);
      } else {
        QVERIFY(d.isVisible());
        QVERIFY(!d.field()->hasFocus());  // the focus moved on
        d.cancelButton()->click();
      }
    }
  }

  void promptersInputDialogThroughQt() {
    bool expert = true;
    QtPrompter prompter(nullptr, [&] { return expert; });
    whenModal([](QWidget* w) {
      auto* d = qobject_cast<InputDialog*>(w);
      QVERIFY(d);
      QCOMPARE(d->windowTitle(), QString("Paste"));
      d->field()->setText("NEW");
      QTest::keyClick(d->field(), Qt::Key_Enter);
    });
    InputReply r = prompter.inputDialog("Paste", "New ID prefix:", "OLD", 15, true);
    QCOMPARE(r.outcome, InputOutcome::Ok);
    QCOMPARE(r.text, std::string("NEW"));
    whenModal([](QWidget* w) { qobject_cast<InputDialog*>(w)->handleButton()->click(); });
    r = prompter.inputDialog("Paste", "New ID prefix:", "OLD", 15, true);
    QCOMPARE(r.outcome, InputOutcome::HandleIndividually);
    whenModal([](QWidget* w) { qobject_cast<InputDialog*>(w)->cancelButton()->click(); });
    QCOMPARE(prompter.inputLine("Paste", "New ID prefix:", "OLD"), std::optional<std::string>());
  }

  void filtersTranslateToQt() {
    QCOMPARE(QtPrompter::qtFilter("Project files (*.pzn)|*.pzn|Clipboard files (*.clip)|*.clip"),
             QString("Project files (*.pzn);;Clipboard files (*.clip)"));
    QCOMPARE(QtPrompter::qtFilter("Pipe schedules|*.vtpipe"), QString("Pipe schedules (*.vtpipe)"));
    QCOMPARE(QtPrompter::firstExtension("Project files (*.pzn)|*.pzn"), QString("pzn"));
  }

  void quickStartFlags() {
    TProject flags;
    flags.InitQuickStart = false;
    flags.QuickStartShown = true;
    int unitsOpened = 0;
    std::vector<std::string> told;
    QuickStartWindow::Steps steps;
    steps.units = [&] { ++unitsOpened; };
    steps.inform = [&](const std::string& t) { told.push_back(t); };
    QuickStartWindow w(flags, steps);
    QCOMPARE(w.windowTitle(), QString("VORTELAN"));
    QVERIFY(w.dontShowBox()->isChecked());  // starts checked when InitQuickStart is false
    QVERIFY(w.stepButton(0)->isEnabled());
    QVERIFY(!w.stepButton(1)->isEnabled());  // no project information form given
    QVERIFY(!w.stepButton(0)->toolTip().isEmpty());
    flags.Expert = true;  // hints off
    w.refresh();
    QVERIFY(w.stepButton(0)->toolTip().isEmpty());
    flags.Expert = false;
    w.refresh();
    QVERIFY(!w.stepButton(0)->toolTip().isEmpty());
    w.show();
    w.stepButton(0)->click();
    QCOMPARE(unitsOpened, 1);
    QCOMPARE(told, std::vector<std::string>{"Next time use the Options-Units menu."});
    QVERIFY(w.isVisible());  // shown again while QuickStartShown
    w.dontShowBox()->setChecked(false);
    w.closeButton()->click();
    QVERIFY(flags.InitQuickStart);
    QVERIFY(!flags.QuickStartShown);
    QVERIFY(!w.isVisible());
  }

  void branchHelpFlags() {
    TProject flags;
    flags.InitBranchHelp = true;
    flags.BranchHelpShown = true;
    BranchHelpWindow w(flags);
    QVERIFY(!w.dontShowBox()->isChecked());
    w.dontShowBox()->click();  // clicking the box: InitBranchHelp follows it, the window counts as shut
    QVERIFY(!flags.InitBranchHelp);
    QVERIFY(!flags.BranchHelpShown);
    w.dontShowBox()->click();
    QVERIFY(flags.InitBranchHelp);
    w.closeButton()->click();  // unchecked: keep showing it
    QVERIFY(flags.InitBranchHelp);
    w.dontShowBox()->setChecked(true);
    flags.BranchHelpShown = true;
    w.closeButton()->click();
    QVERIFY(!flags.InitBranchHelp);
    QVERIFY(!flags.BranchHelpShown);
  }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_uitest.moc"
