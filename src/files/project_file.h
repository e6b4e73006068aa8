// The project file (".pzn"): writing the current version, and reading the current and the two
// older versions into the project, with the clipboard section that follows the project part.
//
// Reading checks every count, length, element number and type code before it uses it. A file that
// does not hold what it promises leaves an empty project ("Error reading file: "); a damaged
// clipboard section keeps the project that was read ("File OK, but error reading clipboard from ").
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "files/element_clipboard.h"
#include "model/project.h"

namespace vt {

enum class ProjectVersion { Unknown, V10, V20, V30 };

// What getProjData needs from the reference tables. May be left empty (tests, tools): older files'
// four-character schedule codes then stay as they are.
struct ProjectFileHooks {
  // The schedule key (`Index`) of the schedule table row whose `OldIndex` is the given four-character
  // code of an older file, or nullopt.
  std::function<std::optional<std::string>(const std::string& oldIndex)> scheduleByOldIndex;
};

struct ProjReadResult {
  enum class Status {
    NoName,      // empty name: nothing done
    Missing,     // path + " does not exist!"; the project is untouched
    DosVersion,  // path + " is a previous DOS version file. Contact KLD to convert!"
    NotProject,  // path + " is not a VORTELAN project file or has been corrupted!"
    Damaged,     // "Error reading file: " + name; the project is empty
    Read,        // the project was read (an unknown version of a known layout reads as empty)
  };
  Status status = Status::NoName;
  ProjectVersion version = ProjectVersion::Unknown;
  bool clipboardDamaged = false;  // "File OK, but error reading clipboard from " was shown
  size_t clipboardEntriesRead = 0;
  std::string bareName;
  int16_t sliderPosition = 0;   // the workspace's pipe-length slider as saved (scale factor 1.0)
  std::string systemTypeText;   // "Open source and discharge", "Forced flow system", ...

  bool ok() const { return status == Status::Read && !clipboardDamaged; }
};

// getProjData: empties the project and reads the file into it and its clipboard section into the
// clipboard (appended). Messages go through the project's prompter. The project ends unsolved and
// unmodified. Window work (labels, recent files, cursor, redraw) is the caller's.
ProjReadResult getProjData(Project& project, ElementClipboard& clipboard, const std::string& path,
                           const ProjectFileHooks& hooks = {});

// The same over bytes already in memory; `path` names the file in the messages.
ProjReadResult readProjectBytes(Project& project, ElementClipboard& clipboard, std::span<const uint8_t> bytes,
                                const std::string& path, const ProjectFileHooks& hooks = {});

// OpenVTWinProj10 / OpenVTWinProj20: the older readers, positioned after the eight-byte version
// header; they fill the store and the settings, give the saved slider position, and throw
// FileFormatError on damaged input. getProjData then finishes as for any file.
class ByteReader;
void OpenVTWinProj10(ByteReader& in, Project& project, int16_t& sliderPosition);
void OpenVTWinProj20(ByteReader& in, Project& project, int16_t& sliderPosition);

enum class ClipboardChoice {
  Ask,     // "Do you want to save your Clipboard (n elements) with this project?"
  Always,  // save the entries without asking
  Never,   // save only the empty section
};

struct SaveOptions {
  int16_t sliderPosition = 50;
  ClipboardChoice clipboard = ClipboardChoice::Ask;
};

// SaveProj: the bytes of the current version. An element with a type code outside 1..7 (or
// without its record) shows "Error on type Save Proj!" and is left out of the file: its places in
// the sequence are written as removed places, which every reader drops.
std::vector<uint8_t> SaveProj(Project& project, const ElementClipboard& clipboard, const SaveOptions& options = {});

// SaveProj into a file through a temporary file renamed over the old one. A failure shows
// "Error saving file: " ... and leaves any existing file as it was. True when written.
bool saveProjectFile(Project& project, const ElementClipboard& clipboard, const std::string& path,
                     const SaveOptions& options = {});

// procstr: the text cut to 40 characters and padded with blanks to 40 UTF-16 units.
std::u16string procstr(const std::string& text);

// Display text of a system type after a file is opened.
std::string systemTypeText(int sysType);

}  // namespace vt
