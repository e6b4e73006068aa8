#include "workspace/ui/workspace_painter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "model/project.h"
#include "workspace/layout.h"

namespace vt {

namespace {

// Colours of the drawing.
const QColor kPipeBlue(0x1f, 0x4f, 0xd6);
const QColor kPipeEdge(0x0b, 0x1f, 0x5c);
const QColor kWater(0x4a, 0x86, 0xe8);
const QColor kWaterDeep(0x1f, 0x4f, 0xd6);
const QColor kSteel(0x4a, 0x55, 0x60);
const QColor kSteelLight(0x9a, 0xa7, 0xb3);
const QColor kInk(0x1a, 0x1a, 0x1a);
const QColor kTeal(0x00, 0x80, 0x80);
const QColor kSilver(0xc0, 0xc0, 0xc0);
const QColor kGridLine(0xd4, 0xd8, 0xdd);
const QColor kRed(0xd0, 0x21, 0x21);
const QColor kGreen(0x1e, 0x9e, 0x3a);
const QColor kPumpBody(0x2f, 0x8f, 0x6f);
const QColor kValveBody(0x5a, 0x6b, 0x7d);
const QColor kFvhBody(0xf0, 0xb4, 0x3c);

QRectF toF(const IRect& r) { return QRectF(r.left, r.top, r.width, r.height); }

// Connection line of an element rectangle: the element's elevation lies a quarter of the element
// height above its bottom.
qreal connY(const QRectF& r, qreal elemH) { return r.top() + elemH - std::round(elemH * 0.25); }

void bandStub(QPainter& p, qreal x1, qreal x2, qreal y, qreal s) {
  p.setPen(QPen(kPipeEdge, std::max<qreal>(1.0, s / 4)));
  p.setBrush(kPipeBlue);
  p.drawRect(QRectF(std::min(x1, x2), y - s / 2, std::fabs(x2 - x1), s));
}

// A horizontal arrow filling rectangle r, pointing right (dir 1) or left.
void hArrow(QPainter& p, const QRectF& r, int dir, const QColor& c) {
  if (r.width() <= 1 || r.height() <= 1) return;
  qreal y = r.center().y(), head = std::min(r.width() * 0.45, r.height() * 0.9);
  qreal shaft = std::max<qreal>(1.5, r.height() * 0.28);
  QPolygonF poly;
  if (dir > 0) {
    qreal hx = r.right() - head;
    poly << QPointF(r.left(), y - shaft / 2) << QPointF(hx, y - shaft / 2) << QPointF(hx, r.top())
         << QPointF(r.right(), y) << QPointF(hx, r.bottom()) << QPointF(hx, y + shaft / 2)
         << QPointF(r.left(), y + shaft / 2);
  } else {
    qreal hx = r.left() + head;
    poly << QPointF(r.right(), y - shaft / 2) << QPointF(hx, y - shaft / 2) << QPointF(hx, r.top())
         << QPointF(r.left(), y) << QPointF(hx, r.bottom()) << QPointF(hx, y + shaft / 2)
         << QPointF(r.right(), y + shaft / 2);
  }
  p.setPen(QPen(c.darker(140), 0.8));
  p.setBrush(c);
  p.drawPolygon(poly);
}

// A vertical arrow: down into the system (dir 1) or up out of it (dir -1).
void vArrow(QPainter& p, const QRectF& r, int dir, const QColor& c) {
  if (r.width() <= 1 || r.height() <= 1) return;
  qreal x = r.center().x(), head = std::min(r.height() * 0.5, r.width() * 0.9);
  qreal shaft = std::max<qreal>(1.5, r.width() * 0.3);
  QPolygonF poly;
  if (dir > 0) {
    qreal hy = r.bottom() - head;
    poly << QPointF(x - shaft / 2, r.top()) << QPointF(x - shaft / 2, hy) << QPointF(r.left(), hy)
         << QPointF(x, r.bottom()) << QPointF(r.right(), hy) << QPointF(x + shaft / 2, hy)
         << QPointF(x + shaft / 2, r.top());
  } else {
    qreal hy = r.top() + head;
    poly << QPointF(x - shaft / 2, r.bottom()) << QPointF(x - shaft / 2, hy) << QPointF(r.left(), hy)
         << QPointF(x, r.top()) << QPointF(r.right(), hy) << QPointF(x + shaft / 2, hy)
         << QPointF(x + shaft / 2, r.bottom());
  }
  p.setPen(QPen(c.darker(140), 0.8));
  p.setBrush(c);
  p.drawPolygon(poly);
}

// ---- glyphs: each drawn in its element rectangle with the connection line at cy ----

void fittingGlyph(QPainter& p, const QRectF& r, qreal cy, qreal s) {
  qreal w = r.width(), h = r.height();
  bandStub(p, r.left() + 1, r.right() - 1, cy, s);
  QRectF body(r.left() + w * 0.22, cy - h * 0.2, w * 0.56, h * 0.4);
  QLinearGradient g(body.topLeft(), body.bottomLeft());
  g.setColorAt(0, kSteelLight);
  g.setColorAt(1, kSteel);
  p.setPen(QPen(kInk, 1));
  p.setBrush(g);
  p.drawRoundedRect(body, 2, 2);
  // flanges
  for (qreal fx : {r.left() + w * 0.14, r.right() - w * 0.14 - w * 0.08}) {
    p.setBrush(kSteel);
    p.drawRect(QRectF(fx, cy - h * 0.28, w * 0.08, h * 0.56));
  }
}

void valveGlyph(QPainter& p, const QRectF& r, qreal cy, qreal s, bool actuator) {
  qreal w = r.width(), h = r.height();
  bandStub(p, r.left() + 1, r.right() - 1, cy, s);
  qreal cx = r.center().x(), half = h * 0.2, reach = w * 0.36;
  QPolygonF left, right;
  left << QPointF(cx - reach, cy - half) << QPointF(cx, cy) << QPointF(cx - reach, cy + half);
  right << QPointF(cx + reach, cy - half) << QPointF(cx, cy) << QPointF(cx + reach, cy + half);
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(kValveBody);
  p.drawPolygon(left);
  p.drawPolygon(right);
  qreal top = r.top() + h * 0.12;
  p.drawLine(QPointF(cx, cy), QPointF(cx, top + h * 0.08));
  if (actuator) {  // diaphragm dome of a control valve
    QRectF dome(cx - w * 0.22, top - h * 0.06, w * 0.44, h * 0.28);
    QPainterPath path;
    path.moveTo(dome.left(), dome.bottom() - dome.height() / 2);
    path.arcTo(dome, 180, -180);
    path.closeSubpath();
    p.setBrush(kValveBody.lighter(150));
    p.drawPath(path);
  } else {  // hand wheel
    p.setPen(QPen(kInk, std::max<qreal>(1.5, h * 0.06), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(cx - w * 0.22, top + h * 0.08), QPointF(cx + w * 0.22, top + h * 0.08));
  }
}

void pumpGlyph(QPainter& p, const QRectF& r, qreal cy, qreal s, bool right) {
  qreal w = r.width(), h = r.height();
  qreal rad = std::min(w, h) * 0.3;
  qreal cx = r.center().x(), ccy = cy - rad * 0.35;
  int d = right ? 1 : -1;
  // suction on the line, discharge from the top of the casing toward the flow
  bandStub(p, right ? r.left() + 1 : cx, right ? cx : r.right() - 1, cy, s);
  QRectF nozzle = right ? QRectF(cx, ccy - rad, r.right() - 1 - cx, s) : QRectF(r.left() + 1, ccy - rad, cx - r.left() - 1, s);
  p.setPen(QPen(kPipeEdge, std::max<qreal>(1.0, s / 4)));
  p.setBrush(kPipeBlue);
  p.drawRect(nozzle);
  // base
  QPolygonF base;
  base << QPointF(cx - rad * 0.7, ccy + rad * 0.6) << QPointF(cx + rad * 0.7, ccy + rad * 0.6)
       << QPointF(cx + rad * 1.05, r.bottom() - 1) << QPointF(cx - rad * 1.05, r.bottom() - 1);
  p.setPen(QPen(kInk, 1));
  p.setBrush(kSteel);
  p.drawPolygon(base);
  QRadialGradient g(QPointF(cx - rad * 0.3, ccy - rad * 0.3), rad * 1.4);
  g.setColorAt(0, kPumpBody.lighter(150));
  g.setColorAt(1, kPumpBody);
  p.setBrush(g);
  p.drawEllipse(QPointF(cx, ccy), rad, rad);
  // impeller triangle pointing with the flow
  QPolygonF tri;
  tri << QPointF(cx - d * rad * 0.45, ccy - rad * 0.5) << QPointF(cx + d * rad * 0.6, ccy)
      << QPointF(cx - d * rad * 0.45, ccy + rad * 0.5);
  p.setBrush(Qt::white);
  p.setPen(QPen(kInk, 0.8));
  p.drawPolygon(tri);
}

void gaugeGlyph(QPainter& p, const QRectF& r, qreal cy, qreal s) {
  qreal w = r.width(), h = r.height();
  bandStub(p, r.left() + 1, r.right() - 1, cy, s);
  qreal cx = r.center().x(), rad = std::min(w, h) * 0.27;
  qreal dialY = r.top() + rad + h * 0.04;
  p.setPen(QPen(kInk, std::max<qreal>(1.5, s / 3)));
  p.drawLine(QPointF(cx, cy - s / 2), QPointF(cx, dialY + rad));
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(cx, dialY), rad, rad);
  p.setPen(QPen(kInk, 0.8));
  for (int i = 0; i <= 4; ++i) {
    qreal a = (210 - i * 60) * M_PI / 180.0;
    QPointF o(cx + std::cos(a) * rad * 0.8, dialY - std::sin(a) * rad * 0.8);
    QPointF in(cx + std::cos(a) * rad * 0.6, dialY - std::sin(a) * rad * 0.6);
    p.drawLine(in, o);
  }
  qreal a = 50 * M_PI / 180.0;
  p.setPen(QPen(kRed, 1.4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(cx, dialY), QPointF(cx + std::cos(a) * rad * 0.75, dialY - std::sin(a) * rad * 0.75));
}

void fvhGlyph(QPainter& p, const QRectF& r, qreal cy, qreal s) {
  qreal w = r.width(), h = r.height();
  bandStub(p, r.left() + 1, r.right() - 1, cy, s);
  QRectF body(r.left() + w * 0.16, cy - h * 0.32, w * 0.68, h * 0.5);
  QLinearGradient g(body.topLeft(), body.bottomLeft());
  g.setColorAt(0, kFvhBody.lighter(125));
  g.setColorAt(1, kFvhBody);
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(g);
  p.drawRoundedRect(body, 3, 3);
  // a resistance zigzag across the body
  QPolygonF zig;
  int steps = 6;
  for (int i = 0; i <= steps; ++i) {
    qreal x = body.left() + body.width() * (0.1 + 0.8 * i / steps);
    qreal y = body.center().y() + (i % 2 ? -1 : 1) * body.height() * (i == 0 || i == steps ? 0 : 0.25);
    zig << QPointF(x, y);
  }
  p.setPen(QPen(kInk, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(zig);
}

// ---- supplies ----

void supplyShape(QPainter& p, const ElementGeom& g, qreal s, bool report) {
  const qreal L = g.rect.left, T = g.rect.top, w = g.rect.width, h = g.rect.height;
  const qreal W = w, H = h;
  const bool first = g.supplyFirst;
  const qreal mid = T + h / 2;
  QPen ink(kInk, report ? 2 : 1.6);
  switch (g.supplyType) {
    case 3: {  // free discharge
      qreal x1 = first ? L + 0.8 * w : L + 2, x2 = first ? L + W - 2 : L + 0.2 * w;
      bandStub(p, x1, x2, mid, s);
      qreal ox = first ? L + 0.8 * w : L + 0.2 * w;
      int d = first ? -1 : 1;
      p.setPen(QPen(kWater, 1.8, Qt::SolidLine, Qt::RoundCap));
      p.setBrush(Qt::NoBrush);
      for (int i = 0; i < 3; ++i) {
        QPainterPath arc;
        qreal dy = (i - 1) * s * 0.35;
        arc.moveTo(ox, mid + dy);
        qreal reach = 0.25 * w + i * 0.12 * w;
        arc.quadTo(QPointF(ox + d * reach, mid + dy - h * 0.08), QPointF(ox + d * reach * 1.1, mid + h * 0.15 + i * h * 0.1));
        p.drawPath(arc);
      }
      break;
    }
    case 2: {  // force main
      QRectF ell(L + 0.2 * w, T + 0.2 * h, 0.6 * w, 0.6 * h);
      if (first) bandStub(p, ell.center().x(), L + W - 2, mid, s);
      else bandStub(p, L + 2, ell.center().x(), mid, s);
      p.setPen(ink);
      QRadialGradient gr(ell.center() - QPointF(ell.width() * 0.2, ell.height() * 0.2), ell.width() * 0.7);
      gr.setColorAt(0, kWater);
      gr.setColorAt(1, kWaterDeep);
      p.setBrush(gr);
      p.drawEllipse(ell);
      qreal cx = L + w / 2;
      QPolygonF zig;
      zig << QPointF(cx - 12, mid + 6) << QPointF(cx - 6, mid - 6) << QPointF(cx, mid + 6) << QPointF(cx + 6, mid - 6)
          << QPointF(cx + 12, mid + 6);
      p.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.setBrush(Qt::NoBrush);
      p.drawPolyline(zig);
      break;
    }
    default: {  // open (0) and closed (1) tanks
      qreal xl = L + 0.1 * w, xr = L + 0.9 * w;
      qreal top = T + 10, bottom = T + H - 10 + s / 2;
      qreal stubY = T + H - 20;
      qreal surface = std::min(T + 20, stubY - s / 2);
      // liquid
      QRectF liquid(xl, surface, xr - xl, bottom - surface);
      QLinearGradient lg(liquid.topLeft(), liquid.bottomLeft());
      lg.setColorAt(0, kWater);
      lg.setColorAt(1, kWaterDeep);
      p.setPen(Qt::NoPen);
      p.setBrush(lg);
      p.drawRect(liquid);
      if (first) bandStub(p, xr, L + W - 2, stubY, s);
      else bandStub(p, L + 2, xl, stubY, s);
      p.setPen(ink);
      p.setBrush(Qt::NoBrush);
      QPolygonF walls;
      walls << QPointF(xl, top) << QPointF(xl, bottom) << QPointF(xr, bottom) << QPointF(xr, top);
      p.drawPolyline(walls);
      if (g.supplyType == 1) p.drawLine(QPointF(xl, top), QPointF(xr, top));
      p.setPen(QPen(kPipeEdge, 1));
      p.drawLine(QPointF(xl, surface), QPointF(xr, surface));
      if (g.supplyType == 0) {
        QPolygonF tri;
        tri << QPointF(L + 0.35 * w, T + 20) << QPointF(L + 0.275 * w, T + 20 - 0.15 * w)
            << QPointF(L + 0.425 * w, T + 20 - 0.15 * w);
        p.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.setBrush(Qt::white);
        p.drawPolygon(tri);
      }
      break;
    }
  }
}

void drawElement(QPainter& p, const Workspace& ws, const ElementGeom& g, const PaintStyle& st, const QFont& idFont,
                 const QFontMetrics& idFm, const QFont& labelFont, const QFontMetrics& labelFm) {
  const QRectF r = toF(g.rect);
  const qreal s = ws.BandWidth;
  const qreal cy = connY(r, ws.ElemHeight);
  p.setRenderHint(QPainter::Antialiasing, true);

  if (g.tagged) {
    p.setPen(QPen(kTeal, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(2, 2, -2, -2));
  }

  switch (g.type) {
    case kPipe: {
      QPolygonF poly;
      for (const auto& pt : g.band) poly << QPointF(pt.x, pt.y);
      p.setPen(QPen(kPipeEdge, std::max(1, g.bandPen / 2 + 1), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
      p.setBrush(kPipeBlue);
      p.drawPolygon(poly);
      break;
    }
    case kFitting: fittingGlyph(p, r, cy, s); break;
    case kValve: valveGlyph(p, r, cy, s, g.valveCode <= -3 && g.valveCode >= -5); break;
    case kPump: pumpGlyph(p, r, cy, s, g.pumpFacesRight); break;
    case kFVH: fvhGlyph(p, r, cy, s); break;
    case kGauge: gaugeGlyph(p, r, cy, s); break;
    case kSupply: supplyShape(p, g, s, st.report); break;
    default: break;
  }
  if (g.redArrow != 0) hArrow(p, toF(g.arrowRect).adjusted(1, 1, -1, -1), g.redArrow, kRed);
  if (g.greenArrow != 0) vArrow(p, toF(g.markerRect), g.greenArrow, kGreen);
  if (g.flowArrow != 0) hArrow(p, toF(g.markerRect), g.flowArrow, kRed);

  if (!g.nodeLabel.empty()) {
    QString label = QString::fromStdString(g.nodeLabel);
    p.setFont(labelFont);
    p.setPen(kRed);
    int tw = labelFm.horizontalAdvance(label);
    int th = labelFm.height();
    p.drawText(QRectF(r.center().x() - tw / 2.0, r.top() - th, tw, th), Qt::AlignCenter, label);
  }

  // HGL overlay.
  if (!g.hgl.empty() || !g.hglDotted.empty() || g.hasPressureLine) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kTeal, st.report ? 2 : 1.4, Qt::SolidLine, Qt::RoundCap));
    for (const auto& sgm : g.hgl) p.drawLine(QPointF(sgm.a.x, sgm.a.y), QPointF(sgm.b.x, sgm.b.y));
    p.setPen(QPen(kTeal, 1, Qt::DotLine));
    for (const auto& sgm : g.hglDotted) p.drawLine(QPointF(sgm.a.x, sgm.a.y), QPointF(sgm.b.x, sgm.b.y));
    if (g.hasPressureLine) {
      p.setPen(QPen(QColor(0x9a, 0x9a, 0x9a), 1, Qt::DotLine));
      p.drawLine(QPointF(g.pressureLine.a.x + 0.5, g.pressureLine.a.y), QPointF(g.pressureLine.b.x + 0.5, g.pressureLine.b.y));
    }
  }

  if ((st.showIds || st.report) && !g.id.empty()) {
    QString id = QString::fromStdString(g.id);
    p.setFont(idFont);
    int tw = idFm.horizontalAdvance(id), th = idFm.height();
    int row = g.idRow == 0 ? 0 : idFm.height();
    QRectF box(g.rect.left + std::round(g.rect.width / 2.0 - tw / 2.0), g.rect.bottom() + row, tw, th);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 220));
    p.drawRect(box.adjusted(-1, 0, 1, 0));
    p.setPen(st.report ? QColor(Qt::black) : st.idColor);
    p.drawText(box, Qt::AlignCenter, id);
  }
}

}  // namespace

void paintWorkspace(QPainter& p, const Workspace& ws, Project& /*pr*/, const PaintStyle& st) {
  const int width = ws.pictureWidth > 0 ? ws.pictureWidth : ws.clientWidth;
  p.save();
  p.fillRect(QRectF(0, 0, width, ws.clientHeight), Qt::white);

  // Grid with its labels at the left edge.
  QFont scaleFont("Microsoft Sans Serif");
  scaleFont.setPointSizeF(st.report ? 10 : 8);
  QFontMetrics scaleFm(scaleFont);
  p.setFont(scaleFont);
  const int gridRight = st.report ? static_cast<int>(std::lround(0.98 * width)) : width;
  p.setRenderHint(QPainter::Antialiasing, false);
  for (const auto& gl : ws.grid) {
    p.setPen(QPen(st.report ? kSilver : kGridLine, st.report ? 2 : 1));
    p.drawLine(0, gl.y, gridRight, gl.y);
  }
  for (const auto& gl : ws.grid) {
    QString label = QString::fromStdString(gl.label);
    int h = scaleFm.height();
    QRectF box(0, gl.y - h / 2.0, scaleFm.horizontalAdvance(label), h);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(box);
    p.setPen(st.report ? QColor(Qt::black) : st.idColor);
    p.drawText(box, Qt::AlignVCenter | Qt::AlignLeft, label);
  }

  p.translate(-ws.scrollShift(), 0);
  QFont idFont = st.idFont;
  if (st.report) idFont.setPointSizeF(6);
  QFontMetrics idFm(idFont);
  QFont labelFont = st.idFont;
  labelFont.setPointSizeF(9);
  labelFont.setBold(true);
  QFontMetrics labelFm(labelFont);
  // Pipes first so the glyphs of their neighbours sit on top of the band ends.
  for (int pass = 0; pass < 2; ++pass)
    for (const auto& g : ws.elems) {
      if (!g.visible || (g.type == kPipe) != (pass == 0)) continue;
      drawElement(p, ws, g, st, idFont, idFm, labelFont, labelFm);
    }
  p.restore();
}

QImage renderReportPicture(Project& pr, const Workspace& screen, qreal dpr) {
  Workspace ws;
  ws.reportMode = true;
  ws.ElemSize = screen.ElemSize;
  ws.PipePxPerUnit = screen.PipePxPerUnit;
  ws.pipeSlider = screen.pipeSlider;
  ws.layout(pr, std::max(screen.clientWidth, 1), std::max(screen.clientHeight, 1), 0);
  // Very long lines: keep the image within what a painter can address.
  constexpr int kMaxPixels = 32000;
  const int width = std::min(ws.pictureWidth, kMaxPixels);
  dpr = std::clamp<qreal>(dpr, 1.0, static_cast<qreal>(kMaxPixels) / width);
  QImage img(QSize(width, ws.clientHeight) * dpr, QImage::Format_RGB32);
  img.setDevicePixelRatio(dpr);
  QPainter p(&img);
  PaintStyle st;
  st.report = true;
  st.idColor = Qt::black;
  paintWorkspace(p, ws, pr, st);
  return img;
}

void paintGlyph(QPainter& p, GlyphKind kind, const QRectF& r, bool facesRight) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  qreal s = std::max<qreal>(3, std::round(r.height() / 5));
  qreal cy = connY(r, r.height());
  switch (kind) {
    case GlyphKind::Pipe: {
      QPolygonF poly;
      poly << QPointF(r.left() + 2, r.bottom() - s * 2.2) << QPointF(r.right() - 2, r.top() + s * 1.6)
           << QPointF(r.right() - 2, r.top() + s * 2.6) << QPointF(r.left() + 2, r.bottom() - s * 1.2);
      p.setPen(QPen(kPipeEdge, 1));
      p.setBrush(kPipeBlue);
      p.drawPolygon(poly);
      break;
    }
    case GlyphKind::Fitting: fittingGlyph(p, r, cy, s); break;
    case GlyphKind::Valve: valveGlyph(p, r, cy, s, false); break;
    case GlyphKind::Pump: pumpGlyph(p, r, cy, s, facesRight); break;
    case GlyphKind::FVH: fvhGlyph(p, r, cy, s); break;
    case GlyphKind::Gauge: gaugeGlyph(p, r, cy, s); break;
    case GlyphKind::Supply: {
      ElementGeom g;
      g.rect = {static_cast<int>(r.left()), static_cast<int>(r.top()), static_cast<int>(r.width()),
                static_cast<int>(r.height())};
      g.supplyType = 0;
      g.supplyFirst = true;
      // A compact open tank for the button: scale the fixed 20-pixel margins down.
      p.translate(r.topLeft());
      p.scale(r.width() / 60.0, r.height() / 60.0);
      g.rect = {0, 0, 60, 60};
      supplyShape(p, g, 8, false);
      break;
    }
  }
  p.restore();
}

}  // namespace vt
