#include "workspace/ui/workspace_canvas.h"

#include <QApplication>
#include <QDrag>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

#include "files/element_clipboard.h"
#include "model/project.h"
#include "workspace/editing.h"
#include "workspace/layout.h"
#include "workspace/ui/workspace_painter.h"
#include "workspace/ui/workspace_widget.h"

namespace vt {

namespace {
std::vector<size_t> mimeIndices(const QMimeData* m) {
  std::vector<size_t> out;
  for (const QByteArray& part : m->data(kMimeClipEntries).split(',')) {
    bool ok = false;
    int v = part.trimmed().toInt(&ok);
    if (ok && v >= 0) out.push_back(static_cast<size_t>(v));
  }
  return out;
}
int mimeInt(const QMimeData* m, const char* type) {
  bool ok = false;
  int v = QString::fromLatin1(m->data(type)).toInt(&ok);
  return ok ? v : 0;
}
const QColor kOlive(0x80, 0x80, 0x00);
const QColor kCaptureGreen(0x00, 0x80, 0x00);
const QColor kFuchsia(0xff, 0x00, 0xff);
}  // namespace

WorkspaceCanvas::WorkspaceCanvas(WorkspaceWidget& owner) : QWidget(&owner), owner_(owner) {
  setAcceptDrops(true);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(200, 160);
}

void WorkspaceCanvas::invalidate() {
  dirty_ = true;
  update();
}

int WorkspaceCanvas::elementAt(const QPoint& pt) const { return owner_.ws_->hitTest(pt.x(), pt.y()); }

QRect WorkspaceCanvas::elementRect(int n) const {
  const ElementGeom* g = owner_.ws_->find(n);
  if (!g || !g->visible) return {};
  IRect r = g->rect.shifted(-owner_.ws_->scrollShift());
  return QRect(r.left, r.top, r.width, r.height);
}

void WorkspaceCanvas::setInsertMark(int n, int side) {
  if (n == markElem_ && side == markSide_) return;
  markElem_ = n;
  markSide_ = side;
  owner_.edit_->MarkedElem = n;
  owner_.edit_->PrevInsertSide = side;
  if (n != 0 && owner_.hooks_.showInspector) owner_.hooks_.showInspector(0);
  update();
}

// ---------------------------------------------------------------- painting

void WorkspaceCanvas::render() {
  const qreal dpr = devicePixelRatioF();
  QSize px = size() * dpr;
  if (image_.size() != px || image_.devicePixelRatio() != dpr) {
    image_ = QImage(px, QImage::Format_ARGB32_Premultiplied);
    image_.setDevicePixelRatio(dpr);
  }
  QPainter p(&image_);
  paintWorkspace(p, *owner_.ws_, owner_.project_, owner_.paintStyle());
  dirty_ = false;
}

void WorkspaceCanvas::paintEvent(QPaintEvent*) {
  if (dirty_ || image_.isNull()) render();
  QPainter p(this);
  p.drawImage(0, 0, image_);
  Editing& ed = *owner_.edit_;
  if (ed.CaptureShown) {
    p.setPen(QPen(kOlive, 2));
    p.setBrush(Qt::NoBrush);
    for (int n : ed.CaptureList) {
      QRect r = elementRect(n);
      if (!r.isEmpty()) p.drawRect(r.adjusted(1, 1, -1, -1));
    }
    const IRect& c = ed.CaptureRect;
    p.setPen(QPen(kCaptureGreen, 1));
    p.drawRect(QRect(c.left, c.top, c.width, c.height));
  } else if (ed.Capturing) {
    const IRect& c = ed.CaptureRect;
    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    p.setBrush(QColor(0, 128, 0, 18));
    p.drawRect(QRect(QPoint(c.left, c.top), QPoint(c.right(), c.bottom())).normalized());
  }
  if (markElem_ != 0) {
    QRect r = elementRect(markElem_);
    if (!r.isEmpty()) {
      int x = markSide_ < 0 ? r.left() : r.left() + r.width();
      p.setPen(QPen(kFuchsia, 2));
      p.drawLine(x, r.top(), x, r.top() + r.height());
    }
  }
}

void WorkspaceCanvas::resizeEvent(QResizeEvent*) { owner_.DrawSystem(); }

// ---------------------------------------------------------------- mouse

void WorkspaceCanvas::hover(int n) {
  Editing& ed = *owner_.edit_;
  if (n == ed.cur_elem && ed.OverElement == (n != 0)) return;
  ed.cur_elem = n;
  ed.OverElement = n != 0;
  if (owner_.hooks_.showInspector) owner_.hooks_.showInspector(n);
}

void WorkspaceCanvas::mousePressEvent(QMouseEvent* e) {
  Editing& ed = *owner_.edit_;
  const QPoint pos = e->position().toPoint();
  const bool ctrl = e->modifiers() & Qt::ControlModifier;
  const int n = elementAt(pos);
  setFocus(Qt::MouseFocusReason);
  if (n != 0) {
    if (!ctrl && ed.DragType == -1) ed.DragType = 0;
    ed.PendingElem = n;
    hover(n);
    if (e->button() == Qt::RightButton && ed.DragType == 0) {
      showElementMenu(n, e->globalPosition().toPoint());
      return;
    }
    if (ctrl) ed.DragType = -1;
    if (e->button() == Qt::LeftButton) {
      pressElem_ = n;
      pressPos_ = pos;
      pressButton_ = Qt::LeftButton;
      dragStarted_ = false;
    }
    return;
  }
  if (e->button() == Qt::LeftButton) {
    if (ed.CaptureShown) ed.cancelCapture();
    if (owner_.project_.tot_elems > 0) {
      ed.Capturing = true;
      captureStart_ = pos;
      ed.CaptureRect = {pos.x(), pos.y(), 0, 0};
    }
    update();
  } else if (e->button() == Qt::RightButton) {
    if (ed.CaptureShown && ed.captureContains(pos.x(), pos.y())) {
      showCaptureMenu(e->globalPosition().toPoint());
      return;
    }
    if (ed.CaptureShown) {
      ed.cancelCapture();
      update();
    }
    showBackgroundMenu(e->globalPosition().toPoint() + QPoint(10, 0));
  }
}

void WorkspaceCanvas::mouseMoveEvent(QMouseEvent* e) {
  Editing& ed = *owner_.edit_;
  const QPoint pos = e->position().toPoint();
  if (ed.Capturing) {
    ed.CaptureRect = {captureStart_.x(), captureStart_.y(), pos.x() - captureStart_.x(), pos.y() - captureStart_.y()};
    update();
    return;
  }
  if (pressElem_ != 0 && (e->buttons() & Qt::LeftButton) && !dragStarted_ &&
      (pos - pressPos_).manhattanLength() >= QApplication::startDragDistance()) {
    startElementDrag(pressElem_);
    return;
  }
  hover(elementAt(pos));
}

void WorkspaceCanvas::mouseReleaseEvent(QMouseEvent* e) {
  Editing& ed = *owner_.edit_;
  const QPoint pos = e->position().toPoint();
  if (ed.Capturing) {
    ed.CaptureRect = {captureStart_.x(), captureStart_.y(), pos.x() - captureStart_.x(), pos.y() - captureStart_.y()};
    bool any = ed.finishCapture(ed.CaptureRect);
    update();
    if (any) showCaptureMenu(e->globalPosition().toPoint());
    return;
  }
  const int pressed = pressElem_;
  pressElem_ = 0;
  if (pressed != 0 && !dragStarted_ && e->button() == Qt::LeftButton && elementAt(pos) == pressed &&
      ed.DragType != -1) {  // a Ctrl-click opens no editor
    ed.PendingElem = pressed;
    owner_.editElement();
  }
  // A press that led to no menu command leaves no pending element for later keys.
  ed.PendingElem = 0;
}

void WorkspaceCanvas::wheelEvent(QWheelEvent* e) {
  QScrollBar* sb = owner_.hscroll_;
  if (!sb || !sb->isVisible()) return;
  int delta = e->angleDelta().y() != 0 ? e->angleDelta().y() : e->angleDelta().x();
  sb->setValue(sb->value() - (delta > 0 ? sb->singleStep() : -sb->singleStep()));
  e->accept();
}

void WorkspaceCanvas::enterEvent(QEnterEvent*) {
  // The element keys (Delete, T, Enter, Page Down) act on the element under the pointer.
  if (window()->isActiveWindow() && !QApplication::activePopupWidget()) setFocus(Qt::MouseFocusReason);
}

void WorkspaceCanvas::leaveEvent(QEvent*) {
  if (!owner_.edit_->Capturing) hover(0);
}

void WorkspaceCanvas::keyPressEvent(QKeyEvent* e) {
  Editing& ed = *owner_.edit_;
  if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
    QWidget::keyPressEvent(e);
    return;
  }
  switch (e->key()) {
    case Qt::Key_Delete:
      if (ed.OverElement && ed.cur_elem != 0) owner_.deleteElement();
      break;
    case Qt::Key_T: owner_.tagElement(); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (ed.cur_elem > 0) owner_.editElement();
      break;
    case Qt::Key_PageDown: owner_.nextElement(); break;
    default: QWidget::keyPressEvent(e); return;
  }
  e->accept();
}

bool WorkspaceCanvas::event(QEvent* e) {
  if (e->type() == QEvent::ToolTip) {
    auto* he = static_cast<QHelpEvent*>(e);
    if (!owner_.project_.proj.Expert && elementAt(he->pos()) != 0)
      QToolTip::showText(he->globalPos(), "Click to edit, click-right for menu", this);
    else
      QToolTip::hideText();
    return true;
  }
  return QWidget::event(e);
}

// ---------------------------------------------------------------- drag and drop

void WorkspaceCanvas::startElementDrag(int n) {
  Editing& ed = *owner_.edit_;
  dragStarted_ = true;
  ed.DragSource = n;
  auto* drag = new QDrag(this);
  auto* mime = new QMimeData;
  mime->setData(kMimePlacedElement, QByteArray::number(n));
  drag->setMimeData(mime);
  QRect r = elementRect(n);
  if (!r.isEmpty() && !image_.isNull()) {
    const qreal dpr = image_.devicePixelRatio();
    QImage part = image_.copy(QRect(r.topLeft() * dpr, r.size() * dpr));
    part.setDevicePixelRatio(dpr);
    QPixmap pm = QPixmap::fromImage(part);
    drag->setPixmap(pm);
    drag->setHotSpot(pressPos_ - r.topLeft());
  }
  QObject* target = nullptr;
  Qt::DropAction action = drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
  target = drag->target();
  // A drop elsewhere (the element clipboard) that took a captured run completes a move.
  if (action != Qt::IgnoreAction && target != nullptr && target != this && !ed.CaptureList.empty()) {
    for (auto it = ed.CaptureList.rbegin(); it != ed.CaptureList.rend(); ++it) owner_.project_.RemoveFromLine(*it);
    owner_.project_.SetModified(true);
  }
  ed.CaptureList.clear();
  ed.CaptureShown = false;
  ed.DropCopies = false;
  ed.DragSource = 0;
  ed.PendingElem = 0;
  pressElem_ = 0;
  setInsertMark(0, 0);
  if (owner_.hooks_.showInspector) owner_.hooks_.showInspector(0);
  owner_.project_.idBranches(owner_.project_.CurLine);
  owner_.DrawSystem();
  emit owner_.projectChanged();
}

void WorkspaceCanvas::dragEnterEvent(QDragEnterEvent* e) {
  const QMimeData* m = e->mimeData();
  if (m->hasFormat(kMimeNewElement) || m->hasFormat(kMimePlacedElement) ||
      (m->hasFormat(kMimeClipEntries) && owner_.clipboard_))
    e->acceptProposedAction();
  else
    e->ignore();
}

void WorkspaceCanvas::dragMoveEvent(QDragMoveEvent* e) {
  const QPoint pos = e->position().toPoint();
  const bool fromClip = e->mimeData()->hasFormat(kMimeClipEntries);
  const bool isNew = e->mimeData()->hasFormat(kMimeNewElement) || fromClip;
  const int source = isNew ? 0 : mimeInt(e->mimeData(), kMimePlacedElement);
  // Entries dragged from the clipboard with Ctrl held stay on it.
  owner_.edit_->DropCopies = fromClip && (e->modifiers() & Qt::ControlModifier);
  if (fromClip) e->setDropAction(owner_.edit_->DropCopies ? Qt::CopyAction : Qt::MoveAction);
  const int n = elementAt(pos);
  Editing& ed = *owner_.edit_;
  if (n != 0 && (isNew || source != n)) {
    const ElementGeom* g = owner_.ws_->find(n);
    ed.cur_elem = n;
    int side = owner_.ws_->insertSide(*g, pos.x());
    ed.InsertSide = side;
    setInsertMark(n, side);
    if (fromClip) e->accept();
    else e->acceptProposedAction();
    return;
  }
  setInsertMark(0, 0);
  const Project& pr = owner_.project_;
  if (n == 0 && isNew && pr.LineStart[pr.CurLine] == pr.LineEnd[pr.CurLine]) {
    if (fromClip) e->accept();
    else e->acceptProposedAction();
  } else {
    e->ignore();
  }
}

void WorkspaceCanvas::dragLeaveEvent(QDragLeaveEvent*) { setInsertMark(0, 0); }

void WorkspaceCanvas::dropEvent(QDropEvent* e) {
  const QPoint pos = e->position().toPoint();
  setInsertMark(0, 0);
  if (e->mimeData()->hasFormat(kMimeNewElement)) {
    int type = mimeInt(e->mimeData(), kMimeNewElement);
    e->acceptProposedAction();
    dropNew(type, pos);
  } else if (e->mimeData()->hasFormat(kMimeClipEntries)) {
    bool copies = e->modifiers() & Qt::ControlModifier;
    e->setDropAction(copies ? Qt::CopyAction : Qt::MoveAction);
    e->accept();
    dropClipEntries(mimeIndices(e->mimeData()), pos, copies);
  } else if (e->mimeData()->hasFormat(kMimePlacedElement)) {
    int source = mimeInt(e->mimeData(), kMimePlacedElement);
    e->setDropAction(Qt::MoveAction);
    e->accept();
    dropPlaced(source, pos);
  }
}

bool WorkspaceCanvas::dropNew(int type, const QPoint& at) {
  Editing& ed = *owner_.edit_;
  ed.DragType = type;
  ed.PendingElem = 0;
  const int n = elementAt(at);
  bool ok;
  if (n != 0) {
    const ElementGeom* g = owner_.ws_->find(n);
    ok = ed.dropNewOnElement(n, owner_.ws_->insertSide(*g, at.x()), type);
  } else {
    ok = ed.dropNewOnBackground(type);
  }
  ed.DragType = 0;
  owner_.afterEdit(ok);
  return ok;
}

bool WorkspaceCanvas::dropClipEntries(const std::vector<size_t>& entries, const QPoint& at, bool copies) {
  if (!owner_.clipboard_) return false;
  Editing& ed = *owner_.edit_;
  const int n = elementAt(at);
  int side = 1;
  if (n != 0) side = owner_.ws_->insertSide(*owner_.ws_->find(n), at.x());
  ed.DragSource = -1;
  bool ok = ed.dropClipEntries(*owner_.clipboard_, entries, n, side, copies);
  ed.DragSource = 0;
  ed.DropCopies = false;
  if (ok && !copies && owner_.hooks_.clipboardChanged) owner_.hooks_.clipboardChanged();
  owner_.afterEdit(ok);
  return ok;
}

bool WorkspaceCanvas::dropPlaced(int source, const QPoint& at) {
  Editing& ed = *owner_.edit_;
  const int n = elementAt(at);
  if (n == 0) return false;
  const ElementGeom* g = owner_.ws_->find(n);
  auto result = ed.dropElementOn(source, n, owner_.ws_->insertSide(*g, at.x()));
  if (result == Editing::DropResult::OpenEditor) {
    ed.PendingElem = source;
    owner_.editElement();
    return false;
  }
  owner_.afterEdit(result == Editing::DropResult::Moved);
  return result == Editing::DropResult::Moved;
}

// ---------------------------------------------------------------- menus

void WorkspaceCanvas::showElementMenu(int n, const QPoint& at) {
  Project& pr = owner_.project_;
  Editing& ed = *owner_.edit_;
  WorkspaceHooks& hk = owner_.hooks_;
  QMenu menu(this);
  const int type = pr.ElemType[n];
  if (type == kPump && pr.pump[n]) {
    QAction* rot = menu.addAction("Rotavex");
    rot->setEnabled(pr.proj.Solved && hk.rotavex);
    connect(rot, &QAction::triggered, this, [&hk, n] { hk.rotavex(n); });
    QAction* plot = menu.addAction("Plot Pump");
    plot->setEnabled((pr.proj.Solved || pr.pump[n]->CurveDefined) && hk.plotElement);
    connect(plot, &QAction::triggered, this, [&hk, n] { hk.plotElement(n); });
    menu.addSeparator();
  } else if (type == kFVH && pr.fvh[n]) {
    QAction* plot = menu.addAction("Plot FVH");
    plot->setEnabled(pr.fvh[n]->CoefA != kBlank && hk.plotElement);
    connect(plot, &QAction::triggered, this, [&hk, n] { hk.plotElement(n); });
    menu.addSeparator();
  }
  connect(menu.addAction("Edit"), &QAction::triggered, &owner_, &WorkspaceWidget::editElement);
  QAction* del = menu.addAction("Delete");
  del->setShortcut(QKeySequence("Ctrl+X"));
  connect(del, &QAction::triggered, this, [this] { owner_.deleteElementCommand(); });
  bool tagged = false;
  if (const uint8_t* f = pr.flagByte(n)) tagged = *f & 1;
  QAction* tag = menu.addAction(tagged ? "UnTag" : "Tag");
  tag->setShortcut(QKeySequence("Ctrl+T"));
  connect(tag, &QAction::triggered, &owner_, &WorkspaceWidget::tagElement);
  QAction* copy = menu.addAction("Copy Element");
  copy->setShortcut(QKeySequence("Ctrl+C"));
  connect(copy, &QAction::triggered, &owner_, &WorkspaceWidget::copyElement);
  QAction* paste = menu.addAction("Paste Before");
  paste->setShortcut(QKeySequence("Ctrl+V"));
  paste->setEnabled(ed.copyBuffer.has_value());
  connect(paste, &QAction::triggered, &owner_, &WorkspaceWidget::pasteBefore);
  QAction* toClip = menu.addAction("Copy to Clipboard");
  toClip->setEnabled(static_cast<bool>(hk.addToClipboard));
  connect(toClip, &QAction::triggered, this, [this] { owner_.clipboardCommand(false); });
  QAction* moveClip = menu.addAction("Move to Clipboard");
  moveClip->setEnabled(static_cast<bool>(hk.addToClipboard));
  connect(moveClip, &QAction::triggered, this, [this] { owner_.clipboardCommand(true); });
  menu.addAction("Cancel");
  menu.exec(at);
  ed.PendingElem = 0;
}

void WorkspaceCanvas::showBackgroundMenu(const QPoint& at) {
  WorkspaceHooks& hk = owner_.hooks_;
  QMenu menu(this);
  QAction* group = menu.addAction("Group Edit/Find...");
  group->setEnabled(static_cast<bool>(hk.groupEdit));
  connect(group, &QAction::triggered, this, [&hk] { hk.groupEdit(); });
  connect(menu.addAction("Clear All Tags"), &QAction::triggered, &owner_, &WorkspaceWidget::clearAllTags);
  QAction* clip = menu.addAction("Show Clipboard");
  clip->setShortcut(QKeySequence(Qt::Key_F3));
  clip->setEnabled(static_cast<bool>(hk.showClipboard) && !hk.clipboardVisible);
  connect(clip, &QAction::triggered, this, [&hk] { hk.showClipboard(); });
  QAction* sol = menu.addAction("Show Last Solution");
  sol->setEnabled(hk.showLastSolution && hk.canShowLastSolution && hk.canShowLastSolution());
  connect(sol, &QAction::triggered, this, [&hk] { hk.showLastSolution(); });
  menu.addAction("Cancel");
  menu.exec(at);
}

void WorkspaceCanvas::showCaptureMenu(const QPoint& at) {
  WorkspaceHooks& hk = owner_.hooks_;
  QMenu menu(this);
  connect(menu.addAction("&Tag"), &QAction::triggered, this, [this] { owner_.captureCommand(CaptureCommand::Tag); });
  connect(menu.addAction("UnTag"), &QAction::triggered, this, [this] { owner_.captureCommand(CaptureCommand::UnTag); });
  connect(menu.addAction("&Delete"), &QAction::triggered, this, [this] { owner_.captureCommand(CaptureCommand::Delete); });
  QAction* copy = menu.addAction("&Copy to Clipboard");
  copy->setEnabled(static_cast<bool>(hk.addToClipboard));
  connect(copy, &QAction::triggered, this, [this] { owner_.captureCommand(CaptureCommand::CopyToClipboard); });
  QAction* move = menu.addAction("Move to Clipboard");
  move->setEnabled(static_cast<bool>(hk.addToClipboard));
  connect(move, &QAction::triggered, this, [this] { owner_.captureCommand(CaptureCommand::MoveToClipboard); });
  connect(menu.addAction("Reverse"), &QAction::triggered, this, [this] { owner_.captureCommand(CaptureCommand::Reverse); });
  connect(menu.addAction("Cancel"), &QAction::triggered, this, [this] { owner_.captureCommand(CaptureCommand::Cancel); });
  menu.exec(at);
}

}  // namespace vt
