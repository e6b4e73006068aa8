// Message boxes, the one-line input dialog and file choosers of the desktop program.
#pragma once

#include <QString>
#include <functional>

#include "model/prompter.h"

class QWidget;

namespace vt {

class QtPrompter : public Prompter {
 public:
  // `expert` tells whether Enter in the input dialog acts as OK.
  explicit QtPrompter(QWidget* parent, std::function<bool()> expert = {});

  Answer message(MsgKind kind, const std::string& text, Buttons buttons = Buttons::Ok,
                 Answer defaultButton = Answer::None) override;
  std::optional<std::string> inputLine(const std::string& caption, const std::string& prompt,
                                       const std::string& initial) override;
  InputReply inputDialog(const std::string& caption, const std::string& prompt, const std::string& initial,
                         int maxLength, bool handleIndividually) override;
  std::optional<std::string> openFileName(const std::string& title, const std::string& filter,
                                          const std::string& folder) override;
  std::optional<std::string> saveFileName(const std::string& title, const std::string& filter,
                                          const std::string& folder, const std::string& name) override;

  void setParent(QWidget* parent) { parent_ = parent; }

  // "Project files (*.pzn)|*.pzn|Clipboard files (*.clip)|*.clip" or "Project files (*.pzn)" ->
  // Qt's ";;"-separated form, and the extension of the first filter ("pzn").
  static QString qtFilter(const std::string& filter);
  static QString firstExtension(const std::string& filter);
  // The title every box of a kind carries.
  static QString kindTitle(MsgKind kind);

 private:
  QWidget* parent_;
  std::function<bool()> expert_;
};

}  // namespace vt
