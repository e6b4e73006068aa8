// The quick-start window and the branch-help window: small tool windows with a few explanations.
#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QPushButton;

namespace vt {

struct TProject;

class QuickStartWindow : public QDialog {
  Q_OBJECT
 public:
  // Each step is left empty when its dialog is not available; its button is then disabled.
  struct Steps {
    std::function<void()> units, projectInfo, systemOptions;
    std::function<void(const std::string&)> inform;  // the "Next time use ..." message
  };
  QuickStartWindow(TProject& flags, Steps steps, QWidget* parent = nullptr);

  QCheckBox* dontShowBox() const { return dontShow_; }
  QPushButton* stepButton(int i) const { return step_[i]; }
  QPushButton* closeButton() const { return close_; }
  // Re-reads the flags (the check box follows InitQuickStart; hints follow Expert).
  void refresh();

 protected:
  void reject() override;  // Escape and "&Close"

 private:
  void runStep(int i);
  TProject& flags_;
  Steps steps_;
  QCheckBox* dontShow_;
  QPushButton* step_[3];
  QPushButton* close_;
};

class BranchHelpWindow : public QDialog {
  Q_OBJECT
 public:
  explicit BranchHelpWindow(TProject& flags, QWidget* parent = nullptr);
  QCheckBox* dontShowBox() const { return dontShow_; }
  QPushButton* closeButton() const { return close_; }
  void refresh();

 protected:
  void reject() override;

 private:
  TProject& flags_;
  QCheckBox* dontShow_;
  QPushButton* close_;
};

}  // namespace vt
