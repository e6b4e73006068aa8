#include "data/table.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

const char* kPacket = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<DATAPACKET Version="2.0"><METADATA><FIELDS>
<FIELD attrname="Parameter" fieldtype="string" WIDTH="8"/><FIELD attrname="Unit_Fact" fieldtype="r8"/>
<FIELD attrname="ID" fieldtype="i4"/><FIELD attrname="Flag" fieldtype="boolean"/>
<FIELD attrname="Small" fieldtype="i2"/><FIELD attrname="Single" fieldtype="r4"/>
</FIELDS><PARAMS/></METADATA><ROWDATA>
<ROW Parameter="SPress" Unit_Fact="0.433" ID="1" Flag="TRUE" Small="-3" Single="0.1"/>
<ROW Parameter="Flow" ID="2" Flag="FALSE" RowState="4"/>
<ROW Parameter="flow" Unit_Fact="1e-05"/>
</ROWDATA></DATAPACKET>
)";

std::vector<std::string> column(const std::vector<vt::Row*>& rows, const char* field) {
  std::vector<std::string> out;
  for (const vt::Row* r : rows) out.push_back(r->str(field));
  return out;
}

class TempDir {
 public:
  TempDir() : path_(fs::temp_directory_path() / ("vt_table_test_" + std::to_string(::getpid()))) {
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempDir() { fs::remove_all(path_); }
  const fs::path& path() const { return path_; }
  void write(const std::string& name, const std::string& text) const { std::ofstream(path_ / name) << text; }

 private:
  fs::path path_;
};

TEST(Table, ReadsTypedFieldsAndNulls) {
  vt::Table t = vt::Table::fromText(kPacket);
  ASSERT_EQ(t.rowCount(), 3u);
  std::vector<vt::Row*> rows = t.rows();
  const vt::Row& a = *rows[0];
  EXPECT_EQ(a.str("Parameter"), "SPress");
  EXPECT_DOUBLE_EQ(a.num("unit_fact"), 0.433);  // field names are case-blind
  EXPECT_EQ(a.integer("ID"), 1);
  EXPECT_TRUE(a.boolean("Flag"));
  EXPECT_EQ(a.integer("Small"), -3);
  EXPECT_EQ(a.num("Single"), static_cast<double>(0.1f));  // r4 holds a float
  EXPECT_EQ(a.str("Single"), "0.1");
  const vt::Row& b = *rows[1];
  EXPECT_TRUE(b.isNull("Unit_Fact"));
  EXPECT_EQ(b.num("Unit_Fact", -19999), -19999);
  EXPECT_EQ(b.str("Unit_Fact"), "");
  EXPECT_FALSE(b.boolean("Flag", true));
  EXPECT_TRUE(b.isNull("NoSuchField"));  // reading a missing field is a blank, not a failure
  EXPECT_EQ(b.str("NoSuchField"), "");
  EXPECT_DOUBLE_EQ(rows[2]->num("Unit_Fact"), 1e-5);
  EXPECT_EQ(t.fields()[0].width, 8);
  EXPECT_EQ(t.fields()[1].type, vt::FieldType::R8);
}

TEST(Table, TextRoundTripIsOneLineAndKeepsAwkwardText) {
  vt::Table t = vt::Table::fromText(kPacket);
  t.append({{"Parameter", "a<&\">\n\u00b0F"}, {"Unit_Fact", 1.0 / 3.0}, {"ID", -2147483647}});
  std::string text = t.toText();
  EXPECT_EQ(text.find('\n'), std::string::npos);
  EXPECT_EQ(text.rfind("<?xml", 0), 0u);
  vt::Table back = vt::Table::fromText(text);
  ASSERT_EQ(back.rowCount(), t.rowCount());
  std::vector<vt::Row*> r1 = t.rows(), r2 = back.rows();
  for (size_t i = 0; i < r1.size(); ++i) EXPECT_EQ(r1[i]->values(), r2[i]->values()) << "row " << i;
  EXPECT_EQ(r2[3]->str("Parameter"), "a<&\">\n\u00b0F");
  EXPECT_EQ(r2[3]->num("Unit_Fact"), 1.0 / 3.0);  // doubles written exactly
  EXPECT_EQ(back.fields().size(), t.fields().size());
}

TEST(Table, SaveReplacesFileAndLoadsBack) {
  TempDir dir;
  fs::path file = dir.path() / "T.XML";
  dir.write("T.XML", kPacket);
  vt::Table t = vt::Table::load(file);
  EXPECT_FALSE(t.modified());
  t.rows()[0]->set("ID", 77);
  EXPECT_TRUE(t.modified());
  t.save();
  EXPECT_FALSE(t.modified());
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(dir.path())) files.push_back(e.path().filename());
  EXPECT_THAT(files, ElementsAre(fs::path("T.XML")));  // no temporary left behind
  vt::Table again = vt::Table::load(file);
  EXPECT_EQ(again.rows()[0]->integer("ID"), 77);
  EXPECT_EQ(again.fileName(), file);
}

TEST(Table, ErrorsNameTheFile) {
  TempDir dir;
  fs::path missing = dir.path() / "Missing.XML";
  auto message = [](auto&& f) {
    try {
      f();
    } catch (const vt::TableError& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  EXPECT_EQ(message([&] { vt::Table::load(missing); }), "Cannot open table file: " + missing.string());
  EXPECT_EQ(message([&] { vt::Table::load(dir.path()); }), "Cannot open table file: " + dir.path().string());

  const std::pair<const char*, const char*> bad[] = {
      {"not xml at all <", "Malformed table file "},
      {"<DATAPACKET/>", "no METADATA/FIELDS"},
      {"<Other/>", "no DATAPACKET"},
      {"<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"A\" fieldtype=\"blob\"/></FIELDS></METADATA></DATAPACKET>",
       "field A has unknown type 'blob'"},
      {"<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"A\" fieldtype=\"r8\"/></FIELDS></METADATA>"
       "<ROWDATA><ROW A=\"1\"/><ROW A=\"x1\"/></ROWDATA></DATAPACKET>",
       "row 2, field A: 'x1' is not a valid number"},
      {"<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"A\" fieldtype=\"i2\"/></FIELDS></METADATA>"
       "<ROWDATA><ROW A=\"40000\"/></ROWDATA></DATAPACKET>",
       "row 1, field A: 40000 is out of range"},
      {"<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"A\" fieldtype=\"string\"/><FIELD attrname=\"a\" "
       "fieldtype=\"string\"/></FIELDS></METADATA></DATAPACKET>",
       "field a declared twice"},
  };
  for (const auto& [text, expected] : bad) {
    dir.write("Bad.XML", text);
    std::string m = message([&] { vt::Table::load(dir.path() / "Bad.XML"); });
    EXPECT_THAT(m, HasSubstr("Malformed table file " + (dir.path() / "Bad.XML").string() + ": ")) << text;
    EXPECT_THAT(m, HasSubstr(expected)) << text;
  }
  EXPECT_THAT(message([] { vt::Table::fromText("<x", "line 2 of S.vtpipe"); }),
              HasSubstr("Malformed table data line 2 of S.vtpipe: "));
}

TEST(Table, SaveFailureNamesTheFileAndKeepsTheTable) {
  vt::Table t = vt::Table::fromText(kPacket);
  fs::path nowhere = fs::temp_directory_path() / "vt_no_such_folder_xyz" / "T.XML";
  try {
    t.saveAs(nowhere);
    FAIL() << "saved into a missing folder";
  } catch (const vt::TableError& e) {
    EXPECT_THAT(e.what(), HasSubstr("Cannot write table file: " + nowhere.string()));
  }
  EXPECT_TRUE(t.fileName().empty());
  EXPECT_EQ(t.rowCount(), 3u);
}

TEST(Table, IndexesFollowTheirCaseRule) {
  vt::Table t = vt::Table::fromText(kPacket);
  t.addIndex("ByParam", {"Parameter"}, vt::CaseRule::Insensitive, true);
  vt::Row* r = t.findKey({"SPRESS"});
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->integer("ID"), 1);
  EXPECT_EQ(t.findKey({"flow"})->integer("ID"), 2);  // first of two equal keys, in file order
  EXPECT_EQ(t.findKey({"Nothing"}), nullptr);
  EXPECT_THAT(column(t.rows(), "Parameter"), ElementsAre("Flow", "flow", "SPress"));

  t.addIndex("Exact", {"Parameter"}, vt::CaseRule::Sensitive);
  t.setIndex("Exact");
  EXPECT_EQ(t.findKey({"SPRESS"}), nullptr);
  ASSERT_NE(t.findKey({"flow"}), nullptr);
  EXPECT_TRUE(t.findKey({"flow"})->isNull("ID"));
  EXPECT_THAT(column(t.rows(), "Parameter"), ElementsAre("Flow", "SPress", "flow"));  // byte order

  t.setIndex("");
  EXPECT_THAT(column(t.rows(), "Parameter"), ElementsAre("SPress", "Flow", "flow"));  // file order
  EXPECT_THROW(t.setIndex("Nope"), vt::TableError);
  EXPECT_THROW(t.addIndex("Bad", {"Nope"}), vt::TableError);

  // The primary index decides the saved order.
  vt::Table back = vt::Table::fromText(t.toText());
  EXPECT_THAT(column(back.rows(), "Parameter"), ElementsAre("Flow", "flow", "SPress"));
}

// A schedule-size detail table: compound key (text, r4) and a range on the master key.
vt::Table sizes() {
  vt::Table t({{"Index", vt::FieldType::String, 38}, {"NomSize", vt::FieldType::R4}, {"InDia", vt::FieldType::R4}});
  for (auto [key, nom, dia] : {std::tuple{"{B}", 2.0, 2.067}, {"{A}", 0.125, 0.269}, {"{A}", 2.0, 2.157},
                               {"{B}", 0.125, 0.215}, {"{A}", 1.0, 1.049}})
    t.append({{"Index", key}, {"NomSize", nom}, {"InDia", dia}});
  t.addIndex("cdsPipeSizes1", {"Index", "NomSize"}, vt::CaseRule::Insensitive, true);
  return t;
}

TEST(Table, CompoundKeysAndMasterRange) {
  vt::Table t = sizes();
  ASSERT_NE(t.findKey({"{a}", 0.125}), nullptr);
  EXPECT_FLOAT_EQ(static_cast<float>(t.findKey({"{a}", 0.125})->num("InDia")), 0.269f);
  EXPECT_FLOAT_EQ(static_cast<float>(t.findKey({"{B}", "2"})->num("InDia")), 2.067f);  // text key converted
  EXPECT_EQ(t.findKey({"{B}", "two"}), nullptr);

  t.setRange({"{A}"});
  EXPECT_EQ(t.rowCount(), 3u);
  EXPECT_THAT(column(t.rows(), "NomSize"), ElementsAre("0.125", "1", "2"));
  EXPECT_EQ(t.findKey({"{B}", 2.0}), nullptr);  // outside the range
  EXPECT_EQ(t.locate({{"NomSize", 0.125}})->str("Index"), "{A}");
  for (vt::Row* r : t.rows()) t.remove(*r);  // removing while walking the snapshot
  t.cancelRange();
  EXPECT_THAT(column(t.rows(), "Index"), ElementsAre("{B}", "{B}"));

  t.setRangeOn({{"NomSize", 2}});
  EXPECT_EQ(t.rowCount(), 1u);
  t.cancelRange();
  EXPECT_EQ(t.rowCount(), 2u);
}

TEST(Table, LocateBySeveralFields) {
  vt::Table t = sizes();
  t.setIndex("");
  const vt::Row* r = t.locate({{"Index", "{A}"}, {"NomSize", 2.0}});
  ASSERT_NE(r, nullptr);
  EXPECT_FLOAT_EQ(static_cast<float>(r->num("InDia")), 2.157f);
  EXPECT_EQ(t.locate({{"Index", "{a}"}, {"NomSize", 2.0}}), nullptr);  // exact by default
  EXPECT_NE(t.locate({{"Index", "{a}"}, {"NomSize", 2.0}}, vt::CaseRule::Insensitive), nullptr);
  EXPECT_THROW(t.locate({{"Nope", 1}}), vt::TableError);
}

TEST(Table, EditsConvertToTheFieldAndKeepIndexesCurrent) {
  vt::Table t({{"Parameter", vt::FieldType::String, 20}, {"Abrev", vt::FieldType::String, 7},
               {"Val1", vt::FieldType::R8}, {"Small", vt::FieldType::I2}, {"On", vt::FieldType::Boolean}});
  t.addIndex("Parameter", {"Parameter"}, vt::CaseRule::Insensitive, true);
  vt::Row& r = t.append({{"Parameter", "UnitFlow"}});
  EXPECT_EQ(t.findKey({"unitflow"}), &r);
  r.set("Parameter", "UnitVel");  // a key change is seen by the next look-up
  EXPECT_EQ(t.findKey({"UnitFlow"}), nullptr);
  EXPECT_EQ(t.findKey({"UnitVel"}), &r);

  r.set("Abrev", "ft/sec-long");
  EXPECT_EQ(r.str("Abrev"), "ft/sec-");  // cut to the width
  r.set("Abrev", "\u00b0C\u00b0C\u00b0C\u00b0C");
  EXPECT_EQ(r.str("Abrev"), "\u00b0C\u00b0C\u00b0C\u00b0");  // characters, not bytes
  r.set("Val1", " 2.5 ");
  EXPECT_EQ(r.num("Val1"), 2.5);
  r.set("Val1", "");
  EXPECT_TRUE(r.isNull("Val1"));
  r.set("Val1", 3);
  EXPECT_EQ(r.str("Val1"), "3");
  r.set("On", "True");
  EXPECT_TRUE(r.boolean("On"));
  EXPECT_EQ(r.str("On"), "True");
  r.set("Small", 2.6);
  EXPECT_EQ(r.integer("Small"), 3);

  EXPECT_THROW(r.set("Val1", "abc"), vt::TableError);
  EXPECT_EQ(r.str("Val1"), "3");  // a refused value leaves the old one
  EXPECT_THROW(r.set("Small", 70000), vt::TableError);
  EXPECT_THROW(r.set("On", "maybe"), vt::TableError);
  EXPECT_THROW(r.set("Nope", 1), vt::TableError);
  EXPECT_THROW(t.append({{"Parameter", "X"}, {"Nope", 1}}), vt::TableError);
  EXPECT_EQ(t.rowCount(), 1u);  // the refused append added nothing

  t.remove(r);
  EXPECT_EQ(t.rowCount(), 0u);
  EXPECT_EQ(t.findKey({"UnitVel"}), nullptr);
}

TEST(Table, RequireFieldsNamesTheMissingField) {
  TempDir dir;
  dir.write("Units.XML", kPacket);
  vt::Table t = vt::Table::load(dir.path() / "Units.XML");
  EXPECT_NO_THROW(t.requireFields({"Parameter", "unit_fact"}));
  try {
    t.requireFields({"Parameter", "Abbrev"});
    FAIL();
  } catch (const vt::TableError& e) {
    EXPECT_EQ(std::string(e.what()),
              "Malformed table file " + (dir.path() / "Units.XML").string() + ": missing field Abbrev");
  }
}

}  // namespace

namespace {

// Field names that are not XML names (the valve table's size columns ".5", "1.") are written under
// a substitute attribute and read back under their own names.
TEST(Table, FieldNamesThatAreNotXmlNamesRoundTrip) {
  vt::Table t({{".5", vt::FieldType::R4}, {"1.", vt::FieldType::R4}, {"a b", vt::FieldType::String},
               {"_.5", vt::FieldType::I4}, {"x:y<\"", vt::FieldType::String}});
  t.append({{".5", 0.5}, {"1.", 1.0}, {"a b", "space"}, {"_.5", 7}, {"x:y<\"", "odd"}});
  vt::Table back = vt::Table::fromText(t.toText());
  ASSERT_EQ(back.fields().size(), 5u);
  const vt::Row& r = *back.rows()[0];
  EXPECT_EQ(r.num(".5"), 0.5);
  EXPECT_EQ(r.num("1."), 1.0);
  EXPECT_EQ(r.str("a b"), "space");
  EXPECT_EQ(r.integer("_.5"), 7);
  EXPECT_EQ(r.str("x:y<\""), "odd");
}

}  // namespace
