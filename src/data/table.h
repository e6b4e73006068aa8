// The table store: a table of named, typed fields held in memory and kept in an XML data-packet
// file (the configuration and every reference table use it).
//
//   <?xml version="1.0" encoding="UTF-8" standalone="yes"?>
//   <DATAPACKET Version="2.0"><METADATA><FIELDS>
//     <FIELD attrname="Parameter" fieldtype="string" WIDTH="20"/> ...
//   </FIELDS><PARAMS/></METADATA><ROWDATA><ROW Parameter="UnitFlow" .../></ROWDATA></DATAPACKET>
//
// An absent attribute is a null (blank) value. Field names are matched without regard to case.
//
// Typical use:
//   vt::Table defs = vt::Table::load(folder / "VTDefs.XML");          // throws vt::TableError
//   defs.addIndex("Parameter", {"Parameter"}, vt::CaseRule::Insensitive, /*primary=*/true);
//   vt::Row* r = defs.findKey({"UnitFlow"});
//   if (!r) r = &defs.append({{"Parameter", "UnitFlow"}});
//   r->set("Abrev", "gpm");
//   defs.save();                                                        // temp file + rename
//
// A change made through Row::set or append is posted at once (there is no pending edit state);
// modified() tells whether the table holds changes not yet saved.
//
// Indexes give the order of rows() and the key of findKey(); a range restricts every look-up and
// rows() to the rows whose leading index fields equal a key (a detail table on its master's key).
#pragma once

#include <concepts>
#include <cstddef>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vt {

// A clear, user-showable failure of the store: a file that cannot be read or written, a malformed
// data packet, an unknown field or a value that does not fit its field.
class TableError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class FieldType { String, I2, I4, R4, R8, Boolean };
enum class CaseRule { Insensitive, Sensitive };

struct FieldDef {
  std::string name;
  FieldType type = FieldType::String;
  int width = 0;  // strings: maximum number of characters (0: no limit)
};

// One cell value: null, text, integer, real or boolean.
class Value {
 public:
  enum class Kind { Null, Text, Int, Real, Bool };

  Value() = default;
  Value(bool b) : kind_(Kind::Bool), int_(b ? 1 : 0) {}
  template <std::integral T>
    requires(!std::same_as<T, bool>)
  Value(T v) : kind_(Kind::Int), int_(static_cast<long long>(v)) {}
  template <std::floating_point T>
  Value(T v) : kind_(Kind::Real), real_(static_cast<double>(v)) {}
  Value(const char* s) : kind_(Kind::Text), text_(s ? s : "") {}
  Value(std::string_view s) : kind_(Kind::Text), text_(s) {}
  Value(std::string s) : kind_(Kind::Text), text_(std::move(s)) {}

  Kind kind() const { return kind_; }
  bool isNull() const { return kind_ == Kind::Null; }
  const std::string& text() const { return text_; }
  long long intValue() const { return int_; }
  double realValue() const { return real_; }
  bool boolValue() const { return int_ != 0; }

  bool operator==(const Value&) const = default;

 private:
  Kind kind_ = Kind::Null;
  long long int_ = 0;
  double real_ = 0.0;
  std::string text_;
};

using FieldValues = std::vector<std::pair<std::string, Value>>;

namespace detail {
struct TableState;
}

// One row of a table. Owned by its table; a Row* stays valid until that row is removed or the
// table is destroyed. Reading a field the table does not have gives a null value; setting one
// throws TableError.
class Row {
 public:
  bool isNull(std::string_view field) const;
  const Value& value(std::string_view field) const;
  // Text of any field: numbers in their shortest exact form, booleans "True"/"False", null "".
  std::string str(std::string_view field) const;
  // Numeric view: numbers as they are, text parsed, booleans 1/0; null or unparsable -> ifNull.
  double num(std::string_view field, double ifNull = 0.0) const;
  long long integer(std::string_view field, long long ifNull = 0) const;  // reals rounded
  bool boolean(std::string_view field, bool ifNull = false) const;        // text "True"/"TRUE"

  // Stores the value converted to the field's type: text longer than the width is cut; empty
  // text in a non-text field is null; text that is not a number in a numeric field, or an
  // integer out of the field's range, throws TableError. Reals in r4 fields are held as float.
  void set(std::string_view field, const Value& v);
  void setNull(std::string_view field);

  const std::vector<Value>& values() const { return cells_; }  // in field order

 private:
  friend struct detail::TableState;
  friend class Table;
  Row(detail::TableState* owner, size_t fieldCount) : owner_(owner), cells_(fieldCount) {}
  detail::TableState* owner_;
  std::vector<Value> cells_;
};

class Table {
 public:
  explicit Table(std::vector<FieldDef> fields);  // an empty table with these fields
  Table(Table&&) noexcept;
  Table& operator=(Table&&) noexcept;
  ~Table();

  // Reads a data-packet file. Throws TableError "Cannot open table file: <path>" or
  // "Malformed table file <path>: <reason>". The table remembers the path for save().
  static Table load(const std::filesystem::path& file);
  // Reads a data packet from text; sourceName names it in the error
  // "Malformed table data <sourceName>: <reason>".
  static Table fromText(std::string_view text, std::string_view sourceName = "(text)");
  // The whole table as one line of data-packet text (no line breaks), rows in saved order.
  std::string toText() const;

  // Writes the file through a temporary file in the same folder renamed over the old one.
  // Throws TableError "Cannot write table file: <path>: <reason>". Clears modified().
  void save();
  void saveAs(const std::filesystem::path& file);
  const std::filesystem::path& fileName() const;
  bool modified() const;

  const std::vector<FieldDef>& fields() const;
  int fieldIndex(std::string_view name) const;  // -1 when absent
  bool hasField(std::string_view name) const { return fieldIndex(name) >= 0; }
  // Throws "Malformed table file <path>: missing field <name>" for the first absent field.
  void requireFields(std::initializer_list<std::string_view> names) const;

  // Indexes. A primary index also gives the order in which rows are saved. The first index added
  // becomes current; setIndex("") returns to file order. An index on a field the table lacks
  // throws TableError "Malformed table file <path>: missing field <name>".
  void addIndex(std::string name, std::vector<std::string> fields, CaseRule rule = CaseRule::Insensitive,
                bool primary = false);
  void setIndex(std::string_view name);
  const std::string& currentIndex() const;

  // Range: only rows whose fields equal the key are seen by rows(), rowCount(), findKey() and
  // locate(). setRange matches the leading fields of the current index under its case rule;
  // setRangeOn names the fields (a detail table restricted to its master's key). A new range
  // replaces the old one; cancelRange lifts it.
  void setRange(std::vector<Value> key);
  void setRangeOn(const FieldValues& fieldValues, CaseRule rule = CaseRule::Insensitive);
  void cancelRange();

  // Rows in the current order within the range. A snapshot: safe to remove rows while walking it.
  std::vector<Row*> rows();
  std::vector<const Row*> rows() const;
  size_t rowCount() const;  // within the range

  // First row whose leading current-index fields equal key (under the index's case rule).
  Row* findKey(const std::vector<Value>& key);
  const Row* findKey(const std::vector<Value>& key) const;
  // First row, in the current order, whose fields equal the given values. Naming a field the
  // table does not have throws TableError (as does setRangeOn).
  Row* locate(const FieldValues& fieldValues, CaseRule rule = CaseRule::Sensitive);
  const Row* locate(const FieldValues& fieldValues, CaseRule rule = CaseRule::Sensitive) const;

  Row& append(const FieldValues& values = {});
  void remove(Row& row);
  void clear();  // removes every row (the fields stay)

 private:
  Table();
  std::unique_ptr<detail::TableState> s_;
};

}  // namespace vt
