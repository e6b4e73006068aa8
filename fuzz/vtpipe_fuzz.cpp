// Feeds arbitrary bytes to the pipe-schedule exchange import. It must either refuse the text with a
// TableError, leaving both tables as they were, or add whole schedules whose sizes all belong to them.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "data/table.h"
#include "editors/pipe_schedule_db.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  vt::Table schedules = vt::makeScheduleTable();
  vt::Table sizes = vt::makeSizeTable();
  vt::PipeScheduleDb db(schedules, sizes);
  try {
    int added = db.importText(text);
    if (added < 0 || static_cast<size_t>(added) != schedules.rowCount()) std::abort();
    for (const vt::ScheduleRow& s : db.schedulesByDescription()) (void)db.sizes(s.key);
  } catch (const vt::TableError&) {
    if (schedules.rowCount() != 0 || sizes.rowCount() != 0) std::abort();
  }
  return 0;
}
