#include "editors/ui/element_dialogs.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "editors/ui/dialog_support.h"
#include "model/fixed_tables.h"
#include "ui_fvh_editor_dialog.h"
#include "ui_gauge_editor_dialog.h"
#include "ui_pipe_editor_dialog.h"
#include "ui_pump_editor_dialog.h"
#include "ui_supply_editor_dialog.h"
#include "ui_valfit_editor_dialog.h"

namespace vt::ui {

namespace {
// "&Accept" of every element editor: an accepted model closes the dialog; a refused one shows its
// values again and puts the focus on the field it names.
template <class Model>
void acceptOrRefuse(QDialog* dialog, Model& model, const std::function<void()>& refresh) {
  if (model.accept()) {
    dialog->accept();
    return;
  }
  refresh();
  focusNamed(dialog, model.focus());
}

template <class Ui>
void connectAcceptCancel(QDialog* d, Ui* ui, std::function<void()> accept) {
  QObject::connect(ui->ApplyChanges, &QPushButton::clicked, d, accept);
  QObject::connect(ui->CancelChanges, &QPushButton::clicked, d, &QDialog::reject);
  // Enter in a field must not bypass the model's checks through the default button.
  ui->ApplyChanges->setAutoDefault(false);
  ui->CancelChanges->setAutoDefault(false);
}

std::vector<std::string> texts(const std::array<std::string, kSupplyTypeCount>& a) { return {a.begin(), a.end()}; }
std::vector<std::string> texts(const std::array<std::string, kInletExitTypeCount>& a) { return {a.begin(), a.end()}; }
}  // namespace

// ================================================================ pipe

PipeEditorDialog::PipeEditorDialog(QWidget* parent, Project& project, EditorSetup setup, const ScheduleSource* schedules)
    : QDialog(parent), ui_(std::make_unique<Ui::PipeEditorDialog>()), model_(project, std::move(setup), schedules) {
  ui_->setupUi(this);
  connectAcceptCancel(this, ui_.get(), [this] { ApplyChangesClick(); });
  connect(ui_->DescList, qOverload<int>(&QComboBox::activated), this, [this](int i) {
    collect();
    model_.setSchedule(i);
    refresh();
  });
  connect(ui_->NDiaList, qOverload<int>(&QComboBox::activated), this, [this](int i) {
    collect();
    model_.setNominal(i);
    refresh();
  });
  connect(ui_->PickList, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    collect();
    model_.pickFriction(ui_->PickList->row(item));
    refresh();
  });
  connect(ui_->EditPipeID, &QLineEdit::editingFinished, this, [this] {
    collect();
    model_.idLeft();
    put(ui_->EditPipeID, model_.id);
  });
  refresh();
  ui_->EditPipeID->setFocus();
}

PipeEditorDialog::~PipeEditorDialog() = default;

void PipeEditorDialog::refresh() {
  setWindowTitle(qs(model_.caption()));
  put(ui_->EditPipeID, model_.id);
  put(ui_->EditPipeDescription1, model_.description);
  put(ui_->EditLength, model_.length);
  put(ui_->EditIdia, model_.insideDia);
  put(ui_->EditFriction, model_.friction);
  fill(ui_->DescList, model_.scheduleItems(), model_.scheduleIndex());
  fill(ui_->NDiaList, model_.nominalItems(), model_.nominalIndex());
  ui_->NDiaList->setEnabled(model_.nominalEnabled());
  put(ui_->labLengthUnit, model_.lengthUnit());
  put(ui_->labNomUnit, model_.nominalUnit());
  put(ui_->labDiaUnit, model_.diaUnit());
  put(ui_->labFriction, model_.frictionLabel());
  put(ui_->labFrictionUnit, model_.frictionUnit());
  put(ui_->labPickTitle, model_.pickTitle());
  if (ui_->PickList->count() == 0) {
    for (auto& p : model_.picks()) ui_->PickList->addItem(qs(p.name + " " + p.value));
  }
}

void PipeEditorDialog::collect() {
  model_.id = ss(ui_->EditPipeID->text());
  model_.description = ss(ui_->EditPipeDescription1->text());
  model_.length = ss(ui_->EditLength->text());
  model_.insideDia = ss(ui_->EditIdia->text());
  model_.friction = ss(ui_->EditFriction->text());
}

void PipeEditorDialog::ApplyChangesClick() {
  collect();
  acceptOrRefuse(this, model_, [this] { refresh(); });
}

// ================================================================ valve and fitting

ValfitEditorDialog::ValfitEditorDialog(QWidget* parent, Project& project, EditorSetup setup,
                                       std::vector<ValfitKind> kinds)
    : QDialog(parent), ui_(std::make_unique<Ui::ValfitEditorDialog>()),
      model_(project, std::move(setup), std::move(kinds)) {
  ui_->setupUi(this);
  connectAcceptCancel(this, ui_.get(), [this] { ApplyChangesClick(); });
  auto choose = [this](int i) {
    collect();
    model_.chooseKind(i);
    refresh();
  };
  connect(ui_->FDescList, qOverload<int>(&QComboBox::activated), this, choose);
  connect(ui_->VDescList, qOverload<int>(&QComboBox::activated), this, choose);
  connect(ui_->Editdia, &QLineEdit::editingFinished, this, [this] {
    if (!ui_->Editdia->isModified()) return;
    ui_->Editdia->setModified(false);
    collect();
    model_.diaLeft();
    refresh();
  });
  connect(ui_->Button2, &QPushButton::clicked, this, [this] {
    collect();
    model_.switchCoefMode();
    refresh();
    focusNamed(this, model_.focus());
  });
  connect(ui_->Button1, &QPushButton::clicked, this, [this] {
    model_.flipDirection();
    refresh();
  });
  connect(ui_->Button3, &QPushButton::clicked, this, [this] {
    collect();
    model_.convertToCustom();
    refresh();
  });
  refresh();
  ui_->EditValfitID->setFocus();
}

ValfitEditorDialog::~ValfitEditorDialog() = default;

void ValfitEditorDialog::refresh() {
  const ValfitLayout& l = model_.layout();
  setWindowTitle(qs(model_.caption()));
  QComboBox* list = model_.isFitting() ? ui_->FDescList : ui_->VDescList;
  (model_.isFitting() ? ui_->VDescList : ui_->FDescList)->hide();
  list->show();
  ui_->labKind->setBuddy(list);
  fill(list, model_.kindItems(), model_.kindIndex());
  put(ui_->EditValfitID, model_.id);
  put(ui_->EditValfitDescription, model_.description);
  put(ui_->Editdia, model_.dia);
  put(ui_->EditCoef, model_.coef);
  put(ui_->EditParm, model_.parm);
  put(ui_->EditElev, model_.elev);
  for (QWidget* w : {static_cast<QWidget*>(ui_->labDia), static_cast<QWidget*>(ui_->Editdia),
                     static_cast<QWidget*>(ui_->labDiaUnit)})
    w->setVisible(l.dia);
  put(ui_->labDia, l.diaLabel);
  put(ui_->labDiaUnit, model_.diaUnit());
  ui_->lbDiaUsed->setVisible(!model_.diaUsed().empty());
  put(ui_->lbDiaUsed, model_.diaUsed());
  ui_->labCoef->setVisible(l.coef);
  ui_->EditCoef->setVisible(l.coef);
  ui_->EditCoef->setEnabled(l.coefEnabled);
  ui_->Button2->setVisible(l.coef && l.coefSwitch);
  put(ui_->labCoef, model_.coefLabel());
  ui_->Button2->setText(qs(model_.switchText()));
  ui_->labDir->setVisible(l.dir);
  ui_->DirArrow->setVisible(l.dir);
  ui_->Button1->setVisible(l.dir);
  put(ui_->DirArrow, model_.arrow());
  ui_->ParmLab->setVisible(l.parm);
  ui_->EditParm->setVisible(l.parm);
  ui_->ParmUnits->setVisible(l.parm);
  put(ui_->ParmLab, l.parmLabel);
  put(ui_->ParmUnits, l.parmUnit);
  ui_->labElev->setVisible(l.elev);
  ui_->EditElev->setVisible(l.elev);
  ui_->labElevUnit->setVisible(l.elev);
  put(ui_->labElevUnit, model_.lengthUnit());
  ui_->Button3->setVisible(l.convertToCustom);
}

void ValfitEditorDialog::collect() {
  model_.id = ss(ui_->EditValfitID->text());
  model_.description = ss(ui_->EditValfitDescription->text());
  model_.dia = ss(ui_->Editdia->text());
  model_.coef = ss(ui_->EditCoef->text());
  model_.parm = ss(ui_->EditParm->text());
  model_.elev = ss(ui_->EditElev->text());
}

void ValfitEditorDialog::ApplyChangesClick() {
  collect();
  acceptOrRefuse(this, model_, [this] { refresh(); });
}

// ================================================================ pump

PumpEditorDialog::PumpEditorDialog(QWidget* parent, Project& project, EditorSetup setup,
                                   const std::string& catalogueData)
    : QDialog(parent), ui_(std::make_unique<Ui::PumpEditorDialog>()), model_(project, std::move(setup)) {
  ui_->setupUi(this);
  model_.setCatalogueData(catalogueData);
  connectAcceptCancel(this, ui_.get(), [this] { ApplyChangesClick(); });
  connect(ui_->rbCurve, &QRadioButton::clicked, this, [this] {
    collect();
    model_.curveMode = 0;
    refresh();
  });
  connect(ui_->rbDesignFlow, &QRadioButton::clicked, this, [this] {
    collect();
    model_.curveMode = 1;
    refresh();
  });
  connect(ui_->Button1, &QPushButton::clicked, this, [this] {
    collect();
    model_.flipDirection();
    refresh();
  });
  connect(ui_->btnRXData, &QPushButton::clicked, this, [this] {
    collect();
    model_.takeCatalogueData();
    refresh();
  });
  refresh();
  ui_->EditPumpID->setFocus();
}

PumpEditorDialog::~PumpEditorDialog() = default;

void PumpEditorDialog::setCatalogueData(const std::string& text) {
  collect();
  model_.setCatalogueData(text);
  refresh();
}

void PumpEditorDialog::refresh() {
  setWindowTitle(qs(model_.caption()));
  put(ui_->EditPumpID, model_.id);
  put(ui_->EditPumpDescription, model_.description);
  put(ui_->EditElev, model_.elev);
  put(ui_->DirArrow, model_.arrow());
  {
    const QSignalBlocker b1(ui_->rbCurve), b2(ui_->rbDesignFlow);
    ui_->rbCurve->setChecked(model_.curveMode == 0);
    ui_->rbDesignFlow->setChecked(model_.curveMode == 1);
  }
  const std::pair<QLineEdit*, std::string*> fields[] = {
      {ui_->EditIncr, &model_.incr},     {ui_->EditShut, &model_.shutoff},     {ui_->Edit1Incr, &model_.head1},
      {ui_->Edit2Incr, &model_.head2},   {ui_->Edit3Incr, &model_.head3},      {ui_->EditN1Incr, &model_.npshr1},
      {ui_->EditN2Incr, &model_.npshr2}, {ui_->EditN3Incr, &model_.npshr3},    {ui_->EditDesFlow, &model_.designFlow},
      {ui_->EditSpeed1, &model_.speed1}, {ui_->EditSpeed2, &model_.speed2},    {ui_->EditSpeed3, &model_.speed3}};
  for (auto& [edit, text] : fields) put(edit, *text);
  const bool curve = model_.curveFieldsShown();
  for (QWidget* w : std::initializer_list<QWidget*>{
           ui_->labIncr, ui_->EditIncr, ui_->labIncrUnit, ui_->labShut, ui_->EditShut, ui_->labShutUnit,
           ui_->lab1Incr, ui_->Edit1Incr, ui_->lab2Incr, ui_->Edit2Incr, ui_->lab3Incr, ui_->Edit3Incr,
           ui_->labN1, ui_->EditN1Incr, ui_->labN2, ui_->EditN2Incr, ui_->labN3, ui_->EditN3Incr, ui_->labHeadUnit,
           ui_->labHeadUnitValue, ui_->labSpeed, ui_->EditSpeed1, ui_->labRpm, ui_->labOther, ui_->EditSpeed2,
           ui_->EditSpeed3, ui_->labRpm2})
    w->setVisible(curve);
  for (QWidget* w : std::initializer_list<QWidget*>{ui_->labDesFlow, ui_->EditDesFlow, ui_->labDesFlowUnit})
    w->setVisible(!curve);
  put(ui_->labElevUnit, model_.lengthUnit());
  put(ui_->labIncrUnit, model_.flowUnit());
  put(ui_->labDesFlowUnit, model_.flowUnit());
  put(ui_->labShutUnit, model_.headUnit());
  put(ui_->labHeadUnitValue, model_.headUnit());
  ui_->btnRXData->setVisible(model_.catalogueAvailable());
  ui_->btnRXData->setText(qs(model_.catalogueCaption()));
}

void PumpEditorDialog::collect() {
  model_.id = ss(ui_->EditPumpID->text());
  model_.description = ss(ui_->EditPumpDescription->text());
  model_.elev = ss(ui_->EditElev->text());
  model_.incr = ss(ui_->EditIncr->text());
  model_.shutoff = ss(ui_->EditShut->text());
  model_.head1 = ss(ui_->Edit1Incr->text());
  model_.head2 = ss(ui_->Edit2Incr->text());
  model_.head3 = ss(ui_->Edit3Incr->text());
  model_.npshr1 = ss(ui_->EditN1Incr->text());
  model_.npshr2 = ss(ui_->EditN2Incr->text());
  model_.npshr3 = ss(ui_->EditN3Incr->text());
  model_.designFlow = ss(ui_->EditDesFlow->text());
  model_.speed1 = ss(ui_->EditSpeed1->text());
  model_.speed2 = ss(ui_->EditSpeed2->text());
  model_.speed3 = ss(ui_->EditSpeed3->text());
}

void PumpEditorDialog::ApplyChangesClick() {
  collect();
  acceptOrRefuse(this, model_, [this] { refresh(); });
}

// ================================================================ FVH

FvhEditorDialog::FvhEditorDialog(QWidget* parent, Project& project, EditorSetup setup)
    : QDialog(parent), ui_(std::make_unique<Ui::FvhEditorDialog>()), model_(project, std::move(setup)) {
  ui_->setupUi(this);
  connectAcceptCancel(this, ui_.get(), [this] { ApplyChangesClick(); });
  connect(ui_->Button1, &QPushButton::clicked, this, [this] {
    collect();
    model_.flipDirection();
    refresh();
  });
  refresh();
  ui_->EditFVHID->setFocus();
}

FvhEditorDialog::~FvhEditorDialog() = default;

void FvhEditorDialog::refresh() {
  setWindowTitle(qs(model_.caption()));
  put(ui_->EditFVHID, model_.id);
  put(ui_->EditFVHDescription, model_.description);
  put(ui_->EditIncr, model_.incr);
  put(ui_->Edit1Incr, model_.loss1);
  put(ui_->Edit2Incr, model_.loss2);
  put(ui_->DirArrow, model_.arrow());
  put(ui_->labIncrUnit, model_.flowUnit());
  put(ui_->lab1Unit, model_.headUnit());
  put(ui_->lab2Unit, model_.headUnit());
}

void FvhEditorDialog::collect() {
  model_.id = ss(ui_->EditFVHID->text());
  model_.description = ss(ui_->EditFVHDescription->text());
  model_.incr = ss(ui_->EditIncr->text());
  model_.loss1 = ss(ui_->Edit1Incr->text());
  model_.loss2 = ss(ui_->Edit2Incr->text());
}

void FvhEditorDialog::ApplyChangesClick() {
  collect();
  acceptOrRefuse(this, model_, [this] { refresh(); });
}

// ================================================================ supply and gauge

namespace {
template <class Dlg, class UiT, class Model>
void setUpNodeId(Dlg* d, UiT* ui, Model& model, std::function<void()> refresh) {
  const bool drop = model.usesDropDown();
  ui->EditNodeID->setVisible(!drop);
  ui->cbEditNodeID->setVisible(drop);
  ui->labID->setBuddy(drop ? static_cast<QWidget*>(ui->cbEditNodeID) : ui->EditNodeID);
  if (drop) {
    ui->cbEditNodeID->lineEdit()->setMaxLength(kIdLen);
    for (auto& r : model.reusable()) ui->cbEditNodeID->addItem(qs(r.id));
    ui->cbEditNodeID->setCurrentIndex(-1);
    ui->cbEditNodeID->setEditText("");
    QObject::connect(ui->cbEditNodeID, qOverload<int>(&QComboBox::activated), d, [d, ui, &model, refresh](int i) {
      model.description = ss(ui->EditNodeDescription1->text());
      model.pick(i);
      ui->cbEditNodeID->lineEdit()->setReadOnly(true);
      refresh();
      focusNamed(d, model.focus());
    });
  }
}

template <class UiT, class Model>
void showNodeId(UiT* ui, Model& model) {
  if (model.usesDropDown()) {
    const QSignalBlocker b(ui->cbEditNodeID);
    if (ui->cbEditNodeID->currentText() != qs(model.id)) ui->cbEditNodeID->setEditText(qs(model.id));
    ui->cbEditNodeID->lineEdit()->setReadOnly(model.reusing());
  } else {
    put(ui->EditNodeID, model.id);
  }
  put(ui->EditNodeDescription1, model.description);
  ui->labPressEsc->setVisible(model.pressEscShown());
}

template <class UiT>
std::string nodeIdText(UiT* ui, bool drop) {
  return ss(drop ? ui->cbEditNodeID->currentText() : ui->EditNodeID->text());
}
}  // namespace

SupplyEditorDialog::SupplyEditorDialog(QWidget* parent, Project& project, EditorSetup setup)
    : QDialog(parent), ui_(std::make_unique<Ui::SupplyEditorDialog>()), model_(project, std::move(setup)) {
  ui_->setupUi(this);
  connectAcceptCancel(this, ui_.get(), [this] { ApplyChangesClick(); });
  setUpNodeId(this, ui_.get(), model_, [this] { refresh(); });
  connect(ui_->cbSupplyType, qOverload<int>(&QComboBox::activated), this, [this](int i) {
    collect();
    model_.supplyType = i;
    refresh();
  });
  connect(ui_->cbInletExitType, qOverload<int>(&QComboBox::activated), this, [this](int i) {
    collect();
    model_.inletExitType = i;
    refresh();
  });
  connect(ui_->EditLiqElev, &QLineEdit::editingFinished, this, [this] {
    collect();
    model_.surfaceElevLeft();
    refresh();
  });
  refresh();
  if (model_.usesDropDown()) ui_->cbEditNodeID->setFocus();
  else ui_->EditNodeID->setFocus();
}

SupplyEditorDialog::~SupplyEditorDialog() = default;

void SupplyEditorDialog::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape && model_.reusing()) {
    model_.escape();
    ui_->cbEditNodeID->lineEdit()->setReadOnly(false);
    refresh();
    return;
  }
  QDialog::keyPressEvent(e);
}

void SupplyEditorDialog::refresh() {
  setWindowTitle(qs(model_.caption()));
  showNodeId(ui_.get(), model_);
  fill(ui_->cbSupplyType, texts(supplyTypeTexts()), model_.supplyType);
  fill(ui_->cbInletExitType, texts(inletExitTexts()), model_.inletExitType);
  put(ui_->EditPres, model_.pressure);
  put(ui_->EditLiqElev, model_.surfaceElev);
  put(ui_->Editinletelev, model_.inletElev);
  put(ui_->EditInletdia, model_.inletDia);
  put(ui_->labPresUnit, model_.pressureUnit());
  put(ui_->labLiqElev, model_.elevLabel());
  put(ui_->labLiqElevUnit, model_.lengthUnit());
  put(ui_->labInletElevUnit, model_.lengthUnit());
  put(ui_->labInletDiaUnit, model_.diaUnit());
  for (QWidget* w : {static_cast<QWidget*>(ui_->labPres), static_cast<QWidget*>(ui_->EditPres),
                     static_cast<QWidget*>(ui_->labPresUnit)})
    w->setVisible(model_.pressureShown());
  for (QWidget* w : {static_cast<QWidget*>(ui_->labInletType), static_cast<QWidget*>(ui_->cbInletExitType),
                     static_cast<QWidget*>(ui_->labInletElev), static_cast<QWidget*>(ui_->Editinletelev),
                     static_cast<QWidget*>(ui_->labInletElevUnit)})
    w->setVisible(model_.inletShown());
  for (QWidget* w : {static_cast<QWidget*>(ui_->labInletDia), static_cast<QWidget*>(ui_->EditInletdia),
                     static_cast<QWidget*>(ui_->labInletDiaUnit)})
    w->setVisible(model_.inletDiaShown());
}

void SupplyEditorDialog::collect() {
  model_.id = nodeIdText(ui_.get(), model_.usesDropDown());
  model_.description = ss(ui_->EditNodeDescription1->text());
  model_.supplyType = ui_->cbSupplyType->currentIndex();
  model_.inletExitType = ui_->cbInletExitType->currentIndex();
  model_.pressure = ss(ui_->EditPres->text());
  model_.surfaceElev = ss(ui_->EditLiqElev->text());
  model_.inletElev = ss(ui_->Editinletelev->text());
  model_.inletDia = ss(ui_->EditInletdia->text());
}

void SupplyEditorDialog::ApplyChangesClick() {
  collect();
  acceptOrRefuse(this, model_, [this] { refresh(); });
}

GaugeEditorDialog::GaugeEditorDialog(QWidget* parent, Project& project, EditorSetup setup)
    : QDialog(parent), ui_(std::make_unique<Ui::GaugeEditorDialog>()), model_(project, std::move(setup)) {
  ui_->setupUi(this);
  connectAcceptCancel(this, ui_.get(), [this] { ApplyChangesClick(); });
  setUpNodeId(this, ui_.get(), model_, [this] { refresh(); });
  refresh();
  if (model_.usesDropDown()) ui_->cbEditNodeID->setFocus();
  else ui_->EditNodeID->setFocus();
}

GaugeEditorDialog::~GaugeEditorDialog() = default;

void GaugeEditorDialog::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape && model_.reusing()) {
    model_.escape();
    ui_->cbEditNodeID->lineEdit()->setReadOnly(false);
    refresh();
    return;
  }
  QDialog::keyPressEvent(e);
}

void GaugeEditorDialog::refresh() {
  setWindowTitle(qs(model_.caption()));
  showNodeId(ui_.get(), model_);
  put(ui_->EditDemand, model_.demand);
  put(ui_->EditElev, model_.elev);
  put(ui_->labDemandUnit, model_.flowUnit());
  put(ui_->labElevUnit, model_.lengthUnit());
}

void GaugeEditorDialog::collect() {
  model_.id = nodeIdText(ui_.get(), model_.usesDropDown());
  model_.description = ss(ui_->EditNodeDescription1->text());
  model_.demand = ss(ui_->EditDemand->text());
  model_.elev = ss(ui_->EditElev->text());
}

void GaugeEditorDialog::ApplyChangesClick() {
  collect();
  acceptOrRefuse(this, model_, [this] { refresh(); });
}

}  // namespace vt::ui
