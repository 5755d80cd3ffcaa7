// Quotes and watch list: the handlers the wiring binds for page "监视".
#include "app/main_window.h"

namespace quovella {

void MainWindow::loadWatchList() {}

void MainWindow::onAddCodeClicked() {}

void MainWindow::onDeleteCodeClicked() {}

void MainWindow::onRefreshTimerTick() {}

}  // namespace quovella
