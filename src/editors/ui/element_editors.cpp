#include "editors/ui/element_editors.h"

#include <QMessageBox>
#include <QWidget>

#include "editors/pipe_schedule_db.h"
#include "editors/ui/element_dialogs.h"
#include "editors/ui/form_dialogs.h"
#include "model/project.h"

namespace vt {

namespace {
// The pump editor being shown, for data that arrives while it is open.
ui::PumpEditorDialog* openPumpEditor = nullptr;

// Hands the outcome of an accepted element editor back to the caller's context.
template <class Model>
void report(const Model& m, int placed, EditorContext& ctx) {
  ctx.newElement = m.newElementFlag();
  ctx.newElemNumber = placed;
  ctx.clipCaption = m.clipCaption();
}

template <class Dialog>
bool run(Dialog& d, EditorContext& ctx) {
  if (d.exec() != QDialog::Accepted) return false;
  report(d.model(), d.model().elem(), ctx);
  return true;
}
}  // namespace

bool openElementEditor(QWidget* parent, Project& project, const std::string& caller, int elem, int type,
                       EditorContext& ctx) {
  EditorSetup setup{caller, elem, type, ctx.newElement, ctx.clipRecord};
  ctx.clipCaption.clear();
  switch (type) {
    case kPipe: {
      std::unique_ptr<PipeScheduleDb> db;
      if (ctx.pipeSched && ctx.pipeSizes) db = std::make_unique<PipeScheduleDb>(*ctx.pipeSched, *ctx.pipeSizes);
      ui::PipeEditorDialog d(parent, project, setup, db.get());
      return run(d, ctx);
    }
    case kFitting:
    case kValve: {
      std::vector<ValfitKind> kinds;
      if (ctx.valfit) kinds = loadValfitKinds(*ctx.valfit);
      ui::ValfitEditorDialog d(parent, project, setup, std::move(kinds));
      return run(d, ctx);
    }
    case kPump: {
      ui::PumpEditorDialog d(parent, project, setup, ctx.catalogueData);
      openPumpEditor = &d;
      bool ok = run(d, ctx);
      openPumpEditor = nullptr;
      return ok;
    }
    case kFVH: {
      ui::FvhEditorDialog d(parent, project, setup);
      return run(d, ctx);
    }
    case kSupply: {
      ui::SupplyEditorDialog d(parent, project, setup);
      if (d.exec() != QDialog::Accepted) return false;
      report(d.model(), d.model().placedElement(), ctx);
      return true;
    }
    case kGauge: {
      ui::GaugeEditorDialog d(parent, project, setup);
      if (d.exec() != QDialog::Accepted) return false;
      report(d.model(), d.model().placedElement(), ctx);
      return true;
    }
    default:
      project.prompter().message(MsgKind::Error, "No type defined, func(InsertNewElem)!");
      return false;
  }
}

void catalogueDataReceived(const std::string& text) {
  if (openPumpEditor) openPumpEditor->setCatalogueData(text);
}

bool openSystemOptions(QWidget* parent, Project& project, EditorContext& ctx) {
  ui::SystemOptionsDialog d(parent, project, ctx.liquidTablePath, ctx.configPath);
  return d.exec() == QDialog::Accepted;
}

void openPipeScheduleEditor(QWidget* parent, Project& project, EditorContext& ctx) {
  if (!ctx.pipeSched || !ctx.pipeSizes) {
    project.prompter().message(MsgKind::Error, "The pipe schedule tables are not open!");
    return;
  }
  PipeScheduleDb db(*ctx.pipeSched, *ctx.pipeSizes);
  ui::PipeScheduleDialog d(parent, project, db, ctx.projectFolder);
  d.exec();
}

bool openProjectInfo(QWidget* parent, Project& project, EditorContext& ctx) {
  ui::ProjectInfoDialog d(parent, project, ctx.configPath);
  return d.exec() == QDialog::Accepted;
}

}  // namespace vt
