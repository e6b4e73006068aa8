// The in-memory project: element store and lines, records, settings, liquid, project information,
// display units and solution results. One object, owned by the application and passed by reference.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/id_list.h"
#include "model/prompter.h"
#include "model/records.h"
#include "units/units_in_use.h"

namespace vt {

inline constexpr int kMaxElem = 999;
inline constexpr int kMaxSeq = 1030;
inline constexpr int kLines = 10;  // line 0 is the main line, 1..9 the branches

enum ElemKind : int16_t {
  kNone = 0,
  kPipe = 1,
  kFitting = 2,
  kPump = 3,
  kValve = 4,
  kGauge = 5,
  kFVH = 6,
  kSupply = 7,
};

struct TProject {
  bool Solved = false;
  bool Modified = false;
  bool Analyzing = false;
  bool SlowSolve = false;
  bool ShowElementIDs = true;
  bool InitQuickStart = false;
  bool QuickStartShown = false;
  bool InitBranchHelp = false;
  bool BranchHelpShown = false;
  bool Expert = false;
  bool DebugHeap = false;
  bool DebugMemory = false;
  // project, client, engineer, firm, address 1, address 2, phone, fax, e-mail
  std::array<std::string, 9> Info;
  // Flags of the solution driver.
  bool DriverFlag1 = false;
  bool DriverFlag2 = false;
  bool DriverFlag3 = false;
};

enum InfoField { kInfoProject, kInfoClient, kInfoEngineer, kInfoFirm, kInfoAddress1, kInfoAddress2,
                 kInfoPhone, kInfoFax, kInfoEmail };

struct SystemSettings {
  int16_t SysType = 1;  // 1 open, 2 forced flow, 3 closed loop
  int16_t HeadCalc = 1;  // 1 Hazen-Williams, 2 Darcy-Weisbach, 3 Chezy-Manning
  bool EqLen = false;
  float FlowTol = 0.001f;        // gpm
  float AtmPress = 14.7f;        // psia
  float SysFlowPress = kBlank;   // forced flow (gpm) or reference pressure head (ft)
  int16_t RefGauge = 0;
  float Reserved = 0.0f;
};

struct TLiquid {
  std::string LiqDesc;  // at most 39 characters in a file
  float LiqTemp = kBlank;
  float LiqSG = kBlank;
  float LiqSpecHeat = kBlank;
  float LiqAllowTemp = kBlank;
  float LiqVP = kBlank;
  double LiqKVis = kBlank;
  std::string TempText;
};

struct LastUsed {
  double DefFriction = 140.0;
  float LastInsideDia = 2.0f;
  int LastNomIndex = 0;
  std::string LastSchedule;  // at most 38 characters
  float LastValfitDia = 0.0f;
};

// DefFriction offered for a new pipe under each head-loss equation; nullopt-like 0 for a bad one.
double defaultFriction(int headCalc);

class Project {
 public:
  Project();
  ~Project();
  Project(const Project&) = delete;
  Project& operator=(const Project&) = delete;

  // ---- tables (indexed by element number 1..999; index 0 unused) ----
  std::array<int16_t, kMaxElem + 1> ElemType{};
  std::array<int16_t, kMaxSeq + 1> ElemSeq{};
  int16_t SeqLen = 9;
  int16_t MainEnd = 1;
  std::array<int16_t, kMaxElem + 1> elemspot{};
  int16_t HighElem = 0;
  int tot_pipes = 0, tot_valfits = 0, tot_pumps = 0, tot_fvhs = 0, tot_nodes = 0, tot_supplies = 0,
      tot_elems = 0;
  std::array<int16_t, kLines> LineStart{};
  std::array<int16_t, kLines> LineEnd{};
  std::array<int16_t, kLines> LineLen{};
  int CurLine = 0;
  int ActiveBranches = 0;
  std::array<int16_t, kMaxElem + 1> PrevElem{};
  std::array<int16_t, kMaxElem + 1> NextElem{};
  IdList IDList;                         // sorted, case-insensitive
  std::vector<std::string> PrefixList;   // case-sensitive, unsorted: ID prefixes during paste
  std::array<float, kMaxElem + 1> ElemHGL{};
  // Whether each element's image is shown (only the current line's are).
  std::array<bool, kMaxElem + 1> ImageVisible{};
  int SelectedElem = 0;

  // ---- records: the slot of n is set only in the array of n's kind ----
  std::array<std::unique_ptr<vt::Pipe>, kMaxElem + 1> pipe;
  std::array<std::unique_ptr<vt::Valfit>, kMaxElem + 1> valfit;
  std::array<std::unique_ptr<vt::Pump>, kMaxElem + 1> pump;
  std::array<std::unique_ptr<vt::Node>, kMaxElem + 1> node;
  std::array<std::unique_ptr<vt::FVH>, kMaxElem + 1> fvh;

  TProject proj;
  SystemSettings sys;
  TLiquid liquid;
  LastUsed last;
  UnitsInUse units;

  // Message boxes of store operations go here; never null (a recording prompter by default).
  Prompter& prompter() { return *prompter_; }
  void setPrompter(Prompter* p);

  // Called by SetAnalyzing(true) and by whoever starts a solution; the application sets it.
  std::function<void()> startSolution;
  // Called when a store operation wants the workspace reset and redrawn (ClearProject).
  std::function<void()> onCleared;

  // ---- lookups and names ----
  std::string ElemTypeName(int n) const;
  std::string ElemID(int n) const;
  float ElemFlow(int n) const;
  int LineOf(int n) const;
  bool isPlaced(int n) const { return n >= 1 && n <= kMaxElem && elemspot[n] != 0; }
  uint8_t* flagByte(int n);  // nullptr for an unknown kind
  void setElemID(int n, const std::string& id);  // writes the record's ID (not IDList)

  // ---- tag bits ----
  bool SetElBitNo(int n, int bit, bool on, bool toggle);
  bool isBitOn(int n, int bit);

  // ---- allocation ----
  int FirstFreeElem() const;
  // Creates the record of kind `type` for number n (fresh record) and sets ElemType; does not place it.
  void createElement(int n, int type);
  // Places a new or shared element n at sequence position pos (1..SeqLen+1), shifting the rest right,
  // and updates counts, IDList (for a new element), the line tables and spots. False when full.
  bool insertInSeq(int n, int pos);
  void RemoveFromLine(int n);
  void ClearProject();

  // ---- recomputation ----
  void ComputeHighElem();
  void ComputeLines();
  void RefreshSpots();
  void ComputeMainEnd();
  void BuildPrevNext();  // the rule used when a project file is read
  // Fills LineMembership of every gauge and supply of `line` (idBranches).
  void idBranches(int line);
  // Counts from the records in place (tot_*), used after a file is read.
  void recount();
  // Positions of element n in ElemSeq (several for a shared node).
  std::vector<int> positionsOf(int n) const;
  // The run of positions of a line: LineStart[k]+1 .. LineEnd[k].
  int lineFirstPos(int k) const { return LineStart[k] + 1; }
  int lineLastPos(int k) const { return LineEnd[k]; }

  // ---- TProject setters with effects ----
  void SetSolved(bool v);
  void SetModified(bool v);
  void SetAnalyzing(bool v);
  // Texts a window shows for the flags.
  std::string solvedLabel() const { return proj.Solved ? "Solved " : ""; }
  std::string modifiedLabel() const { return proj.Modified ? "Modified " : ""; }
  std::string solutionCaption() const { return proj.Solved ? "Current solution..." : "Last solution..."; }

 private:
  void releaseElement(int n);
  std::unique_ptr<Prompter> ownPrompter_;
  Prompter* prompter_ = nullptr;
};

// Type names and abbreviations by type code.
std::string typeName(int type);
std::string typeAbbrev(int type);
int TypeOfAbbrev(const std::string& text);
bool IsNumber(const std::string& text);
// SetBit on a flag value; bits outside 1..8 show the error through the prompter.
uint8_t SetBit(uint8_t value, int bit, bool on, bool toggle, Prompter* prompter);
// Drawing label from a LineMembership text: "" / "B13" / "M" / "MB3".
std::string membershipLabel(const std::string& membership);

}  // namespace vt
