#include "editors/ui/element_editors.h"

#include <QMessageBox>
#include <QWidget>

#include "model/project.h"

namespace vt {

namespace {
void notYet(QWidget* parent, const QString& what) {
  QMessageBox::information(parent, "VORTELAN", what + " is not available in this build yet.");
}
}  // namespace

bool openElementEditor(QWidget* parent, Project& project, const std::string& caller, int elem, int type,
                       EditorContext& ctx) {
  (void)project;
  (void)caller;
  (void)elem;
  (void)ctx;
  notYet(parent, QString::fromStdString(typeName(type)) + " editor");
  return false;
}

bool openSystemOptions(QWidget* parent, Project&, EditorContext&) {
  notYet(parent, "System configuration");
  return false;
}

void openPipeScheduleEditor(QWidget* parent, Project&, EditorContext&) { notYet(parent, "Pipe schedule editor"); }

bool openProjectInfo(QWidget* parent, Project&, EditorContext&) {
  notYet(parent, "Project information");
  return false;
}

}  // namespace vt
