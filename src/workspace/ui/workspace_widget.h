// The workspace: the drawing of the current line with everything the user does to it by mouse and
// keyboard. The main window embeds it as its central widget and adds elementToolBar() to itself.
//
//   auto* ws = new WorkspaceWidget(project, this);
//   setCentralWidget(ws);
//   addToolBar(Qt::TopToolBarArea, ws->elementToolBar());
//   ws->setEditorContext(&editorContext);             // tables for the element editors
//   ws->hooks().addToClipboard = [&](int n) { ... };   // optional: element clipboard
//   connect(ws, &WorkspaceWidget::projectChanged, this, &MainWindow::refreshStatusBar);
//
// Geometry and editing decisions live in the core (workspace/layout.h, workspace/editing.h); this
// widget only forwards events and paints. Messages go through project.prompter().
//
// Keys handled here (window-wide shortcuts, so the main window must not bind them too):
// Delete, T, Enter/Return, Page Down, F4, Alt+0..Alt+9. F3 (clipboard) and F8 (solve) are the
// main window's.
#pragma once

#include <QColor>
#include <QFont>
#include <QPointer>
#include <QString>
#include <QToolBar>
#include <QWidget>
#include <functional>
#include <memory>

#include "workspace/ui/workspace_painter.h"

class QComboBox;
class QScrollBar;
class QSlider;
class QLabel;

namespace vt {

class Project;
class ElementClipboard;
class Workspace;
class Editing;
class WorkspaceCanvas;
struct EditorContext;

// What the workspace asks of windows it does not own. Each may be left empty: the commands that
// need it are then disabled.
struct WorkspaceHooks {
  // AddToClipboard: adds a copy of element n to the element clipboard; false when it failed.
  // Left empty, the clipboard given to setElementClipboard() is used directly.
  std::function<bool(int n)> addToClipboard;
  // The clipboard's entries changed (some were dropped into the line): refresh its window.
  std::function<void()> clipboardChanged;
  // Fits and shows the clipboard window (after Copy/Move to Clipboard).
  std::function<void()> showClipboard;
  bool clipboardVisible = false;  // kept current by the main window; disables "Show Clipboard"
  // Background menu commands owned elsewhere.
  std::function<void()> groupEdit;         // "Group Edit/Find..."
  std::function<void()> showLastSolution;  // "Show Last Solution"
  std::function<bool()> canShowLastSolution;
  // Element menu commands owned elsewhere (pumps and FVHs).
  std::function<void(int n)> plotElement;  // "Plot Pump" / "Plot FVH"
  std::function<void(int n)> rotavex;      // "Rotavex"
  // The inspector (hover over an element); called with 0 to hide it.
  std::function<void(int n)> showInspector;
  // The branch help window, shown when a branch is chosen in the line selector (if enabled).
  std::function<void()> showBranchHelp;
};

// Commands of the capture menu.
enum class CaptureCommand { Tag, UnTag, Delete, CopyToClipboard, MoveToClipboard, Reverse, Cancel };

class WorkspaceWidget : public QWidget {
  Q_OBJECT
 public:
  explicit WorkspaceWidget(Project& project, QWidget* parent = nullptr);
  ~WorkspaceWidget() override;

  // The seven element buttons ("Supply" ... "FVH"); drag one onto the line to add an element.
  QToolBar* elementToolBar() const { return elementBar_; }
  // The line selector ("Main Line", "Branch 1" ...), for the main window's layout if it wants it.
  QComboBox* lineSelector() const { return lineCombo_; }
  WorkspaceCanvas* canvas() const { return canvas_; }

  // Drawing state (element size, scales, positions) and interaction state; for tests and reports.
  Workspace& workspace() { return *ws_; }
  Editing& editing() { return *edit_; }

  // Element editors need the tables the main window opened; without a context no editor opens.
  void setEditorContext(EditorContext* ctx) { editorCtx_ = ctx; }
  WorkspaceHooks& hooks() { return hooks_; }
  // The element clipboard: Copy/Move to Clipboard add to it, and its entries dragged from the
  // clipboard window (MIME kMimeClipEntries: entry indices "0,2,5"; Ctrl held = copies) are
  // inserted into the line.
  void setElementClipboard(ElementClipboard* clip) { clipboard_ = clip; }
  ElementClipboard* elementClipboard() const { return clipboard_; }

  // Renders the current drawing (client width wide) into an image, for Save as JPEG and tests.
  QImage renderImage(qreal devicePixelRatio = 1.0);

  // The ID font (configuration keys GenIDFont*; default 8 pt, gray) and the folder the picture
  // save dialog starts in.
  void setIdFont(const QFont& font, const QColor& color);
  QFont idFont() const { return idFont_; }
  QColor idColor() const { return idColor_; }
  void setProjectFolder(const QString& folder) { projectFolder_ = folder; }
  PaintStyle paintStyle() const;

  // Menu commands on the element last pressed (element menu) and on the capture.
  void deleteElementCommand();
  void clipboardCommand(bool move);
  void captureCommand(CaptureCommand cmd);

 public slots:
  // DrawSystem: recomputes the layout of the current line and repaints.
  void DrawSystem();
  // After New/Open: scroll to 0, the project's current line shown, redraw. The pipe-length scale
  // is reset by Project::ClearProject (this widget installs Project::onCleared when it is free);
  // a slider position read from a file is applied with applyPipeSlider() before this call (or by
  // setting workspace().pipeSlider, which is taken when it differs from the cleared 50).
  void projectReplaced();
  // A pipe-length slider position (1..100) read from a project file: the scale follows it.
  void applyPipeSlider(int position);
  // The element-size slider (configuration key GenElemSize): 32..64 in steps of 8; other values
  // become 32.
  void setElementSize(int size);
  int elementSize() const;
  // Shows element n's line, scrolls it into view and puts the pointer on it; n < 1 is ignored.
  void gotoElement(int n);
  // Shows line k (0 main, 1..9 branches), as the line selector and Alt+digit do.
  void showLine(int k);
  // "Save Workspace as jpg".
  void saveWorkspaceAsJpg();
  // "Show Element &IDs" and "ID Font".
  void setShowElementIDs(bool on);
  void chooseIdFont();
  // Element commands on the element under the pointer (keys) or the one last pressed (menus).
  void deleteElement();  // Delete
  void tagElement();     // T
  void editElement();    // Enter
  void copyElement();    // Ctrl+C on the element menu
  void pasteBefore();    // Ctrl+V on the element menu
  void clearAllTags();
  void nextElement();    // Page Down

 signals:
  // The project's Modified or Solved flag may have changed (status bar labels).
  void projectChanged();
  // The current line changed (caption of the line selector is updated here already).
  void lineShown(int line);

 private:
  friend class WorkspaceCanvas;
  void buildUi();
  void installShortcuts();
  void updateScrollBar();
  void updatePipeSlider();
  void fillLineSelector(bool full);
  void afterEdit(bool changed);
  bool runEditor(int n, int type, bool isNew, int& placeNumber);

  Project& project_;
  std::unique_ptr<Workspace> ws_;
  std::unique_ptr<Editing> edit_;
  WorkspaceHooks hooks_;
  EditorContext* editorCtx_ = nullptr;
  ElementClipboard* clipboard_ = nullptr;

  WorkspaceCanvas* canvas_ = nullptr;
  QPointer<QToolBar> elementBar_;
  QComboBox* lineCombo_ = nullptr;
  QScrollBar* hscroll_ = nullptr;
  QSlider* sizeSlider_ = nullptr;
  QSlider* pipeSlider_ = nullptr;
  QLabel* sizeLabel_ = nullptr;
  QLabel* pipeLabel_ = nullptr;
  QWidget* pipeBox_ = nullptr;
  bool updatingScroll_ = false;
  bool rangeErrorShown_ = false;
  bool ownsOnCleared_ = false;
  QFont idFont_;
  QColor idColor_{0x80, 0x80, 0x80};
  QString projectFolder_;
  std::unique_ptr<EditorContext> ownEditorCtx_;
};

}  // namespace vt
