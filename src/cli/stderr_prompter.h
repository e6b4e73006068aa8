// The command-line tool's prompter: what the program would show in its message boxes goes to
// standard error; a question takes its default answer (Yes when it has none), and choosers and
// input lines are cancelled.
#pragma once

#include <iostream>

#include "model/prompter.h"

namespace vt::cli {

class StderrPrompter : public Prompter {
 public:
  Answer message(MsgKind, const std::string& text, Buttons buttons, Answer defaultButton) override {
    std::cerr << text << "\n";
    if (defaultButton != Answer::None) return defaultButton;
    return buttons == Buttons::Ok ? Answer::Ok : Answer::Yes;
  }
  std::optional<std::string> inputLine(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<std::string> openFileName(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<std::string> saveFileName(const std::string&, const std::string&, const std::string&,
                                          const std::string&) override {
    return std::nullopt;
  }
};

}  // namespace vt::cli
