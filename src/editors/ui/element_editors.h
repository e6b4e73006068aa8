// Entry points of the editor dialogs: the element editors (opened by the workspace and by the
// element clipboard window) and the system-wide forms opened from the main window's menus.
#pragma once

#include <string>

#include "editors/editor_common.h"

class QWidget;

namespace vt {

class Project;
class Table;

// What the editors need besides the project. The tables stay owned by whoever opened them at
// start-up; null tables are allowed (the lists they fill are then empty).
struct EditorContext {
  Table* pipeSched = nullptr;      // PipeSched.XML (schedule rows)
  Table* pipeSizes = nullptr;      // PipeSizes.XML (inside diameters by nominal size)
  const Table* valfit = nullptr;   // Valfit.XML (valve and fitting kinds with their K)
  std::string liquidTablePath;     // DataFolder + "Liq_prop.XML"
  std::string configPath;          // the per-user VTDefs.XML, written by the "Default" buttons
  std::string projectFolder;       // initial folder of the .vtpipe file choosers

  // ---- in/out for element editors ----
  // In: the "new element" flag. A new element's record need not exist: on acceptance the editor
  // creates it in slot `elem` (or the number in newElemNumber for nodes), writes it and adds its ID to
  // IDList; it is not placed in the line (the caller places it). On cancel nothing is created.
  // Out: a new supply or gauge for which the user picked an existing node of another line clears the
  // flag and sets newElemNumber to the picked element: the caller places that element (shared), nothing
  // was created.
  bool newElement = false;
  int newElemNumber = 0;  // out: the element number to place after a new element was accepted

  // In, for the caller "fClipboard": the clipboard's record of the entry. Out: its new caption
  // (the changed ID) or empty when the ID did not change.
  RecordPtr clipRecord;
  std::string clipCaption;

  // Pump-catalogue data last received (lines of text); the pump editor offers to take it over.
  std::string catalogueData;
};

// Opens the modal editor of an element of kind `type` (1..7). `caller` is the opening window's
// name ("fClipboard" for the element clipboard). `elem` is the element number: for an existing
// element its record is taken from the project's store; for a new one it is the number proposed
// (NewElemNumber). Returns whether the user accepted. On acceptance the record and IDList are
// written and SetSolved(false) is applied when a value the solution depends on changed; the caller
// does SetModified(true), places new elements and redraws.
bool openElementEditor(QWidget* parent, Project& project, const std::string& caller, int elem, int type,
                       EditorContext& ctx);

// Pump-catalogue data arrived: an open pump editor shows its "Click to use Rotavex data - " button
// at once. (The next pump editor opened takes ctx.catalogueData.)
void catalogueDataReceived(const std::string& text);

// The system options and liquid form. Returns whether it was accepted (the project was changed).
bool openSystemOptions(QWidget* parent, Project& project, EditorContext& ctx);

// The pipe schedule editor over ctx.pipeSched and ctx.pipeSizes (changes stay in the tables; they
// reach their files when the tables are saved at exit).
void openPipeScheduleEditor(QWidget* parent, Project& project, EditorContext& ctx);

// The project information form. Returns whether it was accepted.
bool openProjectInfo(QWidget* parent, Project& project, EditorContext& ctx);

}  // namespace vt
