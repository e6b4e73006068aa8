// The pipe editor's model: opening values, schedule and nominal-size rules, acceptance.
#pragma once

#include <string>
#include <vector>

#include "editors/editor_common.h"
#include "editors/schedule_source.h"

namespace vt {

class PipeEditor : public ElementEditorBase {
 public:
  // `schedules` may be null: only "None" is then offered.
  PipeEditor(Project& project, EditorSetup setup, const ScheduleSource* schedules);

  std::string caption() const;

  // ---- fields (texts as typed) ----
  std::string id, description, length, insideDia, friction;

  // Schedule list: "None" first, then the schedules not hidden, by description.
  std::vector<std::string> scheduleItems() const;
  int scheduleIndex() const { return scheduleIndex_; }
  void setSchedule(int index);  // schedule change (fills the nominal list, sets the friction)

  // Nominal list: "NA" first, then the sizes of the schedule in the table in use.
  const std::vector<std::string>& nominalItems() const { return nominalItems_; }
  bool nominalEnabled() const { return nominalEnabled_; }
  int nominalIndex() const { return nominalIndex_; }
  void setNominal(int index);  // nominal size change (sets the inside diameter)

  // Leaving the ID field trims it.
  void idLeft() { id = trimmed(id); }

  // ---- labels ----
  std::string nominalUnit() const;
  std::string frictionLabel() const;
  std::string frictionUnit() const;
  // The pick list of the equation: a heading then "name value" entries; pickFriction puts an
  // entry's value into the friction field.
  struct Pick {
    std::string name;
    std::string value;
  };
  std::string pickTitle() const;
  std::vector<Pick> picks() const;
  void pickFriction(int index);

  // Validates and writes the record. False: the message was shown and focus() names the field.
  bool accept();

 private:
  bool metricRough() const;
  std::string frictionText(double internal) const;
  void fillNominal();
  int headCalc() const { return project_.sys.HeadCalc; }

  const ScheduleSource* schedules_;
  std::vector<ScheduleRow> shownSchedules_;  // parallel to scheduleItems() after "None"
  int scheduleIndex_ = 0;
  std::string scheduleKey_;
  std::vector<std::string> nominalItems_;
  std::vector<float> nominalValues_;  // table value of each item after "NA"
  int nominalIndex_ = 0;
  bool nominalEnabled_ = false;
  std::string rememberedNominal_;
  Pipe rec_;
  std::string openingId_;
};

}  // namespace vt
