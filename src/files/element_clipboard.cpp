#include "files/element_clipboard.h"

#include <filesystem>

#include "files/atomic_write.h"
#include "files/byte_io.h"
#include "files/old_records.h"
#include "files/record_fixups.h"

namespace vt {

namespace {

// Sizes of the fixed parts of an entry, and of the smallest entry, by layout.
constexpr size_t kEntryHead30 = 30 + 80 + 40;
constexpr size_t kSmallestEntry30 = kEntryHead30 + sizeof(FVH);
constexpr size_t kEntryHead20 = 15 + 40 + 40;
constexpr size_t kSmallestEntry20 = kEntryHead20 + 100;

template <class R>
bool holds(const ElementRecord& r) {
  return std::holds_alternative<R>(r);
}

bool recordFitsKind(const ElementRecord& r, int kind) {
  switch (kind) {
    case kPipe: return holds<Pipe>(r);
    case kFitting:
    case kValve: return holds<Valfit>(r);
    case kPump: return holds<Pump>(r);
    case kGauge:
    case kSupply: return holds<Node>(r);
    case kFVH: return holds<FVH>(r);
    default: return false;
  }
}

// The count of a section, checked against what the rest of the file can hold, and the heavy-use
// question. Throws on a count that cannot be right; false when the user declines.
bool acceptCount(int32_t count, size_t remaining, size_t smallestEntry, Project& project, const std::string& question) {
  if (count < 0 || static_cast<uint64_t>(count) * smallestEntry > remaining)
    throw FileFormatError("clipboard entry count beyond the file");
  if (count > kHeavyClipboard) {
    Answer a = project.prompter().message(MsgKind::Confirmation, question, Buttons::YesNoCancel);
    return a == Answer::Yes;
  }
  return true;
}

void fixUpEntry(ClipEntry& e, bool solved) {
  if (auto* p = std::get_if<Pump>(&e.data)) refreshPump(*p, solved);
  if (auto* f = std::get_if<FVH>(&e.data)) refreshFvh(*f, solved);
  if (auto* n = std::get_if<Node>(&e.data))
    if (e.kind() == kSupply && n->SupplyType == 3) n->Pressure = 0;
}

ElementRecord readRecord30(ByteReader& in, int kind) {
  auto read = [&](auto rec) -> ElementRecord {
    in.record(rec);
    return rec;
  };
  switch (kind) {
    case kPipe: return read(Pipe{});
    case kFitting:
    case kValve: return read(Valfit{});
    case kPump: return read(Pump{});
    case kGauge:
    case kSupply: return read(Node{});
    case kFVH: return read(FVH{});
    default: throw FileFormatError("unknown element kind on the clipboard");
  }
}

ElementRecord readRecord20(ByteReader& in, int kind) {
  size_t size = oldRecordSize(OldLayout::V20, kind);
  if (size == 0) throw FileFormatError("unknown element kind on the clipboard");
  const uint8_t* b = in.take(size).data();
  switch (kind) {
    case kPipe: {
      Pipe p = convertOldPipe(b, OldLayout::V20);
      convertOldNominalSize(p);
      return p;
    }
    case kFitting:
    case kValve: return convertOldValfit(b, OldLayout::V20);
    case kPump: return convertOldPump(b, OldLayout::V20);
    case kGauge:
    case kSupply: return convertOldNode(b, OldLayout::V20);
    default: return convertOldFvh(b, OldLayout::V20, false);
  }
}

void appendEntries(ElementClipboard& clip, std::vector<ClipEntry>& read, std::string description) {
  clip.description = std::move(description);
  for (auto& e : read) clip.entries.push_back(std::move(e));
}

std::string withClipExtension(const std::string& name) {
  return std::filesystem::path(name).replace_extension(".clip").string();
}

bool endsWithClip(const std::string& name) {
  return name.size() >= 5 && name.compare(name.size() - 5, 5, ".clip") == 0;
}

// The ".clip" question of "Save Clipboard"; false stops the command.
bool ensureClipExtension(std::string& name, Prompter& prompter) {
  if (endsWithClip(name)) return true;
  std::string fixed = withClipExtension(name);
  if (prompter.message(MsgKind::Confirmation, "Use new filename " + fixed + " ?", Buttons::YesNoCancel) != Answer::Yes)
    return false;
  name = fixed;
  return true;
}

constexpr const char* kClipFilter = "Clipboard files (*.clip)";

}  // namespace

size_t recordSize(int type) {
  switch (type) {
    case kPipe: return sizeof(Pipe);
    case kFitting:
    case kValve: return sizeof(Valfit);
    case kPump: return sizeof(Pump);
    case kGauge:
    case kSupply: return sizeof(Node);
    case kFVH: return sizeof(FVH);
    default: return 0;
  }
}

int ClipEntry::kind() const { return TypeOfAbbrev(typeName); }

bool ClipEntry::hasData() const { return recordFitsKind(data, kind()); }

std::string recordID(const ElementRecord& record) {
  return std::visit(
      [](const auto& r) -> std::string {
        if constexpr (std::is_same_v<std::decay_t<decltype(r)>, std::monostate>)
          return "";
        else
          return fromWide(r.ID, kIdLen);
      },
      record);
}

ClipEntry makeClipEntry(const ElementRecord& record, const std::string& typeName) {
  ClipEntry e;
  e.caption = e.id = recordID(record);
  e.typeName = typeName;
  e.note = "(orig ID: " + e.id + ")";
  e.data = record;
  return e;
}

std::string reorderTypeName(int type) {
  static const char* const names[] = {"", "Pipe", "Fitting", "Pump", "Valve", "Gauge", "FVH", "Supply"};
  return type >= 1 && type <= 7 ? names[type] : "";
}

bool ElementClipboard::AddToClipboard(const Project& project, int n) {
  if (n < 1 || n > kMaxElem) return false;
  ElementRecord rec;
  switch (project.ElemType[n]) {
    case kPipe:
      if (project.pipe[n]) rec = copyInputs(*project.pipe[n]);
      break;
    case kFitting:
    case kValve:
      if (project.valfit[n]) rec = copyInputs(*project.valfit[n]);
      break;
    case kPump:
      if (project.pump[n]) rec = copyInputs(*project.pump[n]);
      break;
    case kGauge:
    case kSupply:
      if (project.node[n]) rec = copyInputs(*project.node[n]);
      break;
    case kFVH:
      if (project.fvh[n]) rec = copyInputs(*project.fvh[n]);
      break;
    default: break;
  }
  if (holds<std::monostate>(rec)) return false;
  ClipEntry e = makeClipEntry(rec, project.ElemTypeName(n));
  if (dropBefore && *dropBefore < entries.size())
    entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(*dropBefore), std::move(e));
  else
    entries.push_back(std::move(e));
  return true;
}

bool ElementClipboard::reorder(size_t from, std::optional<size_t> before) {
  if (from >= entries.size() || !entries[from].hasData()) return false;
  ClipEntry fresh = makeClipEntry(entries[from].data, reorderTypeName(entries[from].kind()));
  size_t at = before && *before < entries.size() ? *before : entries.size();
  entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(from));
  if (at > from) --at;
  entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(at), std::move(fresh));
  return true;
}

void PutClipboard(ByteWriter& out, const ElementClipboard& clip, bool withEntries) {
  out.paddedWide(clip.description, 40);
  // An entry without its record cannot be read back; it is left out rather than written broken.
  int32_t count = 0;
  if (withEntries)
    for (const auto& e : clip.entries) count += e.hasData() ? 1 : 0;
  out.i32(count);
  if (count == 0) return;
  for (const auto& e : clip.entries) {
    if (!e.hasData()) continue;
    out.paddedWide(e.id, 15);
    out.paddedWide(e.typeName, 40);
    out.paddedWide(e.note, 20);
    std::visit(
        [&](const auto& r) {
          if constexpr (!std::is_same_v<std::decay_t<decltype(r)>, std::monostate>) out.record(r);
        },
        e.data);
  }
}

ClipReadResult ReadClipboard(ByteReader& in, Project& project, ElementClipboard& clip, const std::string& fileName) {
  ClipReadResult result;
  try {
    std::u16string descUnits;
    try {
      descUnits = in.wide(40);
    } catch (const FileFormatError&) {
      project.prompter().message(MsgKind::Error, "Error Reading Clipboard Buffer" + fileName);
      throw;
    }
    int32_t count = in.i32();
    std::vector<ClipEntry> read;
    if (acceptCount(count, in.remaining(), kSmallestEntry30, project,
                    "Clipboard has heavy use - Add " + std::to_string(count) + " new elements to clipboard?")) {
      read.reserve(static_cast<size_t>(count));
      for (int32_t i = 0; i < count; ++i) {
        ClipEntry e;
        std::u16string id = in.wide(15);
        e.caption = trimmedWide(id);
        e.id = plainWide(id);
        e.typeName = trimmedWide(in.wide(40));
        e.note = trimmedWide(in.wide(20));
        e.data = readRecord30(in, e.kind());
        fixUpEntry(e, project.proj.Solved);
        read.push_back(std::move(e));
      }
    } else {
      result.declined = true;
    }
    result.appended = read.size();
    appendEntries(clip, read, trimmedWide(descUnits));
  } catch (const FileFormatError&) {
    return {ClipReadStatus::Damaged, 0, false};
  }
  return result;
}

ClipReadResult ReadClipboard20(ByteReader& in, Project& project, ElementClipboard& clip) {
  ClipReadResult result;
  try {
    std::string description = trimmedAnsi(in.take(40).data(), 40);
    int32_t count = in.i32();
    std::vector<ClipEntry> read;
    if (acceptCount(count, in.remaining(), kSmallestEntry20, project,
                    "Add " + std::to_string(count) + " new elements to clipboard?")) {
      read.reserve(static_cast<size_t>(count));
      for (int32_t i = 0; i < count; ++i) {
        ClipEntry e;
        const uint8_t* id = in.take(15).data();
        e.caption = trimmedAnsi(id, 15);
        e.id = fromAnsi(id, 15);
        e.typeName = trimmedAnsi(in.take(40).data(), 40);
        e.note = trimmedAnsi(in.take(40).data(), 40);
        e.data = readRecord20(in, e.kind());
        fixUpEntry(e, project.proj.Solved);
        read.push_back(std::move(e));
      }
    } else {
      result.declined = true;
    }
    result.appended = read.size();
    appendEntries(clip, read, std::move(description));
  } catch (const FileFormatError&) {
    return {ClipReadStatus::Damaged, 0, false};
  }
  return result;
}

std::vector<uint8_t> clipboardFileBytes(const ElementClipboard& clip) {
  ByteWriter out;
  for (int i = 0; i < 8; ++i) out.put<char16_t>(kClipMagic30[i]);
  PutClipboard(out, clip, true);
  return std::move(out.bytes());
}

ClipReadResult readClipboardBytes(std::span<const uint8_t> bytes, Project& project, ElementClipboard& clip,
                                  const std::string& fileName, int* version) {
  ByteReader in(bytes);
  if (bytes.size() >= 8) {
    std::u16string head = in.wide(4);
    if (head == u"VTCW") {
      if (bytes.size() < 16) return {ClipReadStatus::Damaged, 0, false};
      std::u16string ver = in.wide(4);
      if (ver[0] == u'3' && ver[1] == u'0') {
        if (version) *version = 30;
        return ReadClipboard(in, project, clip, fileName);
      }
      // Another version of the current layout: nothing of it is known, so nothing is read.
      if (version) *version = 0;
      return {ClipReadStatus::Read, 0, false};
    }
    if (std::equal(bytes.begin(), bytes.begin() + 6, "VTCW20")) {
      if (version) *version = 20;
      ByteReader old(bytes.subspan(8));
      return ReadClipboard20(old, project, clip);
    }
  }
  return {ClipReadStatus::NotClipboard, 0, false};
}

namespace {
bool clipboardHead(const std::vector<uint8_t>& h) {
  static const uint8_t wide[8] = {'V', 0, 'T', 0, 'C', 0, 'W', 0};
  return std::equal(wide, wide + 8, h.begin()) || std::equal(h.begin(), h.begin() + 6, "VTCW20");
}
}  // namespace

ClipReadResult openClipboardFile(const std::string& path, Project& project, ElementClipboard& clip, int* version) {
  Prompter& prompter = project.prompter();
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    prompter.message(MsgKind::Error, path + " does not exist (Open Clipboard)!");
    return {ClipReadStatus::Missing, 0, false};
  }
  std::vector<uint8_t> bytes;
  int v = 0;
  ClipReadResult r;
  if (!readFileBytes(path, bytes, clipboardHead))
    r.status = ClipReadStatus::Damaged;
  else
    r = readClipboardBytes(bytes, project, clip, path, &v);
  if (version) *version = v;
  switch (r.status) {
    case ClipReadStatus::NotClipboard:
      prompter.message(MsgKind::Error, path + " is not a VORTELAN clipboard file or it has been corrupted!");
      break;
    case ClipReadStatus::Damaged:
      // The entries already on the clipboard stay: only the damaged file's entries are dropped.
      prompter.message(MsgKind::Error, "Error reading " + path);
      break;
    default:
      if (v != 20) clip.caption = bareFileName(path);
      break;
  }
  return r;
}

bool writeClipboardFile(const std::string& path, ElementClipboard& clip, Prompter& prompter) {
  WriteResult w = writeFileAtomically(path, clipboardFileBytes(clip));
  if (!w.ok) {
    prompter.message(MsgKind::Error, "Error saving file: " + bareFileName(path) + " (" + w.error +
                                         "). Any earlier version of the file is unchanged.");
    return false;
  }
  clip.fileName = path;
  clip.caption = bareFileName(path);
  return true;
}

bool SaveClipboard1Click(ElementClipboard& clip, Prompter& prompter, const std::string& projectFolder,
                         bool& saveAsFlag) {
  if (clip.empty()) {
    prompter.message(MsgKind::Warning, "Clipboard is empty");
    return false;
  }
  std::string name = clip.fileName;
  if (saveAsFlag || name.empty()) {
    auto chosen = prompter.saveFileName("Save Clipboard File As:", kClipFilter, projectFolder, "");
    if (!chosen) return false;
    name = *chosen;
    if (!ensureClipExtension(name, prompter)) return false;
  }
  saveAsFlag = false;
  std::error_code ec;
  // A name chosen again after declining to overwrite is asked about in turn: declining must never
  // lead to another file being overwritten silently.
  while (std::filesystem::exists(name, ec)) {
    if (prompter.message(MsgKind::Confirmation, "Do you want to overwrite " + name + "?", Buttons::YesNoCancel) ==
        Answer::Yes)
      break;
    auto chosen = prompter.saveFileName("Save Clipboard File As:", kClipFilter, projectFolder, name);
    if (!chosen) return false;
    name = *chosen;
    if (!ensureClipExtension(name, prompter)) return false;
  }
  return writeClipboardFile(name, clip, prompter);
}

ClipReadResult OpenClipboard1Click(Project& project, ElementClipboard& clip, const std::string& projectFolder) {
  auto chosen = project.prompter().openFileName("Open Clipboard File:", kClipFilter, projectFolder);
  if (!chosen) return {ClipReadStatus::Cancelled, 0, false};
  return openClipboardFile(*chosen, project, clip);
}

}  // namespace vt
