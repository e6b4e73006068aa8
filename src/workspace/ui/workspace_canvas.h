// The drawing surface of the workspace: paints the laid-out line from an off-screen image, hit-tests
// element rectangles and turns mouse, drag and key events into editing commands.
#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <vector>

namespace vt {

class WorkspaceWidget;

// Drag data: a new element from an element button carries its kind, a placed element its number.
inline constexpr const char* kMimeNewElement = "application/x-vortelan-new-element";
inline constexpr const char* kMimePlacedElement = "application/x-vortelan-placed-element";
// Entries of the element clipboard: their indices in list order, comma-separated ("0,2,5").
inline constexpr const char* kMimeClipEntries = "application/x-vortelan-clip-entries";

class WorkspaceCanvas : public QWidget {
  Q_OBJECT
 public:
  explicit WorkspaceCanvas(WorkspaceWidget& owner);

  // The drawing changed: re-render the off-screen image at the next paint.
  void invalidate();
  // Element under a canvas point, or 0.
  int elementAt(const QPoint& pt) const;
  // Window rectangle of element n in the current view (empty when not shown).
  QRect elementRect(int n) const;
  // Insert mark shown while something is dragged over element n (0 hides it).
  void setInsertMark(int n, int side);
  int markedElement() const { return markElem_; }
  int markedSide() const { return markSide_; }

  // Same decisions as the mouse handlers, callable by tests without synthesising a drag.
  bool dropNew(int type, const QPoint& at);
  bool dropPlaced(int source, const QPoint& at);
  bool dropClipEntries(const std::vector<size_t>& entries, const QPoint& at, bool copies);

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void wheelEvent(QWheelEvent*) override;
  void enterEvent(QEnterEvent*) override;
  void leaveEvent(QEvent*) override;
  void keyPressEvent(QKeyEvent*) override;
  void dragEnterEvent(QDragEnterEvent*) override;
  void dragMoveEvent(QDragMoveEvent*) override;
  void dragLeaveEvent(QDragLeaveEvent*) override;
  void dropEvent(QDropEvent*) override;
  bool event(QEvent*) override;

 private:
  void render();
  void startElementDrag(int n);
  void showElementMenu(int n, const QPoint& at);
  void showBackgroundMenu(const QPoint& at);
  void showCaptureMenu(const QPoint& at);
  void hover(int n);

  WorkspaceWidget& owner_;
  QImage image_;
  bool dirty_ = true;
  QPoint pressPos_;
  int pressElem_ = 0;
  Qt::MouseButton pressButton_ = Qt::NoButton;
  bool dragStarted_ = false;
  QPoint captureStart_;
  int markElem_ = 0, markSide_ = 0;
};

}  // namespace vt
