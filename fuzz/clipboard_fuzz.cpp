// Clipboard files of both versions from untrusted bytes: reading never crashes, and whatever it
// accepts can be saved and read back with the same entries.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "files/element_clipboard.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vt::Project project;
  vt::ScriptedPrompter prompter;  // answers the heavy-use question with Yes
  project.setPrompter(&prompter);
  vt::ElementClipboard clipboard;
  auto result = vt::readClipboardBytes({data, size}, project, clipboard, "fuzz.clip");
  if (result.status != vt::ClipReadStatus::Read) return 0;

  auto saved = vt::clipboardFileBytes(clipboard);
  vt::ElementClipboard back;
  auto again = vt::readClipboardBytes(saved, project, back, "again.clip");
  if (again.status != vt::ClipReadStatus::Read || back.count() != clipboard.count()) std::abort();
  return 0;
}
