// The window's own handlers: the status-bar clock, the about-window press, and copying a
// holding into the purchase fields.
#include <QDateEdit>
#include <QLineEdit>

#include "app/about_window.h"
#include "app/main_window.h"
#include "ui/grid.h"
#include "ui/list_view.h"
#include "ui/qt_text.h"
#include "ui/status_bar.h"

namespace quovella {

namespace {

QDate qDate(const LocalDateTime& when) {
    return QDate(when.year, when.month, when.day);
}

}  // namespace

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

void MainWindow::copyHoldingFromGrid() {
    const Grid& grid = *高级表格_持有;
    const int r = grid.currentRow();
    const auto cell = [&](int column) { return toQt(grid.cellText(r, column).value_or("")); };
    日期框1->setDate(qDate(dateFromText(grid.cellText(r, 1).value_or(""))));
    编辑框_股票代码->setText(cell(2));
    编辑框_股票名称->setText(cell(3));
    编辑框_购买股数->setText(cell(4));
    编辑框_购买单价->setText(cell(5));
    编辑框_持有ID->setText(cell(0));
}

void MainWindow::copyHoldingFromList() {
    const ListView& list = *超级列表框_持有数据;
    // The selection is read afresh for every field.
    const auto item = [&](int column) { return toQt(list.itemText(list.selectedRow(), column)); };
    编辑框_持有ID->setText(item(0));
    编辑框_股票代码->setText(item(2));
    编辑框_股票名称->setText(item(3));
    编辑框_购买股数->setText(item(4));
    编辑框_购买单价->setText(item(5));
    日期框1->setDate(qDate(dateFromText(list.itemText(list.selectedRow(), 1))));
}

}  // namespace quovella
