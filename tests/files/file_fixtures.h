// Project and clipboard files of every version, written byte by byte at the offsets of the file
// format tables, without any of the program's own writers or record structs, so that a reader that
// agrees with them is checked against the format and not against itself.
//
// Every fixture's content is listed beside it; the tests compare what the readers make of it with
// these values.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace fx {

using Bytes = std::vector<uint8_t>;

// A growing little-endian buffer.
struct Buf {
  Bytes b;
  template <class T>
  void put(T v) {
    uint8_t raw[sizeof(T)];
    std::memcpy(raw, &v, sizeof v);
    b.insert(b.end(), raw, raw + sizeof v);
  }
  void u8(uint8_t v) { put(v); }
  void i16(int16_t v) { put(v); }
  void i32(int32_t v) { put(v); }
  void f32(float v) { put(v); }
  void f64(double v) { put(v); }
  // ASCII text as UTF-16 code units, padded with `pad` to `units`.
  void wide(const std::string& s, size_t units, char16_t pad = u' ') {
    for (size_t i = 0; i < units; ++i) put<uint16_t>(i < s.size() ? static_cast<unsigned char>(s[i]) : pad);
  }
  // One-byte text padded with blanks to n bytes.
  void ansi(const std::string& s, size_t n) {
    for (size_t i = 0; i < n; ++i) u8(i < s.size() ? static_cast<uint8_t>(s[i]) : ' ');
  }
  void append(const Bytes& more) { b.insert(b.end(), more.begin(), more.end()); }
  size_t size() const { return b.size(); }
};

// A fixed-size record image, set field by field at its offset.
struct Rec {
  Bytes b;
  explicit Rec(size_t n) : b(n, 0) {}
  template <class T>
  Rec& at(size_t off, T v) {
    std::memcpy(b.data() + off, &v, sizeof v);
    return *this;
  }
  Rec& f(size_t off, float v) { return at(off, v); }
  Rec& d(size_t off, double v) { return at(off, v); }
  Rec& s(size_t off, int16_t v) { return at(off, v); }
  Rec& u(size_t off, uint8_t v) { return at(off, v); }
  // ASCII text as UTF-16, 0-padded (the records' ID and description arrays).
  Rec& w(size_t off, const std::string& t) {
    for (size_t i = 0; i < t.size(); ++i) at<uint16_t>(off + 2 * i, static_cast<unsigned char>(t[i]));
    return *this;
  }
  // A one-byte short string: length byte, then the characters.
  Rec& ss(size_t off, const std::string& t) {
    b[off] = static_cast<uint8_t>(t.size());
    std::memcpy(b.data() + off + 1, t.data(), t.size());
    return *this;
  }
};

// ------------------------------------------------------------------ current records

// Pipe, 192 bytes.
inline Rec pipe30(const std::string& id, uint8_t flags, float length, const std::string& schedule, float startElev,
                  float endElev, float nomIndex, float insideDia, double friction, const std::string& desc) {
  Rec r(192);
  r.w(0, id).u(30, flags).f(32, length).ss(36, schedule).f(76, startElev).f(80, endElev).f(84, nomIndex);
  r.f(88, insideDia).d(96, friction).f(104, 0).f(108, 0).w(112, desc);
  return r;
}
// Valfit, 152 bytes.
inline Rec valfit30(const std::string& id, int16_t code, float elev, float coef, uint8_t mode, float dia, int16_t dir,
                    float parm) {
  Rec r(152);
  r.w(0, id).s(32, code).f(36, elev).f(40, coef).u(44, mode).f(48, dia).f(52, 0).s(56, dir).f(60, parm);
  return r;
}
// Pump, 212 bytes: heads 100, 95, 85, 70 ft at 0, 100, 200, 300 gpm; NPSHR 5, 6, 8 ft; stale
// coefficients 1, 2, 3, 4 and NPSHR 3.5 that a reader must replace.
inline Rec pump30(const std::string& id, int16_t reserved) {
  Rec r(212);
  r.w(0, id).s(30, reserved).f(32, 1000).u(36, 0).f(40, 100).f(44, 100).f(48, 95).f(52, 85).f(56, 70);
  r.f(60, 1).f(64, 2).f(68, 3).f(72, 4).s(76, 1750).s(78, -19999).s(80, -19999).s(82, 1);
  r.f(84, 5).f(88, 6).f(92, 8).f(96, 3.5f).f(100, 0).f(104, 0).f(108, 0).f(112, 0).u(116, 1);
  r.f(120, 0).f(124, 0).f(128, 0).w(132, "Main pump");
  return r;
}
// Node, 164 bytes.
inline Rec node30(const std::string& id, const std::string& membership, float flow, float pressure, float elev,
                  float inletElev, int16_t supplyType, int16_t inletExit, float inletK, float inletDia,
                  const std::string& desc) {
  Rec r(164);
  r.w(0, id).w(32, membership).f(52, flow).f(56, pressure).f(60, elev).f(64, inletElev).s(68, supplyType);
  r.s(70, inletExit).f(72, inletK).f(76, 0).f(80, inletDia).w(84, desc);
  return r;
}
// FVH, 148 bytes: losses 2 ft at 100 gpm and 8 ft at 200 gpm; stale coefficients 0.
inline Rec fvh30(const std::string& id) {
  Rec r(148);
  r.w(0, id).f(32, 100).f(36, 995).f(40, 2).f(44, 8).f(48, 0).f(52, 0).s(56, 1).f(60, 0).f(64, 0).w(68, "Strainer");
  return r;
}

// Clipboard entry of the current layout: ID 15, type 40, note 20 units, then the record.
inline void entry30(Buf& out, const std::string& id, const std::string& type, const std::string& note, const Rec& rec) {
  out.wide(id, 15);
  out.wide(type, 40);
  out.wide(note, 20);
  out.append(rec.b);
}

// The clipboard section used by the fixtures: "Spare parts", a pipe "CP1" and a pump "CPU" whose
// note was cut to the 20 characters a file holds.
inline void clipSection30(Buf& out, bool withEntries) {
  out.wide("Spare parts", 40);
  out.i32(withEntries ? 2 : 0);
  if (!withEntries) return;
  entry30(out, "CP1", "Pipe", "(orig ID: CP1)",
          pipe30("CP1", 0, 240, "Sch 80", 0, 0, 8, 1.939f, 140.0, "spare"));
  entry30(out, "CPU", "Pump", "a note longer than t", pump30("CPU", 0));
}

// ------------------------------------------------------------------ version 3.0 project
//
// Main line: 1 S1 (open tank), 2 P1 (tagged pipe), 3 PU (pump), 4 G1 (gauge), 5 V1 (PRV), 6 S2 (free
// discharge with a stale pressure 12); branch 1: 4 G1, 7 P2, 8 FT (fitting), 9 F1 (FVH), 10 S3
// (closed tank). Header strings with blanks around them; Solved byte 1.
inline Bytes project30(bool withClipboardEntries = true) {
  Buf o;
  o.wide("VTLW30", 8);
  const char* info[9] = {"  Pump station 4  ", "Acme Water", "J. Smith", "Hydro Eng", "1 Main St",
                         "Springfield", "555-0100", "555-0101", "js@example.com"};
  for (const char* s : info) o.wide(s, 40);
  o.i16(37);                   // slider, offset 736
  o.wide("Water at 60F", 40);  // 738
  o.f32(60);                   // 818 LiqTemp
  o.f32(1.0f);                 // 822 LiqSG
  o.f64(1.13);                 // 826 LiqKVis
  o.f32(0.256f);               // 834 LiqVP
  o.f32(1.0f);                 // 838 LiqSpecHeat
  o.f32(10);                   // 842 LiqAllowTemp
  o.f32(14.7f);                // 846 AtmPress
  o.i16(1);                    // 850 SysType
  o.f32(0);                    // 852 SysFlowPress
  o.f32(2.5f);                 // 856 reserved
  o.i16(0);                    // 860 RefGauge
  o.i16(1);                    // 862 HeadCalc
  o.u8(0);                     // 864 EqLen
  o.f32(0.01f);                // 865 FlowTol
  o.u8(1);                     // 869 Solved
  // 870: SeqLen, MainEnd, pipes, valfits, pumps, fvhs, elems, nodes, supplies, ActiveBranches, HighElem
  for (int16_t v : {20, 7, 2, 2, 1, 1, 10, 4, 3, 1, 10}) o.i16(v);
  for (int16_t t : {0, 7, 1, 3, 5, 4, 7, 1, 2, 6, 7}) o.i16(t);  // 892
  for (int16_t e : {0, 1, 2, 3, 4, 5, 6, -1, 4, 7, 8, 9, 10, -2, -3, -4, -5, -6, -7, -8, -9}) o.i16(e);
  o.append(node30("S1", "", 0, 0, 1200, 1180, 0, 2, 0.5f, 6, "Source tank").b);
  Rec p1 = pipe30("P1", 1, 1200, "Sch 40", 1180, 1000, 13, 6.065f, 140.0, "Suction line");
  p1.u(75, 0xAB).u(92, 1).u(93, 2).u(94, 3).u(95, 4);  // padding travels with the record
  o.append(p1.b);
  o.append(pump30("PU", 7).b);
  o.append(node30("G1", "1", -25, 0, 1000, 0, 0, 0, 0, 0, "").b);
  o.append(valfit30("V1", -3, 990, 0, 'K', 6, 1, 150).b);
  o.append(node30("S2", "", 0, 12, 900, 900, 3, 8, 0, 6, "Drain").b);
  o.append(pipe30("P2", 0, 600, "None", 1000, 1000, -1, 4.026f, 130.0, "").b);
  o.append(valfit30("FT", 12, 1000, 0.9f, 'C', 4, 1, 0).b);
  o.append(fvh30("F1").b);
  o.append(node30("S3", "", 0, 46.2f, 1100, 1090, 1, 8, 1.0f, 4, "Upper tank").b);
  if (withClipboardEntries) clipSection30(o, true);
  clipSection30(o, false);
  return o.b;
}
// Offsets in project30() of what every reader replaces (refits, the free-discharge pressure).
inline constexpr size_t kProject30Records = 892 + 2 * 11 + 2 * 21;

// ------------------------------------------------------------------ older records (version 2.0)

inline Rec pipe20(const std::string& id, float length, const std::string& schedule, float nomInches, float dia,
                  double friction, const std::string& desc) {
  Rec r(112);
  r.ss(0, id).f(20, length).ss(24, schedule).f(32, 1200).f(36, 1100).f(40, nomInches).f(44, dia).d(48, friction);
  r.f(56, 33).f(60, 1.5f).ss(64, desc);
  return r;
}
inline Rec valfit20(const std::string& id, int16_t code, float coef) {
  Rec r(100);
  r.ss(0, id).s(18, code).f(20, 1050).f(24, coef).u(28, 'K').f(32, 3).f(36, 0).s(40, -1).f(44, 20).f(48, 33);
  r.f(52, 0.4f).ss(56, "check");
  return r;
}
inline Rec pump20(const std::string& id) {
  Rec r(164);
  r.ss(0, id).s(16, 3).f(20, 1000);
  float curve[9] = {100, 100, 95, 85, 70, 1, 2, 3, 4};
  for (size_t i = 0; i < 9; ++i) r.f(28 + 4 * i, curve[i]);
  r.s(64, 1750).s(66, 3500).s(68, -19999).s(70, 1);
  float npsh[7] = {5, 6, 8, 3.5f, 0, 0, 0};
  for (size_t i = 0; i < 7; ++i) r.f(72 + 4 * i, npsh[i]);
  r.f(100, 0).u(104, 1).f(108, 150).f(112, 90).f(116, 20).ss(120, "old pump");
  return r;
}
inline Rec node20(const std::string& id, float flow, float pressure, float elev, int16_t supplyType, int16_t inletExit,
                  float inletK) {
  Rec r(104);
  r.ss(0, id).f(28, flow).f(32, pressure).f(36, elev).f(40, elev - 10).s(44, supplyType).s(46, inletExit);
  r.f(48, inletK).f(52, 0.2f).f(56, 4).ss(60, "node " + id);
  return r;
}
inline Rec fvh20(const std::string& id, float headLoss) {
  Rec r(100);
  r.ss(0, id).f(20, 100).f(24, 995).f(28, 2).f(32, 8).f(36, 0).f(40, 0).s(44, 1).f(48, 150).f(52, headLoss);
  r.ss(56, "old fvh");
  return r;
}

// Common header of versions 1.0 and 2.0 (one-byte strings), up to and including the Solved byte.
inline void oldHeader(Buf& o, const char* version, uint8_t solved) {
  o.ansi("VTLW", 4);
  o.ansi(version, 2);
  o.u8(0);
  o.u8(0);
  const char* info[9] = {"Old station", "Old client", "Engineer", "Firm", "Addr 1", "Addr 2", "Ph", "Fx", "Mail"};
  for (const char* s : info) o.ansi(s, 40);
  o.i16(55);                       // 368 slider
  o.ansi("Caf\xe9 water", 40);     // 370 (Windows-1252 e acute)
  o.f32(68);                       // 410 LiqTemp
  o.f32(0.998f);                   // 414 LiqSG
  o.f64(1.0);                      // 418 LiqKVis
  o.f32(0.34f);                    // 426 LiqVP
  o.f32(1.0f);                     // 430 LiqSpecHeat
  o.f32(5);                        // 434 LiqAllowTemp
  o.f32(14.2f);                    // 438 AtmPress
  o.i16(1);                        // 442 SysType
  o.f32(0);                        // 444 SysFlowPress
  o.f32(0);                        // 448 reserved
  o.i16(0);                        // 452 RefGauge
  o.i16(2);                        // 454 HeadCalc
  o.u8(1);                         // 456 EqLen
  o.f32(0.05f);                    // 457 FlowTol
  o.u8(solved);                    // 461 Solved
}

// ------------------------------------------------------------------ version 2.0 project
//
// Main: 1 S1, 2 P1 (schedule code "S40A", 1.5 in), 6 PU, 3 G1, a removed place 9999, 7 V1 (check
// valve), 4 P2 (7 in: not a nominal size), 5 S2 (free discharge, stale pressure 5); branch 1: 3 G1,
// 8 F1, 5 S2. MainEnd in the file is 9 (before the removed place closes up). Solved byte 1.
inline Bytes project20() {
  Buf o;
  oldHeader(o, "20", 1);
  for (int16_t v : {20, 9, 2, 1, 1, 1, 8, 3, 2, 1, 8}) o.i16(v);  // 462
  for (int16_t t : {0, 7, 1, 5, 1, 7, 3, 4, 6}) o.i16(t);          // 484
  for (int16_t e : {0, 1, 2, 6, 3, 9999, 7, 4, 5, -1, 3, 8, 5, -2, -3, -4, -5, -6, -7, -8, -9}) o.i16(e);
  o.append(node20("S1", 0, 0, 1200, 0, 2, 0.5f).b);
  o.append(pipe20("P1", 1200, "S40A", 1.5f, 1.61f, 140.0, "first pipe").b);
  o.append(node20("G1", -10, 0, 1050, 0, 0, 0).b);
  o.append(pipe20("P2", 800, "None", 7.0f, 7.0f, 120.0, "second pipe").b);
  o.append(node20("S2", 0, 5, 900, 3, 8, 0).b);
  o.append(pump20("PU").b);
  o.append(valfit20("V1", -2, 2.0f).b);
  o.append(fvh20("F1", 7.5f).b);
  return o.b;
}

// ------------------------------------------------------------------ version 1.0 project
//
// Main: 1, 2 (pipe, 2 in, flag 1), 3 (pump, flow 150), 4 (gauge), a removed place, 6 (FVH, flow 150),
// 5 (supply); branch 1: 4, 2, 5 and branch 2: 4, 2, 5 — pipe 2 placed again between two elements
// (twice). Solved byte 1.
inline Bytes project10() {
  Buf o;
  oldHeader(o, "10", 1);
  for (int16_t v : {22, 8, 1, 0, 1, 1, 6, 3, 2, 2, 6}) o.i16(v);
  for (int16_t t : {0, 7, 1, 3, 5, 7, 6}) o.i16(t);
  for (int16_t e : {0, 1, 2, 3, 4, 9999, 6, 5, -1, 4, 2, 5, -2, 4, 2, 5, -3, -4, -5, -6, -7, -8, -9}) o.i16(e);
  // 1: supply, 88 bytes
  Rec s1(88);
  s1.u(0, 1).f(12, 0).f(16, 0).f(20, 1200).f(24, 1190).s(28, 0).s(30, 3).f(32, 0.28f).f(36, 0).f(40, 4);
  s1.ss(44, "intake");
  o.append(s1.b);
  // 2: pipe, 92 bytes
  Rec p(92);
  p.u(0, 1).f(4, 500).ss(8, "40").f(16, 1190).f(20, 1000).f(24, 2.0f).f(28, 2.067f).d(32, 130.0).f(40, 150);
  p.f(44, 3.25f).ss(48, "v1 pipe");
  o.append(p.b);
  // 3: pump, 148 bytes
  Rec pu(148);
  pu.s(0, 9).f(4, 1000).u(8, 1);
  float curve[9] = {100, 100, 95, 85, 70, 0, 0, 0, 0};
  for (size_t i = 0; i < 9; ++i) pu.f(12 + 4 * i, curve[i]);
  pu.s(48, 1750).s(50, -19999).s(52, -19999).s(54, 1);
  float npsh[7] = {5, 6, 8, 0, 0, 0, 0};
  for (size_t i = 0; i < 7; ++i) pu.f(56 + 4 * i, npsh[i]);
  pu.f(84, 0).u(88, 1).f(92, 150).f(96, 1).f(100, 30).ss(104, "v1 pump");
  o.append(pu.b);
  // 4: gauge, 88 bytes
  Rec g(88);
  g.f(12, -5).f(16, 40).f(20, 1000).ss(44, "v1 gauge");
  o.append(g.b);
  // 5: supply (free discharge), 88 bytes
  Rec s2(88);
  s2.f(16, 3).f(20, 950).f(24, 950).s(28, 3).s(30, 8).ss(44, "outfall");
  o.append(s2.b);
  // 6: FVH, 84 bytes
  Rec f(84);
  f.f(4, 100).f(8, 1000).f(12, 2).f(16, 8).f(20, 0).f(24, 0).s(28, 1).f(32, 150).f(36, 0).ss(40, "v1 fvh");
  o.append(f.b);
  return o.b;
}

// ------------------------------------------------------------------ clipboard files

inline Bytes clipboard30() {
  Buf o;
  o.wide("VTCW30", 8);
  clipSection30(o, true);
  return o.b;
}

// "VTCW20" with a pipe (3 in), a free-discharge supply (stale pressure 9), an FVH (stale head loss
// 7.5) and a pump; description with a Windows-1252 character.
inline Bytes clipboard20() {
  Buf o;
  o.ansi("VTCW20", 6);
  o.u8(0);
  o.u8(0);
  o.ansi(" Old clip \x80", 40);
  o.i32(4);
  auto entry = [&](const std::string& id, const std::string& type, const std::string& note, const Rec& r) {
    o.ansi(id, 15);
    o.ansi(type, 40);
    o.ansi(note, 40);
    o.append(r.b);
  };
  entry("OP1", "Pipe", "old note", pipe20("OP1", 300, "None", 3.0f, 3.068f, 140.0, "clip pipe"));
  entry("OS1", "Supply", "", node20("OS1", 0, 9, 800, 3, 8, 0));
  entry("OF1", "FVH", "strainer", fvh20("OF1", 7.5f));
  entry("OPU", "Pump", "", pump20("OPU"));
  return o.b;
}

// A clipboard file with `count` gauge entries (heavy use above 1000).
inline Bytes clipboardGauges30(int count) {
  Buf o;
  o.wide("VTCW30", 8);
  o.wide("many", 40);
  o.i32(count);
  Rec g = node30("G", "", 0, 0, 100, 0, 0, 0, 0, 0, "");
  for (int i = 0; i < count; ++i) entry30(o, "G" + std::to_string(i), "Gauge", "", g);
  return o.b;
}

}  // namespace fx
