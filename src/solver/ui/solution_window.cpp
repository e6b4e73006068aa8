#include "solver/ui/solution_window.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <cmath>

#include "model/project.h"
#include "solver/solution.h"
#include "units/number_format.h"

namespace vt {

namespace {
constexpr int kPicW = 288, kPicH = 92;
QColor toColor(Rgb c) { return QColor(c.r, c.g, c.b); }
}  // namespace

SolutionWindow::SolutionWindow(Project& project, QWidget* parent)
    : QDialog(parent), project_(project), solution_(std::make_unique<Solution>(project, *this)) {
  setObjectName("TfStat");
  // A fixed tool window that stays above the main window; only the close button in its title.
  setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  QFont f("Arial");
  f.setPointSize(9);
  setFont(f);
  buildUi();
  refreshCaption();
}

SolutionWindow::~SolutionWindow() {
  if (busy_) QApplication::restoreOverrideCursor();
}

void SolutionWindow::buildUi() {
  ListBoxStat_ = new QListWidget(this);
  ListBoxStat_->setObjectName("ListBoxStat");
  ListBoxStat_->setUniformItemSizes(true);
  ListBoxStat_->setMinimumHeight(16 * 18);
  ListBoxStat_->viewport()->installEventFilter(this);

  auto* panel = new QWidget(this);
  panel->setObjectName("PanelStat");
  auto blue = [panel](const QString& text, const QString& name) {
    auto* l = new QLabel(text, panel);
    l->setObjectName(name);
    l->setStyleSheet("color: rgb(0,0,255)");
    return l;
  };
  lbIter_ = blue("Iteration", "lbIter");
  ItNum_ = blue("", "ItNum");
  lbCV_ = blue("CV Iteration", "lbCV");
  CVItNum_ = blue("", "CVItNum");
  lbConver_ = blue("Convergence", "lbConver");
  ConPer_ = blue("", "ConPer");
  progbarConPer_ = new QProgressBar(panel);
  progbarConPer_->setObjectName("progbarConPer");
  progbarConPer_->setRange(0, 100);
  progbarConPer_->setTextVisible(false);
  MemoButton_ = new QPushButton("&Close", panel);
  MemoButton_->setObjectName("MemoButton");
  MemoButton_->setAutoDefault(false);
  errlab_ = new QLabel(panel);
  errlab_->setObjectName("errlab");
  errlab_->setStyleSheet("color: rgb(255,0,0)");
  errlab_->setWordWrap(true);

  PanelImageStat_ = new QWidget(panel);
  PanelImageStat_->setObjectName("PanelImageStat");
  auto* pic = new QHBoxLayout(PanelImageStat_);
  pic->setContentsMargins(0, 0, 0, 0);
  auto* signs = new QVBoxLayout;
  signs->addWidget(new QLabel("+", PanelImageStat_));
  signs->addStretch();
  signs->addWidget(new QLabel("0", PanelImageStat_));
  signs->addStretch();
  signs->addWidget(new QLabel("-", PanelImageStat_));
  pic->addLayout(signs);
  ImageStat_ = new QLabel(PanelImageStat_);
  ImageStat_->setObjectName("ImageStat");
  ImageStat_->setFixedSize(kPicW, kPicH);
  ImageStat_->setFrameShape(QFrame::Box);
  pic->addWidget(ImageStat_);
  clearPicture();

  auto* grid = new QGridLayout;
  grid->addWidget(lbIter_, 0, 0);
  grid->addWidget(ItNum_, 0, 1);
  grid->addWidget(lbCV_, 1, 0);
  grid->addWidget(CVItNum_, 1, 1);
  grid->addWidget(lbConver_, 2, 0);
  grid->addWidget(ConPer_, 2, 1);
  grid->addWidget(progbarConPer_, 3, 0, 1, 2);
  grid->setColumnMinimumWidth(1, 70);
  auto* left = new QVBoxLayout;
  left->addLayout(grid);
  left->addWidget(errlab_);
  left->addStretch();
  auto* right = new QVBoxLayout;
  right->addWidget(PanelImageStat_);
  auto* buttonRow = new QHBoxLayout;
  buttonRow->addStretch();
  buttonRow->addWidget(MemoButton_);
  right->addLayout(buttonRow);
  auto* panelLayout = new QHBoxLayout(panel);
  panelLayout->addLayout(left, 1);
  panelLayout->addLayout(right);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(ListBoxStat_, 1);
  layout->addWidget(panel);
  resize(620, 520);

  for (QWidget* w : {static_cast<QWidget*>(lbIter_), static_cast<QWidget*>(ItNum_), static_cast<QWidget*>(lbCV_),
                     static_cast<QWidget*>(CVItNum_), static_cast<QWidget*>(lbConver_),
                     static_cast<QWidget*>(ConPer_), static_cast<QWidget*>(progbarConPer_), PanelImageStat_})
    w->setVisible(false);
  errlab_->setVisible(false);
  connect(MemoButton_, &QPushButton::clicked, this, &SolutionWindow::MemoButtonClick);
}

void SolutionWindow::refreshCaption() { setWindowTitle(QString::fromStdString(project_.solutionCaption())); }

// ---------------------------------------------------------------- list

void SolutionWindow::syncList() {
  const auto& lines = solution_->list.lines();
  if (static_cast<size_t>(ListBoxStat_->count()) > lines.size()) ListBoxStat_->clear();
  const int before = ListBoxStat_->count();
  for (size_t i = static_cast<size_t>(before); i < lines.size(); ++i) {
    auto* item = new QListWidgetItem(QString::fromStdString(lines[i].text));
    item->setForeground(toColor(lines[i].colour()));
    item->setSizeHint(QSize(0, 16));
    ListBoxStat_->addItem(item);
  }
  if (ListBoxStat_->count() != before) ListBoxStat_->scrollToBottom();
}

bool SolutionWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ListBoxStat_->viewport() && event->type() == QEvent::MouseButtonRelease) {
    auto* me = static_cast<QMouseEvent*>(event);
    if (ListBoxStat_->viewport()->rect().contains(me->position().toPoint())) {
      QListWidgetItem* item = ListBoxStat_->itemAt(me->position().toPoint());
      if (item) clickLine(ListBoxStat_->row(item));
    }
    return false;
  }
  return QDialog::eventFilter(watched, event);
}

void SolutionWindow::clickLine(int i) {
  if (i < 0 || i >= ListBoxStat_->count() || static_cast<size_t>(i) >= solution_->list.size()) return;
  ListBoxStat_->clearSelection();
  const ClickOutcome out = solution_->ListBoxStatMouseUp(static_cast<size_t>(i), project_.prompter());
  switch (out.action) {
    case ClickOutcome::Action::Nothing: break;
    case ClickOutcome::Action::RunCommand:
      if (runSystemOptions) runSystemOptions();
      hide();
      break;
    case ClickOutcome::Action::GoToElement:
      if (isVisible()) hide();
      if (out.element > 0 && gotoElement) gotoElement(out.element);
      break;
  }
}

// ---------------------------------------------------------------- the button

void SolutionWindow::MemoButtonClick() {
  const bool closing = MemoButton_->text() != "&Halt";
  solution_->buttonCaption = MemoButton_->text().toStdString();
  if (closing) {
    errlab_->clear();
    errlab_->setVisible(false);
    solution_->MemoButtonClick(project_.prompter());
    hide();
    return;
  }
  solution_->MemoButtonClick(project_.prompter());
  syncList();
  MemoButton_->setText(QString::fromStdString(solution_->buttonCaption));
  refreshCaption();
}

void SolutionWindow::reject() { MemoButtonClick(); }

void SolutionWindow::showEvent(QShowEvent* e) {
  solution_->visible = true;
  QDialog::showEvent(e);
}

void SolutionWindow::hideEvent(QHideEvent* e) {
  solution_->visible = false;
  QDialog::hideEvent(e);
}

// ---------------------------------------------------------------- runs

void SolutionWindow::run(bool analyze) {
  if (running_) return;
  running_ = true;
  project_.proj.Analyzing = analyze;
  solution_->RunSolution();
  project_.proj.Analyzing = false;
  running_ = false;
  syncList();
  MemoButton_->setText(QString::fromStdString(solution_->buttonCaption));
  setBusy(false);
  if (!analyze) refreshCaption();
  if (solvedChanged) solvedChanged();
}

void SolutionWindow::showLastSolution() {
  syncList();
  show();
  raise();
}

// ---------------------------------------------------------------- SolveHost

void SolutionWindow::processPendingInput() {
  syncList();
  QCoreApplication::processEvents();
}

void SolutionWindow::showWindow() {
  ListBoxStat_->clear();
  syncList();
  clearPicture();
  if (!isVisible()) {
    if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
    show();
  }
  raise();
}

void SolutionWindow::setButtonCaption(const std::string& caption) {
  solution_->buttonCaption = caption;
  MemoButton_->setText(QString::fromStdString(caption));
}

void SolutionWindow::setBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

void SolutionWindow::showIndicators(bool visible) {
  // The iteration asks for them at every step: the picture starts afresh only when they appear.
  const bool appearing = visible && !PanelImageStat_->isVisibleTo(this);
  for (QWidget* w : {static_cast<QWidget*>(lbIter_), static_cast<QWidget*>(ItNum_),
                     static_cast<QWidget*>(lbConver_), static_cast<QWidget*>(ConPer_),
                     static_cast<QWidget*>(progbarConPer_), PanelImageStat_})
    w->setVisible(visible);
  if (appearing) clearPicture();
}

void SolutionWindow::showIteration(int iteration) { ItNum_->setText(QString::number(iteration)); }

void SolutionWindow::showConvergence(double percent) {
  ConPer_->setText(QString::fromStdString(format("%-.2f", {percent})) + "%");
  progbarConPer_->setValue(static_cast<int>(std::lround(std::clamp(percent, 0.0, 100.0))));
}

void SolutionWindow::clearPicture() {
  picture_ = QPixmap(kPicW, kPicH);
  picture_.fill(Qt::white);
  QPainter p(&picture_);
  p.setPen(QPen(Qt::gray, 1, Qt::DotLine));
  p.drawLine(0, kPicH / 2, kPicW, kPicH / 2);
  p.end();
  ImageStat_->setPixmap(picture_);
  lastPlotX_ = -1;
}

void SolutionWindow::plotConvergence(int iteration, double value) {
  int x = 3 * iteration;
  if (x >= kPicW) {
    // The picture runs on: start again at the left edge.
    x %= kPicW;
    if (x < lastPlotX_) clearPicture();
  }
  const double y = kPicH / 2.0 - std::clamp(value, -1.0, 1.0) * (kPicH / 2.0 - 1);
  QPainter p(&picture_);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0, 0, 255), 1.5));
  if (lastPlotX_ >= 0 && x > lastPlotX_)
    p.drawLine(QPointF(lastPlotX_, lastPlotY_), QPointF(x, y));
  else
    p.drawPoint(QPointF(x, y));
  p.end();
  lastPlotX_ = x;
  lastPlotY_ = y;
  ImageStat_->setPixmap(picture_);
}

void SolutionWindow::setErrorLabel(const std::string& text) {
  errlab_->setText(QString::fromStdString(text));
  errlab_->setVisible(!text.empty());
}

void SolutionWindow::errorBox(const std::string& text) {
  project_.prompter().message(MsgKind::Error, text, Buttons::Ok);
}

void SolutionWindow::systemSolved() {
  syncList();
  refreshCaption();
}

void SolutionWindow::selectLastLine() {
  syncList();
  if (ListBoxStat_->count() > 0) ListBoxStat_->setCurrentRow(ListBoxStat_->count() - 1);
}

}  // namespace vt
