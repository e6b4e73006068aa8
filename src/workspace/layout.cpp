#include "workspace/layout.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "model/project.h"
#include "units/number_format.h"

namespace vt {

namespace {

constexpr float kNoElev = -19999.0f;

int rnd(double v) { return static_cast<int>(std::lround(v)); }

bool hasGrade(float hgl) { return hgl != kNoGrade; }

bool isNonAnchorBody(const Project& pr, int n) {
  int t = pr.ElemType[n];
  return t == kFitting || t == kFVH || (t == kValve && !isAnchor(pr, n));
}

void setBodyElev(Project& pr, int n, float e) {
  if (pr.ElemType[n] == kFVH) {
    if (pr.fvh[n]) pr.fvh[n]->Elev = e;
  } else if (pr.valfit[n]) {
    pr.valfit[n]->Elev = e;
  }
}

float bodyElev(const Project& pr, int n) {
  switch (pr.ElemType[n]) {
    case kFitting:
    case kValve: return pr.valfit[n] ? pr.valfit[n]->Elev : 0;
    case kPump: return pr.pump[n] ? pr.pump[n]->Elev : 0;
    case kGauge:
    case kSupply: return pr.node[n] ? pr.node[n]->Elev : 0;
    case kFVH: return pr.fvh[n] ? pr.fvh[n]->Elev : 0;
    default: return 0;
  }
}

bool isTank(const Node& nd) { return nd.SupplyType == 0 || nd.SupplyType == 1; }

}  // namespace

// ---------------------------------------------------------------- small steps

bool valveHasDirection(int code) { return (code >= 43 && code <= 55) || (code <= -2 && code >= -5); }

int bandWidthFor(int elemHeight) { return rnd(elemHeight / 5.0); }

bool isAnchor(const Project& pr, int n) {
  if (n < 1 || n > kMaxElem) return false;
  switch (pr.ElemType[n]) {
    case kGauge:
    case kSupply: return pr.node[n] != nullptr;
    case kPump: return pr.pump[n] != nullptr;
    case kValve: return pr.valfit[n] && (pr.valfit[n]->Code == -3 || pr.valfit[n]->Code == -4);
    default: return false;
  }
}

float anchorElev(const Project& pr, int n) {
  switch (pr.ElemType[n]) {
    case kSupply: return isTank(*pr.node[n]) ? pr.node[n]->InletElev : pr.node[n]->Elev;
    case kGauge: return pr.node[n]->Elev;
    case kPump: return pr.pump[n]->Elev;
    case kValve: return pr.valfit[n]->Elev;
    default: return kNoElev;
  }
}

double scaleStepFor(double target) {
  static const double kSteps[] = {0.01, 0.05, 0.1,  0.5,  1,     2,      5,      10,      20,
                                  50,   100,  200,  250,  500,   1000,   2500,   5000,    10000,
                                  50000, 100000, 500000, 1000000, 5000000, 10000000, 50000000};
  if (!(target < 50000000.0)) {
    if (!std::isfinite(target)) return 50000000.0;
    double step = 50000000.0;
    while (step < target) step *= 2;
    return step;
  }
  for (double s : kSteps)
    if (s >= target) return s;
  return 50000000.0;
}

double scaleBaseFor(double top, double step) {
  double q = std::trunc(top / step);
  for (int i = 1; i <= 10; ++i) {
    double t = std::trunc((top - i * 0.1 * step) / step);
    if (t != q) return t * step;
  }
  return (q - 1) * step;
}

std::string gridLabel(double value, double step, const std::string& unit) {
  std::string num = step >= 1 ? formatGeneral(value, 5) : format("%.2f", {value});
  return "  " + num + " " + unit + " ";
}

// ---------------------------------------------------------------- InterpolateElevations

void InterpolateElevations(Project& pr, float firstAnchorElev) {
  const int first = pr.LineStart[pr.CurLine] + 1;
  const int last = pr.LineEnd[pr.CurLine];
  float c = kNoElev;
  int d = 0;
  for (int m = first; m <= last; ++m) {
    if (m < d) continue;
    int n = pr.ElemSeq[m];
    if (n <= 0) continue;
    if (isAnchor(pr, n)) {
      c = anchorElev(pr, n);
      continue;
    }
    if (isNonAnchorBody(pr, n)) {
      setBodyElev(pr, n, c != kNoElev ? c : (firstAnchorElev != kNoElev ? firstAnchorElev : 0.0f));
      continue;
    }
    if (pr.ElemType[n] != kPipe || !pr.pipe[n]) continue;

    Pipe& pm = *pr.pipe[n];
    if (c != kNoElev) pm.StartElev = c;
    const int r = m;
    if (m == last) {
      if (c == kNoElev) {
        for (int q = first; q <= last; ++q) {
          int k = pr.ElemSeq[q];
          if (k > 0 && pr.ElemType[k] == kPipe && pr.pipe[k]) pr.pipe[k]->StartElev = pr.pipe[k]->EndElev = 0;
        }
      }
      if (m == 1) pm.StartElev = 0;
      pm.EndElev = pm.StartElev;
      return;
    }

    // Look ahead for the next anchor, summing the pipe run.
    double runLen = pm.Length;
    int a = 0;
    for (int q = m + 1; q <= last; ++q) {
      int k = pr.ElemSeq[q];
      if (k <= 0) continue;
      if (isAnchor(pr, k)) {
        a = q;
        break;
      }
      if (pr.ElemType[k] == kPipe && pr.pipe[k]) runLen += pr.pipe[k]->Length;
    }
    double slope = 0, x;
    int from;
    if (a != 0) {
      double e = anchorElev(pr, pr.ElemSeq[a]);
      if (c != kNoElev && runLen > 0) {
        slope = (e - c) / runLen;
      } else if (c == kNoElev) {
        c = static_cast<float>(e);
      }
      d = a;
      x = e;
      from = a - 1;
    } else {
      x = c != kNoElev ? c : 0.0;
      from = last;
      d = last + 1;
    }
    for (int q = from; q >= r; --q) {
      int k = pr.ElemSeq[q];
      if (k <= 0) continue;
      if (pr.ElemType[k] == kPipe && pr.pipe[k]) {
        Pipe& pk = *pr.pipe[k];
        pk.EndElev = static_cast<float>(x);
        if (q != r) {
          pk.StartElev = static_cast<float>(pk.EndElev - pk.Length * slope);
          x = pk.StartElev;
        } else {
          // A run that starts with no anchor behind it lies level: never leave a blank start.
          pk.StartElev = c != kNoElev ? c : static_cast<float>(x);
        }
      } else if (isNonAnchorBody(pr, k)) {
        setBodyElev(pr, k, static_cast<float>(x));
      }
    }
  }
}

// ---------------------------------------------------------------- layout

int Workspace::ElevToPixel(double v) {
  double y = (ScaleTop - v) * PxPerUnit;
  if (!std::isfinite(y) || std::fabs(y) > 1e9) {
    rangeError = true;
    return 0;
  }
  return std::min(rnd(y) + DrawTop, clientHeight);
}

int Workspace::scrollShift() const {
  if (reportMode || ScrollRange <= 0) return 0;
  return rnd(scrollPos * 0.01 * ScrollRange);
}

void Workspace::elevationRange(Project& pr, double f) {
  ElevMin = 200000;
  ElevMax = -200000;
  FirstAnchorElev = kNoElev;
  totalPipeLength = longestPipe = 0;
  bool beforeFirst = true;
  const bool solved = pr.proj.Solved;
  auto widen = [&](double v) {
    ElevMin = static_cast<float>(std::min<double>(ElevMin, v));
    ElevMax = static_cast<float>(std::max<double>(ElevMax, v));
  };
  for (int p = pr.LineStart[pr.CurLine] + 1; p <= pr.LineEnd[pr.CurLine]; ++p) {
    int n = pr.ElemSeq[p];
    if (n <= 0 || n > kMaxElem) continue;
    int t = pr.ElemType[n];
    if (t == kPipe && pr.pipe[n]) {
      Pipe& pp = *pr.pipe[n];
      totalPipeLength += pp.Length;
      longestPipe = std::max<double>(longestPipe, pp.Length);
      if (!beforeFirst) pp.StartElev = pp.EndElev = kNoElev;
    } else if (isNonAnchorBody(pr, n)) {
      setBodyElev(pr, n, kNoElev);
    } else if (isAnchor(pr, n)) {
      beforeFirst = false;
      if (FirstAnchorElev == kNoElev) {
        if (t == kSupply) FirstAnchorElev = pr.node[n]->InletElev;
        else FirstAnchorElev = bodyElev(pr, n);
      }
      widen(anchorElev(pr, n));
      if (t == kGauge || t == kSupply) {
        const Node& nd = *pr.node[n];
        widen(nd.Elev);
        if (t == kSupply && isTank(nd)) widen(nd.InletElev);
        if (solved) widen(12.0 * nd.Pressure + nd.Elev);
      }
    }
    if (solved && t != kGauge && t != kSupply && hasGrade(pr.ElemHGL[n])) widen(12.0 * pr.ElemHGL[n]);
  }
  if (FirstAnchorElev == kNoElev) {
    ElevMax = std::max(ElevMax, 0.0f);
    ElevMin = std::min(ElevMin, 0.0f);
  }
  if (ElevMin == 200000 || ElevMax == -200000) ElevMin = ElevMax = 0;
  if (ElevMax - ElevMin < 1) {
    ElevMin -= 2;
    ElevMax += 2;
  }
  (void)f;
}

void Workspace::computeScale(double f) {
  PxPerUnit = static_cast<float>(DrawHeight / ((static_cast<double>(ElevMax) - ElevMin) * 2 * f));
  double target = (static_cast<double>(ElevMax) - ElevMin) * f * 0.125;
  ScaleStep = static_cast<float>(scaleStepFor(target));
  ScaleTop = (2.0 * ElevMax - (static_cast<double>(ElevMax) + ElevMin) / 2) * f;
  ScaleBase = static_cast<float>(scaleBaseFor(ScaleTop, ScaleStep));
}

void Workspace::buildGrid(const std::string& unit) {
  grid.clear();
  for (int k = 1; grid.size() < 2000; --k) {
    double value = k * static_cast<double>(ScaleStep) + ScaleBase;
    double y = (ScaleTop - value) * PxPerUnit;
    if (!std::isfinite(y) || !(y < DrawHeight)) break;
    grid.push_back({DrawTop + rnd(y), value, gridLabel(value, ScaleStep, unit)});
  }
}

void Workspace::layoutLine(Project& pr, double f) {
  ElemX.fill(0);
  ElemX[0] = 2;
  int x = rnd(clientWidth * kMarginFraction);
  elems.clear();
  for (int p = pr.LineStart[pr.CurLine] + 1; p <= pr.LineEnd[pr.CurLine]; ++p) {
    int n = pr.ElemSeq[p];
    if (n <= 0 || n > kMaxElem) continue;
    ElementGeom g;
    g.pos = p;
    g.n = n;
    g.type = pr.ElemType[n];
    ElemX[p] = x;
    IRect& r = g.rect;
    r.left = x;
    switch (g.type) {
      case kPipe: {
        if (!pr.pipe[n]) break;
        const Pipe& pp = *pr.pipe[n];
        double dz = std::fabs(static_cast<double>(pp.StartElev) - pp.EndElev);
        if (dz >= pp.Length) {
          r.width = BandWidth + 4;
        } else {
          double run = std::sqrt(static_cast<double>(pp.Length) * pp.Length - dz * dz);
          double w = run * PipePxPerUnit;
          r.width = std::isfinite(w) && w < 1e7 ? std::max(rnd(w), ElemWidth) : ElemWidth;
        }
        int yHi = ElevToPixel(std::max(pp.StartElev, pp.EndElev) * f);
        int yLo = ElevToPixel(std::min(pp.StartElev, pp.EndElev) * f);
        r.top = yHi - ElemHeight + rnd(ElemHeight * 0.25);
        r.height = std::max(yLo + 8 - r.top, ElemHeight);
        break;
      }
      case kSupply: {
        if (!pr.node[n]) break;
        const Node& nd = *pr.node[n];
        r.width = kSupplyWidth;
        if (isTank(nd)) {
          r.top = DrawTop + rnd((ScaleTop - nd.Elev * f) * PxPerUnit - 20);
          r.height = DrawTop + rnd((ScaleTop - nd.InletElev * f) * PxPerUnit) - r.top + 20;
          if (r.height < 40) r.height = 40;  // a surface below its inlet must not invert the tank
        } else {
          r.top = DrawTop + rnd((ScaleTop - nd.Elev * f) * PxPerUnit - kSupplyHeight * 0.5);
          r.height = kSupplyHeight;
        }
        break;
      }
      default:
        r.width = ElemWidth;
        r.top = ElevToPixel(bodyElev(pr, n) * f) - ElemHeight + rnd(ElemHeight * 0.25);
        r.height = ElemHeight;
        break;
    }
    x += r.width;
    elems.push_back(std::move(g));
  }
  LineWidth = x;
}

void Workspace::layout(Project& pr, int clientW, int clientH, int drawTop) {
  clientWidth = std::max(clientW, 1);
  clientHeight = std::max(clientH, 1);
  rangeError = false;
  ElemSize = std::clamp(ElemSize, 32, 64);
  ElemWidth = ElemHeight = ElemSize;
  BandWidth = bandWidthFor(ElemHeight);
  double f = pr.units.Len.factor > 0 && std::isfinite(pr.units.Len.factor) ? pr.units.Len.factor : 1.0;

  elevationRange(pr, f);
  DrawTop = drawTop;
  DrawHeight = std::max(clientHeight - drawTop, 1);
  computeScale(f);

  // Pipe scale: at 100 the longest pipe spans the client width.
  pipeSliderShown = totalPipeLength != 0;
  if (pipeSliderShown && longestPipe > 0) {
    if (PipePxPerUnit == 0) {
      PipePxPerUnit = static_cast<float>(0.5 * clientWidth / longestPipe);
      pipeSlider = 50;
    } else {
      PipePxPerUnit = static_cast<float>(std::clamp(pipeSlider, 1, 100) * 0.01 * clientWidth / longestPipe);
    }
  }

  buildGrid(pr.units.Len.abbrev);
  InterpolateElevations(pr, FirstAnchorElev);
  layoutLine(pr, f);

  const bool branch = pr.CurLine > 0;
  ScrollRange = LineWidth + 60 - clientWidth + (branch ? ElemWidth : 0);
  if (reportMode) {
    pictureWidth = LineWidth + (branch ? 56 : 0) + 32;
    scrollBarShown = false;
    scrollPos = 0;
  } else {
    pictureWidth = clientWidth;
    scrollBarShown = clientWidth < LineWidth && ScrollRange > 0;
    if (!scrollBarShown) {
      scrollPos = 0;
    } else {
      scrollLarge = std::clamp(rnd(70.0 * clientWidth / ScrollRange), 1, 100);
      scrollSmall = std::clamp(rnd(10.0 * clientWidth / ScrollRange), 1, 100);
      scrollPos = std::clamp(scrollPos, 0, 100);
    }
  }
  hglShown = pr.proj.Solved && pr.LineLen[pr.CurLine] != 0;
  elementShapes(pr, f);
}

bool Workspace::inView(const ElementGeom& g) const {
  if (reportMode) return true;
  int shift = scrollShift();
  return g.rect.right() > shift && g.rect.left < shift + clientWidth;
}

void Workspace::elementShapes(Project& pr, double f) {
  for (auto& g : elems) {
    g.visible = inView(g);
    shapeOf(pr, g, f);
    if (hglShown) hglOf(pr, g, f);
  }
}

void Workspace::shapeOf(Project& pr, ElementGeom& g, double f) {
  const int L = g.rect.left, T = g.rect.top, W = g.rect.width, H = g.rect.height, s = BandWidth;
  const int n = g.n;
  g.arrowRect = {L + rnd(W / 2.0 - ElemWidth / 4.0), T - rnd(ElemHeight * 9.0 / 32.0), 0, 0};
  g.arrowRect.width = L + rnd(W / 2.0 + ElemWidth / 4.0) - g.arrowRect.left;
  g.arrowRect.height = T - g.arrowRect.top;
  g.markerRect = {L + rnd(0.7 * W), T - rnd(2.0 * ElemHeight / 3.0), 0, 0};
  g.markerRect.width = L + W - g.markerRect.left;
  g.markerRect.height = T - rnd(ElemHeight / 3.0) - g.markerRect.top;
  if (const uint8_t* flags = pr.flagByte(n)) g.tagged = (*flags & 1) != 0;
  g.id = pr.ElemID(n);
  g.idRow = g.pos % 2 == 1 ? 0 : 1;

  switch (g.type) {
    case kPipe: {
      if (!pr.pipe[n]) break;
      const Pipe& pp = *pr.pipe[n];
      int y1 = ElevToPixel(pp.StartElev * f), y2 = ElevToPixel(pp.EndElev * f);
      int h = rnd(s / 2.0);
      g.bandPen = std::max(1, rnd(s / 3.0));
      bool steep = H >= 2 * W;
      if (pp.StartElev > pp.EndElev) {
        if (steep) g.band = {{{L + 2, y1 - h}, {L + s + 2, y1 - h}, {L + W - 2, y2 + h}, {L + W - s - 2, y2 + h}}};
        else g.band = {{{L + 2, y1 - h}, {L + W - 2, y2 - h}, {L + W - 2, y2 + h}, {L + 2, y1 + h}}};
      } else {
        int p = g.bandPen;
        if (steep) g.band = {{{L + 2, y1 + h}, {L + s + 2, y1 + h}, {L + W - 2, y2 - h}, {L + W - s - 2, y2 - h}}};
        else g.band = {{{L + 2, y1 - h}, {L + W - p, y2 - h}, {L + W - p, y2 + h}, {L + 2, y1 + h}}};
      }
      break;
    }
    case kFitting:
      if (pr.valfit[n]) g.valveCode = pr.valfit[n]->Code;
      break;
    case kValve:
      if (!pr.valfit[n]) break;
      g.valveCode = pr.valfit[n]->Code;
      if (valveHasDirection(g.valveCode)) g.redArrow = pr.valfit[n]->Dir == 1 ? 1 : -1;
      break;
    case kPump:
      if (pr.pump[n]) {
        g.pumpFacesRight = pr.pump[n]->Dir == 1;
        g.redArrow = g.pumpFacesRight ? 1 : -1;
      }
      break;
    case kFVH:
      if (pr.fvh[n]) g.redArrow = pr.fvh[n]->Dir == 1 ? 1 : -1;
      break;
    case kGauge:
    case kSupply: {
      if (!pr.node[n]) break;
      const Node& nd = *pr.node[n];
      g.nodeLabel = membershipLabel(fromWide(nd.LineMembership, 10));
      if (g.type == kGauge) {
        if (nd.Flow > 0) g.greenArrow = 1;
        else if (nd.Flow < 0) g.greenArrow = -1;
      } else {
        g.supplyType = std::clamp<int>(nd.SupplyType, 0, 3);
        g.supplyFirst = g.pos == 1;
        if (hglShown) {
          bool atStart = g.pos == pr.LineStart[pr.CurLine] + 1;
          int nb = atStart ? pr.ElemSeq[g.pos + 1] : pr.ElemSeq[g.pos - 1];
          float flow = nb > 0 ? pr.ElemFlow(nb) : 0.0f;
          if (std::fabs(flow * pr.units.Flow.factor) > 0.0099) g.flowArrow = flow > 0 ? 1 : -1;
        }
      }
      break;
    }
    default: break;
  }
}

void Workspace::hglOf(Project& pr, ElementGeom& g, double f) {
  const int L = g.rect.left, T = g.rect.top, W = g.rect.width, H = g.rect.height, s = BandWidth;
  const int n = g.n;
  const float hgl = pr.ElemHGL[n];
  const bool has = hasGrade(hgl);
  auto yOf = [&](double inches) { return ElevToPixel(inches * f); };
  const int xEnd = L + W - 2;
  const int next = g.pos + 1 <= pr.SeqLen ? pr.ElemSeq[g.pos + 1] : 0;
  const bool nextHas = next > 0 && hasGrade(pr.ElemHGL[next]);
  int yH = has ? yOf(12.0 * hgl) : 0;

  switch (g.type) {
    case kPipe: {
      if (!has || !pr.pipe[n]) return;
      const Pipe& pp = *pr.pipe[n];
      double start = pp.Flow >= 0 ? hgl + pp.HeadLoss : hgl - pp.HeadLoss;
      g.hgl.push_back({{L, yOf(12.0 * start)}, {xEnd, yH}});
      int y2 = yOf(pp.EndElev), h = rnd(s / 2.0);
      g.hasPressureLine = true;
      g.pressureLine = {{xEnd, yH > y2 ? y2 + h + 2 : y2 - h - 2}, {xEnd, yH}};
      return;
    }
    case kGauge: {
      if (!has || !pr.node[n]) return;
      const Node& nd = *pr.node[n];
      int yP = yOf(12.0 * nd.Pressure + nd.Elev);
      g.hgl.push_back({{L, yP}, {xEnd, yP}});
      int yE = yOf(nd.Elev);
      g.hasPressureLine = true;
      g.pressureLine = {{xEnd, yH >= yE ? yE + s : yE - s}, {xEnd, yH}};
      return;
    }
    case kSupply: {
      if (!pr.node[n]) return;
      const Node& nd = *pr.node[n];
      const bool tank = isTank(nd);
      const bool right = g.supplyFirst;  // the line continues to the right of the first supply
      double wallFrac = tank ? (right ? 0.9 : 0.1) : (right ? 0.8 : 0.2);
      int wallX = L + rnd(wallFrac * W);
      int edgeX = right ? L + W - 2 : L + 2;
      int yP = yOf(12.0 * nd.Pressure + nd.Elev);
      int fromY = tank ? T + 10 : T + rnd(H / 2.0);
      g.hglDotted.push_back({{wallX, fromY}, {wallX, yP}});
      if (has) g.hgl.push_back({{wallX, yP}, {edgeX, yH}});
      return;
    }
    default: break;
  }

  // Fittings, valves, pumps and FVHs: from the grade before the element to the grade after it.
  const bool always = g.type == kValve || g.type == kPump;
  if (!has && !always) return;
  const int prev = pr.ElemSeq[g.pos - 1];
  std::optional<int> yPrev;
  if (prev == 0) yPrev = yOf(0);
  else if (prev > 0 && hasGrade(pr.ElemHGL[prev])) yPrev = yOf(12.0 * pr.ElemHGL[prev]);
  if (has && yPrev) g.hgl.push_back({{L, *yPrev}, {xEnd, yH}});

  int yEnd;
  if (has) yEnd = yH;
  else if (nextHas) yEnd = yOf(12.0 * pr.ElemHGL[next]);
  else return;
  int yE = yOf(bodyElev(pr, n));
  int startY;
  switch (g.type) {
    case kFVH: startY = yEnd >= yE ? yE + s : yE - s; break;
    case kValve: startY = nextHas && yOf(12.0 * pr.ElemHGL[next]) < yE ? yE - s : yE + s; break;
    default: startY = yE - s; break;  // fittings and pumps
  }
  g.hasPressureLine = true;
  g.pressureLine = {{xEnd, startY}, {xEnd, yEnd}};
}

// ---------------------------------------------------------------- queries

const ElementGeom* Workspace::find(int n) const {
  for (const auto& g : elems)
    if (g.n == n) return &g;
  return nullptr;
}

int Workspace::hitTest(int x, int y) const {
  int shift = scrollShift();
  // Later elements are drawn over earlier ones, so the last hit wins.
  for (auto it = elems.rbegin(); it != elems.rend(); ++it)
    if (it->visible && it->rect.shifted(-shift).contains(x, y)) return it->n;
  return 0;
}

int Workspace::insertSide(const ElementGeom& g, int windowX) const {
  int left = g.rect.left - scrollShift();
  return windowX < left + g.rect.width / 2.0 ? -1 : 1;
}

int Workspace::scrollPosToShow(int n) const {
  const ElementGeom* g = find(n);
  if (!g || reportMode || !scrollBarShown || ScrollRange <= 0) return scrollPos;
  auto visibleAt = [&](int pos) {
    int shift = rnd(pos * 0.01 * ScrollRange);
    return g->rect.right() > shift && g->rect.left < shift + clientWidth;
  };
  if (visibleAt(scrollPos)) return scrollPos;
  int pos = 0;
  while (!visibleAt(pos) && pos < 100) pos = std::min(100, pos + scrollLarge);
  return pos;
}

}  // namespace vt
