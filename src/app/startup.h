// Start-up: the per-user data folder with the configuration and the user-editable tables, the
// project folder with the sample projects, the configuration file VTDefs.XML read into the
// project and the window (get_defaults) and written back at exit (put_defaults), and the choice
// of the project opened at start-up.
//
// Folders are plain paths ending with '/'. The desktop program finds them with Qt; tests and the
// command-line tool hand in any folders they like.
#pragma once

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/commands.h"
#include "data/table.h"
#include "model/project.h"
#include "model/prompter.h"

namespace vt {

inline constexpr const char* kConfigFileName = "VTDefs.XML";
// The project opened at the first start, shipped in ProgramFolder + "Projects/".
inline constexpr const char* kSampleProjectName = "Sample 1 - Open system.pzn";
// The reference tables copied into the data folder when missing, in this order.
inline constexpr std::array<const char*, 3> kUserTables = {"PipeSched.XML", "PipeSizes.XML", "Liq_prop.XML"};

// The program cannot go on; the message has been shown. The caller ends the program.
class StartupAbort : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A folder could not be created; what() is the folder's path.
class FolderError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Copies sourceFolder + name to targetFolder + name, creating the target folder with its parents.
// A missing source shows "Can't locate <source><name>! Need to create <name>" and throws
// StartupAbort; a folder that cannot be created throws FolderError; a copy that fails shows the
// reason and throws StartupAbort.
void CopyDataFile(const std::string& sourceFolder, const std::string& targetFolder, const std::string& name,
                  Prompter& prompter);

// The data-file step, run before any window exists. Uses state.ProgramFolder and state.DataFolder;
// sets state.ProjectFolder (the "ProjectFolder" record, else defaultProjectFolder), creates it and
// copies the sample projects into it. Throws StartupAbort or FolderError as described above.
void runDataFileStep(ShellState& state, const std::string& programVersion, const std::string& defaultProjectFolder,
                     Prompter& prompter);

// The element-ID font of the workspace.
struct IdFont {
  std::string name;
  int charSet = 0;
  int color = 8421504;  // grey
  int size = 8;
  int style = 0;  // bold 1, italic 2, underline 4, strike-out 8
};

// The window values kept in the configuration, handed between the core and the window layer.
// An empty optional means "not configured: keep the window's own default".
struct WindowSettings {
  std::optional<int> width, height, left, top;
  std::optional<int> clipboardLeft, clipboardTop;
  bool clipboardWindowExists = false;  // put_defaults writes the clipboard position only then
  std::optional<std::string> fontName;
  IdFont font;
  int elemSize = 32;  // 32..64
};

// What get_defaults needs beyond the project.
struct DefaultsContext {
  std::vector<std::string> args;      // the command-line arguments (without the program name)
  bool atStartup = true;              // false when New re-reads the configuration
  std::string defaultProjectFolder;   // used when the "ProjectFolder" record is empty
};

// Reads state.DataFolder + "VTDefs.XML" and applies every key to the project (settings, liquid,
// project information, units, flags), to the window settings and, at start-up, to the recent
// files. Returns the project to open at start-up (empty for none). A configuration that cannot be
// read shows its message and changes nothing.
std::string get_defaults(Project& project, ShellState& state, WindowSettings& window, const DefaultsContext& ctx);

// The project's part of get_defaults: flags, settings (with the default pipe friction), liquid,
// project information and units, from a loaded configuration table.
void applyProjectDefaults(Table& defs, Project& project);

// Writes the records kept at exit: the folders and current file, the window values and flags,
// and the recent files. Records that do not exist are not created, except "GenInitBranchHelp".
// Returns false (after showing why) when the file could not be read or written.
bool put_defaults(const Project& project, const ShellState& state, const WindowSettings& window, Prompter& prompter);

// The start-up project: the joined command-line arguments when such a file exists, else the
// configured current file, else the sample project in the project folder.
std::string startupProject(const std::vector<std::string>& args, const std::string& currentFile,
                           const std::string& projectFolder);

// Loads the configuration table with its primary index on Parameter (case-insensitive).
Table loadConfig(const std::string& path);

}  // namespace vt
