#include "app/ui/input_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vt {

InputDialog::InputDialog(const QString& title, const QString& prompt, const QString& initial, int maxLength,
                         bool showHandleIndividually, bool expert, QWidget* parent)
    : QDialog(parent), initial_(initial), expert_(expert) {
  setWindowTitle(title);
  setModal(true);
  lbInputPrompt_ = new QLabel(prompt, this);
  lbInputPrompt_->setObjectName("lbInputPrompt");
  lbInputPrompt_->setWordWrap(true);
  edPrefix_ = new QLineEdit(initial, this);
  edPrefix_->setObjectName("edPrefix");
  if (maxLength > 0) edPrefix_->setMaxLength(maxLength);
  btnOk_ = new QPushButton("&OK", this);
  btnCancel_ = new QPushButton("&Cancel", this);
  btnHandle_ = new QPushButton("&Handle Individually", this);
  btnOk_->setObjectName("btnOK");
  btnCancel_->setObjectName("btnCancel");
  btnHandle_->setObjectName("btnHandleIndividually");
  btnHandle_->setVisible(showHandleIndividually);
  // Enter must never press a button behind the user's back: outside expert mode it only moves on.
  for (QPushButton* b : {btnOk_, btnCancel_, btnHandle_}) {
    b->setAutoDefault(false);
    b->setDefault(false);
  }

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnOk_);
  buttons->addWidget(btnCancel_);
  buttons->addWidget(btnHandle_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lbInputPrompt_);
  layout->addWidget(edPrefix_);
  layout->addLayout(buttons);

  connect(btnOk_, &QPushButton::clicked, this, [this] { finishWith(Outcome::Ok); });
  connect(btnCancel_, &QPushButton::clicked, this, [this] { finishWith(Outcome::Cancel); });
  connect(btnHandle_, &QPushButton::clicked, this, [this] { finishWith(Outcome::HandleIndividually); });
  connect(edPrefix_, &QLineEdit::returnPressed, this, &InputDialog::onReturnPressed);
  edPrefix_->setFocus();
  edPrefix_->selectAll();
}

QString InputDialog::text() const { return outcome_ == Outcome::Cancel ? initial_ : edPrefix_->text(); }

void InputDialog::reject() {
  outcome_ = Outcome::Cancel;
  QDialog::reject();
}

void InputDialog::finishWith(Outcome o) {
  outcome_ = o;
  if (o == Outcome::Cancel)
    QDialog::reject();
  else
    done(o == Outcome::Ok ? QDialog::Accepted : 2);
}

void InputDialog::onReturnPressed() {
  if (expert_)
    finishWith(Outcome::Ok);
  else
    focusNextChild();
}

}  // namespace vt
