// The window's own handlers: the status-bar clock and the about-window press.
#include "app/window/about_window.h"
#include "app/window/main_window.h"
#include "ui/status_bar.h"

namespace quovella {

void MainWindow::onClockTick() {
    状态条1->setPaneText(3, timestampText(clock_->now()));
}

void MainWindow::onStatusBarPressed(int x, int y, int /*keys*/) {
    // The last pane begins at x = 940.
    if (x > 942 && y < 20) openAboutWindow();
}

void MainWindow::openAboutWindow() {
    if (aboutOpener_) {
        aboutOpener_(this);
    } else {
        showAboutWindow(this);
    }
}

}  // namespace quovella
