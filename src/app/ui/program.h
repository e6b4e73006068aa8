// The desktop program as a whole: finds its folders, runs the data-file step, opens the reference
// tables, creates the main window, reads the configuration and opens the start-up project; hands
// the main window the pieces of the other subsystems.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/startup.h"
#include "data/table.h"
#include "units/units_catalogue.h"

namespace vt {

class MainWindow;
struct EditorContext;

struct ProgramFolders {
  std::string program;         // shipped tables, samples and help
  std::string data;            // per-user configuration and editable tables
  std::string defaultProject;  // Documents + "VORTELAN/Projects/"
  std::string desktop;
};

// The folders on this machine. An environment variable VORTELAN_HOME, when set, replaces the
// per-user roots (data, documents and desktop), so a test run never touches the user's files.
ProgramFolders findFolders();

class Program {
 public:
  Program(std::vector<std::string> args, ProgramFolders folders);
  ~Program();

  // Message boxes go here from the start (tests give a scripted prompter); null: Qt boxes.
  void setPrompter(Prompter* prompter) { prompter_ = prompter; }
  // The data-file step; false when the program must stop (the reason has been shown).
  bool prepareDataFiles();
  // Creates the main window and runs its creation steps.
  void createMainWindow();
  MainWindow* window() const { return window_.get(); }

 private:
  bool openReferenceTables();
  void openScheduleTables();
  void closeScheduleTables();
  void saveScheduleTables();
  void captureWindowSettings();
  void applyWindowSettings();
  void wireServices();

  Prompter* prompter_ = nullptr;
  std::vector<std::string> args_;
  ProgramFolders folders_;
  std::unique_ptr<MainWindow> window_;
  std::optional<Table> pipeSched_, pipeSizes_, valfit_;
  UnitsCatalogue catalogue_;
  bool tablesOpen_ = false;
  std::unique_ptr<EditorContext> editorCtx_;
  WindowSettings windowSettings_;
};

}  // namespace vt
