#include "units/ui/units_dialog.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "app/startup.h"
#include "data/table.h"
#include "model/prompter.h"

namespace vt {

namespace {
const char* const kLabels[10] = {"P&ump head, NPSHA && NPSHR",
                                 "Flow",
                                 "Pressure &head",
                                 "Fluid &temps",
                                 "Viscosity",
                                 "Vap&or and atmos pressure (abs)",
                                 "Diameters",
                                 "Lengths, elevations and HGLs",
                                 "Velocity",
                                 "Power"};
const char* const kNames[10] = {"cbPHead", "cbFlow", "cbSHead", "cbLiqTemp", "cbViscosity",
                                "cbVP",    "cbDia",  "cbLen",   "cbVel",     "cbPower"};
}  // namespace

UnitsDialog::UnitsDialog(UnitsInUse& units, const UnitsCatalogue& catalogue, double liqSG, std::string configPath,
                         Prompter& prompter, QWidget* parent)
    : QDialog(parent),
      units_(units),
      catalogue_(catalogue),
      liqSG_(liqSG),
      configPath_(std::move(configPath)),
      prompter_(prompter) {
  setObjectName("TfChangeUnits");
  setWindowTitle("VORTELAN - Units");
  auto* form = new QFormLayout;
  for (size_t i = 0; i < kQuantities.size(); ++i) {
    auto* cb = new QComboBox(this);
    cb->setObjectName(kNames[i]);
    for (const std::string& d : catalogue_.descriptions(familyOf(kQuantities[i]))) cb->addItem(QString::fromStdString(d));
    cb->setMinimumContentsLength(25);
    auto* label = new QLabel(kLabels[i], this);
    label->setBuddy(cb);
    form->addRow(label, cb);
    lists_[i] = cb;
  }
  english_ = new QPushButton("Switch to standard E&nglish units", this);
  si_ = new QPushButton("Switch to standard &SI units", this);
  accept_ = new QPushButton("&Accept", this);
  setDefault_ = new QPushButton("S&et as Default", this);
  cancel_ = new QPushButton("&Cancel", this);
  accept_->setDefault(true);
  setDefault_->setEnabled(!configPath_.empty());
  auto* sets = new QHBoxLayout;
  sets->addWidget(english_);
  sets->addWidget(si_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(accept_);
  buttons->addWidget(setDefault_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(sets);
  layout->addLayout(buttons);

  select(currentDescriptions(units_));
  connect(english_, &QPushButton::clicked, this, [this] { select(standardEnglishUnits()); });
  connect(si_, &QPushButton::clicked, this, [this] { select(standardSIUnits()); });
  connect(accept_, &QPushButton::clicked, this, &UnitsDialog::ApplyChanges);
  connect(setDefault_, &QPushButton::clicked, this, &UnitsDialog::SetAsDefault);
  connect(cancel_, &QPushButton::clicked, this, &UnitsDialog::reject);
  if (const QScreen* s = QGuiApplication::primaryScreen()) move(s->availableGeometry().topLeft());
}

UnitDescriptions UnitsDialog::chosen() const {
  UnitDescriptions d;
  for (size_t i = 0; i < d.size(); ++i) d[i] = lists_[i]->currentText().toStdString();
  return d;
}

void UnitsDialog::select(const UnitDescriptions& descriptions) {
  for (size_t i = 0; i < descriptions.size(); ++i) {
    const int at = lists_[i]->findText(QString::fromStdString(descriptions[i]), Qt::MatchExactly);
    if (at >= 0) lists_[i]->setCurrentIndex(at);
  }
}

void UnitsDialog::ApplyChanges() {
  applyUnitChoices(units_, catalogue_, chosen(), liqSG_);
  accept();
}

void UnitsDialog::SetAsDefault() {
  asking_ = true;
  try {
    Table config = loadConfig(configPath_);
    const bool yes = setUnitsAsDefault(units_, catalogue_, chosen(), liqSG_, config, prompter_);
    asking_ = false;
    if (yes) accept();
  } catch (const std::exception& e) {
    prompter_.message(MsgKind::Error, e.what(), Buttons::Ok);
    asking_ = false;
  }
}

bool UnitsDialog::event(QEvent* e) {
  // Like Cancel, leaving the dialog for another window closes it without changes; its own
  // questions do not count.
  if (e->type() == QEvent::WindowDeactivate && isVisible() && !asking_ && result() == 0 &&
      QGuiApplication::applicationState() == Qt::ApplicationActive &&
      (!QGuiApplication::modalWindow() || QGuiApplication::modalWindow() == windowHandle()))
    reject();
  return QDialog::event(e);
}

bool UnitsDialog::run(UnitsInUse& units, const UnitsCatalogue& catalogue, double liqSG,
                      const std::string& configPath, Prompter& prompter, QWidget* parent) {
  UnitsDialog dlg(units, catalogue, liqSG, configPath, prompter, parent);
  return dlg.exec() == QDialog::Accepted;
}

}  // namespace vt
