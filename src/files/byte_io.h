// Little-endian byte readers and writers for the project and clipboard files, and the text forms
// those files use (blank-padded UTF-16 fields, one-byte Windows-1252 text of the older versions).
//
// The reader works over bytes already in memory and checks every access against what is left, so a
// count or length read from a damaged file can never make it read past the end.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

namespace vt {

// A file whose bytes do not hold what their counts and codes promise.
class FileFormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  size_t position() const { return pos_; }
  size_t remaining() const { return bytes_.size() - pos_; }
  bool atEnd() const { return pos_ >= bytes_.size(); }

  std::span<const uint8_t> take(size_t n) {
    if (n > remaining()) throw FileFormatError("unexpected end of file");
    auto s = bytes_.subspan(pos_, n);
    pos_ += n;
    return s;
  }
  void skip(size_t n) { take(n); }

  template <class T>
  T read() {
    static_assert(std::is_trivially_copyable_v<T>);
    T v;
    std::memcpy(&v, take(sizeof(T)).data(), sizeof(T));
    return v;
  }
  int16_t i16() { return read<int16_t>(); }
  int32_t i32() { return read<int32_t>(); }
  uint8_t u8() { return read<uint8_t>(); }
  float f32() { return read<float>(); }
  double f64() { return read<double>(); }

  // Copies the next sizeof(R) bytes over a record, padding included.
  template <class R>
  void record(R& r) {
    static_assert(std::is_trivially_copyable_v<R>);
    std::memcpy(&r, take(sizeof(R)).data(), sizeof(R));
  }

  // `units` UTF-16 code units.
  std::u16string wide(size_t units);

 private:
  std::span<const uint8_t> bytes_;
  size_t pos_ = 0;
};

class ByteWriter {
 public:
  std::vector<uint8_t>& bytes() { return out_; }
  const std::vector<uint8_t>& bytes() const { return out_; }

  void raw(const void* p, size_t n) {
    auto* b = static_cast<const uint8_t*>(p);
    out_.insert(out_.end(), b, b + n);
  }
  template <class T>
  void put(T v) {
    static_assert(std::is_trivially_copyable_v<T>);
    raw(&v, sizeof v);
  }
  void i16(int16_t v) { put(v); }
  void i32(int32_t v) { put(v); }
  void u8(uint8_t v) { put(v); }
  void f32(float v) { put(v); }
  void f64(double v) { put(v); }
  template <class R>
  void record(const R& r) {
    raw(&r, sizeof r);
  }
  // The text in `units` UTF-16 code units, cut to that many and padded with blanks.
  void paddedWide(const std::string& utf8, size_t units);

 private:
  std::vector<uint8_t> out_;
};

// This machine's byte order must be the files' for the record copies to be the file layout.
static_assert(std::endian::native == std::endian::little, "record bytes are little-endian");

// UTF-16 text to UTF-8, without the characters <= U+0020 at either end (and what follows a 0 unit).
std::string trimmedWide(const std::u16string& units);
// The same, keeping at most `maxUnits` code units after trimming.
std::string trimmedWide(const std::u16string& units, size_t maxUnits);
// UTF-16 text to UTF-8 as it stands (up to a 0 unit), blanks kept.
std::string plainWide(const std::u16string& units);

// One-byte Windows-1252 text to UTF-8 (stops at a 0 byte).
std::string fromAnsi(const uint8_t* bytes, size_t n);
// ... without the characters <= 0x20 at either end.
std::string trimmedAnsi(const uint8_t* bytes, size_t n);
// An old short string: a length byte and `maxChars` one-byte places (length above max is cut).
std::string oldShortString(const uint8_t* bytes, size_t maxChars);

// Removes the characters <= U+0020 at both ends of UTF-8 text.
std::string trimText(const std::string& s);

}  // namespace vt
