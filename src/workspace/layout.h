// Geometry of the workspace drawing: the current line as an elevation profile. Everything a
// canvas needs to paint is computed here into plain structs, so the numbers are tested headless
// and the painter only strokes what it is given.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vt {

class Project;

struct IPoint {
  int x = 0, y = 0;
  bool operator==(const IPoint&) const = default;
};

struct IRect {
  int left = 0, top = 0, width = 0, height = 0;
  int right() const { return left + width; }
  int bottom() const { return top + height; }
  bool contains(int x, int y) const { return x >= left && x < right() && y >= top && y < bottom(); }
  // Strict overlap, as the capture rectangle tests it.
  bool overlaps(const IRect& o) const {
    return o.top < bottom() && top < o.bottom() && o.left < right() && left < o.right();
  }
  IRect shifted(int dx) const { return {left + dx, top, width, height}; }
  bool operator==(const IRect&) const = default;
};

struct ISegment {
  IPoint a, b;
};

// One horizontal line of the elevation grid with its label text.
struct GridLine {
  int y = 0;  // absolute y of the line
  double value = 0;
  std::string label;  // "  <value> <unit> "
};

// Everything drawn for one element of the current line. Coordinates are unscrolled: subtract
// Workspace::scrollShift() to get the window's.
struct ElementGeom {
  int pos = 0;   // position in ElemSeq
  int n = 0;     // element number
  int type = 0;  // ElemKind
  IRect rect;        // the element image's bounds (the hit-test rectangle)
  IRect arrowRect;   // above the element: direction arrows
  IRect markerRect;  // upper right: demand and supply flow arrows
  bool tagged = false;
  bool visible = false;  // inside the scrolled view

  // Pipe band: filled polygon with a black outline of width bandPen.
  std::array<IPoint, 4> band{};
  int bandPen = 1;

  int valveCode = 0;   // valves and fittings: their Code
  int redArrow = 0;    // valves with a direction, pumps, FVHs: 1 right, -1 left, 0 none
  bool pumpFacesRight = true;
  std::string nodeLabel;  // gauges and supplies: "B13", "M" ... drawn in red on the top edge
  int greenArrow = 0;     // gauge demand: 1 into the system, -1 out of it
  int flowArrow = 0;      // supply: 1 right, -1 left (solved)

  // Supply shape.
  int supplyType = 0;
  bool supplyFirst = false;  // first element of the main line: its outlet faces right

  // After a solution: teal HGL strokes, dotted teal supply lines, dotted silver pressure line.
  std::vector<ISegment> hgl;
  std::vector<ISegment> hglDotted;
  bool hasPressureLine = false;
  ISegment pressureLine;

  // ID text and its row (0 directly under the rectangle, 1 one text line lower).
  std::string id;
  int idRow = 0;
};

// Drawing state of the workspace and the layout of the line shown.
class Workspace {
 public:
  static constexpr int kSupplyWidth = 60;
  static constexpr int kSupplyHeight = 60;
  static constexpr float kMarginFraction = 0.05f;
  static constexpr int kMaxPositions = 1031;

  // ---- settings kept between redraws ----
  int ElemSize = 32;          // element-size slider: 32..64, step 8
  float PipePxPerUnit = 0;    // 0 until the first line with pipes is drawn
  int pipeSlider = 50;        // pipe-length slider 1..100
  int scrollPos = 0;          // horizontal scroll bar position, percent of ScrollRange
  bool reportMode = false;    // drawing for the report picture: no scrolling, everything drawn

  // ---- computed by layout() ----
  int clientWidth = 0, clientHeight = 0;
  int ElemWidth = 32, ElemHeight = 32, BandWidth = 6;
  float ElevMin = 0, ElevMax = 0;
  double ScaleTop = 0;
  float ScaleStep = 1, ScaleBase = 0;
  float PxPerUnit = 1;
  int DrawTop = 0, DrawHeight = 0;
  std::array<int, kMaxPositions> ElemX{};
  int LineWidth = 0;
  int ScrollRange = 0;
  int pictureWidth = 0;  // width of the drawn picture: the client width, or the whole line in report mode
  float FirstAnchorElev = -19999.0f;
  double totalPipeLength = 0, longestPipe = 0;
  bool pipeSliderShown = false;
  bool scrollBarShown = false;
  int scrollLarge = 1, scrollSmall = 1;
  bool hglShown = false;    // solved and the line is not empty
  bool rangeError = false;  // an elevation could not be placed on the scale ("Range error!")
  std::vector<GridLine> grid;
  std::vector<ElementGeom> elems;  // the current line, in order

  // DrawSystem's geometry: range, scales, grid, InterpolateElevations, LayoutLine and the drawn
  // shapes of every element of the current line. drawTop is the y where the drawing area starts.
  void layout(Project& pr, int clientW, int clientH, int drawTop = 0);

  // y pixel of an elevation given in display length units.
  int ElevToPixel(double v);
  // Pixels the view is shifted by the scroll bar.
  int scrollShift() const;
  // Geometry of element n in the current line, or nullptr.
  const ElementGeom* find(int n) const;
  // The element whose rectangle holds the window point (x, y), or 0.
  int hitTest(int x, int y) const;
  // Whether the element at a line position lies inside the scrolled view.
  bool inView(const ElementGeom& g) const;
  // Insert side for a pointer at window x over element g: -1 before, 1 after.
  int insertSide(const ElementGeom& g, int windowX) const;
  // Scroll position (0..100) that brings element n into view, advancing by the large change as
  // the scroll bar would; unchanged when it is already visible.
  int scrollPosToShow(int n) const;

 private:
  void elevationRange(Project& pr, double f);
  void computeScale(double f);
  void buildGrid(const std::string& unit);
  void layoutLine(Project& pr, double f);
  void elementShapes(Project& pr, double f);
  void shapeOf(Project& pr, ElementGeom& g, double f);
  void hglOf(Project& pr, ElementGeom& g, double f);
};

// Steps of the layout, public for tests and for the report.
// Spacing of the elevation grid for a target spacing (display length units).
double scaleStepFor(double target);
// Value of grid line 0 for a scale top and step.
double scaleBaseFor(double top, double step);
// Label of a grid line: "  <value> <unit> ", general with 5 digits for steps >= 1, else 2 decimals.
std::string gridLabel(double value, double step, const std::string& unit);
// Drawn elevations of pipes, fittings, non-anchor valves and FVHs of the current line, carried
// from the elevation anchors. firstAnchorElev is -19999 when the line has none.
void InterpolateElevations(Project& pr, float firstAnchorElev);
// Whether element n has an elevation of its own, and that (connection) elevation in inches.
bool isAnchor(const Project& pr, int n);
float anchorElev(const Project& pr, int n);
// Valves whose flow is allowed in one direction only: check and control valves.
bool valveHasDirection(int code);
// Element size slider steps: 32, 40, 48, 56, 64; band thickness round(size / 5).
int bandWidthFor(int elemHeight);

}  // namespace vt
