// Holdings: the reload at start-up and the handlers the wiring binds for page "持有".
#include "app/main_window.h"

namespace quovella {

void MainWindow::reloadHoldingsGrid() {}

void MainWindow::onAddHoldingClicked() {}

void MainWindow::onHoldingsTimerTick() {}

// Bound but empty, as the window defines them.
void MainWindow::onHoldingsGridReleased(int /*x*/, int /*y*/, int /*keys*/) {}
void MainWindow::onHoldingsListHeaderClicked(int /*column*/) {}

}  // namespace quovella
