// Daily records: the store at start-up and the handlers the wiring binds for page "数据".
#include "app/main_window.h"

namespace quovella {

void MainWindow::attachColourHook() {}

// Nothing while no store can be opened; then true when the store is open and its cursor
// bound, false when opening failed.
std::optional<bool> MainWindow::startupOpenStore() {
    return std::nullopt;
}

void MainWindow::fillRecordsList() {}

void MainWindow::onSearchClicked() {}

void MainWindow::onDeleteSelectedClicked() {}

void MainWindow::onRecordsRowClicked() {}

void MainWindow::onRecordsDoubleClicked(int /*x*/, int /*y*/, int /*keys*/) {}

void MainWindow::onRecordsHeaderClicked(int /*column*/) {}

// Bound but empty, as the window defines them.
void MainWindow::onRecordsLeftPressed(int /*x*/, int /*y*/, int /*keys*/) {}
void MainWindow::onRecordsLeftReleased(int /*x*/, int /*y*/, int /*keys*/) {}

}  // namespace quovella
