#include "solver/message_list.h"

#include "model/project.h"

namespace vt {

MessageLevel levelOf(const std::string& text) {
  auto has = [&](const char* word) { return text.find(word) != std::string::npos; };
  if (has("Error") || has("Warning")) return MessageLevel::ErrorOrWarning;
  if (has("Suggestion") || has("Poor")) return MessageLevel::Suggestion;
  if (has("Info")) return MessageLevel::Information;
  if (has("Good!")) return MessageLevel::Good;
  return MessageLevel::Plain;
}

Rgb colourOf(MessageLevel level) {
  switch (level) {
    case MessageLevel::ErrorOrWarning:
    case MessageLevel::Suggestion: return {255, 0, 0};
    case MessageLevel::Information: return {0, 0, 255};
    case MessageLevel::Good: return {0, 128, 0};
    case MessageLevel::Plain: break;
  }
  return {0, 0, 0};
}

MessageLevel MessageLine::level() const { return levelOf(text); }
Rgb MessageLine::colour() const { return colourOf(level()); }

std::vector<std::string> MessageList::texts() const {
  std::vector<std::string> out;
  out.reserve(lines_.size());
  for (const auto& l : lines_) out.push_back(l.text);
  return out;
}

ClickOutcome clickLine(const MessageLine& line, const Project& project, Prompter& prompter) {
  ClickOutcome out;
  const bool expert = project.proj.Expert;
  if (line.text.find("Suggestion") != std::string::npos) {
    if (!line.command) return out;
    if (!expert &&
        prompter.message(MsgKind::Information, line.command->hint, Buttons::YesNo) != Answer::Yes)
      return out;
    out.action = ClickOutcome::Action::RunCommand;
    out.command = line.command.get();
    return out;
  }
  const int n = line.element;
  if (n == 0) return out;
  if (n < 0) {  // gotoElement ignores it, but the window still hides
    out.action = ClickOutcome::Action::GoToElement;
    out.element = n;
    return out;
  }
  const std::string id = project.ElemID(n);
  if (id.empty()) {
    prompter.message(MsgKind::Error, kElementRemovedText, Buttons::Ok);
    return out;
  }
  if (!expert &&
      prompter.message(MsgKind::Confirmation, "Go to element " + id + "?", Buttons::YesNo) != Answer::Yes)
    return out;
  out.action = ClickOutcome::Action::GoToElement;
  out.element = n;
  return out;
}

}  // namespace vt
