// The system-wide forms: system options and liquid, pipe schedules, project information.
#pragma once

#include <QDialog>
#include <memory>

#include "editors/pipe_schedule_editor.h"
#include "editors/project_info.h"
#include "editors/system_options.h"

namespace Ui {
class SystemOptionsDialog;
class PipeScheduleDialog;
class ProjectInfoDialog;
}  // namespace Ui

namespace vt::ui {

class SystemOptionsDialog : public QDialog {
  Q_OBJECT
 public:
  SystemOptionsDialog(QWidget* parent, Project& project, const std::string& liquidTablePath,
                      const std::string& configPath);
  ~SystemOptionsDialog() override;
  SystemOptionsForm& model() { return model_; }

 private:
  void refresh();
  void collect();
  void ApplyChangesClick();
  void afterAction();
  std::unique_ptr<Ui::SystemOptionsDialog> ui_;
  SystemOptionsForm model_;
  bool refreshing_ = false;
};

class PipeScheduleDialog : public QDialog {
  Q_OBJECT
 public:
  PipeScheduleDialog(QWidget* parent, Project& project, PipeScheduleDb& db, const std::string& projectFolder);
  ~PipeScheduleDialog() override;
  PipeScheduleEditor& model() { return model_; }

 protected:
  void showEvent(QShowEvent* e) override;
  void reject() override;  // "&Close", the window's close box and Esc
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void refresh();
  void fieldEdited();
  std::vector<int> selectedRows() const;
  void afterAction();
  std::unique_ptr<Ui::PipeScheduleDialog> ui_;
  PipeScheduleEditor model_;
  bool refreshing_ = false;
  bool shownOnce_ = false;
  QString cellBefore_;
};

class ProjectInfoDialog : public QDialog {
  Q_OBJECT
 public:
  ProjectInfoDialog(QWidget* parent, Project& project, const std::string& configPath);
  ~ProjectInfoDialog() override;
  ProjectInfoForm& model() { return model_; }

 private:
  void collect();
  void refresh();
  std::unique_ptr<Ui::ProjectInfoDialog> ui_;
  ProjectInfoForm model_;
  std::string configPath_;
};

}  // namespace vt::ui
