// Start-up sequence (the window's created event) and the timer stop at shutdown.
#include <QLineEdit>
#include <filesystem>

#include "app/holdings_page.h"
#include "app/main_window.h"
#include "app/records_page.h"
#include "app/watch_page.h"
#include "records/record_store.h"
#include "ui/qt_text.h"
#include "ui/status_bar.h"
#include "ui/timer.h"

namespace quovella {

void MainWindow::runStartup() {
    recordsPage_->attachColourHook(parentWindow_);
    state_.refreshBusy = false;
    // The store, with its lock, exists before it is opened.
    state_.store = std::make_unique<RecordStore>();
    holdingsPage_->prepareHoldingsGridHeader();
    connectRecordStore();
    watchPage_->loadWatchList();
    watchPage_->applyStartupSettings();
    applyPlaceholderHints();
    recordsPage_->applyStartupState();
}

void MainWindow::connectRecordStore() {
    std::error_code error;
    if (!std::filesystem::exists(storePathIn(runDirectory_), error)) return;
    if (recordsPage_->startupOpenStore()) {
        状态条1->setPaneText(1, gbk("连接成功"));
        recordsPage_->fillRecordsList();
        holdingsPage_->reloadHoldingsGrid();
    } else {
        状态条1->setPaneText(1, gbk("连接失败"));
    }
}

void MainWindow::applyPlaceholderHints() {
    const HoldingsPage& holdings = *holdingsPage_;
    const std::pair<QLineEdit*, const char*> hints[] = {
        {holdings.编辑框_股票代码, "股票代码"},       {holdings.编辑框_股票名称, "股票名称"},
        {holdings.编辑框_购买股数, "购买股数"},       {holdings.编辑框_购买单价, "购买单价"},
        {recordsPage_->编辑框_条件, "股票代码/名称"},
    };
    for (const auto& [edit, hint] : hints) edit->setPlaceholderText(toQt(gbk(hint)));
}

void MainWindow::stopTimers() {
    watchPage_->时钟_刷新周期->setInterval(0);
    holdingsPage_->时钟_更新持有->setInterval(0);
    recordsPage_->时钟1->setInterval(0);
}

}  // namespace quovella
