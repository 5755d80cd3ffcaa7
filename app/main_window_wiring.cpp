// The event wiring of the main window: one binding per row, in the order of the table.
// Events not bound here do nothing (按钮1 among them).
#include <QPushButton>

#include "app/main_window.h"
#include "ui/grid.h"
#include "ui/list_view.h"
#include "ui/slider.h"
#include "ui/status_bar.h"
#include "ui/timer.h"

namespace quovella {

void MainWindow::wireEvents() {
    connect(this, &MainWindow::created, this, &MainWindow::runStartup);
    connect(this, &MainWindow::aboutToBeDestroyed, this, &MainWindow::stopTimers);
    connect(this, &MainWindow::aboutToBeDestroyed, this, &MainWindow::endBackgroundWork);
    connect(按钮_添加, &QAbstractButton::clicked, this, &MainWindow::onAddCodeClicked);
    connect(按钮_删除, &QAbstractButton::clicked, this, &MainWindow::onDeleteCodeClicked);
    connect(时钟_刷新周期, &Timer::tick, this, &MainWindow::onRefreshTimerTick);
    connect(滑块条_刷新时间, &Slider::positionChanged, this, &MainWindow::applyRefreshPeriod);
    connect(滑块条_透明度, &Slider::positionChanged, this, &MainWindow::applyTransparency);
    connect(高级表格_股票, &Grid::doubleClicked, this, &MainWindow::onWatchGridDoubleClicked);
    connect(按钮_搜索, &QAbstractButton::clicked, this, &MainWindow::onSearchClicked);
    connect(按钮_删除选中, &QAbstractButton::clicked, this, &MainWindow::onDeleteSelectedClicked);
    connect(超级列表框_数据表, &ListView::rowClicked, this, &MainWindow::onRecordsRowClicked);
    connect(超级列表框_数据表, &ListView::doubleClicked, this, &MainWindow::onRecordsDoubleClicked);
    connect(超级列表框_数据表, &ListView::columnHeaderClicked, this,
            &MainWindow::onRecordsHeaderClicked);
    connect(超级列表框_数据表, &ListView::leftButtonPressed, this,
            &MainWindow::onRecordsLeftPressed);
    connect(超级列表框_数据表, &ListView::leftButtonReleased, this,
            &MainWindow::onRecordsLeftReleased);
    connect(时钟1, &Timer::tick, this, &MainWindow::onClockTick);
    connect(按钮_添加持有, &QAbstractButton::clicked, this, &MainWindow::onAddHoldingClicked);
    connect(时钟_更新持有, &Timer::tick, this, &MainWindow::onHoldingsTimerTick);
    connect(高级表格_持有, &Grid::currentCellChanged, this, &MainWindow::copyHoldingFromGrid);
    connect(高级表格_持有, &Grid::leftButtonReleased, this, &MainWindow::onHoldingsGridReleased);
    connect(超级列表框_持有数据, &ListView::rowClicked, this, &MainWindow::copyHoldingFromList);
    connect(超级列表框_持有数据, &ListView::columnHeaderClicked, this,
            &MainWindow::onHoldingsListHeaderClicked);
    connect(状态条1, &StatusBar::leftButtonPressed, this, &MainWindow::onStatusBarPressed);
}

}  // namespace quovella
