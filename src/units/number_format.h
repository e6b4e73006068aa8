// Every printf-like text of the program goes through here, so that numbers look the same in
// reports, editors and messages.
//
// format() understands "%[-][width][.precision]conv" with conv one of
//   f  fixed notation, precision = decimals (default 2)
//   d  integer (a real argument is rounded to the nearest integer)
//   s  text; precision truncates (a number argument is written as formatGeneral(v, 15))
//   e  scientific: precision = total significant digits (default 15), exponent written as
//      "E", a sign and at least three digits: "%10.2e" of 12345 -> "  1.2E+004"
//   g  general: precision = significant digits (default 15), trailing zeros dropped; plain
//      notation when the integer part has at most `precision` digits and |v| >= 0.00001,
//      otherwise the exponent form of e (without trailing zeros): "%7.2g" of 12345 -> "1.2E+004"
// and "%%" for a percent sign. Everything else is copied literally.
//
// Rounding is decimal, half away from zero, applied to the value's 15 significant digits, so a
// value entered as 2.675 shows as 2.68 with two decimals.
//
// Nothing here throws or crashes on a malformed format: an unknown or unfinished specification is
// copied as it stands, and a specification without an argument writes nothing. Widths and
// precisions are capped at kMaxFieldWidth so a hostile format cannot exhaust memory.
#pragma once

#include <concepts>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace vt {

inline constexpr int kMaxFieldWidth = 1000;

// One argument of format(). Holds a view of text arguments: use it only within the call.
class FmtArg {
 public:
  enum class Kind { Int, Real, Text };

  template <std::integral T>
  FmtArg(T v) : kind_(Kind::Int), int_(static_cast<long long>(v)) {}
  template <std::floating_point T>
  FmtArg(T v) : kind_(Kind::Real), real_(static_cast<double>(v)) {}
  FmtArg(const char* s) : kind_(Kind::Text), text_(s ? s : "") {}
  FmtArg(std::string_view s) : kind_(Kind::Text), text_(s) {}
  FmtArg(const std::string& s) : kind_(Kind::Text), text_(s) {}

  Kind kind() const { return kind_; }
  long long intValue() const { return int_; }
  double realValue() const { return real_; }
  std::string_view text() const { return text_; }

 private:
  Kind kind_;
  long long int_ = 0;
  double real_ = 0.0;
  std::string_view text_;
};

// printf-like formatting under the rules above.
std::string format(std::string_view fmt, std::initializer_list<FmtArg> args);
std::string format(std::string_view fmt, std::span<const FmtArg> args);

// "fixed (p, d)": rounds to at most d decimals and at most p significant digits and writes exactly
// d decimals; when the integer part has more than p digits, the exponent form with p significant
// digits (trailing zeros dropped). formatFixed(123.456, 4, 2) == "123.50".
std::string formatFixed(double value, int p, int d);

// "general (p)": rounds to at most p significant digits, drops trailing zeros; plain notation when
// the integer part has at most p digits and |value| >= 0.00001, otherwise the exponent form.
// formatGeneral(0.0000012345, 3) == "1.23E-006", formatGeneral(1.5, 3) == "1.5".
std::string formatGeneral(double value, int p);

}  // namespace vt
