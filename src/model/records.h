// Element records. Their bytes are the file layout of project and clipboard files, so every
// field offset, width and padding byte is fixed; the static_asserts below guard it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vt {

// Marks an input left blank or a value that cannot be formed.
inline constexpr float kBlank = -19999.0f;
inline constexpr int16_t kBlankSmall = -19999;
// Marks an element grade that the solution did not compute.
inline constexpr float kNoGrade = -9999.0f;

inline constexpr int kIdLen = 15;
inline constexpr int kDescLen = 40;

// A length byte followed by up to N one-byte characters.
template <int N>
struct ShortString {
  uint8_t len;
  char text[N];
};

struct Pipe {
  char16_t ID[kIdLen];
  uint8_t Flags;
  uint8_t pad31;
  float Length;
  ShortString<38> Schedule;
  uint8_t pad75;
  float StartElev;
  float EndElev;
  float NomIndex;
  float InsideDia;
  uint8_t pad92[4];
  double Friction;
  float Flow;
  float HeadLoss;
  char16_t Description[kDescLen];
};

struct Valfit {
  char16_t ID[kIdLen];
  uint8_t Flags;
  uint8_t pad31;
  int16_t Code;
  uint8_t pad34[2];
  float Elev;
  float Coef;
  uint8_t CoefMode;
  uint8_t pad45[3];
  float Dia;
  float EqLength;
  int16_t Dir;
  uint8_t pad58[2];
  float Parm;
  float Flow;
  float HeadLoss;
  char16_t Description[kDescLen];
};

struct Pump {
  char16_t ID[kIdLen];
  int16_t Reserved;
  float Elev;
  uint8_t Flags;
  uint8_t pad37[3];
  float FlowIncr;
  float ShutoffHead;
  float Head1;
  float Head2;
  float Head3;
  float CurveCoef[4];
  int16_t Speed;
  int16_t Speed2;
  int16_t Speed3;
  int16_t Dir;
  float NPSHR1;
  float NPSHR2;
  float NPSHR3;
  float NPSHR;
  float NpshBase;
  float NpshCoef;
  float NpshExp;
  float DesignFlow;
  uint8_t CurveDefined;
  uint8_t pad117[3];
  float Flow;
  float Head;
  float NPSHA;
  char16_t Description[kDescLen];
};

struct Node {
  char16_t ID[kIdLen];
  uint8_t Flags;
  uint8_t pad31;
  char16_t LineMembership[10];
  float Flow;
  float Pressure;
  float Elev;
  float InletElev;
  int16_t SupplyType;
  int16_t InletExitType;
  float InletK;
  float InletHeadLoss;
  float InletDia;
  char16_t Description[kDescLen];
};

struct FVH {
  char16_t ID[kIdLen];
  uint8_t Flags;
  uint8_t pad31;
  float FlowIncr;
  float Elev;
  float HeadLoss1;
  float HeadLoss2;
  float CoefA;
  float CoefB;
  int16_t Dir;
  uint8_t pad58[2];
  float Flow;
  float HeadLoss;
  char16_t Description[kDescLen];
};

static_assert(sizeof(Pipe) == 192);
static_assert(offsetof(Pipe, Flags) == 30 && offsetof(Pipe, Length) == 32 && offsetof(Pipe, Schedule) == 36);
static_assert(offsetof(Pipe, StartElev) == 76 && offsetof(Pipe, EndElev) == 80 && offsetof(Pipe, NomIndex) == 84);
static_assert(offsetof(Pipe, InsideDia) == 88 && offsetof(Pipe, Friction) == 96 && offsetof(Pipe, Flow) == 104);
static_assert(offsetof(Pipe, HeadLoss) == 108 && offsetof(Pipe, Description) == 112);

static_assert(sizeof(Valfit) == 152);
static_assert(offsetof(Valfit, Flags) == 30 && offsetof(Valfit, Code) == 32 && offsetof(Valfit, Elev) == 36);
static_assert(offsetof(Valfit, Coef) == 40 && offsetof(Valfit, CoefMode) == 44 && offsetof(Valfit, Dia) == 48);
static_assert(offsetof(Valfit, EqLength) == 52 && offsetof(Valfit, Dir) == 56 && offsetof(Valfit, Parm) == 60);
static_assert(offsetof(Valfit, Flow) == 64 && offsetof(Valfit, HeadLoss) == 68 && offsetof(Valfit, Description) == 72);

static_assert(sizeof(Pump) == 212);
static_assert(offsetof(Pump, Reserved) == 30 && offsetof(Pump, Elev) == 32 && offsetof(Pump, Flags) == 36);
static_assert(offsetof(Pump, FlowIncr) == 40 && offsetof(Pump, ShutoffHead) == 44 && offsetof(Pump, Head1) == 48);
static_assert(offsetof(Pump, Head2) == 52 && offsetof(Pump, Head3) == 56 && offsetof(Pump, CurveCoef) == 60);
static_assert(offsetof(Pump, Speed) == 76 && offsetof(Pump, Speed2) == 78 && offsetof(Pump, Speed3) == 80);
static_assert(offsetof(Pump, Dir) == 82 && offsetof(Pump, NPSHR1) == 84 && offsetof(Pump, NPSHR2) == 88);
static_assert(offsetof(Pump, NPSHR3) == 92 && offsetof(Pump, NPSHR) == 96 && offsetof(Pump, NpshBase) == 100);
static_assert(offsetof(Pump, NpshCoef) == 104 && offsetof(Pump, NpshExp) == 108 && offsetof(Pump, DesignFlow) == 112);
static_assert(offsetof(Pump, CurveDefined) == 116 && offsetof(Pump, Flow) == 120 && offsetof(Pump, Head) == 124);
static_assert(offsetof(Pump, NPSHA) == 128 && offsetof(Pump, Description) == 132);

static_assert(sizeof(Node) == 164);
static_assert(offsetof(Node, Flags) == 30 && offsetof(Node, LineMembership) == 32 && offsetof(Node, Flow) == 52);
static_assert(offsetof(Node, Pressure) == 56 && offsetof(Node, Elev) == 60 && offsetof(Node, InletElev) == 64);
static_assert(offsetof(Node, SupplyType) == 68 && offsetof(Node, InletExitType) == 70 && offsetof(Node, InletK) == 72);
static_assert(offsetof(Node, InletHeadLoss) == 76 && offsetof(Node, InletDia) == 80);
static_assert(offsetof(Node, Description) == 84);

static_assert(sizeof(FVH) == 148);
static_assert(offsetof(FVH, Flags) == 30 && offsetof(FVH, FlowIncr) == 32 && offsetof(FVH, Elev) == 36);
static_assert(offsetof(FVH, HeadLoss1) == 40 && offsetof(FVH, HeadLoss2) == 44 && offsetof(FVH, CoefA) == 48);
static_assert(offsetof(FVH, CoefB) == 52 && offsetof(FVH, Dir) == 56 && offsetof(FVH, Flow) == 60);
static_assert(offsetof(FVH, HeadLoss) == 64 && offsetof(FVH, Description) == 68);

// Text helpers: records hold UTF-16 arrays and one-byte short strings; the rest of the code
// speaks UTF-8 std::string.
std::string fromWide(const char16_t* chars, int maxLen);
void toWide(const std::string& utf8, char16_t* chars, int maxLen);  // zero-fills the rest
template <int N>
std::string fromShort(const ShortString<N>& s) {
  int n = s.len > N ? N : s.len;
  return std::string(s.text, static_cast<size_t>(n));
}
template <int N>
void toShort(const std::string& text, ShortString<N>& s) {
  size_t n = text.size() > static_cast<size_t>(N) ? static_cast<size_t>(N) : text.size();
  s.len = static_cast<uint8_t>(n);
  for (size_t i = 0; i < static_cast<size_t>(N); ++i) s.text[i] = i < n ? text[i] : '\0';
}

// Fresh records: all bytes zero, the blank markers and defaults that a new element starts with.
Pipe newPipe();
Valfit newValfit();
Pump newPump();
Node newNode();
FVH newFvh();

// Input-value copies (clipboard, copy element): everything the editors set; a pipe's results are
// zeroed and a node's line membership is cleared, other records are copied whole.
Pipe copyInputs(const Pipe& src);
Valfit copyInputs(const Valfit& src);
Pump copyInputs(const Pump& src);
Node copyInputs(const Node& src);
FVH copyInputs(const FVH& src);

}  // namespace vt
