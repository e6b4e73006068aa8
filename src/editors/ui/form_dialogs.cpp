#include "editors/ui/form_dialogs.h"

#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QKeyEvent>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTableWidget>

#include "editors/ui/dialog_support.h"
#include "ui_pipe_schedule_dialog.h"
#include "ui_project_info_dialog.h"
#include "ui_system_options_dialog.h"

namespace vt::ui {

// ================================================================ system options

SystemOptionsDialog::SystemOptionsDialog(QWidget* parent, Project& project, const std::string& liquidTablePath,
                                         const std::string& configPath)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      ui_(std::make_unique<Ui::SystemOptionsDialog>()), model_(project, liquidTablePath, configPath) {
  ui_->setupUi(this);
  for (auto* b : {ui_->MakeDefault, ui_->SaveDB, ui_->ApplyChanges, ui_->CancelChanges}) b->setAutoDefault(false);
  for (auto& t : SystemOptionsForm::typeItems()) ui_->TypeComboBox1->addItem(qs(t));
  connect(ui_->ApplyChanges, &QPushButton::clicked, this, [this] { ApplyChangesClick(); });
  connect(ui_->CancelChanges, &QPushButton::clicked, this, &QDialog::reject);
  connect(ui_->TypeComboBox1, qOverload<int>(&QComboBox::activated), this, [this](int i) {
    collect();
    model_.typeChanged(i);
    refresh();
  });
  const std::pair<QRadioButton*, int> radios[] = {{ui_->RadioButton1, 1}, {ui_->RadioButton2, 2}, {ui_->RadioButton3, 3}};
  for (auto [button, eq] : radios)
    connect(button, &QRadioButton::clicked, this, [this, eq = eq] {
      collect();
      model_.equationClicked(eq);
      refresh();
    });
  // Liquid fields derive their working value when the text is final (leaving the field).
  const std::pair<QLineEdit*, void (SystemOptionsForm::*)(const std::string&)> liquid[] = {
      {ui_->LiqTempEdit, &SystemOptionsForm::setTemp},
      {ui_->SGEdit, &SystemOptionsForm::setSG},
      {ui_->KVisEdit, &SystemOptionsForm::setKVis},
      {ui_->VPEdit, &SystemOptionsForm::setVP},
      {ui_->SpecHeatEdit, &SystemOptionsForm::setSpecHeat}};
  for (auto [edit, setter] : liquid)
    connect(edit, &QLineEdit::editingFinished, this, [this, edit = edit, setter = setter] {
      if (refreshing_ || !edit->isModified()) return;
      edit->setModified(false);
      (model_.*setter)(ss(edit->text()));
    });
  connect(ui_->cbLiq_Prop, &QComboBox::editTextChanged, this, [this](const QString& text) {
    if (refreshing_) return;
    model_.setDescription(ss(text));
    refresh();
  });
  auto deleteMenu = [this](const QPoint& at) {
    QMenu menu(this);
    QAction* del = menu.addAction("Delete");
    if (menu.exec(ui_->cbLiq_Prop->mapToGlobal(at)) == del) {
      model_.deleteLiquid();
      refresh();
    }
  };
  ui_->cbLiq_Prop->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(ui_->cbLiq_Prop, &QWidget::customContextMenuRequested, this, deleteMenu);
  ui_->cbLiq_Prop->lineEdit()->setMaxLength(39);
  ui_->cbLiq_Prop->lineEdit()->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(ui_->cbLiq_Prop->lineEdit(), &QWidget::customContextMenuRequested, this, deleteMenu);
  connect(ui_->Button1, &QPushButton::clicked, this, [this] {
    collect();
    model_.calc();
    afterAction();
  });
  connect(ui_->MakeDefault, &QPushButton::clicked, this, [this] {
    collect();
    model_.makeDefault();
    afterAction();
  });
  connect(ui_->SaveDB, &QPushButton::clicked, this, [this] {
    collect();
    model_.saveToDatabase();
    afterAction();
  });
  refresh();
  ui_->TypeComboBox1->setFocus();
}

SystemOptionsDialog::~SystemOptionsDialog() = default;

void SystemOptionsDialog::refresh() {
  refreshing_ = true;
  fill(ui_->TypeComboBox1, SystemOptionsForm::typeItems(), model_.typeIndex);
  const bool fp = model_.flowPressShown();
  ui_->FlowPressLab->setVisible(fp);
  ui_->flpredit->setVisible(fp);
  ui_->FlowPressUnitLab->setVisible(fp);
  put(ui_->FlowPressLab, model_.flowPressCaption());
  put(ui_->FlowPressUnitLab, model_.flowPressUnit());
  put(ui_->flpredit, model_.flowPress);
  ui_->gaugenumlab->setVisible(model_.gaugeShown());
  ui_->cbGaugeID->setVisible(model_.gaugeShown());
  {
    const QSignalBlocker b(ui_->cbGaugeID);
    QStringList items;
    for (auto& g : model_.gaugeItems()) items << qs(g);
    ui_->cbGaugeID->clear();
    ui_->cbGaugeID->addItems(items);
    ui_->cbGaugeID->setEditText(qs(model_.gaugeId));
  }
  put(ui_->tledit, model_.tol);
  put(ui_->AtmPressEdit, model_.atmPress);
  put(ui_->ElevEdit, model_.elev);
  put(ui_->labTolUnit, model_.flowUnit());
  put(ui_->labAtmUnit, model_.vpUnit());
  put(ui_->labElevUnit, model_.lengthUnit());
  {
    const QSignalBlocker b1(ui_->RadioButton1), b2(ui_->RadioButton2), b3(ui_->RadioButton3);
    for (auto* r : {ui_->RadioButton1, ui_->RadioButton2, ui_->RadioButton3}) r->setAutoExclusive(false);
    ui_->RadioButton1->setChecked(model_.equation == 1);
    ui_->RadioButton2->setChecked(model_.equation == 2);
    ui_->RadioButton3->setChecked(model_.equation == 3);
    for (auto* r : {ui_->RadioButton1, ui_->RadioButton2, ui_->RadioButton3}) r->setAutoExclusive(true);
  }
  ui_->EqLenCheckBox->setVisible(model_.eqLenShown());
  ui_->EqLenCheckBox->setChecked(model_.eqLen);
  {
    const QSignalBlocker b(ui_->cbLiq_Prop);
    QStringList items;
    for (auto& l : model_.liquidItems()) items << qs(l);
    bool same = ui_->cbLiq_Prop->count() == items.size();
    for (int k = 0; same && k < items.size(); ++k) same = ui_->cbLiq_Prop->itemText(k) == items[k];
    if (!same) {
      ui_->cbLiq_Prop->clear();
      ui_->cbLiq_Prop->addItems(items);
    }
    if (ui_->cbLiq_Prop->currentText() != qs(model_.liqDesc)) ui_->cbLiq_Prop->setEditText(qs(model_.liqDesc));
  }
  put(ui_->LiqTempEdit, model_.temp);
  put(ui_->SGEdit, model_.sg);
  put(ui_->KVisEdit, model_.kvis);
  put(ui_->VPEdit, model_.vp);
  put(ui_->SpecHeatEdit, model_.specHeat);
  ui_->KVisEdit->setEnabled(model_.kvisEnabled);
  put(ui_->labTempUnit, model_.tempUnit());
  put(ui_->labKVisUnit, model_.viscUnit());
  put(ui_->labVPUnit, model_.vpUnit());
  put(ui_->labSpecHeatUnit, model_.specHeatUnit());
  refreshing_ = false;
}

void SystemOptionsDialog::collect() {
  model_.flowPress = ss(ui_->flpredit->text());
  model_.gaugeId = ss(ui_->cbGaugeID->currentText());
  model_.tol = ss(ui_->tledit->text());
  model_.atmPress = ss(ui_->AtmPressEdit->text());
  model_.elev = ss(ui_->ElevEdit->text());
  model_.eqLen = ui_->EqLenCheckBox->isChecked();
  // A liquid field typed into but not yet left still counts.
  const std::pair<QLineEdit*, void (SystemOptionsForm::*)(const std::string&)> liquid[] = {
      {ui_->LiqTempEdit, &SystemOptionsForm::setTemp},
      {ui_->SGEdit, &SystemOptionsForm::setSG},
      {ui_->KVisEdit, &SystemOptionsForm::setKVis},
      {ui_->VPEdit, &SystemOptionsForm::setVP},
      {ui_->SpecHeatEdit, &SystemOptionsForm::setSpecHeat}};
  for (auto [edit, setter] : liquid)
    if (edit->isModified()) {
      edit->setModified(false);
      (model_.*setter)(ss(edit->text()));
    }
  model_.liqDesc = ss(ui_->cbLiq_Prop->currentText());
}

void SystemOptionsDialog::afterAction() {
  refresh();
  focusNamed(this, model_.focus());
}

void SystemOptionsDialog::ApplyChangesClick() {
  collect();
  if (model_.accept()) {
    accept();
    return;
  }
  afterAction();
}

// ================================================================ pipe schedules

PipeScheduleDialog::PipeScheduleDialog(QWidget* parent, Project& project, PipeScheduleDb& db,
                                       const std::string& projectFolder)
    : QDialog(parent), ui_(std::make_unique<Ui::PipeScheduleDialog>()), model_(db, project, projectFolder) {
  ui_->setupUi(this);
  QFont title = ui_->labTitle->font();
  title.setBold(true);
  title.setPointSizeF(title.pointSizeF() * 1.3);
  ui_->labTitle->setFont(title);
  ui_->SchedList->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ui_->SizeGrid->setColumnCount(2);
  ui_->SizeGrid->setRowCount(PipeScheduleEditor::kRows);
  ui_->SizeGrid->verticalHeader()->hide();
  ui_->SizeGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  for (int r = 0; r < PipeScheduleEditor::kRows; ++r) {
    auto* nom = new QTableWidgetItem(qs(model_.nominalText(r)));
    nom->setFlags(Qt::ItemIsEnabled);
    nom->setTextAlignment(Qt::AlignCenter);
    ui_->SizeGrid->setItem(r, 0, nom);
    auto* dia = new QTableWidgetItem();
    dia->setTextAlignment(Qt::AlignCenter);
    ui_->SizeGrid->setItem(r, 1, dia);
  }
  ui_->SizeGrid->setHorizontalHeaderLabels({qs(model_.gridHeader(0)), qs(model_.gridHeader(1))});
  put(ui_->noteRough, model_.roughNote());
  ui_->EditHW->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), ui_->EditHW));
  ui_->SizeGrid->installEventFilter(this);
  for (QPushButton* b : {ui_->btnNew, ui_->btnClone, ui_->btnRemove, ui_->btnExport, ui_->btnImport, ui_->btnUpdate,
                         ui_->btnCancel, ui_->btnClose})
    b->setAutoDefault(false);

  connect(ui_->SchedList, &QListWidget::currentRowChanged, this, [this](int row) {
    if (refreshing_ || model_.exportSelecting()) return;
    model_.select(row);
    afterAction();
  });
  for (QLineEdit* e : {ui_->EditDescription, ui_->EditHW, ui_->EditRough, ui_->EditMann})
    connect(e, &QLineEdit::textEdited, this, [this] { fieldEdited(); });
  connect(ui_->cbHide, &QCheckBox::clicked, this, [this] { fieldEdited(); });
  connect(ui_->SizeGrid, &QTableWidget::currentCellChanged, this, [this](int row, int col) {
    if (auto* it = ui_->SizeGrid->item(row, col)) cellBefore_ = it->text();
  });
  connect(ui_->SizeGrid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* it) {
    if (refreshing_ || it->column() != 1) return;
    model_.inDia[static_cast<size_t>(it->row())] = ss(it->text());
    if (it->text() != cellBefore_) fieldEdited();
    cellBefore_ = it->text();
  });
  connect(ui_->SizeGrid, &QTableWidget::cellPressed, this, [this] {
    if (!model_.exportSelecting()) return;
    model_.gridEntered();
    afterAction();
  });
  // Row heights follow the wrapped texts of the cells.
  ui_->SizeGrid->setWordWrap(true);
  ui_->SizeGrid->resizeRowsToContents();

  auto selectedAction = [this](void (PipeScheduleEditor::*op)(const std::vector<int>&)) {
    return [this, op] {
      (model_.*op)(selectedRows());
      afterAction();
    };
  };
  connect(ui_->btnNew, &QPushButton::clicked, this, [this] {
    model_.newSchedule();
    afterAction();
  });
  connect(ui_->btnClone, &QPushButton::clicked, this, selectedAction(&PipeScheduleEditor::cloneSchedule));
  connect(ui_->btnRemove, &QPushButton::clicked, this, selectedAction(&PipeScheduleEditor::remove));
  connect(ui_->btnExport, &QPushButton::clicked, this, selectedAction(&PipeScheduleEditor::exportPress));
  connect(ui_->btnImport, &QPushButton::clicked, this, [this] {
    model_.import();
    afterAction();
  });
  connect(ui_->btnUpdate, &QPushButton::clicked, this, [this] {
    model_.update();
    afterAction();
  });
  connect(ui_->btnCancel, &QPushButton::clicked, this, [this] {
    model_.cancel();
    afterAction();
  });
  connect(ui_->btnClose, &QPushButton::clicked, this, &PipeScheduleDialog::reject);
  ui_->SchedList->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(ui_->SchedList, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    QMenu menu(this);
    QAction* n = menu.addAction("New");
    QAction* c = menu.addAction("Clone");
    QAction* r = menu.addAction("Remove");
    QAction* chosen = menu.exec(ui_->SchedList->mapToGlobal(at));
    if (chosen == n) model_.newSchedule();
    else if (chosen == c) model_.cloneSchedule(selectedRows());
    else if (chosen == r) model_.remove(selectedRows());
    else return;
    afterAction();
  });
  refresh();
}

PipeScheduleDialog::~PipeScheduleDialog() = default;

void PipeScheduleDialog::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (shownOnce_) return;
  shownOnce_ = true;
  model_.opened();
  afterAction();
}

bool PipeScheduleDialog::eventFilter(QObject* watched, QEvent* e) {
  // Enter in the size grid moves to the next row, as in a spreadsheet.
  if (watched == ui_->SizeGrid && e->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(e);
    if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
      int row = ui_->SizeGrid->currentRow();
      if (row + 1 < ui_->SizeGrid->rowCount()) ui_->SizeGrid->setCurrentCell(row + 1, 1);
      return true;
    }
  }
  return QDialog::eventFilter(watched, e);
}

void PipeScheduleDialog::reject() {
  if (!model_.close()) return;
  QDialog::reject();
}

void PipeScheduleDialog::fieldEdited() {
  if (refreshing_) return;
  model_.description = ss(ui_->EditDescription->text());
  model_.hwCoef = ss(ui_->EditHW->text());
  model_.specRough = ss(ui_->EditRough->text());
  model_.mannCoef = ss(ui_->EditMann->text());
  model_.hide = ui_->cbHide->isChecked();
  bool wasModified = model_.modified();
  model_.fieldChanged();
  if (!wasModified) afterAction();
}

std::vector<int> PipeScheduleDialog::selectedRows() const {
  std::vector<int> rows;
  for (const QModelIndex& i : ui_->SchedList->selectionModel()->selectedRows()) rows.push_back(i.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

void PipeScheduleDialog::refresh() {
  refreshing_ = true;
  ui_->SchedList->setSelectionMode(model_.multiSelect() ? QAbstractItemView::ExtendedSelection
                                                        : QAbstractItemView::SingleSelection);
  QStringList items;
  for (auto& i : model_.listItems()) items << qs(i);
  bool same = ui_->SchedList->count() == items.size();
  for (int k = 0; same && k < items.size(); ++k) same = ui_->SchedList->item(k)->text() == items[k];
  if (!same) {
    ui_->SchedList->clear();
    ui_->SchedList->addItems(items);
  }
  if (!model_.exportSelecting() && model_.selectedIndex() < ui_->SchedList->count()) {
    ui_->SchedList->setCurrentRow(model_.selectedIndex());
    ui_->SchedList->scrollToItem(ui_->SchedList->currentItem());
  }
  put(ui_->EditDescription, model_.description);
  put(ui_->EditHW, model_.hwCoef);
  put(ui_->EditRough, model_.specRough);
  put(ui_->EditMann, model_.mannCoef);
  ui_->cbHide->setChecked(model_.hide);
  for (int r = 0; r < PipeScheduleEditor::kRows; ++r) {
    QTableWidgetItem* it = ui_->SizeGrid->item(r, 1);
    if (it->text() != qs(model_.inDia[static_cast<size_t>(r)])) it->setText(qs(model_.inDia[static_cast<size_t>(r)]));
  }
  ui_->btnUpdate->setEnabled(model_.modified());
  ui_->btnCancel->setEnabled(model_.modified());
  ui_->labModified->setVisible(model_.modified());
  ui_->labEditing->setVisible(!model_.editLabel().empty());
  put(ui_->labEditing, model_.editLabel());
  put(ui_->labExportStatus, model_.exportStatus());
  refreshing_ = false;
}

void PipeScheduleDialog::afterAction() {
  refresh();
  const std::string& f = model_.focus();
  if (f == "Description") ui_->EditDescription->setFocus();
  else if (f == "Spec Rough") ui_->EditRough->setFocus();
  else if (f == "HW Coef") ui_->EditHW->setFocus();
  else if (f == "Manning Coef") ui_->EditMann->setFocus();
  else if (f == "list") ui_->SchedList->setFocus();
  else if (f == "grid" && model_.focusRow() >= 0) {
    ui_->SizeGrid->setFocus();
    ui_->SizeGrid->setCurrentCell(model_.focusRow(), 1);
  }
}

// ================================================================ project information

ProjectInfoDialog::ProjectInfoDialog(QWidget* parent, Project& project, const std::string& configPath)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      ui_(std::make_unique<Ui::ProjectInfoDialog>()), model_(project), configPath_(configPath) {
  ui_->setupUi(this);
  for (auto* b : {ui_->ClearCriteria, ui_->Button1, ui_->ApplyChanges, ui_->CancelChanges}) b->setAutoDefault(false);
  connect(ui_->ClearCriteria, &QPushButton::clicked, this, [this] {
    model_.clear();
    refresh();
  });
  connect(ui_->Button1, &QPushButton::clicked, this, [this] {
    collect();
    model_.makeDefault(configPath_);
  });
  connect(ui_->ApplyChanges, &QPushButton::clicked, this, [this] {
    collect();
    model_.accept();
    accept();
  });
  connect(ui_->CancelChanges, &QPushButton::clicked, this, &QDialog::reject);
  refresh();
  ui_->ProjEdit->setFocus();
}

ProjectInfoDialog::~ProjectInfoDialog() = default;

void ProjectInfoDialog::collect() {
  for (size_t i = 0; i < 9; ++i)
    model_.fields[i] = ss(findChild<QLineEdit*>(ProjectInfoForm::controls()[i])->text());
}

void ProjectInfoDialog::refresh() {
  for (size_t i = 0; i < 9; ++i) put(findChild<QLineEdit*>(ProjectInfoForm::controls()[i]), model_.fields[i]);
}

}  // namespace vt::ui
