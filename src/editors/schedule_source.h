// Read access to the pipe schedules, as the pipe editor and reports need it. The table-backed
// implementation is PipeScheduleDb (pipe_schedule_db.h); tests may give their own.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vt {

struct ScheduleRow {
  std::string key;          // "Index": a GUID text
  std::string description;  // "Description"
  std::string oldIndex;     // "OldIndex"
  std::optional<double> hw;     // "HWCoef"
  std::optional<double> rough;  // "SpecRough", feet
  std::optional<double> mann;   // "MannCoef"
  bool hidden = false;          // "HideSched"
};

struct SizeRow {
  double nomSize = 0;            // inches, one of the standard sizes
  std::optional<double> inDia;   // inches
};

class ScheduleSource {
 public:
  virtual ~ScheduleSource() = default;
  // Every schedule in "Description" order.
  virtual std::vector<ScheduleRow> schedulesByDescription() const = 0;
  virtual std::optional<ScheduleRow> schedule(const std::string& key) const = 0;
  // The size rows of a schedule in table order.
  virtual std::vector<SizeRow> sizes(const std::string& key) const = 0;
};

}  // namespace vt
