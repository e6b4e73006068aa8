// The element editor dialogs. Each is a Designer form bound to its core model: widget texts go
// into the model, "&Accept" asks the model, and a refusal keeps the dialog open with the focus on
// the field the model names.
#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "editors/node_editors.h"
#include "editors/pipe_editor.h"
#include "editors/pump_fvh_editors.h"
#include "editors/valfit_editor.h"

namespace Ui {
class PipeEditorDialog;
class ValfitEditorDialog;
class PumpEditorDialog;
class FvhEditorDialog;
class SupplyEditorDialog;
class GaugeEditorDialog;
}  // namespace Ui

class QKeyEvent;

namespace vt::ui {

class PipeEditorDialog : public QDialog {
  Q_OBJECT
 public:
  PipeEditorDialog(QWidget* parent, Project& project, EditorSetup setup, const ScheduleSource* schedules);
  ~PipeEditorDialog() override;
  PipeEditor& model() { return model_; }

 private:
  void refresh();
  void collect();
  void ApplyChangesClick();
  std::unique_ptr<Ui::PipeEditorDialog> ui_;
  PipeEditor model_;
};

class ValfitEditorDialog : public QDialog {
  Q_OBJECT
 public:
  ValfitEditorDialog(QWidget* parent, Project& project, EditorSetup setup, std::vector<ValfitKind> kinds);
  ~ValfitEditorDialog() override;
  ValfitEditor& model() { return model_; }

 private:
  void refresh();
  void collect();
  void ApplyChangesClick();
  std::unique_ptr<Ui::ValfitEditorDialog> ui_;
  ValfitEditor model_;
};

class PumpEditorDialog : public QDialog {
  Q_OBJECT
 public:
  PumpEditorDialog(QWidget* parent, Project& project, EditorSetup setup, const std::string& catalogueData);
  ~PumpEditorDialog() override;
  PumpEditor& model() { return model_; }
  // New pump-catalogue data received while the editor is open.
  void setCatalogueData(const std::string& text);

 private:
  void refresh();
  void collect();
  void ApplyChangesClick();
  std::unique_ptr<Ui::PumpEditorDialog> ui_;
  PumpEditor model_;
};

class FvhEditorDialog : public QDialog {
  Q_OBJECT
 public:
  FvhEditorDialog(QWidget* parent, Project& project, EditorSetup setup);
  ~FvhEditorDialog() override;
  FvhEditor& model() { return model_; }

 private:
  void refresh();
  void collect();
  void ApplyChangesClick();
  std::unique_ptr<Ui::FvhEditorDialog> ui_;
  FvhEditor model_;
};

class SupplyEditorDialog : public QDialog {
  Q_OBJECT
 public:
  SupplyEditorDialog(QWidget* parent, Project& project, EditorSetup setup);
  ~SupplyEditorDialog() override;
  SupplyEditor& model() { return model_; }

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void refresh();
  void collect();
  void ApplyChangesClick();
  std::unique_ptr<Ui::SupplyEditorDialog> ui_;
  SupplyEditor model_;
};

class GaugeEditorDialog : public QDialog {
  Q_OBJECT
 public:
  GaugeEditorDialog(QWidget* parent, Project& project, EditorSetup setup);
  ~GaugeEditorDialog() override;
  GaugeEditor& model() { return model_; }

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void refresh();
  void collect();
  void ApplyChangesClick();
  std::unique_ptr<Ui::GaugeEditorDialog> ui_;
  GaugeEditor model_;
};

}  // namespace vt::ui
