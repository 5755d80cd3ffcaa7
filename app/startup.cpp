// Start-up sequence (the window's created event) and the timer stop at shutdown.
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/main_window.h"
#include "records/record_store.h"
#include "ui/grid.h"
#include "ui/qt_text.h"
#include "ui/slider.h"
#include "ui/status_bar.h"
#include "ui/timer.h"

namespace quovella {

namespace {

constexpr GridHeaderColumn kHoldingsHeader[] = {
    {"编号", 60},      {"购买日期", 120}, {"股票代码", 100}, {"股票名称", 120},
    {"购买股数", 80},  {"购买单价", 80},  {"总价", 100},     {"现价", 100},
    {"盈亏金额", 100}, {"盈亏率", 100},   {"更新时间", 180},
};

}  // namespace

void MainWindow::runStartup() {
    attachColourHook();
    state_.refreshBusy = false;
    // The store, with its lock, exists before it is opened.
    state_.store = std::make_unique<RecordStore>();
    prepareHoldingsGridHeader();
    connectRecordStore();
    loadWatchList();
    applyRefreshPeriod();
    // The transparency itself waits until the user moves the slider.
    滑块条_透明度->setPosition(10);
    applyPlaceholderHints();
    按钮_删除选中->setEnabled(false);
    单选框_正向->setChecked(true);
}

void MainWindow::prepareHoldingsGridHeader() {
    Grid& grid = *高级表格_持有;
    grid.setColumnCount(11);
    grid.setRowCount(1);
    writeHeaderRow(grid, kHoldingsHeader);
    // Cut to the cells that exist: only the header row is centred.
    grid.setAlignment({0, 0, 150, 10}, kAlignCentre);
}

void MainWindow::connectRecordStore() {
    if (!QFileInfo::exists(toQt(storePathIn(runDirectory_)))) return;
    if (startupOpenStore()) {
        状态条1->setPaneText(1, gbk("连接成功"));
        fillRecordsList();
        reloadHoldingsGrid();
    } else {
        状态条1->setPaneText(1, gbk("连接失败"));
    }
}

void MainWindow::applyPlaceholderHints() {
    const std::pair<QLineEdit*, const char*> hints[] = {
        {编辑框_股票代码, "股票代码"},  {编辑框_股票名称, "股票名称"},
        {编辑框_购买股数, "购买股数"},  {编辑框_购买单价, "购买单价"},
        {编辑框_条件, "股票代码/名称"},
    };
    for (const auto& [edit, hint] : hints) edit->setPlaceholderText(toQt(gbk(hint)));
}

void MainWindow::stopTimers() {
    时钟_刷新周期->setInterval(0);
    时钟_更新持有->setInterval(0);
    时钟1->setInterval(0);
}

}  // namespace quovella
