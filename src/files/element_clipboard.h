// The element clipboard: the program's own store of element copies, independent of the system
// clipboard. Each entry owns a full copy of its element's record, so it survives the removal of the
// element it was copied from. The clipboard is saved as a clipboard section (inside a project file,
// or after its own magic as a clipboard file) and read back from both, and from the older clipboard
// files.
//
// One ElementClipboard lives beside the Project for the whole run (the application owns both); its
// entries survive New and Open, and opening a project appends the project's clipboard section. The
// clipboard window is a view over this class.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "model/project.h"

namespace vt {

class ByteReader;
class ByteWriter;

using ElementRecord = std::variant<std::monostate, Pipe, Valfit, Pump, Node, FVH>;

struct ClipEntry {
  std::string caption;   // the element's ID when the entry was made; the ID used when it is put back
  std::string id;        // the ID column
  std::string typeName;  // the Type column: "Pipe", "Fitting", ..., "FVH " or "FVH"
  std::string note;      // the Note column
  ElementRecord data;    // the record copy; monostate when missing

  // Kind recognised from the first three characters of the type name (TypeOfAbbrev); 0 unknown.
  int kind() const;
  // The record is present and of the kind the type name gives.
  bool hasData() const;
};

// Size of the current record of a type code; 0 for a code outside 1..7.
size_t recordSize(int type);

// Clipboard file magics and the project file's section texts.
inline constexpr char16_t kClipMagic30[] = u"VTCW30  ";

// Above this many entries a section asks before reading them.
inline constexpr int32_t kHeavyClipboard = 1000;

class ElementClipboard {
 public:
  std::vector<ClipEntry> entries;
  std::string description;  // at most 40 characters in a file
  std::string fileName;     // the clipboard file; empty until the clipboard is saved or opened
  std::string caption;      // the window's caption (the file's name, or the project's + " Clipboard")
  // Set by a drop onto the list: entries added by that drop go before this entry (TElemDrag).
  std::optional<size_t> dropBefore;

  size_t count() const { return entries.size(); }
  bool empty() const { return entries.empty(); }
  // Releases every entry and its record.
  void clear() { entries.clear(); }

  // AddToClipboard: a new entry from placed element n of the project: a copy of its input values,
  // caption and ID = its ID, Type = its type name, Note = "(orig ID: " + ID + ")"; inserted before
  // dropBefore when set (and within the list), else appended. False (nothing added) when n has no
  // record.
  bool AddToClipboard(const Project& project, int n);

  // Reordering by drag on the list: removes entry `from` and inserts a fresh entry made from its
  // record before entry `before` (as the list stood before the removal; nullopt: at the end).
  // The note becomes "(orig ID: " + ID + ")". False when `from` is outside the list or has no data.
  bool reorder(size_t from, std::optional<size_t> before);
};

// An entry made from a record: caption and ID from the record's ID, the given type name, the
// "(orig ID: ...)" note.
ClipEntry makeClipEntry(const ElementRecord& record, const std::string& typeName);
// The type names used by a reordered entry: "Pipe", "Fitting", "Valve", "Pump", "Gauge", "Supply", "FVH".
std::string reorderTypeName(int type);
// The ID held in a record; empty for monostate.
std::string recordID(const ElementRecord& record);

// PutClipboard: one clipboard section: the description (40 blank-padded UTF-16 units), the entry
// count when `withEntries` (else 0), and then, only with entries, every entry in list order.
void PutClipboard(ByteWriter& out, const ElementClipboard& clip, bool withEntries);

// What reading a clipboard section or file came to.
enum class ClipReadStatus {
  Read,          // the entries were appended (or the user chose not to read a heavy section)
  Cancelled,     // no file was chosen
  Missing,       // the file does not exist
  NotClipboard,  // not a clipboard file: nothing read
  Damaged,       // the section ended early or held impossible counts or kinds: nothing appended
};

struct ClipReadResult {
  ClipReadStatus status = ClipReadStatus::Read;
  size_t appended = 0;
  bool declined = false;  // the heavy-use question was answered No (or Cancel)
};

// ReadClipboard: reads a section of the current layout at the reader's position and appends its
// entries to the clipboard; the description becomes the section's. A pump with its curve defined
// and an FVH are refitted; with the project solved their results are recomputed at their flow; a
// free-discharge supply gets pressure 0. On a damaged section nothing is appended, the clipboard
// keeps its entries and description, and the caller reports the failure. `fileName` names the file
// in the "Error Reading Clipboard Buffer" message.
ClipReadResult ReadClipboard(ByteReader& in, Project& project, ElementClipboard& clip,
                             const std::string& fileName);
// ReadClipboard20: the same over the older layout (one-byte texts, older records converted).
ClipReadResult ReadClipboard20(ByteReader& in, Project& project, ElementClipboard& clip);

// The bytes of a clipboard file: the 16-byte magic and one section with entries.
std::vector<uint8_t> clipboardFileBytes(const ElementClipboard& clip);
// Reads a clipboard file held in memory (either version) and appends its entries. Of the messages
// it shows only the heavy-use question and "Error Reading Clipboard Buffer"; the caller reports the
// status.
ClipReadResult readClipboardBytes(std::span<const uint8_t> bytes, Project& project, ElementClipboard& clip,
                                  const std::string& fileName, int* version = nullptr);

// Reads a clipboard file with the messages of the "Open Clipboard..." command:
// " does not exist (Open Clipboard)!", " is not a VORTELAN clipboard file or it has been corrupted!",
// "Error reading " + name. On success the clipboard's caption becomes the file's name. `version`
// receives 30 or 20 when given.
ClipReadResult openClipboardFile(const std::string& path, Project& project, ElementClipboard& clip,
                                 int* version = nullptr);
// Writes a clipboard file (temporary file and rename); a failure shows its message and leaves an
// existing file unchanged. On success the clipboard remembers the name and shows it as its caption.
bool writeClipboardFile(const std::string& path, ElementClipboard& clip, Prompter& prompter);

// "Save Clipboard": the dialogs and questions of the command, then writeClipboardFile.
// `saveAsFlag` is the main window's save-as flag; it is cleared.
bool SaveClipboard1Click(ElementClipboard& clip, Prompter& prompter, const std::string& projectFolder,
                         bool& saveAsFlag);
// "Open Clipboard...": the open dialog, then openClipboardFile.
ClipReadResult OpenClipboard1Click(Project& project, ElementClipboard& clip, const std::string& projectFolder);

}  // namespace vt
