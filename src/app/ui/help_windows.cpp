#include "app/ui/help_windows.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/project.h"

namespace vt {

namespace {

QLabel* wrapped(const QString& text, QWidget* parent) {
  auto* l = new QLabel(text, parent);
  l->setWordWrap(true);
  return l;
}

// The window sizes itself to its Close button with the same margins on every platform.
void fitToClose(QDialog* dlg, QPushButton* close) {
  dlg->adjustSize();
  const QRect r = close->geometry();
  dlg->resize(std::max(dlg->width(), r.left() + r.width() + 30), std::max(dlg->height(), r.top() + r.height() + 40));
}

}  // namespace

QuickStartWindow::QuickStartWindow(TProject& flags, Steps steps, QWidget* parent)
    : QDialog(parent), flags_(flags), steps_(std::move(steps)) {
  setObjectName("TfQuickStart");
  setWindowTitle("VORTELAN");
  setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(wrapped("<b>Welcome to VORTELAN.</b> Three steps set up a new project; each can be done "
                            "again later from the menus and buttons of the main window.",
                            this));
  const char* texts[3] = {"Set the units you want to use", "Specify the project descriptive information",
                          "Specify the system type and other project parameters"};
  const char* hints[3] = {"Opens the units dialog (Options-Units menu)", "Opens the project information form",
                          "Opens the system options form"};
  auto* grid = new QGridLayout;
  for (int i = 0; i < 3; ++i) {
    step_[i] = new QPushButton(QString::number(i + 1), this);
    step_[i]->setObjectName(QString("btnStep%1").arg(i + 1));
    step_[i]->setFixedWidth(36);
    step_[i]->setToolTip(hints[i]);
    auto* label = new QPushButton(texts[i], this);
    label->setFlat(true);
    label->setStyleSheet("text-align: left");
    label->setToolTip(hints[i]);
    grid->addWidget(step_[i], i, 0);
    grid->addWidget(label, i, 1);
    connect(step_[i], &QPushButton::clicked, this, [this, i] { runStep(i); });
    connect(label, &QPushButton::clicked, this, [this, i] { runStep(i); });
    const bool available = i == 0 ? bool(steps_.units) : i == 1 ? bool(steps_.projectInfo) : bool(steps_.systemOptions);
    step_[i]->setEnabled(available);
    label->setEnabled(available);
  }
  layout->addLayout(grid);
  layout->addWidget(wrapped("Then drag elements from the element buttons onto the workspace to build the main "
                            "line: a supply at each end, with pipes, fittings, valves, pumps and gauges between. "
                            "Press F8 to solve.",
                            this));
  dontShow_ = new QCheckBox("Don't show Quick Start at startup again", this);
  dontShow_->setObjectName("cbDontShow");
  close_ = new QPushButton("&Close", this);
  close_->setObjectName("btnClose");
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(dontShow_);
  bottom->addStretch();
  bottom->addWidget(close_);
  layout->addLayout(bottom);
  connect(close_, &QPushButton::clicked, this, &QuickStartWindow::reject);
  refresh();
  fitToClose(this, close_);
}

void QuickStartWindow::refresh() {
  dontShow_->setChecked(!flags_.InitQuickStart);
  // Hints only for those who have not switched them off.
  for (QWidget* w : findChildren<QWidget*>()) {
    if (!w->property("hint").isValid()) w->setProperty("hint", w->toolTip());
    w->setToolTip(flags_.Expert ? QString() : w->property("hint").toString());
  }
}

void QuickStartWindow::runStep(int i) {
  static const char* const next[3] = {"Next time use the Options-Units menu.", "Next time use the Project button.",
                                      "Next time use the System button."};
  hide();
  if (i == 0 && steps_.units) steps_.units();
  if (i == 1 && steps_.projectInfo) steps_.projectInfo();
  if (i == 2 && steps_.systemOptions) steps_.systemOptions();
  if (steps_.inform) steps_.inform(next[i]);
  if (flags_.QuickStartShown) show();
}

void QuickStartWindow::reject() {
  flags_.InitQuickStart = !dontShow_->isChecked();
  flags_.QuickStartShown = false;
  QDialog::reject();
}

BranchHelpWindow::BranchHelpWindow(TProject& flags, QWidget* parent) : QDialog(parent), flags_(flags) {
  setObjectName("TfBranchHelp");
  setWindowTitle("VORTELAN - Branch Help");
  setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(wrapped(
      "<b>Building branches</b><ul>"
      "<li>A branch leaves a line at a gauge: place a gauge in the main line (or in another branch) first.</li>"
      "<li>Start the branch with that same gauge: drag it from its line, or choose it as the branch's first "
      "gauge.</li>"
      "<li>End the branch with a supply, or with a gauge of another line to rejoin it.</li>"
      "<li>A branch holds at most one supply, as its last element.</li>"
      "<li>Use the line selector (F4) or Alt+1..Alt+9 to show a branch, Alt+0 for the main line.</li>"
      "</ul>",
      this));
  dontShow_ = new QCheckBox("Don't show Branch Help again", this);
  dontShow_->setObjectName("cbDontShow");
  close_ = new QPushButton("&Close", this);
  close_->setObjectName("btnClose");
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(dontShow_);
  bottom->addStretch();
  bottom->addWidget(close_);
  layout->addLayout(bottom);
  connect(close_, &QPushButton::clicked, this, &BranchHelpWindow::reject);
  connect(dontShow_, &QCheckBox::clicked, this, [this](bool checked) {
    flags_.InitBranchHelp = !checked;
    flags_.BranchHelpShown = false;
  });
  refresh();
  fitToClose(this, close_);
}

void BranchHelpWindow::refresh() { dontShow_->setChecked(!flags_.InitBranchHelp); }

void BranchHelpWindow::reject() {
  if (dontShow_->isChecked()) {
    flags_.InitBranchHelp = false;
    flags_.BranchHelpShown = false;
  } else {
    flags_.InitBranchHelp = true;
  }
  QDialog::reject();
}

}  // namespace vt
