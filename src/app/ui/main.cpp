#include <QApplication>
#include <QIcon>

#include "app/ui/main_window.h"
#include "app/ui/program.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("VORTELAN");
  QApplication::setOverrideCursor(Qt::WaitCursor);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);

  vt::Program program(args, vt::findFolders());
  if (!program.prepareDataFiles()) return 1;
  program.createMainWindow();
  QApplication::restoreOverrideCursor();
  program.window()->show();
  return app.exec();
}
