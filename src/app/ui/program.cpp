#include "app/ui/program.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "app/ui/main_window.h"
#include "app/ui/qt_prompter.h"
#include "editors/pipe_schedule_db.h"
#include "editors/ui/element_editors.h"
#include "files/element_clipboard.h"
#include "files/project_file.h"
#include "units/ui/units_dialog.h"
#include "workspace/layout.h"
#include "workspace/ui/workspace_widget.h"

#ifndef VORTELAN_VERSION
#define VORTELAN_VERSION "3.0.0"
#endif

namespace vt {

namespace {

std::string withSlash(QString path) {
  path = QDir::cleanPath(path);
  if (!path.endsWith('/')) path += '/';
  return path.toStdString();
}

}  // namespace

ProgramFolders findFolders() {
  ProgramFolders f;
  // Installed: <prefix>/bin/vortelan with the data in <prefix>/share/vortelan; from the build
  // tree: the source's data folder.
  const QString installed = QCoreApplication::applicationDirPath() + "/../share/vortelan";
  f.program = QFileInfo::exists(installed + "/Units.XML") ? withSlash(installed) : withSlash(VORTELAN_SOURCE_DATA_DIR);
  const QString home = qEnvironmentVariable("VORTELAN_HOME");
  const QString appData =
      home.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) : home + "/appdata";
  const QString docs =
      home.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) : home + "/Documents";
  const QString desk =
      home.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DesktopLocation) : home + "/Desktop";
  f.data = withSlash(appData + "/KLD/VORTELAN/3.0");
  f.defaultProject = withSlash(docs + "/VORTELAN/Projects");
  f.desktop = withSlash(desk);
  return f;
}

Program::Program(std::vector<std::string> args, ProgramFolders folders)
    : args_(std::move(args)), folders_(std::move(folders)), editorCtx_(std::make_unique<EditorContext>()) {}

Program::~Program() = default;

bool Program::prepareDataFiles() {
  ShellState st;
  st.ProgramFolder = folders_.program;
  st.DataFolder = folders_.data;
  QtPrompter qtPrompter(nullptr);
  Prompter& prompter = prompter_ ? *prompter_ : qtPrompter;
  try {
    runDataFileStep(st, VORTELAN_VERSION, folders_.defaultProject, prompter);
  } catch (const StartupAbort&) {
    return false;
  } catch (const FolderError& e) {
    prompter.message(MsgKind::Error, e.what(), Buttons::Ok);
    return false;
  } catch (const std::exception& e) {
    prompter.message(MsgKind::Error, e.what(), Buttons::Ok);
    return false;
  }
  folders_.defaultProject = st.ProjectFolder.empty() ? folders_.defaultProject : st.ProjectFolder;
  return true;
}

void Program::openScheduleTables() {
  pipeSched_.reset();
  pipeSizes_.reset();
  try {
    pipeSched_ = Table::load(folders_.data + "PipeSched.XML");
    pipeSizes_ = Table::load(folders_.data + "PipeSizes.XML");
  } catch (const std::exception& e) {
    pipeSched_.reset();
    pipeSizes_.reset();
    window_->project().prompter().message(MsgKind::Error, e.what(), Buttons::Ok);
  }
  editorCtx_->pipeSched = pipeSched_ ? &*pipeSched_ : nullptr;
  editorCtx_->pipeSizes = pipeSizes_ ? &*pipeSizes_ : nullptr;
}

void Program::closeScheduleTables() {
  // Edits of the schedule editor reach their files when the tables close.
  saveScheduleTables();
  pipeSched_.reset();
  pipeSizes_.reset();
  editorCtx_->pipeSched = nullptr;
  editorCtx_->pipeSizes = nullptr;
}

bool Program::openReferenceTables() {
  const std::string files[4] = {folders_.data + "PipeSched.XML", folders_.data + "PipeSizes.XML",
                                folders_.program + "Valfit.XML", folders_.program + "Units.XML"};
  Prompter& prompter = window_->project().prompter();
  for (const std::string& f : files) {
    if (!QFileInfo::exists(QString::fromStdString(f))) {
      prompter.message(MsgKind::Warning, f + " doesn't exist!", Buttons::Ok);
      return false;
    }
  }
  try {
    openScheduleTables();
    valfit_ = Table::load(files[2]);
    catalogue_ = UnitsCatalogue::load(files[3]);
  } catch (const std::exception& e) {
    prompter.message(MsgKind::Warning, e.what(), Buttons::Ok);
    return false;
  }
  editorCtx_->valfit = &*valfit_;
  editorCtx_->liquidTablePath = folders_.data + "Liq_prop.XML";
  editorCtx_->configPath = folders_.data + kConfigFileName;
  return true;
}

namespace {
// The configuration keeps colours as 0x00BBGGRR.
QColor fromBgr(int c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
int toBgr(const QColor& c) { return c.red() | (c.green() << 8) | (c.blue() << 16); }
}  // namespace

void Program::saveScheduleTables() {
  for (auto* t : {&pipeSched_, &pipeSizes_}) {
    if (*t && (*t)->modified()) {
      try {
        (*t)->save();
      } catch (const std::exception& e) {
        window_->project().prompter().message(MsgKind::Error, e.what(), Buttons::Ok);
      }
    }
  }
}

void Program::captureWindowSettings() {
  MainWindow& w = *window_;
  const QRect g = w.normalGeometry().isValid() ? w.normalGeometry() : w.geometry();
  windowSettings_.width = g.width();
  windowSettings_.height = g.height();
  windowSettings_.left = g.left();
  windowSettings_.top = g.top();
  windowSettings_.elemSize = w.workspace()->workspace().ElemSize;
  const QFont f = w.workspace()->idFont();
  windowSettings_.font.name = f.family().toStdString();
  windowSettings_.fontName = windowSettings_.font.name;
  windowSettings_.font.size = f.pointSize() > 0 ? f.pointSize() : windowSettings_.font.size;
  windowSettings_.font.style = (f.bold() ? 1 : 0) | (f.italic() ? 2 : 0) | (f.underline() ? 4 : 0) |
                               (f.strikeOut() ? 8 : 0);
  windowSettings_.font.color = toBgr(w.workspace()->idColor());
}

void Program::applyWindowSettings() {
  MainWindow& w = *window_;
  QRect g = w.geometry();
  if (windowSettings_.width && *windowSettings_.width > 100) g.setWidth(*windowSettings_.width);
  if (windowSettings_.height && *windowSettings_.height > 100) g.setHeight(*windowSettings_.height);
  if (windowSettings_.left) g.moveLeft(*windowSettings_.left);
  if (windowSettings_.top) g.moveTop(*windowSettings_.top);
  w.setGeometry(g);
  w.workspace()->workspace().ElemSize = windowSettings_.elemSize;
  QFont f = w.workspace()->idFont();
  if (windowSettings_.fontName && !windowSettings_.fontName->empty())
    f.setFamily(QString::fromStdString(*windowSettings_.fontName));
  if (windowSettings_.font.size > 0) f.setPointSize(windowSettings_.font.size);
  const int style = windowSettings_.font.style;
  f.setBold(style & 1);
  f.setItalic(style & 2);
  f.setUnderline(style & 4);
  f.setStrikeOut(style & 8);
  w.workspace()->setIdFont(f, fromBgr(windowSettings_.font.color));
}

void Program::wireServices() {
  MainWindow* w = window_.get();
  Project& p = w->project();
  ElementClipboard& clip = w->clipboard();
  ShellServices s;
  s.helpFile = folders_.program + "help/index.html";
  s.readProject = [this, &p, &clip](const std::string& path) {
    ProjectFileHooks hooks;
    hooks.scheduleByOldIndex = [this](const std::string& old) -> std::optional<std::string> {
      if (!pipeSched_) return std::nullopt;
      for (const ScheduleRow& r : PipeScheduleDb(*pipeSched_, *pipeSizes_).schedulesByDescription())
        if (r.oldIndex == old) return r.key;
      return std::nullopt;
    };
    return getProjData(p, clip, path, hooks);
  };
  s.writeProject = [&p, &clip](const std::string& path, int16_t slider) {
    SaveOptions o;
    o.sliderPosition = slider;
    return saveProjectFile(p, clip, path, o);
  };
  s.readClipboardFile = [&p, &clip](const std::string& path) { openClipboardFile(path, p, clip); };
  s.saveClipboard = [w, &clip] {
    SaveClipboard1Click(clip, w->project().prompter(), w->state().ProjectFolder, w->state().SaveAsFlag);
  };
  s.openClipboard = [w, &p, &clip] { OpenClipboard1Click(p, clip, w->state().ProjectFolder); };
  s.getDefaults = [this, w] {
    DefaultsContext ctx;
    ctx.args = args_;
    ctx.atStartup = false;
    ctx.defaultProjectFolder = folders_.defaultProject;
    get_defaults(w->project(), w->state(), windowSettings_, ctx);
  };
  s.putDefaults = [this, w] {
    captureWindowSettings();
    put_defaults(w->project(), w->state(), windowSettings_, w->project().prompter());
    saveScheduleTables();
  };
  if (tablesOpen_) {
    s.closeScheduleTables = [this] { closeScheduleTables(); };
    s.reopenScheduleTables = [this] { openScheduleTables(); };
    s.unitsDialog = [this, &p](QWidget* parent) {
      return UnitsDialog::run(p.units, catalogue_, p.liquid.LiqSG, folders_.data + kConfigFileName, p.prompter(),
                              parent);
    };
    s.editorContext = editorCtx_.get();
    EditorContext* ctx = editorCtx_.get();
    s.systemOptions = [&p, ctx](QWidget* parent) { return openSystemOptions(parent, p, *ctx); };
    s.projectInfo = [&p, ctx](QWidget* parent) { return openProjectInfo(parent, p, *ctx); };
    s.pipeSchedules = [&p, ctx](QWidget* parent) { openPipeScheduleEditor(parent, p, *ctx); };
  }
  w->setServices(std::move(s));
}

void Program::createMainWindow() {
  window_ = std::make_unique<MainWindow>();
  MainWindow& w = *window_;
  if (prompter_) w.setPrompter(prompter_);
  ShellState& st = w.state();
  st.ProgramFolder = folders_.program;
  st.DataFolder = folders_.data;
  st.ProjectFolder = folders_.defaultProject;
  st.DesktopFolder = folders_.desktop;
  editorCtx_->projectFolder = st.ProjectFolder;

  // Relative names in the tables and help resolve against the program's own folder.
  if (!QDir::setCurrent(QString::fromStdString(folders_.program)))
    w.project().prompter().message(MsgKind::Error, "Please run shortcut for VORTELAN on desktop!", Buttons::Ok);

  tablesOpen_ = openReferenceTables();
  wireServices();
  std::string startup;
  if (tablesOpen_) {
    DefaultsContext ctx;
    ctx.args = args_;
    ctx.atStartup = true;
    ctx.defaultProjectFolder = folders_.defaultProject;
    startup = get_defaults(w.project(), st, windowSettings_, ctx);
    editorCtx_->projectFolder = st.ProjectFolder;
    applyWindowSettings();
  }
  w.initialise(startup);
}

}  // namespace vt
