#include "editors/pipe_schedule_db.h"

#include <algorithm>
#include <random>

#include "data/table.h"
#include "editors/editor_common.h"
#include "model/id_list.h"

namespace vt {

Table makeScheduleTable() {
  return Table({{"Index", FieldType::String, 38},
                {"Description", FieldType::String, 50},
                {"OldIndex", FieldType::String, 4},
                {"HWCoef", FieldType::R8},
                {"SpecRough", FieldType::R8},
                {"MannCoef", FieldType::R8},
                {"HideSched", FieldType::Boolean}});
}

Table makeSizeTable() {
  return Table({{"Index", FieldType::String, 38},
                {"NomSize", FieldType::R8},
                {"Thickness", FieldType::R8},
                {"InDia", FieldType::R8},
                {"Pipelbperft", FieldType::R8},
                {"Maxpsi", FieldType::I4},
                {"H20HamFact", FieldType::R8}});
}

std::string newScheduleKey() {
  static std::mt19937_64 gen{std::random_device{}()};
  static const char* hex = "0123456789ABCDEF";
  std::string s = "{";
  const int groups[] = {8, 4, 4, 4, 12};
  for (int g = 0; g < 5; ++g) {
    if (g) s += '-';
    for (int i = 0; i < groups[g]; ++i) s += hex[gen() & 15];
  }
  return s + "}";
}

PipeScheduleDb::PipeScheduleDb(Table& schedules, Table& sizes) : sched_(schedules), sizes_(sizes) {}

static std::optional<double> optNum(const Row& r, std::string_view f) {
  if (r.isNull(f)) return std::nullopt;
  return r.num(f);
}

static ScheduleRow rowOf(const Row& r) {
  ScheduleRow s;
  s.key = r.str("Index");
  s.description = r.str("Description");
  s.oldIndex = r.str("OldIndex");
  s.hw = optNum(r, "HWCoef");
  s.rough = optNum(r, "SpecRough");
  s.mann = optNum(r, "MannCoef");
  s.hidden = r.boolean("HideSched");
  return s;
}

std::vector<ScheduleRow> PipeScheduleDb::schedulesByDescription() const {
  std::vector<ScheduleRow> out;
  for (const Row* r : std::as_const(sched_).rows()) out.push_back(rowOf(*r));
  std::stable_sort(out.begin(), out.end(), [](const ScheduleRow& a, const ScheduleRow& b) {
    return compareNoCase(a.description, b.description) < 0;
  });
  return out;
}

std::optional<ScheduleRow> PipeScheduleDb::schedule(const std::string& key) const {
  const Row* r = std::as_const(sched_).locate({{"Index", key}});
  if (!r) return std::nullopt;
  return rowOf(*r);
}

std::vector<SizeRow> PipeScheduleDb::sizes(const std::string& key) const {
  std::vector<SizeRow> out;
  for (const Row* r : std::as_const(sizes_).rows()) {
    if (r->str("Index") != key) continue;
    out.push_back({r->num("NomSize"), optNum(*r, "InDia")});
  }
  std::stable_sort(out.begin(), out.end(), [](const SizeRow& a, const SizeRow& b) { return a.nomSize < b.nomSize; });
  return out;
}

void PipeScheduleDb::writeSchedule(const std::string& key, const std::string& description, const std::string& hw,
                                   const std::string& rough, const std::string& mann, bool hidden) {
  Row* r = sched_.locate({{"Index", key}});
  if (!r) r = &sched_.append({{"Index", key}});
  r->set("Description", description);
  r->set("HWCoef", trimmed(hw));
  r->set("SpecRough", trimmed(rough));
  r->set("MannCoef", trimmed(mann));
  r->set("HideSched", hidden);
}

void PipeScheduleDb::replaceSizes(const std::string& key, const std::vector<std::pair<double, double>>& sizes) {
  for (Row* r : sizes_.rows())
    if (r->str("Index") == key) sizes_.remove(*r);
  for (auto& [nom, inDia] : sizes) sizes_.append({{"Index", key}, {"NomSize", nom}, {"InDia", inDia}});
}

void PipeScheduleDb::remove(const std::string& key) {
  for (Row* r : sched_.rows())
    if (r->str("Index") == key) sched_.remove(*r);
  for (Row* r : sizes_.rows())
    if (r->str("Index") == key) sizes_.remove(*r);
}

bool PipeScheduleDb::descriptionExists(const std::string& description) const {
  for (const Row* r : std::as_const(sched_).rows())
    if (r->str("Description") == description) return true;
  return false;
}

// Copies the cells of the fields both tables have; the rest stay null.
static void copyRow(const Table& from, const Row& src, Table& to, Row& dst) {
  for (const FieldDef& f : to.fields()) {
    if (!from.hasField(f.name) || src.isNull(f.name)) continue;
    dst.set(f.name, src.value(f.name));
  }
}

std::string PipeScheduleDb::exportText(const std::vector<std::string>& keys) const {
  Table s(sched_.fields());
  Table z(sizes_.fields());
  for (const std::string& key : keys) {
    if (const Row* r = std::as_const(sched_).locate({{"Index", key}})) copyRow(sched_, *r, s, s.append());
    for (const Row* r : std::as_const(sizes_).rows())
      if (r->str("Index") == key) copyRow(sizes_, *r, z, z.append());
  }
  return s.toText() + "\r\n" + z.toText() + "\r\n";
}

int PipeScheduleDb::importText(const std::string& text) {
  std::vector<std::string> lines;
  std::string cur;
  for (char ch : text) {
    if (ch == '\r' || ch == '\n') {
      if (!cur.empty()) lines.push_back(cur);
      cur.clear();
    } else {
      cur += ch;
    }
  }
  if (!cur.empty()) lines.push_back(cur);
  if (lines.size() < 2) throw TableError("Malformed table data: a pipe schedule file holds two lines");
  Table s = Table::fromText(lines[0], "(pipe schedules)");
  Table z = Table::fromText(lines[1], "(pipe sizes)");
  // Build the new rows aside first, so that a bad value leaves the tables untouched.
  Table newSched(sched_.fields());
  Table newSizes(sizes_.fields());
  for (const Row* r : std::as_const(s).rows()) {
    std::string oldKey = r->str("Index");
    std::string key = newScheduleKey();
    Row& d = newSched.append();
    copyRow(s, *r, newSched, d);
    d.set("Index", key);
    for (const Row* zr : std::as_const(z).rows()) {
      if (zr->str("Index") != oldKey) continue;
      Row& dz = newSizes.append();
      copyRow(z, *zr, newSizes, dz);
      dz.set("Index", key);
    }
  }
  for (const Row* r : std::as_const(newSched).rows()) copyRow(newSched, *r, sched_, sched_.append());
  for (const Row* r : std::as_const(newSizes).rows()) copyRow(newSizes, *r, sizes_, sizes_.append());
  return static_cast<int>(newSched.rowCount());
}

}  // namespace vt
