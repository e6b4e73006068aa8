// The pipe schedules over the two tables of the table store (schedules and their sizes): reading
// for the pipe editor and reports, and the changes the schedule editor makes, including the
// .vtpipe exchange text.
#pragma once

#include <string>
#include <vector>

#include "editors/schedule_source.h"

namespace vt {

class Table;

// The fields of a fresh schedule table and size table (for new files and tests).
Table makeScheduleTable();
Table makeSizeTable();

// A new schedule key: a GUID in its 38-character text form with braces.
std::string newScheduleKey();

class PipeScheduleDb : public ScheduleSource {
 public:
  PipeScheduleDb(Table& schedules, Table& sizes);

  std::vector<ScheduleRow> schedulesByDescription() const override;
  std::optional<ScheduleRow> schedule(const std::string& key) const override;
  std::vector<SizeRow> sizes(const std::string& key) const override;

  // Writes a schedule row: the row of `key`, or a new row when `key` has none. Field texts as
  // typed; an empty text is a null. Throws TableError for a text that is not a number.
  void writeSchedule(const std::string& key, const std::string& description, const std::string& hw,
                     const std::string& rough, const std::string& mann, bool hidden);
  // Replaces every size row of the key by these (nominal inches, inside diameter inches).
  void replaceSizes(const std::string& key, const std::vector<std::pair<double, double>>& sizes);
  // Removes the schedule and all its sizes.
  void remove(const std::string& key);
  bool descriptionExists(const std::string& description) const;

  // The .vtpipe text of the given schedules: two lines, the schedule rows and their size rows, each
  // as a data packet, each ended by a line break.
  std::string exportText(const std::vector<std::string>& keys) const;
  // Appends every schedule of a .vtpipe text under a new key, with its sizes. Returns how many
  // schedules were added. Throws TableError (nothing is added) when the text is not two data packets.
  int importText(const std::string& text);

 private:
  Table& sched_;
  Table& sizes_;
};

}  // namespace vt
