// What every element editor shares: its mode (new, existing, clipboard entry), the ID rules,
// number parsing of field texts, and where a refused entry sends the focus.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <variant>

#include "model/project.h"
#include "model/records.h"

namespace vt {

// A record that is not in the project's store: the element clipboard's own copies.
using RecordPtr = std::variant<std::monostate, Pipe*, Valfit*, Pump*, Node*, FVH*>;

inline constexpr const char* kClipboardCaller = "fClipboard";

enum class EditorMode { New, Existing, Clipboard };

// How an element editor is opened.
struct EditorSetup {
  std::string caller;      // the opening window's name; "fClipboard" for the clipboard
  int elem = 0;            // element number (a proposed number for a new element)
  int type = 0;            // element kind 1..7
  bool newElement = false; // the "new element" flag of the caller
  RecordPtr clipRecord;    // the clipboard's record for caller "fClipboard"
};

EditorMode editorModeOf(const EditorSetup& setup);

std::string trimmed(const std::string& text);
// The number in a field text: nullopt for an empty text or one IsNumber rejects.
std::optional<double> numberOf(const std::string& text);
// A positive number, or nullopt.
std::optional<double> positiveOf(const std::string& text);

// Base of the element editor models. Field texts are public members of the derived classes; the
// dialog copies widget texts in, calls accept(), and on refusal focuses the control named by focus().
class ElementEditorBase {
 public:
  ElementEditorBase(Project& project, EditorSetup setup);
  virtual ~ElementEditorBase() = default;

  EditorMode mode() const { return mode_; }
  bool isNew() const { return mode_ == EditorMode::New; }
  bool isClipboard() const { return mode_ == EditorMode::Clipboard; }
  int elem() const { return elem_; }
  // The control that a refused entry puts the focus on (the form's control name), else empty.
  const std::string& focus() const { return focus_; }
  // After an accepted clipboard edit whose ID changed: the entry's new caption.
  const std::string& clipCaption() const { return clipCaption_; }
  // The "new element" flag as the caller should read it after acceptance (cleared by a node re-use).
  bool newElementFlag() const { return newFlag_; }
  // Unit abbreviations shown beside the fields.
  const UnitsInUse& units() const { return project_.units; }
  std::string lengthUnit() const { return project_.units.Len.abbrev; }
  std::string diaUnit() const { return project_.units.Dia.abbrev; }
  std::string flowUnit() const { return project_.units.Flow.abbrev; }
  std::string headUnit() const { return project_.units.PHead.abbrev; }

 protected:
  // Shows an error, names the control to focus and returns false.
  bool refuse(const std::string& message, const std::string& control);
  // True when the ID may not be used under this mode's rules: a new element's ID already in IDList,
  // or an existing element's changed ID held by another element. Clipboard entries are not in the
  // system and are not checked.
  int clashingElement(const std::string& id, const std::string& openingId) const;
  // Keeps IDList in step after acceptance (nothing for clipboard entries), and the clipboard caption.
  void commitId(const std::string& id, const std::string& openingId);
  // Fields show stored values rounded. A field whose text still reads as it was shown at opening
  // keeps its stored value, so that accepting an unchanged editor never drifts a number.
  void remember(const std::string& field, const std::string& text) { shown_[field] = text; }
  // The internal value of a field: the stored value while untouched, else the text's number divided
  // by the display factor; kBlank for an empty text.
  double valueOf(const std::string& field, const std::string& text, double stored, double factor) const;

  Project& project_;
  EditorSetup setup_;
  EditorMode mode_;
  int elem_;
  bool newFlag_;
  std::string focus_;
  std::string clipCaption_;
  std::map<std::string, std::string> shown_;
};

// Where an accepted record goes: the clipboard's copy, the store's slot (created for a new element
// when it does not exist yet).
Pipe* targetPipe(Project& p, const EditorSetup& s, int elem);
Valfit* targetValfit(Project& p, const EditorSetup& s, int elem);
Pump* targetPump(Project& p, const EditorSetup& s, int elem);
Node* targetNode(Project& p, const EditorSetup& s, int elem);
FVH* targetFvh(Project& p, const EditorSetup& s, int elem);
// The record shown at opening (null for a new element or a missing record).
const Pipe* sourcePipe(Project& p, const EditorSetup& s);
const Valfit* sourceValfit(Project& p, const EditorSetup& s);
const Pump* sourcePump(Project& p, const EditorSetup& s);
const Node* sourceNode(Project& p, const EditorSetup& s, int elem);
const FVH* sourceFvh(Project& p, const EditorSetup& s);

// Display formats of the editors.
std::string fixed2(double v);  // lengths, elevations, flows, heads
std::string fixed3(double v);  // diameters
// A stored value shown in display units, or empty when it holds the blank marker.
std::string shownOrEmpty(float stored, double factor);

}  // namespace vt
