// The event wiring of the main window: one binding per row, in the order of the table.
// Events not bound here do nothing (按钮1 among them).
#include <QPushButton>

#include "app/holdings/holdings_page.h"
#include "app/records/records_page.h"
#include "app/watch/watch_page.h"
#include "app/window/main_window.h"
#include "ui/grid.h"
#include "ui/list_view.h"
#include "ui/slider.h"
#include "ui/status_bar.h"
#include "ui/timer.h"

namespace quovella {

void MainWindow::wireEvents() {
    WatchPage* const watch = watchPage_;
    RecordsPage* const records = recordsPage_;
    HoldingsPage* const holdings = holdingsPage_;
    connect(this, &MainWindow::created, this, &MainWindow::runStartup);
    connect(this, &MainWindow::aboutToBeDestroyed, this, &MainWindow::stopTimers);
    connect(this, &MainWindow::aboutToBeDestroyed, this, &MainWindow::endBackgroundWork);
    connect(watch->按钮_添加, &QAbstractButton::clicked, watch, &WatchPage::onAddCodeClicked);
    connect(watch->按钮_删除, &QAbstractButton::clicked, watch, &WatchPage::onDeleteCodeClicked);
    connect(watch->时钟_刷新周期, &Timer::tick, watch, &WatchPage::onRefreshTimerTick);
    connect(watch->滑块条_刷新时间, &Slider::positionChanged, watch,
            &WatchPage::applyRefreshPeriod);
    connect(watch->滑块条_透明度, &Slider::positionChanged, watch, &WatchPage::applyTransparency);
    connect(watch->高级表格_股票, &Grid::doubleClicked, watch,
            &WatchPage::onWatchGridDoubleClicked);
    connect(records->按钮_搜索, &QAbstractButton::clicked, records, &RecordsPage::onSearchClicked);
    connect(records->按钮_删除选中, &QAbstractButton::clicked, records,
            &RecordsPage::onDeleteSelectedClicked);
    connect(records->超级列表框_数据表, &ListView::rowClicked, records,
            &RecordsPage::onRecordsRowClicked);
    connect(records->超级列表框_数据表, &ListView::doubleClicked, records,
            &RecordsPage::onRecordsDoubleClicked);
    connect(records->超级列表框_数据表, &ListView::columnHeaderClicked, records,
            &RecordsPage::onRecordsHeaderClicked);
    connect(records->超级列表框_数据表, &ListView::leftButtonPressed, records,
            &RecordsPage::onRecordsLeftPressed);
    connect(records->超级列表框_数据表, &ListView::leftButtonReleased, records,
            &RecordsPage::onRecordsLeftReleased);
    connect(records->时钟1, &Timer::tick, this, &MainWindow::onClockTick);
    connect(holdings->按钮_添加持有, &QAbstractButton::clicked, holdings,
            &HoldingsPage::onAddHoldingClicked);
    connect(holdings->时钟_更新持有, &Timer::tick, holdings, &HoldingsPage::onHoldingsTimerTick);
    connect(holdings->高级表格_持有, &Grid::currentCellChanged, holdings,
            &HoldingsPage::copyHoldingFromGrid);
    connect(holdings->高级表格_持有, &Grid::leftButtonReleased, holdings,
            &HoldingsPage::onHoldingsGridReleased);
    connect(holdings->超级列表框_持有数据, &ListView::rowClicked, holdings,
            &HoldingsPage::copyHoldingFromList);
    connect(holdings->超级列表框_持有数据, &ListView::columnHeaderClicked, holdings,
            &HoldingsPage::onHoldingsListHeaderClicked);
    connect(状态条1, &StatusBar::leftButtonPressed, this, &MainWindow::onStatusBarPressed);
    // A saved snapshot shows in the records list.
    connect(watch, &WatchPage::snapshotSaveAsked, records, &RecordsPage::refillAfter);
}

}  // namespace quovella
