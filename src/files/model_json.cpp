#include "files/model_json.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "files/byte_io.h"

namespace vt {

namespace {

class Json {
 public:
  std::string out;

  void open(char c) {
    sep();
    out += c;
    first_ = true;
  }
  void close(char c) {
    out += c;
    first_ = false;
  }
  void key(const std::string& k) {
    sep();
    str(k);
    out += ':';
    first_ = true;  // the value follows without a comma
  }
  void value(const std::string& s) {
    sep();
    str(s);
  }
  void value(const char* s) { value(std::string(s)); }
  void value(bool b) {
    sep();
    out += b ? "true" : "false";
  }
  void value(int v) {
    sep();
    out += std::to_string(v);
  }
  void value(float v) { real(v); }
  void null() {
    sep();
    out += "null";
  }
  void value(double v) { real(v); }

  template <class T>
  void field(const std::string& k, const T& v) {
    key(k);
    value(v);
  }

 private:
  bool first_ = true;

  void sep() {
    if (!first_) out += ',';
    first_ = false;
  }
  template <class T>
  void real(T v) {
    sep();
    if (!std::isfinite(v)) {
      out += "null";
      return;
    }
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v);  // shortest text that reads back the same value
    out.append(buf, r.ptr);
  }
  void str(const std::string& s) {
    out += '"';
    for (unsigned char c : s) {
      switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
          if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
          } else {
            out += static_cast<char>(c);
          }
      }
    }
    out += '"';
  }
};

std::string wide(const char16_t* c, int n) { return fromWide(c, n); }
// Schedules hold one-byte text; shown as Windows-1252 so that any byte gives valid text.
std::string schedule(const ShortString<38>& s) {
  size_t n = s.len > 38 ? 38 : s.len;
  return fromAnsi(reinterpret_cast<const uint8_t*>(s.text), n);
}

void record(Json& j, const Pipe& r) {
  j.field("ID", wide(r.ID, kIdLen));
  j.field("Flags", int{r.Flags});
  j.field("Length", r.Length);
  j.field("Schedule", schedule(r.Schedule));
  j.field("StartElev", r.StartElev);
  j.field("EndElev", r.EndElev);
  j.field("NomIndex", r.NomIndex);
  j.field("InsideDia", r.InsideDia);
  j.field("Friction", r.Friction);
  j.field("Flow", r.Flow);
  j.field("HeadLoss", r.HeadLoss);
  j.field("Description", wide(r.Description, kDescLen));
}

void record(Json& j, const Valfit& r) {
  j.field("ID", wide(r.ID, kIdLen));
  j.field("Flags", int{r.Flags});
  j.field("Code", int{r.Code});
  j.field("Elev", r.Elev);
  j.field("Coef", r.Coef);
  j.field("CoefMode", int{r.CoefMode});
  j.field("Dia", r.Dia);
  j.field("EqLength", r.EqLength);
  j.field("Dir", int{r.Dir});
  j.field("Parm", r.Parm);
  j.field("Flow", r.Flow);
  j.field("HeadLoss", r.HeadLoss);
  j.field("Description", wide(r.Description, kDescLen));
}

void record(Json& j, const Pump& r) {
  j.field("ID", wide(r.ID, kIdLen));
  j.field("Reserved", int{r.Reserved});
  j.field("Elev", r.Elev);
  j.field("Flags", int{r.Flags});
  j.field("FlowIncr", r.FlowIncr);
  j.field("ShutoffHead", r.ShutoffHead);
  j.field("Head1", r.Head1);
  j.field("Head2", r.Head2);
  j.field("Head3", r.Head3);
  j.key("CurveCoef");
  j.open('[');
  for (float c : r.CurveCoef) j.value(c);
  j.close(']');
  j.field("Speed", int{r.Speed});
  j.field("Speed2", int{r.Speed2});
  j.field("Speed3", int{r.Speed3});
  j.field("Dir", int{r.Dir});
  j.field("NPSHR1", r.NPSHR1);
  j.field("NPSHR2", r.NPSHR2);
  j.field("NPSHR3", r.NPSHR3);
  j.field("NPSHR", r.NPSHR);
  j.field("NpshBase", r.NpshBase);
  j.field("NpshCoef", r.NpshCoef);
  j.field("NpshExp", r.NpshExp);
  j.field("DesignFlow", r.DesignFlow);
  j.field("CurveDefined", int{r.CurveDefined});
  j.field("Flow", r.Flow);
  j.field("Head", r.Head);
  j.field("NPSHA", r.NPSHA);
  j.field("Description", wide(r.Description, kDescLen));
}

void record(Json& j, const Node& r) {
  j.field("ID", wide(r.ID, kIdLen));
  j.field("Flags", int{r.Flags});
  j.field("LineMembership", wide(r.LineMembership, 10));
  j.field("Flow", r.Flow);
  j.field("Pressure", r.Pressure);
  j.field("Elev", r.Elev);
  j.field("InletElev", r.InletElev);
  j.field("SupplyType", int{r.SupplyType});
  j.field("InletExitType", int{r.InletExitType});
  j.field("InletK", r.InletK);
  j.field("InletHeadLoss", r.InletHeadLoss);
  j.field("InletDia", r.InletDia);
  j.field("Description", wide(r.Description, kDescLen));
}

void record(Json& j, const FVH& r) {
  j.field("ID", wide(r.ID, kIdLen));
  j.field("Flags", int{r.Flags});
  j.field("FlowIncr", r.FlowIncr);
  j.field("Elev", r.Elev);
  j.field("HeadLoss1", r.HeadLoss1);
  j.field("HeadLoss2", r.HeadLoss2);
  j.field("CoefA", r.CoefA);
  j.field("CoefB", r.CoefB);
  j.field("Dir", int{r.Dir});
  j.field("Flow", r.Flow);
  j.field("HeadLoss", r.HeadLoss);
  j.field("Description", wide(r.Description, kDescLen));
}

void recordObject(Json& j, const ElementRecord& rec) {
  j.key("record");
  if (std::holds_alternative<std::monostate>(rec)) {
    j.null();
    return;
  }
  j.open('{');
  std::visit(
      [&](const auto& r) {
        if constexpr (!std::is_same_v<std::decay_t<decltype(r)>, std::monostate>) record(j, r);
      },
      rec);
  j.close('}');
}

void clipboardBody(Json& j, const ElementClipboard& clip) {
  j.field("description", clip.description);
  j.key("entries");
  j.open('[');
  for (const auto& e : clip.entries) {
    j.open('{');
    j.field("caption", e.caption);
    j.field("id", e.id);
    j.field("type", e.typeName);
    j.field("typeCode", e.kind());
    j.field("note", e.note);
    recordObject(j, e.data);
    j.close('}');
  }
  j.close(']');
}

ElementRecord elementRecord(const Project& p, int n) {
  auto i = static_cast<size_t>(n);
  switch (p.ElemType[i]) {
    case kPipe: return p.pipe[i] ? ElementRecord(*p.pipe[i]) : ElementRecord();
    case kFitting:
    case kValve: return p.valfit[i] ? ElementRecord(*p.valfit[i]) : ElementRecord();
    case kPump: return p.pump[i] ? ElementRecord(*p.pump[i]) : ElementRecord();
    case kGauge:
    case kSupply: return p.node[i] ? ElementRecord(*p.node[i]) : ElementRecord();
    case kFVH: return p.fvh[i] ? ElementRecord(*p.fvh[i]) : ElementRecord();
    default: return {};
  }
}

}  // namespace

std::string projectToJson(const Project& p, const ElementClipboard& clip, const std::string& kind,
                          const std::string& version) {
  static const char* const infoNames[9] = {"project", "client", "engineer", "firm", "address1",
                                           "address2", "phone", "fax", "email"};
  Json j;
  j.open('{');
  j.field("kind", kind);
  j.field("version", version);
  j.key("projectInformation");
  j.open('{');
  for (size_t i = 0; i < 9; ++i) j.field(infoNames[i], p.proj.Info[i]);
  j.close('}');
  j.key("settings");
  j.open('{');
  j.field("SysType", int{p.sys.SysType});
  j.field("HeadCalc", int{p.sys.HeadCalc});
  j.field("EqLen", p.sys.EqLen);
  j.field("FlowTol", p.sys.FlowTol);
  j.field("AtmPress", p.sys.AtmPress);
  j.field("SysFlowPress", p.sys.SysFlowPress);
  j.field("RefGauge", int{p.sys.RefGauge});
  j.field("Reserved", p.sys.Reserved);
  j.close('}');
  j.key("liquid");
  j.open('{');
  j.field("LiqDesc", p.liquid.LiqDesc);
  j.field("LiqTemp", p.liquid.LiqTemp);
  j.field("LiqSG", p.liquid.LiqSG);
  j.field("LiqSpecHeat", p.liquid.LiqSpecHeat);
  j.field("LiqAllowTemp", p.liquid.LiqAllowTemp);
  j.field("LiqVP", p.liquid.LiqVP);
  j.field("LiqKVis", p.liquid.LiqKVis);
  j.close('}');
  j.field("SeqLen", int{p.SeqLen});
  j.key("ElemSeq");
  j.open('[');
  for (int i = 1; i <= p.SeqLen; ++i) j.value(int{p.ElemSeq[static_cast<size_t>(i)]});
  j.close(']');
  j.key("elements");
  j.open('[');
  for (int n = 1; n <= kMaxElem; ++n) {
    if (!p.isPlaced(n)) continue;
    j.open('{');
    j.field("number", n);
    j.field("type", int{p.ElemType[static_cast<size_t>(n)]});
    recordObject(j, elementRecord(p, n));
    j.close('}');
  }
  j.close(']');
  j.key("clipboard");
  j.open('{');
  clipboardBody(j, clip);
  j.close('}');
  j.close('}');
  return j.out;
}

std::string clipboardToJson(const ElementClipboard& clip, const std::string& version) {
  Json j;
  j.open('{');
  j.field("kind", std::string("clipboard"));
  j.field("version", version);
  clipboardBody(j, clip);
  j.close('}');
  return j.out;
}

}  // namespace vt
