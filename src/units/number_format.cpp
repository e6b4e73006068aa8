#include "units/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace vt {
namespace {

// Fifteen significant digits are all a double carries reliably; rounding decisions are made on them
// so that a value typed as 2.675 rounds as a person expects (2.68), not as its binary neighbour.
constexpr int kSourceDigits = 15;
constexpr int kMaxSigDigits = 18;

// A non-negative decimal number 0.digits x 10^exp10. Empty digits means zero. No trailing zeros.
struct Decimal {
  std::string digits;
  int exp10 = 0;
  bool negative = false;
  bool isZero() const { return digits.empty(); }
};

void stripTrailingZeros(Decimal& d) {
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  if (d.digits.empty()) d.exp10 = 0;
}

Decimal toDecimal(double v) {
  Decimal d;
  d.negative = std::signbit(v);
  double a = std::fabs(v);
  if (a == 0.0) return d;
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, kSourceDigits - 1);
  std::string_view s(buf, static_cast<size_t>(res.ptr - buf));  // "d.ddddde+XX"
  size_t ePos = s.find('e');
  for (size_t i = 0; i < ePos; ++i)
    if (s[i] != '.') d.digits.push_back(s[i]);
  int e = 0;
  std::from_chars(s.data() + ePos + 1 + (s[ePos + 1] == '+' ? 1 : 0), s.data() + s.size(), e);
  d.exp10 = e + 1;
  stripTrailingZeros(d);
  return d;
}

// Keeps the first n digits, rounding half away from zero.
void keepDigits(Decimal& d, int n) {
  if (d.isZero() || n >= static_cast<int>(d.digits.size())) return;
  if (n < 0) {
    d.digits.clear();
    d.exp10 = 0;
    return;
  }
  bool up = d.digits[static_cast<size_t>(n)] >= '5';
  d.digits.resize(static_cast<size_t>(n));
  if (up) {
    int i = n - 1;
    while (i >= 0 && d.digits[static_cast<size_t>(i)] == '9') d.digits[static_cast<size_t>(i--)] = '0';
    if (i >= 0) {
      ++d.digits[static_cast<size_t>(i)];
    } else {
      d.digits.insert(d.digits.begin(), '1');
      ++d.exp10;
    }
  }
  stripTrailingZeros(d);
}

void roundToDecimals(Decimal& d, int decimals) { keepDigits(d, d.exp10 + decimals); }
void roundToSignificant(Decimal& d, int sig) { keepDigits(d, sig); }

char digitAt(const Decimal& d, int i) {
  return (i >= 0 && i < static_cast<int>(d.digits.size())) ? d.digits[static_cast<size_t>(i)] : '0';
}

std::string sign(const Decimal& d) { return (d.negative && !d.isZero()) ? "-" : ""; }

// Plain notation with exactly `decimals` decimals.
std::string writeFixed(const Decimal& d, int decimals) {
  std::string out = sign(d);
  if (d.exp10 <= 0 || d.isZero()) {
    out += '0';
  } else {
    for (int i = 0; i < d.exp10; ++i) out += digitAt(d, i);
  }
  if (decimals > 0) {
    out += '.';
    for (int i = 0; i < decimals; ++i) out += digitAt(d, d.exp10 + i);
  }
  return out;
}

// Plain notation without trailing zeros.
std::string writePlain(const Decimal& d) {
  int fracDigits = std::max(0, static_cast<int>(d.digits.size()) - d.exp10);
  return writeFixed(d, fracDigits);
}

std::string writeExponent(int e) {
  std::string digits = std::to_string(std::abs(e));
  if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
  return std::string("E") + (e < 0 ? "-" : "+") + digits;
}

// Scientific notation: `mantissaDigits` significant digits (0: as many as the value has).
std::string writeScientific(const Decimal& d, int mantissaDigits) {
  int n = mantissaDigits > 0 ? mantissaDigits : std::max(1, static_cast<int>(d.digits.size()));
  std::string out = sign(d);
  out += digitAt(d, 0);
  if (n > 1) {
    out += '.';
    for (int i = 1; i < n; ++i) out += digitAt(d, i);
  }
  out += writeExponent(d.isZero() ? 0 : d.exp10 - 1);
  return out;
}

std::string nonFinite(double v) {
  if (std::isnan(v)) return "NAN";
  return v < 0 ? "-INF" : "INF";
}

std::string formatE(double v, int precision) {
  if (!std::isfinite(v)) return nonFinite(v);
  precision = std::clamp(precision, 1, kMaxSigDigits);
  Decimal d = toDecimal(v);
  roundToSignificant(d, precision);
  return writeScientific(d, precision);
}

std::string formatG(double v, int precision) {
  if (!std::isfinite(v)) return nonFinite(v);
  precision = std::clamp(precision, 1, kMaxSigDigits);
  Decimal d = toDecimal(v);
  roundToSignificant(d, precision);
  if (d.isZero()) return "0";
  // |value| >= 0.00001 <=> exp10 >= -4.
  if (d.exp10 <= precision && d.exp10 >= -4) return writePlain(d);
  return writeScientific(d, 0);
}

std::string formatF(double v, int decimals) {
  if (!std::isfinite(v)) return nonFinite(v);
  decimals = std::clamp(decimals, 0, kMaxFieldWidth);
  Decimal d = toDecimal(v);
  roundToDecimals(d, decimals);
  return writeFixed(d, decimals);
}

std::string formatD(long long v, int minDigits) {
  std::string digits = std::to_string(v < 0 ? -(v + 1) + 1ULL : static_cast<unsigned long long>(v));
  if (minDigits > static_cast<int>(digits.size())) digits.insert(0, static_cast<size_t>(minDigits) - digits.size(), '0');
  return (v < 0 ? "-" : "") + digits;
}

long long roundToInteger(double v) {
  if (std::isnan(v)) return 0;
  constexpr double kLimit = 9.2e18;
  if (v >= kLimit) return static_cast<long long>(kLimit);
  if (v <= -kLimit) return -static_cast<long long>(kLimit);
  return std::llround(v);
}

// Number of UTF-8 code points, so columns of text with accented or degree signs line up.
size_t codePoints(std::string_view s) {
  return static_cast<size_t>(std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// The first n code points of s.
std::string_view firstCodePoints(std::string_view s, size_t n) {
  size_t count = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if ((s[i] & 0xC0) != 0x80) {
      if (count == n) return s.substr(0, i);
      ++count;
    }
  }
  return s;
}

std::string argumentText(const FmtArg& a) {
  switch (a.kind()) {
    case FmtArg::Kind::Int: return std::to_string(a.intValue());
    case FmtArg::Kind::Real: return formatGeneral(a.realValue(), 15);
    case FmtArg::Kind::Text: return std::string(a.text());
  }
  return {};
}

struct Spec {
  bool left = false;
  int width = 0;
  int precision = -1;  // -1: not given
  char conv = 0;
};

// Parses the conversion directive after '%' at fmt[pos]; on success sets pos past the conversion.
bool parseSpec(std::string_view fmt, size_t& pos, Spec& spec) {
  size_t i = pos;
  while (i < fmt.size() && fmt[i] == '-') {
    spec.left = true;
    ++i;
  }
  auto readNumber = [&](int& out) {
    long long n = 0;
    bool any = false;
    while (i < fmt.size() && fmt[i] >= '0' && fmt[i] <= '9') {
      n = std::min<long long>(n * 10 + (fmt[i] - '0'), kMaxFieldWidth);
      any = true;
      ++i;
    }
    out = static_cast<int>(n);
    return any;
  };
  readNumber(spec.width);
  if (i < fmt.size() && fmt[i] == '.') {
    ++i;
    spec.precision = 0;
    readNumber(spec.precision);
  }
  if (i >= fmt.size()) return false;
  char c = static_cast<char>(fmt[i] | 0x20);  // conversions are case-blind
  if (c != 'd' && c != 's' && c != 'f' && c != 'e' && c != 'g') return false;
  spec.conv = c;
  pos = i + 1;
  return true;
}

std::string convert(const Spec& spec, const FmtArg& a) {
  bool isNumber = a.kind() != FmtArg::Kind::Text;
  double real = a.kind() == FmtArg::Kind::Int ? static_cast<double>(a.intValue()) : a.realValue();
  switch (spec.conv) {
    case 'd':
      if (!isNumber) return std::string(a.text());
      return formatD(a.kind() == FmtArg::Kind::Int ? a.intValue() : roundToInteger(real), spec.precision);
    case 'f':
      return isNumber ? formatF(real, spec.precision < 0 ? 2 : spec.precision) : std::string(a.text());
    case 'e':
      return isNumber ? formatE(real, spec.precision < 0 ? 15 : spec.precision) : std::string(a.text());
    case 'g':
      return isNumber ? formatG(real, spec.precision < 0 ? 15 : spec.precision) : std::string(a.text());
    default: {  // 's'
      std::string text = argumentText(a);
      if (spec.precision >= 0) text = std::string(firstCodePoints(text, static_cast<size_t>(spec.precision)));
      return text;
    }
  }
}

void appendPadded(std::string& out, const std::string& text, const Spec& spec) {
  size_t len = codePoints(text);
  size_t pad = static_cast<size_t>(spec.width) > len ? static_cast<size_t>(spec.width) - len : 0;
  if (!spec.left) out.append(pad, ' ');
  out += text;
  if (spec.left) out.append(pad, ' ');
}

}  // namespace

std::string format(std::string_view fmt, std::initializer_list<FmtArg> args) {
  return format(fmt, std::span<const FmtArg>(args.begin(), args.size()));
}

std::string format(std::string_view fmt, std::span<const FmtArg> args) {
  std::string out;
  out.reserve(fmt.size() + 16);
  size_t next = 0;
  size_t pos = 0;
  while (pos < fmt.size()) {
    char c = fmt[pos++];
    if (c != '%') {
      out += c;
      continue;
    }
    if (pos < fmt.size() && fmt[pos] == '%') {
      out += '%';
      ++pos;
      continue;
    }
    Spec spec;
    if (!parseSpec(fmt, pos, spec)) {
      out += '%';  // not a specification: copied as it stands
      continue;
    }
    if (next >= args.size()) continue;  // no argument: nothing written
    appendPadded(out, convert(spec, args[next++]), spec);
  }
  return out;
}

std::string formatFixed(double value, int p, int d) {
  if (!std::isfinite(value)) return nonFinite(value);
  p = std::clamp(p, 1, kMaxSigDigits);
  d = std::clamp(d, 0, kMaxSigDigits);
  Decimal dec = toDecimal(value);
  roundToSignificant(dec, p);
  if (dec.exp10 > p) return writeScientific(dec, 0);
  roundToDecimals(dec, d);
  return writeFixed(dec, d);
}

std::string formatGeneral(double value, int p) { return formatG(value, p); }

}  // namespace vt
