// The small modal one-line input dialog used by the editing commands and the element clipboard.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vt {

class InputDialog : public QDialog {
  Q_OBJECT
 public:
  enum class Outcome { Ok, Cancel, HandleIndividually };

  InputDialog(const QString& title, const QString& prompt, const QString& initial, int maxLength,
              bool showHandleIndividually, bool expert, QWidget* parent = nullptr);

  Outcome outcome() const { return outcome_; }
  // The field's text after OK; the initial text after Cancel.
  QString text() const;

  QLineEdit* field() const { return edPrefix_; }
  QPushButton* okButton() const { return btnOk_; }
  QPushButton* cancelButton() const { return btnCancel_; }
  QPushButton* handleButton() const { return btnHandle_; }

 protected:
  void reject() override;

 private:
  void finishWith(Outcome o);
  void onReturnPressed();

  QLabel* lbInputPrompt_;
  QLineEdit* edPrefix_;
  QPushButton* btnOk_;
  QPushButton* btnCancel_;
  QPushButton* btnHandle_;
  QString initial_;
  bool expert_;
  Outcome outcome_ = Outcome::Cancel;
};

}  // namespace vt
