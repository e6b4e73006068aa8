#include "model/project.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace vt {

namespace {
const char* const kTypeNames[] = {"", "Pipe", "Fitting", "Pump", "Valve", "Gauge", "FVH ", "Supply"};
const char* const kTypeAbbrevs[] = {"", "Pip", "Fit", "Pum", "Val", "Gau", "FVH", "Sup"};
}  // namespace

std::string typeName(int type) { return type >= 1 && type <= 7 ? kTypeNames[type] : ""; }
std::string typeAbbrev(int type) { return type >= 1 && type <= 7 ? kTypeAbbrevs[type] : ""; }

int TypeOfAbbrev(const std::string& text) {
  std::string head = text.substr(0, 3);
  for (int t = 1; t <= 7; ++t)
    if (head == kTypeAbbrevs[t]) return t;
  return 0;
}

bool IsNumber(const std::string& text) {
  size_t b = 0, e = text.size();
  while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
  while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
  if (text.empty()) return true;
  if (b == e) return false;
  if (text[b] == '+') ++b;
  double v = 0;
  auto [ptr, ec] = std::from_chars(text.data() + b, text.data() + e, v);
  return ec == std::errc() && ptr == text.data() + e && std::isfinite(v);
}

uint8_t SetBit(uint8_t value, int bit, bool on, bool toggle, Prompter* prompter) {
  if (bit < 1 || bit > 8) {
    if (prompter) prompter->message(MsgKind::Error, "Error on bit number (SetBit)!");
    return value;
  }
  auto mask = static_cast<uint8_t>(1u << (bit - 1));
  if (toggle) return static_cast<uint8_t>(value ^ mask);
  return on ? static_cast<uint8_t>(value | mask) : static_cast<uint8_t>(value & ~mask);
}

std::string membershipLabel(const std::string& membership) {
  if (membership.empty()) return "";
  if (membership.find('0') == std::string::npos) return "B" + membership;
  std::string label = "M";
  if (membership.size() > 1) {
    std::string rest;
    for (char c : membership)
      if (c != '0') rest += c;
    label += "B" + rest;
  }
  return label;
}

double defaultFriction(int headCalc) {
  switch (headCalc) {
    case 1: return 140.0;
    case 2: return 0.0015;
    case 3: return 0.012;
    default: return 0.0;
  }
}

Project::Project() : ownPrompter_(std::make_unique<ScriptedPrompter>()), prompter_(ownPrompter_.get()) {
  for (int k = 1; k <= 9; ++k) ElemSeq[k] = static_cast<int16_t>(-k);
  SeqLen = 9;
  MainEnd = 1;
  ElemHGL.fill(kNoGrade);
  ComputeLines();
}

Project::~Project() = default;

void Project::setPrompter(Prompter* p) { prompter_ = p ? p : ownPrompter_.get(); }

// ---------------------------------------------------------------- lookups

std::string Project::ElemTypeName(int n) const {
  if (n < 1 || n > kMaxElem) return "";
  return typeName(ElemType[n]);
}

std::string Project::ElemID(int n) const {
  if (n < 1 || n > kMaxElem) return "";
  switch (ElemType[n]) {
    case kPipe: return pipe[n] ? fromWide(pipe[n]->ID, kIdLen) : "";
    case kFitting:
    case kValve: return valfit[n] ? fromWide(valfit[n]->ID, kIdLen) : "";
    case kPump: return pump[n] ? fromWide(pump[n]->ID, kIdLen) : "";
    case kGauge:
    case kSupply: return node[n] ? fromWide(node[n]->ID, kIdLen) : "";
    case kFVH: return fvh[n] ? fromWide(fvh[n]->ID, kIdLen) : "";
    default: return "";
  }
}

void Project::setElemID(int n, const std::string& id) {
  if (n < 1 || n > kMaxElem) return;
  switch (ElemType[n]) {
    case kPipe: if (pipe[n]) toWide(id, pipe[n]->ID, kIdLen); break;
    case kFitting:
    case kValve: if (valfit[n]) toWide(id, valfit[n]->ID, kIdLen); break;
    case kPump: if (pump[n]) toWide(id, pump[n]->ID, kIdLen); break;
    case kGauge:
    case kSupply: if (node[n]) toWide(id, node[n]->ID, kIdLen); break;
    case kFVH: if (fvh[n]) toWide(id, fvh[n]->ID, kIdLen); break;
    default: break;
  }
}

float Project::ElemFlow(int n) const {
  if (n < 1 || n > kMaxElem) return 0;
  switch (ElemType[n]) {
    case kPipe: return pipe[n] ? pipe[n]->Flow : 0;
    case kFitting:
    case kValve: return valfit[n] ? valfit[n]->Flow : 0;
    case kPump: return pump[n] ? pump[n]->Flow : 0;
    case kGauge:
    case kSupply: return node[n] ? node[n]->Flow : 0;
    case kFVH: return fvh[n] ? fvh[n]->Flow : 0;
    default: return 0;
  }
}

int Project::LineOf(int n) const {
  if (n < 1 || n > kMaxElem) return 0;
  int line = 0;
  for (int k = 1; k <= 9; ++k)
    if (LineStart[k] < elemspot[n]) ++line;
  return line;
}

uint8_t* Project::flagByte(int n) {
  if (n < 1 || n > kMaxElem) return nullptr;
  switch (ElemType[n]) {
    case kPipe: return pipe[n] ? &pipe[n]->Flags : nullptr;
    case kFitting:
    case kValve: return valfit[n] ? &valfit[n]->Flags : nullptr;
    case kPump: return pump[n] ? &pump[n]->Flags : nullptr;
    case kGauge:
    case kSupply: return node[n] ? &node[n]->Flags : nullptr;
    case kFVH: return fvh[n] ? &fvh[n]->Flags : nullptr;
    default: return nullptr;
  }
}

// ---------------------------------------------------------------- tag bits

bool Project::SetElBitNo(int n, int bit, bool on, bool toggle) {
  if (n < 1 || n > kMaxElem || elemspot[n] == 0) return false;
  uint8_t* flags = flagByte(n);
  if (!flags) {
    prompter().message(MsgKind::Error, "Error on type (SetElBitNo)!");
    return false;
  }
  *flags = SetBit(*flags, bit, on, toggle, &prompter());
  return true;
}

bool Project::isBitOn(int n, int bit) {
  uint8_t* flags = flagByte(n);
  if (!flags) {
    prompter().message(MsgKind::Error, "Error on type isBitOn!");
    return false;
  }
  if (bit < 1 || bit > 8) return false;
  return (*flags & (1u << (bit - 1))) != 0;
}

// ---------------------------------------------------------------- allocation

int Project::FirstFreeElem() const {
  for (int n = 1; n <= kMaxElem; ++n)
    if (elemspot[n] == 0) return n;
  return 0;
}

void Project::createElement(int n, int type) {
  if (n < 1 || n > kMaxElem) return;
  releaseElement(n);
  ElemType[n] = static_cast<int16_t>(type);
  switch (type) {
    case kPipe: pipe[n] = std::make_unique<Pipe>(newPipe()); break;
    case kFitting:
    case kValve: valfit[n] = std::make_unique<Valfit>(newValfit()); break;
    case kPump: pump[n] = std::make_unique<Pump>(newPump()); break;
    case kGauge:
    case kSupply: node[n] = std::make_unique<Node>(newNode()); break;
    case kFVH: fvh[n] = std::make_unique<FVH>(newFvh()); break;
    default: ElemType[n] = 0; break;
  }
}

void Project::releaseElement(int n) {
  pipe[n].reset();
  valfit[n].reset();
  pump[n].reset();
  node[n].reset();
  fvh[n].reset();
  ImageVisible[n] = false;
}

std::vector<int> Project::positionsOf(int n) const {
  std::vector<int> out;
  for (int p = 1; p <= SeqLen; ++p)
    if (ElemSeq[p] == n) out.push_back(p);
  return out;
}

static void countKind(Project& pr, int type, int delta) {
  switch (type) {
    case kPipe: pr.tot_pipes += delta; break;
    case kFitting:
    case kValve: pr.tot_valfits += delta; break;
    case kPump: pr.tot_pumps += delta; break;
    case kFVH: pr.tot_fvhs += delta; break;
    case kGauge: pr.tot_nodes += delta; break;
    case kSupply:
      pr.tot_nodes += delta;
      pr.tot_supplies += delta;
      break;
    default: break;
  }
}

bool Project::insertInSeq(int n, int pos) {
  if (n < 1 || n > kMaxElem || ElemType[n] == 0 || SeqLen >= kMaxSeq) return false;
  if (pos < 1) pos = 1;
  if (pos > SeqLen + 1) pos = SeqLen + 1;
  bool wasPlaced = !positionsOf(n).empty();
  for (int p = SeqLen; p >= pos; --p) ElemSeq[p + 1] = ElemSeq[p];
  ElemSeq[pos] = static_cast<int16_t>(n);
  ++SeqLen;
  if (!wasPlaced) {
    ++tot_elems;
    countKind(*this, ElemType[n], 1);
    IDList.add(ElemID(n), n);
  }
  elemspot[n] = static_cast<int16_t>(pos);
  ComputeHighElem();
  ComputeMainEnd();
  bool solved = proj.Solved;
  proj.Solved = false;  // line lengths must follow the sequence now
  ComputeLines();
  proj.Solved = solved;
  RefreshSpots();
  return true;
}

void Project::RemoveFromLine(int n) {
  if (n < 1 || n > kMaxElem) return;
  // Find the occurrence in the current line first: removing nothing must change nothing.
  int at = 0, markers = 0;
  for (int p = 1; p <= SeqLen; ++p) {
    if (ElemSeq[p] < 0) {
      ++markers;
      continue;
    }
    if (ElemSeq[p] == n && markers == CurLine) {
      at = p;
      break;
    }
  }
  if (at == 0) return;
  int type = ElemType[n];
  bool shared = (type == kGauge || type == kSupply) && positionsOf(n).size() >= 2;

  --LineLen[CurLine];
  if (!shared) --tot_elems;
  --SeqLen;
  if (!shared) {
    if ((type == kGauge || type == kSupply) && sys.RefGauge == n) sys.RefGauge = 0;
    countKind(*this, type, -1);
    IDList.remove(ElemID(n));
    releaseElement(n);
  }
  for (int p = at; p <= SeqLen; ++p) {
    ElemSeq[p] = ElemSeq[p + 1];
    if (ElemSeq[p] == n) elemspot[n] = static_cast<int16_t>(p);
  }
  ElemSeq[SeqLen + 1] = 0;
  if (!shared) {
    elemspot[n] = 0;
    ElemType[n] = 0;
  }
  ComputeHighElem();
  ComputeMainEnd();
  ComputeLines();
  RefreshSpots();
}

void Project::ClearProject() {
  IDList.clear();
  PrefixList.clear();
  SelectedElem = 0;
  sys.SysFlowPress = 0;
  sys.SysType = 1;
  for (int n = 1; n <= kMaxElem; ++n) {
    releaseElement(n);
    ElemType[n] = 0;
    elemspot[n] = 0;
    PrevElem[n] = NextElem[n] = 0;
  }
  ElemSeq.fill(0);
  HighElem = 0;
  MainEnd = 1;
  tot_nodes = tot_elems = ActiveBranches = tot_pipes = tot_valfits = tot_pumps = tot_fvhs = tot_supplies = 0;
  CurLine = 0;
  for (int k = 1; k <= 9; ++k) ElemSeq[k] = static_cast<int16_t>(-k);
  SeqLen = 9;
  SetSolved(false);
  SetModified(false);
  if (onCleared) onCleared();
  ComputeLines();
}

// ---------------------------------------------------------------- recomputation

void Project::ComputeHighElem() {
  HighElem = 0;
  for (int p = 1; p <= SeqLen; ++p)
    if (ElemSeq[p] > HighElem) HighElem = ElemSeq[p];
}

void Project::ComputeMainEnd() {
  MainEnd = 1;
  for (int p = 1; p <= SeqLen; ++p)
    if (ElemSeq[p] == -1) {
      MainEnd = static_cast<int16_t>(p);
      return;
    }
}

void Project::ComputeLines() {
  LineStart[0] = 0;
  int k = 0;
  for (int p = 1; p <= SeqLen; ++p) {
    if (ElemSeq[p] < 0 && k < kLines - 1) {
      LineEnd[k] = static_cast<int16_t>(p - 1);
      ++k;
      LineStart[k] = static_cast<int16_t>(p);
    }
  }
  LineEnd[k] = SeqLen;
  for (int j = k + 1; j < kLines; ++j) LineStart[j] = LineEnd[j] = SeqLen;

  ActiveBranches = 0;
  int line = 0, run = 0;
  auto closeRun = [&] {
    if (!proj.Solved) LineLen[line] = static_cast<int16_t>(run);
    if (line >= 1 && run > 2) ++ActiveBranches;
  };
  for (int p = 1; p <= SeqLen; ++p) {
    if (ElemSeq[p] < 0) {
      closeRun();
      ++line;
      run = 0;
      if (line >= kLines) line = kLines - 1;
    } else {
      ++run;
    }
  }
  closeRun();
}

void Project::RefreshSpots() {
  for (int p = 1; p <= SeqLen; ++p) {
    int n = ElemSeq[p];
    if (n > 0) {
      elemspot[n] = static_cast<int16_t>(p);
      ImageVisible[n] = false;
    }
  }
  for (int p = LineStart[CurLine] + 1; p <= LineEnd[CurLine]; ++p) {
    int n = ElemSeq[p];
    if (n > 0) {
      elemspot[n] = static_cast<int16_t>(p);
      ImageVisible[n] = true;
    }
  }
}

void Project::BuildPrevNext() {
  bool closed = sys.SysType == 3;
  for (int i = 1; i <= SeqLen; ++i) {
    int n = ElemSeq[i];
    if (n <= 0) continue;
    PrevElem[n] = ElemSeq[i - 1];
    NextElem[n] = ElemSeq[i + 1];
    if (closed) {
      if (i == MainEnd - 1) NextElem[n] = ElemSeq[1];
      if (i == 1) {
        PrevElem[n] = MainEnd >= 2 ? ElemSeq[MainEnd - 1] : 0;
        NextElem[n] = ElemSeq[2];
      }
    }
  }
}

void Project::idBranches(int line) {
  if (line < 0 || line >= kLines) return;
  for (int p = LineStart[line] + 1; p <= LineEnd[line]; ++p) {
    int n = ElemSeq[p];
    if (n <= 0 || (ElemType[n] != kGauge && ElemType[n] != kSupply) || !node[n]) continue;
    std::memset(node[n]->LineMembership, 0, sizeof node[n]->LineMembership);
    std::string digits;
    for (int k = 0; k < kLines; ++k) {
      if (k == line || LineLen[k] == 0) continue;
      for (int q = LineStart[k] + 1; q <= LineEnd[k]; ++q)
        if (ElemSeq[q] == n) {
          if (digits.size() < 10) digits += static_cast<char>('0' + k);
          break;
        }
    }
    for (size_t i = 0; i < digits.size(); ++i) node[n]->LineMembership[i] = static_cast<char16_t>(digits[i]);
  }
}

void Project::recount() {
  tot_pipes = tot_valfits = tot_pumps = tot_fvhs = tot_nodes = tot_supplies = tot_elems = 0;
  std::array<bool, kMaxElem + 1> seen{};
  for (int p = 1; p <= SeqLen; ++p) {
    int n = ElemSeq[p];
    if (n <= 0 || n > kMaxElem || seen[n]) continue;
    seen[n] = true;
    ++tot_elems;
    countKind(*this, ElemType[n], 1);
  }
}

// ---------------------------------------------------------------- flags

void Project::SetSolved(bool v) { proj.Solved = v; }

void Project::SetModified(bool v) {
  proj.Modified = v;
  if (v) SetSolved(false);
}

void Project::SetAnalyzing(bool v) {
  proj.Analyzing = v;
  if (v && startSolution) startSolution();
}

}  // namespace vt
