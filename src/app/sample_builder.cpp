#include "app/sample_builder.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <map>
#include <optional>
#include <sstream>
#include <vector>

#include "app/startup.h"
#include "model/fixed_tables.h"
#include "files/project_file.h"
#include "solver/curves.h"
#include "solver/solution.h"
#include "units/number_format.h"

namespace vt {

namespace {

constexpr std::array<double, 12> kValfitSizes = {0.5, 0.75, 1, 1.25, 1.5, 2, 2.5, 4, 6, 8, 12, 18};
constexpr std::array<const char*, 12> kValfitColumns = {".5", ".75", "1.", "1.25", "1.5", "2.",
                                                        "2.5", "4.", "6.", "8.", "12.", "18."};

std::string trim(const std::string& s) {
  size_t a = s.find_first_not_of(" \t\r");
  if (a == std::string::npos) return {};
  size_t b = s.find_last_not_of(" \t\r");
  return s.substr(a, b - a + 1);
}

// One line of a description: its keyword, the words after it and its key=value pairs.
struct Statement {
  int lineNo = 0;
  std::string kind;
  std::vector<std::string> words;
  std::map<std::string, std::string> values;
  std::string rest;  // everything after the keyword, for free texts

  [[noreturn]] void fail(const std::string& what) const {
    throw SampleError("line " + std::to_string(lineNo) + ": " + what);
  }
  bool has(const std::string& key) const { return values.count(key) != 0; }
  std::string text(const std::string& key) const {
    auto it = values.find(key);
    if (it == values.end()) fail("missing " + key + "=");
    return it->second;
  }
  double number(const std::string& key) const { return toNumber(text(key), key); }
  double number(const std::string& key, double otherwise) const { return has(key) ? number(key) : otherwise; }
  std::vector<double> numbers(const std::string& key, size_t count) const {
    std::vector<double> out;
    std::stringstream ss(text(key));
    std::string item;
    while (std::getline(ss, item, ',')) out.push_back(toNumber(trim(item), key));
    if (out.size() != count) fail(key + "= needs " + std::to_string(count) + " values");
    return out;
  }
  double toNumber(const std::string& t, const std::string& key) const {
    double v = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec != std::errc() || end != t.data() + t.size() || !std::isfinite(v)) fail("bad number for " + key + ": " + t);
    return v;
  }
  const std::string& id() const {
    if (words.empty()) fail(kind + " needs an ID");
    if (words[0].size() > kIdLen) fail("ID longer than 15 characters: " + words[0]);
    return words[0];
  }
};

Statement parseLine(const std::string& raw, int lineNo) {
  Statement st;
  st.lineNo = lineNo;
  std::string line = raw.substr(0, raw.find('#'));
  line = trim(line);
  size_t sp = line.find_first_of(" \t");
  st.kind = line.substr(0, sp);
  st.rest = sp == std::string::npos ? "" : trim(line.substr(sp));
  std::stringstream ss(st.rest);
  std::string word;
  while (ss >> word) {
    size_t eq = word.find('=');
    if (eq == std::string::npos)
      st.words.push_back(word);
    else
      st.values[word.substr(0, eq)] = word.substr(eq + 1);
  }
  return st;
}

float ft2in(double ft) { return static_cast<float>(ft * 12.0); }

class Builder {
 public:
  Builder(SampleTables& t, Project& p) : t_(t), p_(p) {}

  std::string run(const std::string& description) {
    p_.ClearProject();
    applyProjectDefaults(t_.config, p_);
    p_.sys.SysFlowPress = 0;
    std::stringstream in(description);
    std::string raw;
    int lineNo = 0;
    while (std::getline(in, raw)) {
      ++lineNo;
      Statement st = parseLine(raw, lineNo);
      if (!st.kind.empty()) statement(st);
    }
    if (fileName_.empty()) throw SampleError("no file line");
    if (closedGauge_) {
      int g = p_.IDList.find(*closedGauge_);
      if (g <= 0 || p_.ElemType[g] != kGauge) throw SampleError("closed loop reference " + *closedGauge_ + " is not a gauge");
      p_.sys.RefGauge = static_cast<int16_t>(g);
    }
    for (int k = 1; k < kLines; ++k) p_.idBranches(k);
    p_.CurLine = 0;
    p_.RefreshSpots();
    p_.SetSolved(false);
    p_.SetModified(false);
    return fileName_;
  }

 private:
  void statement(const Statement& st) {
    if (st.kind == "file") {
      fileName_ = st.rest;
    } else if (st.kind == "info") {
      info(st);
    } else if (st.kind == "system") {
      system(st);
    } else if (st.kind == "equation") {
      equation(st);
    } else if (st.kind == "tolerance") {
      double tol = st.toNumber(st.rest, "tolerance");
      if (tol < 0.0001) st.fail("the flow tolerance must be at least 0.0001 gpm");
      p_.sys.FlowTol = static_cast<float>(tol);
    } else if (st.kind == "schedule") {
      schedule(st);
    } else if (st.kind == "line") {
      line(st);
    } else if (st.kind == "supply") {
      supply(st);
    } else if (st.kind == "pipe") {
      pipe(st);
    } else if (st.kind == "fitting" || st.kind == "valve") {
      valfit(st, st.kind == "fitting" ? kFitting : kValve);
    } else if (st.kind == "pump") {
      pump(st);
    } else if (st.kind == "fvh") {
      fvh(st);
    } else if (st.kind == "gauge") {
      gauge(st);
    } else if (st.kind == "at") {
      int n = p_.IDList.find(st.id());
      if (n <= 0) st.fail("no element " + st.id());
      if (p_.ElemType[n] != kGauge && p_.ElemType[n] != kSupply) st.fail(st.id() + " is not a gauge or supply");
      place(st, n);
    } else if (st.kind == "desc") {
      if (last_ == 0) st.fail("desc before any element");
      setDescription(last_, st.rest);
    } else {
      st.fail("unknown kind '" + st.kind + "'");
    }
  }

  void info(const Statement& st) {
    static const std::array<const char*, 9> names = {"project", "client",   "engineer", "firm", "address1",
                                                     "address2", "phone", "fax",      "email"};
    std::string key = st.rest.substr(0, st.rest.find(' '));
    for (size_t i = 0; i < names.size(); ++i)
      if (key == names[i]) {
        p_.proj.Info[i] = key.size() < st.rest.size() ? trim(st.rest.substr(key.size())) : "";
        return;
      }
    st.fail("unknown info field '" + key + "'");
  }

  void system(const Statement& st) {
    const std::string kind = st.words.empty() ? "" : st.words[0];
    if (kind == "open") {
      p_.sys.SysType = 1;
      p_.sys.SysFlowPress = kBlank;
    } else if (kind == "forced") {
      p_.sys.SysType = 2;
      p_.sys.SysFlowPress = static_cast<float>(st.number("flow"));
    } else if (kind == "closed") {
      p_.sys.SysType = 3;
      p_.sys.SysFlowPress = static_cast<float>(st.number("pressure"));
      closedGauge_ = st.text("gauge");
    } else {
      st.fail("system must be open, forced or closed");
    }
  }

  void equation(const Statement& st) {
    static const std::map<std::string, int16_t> eq = {
        {"hazen-williams", 1}, {"darcy-weisbach", 2}, {"chezy-manning", 3}};
    auto it = eq.find(st.rest);
    if (it == eq.end()) st.fail("unknown equation '" + st.rest + "'");
    p_.sys.HeadCalc = it->second;
    p_.last.DefFriction = defaultFriction(it->second);
  }

  void schedule(const Statement& st) {
    Row* r = t_.schedules.locate({{"Description", st.rest}});
    if (!r) st.fail("no pipe schedule '" + st.rest + "'");
    schedKey_ = r->str("Index");
    static const std::array<const char*, 4> frictionField = {"", "HWCoef", "SpecRough", "MannCoef"};
    schedFriction_ = r->num(frictionField[static_cast<size_t>(p_.sys.HeadCalc)], 0);
  }

  void line(const Statement& st) {
    if (st.words.size() == 1 && st.words[0] == "main") {
      line_ = 0;
    } else if (st.words.size() == 2 && st.words[0] == "branch") {
      int k = static_cast<int>(st.toNumber(st.words[1], "branch"));
      if (k < 1 || k > 9) st.fail("branch must be 1..9");
      line_ = k;
    } else {
      st.fail("line must be 'main' or 'branch K'");
    }
  }

  // The inside diameter of a nominal size of the current schedule, or dia=.
  float diameter(const Statement& st, int* nomIndex = nullptr) {
    if (st.has("dia")) {
      if (nomIndex) *nomIndex = -1;
      return static_cast<float>(st.number("dia"));
    }
    double nom = st.number("nom");
    if (schedKey_.empty()) st.fail("nom= needs a schedule line first");
    const Row* z = t_.sizes.locate({{"Index", schedKey_}, {"NomSize", nom}});
    if (!z || z->isNull("InDia")) st.fail("the schedule has no size " + st.text("nom"));
    if (nomIndex) *nomIndex = nominalPosition(static_cast<float>(nom), false);
    return static_cast<float>(z->num("InDia"));
  }

  int create(const Statement& st, int type) {
    if (p_.IDList.find(st.id()) > 0) st.fail("ID used twice: " + st.id());
    int n = p_.FirstFreeElem();
    if (n == 0) st.fail("no free element number");
    p_.createElement(n, type);
    p_.setElemID(n, st.id());
    return n;
  }

  void place(const Statement& st, int n) {
    int pos = line_ == 9 ? p_.SeqLen + 1 : p_.LineEnd[static_cast<size_t>(line_)] + 1;
    if (!p_.insertInSeq(n, pos)) st.fail("the line sequence is full");
    last_ = n;
  }

  void setDescription(int n, const std::string& text) {
    char16_t* dst = nullptr;
    switch (p_.ElemType[n]) {
      case kPipe: dst = p_.pipe[n]->Description; break;
      case kFitting:
      case kValve: dst = p_.valfit[n]->Description; break;
      case kPump: dst = p_.pump[n]->Description; break;
      case kGauge:
      case kSupply: dst = p_.node[n]->Description; break;
      case kFVH: dst = p_.fvh[n]->Description; break;
      default: return;
    }
    toWide(text, dst, kDescLen);
  }

  void supply(const Statement& st) {
    static const std::map<std::string, int16_t> types = {{"open", 0}, {"closed", 1}, {"force", 2}, {"free", 3}};
    auto type = types.find(st.text("type"));
    if (type == types.end()) st.fail("supply type must be open, closed, force or free");
    int n = create(st, kSupply);
    Node& nd = *p_.node[n];
    nd.SupplyType = type->second;
    nd.Elev = ft2in(st.number("elev"));
    nd.InletElev = ft2in(st.number("inlet", st.number("elev")));
    if (nd.InletElev > nd.Elev) st.fail("the inlet cannot be above the liquid surface");
    const bool tank = nd.SupplyType <= 1;
    nd.Pressure = (nd.SupplyType == 1 || nd.SupplyType == 2) ? static_cast<float>(st.number("pressure")) : 0.0f;
    int entry = static_cast<int>(st.number("entry", 0));
    if (entry < 0 || entry >= kInletExitTypeCount) st.fail("entry must be 0..8");
    nd.InletExitType = static_cast<int16_t>(tank ? entry : 0);
    nd.InletK = tank ? inletExitK(entry) : 0.0f;
    if (st.has("dia") || st.has("nom")) nd.InletDia = diameter(st);
    place(st, n);
  }

  void pipe(const Statement& st) {
    int n = create(st, kPipe);
    Pipe& pp = *p_.pipe[n];
    int nomIndex = -1;
    pp.InsideDia = diameter(st, &nomIndex);
    pp.NomIndex = static_cast<float>(nomIndex);
    pp.Length = ft2in(st.number("length"));
    if (pp.Length <= 0 || pp.InsideDia <= 0) st.fail("length and diameter must be positive");
    pp.Friction = st.number("friction", schedFriction_ > 0 ? schedFriction_ : p_.last.DefFriction);
    if (st.has("nom")) toShort(schedKey_, pp.Schedule);
    place(st, n);
  }

  void valfit(const Statement& st, int type) {
    int n = create(st, type);
    Valfit& v = *p_.valfit[n];
    v.Code = static_cast<int16_t>(st.number("code"));
    const bool noDiameter = v.Code == 56 || v.Code == -6;
    if (!noDiameter) v.Dia = diameter(st);
    if (st.has("k")) {
      v.Coef = static_cast<float>(st.number("k"));
    } else if (!noDiameter) {
      double k = valfitKAt(t_.valfit, v.Code, v.Dia);
      if (k < 0) st.fail("kind " + st.text("code") + " is not in the valve and fitting table");
      v.Coef = static_cast<float>(k);
    }
    v.Dir = static_cast<int16_t>(st.number("dir", 1));
    if (v.Dir != 1 && v.Dir != -1) st.fail("dir must be 1 or -1");
    v.Parm = static_cast<float>(st.number("parm", 0));
    if (st.has("elev")) v.Elev = ft2in(st.number("elev"));
    if (const Row* r = t_.valfit.locate({{"ID", static_cast<int>(v.Code)}})) setDescription(n, r->str("Desc"));
    place(st, n);
  }

  void pump(const Statement& st) {
    int n = create(st, kPump);
    Pump& pu = *p_.pump[n];
    pu.Elev = ft2in(st.number("elev"));
    pu.FlowIncr = static_cast<float>(st.number("incr"));
    std::vector<double> h = st.numbers("heads", 4);
    pu.ShutoffHead = static_cast<float>(h[0]);
    pu.Head1 = static_cast<float>(h[1]);
    pu.Head2 = static_cast<float>(h[2]);
    pu.Head3 = static_cast<float>(h[3]);
    pu.CurveDefined = 1;
    pu.DesignFlow = static_cast<float>(st.number("design", 2.0 * pu.FlowIncr));
    pu.Dir = static_cast<int16_t>(st.number("dir", 1));
    if (st.has("speed")) pu.Speed = static_cast<int16_t>(st.number("speed"));
    if (!FitPumpCurve(pu)) st.fail("the pump curve cannot be fitted");
    if (st.has("npshr")) {
      std::vector<double> r = st.numbers("npshr", 3);
      pu.NPSHR1 = static_cast<float>(r[0]);
      pu.NPSHR2 = static_cast<float>(r[1]);
      pu.NPSHR3 = static_cast<float>(r[2]);
      if (!FitNpshr(pu)) st.fail("the NPSHR curve cannot be fitted");
    }
    place(st, n);
  }

  void fvh(const Statement& st) {
    int n = create(st, kFVH);
    FVH& f = *p_.fvh[n];
    f.FlowIncr = static_cast<float>(st.number("incr"));
    std::vector<double> h = st.numbers("losses", 2);
    f.HeadLoss1 = static_cast<float>(h[0]);
    f.HeadLoss2 = static_cast<float>(h[1]);
    f.Dir = static_cast<int16_t>(st.number("dir", 1));
    if (!FitFvhCurve(f)) st.fail("the FVH curve cannot be fitted");
    place(st, n);
  }

  void gauge(const Statement& st) {
    int n = create(st, kGauge);
    p_.node[n]->Elev = ft2in(st.number("elev"));
    p_.node[n]->Flow = static_cast<float>(st.number("demand", 0));
    place(st, n);
  }

  SampleTables& t_;
  Project& p_;
  std::string fileName_;
  std::string schedKey_;
  double schedFriction_ = 0;
  std::optional<std::string> closedGauge_;
  int line_ = 0;
  int last_ = 0;
};

}  // namespace

SampleTables SampleTables::load(const std::filesystem::path& dataFolder) {
  SampleTables t{loadConfig((dataFolder / "VTDefs.XML").string()), Table::load(dataFolder / "PipeSched.XML"),
                 Table::load(dataFolder / "PipeSizes.XML"), Table::load(dataFolder / "Valfit.XML")};
  t.schedules.requireFields({"Index", "Description", "HWCoef", "SpecRough", "MannCoef"});
  t.sizes.requireFields({"Index", "NomSize", "InDia"});
  t.valfit.requireFields({"ID", "Desc", ".5", ".75", "1.", "1.25", "1.5", "2.", "2.5", "4.", "6.", "8.", "12.", "18."});
  return t;
}

double valfitKAt(const Table& valfit, int code, double diaIn) {
  const Row* r = valfit.locate({{"ID", code}});
  if (!r) return -1;
  size_t column = 0;
  for (size_t i = 0; i < kValfitSizes.size(); ++i)
    if (kValfitSizes[i] <= diaIn) column = i;
  return r->num(kValfitColumns[column], -1);
}

std::string buildSample(const std::string& description, SampleTables& tables, Project& project) {
  return Builder(tables, project).run(description);
}

}  // namespace vt

namespace vt {

std::vector<uint8_t> sampleFileBytes(Project& project) {
  ElementClipboard none;
  SaveOptions options;
  options.clipboard = ClipboardChoice::Never;
  return SaveProj(project, none, options);
}

namespace {

// One row per placed element in line order: what an engineer looks at to judge a sample. The
// value column is the head loss of pipes, fittings, valves and FVHs, the head of pumps and the
// pressure head of gauges and supplies.
std::string resultTable(Project& p) {
  std::string out = format("%-15s %-7s %10s %10s %10s\n", {"ID", "Type", "Flow gpm", "Value ft", "HGL ft"});
  for (int i = 1; i <= p.SeqLen; ++i) {
    const int n = p.ElemSeq[static_cast<size_t>(i)];
    if (n < 0) {
      out += "-- branch " + std::to_string(-n) + "\n";
      continue;
    }
    double value = 0;
    switch (p.ElemType[n]) {
      case kPipe: value = p.pipe[n]->HeadLoss; break;
      case kFitting:
      case kValve: value = p.valfit[n]->HeadLoss; break;
      case kPump: value = p.pump[n]->Head; break;
      case kGauge:
      case kSupply: value = p.node[n]->Pressure; break;
      case kFVH: value = p.fvh[n]->HeadLoss; break;
      default: break;
    }
    out += format("%-15s %-7s %10.2f %10.2f %10.2f\n",
                  {p.ElemID(n), typeName(p.ElemType[n]), p.ElemFlow(n), value, p.ElemHGL[static_cast<size_t>(n)]});
  }
  return out;
}

}  // namespace

bool solveSample(const std::vector<uint8_t>& bytes, std::string& messages, std::string* results) {
  Project p;
  ScriptedPrompter quiet;
  p.setPrompter(&quiet);
  ElementClipboard clip;
  ProjReadResult read = readProjectBytes(p, clip, bytes, "sample");
  if (!read.ok()) {
    messages = "the sample cannot be read back\n";
    for (const std::string& t : quiet.texts()) messages += t + "\n";
    return false;
  }
  PlainSolveHost host;
  Solution s(p, host);
  s.RunSolution();
  messages.clear();
  for (const auto& line : s.list.lines()) messages += line.text + "\n";
  for (const std::string& t : host.errorBoxes) messages += t + "\n";
  if (results) *results = resultTable(p);
  return p.proj.Solved;
}

std::vector<std::filesystem::path> sampleDescriptions(const std::filesystem::path& dataFolder) {
  std::vector<std::filesystem::path> out;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(dataFolder / "Projects" / "src", ec))
    if (e.path().extension() == ".txt") out.push_back(e.path());
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace vt
