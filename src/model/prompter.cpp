#include "model/prompter.h"

namespace vt {

InputReply Prompter::inputDialog(const std::string& caption, const std::string& prompt, const std::string& initial,
                                 int, bool) {
  auto text = inputLine(caption, prompt, initial);
  if (text) return {InputOutcome::Ok, *text};
  return {InputOutcome::Cancel, initial};
}

InputReply ScriptedPrompter::inputDialog(const std::string& caption, const std::string& prompt,
                                         const std::string& initial, int maxLength, bool handleIndividually) {
  if (nextReply_ < inputReplies.size()) {
    prompts.push_back(caption);
    InputReply r = inputReplies[nextReply_++];
    if (r.outcome == InputOutcome::Cancel) r.text = initial;
    return r;
  }
  return Prompter::inputDialog(caption, prompt, initial, maxLength, handleIndividually);
}

Answer ScriptedPrompter::message(MsgKind kind, const std::string& text, Buttons buttons, Answer defaultButton) {
  Answer a;
  if (nextAnswer_ < answers.size()) {
    a = answers[nextAnswer_++];
  } else if (defaultButton != Answer::None) {
    a = defaultButton;
  } else {
    a = buttons == Buttons::Ok ? Answer::Ok : Answer::Yes;
  }
  shown.push_back({kind, text, buttons, a});
  return a;
}

std::optional<std::string> ScriptedPrompter::inputLine(const std::string& caption, const std::string&,
                                                       const std::string&) {
  prompts.push_back(caption);
  return nextInput_ < inputs.size() ? inputs[nextInput_++] : std::nullopt;
}

std::optional<std::string> ScriptedPrompter::openFileName(const std::string& title, const std::string&,
                                                          const std::string&) {
  prompts.push_back(title);
  return nextFile_ < fileNames.size() ? fileNames[nextFile_++] : std::nullopt;
}

std::optional<std::string> ScriptedPrompter::saveFileName(const std::string& title, const std::string&,
                                                          const std::string&, const std::string&) {
  prompts.push_back(title);
  return nextFile_ < fileNames.size() ? fileNames[nextFile_++] : std::nullopt;
}

std::vector<std::string> ScriptedPrompter::texts() const {
  std::vector<std::string> out;
  for (const auto& m : shown) out.push_back(m.text);
  return out;
}

}  // namespace vt
