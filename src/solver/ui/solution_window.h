// The solution window: the coloured message list of every analysis and solution, the iteration
// indicators, the convergence picture and the Halt/Close button. It is the solver's SolveHost: the
// solver reports through it and lets it handle the user's input between steps.
#pragma once

#include <QDialog>
#include <QPixmap>
#include <functional>
#include <memory>

#include "solver/solve_host.h"

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace vt {

class Project;
class Solution;

class SolutionWindow : public QDialog, public SolveHost {
  Q_OBJECT
 public:
  explicit SolutionWindow(Project& project, QWidget* parent = nullptr);
  ~SolutionWindow() override;

  Solution& solution() { return *solution_; }

  // What a clicked line leads to, owned by the main window.
  std::function<void(int element)> gotoElement;
  std::function<void()> runSystemOptions;  // null: a command line does nothing
  std::function<void()> solvedChanged;     // a run ended (redraw, status bar)

  // Runs the driver (checks only when analyze); returns when the run has ended.
  void run(bool analyze);
  bool running() const { return running_; }
  // "Show Last Solution": shows the list as it stands.
  void showLastSolution();
  // The caption follows the Solved flag ("Current solution..." / "Last solution...").
  void refreshCaption();

  // ---- widgets, for the main window's tests ----
  QListWidget* listBox() const { return ListBoxStat_; }
  QPushButton* memoButton() const { return MemoButton_; }
  QLabel* errorLabel() const { return errlab_; }
  QLabel* iterationLabel() const { return ItNum_; }
  QLabel* convergenceLabel() const { return ConPer_; }
  QProgressBar* progressBar() const { return progbarConPer_; }
  const QPixmap& picture() const { return picture_; }
  // Clicks line i as a mouse release on it would.
  void clickLine(int i);
  // The button, and Esc.
  void MemoButtonClick();

  // ---- SolveHost ----
  void processPendingInput() override;
  void showWindow() override;
  void setButtonCaption(const std::string& caption) override;
  void setBusy(bool busy) override;
  void showIndicators(bool visible) override;
  void showIteration(int iteration) override;
  void showConvergence(double percent) override;
  void plotConvergence(int iteration, double value) override;
  void setErrorLabel(const std::string& text) override;
  void errorBox(const std::string& text) override;
  void systemSolved() override;
  void selectLastLine() override;

 protected:
  void reject() override;  // Esc and the title bar's close button act as the button
  void showEvent(QShowEvent* e) override;
  void hideEvent(QHideEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildUi();
  void syncList();
  void clearPicture();

  Project& project_;
  std::unique_ptr<Solution> solution_;
  bool running_ = false;
  bool busy_ = false;
  int lastPlotX_ = -1;
  double lastPlotY_ = 0;

  QListWidget* ListBoxStat_ = nullptr;
  QLabel *lbIter_ = nullptr, *ItNum_ = nullptr, *lbCV_ = nullptr, *CVItNum_ = nullptr;
  QLabel *lbConver_ = nullptr, *ConPer_ = nullptr;
  QProgressBar* progbarConPer_ = nullptr;
  QPushButton* MemoButton_ = nullptr;
  QLabel* errlab_ = nullptr;
  QWidget* PanelImageStat_ = nullptr;
  QLabel* ImageStat_ = nullptr;
  QPixmap picture_;
};

}  // namespace vt
