#include "files/byte_io.h"

#include "model/records.h"

namespace vt {

std::u16string ByteReader::wide(size_t units) {
  auto s = take(units * 2);
  std::u16string out(units, u'\0');
  for (size_t i = 0; i < units; ++i)
    out[i] = static_cast<char16_t>(s[2 * i] | (static_cast<unsigned>(s[2 * i + 1]) << 8));
  return out;
}

void ByteWriter::paddedWide(const std::string& utf8, size_t units) {
  std::u16string buf(units, u'\0');
  toWide(utf8, buf.data(), static_cast<int>(units));
  bool ended = false;
  for (char16_t& c : buf) {
    if (c == 0) ended = true;
    if (ended) c = u' ';
  }
  for (char16_t c : buf) {
    u8(static_cast<uint8_t>(c & 0xFF));
    u8(static_cast<uint8_t>(c >> 8));
  }
}

std::string plainWide(const std::u16string& units) { return fromWide(units.data(), static_cast<int>(units.size())); }

std::string trimmedWide(const std::u16string& units, size_t maxUnits) {
  size_t end = 0;
  while (end < units.size() && units[end] != 0) ++end;
  size_t b = 0;
  while (b < end && units[b] <= 0x20) ++b;
  while (end > b && units[end - 1] <= 0x20) --end;
  if (end - b > maxUnits) end = b + maxUnits;
  std::u16string t = units.substr(b, end - b);
  // A cut between the halves of a pair leaves a lone surrogate; fromWide shows it as U+FFFD.
  return fromWide(t.data(), static_cast<int>(t.size()));
}

std::string trimmedWide(const std::u16string& units) { return trimmedWide(units, units.size()); }

namespace {
// Windows-1252 code points of the bytes 0x80..0x9F (unassigned bytes map to themselves).
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t cp1252(uint8_t b) { return b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : static_cast<char16_t>(b); }
}  // namespace

std::string fromAnsi(const uint8_t* bytes, size_t n) {
  std::u16string u;
  for (size_t i = 0; i < n && bytes[i] != 0; ++i) u += cp1252(bytes[i]);
  return fromWide(u.data(), static_cast<int>(u.size()));
}

std::string trimmedAnsi(const uint8_t* bytes, size_t n) {
  size_t end = 0;
  while (end < n && bytes[end] != 0) ++end;
  size_t b = 0;
  while (b < end && bytes[b] <= 0x20) ++b;
  while (end > b && bytes[end - 1] <= 0x20) --end;
  return fromAnsi(bytes + b, end - b);
}

std::string oldShortString(const uint8_t* bytes, size_t maxChars) {
  size_t len = bytes[0] > maxChars ? maxChars : bytes[0];
  std::u16string u;
  for (size_t i = 0; i < len; ++i) u += cp1252(bytes[1 + i]);
  return fromWide(u.data(), static_cast<int>(u.size()));
}

std::string trimText(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 0x20) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 0x20) --e;
  return s.substr(b, e - b);
}

}  // namespace vt
