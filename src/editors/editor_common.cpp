#include "editors/editor_common.h"

#include <charconv>
#include <cmath>

#include "units/number_format.h"

namespace vt {

EditorMode editorModeOf(const EditorSetup& setup) {
  if (setup.newElement) return EditorMode::New;
  if (setup.caller == kClipboardCaller) return EditorMode::Clipboard;
  return EditorMode::Existing;
}

std::string trimmed(const std::string& text) {
  size_t b = 0, e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') --e;
  return text.substr(b, e - b);
}

std::optional<double> numberOf(const std::string& text) {
  std::string t = trimmed(text);
  if (t.empty() || !IsNumber(t)) return std::nullopt;
  size_t b = t[0] == '+' ? 1 : 0;
  double v = 0;
  auto [ptr, ec] = std::from_chars(t.data() + b, t.data() + t.size(), v);
  if (ec != std::errc() || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<double> positiveOf(const std::string& text) {
  auto v = numberOf(text);
  if (!v || *v <= 0) return std::nullopt;
  return v;
}

ElementEditorBase::ElementEditorBase(Project& project, EditorSetup setup)
    : project_(project), setup_(std::move(setup)), mode_(editorModeOf(setup_)), elem_(setup_.elem),
      newFlag_(setup_.newElement) {}

bool ElementEditorBase::refuse(const std::string& message, const std::string& control) {
  focus_ = control;
  project_.prompter().message(MsgKind::Error, message);
  return false;
}

int ElementEditorBase::clashingElement(const std::string& id, const std::string& openingId) const {
  int holder = project_.IDList.find(id);
  if (holder == 0) return 0;
  switch (mode_) {
    case EditorMode::New: return holder;
    case EditorMode::Existing:
      // Renaming an element to its own ID in another letter case is not a clash.
      return (id != openingId && holder != elem_) ? holder : 0;
    case EditorMode::Clipboard: return 0;
  }
  return 0;
}

void ElementEditorBase::commitId(const std::string& id, const std::string& openingId) {
  if (mode_ == EditorMode::Clipboard) {
    if (id != openingId) clipCaption_ = id;
    return;
  }
  if (mode_ == EditorMode::Existing && id != openingId) project_.IDList.remove(openingId);
  if (mode_ == EditorMode::New || id != openingId) project_.IDList.add(id, elem_);
}

double ElementEditorBase::valueOf(const std::string& field, const std::string& text, double stored,
                                  double factor) const {
  auto it = shown_.find(field);
  if (it != shown_.end() && trimmed(it->second) == trimmed(text)) return stored;
  auto v = numberOf(text);
  return v ? *v / factor : kBlank;
}

template <class R>
static R* clipOf(const EditorSetup& s) {
  if (auto p = std::get_if<R*>(&s.clipRecord)) return *p;
  return nullptr;
}

template <class R>
static R* slotTarget(Project& p, const EditorSetup& s, int elem, std::unique_ptr<R>& slot, int type) {
  if (editorModeOf(s) == EditorMode::Clipboard) return clipOf<R>(s);
  if (!slot || p.ElemType[static_cast<size_t>(elem)] != type) p.createElement(elem, type);
  return slot.get();
}

static bool validElem(int elem) { return elem >= 1 && elem <= kMaxElem; }

Pipe* targetPipe(Project& p, const EditorSetup& s, int elem) {
  if (!validElem(elem) && editorModeOf(s) != EditorMode::Clipboard) return nullptr;
  return slotTarget(p, s, elem, p.pipe[static_cast<size_t>(validElem(elem) ? elem : 0)], kPipe);
}
Valfit* targetValfit(Project& p, const EditorSetup& s, int elem) {
  if (!validElem(elem) && editorModeOf(s) != EditorMode::Clipboard) return nullptr;
  return slotTarget(p, s, elem, p.valfit[static_cast<size_t>(validElem(elem) ? elem : 0)], s.type);
}
Pump* targetPump(Project& p, const EditorSetup& s, int elem) {
  if (!validElem(elem) && editorModeOf(s) != EditorMode::Clipboard) return nullptr;
  return slotTarget(p, s, elem, p.pump[static_cast<size_t>(validElem(elem) ? elem : 0)], kPump);
}
Node* targetNode(Project& p, const EditorSetup& s, int elem) {
  if (!validElem(elem) && editorModeOf(s) != EditorMode::Clipboard) return nullptr;
  return slotTarget(p, s, elem, p.node[static_cast<size_t>(validElem(elem) ? elem : 0)], s.type);
}
FVH* targetFvh(Project& p, const EditorSetup& s, int elem) {
  if (!validElem(elem) && editorModeOf(s) != EditorMode::Clipboard) return nullptr;
  return slotTarget(p, s, elem, p.fvh[static_cast<size_t>(validElem(elem) ? elem : 0)], kFVH);
}

template <class R>
static const R* sourceOf(const EditorSetup& s, const std::unique_ptr<R>* slot) {
  switch (editorModeOf(s)) {
    case EditorMode::New: return nullptr;
    case EditorMode::Clipboard: return clipOf<R>(s);
    case EditorMode::Existing: return slot ? slot->get() : nullptr;
  }
  return nullptr;
}

const Pipe* sourcePipe(Project& p, const EditorSetup& s) {
  return sourceOf<Pipe>(s, validElem(s.elem) ? &p.pipe[static_cast<size_t>(s.elem)] : nullptr);
}
const Valfit* sourceValfit(Project& p, const EditorSetup& s) {
  return sourceOf<Valfit>(s, validElem(s.elem) ? &p.valfit[static_cast<size_t>(s.elem)] : nullptr);
}
const Pump* sourcePump(Project& p, const EditorSetup& s) {
  return sourceOf<Pump>(s, validElem(s.elem) ? &p.pump[static_cast<size_t>(s.elem)] : nullptr);
}
const Node* sourceNode(Project& p, const EditorSetup& s, int elem) {
  if (editorModeOf(s) == EditorMode::Clipboard) return clipOf<Node>(s);
  return validElem(elem) ? p.node[static_cast<size_t>(elem)].get() : nullptr;
}
const FVH* sourceFvh(Project& p, const EditorSetup& s) {
  return sourceOf<FVH>(s, validElem(s.elem) ? &p.fvh[static_cast<size_t>(s.elem)] : nullptr);
}

std::string fixed2(double v) { return formatFixed(v, 15, 2); }
std::string fixed3(double v) { return formatFixed(v, 15, 3); }

std::string shownOrEmpty(float stored, double factor) {
  if (stored == kBlank) return "";
  return fixed2(stored * factor);
}

}  // namespace vt
