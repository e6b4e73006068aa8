#include "app/commands.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace vt {

namespace fs = std::filesystem;

namespace {

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

bool exists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::exists(fs::path(path), ec);
}

}  // namespace

std::string ShellCommands::sysTypeText(int sysType, bool atCreation) {
  switch (sysType) {
    case 1: return "Open source and discharge";
    case 2: return atCreation ? "Single line forced flow system" : "Forced flow system";
    default: return "Closed loop recirculating system";
  }
}

std::string ShellCommands::lineText(int line) {
  return line == 0 ? "Main Line" : "Branch " + std::to_string(line);
}

std::string ShellCommands::bareName(const std::string& path) { return fs::path(path).filename().string(); }

std::string ShellCommands::folderOf(const std::string& path) {
  std::string folder = fs::path(path).parent_path().string();
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

std::string ShellCommands::fixDoubleExtension(std::string name) {
  // Case-insensitive, every occurrence.
  const std::string doubled = ".PZN.PZN";
  for (;;) {
    auto at = upper(name).find(doubled);
    if (at == std::string::npos) return name;
    name.replace(at, doubled.size(), ".pzn");
  }
}

// ---------------------------------------------------------------- recent files

void ShellCommands::UpdateFileList(const std::string& previous, const std::string& opened) {
  if (!opened.empty())
    for (int i = kRecentFiles - 1; i >= 0; --i)
      if (s_.RecentFiles[i] == opened) s_.RecentFiles[i].clear();
  if (previous.empty()) return;
  for (int i = kRecentFiles - 2; i >= 0; --i) s_.RecentFiles[i + 1] = s_.RecentFiles[i];
  s_.RecentFiles[0] = previous;
}

// ---------------------------------------------------------------- new, open, reopen

bool ShellCommands::offerSave(const std::string& question, bool cancelContinues) {
  Answer a = ask(MsgKind::Warning, question, Buttons::YesNoCancel, Answer::Yes);
  if (a == Answer::Cancel) return cancelContinues;
  if (a == Answer::Yes) {
    // The user asked for the work to be kept: if it was not written, go no further.
    Save();
    if (p_.proj.Modified && p_.tot_elems > 0) return false;
  }
  return true;
}

void ShellCommands::New(Origin origin) {
  if (p_.proj.Modified) {
    if (!offerSave("Current project has been modified, save before clearing?", false)) return;
  } else if (!p_.proj.Expert) {
    if (ask(MsgKind::Confirmation, "Clear Workspace?", Buttons::YesNo) != Answer::Yes) return;
  }
  UpdateFileList(s_.projectFile, "");
  if (p_.tot_elems == 0) return;
  p_.ClearProject();
  host_.closeSolutionWindow();
  if (origin == Origin::Command) host_.readDefaults();
  s_.projectFile.clear();
  s_.projectName.clear();
  s_.sysTypeText = sysTypeText(1, false);
  s_.lineText = lineText(0);
}

void ShellCommands::askProjectFolder(const std::string& folder) {
  if (folder == s_.ProjectFolder) return;
  if (ask(MsgKind::Confirmation, "Reset Project Folder to: " + folder + "?", Buttons::YesNo) == Answer::Yes)
    s_.ProjectFolder = folder;
}

void ShellCommands::Open() {
  s_.statusText.clear();
  if (p_.proj.Modified && !offerSave("Current project has been modified, save first?", true)) return;
  auto chosen = p_.prompter().openFileName("Open VORTELAN File:", kOpenFilter, s_.ProjectFolder);
  if (!chosen || chosen->empty()) return;
  const std::string path = *chosen;
  if (upper(fs::path(path).extension().string()) == ".PZN")
    openProject(path);
  else
    host_.readClipboardFile(path);
  askProjectFolder(folderOf(path));
  host_.repaint();
}

void ShellCommands::Reopen(int k) {
  if (k < 0 || k >= kRecentFiles || s_.RecentFiles[k].empty()) return;
  const std::string path = s_.RecentFiles[k];  // the list changes while the file is read
  if (p_.proj.Modified && !offerSave("Current project has been modified, save first?", false)) return;
  openProject(path);
  host_.repaint();
}

ReadResult ShellCommands::openProject(const std::string& path) {
  if (path.empty()) return ReadResult::NotRead;
  const bool hadElements = p_.tot_elems > 0;
  const std::string previous = s_.projectFile;
  const ReadResult r = host_.readProject(path);
  if (r == ReadResult::NotRead) return r;
  if (hadElements) host_.closeSolutionWindow();
  UpdateFileList(previous, path);
  if (r == ReadResult::Ok) {
    s_.projectFile = path;
    s_.projectName = bareName(path);
  } else {
    // Nothing usable was read: the label must not name a file that is not the project shown.
    s_.projectFile.clear();
    s_.projectName.clear();
  }
  s_.HasLastSolution = false;
  s_.sysTypeText = sysTypeText(p_.sys.SysType, false);
  s_.lineText = lineText(p_.CurLine);
  return r;
}

// ---------------------------------------------------------------- save

bool ShellCommands::SaveAs() {
  s_.SaveAsFlag = true;
  return Save();
}

bool ShellCommands::Save() {
  if (p_.tot_elems == 0) return false;
  std::string name = s_.projectFile;
  if (s_.SaveAsFlag || name.empty()) {
    auto chosen = p_.prompter().saveFileName("Save Current Project File As:", kProjectFilter, s_.ProjectFolder,
                                             name);
    if (!chosen || chosen->empty()) return false;
    name = *chosen;
  }
  s_.SaveAsFlag = false;
  name = fixDoubleExtension(name);
  if (exists(name)) {
    Answer a = ask(MsgKind::Confirmation, "Do you want to save as " + bareName(name) + " (overwrite)?",
                   Buttons::YesNoCancel);
    if (a == Answer::Cancel) return false;
    if (a == Answer::No) {
      auto again = p_.prompter().saveFileName("Save Project File As:", kProjectFilter, s_.ProjectFolder,
                                              bareName(name));
      if (!again || again->empty()) return false;
      name = *again;
    }
  }
  name = fixDoubleExtension(name);
  if (!host_.writeProject(name)) return false;
  const std::string folder = folderOf(name);
  if (folder != "/") askProjectFolder(folder);
  s_.projectFile = name;
  s_.projectName = bareName(name);
  p_.SetModified(false);
  s_.statusText = name + " saved!";
  return true;
}

// ---------------------------------------------------------------- exit

bool ShellCommands::ExitQuery() {
  Answer a;
  if (p_.tot_elems > 0 && p_.proj.Modified)
    a = ask(MsgKind::Warning, "Project has been modified, but not saved. Exit VORTELAN?", Buttons::YesNo, Answer::No);
  else
    a = ask(MsgKind::Confirmation, "Exit VORTELAN?", Buttons::YesNo, Answer::No);
  if (a != Answer::Yes) return false;
  UpdateFileList(s_.projectFile, "");
  host_.writeDefaults();
  return true;
}

// ---------------------------------------------------------------- resets and shortcut

void ShellCommands::ResetConfigFile() {
  if (ask(MsgKind::Warning,
          "Reset Config file? (WARNING: You should never really have to do this unless VORTELAN is not running "
          "correctly!  You will have to reset units, etc. after VORTELAN restarts!!!)",
          Buttons::YesNo, Answer::No) != Answer::Yes)
    return;
  if (ask(MsgKind::Warning, "Last chance to exit before reseting... Reset Config file?", Buttons::YesNo) != Answer::Yes)
    return;
  // The restart skips the exit question, so unsaved work is offered for saving first.
  if (p_.proj.Modified && p_.tot_elems > 0 &&
      !offerSave("Current project has been modified, save first?", false))
    return;
  const std::string path = s_.DataFolder + "VTDefs.XML";
  std::error_code ec;
  if (fs::remove(fs::path(path), ec) && !ec) {
    ask(MsgKind::Information,
        "Config file deleted! VORTELAN will now restart. If it doesn't, please manually restart...", Buttons::Ok);
    host_.restartProgram();
  } else {
    ask(MsgKind::Error, "Config file could not be deleted. Try to manually delete " + path, Buttons::Ok);
  }
}

void ShellCommands::ResetPipeSchedules() {
  if (ask(MsgKind::Warning,
          "Reinstall pipe schedules? WARNING: Any schedules (and settings) you have created might be lost! (To save "
          "your own schedules, export them so you can re-import them again)",
          Buttons::YesNo, Answer::No) != Answer::Yes)
    return;
  if (ask(MsgKind::Warning,
          "Last chance to exit before deleting current pipe schedules... Reset schedules? (WARNING: This action may "
          "not be reversible!!!",
          Buttons::YesNo) != Answer::Yes)
    return;
  host_.closeScheduleTables();
  const char* const files[] = {"PipeSched.XML", "PipeSizes.XML"};
  std::error_code ec;
  bool deleted = fs::remove(fs::path(s_.DataFolder + files[0]), ec) && !ec;
  deleted = deleted && fs::remove(fs::path(s_.DataFolder + files[1]), ec) && !ec;
  // Whatever was deleted is put back from the shipped copies, so the tables never stay missing.
  bool copied = true;
  for (const char* f : files) {
    const std::string target = s_.DataFolder + f;
    if (exists(target)) continue;
    const std::string source = s_.ProgramFolder + f;
    if (!exists(source)) {
      ask(MsgKind::Error,
          source + " doesn't exist! Please reinstall VORTELAN or contact KLD support to restore the shipped "
                   "pipe schedules.",
          Buttons::Ok);
      copied = false;
      continue;
    }
    std::error_code cec;
    fs::create_directories(fs::path(s_.DataFolder), cec);
    if (!fs::copy_file(fs::path(source), fs::path(target), fs::copy_options::overwrite_existing, cec)) copied = false;
  }
  host_.reopenScheduleTables();
  if (deleted && copied)
    ask(MsgKind::Confirmation, "Your pipe schedules have been re-installed!", Buttons::Ok);
  else if (!deleted)
    ask(MsgKind::Error, "Schedules could not be deleted", Buttons::Ok);
}

void ShellCommands::CreateFolderShortcut() {
  if (ask(MsgKind::Confirmation,
          "This will create a shortcut to your MyDocuments\\VORTELAN\\Projects folder on your Desktop. Continue?",
          Buttons::YesNo) != Answer::Yes)
    return;
  std::string target = s_.ProjectFolder;
  while (target.size() > 1 && target.back() == '/') target.pop_back();
  const fs::path link = fs::path(s_.DesktopFolder) / "VT Projects";
  std::error_code ec;
  fs::create_directories(fs::path(s_.DesktopFolder), ec);
  ec.clear();
  if (fs::is_symlink(fs::symlink_status(link, ec))) fs::remove(link, ec);
  ec.clear();
  fs::create_directory_symlink(fs::path(target), link, ec);
  if (ec) {
    ask(MsgKind::Error, "Project folder link could not be created on your Desktop! (" + ec.message() + ")",
        Buttons::Ok);
    return;
  }
  ask(MsgKind::Information, "Project folder link was created on your Desktop!", Buttons::Ok);
}

// ---------------------------------------------------------------- solve, analyze, report

void ShellCommands::Solve() {
  if (p_.tot_elems == 0) {
    ask(MsgKind::Warning, "No system to solve!", Buttons::Ok);
    return;
  }
  const int remembered = p_.CurLine;
  p_.CurLine = 0;
  p_.RefreshSpots();
  s_.HasLastSolution = true;
  host_.runSolution(false);
  p_.CurLine = (remembered >= 0 && remembered < kLines && p_.LineLen[remembered] != 0) ? remembered : 0;
  p_.RefreshSpots();
  p_.idBranches(p_.CurLine);
  s_.lineText = lineText(p_.CurLine);
  host_.redrawWorkspace();
}

void ShellCommands::Analyze() {
  if (p_.tot_elems == 0) {
    ask(MsgKind::Warning, "No elements to analyze!", Buttons::Ok);
    return;
  }
  host_.setSolutionCaption("Analyzing...");
  s_.HasLastSolution = true;
  host_.runSolution(true);
}

void ShellCommands::Report() {
  if (!p_.proj.Solved) p_.ComputeLines();
  if (p_.tot_elems > 0 && p_.LineLen[0] > 0)
    host_.openReports();
  else
    ask(MsgKind::Warning, "Not a complete project!", Buttons::Ok);
  p_.idBranches(p_.CurLine);
  host_.redrawWorkspace();
}

}  // namespace vt
