// Project files of any version from untrusted bytes: reading never crashes, never leaves a broken
// store, and whatever it accepts can be saved and read back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "files/project_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vt::Project project;
  vt::ScriptedPrompter prompter;  // answers every question with its default or Yes
  project.setPrompter(&prompter);
  vt::ElementClipboard clipboard;
  auto result = vt::readProjectBytes(project, clipboard, {data, size}, "fuzz.pzn");
  if (result.status != vt::ProjReadResult::Status::Read) return 0;

  auto saved = vt::SaveProj(project, clipboard, {result.sliderPosition, vt::ClipboardChoice::Always});
  vt::Project again;
  vt::ScriptedPrompter prompter2;
  again.setPrompter(&prompter2);
  vt::ElementClipboard clipboard2;
  auto back = vt::readProjectBytes(again, clipboard2, saved, "again.pzn");
  if (!back.ok() || again.SeqLen != project.SeqLen || clipboard2.count() != clipboard.count()) std::abort();
  return 0;
}
