#include "workspace/editing.h"

#include <algorithm>
#include <type_traits>
#include <variant>

#include "files/element_clipboard.h"
#include "model/project.h"

namespace vt {

namespace {

std::string trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

// Direction-carrying elements are flipped by Reverse.
void flipDir(Project& pr, int n) {
  switch (pr.ElemType[n]) {
    case kValve:
      if (pr.valfit[n] && valveHasDirection(pr.valfit[n]->Code)) pr.valfit[n]->Dir = static_cast<int16_t>(-pr.valfit[n]->Dir);
      break;
    case kPump:
      if (pr.pump[n]) pr.pump[n]->Dir = static_cast<int16_t>(-pr.pump[n]->Dir);
      break;
    case kFVH:
      if (pr.fvh[n]) pr.fvh[n]->Dir = static_cast<int16_t>(-pr.fvh[n]->Dir);
      break;
    default: break;
  }
}

// The first `count` characters of a UTF-8 text.
std::string firstChars(const std::string& s, size_t count) {
  size_t chars = 0, i = 0;
  while (i < s.size() && chars < count) {
    auto b = static_cast<unsigned char>(s[i]);
    i += b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 1;
    ++chars;
  }
  return s.substr(0, std::min(i, s.size()));
}

}  // namespace

std::string limitMessage(int which) {
  switch (which) {
    case 0: return "Maximum of 999 elements reached - cannot add new elements!";
    case 1: return "Maximum of 1030 sequence entries reached - cannot add new elements!";
    default: return "Maximum of 20 pumps allowed - cannot add another pump!";
  }
}

int Editing::take(int n) {
  if (n == -1 || PendingElem != 0) {
    if (PendingElem != 0) cur_elem = PendingElem;
    PendingElem = 0;
    return cur_elem;
  }
  return n;
}

bool Editing::confirm(const std::string& text, int n) {
  if (hooks.pointAt && n > 0) hooks.pointAt(n);
  return pr_.prompter().message(MsgKind::Confirmation, text, Buttons::YesNo) == Answer::Yes;
}

int Editing::posInCurrentLine(int n) const {
  for (int p = pr_.LineStart[pr_.CurLine] + 1; p <= pr_.LineEnd[pr_.CurLine]; ++p)
    if (pr_.ElemSeq[p] == n) return p;
  return 0;
}

// ---------------------------------------------------------------- new elements

bool Editing::canStartSupplyDrag() {
  int count = 0;
  const bool main = pr_.CurLine == 0;
  for (int p = pr_.LineStart[pr_.CurLine] + 1; p <= pr_.LineEnd[pr_.CurLine]; ++p) {
    int n = pr_.ElemSeq[p];
    if (n <= 0 || pr_.ElemType[n] != kSupply) continue;
    ++count;
    const char* text = nullptr;
    if (main && count == 2) text = "Only 2 Supply elements are allowed at the start and end of Main line!";
    else if (!main && count == 1)
      text = "Only 1 Supply element allowed as the last element in a Branch! Delete or move the existing Supply "
             "to the end of the Branch...";
    else if (main && pr_.sys.SysType == 2 && count == 1)
      text = "Only 1 optional Supply element allowed as the first element in a forced flow line!";
    if (text) {
      pr_.prompter().message(MsgKind::Error, text);
      return false;
    }
  }
  return true;
}

bool Editing::checkLimits(int type) {
  int which = -1;
  if (pr_.FirstFreeElem() == 0) which = 0;
  else if (pr_.SeqLen >= kMaxSeq) which = 1;
  else if (type == kPump && pr_.tot_pumps >= kMaxPumps) which = 2;
  if (which >= 0) {
    pr_.prompter().message(MsgKind::Warning, limitMessage(which));
    return false;
  }
  if (type != kSupply) return true;
  int count = 0;
  const bool main = pr_.CurLine == 0;
  for (int p = pr_.LineStart[pr_.CurLine] + 1; p <= pr_.LineEnd[pr_.CurLine]; ++p) {
    int n = pr_.ElemSeq[p];
    if (n <= 0 || pr_.ElemType[n] != kSupply) continue;
    ++count;
    if (main && count >= 2) {
      pr_.prompter().message(MsgKind::Error,
                             "Only 2 Supply elements are allowed! One at the start and one at the end of Main line!");
      return false;
    }
    if (!main && count >= 1) {
      pr_.prompter().message(MsgKind::Error,
                             "Only 1 Supply element allowed as the last element in a Branch! Delete or move the "
                             "existing Supply to the end of the line...");
      return false;
    }
  }
  return true;
}

bool Editing::InsertNewElem(bool paste, int type, int number) {
  if (PendingElem != 0) cur_elem = PendingElem;
  if (paste && !copyBuffer) return false;
  if (type < 1 || type > 7) {
    pr_.prompter().message(MsgKind::Error, "No type defined, func(InsertNewElem)!");
    return false;
  }
  if (!checkLimits(type)) return false;

  CopyMode = number != 0;
  int n = (number < 1 || pr_.isPlaced(number)) ? pr_.FirstFreeElem() : number;
  NewElemNumber = n;
  if (paste) InsertSide = -1;

  std::string id;
  if (paste) {
    id = copyBuffer->id;
    if (!askFreeId(id)) return false;
  }
  if (!insertElement(id, n, type, paste)) {
    DragType = 0;
    return false;
  }
  pr_.RefreshSpots();
  pr_.SetModified(true);
  pr_.ComputeLines();
  return true;
}

bool Editing::askFreeId(std::string& id) {
  while (!id.empty() && pr_.IDList.contains(id)) {
    KeepDuplicates = true;
    auto reply = pr_.prompter().inputLine("ID \"" + id + "\" cannot be used again...", "Enter new ID (max 15 chars):", id);
    id = reply ? firstChars(trim(*reply), 15) : "";
  }
  return !id.empty();
}

bool Editing::insertElement(const std::string& id, int n, int type, bool paste, const void* clipRecord) {
  int place = n;
  if (CopyMode) {
    pr_.createElement(n, type);
    if (clipRecord) {
      std::visit(
          [&](const auto& r) {
            using R = std::decay_t<decltype(r)>;
            if constexpr (std::is_same_v<R, Pipe>) *pr_.pipe[n] = copyInputs(r);
            else if constexpr (std::is_same_v<R, Valfit>) *pr_.valfit[n] = copyInputs(r);
            else if constexpr (std::is_same_v<R, Pump>) *pr_.pump[n] = copyInputs(r);
            else if constexpr (std::is_same_v<R, Node>) *pr_.node[n] = copyInputs(r);
            else if constexpr (std::is_same_v<R, FVH>) *pr_.fvh[n] = copyInputs(r);
          },
          *static_cast<const ElementRecord*>(clipRecord));
    } else if (paste && copyBuffer) {
      switch (type) {
        case kPipe: *pr_.pipe[n] = copyInputs(copyBuffer->pipe); break;
        case kFitting:
        case kValve: *pr_.valfit[n] = copyInputs(copyBuffer->valfit); break;
        case kPump: *pr_.pump[n] = copyInputs(copyBuffer->pump); break;
        case kGauge:
        case kSupply: *pr_.node[n] = copyInputs(copyBuffer->node); break;
        case kFVH: *pr_.fvh[n] = copyInputs(copyBuffer->fvh); break;
        default: break;
      }
    }
    pr_.setElemID(n, id);
  } else {
    if (!hooks.openEditor) return false;
    if (!hooks.openEditor(n, type, true, place)) return false;
    if (place < 1 || place > kMaxElem) place = n;
    NewElemNumber = place;
    // An editor that created the record but not its kind leaves the kind to us.
    if (pr_.ElemType[place] == 0) pr_.ElemType[place] = static_cast<int16_t>(type);
    CopyMode = true;
  }

  // Where it goes: an empty line takes it as its first entry; otherwise next to cur_elem.
  int pos;
  if (pr_.LineStart[pr_.CurLine] == pr_.LineEnd[pr_.CurLine]) {
    pos = pr_.LineStart[pr_.CurLine] + 1;
  } else {
    int pc = posInCurrentLine(cur_elem);
    if (pc == 0) pos = pr_.LineEnd[pr_.CurLine] + 1;  // no element to stand by: the line's end
    else pos = InsertSide == -1 ? pc : pc + 1;
  }
  if (!pr_.insertInSeq(place, pos)) {
    pr_.prompter().message(MsgKind::Error, "Out of memory - cannot add new elements!");
    if (pr_.positionsOf(place).empty()) {
      pr_.IDList.remove(pr_.ElemID(place));
      pr_.createElement(place, 0);
    }
    return false;
  }
  cur_elem = place;
  return true;
}

bool Editing::dropNewOnBackground(int type) {
  if (pr_.LineStart[pr_.CurLine] != pr_.LineEnd[pr_.CurLine]) return false;
  InsertSide = 1;
  cur_elem = pr_.FirstFreeElem();
  bool ok = InsertNewElem(false, type, 0);
  if (ok) pr_.idBranches(pr_.CurLine);
  return ok;
}

bool Editing::resolvePrefix(const ElementClipboard& clip, const std::vector<size_t>& selected) {
  IDPrefix.clear();
  KeepDuplicates = false;
  if (selected.size() < 2) return true;
  for (int round = 1;; ++round) {
    bool duplicate = false;
    for (size_t i : selected)
      if (pr_.IDList.contains(firstChars(IDPrefix + clip.entries[i].caption, 15))) duplicate = true;
    if (!duplicate) return true;
    if (round >= 2) {
      pr_.prompter().message(MsgKind::Information,
                             "There will be duplicates! You can now handle these individually or stop this action...");
      IDPrefix.clear();
      KeepDuplicates = true;
      return true;
    }
    InputReply reply = pr_.prompter().inputDialog("To avoid duplicates...", "Prefix for IDs (max 5 chars):", "", 5, true);
    if (reply.outcome == InputOutcome::HandleIndividually) {
      KeepDuplicates = true;
      return true;
    }
    IDPrefix = reply.outcome == InputOutcome::Ok ? firstChars(reply.text, 5) : "";
    if (IDPrefix.empty()) return false;
  }
}

bool Editing::dropClipEntries(ElementClipboard& clip, std::vector<size_t> selected, int target, int side, bool copies) {
  std::sort(selected.begin(), selected.end());
  selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
  std::erase_if(selected, [&](size_t i) { return i >= clip.entries.size() || !clip.entries[i].hasData(); });
  if (selected.empty()) return false;
  if (target == 0) {
    if (pr_.LineStart[pr_.CurLine] != pr_.LineEnd[pr_.CurLine]) return false;
    InsertSide = 1;
    cur_elem = 0;
  } else {
    if (posInCurrentLine(target) == 0) return false;
    cur_elem = target;
    InsertSide = side == -1 ? -1 : 1;
  }
  PendingElem = 0;
  DropCopies = copies;
  if (!resolvePrefix(clip, selected)) return false;
  std::vector<size_t> inserted;
  for (size_t i : selected) {
    const ClipEntry& e = clip.entries[i];
    const int type = e.kind();
    if (!checkLimits(type)) break;
    CopyMode = true;
    const int n = pr_.FirstFreeElem();
    NewElemNumber = n;
    std::string id = firstChars(IDPrefix + e.caption, 15);
    if (!askFreeId(id)) break;
    if (!insertElement(id, n, type, false, &e.data)) break;
    pr_.RefreshSpots();
    inserted.push_back(i);
  }
  dropCapture();
  if (inserted.empty()) return false;
  // What was placed stays placed even when a later entry was refused.
  if (!copies)
    for (auto it = inserted.rbegin(); it != inserted.rend(); ++it) clip.entries.erase(clip.entries.begin() + static_cast<long>(*it));
  pr_.SetModified(true);
  pr_.ComputeLines();
  pr_.idBranches(pr_.CurLine);
  return true;
}

bool Editing::dropNewOnElement(int target, int side, int type) {
  cur_elem = target;
  InsertSide = side;
  bool ok = InsertNewElem(false, type, 0);
  dropCapture();
  if (ok) {
    pr_.SetSolved(false);
    pr_.SetModified(true);
    pr_.idBranches(pr_.CurLine);
  }
  return ok;
}

// ---------------------------------------------------------------- moves

void Editing::moveSingle(int s, int t, int side) {
  auto& seq = pr_.ElemSeq;
  const int src = seq[s];
  if (t + side < s) {
    int f = side == 1 ? t + 1 : t;
    for (int p = s; p > f; --p) seq[p] = seq[p - 1];
    seq[f] = static_cast<int16_t>(src);
    for (int p = f; p <= s; ++p) pr_.elemspot[seq[p]] = static_cast<int16_t>(p);
  } else {
    int f = side == 1 ? t : t - 1;
    for (int p = s; p < f; ++p) seq[p] = seq[p + 1];
    seq[f] = static_cast<int16_t>(src);
    for (int p = s; p <= f; ++p) pr_.elemspot[seq[p]] = static_cast<int16_t>(p);
  }
}

void Editing::moveRun(int a, int b, int t, int side) {
  auto& seq = pr_.ElemSeq;
  const int c = b - a + 1;
  std::vector<int16_t> run(seq.begin() + a, seq.begin() + b + 1);
  int lo, hi;
  if (t + side < a) {
    int start = side == 1 ? t + 1 : t;
    for (int p = a - 1; p >= start; --p) seq[p + c] = seq[p];
    std::copy(run.begin(), run.end(), seq.begin() + start);
    lo = start;
    hi = b;
  } else {
    int end = side == 1 ? t : t - 1;
    for (int p = b + 1; p <= end; ++p) seq[p - c] = seq[p];
    std::copy(run.begin(), run.end(), seq.begin() + end - c + 1);
    lo = a;
    hi = end;
  }
  for (int p = lo; p <= hi; ++p)
    if (seq[p] > 0) pr_.elemspot[seq[p]] = static_cast<int16_t>(p);
}

Editing::DropResult Editing::dropElementOn(int source, int target, int side) {
  const int s = posInCurrentLine(source), t = posInCurrentLine(target);
  const bool runMove = !CaptureList.empty() &&
                       std::find(CaptureList.begin(), CaptureList.end(), source) != CaptureList.end();
  if (!runMove && source == target) {
    dropCapture();
    return DropResult::OpenEditor;
  }
  if (s == 0 || t == 0 || (side != 1 && side != -1)) {
    dropCapture();
    return DropResult::Nothing;
  }
  if (runMove) {
    int a = posInCurrentLine(CaptureList.front()), b = posInCurrentLine(CaptureList.back());
    dropCapture();
    if (a == 0 || b == 0 || a > b) return DropResult::Nothing;
    if (t + side >= a && t + side <= b) return DropResult::Nothing;
    // A target inside the run that points out of it leaves the run where it is.
    if (t >= a && t <= b) return DropResult::Nothing;
    moveRun(a, b, t, side);
  } else {
    dropCapture();
    if (t + side == s) return DropResult::Nothing;
    moveSingle(s, t, side);
  }
  pr_.SetSolved(false);
  pr_.SetModified(true);
  pr_.idBranches(pr_.CurLine);
  return DropResult::Moved;
}

// ---------------------------------------------------------------- element commands

bool Editing::afterRemoval() {
  pr_.SetModified(true);
  pr_.SetSolved(false);
  pr_.idBranches(pr_.CurLine);
  if (!pr_.isPlaced(cur_elem)) cur_elem = 0;
  return true;
}

bool Editing::DeleteElem(int n) {
  if (n == -1) {
    n = PendingElem;
    PendingElem = 0;
    if (n == 0) {
      pr_.prompter().message(MsgKind::Error, "cur_elem = 0!");
      return false;
    }
  }
  if (n <= 0 || posInCurrentLine(n) == 0) return false;
  if (!pr_.proj.Expert && !confirm("Delete element \"" + pr_.ElemID(n) + "\" ?", n)) return false;
  pr_.RemoveFromLine(n);
  return afterRemoval();
}

bool Editing::Tag(int n) {
  n = take(n);
  if (n == 0) return false;
  if (!pr_.SetElBitNo(n, 1, true, true)) {
    pr_.prompter().message(MsgKind::Error, "Cannot tag this element!");
    return false;
  }
  return true;
}

bool Editing::ClearAllTags() {
  if (!pr_.proj.Expert && !confirm("Clear all tags?", 0)) return false;
  for (int n = 1; n <= pr_.HighElem; ++n)
    if (pr_.isPlaced(n)) pr_.SetElBitNo(n, 1, false, false);
  return true;
}

bool Editing::CopyElem(int n) {
  n = take(n);
  if (!pr_.isPlaced(n)) return false;
  CopyElement c;
  c.n = n;
  c.type = pr_.ElemType[n];
  c.id = pr_.ElemID(n);
  switch (c.type) {
    case kPipe: if (pr_.pipe[n]) c.pipe = copyInputs(*pr_.pipe[n]); break;
    case kFitting:
    case kValve: if (pr_.valfit[n]) c.valfit = copyInputs(*pr_.valfit[n]); break;
    case kPump: if (pr_.pump[n]) c.pump = copyInputs(*pr_.pump[n]); break;
    case kGauge:
    case kSupply: if (pr_.node[n]) c.node = copyInputs(*pr_.node[n]); break;
    case kFVH: if (pr_.fvh[n]) c.fvh = copyInputs(*pr_.fvh[n]); break;
    default: return false;
  }
  copyBuffer = c;
  return true;
}

bool Editing::PasteBefore(int n) {
  if (!copyBuffer) return false;
  n = take(n);
  if (n > 0) cur_elem = n;
  bool ok = InsertNewElem(true, copyBuffer->type, copyBuffer->n);
  if (ok) {
    pr_.SetModified(true);
    pr_.SetSolved(false);
    pr_.idBranches(pr_.CurLine);
  }
  return ok;
}

bool Editing::CopyToClipboard(int n) {
  n = take(n);
  if (!pr_.isPlaced(n) || !hooks.addToClipboard) return false;
  bool ok = hooks.addToClipboard(n);
  if (ok && hooks.showClipboard) hooks.showClipboard();
  return ok;
}

bool Editing::MoveToClipboard(int n) {
  n = take(n);
  if (posInCurrentLine(n) == 0 || !hooks.addToClipboard) return false;
  if (!pr_.proj.Expert && !confirm("Remove element(s) and put on clipboard?", n)) return false;
  // The element leaves the line only once its copy is safely on the clipboard.
  if (!hooks.addToClipboard(n)) return false;
  pr_.RemoveFromLine(n);
  if (hooks.showClipboard) hooks.showClipboard();
  return afterRemoval();
}

// ---------------------------------------------------------------- capture

bool Editing::finishCapture(const IRect& rect) {
  Capturing = false;
  CaptureShown = false;
  CaptureList.clear();
  CaptureRect = rect;
  if (rect.width <= 0 || rect.height <= 0) return false;
  const int shift = ws_.scrollShift();
  int first = 0, last = 0;
  for (const auto& g : ws_.elems) {
    if (!g.visible || !g.rect.shifted(-shift).overlaps(rect)) continue;
    if (first == 0) first = g.pos;
    last = g.pos;
  }
  if (first == 0) return false;
  for (int p = first; p <= last; ++p)
    if (pr_.ElemSeq[p] > 0) CaptureList.push_back(pr_.ElemSeq[p]);
  cur_elem = CaptureList.back();
  CaptureShown = true;
  return true;
}

bool Editing::captureContains(int x, int y) const { return CaptureShown && CaptureRect.contains(x, y); }

void Editing::dropCapture() {
  CaptureShown = false;
  Capturing = false;
  CaptureList.clear();
}

void Editing::cancelCapture() { dropCapture(); }

void Editing::tagCaptured(bool on) {
  for (int n : CaptureList) pr_.SetElBitNo(n, 1, on, false);
  dropCapture();
}

bool Editing::deleteCaptured() {
  if (CaptureList.empty()) return false;
  if (!pr_.proj.Expert && !confirm("Delete these elements?", 0)) {
    dropCapture();
    return false;
  }
  for (int n : CaptureList) pr_.RemoveFromLine(n);
  dropCapture();
  return afterRemoval();
}

bool Editing::copyCaptured() {
  if (CaptureList.empty() || !hooks.addToClipboard) {
    dropCapture();
    return false;
  }
  for (int n : CaptureList) hooks.addToClipboard(n);
  if (hooks.showClipboard) hooks.showClipboard();
  dropCapture();
  return true;
}

bool Editing::moveCapturedToClipboard() {
  if (CaptureList.empty() || !hooks.addToClipboard) {
    dropCapture();
    return false;
  }
  if (!pr_.proj.Expert && !confirm("Remove element(s) and put on clipboard?", 0)) {
    dropCapture();
    return false;
  }
  bool any = false;
  for (int n : CaptureList)
    if (hooks.addToClipboard(n)) {
      pr_.RemoveFromLine(n);
      any = true;
    }
  if (hooks.showClipboard) hooks.showClipboard();
  dropCapture();
  return any ? afterRemoval() : false;
}

bool Editing::reverseCaptured() {
  if (CaptureList.size() < 2) {
    dropCapture();
    return false;
  }
  if (!confirm("Reverse the sequence of the selected elements?", 0)) return false;
  int a = posInCurrentLine(CaptureList.front()), b = posInCurrentLine(CaptureList.back());
  if (a == 0 || b <= a) {
    dropCapture();
    return false;
  }
  pr_.SetSolved(false);
  pr_.SetModified(true);
  std::reverse(pr_.ElemSeq.begin() + a, pr_.ElemSeq.begin() + b + 1);
  for (int p = a; p <= b; ++p) {
    int n = pr_.ElemSeq[p];
    if (n <= 0) continue;
    pr_.elemspot[n] = static_cast<int16_t>(p);
    flipDir(pr_, n);
  }
  dropCapture();
  return true;
}

// ---------------------------------------------------------------- lines

std::string Editing::lineName(int k) { return k == 0 ? "Main Line" : "Branch " + std::to_string(k); }

std::vector<std::string> Editing::lineSelectorItems() {
  pr_.ComputeLines();
  std::vector<std::string> items;
  int active = 0;
  for (int i = 0; i < kLines; ++i) {
    std::string s = lineName(i);
    int len = pr_.LineLen[i];
    if (len == 0) {
      s += " -";
      if (pr_.LineEnd[i] != pr_.LineStart[i]) s += " (" + std::to_string(pr_.LineEnd[i] - pr_.LineStart[i]) + " elements)";
    } else if (len == 1) {
      s += " - (1 element)";
    } else {
      s += " - (" + std::to_string(len) + " elements)";
    }
    if (len != 0) ++active;
    items.push_back(s);
  }
  pr_.ActiveBranches = active;
  return items;
}

std::vector<std::string> Editing::gotoSelectorItems() {
  pr_.ComputeLines();
  std::vector<std::string> items{"Main Line"};
  for (int j = 1; j < kLines; ++j) {
    int len = pr_.LineLen[j];
    std::string s = "Branch " + std::to_string(j);
    if (len == 0) s += " -";
    else if (len == 1) s += " - (1 element)";
    else s += " - (" + std::to_string(len) + " elements)";
    items.push_back(s);
  }
  return items;
}

void Editing::chooseLine(int k, bool fromSelector) {
  if (k < 0 || k >= kLines) return;
  if (fromSelector && pr_.LineLen[0] == 0 && k > 0)
    pr_.prompter().message(MsgKind::Error, "No Gauges exist in Main line for Branch connections!");
  pr_.CurLine = k;
  SwitchLine();
}

void Editing::SwitchLine() {
  pr_.RefreshSpots();
  ws_.scrollPos = 0;
  pr_.idBranches(pr_.CurLine);
  dropCapture();
  cur_elem = 0;
  MarkedElem = 0;
}

bool Editing::showLineOf(int n) {
  if (n < 1 || n > kMaxElem || !pr_.isPlaced(n)) return false;
  int line = pr_.LineOf(n);
  pr_.ComputeLines();
  if (line != pr_.CurLine || posInCurrentLine(n) == 0) {
    pr_.CurLine = line;
    SwitchLine();
  }
  return true;
}

int Editing::nextElement() const {
  if (!pr_.isPlaced(cur_elem)) return 0;
  int p = pr_.elemspot[cur_elem] + 1;
  if (p > pr_.SeqLen) return 0;
  int n = pr_.ElemSeq[p];
  return n > 0 ? n : 0;
}

}  // namespace vt
