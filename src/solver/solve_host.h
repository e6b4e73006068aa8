// What the solver needs from the window it reports to. The desktop window implements it over its
// widgets; the command-line tool and the tests use PlainSolveHost.
//
// Halting: processPendingInput() is where a window handles its Halt button and Esc. A window that
// halts calls Solution::MemoButtonClick, which sets the project's SolveErrors flag; the solver
// tests that flag right after every call.
#pragma once

#include <string>
#include <vector>

namespace vt {

class SolveHost {
 public:
  virtual ~SolveHost() = default;

  // Let the user interface handle pending input. Called once per route per iteration and once per
  // position of the pressure walk.
  virtual void processPendingInput() {}

  // The window is shown at the start of every run (the list has just been cleared).
  virtual void showWindow() {}
  // "&Halt" while an open or closed system is being solved, "&Close" otherwise.
  virtual void setButtonCaption(const std::string& /*caption*/) {}
  // The hourglass cursor.
  virtual void setBusy(bool /*busy*/) {}
  // Iteration, convergence and progress indicators and the convergence picture.
  virtual void showIndicators(bool /*visible*/) {}
  virtual void showIteration(int /*iteration*/) {}
  // percent: the convergence label ("%-.2f%%") and the progress bar (rounded).
  virtual void showConvergence(double /*percent*/) {}
  // The convergence picture's point of an iteration: x = 3 * iteration pixels; value in -1..1 is the
  // offset from the zero line as a fraction of half the picture's height.
  virtual void plotConvergence(int /*iteration*/, double /*value*/) {}
  // The red off-curve label; an empty text hides it.
  virtual void setErrorLabel(const std::string& /*text*/) {}
  // A modal error box with an OK button.
  virtual void errorBox(const std::string& /*text*/) {}
  // The run ended solved: redraw the schematic and refresh the main window.
  virtual void systemSolved() {}
  // The last list line is to be selected (end of a run).
  virtual void selectLastLine() {}
};

// Never halts; remembers the error boxes and the last state of the indicators.
class PlainSolveHost : public SolveHost {
 public:
  std::vector<std::string> errorBoxes;
  std::string buttonCaption;
  std::string errorLabel;
  int lastIteration = 0;
  double lastConvergence = 0.0;
  bool busy = false;

  void setButtonCaption(const std::string& caption) override { buttonCaption = caption; }
  void setBusy(bool b) override { busy = b; }
  void showIteration(int iteration) override { lastIteration = iteration; }
  void showConvergence(double percent) override { lastConvergence = percent; }
  void setErrorLabel(const std::string& text) override { errorLabel = text; }
  void errorBox(const std::string& text) override { errorBoxes.push_back(text); }
};

}  // namespace vt
