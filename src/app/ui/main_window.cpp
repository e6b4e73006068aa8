#include "app/ui/main_window.h"

namespace vt {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle("VORTELAN");
  resize(1024, 700);
}

}  // namespace vt
