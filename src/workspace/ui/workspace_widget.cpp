#include "workspace/ui/workspace_widget.h"

#include <QApplication>
#include <algorithm>
#include <QAbstractItemView>
#include <QComboBox>
#include <QCursor>
#include <QDrag>
#include <QFileInfo>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QShortcut>
#include <QSlider>
#include <QToolBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "editors/ui/element_editors.h"
#include "files/element_clipboard.h"
#include "model/project.h"
#include "workspace/editing.h"
#include "workspace/layout.h"
#include "workspace/ui/workspace_canvas.h"

namespace vt {

namespace {

// An element button: pressing and dragging it carries a new element of its kind to the line.
class ElementButton : public QToolButton {
 public:
  ElementButton(WorkspaceWidget& ws, int type, GlyphKind glyph, const QString& text, QWidget* parent)
      : QToolButton(parent), ws_(ws), type_(type) {
    setText(text);
    setToolTip("Drag this element into system");
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setAutoRaise(true);
    QPixmap pm(QSize(64, 64));
    pm.setDevicePixelRatio(2.0);
    pm.fill(Qt::transparent);
    {
      QPainter p(&pm);
      paintGlyph(p, glyph, QRectF(1, 1, 30, 30));
    }
    setIcon(QIcon(pm));
    setIconSize(QSize(32, 32));
  }

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    armed_ = false;
    if (e->button() == Qt::LeftButton) {
      // A supply is refused at the press when its line already has all it may hold.
      if (type_ == kSupply && !ws_.editing().canStartSupplyDrag()) return;
      armed_ = true;
      pressPos_ = e->position().toPoint();
    }
    QToolButton::mousePressEvent(e);
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (armed_ && (e->buttons() & Qt::LeftButton) &&
        (e->position().toPoint() - pressPos_).manhattanLength() >= QApplication::startDragDistance()) {
      armed_ = false;
      setDown(false);
      ws_.editing().DragType = type_;
      ws_.editing().DragSource = 0;
      auto* drag = new QDrag(this);
      auto* mime = new QMimeData;
      mime->setData(kMimeNewElement, QByteArray::number(type_));
      drag->setMimeData(mime);
      drag->setPixmap(icon().pixmap(QSize(32, 32), devicePixelRatioF()));
      drag->setHotSpot(QPoint(16, 16));
      drag->exec(Qt::CopyAction);
      ws_.editing().DragType = 0;
      return;
    }
    QToolButton::mouseMoveEvent(e);
  }

 private:
  WorkspaceWidget& ws_;
  int type_;
  bool armed_ = false;
  QPoint pressPos_;
};

// The line selector: the full list of lines while open, the current line's name while closed.
class LineCombo : public QComboBox {
 public:
  LineCombo(std::function<void()> onOpen, std::function<void()> onClose, QWidget* parent)
      : QComboBox(parent), onOpen_(std::move(onOpen)), onClose_(std::move(onClose)) {}
  void showPopup() override {
    onOpen_();
    QComboBox::showPopup();
  }
  void hidePopup() override {
    QComboBox::hidePopup();
    // The choice (activated) is reported after the popup closes: shrink the list only then.
    QTimer::singleShot(0, this, [this] {
      if (!view()->isVisible()) onClose_();
    });
  }

 private:
  std::function<void()> onOpen_, onClose_;
};

}  // namespace

WorkspaceWidget::WorkspaceWidget(Project& project, QWidget* parent)
    : QWidget(parent), project_(project), ws_(std::make_unique<Workspace>()),
      edit_(std::make_unique<Editing>(project, *ws_)), ownEditorCtx_(std::make_unique<EditorContext>()) {
  idFont_ = font();
  idFont_.setPointSizeF(8);
  edit_->hooks.openEditor = [this](int n, int type, bool isNew, int& place) { return runEditor(n, type, isNew, place); };
  edit_->hooks.addToClipboard = [this](int n) {
    if (hooks_.addToClipboard) return hooks_.addToClipboard(n);
    return clipboard_ ? clipboard_->AddToClipboard(project_, n) : false;
  };
  edit_->hooks.showClipboard = [this] {
    if (hooks_.showClipboard) hooks_.showClipboard();
  };
  edit_->hooks.pointAt = [this](int n) {
    canvas_->invalidate();
    if (hooks_.showInspector) hooks_.showInspector(n);
  };
  if (!project_.onCleared) {
    ownsOnCleared_ = true;
    project_.onCleared = [this] {
      ws_->scrollPos = 0;
      ws_->PipePxPerUnit = 0;
      ws_->pipeSlider = 50;
      edit_->cancelCapture();
      edit_->cur_elem = edit_->PendingElem = edit_->MarkedElem = 0;
    };
  }
  buildUi();
  installShortcuts();
  project_.RefreshSpots();
  fillLineSelector(false);
}

WorkspaceWidget::~WorkspaceWidget() {
  if (ownsOnCleared_) project_.onCleared = nullptr;
  // The element bar is ours until a main window takes it.
  if (elementBar_ && !elementBar_->parent()) delete elementBar_.data();
}

void WorkspaceWidget::buildUi() {
  canvas_ = new WorkspaceCanvas(*this);

  elementBar_ = new QToolBar("Elements");
  elementBar_->setObjectName("elementToolBar");
  elementBar_->setMovable(false);
  struct Btn {
    int type;
    GlyphKind glyph;
    const char* text;
  };
  const Btn buttons[] = {{kSupply, GlyphKind::Supply, "Supply"}, {kPipe, GlyphKind::Pipe, "Pipe"},
                         {kGauge, GlyphKind::Gauge, "Gauge"},    {kValve, GlyphKind::Valve, "Valve"},
                         {kFitting, GlyphKind::Fitting, "Fitting"}, {kPump, GlyphKind::Pump, "Pump"},
                         {kFVH, GlyphKind::FVH, "FVH"}};
  for (const auto& b : buttons) {
    auto* btn = new ElementButton(*this, b.type, b.glyph, b.text, elementBar_);
    btn->setObjectName(QString("btn%1").arg(b.text));
    elementBar_->addWidget(btn);
  }

  lineCombo_ = new LineCombo([this] { fillLineSelector(true); }, [this] { fillLineSelector(false); }, this);
  lineCombo_->setObjectName("cbParallel");
  lineCombo_->setToolTip("Drop down to go to Branches (or use Alt-1..9)");
  lineCombo_->setMinimumContentsLength(24);
  lineCombo_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  connect(lineCombo_, qOverload<int>(&QComboBox::activated), this, [this](int k) {
    if (lineCombo_->count() < kLines) return;  // only the full list names lines by index
    edit_->chooseLine(k, true);
    fillLineSelector(false);
    DrawSystem();
    emit lineShown(k);
    if (k > 0 && project_.proj.InitBranchHelp && hooks_.showBranchHelp) hooks_.showBranchHelp();
  });

  sizeSlider_ = new QSlider(Qt::Horizontal, this);
  sizeSlider_->setObjectName("TrackBar1");
  sizeSlider_->setRange(32, 64);
  sizeSlider_->setSingleStep(8);
  sizeSlider_->setPageStep(8);
  sizeSlider_->setTickInterval(8);
  sizeSlider_->setTickPosition(QSlider::TicksBelow);
  sizeSlider_->setFixedWidth(110);
  sizeSlider_->setValue(ws_->ElemSize);
  sizeSlider_->setToolTip("Element size");
  sizeLabel_ = new QLabel(this);
  connect(sizeSlider_, &QSlider::valueChanged, this, [this](int v) {
    int snapped = 32 + ((v - 32 + 4) / 8) * 8;
    if (snapped != v) {
      sizeSlider_->setValue(snapped);
      return;
    }
    ws_->ElemSize = snapped;
    DrawSystem();
  });

  pipeBox_ = new QWidget(this);
  auto* pipeLay = new QHBoxLayout(pipeBox_);
  pipeLay->setContentsMargins(0, 0, 0, 0);
  auto* labPipe = new QLabel("Pipe lengths:", pipeBox_);
  labPipe->setObjectName("labPipeLengths");
  auto* labShort = new QLabel("Shorten", pipeBox_);
  labShort->setObjectName("labShorten");
  auto* labLong = new QLabel("Lengthen", pipeBox_);
  labLong->setObjectName("labLengthen");
  pipeSlider_ = new QSlider(Qt::Horizontal, pipeBox_);
  pipeSlider_->setObjectName("PipeScroll");
  pipeSlider_->setRange(1, 100);
  pipeSlider_->setPageStep(5);
  pipeSlider_->setFixedWidth(140);
  pipeLay->addWidget(labPipe);
  pipeLay->addWidget(labShort);
  pipeLay->addWidget(pipeSlider_);
  pipeLay->addWidget(labLong);
  connect(pipeSlider_, &QSlider::valueChanged, this, [this](int v) {
    if (updatingScroll_) return;
    ws_->pipeSlider = v;
    DrawSystem();
  });

  hscroll_ = new QScrollBar(Qt::Horizontal, this);
  hscroll_->setObjectName("HScroll");
  hscroll_->setRange(0, 100);
  hscroll_->hide();
  connect(hscroll_, &QScrollBar::valueChanged, this, [this](int v) {
    if (updatingScroll_) return;
    ws_->scrollPos = v;
    DrawSystem();
  });

  auto* strip = new QHBoxLayout;
  strip->setContentsMargins(6, 3, 6, 3);
  strip->setSpacing(8);
  auto* lineLabel = new QLabel("Line:", this);
  strip->addWidget(lineLabel);
  strip->addWidget(lineCombo_);
  strip->addStretch(1);
  strip->addWidget(pipeBox_);
  strip->addSpacing(12);
  strip->addWidget(new QLabel("Element size:", this));
  strip->addWidget(sizeSlider_);
  strip->addWidget(sizeLabel_);

  auto* lay = new QVBoxLayout(this);
  lay->setContentsMargins(0, 0, 0, 0);
  lay->setSpacing(0);
  lay->addLayout(strip);
  lay->addWidget(canvas_, 1);
  lay->addWidget(hscroll_);
}

void WorkspaceWidget::installShortcuts() {
  for (int k = 0; k < kLines; ++k) {
    for (Qt::KeyboardModifiers mod : {Qt::KeyboardModifiers(Qt::AltModifier), Qt::AltModifier | Qt::KeypadModifier}) {
      auto* sc = new QShortcut(QKeySequence(QKeyCombination(mod, static_cast<Qt::Key>(Qt::Key_0 + k))), this);
      sc->setContext(Qt::WindowShortcut);
      connect(sc, &QShortcut::activated, this, [this, k] {
        lineCombo_->hidePopup();
        showLine(k);
      });
    }
  }
  auto* f4 = new QShortcut(QKeySequence(Qt::Key_F4), this);
  f4->setContext(Qt::WindowShortcut);
  connect(f4, &QShortcut::activated, this, [this] {
    if (lineCombo_->hasFocus()) return;
    lineCombo_->setFocus();
    lineCombo_->showPopup();
  });
}

void WorkspaceWidget::setIdFont(const QFont& font, const QColor& color) {
  idFont_ = font;
  idColor_ = color;
  DrawSystem();
}

PaintStyle WorkspaceWidget::paintStyle() const {
  PaintStyle st;
  st.idFont = idFont_;
  st.idColor = idColor_;
  st.showIds = project_.proj.ShowElementIDs;
  return st;
}

// ---------------------------------------------------------------- drawing

void WorkspaceWidget::DrawSystem() {
  ws_->layout(project_, canvas_->width(), canvas_->height(), 0);
  if (ws_->rangeError && !rangeErrorShown_) {
    rangeErrorShown_ = true;
    project_.prompter().message(MsgKind::Error, "Range error!");
  } else if (!ws_->rangeError) {
    rangeErrorShown_ = false;
  }
  updateScrollBar();
  updatePipeSlider();
  sizeLabel_->setText(QString::number(ws_->ElemSize));
  canvas_->invalidate();
}

void WorkspaceWidget::updateScrollBar() {
  updatingScroll_ = true;
  hscroll_->setVisible(ws_->scrollBarShown);
  hscroll_->setPageStep(ws_->scrollLarge);
  hscroll_->setSingleStep(ws_->scrollSmall);
  hscroll_->setValue(ws_->scrollPos);
  updatingScroll_ = false;
}

void WorkspaceWidget::updatePipeSlider() {
  updatingScroll_ = true;
  pipeBox_->setVisible(ws_->pipeSliderShown);
  pipeSlider_->setValue(ws_->pipeSlider);
  updatingScroll_ = false;
}

QImage WorkspaceWidget::renderImage(qreal dpr) {
  QImage img(QSize(canvas_->width(), canvas_->height()) * dpr, QImage::Format_RGB32);
  img.setDevicePixelRatio(dpr);
  QPainter p(&img);
  paintWorkspace(p, *ws_, project_, paintStyle());
  return img;
}

void WorkspaceWidget::applyPipeSlider(int position) {
  ws_->pipeSlider = std::clamp(position, 1, 100);
  ws_->PipePxPerUnit = 1.0f;  // no longer the first drawing: the slider decides the scale
}

void WorkspaceWidget::setElementSize(int size) {
  if (size < 32 || size > 64 || size % 8 != 0) size = 32;
  ws_->ElemSize = size;
  sizeSlider_->setValue(size);
  DrawSystem();
}

int WorkspaceWidget::elementSize() const { return ws_->ElemSize; }

void WorkspaceWidget::projectReplaced() {
  ws_->scrollPos = 0;
  if (ws_->PipePxPerUnit == 0 && ws_->pipeSlider != 50) applyPipeSlider(ws_->pipeSlider);
  edit_->cancelCapture();
  edit_->cur_elem = edit_->PendingElem = edit_->MarkedElem = 0;
  edit_->OverElement = false;
  if (project_.CurLine < 0 || project_.CurLine >= kLines) project_.CurLine = 0;
  project_.ComputeLines();
  project_.RefreshSpots();
  project_.idBranches(project_.CurLine);
  fillLineSelector(false);
  DrawSystem();
}

void WorkspaceWidget::fillLineSelector(bool full) {
  QSignalBlocker block(lineCombo_);
  lineCombo_->clear();
  if (full) {
    for (const auto& s : edit_->lineSelectorItems()) lineCombo_->addItem(QString::fromStdString(s));
    lineCombo_->setCurrentIndex(project_.CurLine);
  } else {
    lineCombo_->addItem(QString::fromStdString(Editing::lineName(project_.CurLine)));
  }
}

void WorkspaceWidget::showLine(int k) {
  if (k < 0 || k >= kLines) return;
  edit_->chooseLine(k, false);
  fillLineSelector(false);
  DrawSystem();
  emit lineShown(k);
}

void WorkspaceWidget::gotoElement(int n) {
  if (!edit_->showLineOf(n)) return;
  fillLineSelector(false);
  DrawSystem();
  int pos = ws_->scrollPosToShow(n);
  if (pos != ws_->scrollPos) {
    ws_->scrollPos = pos;
    DrawSystem();
  }
  QRect r = canvas_->elementRect(n);
  if (!r.isEmpty()) {
    QCursor::setPos(canvas_->mapToGlobal(r.topLeft() + QPoint(3, 3)));
    edit_->cur_elem = n;
    edit_->OverElement = true;
  }
  emit lineShown(project_.CurLine);
}

void WorkspaceWidget::saveWorkspaceAsJpg() {
  auto name = project_.prompter().saveFileName("Save workspace graphic as jpg:", "jpg files (*.jpg)",
                                               projectFolder_.toStdString(), "");
  if (!name || name->empty()) return;
  QString path = QString::fromStdString(*name);
  if (QFileInfo(path).suffix().isEmpty()) path += ".jpg";
  QImage img = renderImage(1.0);
  if (!img.save(path, "JPG", 92))
    project_.prompter().message(MsgKind::Error, "Cannot write the picture to \"" + path.toStdString() + "\"!");
}

void WorkspaceWidget::setShowElementIDs(bool on) {
  project_.proj.ShowElementIDs = on;
  DrawSystem();
}

void WorkspaceWidget::chooseIdFont() {
  bool ok = false;
  QFont f = QFontDialog::getFont(&ok, idFont_, this, "ID Font");
  if (ok) setIdFont(f, idColor_);
}

// ---------------------------------------------------------------- element commands

void WorkspaceWidget::afterEdit(bool changed) {
  DrawSystem();
  if (changed) emit projectChanged();
}

bool WorkspaceWidget::runEditor(int n, int type, bool isNew, int& placeNumber) {
  EditorContext& ctx = editorCtx_ ? *editorCtx_ : *ownEditorCtx_;
  ctx.newElement = isNew;
  ctx.newElemNumber = n;
  bool accepted = openElementEditor(window(), project_, "fMain", n, type, ctx);
  if (accepted && isNew) placeNumber = ctx.newElemNumber > 0 ? ctx.newElemNumber : n;
  ctx.newElement = false;
  ctx.newElemNumber = 0;
  return accepted;
}

void WorkspaceWidget::editElement() {
  if (edit_->CaptureShown) edit_->cancelCapture();
  int n = edit_->PendingElem != 0 ? edit_->PendingElem : edit_->cur_elem;
  edit_->PendingElem = 0;
  if (n == 0 || !project_.isPlaced(n)) return;
  edit_->cur_elem = n;
  if (edit_->DragType == -1) return;
  if (edit_->DragType != 0) {
    project_.prompter().message(MsgKind::Error, "Error - program should not be here!");
    return;
  }
  canvas_->update();
  if (hooks_.showInspector) hooks_.showInspector(n);
  int type = project_.ElemType[n];
  int unused = n;
  bool applied = runEditor(n, type, false, unused);
  if (applied && hooks_.showInspector) hooks_.showInspector(0);
  if (type == kGauge || type == kSupply) {
    project_.ComputeLines();
    project_.idBranches(project_.CurLine);
  }
  if (applied) {
    edit_->cur_elem = 0;
    project_.ComputeHighElem();
    project_.SetModified(true);
    project_.idBranches(project_.CurLine);
  }
  afterEdit(applied);
}

void WorkspaceWidget::deleteElement() {
  bool ok = edit_->DeleteElem(edit_->cur_elem);
  if (ok && hooks_.showInspector) hooks_.showInspector(0);
  afterEdit(ok);
}

void WorkspaceWidget::deleteElementCommand() {
  bool ok = edit_->DeleteElem(-1);
  if (ok && hooks_.showInspector) hooks_.showInspector(0);
  afterEdit(ok);
}

void WorkspaceWidget::tagElement() {
  edit_->Tag(edit_->cur_elem);
  DrawSystem();
}

void WorkspaceWidget::copyElement() { edit_->CopyElem(edit_->cur_elem); }

void WorkspaceWidget::pasteBefore() { afterEdit(edit_->PasteBefore(edit_->cur_elem)); }

void WorkspaceWidget::clearAllTags() {
  edit_->ClearAllTags();
  DrawSystem();
}

void WorkspaceWidget::clipboardCommand(bool move) {
  bool ok = move ? edit_->MoveToClipboard(-1) : edit_->CopyToClipboard(-1);
  if (move && ok && hooks_.showInspector) hooks_.showInspector(0);
  afterEdit(move && ok);
}

void WorkspaceWidget::captureCommand(CaptureCommand cmd) {
  bool changed = false;
  switch (cmd) {
    case CaptureCommand::Tag: edit_->tagCaptured(true); break;
    case CaptureCommand::UnTag: edit_->tagCaptured(false); break;
    case CaptureCommand::Delete: changed = edit_->deleteCaptured(); break;
    case CaptureCommand::CopyToClipboard: edit_->copyCaptured(); break;
    case CaptureCommand::MoveToClipboard: changed = edit_->moveCapturedToClipboard(); break;
    case CaptureCommand::Reverse: changed = edit_->reverseCaptured(); break;
    case CaptureCommand::Cancel: edit_->cancelCapture(); break;
  }
  edit_->cancelCapture();
  afterEdit(changed);
}

void WorkspaceWidget::nextElement() {
  if (!edit_->OverElement) return;
  int next = edit_->nextElement();
  if (next == 0) return;
  if (hooks_.showInspector) hooks_.showInspector(0);
  if (canvas_->elementRect(next).isEmpty()) {
    int pos = ws_->scrollPosToShow(next);
    if (pos != ws_->scrollPos) {
      ws_->scrollPos = pos;
      DrawSystem();
    }
  }
  QRect r = canvas_->elementRect(next);
  if (!r.isEmpty()) QCursor::setPos(canvas_->mapToGlobal(r.topLeft() + QPoint(3, 3)));
  edit_->cur_elem = next;
  edit_->OverElement = true;
  if (hooks_.showInspector) hooks_.showInspector(next);
}

}  // namespace vt
