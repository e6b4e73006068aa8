#include "editors/pipe_schedule_editor.h"

#include <fstream>
#include <sstream>

#include "data/table.h"
#include "editors/editor_common.h"
#include "model/fixed_tables.h"
#include "units/number_format.h"

namespace vt {

namespace {
constexpr double kMmToInch = 0.03937;
const char* kSaveFirst = "Click Cancel to discard edits or Update to save!";
const char* kFilter = "Pipe schedule file (*.vtpipe)";
}  // namespace

std::string scheduleRoughText(double feet) {
  std::string s = formatFixed(feet, 9, 8);
  if (s.find_first_of("Ee") != std::string::npos) return s;
  size_t dot = s.find('.');
  if (dot == std::string::npos) return s;
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  return s;
}

std::string scheduleInDiaText(double value) {
  std::string s = formatFixed(value, 6, 3);
  size_t at = s.find(".000");
  if (at == std::string::npos) at = s.find(",000");
  if (at != std::string::npos) s.erase(at, 4);
  return s;
}

PipeScheduleEditor::PipeScheduleEditor(PipeScheduleDb& db, Project& project, std::string projectFolder)
    : db_(db), project_(project), projectFolder_(std::move(projectFolder)) {
  const std::string& a = project_.units.Dia.abbrev;
  unitMode_ = (a == "in" || a == "ft") ? 'E' : 'M';
  fillList();
  leaveEdit();
}

std::string PipeScheduleEditor::roughNote() const {
  return unitMode_ == 'E' ? "Default Spec Roughness\r\nfor this material in feet"
                          : "Default Spec Roughness\r\nfor this material in mm";
}

std::string PipeScheduleEditor::gridHeader(int column) const {
  if (column == 0) return unitMode_ == 'E' ? "Nom Dia (inch)" : "Nom Dia (mm)";
  return unitMode_ == 'E' ? "Inside Dia (inch)" : "Inside Dia (mm)";
}

std::string PipeScheduleEditor::nominalText(int row) const {
  return formatGeneral(nominalSize(row, unitMode_ == 'M'), 7);
}

std::string PipeScheduleEditor::editLabel() const {
  if (!modified_) return "";
  return editMode_ == Mode::Edit ? "Editing Existing Schedule" : "New Schedule";
}

void PipeScheduleEditor::fillList() {
  items_.clear();
  keys_.clear();
  for (auto& s : db_.schedulesByDescription()) {
    items_.push_back(s.description);
    keys_.push_back(s.key);
  }
}

void PipeScheduleEditor::startEdit() {
  modified_ = true;
  if (exportSelecting_) {
    endExport();
    prompter().message(MsgKind::Information, "Export cancelled!");
  }
}

void PipeScheduleEditor::leaveEdit() {
  modified_ = false;
  editMode_ = Mode::Edit;
}

void PipeScheduleEditor::endExport() {
  exportSelecting_ = false;
  exportStatus_.clear();
}

bool PipeScheduleEditor::refuse(MsgKind kind, const std::string& message, const std::string& control, int row) {
  focus_ = control;
  focusRow_ = row;
  prompter().message(kind, message);
  return false;
}

void PipeScheduleEditor::opened() {
  if (!items_.empty()) select(0);
}

void PipeScheduleEditor::load(const std::string& key) {
  auto row = db_.schedule(key);
  if (!row) {
    prompter().message(MsgKind::Error, "Cannot locate Pipe Schedule with Key of " + key);
    return;
  }
  editKey_ = key;
  description = row->description;
  hwCoef = row->hw ? formatGeneral(*row->hw, 15) : "";
  // The note names millimetres in metric mode, so the field is shown and taken in millimetres there.
  specRough = row->rough ? scheduleRoughText(*row->rough * (unitMode_ == 'M' ? 304.8 : 1.0)) : "";
  mannCoef = row->mann ? formatGeneral(*row->mann, 5) : "";
  hide = row->hidden;
  for (auto& c : inDia) c.clear();
  for (auto& size : db_.sizes(key)) {
    int pos = nominalPosition(static_cast<float>(size.nomSize), false);
    if (pos < 0 || !size.inDia) continue;
    double v = unitMode_ == 'M' ? *size.inDia / kMmToInch : *size.inDia;
    inDia[static_cast<size_t>(pos)] = scheduleInDiaText(v);
  }
  leaveEdit();
}

void PipeScheduleEditor::select(int row) {
  if (exportSelecting_) return;
  if (modified_) {
    leaveEdit();
    prompter().message(MsgKind::Information, "Editing cancelled!");
  }
  editMode_ = Mode::Edit;
  if (row < 0 || row >= static_cast<int>(keys_.size())) return;
  selectedIndex_ = row;
  load(keys_[static_cast<size_t>(row)]);
}

void PipeScheduleEditor::fieldChanged() { startEdit(); }

void PipeScheduleEditor::gridEntered() {
  if (exportSelecting_) startEdit();
}

void PipeScheduleEditor::newSchedule() {
  if (exportSelecting_) return;
  if (modified_) {
    refuse(MsgKind::Warning, kSaveFirst, "");
    return;
  }
  editMode_ = Mode::Add;
  startEdit();
  description.clear();
  hwCoef.clear();
  specRough.clear();
  mannCoef.clear();
  for (auto& c : inDia) c.clear();
  prompter().message(MsgKind::Information, "Modify this new schedule as desired, then click Update to save!");
  focus_ = "Description";
}

void PipeScheduleEditor::cloneSchedule(const std::vector<int>& selected) {
  if (modified_) {
    refuse(MsgKind::Warning, kSaveFirst, "");
    return;
  }
  if (selected.size() == 1) {
    int row = selected[0];
    if (row < 0 || row >= static_cast<int>(keys_.size())) return;
    load(keys_[static_cast<size_t>(row)]);
    editMode_ = Mode::AddTemp;
    startEdit();
    prompter().message(MsgKind::Information, "Modify this new schedule as desired, then click Update to save!");
    focus_ = "Description";
  } else if (selected.size() > 1) {
    refuse(MsgKind::Error, "Select only one (1) Schedule to duplicate!", "");
  } else {
    refuse(MsgKind::Warning, items_.empty() ? "You do not have any Schedules to edit!" : "No Schedule selected!",
           "list");
  }
}

bool PipeScheduleEditor::update() {
  focus_.clear();
  focusRow_ = -1;
  if (!IsNumber(specRough)) return refuse(MsgKind::Warning, "Bad Spec Rough value - Please correct!", "Spec Rough");
  // Non-numbers cannot be stored in the coefficient columns.
  if (!IsNumber(hwCoef)) return refuse(MsgKind::Warning, "Bad HW Coef value - Please correct!", "HW Coef");
  if (!IsNumber(mannCoef)) return refuse(MsgKind::Warning, "Bad Manning Coef value - Please correct!", "Manning Coef");
  std::string desc = trimmed(description);
  if (desc.empty()) return refuse(MsgKind::Warning, "Need Description!", "Description");
  if (editMode_ != Mode::Edit && db_.descriptionExists(desc))
    return refuse(MsgKind::Error,
                  "A schedule with this exact description exists! Please enter a unique description...", "Description");
  std::vector<std::pair<double, double>> sizes;
  for (int r = 0; r < kRows; ++r) {
    const std::string& cell = inDia[static_cast<size_t>(r)];
    if (trimmed(cell).empty()) continue;
    auto v = numberOf(cell);
    if (!v) return refuse(MsgKind::Warning, "Bad diameter value: " + cell + " - Please correct!", "grid", r);
    sizes.emplace_back(nominalSize(r, false), unitMode_ == 'M' ? *v * kMmToInch : *v);
  }
  if (editMode_ == Mode::Edit && !project_.proj.Expert &&
      prompter().message(MsgKind::Confirmation, "Update this schedule?", Buttons::YesNo) != Answer::Yes)
    return false;
  std::string key = editMode_ == Mode::Edit ? editKey_ : newScheduleKey();
  std::string rough = specRough;
  if (unitMode_ == 'M' && numberOf(rough)) rough = formatGeneral(*numberOf(rough) / 304.8, 15);
  try {
    db_.writeSchedule(key, description, hwCoef, rough, mannCoef, hide);
    db_.replaceSizes(key, sizes);
  } catch (const TableError& e) {
    prompter().message(MsgKind::Error, e.what());
    return false;
  }
  editKey_ = key;
  fillList();
  leaveEdit();
  int row = selectedIndex_ < static_cast<int>(keys_.size()) ? selectedIndex_ : 0;
  if (!keys_.empty()) {
    selectedIndex_ = row;
    load(keys_[static_cast<size_t>(row)]);
  }
  return true;
}

void PipeScheduleEditor::cancel() {
  if (modified_) {
    if (prompter().message(MsgKind::Confirmation, "Cancel this edit?", Buttons::YesNo) == Answer::Yes) {
      leaveEdit();
      fillList();
    }
  }
  if (modified_) return;  // the edit goes on
  if (selectedIndex_ >= 0 && selectedIndex_ < static_cast<int>(keys_.size()))
    load(keys_[static_cast<size_t>(selectedIndex_)]);
}

bool PipeScheduleEditor::close() {
  if (modified_ && prompter().message(MsgKind::Confirmation, "Cancel editing?", Buttons::YesNo) != Answer::Yes)
    return false;
  return true;
}

void PipeScheduleEditor::remove(const std::vector<int>& selected) {
  if (modified_) {
    refuse(MsgKind::Warning, kSaveFirst, "");
    return;
  }
  if (selected.size() >= 2) {
    refuse(MsgKind::Error, "Select only one (1) Schedule at a time to remove!", "");
    return;
  }
  if (selected.empty() || selected[0] < 0 || selected[0] >= static_cast<int>(keys_.size())) {
    refuse(MsgKind::Warning, items_.empty() ? "You do not have any Schedules to edit!" : "No Schedule selected!",
           "list");
    return;
  }
  std::string key = keys_[static_cast<size_t>(selected[0])];
  if (prompter().message(MsgKind::Confirmation,
                         "The pipe schedule '" + description +
                             "' will be removed! (This action may not be reversible!) Continue?",
                         Buttons::YesNo) != Answer::Yes)
    return;
  db_.remove(key);
  leaveEdit();
  fillList();
  selectedIndex_ = 0;
  if (!keys_.empty()) load(keys_[0]);
  else {
    description = hwCoef = specRough = mannCoef = "";
    hide = false;
    for (auto& c : inDia) c.clear();
  }
}

void PipeScheduleEditor::exportPress(const std::vector<int>& selected) {
  if (modified_) {
    refuse(MsgKind::Warning, kSaveFirst, "");
    return;
  }
  if (!exportSelecting_) {
    prompter().message(MsgKind::Information,
                       "Select the schedules to export and then click the Export button again...\r\n(use Shift and "
                       "Ctrl keys to select multiple schedules)");
    exportStatus_ = "When finished selecting schedules, click Export button again...";
    exportSelecting_ = true;
    focus_ = "list";
    return;
  }
  if (selected.empty()) {
    prompter().message(MsgKind::Warning, "No schedules are selected! Ending Export...");
    endExport();
    return;
  }
  std::vector<std::string> keys;
  for (int r : selected)
    if (r >= 0 && r < static_cast<int>(keys_.size())) keys.push_back(keys_[static_cast<size_t>(r)]);
  std::string text = db_.exportText(keys);
  exportStatus_ = "Exporting...";
  auto file = prompter().saveFileName("Save Pipe Schedule", kFilter, projectFolder_, "");
  if (file) {
    std::string path = *file;
    if (path.find('.', path.find_last_of("/\\") == std::string::npos ? 0 : path.find_last_of("/\\")) ==
        std::string::npos)
      path += ".vtpipe";
    std::string tmp = path + ".tmp";
    bool ok = false;
    {
      std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
      out << text;
      ok = static_cast<bool>(out.flush());
    }
    ok = ok && std::rename(tmp.c_str(), path.c_str()) == 0;
    if (ok)
      prompter().message(MsgKind::Information, path + " pipe schedule file has been created!");
    else {
      std::remove(tmp.c_str());
      prompter().message(MsgKind::Error, "Cannot write file: " + path);
    }
  }
  endExport();
}

void PipeScheduleEditor::import() {
  if (exportSelecting_) return;
  if (modified_) {
    refuse(MsgKind::Warning, kSaveFirst, "");
    return;
  }
  auto file = prompter().openFileName("Load pipe schedule(s)", kFilter, projectFolder_);
  if (!file) return;
  std::ifstream in(*file, std::ios::binary);
  if (!in) {
    prompter().message(MsgKind::Error, "Cannot open file: " + *file);
    return;
  }
  std::ostringstream buf;
  buf << in.rdbuf();
  try {
    db_.importText(buf.str());
  } catch (const TableError& e) {
    prompter().message(MsgKind::Error, e.what());
    return;
  }
  fillList();
}

}  // namespace vt
