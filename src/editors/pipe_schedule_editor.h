// The pipe schedule editor's model: the list of schedules, viewing and editing one, new, clone,
// update, cancel, remove, and the export and import of .vtpipe files.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "editors/pipe_schedule_db.h"
#include "model/project.h"

namespace vt {

class PipeScheduleEditor {
 public:
  static constexpr int kRows = 31;

  PipeScheduleEditor(PipeScheduleDb& db, Project& project, std::string projectFolder);

  // ---- display ----
  char unitMode() const { return unitMode_; }  // 'E' inches, 'M' millimetres
  std::string roughNote() const;
  std::string gridHeader(int column) const;  // 0 nominal, 1 inside diameter
  std::string nominalText(int row) const;    // rows 0..30
  const std::vector<std::string>& listItems() const { return items_; }
  const std::vector<std::string>& listKeys() const { return keys_; }
  bool multiSelect() const { return exportSelecting_; }

  // ---- state ----
  enum class Mode { Edit, Add, AddTemp };
  Mode editMode() const { return editMode_; }
  bool modified() const { return modified_; }  // "&Update" and "C&ancel" enabled, "Modified" shown
  bool exportSelecting() const { return exportSelecting_; }
  int selectedIndex() const { return selectedIndex_; }
  std::string editLabel() const;  // empty when hidden
  const std::string& exportStatus() const { return exportStatus_; }
  const std::string& focus() const { return focus_; }  // control to focus; "grid" with focusRow()
  int focusRow() const { return focusRow_; }

  // ---- fields ----
  std::string description, hwCoef, specRough, mannCoef;
  bool hide = false;
  std::array<std::string, kRows> inDia;  // the grid's second column

  // ---- events ----
  void opened();                 // select the first list row
  void select(int row);          // selecting a schedule in the list
  void fieldChanged();           // any field, the check box, or a grid cell that differs from before
  void gridEntered();            // entering the grid while choosing export rows
  void newSchedule();
  void cloneSchedule(const std::vector<int>& selected);
  bool update();
  void cancel();
  bool close();                  // false: stay open
  void remove(const std::vector<int>& selected);
  void exportPress(const std::vector<int>& selected);
  void import();

 private:
  Prompter& prompter() { return project_.prompter(); }
  void fillList();
  void load(const std::string& key);
  void startEdit();
  void leaveEdit();
  void endExport();
  bool refuse(MsgKind kind, const std::string& message, const std::string& control, int row = -1);

  PipeScheduleDb& db_;
  Project& project_;
  std::string projectFolder_;
  char unitMode_;
  std::vector<std::string> items_, keys_;
  Mode editMode_ = Mode::Edit;
  std::string editKey_;
  bool modified_ = false;
  bool exportSelecting_ = false;
  int selectedIndex_ = 0;
  std::string exportStatus_;
  std::string focus_;
  int focusRow_ = -1;
};

// The texts of the schedule editor's numbers.
std::string scheduleRoughText(double feet);   // fixed 8 decimals, trailing zeros removed
std::string scheduleInDiaText(double value);  // fixed 3 decimals, the first ".000" removed

}  // namespace vt
