// Daily snapshot saving: the double-click handler of the watch grid.
#include "app/main_window.h"

namespace quovella {

void MainWindow::onWatchGridDoubleClicked(int /*x*/, int /*y*/, int /*keys*/) {}

}  // namespace quovella
