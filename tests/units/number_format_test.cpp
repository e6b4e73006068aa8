#include "units/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct Case {
  const char* fmt;
  vt::FmtArg arg;
  const char* expected;
};

// One argument per case; expected texts worked out by hand from the rules in the header.
TEST(NumberFormat, SingleArgumentTable) {
  const Case cases[] = {
      {"%10.2e", 12345, "  1.2E+004"},
      {"%7.2g", 12345, "1.2E+004"},  // wider than its field: never cut
      {"%-9.2f ", 60, "60.00     "},
      {"%5.3g", 0.125, "0.125"},
      {"%8.2f", 2.675, "    2.68"},   // decimal rounding of the value as entered
      {"%.2f", 0.125, "0.13"},        // exact tie: half away from zero
      {"%.2f", -0.125, "-0.13"},
      {"%.2f", -0.001, "0.00"},       // no negative zero
      {"%.3f", -19999, "-19999.000"},
      {"%f", 3.14159, "3.14"},        // default two decimals
      {"%.0f", 2.5, "3"},
      {"%1.1e", 12345, "1E+004"},
      {"%8.2e", 0.0, "0.0E+000"},
      {"%10.2e", -0.000123456, " -1.2E-004"},
      {"%.3e", 9.9996, "1.00E+001"},  // carry into the exponent
      {"%e", 1.0, "1.00000000000000E+000"},
      {"%.2e", 1e-300, "1.0E-300"},
      {"%.2e", 1.5e300, "1.5E+300"},
      {"%g", 0.1 + 0.2, "0.3"},
      {"%.3g", 999.6, "1E+003"},
      {"%.3g", 99.96, "100"},
      {"%.4g", 1234.5, "1235"},
      {"%g", 0.00001, "0.00001"},
      {"%g", 0.000009, "9E-006"},
      {"%g", 1e20, "1E+020"},
      {"%-4.4g", 45, "45  "},
      {"%-4.4g", 22.5, "22.5"},
      {"%g", -0.0, "0"},
      {"%d", 42, "42"},
      {"%5d", -7, "   -7"},
      {"%-4d|", 3, "3   |"},
      {"%d", 2.5, "3"},  // a real for %d is rounded
      {"%d", std::numeric_limits<long long>::min(), "-9223372036854775808"},
      {"SP%-2d", 5, "SP5 "},
      {"%s", "abc", "abc"},
      {"%-6s|", "abc", "abc   |"},
      {"%-4.4s", "abcdefg", "abcd"},
      {"(%-4s)", "ft", "(ft  )"},
      {"%5s", "\xC2\xB0" "F", "   \xC2\xB0" "F"},      // widths count characters, not bytes
      {"%.1s", "\xC2\xB0" "F", "\xC2\xB0"},             // never cuts a character in two
      {"%s", 2.5, "2.5"},
      {"%s", 7, "7"},
      {"%d", "x", "x"},
      {"%8.2f", std::nan(""), "     NAN"},
      {"%g", -INFINITY, "-INF"},
      {"%.2F", 1.0, "1.00"},  // conversions are case-blind
  };
  for (const Case& c : cases) EXPECT_EQ(vt::format(c.fmt, {c.arg}), c.expected) << "format " << c.fmt;
}

TEST(NumberFormat, LiteralTextAndSeveralArguments) {
  EXPECT_EQ(vt::format("- Error, node count = %d, total nodes = %d", {3, 4}),
            "- Error, node count = 3, total nodes = 4");
  EXPECT_EQ(vt::format("PRV (max press=%-.2f %-s)", {55.555, "psi"}), "PRV (max press=55.56 psi)");
  EXPECT_EQ(vt::format("100%% of %s", {std::string("flow")}), "100% of flow");
  EXPECT_EQ(vt::format("no specs at all", {1, 2}), "no specs at all");  // extra arguments ignored
}

TEST(NumberFormat, MalformedFormatsAndMissingArgumentsDoNotFail) {
  EXPECT_EQ(vt::format("%q and %d", {1}), "%q and 1");
  EXPECT_EQ(vt::format("50%", {1}), "50%");
  EXPECT_EQ(vt::format("%-", {}), "%-");
  EXPECT_EQ(vt::format("%5.2", {1.0}), "%5.2");
  EXPECT_EQ(vt::format("a=%d b=%d", {1}), "a=1 b=");
  EXPECT_EQ(vt::format("%s", {}), "");
  // Absurd widths and precisions are capped instead of exhausting memory.
  EXPECT_EQ(vt::format("%99999999999d", {1}).size(), static_cast<size_t>(vt::kMaxFieldWidth));
  EXPECT_LE(vt::format("%.99999999999f", {1.0}).size(), static_cast<size_t>(vt::kMaxFieldWidth) + 2);
}

TEST(NumberFormat, FixedForm) {
  struct F {
    double v;
    int p, d;
    const char* expected;
  };
  const F cases[] = {
      {123.456, 4, 2, "123.50"},      // p significant digits, then exactly d decimals
      {0.1, 4, 2, "0.10"},
      {14.7, 6, 2, "14.70"},
      {-2.5, 4, 2, "-2.50"},
      {0.005, 4, 2, "0.01"},
      {0.0, 4, 2, "0.00"},
      {1.23456, 3, 4, "1.2300"},
      {0.00015, 9, 8, "0.00015000"},
      {12345.678, 4, 2, "1.235E+004"},  // integer part longer than p
      {9999.6, 4, 0, "1E+004"},
      {999.6, 4, 0, "1000"},
  };
  for (const F& c : cases) EXPECT_EQ(vt::formatFixed(c.v, c.p, c.d), c.expected) << c.v << " " << c.p << "," << c.d;
}

TEST(NumberFormat, GeneralForm) {
  struct G {
    double v;
    int p;
    const char* expected;
  };
  const G cases[] = {
      {0.001, 9, "0.001"},
      {1.13, 3, "1.13"},
      {1.5, 3, "1.5"},
      {60.0, 4, "60"},
      {-0.5, 3, "-0.5"},
      {0.00001, 3, "0.00001"},
      {0.0000012345, 3, "1.23E-006"},
      {123456.0, 3, "1.23E+005"},
      {123456.0, 6, "123456"},
      {static_cast<double>(0.1f), 9, "0.100000001"},  // a single-precision field shows its own value
      {static_cast<double>(0.1f), 4, "0.1"},
  };
  for (const G& c : cases) EXPECT_EQ(vt::formatGeneral(c.v, c.p), c.expected) << c.v << " " << c.p;
}

}  // namespace
