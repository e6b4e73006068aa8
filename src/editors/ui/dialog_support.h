// Small helpers the editor dialogs share: text conversion, filling widgets from a model without
// echoing the change back, and focusing the control a refused entry names.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QString>
#include <string>
#include <vector>

namespace vt::ui {

inline QString qs(const std::string& s) { return QString::fromStdString(s); }
inline std::string ss(const QString& s) { return s.toStdString(); }

inline void put(QLineEdit* e, const std::string& text) {
  const QSignalBlocker block(e);
  if (e->text() != qs(text)) e->setText(qs(text));
}

inline void put(QLabel* l, const std::string& text) { l->setText(qs(text)); }

inline void fill(QComboBox* c, const std::vector<std::string>& items, int index) {
  const QSignalBlocker block(c);
  QStringList list;
  for (auto& i : items) list << qs(i);
  bool same = c->count() == list.size();
  for (int k = 0; same && k < list.size(); ++k) same = c->itemText(k) == list[k];
  if (!same) {
    c->clear();
    c->addItems(list);
  }
  c->setCurrentIndex(index);
}

// Focuses the control named by a model after a refused entry (objectName == the model's name).
inline void focusNamed(QDialog* dialog, const std::string& name) {
  if (name.empty()) return;
  auto* w = dialog->findChild<QWidget*>(qs(name));
  if (!w) return;
  w->setFocus(Qt::OtherFocusReason);
  if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
}

}  // namespace vt::ui
