// How core operations talk to the user without depending on a window toolkit.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vt {

enum class MsgKind { Error, Warning, Information, Confirmation };
enum class Buttons { Ok, YesNo, YesNoCancel };
enum class Answer { None, Ok, Yes, No, Cancel };

// Outcome of the one-line input dialog with its optional third button.
enum class InputOutcome { Ok, Cancel, HandleIndividually };
struct InputReply {
  InputOutcome outcome = InputOutcome::Cancel;
  std::string text;  // the field's text after Ok; the initial text otherwise
};

class Prompter {
 public:
  virtual ~Prompter() = default;
  // A modal message box; returns the button pressed (Ok for an Ok box).
  virtual Answer message(MsgKind kind, const std::string& text, Buttons buttons = Buttons::Ok,
                         Answer defaultButton = Answer::None) = 0;
  // The one-line input dialog; nullopt when cancelled.
  virtual std::optional<std::string> inputLine(const std::string& caption, const std::string& prompt,
                                               const std::string& initial) = 0;
  // The same dialog with a length limit and, when asked for, the "&Handle Individually" button.
  // By default it is answered through inputLine (Ok or Cancel only).
  virtual InputReply inputDialog(const std::string& caption, const std::string& prompt,
                                 const std::string& initial, int maxLength, bool handleIndividually);
  // File choosers; filter is "Description (*.ext)"; nullopt when cancelled.
  virtual std::optional<std::string> openFileName(const std::string& title, const std::string& filter,
                                                  const std::string& folder) = 0;
  virtual std::optional<std::string> saveFileName(const std::string& title, const std::string& filter,
                                                  const std::string& folder, const std::string& name) = 0;
};

// One shown message with what was answered.
struct ShownMessage {
  MsgKind kind;
  std::string text;
  Buttons buttons;
  Answer answer;
};

// Answers from a script, in order, and records everything shown. With the script exhausted it
// answers the default button (or Ok/Yes), an input line with nullopt and file choosers with nullopt.
// Tests assert on `shown`; the command-line tool uses it with an empty script.
class ScriptedPrompter : public Prompter {
 public:
  std::vector<Answer> answers;
  std::vector<std::optional<std::string>> inputs;     // for inputLine
  // For inputDialog: scripted replies are used first, then `inputs` as Ok/Cancel.
  std::vector<InputReply> inputReplies;
  std::vector<std::optional<std::string>> fileNames;  // for openFileName and saveFileName
  std::vector<ShownMessage> shown;
  std::vector<std::string> prompts;  // captions of input lines and file choosers, in order

  Answer message(MsgKind kind, const std::string& text, Buttons buttons, Answer defaultButton) override;
  std::optional<std::string> inputLine(const std::string& caption, const std::string& prompt,
                                       const std::string& initial) override;
  InputReply inputDialog(const std::string& caption, const std::string& prompt, const std::string& initial,
                         int maxLength, bool handleIndividually) override;
  std::optional<std::string> openFileName(const std::string& title, const std::string& filter,
                                          const std::string& folder) override;
  std::optional<std::string> saveFileName(const std::string& title, const std::string& filter,
                                          const std::string& folder, const std::string& name) override;

  // Texts of every message shown, in order.
  std::vector<std::string> texts() const;

 private:
  size_t nextAnswer_ = 0, nextInput_ = 0, nextFile_ = 0, nextReply_ = 0;
};

}  // namespace vt
