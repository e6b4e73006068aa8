#include "editors/valfit_editor.h"

#include <gtest/gtest.h>

#include "data/table.h"
#include "editor_fixture.h"
#include "units/number_format.h"

namespace vt {
namespace {

using test::EditorFixture;

std::vector<ValfitKind> kinds() {
  auto row = [](bool fit, const char* desc, int code, double base) {
    ValfitKind k{fit, desc, code, {}};
    for (size_t i = 0; i < 12; ++i) k.k[i] = base + 0.01 * static_cast<double>(i);  // column i holds base + i/100
    return k;
  };
  return {row(true, "Elbow 90", 1, 0.5),      row(false, "Gate valve", 20, 0.2), row(false, "Swing check", 45, 2.0),
          row(true, "Enlargement", 56, 0.0),  row(true, "Nozzle", 57, 0.9),      row(false, "PRV", -3, 0.0),
          row(false, "PSV", -4, 0.0),         row(false, "FCV", -5, 0.0),        row(false, "Fixed loss", -6, 0.0),
          row(false, "Custom check", -2, 1.0)};
}

int kindIndexOf(const ValfitEditor& ed, const std::string& desc) {
  auto items = ed.kindItems();
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i] == desc) return static_cast<int>(i);
  return -1;
}

TEST(ValfitEditor, KindListsAndCaptions) {
  EditorFixture f;
  ValfitEditor fit(f.p, f.newSetup(kFitting), kinds());
  EXPECT_EQ(fit.caption(), "Insert New Fitting");
  EXPECT_EQ(fit.kindItems(), (std::vector<std::string>{"Custom Fitting", "Elbow 90", "Enlargement", "Nozzle"}));
  EXPECT_EQ(fit.dia, "2.000");
  EXPECT_EQ(fit.coef, "");
  EXPECT_TRUE(fit.layout().coefEnabled);
  ValfitEditor valve(f.p, f.newSetup(kValve), kinds());
  EXPECT_EQ(valve.caption(), "Insert New Valve");
  EXPECT_EQ(valve.kindItems().front(), "Custom Valve");
  EXPECT_EQ(valve.kindItems().size(), 8u);
}

TEST(ValfitEditor, KColumnIsTheLastStandardSizeBelowTheNextLargerOne) {
  struct Case {
    const char* dia;
    int column;  // 0-based column of .5 .. 18.
    const char* used;
  };
  const Case cases[] = {{"3", 6, "K for 2.500 in"},     {"0.25", 0, "K for 0.500 in"}, {"20", 11, "K for 18.000 in"},
                        {"2", 5, "K for 2.000 in"},     {"1.9", 4, "K for 1.500 in"},  {"0.5", 0, "K for 0.500 in"}};
  for (const auto& c : cases) {
    EditorFixture f;
    ValfitEditor ed(f.p, f.newSetup(kValve), kinds());
    ed.dia = c.dia;
    ed.chooseKind(kindIndexOf(ed, "Gate valve"));
    EXPECT_EQ(ed.code(), 20);
    EXPECT_EQ(ed.coef, formatGeneral(0.2 + 0.01 * c.column, 15)) << c.dia;
    EXPECT_EQ(ed.diaUsed(), c.used) << c.dia;
  }
}

TEST(ValfitEditor, CvOnACustomFittingIsStoredAsK) {
  EditorFixture f;
  EditorSetup s = f.newSetup(kFitting);
  ValfitEditor ed(f.p, s, kinds());
  ed.id = "F1";
  ed.dia = "2";
  ed.coef = "1.4304";
  ASSERT_TRUE(ed.switchCoefMode());  // to Cv
  EXPECT_EQ(ed.coefLabel(), "C&v coef :");
  EXPECT_EQ(ed.switchText(), "Use K");
  ed.coef = "100";
  ASSERT_TRUE(ed.accept());
  const Valfit& r = *f.p.valfit[s.elem];
  EXPECT_NEAR(r.Coef, 1.4304, 1e-4);
  EXPECT_EQ(r.CoefMode, 'C');
  EXPECT_EQ(r.Code, -1);
  EXPECT_FLOAT_EQ(f.p.last.LastValfitDia, 2.0f);
  EXPECT_EQ(f.p.ElemType[s.elem], kFitting);

  // Reopened in Cv mode it shows the Cv again.
  ValfitEditor again(f.p, f.existingSetup(s.elem), kinds());
  EXPECT_EQ(again.caption(), "Edit Existing Fitting");
  EXPECT_EQ(again.coef, "100.00");
  ASSERT_TRUE(again.switchCoefMode());
  EXPECT_EQ(again.coef, "1.43");
}

TEST(ValfitEditor, ZeroKOnReopeningWarnsAndBecomesOneTenth) {
  EditorFixture f;
  int n = f.add(0, kFitting, "F1");
  Valfit& r = *f.p.valfit[n];
  r.Code = -1;
  r.Dia = 2;
  r.Coef = 0;
  r.CoefMode = 'C';
  r.Dir = 1;
  ValfitEditor ed(f.p, f.existingSetup(n), kinds());
  ASSERT_EQ(f.prompt.shown.size(), 1u);
  EXPECT_EQ(f.prompt.shown[0].text, "K value is zero - temporarily setting to 0.1 - please fix!");
  EXPECT_EQ(f.prompt.shown[0].kind, MsgKind::Warning);
  EXPECT_FLOAT_EQ(r.Coef, 0.1f);
  EXPECT_EQ(ed.coef, "378.21");  // 29.9 * 4 / sqrt(0.1)
}

TEST(ValfitEditor, AcceptanceOrderAndMessages) {
  struct Case {
    const char* kind;  // "" = custom
    const char* id;
    const char* dia;
    const char* coef;
    const char* parm;
    const char* elev;
    const char* message;
    const char* focus;
  };
  const Case cases[] = {
      {"", "", "x", "x", "", "", "Error - Need ID!", "EditValfitID"},
      {"", "V1", "", "1", "", "", "Bad diameter!", "Editdia"},
      {"", "V1", "abc", "1", "", "", "Bad diameter!", "Editdia"},
      {"", "V1", "2", "", "", "", "Bad friction coef!", "EditCoef"},
      {"", "V1", "2", "0", "", "", "Bad friction coef!", "EditCoef"},
      {"Custom check", "V1", "2", "-1", "", "", "Bad friction coef!", "EditCoef"},
      {"FCV", "V1", "2", "", "", "", "Bad Parameter!", "EditParm"},
      {"FCV", "V1", "2", "", "0", "", "Max flow must be positive!", "EditParm"},
      {"PRV", "V1", "2", "", "50", "", "Bad elevation!", "EditElev"},
      {"PRV", "V1", "2", "", "x", "y", "Bad Parameter!", "EditParm"},
      {"Fixed loss", "V1", "", "", "", "", "Bad Parameter!", "EditParm"},
      {"", "G1", "2", "1", "", "", "Error - ID already used! Enter a new ID...", "EditValfitID"},
  };
  for (const auto& c : cases) {
    EditorFixture f;
    f.add(0, kGauge, "G1");
    ValfitEditor ed(f.p, f.newSetup(kValve), kinds());
    if (*c.kind) ed.chooseKind(kindIndexOf(ed, c.kind));
    ed.id = c.id;
    ed.dia = c.dia;
    ed.coef = c.coef;
    ed.parm = c.parm;
    ed.elev = c.elev;
    EXPECT_FALSE(ed.accept()) << c.message;
    ASSERT_EQ(f.prompt.shown.size(), 1u) << c.message;
    EXPECT_EQ(f.prompt.shown[0].text, c.message);
    EXPECT_EQ(ed.focus(), c.focus) << c.message;
  }
}

TEST(ValfitEditor, NozzleChecksAndConversions) {
  EditorFixture f;
  EditorSetup s = f.newSetup(kFitting);
  ValfitEditor ed(f.p, s, kinds());
  ed.chooseKind(kindIndexOf(ed, "Nozzle"));
  EXPECT_EQ(ed.layout().diaLabel, "Openin&g dia :");
  EXPECT_EQ(ed.layout().parmLabel, "Lar&ger Dia :");
  EXPECT_EQ(ed.coefLabel(), "Dischar&ge Coef :");
  ed.id = "N1";
  ed.dia = "3";
  ed.parm = "2";
  ed.coef = "0.9";
  EXPECT_FALSE(ed.accept());
  EXPECT_EQ(f.lastText(), "Nozzle/orifice opening must be smaller than Larger Dia!");
  ed.parm = "3";
  ed.coef = "1.2";
  EXPECT_FALSE(ed.accept());
  EXPECT_EQ(f.lastText(), "Bad discharge coefficient. Should be between 0 and 1!");
  ed.coef = "0.95";
  ASSERT_TRUE(ed.accept());  // an opening equal to the larger diameter is accepted
  EXPECT_FLOAT_EQ(f.p.valfit[s.elem]->Parm, 3.0f);
  EXPECT_FLOAT_EQ(f.p.valfit[s.elem]->Coef, 0.95f);
}

TEST(ValfitEditor, ControlValveParametersInDisplayUnits) {
  EditorFixture f;
  f.p.liquid.LiqSG = 1.2f;
  test::englishUnits(f.p);  // pressure factor 0.433 * 1.2
  EditorSetup s = f.newSetup(kValve);
  ValfitEditor ed(f.p, s, kinds());
  ed.chooseKind(kindIndexOf(ed, "PRV"));
  EXPECT_EQ(ed.layout().parmLabel, "Ma&x Pressure :");
  EXPECT_EQ(ed.layout().parmUnit, "psi");
  EXPECT_TRUE(ed.layout().elev);
  EXPECT_FALSE(ed.layout().coef);
  ed.id = "PRV1";
  ed.dia = "4";
  ed.parm = "51.96";  // psi = 100 ft of a liquid of SG 1.2
  ed.elev = "10";     // ft
  ed.flipDirection();
  ASSERT_TRUE(ed.accept());
  const Valfit& r = *f.p.valfit[s.elem];
  EXPECT_NEAR(r.Parm, 100.0, 1e-3);
  EXPECT_FLOAT_EQ(r.Elev, 120.0f);
  EXPECT_EQ(r.Dir, -1);
  EXPECT_EQ(r.Code, -3);

  // While solved the solution's K is shown for reading, with "Convert to Custom".

  f.p.valfit[s.elem]->Coef = 3.25f;
  f.p.SetSolved(true);
  ValfitEditor open(f.p, f.existingSetup(s.elem), kinds());
  EXPECT_TRUE(open.layout().coef);
  EXPECT_FALSE(open.layout().coefEnabled);
  EXPECT_TRUE(open.layout().convertToCustom);
  EXPECT_EQ(open.coef, "3.25");
  EXPECT_EQ(open.parm, "51.96");
  EXPECT_EQ(open.arrow(), "<-");
  open.convertToCustom();
  EXPECT_EQ(open.code(), -1);
  EXPECT_EQ(open.coef, "3.25");
  EXPECT_FALSE(open.layout().convertToCustom);
}

TEST(ValfitEditor, EquivalentLengthWarningForCustomKinds) {
  EditorFixture f;
  f.p.sys.HeadCalc = 2;
  f.p.sys.EqLen = true;
  ValfitEditor ed(f.p, f.newSetup(kFitting), kinds());
  ed.id = "F1";
  ed.coef = "0.5";
  ASSERT_TRUE(ed.accept());
  EXPECT_EQ(f.lastText(), "Using equivalent length method. Be sure all K values are for water. ");
}

TEST(ValfitEditor, UntouchedCoefficientKeepsItsStoredPrecision) {
  EditorFixture f;
  int n = f.add(0, kFitting, "F1");
  Valfit& r = *f.p.valfit[n];
  r.Code = -1;
  r.Dia = 2;
  r.Coef = 0.045f;
  r.CoefMode = 'K';
  r.Dir = 1;
  ValfitEditor ed(f.p, f.existingSetup(n), kinds());
  EXPECT_EQ(ed.coef, "0.05");
  ed.description = "only the text";
  ASSERT_TRUE(ed.accept());
  EXPECT_FLOAT_EQ(r.Coef, 0.045f);
}

TEST(ValfitTable, KindsLoadFromTheShippedTableColumns) {
  Table t = Table::load(std::string(VORTELAN_SOURCE_DATA_DIR) + "/Valfit.XML");
  auto k = loadValfitKinds(t);
  ASSERT_FALSE(k.empty());
  const Row* first = t.rows().front();
  EXPECT_EQ(k[0].fitting, first->str("ValorFit") == "F");
  EXPECT_EQ(k[0].code, first->integer("ID"));
  // The "2.5" column, whichever spelling of its name the file uses.
  std::string col = t.hasField("2.5") ? "2.5" : "_2.5";
  ASSERT_TRUE(t.hasField(col));
  ASSERT_TRUE(k[0].k[6].has_value());
  EXPECT_DOUBLE_EQ(*k[0].k[6], first->num(col));
  for (auto& kind : k) EXPECT_FALSE(kind.desc.empty());
}

}  // namespace
}  // namespace vt
