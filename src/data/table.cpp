#include "data/table.h"

#include <pugixml.hpp>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <optional>
#include <sstream>

namespace vt {
namespace detail {

struct Index {
  std::string name;
  std::vector<int> fields;
  CaseRule rule = CaseRule::Insensitive;
  bool primary = false;
  std::vector<Row*> order;  // rebuilt lazily after a change
  bool dirty = true;
};

struct Range {
  bool active = false;
  std::vector<int> fields;
  std::vector<std::optional<Value>> key;  // nullopt: a key that no value of the field can equal
  CaseRule rule = CaseRule::Insensitive;
};

struct TableState {
  std::filesystem::path file;
  std::vector<FieldDef> fields;
  std::vector<std::unique_ptr<Row>> rows;  // file order
  std::vector<Index> indexes;
  int current = -1;
  Range range;
  bool modified = false;

  void changed() {
    modified = true;
    for (Index& i : indexes) i.dirty = true;
  }
  std::string where() const { return file.empty() ? std::string("(table)") : file.string(); }

  // Rows are made and filled only here and by Table (both friends of Row).
  std::unique_ptr<Row> makeRow() { return std::unique_ptr<Row>(new Row(this, fields.size())); }
  static std::vector<Value>& cells(Row& r) { return r.cells_; }
};

}  // namespace detail

namespace {

using detail::TableState;

const Value& nullValue() {
  static const Value v;
  return v;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (std::tolower(x) != std::tolower(y)) return false;
  }
  return true;
}

int compareText(std::string_view a, std::string_view b, CaseRule rule) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (rule == CaseRule::Insensitive) {
      x = std::tolower(x);
      y = std::tolower(y);
    }
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// Both values already hold the field's type (or are null); null sorts first.
int compareValues(const Value& a, const Value& b, CaseRule rule) {
  if (a.isNull() || b.isNull()) return a.isNull() == b.isNull() ? 0 : (a.isNull() ? -1 : 1);
  switch (a.kind()) {
    case Value::Kind::Text: return compareText(a.text(), b.text(), rule);
    case Value::Kind::Real:
      return a.realValue() < b.realValue() ? -1 : (a.realValue() > b.realValue() ? 1 : 0);
    default: return a.intValue() < b.intValue() ? -1 : (a.intValue() > b.intValue() ? 1 : 0);
  }
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

std::optional<double> parseReal(std::string_view s) {
  s = trim(s);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  double v = 0;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (s.empty() || ec != std::errc() || p != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<long long> parseInteger(std::string_view s) {
  s = trim(s);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  long long v = 0;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (!s.empty() && ec == std::errc() && p == s.data() + s.size()) return v;
  std::optional<double> r = parseReal(s);  // "3.0" or "1e3" in an integer field
  if (r && std::fabs(*r) < 9.2e18) return std::llround(*r);
  return std::nullopt;
}

std::optional<bool> parseBoolean(std::string_view s) {
  s = trim(s);
  if (equalsNoCase(s, "true") || s == "1") return true;
  if (equalsNoCase(s, "false") || s == "0") return false;
  return std::nullopt;
}

std::string realText(double v, FieldType type) {
  char buf[64];
  std::to_chars_result r = type == FieldType::R4 ? std::to_chars(buf, buf + sizeof buf, static_cast<float>(v))
                                                 : std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

std::string cutToCharacters(std::string s, int width) {
  if (width <= 0) return s;
  int count = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
      if (count == width) {
        s.resize(i);
        break;
      }
      ++count;
    }
  }
  return s;
}

const char* typeName(FieldType t) {
  switch (t) {
    case FieldType::String: return "string";
    case FieldType::I2: return "i2";
    case FieldType::I4: return "i4";
    case FieldType::R4: return "r4";
    case FieldType::R8: return "r8";
    case FieldType::Boolean: return "boolean";
  }
  return "string";
}

std::optional<FieldType> typeFromName(std::string_view n) {
  if (equalsNoCase(n, "string") || equalsNoCase(n, "wstring")) return FieldType::String;
  if (equalsNoCase(n, "i1") || equalsNoCase(n, "ui1") || equalsNoCase(n, "i2")) return FieldType::I2;
  if (equalsNoCase(n, "ui2") || equalsNoCase(n, "i4") || equalsNoCase(n, "ui4") || equalsNoCase(n, "i8"))
    return FieldType::I4;
  if (equalsNoCase(n, "r4")) return FieldType::R4;
  if (equalsNoCase(n, "r8") || equalsNoCase(n, "fixed")) return FieldType::R8;
  if (equalsNoCase(n, "boolean")) return FieldType::Boolean;
  return std::nullopt;
}

// Converts v to the field's type. nullopt with a reason when it cannot be.
struct Converted {
  std::optional<Value> value;
  std::string reason;
};

Converted convertTo(const FieldDef& f, const Value& v, bool cutText) {
  if (v.isNull()) return {Value(), {}};
  auto bad = [&](const std::string& why) { return Converted{std::nullopt, why}; };
  switch (f.type) {
    case FieldType::String: {
      std::string text;
      switch (v.kind()) {
        case Value::Kind::Text: text = v.text(); break;
        case Value::Kind::Int: text = std::to_string(v.intValue()); break;
        case Value::Kind::Real: text = realText(v.realValue(), FieldType::R8); break;
        case Value::Kind::Bool: text = v.boolValue() ? "True" : "False"; break;
        case Value::Kind::Null: break;
      }
      return {Value(cutText ? cutToCharacters(std::move(text), f.width) : std::move(text)), {}};
    }
    case FieldType::I2:
    case FieldType::I4: {
      long long n = 0;
      if (v.kind() == Value::Kind::Text) {
        if (trim(v.text()).empty()) return {Value(), {}};
        std::optional<long long> p = parseInteger(v.text());
        if (!p) return bad("'" + v.text() + "' is not a valid integer");
        n = *p;
      } else if (v.kind() == Value::Kind::Real) {
        if (!std::isfinite(v.realValue()) || std::fabs(v.realValue()) >= 9.2e18)
          return bad(realText(v.realValue(), FieldType::R8) + " is out of range");
        n = std::llround(v.realValue());
      } else {
        n = v.intValue();
      }
      long long lo = f.type == FieldType::I2 ? std::numeric_limits<int16_t>::min() : std::numeric_limits<int32_t>::min();
      long long hi = f.type == FieldType::I2 ? std::numeric_limits<int16_t>::max() : std::numeric_limits<int32_t>::max();
      if (n < lo || n > hi) return bad(std::to_string(n) + " is out of range");
      return {Value(n), {}};
    }
    case FieldType::R4:
    case FieldType::R8: {
      double d = 0;
      if (v.kind() == Value::Kind::Text) {
        if (trim(v.text()).empty()) return {Value(), {}};
        std::optional<double> p = parseReal(v.text());
        if (!p) return bad("'" + v.text() + "' is not a valid number");
        d = *p;
      } else if (v.kind() == Value::Kind::Real) {
        d = v.realValue();
      } else {
        d = static_cast<double>(v.intValue());
      }
      if (!std::isfinite(d)) return bad("the value is not a finite number");
      if (f.type == FieldType::R4) {
        if (std::fabs(d) > std::numeric_limits<float>::max()) return bad(realText(d, FieldType::R8) + " is out of range");
        d = static_cast<double>(static_cast<float>(d));
      }
      return {Value(d), {}};
    }
    case FieldType::Boolean: {
      if (v.kind() == Value::Kind::Text) {
        if (trim(v.text()).empty()) return {Value(), {}};
        std::optional<bool> b = parseBoolean(v.text());
        if (!b) return bad("'" + v.text() + "' is not TRUE or FALSE");
        return {Value(*b), {}};
      }
      if (v.kind() == Value::Kind::Real) return {Value(v.realValue() != 0.0), {}};
      return {Value(v.intValue() != 0), {}};
    }
  }
  return bad("unknown field type");
}

int findField(const std::vector<FieldDef>& fields, std::string_view name) {
  for (size_t i = 0; i < fields.size(); ++i)
    if (equalsNoCase(fields[i].name, name)) return static_cast<int>(i);
  return -1;
}

// The attribute under which a field is written: its own name when that is a valid XML name, else
// "_" + the name with every byte that cannot be in a name written as "_xHH_" (a field named ".5" is
// declared with fieldname=".5" attrname="_.5"). The reader goes by the declared attrname.
std::string xmlAttrName(const std::string& name) {
  auto start = [](unsigned char c) { return std::isalpha(c) || c == '_' || c >= 0x80; };
  auto inner = [&](unsigned char c) { return start(c) || std::isdigit(c) || c == '.' || c == '-'; };
  bool ok = !name.empty() && start(static_cast<unsigned char>(name[0]));
  for (size_t i = 1; ok && i < name.size(); ++i) ok = inner(static_cast<unsigned char>(name[i]));
  if (ok) return name;
  static const char* hex = "0123456789ABCDEF";
  std::string out = "_";
  for (unsigned char c : name) {
    if (inner(c)) {
      out += static_cast<char>(c);
    } else {
      out += "_x";
      out += hex[c >> 4];
      out += hex[c & 15];
      out += '_';
    }
  }
  return out;
}

// One distinct attribute name per field (attribute look-up is case-blind, so distinct without case).
std::vector<std::string> xmlAttrNames(const std::vector<FieldDef>& fields) {
  std::vector<std::string> names;
  for (const FieldDef& f : fields) {
    std::string a = xmlAttrName(f.name);
    auto taken = [&](const std::string& x) {
      return std::any_of(names.begin(), names.end(), [&](const std::string& n) { return equalsNoCase(n, x); });
    };
    while (taken(a)) a += '_';
    names.push_back(std::move(a));
  }
  return names;
}

int requireField(const TableState& s, std::string_view name) {
  int i = findField(s.fields, name);
  if (i < 0) throw TableError("Malformed table file " + s.where() + ": missing field " + std::string(name));
  return i;
}

bool inRange(const TableState& s, const Row& r) {
  if (!s.range.active) return true;
  for (size_t k = 0; k < s.range.fields.size(); ++k) {
    if (!s.range.key[k]) return false;
    const Value& cell = r.values()[static_cast<size_t>(s.range.fields[k])];
    if (compareValues(cell, *s.range.key[k], s.range.rule) != 0) return false;
  }
  return true;
}

std::vector<Row*>& orderOf(TableState& s, detail::Index& ix) {
  if (ix.dirty) {
    ix.order.clear();
    for (auto& r : s.rows) ix.order.push_back(r.get());
    std::stable_sort(ix.order.begin(), ix.order.end(), [&](const Row* a, const Row* b) {
      for (int f : ix.fields) {
        int c = compareValues(a->values()[static_cast<size_t>(f)], b->values()[static_cast<size_t>(f)], ix.rule);
        if (c != 0) return c < 0;
      }
      return false;
    });
    ix.dirty = false;
  }
  return ix.order;
}

// Rows in the current order, ignoring the range.
std::vector<Row*> currentOrder(TableState& s) {
  if (s.current >= 0) return orderOf(s, s.indexes[static_cast<size_t>(s.current)]);
  std::vector<Row*> out;
  out.reserve(s.rows.size());
  for (auto& r : s.rows) out.push_back(r.get());
  return out;
}

// Rows in the order they are saved: by the primary index when there is one.
std::vector<Row*> savedOrder(TableState& s) {
  for (detail::Index& ix : s.indexes)
    if (ix.primary) return orderOf(s, ix);
  std::vector<Row*> out;
  for (auto& r : s.rows) out.push_back(r.get());
  return out;
}

pugi::xml_document toDocument(TableState& s) {
  pugi::xml_document doc;
  pugi::xml_node decl = doc.append_child(pugi::node_declaration);
  decl.append_attribute("version") = "1.0";
  decl.append_attribute("encoding") = "UTF-8";
  decl.append_attribute("standalone") = "yes";
  pugi::xml_node packet = doc.append_child("DATAPACKET");
  packet.append_attribute("Version") = "2.0";
  pugi::xml_node meta = packet.append_child("METADATA");
  pugi::xml_node fields = meta.append_child("FIELDS");
  const std::vector<std::string> attrs = xmlAttrNames(s.fields);
  for (size_t i = 0; i < s.fields.size(); ++i) {
    const FieldDef& f = s.fields[i];
    const std::string& attr = attrs[i];
    pugi::xml_node n = fields.append_child("FIELD");
    if (attr != f.name) n.append_attribute("fieldname") = f.name.c_str();
    n.append_attribute("attrname") = attr.c_str();
    n.append_attribute("fieldtype") = typeName(f.type);
    if (f.type == FieldType::String && f.width > 0) n.append_attribute("WIDTH") = f.width;
  }
  meta.append_child("PARAMS");
  pugi::xml_node data = packet.append_child("ROWDATA");
  for (const Row* r : savedOrder(s)) {
    pugi::xml_node row = data.append_child("ROW");
    for (size_t i = 0; i < s.fields.size(); ++i) {
      const Value& v = r->values()[i];
      if (v.isNull()) continue;
      std::string text;
      switch (v.kind()) {
        case Value::Kind::Text: text = v.text(); break;
        case Value::Kind::Int: text = std::to_string(v.intValue()); break;
        case Value::Kind::Real: text = realText(v.realValue(), s.fields[i].type); break;
        case Value::Kind::Bool: text = v.boolValue() ? "TRUE" : "FALSE"; break;
        case Value::Kind::Null: break;
      }
      row.append_attribute(attrs[i].c_str()) = text.c_str();
    }
  }
  return doc;
}

// Fills s from a parsed document; `prefix` starts every error message.
void fromDocument(TableState& s, const pugi::xml_document& doc, const std::string& prefix) {
  pugi::xml_node packet = doc.child("DATAPACKET");
  if (!packet) throw TableError(prefix + "no DATAPACKET element");
  pugi::xml_node fields = packet.child("METADATA").child("FIELDS");
  if (!fields) throw TableError(prefix + "no METADATA/FIELDS element");
  std::vector<FieldDef> attrFields;  // the rows' attribute name of each field
  for (pugi::xml_node n : fields.children("FIELD")) {
    FieldDef f;
    f.name = n.attribute("fieldname") ? n.attribute("fieldname").as_string() : n.attribute("attrname").as_string();
    attrFields.push_back(FieldDef{n.attribute("attrname") ? n.attribute("attrname").as_string() : f.name});
    if (f.name.empty()) throw TableError(prefix + "a field without a name");
    if (findField(s.fields, f.name) >= 0) throw TableError(prefix + "field " + f.name + " declared twice");
    std::optional<FieldType> t = typeFromName(n.attribute("fieldtype").as_string());
    if (!t) throw TableError(prefix + "field " + f.name + " has unknown type '" + n.attribute("fieldtype").as_string() + "'");
    f.type = *t;
    if (pugi::xml_attribute w = n.attribute("WIDTH")) {
      std::optional<long long> width = parseInteger(w.as_string());
      if (!width || *width < 0 || *width > 1000000) throw TableError(prefix + "field " + f.name + " has a bad WIDTH");
      f.width = static_cast<int>(*width);
    }
    s.fields.push_back(std::move(f));
  }
  if (s.fields.empty()) throw TableError(prefix + "no fields declared");
  size_t rowNumber = 0;
  for (pugi::xml_node n : packet.child("ROWDATA").children("ROW")) {
    ++rowNumber;
    std::unique_ptr<Row> row = s.makeRow();
    for (pugi::xml_attribute a : n.attributes()) {
      int i = findField(attrFields, a.name());
      if (i < 0) continue;  // bookkeeping attributes of other writers
      Converted c = convertTo(s.fields[static_cast<size_t>(i)], Value(a.as_string()), false);
      if (!c.value)
        throw TableError(prefix + "row " + std::to_string(rowNumber) + ", field " + s.fields[static_cast<size_t>(i)].name +
                         ": " + c.reason);
      TableState::cells(*row)[static_cast<size_t>(i)] = std::move(*c.value);
    }
    s.rows.push_back(std::move(row));
  }
}

std::string parseFailure(const pugi::xml_parse_result& r) {
  return std::string(r.description()) + " at offset " + std::to_string(r.offset);
}

struct FileWriter : pugi::xml_writer {
  std::FILE* f;
  bool ok = true;
  explicit FileWriter(std::FILE* file) : f(file) {}
  void write(const void* data, size_t size) override {
    if (ok && std::fwrite(data, 1, size, f) != size) ok = false;
  }
};

}  // namespace

// ---- Row ----

const Value& Row::value(std::string_view field) const {
  int i = findField(owner_->fields, field);
  return i < 0 ? nullValue() : cells_[static_cast<size_t>(i)];
}

bool Row::isNull(std::string_view field) const { return value(field).isNull(); }

std::string Row::str(std::string_view field) const {
  int i = findField(owner_->fields, field);
  if (i < 0) return {};
  const Value& v = cells_[static_cast<size_t>(i)];
  switch (v.kind()) {
    case Value::Kind::Null: return {};
    case Value::Kind::Text: return v.text();
    case Value::Kind::Int: return std::to_string(v.intValue());
    case Value::Kind::Real: return realText(v.realValue(), owner_->fields[static_cast<size_t>(i)].type);
    case Value::Kind::Bool: return v.boolValue() ? "True" : "False";
  }
  return {};
}

double Row::num(std::string_view field, double ifNull) const {
  const Value& v = value(field);
  switch (v.kind()) {
    case Value::Kind::Null: return ifNull;
    case Value::Kind::Text: return parseReal(v.text()).value_or(ifNull);
    case Value::Kind::Real: return v.realValue();
    default: return static_cast<double>(v.intValue());
  }
}

long long Row::integer(std::string_view field, long long ifNull) const {
  const Value& v = value(field);
  switch (v.kind()) {
    case Value::Kind::Null: return ifNull;
    case Value::Kind::Text: return parseInteger(v.text()).value_or(ifNull);
    case Value::Kind::Real:
      return std::fabs(v.realValue()) < 9.2e18 ? std::llround(v.realValue()) : ifNull;
    default: return v.intValue();
  }
}

bool Row::boolean(std::string_view field, bool ifNull) const {
  const Value& v = value(field);
  switch (v.kind()) {
    case Value::Kind::Null: return ifNull;
    case Value::Kind::Text: return parseBoolean(v.text()).value_or(ifNull);
    case Value::Kind::Real: return v.realValue() != 0.0;
    default: return v.intValue() != 0;
  }
}

void Row::set(std::string_view field, const Value& v) {
  int i = findField(owner_->fields, field);
  if (i < 0) throw TableError("Table " + owner_->where() + " has no field " + std::string(field));
  const FieldDef& f = owner_->fields[static_cast<size_t>(i)];
  Converted c = convertTo(f, v, true);
  if (!c.value) throw TableError("Table " + owner_->where() + ", field " + f.name + ": " + c.reason);
  cells_[static_cast<size_t>(i)] = std::move(*c.value);
  owner_->changed();
}

void Row::setNull(std::string_view field) { set(field, Value()); }

// ---- Table ----

Table::Table() : s_(std::make_unique<TableState>()) {}

Table::Table(std::vector<FieldDef> fields) : Table() {
  for (FieldDef& f : fields) {
    if (f.name.empty() || findField(s_->fields, f.name) >= 0)
      throw TableError("Table definition: empty or repeated field name '" + f.name + "'");
    s_->fields.push_back(std::move(f));
  }
}

Table::Table(Table&&) noexcept = default;
Table& Table::operator=(Table&&) noexcept = default;
Table::~Table() = default;

Table Table::load(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::error_code ec;
  if (!in || std::filesystem::is_directory(file, ec)) throw TableError("Cannot open table file: " + file.string());
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) throw TableError("Cannot open table file: " + file.string());
  std::string text = std::move(buffer).str();
  std::string prefix = "Malformed table file " + file.string() + ": ";
  pugi::xml_document doc;
  pugi::xml_parse_result r = doc.load_buffer(text.data(), text.size());
  if (!r) throw TableError(prefix + parseFailure(r));
  Table t;
  t.s_->file = file;
  fromDocument(*t.s_, doc, prefix);
  return t;
}

Table Table::fromText(std::string_view text, std::string_view sourceName) {
  std::string prefix = "Malformed table data " + std::string(sourceName) + ": ";
  pugi::xml_document doc;
  pugi::xml_parse_result r = doc.load_buffer(text.data(), text.size());
  if (!r) throw TableError(prefix + parseFailure(r));
  Table t;
  fromDocument(*t.s_, doc, prefix);
  return t;
}

std::string Table::toText() const {
  pugi::xml_document doc = toDocument(*s_);
  std::ostringstream out;
  doc.save(out, "", pugi::format_raw, pugi::encoding_utf8);
  return std::move(out).str();
}

void Table::save() {
  if (s_->file.empty()) throw TableError("Cannot write table file: the table has no file name");
  const std::filesystem::path& target = s_->file;
  static std::atomic<unsigned> counter{0};
  std::filesystem::path temp = target;
  temp += ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
  auto fail = [&](const std::string& why) {
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    throw TableError("Cannot write table file: " + target.string() + ": " + why);
  };
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) throw TableError("Cannot write table file: " + target.string() + ": cannot create " + temp.string());
  FileWriter writer(f);
  toDocument(*s_).save(writer, "  ", pugi::format_default, pugi::encoding_utf8);
  bool ok = writer.ok && std::fflush(f) == 0 && ::fsync(::fileno(f)) == 0;
  ok = (std::fclose(f) == 0) && ok;
  if (!ok) fail("write failed");
  std::error_code ec;
  std::filesystem::rename(temp, target, ec);
  if (ec) fail(ec.message());
  s_->modified = false;
}

void Table::saveAs(const std::filesystem::path& file) {
  std::filesystem::path old = s_->file;
  s_->file = file;
  try {
    save();
  } catch (...) {
    s_->file = old;
    throw;
  }
}

const std::filesystem::path& Table::fileName() const { return s_->file; }
bool Table::modified() const { return s_->modified; }
const std::vector<FieldDef>& Table::fields() const { return s_->fields; }
int Table::fieldIndex(std::string_view name) const { return findField(s_->fields, name); }

void Table::requireFields(std::initializer_list<std::string_view> names) const {
  for (std::string_view n : names) requireField(*s_, n);
}

void Table::addIndex(std::string name, std::vector<std::string> fields, CaseRule rule, bool primary) {
  detail::Index ix;
  ix.name = std::move(name);
  ix.rule = rule;
  ix.primary = primary;
  for (const std::string& f : fields) ix.fields.push_back(requireField(*s_, f));
  if (ix.fields.empty()) throw TableError("Table " + s_->where() + ": index " + ix.name + " has no fields");
  if (primary)
    for (detail::Index& other : s_->indexes) other.primary = false;
  auto same = std::find_if(s_->indexes.begin(), s_->indexes.end(), [&](const detail::Index& i) { return i.name == ix.name; });
  if (same != s_->indexes.end()) {
    *same = std::move(ix);
  } else {
    s_->indexes.push_back(std::move(ix));
  }
  if (s_->current < 0) s_->current = static_cast<int>(s_->indexes.size()) - 1;
}

void Table::setIndex(std::string_view name) {
  if (name.empty()) {
    s_->current = -1;
    return;
  }
  for (size_t i = 0; i < s_->indexes.size(); ++i) {
    if (s_->indexes[i].name == name) {
      s_->current = static_cast<int>(i);
      return;
    }
  }
  throw TableError("Table " + s_->where() + " has no index " + std::string(name));
}

const std::string& Table::currentIndex() const {
  static const std::string none;
  return s_->current < 0 ? none : s_->indexes[static_cast<size_t>(s_->current)].name;
}

void Table::setRange(std::vector<Value> key) {
  if (s_->current < 0) throw TableError("Table " + s_->where() + ": a range needs a current index");
  const detail::Index& ix = s_->indexes[static_cast<size_t>(s_->current)];
  detail::Range r;
  r.active = true;
  r.rule = ix.rule;
  for (size_t k = 0; k < key.size() && k < ix.fields.size(); ++k) {
    r.fields.push_back(ix.fields[k]);
    r.key.push_back(convertTo(s_->fields[static_cast<size_t>(ix.fields[k])], key[k], false).value);
  }
  s_->range = std::move(r);
}

void Table::setRangeOn(const FieldValues& fieldValues, CaseRule rule) {
  detail::Range r;
  r.active = true;
  r.rule = rule;
  for (const auto& [name, v] : fieldValues) {
    int f = requireField(*s_, name);
    r.fields.push_back(f);
    r.key.push_back(convertTo(s_->fields[static_cast<size_t>(f)], v, false).value);
  }
  s_->range = std::move(r);
}

void Table::cancelRange() { s_->range = detail::Range{}; }

std::vector<Row*> Table::rows() {
  std::vector<Row*> out;
  for (Row* r : currentOrder(*s_))
    if (inRange(*s_, *r)) out.push_back(r);
  return out;
}

std::vector<const Row*> Table::rows() const {
  std::vector<const Row*> out;
  for (Row* r : currentOrder(*s_))
    if (inRange(*s_, *r)) out.push_back(r);
  return out;
}

size_t Table::rowCount() const {
  if (!s_->range.active) return s_->rows.size();
  return static_cast<size_t>(
      std::count_if(s_->rows.begin(), s_->rows.end(), [&](const auto& r) { return inRange(*s_, *r); }));
}

Row* Table::findKey(const std::vector<Value>& key) {
  TableState& s = *s_;
  detail::Index* ix = nullptr;
  if (s.current >= 0) {
    ix = &s.indexes[static_cast<size_t>(s.current)];
  } else {
    for (detail::Index& i : s.indexes)
      if (i.primary) ix = &i;
  }
  if (!ix) throw TableError("Table " + s.where() + ": finding a key needs an index");
  size_t n = std::min(key.size(), ix->fields.size());
  std::vector<Value> k;
  for (size_t i = 0; i < n; ++i) {
    std::optional<Value> v = convertTo(s.fields[static_cast<size_t>(ix->fields[i])], key[i], false).value;
    if (!v) return nullptr;  // a key the field cannot hold matches nothing
    k.push_back(std::move(*v));
  }
  auto cmp = [&](const Row* r) {
    for (size_t i = 0; i < n; ++i) {
      int c = compareValues(r->values()[static_cast<size_t>(ix->fields[i])], k[i], ix->rule);
      if (c != 0) return c;
    }
    return 0;
  };
  std::vector<Row*>& order = orderOf(s, *ix);
  auto it = std::partition_point(order.begin(), order.end(), [&](const Row* r) { return cmp(r) < 0; });
  for (; it != order.end() && cmp(*it) == 0; ++it)
    if (inRange(s, **it)) return *it;
  return nullptr;
}

const Row* Table::findKey(const std::vector<Value>& key) const { return const_cast<Table*>(this)->findKey(key); }

Row* Table::locate(const FieldValues& fieldValues, CaseRule rule) {
  std::vector<int> fields;
  std::vector<std::optional<Value>> key;
  for (const auto& [name, v] : fieldValues) {
    int f = requireField(*s_, name);
    fields.push_back(f);
    key.push_back(convertTo(s_->fields[static_cast<size_t>(f)], v, false).value);
    if (!key.back()) return nullptr;
  }
  for (Row* r : currentOrder(*s_)) {
    if (!inRange(*s_, *r)) continue;
    bool match = true;
    for (size_t i = 0; i < fields.size() && match; ++i)
      match = compareValues(r->values()[static_cast<size_t>(fields[i])], *key[i], rule) == 0;
    if (match) return r;
  }
  return nullptr;
}

const Row* Table::locate(const FieldValues& fieldValues, CaseRule rule) const {
  return const_cast<Table*>(this)->locate(fieldValues, rule);
}

Row& Table::append(const FieldValues& values) {
  std::unique_ptr<Row> row = s_->makeRow();
  for (const auto& [name, v] : values) row->set(name, v);
  s_->rows.push_back(std::move(row));
  s_->changed();
  return *s_->rows.back();
}

void Table::remove(Row& row) {
  auto it = std::find_if(s_->rows.begin(), s_->rows.end(), [&](const auto& r) { return r.get() == &row; });
  if (it == s_->rows.end()) return;
  s_->rows.erase(it);
  s_->changed();
}

void Table::clear() {
  s_->rows.clear();
  s_->changed();
}

}  // namespace vt
