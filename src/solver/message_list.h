// The solution's message list: what every analysis and solution reports, as data. A window lists
// the lines, colours them and forwards clicks here; nothing in this file knows about widgets.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/prompter.h"

namespace vt {

class Project;

// A command a line can carry. Every command of the solution opens the System options dialog; the
// hint is the question asked before it runs.
struct SolveCommand {
  std::string hint;
};

enum class MessageLevel { Plain, ErrorOrWarning, Suggestion, Information, Good };

struct Rgb {
  int r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

// A line of the list: its text and at most one attachment.
struct MessageLine {
  std::string text;
  int element = 0;                        // 0: none
  std::shared_ptr<SolveCommand> command;  // null: none

  MessageLevel level() const;
  Rgb colour() const;
};

// The level a text reads as: the first of these substring tests that matches decides.
MessageLevel levelOf(const std::string& text);
Rgb colourOf(MessageLevel level);

class MessageList {
 public:
  void clear() { lines_.clear(); }
  void add(std::string text, int element = 0) { lines_.push_back({std::move(text), element, nullptr}); }
  void add(std::string text, std::shared_ptr<SolveCommand> command) {
    lines_.push_back({std::move(text), 0, std::move(command)});
  }
  const std::vector<MessageLine>& lines() const { return lines_; }
  size_t size() const { return lines_.size(); }
  bool empty() const { return lines_.empty(); }
  const MessageLine& operator[](size_t i) const { return lines_[i]; }
  const MessageLine& back() const { return lines_.back(); }
  // The texts alone, in order (what a plain listing prints).
  std::vector<std::string> texts() const;

 private:
  std::vector<MessageLine> lines_;
};

// What a click on a line asks the window to do. The questions have already been asked through the
// prompter; the window only carries out the outcome.
struct ClickOutcome {
  enum class Action {
    Nothing,      // no attachment, answered No, or the element is gone (error already shown)
    RunCommand,   // open the System options dialog, then hide the solution window
    GoToElement,  // hide the solution window (when visible) and call gotoElement(element)
  };
  Action action = Action::Nothing;
  int element = 0;
  const SolveCommand* command = nullptr;
};

inline constexpr const char* kElementRemovedText = "Sorry, element has been removed.";

// The click rules of a message line: a "Suggestion" line runs its command (asking its hint first
// unless in expert mode); any other line leads to its element (asking "Go to element ...?" unless in
// expert mode; a removed element shows kElementRemovedText).
ClickOutcome clickLine(const MessageLine& line, const Project& project, Prompter& prompter);

}  // namespace vt
