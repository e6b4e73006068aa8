#include "app/ui/qt_prompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringList>

#include "app/ui/input_dialog.h"

namespace vt {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

QtPrompter::QtPrompter(QWidget* parent, std::function<bool()> expert) : parent_(parent), expert_(std::move(expert)) {}

QString QtPrompter::kindTitle(MsgKind kind) {
  switch (kind) {
    case MsgKind::Error: return "Error";
    case MsgKind::Warning: return "Warning";
    case MsgKind::Information: return "Information";
    case MsgKind::Confirmation: return "Confirm";
  }
  return {};
}

Answer QtPrompter::message(MsgKind kind, const std::string& text, Buttons buttons, Answer defaultButton) {
  QMessageBox box(parent_);
  box.setWindowTitle(kindTitle(kind));
  box.setText(q(text));
  switch (kind) {
    case MsgKind::Error: box.setIcon(QMessageBox::Critical); break;
    case MsgKind::Warning: box.setIcon(QMessageBox::Warning); break;
    case MsgKind::Information: box.setIcon(QMessageBox::Information); break;
    case MsgKind::Confirmation: box.setIcon(QMessageBox::Question); break;
  }
  QMessageBox::StandardButtons std = QMessageBox::Ok;
  if (buttons == Buttons::YesNo) std = QMessageBox::Yes | QMessageBox::No;
  if (buttons == Buttons::YesNoCancel) std = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  box.setStandardButtons(std);
  QMessageBox::StandardButton def = QMessageBox::NoButton;
  switch (defaultButton) {
    case Answer::Ok: def = QMessageBox::Ok; break;
    case Answer::Yes: def = QMessageBox::Yes; break;
    case Answer::No: def = QMessageBox::No; break;
    case Answer::Cancel: def = QMessageBox::Cancel; break;
    case Answer::None: def = buttons == Buttons::Ok ? QMessageBox::Ok : QMessageBox::Yes; break;
  }
  if (box.button(def)) box.setDefaultButton(def);
  // Esc gives the safe answer: Cancel where there is one, else No.
  if (buttons == Buttons::YesNoCancel) box.setEscapeButton(QMessageBox::Cancel);
  if (buttons == Buttons::YesNo) box.setEscapeButton(QMessageBox::No);
  QApplication::restoreOverrideCursor();
  switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    case QMessageBox::Ok: return Answer::Ok;
    default: return buttons == Buttons::Ok ? Answer::Ok : (buttons == Buttons::YesNo ? Answer::No : Answer::Cancel);
  }
}

std::optional<std::string> QtPrompter::inputLine(const std::string& caption, const std::string& prompt,
                                                 const std::string& initial) {
  InputReply r = inputDialog(caption, prompt, initial, 0, false);
  if (r.outcome == InputOutcome::Ok) return r.text;
  return std::nullopt;
}

InputReply QtPrompter::inputDialog(const std::string& caption, const std::string& prompt,
                                   const std::string& initial, int maxLength, bool handleIndividually) {
  InputDialog dlg(q(caption), q(prompt), q(initial), maxLength, handleIndividually, expert_ && expert_(), parent_);
  dlg.exec();
  InputReply r;
  switch (dlg.outcome()) {
    case InputDialog::Outcome::Ok: r.outcome = InputOutcome::Ok; break;
    case InputDialog::Outcome::Cancel: r.outcome = InputOutcome::Cancel; break;
    case InputDialog::Outcome::HandleIndividually: r.outcome = InputOutcome::HandleIndividually; break;
  }
  r.text = dlg.text().toStdString();
  return r;
}

QString QtPrompter::qtFilter(const std::string& filter) {
  QString f = q(filter);
  if (!f.contains('|')) return f;
  QStringList parts = f.split('|');
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString desc = parts[i];
    // The description usually names its pattern already; add it when it does not.
    if (!desc.contains('(')) desc += " (" + parts[i + 1] + ")";
    out << desc;
  }
  return out.join(";;");
}

QString QtPrompter::firstExtension(const std::string& filter) {
  static const QRegularExpression re("\\*\\.([A-Za-z0-9_]+)");
  auto m = re.match(q(filter));
  return m.hasMatch() ? m.captured(1) : QString();
}

std::optional<std::string> QtPrompter::openFileName(const std::string& title, const std::string& filter,
                                                    const std::string& folder) {
  QFileDialog dlg(parent_, q(title), q(folder), qtFilter(filter));
  dlg.setAcceptMode(QFileDialog::AcceptOpen);
  dlg.setFileMode(QFileDialog::ExistingFile);
  dlg.setDefaultSuffix(firstExtension(filter));
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
  return dlg.selectedFiles().first().toStdString();
}

std::optional<std::string> QtPrompter::saveFileName(const std::string& title, const std::string& filter,
                                                    const std::string& folder, const std::string& name) {
  QFileDialog dlg(parent_, q(title), q(folder), qtFilter(filter));
  dlg.setAcceptMode(QFileDialog::AcceptSave);
  dlg.setFileMode(QFileDialog::AnyFile);
  dlg.setDefaultSuffix(firstExtension(filter));
  // The overwrite question is the caller's, with its own text and choices.
  dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (!name.empty()) dlg.selectFile(q(name));
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
  return dlg.selectedFiles().first().toStdString();
}

}  // namespace vt
