// The units dialog: one list of display units per quantity, the two standard sets, and the choice
// applied to the project ("&Accept") or also kept as the default in the configuration.
#pragma once

#include <QDialog>
#include <array>
#include <string>

#include "units/units_catalogue.h"

class QComboBox;
class QPushButton;

namespace vt {

class Prompter;

class UnitsDialog : public QDialog {
  Q_OBJECT
 public:
  // configPath: the configuration file that "S&et as Default" writes (empty: the button is disabled).
  UnitsDialog(UnitsInUse& units, const UnitsCatalogue& catalogue, double liqSG, std::string configPath,
              Prompter& prompter, QWidget* parent = nullptr);

  QComboBox* list(Quantity q) const { return lists_[static_cast<size_t>(q)]; }
  QPushButton* englishButton() const { return english_; }
  QPushButton* siButton() const { return si_; }
  QPushButton* acceptButton() const { return accept_; }
  QPushButton* defaultButton() const { return setDefault_; }
  QPushButton* cancelButton() const { return cancel_; }
  // The texts of the ten lists, in the order the choices are applied.
  UnitDescriptions chosen() const;
  void select(const UnitDescriptions& descriptions);

  // Runs the dialog; true when units were applied (the caller clears and redraws the workspace).
  static bool run(UnitsInUse& units, const UnitsCatalogue& catalogue, double liqSG, const std::string& configPath,
                  Prompter& prompter, QWidget* parent);

 protected:
  bool event(QEvent* e) override;

 private:
  void ApplyChanges();
  void SetAsDefault();

  UnitsInUse& units_;
  const UnitsCatalogue& catalogue_;
  double liqSG_;
  std::string configPath_;
  Prompter& prompter_;
  bool asking_ = false;
  std::array<QComboBox*, 10> lists_{};
  QPushButton *english_, *si_, *accept_, *setDefault_, *cancel_;
};

}  // namespace vt
