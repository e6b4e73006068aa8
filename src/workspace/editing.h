// The editing commands of the workspace: inserting elements dragged from the element buttons,
// moving placed elements, delete, tag, copy and paste, the capture rectangle and its commands,
// and switching lines. The decisions and every question asked live here; the canvas only turns
// mouse and key events into these calls and redraws.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/records.h"
#include "workspace/layout.h"

namespace vt {

class Project;
class ElementClipboard;

// The single-element copy buffer of "Copy Element".
struct CopyElement {
  int n = 0;
  int type = 0;
  std::string id;
  Pipe pipe{};
  Valfit valfit{};
  Pump pump{};
  Node node{};
  FVH fvh{};
};

struct EditingHooks {
  // Opens the editor of element n of kind `type`. For a new element (isNew) the record does not
  // exist yet: on acceptance the editor creates it in slot n (and adds its ID to IDList), or, for
  // a gauge or supply, may name in placeNumber an existing node of another line to place instead.
  // Returns whether the user accepted.
  std::function<bool(int n, int type, bool isNew, int& placeNumber)> openEditor;
  // AddToClipboard; false when the copy failed (the element then stays in the line).
  std::function<bool(int n)> addToClipboard;
  std::function<void()> showClipboard;
  // Called before a confirmation about element n, so the window can point at it (inspector).
  std::function<void(int n)> pointAt;
};

// Messages of the element limits. Each names its limit.
inline constexpr int kMaxPumps = 20;
std::string limitMessage(int which);

class Editing {
 public:
  Editing(Project& pr, Workspace& ws) : pr_(pr), ws_(ws) {}

  // ---- interaction state ----
  int cur_elem = 0;
  int MarkedElem = 0;
  int InsertSide = 0;
  int PrevInsertSide = 2;
  int PendingElem = 0;
  bool OverElement = false;
  int DragType = 0;    // kind of a new element being dragged in; -1 while Ctrl was held at a press
  int DragSource = 0;  // element number of a dragged placed element; 0 for a new one
  bool DropCopies = false;
  std::vector<int> CaptureList;  // element numbers, in line order
  IRect CaptureRect;
  bool Capturing = false, CaptureShown = false;
  int NewElemNumber = 0;
  bool CopyMode = false;
  std::string IDPrefix;
  bool KeepDuplicates = false;
  std::optional<CopyElement> copyBuffer;
  EditingHooks hooks;

  // ---- new elements ----
  // Whether a drag of a new supply may start in the current line; shows the refusal otherwise.
  bool canStartSupplyDrag();
  // Element limits before an insertion of kind `type`; shows the refusal and returns false.
  bool checkLimits(int type);
  // Inserts next to cur_elem on InsertSide: a new element of `type` (number 0: its editor opens)
  // or, with paste, a copy of the copy buffer (number = the copied element).
  bool InsertNewElem(bool paste, int type, int number);
  // A new element dropped on the background: only into an empty line.
  bool dropNewOnBackground(int type);
  // A new element dropped on element `target` at `side` (-1 before, 1 after).
  bool dropNewOnElement(int target, int side, int type);
  // Entries of the element clipboard (indices in list order) dropped on element `target` at
  // `side`, or on the background (target 0, only into an empty line). Duplicate IDs are resolved
  // by a prefix or one by one; unless `copies`, the inserted entries leave the clipboard.
  bool dropClipEntries(ElementClipboard& clip, std::vector<size_t> selected, int target, int side, bool copies);

  // ---- moving placed elements ----
  enum class DropResult { Nothing, Moved, OpenEditor };
  // Element `source` (or the captured run it belongs to) dropped on `target` at `side`.
  DropResult dropElementOn(int source, int target, int side);

  // ---- element commands (n = -1 takes PendingElem) ----
  bool DeleteElem(int n);
  bool Tag(int n);
  bool ClearAllTags();
  bool CopyElem(int n);
  bool PasteBefore(int n);
  bool CopyToClipboard(int n);
  bool MoveToClipboard(int n);

  // ---- capture ----
  // Finishes a capture rectangle given in window coordinates against the current layout.
  // Captures the whole run from the first to the last element touched, so that commands on it
  // never skip an element lying between them. Returns whether anything was captured.
  bool finishCapture(const IRect& rect);
  bool captureContains(int x, int y) const;
  void cancelCapture();
  void tagCaptured(bool on);
  bool deleteCaptured();
  bool copyCaptured();
  bool moveCapturedToClipboard();
  bool reverseCaptured();

  // ---- lines ----
  // Items of the opened line selector (ten lines); sets ActiveBranches.
  std::vector<std::string> lineSelectorItems();
  // Items of the selector as gotoElement fills it.
  std::vector<std::string> gotoSelectorItems();
  static std::string lineName(int k);
  // Chooses line k from the selector (with the main-line check) or by Alt+digit (without).
  void chooseLine(int k, bool fromSelector);
  // SwitchLine: shows CurLine (spots, scroll at 0, line membership).
  void SwitchLine();
  // The line of element n made current; false when n names no placed element.
  bool showLineOf(int n);
  // Element after cur_elem in ElemSeq, or 0 at a line's end.
  int nextElement() const;

 private:
  int take(int n);
  bool confirm(const std::string& text, int n);
  bool insertElement(const std::string& id, int n, int type, bool paste, const void* clipRecord = nullptr);
  bool resolvePrefix(const ElementClipboard& clip, const std::vector<size_t>& selected);
  bool askFreeId(std::string& id);
  int posInCurrentLine(int n) const;
  bool afterRemoval();
  void dropCapture();
  void moveSingle(int s, int t, int side);
  void moveRun(int a, int b, int t, int side);

  Project& pr_;
  Workspace& ws_;
};

}  // namespace vt
