// Paints a laid-out workspace (workspace/layout.h) with QPainter: grid, pipe bands, element glyphs,
// supply shapes, labels, IDs and the HGL overlay. Used by the canvas, Save as JPEG, the report
// picture and the benchmark. All coordinates are device-independent pixels.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRectF>

class QPainter;

namespace vt {

class Project;
class Workspace;

struct PaintStyle {
  QFont idFont;                // element IDs (and grid labels' colour on screen)
  QColor idColor{0x80, 0x80, 0x80};
  bool showIds = true;
  bool report = false;         // heavier pen, black text, IDs always
};

// Glyph kinds for the element buttons and the canvas.
enum class GlyphKind { Supply, Pipe, Gauge, Valve, Fitting, Pump, FVH };

// The whole picture: white background, grid and every element in view, shifted by the scroll.
void paintWorkspace(QPainter& p, const Workspace& ws, Project& pr, const PaintStyle& style);

// The report picture: the current line laid out like the screen drawing `screen` (same element
// size, pipe scale and client size) but whole, without scrolling, with heavier pens and black
// 6-point IDs. The image is as wide as the line (plus margins) at the given pixel ratio.
QImage renderReportPicture(Project& pr, const Workspace& screen, qreal devicePixelRatio = 2.0);

// One element kind's glyph in a rectangle (button icons).
void paintGlyph(QPainter& p, GlyphKind kind, const QRectF& r, bool facesRight = true);

}  // namespace vt
