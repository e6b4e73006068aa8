#include "model/prompter.h"

namespace vt {

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
