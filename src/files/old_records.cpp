#include "files/old_records.h"

#include <cstring>

#include "files/byte_io.h"
#include "model/project.h"

namespace vt {

namespace {

template <class T>
T at(const uint8_t* b, size_t off) {
  T v;
  std::memcpy(&v, b + off, sizeof v);
  return v;
}
float f32(const uint8_t* b, size_t off) { return at<float>(b, off); }
int16_t i16(const uint8_t* b, size_t off) { return at<int16_t>(b, off); }

template <class R>
R zeroed() {
  R r;
  std::memset(&r, 0, sizeof r);
  return r;
}

void oldId(const uint8_t* b, OldLayout layout, char16_t* id) {
  if (layout == OldLayout::V20) toWide(oldShortString(b, kIdLen), id, kIdLen);
}

void oldDescription(const uint8_t* b, size_t off, char16_t* desc) { toWide(oldShortString(b + off, 40), desc, kDescLen); }

// Schedules are keys of the schedule table: their bytes are kept as they stand.
void oldSchedule(const uint8_t* b, size_t off, ShortString<38>& s) {
  size_t len = b[off] > 7 ? 7 : b[off];
  s.len = static_cast<uint8_t>(len);
  std::memset(s.text, 0, sizeof s.text);
  std::memcpy(s.text, b + off + 1, len);
}

}  // namespace

size_t oldRecordSize(OldLayout layout, int type) {
  bool v10 = layout == OldLayout::V10;
  switch (type) {
    case kPipe: return v10 ? 92 : 112;
    case kFitting:
    case kValve: return v10 ? 84 : 100;
    case kPump: return v10 ? 148 : 164;
    case kGauge:
    case kSupply: return v10 ? 88 : 104;
    case kFVH: return v10 ? 84 : 100;
    default: return 0;
  }
}

Pipe convertOldPipe(const uint8_t* b, OldLayout layout) {
  auto p = zeroed<Pipe>();
  oldId(b, layout, p.ID);
  // Version 2.0 places every field 16 bytes further on than version 1.0, behind its ID.
  size_t o = layout == OldLayout::V10 ? 0 : 16;
  p.Length = f32(b, 4 + o);
  oldSchedule(b, 8 + o, p.Schedule);
  p.StartElev = f32(b, 16 + o);
  p.EndElev = f32(b, 20 + o);
  p.NomIndex = f32(b, 24 + o);
  p.InsideDia = f32(b, 28 + o);
  p.Friction = at<double>(b, 32 + o);
  p.Flow = f32(b, 40 + o);
  p.HeadLoss = f32(b, 44 + o);
  oldDescription(b, 48 + o, p.Description);
  return p;
}

Valfit convertOldValfit(const uint8_t* b, OldLayout layout) {
  auto v = zeroed<Valfit>();
  oldId(b, layout, v.ID);
  size_t o = layout == OldLayout::V10 ? 0 : 16;
  v.Code = i16(b, 2 + o);
  v.Elev = f32(b, 4 + o);
  v.Coef = f32(b, 8 + o);
  v.CoefMode = b[12 + o];
  v.Dia = f32(b, 16 + o);
  v.EqLength = f32(b, 20 + o);
  v.Dir = i16(b, 24 + o);
  v.Parm = f32(b, 28 + o);
  v.Flow = f32(b, 32 + o);
  v.HeadLoss = f32(b, 36 + o);
  oldDescription(b, 40 + o, v.Description);
  return v;
}

Pump convertOldPump(const uint8_t* b, OldLayout layout) {
  auto p = zeroed<Pump>();
  oldId(b, layout, p.ID);
  size_t o = layout == OldLayout::V10 ? 0 : 16;
  p.Reserved = i16(b, 0 + o);
  p.Elev = f32(b, 4 + o);
  float* curve[9] = {&p.FlowIncr, &p.ShutoffHead, &p.Head1, &p.Head2, &p.Head3,
                     &p.CurveCoef[0], &p.CurveCoef[1], &p.CurveCoef[2], &p.CurveCoef[3]};
  for (size_t i = 0; i < 9; ++i) *curve[i] = f32(b, 12 + o + 4 * i);
  p.Speed = i16(b, 48 + o);
  p.Speed2 = i16(b, 50 + o);
  p.Speed3 = i16(b, 52 + o);
  p.Dir = i16(b, 54 + o);
  float* npsh[7] = {&p.NPSHR1, &p.NPSHR2, &p.NPSHR3, &p.NPSHR, &p.NpshBase, &p.NpshCoef, &p.NpshExp};
  for (size_t i = 0; i < 7; ++i) *npsh[i] = f32(b, 56 + o + 4 * i);
  p.DesignFlow = f32(b, 84 + o);
  p.CurveDefined = b[88 + o];
  p.Flow = f32(b, 92 + o);
  p.Head = f32(b, 96 + o);
  p.NPSHA = f32(b, 100 + o);
  oldDescription(b, 104 + o, p.Description);
  return p;
}

Node convertOldNode(const uint8_t* b, OldLayout layout) {
  auto n = zeroed<Node>();
  oldId(b, layout, n.ID);
  size_t o = layout == OldLayout::V10 ? 0 : 16;
  n.Flow = f32(b, 12 + o);
  n.Pressure = f32(b, 16 + o);
  n.Elev = f32(b, 20 + o);
  n.InletElev = f32(b, 24 + o);
  n.SupplyType = i16(b, 28 + o);
  n.InletExitType = i16(b, 30 + o);
  n.InletK = f32(b, 32 + o);
  n.InletHeadLoss = f32(b, 36 + o);
  n.InletDia = f32(b, 40 + o);
  oldDescription(b, 44 + o, n.Description);
  return n;
}

FVH convertOldFvh(const uint8_t* b, OldLayout layout, bool keepHeadLoss) {
  auto f = zeroed<FVH>();
  oldId(b, layout, f.ID);
  size_t o = layout == OldLayout::V10 ? 0 : 16;
  f.FlowIncr = f32(b, 4 + o);
  f.Elev = f32(b, 8 + o);
  f.HeadLoss1 = f32(b, 12 + o);
  f.HeadLoss2 = f32(b, 16 + o);
  f.CoefA = f32(b, 20 + o);
  f.CoefB = f32(b, 24 + o);
  f.Dir = i16(b, 28 + o);
  f.Flow = f32(b, 32 + o);
  f.HeadLoss = keepHeadLoss ? f32(b, 36 + o) : 0.0f;
  oldDescription(b, 40 + o, f.Description);
  return f;
}

}  // namespace vt
