#include "solver/solution_json.h"

#include <charconv>
#include <cmath>
#include <optional>

#include "model/project.h"
#include "solver/message_list.h"

namespace vt {

std::string jsonString(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          static const char* hex = "0123456789abcdef";
          out += "\\u00";
          out += hex[c >> 4];
          out += hex[c & 15];
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

namespace {

using Field = std::optional<float>;

// A record value: null when not finite or when it marks "not given" or "not computed".
Field value(float v) {
  if (!std::isfinite(v) || v == kBlank) return std::nullopt;
  return v;
}

std::string number(Field f) {
  if (!f) return "null";
  char buf[32];
  // The shortest text that reads back as the same single-precision value.
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, *f);
  return ec == std::errc() ? std::string(buf, end) : "null";
}

struct Row {
  Field flow, headloss, head, pressure, npsha, npshr, hgl;
};

Row rowOf(const Project& p, int n) {
  Row r;
  const float hgl = p.ElemHGL[n];
  r.hgl = hgl == kNoGrade ? std::nullopt : value(hgl);
  switch (p.ElemType[n]) {
    case kPipe:
      if (const Pipe* x = p.pipe[n].get()) r.flow = value(x->Flow), r.headloss = value(x->HeadLoss);
      break;
    case kFitting:
    case kValve:
      if (const Valfit* x = p.valfit[n].get()) r.flow = value(x->Flow), r.headloss = value(x->HeadLoss);
      break;
    case kPump:
      if (const Pump* x = p.pump[n].get())
        r.flow = value(x->Flow), r.head = value(x->Head), r.npsha = value(x->NPSHA), r.npshr = value(x->NPSHR);
      break;
    case kFVH:
      if (const FVH* x = p.fvh[n].get()) r.flow = value(x->Flow), r.headloss = value(x->HeadLoss);
      break;
    case kGauge:
      if (const Node* x = p.node[n].get()) r.flow = value(x->Flow), r.pressure = value(x->Pressure);
      break;
    case kSupply:
      if (const Node* x = p.node[n].get()) r.flow = value(x->Flow), r.headloss = value(x->InletHeadLoss);
      break;
    default: break;
  }
  return r;
}

std::string trimmed(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

}  // namespace

std::string solutionToJson(const Project& p, const MessageList& messages) {
  std::string out = "{\"solved\": ";
  out += p.proj.Solved ? "true" : "false";
  out += ",\n \"messages\": [";
  bool first = true;
  for (const auto& line : messages.lines()) {
    out += first ? "\n  " : ",\n  ";
    first = false;
    out += "{\"text\": " + jsonString(line.text) + ", \"element\": ";
    out += line.element != 0 ? std::to_string(line.element) : "null";
    out += "}";
  }
  out += "],\n \"elements\": [";
  first = true;
  for (int n = 1; n <= kMaxElem; ++n) {
    if (!p.isPlaced(n)) continue;
    Row r = rowOf(p, n);
    out += first ? "\n  " : ",\n  ";
    first = false;
    out += "{\"number\": " + std::to_string(n) + ", \"id\": " + jsonString(p.ElemID(n)) +
           ", \"type\": " + jsonString(trimmed(p.ElemTypeName(n))) + ", \"flow\": " + number(r.flow) +
           ", \"headloss\": " + number(r.headloss) + ", \"head\": " + number(r.head) +
           ", \"pressure\": " + number(r.pressure) + ", \"npsha\": " + number(r.npsha) +
           ", \"npshr\": " + number(r.npshr) + ", \"hgl\": " + number(r.hgl) + "}";
  }
  out += "]}\n";
  return out;
}

}  // namespace vt
