#include "model/records.h"

#include <cstring>

namespace vt {

std::string fromWide(const char16_t* chars, int maxLen) {
  std::string out;
  for (int i = 0; i < maxLen && chars[i] != 0; ++i) {
    uint32_t c = chars[i];
    // A lone surrogate cannot be encoded; records hold BMP text, so pair up what we can.
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < maxLen && chars[i + 1] >= 0xDC00 && chars[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (chars[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

void toWide(const std::string& utf8, char16_t* chars, int maxLen) {
  int n = 0;
  size_t i = 0;
  while (i < utf8.size() && n < maxLen) {
    auto b = static_cast<unsigned char>(utf8[i]);
    uint32_t c;
    size_t extra;
    if (b < 0x80) {
      c = b;
      extra = 0;
    } else if ((b & 0xE0) == 0xC0) {
      c = b & 0x1F;
      extra = 1;
    } else if ((b & 0xF0) == 0xE0) {
      c = b & 0x0F;
      extra = 2;
    } else if ((b & 0xF8) == 0xF0) {
      c = b & 0x07;
      extra = 3;
    } else {
      c = 0xFFFD;
      extra = 0;
    }
    if (i + extra >= utf8.size()) {  // truncated sequence at the end
      c = 0xFFFD;
      extra = utf8.size() - i - 1;
    } else {
      for (size_t k = 1; k <= extra; ++k) c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    }
    i += extra + 1;
    if (c >= 0x10000) {
      if (n + 2 > maxLen) break;
      c -= 0x10000;
      chars[n++] = static_cast<char16_t>(0xD800 + (c >> 10));
      chars[n++] = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
      chars[n++] = static_cast<char16_t>(c);
    }
  }
  for (; n < maxLen; ++n) chars[n] = 0;
}

template <class R>
static R zeroed() {
  R r;
  std::memset(&r, 0, sizeof r);
  return r;
}

Pipe newPipe() {
  auto p = zeroed<Pipe>();
  toShort("None", p.Schedule);
  p.NomIndex = -1;
  return p;
}

Valfit newValfit() {
  auto v = zeroed<Valfit>();
  v.CoefMode = 'K';
  v.Dir = 1;
  return v;
}

Pump newPump() {
  auto p = zeroed<Pump>();
  p.FlowIncr = kBlank;
  p.CurveCoef[0] = kBlank;
  p.Speed = p.Speed2 = p.Speed3 = kBlankSmall;
  p.Dir = 1;
  p.NPSHR1 = p.NPSHR2 = p.NPSHR3 = kBlank;
  p.NPSHR = p.NpshBase = kBlank;
  return p;
}

Node newNode() { return zeroed<Node>(); }

FVH newFvh() {
  auto f = zeroed<FVH>();
  f.CoefA = kBlank;
  f.Dir = 1;
  return f;
}

Pipe copyInputs(const Pipe& src) {
  Pipe p = src;
  p.Flow = 0;
  p.HeadLoss = 0;
  return p;
}
Valfit copyInputs(const Valfit& src) { return src; }
Pump copyInputs(const Pump& src) { return src; }
Node copyInputs(const Node& src) {
  Node n = src;
  std::memset(n.LineMembership, 0, sizeof n.LineMembership);
  return n;
}
FVH copyInputs(const FVH& src) { return src; }

}  // namespace vt
