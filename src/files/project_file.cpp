#include "files/project_file.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "files/atomic_write.h"
#include "files/byte_io.h"
#include "files/old_records.h"
#include "files/record_fixups.h"
#include "model/fixed_tables.h"
#include "units/units_catalogue.h"

namespace vt {

namespace {

constexpr char16_t kProjectMagic30[] = u"VTLW30  ";
constexpr int16_t kRemovedPlace = 9999;

const std::string kCurrentDosText = " is a previous DOS version file. Contact KLD to convert!";

bool isElement(int v) { return v > 0 && v != kRemovedPlace; }

// ---------------------------------------------------------------- the store's tables

// Counters, ElemType[0..N] and the line sequence, as every version holds them, checked before any
// of them is used. The sequence is returned as read (removed places included).
struct StoreTables {
  int16_t seqLen = 0;
  std::array<int16_t, kMaxSeq + 2> seq{};  // one spare 0 after the last entry
};

void checkRange(int v, int lo, int hi, const char* what) {
  if (v < lo || v > hi) throw FileFormatError(what);
}

StoreTables readStoreTables(ByteReader& in, Project& pr) {
  StoreTables t;
  t.seqLen = in.i16();
  int16_t mainEnd = in.i16();
  int16_t counts[7];
  for (auto& c : counts) c = in.i16();
  int16_t activeBranches = in.i16();
  int16_t high = in.i16();
  checkRange(t.seqLen, 9, kMaxSeq, "sequence length");
  checkRange(mainEnd, 1, t.seqLen, "main line end");
  checkRange(high, 0, kMaxElem, "highest element number");
  for (int16_t c : counts) checkRange(c, 0, kMaxElem, "element count");
  checkRange(activeBranches, 0, 9, "active branches");
  pr.MainEnd = mainEnd;
  pr.tot_pipes = counts[0];
  pr.tot_valfits = counts[1];
  pr.tot_pumps = counts[2];
  pr.tot_fvhs = counts[3];
  pr.tot_elems = counts[4];
  pr.tot_nodes = counts[5];
  pr.tot_supplies = counts[6];
  pr.ActiveBranches = activeBranches;
  pr.HighElem = high;

  pr.ElemType.fill(0);
  for (int n = 0; n <= high; ++n) {
    int16_t type = in.i16();
    checkRange(type, 0, 7, "element type");
    if (n > 0) pr.ElemType[static_cast<size_t>(n)] = type;
  }
  for (int p = 0; p <= t.seqLen; ++p) t.seq[static_cast<size_t>(p)] = in.i16();
  t.seq[0] = 0;

  // The nine markers in order, element numbers of known type within 1..HighElem, removed places.
  int marker = 0;
  for (int p = 1; p <= t.seqLen; ++p) {
    int v = t.seq[static_cast<size_t>(p)];
    if (v < 0) {
      if (v != -(marker + 1)) throw FileFormatError("line markers out of order");
      ++marker;
    } else if (v != kRemovedPlace) {
      checkRange(v, 1, high, "element number in the sequence");
      checkRange(pr.ElemType[static_cast<size_t>(v)], 1, 7, "type of a placed element");
    }
  }
  if (marker != 9) throw FileFormatError("missing line markers");
  return t;
}

// Numbers that stand nowhere in the sequence are free: they keep no type.
void freeUnplacedNumbers(Project& pr) {
  for (int n = 1; n <= kMaxElem; ++n)
    if (pr.elemspot[static_cast<size_t>(n)] == 0) pr.ElemType[static_cast<size_t>(n)] = 0;
}

void rememberPipe(Project& pr, const Pipe& p, bool withNomIndex) {
  pr.last.DefFriction = p.Friction;
  pr.last.LastSchedule = fromShort(p.Schedule);
  pr.last.LastInsideDia = p.InsideDia;
  if (withNomIndex) {
    float v = p.NomIndex;
    pr.last.LastNomIndex = std::isfinite(v) && std::fabs(v) < 1e6f ? static_cast<int>(std::lround(v)) : -1;
  }
}

void fixNode(Node& n) {
  if (n.SupplyType == kFreeDischarge) n.Pressure = 0;
}

// ---------------------------------------------------------------- header parts

void readWideHeader(ByteReader& in, Project& pr, ProjReadResult& res) {
  for (auto& s : pr.proj.Info) s = trimmedWide(in.wide(40));
  res.sliderPosition = in.i16();
  pr.liquid.LiqDesc = trimmedWide(in.wide(40), 39);
  pr.liquid.LiqTemp = in.f32();
  pr.liquid.LiqSG = in.f32();
  pr.liquid.LiqKVis = in.f64();
  pr.liquid.LiqVP = in.f32();
  pr.liquid.LiqSpecHeat = in.f32();
  pr.liquid.LiqAllowTemp = in.f32();
}

void readSettings(ByteReader& in, Project& pr) {
  pr.sys.AtmPress = in.f32();
  pr.sys.SysType = in.i16();
  pr.sys.SysFlowPress = in.f32();
  pr.sys.Reserved = in.f32();
  pr.sys.RefGauge = in.i16();
  pr.sys.HeadCalc = in.i16();
  pr.sys.EqLen = in.u8() != 0;
  pr.sys.FlowTol = in.f32();
  checkRange(pr.sys.RefGauge, 0, kMaxElem, "reference gauge");
}

// Returns the Solved byte.
uint8_t readOldHeader(ByteReader& in, Project& pr, int16_t& slider) {
  for (auto& s : pr.proj.Info) s = trimmedAnsi(in.take(40).data(), 40);
  slider = in.i16();
  std::string desc = trimmedAnsi(in.take(40).data(), 40);
  // Kept to 39 one-byte characters before conversion.
  pr.liquid.LiqDesc = desc;
  if (desc.size() > 39) {
    std::u16string u(40, u'\0');
    toWide(desc, u.data(), 40);
    pr.liquid.LiqDesc = trimmedWide(u, 39);
  }
  pr.liquid.LiqTemp = in.f32();
  pr.liquid.LiqSG = in.f32();
  pr.liquid.LiqKVis = in.f64();
  pr.liquid.LiqVP = in.f32();
  pr.liquid.LiqSpecHeat = in.f32();
  pr.liquid.LiqAllowTemp = in.f32();
  readSettings(in, pr);
  return in.u8();
}

// ---------------------------------------------------------------- current version

void readCurrentVersion(ByteReader& in, Project& pr, ProjReadResult& res) {
  readWideHeader(in, pr, res);
  readSettings(in, pr);
  in.u8();  // the Solved flag at the time of saving: a file always opens unsolved
  pr.SetSolved(false);

  StoreTables t = readStoreTables(in, pr);
  pr.SeqLen = t.seqLen;
  std::copy(t.seq.begin(), t.seq.begin() + kMaxSeq + 1, pr.ElemSeq.begin());
  pr.elemspot.fill(0);
  for (int p = 1; p <= pr.SeqLen; ++p) {
    int n = pr.ElemSeq[static_cast<size_t>(p)];
    if (isElement(n) && pr.elemspot[static_cast<size_t>(n)] == 0) pr.elemspot[static_cast<size_t>(n)] = static_cast<int16_t>(p);
  }
  freeUnplacedNumbers(pr);

  for (int n = 1; n <= pr.HighElem; ++n) {
    auto i = static_cast<size_t>(n);
    if (pr.elemspot[i] == 0) continue;
    switch (pr.ElemType[i]) {
      case kPipe: {
        auto rec = std::make_unique<Pipe>();
        in.record(*rec);
        rememberPipe(pr, *rec, true);
        pr.pipe[i] = std::move(rec);
        break;
      }
      case kFitting:
      case kValve: {
        auto rec = std::make_unique<Valfit>();
        in.record(*rec);
        pr.valfit[i] = std::move(rec);
        break;
      }
      case kPump: {
        auto rec = std::make_unique<Pump>();
        in.record(*rec);
        refreshPump(*rec, false);
        pr.pump[i] = std::move(rec);
        break;
      }
      case kGauge:
      case kSupply: {
        auto rec = std::make_unique<Node>();
        in.record(*rec);
        fixNode(*rec);
        pr.node[i] = std::move(rec);
        break;
      }
      case kFVH: {
        auto rec = std::make_unique<FVH>();
        in.record(*rec);
        refreshFvh(*rec, false);
        pr.fvh[i] = std::move(rec);
        break;
      }
      default: throw FileFormatError("element type");  // excluded by readStoreTables
    }
    pr.IDList.add(pr.ElemID(n), n);
  }
}

// ---------------------------------------------------------------- older versions

void readOldRecords(ByteReader& in, Project& pr, OldLayout layout) {
  bool solved = pr.proj.Solved;
  for (int n = 1; n <= pr.HighElem; ++n) {
    auto i = static_cast<size_t>(n);
    if (pr.elemspot[i] == 0) continue;
    int type = pr.ElemType[i];
    const uint8_t* b = in.take(oldRecordSize(layout, type)).data();
    switch (type) {
      case kPipe: {
        pr.pipe[i] = std::make_unique<Pipe>(convertOldPipe(b, layout));
        rememberPipe(pr, *pr.pipe[i], false);
        break;
      }
      case kFitting:
      case kValve: pr.valfit[i] = std::make_unique<Valfit>(convertOldValfit(b, layout)); break;
      case kPump:
        pr.pump[i] = std::make_unique<Pump>(convertOldPump(b, layout));
        refreshPump(*pr.pump[i], solved);
        break;
      case kGauge:
      case kSupply:
        pr.node[i] = std::make_unique<Node>(convertOldNode(b, layout));
        fixNode(*pr.node[i]);
        break;
      case kFVH:
        pr.fvh[i] = std::make_unique<FVH>(convertOldFvh(b, layout, true));
        refreshFvh(*pr.fvh[i], solved);
        break;
      default: throw FileFormatError("element type");
    }
    // Version 1.0 records carry no ID: the element number stands for it.
    if (layout == OldLayout::V10) pr.setElemID(n, std::to_string(n));
    pr.IDList.add(pr.ElemID(n), n);
  }
}

}  // namespace

void OpenVTWinProj10(ByteReader& in, Project& pr, int16_t& sliderPosition) {
  uint8_t solved = readOldHeader(in, pr, sliderPosition);
  pr.SetSolved(solved != 0);
  StoreTables t = readStoreTables(in, pr);
  pr.elemspot.fill(0);
  pr.ElemSeq.fill(0);
  // Copied entry by entry; an element already copied that stands again between two elements is a
  // duplicate placement and is left out.
  std::array<bool, kMaxElem + 1> copied{};
  bool duplicate = false;
  int k = 0;
  for (int j = 1; j <= t.seqLen; ++j) {
    int v = t.seq[static_cast<size_t>(j)];
    if (isElement(v) && copied[static_cast<size_t>(v)] && isElement(t.seq[static_cast<size_t>(j - 1)]) &&
        isElement(t.seq[static_cast<size_t>(j + 1)])) {
      duplicate = true;
      continue;
    }
    pr.ElemSeq[static_cast<size_t>(++k)] = static_cast<int16_t>(v);
    if (isElement(v)) {
      copied[static_cast<size_t>(v)] = true;
      pr.elemspot[static_cast<size_t>(v)] = static_cast<int16_t>(k);
    }
  }
  pr.SeqLen = static_cast<int16_t>(k);
  if (duplicate) pr.prompter().message(MsgKind::Error, "Duplicate placement of elements is not allowed! Will fix...");
  freeUnplacedNumbers(pr);
  readOldRecords(in, pr, OldLayout::V10);
}

void OpenVTWinProj20(ByteReader& in, Project& pr, int16_t& sliderPosition) {
  readOldHeader(in, pr, sliderPosition);  // the Solved byte is discarded
  pr.SetSolved(false);
  StoreTables t = readStoreTables(in, pr);
  pr.SeqLen = t.seqLen;
  std::copy(t.seq.begin(), t.seq.begin() + kMaxSeq + 1, pr.ElemSeq.begin());
  pr.elemspot.fill(0);
  for (int j = 1; j <= pr.SeqLen; ++j) {
    int n = pr.ElemSeq[static_cast<size_t>(j)];
    if (!isElement(n) || pr.elemspot[static_cast<size_t>(n)] != 0) continue;
    if (pr.ElemType[static_cast<size_t>(n)] != kGauge) {
      pr.elemspot[static_cast<size_t>(n)] = static_cast<int16_t>(j);
      continue;
    }
    int before = pr.ElemSeq[static_cast<size_t>(j - 1)], after = pr.ElemSeq[static_cast<size_t>(j + 1)];
    if ((isElement(before) && isElement(after)) || after == -1) pr.elemspot[static_cast<size_t>(n)] = static_cast<int16_t>(j);
  }
  // A gauge that stands only at line ends would otherwise have no record: every element in the
  // sequence has one in the file, so it takes its first place.
  for (int j = 1; j <= pr.SeqLen; ++j) {
    int n = pr.ElemSeq[static_cast<size_t>(j)];
    if (isElement(n) && pr.elemspot[static_cast<size_t>(n)] == 0) pr.elemspot[static_cast<size_t>(n)] = static_cast<int16_t>(j);
  }
  freeUnplacedNumbers(pr);
  readOldRecords(in, pr, OldLayout::V20);
}

std::u16string procstr(const std::string& text) {
  std::u16string u(40, u'\0');
  toWide(text, u.data(), 40);
  bool ended = false;
  for (char16_t& c : u) {
    if (c == 0) ended = true;
    if (ended) c = u' ';
  }
  return u;
}

std::string systemTypeText(int sysType) {
  switch (sysType) {
    case 1: return "Open source and discharge";
    case 2: return "Forced flow system";
    case 3: return "Closed loop recirculating system";
    default: return "";
  }
}

namespace {

// Steps after any version has been read: close up removed places, recompute the derived tables,
// convert what older files hold differently.
void finishReading(Project& pr, ProjectVersion version, const ProjectFileHooks& hooks) {
  int kept = 0;
  for (int p = 0; p <= pr.SeqLen; ++p) {
    int16_t v = pr.ElemSeq[static_cast<size_t>(p)];
    if (v == kRemovedPlace) continue;
    pr.ElemSeq[static_cast<size_t>(kept++)] = v;
  }
  for (int p = kept; p <= pr.SeqLen; ++p) pr.ElemSeq[static_cast<size_t>(p)] = 0;
  pr.SeqLen = static_cast<int16_t>(kept - 1);

  // The main line's end moves when removed places before it close up.
  pr.ComputeMainEnd();
  pr.ComputeHighElem();
  pr.ComputeLines();
  pr.RefreshSpots();
  pr.BuildPrevNext();

  if (version == ProjectVersion::V10 || version == ProjectVersion::V20) {
    for (int n = 1; n <= pr.HighElem; ++n) {
      auto i = static_cast<size_t>(n);
      if (pr.elemspot[i] == 0 || pr.ElemType[i] != kPipe || !pr.pipe[i]) continue;
      Pipe& p = *pr.pipe[i];
      std::string code = fromShort(p.Schedule);
      if (code.size() == 4 && hooks.scheduleByOldIndex)
        if (auto key = hooks.scheduleByOldIndex(code)) toShort(*key, p.Schedule);
      convertOldNominalSize(p);
      // New pipes are offered the converted values, not the old codes.
      rememberPipe(pr, p, false);
    }
  }
  pr.idBranches(pr.CurLine);
  pr.SetModified(false);
}

}  // namespace

ProjReadResult readProjectBytes(Project& pr, ElementClipboard& clip, std::span<const uint8_t> bytes,
                                const std::string& path, const ProjectFileHooks& hooks) {
  ProjReadResult res;
  res.bareName = bareFileName(path);
  Prompter& pm = pr.prompter();

  // What a damaged file must not leave half-overwritten.
  auto savedInfo = pr.proj.Info;
  auto savedLiquid = pr.liquid;
  auto savedSys = pr.sys;
  auto savedLast = pr.last;
  pr.ClearProject();

  ByteReader in(bytes);
  bool readClipSection = false;
  try {
    if (bytes.size() >= 8 && in.wide(4) == u"VTLW") {
      std::u16string ver = in.wide(4);
      if (ver[0] == u'3' && ver[1] == u'0') {
        readCurrentVersion(in, pr, res);
        res.version = ProjectVersion::V30;
        readClipSection = true;
      }
    } else {
      auto starts = [&](const char* s) { return bytes.size() >= 4 && std::equal(s, s + 4, bytes.begin()); };
      if (starts("VT20")) {
        pm.message(MsgKind::Information, path + kCurrentDosText);
        res.status = ProjReadResult::Status::DosVersion;
        return res;
      }
      if (!starts("VTLW")) {
        pm.message(MsgKind::Error, path + " is not a VORTELAN project file or has been corrupted!");
        res.status = ProjReadResult::Status::NotProject;
        return res;
      }
      ByteReader old(bytes);
      old.skip(4);
      auto ver = old.take(4);
      if (ver[0] == '1' && ver[1] == '0') {
        OpenVTWinProj10(old, pr, res.sliderPosition);
        res.version = ProjectVersion::V10;
      } else if (ver[0] == '2' && ver[1] == '0') {
        OpenVTWinProj20(old, pr, res.sliderPosition);
        res.version = ProjectVersion::V20;
      }
      pr.SetSolved(false);
    }
  } catch (const FileFormatError&) {
    pm.message(MsgKind::Error, "Error reading file: " + res.bareName);
    pr.ClearProject();
    pr.proj.Info = savedInfo;
    pr.liquid = savedLiquid;
    pr.sys = savedSys;
    pr.sys.SysType = 1;
    pr.sys.SysFlowPress = 0;
    pr.last = savedLast;
    res.status = ProjReadResult::Status::Damaged;
    return res;
  }
  res.status = ProjReadResult::Status::Read;
  // The specific gravity read converts between pressure and head.
  if (res.version != ProjectVersion::Unknown) updatePressureFactors(pr.units, pr.liquid.LiqSG);

  if (readClipSection) {
    ClipReadResult c = ReadClipboard(in, pr, clip, res.bareName);
    if (c.status == ClipReadStatus::Damaged) {
      // The clipboard keeps the entries it held before; only the file's section is dropped.
      pm.message(MsgKind::Error, "File OK, but error reading clipboard from " + res.bareName);
      res.clipboardDamaged = true;
    }
    res.clipboardEntriesRead = c.appended;
  }
  if (!clip.empty()) clip.caption = res.bareName + " Clipboard";
  res.systemTypeText = systemTypeText(pr.sys.SysType);
  finishReading(pr, res.version, hooks);
  return res;
}

ProjReadResult getProjData(Project& pr, ElementClipboard& clip, const std::string& path,
                           const ProjectFileHooks& hooks) {
  ProjReadResult res;
  if (path.empty()) return res;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    pr.prompter().message(MsgKind::Error, path + " does not exist!");
    res.status = ProjReadResult::Status::Missing;
    res.bareName = bareFileName(path);
    return res;
  }
  std::vector<uint8_t> bytes;
  auto projectHead = [](const std::vector<uint8_t>& h) {
    static const uint8_t wide[8] = {'V', 0, 'T', 0, 'L', 0, 'W', 0};
    return std::equal(wide, wide + 8, h.begin()) || std::equal(h.begin(), h.begin() + 4, "VTLW");
  };
  if (!readFileBytes(path, bytes, projectHead)) {
    // Unreadable: the same outcome as a damaged file.
    pr.ClearProject();
    pr.prompter().message(MsgKind::Error, "Error reading file: " + bareFileName(path));
    res.status = ProjReadResult::Status::Damaged;
    res.bareName = bareFileName(path);
    return res;
  }
  return readProjectBytes(pr, clip, bytes, path, hooks);
}

// ---------------------------------------------------------------- writing

namespace {

bool hasRecord(const Project& pr, int n) {
  auto i = static_cast<size_t>(n);
  switch (pr.ElemType[i]) {
    case kPipe: return pr.pipe[i] != nullptr;
    case kFitting:
    case kValve: return pr.valfit[i] != nullptr;
    case kPump: return pr.pump[i] != nullptr;
    case kGauge:
    case kSupply: return pr.node[i] != nullptr;
    case kFVH: return pr.fvh[i] != nullptr;
    default: return false;
  }
}

void writeRecord(ByteWriter& w, const Project& pr, int n) {
  auto i = static_cast<size_t>(n);
  switch (pr.ElemType[i]) {
    case kPipe: w.record(*pr.pipe[i]); break;
    case kFitting:
    case kValve: w.record(*pr.valfit[i]); break;
    case kPump: w.record(*pr.pump[i]); break;
    case kGauge:
    case kSupply: w.record(*pr.node[i]); break;
    case kFVH: w.record(*pr.fvh[i]); break;
    default: break;
  }
}

void putWide(ByteWriter& w, const std::u16string& u) {
  for (char16_t c : u) w.put(c);
}

int16_t small(int v) { return static_cast<int16_t>(std::clamp(v, -32768, 32767)); }

}  // namespace

std::vector<uint8_t> SaveProj(Project& pr, const ElementClipboard& clip, const SaveOptions& opt) {
  ByteWriter w;
  putWide(w, std::u16string(kProjectMagic30, 8));
  for (const auto& s : pr.proj.Info) putWide(w, procstr(s));
  w.i16(opt.sliderPosition);
  putWide(w, procstr(pr.liquid.LiqDesc));
  w.f32(pr.liquid.LiqTemp);
  w.f32(pr.liquid.LiqSG);
  w.f64(pr.liquid.LiqKVis);
  w.f32(pr.liquid.LiqVP);
  w.f32(pr.liquid.LiqSpecHeat);
  w.f32(pr.liquid.LiqAllowTemp);
  w.f32(pr.sys.AtmPress);
  w.i16(pr.sys.SysType);
  w.f32(pr.sys.SysFlowPress);
  w.f32(pr.sys.Reserved);
  w.i16(pr.sys.RefGauge);
  w.i16(pr.sys.HeadCalc);
  w.u8(pr.sys.EqLen ? 1 : 0);
  w.f32(pr.sys.FlowTol);
  w.u8(pr.proj.Solved ? 1 : 0);

  pr.ComputeHighElem();
  // An element that cannot be written stands in the file as a removed place, so that the file
  // stays readable and loses only that element.
  int seqLen = std::clamp<int>(pr.SeqLen, 0, kMaxSeq);
  std::array<int16_t, kMaxSeq + 1> seq{};
  std::array<bool, kMaxElem + 1> placed{}, reported{};
  int high = 0;
  for (int p = 1; p <= seqLen; ++p) {
    int v = pr.ElemSeq[static_cast<size_t>(p)];
    if (v > 0 && (v > kMaxElem || !hasRecord(pr, v))) {
      if (v <= kMaxElem && !reported[static_cast<size_t>(v)]) {
        pr.prompter().message(MsgKind::Error, "Error on type Save Proj!");
        reported[static_cast<size_t>(v)] = true;
      }
      v = kRemovedPlace;
    } else if (v > 0) {
      placed[static_cast<size_t>(v)] = true;
      high = std::max(high, v);
    }
    seq[static_cast<size_t>(p)] = static_cast<int16_t>(v);
  }

  w.i16(small(seqLen));
  w.i16(pr.MainEnd);
  for (int c : {pr.tot_pipes, pr.tot_valfits, pr.tot_pumps, pr.tot_fvhs, pr.tot_elems, pr.tot_nodes, pr.tot_supplies})
    w.i16(small(c));
  w.i16(small(pr.ActiveBranches));
  w.i16(small(high));
  for (int n = 0; n <= high; ++n) w.i16(n > 0 && placed[static_cast<size_t>(n)] ? pr.ElemType[static_cast<size_t>(n)] : 0);
  for (int p = 0; p <= seqLen; ++p) w.i16(seq[static_cast<size_t>(p)]);
  for (int n = 1; n <= high; ++n)
    if (placed[static_cast<size_t>(n)]) writeRecord(w, pr, n);

  bool withEntries = false;
  if (!clip.empty()) {
    switch (opt.clipboard) {
      case ClipboardChoice::Always: withEntries = true; break;
      case ClipboardChoice::Never: break;
      case ClipboardChoice::Ask:
        withEntries = pr.prompter().message(MsgKind::Confirmation,
                                            "Do you want to save your Clipboard (" + std::to_string(clip.count()) +
                                                " elements) with this project?",
                                            Buttons::YesNo) == Answer::Yes;
        break;
    }
  }
  if (withEntries) PutClipboard(w, clip, true);
  PutClipboard(w, clip, false);
  return std::move(w.bytes());
}

bool saveProjectFile(Project& pr, const ElementClipboard& clip, const std::string& path, const SaveOptions& opt) {
  std::vector<uint8_t> bytes = SaveProj(pr, clip, opt);
  WriteResult r = writeFileAtomically(path, bytes);
  if (!r.ok) {
    pr.prompter().message(MsgKind::Error, "Error saving file: " + bareFileName(path) + " (" + r.error +
                                              "). Any earlier version of the file is unchanged.");
    return false;
  }
  return true;
}

}  // namespace vt
